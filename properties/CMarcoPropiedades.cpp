#include "properties/CMarcoPropiedades.h"

#include "controles/CBarraHerramientas.h"
#include "controles/CPestanas.h"
#include "controles/modGeneral.h"
#include "export/ui/CExportador.h"

#include <QEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabBar>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The frame's margins in twips: the tab strip sits 30 in from the container's sides and bottom,
// and each list 60 in from its page's sides and bottom.
constexpr int kMargenPestanas = 30;
constexpr int kMargenLista = 60;

} // namespace

CMarcoPropiedades::CMarcoPropiedades(const QString& strNombreBarra,
                                     const QString& strNombrePestanas, const CListaImagenes& iml16,
                                     const CListaImagenes& iml32, int intIconoVer,
                                     int intIconoExportar, QWidget* objPadre)
    : QWidget(objPadre), m_Barra(new CBarraHerramientas(this)), m_Contenedor(new QWidget(this)),
      m_Pestanas(new CPestanas(m_Contenedor)), m_Iml16(iml16), m_Iml32(iml32) {
    m_Barra->setObjectName(strNombreBarra);
    m_Contenedor->setObjectName(QStringLiteral("pbxContenedor"));
    m_Pestanas->setObjectName(strNombrePestanas);

    m_Barra->EstablecerImagenes(m_Iml16);
    m_Barra->AgregarSeparador();
    m_Barra->AgregarBoton(QStringLiteral("exp"), QStringLiteral("Exportar..."), intIconoExportar);
    m_PosicionVer = m_Barra->AgregarBoton(QStringLiteral("ver"), QString(), intIconoVer,
                                          CBarraHerramientas::Estilo::Menu);
    m_Barra->AgregarElementoMenu(QStringLiteral("ver"), QStringLiteral("gra"),
                                 QStringLiteral("Iconos grandes"));
    m_Barra->AgregarElementoMenu(QStringLiteral("ver"), QStringLiteral("peq"),
                                 QString::fromUtf8("Iconos pequeños"));
    m_Barra->AgregarElementoMenu(QStringLiteral("ver"), QStringLiteral("lis"),
                                 QStringLiteral("Lista"));
    m_Barra->AgregarElementoMenu(QStringLiteral("ver"), QStringLiteral("det"),
                                 QStringLiteral("Detalles"));

    // The toolbar on top and the container below it, taking the window's whole width and the
    // rest of its height; inside the container the tab strip is placed by hand.
    auto* objDisposicion = new QVBoxLayout(this);
    objDisposicion->setContentsMargins(0, 0, 0, 0);
    objDisposicion->setSpacing(0);
    objDisposicion->addWidget(m_Barra);
    objDisposicion->addWidget(m_Contenedor, 1);
    m_Contenedor->installEventFilter(this);

    connect(m_Barra, &CBarraHerramientas::ClicBoton, this, &CMarcoPropiedades::tbr_ClicBoton);
    connect(m_Barra, &CBarraHerramientas::ClicMenu, this, &CMarcoPropiedades::tbr_ClicMenu);
    connect(m_Pestanas, &CPestanas::CambioPestana, this, &CMarcoPropiedades::sst_CambioPestana);
}

CListaVista* CMarcoPropiedades::Lista(int intPestana) const {
    if (intPestana < 0 || intPestana >= NumeroListas())
        return nullptr;
    return m_Listas[static_cast<std::size_t>(intPestana)].lvw;
}

QString CMarcoPropiedades::NombreExportacion(int intPestana) const {
    if (intPestana < 0 || intPestana >= NumeroListas())
        return {};
    return m_Listas[static_cast<std::size_t>(intPestana)].strExportacion;
}

