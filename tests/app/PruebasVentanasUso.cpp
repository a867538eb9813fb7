// The program as a DBA uses it all day, offscreen through the real windows on the sample SQLite
// databases: where windows open after a full-size results window, access keys without clashes,
// sorting, filtering and copying the results.
#include "Aplicacion.h"
#include "DialogosGuion.h"
#include "app/RegistroVentanas.h"
#include "app/frmPrincipal.h"
#include "compare/CComparador.h"
#include "compare/ui/frmComparar.h"
#include "compare/ui/frmResultadosComparacion.h"
#include "controles/CComboImagenes.h"
#include "controles/CListaMarcas.h"
#include "controles/CListaVista.h"
#include "controles/modGeneral.h"
#include "controles/modTeclasAcceso.h"
#include "explorer/frmExplorador.h"
#include "explorer/frmVinculoDatos.h"
#include "export/ui/frmExportar.h"
#include "properties/frmPropiedadesConexion.h"
#include "properties/frmPropiedadesTabla.h"
#include "properties/modPropiedades.h"

#include <QClipboard>
#include <QCollator>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTreeView>

using namespace pruebas;

namespace {

class UsoVentanasTest : public ::testing::Test {
protected:
    CDialogosGuion guion;
    CAplicacionPrueba aplicacion{{{u"Ventas 2025"_s, BaseMuestra(u"ventas2025"_s)},
                                  {u"Ventas 2026"_s, BaseMuestra(u"ventas2026"_s)}}};
    QPointer<frmPrincipal> principal;

    void SetUp() override {
        RegistrarVentanas();
        principal = new frmPrincipal;
        principal->resize(1000, 700);
        principal->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(principal));
        principal->MostrarExplorador();
    }
    void TearDown() override {
        delete principal.data();
        frmPrincipal::EstablecerFabricaComparar(nullptr);
        frmPrincipal::EstablecerFabricaExplorador(nullptr);
        frmExplorador::EstablecerVentanasPropiedades(nullptr, nullptr);
    }

    QRect Area() const { return QRect(QPoint(0, 0), principal->AreaCliente()); }

    // A results window of the two samples compared, shown as the engine shows it.
    frmResultadosComparacion* Resultados() {
        auto* res = new frmResultadosComparacion;
        CComparador objComparador;
        objComparador.setConexion1(u"cnx1"_s);
        objComparador.setConexion2(u"cnx2"_s);
        objComparador.setCompararTablas(true);
        objComparador.setCompararVistas(true);
        res->Comparar(objComparador);
        res->Volcar();
        return res;
    }

    // The wizard, moved on to the step given with both samples and a table chosen.
    frmComparar* Asistente(int intPaso = 0) {
        principal->mnuHerramientasComparar->trigger();
        auto* frm = qobject_cast<frmComparar*>(principal->Comparar());
        frm->cboConexion[0]->Elegir(0);
        frm->cboConexion[1]->Elegir(1);
        frm->lstObjetos->Marcar(0, true);
        while (frm->Paso() < intPaso)
            frm->btnSiguiente->click();
        return frm;
    }
};

TEST_F(UsoVentanasTest, TrasUnaVentanaATodoElAreaLasDemasSeAbrenDentroYEnCascada) {
    frmResultadosComparacion* res = Resultados();
    ASSERT_TRUE(Area().contains(MarcoVentana(res)->geometry()));
    frmComparar* frmAsistente = Asistente();
    frmPropiedadesConexion* frmConexion = MostrarPropiedadesConexion(u"cnx1"_s);
    QWidget* frmTabla = MostrarPropiedadesTabla(u"cnx1"_s, u"pedidos"_s);
    QPoint anterior(-1, -1);
    for (QWidget* frm : QList<QWidget*>{frmAsistente, frmConexion, frmTabla}) {
        const QRect marco = MarcoVentana(frm)->geometry();
        EXPECT_TRUE(Area().contains(marco)) << qPrintable(frm->objectName());
        EXPECT_NE(marco.topLeft(), anterior) << "cascada: " << qPrintable(frm->objectName());
        anterior = marco.topLeft();
    }
    // A cell cut short says itself whole in its tooltip.
    EXPECT_EQ(res->lvwResultados->TextoAyudaCelda(0, 0), QString());
    res->lvwResultados->findChild<QTreeView*>()->header()->resizeSection(0, 12);
    EXPECT_EQ(res->lvwResultados->TextoAyudaCelda(0, 0), res->lvwResultados->Texto(0));

    // After a maximised window closes, the fixed-size wizard still opens at its size.
    MarcoVentana(frmConexion)->showMaximized();
    MarcoVentana(frmConexion)->close();
    MarcoVentana(frmAsistente)->close();
    QCoreApplication::processEvents();
    EXPECT_FALSE(MarcoVentana(Asistente())->isMaximized());
}

