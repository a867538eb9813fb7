// The compare wizard and the results window, offscreen, with the real engine on real SQLite
// files: the wizard's checks and summary, a comparison from the menu, cancel, closing the
// results mid-way, a second comparison, export and views. The rows themselves are the engine's
// tests' business.
#include "Aplicacion.h"
#include "AyudasVentanas.h"
#include "DialogosGuion.h"
#include "app/frmPrincipal.h"
#include "compare/ui/frmComparar.h"
#include "compare/ui/frmResultadosComparacion.h"
#include "controles/CBarraEstado.h"
#include "controles/CBarraHerramientas.h"
#include "controles/CComboImagenes.h"
#include "controles/CListaMarcas.h"
#include "controles/CListaVista.h"
#include "controles/modGeneral.h"
#include "export/ui/frmExportar.h"
#include <QCheckBox>
#include <QLabel>
#include <QMdiArea>
#include <QPointer>
#include <QPushButton>
#include <QTest>
using namespace pruebas;

namespace {

// The two sample databases, built once per run.
const QStringList& CadenasMuestra() {
    static const QStringList cadenas = {BaseMuestra(u"ventas2025"_s), BaseMuestra(u"ventas2026"_s)};
    return cadenas;
}

// Two catalogues of 3,000 alike tables, long enough to press a button in the tables phase.
// Only side 1 has the table zz_fin (last in the catalogue) and the view v_solo_1.
const QStringList& CadenasGrandes() {
    static const QStringList cadenas = [] {
        QStringList resultado;
        for (int lado = 1; lado <= 2; ++lado) {
            QString strSql = u"BEGIN;\n"_s;
            for (int i = 0; i < 3000; ++i)
                strSql += u"CREATE TABLE t%1 (a INTEGER, b VARCHAR(20));\n"_s.arg(i);
            if (lado == 1)
                strSql += QStringLiteral("CREATE TABLE zz_fin (a INTEGER);\n"
                                         "CREATE VIEW v_solo_1 AS SELECT a FROM t1;\n");
            strSql += u"COMMIT;\n"_s;
            const QString strRuta = CarpetaTemporal() + u"/grande%1.db"_s.arg(lado);
            resultado << CrearBaseSQLite(strRuta, QString());
            EjecutarSQLite(strRuta, strSql);
        }
        return resultado;
    }();
    return cadenas;
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
        Configurar(
            {{u"Ventas 2025"_s, CadenasMuestra()[0]}, {u"Ventas 2026"_s, CadenasMuestra()[1]}});
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
                       const std::vector<int>& objetos, bool booOcultos = false) {
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
    static QString Estado(frmResultadosComparacion* frm) {
        return frm->stbResultadosComparacion->Texto();
    }
    bool EnLaFaseDeTablas() const {
        const auto r = Resultados();
        return !r.isEmpty() && Estado(r[0]).startsWith(u"Comparando tablas ("_s);
    }
};

// ---------------------------------------------------------------------------------------------
using AsistenteTest = CompararTest;

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
    ASSERT_NE(frm, nullptr);
    Elegir(frm, caso.intPrimera, caso.intSegunda, caso.objetos);
    Finalizar(frm);
    ASSERT_EQ(guion.mensajes.size(), 1u);
    EXPECT_EQ(guion.mensajes[0].strTexto, QString::fromUtf8(caso.szMensaje));
    EXPECT_EQ(guion.mensajes[0].intEstilo, Estilo::Exclamacion);
    EXPECT_EQ(guion.mensajes[0].strTitulo, QString());
    EXPECT_EQ(frm->Paso(), caso.intPaso);
    EXPECT_TRUE(frm->fraPaso[static_cast<std::size_t>(caso.intPaso)]->isVisible());
    EXPECT_EQ(frm->btnSiguiente->text(), u"Sigui&ente >"_s);
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
    ASSERT_NE(frm, nullptr);
    QPointer<frmComparar> vigilado = frm;
    Elegir(frm, 0, 1, {0, 1, 2});
    Finalizar(frm);
    EXPECT_TRUE(vigilado.isNull()) << "the wizard closes when the comparison returns";
    ASSERT_EQ(Resultados().size(), 1);
    frmResultadosComparacion* res = Resultados().first();
    EXPECT_EQ(res->windowTitle(), u"Resultados de la comparación"_s);
    EXPECT_EQ(Estado(res), u"Proceso finalizado"_s);
    const CListaVista* lvw = res->lvwResultados;

