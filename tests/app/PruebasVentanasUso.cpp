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

const QStringList& CadenasMuestra() {
    static const QStringList cadenas = {
        CrearBaseSQLite(CarpetaTemporal() + QStringLiteral("/uso2025.db"),
                        Muestra("ventas2025.sql")),
        CrearBaseSQLite(CarpetaTemporal() + QStringLiteral("/uso2026.db"),
                        Muestra("ventas2026.sql"))};
    return cadenas;
}

// Every list of the window, found as the user finds them: by walking it.
QList<CListaVista*> Listas(QWidget* frm) {
    return frm->findChildren<CListaVista*>();
}

// Letters used by more than one control of the window, with the captions that share them.
QStringList Repetidas(const QList<CTeclaAcceso>& teclas) {
    QStringList repetidas;
    for (int i = 0; i < teclas.size(); ++i)
        for (int j = i + 1; j < teclas.size(); ++j)
            if (teclas[i].chrTecla == teclas[j].chrTecla)
                repetidas << teclas[i].strTexto + QStringLiteral(" / ") + teclas[j].strTexto;
    return repetidas;
}

// The menu bar's own keys and, for each of its menus, the keys of its items.
QList<QList<CTeclaAcceso>> TeclasMenus(QMenuBar* objBarra) {
    QList<QList<CTeclaAcceso>> grupos;
    QList<CTeclaAcceso> barra;
    for (QAction* a : objBarra->actions()) {
        if (!LetraAcceso(a->text()).isNull())
            barra.append({LetraAcceso(a->text()), nullptr, -1, a->text()});
        if (QMenu* m = a->menu()) {
            emit m->aboutToShow(); // the window menu fills itself as it opens
            QList<CTeclaAcceso> elementos;
            for (QAction* e : m->actions())
                if (!LetraAcceso(e->text()).isNull())
                    elementos.append({LetraAcceso(e->text()), nullptr, -1, e->text()});
            grupos << elementos;
        }
    }
    grupos.prepend(barra);
    return grupos;
}

class UsoVentanasTest : public ::testing::Test {
protected:
    CDialogosGuion guion;
    QPointer<frmPrincipal> principal;

    void SetUp() override {
        objVerondal = std::make_unique<CVerondal>(ConfiguracionDePrueba(
            Configuracion({{QStringLiteral("Ventas 2025"), CadenasMuestra()[0]},
                           {QStringLiteral("Ventas 2026"), CadenasMuestra()[1]}})));
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
        EXPECT_TRUE(res->isVisible());
        return res;
    }

    frmComparar* Asistente() {
        principal->mnuHerramientasComparar->trigger();
        return qobject_cast<frmComparar*>(principal->Comparar());
    }

    // The wizard moved on to the step given, with both samples and tables chosen.
    static void IrAlPaso(frmComparar* frm, int intPaso) {
        frm->cboConexion[0]->Elegir(0);
        frm->cboConexion[1]->Elegir(1);
        frm->lstObjetos->Marcar(0, true);
        while (frm->Paso() < intPaso)
            frm->btnSiguiente->click();
    }
};

TEST_F(UsoVentanasTest, CadaVentanaAbiertaTrasLosResultadosQuedaDentroDelAreaVisible) {
    frmResultadosComparacion* res = Resultados();
    ASSERT_TRUE(Area().contains(MarcoVentana(res)->geometry()));

    QList<QPair<QString, QWidget*>> ventanas;
    ventanas << qMakePair(QStringLiteral("asistente"), static_cast<QWidget*>(Asistente()));
    frmPropiedadesConexion* frmConexion = MostrarPropiedadesConexion(QStringLiteral("cnx1"));
    ventanas << qMakePair(QStringLiteral("propiedades de conexión"),
                          static_cast<QWidget*>(frmConexion));
    ventanas << qMakePair(QStringLiteral("propiedades de tabla"),
                          static_cast<QWidget*>(MostrarPropiedadesTabla(
                              QStringLiteral("cnx1"), QStringLiteral("pedidos"))));
    QPoint anterior(-1, -1);
    for (const auto& [strNombre, frm] : ventanas) {
        QWidget* objMarco = MarcoVentana(frm);
        EXPECT_TRUE(Area().contains(objMarco->geometry()))
            << qPrintable(strNombre) << " en " << objMarco->geometry().x() << ","
            << objMarco->geometry().y() << " " << objMarco->width() << "x" << objMarco->height();
        EXPECT_NE(objMarco->pos(), anterior) << qPrintable(strNombre) << " sobre la anterior";
        anterior = objMarco->pos();
    }
    // Every tab of a property window shows whole: no scroll arrows hide two of them.
    QTabBar* objPestanas = frmConexion->sstPropiedades()->tabBar();
    EXPECT_LE(objPestanas->sizeHint().width(), objPestanas->width());
    // The wizard shows its buttons whole.
    auto* frmAsistente = static_cast<frmComparar*>(ventanas.first().second);
    for (QPushButton* btn : {frmAsistente->btnSiguiente, frmAsistente->btnCancelar})
        EXPECT_TRUE(frmAsistente->rect().contains(btn->geometry())) << qPrintable(btn->text());
}

