#include "controles/CListaVista.h"

#include "comun/CError.h"
#include "comun/NumerosError.h"
#include "controles/ColoresSistema.h"

#include <QApplication>
#include <QClipboard>
#include <QCollator>
#include <QEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QIdentityProxyModel>
#include <QKeyEvent>
#include <QListView>
#include <QLocale>
#include <QSortFilterProxyModel>
#include <QStackedLayout>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QToolTip>
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

// The rows as the user has them: sorted by one column (numbers as numbers, texts in the
// language's order) and narrowed to those holding a text. The views see it only while one of
// the two is in force, since every row streamed through it costs a pass over the mapping.
class COrdenLista : public QSortFilterProxyModel {
public:
    explicit COrdenLista(QObject* objPadre) : QSortFilterProxyModel(objPadre) {
        m_Colador.setNumericMode(true);
        m_Colador.setCaseSensitivity(Qt::CaseInsensitive);
    }

    const QString& Filtro() const { return m_strFiltro; }
    void EstablecerFiltro(const QString& strFiltro) {
        m_strFiltro = strFiltro;
        invalidateFilter();
    }

protected:
    bool lessThan(const QModelIndex& izq, const QModelIndex& der) const override {
        const QString a = izq.data().toString();
        const QString b = der.data().toString();
        bool booA = false;
        bool booB = false;
        const double dblA = m_Local.toDouble(a, &booA);
        const double dblB = m_Local.toDouble(b, &booB);
        if (booA && booB)
            return dblA < dblB;
        if (a.isEmpty() != b.isEmpty())
            return a.isEmpty(); // empty cells first, as the smallest
        return m_Colador.compare(a, b) < 0;
    }

    bool filterAcceptsRow(int intFila, const QModelIndex& padre) const override {
        if (m_strFiltro.isEmpty())
            return true;
        const QAbstractItemModel* objFuente = sourceModel();
        for (int c = 0; c < objFuente->columnCount(padre); ++c)
            if (objFuente->index(intFila, c, padre)
                    .data()
                    .toString()
                    .contains(m_strFiltro, Qt::CaseInsensitive))
                return true;
        return false;
    }

private:
    QCollator m_Colador;
    QLocale m_Local;
    QString m_strFiltro;
};

// A cell whose text does not fit shows it whole in a tooltip; one that fits shows none.
class CDelegadoLista : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* objEvento, QAbstractItemView* objVista,
                   const QStyleOptionViewItem& opcion, const QModelIndex& idx) override {
        if (objEvento->type() != QEvent::ToolTip)
            return QStyledItemDelegate::helpEvent(objEvento, objVista, opcion, idx);
        const QString strTexto = TextoRecortado(objVista, opcion, idx);
        if (strTexto.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(objEvento->globalPos(), strTexto, objVista);
        return true;
    }

    // The cell's text when the cell shows it cut, else the empty text.
    QString TextoRecortado(const QAbstractItemView* objVista, const QStyleOptionViewItem& opcion,
                           const QModelIndex& idx) const {
        QStyleOptionViewItem o = opcion;
        initStyleOption(&o, idx);
        if (o.text.isEmpty())
            return {};
        const QStyle* objEstilo = objVista->style();
        const QRect rect = objEstilo->subElementRect(QStyle::SE_ItemViewItemText, &o, objVista);
        // The style leaves a margin on each side of the text inside that rectangle.
        const int intMargen =
            objEstilo->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, objVista) + 1;
        return o.fontMetrics.horizontalAdvance(o.text) > rect.width() - 2 * intMargen ? o.text
                                                                                      : QString();
    }
};

