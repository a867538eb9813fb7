#include "controles/CArbol.h"

#include "comun/CError.h"
#include "comun/NumerosError.h"
#include "controles/ColoresSistema.h"

#include <QKeyEvent>

namespace {
enum Rol : int {
    RolClave = Qt::UserRole + 1,
    RolEtiqueta,
    RolIcono,
    RolIconoExpandido,
    RolColor,
};
} // namespace

CArbol::CArbol(QWidget* objPadre) : QTreeWidget(objPadre) {
    setHeaderHidden(true);
    setColumnCount(1);
    setSortingEnabled(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* n) {
        MostrarIcono(n);
        emit NodoExpandido(n);
    });
    connect(this, &QTreeWidget::itemCollapsed, this, &CArbol::MostrarIcono);
    connect(this, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* n, int) { emit ClicNodo(n); });
}

void CArbol::EstablecerImagenes(const CListaImagenes& objImagenes) {
    m_Imagenes = objImagenes;
    setIconSize(QSize(objImagenes.Tamano(), objImagenes.Tamano()));
}

QTreeWidgetItem* CArbol::Agregar(const QString& strClavePadre, const QString& strClave,
                                 const QString& strTexto, int intIcono, int intIconoExpandido) {
    QTreeWidgetItem* objPadre = nullptr;
    if (!strClavePadre.isEmpty()) {
        objPadre = Nodo(strClavePadre);
        if (!objPadre)
            throw CError(NumeroError::ElementoNoEncontrado, QStringLiteral("CArbol"),
                         QStringLiteral("No se encuentra el nodo \"%1\"").arg(strClavePadre));
    }
    return Agregar(objPadre, strClave, strTexto, intIcono, intIconoExpandido);
}

QTreeWidgetItem* CArbol::Agregar(QTreeWidgetItem* objPadre, const QString& strClave,
                                 const QString& strTexto, int intIcono, int intIconoExpandido) {
    QTreeWidgetItem* objNodo = Nuevo(strClave, strTexto, intIcono, intIconoExpandido);
    AgregarVarios(objPadre, {objNodo});
    return objNodo;
}

QTreeWidgetItem* CArbol::Nuevo(const QString& strClave, const QString& strTexto, int intIcono,
                               int intIconoExpandido) const {
    // Everything is set before the node joins the tree, where each change would be announced.
    auto* objNodo = new QTreeWidgetItem(QStringList{strTexto});
    objNodo->setData(0, RolClave, strClave);
    objNodo->setData(0, RolIcono, intIcono);
    objNodo->setData(0, RolIconoExpandido, intIconoExpandido);
    objNodo->setData(0, RolColor, QVariant::fromValue<quint32>(Color::TextoVentana));
    objNodo->setIcon(0, m_Imagenes.Icono(intIcono));
    return objNodo;
}

void CArbol::AgregarVarios(QTreeWidgetItem* objPadre, const QList<QTreeWidgetItem*>& objNodos) {
    QStringList strNuevas;
    for (QTreeWidgetItem* objNodo : objNodos) {
        const QString strClave = Clave(objNodo);
        if (strClave.isEmpty())
            continue;
        if (m_Claves.contains(strClave)) {
            for (const QString& strNueva : std::as_const(strNuevas))
                m_Claves.remove(strNueva);
            qDeleteAll(objNodos);
            throw CError(NumeroError::ClaveNoUnica, QStringLiteral("CArbol"),
                         QStringLiteral("La clave \"%1\" no es única en el árbol").arg(strClave));
        }
        m_Claves.insert(strClave, objNodo);
        strNuevas << strClave;
    }
    if (objPadre)
        objPadre->addChildren(objNodos);
    else
        addTopLevelItems(objNodos);
}

QTreeWidgetItem* CArbol::Nodo(const QString& strClave) const {
    return m_Claves.value(strClave);
}

void CArbol::OlvidarClaves(QTreeWidgetItem* objNodo) {
    const QString strClave = Clave(objNodo);
    if (!strClave.isEmpty())
        m_Claves.remove(strClave);
    for (int i = 0; i < objNodo->childCount(); ++i)
        OlvidarClaves(objNodo->child(i));
}

void CArbol::Eliminar(QTreeWidgetItem* objNodo) {
    if (!objNodo)
        return;
    OlvidarClaves(objNodo);
    delete objNodo;
}

void CArbol::Limpiar() {
    m_Claves.clear();
    clear();
}

QString CArbol::Clave(const QTreeWidgetItem* objNodo) {
    return objNodo->data(0, RolClave).toString();
}

QString CArbol::Etiqueta(const QTreeWidgetItem* objNodo) {
    return objNodo->data(0, RolEtiqueta).toString();
}

void CArbol::EstablecerEtiqueta(QTreeWidgetItem* objNodo, const QString& strEtiqueta) {
    objNodo->setData(0, RolEtiqueta, strEtiqueta);
}

int CArbol::Icono(const QTreeWidgetItem* objNodo) {
    return objNodo->data(0, RolIcono).toInt();
}

int CArbol::IconoExpandido(const QTreeWidgetItem* objNodo) {
    return objNodo->data(0, RolIconoExpandido).toInt();
}

quint32 CArbol::Color(const QTreeWidgetItem* objNodo) {
    return objNodo->data(0, RolColor).value<quint32>();
}

void CArbol::EstablecerIcono(QTreeWidgetItem* objNodo, int intIcono) {
    objNodo->setData(0, RolIcono, intIcono);
    MostrarIcono(objNodo);
}

void CArbol::EstablecerIconoExpandido(QTreeWidgetItem* objNodo, int intIcono) {
    objNodo->setData(0, RolIconoExpandido, intIcono);
    MostrarIcono(objNodo);
}

void CArbol::EstablecerColor(QTreeWidgetItem* objNodo, quint32 lngColor) {
    objNodo->setData(0, RolColor, QVariant::fromValue(lngColor));
    objNodo->setForeground(0, ColorSistema(lngColor, palette()));
}

void CArbol::MostrarIcono(QTreeWidgetItem* objNodo) {
    const int intExpandido = IconoExpandido(objNodo);
    const int intIcono = (objNodo->isExpanded() && intExpandido) ? intExpandido : Icono(objNodo);
    objNodo->setIcon(0, m_Imagenes.Icono(intIcono));
}

void CArbol::keyPressEvent(QKeyEvent* objEvento) {
    emit TeclaPulsada(objEvento->key());
    QTreeWidget::keyPressEvent(objEvento);
}