TEST_F(UsoVentanasTest, NingunaVentanaRepiteUnaTeclaYLaActivaGanaALaBarraDeMenus) {
    qsizetype lngTeclas = 0;
    const auto SinRepetir = [&](QWidget* frm) {
        QStringList textos;
        QSet<QChar> letras;
        for (const CTeclaAcceso& t : TeclasAcceso(frm)) {
            textos << t.strTexto;
            letras << t.chrTecla;
        }
        EXPECT_EQ(letras.size(), textos.size()) << qPrintable(textos.join(u", "_s));
        lngTeclas += textos.size();
    };
    for (int intPaso = 0; intPaso <= 2; ++intPaso) {
        SinRepetir(Asistente(intPaso));
        MarcoVentana(principal->Comparar())->close();
    }
    frmVinculoDatos frmVinculo(u"Nueva conexión"_s);
    frmExportar frmFormato;
    frmVinculo.show();
    frmFormato.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frmFormato));
    for (QWidget* frm :
         QList<QWidget*>{MostrarPropiedadesConexion(u"cnx1"_s),
                         MostrarPropiedadesTabla(u"cnx1"_s, u"clientes"_s), Resultados(),
                         principal->findChild<frmExplorador*>(), &frmVinculo, &frmFormato})
        SinRepetir(frm);
    EXPECT_GE(lngTeclas, 15); // the walk found the captions, not an empty set

    // Alt+N: "< A&nterior" of the wizard, not "Ve&ntana" of the menu bar.
    frmComparar* frm = Asistente(1);
    frm->btnSiguiente->setFocus();
    QTest::keyClick(frm->btnSiguiente, Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(frm->Paso(), 0);
    EXPECT_EQ(principal->menuBar()->activeAction(), nullptr);
}

TEST_F(UsoVentanasTest, OrdenarFiltrarYCopiarLasFilasDeLosResultados) {
    frmResultadosComparacion* res = Resultados();
    CListaVista* lvw = res->lvwResultados;
    auto* tvw = lvw->findChild<QTreeView*>();
    QHeaderView* h = tvw->header();
    const auto ClicCabecera = [&] {
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                          QPoint(h->sectionSize(0) / 2, h->height() / 2));
    };
    const auto Filas = [&] { // the rows as shown, top to bottom, cells joined by tabs
        QStringList filas;
        for (int i = 0; i < lvw->NumeroFilasVisibles(); ++i) {
            QStringList celdas;
            for (int c = 0; c < lvw->NumeroColumnas(); ++c)
                celdas << lvw->TextoCelda(lvw->FilaVisible(i), c);
            filas << celdas.join(u'\t');
        }
        return filas;
    };
    const QStringList propias = Filas();
    ASSERT_GT(propias.size(), 3);
    QCollator colador;
    colador.setNumericMode(true);
    colador.setCaseSensitivity(Qt::CaseInsensitive);
    const auto Primera = [](const QString& f) { return f.section(u'\t', 0, 0); };
    ClicCabecera();
    const QStringList ascendentes = Filas();
    EXPECT_TRUE(std::is_sorted(ascendentes.cbegin(), ascendentes.cend(), [&](auto& a, auto& b) {
        return colador.compare(Primera(a), Primera(b)) < 0;
    }));
    ClicCabecera();
    EXPECT_EQ(Primera(Filas().first()), Primera(ascendentes.last()));
    ClicCabecera(); // "sin ordenar": the comparison's own order again
    EXPECT_EQ(Filas(), propias);

    // The filter box over every column, in any case; Ctrl+C copies the selected rows shown.
    const QStringList esperadas = propias.filter(u"clientes"_s, Qt::CaseInsensitive);
    ASSERT_GT(esperadas.size(), 1);
    ASSERT_LT(esperadas.size(), propias.size());
    QTest::keyClicks(res->txtFiltro, u"CLIENTES"_s);
    if (!QTest::qWaitFor([&] { return Filas() == esperadas; }, 5000)) { // it waits for a pause
        EXPECT_EQ(Filas(), esperadas);
    }
    tvw->selectAll();
    QTest::keyClick(tvw, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), esperadas.join(u'\n') + u'\n');
}

} // namespace
