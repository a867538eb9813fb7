// The program as a DBA uses it all day, offscreen through the real windows on the sample SQLite
// databases: where windows open after a full-size results window, headers that fit their
// columns, access keys without clashes, sorting, the results filter and copying rows.
#include "AyudasVentanas.h"
#include "DialogosGuion.h"
#include "Entorno.h"
#include "app/RegistroVentanas.h"
#include "app/frmPrincipal.h"
#include "compare/CComparador.h"
#include "compare/ui/frmComparar.h"
#include "compare/ui/frmResultadosComparacion.h"
#include "controles/CComboImagenes.h"
#include "controles/CListaMarcas.h"
#include "controles/CListaVista.h"
#include "controles/CPestanas.h"
#include "controles/modGeneral.h"
#include "controles/modTeclasAcceso.h"
#include "explorer/frmExplorador.h"
#include "explorer/frmVinculoDatos.h"
#include "export/ui/frmExportar.h"
#include "properties/frmPropiedadesConexion.h"
#include "properties/frmPropiedadesTabla.h"
#include "properties/modPropiedades.h"
#include "registry/CVerondal.h"

#include <QClipboard>
#include <QCollator>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QTabBar>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace pruebas;

namespace {

QString Muestra(const char* szNombre) {
    return Fixture(QStringLiteral("../../app/muestra/") + QLatin1String(szNombre));
}

// Letters used by more than one caption of the list, with the captions that share them.
QStringList Repetidas(const QList<CTeclaAcceso>& teclas) {
    QStringList repetidas;
    for (int i = 0; i < teclas.size(); ++i)
        for (int j = i + 1; j < teclas.size(); ++j)
            if (teclas[i].chrTecla == teclas[j].chrTecla)
                repetidas << teclas[i].strTexto + QStringLiteral(" / ") + teclas[j].strTexto;
    return repetidas;
}

QList<CTeclaAcceso> TeclasAcciones(const QList<QAction*>& acciones) {
    QList<CTeclaAcceso> teclas;
    for (QAction* a : acciones)
        if (!LetraAcceso(a->text()).isNull())
            teclas.append({LetraAcceso(a->text()), nullptr, -1, a->text()});
    return teclas;
}

class UsoVentanasTest : public ::testing::Test {
protected:
    CDialogosGuion guion;
    QPointer<frmPrincipal> principal;

    void SetUp() override {
        static const QStringList cadenas = {
            CrearBaseSQLite(CarpetaTemporal() + QStringLiteral("/uso2025.db"),
                            Muestra("ventas2025.sql")),
            CrearBaseSQLite(CarpetaTemporal() + QStringLiteral("/uso2026.db"),
                            Muestra("ventas2026.sql"))};
        objVerondal = std::make_unique<CVerondal>(
            ConfiguracionDePrueba(Configuracion({{QStringLiteral("Ventas 2025"), cadenas[0]},
                                                 {QStringLiteral("Ventas 2026"), cadenas[1]}})));
        RegistrarVentanas();
        principal = new frmPrincipal;
        principal->resize(1000, 700);
        principal->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(principal));
        principal->MostrarExplorador();
    }
    void TearDown() override {
        delete principal.data();
        objVerondal.reset();
        frmPrincipal::EstablecerFabricaComparar(nullptr);
        frmPrincipal::EstablecerFabricaExplorador(nullptr);
        frmExplorador::EstablecerVentanasPropiedades(nullptr, nullptr);
    }

    QRect Area() const { return QRect(QPoint(0, 0), principal->AreaCliente()); }

