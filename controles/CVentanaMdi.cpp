#include "controles/CVentanaMdi.h"

#include "controles/modTeclasAcceso.h"

#include <QApplication>
#include <QKeyEvent>
#include <algorithm>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStyle>

namespace {
QPointer<CVentanaMdi> g_Principal;
} // namespace

CVentanaMdi::CVentanaMdi(QWidget* objPadre) : QMainWindow(objPadre), m_Area(new QMdiArea(this)) {
    m_Area->setObjectName(QStringLiteral("areaMdi"));
    m_Area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_Area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_Area);
    g_Principal = this;
    // The active child's access keys come before the menu bar's: Alt+N presses the wizard's
    // "< A&nterior" rather than opening "Ve&ntana". Both live in this one window, where Qt
    // would find them ambiguous.
    qApp->installEventFilter(this);
}

namespace {

// The letter of Alt+letter with no other modifier; a null character for any other key.
QChar LetraAlt(const QKeyEvent* objTecla) {
    if ((objTecla->modifiers() & ~Qt::KeypadModifier) != Qt::AltModifier)
        return {};
    const QString strTexto = QKeySequence(objTecla->key()).toString();
    return strTexto.size() == 1 && strTexto.at(0).isLetterOrNumber() ? strTexto.at(0).toLower()
                                                                     : QChar();
}

} // namespace

bool CVentanaMdi::eventFilter(QObject* objObjeto, QEvent* objEvento) {
    const QEvent::Type tipo = objEvento->type();
    if ((tipo == QEvent::ShortcutOverride || tipo == QEvent::KeyPress) &&
        objObjeto->isWidgetType() && !LetraAlt(static_cast<QKeyEvent*>(objEvento)).isNull()) {
        auto* objReceptor = static_cast<QWidget*>(objObjeto);
        // The child that holds the focus, or the one the area has current.
        QMdiSubWindow* objActiva = nullptr;
        for (QWidget* w = objReceptor; w && !objActiva; w = w->parentWidget())
            if (auto* m = qobject_cast<QMdiSubWindow*>(w); m && m->mdiArea() == m_Area)
                objActiva = m;
        if (!objActiva)
            objActiva = m_Area->currentSubWindow();
        const QChar chrLetra = LetraAlt(static_cast<QKeyEvent*>(objEvento));
        if (!chrLetra.isNull() && objActiva && objActiva->widget() &&
            objReceptor->window() == this) {
            const QList<CTeclaAcceso> teclas = TeclasAcceso(objActiva->widget());
            const bool booTiene =
                std::any_of(teclas.cbegin(), teclas.cend(),
                            [chrLetra](const CTeclaAcceso& t) { return t.chrTecla == chrLetra; });
            if (booTiene) {
                objEvento->accept();
                if (tipo == QEvent::KeyPress)
                    PulsarTeclaAcceso(objActiva->widget(), chrLetra);
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(objObjeto, objEvento);
}

CVentanaMdi::~CVentanaMdi() {
    qApp->removeEventFilter(this);
    if (g_Principal == this)
        g_Principal = nullptr;
}

CVentanaMdi* CVentanaMdi::Principal() {
    return g_Principal;
}

QSize CVentanaMdi::AreaCliente() const {
    return m_Area->viewport()->size();
}

QMdiSubWindow* CVentanaMdi::MostrarHija(QWidget* frm) {
    auto* objMarco = qobject_cast<QMdiSubWindow*>(frm->parentWidget());
    if (!objMarco || objMarco->mdiArea() != m_Area) {
        // The frame sizes itself to the window's size hint; a window that chose its own size
        // keeps it as the size of its client area, grown to what its content needs.
        const bool booFija = frm->minimumSize() == frm->maximumSize();
        QSize tamano = frm->sizeHint().expandedTo(frm->minimumSizeHint());
        if (frm->testAttribute(Qt::WA_Resized))
            tamano = tamano.expandedTo(frm->size());
        if (booFija)
            tamano = frm->minimumSize();
        Qt::WindowFlags banderas = Qt::SubWindow;
        if (booFija)
            banderas |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                        Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
        objMarco = m_Area->addSubWindow(frm, banderas);
        objMarco->setAttribute(Qt::WA_DeleteOnClose);
        objMarco->show();
        // The area shows a new child maximised while the last one was, even after that one
        // closed: a window of fixed size has nothing to gain from it and would cover the rest.
        if (booFija && objMarco->isMaximized())
            objMarco->showNormal();
        if (!frm->property(kColocacionPropia).toBool() && !objMarco->isMaximized())
            Colocar(objMarco, tamano + (objMarco->size() - frm->size()));
    }
    objMarco->show();
    frm->show();
    m_Area->setActiveSubWindow(objMarco);
    return objMarco;
}

void CVentanaMdi::Colocar(QMdiSubWindow* objMarco, QSize tamano) {
    // Inside the visible area, one title bar down and right from the last window placed; when
    // that would leave part of it outside, back to the top left corner.
    const QSize area = AreaCliente();
    tamano = tamano.boundedTo(area).expandedTo(objMarco->minimumSizeHint().boundedTo(area));
    const int intPaso =
        objMarco->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, objMarco) + 4;
    QPoint posicion(0, 0);
    if (m_UltimaColocada && m_UltimaColocada != objMarco && m_UltimaColocada->isVisible() &&
        !m_UltimaColocada->isMaximized() && !m_UltimaColocada->isMinimized())
        posicion = m_UltimaColocada->pos() + QPoint(intPaso, intPaso);
    if (posicion.x() < 0 || posicion.y() < 0 || posicion.x() + tamano.width() > area.width() ||
        posicion.y() + tamano.height() > area.height())
        posicion = QPoint(0, 0);
    objMarco->setGeometry(QRect(posicion, tamano));
    m_UltimaColocada = objMarco;
}

QMenu* CVentanaMdi::AgregarMenuVentana(const QString& strTitulo) {
    QMenu* objMenu = menuBar()->addMenu(strTitulo);
    connect(objMenu, &QMenu::aboutToShow, this, [this, objMenu] { LlenarMenuVentana(objMenu); });
    return objMenu;
}

void CVentanaMdi::LlenarMenuVentana(QMenu* objMenu) {
    objMenu->clear();
    int n = 0;
    for (QMdiSubWindow* objMarco : m_Area->subWindowList(QMdiArea::CreationOrder)) {
        if (!objMarco->isVisible())
            continue;
        ++n;
        const QString strTitulo =
            objMarco->windowTitle().replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* a = objMenu->addAction(n < 10 ? QStringLiteral("&%1 %2").arg(n).arg(strTitulo)
                                               : QStringLiteral("%1 %2").arg(n).arg(strTitulo));
        a->setCheckable(true);
        a->setChecked(objMarco == m_Area->currentSubWindow());
        QPointer<QMdiSubWindow> objDestino = objMarco;
        connect(a, &QAction::triggered, this, [this, objDestino] {
            if (objDestino) {
                objDestino->showNormal();
                m_Area->setActiveSubWindow(objDestino);
            }
        });
    }
}