CListaVista::CListaVista(QWidget* objPadre)
    : QWidget(objPadre), m_Modelo(new QStandardItemModel(this)),
      m_ModeloIconos(new CModeloIconos(m_Grandes, this)), m_Detalles(new QTreeView),
      m_Iconos(new QListView), m_Pila(new QStackedLayout(this)),
      m_Delegado(new CDelegadoLista(this)), m_Orden(new COrdenLista(this)) {
    m_ModeloIconos->setSourceModel(m_Modelo);
    m_Orden->setDynamicSortFilter(true);

    m_Detalles->setModel(m_Modelo);
    m_Detalles->setRootIsDecorated(false);
    m_Detalles->setItemsExpandable(false);
    m_Detalles->setUniformRowHeights(true);
    m_Detalles->setAllColumnsShowFocus(true);
    m_Detalles->setSortingEnabled(false);
    m_Detalles->setIndentation(0);
    // The last column takes what the others leave, so no half of the window stays empty.
    m_Detalles->header()->setStretchLastSection(true);
    m_Detalles->header()->setSectionsMovable(false);
    m_Detalles->header()->setSectionsClickable(true);
    m_Detalles->header()->setSortIndicatorShown(true);
    m_Detalles->header()->setSortIndicator(-1, Qt::AscendingOrder);
    connect(m_Detalles->header(), &QHeaderView::sectionClicked, this, &CListaVista::Cabecera_Clic);
    m_Detalles->setItemDelegate(m_Delegado);
    m_Iconos->setItemDelegate(m_Delegado);

    m_Iconos->setModel(m_ModeloIconos);
    m_Iconos->setMovement(QListView::Static);
    m_Iconos->setResizeMode(QListView::Adjust);
    m_Iconos->setWrapping(true);
    m_Iconos->setWordWrap(true);

    for (QAbstractItemView* v :
         {static_cast<QAbstractItemView*>(m_Detalles), static_cast<QAbstractItemView*>(m_Iconos)}) {
        v->setEditTriggers(QAbstractItemView::NoEditTriggers);
        v->setSelectionMode(QAbstractItemView::ExtendedSelection);
        v->setSelectionBehavior(QAbstractItemView::SelectRows);
        v->installEventFilter(this);
        ConectarVista(v);
    }
    m_Pila->setContentsMargins(0, 0, 0, 0);
    m_Pila->addWidget(m_Detalles);
    m_Pila->addWidget(m_Iconos);
    m_Pila->setCurrentWidget(m_Detalles);
}

CListaVista::~CListaVista() = default;

void CListaVista::ConectarVista(QAbstractItemView* objVista) {
    connect(objVista, &QAbstractItemView::clicked, this, [this](const QModelIndex& idx) {
        const int intFila = FilaModelo(idx);
        emit ClicElemento(intFila, Clave(intFila));
    });
    connect(objVista, &QAbstractItemView::activated, this, [this](const QModelIndex& idx) {
        const int intFila = FilaModelo(idx);
        emit ActivarElemento(intFila, Clave(intFila));
    });
    ConectarSeleccion(objVista);
}

void CListaVista::ConectarSeleccion(QAbstractItemView* objVista) {
    connect(objVista->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this, objVista](const QModelIndex& idx) {
                if (objVista == VistaVisible())
                    emit CambioSeleccion(FilaModelo(idx));
            });
}

int CListaVista::FilaModelo(QModelIndex idx) const {
    if (idx.model() == m_ModeloIconos)
        idx = m_ModeloIconos->mapToSource(idx);
    if (idx.model() == m_Orden)
        idx = m_Orden->mapToSource(idx);
    return idx.isValid() ? idx.row() : -1;
}

QModelIndex CListaVista::IndiceVista(int intFila, int intColumna, bool booIconos) const {
    if (intFila < 0 || intFila >= m_Modelo->rowCount())
        return {};
    QModelIndex idx = m_Modelo->index(intFila, booIconos ? 0 : intColumna);
    if (m_booIntermedio)
        idx = m_Orden->mapFromSource(idx);
    if (booIconos)
        idx = m_ModeloIconos->mapFromSource(idx);
    return idx;
}

