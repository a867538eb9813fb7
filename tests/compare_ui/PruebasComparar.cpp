// The compare wizard and the results window, offscreen, with the real engine on real SQLite
// files: the wizard's checks and summary, a comparison from the menu, cancel, closing the
// results mid-way, a second comparison, export and views.
#include "../app/AyudasVentanas.h"
#include "DialogosGuion.h"
#include "Entorno.h"
#include "app/frmPrincipal.h"
#include "compare/CComparador.h"
#include "compare/ui/frmComparar.h"
#include "compare/ui/frmResultadosComparacion.h"
#include "controles/CBarraEstado.h"
#include "controles/CBarraHerramientas.h"
#include "controles/CComboImagenes.h"
#include "controles/CListaMarcas.h"
#include "controles/CListaVista.h"
#include "controles/modGeneral.h"
#include "export/ui/frmExportar.h"
#include "registry/CVerondal.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace pruebas;

namespace {

QString Muestra(const QString& strNombre) {
    return Fixture(QStringLiteral("../../app/muestra/") + strNombre);
}

// The two sample databases, built once per run.
const QStringList& CadenasMuestra() {
    static const QStringList cadenas = {
        CrearBaseSQLite(CarpetaTemporal() + QStringLiteral("/ventas2025.db"),
                        Muestra(QStringLiteral("ventas2025.sql"))),
        CrearBaseSQLite(CarpetaTemporal() + QStringLiteral("/ventas2026.db"),
                        Muestra(QStringLiteral("ventas2026.sql")))};
    return cadenas;
}

// Two catalogues of 3,000 alike tables, long enough to press a button in the tables phase.
// Only side 1 has the table zz_fin (last in the catalogue) and the view v_solo_1.
const QStringList& CadenasGrandes() {
    static const QStringList cadenas = [] {
        QStringList resultado;
        for (int lado = 1; lado <= 2; ++lado) {
            QString strSql = QStringLiteral("BEGIN;\n");
            for (int i = 0; i < 3000; ++i)
                strSql += QStringLiteral("CREATE TABLE t%1 (a INTEGER, b VARCHAR(20));\n").arg(i);
            if (lado == 1)
                strSql += QStringLiteral("CREATE TABLE zz_fin (a INTEGER);\n"
                                         "CREATE VIEW v_solo_1 AS SELECT a FROM t1;\n");
            strSql += QStringLiteral("COMMIT;\n");
            const QString strRuta = CarpetaTemporal() + QStringLiteral("/grande%1.db").arg(lado);
            resultado << CrearBaseSQLite(strRuta, QString());
            EjecutarSQLite(strRuta, strSql);
        }
        return resultado;
    }();
    return cadenas;
}

// Records what the engine tells it, to set the window's rows against.
class CResultadosGrabados : public IResultados {
public:
    void Estado(const QString&) override {}
    void AgregarFila(const CFilaResultado& f) override { filas.push_back(f); }
    void Ceder() override {}
    std::vector<CFilaResultado> filas;
};

// A timer that runs fnAccion once, inside the comparison's yields, when fnCuando holds.
void Cuando(std::function<bool()> fnCuando, std::function<void()> fnAccion) {
    auto* t = new QTimer;
    t->setInterval(1);
    QObject::connect(t, &QTimer::timeout, [t, fnCuando, fnAccion] {
        if (fnCuando()) {
            t->stop();
            t->deleteLater();
            fnAccion();
        }
    });
    t->start();
}

class CompararTest : public ::testing::Test {
protected:
    CDialogosGuion guion;
    QPointer<frmPrincipal> principal;

    void TearDown() override {
        delete principal.data();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<frmComparar*>(w) || qobject_cast<frmResultadosComparacion*>(w))
                delete w;
        objVerondal.reset();
        frmPrincipal::EstablecerFabricaComparar(nullptr);
    }

    // objVerondal with the (title, connection string) pairs, Ids cnx1, cnx2...
    void Configurar(const QList<QPair<QString, QString>>& conexiones) {
        objVerondal = std::make_unique<CVerondal>(ConfiguracionDePrueba(Configuracion(conexiones)));
    }
    void ConfigurarMuestra() {
        Configurar({{QStringLiteral("Ventas 2025"), CadenasMuestra()[0]},
                    {QStringLiteral("Ventas 2026"), CadenasMuestra()[1]}});
    }

