// The window-control layer, offscreen: what the windows read back from each control, the
// display modes, drop-down menus, system colours, the host routines and the real dialog boxes.
#include "AyudasVentanas.h"
#include "comun/CError.h"
#include "controles/CArbol.h"
#include "controles/CBarraHerramientas.h"
#include "controles/CComboImagenes.h"
#include "controles/CDialogosQt.h"
#include "controles/CListaImagenes.h"
#include "controles/CListaMarcas.h"
#include "controles/CListaVista.h"
#include "controles/CPestanas.h"
#include "controles/CPunteroRaton.h"
#include "controles/CVentanaMdi.h"
#include "controles/ColoresSistema.h"
#include "controles/modGeneral.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>

using pruebas::AlAbrirse;
using pruebas::BotonPorTexto;
using pruebas::TextosBotones;

namespace {

class EspanolTest : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
};

} // namespace

// ---------------------------------------------------------------------------------------------
TEST(ColoresTest, LosDosColoresDelSistemaSonElTextoYElTextoGrisDeLaPaleta) {
    const QPalette p = QApplication::palette();
    EXPECT_EQ(ColorSistema(Color::TextoVentana), p.color(QPalette::Active, QPalette::WindowText));
    EXPECT_EQ(ColorSistema(Color::TextoGris), p.color(QPalette::Disabled, QPalette::WindowText));
    EXPECT_NE(ColorSistema(Color::TextoGris), ColorSistema(Color::TextoVentana));
}

TEST(ColoresTest, UnColorSinBitAltoSeLeeComoAzulVerdeRojo) {
    EXPECT_EQ(ColorSistema(Color::VerdeOscuro), QColor(0, 128, 0));
    EXPECT_EQ(ColorSistema(0x00FF0000u), QColor(0, 0, 255));
}

// ---------------------------------------------------------------------------------------------
TEST(ImagenesTest, LasImagenesSeNumeranDesdeUnoYFueraDeRangoNoHayImagen) {
    const CListaImagenes iml(16,
                             {QStringLiteral("base_datos"), QString(), QStringLiteral("tabla")});
    EXPECT_EQ(iml.Numero(), 3);
    EXPECT_TRUE(iml.Icono(0).isNull());
    EXPECT_FALSE(iml.Icono(1).isNull());
    EXPECT_TRUE(iml.Icono(2).isNull()); // an unused number
    EXPECT_EQ(iml.Nombre(3), QStringLiteral("tabla"));
    EXPECT_TRUE(iml.Icono(4).isNull());
    EXPECT_EQ(iml.Icono(1).availableSizes().value(0), QSize(16, 16));
}

TEST(ImagenesTest, CadaIconoDelRecursoSeDibujaA16YA32Pixeles) {
    ImagenRecurso(QStringLiteral("tabla"), 16); // loads the resource
    const QStringList nombres = QDir(QStringLiteral(":/iconos")).entryList({"*.svg"});
    ASSERT_GE(nombres.size(), 30);
    for (QString n : nombres) {
        n.chop(4);
        for (int lado : {16, 32}) {
            const QImage img = ImagenRecurso(n, lado).toImage();
            ASSERT_EQ(img.size(), QSize(lado, lado)) << n.toStdString();
            int opacos = 0;
            for (int y = 0; y < lado; ++y)
                for (int x = 0; x < lado; ++x)
                    opacos += qAlpha(img.pixel(x, y)) > 128;
            EXPECT_GT(opacos, lado * lado / 8) << n.toStdString() << " casi vacío a " << lado;
        }
    }
    EXPECT_TRUE(IconoRecurso(QStringLiteral("no_existe"), 16).isNull());
}

// ---------------------------------------------------------------------------------------------
class ArbolTest : public ::testing::Test {
protected:
    CArbol tvw;
    void SetUp() override {
        tvw.EstablecerImagenes(CListaImagenes(16, {"base_datos", "carpeta", "carpeta_abierta"}));
    }
};