TEST_F(UsoVentanasTest, ElAsistenteNoSeAbreMaximizadoTrasCerrarUnaVentanaMaximizada) {
    frmPropiedadesConexion* frm = MostrarPropiedadesConexion(QStringLiteral("cnx1"));
    MarcoVentana(frm)->showMaximized();
    MarcoVentana(frm)->close();
    QCoreApplication::processEvents();
    frmComparar* frmAsistente = Asistente();
    ASSERT_NE(frmAsistente, nullptr);
    EXPECT_FALSE(MarcoVentana(frmAsistente)->isMaximized());
    EXPECT_TRUE(Area().contains(MarcoVentana(frmAsistente)->geometry()));
}

TEST_F(UsoVentanasTest, CadaCabeceraCabeEnSuColumnaConLaFuenteEnUso) {
    QList<QWidget*> ventanas = {
        MostrarPropiedadesConexion(QStringLiteral("cnx1")),
        MostrarPropiedadesTabla(QStringLiteral("cnx1"), QStringLiteral("pedidos")), Resultados()};
    int intListas = 0;
    for (QWidget* frm : ventanas)
        for (CListaVista* lvw : Listas(frm)) {
            if (lvw->objectName() == QLatin1String("lvwExportar"))
                continue;
            auto* tvw = qobject_cast<QTreeView*>(lvw->findChild<QTreeView*>());
            ASSERT_NE(tvw, nullptr);
            QHeaderView* objCabecera = tvw->header();
            const QFontMetrics fm(objCabecera->font());
            const int intMargen = objCabecera->style()->pixelMetric(QStyle::PM_HeaderMargin);
            for (int c = 0; c < lvw->NumeroColumnas(); ++c)
                EXPECT_GE(objCabecera->sectionSize(c),
                          fm.horizontalAdvance(lvw->TituloColumna(c)) + 2 * intMargen)
                    << qPrintable(lvw->objectName()) << " \"" << qPrintable(lvw->TituloColumna(c))
                    << "\"";
            ++intListas;
        }
    EXPECT_EQ(intListas, 7 + 2 + 1);
}

TEST_F(UsoVentanasTest, LaUltimaColumnaLlenaLaVentanaYUnaCeldaCortadaLoDiceEnSuAyuda) {
    frmResultadosComparacion* res = Resultados();
    CListaVista* lvw = res->lvwResultados;
    auto* tvw = lvw->findChild<QTreeView*>();
    QHeaderView* objCabecera = tvw->header();
    int intSuma = 0;
    for (int c = 0; c < lvw->NumeroColumnas(); ++c)
        intSuma += objCabecera->sectionSize(c);
    EXPECT_GE(intSuma, tvw->viewport()->width());

    ASSERT_GT(lvw->NumeroElementos(), 0);
    const QString strTexto = lvw->Texto(0);
    EXPECT_EQ(lvw->TextoAyudaCelda(0, 0), QString()) << "cabe entero: sin ayuda";
    objCabecera->resizeSection(0, 12);
    EXPECT_EQ(lvw->TextoAyudaCelda(0, 0), strTexto);
}

TEST_F(UsoVentanasTest, NingunaVentanaRepiteUnaTeclaDeAcceso) {
    QList<QPair<QString, QList<CTeclaAcceso>>> ventanas;
    const QList<QList<CTeclaAcceso>> menus = TeclasMenus(principal->menuBar());
    for (const QList<CTeclaAcceso>& m : menus)
        ventanas << qMakePair(QStringLiteral("menús"), m);

    frmComparar* frmAsistente = Asistente();
    for (int intPaso = 0; intPaso <= 2; ++intPaso) {
        IrAlPaso(frmAsistente, intPaso);
        ventanas << qMakePair(QStringLiteral("asistente, paso %1").arg(intPaso + 1),
                              TeclasAcceso(frmAsistente));
    }
    ventanas << qMakePair(QStringLiteral("propiedades de conexión"),
                          TeclasAcceso(MostrarPropiedadesConexion(QStringLiteral("cnx1"))));
    ventanas << qMakePair(
        QStringLiteral("propiedades de tabla"),
        TeclasAcceso(MostrarPropiedadesTabla(QStringLiteral("cnx1"), QStringLiteral("clientes"))));
    ventanas << qMakePair(QStringLiteral("resultados"), TeclasAcceso(Resultados()));
    for (QMdiSubWindow* objMarco : principal->Area()->subWindowList())
        if (qobject_cast<frmExplorador*>(objMarco->widget()))
            ventanas << qMakePair(QStringLiteral("explorador"), TeclasAcceso(objMarco->widget()));

    frmVinculoDatos frmVinculo(QStringLiteral("Nueva conexión"));
    frmVinculo.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frmVinculo));
    ventanas << qMakePair(QStringLiteral("vínculo de datos"), TeclasAcceso(&frmVinculo));
    frmExportar frmFormato;
    frmFormato.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frmFormato));
    ventanas << qMakePair(QStringLiteral("exportar"), TeclasAcceso(&frmFormato));

    int intTeclas = 0;
    for (const auto& [strVentana, teclas] : ventanas) {
        EXPECT_EQ(Repetidas(teclas), QStringList()) << qPrintable(strVentana);
        intTeclas += static_cast<int>(teclas.size());
    }
    EXPECT_GE(intTeclas, 20); // the walk found the captions, not an empty set
}

