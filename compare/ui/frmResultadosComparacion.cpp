#include "compare/ui/frmResultadosComparacion.h"

#include "compare/CComparador.h"
#include "controles/CBarraEstado.h"
#include "controles/CBarraHerramientas.h"
#include "controles/CListaImagenes.h"
#include "controles/CListaVista.h"
#include "controles/CPunteroRaton.h"
#include "controles/modGeneral.h"
#include "export/ui/CExportador.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// imlResultadosComparacion16, by number: the engine's icons 3, 5 and 6 are rows' icons.
const QStringList kImagenes = {QStringLiteral("ver"),      QStringLiteral("exportar"),
                               QStringLiteral("cruz"),     QStringLiteral("cancelar"),
                               QStringLiteral("correcto"), QStringLiteral("advertencia")};
enum : int { ImagenVer = 1, ImagenExportar = 2, ImagenCancelar = 4 };

} // namespace

frmResultadosComparacion::frmResultadosComparacion(QWidget* objPadre)
    : QWidget(objPadre), tbrResultadosComparacion(new CBarraHerramientas(this)),
      txtFiltro(new QLineEdit(this)), pbxContenedor(new QWidget(this)),
      lvwResultados(new CListaVista(pbxContenedor)),
      stbResultadosComparacion(new CBarraEstado(this)) {
    setObjectName(QStringLiteral("frmResultadosComparacion"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Resultados de la comparación"));
    setWindowIcon(IconoRecurso(QStringLiteral("comparar"), 16));
    QFont objFuente = font();
    objFuente.setFamilies({QStringLiteral("Tahoma"), objFuente.family()});
    setFont(objFuente);

    tbrResultadosComparacion->setObjectName(QStringLiteral("tbrResultadosComparacion"));
    tbrResultadosComparacion->EstablecerImagenes(CListaImagenes(16, kImagenes));
    tbrResultadosComparacion->AgregarBoton(QStringLiteral("exp"), QStringLiteral("Exportar..."),
                                           ImagenExportar);
    tbrResultadosComparacion->AgregarBoton(QStringLiteral("ver"), QString(), ImagenVer,
                                           CBarraHerramientas::Estilo::Menu);
    tbrResultadosComparacion->AgregarElementoMenu(QStringLiteral("ver"), QStringLiteral("gra"),
                                                  QStringLiteral("Iconos grandes"));
    tbrResultadosComparacion->AgregarElementoMenu(QStringLiteral("ver"), QStringLiteral("peq"),
                                                  QStringLiteral("Iconos pequeños"));
    tbrResultadosComparacion->AgregarElementoMenu(QStringLiteral("ver"), QStringLiteral("lis"),
                                                  QStringLiteral("Lista"));
    tbrResultadosComparacion->AgregarElementoMenu(QStringLiteral("ver"), QStringLiteral("det"),
                                                  QStringLiteral("Detalles"));
    tbrResultadosComparacion->AgregarBoton(QStringLiteral("can"),
                                           QStringLiteral("Cancelar comparación"), ImagenCancelar);
    connect(tbrResultadosComparacion, &CBarraHerramientas::ClicBoton, this,
            &frmResultadosComparacion::tbrResultadosComparacion_ButtonClick);
    connect(tbrResultadosComparacion, &CBarraHerramientas::ClicMenu, this,
            [this](const QString&, const QString& strClave) {
                tbrResultadosComparacion_ButtonMenuClick(strClave);
            });

    pbxContenedor->setObjectName(QStringLiteral("pbxContenedor"));
    pbxContenedor->installEventFilter(this);

    lvwResultados->setObjectName(QStringLiteral("lvwResultados"));
    // The rows' pictures at 32 pixels, so that the large-icon view of "ver" shows them too.
    lvwResultados->EstablecerImagenes(CListaImagenes(32, kImagenes), CListaImagenes(16, kImagenes));
    lvwResultados->AgregarColumna(QStringLiteral("Objeto comparado"), 127);
    lvwResultados->AgregarColumna(QStringLiteral("Tipo de objeto"), 87);
    lvwResultados->AgregarColumna(QStringLiteral("Conexión"), 100);
    lvwResultados->AgregarColumna(QStringLiteral("Resultado de la comparación"), 347);
    lvwResultados->EstablecerVista(CListaVista::Vista::Detalles);

    stbResultadosComparacion->setObjectName(QStringLiteral("stbResultadosComparacion"));
    stbResultadosComparacion->EstablecerTexto(QStringLiteral("Preparado"));

    txtFiltro->setObjectName(QStringLiteral("txtFiltro"));
    txtFiltro->setPlaceholderText(
        QStringLiteral("Filtrar por tabla, columna, conexión o resultado"));
    txtFiltro->setClearButtonEnabled(true);
    m_TemporizadorFiltro.setSingleShot(true);
    m_TemporizadorFiltro.setInterval(150);
    connect(&m_TemporizadorFiltro, &QTimer::timeout, this,
            [this] { lvwResultados->EstablecerFiltro(txtFiltro->text()); });
    connect(txtFiltro, &QLineEdit::textChanged, &m_TemporizadorFiltro, qOverload<>(&QTimer::start));

    auto* objDisposicion = new QVBoxLayout(this);
    objDisposicion->setContentsMargins(0, 0, 0, 0);
    objDisposicion->setSpacing(0);
    objDisposicion->addWidget(tbrResultadosComparacion);
    objDisposicion->addWidget(txtFiltro);
    objDisposicion->addWidget(pbxContenedor, 1);
    objDisposicion->addWidget(stbResultadosComparacion);
    // The design size of the list's columns, so that a window shown on its own fits them.
    resize(690, 300);

    m_Temporizador.setSingleShot(true);
    m_Temporizador.setTimerType(Qt::PreciseTimer);
    m_Temporizador.setInterval(kIntervaloRepintado);
    connect(&m_Temporizador, &QTimer::timeout, this,
            [this] { VolcarTramo(MilisegundosPorRepintado()); });
    m_Reloj.start();
    m_RelojCesion.start();
}

frmResultadosComparacion::~frmResultadosComparacion() = default;

void frmResultadosComparacion::Comparar(CComparador& objComparador) {
    struct CEnCurso {
        frmResultadosComparacion& frm;
        CPunteroRaton puntero{Puntero::FlechaReloj};
        explicit CEnCurso(frmResultadosComparacion& f) : frm(f) { frm.m_booComparando = true; }
        ~CEnCurso() { frm.m_booComparando = false; }
    };
    {
        CEnCurso enCurso(*this);
        objComparador.Comparar(*this);
        // The rows the list has not taken yet, still a repaint at a time.
        while (FilasEnEspera() > 0) {
            VolcarTramo(MilisegundosPorRepintado());
            if (FilasEnEspera() > 0)
                Vuelta();
        }
    }
    Volcar();
    if (m_booCerrarAlTerminar)
        MarcoVentana(this)->close();
}

void frmResultadosComparacion::Estado(const QString& strEstado) {
    if (m_booCerrarAlTerminar)
        return;
    m_strEstado = strEstado;
    m_booEstadoPendiente = true;
    if (!m_Temporizador.isActive())
        m_Temporizador.start();
}

void frmResultadosComparacion::AgregarFila(const CFilaResultado& objFila) {
    if (m_booCerrarAlTerminar)
        return; // the user has closed the window: the rest of the comparison goes nowhere
    m_Pendientes.push_back(objFila);
    if (!m_Temporizador.isActive())
        m_Temporizador.start();
}

void frmResultadosComparacion::Ceder() {
    if ((m_booEstadoPendiente || FilasEnEspera() > 0) && m_Reloj.elapsed() >= m_intIntervalo)
        VolcarTramo(MilisegundosPorRepintado());
    while (FilasEnEspera() > kFilasEnEsperaMaximas) {
        Vuelta();
        VolcarTramo(MilisegundosPorRepintado());
    }
    if (m_RelojCesion.elapsed() >= kIntervaloCesion)
        Vuelta();
}

void frmResultadosComparacion::Vuelta() {
    QElapsedTimer objVuelta;
    objVuelta.start();
    QCoreApplication::processEvents();
    m_RelojCesion.restart();
    if (m_booMedirVuelta) {
        m_booMedirVuelta = false;
        // The turn that painted the new rows laid out the whole list: that is the cost that
        // grows with the list, and the one fewer repaints save.
        m_intUltimaVuelta = static_cast<int>(objVuelta.elapsed());
        m_intIntervalo =
            static_cast<int>(std::clamp<qint64>(objVuelta.elapsed() * kFraccionRepintado,
                                                kIntervaloRepintado, kIntervaloRepintadoMaximo));
        m_Temporizador.setInterval(m_intIntervalo);
    }
}

void frmResultadosComparacion::Mostrar() {
    Volcar();
    MostrarVentanaHija(this);
    AjustarVentana(this, 150);
}

void frmResultadosComparacion::Volcar() {
    VolcarTramo(-1);
}

void frmResultadosComparacion::VolcarTramo(int intMilisegundos) {
    m_Temporizador.stop();
    m_Reloj.restart();
    m_booMedirVuelta = m_booMedirVuelta || FilasEnEspera() > 0;
    QElapsedTimer objTramo;
    objTramo.start();
    while (m_intPrimeraPendiente < m_Pendientes.size()) {
        // The clock is read every few rows: a row costs microseconds.
        if (intMilisegundos >= 0 && m_intPrimeraPendiente % 32 == 0 &&
            objTramo.elapsed() >= intMilisegundos)
            break;
        const CFilaResultado& fila = m_Pendientes[m_intPrimeraPendiente++];
        const int intFila =
            lvwResultados->AgregarFila(fila.strTexto, fila.intIcono, fila.intIcono,
                                       {fila.strTipo, fila.strConexion, fila.strMensaje});
        if (fila.lngColor != kColorTextoVentana) {
            lvwResultados->EstablecerColor(intFila, fila.lngColor);
            lvwResultados->EstablecerColorSubElemento(intFila, 1, fila.lngColor);
            lvwResultados->EstablecerColorSubElemento(intFila, 3, fila.lngColor);
        }
    }
    if (FilasEnEspera() == 0) {
        m_Pendientes.clear();
        m_intPrimeraPendiente = 0;
    } else {
        m_Temporizador.start(); // the rest, if the engine yields no more
    }
    if (m_booEstadoPendiente) {
        m_booEstadoPendiente = false;
        stbResultadosComparacion->EstablecerTexto(m_strEstado);
    }
}

void frmResultadosComparacion::closeEvent(QCloseEvent* objEvento) {
    if (!m_booComparando) {
        objEvento->accept();
        return;
    }
    // The engine still writes into this window: stop it, hide the window, and let it go once
    // Comparar has returned.
    if (!m_booCerrarAlTerminar) {
        m_booCerrarAlTerminar = true;
        Cancelar();
        tbrResultadosComparacion->Habilitar(QStringLiteral("can"), false);
        m_Pendientes.clear();
        m_intPrimeraPendiente = 0;
        m_booEstadoPendiente = false;
        m_Temporizador.stop();
    }
    objEvento->ignore();
    MarcoVentana(this)->hide();
}

bool frmResultadosComparacion::eventFilter(QObject* objObjeto, QEvent* objEvento) {
    if (objObjeto == pbxContenedor && objEvento->type() == QEvent::Resize)
        pbxContenedor_Resize();
    return QWidget::eventFilter(objObjeto, objEvento);
}

bool frmResultadosComparacion::Minimizada() const {
    return MarcoVentana(const_cast<frmResultadosComparacion*>(this))->isMinimized();
}

void frmResultadosComparacion::pbxContenedor_Resize() {
    if (Minimizada())
        return;
    lvwResultados->setGeometry(0, 0, pbxContenedor->width(), pbxContenedor->height());
}

void frmResultadosComparacion::tbrResultadosComparacion_ButtonClick(const QString& strClave) {
    if (strClave == QLatin1String("can")) {
        Cancelar();
        tbrResultadosComparacion->Habilitar(QStringLiteral("can"), false);
    } else if (strClave == QLatin1String("exp")) {
        Exportar();
    } else if (strClave == QLatin1String("ver")) {
        // A click on the face opens the menu, as a click on the arrow does.
        for (int i = 1; i <= tbrResultadosComparacion->NumeroBotones(); ++i)
            if (tbrResultadosComparacion->Clave(i) == strClave)
                MostrarMenuBoton(*tbrResultadosComparacion, i);
    }
}

void frmResultadosComparacion::tbrResultadosComparacion_ButtonMenuClick(const QString& strClave) {
    if (strClave == QLatin1String("gra"))
        lvwResultados->EstablecerVista(CListaVista::Vista::IconosGrandes);
    else if (strClave == QLatin1String("peq"))
        lvwResultados->EstablecerVista(CListaVista::Vista::IconosPequenos);
    else if (strClave == QLatin1String("lis"))
        lvwResultados->EstablecerVista(CListaVista::Vista::Lista);
    else if (strClave == QLatin1String("det"))
        lvwResultados->EstablecerVista(CListaVista::Vista::Detalles);
}

void frmResultadosComparacion::Exportar() {
    // What has been found so far, also the rows still waiting for their repaint.
    Volcar();
    CExportador objExportador(VentanaPrincipal());
    objExportador.TipoObjetos(QStringLiteral("Resultados"));
    objExportador.ExportarListView(*lvwResultados);
}