    // The wizard as the menu opens it in a fresh main window.
    frmComparar* AbrirDesdeMenu() {
        if (!principal) {
            frmPrincipal::EstablecerFabricaComparar([] { return new frmComparar; });
            principal = new frmPrincipal;
            principal->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(principal));
        }
        principal->mnuHerramientasComparar->trigger();
        return qobject_cast<frmComparar*>(principal->Comparar());
    }

    static void Elegir(frmComparar* frm, int intPrimera, int intSegunda,
                       std::initializer_list<int> objetos, bool booOcultos = false) {
        frm->cboConexion[0]->Elegir(intPrimera);
        frm->cboConexion[1]->Elegir(intSegunda);
        for (int i : objetos)
            frm->lstObjetos->Marcar(i, true);
        frm->chkCompararOcultos->setChecked(booOcultos);
    }
    static void Finalizar(frmComparar* frm) {
        while (frm->Paso() < 2)
            QTest::mouseClick(frm->btnSiguiente, Qt::LeftButton);
        QTest::mouseClick(frm->btnSiguiente, Qt::LeftButton);
        // What the message loop does next: the wizard that closed itself goes.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QList<frmResultadosComparacion*> Resultados() const {
        return principal ? principal->findChildren<frmResultadosComparacion*>()
                         : QList<frmResultadosComparacion*>();
    }
    static QStringList Fila(const CListaVista* lvw, int f) {
        return {lvw->Texto(f), lvw->SubElemento(f, 1), lvw->SubElemento(f, 2),
                lvw->SubElemento(f, 3)};
    }
    static int Buscar(const CListaVista* lvw, const QString& strTexto) {
        for (int f = 0; f < lvw->NumeroElementos(); ++f)
            if (lvw->Texto(f) == strTexto)
                return f;
        return -1;
    }
    static QString Estado(frmResultadosComparacion* frm) {
        return frm->stbResultadosComparacion->Texto();
    }
    bool EnLaFaseDeTablas() const {
        const auto r = Resultados();
        return !r.isEmpty() && Estado(r[0]).startsWith(QStringLiteral("Comparando tablas ("));
    }
};

// ---------------------------------------------------------------------------------------------
using AsistenteTest = CompararTest;

TEST_F(AsistenteTest, AbreEnElPaso1ConSusTextosYLasConexionesEnElOrdenDeLaColeccion) {
    Configurar({{QStringLiteral("Zeta"), QStringLiteral("DRIVER={SQLite3};Database=z")},
                {QStringLiteral("Alfa"), QStringLiteral("DRIVER={SQLite3};Database=a")}});
    frmComparar* frm = AbrirDesdeMenu();
    ASSERT_NE(frm, nullptr);
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("Comparar bases de datos"));
    EXPECT_EQ(frm->Paso(), 0);
    EXPECT_EQ(frm->lblTitulo[0]->text(),
              QStringLiteral("Paso 1 de 3:  Seleccionar bases de datos"));
    EXPECT_EQ(frm->lblTitulo[1]->text(), QStringLiteral("Paso 2 de 3:  Seleccionar objetos"));
    EXPECT_EQ(frm->lblTitulo[2]->text(), QStringLiteral("Paso 3 de 3:  Preparado"));
    EXPECT_FALSE(frm->btnAnterior->isEnabled());
    EXPECT_EQ(frm->btnAnterior->text(), QStringLiteral("< A&nterior"));
    EXPECT_EQ(frm->btnSiguiente->text(), QStringLiteral("Sigui&ente >"));
    for (CComboImagenes* cbo : frm->cboConexion) {
        ASSERT_EQ(cbo->count(), 2);
        EXPECT_EQ(cbo->itemText(0), QStringLiteral("Zeta"));
        EXPECT_EQ(cbo->Clave(1), QStringLiteral("cnx2"));
        EXPECT_EQ(cbo->Elegido(), -1);
    }
    EXPECT_EQ(frm->lstObjetos->NumeroEntradas(), 3);
    EXPECT_EQ(frm->lstObjetos->TextoEntrada(2), QStringLiteral("Procedimientos"));
    EXPECT_EQ(frm->lstObjetos->NumeroMarcadas(), 0);
    EXPECT_EQ(frm->lblResumen[4]->text(), QStringLiteral("(no seleccionado)"));
    EXPECT_EQ(frm->lblResumen[6]->text(), QStringLiteral("(ninguno)"));
    EXPECT_EQ(frm->lblResumen[7]->text(), QStringLiteral("No"));

    // The menu brings the same wizard forward, with its state.
    frm->cboConexion[0]->Elegir(1);
    EXPECT_EQ(AbrirDesdeMenu(), frm);
    EXPECT_EQ(frm->cboConexion[0]->Elegido(), 1);
    EXPECT_EQ(principal->findChildren<frmComparar*>().size(), 1);
}