    // SQLite has no procedures: that phase found nothing, in dark green with the tick.
    const int t = lvw->NumeroElementos() - 1;
    EXPECT_EQ(Fila(lvw, t), QStringList({u"(todos)"_s, u"Procedimientos"_s, QString(),
                                         u"No se han encontrado diferencias"_s}));
    EXPECT_EQ(lvw->IconoPequeno(t), 5);
    EXPECT_EQ(lvw->Color(t), 0x8000u);
    EXPECT_EQ(lvw->ColorSubElemento(t, 1), 0x8000u);
    EXPECT_EQ(lvw->ColorSubElemento(t, 2), 0x80000008u);
    EXPECT_EQ(lvw->ColorSubElemento(t, 3), 0x8000u);

    // The two kinds after the first three: named in the summary, their phases last.
    frm = AbrirDesdeMenu();
    Elegir(frm, 0, 1, {3, 4});
    EXPECT_EQ(frm->lblResumen[6]->text(), u"Índices\r\nRelaciones\r\n"_s);
    Finalizar(frm);
    ASSERT_EQ(Resultados().size(), 2);
    const auto ultimas = Resultados();
    EXPECT_EQ(std::count_if(ultimas.begin(), ultimas.end(),
                            [](const frmResultadosComparacion* w) {
                                const CListaVista* l = w->lvwResultados;
                                return Fila(l, l->NumeroElementos() - 1).at(1).startsWith("Relaci");
                            }),
              1);
}

TEST_F(ComparacionTest, CerrarLosResultadosAMitadCancelaYLaVentanaSeVaAlTerminar) {
    Configurar({{u"Uno"_s, CadenasGrandes()[0]}, {u"Dos"_s, CadenasGrandes()[1]}});
    frmComparar* frm = AbrirDesdeMenu();
    ASSERT_NE(frm, nullptr);
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
    Configurar({{u"Uno"_s, CadenasGrandes()[0]}, {u"Dos"_s, CadenasGrandes()[1]}});
    frmComparar* frm = AbrirDesdeMenu();
    ASSERT_NE(frm, nullptr);
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

} // namespace

namespace {

// Rows coming faster than the list takes them (here in bursts between two yields): the window
// falls behind by a bounded number at most, and loses none, nor changes their order.
TEST(ResultadosTest, FilasMasDeprisaDeLoQueLaListaLasTomaLleganTodasYEnOrden) {
    frmResultadosComparacion frm;
    frm.setAttribute(Qt::WA_DeleteOnClose, false);
    constexpr int kRafaga = frmResultadosComparacion::kFilasEnEsperaMaximas * 3 / 2;
    constexpr int kFilas = 3 * kRafaga;
    for (int i = 0; i < kFilas;) {
        for (const int fin = i + kRafaga; i < fin; ++i) {
            CFilaResultado fila;
            fila.strTexto = QString::number(i);
            frm.AgregarFila(fila);
        }
        frm.Ceder();
        EXPECT_LE(i - frm.lvwResultados->NumeroElementos(),
                  static_cast<int>(frmResultadosComparacion::kFilasEnEsperaMaximas));
    }
    frm.Volcar();
    ASSERT_EQ(frm.lvwResultados->NumeroElementos(), kFilas);
    for (const int i : {0, 1, kRafaga - 1, kRafaga, kRafaga + 1, 2 * kRafaga + 7, kFilas - 1})
        EXPECT_EQ(frm.lvwResultados->Texto(i), QString::number(i));
}

} // namespace