TEST_F(UsoVentanasTest, LasTeclasDeLaVentanaActivaGananALasDelMenu) {
    frmComparar* frm = Asistente();
    IrAlPaso(frm, 1);
    frm->btnSiguiente->setFocus();
    // Alt+N: "< A&nterior" of the wizard, not "Ve&ntana" of the menu bar.
    QTest::keyClick(frm->btnSiguiente, Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(frm->Paso(), 0);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(principal->menuBar()->activeAction(), nullptr);
    // A key the wizard does not use still opens its menu.
    EXPECT_TRUE(LetraAcceso(principal->mnuAyuda->title()) == QLatin1Char('u'));
}

TEST_F(UsoVentanasTest, UnClicEnLaCabeceraOrdenaElSegundoInvierteYElTerceroDevuelveElOrden) {
    frmResultadosComparacion* res = Resultados();
    CListaVista* lvw = res->lvwResultados;
    const int intFilas = lvw->NumeroElementos();
    ASSERT_GT(intFilas, 3);
    const QString strPrimera = lvw->Texto(0);
    auto* tvw = lvw->findChild<QTreeView*>();
    const auto ClicCabecera = [&](int c) {
        QHeaderView* h = tvw->header();
        QTest::mouseClick(
            h->viewport(), Qt::LeftButton, {},
            QPoint(h->sectionViewportPosition(c) + h->sectionSize(c) / 2, h->height() / 2));
    };
    const auto Visibles = [&](int c) {
        QStringList textos;
        for (int i = 0; i < lvw->NumeroFilasVisibles(); ++i)
            textos << lvw->TextoCelda(lvw->FilaVisible(i), c);
        return textos;
    };
    QStringList esperado = Visibles(0);
    QCollator colador;
    colador.setNumericMode(true);
    colador.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(esperado.begin(), esperado.end(),
                     [&](const QString& a, const QString& b) { return colador.compare(a, b) < 0; });

    ClicCabecera(0);
    EXPECT_EQ(Visibles(0), esperado);
    ClicCabecera(0);
    QStringList inverso = Visibles(0);
    std::reverse(inverso.begin(), inverso.end());
    EXPECT_EQ(inverso, esperado);
    ClicCabecera(0);
    EXPECT_EQ(lvw->ColumnaOrden(), -1);
    for (int i = 0; i < intFilas; ++i)
        ASSERT_EQ(lvw->FilaVisible(i), i) << "el orden de la comparación vuelve";
    // Reading the rows back (the export) keeps the comparison's order however they are shown.
    ClicCabecera(3);
    EXPECT_EQ(lvw->ColumnaOrden(), 3);
    EXPECT_EQ(lvw->Texto(0), strPrimera);
}

TEST_F(UsoVentanasTest, ElFiltroDeResultadosDejaSoloLasFilasQueLoContienen) {
    frmResultadosComparacion* res = Resultados();
    CListaVista* lvw = res->lvwResultados;
    const QString strFiltro = QStringLiteral("CLIENTES"); // any case
    int intEsperadas = 0;
    for (int f = 0; f < lvw->NumeroElementos(); ++f) {
        bool booContiene = false;
        for (int c = 0; c < lvw->NumeroColumnas(); ++c)
            booContiene =
                booContiene || lvw->TextoCelda(f, c).contains(strFiltro, Qt::CaseInsensitive);
        intEsperadas += booContiene ? 1 : 0;
    }
    ASSERT_GT(intEsperadas, 0);
    ASSERT_LT(intEsperadas, lvw->NumeroElementos());

    QTest::keyClicks(res->txtFiltro, strFiltro);
    QTRY_COMPARE(lvw->NumeroFilasVisibles(), intEsperadas);
    res->txtFiltro->clear();
    QTRY_COMPARE(lvw->NumeroFilasVisibles(), lvw->NumeroElementos());
}

TEST_F(UsoVentanasTest, CtrlCCopiaLasFilasElegidasSeparadasPorTabuladores) {
    frmPropiedadesConexion* frm = MostrarPropiedadesConexion(QStringLiteral("cnx1"));
    CListaVista* lvw = frm->lvwTablas;
    frm->sstPropiedades()->SeleccionarPestana(1);
    ASSERT_GT(lvw->NumeroElementos(), 2);
    auto* tvw = lvw->findChild<QTreeView*>();
    lvw->Seleccionar(0);
    tvw->selectionModel()->select(tvw->model()->index(2, 0),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QTest::keyClick(tvw, Qt::Key_C, Qt::ControlModifier);
    QString strEsperado;
    for (int f : {0, 2}) {
        QStringList celdas;
        for (int c = 0; c < lvw->NumeroColumnas(); ++c)
            celdas << lvw->TextoCelda(f, c);
        strEsperado += celdas.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    EXPECT_EQ(QApplication::clipboard()->text(), strEsperado);
}

} // namespace