TEST_F(AsistenteTest, ElResumenSigueLasElecciones) {
    ConfigurarMuestra();
    frmComparar* frm = AbrirDesdeMenu();
    frm->cboConexion[1]->Elegir(0);
    EXPECT_EQ(frm->lblResumen[5]->text(), QStringLiteral("Ventas 2025"));
    frm->lstObjetos->Marcar(2, true);
    frm->lstObjetos->Marcar(0, true);
    EXPECT_EQ(frm->lblResumen[6]->text(), QStringLiteral("Tablas\r\nProcedimientos\r\n"));
    frm->lstObjetos->Marcar(0, false);
    frm->lstObjetos->Marcar(2, false);
    EXPECT_EQ(frm->lblResumen[6]->text(), QStringLiteral("(ninguno)"));
    frm->chkCompararOcultos->click();
    EXPECT_EQ(frm->lblResumen[7]->text(), QStringLiteral("Sí"));
}

TEST_F(AsistenteTest, SiguienteAvanzaSinComprobarYFinalizarVuelveASerSiguiente) {
    ConfigurarMuestra();
    frmComparar* frm = AbrirDesdeMenu();
    QTest::mouseClick(frm->btnSiguiente, Qt::LeftButton);
    EXPECT_EQ(frm->Paso(), 1);
    EXPECT_TRUE(frm->fraPaso[1]->isVisible());
    EXPECT_FALSE(frm->fraPaso[0]->isVisible());
    EXPECT_TRUE(frm->btnAnterior->isEnabled());
    // Enter presses the forward button wherever the focus is, but on another button.
    QTest::keyClick(frm->lstObjetos, Qt::Key_Return);
    EXPECT_EQ(frm->Paso(), 2);
    EXPECT_EQ(frm->btnSiguiente->text(), QStringLiteral("Finalizar"));
    QTest::mouseClick(frm->btnAnterior, Qt::LeftButton);
    EXPECT_EQ(frm->btnSiguiente->text(), QStringLiteral("Sigui&ente >"));
    EXPECT_TRUE(guion.mensajes.empty());

    QPointer<frmComparar> vigilado = frm;
    QTest::keyClick(frm->lstObjetos, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(vigilado.isNull());
}

struct CCasoError {
    int intPrimera, intSegunda;
    std::vector<int> objetos;
    const char* szMensaje;
    int intPaso;
};

// The test's name says the case, not the bytes of the struct.
void PrintTo(const CCasoError& caso, std::ostream* os) {
    *os << caso.szMensaje;
}
std::string NombreCaso(const ::testing::TestParamInfo<CCasoError>& info) {
    static const char* const nombres[] = {"SinPrimeraConexion", "LaMismaConexion",
                                          "LaMismaConexionYNingunTipo", "NingunTipo"};
    return nombres[info.index];
}

class ComprobacionTest : public CompararTest, public ::testing::WithParamInterface<CCasoError> {};

TEST_P(ComprobacionTest, FinalizarAvisaYVuelveAlPasoQueCorregir) {
    ConfigurarMuestra();
    const CCasoError& caso = GetParam();
    frmComparar* frm = AbrirDesdeMenu();
    frm->cboConexion[0]->Elegir(caso.intPrimera);
    frm->cboConexion[1]->Elegir(caso.intSegunda);
    for (int i : caso.objetos)
        frm->lstObjetos->Marcar(i, true);
    Finalizar(frm);
    ASSERT_EQ(guion.mensajes.size(), 1u);
    EXPECT_EQ(guion.mensajes[0].strTexto, QString::fromUtf8(caso.szMensaje));
    EXPECT_EQ(guion.mensajes[0].intEstilo, Estilo::Exclamacion);
    EXPECT_EQ(guion.mensajes[0].strTitulo, QString());
    EXPECT_EQ(frm->Paso(), caso.intPaso);
    EXPECT_TRUE(frm->fraPaso[static_cast<std::size_t>(caso.intPaso)]->isVisible());
    EXPECT_EQ(frm->btnSiguiente->text(), QStringLiteral("Sigui&ente >"));
    EXPECT_TRUE(Resultados().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ComprobacionTest,
    ::testing::Values(CCasoError{-1, 1, {0}, "Seleccione las bases de datos a comparar", 0},
                      CCasoError{1, 1, {0}, "Seleccione distintas bases de datos a comparar", 0},
                      // Both checks of the connections come before the one of the objects.
                      CCasoError{0, 0, {}, "Seleccione distintas bases de datos a comparar", 0},
                      CCasoError{
                          0, 1, {}, "Seleccione como mínimo un tipo de objeto a comparar", 1}),
    NombreCaso);

// ---------------------------------------------------------------------------------------------
using ComparacionTest = CompararTest;

TEST_F(ComparacionTest, DesdeElMenuLaVentanaMuestraCadaDiferenciaConSuIconoYColor) {
    ConfigurarMuestra();
    frmComparar* frm = AbrirDesdeMenu();
    QPointer<frmComparar> vigilado = frm;
    Elegir(frm, 0, 1, {0, 1, 2});
    Finalizar(frm);
    EXPECT_TRUE(vigilado.isNull()) << "the wizard closes when the comparison returns";
    ASSERT_EQ(Resultados().size(), 1);
    frmResultadosComparacion* res = Resultados().first();
    EXPECT_EQ(res->windowTitle(), QStringLiteral("Resultados de la comparación"));
    EXPECT_EQ(Estado(res), QStringLiteral("Proceso finalizado"));
    const CListaVista* lvw = res->lvwResultados;

    // The same rows, in the same order, as the engine finds them.
    CComparador comparador;
    comparador.setConexion1(&objVerondal->Conexiones().Item(QStringLiteral("cnx1")));
    comparador.setConexion2(&objVerondal->Conexiones().Item(QStringLiteral("cnx2")));
    comparador.setCompararTablas(true);
    comparador.setCompararVistas(true);
    comparador.setCompararProcedimientos(true);
    comparador.setCompararOcultos(false);
    CResultadosGrabados grabados;
    comparador.Comparar(grabados);
    ASSERT_EQ(lvw->NumeroElementos(), static_cast<int>(grabados.filas.size()));
    for (int f = 0; f < lvw->NumeroElementos(); ++f) {
        const CFilaResultado& g = grabados.filas[static_cast<std::size_t>(f)];
        EXPECT_EQ(Fila(lvw, f), QStringList({g.strTexto, g.strTipo, g.strConexion, g.strMensaje}));
        EXPECT_EQ(lvw->IconoPequeno(f), g.intIcono);
        EXPECT_EQ(lvw->Color(f), g.lngColor);
    }

    const int f = Buscar(lvw, QStringLiteral("proveedores"));
    ASSERT_GE(f, 0);
    EXPECT_EQ(Fila(lvw, f),
              QStringList({QStringLiteral("proveedores"), QStringLiteral("Tabla"),
                           QStringLiteral("Ventas 2025"),
                           QStringLiteral("El objeto no existe en la conexión \"Ventas 2026\"")}));
    EXPECT_EQ(lvw->IconoPequeno(f), 3);
    EXPECT_EQ(lvw->Color(f), 0x80000008u);
    const int c = Buscar(lvw, QStringLiteral("ciudad"));
    ASSERT_GE(c, 0);
    EXPECT_EQ(lvw->IconoPequeno(c), 6);
    EXPECT_EQ(lvw->SubElemento(c, 3),
              QStringLiteral("El valor por defecto del campo «ciudad» de la tabla «clientes» es "
                             "«Madrid» y en la conexión «Ventas 2026» es «Sevilla»"));
    // SQLite has no procedures: that phase found nothing, in dark green with the tick.
    const int t = lvw->NumeroElementos() - 1;
    EXPECT_EQ(Fila(lvw, t),
              QStringList({QStringLiteral("(todos)"), QStringLiteral("Procedimientos"), QString(),
                           QStringLiteral("No se han encontrado diferencias")}));
    EXPECT_EQ(lvw->IconoPequeno(t), 5);
    EXPECT_EQ(lvw->Color(t), 0x8000u);
    EXPECT_EQ(lvw->ColorSubElemento(t, 1), 0x8000u);
    EXPECT_EQ(lvw->ColorSubElemento(t, 2), 0x80000008u);
    EXPECT_EQ(lvw->ColorSubElemento(t, 3), 0x8000u);
}

TEST_F(ComparacionTest, CancelarEnLaFaseDeTablasLaDetieneYSaltaLasDemas) {
    Configurar({{QStringLiteral("Uno"), CadenasGrandes()[0]},
                {QStringLiteral("Dos"), CadenasGrandes()[1]}});
    frmComparar* frm = AbrirDesdeMenu();
    Elegir(frm, 0, 1, {0, 1, 2});
    QString strEstadoAlPulsar;
    bool booBotonesInactivos = false;
    Cuando([this] { return EnLaFaseDeTablas(); },
           [&] {
               frmResultadosComparacion* res = Resultados().first();
               strEstadoAlPulsar = Estado(res);
               booBotonesInactivos = !frm->btnSiguiente->isEnabled() &&
                                     !frm->btnCancelar->isEnabled() &&
                                     !frm->btnAnterior->isEnabled();
               QTest::mouseClick(res->tbrResultadosComparacion->Control(QStringLiteral("can")),
                                 Qt::LeftButton);
               EXPECT_FALSE(res->tbrResultadosComparacion->Habilitado(QStringLiteral("can")));
           });
    Finalizar(frm);
    ASSERT_EQ(Resultados().size(), 1);
    frmResultadosComparacion* res = Resultados().first();
    EXPECT_TRUE(booBotonesInactivos);
    EXPECT_EQ(Estado(res), QStringLiteral("Proceso cancelado"));
    ASSERT_TRUE(strEstadoAlPulsar.startsWith(QStringLiteral("Comparando tablas (")));
    const CListaVista* lvw = res->lvwResultados;
    // Stopped before side 1's last table; nothing of the views and procedures phases.
    if (strEstadoAlPulsar.mid(19).toInt() < 45) {
        EXPECT_EQ(Buscar(lvw, QStringLiteral("zz_fin")), -1) << strEstadoAlPulsar.toStdString();
    }
    EXPECT_EQ(Buscar(lvw, QStringLiteral("v_solo_1")), -1);
    ASSERT_EQ(lvw->NumeroElementos(), 1);
    EXPECT_EQ(Fila(lvw, 0),
              QStringList({QStringLiteral("(todos)"), QStringLiteral("Tablas"), QString(),
                           QStringLiteral("No se han encontrado diferencias")}));
}

TEST_F(ComparacionTest, CerrarLosResultadosAMitadCancelaYLaVentanaSeVaAlTerminar) {
    Configurar({{QStringLiteral("Uno"), CadenasGrandes()[0]},
                {QStringLiteral("Dos"), CadenasGrandes()[1]}});
    frmComparar* frm = AbrirDesdeMenu();
    QPointer<frmComparar> asistente = frm;
    Elegir(frm, 0, 1, {0, 1});
    QPointer<frmResultadosComparacion> res;
    bool booAsistenteSeQueda = false;
    Cuando([this] { return EnLaFaseDeTablas(); },
           [&] {
               res = Resultados().first();
               MarcoVentana(res)->close();
               EXPECT_FALSE(MarcoVentana(res)->isVisible());
               // Neither the wizard's close box nor a second Finalizar acts while it runs.
               MarcoVentana(asistente)->close();
               QTest::keyClick(asistente->lstObjetos, Qt::Key_Return);
               booAsistenteSeQueda = MarcoVentana(asistente)->isVisible();
           });
    Finalizar(frm);
    EXPECT_TRUE(booAsistenteSeQueda);
    EXPECT_TRUE(res.isNull());
    EXPECT_TRUE(asistente.isNull());
    EXPECT_TRUE(Resultados().isEmpty());
    EXPECT_TRUE(principal->Area()->subWindowList().isEmpty());
}

TEST_F(ComparacionTest, CerrarElProgramaAMitadCancelaYCierraCuandoAcaba) {
    Configurar({{QStringLiteral("Uno"), CadenasGrandes()[0]},
                {QStringLiteral("Dos"), CadenasGrandes()[1]}});
    frmComparar* frm = AbrirDesdeMenu();
    Elegir(frm, 0, 1, {0, 1, 2});
    bool booSigueAbierto = false;
    Cuando([this] { return EnLaFaseDeTablas(); },
           [&] {
               principal->close();
               // The connections stay while the comparison still reads them.
               booSigueAbierto = principal->isVisible() && objVerondal != nullptr;
           });
    Finalizar(frm);
    EXPECT_TRUE(booSigueAbierto);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !principal->isVisible(); }, 2000));
    EXPECT_EQ(objVerondal, nullptr);
}

