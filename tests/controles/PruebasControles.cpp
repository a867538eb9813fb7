// The window-control layer, offscreen: what the windows read back from each control, the
// display modes, drop-down menus, system colours, the host routines and the real dialog boxes.
#include "AyudasVentanas.h"
#include "ConfiguracionEspanola.h"
#include "controles/CDialogosQt.h"
#include "controles/CListaImagenes.h"
#include "controles/CListaVista.h"
#include "controles/CPunteroRaton.h"
#include "controles/CVentanaMdi.h"
#include "controles/ColoresSistema.h"
#include "controles/modGeneral.h"

#include <QAbstractItemView>
#include <QDateTime>
#include <QInputDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
using pruebas::AlAbrirse;
using pruebas::BotonPorTexto;
using pruebas::TextosBotones;

// ---------------------------------------------------------------------------------------------

TEST(ImagenesTest, CadaIconoDelRecursoSeDibujaA16YA32Pixeles) {
    ImagenRecurso(u"tabla"_s, 16); // loads the resource
    const QStringList nombres = QDir(u":/iconos"_s).entryList({"*.svg"});
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
    EXPECT_TRUE(IconoRecurso(u"no_existe"_s, 16).isNull());
}

// ---------------------------------------------------------------------------------------------
// ---------------------------------------------------------------------------------------------
class ListaTest : public ::testing::Test {
protected:
    const pruebas::CConfiguracionEspanola espanol;
    CListaVista lvw;
    void SetUp() override {
        lvw.EstablecerImagenes(CListaImagenes(32, {"propiedad", "tabla"}),
                               CListaImagenes(16, {"propiedad", "tabla"}));
        lvw.AgregarColumna("Nombre", 153);
        lvw.AgregarColumna("Tipo", 60);
        lvw.AgregarColumna("Creada", 120);
        lvw.AgregarColumna("Registros", 60, Qt::AlignRight);
    }
};

TEST_F(ListaTest, LosValoresSeEscribenConLaConfiguracionRegional) {
    const int f = AgregarElementoLista(lvw, "x", 1, Color::TextoVentana,
                                       {1.5, QDateTime(QDate(2025, 3, 15), QTime(10, 20, 30)),
                                        QDate(2025, 3, 15),
                                        QDateTime(QDate(2025, 12, 1), QTime(0, 0)), true});
    EXPECT_EQ(lvw.SubElemento(f, 1), u"1,5"_s);
    EXPECT_EQ(lvw.SubElemento(f, 2), u"15/3/2025 10:20:30"_s);
    EXPECT_EQ(lvw.SubElemento(f, 3), u"15/3/2025"_s);
    EXPECT_EQ(lvw.SubElemento(f, 4), u"1/12/2025"_s); // midnight: date only
    EXPECT_EQ(lvw.SubElemento(f, 5), u"Verdadero"_s); // beyond the headers: kept
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
    EXPECT_EQ(clics.at(0).at(1).toString(), u"wrd"_s);
    lvw.EstablecerVista(CListaVista::Vista::Detalles);
    EXPECT_EQ(lvw.Seleccionado(), 0);
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
TEST(DialogosQtTest, LaCajaMuestraSusTextosYBotonesEnEspanolYDevuelveLaRespuesta) {
    CDialogosQt dlg;
    const QString strTexto = u"¿Está seguro que desea eliminar la conexión \"A\"?"_s;
    QStringList vistos;
    const auto Responder = [&](const char* szBoton) {
        AlAbrirse([&vistos, szBoton](QWidget* w) {
            auto* caja = qobject_cast<QMessageBox*>(w);
            ASSERT_TRUE(caja);
            vistos << caja->windowTitle() + u'|' + caja->text() + u'|' +
                          QString::number(caja->icon()) + u'|' + TextosBotones(caja).join(u'/') +
                          u'|' + caja->defaultButton()->text().remove(u'&');
            BotonPorTexto(caja, QString::fromUtf8(szBoton))->click();
        });
    };
    Responder("No");
    EXPECT_EQ(dlg.Mensaje(strTexto, Estilo::SiNo | Estilo::Pregunta, "Eliminar conexión"),
              Respuesta::No);
    Responder("Aceptar"); // without a title of its own: the application's
    EXPECT_EQ(dlg.Mensaje(strTexto, Estilo::Informacion, QString()), Respuesta::Aceptar);
    EXPECT_EQ(vistos, QStringList({"Eliminar conexión|" + strTexto + "|4|Sí/No|Sí",
                                   "Verondal|" + strTexto + "|1|Aceptar|Aceptar"}));
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
    EXPECT_EQ(etiqueta, u"Introduzca un nombre para ésta conexión"_s);
    EXPECT_EQ(titulo, u"Nueva conexión"_s);

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
