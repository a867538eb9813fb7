// Start-up and the main window, offscreen, with the scripted dialog service: the messages of a
// failed start, the menus, the explorer's check mark, the single wizard, the about box and the
// closing sequence.
#include "Aplicacion.h"
#include "AyudasVentanas.h"
#include "DialogosGuion.h"
#include "app/Inicio.h"
#include "app/frmPrincipal.h"
#include "controles/CBarraEstado.h"
#include "controles/CPunteroRaton.h"
#include "controles/modGeneral.h"
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTest>
using namespace pruebas;

namespace {

int VentanasVisibles() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        n += w->isVisible() ? 1 : 0;
    return n;
}

// A child window that notes what it saw when it was asked to close.
class CHijaTestigo : public QWidget {
public:
    QString* strEstadoAlCerrar = nullptr;
    bool* booHabiaVerondal = nullptr;
    frmPrincipal* frm = nullptr;

protected:
    void closeEvent(QCloseEvent* e) override {
        if (strEstadoAlCerrar)
            *strEstadoAlCerrar = frm->stbPrincipal->Texto();
        if (booHabiaVerondal)
            *booHabiaVerondal = objVerondal != nullptr;
        e->accept();
    }
};

// Start-up with stand-ins for the explorer and the wizard, counting how many were built.
class PrincipalTest : public ::testing::Test {
protected:
    CDialogosGuion guion;
    int intExploradores = 0;
    int intAsistentes = 0;
    QPointer<frmPrincipal> frm;

    void SetUp() override {
        frmPrincipal::EstablecerFabricaExplorador([this] {
            ++intExploradores;
            auto* w = new QWidget;
            w->setWindowTitle(u"Explorador de conexiones"_s);
            return w;
        });
        frmPrincipal::EstablecerFabricaComparar([this] {
            ++intAsistentes;
            auto* w = new QWidget;
            w->setWindowTitle(u"Comparar bases de datos"_s);
            return w;
        });
    }
    void TearDown() override {
        delete frm.data();
        objVerondal.reset();
        frmPrincipal::EstablecerFabricaExplorador(nullptr);
        frmPrincipal::EstablecerFabricaComparar(nullptr);
    }

    frmPrincipal* Arrancar(const QByteArray& bytConfiguracion = Configuracion({})) {
        frm = Inicio(ConfiguracionDePrueba(bytConfiguracion));
        if (frm) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(frm));
        }
        return frm;
    }
    QMdiSubWindow* MarcoExplorador() const {
        return frm->Explorador() ? qobject_cast<QMdiSubWindow*>(MarcoVentana(frm->Explorador()))
                                 : nullptr;
    }
};

} // namespace

// ---------------------------------------------------------------------------------------------
using InicioTest = PrincipalTest;

TEST_F(InicioTest, SinArchivoUnSoloMensajeConLaRutaCompletaYNingunaVentana) {
    const QString strRuta = CarpetaDeLaPrueba() + u"/Verondal.xml"_s;
    frm = Inicio(strRuta);
    EXPECT_EQ(frm, nullptr);
    ASSERT_EQ(guion.mensajes.size(), 1u);
    EXPECT_EQ(guion.mensajes[0].strTexto,
              u"No se encuentra el archivo de configuración "_s + strRuta);
    EXPECT_EQ(guion.mensajes[0].intEstilo, 16);
    EXPECT_EQ(guion.mensajes[0].strTitulo, u"Error"_s);
    EXPECT_EQ(objVerondal, nullptr);
    EXPECT_EQ(VentanasVisibles(), 0);
    EXPECT_FALSE(QFile::exists(strRuta)); // never created
}

