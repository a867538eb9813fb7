#include "controles/CListaVista.h"

#include "comun/CError.h"
#include "comun/NumerosError.h"
#include "controles/ColoresSistema.h"

#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QListView>
#include <QStackedLayout>
#include <QStandardItemModel>
#include <QTreeView>
#include <algorithm>

namespace {
enum Rol : int {
    RolClave = Qt::UserRole + 1,
    RolIconoGrande,
    RolIconoPequeno,
    RolColor,
};
} // namespace

// The rows as the icon view sees them: the large icon replaces the small one while the list
// shows large icons, so switching modes never rewrites the rows.
class CModeloIconos : public QIdentityProxyModel {
public:
    CModeloIconos(const CListaImagenes& objGrandes, QObject* objPadre)
        : QIdentityProxyModel(objPadre), m_Grandes(objGrandes) {}
    bool booGrandes = false;

    QVariant data(const QModelIndex& idx, int intRol) const override {
        if (booGrandes && intRol == Qt::DecorationRole && idx.column() == 0)
            return m_Grandes.Icono(QIdentityProxyModel::data(idx, RolIconoGrande).toInt());
        return QIdentityProxyModel::data(idx, intRol);
    }

private:
    const CListaImagenes& m_Grandes;
};

CListaVista::CListaVista(QWidget* objPadre)
    : QWidget(objPadre), m_Modelo(new QStandardItemModel(this)),
      m_ModeloIconos(new CModeloIconos(m_Grandes, this)), m_Detalles(new QTreeView),
      m_Iconos(new QListView), m_Pila(new QStackedLayout(this)) {
    m_ModeloIconos->setSourceModel(m_Modelo);

    m_Detalles->setModel(m_Modelo);
    m_Detalles->setRootIsDecorated(false);
    m_Detalles->setItemsExpandable(false);
    m_Detalles->setUniformRowHeights(true);
    m_Detalles->setAllColumnsShowFocus(true);
    m_Detalles->setSortingEnabled(false);
    m_Detalles->setIndentation(0);
    m_Detalles->header()->setStretchLastSection(false);
    m_Detalles->header()->setSectionsMovable(false);

    m_Iconos->setModel(m_ModeloIconos);
    m_Iconos->setMovement(QListView::Static);
    m_Iconos->setResizeMode(QListView::Adjust);
    m_Iconos->setWrapping(true);
    m_Iconos->setWordWrap(true);

    for (QAbstractItemView* v :
         {static_cast<QAbstractItemView*>(m_Detalles), static_cast<QAbstractItemView*>(m_Iconos)}) {
        v->setEditTriggers(QAbstractItemView::NoEditTriggers);
        v->setSelectionMode(QAbstractItemView::SingleSelection);
        v->setSelectionBehavior(QAbstractItemView::SelectRows);
        ConectarVista(v);
    }
    m_Pila->setContentsMargins(0, 0, 0, 0);
    m_Pila->addWidget(m_Detalles);
    m_Pila->addWidget(m_Iconos);
    m_Pila->setCurrentWidget(m_Detalles);
}

CListaVista::~CListaVista() = default;

void CListaVista::ConectarVista(QAbstractItemView* objVista) {
    connect(objVista, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& idx) { emit ClicElemento(idx.row(), Clave(idx.row())); });
    connect(objVista->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this, objVista](const QModelIndex& idx) {
                if (objVista == VistaVisible())
                    emit CambioSeleccion(idx.isValid() ? idx.row() : -1);
            });
}

void CListaVista::EstablecerImagenes(const CListaImagenes& objGrandes,
                                     const CListaImagenes& objPequenas) {
    m_Grandes = objGrandes;
    m_Pequenas = objPequenas;
    m_Detalles->setIconSize(QSize(objPequenas.Tamano(), objPequenas.Tamano()));
    for (int f = 0; f < m_Modelo->rowCount(); ++f) {
        QStandardItem* objCelda = m_Modelo->item(f, 0);
        objCelda->setIcon(m_Pequenas.Icono(objCelda->data(RolIconoPequeno).toInt()));
    }
    EstablecerVista(m_Vista);
}

void CListaVista::EstablecerVista(Vista vista) {
    const int intFila = Seleccionado();
    m_Vista = vista;
    if (vista == Vista::Detalles) {
        m_Pila->setCurrentWidget(m_Detalles);
    } else {
        m_ModeloIconos->booGrandes = (vista == Vista::IconosGrandes);
        // Tell the icon view that every decoration changed, without touching the rows.
        if (m_ModeloIconos->rowCount() > 0)
            emit m_ModeloIconos->dataChanged(
                m_ModeloIconos->index(0, 0),
                m_ModeloIconos->index(m_ModeloIconos->rowCount() - 1, 0), {Qt::DecorationRole});
        const int intLado =
            (vista == Vista::IconosGrandes) ? m_Grandes.Tamano() : m_Pequenas.Tamano();
        m_Iconos->setIconSize(QSize(intLado, intLado));
        switch (vista) {
        case Vista::IconosGrandes:
            m_Iconos->setViewMode(QListView::IconMode);
            m_Iconos->setFlow(QListView::LeftToRight);
            m_Iconos->setGridSize(QSize(intLado + 64, intLado + 40));
            break;
        case Vista::IconosPequenos:
            m_Iconos->setViewMode(QListView::ListMode);
            m_Iconos->setFlow(QListView::LeftToRight);
            m_Iconos->setGridSize(QSize(160, intLado + 6));
            break;
        default:
            m_Iconos->setViewMode(QListView::ListMode);
            m_Iconos->setFlow(QListView::TopToBottom);
            m_Iconos->setGridSize(QSize());
            break;
        }
        m_Iconos->setWrapping(true);
        m_Iconos->setWordWrap(vista == Vista::IconosGrandes);
        m_Pila->setCurrentWidget(m_Iconos);
    }
    Seleccionar(intFila);
}