TEST_F(ComparacionTest, DosComparacionesSeguidasDanDosVentanas) {
    ConfigurarMuestra();
    frmComparar* frm = AbrirDesdeMenu();
    Elegir(frm, 0, 1, {1});
    Finalizar(frm);
    frm = AbrirDesdeMenu();
    Elegir(frm, 1, 0, {0});
    Finalizar(frm);
    const auto res = Resultados();
    ASSERT_EQ(res.size(), 2);
    for (frmResultadosComparacion* r : res)
        EXPECT_EQ(Estado(r), QStringLiteral("Proceso finalizado"));
    // Views only in the first, tables only in the second (side 1 is now Ventas 2026).
    const int v = Buscar(res[0]->lvwResultados, QStringLiteral("v_productos_agotados"));
    const int t = Buscar(res[1]->lvwResultados, QStringLiteral("devoluciones"));
    ASSERT_GE(v, 0);
    ASSERT_GE(t, 0);
    EXPECT_EQ(res[1]->lvwResultados->SubElemento(t, 2), QStringLiteral("Ventas 2026"));
    EXPECT_EQ(Buscar(res[0]->lvwResultados, QStringLiteral("devoluciones")), -1);
    EXPECT_EQ(Buscar(res[1]->lvwResultados, QStringLiteral("v_productos_agotados")), -1);
}