TEST_F(ArbolTest, LosNodosSeAnadenAlFinalDeSuPadreYSeBuscanPorClave) {
    tvw.Agregar(QString(), "cnx1", "Ventas", 1);
    tvw.Agregar("cnx1", "_Tablascnx1", "Tablas", 2, 3);
    QTreeWidgetItem* h = tvw.Agregar("cnx1", QString(), "Conectando...", 1);
    EXPECT_EQ(tvw.topLevelItemCount(), 1);
    EXPECT_EQ(tvw.Nodo("cnx1")->child(1), h);
    EXPECT_EQ(tvw.Nodo("_Tablascnx1")->parent(), tvw.Nodo("cnx1"));
    EXPECT_EQ(CArbol::Clave(h), QString());
    EXPECT_EQ(tvw.Nodo("nada"), nullptr);
}

TEST_F(ArbolTest, UnaClaveRepetidaOUnPadreDesconocidoLanzanError) {
    tvw.Agregar(QString(), "cnx1", "Ventas", 1);
    EXPECT_THROW(tvw.Agregar(QString(), "cnx1", "Otra", 1), CError);
    EXPECT_THROW(tvw.Agregar("cnx9", "x", "Otra", 1), CError);
    EXPECT_EQ(tvw.topLevelItemCount(), 1);
}

TEST_F(ArbolTest, EliminarUnNodoLiberaLasClavesDeTodoLoQueCuelgaDeEl) {
    tvw.Agregar(QString(), "cnx1", "Ventas", 1);
    tvw.Agregar("cnx1", "_Tablascnx1", "Tablas", 2, 3);
    tvw.Agregar("_Tablascnx1", "_TablasSistemacnx1", "Tablas del sistema", 2, 3);
    tvw.Eliminar(tvw.Nodo("cnx1"));
    EXPECT_EQ(tvw.Nodo("_TablasSistemacnx1"), nullptr);
    EXPECT_NO_THROW(tvw.Agregar(QString(), "cnx1", "Ventas", 1));
    tvw.Limpiar();
    EXPECT_EQ(tvw.topLevelItemCount(), 0);
    EXPECT_EQ(tvw.Nodo("cnx1"), nullptr);
}

TEST_F(ArbolTest, UnNodoAbiertoMuestraSuIconoExpandidoYConservaSuNumero) {
    tvw.Agregar(QString(), "_Tablas", "Tablas", 2, 3);
    tvw.Agregar("_Tablas", QString(), "Clientes", 1);
    QTreeWidgetItem* n = tvw.Nodo("_Tablas");
    const qint64 cerrada = n->icon(0).cacheKey();
    QSignalSpy expandido(&tvw, &CArbol::NodoExpandido);
    n->setExpanded(true);
    EXPECT_EQ(expandido.count(), 1);
    EXPECT_NE(n->icon(0).cacheKey(), cerrada);
    EXPECT_EQ(CArbol::Icono(n), 2);
    EXPECT_EQ(CArbol::IconoExpandido(n), 3);
    n->setExpanded(false);
    EXPECT_EQ(n->icon(0).cacheKey(), cerrada);
}

TEST_F(ArbolTest, LasTeclasLleganAntesQueElArbolLasTrate) {
    QSignalSpy teclas(&tvw, &CArbol::TeclaPulsada);
    QTest::keyClick(&tvw, Qt::Key_F5);
    ASSERT_EQ(teclas.count(), 1);
    EXPECT_EQ(teclas.at(0).at(0).toInt(), int(Qt::Key_F5));
}

// ---------------------------------------------------------------------------------------------
class ListaTest : public EspanolTest {
protected:
    CListaVista lvw;
    void SetUp() override {
        EspanolTest::SetUp();
        lvw.EstablecerImagenes(CListaImagenes(32, {"propiedad", "tabla"}),
                               CListaImagenes(16, {"propiedad", "tabla"}));
        lvw.AgregarColumna("Nombre", 153);
        lvw.AgregarColumna("Tipo", 60);
        lvw.AgregarColumna("Creada", 120);
        lvw.AgregarColumna("Registros", 60, Qt::AlignRight);
    }
};