    // A results window of the two samples compared, shown as the engine shows it.
    frmResultadosComparacion* Resultados() {
        auto* res = new frmResultadosComparacion;
        CComparador objComparador;
        objComparador.setConexion1(QStringLiteral("cnx1"));
        objComparador.setConexion2(QStringLiteral("cnx2"));
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

TEST_F(UsoVentanasTest, CadaVentanaAbiertaTrasLosResultadosQuedaDentroDelAreaVisible) {
    ASSERT_TRUE(Area().contains(MarcoVentana(Resultados())->geometry()));
    frmComparar* frmAsistente = Asistente();
    frmPropiedadesConexion* frmConexion = MostrarPropiedadesConexion(QStringLiteral("cnx1"));
    QPoint anterior(-1, -1);
    for (QWidget* frm : {static_cast<QWidget*>(frmAsistente), static_cast<QWidget*>(frmConexion),
                         static_cast<QWidget*>(MostrarPropiedadesTabla(
                             QStringLiteral("cnx1"), QStringLiteral("pedidos")))}) {
        const QRect marco = MarcoVentana(frm)->geometry();
        EXPECT_TRUE(Area().contains(marco)) << qPrintable(frm->objectName());
        EXPECT_NE(marco.topLeft(), anterior) << "cascada: " << qPrintable(frm->objectName());
        anterior = marco.topLeft();
    }
    // All the tabs show without scroll arrows; the wizard shows its buttons whole.
    QTabBar* objPestanas = frmConexion->sstPropiedades()->tabBar();
    EXPECT_LE(objPestanas->sizeHint().width(), objPestanas->width());
    for (QPushButton* btn : {frmAsistente->btnSiguiente, frmAsistente->btnCancelar})
        EXPECT_TRUE(frmAsistente->rect().contains(btn->geometry())) << qPrintable(btn->text());

    // A maximised window closed leaves the area maximising the next; never the fixed wizard.
    MarcoVentana(frmConexion)->showMaximized();
    MarcoVentana(frmConexion)->close();
    MarcoVentana(frmAsistente)->close();
    QCoreApplication::processEvents();
    frmAsistente = Asistente();
    EXPECT_FALSE(MarcoVentana(frmAsistente)->isMaximized());
    EXPECT_TRUE(Area().contains(MarcoVentana(frmAsistente)->geometry()));
}

TEST_F(UsoVentanasTest, CabecerasEnterasUltimaColumnaLlenaYAyudaEnLaCeldaCortada) {
    frmResultadosComparacion* res = Resultados();
    int intListas = 0;
    for (QWidget* frm : {static_cast<QWidget*>(MostrarPropiedadesConexion(QStringLiteral("cnx1"))),
                         static_cast<QWidget*>(MostrarPropiedadesTabla(QStringLiteral("cnx1"),
                                                                       QStringLiteral("pedidos"))),
                         static_cast<QWidget*>(res)})
        for (CListaVista* lvw : frm->findChildren<CListaVista*>()) {
            QHeaderView* objCabecera = lvw->findChild<QTreeView*>()->header();
            const QFontMetrics fm(objCabecera->font());
            const int intMargen = objCabecera->style()->pixelMetric(QStyle::PM_HeaderMargin);
            for (int c = 0; c < lvw->NumeroColumnas(); ++c)
                EXPECT_GE(objCabecera->sectionSize(c),
                          fm.horizontalAdvance(lvw->TituloColumna(c)) + 2 * intMargen)
                    << qPrintable(lvw->objectName() + QLatin1Char(' ') + lvw->TituloColumna(c));
            ++intListas;
        }
    EXPECT_EQ(intListas, 7 + 2 + 1);

    CListaVista* lvw = res->lvwResultados;
    auto* tvw = lvw->findChild<QTreeView*>();
    int intSuma = 0;
    for (int c = 0; c < lvw->NumeroColumnas(); ++c)
        intSuma += tvw->header()->sectionSize(c);
    EXPECT_GE(intSuma, tvw->viewport()->width());
    ASSERT_GT(lvw->NumeroElementos(), 0);
    EXPECT_EQ(lvw->TextoAyudaCelda(0, 0), QString()) << "cabe entero: sin ayuda";
    tvw->header()->resizeSection(0, 12);
    EXPECT_EQ(lvw->TextoAyudaCelda(0, 0), lvw->Texto(0));
}

TEST_F(UsoVentanasTest, NingunaVentanaRepiteUnaTeclaYLaActivaGanaALaBarraDeMenus) {
    QList<QPair<QString, QList<CTeclaAcceso>>> ventanas;
    ventanas << qMakePair(QStringLiteral("barra de menús"),
                          TeclasAcciones(principal->menuBar()->actions()));
    for (QAction* a : principal->menuBar()->actions())
        if (QMenu* m = a->menu()) {
            emit m->aboutToShow(); // the window menu fills itself as it opens
            ventanas << qMakePair(m->title(), TeclasAcciones(m->actions()));
        }
    for (int intPaso = 0; intPaso <= 2; ++intPaso) {
        ventanas << qMakePair(QStringLiteral("asistente %1").arg(intPaso + 1),
                              TeclasAcceso(Asistente(intPaso)));
        MarcoVentana(principal->Comparar())->close();
    }
    for (QWidget* frm : {static_cast<QWidget*>(MostrarPropiedadesConexion(QStringLiteral("cnx1"))),
                         static_cast<QWidget*>(MostrarPropiedadesTabla(QStringLiteral("cnx1"),
                                                                       QStringLiteral("clientes"))),
                         static_cast<QWidget*>(Resultados())})
        ventanas << qMakePair(frm->objectName(), TeclasAcceso(frm));
    for (QMdiSubWindow* objMarco : principal->Area()->subWindowList())
        if (qobject_cast<frmExplorador*>(objMarco->widget()))
            ventanas << qMakePair(QStringLiteral("explorador"), TeclasAcceso(objMarco->widget()));
    frmVinculoDatos frmVinculo(QStringLiteral("Nueva conexión"));
    frmExportar frmFormato;
    for (QWidget* frm : {static_cast<QWidget*>(&frmVinculo), static_cast<QWidget*>(&frmFormato)}) {
        frm->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frm));
        ventanas << qMakePair(frm->objectName(), TeclasAcceso(frm));
    }
    int intTeclas = 0;
    for (const auto& [strVentana, teclas] : ventanas) {
        EXPECT_EQ(Repetidas(teclas), QStringList()) << qPrintable(strVentana);
        intTeclas += static_cast<int>(teclas.size());
    }
    EXPECT_GE(intTeclas, 20); // the walk found the captions, not an empty set

