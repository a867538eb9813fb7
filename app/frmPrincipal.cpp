#include "app/frmPrincipal.h"

#include "controles/CBarraEstado.h"
#include "controles/CListaImagenes.h"
#include "controles/modGeneral.h"
#include "registry/CVerondal.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QVersionNumber>

#ifndef VERONDAL_VERSION
#define VERONDAL_VERSION "0.0.0"
#endif

namespace {

frmPrincipal::FabricaVentana g_FabricaExplorador;
frmPrincipal::FabricaVentana g_FabricaComparar;

const QString TextoCredito = QStringLiteral("Desarrollado por el equipo de Verondal");
const QString TextoContacto = QStringLiteral("Contacto: verondal@example.org");

QAction* AgregarElemento(QMenu* objMenu, const QString& strTitulo, const char* szNombre) {
    QAction* a = objMenu->addAction(strTitulo);
    a->setObjectName(QLatin1String(szNombre));
    return a;
}

QMenu* AgregarMenu(QMenuBar* objBarra, const QString& strTitulo, const char* szNombre) {
    QMenu* m = objBarra->addMenu(strTitulo);
    m->setObjectName(QLatin1String(szNombre));
    return m;
}

} // namespace

frmPrincipal::frmPrincipal(QWidget* objPadre)
    : CVentanaMdi(objPadre), stbPrincipal(new CBarraEstado(this)),
      mnuArchivo(AgregarMenu(menuBar(), QStringLiteral("&Archivo"), "mnuArchivo")),
      mnuArchivoSalir(AgregarElemento(mnuArchivo, QStringLiteral("&Salir"), "mnuArchivoSalir")),
      mnuVer(AgregarMenu(menuBar(), QStringLiteral("&Ver"), "mnuVer")),
      mnuVerExploradorConexiones(AgregarElemento(
          mnuVer, QStringLiteral("E&xplorador de conexiones"), "mnuVerExploradorConexiones")),
      mnuHerramientas(AgregarMenu(menuBar(), QStringLiteral("&Herramientas"), "mnuHerramientas")),
      mnuHerramientasComparar(AgregarElemento(mnuHerramientas,
                                              QStringLiteral("&Comparar bases de datos..."),
                                              "mnuHerramientasComparar")),
      mnuVentana(AgregarMenuVentana(QStringLiteral("Ve&ntana"))),
      mnuAyuda(AgregarMenu(menuBar(), QStringLiteral("Ay&uda"), "mnuAyuda")),
      mnuAyudaAcercaDe(
          AgregarElemento(mnuAyuda, QStringLiteral("Acerca &de Verondal..."), "mnuAyudaAcercaDe")) {
    setObjectName(QStringLiteral("frmPrincipal"));
    setWindowTitle(QStringLiteral("Verondal"));
    setWindowIcon(IconoPrograma());
    mnuVentana->setObjectName(QStringLiteral("mnuVentana"));

    stbPrincipal->setObjectName(QStringLiteral("stbPrincipal"));
    stbPrincipal->EstablecerTexto(QStringLiteral("Preparado"));
    setStatusBar(stbPrincipal);

    mnuVerExploradorConexiones->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    mnuVerExploradorConexiones->setCheckable(true);
    mnuVerExploradorConexiones->setChecked(true); // start-up shows the explorer

    connect(mnuArchivoSalir, &QAction::triggered, this, &QWidget::close);
    connect(mnuVerExploradorConexiones, &QAction::triggered, this,
            &frmPrincipal::mnuVerExploradorConexiones_Click);
    connect(mnuHerramientasComparar, &QAction::triggered, this,
            &frmPrincipal::mnuHerramientasComparar_Click);
    connect(mnuAyudaAcercaDe, &QAction::triggered, this, &frmPrincipal::mnuAyudaAcercaDe_Click);

    QSize tamano(1024, 720);
    if (const QScreen* objPantalla = QGuiApplication::primaryScreen())
        tamano = tamano.boundedTo(objPantalla->availableSize());
    resize(tamano);
}

