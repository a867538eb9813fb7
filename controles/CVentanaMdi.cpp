#include "controles/CVentanaMdi.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

namespace {
QPointer<CVentanaMdi> g_Principal;
} // namespace

CVentanaMdi::CVentanaMdi(QWidget* objPadre) : QMainWindow(objPadre), m_Area(new QMdiArea(this)) {
    m_Area->setObjectName(QStringLiteral("areaMdi"));
    m_Area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_Area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_Area);
    g_Principal = this;
}

CVentanaMdi::~CVentanaMdi() {
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
        // keeps it as the size of its client area.
        const bool booConTamano = frm->testAttribute(Qt::WA_Resized);
        const QSize tamano = frm->size();
        objMarco = m_Area->addSubWindow(frm);
        objMarco->setAttribute(Qt::WA_DeleteOnClose);
        objMarco->show();
        if (booConTamano)
            objMarco->resize(tamano + (objMarco->size() - frm->size()));
    }
    objMarco->show();
    frm->show();
    m_Area->setActiveSubWindow(objMarco);
    return objMarco;
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