    // Alt+N: "< A&nterior" of the wizard, not "Ve&ntana" of the menu bar.
    frmComparar* frm = Asistente(1);
    frm->btnSiguiente->setFocus();
    QTest::keyClick(frm->btnSiguiente, Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(frm->Paso(), 0);
    EXPECT_EQ(principal->menuBar()->activeAction(), nullptr);
}

TEST_F(UsoVentanasTest, OrdenarFiltrarYCopiarLasFilasDeUnaLista) {
    frmResultadosComparacion* res = Resultados();
    CListaVista* lvw = res->lvwResultados;
    const int intFilas = lvw->NumeroElementos();
    ASSERT_GT(intFilas, 3);
    const QString strPrimera = lvw->Texto(0);
    auto* tvw = lvw->findChild<QTreeView*>();
    QHeaderView* h = tvw->header();
    const auto ClicCabecera = [&](int c) {
        QTest::mouseClick(
            h->viewport(), Qt::LeftButton, {},
            QPoint(h->sectionViewportPosition(c) + h->sectionSize(c) / 2, h->height() / 2));
    };
    const auto Fila = [&](int i) { // the row shown at place i, cells joined by tabs
        QStringList celdas;
        for (int c = 0; c < lvw->NumeroColumnas(); ++c)
            celdas << lvw->TextoCelda(lvw->FilaVisible(i), c);
        return celdas.join(QLatin1Char('\t'));
    };
    QCollator colador;
    colador.setNumericMode(true);
    colador.setCaseSensitivity(Qt::CaseInsensitive);
    ClicCabecera(0);
    QStringList ascendente;
    for (int i = 0; i < intFilas; ++i)
        ascendente << lvw->TextoCelda(lvw->FilaVisible(i), 0);
    EXPECT_TRUE(std::is_sorted(
        ascendente.cbegin(), ascendente.cend(),
        [&](const QString& a, const QString& b) { return colador.compare(a, b) < 0; }));
    ClicCabecera(0);
    for (int i = 0; i < intFilas; ++i)
        ASSERT_EQ(lvw->TextoCelda(lvw->FilaVisible(i), 0), ascendente[intFilas - 1 - i]);
    ClicCabecera(0); // "sin ordenar": the comparison's own order
    EXPECT_EQ(lvw->ColumnaOrden(), -1);
    for (int i = 0; i < intFilas; ++i)
        ASSERT_EQ(lvw->FilaVisible(i), i);
    ClicCabecera(3); // the export still reads the rows in the comparison's order
    EXPECT_EQ(lvw->Texto(0), strPrimera);

    // The filter box, in any case, over every column; Ctrl+C copies the selected rows shown.
    int intEsperadas = 0;
    for (int i = 0; i < intFilas; ++i)
        intEsperadas += Fila(i).contains(QStringLiteral("clientes"), Qt::CaseInsensitive) ? 1 : 0;
    ASSERT_GT(intEsperadas, 1);
    ASSERT_LT(intEsperadas, intFilas);
    QTest::keyClicks(res->txtFiltro, QStringLiteral("CLIENTES"));
    QTRY_COMPARE(lvw->NumeroFilasVisibles(), intEsperadas);
    tvw->selectionModel()->select(tvw->model()->index(0, 0),
                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    tvw->selectionModel()->select(tvw->model()->index(1, 0),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QTest::keyClick(tvw, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), Fila(0) + u'\n' + Fila(1) + u'\n');
    res->txtFiltro->clear();
    QTRY_COMPARE(lvw->NumeroFilasVisibles(), intFilas);
}

} // namespace