QModelIndex CListaVista::IndiceVista(int intFila, int intColumna) const {
    return IndiceVista(intFila, intColumna, m_Vista != Vista::Detalles);
}

void CListaVista::UsarIntermedio(bool booIntermedio) {
    if (booIntermedio == m_booIntermedio)
        return;
    const int intFila = Seleccionado();
    // A new model resets the header: the widths the user gave the columns are kept.
    QList<int> anchos;
    for (int c = 0; c < m_Columnas.size(); ++c)
        anchos.append(m_Detalles->header()->sectionSize(c));
    const Qt::SortOrder orden = m_Detalles->header()->sortIndicatorOrder();
    const int intColumnaOrden = m_Detalles->header()->sortIndicatorSection();
    m_booIntermedio = booIntermedio;
    QAbstractItemModel* objModelo =
        booIntermedio ? static_cast<QAbstractItemModel*>(m_Orden) : m_Modelo;
    QItemSelectionModel* objAnterior = m_Detalles->selectionModel();
    m_Detalles->setModel(objModelo);
    delete objAnterior;
    ConectarSeleccion(m_Detalles);
    m_ModeloIconos->setSourceModel(objModelo); // the icon view keeps its own selection model
    for (int c = 0; c < m_Modelo->columnCount(); ++c)
        m_Detalles->setColumnHidden(c, c >= m_Columnas.size());
    for (int c = 0; c < anchos.size(); ++c)
        m_Detalles->header()->resizeSection(c, anchos.at(c));
    m_Detalles->header()->setSortIndicator(intColumnaOrden, orden);
    Seleccionar(intFila);
}

void CListaVista::Cabecera_Clic(int intColumna) {
    // Up, down, and back to the order the rows came in.
    if (m_intColumnaOrden != intColumna)
        Ordenar(intColumna, Qt::AscendingOrder);
    else if (m_Sentido == Qt::AscendingOrder)
        Ordenar(intColumna, Qt::DescendingOrder);
    else
        Ordenar(-1, Qt::AscendingOrder);
}

void CListaVista::Ordenar(int intColumna, Qt::SortOrder orden) {
    m_intColumnaOrden = intColumna >= 0 && intColumna < NumeroColumnas() ? intColumna : -1;
    m_Sentido = orden;
    AplicarOrden();
}

void CListaVista::AplicarOrden() {
    const bool booIntermedio = m_intColumnaOrden >= 0 || !m_Orden->Filtro().isEmpty();
    // Rows added while the intermediate model is unused must cost it nothing: it is unplugged.
    if (booIntermedio && !m_booIntermedio)
        m_Orden->setSourceModel(m_Modelo);
    if (booIntermedio)
        m_Orden->sort(m_intColumnaOrden, m_Sentido);
    UsarIntermedio(booIntermedio);
    if (!booIntermedio)
        m_Orden->setSourceModel(nullptr);
    m_Detalles->header()->setSortIndicator(m_intColumnaOrden, m_Sentido);
}

int CListaVista::ColumnaOrden() const {
    return m_intColumnaOrden;
}

Qt::SortOrder CListaVista::SentidoOrden() const {
    return m_Sentido;
}

void CListaVista::EstablecerFiltro(const QString& strFiltro) {
    m_Orden->EstablecerFiltro(strFiltro.trimmed());
    AplicarOrden();
}

QString CListaVista::Filtro() const {
    return m_Orden->Filtro();
}

int CListaVista::NumeroFilasVisibles() const {
    return m_booIntermedio ? m_Orden->rowCount() : m_Modelo->rowCount();
}

int CListaVista::FilaVisible(int intPosicion) const {
    if (!m_booIntermedio)
        return intPosicion >= 0 && intPosicion < m_Modelo->rowCount() ? intPosicion : -1;
    return FilaModelo(m_Orden->index(intPosicion, 0));
}