QAbstractItemView* CListaVista::VistaVisible() const {
    return m_Vista == Vista::Detalles ? static_cast<QAbstractItemView*>(m_Detalles)
                                      : static_cast<QAbstractItemView*>(m_Iconos);
}

void CListaVista::AgregarColumna(const QString& strTexto, int intAncho, Qt::Alignment alineacion) {
    const int intColumna = static_cast<int>(m_Columnas.size());
    if (intColumna == 0)
        alineacion = Qt::AlignLeft;
    m_Columnas.append({intAncho, alineacion});
    if (m_Modelo->columnCount() <= intColumna)
        m_Modelo->setColumnCount(intColumna + 1);
    m_Modelo->setHeaderData(intColumna, Qt::Horizontal, strTexto);
    m_Modelo->setHeaderData(intColumna, Qt::Horizontal,
                            QVariant::fromValue(alineacion | Qt::AlignVCenter),
                            Qt::TextAlignmentRole);
    m_Detalles->setColumnHidden(intColumna, false);
    AplicarAnchos();
}

void CListaVista::AplicarAnchos() {
    for (int c = 0; c < m_Columnas.size(); ++c)
        m_Detalles->header()->resizeSection(c, m_Columnas.at(c).intAncho);
}

void CListaVista::EstablecerTextoColumna(int intColumna, const QString& strTexto) {
    if (intColumna >= 0 && intColumna < m_Columnas.size())
        m_Modelo->setHeaderData(intColumna, Qt::Horizontal, strTexto);
}

int CListaVista::AnchoColumna(int intColumna) const {
    return (intColumna >= 0 && intColumna < m_Columnas.size()) ? m_Columnas.at(intColumna).intAncho
                                                               : 0;
}

Qt::Alignment CListaVista::AlineacionColumna(int intColumna) const {
    return (intColumna >= 0 && intColumna < m_Columnas.size())
               ? m_Columnas.at(intColumna).alineacion
               : Qt::Alignment(Qt::AlignLeft);
}

int CListaVista::NumeroColumnas() const {
    return static_cast<int>(m_Columnas.size());
}

QString CListaVista::TituloColumna(int intColumna) const {
    return m_Modelo->headerData(intColumna, Qt::Horizontal).toString();
}

int CListaVista::AgregarElemento(const QString& strTexto, int intIconoGrande, int intIconoPequeno,
                                 const QString& strClave) {
    return AgregarFila(strTexto, intIconoGrande, intIconoPequeno, QStringList(), strClave);
}

int CListaVista::AgregarFila(const QString& strTexto, int intIconoGrande, int intIconoPequeno,
                             const QStringList& strSubElementos, const QString& strClave) {
    if (!strClave.isEmpty() && m_Claves.contains(strClave))
        throw CError(NumeroError::ClaveNoUnica, QStringLiteral("CListaVista"),
                     QStringLiteral("La clave \"%1\" no es única en la lista").arg(strClave));
    // A cell holds only what differs from an empty one (no key, window text, left aligned):
    // every value more is an allocation, and rows may come by the hundred thousand.
    auto* objCelda = new QStandardItem(strTexto);
    if (!strClave.isEmpty())
        objCelda->setData(strClave, RolClave);
    objCelda->setData(intIconoGrande, RolIconoGrande);
    objCelda->setData(intIconoPequeno, RolIconoPequeno);
    objCelda->setIcon(m_Pequenas.Icono(intIconoPequeno));
    // The row comes whole, with a cell under every header: filling a cell that is not there
    // yet makes the model announce a new layout, which costs the views a pass over every row.
    QList<QStandardItem*> celdas{objCelda};
    for (int c = 1; c < m_Columnas.size(); ++c) {
        celdas.append(CeldaVacia(c));
        if (c <= strSubElementos.size() && !strSubElementos.at(c - 1).isEmpty())
            celdas.back()->setText(strSubElementos.at(c - 1));
    }
    const int intFila = m_Modelo->rowCount();
    m_Modelo->appendRow(celdas);
    if (!strClave.isEmpty())
        m_Claves.insert(strClave, intFila);
    // Sub-items beyond the headers have no cell yet; they are kept all the same.
    for (int i = std::max(1, static_cast<int>(m_Columnas.size())); i <= strSubElementos.size(); ++i)
        EstablecerSubElemento(intFila, i, strSubElementos.at(i - 1));
    return intFila;
}