// A file that does not parse, a connection without Id (each way the loader fails): one critical
// message that names the fault, and no window.
TEST_F(InicioTest, UnArchivoIlegibleSoloMuestraElMensajeDelCargadorYNingunaVentana) {
    const std::pair<QByteArray, QString> casos[] = {
        {"<?xml version=\"1.0\"?>\n<Verondal>\n<Conexiones>\n</Verondal>\n",
         u"Error en la línea 4 del archivo "_s},
        {"<Verondal><Conexiones><Conexion><Titulo>A</Titulo><CadenaDeConexion>C0"
         "</CadenaDeConexion></Conexion></Conexiones></Verondal>",
         u"Id"_s}};
    for (const auto& [bytArchivo, strPista] : casos) {
        guion.mensajes.clear();
        EXPECT_EQ(Arrancar(bytArchivo), nullptr);
        ASSERT_EQ(guion.mensajes.size(), 1u);
        EXPECT_EQ(guion.mensajes[0].strTitulo, u"Error"_s);
        EXPECT_EQ(guion.mensajes[0].intEstilo, Estilo::Critico);
        EXPECT_TRUE(guion.mensajes[0].strTexto.contains(strPista))
            << guion.mensajes[0].strTexto.toStdString();
        EXPECT_EQ(objVerondal, nullptr);
        EXPECT_EQ(VentanasVisibles(), 0);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

TEST_F(InicioTest, UnArchivoSinConexionesAbreLaPrincipalYElExplorador) {
    ASSERT_TRUE(Arrancar());
    EXPECT_TRUE(guion.mensajes.empty());
    EXPECT_EQ(frm->windowTitle(), u"Verondal"_s);
    EXPECT_EQ(frm->stbPrincipal->Texto(), u"Preparado"_s);
    EXPECT_TRUE(frm->mnuVerExploradorConexiones->isChecked());
    ASSERT_TRUE(MarcoExplorador());
    EXPECT_TRUE(MarcoExplorador()->isVisible());
    EXPECT_EQ(MarcoExplorador()->mdiArea(), frm->Area());
    ASSERT_TRUE(objVerondal);
    EXPECT_EQ(objVerondal->Conexiones().Count(), 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// ---------------------------------------------------------------------------------------------

TEST_F(PrincipalTest, CompararTrasCerrarElAsistenteAbreUnoNuevoAunqueElViejoSigaPorBorrar) {
    ASSERT_TRUE(Arrancar());
    frm->mnuHerramientasComparar->trigger();
    QPointer<QWidget> objViejo = frm->Comparar();
    ASSERT_TRUE(objViejo);
    MarcoVentana(objViejo)->close(); // its deletion is only posted
    ASSERT_TRUE(objViejo);
    frm->mnuHerramientasComparar->trigger();
    EXPECT_EQ(intAsistentes, 2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(objViejo);
    ASSERT_TRUE(frm->Comparar());
    EXPECT_TRUE(MarcoVentana(frm->Comparar())->isVisible());
    EXPECT_EQ(frm->Area()->currentSubWindow(), MarcoVentana(frm->Comparar()));
}

// ---------------------------------------------------------------------------------------------
TEST_F(PrincipalTest, CerrarLaPrincipalCierraLasHijasConElEstadoYLuegoVaciaObjVerondal) {
    ASSERT_TRUE(Arrancar());
    QString strEstado;
    bool booHabiaVerondal = false;
    auto* objHija = new CHijaTestigo;
    objHija->strEstadoAlCerrar = &strEstado;
    objHija->booHabiaVerondal = &booHabiaVerondal;
    objHija->frm = frm;
    MostrarVentanaHija(objHija);
    EXPECT_TRUE(frm->close());
    EXPECT_EQ(strEstado, u"Cerrando conexiones..."_s);
    EXPECT_TRUE(booHabiaVerondal);
    EXPECT_EQ(objVerondal, nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(frm.isNull()); // the main window destroys itself, and its children with it
}

TEST_F(PrincipalTest, CerrarLaPrincipalCierraLasConexionesAbiertasDelServidor) {
    REQUIERE_POSTGRES();
    const CBaseServidor base(CBaseServidor::Motor::Postgres, u"verondal_cierre"_s);
    const QString strCadena = base.Cadena();
    ASSERT_FALSE(strCadena.isEmpty());
    ASSERT_TRUE(Arrancar(Configuracion({{u"Servidor"_s, strCadena}})));
    ASSERT_TRUE(objVerondal->Conexiones().Item(u"cnx1"_s).Conectar());
    // A database with a session open cannot be dropped.
    EXPECT_FALSE(EjecutarPostgres(u"postgres"_s, u"DROP DATABASE %1;"_s.arg(base.Nombre())));
    frm->close();
    EXPECT_TRUE(EjecutarPostgres(u"postgres"_s, u"DROP DATABASE %1;"_s.arg(base.Nombre())));
}
