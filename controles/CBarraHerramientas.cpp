#include "controles/CBarraHerramientas.h"

#include <QMenu>
#include <QToolButton>

namespace {
const char* const PropClave = "verondalClave";
const char* const PropImagen = "verondalImagen";
const char* const PropEstilo = "verondalEstilo";
} // namespace

CBarraHerramientas::CBarraHerramientas(QWidget* objPadre) : QToolBar(objPadre) {
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setContextMenuPolicy(Qt::PreventContextMenu);
}

void CBarraHerramientas::EstablecerImagenes(const CListaImagenes& objImagenes) {
    m_Imagenes = objImagenes;
    setIconSize(QSize(objImagenes.Tamano(), objImagenes.Tamano()));
    for (QAction* a : m_Botones)
        if (!a->isSeparator())
            a->setIcon(m_Imagenes.Icono(a->property(PropImagen).toInt()));
}

int CBarraHerramientas::AgregarBoton(const QString& strClave, const QString& strTextoAyuda,
                                     int intImagen, Estilo estilo) {
    if (estilo == Estilo::Separador)
        return AgregarSeparador();
    // No text of its own: a Qt button would show its text as tooltip when it has none.
    auto* a = new QAction(m_Imagenes.Icono(intImagen), QString(), this);
    a->setToolTip(strTextoAyuda);
    a->setObjectName(QStringLiteral("btn_") + strClave);
    a->setProperty(PropClave, strClave);
    a->setProperty(PropImagen, intImagen);
    a->setProperty(PropEstilo, static_cast<int>(estilo));
    if (estilo == Estilo::Menu) {
        auto* m = new QMenu(this);
        a->setMenu(m);
        connect(m, &QMenu::triggered, this, [this, strClave](QAction* e) {
            emit ClicMenu(strClave, e->property(PropClave).toString());
        });
    }
    addAction(a);
    if (estilo == Estilo::Menu)
        if (auto* b = qobject_cast<QToolButton*>(widgetForAction(a)))
            b->setPopupMode(QToolButton::MenuButtonPopup);
    connect(a, &QAction::triggered, this, [this, strClave] { emit ClicBoton(strClave); });
    m_Botones.append(a);
    return static_cast<int>(m_Botones.size());
}

int CBarraHerramientas::AgregarSeparador() {
    QAction* a = addSeparator();
    a->setProperty(PropEstilo, static_cast<int>(Estilo::Separador));
    m_Botones.append(a);
    return static_cast<int>(m_Botones.size());
}

void CBarraHerramientas::AgregarElementoMenu(const QString& strClaveBoton, const QString& strClave,
                                             const QString& strTexto) {
    if (QMenu* m = Menu(strClaveBoton)) {
        QAction* e = m->addAction(strTexto);
        e->setProperty(PropClave, strClave);
        e->setObjectName(QStringLiteral("mnu_") + strClave);
    }
}

QAction* CBarraHerramientas::Boton(const QString& strClave) const {
    for (QAction* a : m_Botones)
        if (!a->isSeparator() && a->property(PropClave).toString() == strClave)
            return a;
    return nullptr;
}

QAction* CBarraHerramientas::Boton(int intPosicion) const {
    return (intPosicion >= 1 && intPosicion <= m_Botones.size()) ? m_Botones.at(intPosicion - 1)
                                                                 : nullptr;
}

QString CBarraHerramientas::Clave(int intPosicion) const {
    QAction* a = Boton(intPosicion);
    return a ? a->property(PropClave).toString() : QString();
}

QToolButton* CBarraHerramientas::Control(const QString& strClave) const {
    QAction* a = Boton(strClave);
    return a ? qobject_cast<QToolButton*>(widgetForAction(a)) : nullptr;
}

CBarraHerramientas::Estilo CBarraHerramientas::EstiloBoton(const QString& strClave) const {
    QAction* a = Boton(strClave);
    return a ? static_cast<Estilo>(a->property(PropEstilo).toInt()) : Estilo::Normal;
}

int CBarraHerramientas::Imagen(const QString& strClave) const {
    QAction* a = Boton(strClave);
    return a ? a->property(PropImagen).toInt() : 0;
}

QString CBarraHerramientas::TextoAyuda(const QString& strClave) const {
    QAction* a = Boton(strClave);
    return a ? a->toolTip() : QString();
}

void CBarraHerramientas::EstablecerTextoAyuda(const QString& strClave, const QString& strTexto) {
    if (QAction* a = Boton(strClave))
        a->setToolTip(strTexto);
}

bool CBarraHerramientas::Habilitado(const QString& strClave) const {
    QAction* a = Boton(strClave);
    return a && a->isEnabled();
}

void CBarraHerramientas::Habilitar(const QString& strClave, bool booHabilitado) {
    if (QAction* a = Boton(strClave))
        a->setEnabled(booHabilitado);
}

QMenu* CBarraHerramientas::Menu(const QString& strClaveBoton) const {
    QAction* a = Boton(strClaveBoton);
    return a ? a->menu() : nullptr;
}

bool CBarraHerramientas::MostrarMenu(int intPosicion) {
    QAction* a = Boton(intPosicion);
    if (!a || a->isSeparator() || !a->menu())
        return false;
    auto* b = qobject_cast<QToolButton*>(widgetForAction(a));
    if (!b)
        return false;
    b->showMenu();
    return true;
}