// Deletes a connection from the collection the first time the tables phase yields.
class CResultadosQueBorran : public CResultadosGrabados {
public:
    explicit CResultadosQueBorran(QString strId) : m_Id(std::move(strId)) {}
    void Estado(const QString& strEstado) override { m_Estado = strEstado; }
    void Ceder() override {
        if (!booBorrada && m_Estado.startsWith(QStringLiteral("Comparando tablas ("))) {
            booBorrada = true;
            objVerondal->Conexiones().Eliminar(m_Id);
        }
    }
    bool booBorrada = false;

private:
    QString m_Id;
    QString m_Estado;
};

TEST_F(ComparacionTest, BorrarUnaConexionAMitadDejaTerminarLaComparacionConSuReferencia) {
    const QString strRuta = ConfiguracionDePrueba(
        Configuracion({{QStringLiteral("Ventas 2025"), CadenasMuestra()[0]},
                       {QStringLiteral("Ventas 2026"), CadenasMuestra()[1]}}));
    objVerondal = std::make_unique<CVerondal>(strRuta);
    auto comparar = [](IResultados& resultados) {
        CComparador comparador;
        comparador.setConexion1(QStringLiteral("cnx1"));
        comparador.setConexion2(QStringLiteral("cnx2"));
        comparador.setCompararTablas(true);
        comparador.setCompararVistas(true);
        comparador.Comparar(resultados);
        EXPECT_FALSE(comparador.Cancelado());
        EXPECT_FALSE(comparador.FalloConexion());
    };
    CResultadosGrabados antes;
    comparar(antes);

    const std::weak_ptr<CConexion> objSegunda =
        objVerondal->Conexiones().Compartida(QStringLiteral("cnx2"));
    CResultadosQueBorran borran(QStringLiteral("cnx2"));
    comparar(borran);
    ASSERT_TRUE(borran.booBorrada);
    // Gone from the collection and the file at once; the object went with the engine.
    EXPECT_EQ(objVerondal->Conexiones().Buscar(QStringLiteral("cnx2")), nullptr);
    QFile archivo(strRuta);
    ASSERT_TRUE(archivo.open(QIODevice::ReadOnly));
    EXPECT_FALSE(archivo.readAll().contains("\"cnx2\""));
    EXPECT_TRUE(objSegunda.expired());

    ASSERT_EQ(borran.filas.size(), antes.filas.size());
    for (std::size_t i = 0; i < antes.filas.size(); ++i)
        EXPECT_EQ(QStringList({borran.filas[i].strTexto, borran.filas[i].strTipo,
                               borran.filas[i].strConexion, borran.filas[i].strMensaje}),
                  QStringList({antes.filas[i].strTexto, antes.filas[i].strTipo,
                               antes.filas[i].strConexion, antes.filas[i].strMensaje}));
}