frmPrincipal::~frmPrincipal() {
    // The explorer is a child: QObject's destructor deletes it after this part of the window is
    // gone, so its "destroyed" handler must not reach this window any more.
    if (m_Explorador)
        disconnect(m_Explorador, nullptr, this, nullptr);
}

void frmPrincipal::EstablecerFabricaExplorador(FabricaVentana fnFabrica) {
    g_FabricaExplorador = std::move(fnFabrica);
}

void frmPrincipal::EstablecerFabricaComparar(FabricaVentana fnFabrica) {
    g_FabricaComparar = std::move(fnFabrica);
}

QString frmPrincipal::ObtenerVersion() {
    const QVersionNumber v = QVersionNumber::fromString(QStringLiteral(VERONDAL_VERSION));
    return QStringLiteral("%1.%2.%3")
        .arg(v.majorVersion())
        .arg(v.minorVersion())
        .arg(v.microVersion());
}

void frmPrincipal::MostrarExplorador() {
    mnuVerExploradorConexiones->setChecked(true);
    if (!m_Explorador && g_FabricaExplorador) {
        m_Explorador = g_FabricaExplorador();
        // Closed through its own close box, the explorer is gone: the mark follows, and the
        // next click builds a fresh one.
        if (m_Explorador)
            connect(m_Explorador, &QObject::destroyed, this, [this] {
                if (!m_Cerrando)
                    mnuVerExploradorConexiones->setChecked(false);
            });
    }
    if (m_Explorador)
        MostrarVentanaHija(m_Explorador);
}

void frmPrincipal::mnuVerExploradorConexiones_Click() {
    // The item has already inverted its check mark; hiding keeps the explorer as it is.
    if (mnuVerExploradorConexiones->isChecked())
        MostrarExplorador();
    else if (m_Explorador)
        MarcoVentana(m_Explorador)->hide();
}

void frmPrincipal::mnuHerramientasComparar_Click() {
    // A wizard already closed lingers until its frame's deferred deletion: showing it again
    // would bring back a window about to vanish, so it counts as gone and a fresh one is built.
    // (Nothing hides the wizard short of closing it.)
    if (m_Comparar && MarcoVentana(m_Comparar)->isHidden())
        m_Comparar = nullptr;
    if (!m_Comparar && g_FabricaComparar)
        m_Comparar = g_FabricaComparar();
    if (m_Comparar)
        MostrarVentanaHija(m_Comparar);
}

void frmPrincipal::mnuAyudaAcercaDe_Click() {
    const QString strAplicacion = QStringLiteral("Verondal ") + ObtenerVersion();
    QMessageBox objCaja(this);
    objCaja.setObjectName(QStringLiteral("frmAcercaDe"));
    objCaja.setWindowTitle(QStringLiteral("Acerca de ") + strAplicacion);
    objCaja.setIconPixmap(ImagenRecurso(QStringLiteral("verondal"), 64));
    objCaja.setText(strAplicacion);
    objCaja.setInformativeText(TextoCredito + QLatin1Char('\n') + TextoContacto);
    objCaja.setStandardButtons(QMessageBox::Ok);
    objCaja.exec();
}

void frmPrincipal::closeEvent(QCloseEvent* objEvento) {
    m_Cerrando = true;
    stbPrincipal->EstablecerTexto(QStringLiteral("Cerrando conexiones..."));
    // The children go first, so that none outlives the connections it reads from.
    Area()->closeAllSubWindows();
    const auto hijas = Area()->subWindowList();
    for (QMdiSubWindow* objMarco : hijas)
        if (objMarco->isVisible()) {
            // A child still busy (a comparison running inside its click) refused: ask again
            // once it has let go, rather than pull the connections from under it.
            objEvento->ignore();
            QTimer::singleShot(100, this, &QWidget::close);
            return;
        }
    objVerondal.reset();
    objEvento->accept();
}
