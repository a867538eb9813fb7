// The frame both property windows are built on: a toolbar with "exp" and "ver", a container that
// follows the window, a tab strip inside it and one list per tab. Each window derives from it.
#pragma once

#include "controles/CListaImagenes.h"
#include "controles/CListaVista.h"

#include <QString>
#include <QWidget>
#include <vector>

class CBarraHerramientas;
class CPestanas;

class CMarcoPropiedades : public QWidget {
    Q_OBJECT
public:
    // The toolbar and tab strip take the names given; the lists show iml16 as small and iml32 as
    // large icons; the toolbar's "ver" and "exp" buttons show the given images of iml16.
    CMarcoPropiedades(const QString& strNombreBarra, const QString& strNombrePestanas,
                      const CListaImagenes& iml16, const CListaImagenes& iml32, int intIconoVer,
                      int intIconoExportar, QWidget* objPadre = nullptr);

    CBarraHerramientas* Barra() const { return m_Barra; }
    QWidget* Contenedor() const { return m_Contenedor; }
    CPestanas* Pestanas() const { return m_Pestanas; }
    int NumeroListas() const { return static_cast<int>(m_Listas.size()); }
    CListaVista* Lista(int intPestana) const;
    QString NombreExportacion(int intPestana) const;
    // The key of the connection the lists describe; the export driver is handed it.
    const QString& ClaveConexion() const { return m_ClaveConexion; }

    // The design size, widened so that every tab's caption shows without scroll arrows.
    QSize sizeHint() const override;

    // What the "ver" menu does: every list of the window at once, shown or not.
    void EstablecerVistaListas(CListaVista::Vista vista);
    // What "exp" does: the list of the selected tab goes to the export driver.
    void ExportarPestanaActual();

protected:
    // A new tab holding a new list in details view, exported under strExportacion.
    CListaVista* AgregarPestana(const QString& strTitulo, const QString& strNombreLista,
                                const QString& strExportacion);
    void EstablecerClaveConexion(const QString& strKey) { m_ClaveConexion = strKey; }
    bool eventFilter(QObject* objObjeto, QEvent* objEvento) override;

private:
    struct CPestanaLista {
        CListaVista* lvw;
        QString strExportacion;
    };

    void tbr_ClicBoton(const QString& strClave);
    void tbr_ClicMenu(const QString& strClaveBoton, const QString& strClaveElemento);
    void sst_CambioPestana(int intPestana);
    void pbxContenedor_Resize();

    CBarraHerramientas* m_Barra;
    QWidget* m_Contenedor;
    CPestanas* m_Pestanas;
    std::vector<CPestanaLista> m_Listas;
    CListaImagenes m_Iml16;
    CListaImagenes m_Iml32;
    int m_PosicionVer = 0;
    QString m_ClaveConexion;
};