QStandardItem* CListaVista::Celda(int intFila, int intColumna, bool booCrear) {
    if (intFila < 0 || intFila >= m_Modelo->rowCount() || intColumna < 0)
        return nullptr;
    if (intColumna >= m_Modelo->columnCount()) {
        if (!booCrear)
            return nullptr;
        // A sub-item beyond the headers is kept (it reads back) but has no column to show in.
        const int intAntes = m_Modelo->columnCount();
        m_Modelo->setColumnCount(intColumna + 1);
        for (int c = std::max(intAntes, NumeroColumnas()); c <= intColumna; ++c)
            m_Detalles->setColumnHidden(c, true);
    }
    QStandardItem* objCelda = m_Modelo->item(intFila, intColumna);
    if (!objCelda && booCrear) {
        objCelda = CeldaVacia(intColumna);
        m_Modelo->setItem(intFila, intColumna, objCelda);
    }
    return objCelda;
}

QStandardItem* CListaVista::CeldaVacia(int intColumna) const {
    auto* objCelda = new QStandardItem;
    if (const Qt::Alignment alineacion = AlineacionColumna(intColumna); alineacion != Qt::AlignLeft)
        objCelda->setData(QVariant::fromValue(alineacion | Qt::AlignVCenter),
                          Qt::TextAlignmentRole);
    return objCelda;
}

int CListaVista::Buscar(const QString& strClave) const {
    return m_Claves.value(strClave, -1);
}

int CListaVista::NumeroElementos() const {
    return m_Modelo->rowCount();
}

QString CListaVista::Texto(int intFila) const {
    return TextoCelda(intFila, 0);
}

QString CListaVista::TextoCelda(int intFila, int intColumna) const {
    const QStandardItem* objCelda =
        const_cast<CListaVista*>(this)->Celda(intFila, intColumna, false);
    return objCelda ? objCelda->text() : QString();
}

QString CListaVista::Clave(int intFila) const {
    const QStandardItem* objCelda = const_cast<CListaVista*>(this)->Celda(intFila, 0, false);
    return objCelda ? objCelda->data(RolClave).toString() : QString();
}

int CListaVista::IconoGrande(int intFila) const {
    const QStandardItem* objCelda = const_cast<CListaVista*>(this)->Celda(intFila, 0, false);
    return objCelda ? objCelda->data(RolIconoGrande).toInt() : 0;
}

int CListaVista::IconoPequeno(int intFila) const {
    const QStandardItem* objCelda = const_cast<CListaVista*>(this)->Celda(intFila, 0, false);
    return objCelda ? objCelda->data(RolIconoPequeno).toInt() : 0;
}

quint32 CListaVista::Color(int intFila) const {
    return ColorSubElemento(intFila, 0);
}

void CListaVista::EstablecerColor(int intFila, quint32 lngColor) {
    EstablecerColorSubElemento(intFila, 0, lngColor);
}

QString CListaVista::SubElemento(int intFila, int intSubElemento) const {
    return intSubElemento >= 1 ? TextoCelda(intFila, intSubElemento) : QString();
}

void CListaVista::EstablecerSubElemento(int intFila, int intSubElemento, const QString& strTexto) {
    if (intSubElemento < 1)
        return;
    if (QStandardItem* objCelda = Celda(intFila, intSubElemento, true))
        objCelda->setText(strTexto);
}

quint32 CListaVista::ColorSubElemento(int intFila, int intSubElemento) const {
    const QStandardItem* objCelda =
        const_cast<CListaVista*>(this)->Celda(intFila, intSubElemento, false);
    const QVariant color = objCelda ? objCelda->data(RolColor) : QVariant();
    return color.isValid() ? color.value<quint32>() : Color::TextoVentana;
}

void CListaVista::EstablecerColorSubElemento(int intFila, int intSubElemento, quint32 lngColor) {
    if (QStandardItem* objCelda = Celda(intFila, intSubElemento, true)) {
        objCelda->setData(QVariant::fromValue(lngColor), RolColor);
        objCelda->setForeground(ColorSistema(lngColor, palette()));
    }
}

void CListaVista::Limpiar() {
    m_Modelo->removeRows(0, m_Modelo->rowCount());
    m_Claves.clear();
}

int CListaVista::Seleccionado() const {
    const QModelIndex idx = VistaVisible()->selectionModel()->currentIndex();
    return idx.isValid() ? idx.row() : -1;
}

void CListaVista::Seleccionar(int intFila) {
    if (intFila < 0 || intFila >= m_Modelo->rowCount()) {
        for (QAbstractItemView* v : {static_cast<QAbstractItemView*>(m_Detalles),
                                     static_cast<QAbstractItemView*>(m_Iconos)})
            v->selectionModel()->clearCurrentIndex();
        return;
    }
    m_Detalles->setCurrentIndex(m_Modelo->index(intFila, 0));
    m_Iconos->setCurrentIndex(m_ModeloIconos->index(intFila, 0));
}