TEST_F(ListaTest, UnValorNuloDejaSuCeldaVaciaYLasDemasSeLlenan) {
    const int f = AgregarElementoLista(lvw, "Clientes", 2, Color::TextoVentana,
                                       {QStringLiteral("Tabla"), QVariant(), qlonglong(1234)});
    EXPECT_EQ(lvw.Texto(f), QStringLiteral("Clientes"));
    EXPECT_EQ(lvw.SubElemento(f, 1), QStringLiteral("Tabla"));
    EXPECT_EQ(lvw.SubElemento(f, 2), QString());
    EXPECT_EQ(lvw.SubElemento(f, 3), QStringLiteral("1234"));
    EXPECT_EQ(lvw.IconoGrande(f), 2);
    EXPECT_EQ(lvw.IconoPequeno(f), 2);
}

TEST_F(ListaTest, LosValoresSeEscribenConLaConfiguracionRegional) {
    const int f = AgregarElementoLista(lvw, "x", 1, Color::TextoVentana,
                                       {1.5, QDateTime(QDate(2025, 3, 15), QTime(10, 20, 30)),
                                        QDate(2025, 3, 15),
                                        QDateTime(QDate(2025, 12, 1), QTime(0, 0)), true});
    EXPECT_EQ(lvw.SubElemento(f, 1), QStringLiteral("1,5"));
    EXPECT_EQ(lvw.SubElemento(f, 2), QStringLiteral("15/3/2025 10:20:30"));
    EXPECT_EQ(lvw.SubElemento(f, 3), QStringLiteral("15/3/2025"));
    EXPECT_EQ(lvw.SubElemento(f, 4), QStringLiteral("1/12/2025")); // midnight: date only
    EXPECT_EQ(lvw.SubElemento(f, 5), QStringLiteral("Verdadero")); // beyond the headers: kept
    EXPECT_EQ(lvw.NumeroColumnas(), 4);
}

TEST_F(ListaTest, LasFilasSeLeenEnOrdenConUnValorPorColumna) {
    AgregarElementoLista(lvw, "B", 2, Color::TextoVentana, {"Tabla"});
    AgregarElementoLista(lvw, "A", 2, Color::TextoGris, {"Tabla del sistema", "1/1/2025"});
    IListaExportable& exp = lvw;
    ASSERT_EQ(exp.NumeroElementos(), 2);
    EXPECT_EQ(exp.TituloColumna(3), QStringLiteral("Registros"));
    EXPECT_EQ(exp.TextoCelda(0, 0), QStringLiteral("B"));
    EXPECT_EQ(exp.TextoCelda(0, 2), QString());
    EXPECT_EQ(exp.TextoCelda(1, 2), QStringLiteral("1/1/2025"));
    EXPECT_EQ(lvw.Color(1), Color::TextoGris);
    EXPECT_EQ(lvw.ColorSubElemento(1, 1), Color::TextoVentana); // the item's colour only
}

TEST_F(ListaTest, LasClavesSonUnicasYSeBuscan) {
    lvw.AgregarElemento("PK_Clientes", 2, 2, "PK_Clientes");
    EXPECT_EQ(lvw.Buscar("PK_Clientes"), 0);
    EXPECT_EQ(lvw.Buscar("IX"), -1);
    EXPECT_THROW(lvw.AgregarElemento("otra", 2, 2, "PK_Clientes"), CError);
    lvw.Limpiar();
    EXPECT_EQ(lvw.NumeroElementos(), 0);
    EXPECT_EQ(lvw.Buscar("PK_Clientes"), -1);
    EXPECT_EQ(lvw.NumeroColumnas(), 4);
}

TEST_F(ListaTest, LaSeleccionSeConservaAlCambiarDeVistaYUnClicDaLaClave) {
    lvw.AgregarElemento("Word", 1, 1, "wrd");
    lvw.AgregarElemento("Excel", 2, 2, "exc");
    lvw.EstablecerVista(CListaVista::Vista::IconosGrandes);
    lvw.Seleccionar(1);
    lvw.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&lvw));
    QSignalSpy clics(&lvw, &CListaVista::ClicElemento);
    QAbstractItemView* v = lvw.VistaVisible();
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {},
                      v->visualRect(v->model()->index(0, 0)).center());
    ASSERT_EQ(clics.count(), 1);
    EXPECT_EQ(clics.at(0).at(1).toString(), QStringLiteral("wrd"));
    lvw.EstablecerVista(CListaVista::Vista::Detalles);
    EXPECT_EQ(lvw.Seleccionado(), 0);
}

