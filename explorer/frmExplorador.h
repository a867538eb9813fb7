// The connection explorer: every configured connection as the root of a tree whose objects are
// read on first expansion, with the commands on its toolbar. A child of the main window, which
// owns it; it holds connection Ids only and reads the connections from objVerondal.
#pragma once

#include "catalog/CRecordset.h"
#include "controles/CListaImagenes.h"

#include <QWidget>
#include <functional>
#include <memory>

class CArbol;
class CBarraEstado;
class CBarraHerramientas;
class CConexion;
class QFileSystemWatcher;
class QLineEdit;
class QMenu;
class QTimer;
class QTreeWidgetItem;

class frmExplorador : public QWidget {
    Q_OBJECT
public:
    // How "pro" opens a property window: of a connection (its Id), or of a table (the
    // connection's Id and the table's name). Until they are set, "pro" does nothing.
    using FnPropiedadesConexion = std::function<void(const QString& strId)>;
    // strEsquema names the table's schema where its name alone is ambiguous, else it is empty.
    using FnPropiedadesTabla = std::function<void(const QString& strId, const QString& strTabla,
                                                  const QString& strEsquema)>;
    static void EstablecerVentanasPropiedades(FnPropiedadesConexion fnConexion,
                                              FnPropiedadesTabla fnTabla);

    explicit frmExplorador(QWidget* objPadre = nullptr);
    ~frmExplorador() override;

    // A progress text (with the hourglass), or for the empty text the connection count.
    void MostrarEstado(const QString& strTexto);
    // Every connection again, unopened; closes every open connection.
    void CargarArbol();
    void AgregarNodoConexion(const CConexion& objConexion);
    // One connection again, unopened and then opened anew if its node was open; the others
    // stay as they are.
    void ActualizarConexion(const QString& strId);
    // Shows only the loaded objects whose name holds strFiltro (any case), with the folders
    // and connections above them; the empty text shows everything again.
    void Filtrar(const QString& strFiltro);
    // The node's context menu: the toolbar's commands, enabled as the toolbar is for it, and
    // "Actualizar" for that connection alone. The caller owns it.
    QMenu* MenuContextual(QTreeWidgetItem* objNodo);
    // Follows Verondal.xml after another process changed it: new connections are added, deleted
    // ones removed, changed ones shown unopened; the rest of the tree stays as it is.
    void SeguirArchivo();

    const CListaImagenes imlExplorador16;
    CBarraHerramientas* const tbrExplorador;
    QLineEdit* const txtFiltro;
    CArbol* const tvwExplorador;
    CBarraEstado* const stbExplorador;

protected:
    void showEvent(QShowEvent* objEvento) override;

private:
    // The node's folders and objects from the rowsets read for it (a missing one: none).
    void CargarObjetos(const QString& strClave, PRecordset rsTablas, PRecordset rsProcedimientos);
    void MarcarErrorConexion(CConexion& objConexion);

    void tvwExplorador_Expand(QTreeWidgetItem* objNodo);
    void tvwExplorador_Activar(QTreeWidgetItem* objNodo);
    void tvwExplorador_MenuContextual(const QPoint& posicion);
    void AplicarFiltro();
    bool FiltrarNodo(QTreeWidgetItem* objNodo, const QString& strFiltro);
    void tvwExplorador_KeyDown(int intTecla);
    void tbrExplorador_ButtonClick(const QString& strClave);

    void EliminarConexion(QTreeWidgetItem* objNodo);
    void CopiarCadenaConexion(QTreeWidgetItem* objNodo);
    void Propiedades(QTreeWidgetItem* objNodo);
    // The node the commands act on, and the buttons that follow it.
    QTreeWidgetItem* NodoSeleccionado() const;
    void ActualizarBotones();

    // Connection nodes the collection no longer has, and a node for each it has and the tree
    // not; a node whose connection is a new object (changed elsewhere) starts over unopened.
    void IgualarNodos();
    void VigilarArchivo();

    bool m_Colocada = false;
    QTimer* m_TemporizadorFiltro; // the filter follows typing once the keys pause
    QFileSystemWatcher* m_objVigilante = nullptr;
    QTimer* m_objEspera = nullptr;
};