CListaVista* CMarcoPropiedades::AgregarPestana(const QString& strTitulo,
                                               const QString& strNombreLista,
                                               const QString& strExportacion) {
    auto* objPagina = new QWidget;
    auto* objDisposicion = new QVBoxLayout(objPagina);
    const int intMargen = Pixeles(kMargenLista);
    objDisposicion->setContentsMargins(intMargen, intMargen, intMargen, intMargen);
    auto* lvw = new CListaVista(objPagina);
    lvw->setObjectName(strNombreLista);
    lvw->EstablecerImagenes(m_Iml32, m_Iml16);
    lvw->EstablecerVista(CListaVista::Vista::Detalles);
    objDisposicion->addWidget(lvw);
    {
        // The strip announces its first tab as a change of tab; the tooltip must not follow it.
        const QSignalBlocker bloqueo(m_Pestanas);
        m_Pestanas->AgregarPestana(objPagina, strTitulo);
    }
    m_Listas.push_back({lvw, strExportacion});
    return lvw;
}

bool CMarcoPropiedades::eventFilter(QObject* objObjeto, QEvent* objEvento) {
    if (objObjeto == m_Contenedor && objEvento->type() == QEvent::Resize)
        pbxContenedor_Resize();
    return QWidget::eventFilter(objObjeto, objEvento);
}

void CMarcoPropiedades::pbxContenedor_Resize() {
    if (isMinimized())
        return;
    // A window smaller than the margins gets an empty tab strip, never a negative size.
    const int intMargen = Pixeles(kMargenPestanas);
    const QSize interior = m_Contenedor->contentsRect().size();
    m_Pestanas->setGeometry(intMargen, 0, std::max(0, interior.width() - 2 * intMargen),
                            std::max(0, interior.height() - intMargen));
}

QSize CMarcoPropiedades::sizeHint() const {
    const QSize diseno(Pixeles(8235), Pixeles(3675));
    // The strip's hint is the width of all its tabs side by side; a little more for its frame.
    const int intAncho = m_Pestanas->tabBar()->sizeHint().width() + 2 * Pixeles(kMargenPestanas) +
                         2 * m_Pestanas->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8;
    return diseno.expandedTo(QSize(intAncho, diseno.height()));
}

void CMarcoPropiedades::EstablecerVistaListas(CListaVista::Vista vista) {
    for (const CPestanaLista& p : m_Listas)
        p.lvw->EstablecerVista(vista);
}

void CMarcoPropiedades::ExportarPestanaActual() {
    const int intPestana = m_Pestanas->PestanaActual();
    CListaVista* lvw = Lista(intPestana);
    if (!lvw)
        return;
    CExportador objExportador(VentanaPrincipal());
    objExportador.Conexion(m_ClaveConexion);
    objExportador.TipoObjetos(NombreExportacion(intPestana));
    objExportador.ExportarListView(*lvw);
}

void CMarcoPropiedades::tbr_ClicBoton(const QString& strClave) {
    if (strClave == QLatin1String("exp"))
        ExportarPestanaActual();
    else if (strClave == QLatin1String("ver"))
        MostrarMenuBoton(*m_Barra, m_PosicionVer);
}

void CMarcoPropiedades::tbr_ClicMenu(const QString& strClaveBoton,
                                     const QString& strClaveElemento) {
    if (strClaveBoton != QLatin1String("ver"))
        return;
    if (strClaveElemento == QLatin1String("gra"))
        EstablecerVistaListas(CListaVista::Vista::IconosGrandes);
    else if (strClaveElemento == QLatin1String("peq"))
        EstablecerVistaListas(CListaVista::Vista::IconosPequenos);
    else if (strClaveElemento == QLatin1String("lis"))
        EstablecerVistaListas(CListaVista::Vista::Lista);
    else if (strClaveElemento == QLatin1String("det"))
        EstablecerVistaListas(CListaVista::Vista::Detalles);
}

void CMarcoPropiedades::sst_CambioPestana(int intPestana) {
    if (intPestana < 0)
        return;
    m_Barra->EstablecerTextoAyuda(QStringLiteral("exp"),
                                  QStringLiteral("Exportar ") +
                                      m_Pestanas->TituloPestana(intPestana).toLower() +
                                      QStringLiteral("..."));
}