// ---------------------------------------------------------------------------------------------
using VentanaResultadosTest = CompararTest;

TEST_F(VentanaResultadosTest, TextosYListaEnteraTrasMinimizar) {
    ConfigurarMuestra();
    AbrirDesdeMenu();
    auto* res = new frmResultadosComparacion;
    EXPECT_EQ(Estado(res), QStringLiteral("Preparado"));
    CBarraHerramientas* tbr = res->tbrResultadosComparacion;
    EXPECT_EQ(tbr->TextoAyuda(QStringLiteral("exp")), QStringLiteral("Exportar..."));
    EXPECT_EQ(tbr->TextoAyuda(QStringLiteral("can")), QStringLiteral("Cancelar comparación"));
    EXPECT_TRUE(tbr->Habilitado(QStringLiteral("can")));
    const CListaVista* lvw = res->lvwResultados;
    EXPECT_EQ(lvw->TituloColumna(3), QStringLiteral("Resultado de la comparación"));

    res->Mostrar(); // as the engine shows it
    MarcoVentana(res)->showMinimized();
    QCoreApplication::processEvents();
    MarcoVentana(res)->showNormal();
    QCoreApplication::processEvents();
    EXPECT_EQ(lvw->geometry(), res->pbxContenedor->rect());
    EXPECT_GT(lvw->height(), 0);
}