// ---------------------------------------------------------------------------------------------
class BarraTest : public ::testing::Test {
protected:
    CBarraHerramientas tbr;
    void SetUp() override {
        tbr.EstablecerImagenes(CListaImagenes(16, {"ver", "exportar"}));
        tbr.AgregarSeparador();
        tbr.AgregarBoton("exp", "Exportar...", 2);
        tbr.AgregarBoton("ver", QString(), 1, CBarraHerramientas::Estilo::Menu);
        for (auto [k, t] : {std::pair{"gra", "Iconos grandes"},
                            {"peq", "Iconos pequeños"},
                            {"lis", "Lista"},
                            {"det", "Detalles"}})
            tbr.AgregarElementoMenu("ver", k, t);
        tbr.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&tbr));
    }
};

TEST_F(BarraTest, UnClicEnUnBotonDaSuClaveYUnBotonDeshabilitadoNoResponde) {
    QSignalSpy clics(&tbr, &CBarraHerramientas::ClicBoton);
    QTest::mouseClick(tbr.Control("exp"), Qt::LeftButton);
    tbr.Habilitar("exp", false);
    QTest::mouseClick(tbr.Control("exp"), Qt::LeftButton);
    ASSERT_EQ(clics.count(), 1);
    EXPECT_EQ(clics.at(0).at(0).toString(), QStringLiteral("exp"));
    EXPECT_FALSE(tbr.Habilitado("exp"));
}

TEST_F(BarraTest, MostrarMenuBotonAbreElMenuYSuElementoLlegaConLasDosClaves) {
    QSignalSpy menu(&tbr, &CBarraHerramientas::ClicMenu);
    QStringList vistos;
    AlAbrirse([&](QWidget* w) {
        auto* m = qobject_cast<QMenu*>(w);
        ASSERT_TRUE(m);
        for (QAction* a : m->actions())
            vistos << a->text();
        m->actions().at(3)->trigger();
        m->close();
    });
    MostrarMenuBoton(tbr, 3);
    EXPECT_EQ(vistos, QStringList({"Iconos grandes", "Iconos pequeños", "Lista", "Detalles"}));
    ASSERT_EQ(menu.count(), 1);
    EXPECT_EQ(menu.at(0).at(0).toString(), QStringLiteral("ver"));
    EXPECT_EQ(menu.at(0).at(1).toString(), QStringLiteral("det"));
}

TEST_F(BarraTest, MostrarMenuBotonSinMenuNoHaceNada) {
    MostrarMenuBoton(tbr, 2); // a plain button: returns at once
    MostrarMenuBoton(tbr, 9); // no such button
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

// ---------------------------------------------------------------------------------------------
TEST(PestanasTest, UnaPestanaDeshabilitadaSeVePeroNoSeSelecciona) {
    CPestanas sst;
    sst.AgregarPestana(new QWidget, "Campos");
    sst.AgregarPestana(new QWidget, "Índices");
    sst.HabilitarPestana(1, false);
    sst.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&sst));
    QSignalSpy cambios(&sst, &CPestanas::CambioPestana);
    QTabBar* barra = sst.tabBar();
    QTest::mouseClick(barra, Qt::LeftButton, {}, barra->tabRect(1).center());
    sst.SeleccionarPestana(1);
    EXPECT_EQ(sst.PestanaActual(), 0);
    EXPECT_TRUE(barra->tabRect(1).isValid());
    EXPECT_EQ(cambios.count(), 0);
}

TEST(ComboImagenesTest, AlAnadirNoSeEligeNadaYElegirDaClaveYTexto) {
    CComboImagenes cbo;
    cbo.EstablecerImagenes(CListaImagenes(16, {"base_datos"}));
    QSignalSpy elegidos(&cbo, &CComboImagenes::ElementoElegido);
    cbo.AgregarElemento("cnx1", "Ventas 2025", 1, 1);
    cbo.AgregarElemento("cnx2", "Ventas 2026", 1, 1);
    EXPECT_EQ(cbo.Elegido(), -1);
    EXPECT_EQ(cbo.ClaveElegida(), QString());
    EXPECT_EQ(elegidos.count(), 0);
    cbo.Elegir(1);
    EXPECT_EQ(cbo.ClaveElegida(), QStringLiteral("cnx2"));
    EXPECT_EQ(cbo.TextoElegido(), QStringLiteral("Ventas 2026"));
    EXPECT_EQ(elegidos.count(), 1);
}