QList<int> CListaVista::FilasSeleccionadas() const {
    QList<int> filas;
    const QModelIndexList seleccion = VistaVisible()->selectionModel()->selectedRows(0);
    QList<QModelIndex> orden(seleccion.begin(), seleccion.end());
    std::sort(orden.begin(), orden.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    for (const QModelIndex& idx : orden)
        filas.append(FilaModelo(idx));
    return filas;
}

QString CListaVista::TextoSeleccion() const {
    QStringList lineas;
    for (const int intFila : FilasSeleccionadas()) {
        QStringList celdas;
        for (int c = 0; c < NumeroColumnas(); ++c)
            celdas.append(TextoCelda(intFila, c));
        lineas.append(celdas.join(QLatin1Char('\t')));
    }
    return lineas.isEmpty() ? QString() : lineas.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void CListaVista::CopiarSeleccion() {
    const QString strTexto = TextoSeleccion();
    if (!strTexto.isEmpty())
        QApplication::clipboard()->setText(strTexto);
}

bool CListaVista::eventFilter(QObject* objObjeto, QEvent* objEvento) {
    if (objEvento->type() == QEvent::KeyPress &&
        (objObjeto == m_Detalles || objObjeto == m_Iconos)) {
        if (static_cast<QKeyEvent*>(objEvento)->matches(QKeySequence::Copy)) {
            CopiarSeleccion();
            return true;
        }
    }
    return QWidget::eventFilter(objObjeto, objEvento);
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
        AplicarAncho(c);
}

void CListaVista::AplicarAncho(int intColumna) {
    // The design width is a least: a larger font widens the column to its whole header.
    QHeaderView* objCabecera = m_Detalles->header();
    objCabecera->resizeSection(intColumna, std::max(m_Columnas.at(intColumna).intAncho,
                                                    objCabecera->sectionSizeHint(intColumna)));
}

void CListaVista::changeEvent(QEvent* objEvento) {
    QWidget::changeEvent(objEvento);
    if (objEvento->type() == QEvent::FontChange || objEvento->type() == QEvent::StyleChange)
        AplicarAnchos();
}

QString CListaVista::TextoAyudaCelda(int intFila, int intColumna) const {
    QAbstractItemView* objVista = VistaVisible();
    const QModelIndex idx = IndiceVista(intFila, intColumna);
    if (!idx.isValid())
        return {};
    QStyleOptionViewItem opcion;
    opcion.initFrom(objVista);
    opcion.font = objVista->font();
    opcion.fontMetrics = QFontMetrics(opcion.font);
    opcion.rect = objVista->visualRect(idx);
    opcion.decorationSize = objVista->iconSize();
    opcion.features |= QStyleOptionViewItem::HasDisplay;
    if (!objVista->model()->data(idx, Qt::DecorationRole).isNull())
        opcion.features |= QStyleOptionViewItem::HasDecoration;
    opcion.showDecorationSelected = true;
    return m_Delegado->TextoRecortado(objVista, opcion, idx);
}

void CListaVista::EstablecerTextoColumna(int intColumna, const QString& strTexto) {
    if (intColumna >= 0 && intColumna < m_Columnas.size()) {
        m_Modelo->setHeaderData(intColumna, Qt::Horizontal, strTexto);
        AplicarAncho(intColumna);
    }
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
    return FilaModelo(VistaVisible()->selectionModel()->currentIndex());
}

void CListaVista::Seleccionar(int intFila) {
    if (intFila < 0 || intFila >= m_Modelo->rowCount()) {
        for (QAbstractItemView* v : {static_cast<QAbstractItemView*>(m_Detalles),
                                     static_cast<QAbstractItemView*>(m_Iconos)})
            v->selectionModel()->clearCurrentIndex();
        return;
    }
    m_Detalles->setCurrentIndex(IndiceVista(intFila, 0, false));
    m_Iconos->setCurrentIndex(IndiceVista(intFila, 0, true));
}