TEST_F(VentanaResultadosTest, ExportaComoResultadosYCambiaDeVista) {
    ConfigurarMuestra();
    frmComparar* frm = AbrirDesdeMenu();
    Elegir(frm, 0, 1, {1});
    Finalizar(frm);
    ASSERT_EQ(Resultados().size(), 1);
    frmResultadosComparacion* res = Resultados().first();
    const QString strRuta = CarpetaDeLaPrueba() + QStringLiteral("/resultados.xml");
    guion.rutas.push_back(strRuta);
    QTimer::singleShot(0, [] {
        auto* dlg = qobject_cast<frmExportar*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        dlg->findChild<CListaVista*>(QStringLiteral("lvwExportar"))->Seleccionar(2); // XML
        dlg->findChild<QPushButton*>(QStringLiteral("btnAceptar"))->click();
    });
    QTest::mouseClick(res->tbrResultadosComparacion->Control(QStringLiteral("exp")),
                      Qt::LeftButton);
    const QString strXml = QString::fromUtf8(Leer(strRuta));
    EXPECT_TRUE(strXml.contains(QStringLiteral("<Resultados>"))) << strXml.toStdString();
    EXPECT_TRUE(strXml.contains(QStringLiteral("v_productos_agotados")));

    QMenu* mnu = res->tbrResultadosComparacion->Menu(QStringLiteral("ver"));
    for (QAction* a : mnu->actions())
        if (a->text() == QStringLiteral("Lista"))
            a->trigger();
    EXPECT_EQ(res->lvwResultados->VistaActual(), CListaVista::Vista::Lista);
}

} // namespace

namespace {

// The results window adds each row whole, in one change of the list.
TEST(ListaVistaFilaEnteraTest, SeLeeComoLaFilaHechaCeldaACeldaTambienSinCabeceras) {
    CListaVista lvw;
    lvw.AgregarColumna(QStringLiteral("A"), 50);
    lvw.AgregarColumna(QStringLiteral("B"), 50, Qt::AlignRight);
    const int f = lvw.AgregarFila(QStringLiteral("x"), 1, 2,
                                  {QStringLiteral("b"), QStringLiteral("más allá")});
    EXPECT_EQ(lvw.SubElemento(f, 1), QStringLiteral("b"));
    EXPECT_EQ(lvw.SubElemento(f, 2), QStringLiteral("más allá")); // beyond the headers: kept
    EXPECT_EQ(lvw.TextoCelda(f, 1), QStringLiteral("b"));

    CListaVista sinCabeceras;
    const int g = sinCabeceras.AgregarFila(QStringLiteral("y"), 1, 1, {QStringLiteral("z")});
    EXPECT_EQ(sinCabeceras.SubElemento(g, 1), QStringLiteral("z"));
}

} // namespace