TEST(ListaMarcasTest, CuentaLasMarcadasYAvisaDeCadaCambio) {
    CListaMarcas lst;
    for (const char* t : {"Tablas", "Vistas", "Procedimientos"})
        lst.AgregarEntrada(t);
    QSignalSpy cambios(&lst, &CListaMarcas::CambioMarca);
    lst.Marcar(2, true);
    lst.Marcar(0, true);
    lst.Marcar(0, false);
    lst.item(1)->setText("Vistas"); // not a tick
    EXPECT_EQ(lst.NumeroEntradas(), 3);
    EXPECT_EQ(lst.NumeroMarcadas(), 1);
    EXPECT_TRUE(lst.Marcada(2));
    EXPECT_EQ(cambios.count(), 3);
}

// ---------------------------------------------------------------------------------------------
TEST(PunteroTest, ElGuardianDevuelveLaFormaAnteriorYElEstadoDeQtQuedaLimpio) {
    {
        CPunteroRaton reloj(Puntero::Reloj);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        {
            CPunteroRaton flecha(Puntero::FlechaReloj);
            EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::BusyCursor);
            EstablecerPuntero(Puntero::Predeterminado); // a status text restores mid-way
            EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        }
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(PunteroActual(), Puntero::Predeterminado);
}

// ---------------------------------------------------------------------------------------------
// A main window on show, hosting the children of each test.
class VentanaMdiTest : public ::testing::Test {
protected:
    CVentanaMdi principal;
    QMenu* menu = principal.AgregarMenuVentana("Ve&ntana");
    void SetUp() override {
        principal.resize(900, 700);
        principal.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&principal));
    }
};

TEST_F(VentanaMdiTest, AjustarVentanaConUnAreaMenorQueLosMargenesNoDaTamanosNegativos) {
    auto* frm = new QWidget;
    QMdiSubWindow* marco = MostrarVentanaHija(frm);
    AjustarVentana(frm, 15 * 1000);
    EXPECT_EQ(marco->pos(), QPoint(1000, 1000));
    EXPECT_GE(marco->width(), 0);
    EXPECT_LE(marco->width(), marco->minimumSizeHint().width());
}

TEST_F(VentanaMdiTest, UnaHijaQueEligioSuTamanoLoConservaYAlCerrarlaSeDestruye) {
    auto* frm = new QLabel("Propiedades");
    frm->resize(549, 245);
    MostrarVentanaHija(frm);
    EXPECT_EQ(frm->size(), QSize(549, 245));
    QPointer<QWidget> vigilada = frm;
    MarcoVentana(frm)->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(vigilada.isNull());
}

TEST_F(VentanaMdiTest, ElMenuVentanaListaLasHijasVisiblesYMarcaLaActiva) {
    auto* a = new QWidget;
    a->setWindowTitle("Explorador de conexiones");
    auto* b = new QWidget;
    b->setWindowTitle("Propiedades de conexión: A&B");
    auto* oculta = new QWidget;
    oculta->setWindowTitle("Oculta");
    MostrarVentanaHija(a);
    MostrarVentanaHija(oculta)->hide();
    MostrarVentanaHija(b);
    emit menu->aboutToShow();
    QStringList textos;
    for (QAction* x : menu->actions())
        textos << x->text() + (x->isChecked() ? "*" : "");
    EXPECT_EQ(textos,
              QStringList({"&1 Explorador de conexiones", "&2 Propiedades de conexión: A&&B*"}));
    menu->actions().at(0)->trigger();
    EXPECT_EQ(principal.Area()->currentSubWindow(), MarcoVentana(a));
}

