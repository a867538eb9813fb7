// A list view: column headers, items with a text, a large and a small icon, a key and a colour,
// sub-items with their own colours, and four display modes. Owns its rows; read back in order.
#pragma once

#include "comun/IListaExportable.h"
#include "controles/CListaImagenes.h"

#include <QHash>
#include <QWidget>

class QAbstractItemView;
class QListView;
class QStackedLayout;
class QStandardItem;
class QStandardItemModel;
class QTreeView;
class CModeloIconos;
class CDelegadoLista;
class COrdenLista;
class QModelIndex;

class CListaVista : public QWidget, public IListaExportable {
    Q_OBJECT
public:
    enum class Vista { IconosGrandes, IconosPequenos, Lista, Detalles };

    explicit CListaVista(QWidget* objPadre = nullptr);
    ~CListaVista() override;

    // Large icons come from the 32-pixel list, everything else from the 16-pixel one.
    void EstablecerImagenes(const CListaImagenes& objGrandes, const CListaImagenes& objPequenas);
    void EstablecerVista(Vista vista);
    Vista VistaActual() const { return m_Vista; }

    // Column headers; widths in pixels at 96 dots per inch. The first column is always left.
    void AgregarColumna(const QString& strTexto, int intAncho,
                        Qt::Alignment alineacion = Qt::AlignLeft);
    void EstablecerTextoColumna(int intColumna, const QString& strTexto); // 0-based
    int AnchoColumna(int intColumna) const;
    Qt::Alignment AlineacionColumna(int intColumna) const;

    // Items, appended in order; rows are 0-based. A non-empty key must be unique (CError).
    int AgregarElemento(const QString& strTexto, int intIconoGrande, int intIconoPequeno,
                        const QString& strClave = QString());
    // The same with sub-items 1, 2... at once: one change of the list for the whole row, which
    // counts when rows stream in by the thousand.
    int AgregarFila(const QString& strTexto, int intIconoGrande, int intIconoPequeno,
                    const QStringList& strSubElementos, const QString& strClave = QString());
    int Buscar(const QString& strClave) const; // -1 when no item has that key
    QString Texto(int intFila) const;
    QString Clave(int intFila) const;
    int IconoGrande(int intFila) const;
    int IconoPequeno(int intFila) const;
    quint32 Color(int intFila) const;
    void EstablecerColor(int intFila, quint32 lngColor);
    // Sub-items are 1-based, as column i + 1 shows sub-item i. An unset one is the empty text.
    QString SubElemento(int intFila, int intSubElemento) const;
    void EstablecerSubElemento(int intFila, int intSubElemento, const QString& strTexto);
    quint32 ColorSubElemento(int intFila, int intSubElemento) const;
    void EstablecerColorSubElemento(int intFila, int intSubElemento, quint32 lngColor);
    void Limpiar();

    int Seleccionado() const; // -1 when none
    void Seleccionar(int intFila);

    // IListaExportable: the headers, and per row the text followed by its sub-items.
    int NumeroColumnas() const override;
    QString TituloColumna(int intColumna) const override;
    int NumeroElementos() const override;
    QString TextoCelda(int intFila, int intColumna) const override;

    // The view on show (details or icons), for clicks and layout.
    QAbstractItemView* VistaVisible() const;

    // The cell's whole text when the column shows it cut (its tooltip), else the empty text.
    QString TextoAyudaCelda(int intFila, int intColumna) const;

    // What the user sees, rows still kept and read back in the order they were added: a click
    // on a header sorts by that column, a second reverses, a third gives the added order back.
    // Column -1 is that added order.
    void Ordenar(int intColumna, Qt::SortOrder orden = Qt::AscendingOrder);
    int ColumnaOrden() const;
    Qt::SortOrder SentidoOrden() const;
    // Only the rows holding strFiltro in some cell, whatever the case; empty shows them all.
    void EstablecerFiltro(const QString& strFiltro);
    QString Filtro() const;
    int NumeroFilasVisibles() const;
    int FilaVisible(int intPosicion) const; // the row shown at that place; -1 past the end
    // The selected rows in the order shown, each as its cells joined by tabs (Ctrl+C).
    QList<int> FilasSeleccionadas() const;
    QString TextoSeleccion() const;
    void CopiarSeleccion();

signals:
    void ClicElemento(int intFila, const QString& strClave);
    void ActivarElemento(int intFila, const QString& strClave); // double-click or Enter
    void CambioSeleccion(int intFila); // also by keyboard; -1 when nothing is selected

private:
    struct CColumna {
        int intAncho;
        Qt::Alignment alineacion;
    };
    QStandardItem* Celda(int intFila, int intColumna, bool booCrear);
    QStandardItem* CeldaVacia(int intColumna) const;
    void AplicarAnchos();
    void AplicarAncho(int intColumna);
    void ConectarVista(QAbstractItemView* objVista);
    void ConectarSeleccion(QAbstractItemView* objVista);
    int FilaModelo(QModelIndex idx) const; // -1 for no row
    QModelIndex IndiceVista(int intFila, int intColumna, bool booIconos) const;
    QModelIndex IndiceVista(int intFila, int intColumna) const;
    void UsarIntermedio(bool booIntermedio);
    void AplicarOrden();
    void Cabecera_Clic(int intColumna);

protected:
    void changeEvent(QEvent* objEvento) override;
    bool eventFilter(QObject* objObjeto, QEvent* objEvento) override;

private:
    QStandardItemModel* m_Modelo;
    CModeloIconos* m_ModeloIconos; // the same rows with the large icons when they are shown
    QTreeView* m_Detalles;
    QListView* m_Iconos;
    QStackedLayout* m_Pila;
    CDelegadoLista* m_Delegado;
    COrdenLista* m_Orden;
    bool m_booIntermedio = false; // the views show m_Orden rather than the rows themselves
    int m_intColumnaOrden = -1;
    Qt::SortOrder m_Sentido = Qt::AscendingOrder;
    QList<CColumna> m_Columnas;
    QHash<QString, int> m_Claves;
    CListaImagenes m_Grandes;
    CListaImagenes m_Pequenas;
    Vista m_Vista = Vista::Detalles;
};