// ---------------------------------------------------------------------------------------------
// The real boxes, driven by a timer: what the user reads and the answer that comes back.
TEST(DialogosQtTest, LaPreguntaSiNoMuestraSusTextosYBotonesEnEspanol) {
    CDialogosQt dlg;
    QString titulo, texto;
    QStringList botones;
    QString defecto;
    QMessageBox::Icon icono = QMessageBox::NoIcon;
    AlAbrirse([&](QWidget* w) {
        auto* caja = qobject_cast<QMessageBox*>(w);
        ASSERT_TRUE(caja);
        titulo = caja->windowTitle();
        texto = caja->text();
        icono = caja->icon();
        botones = TextosBotones(caja);
        defecto = caja->defaultButton()->text().remove('&');
        BotonPorTexto(caja, "No")->click();
    });
    const int r = dlg.Mensaje("¿Está seguro que desea eliminar la conexión \"A\"?",
                              Estilo::SiNo | Estilo::Pregunta, "Eliminar conexión");
    EXPECT_EQ(r, Respuesta::No);
    EXPECT_EQ(titulo, QStringLiteral("Eliminar conexión"));
    EXPECT_EQ(texto, QStringLiteral("¿Está seguro que desea eliminar la conexión \"A\"?"));
    EXPECT_EQ(icono, QMessageBox::Question);
    EXPECT_EQ(botones, QStringList({"Sí", "No"}));
    EXPECT_EQ(defecto, QStringLiteral("Sí"));
}

TEST(DialogosQtTest, SinTituloPropioLaCajaSeTitulaVerondalYTieneAceptar) {
    CDialogosQt dlg;
    QString titulo, defecto;
    QStringList botones;
    QMessageBox::Icon icono = QMessageBox::NoIcon;
    AlAbrirse([&](QWidget* w) {
        auto* caja = qobject_cast<QMessageBox*>(w);
        ASSERT_TRUE(caja);
        titulo = caja->windowTitle();
        botones = TextosBotones(caja);
        icono = caja->icon();
        QTest::keyClick(caja, Qt::Key_Return);
    });
    EXPECT_EQ(dlg.Mensaje("Cadena de conexión copiada al portapapeles", Estilo::Informacion),
              Respuesta::Aceptar);
    EXPECT_EQ(titulo, QStringLiteral("Verondal"));
    EXPECT_EQ(botones, QStringList({"Aceptar"}));
    EXPECT_EQ(icono, QMessageBox::Information);
}

TEST(DialogosQtTest, ElSegundoBotonPorDefectoYEscapeDanNo) {
    CDialogosQt dlg;
    QString defecto;
    AlAbrirse([&](QWidget* w) {
        auto* caja = qobject_cast<QMessageBox*>(w);
        ASSERT_TRUE(caja);
        defecto = caja->defaultButton()->text().remove('&');
        QTest::keyClick(caja, Qt::Key_Escape);
    });
    EXPECT_EQ(dlg.Mensaje("¿Abrir?", Estilo::SiNo | Estilo::Exclamacion | Estilo::BotonDefecto2),
              Respuesta::No);
    EXPECT_EQ(defecto, QStringLiteral("No"));
}

TEST(DialogosQtTest, LaEntradaDistingueCancelarDeUnTextoVacioConfirmado) {
    CDialogosQt dlg;
    QString etiqueta, titulo;
    AlAbrirse([&](QWidget* w) {
        auto* caja = qobject_cast<QInputDialog*>(w);
        ASSERT_TRUE(caja);
        etiqueta = caja->labelText();
        titulo = caja->windowTitle();
        caja->reject();
    });
    EXPECT_EQ(dlg.Entrada("Introduzca un nombre para ésta conexión", "Nueva conexión"),
              std::nullopt);
    EXPECT_EQ(etiqueta, QStringLiteral("Introduzca un nombre para ésta conexión"));
    EXPECT_EQ(titulo, QStringLiteral("Nueva conexión"));

    AlAbrirse([&](QWidget* w) {
        auto* caja = qobject_cast<QInputDialog*>(w);
        ASSERT_TRUE(caja);
        caja->findChild<QLineEdit*>()->clear();
        caja->accept();
    });
    const auto vacio =
        dlg.Entrada("Introduzca un nombre para ésta conexión", "Nueva conexión", "x");
    ASSERT_TRUE(vacio.has_value());
    EXPECT_TRUE(vacio->isEmpty());
}
