// The explorer as a DBA works it: the filter over the tree, the context menu, Enter and Delete,
// refreshing one connection, a server that never answers, and the masked password.
#include "AyudaExplorador.h"

#include "comun/CTarea.h"
#include "controles/CPunteroRaton.h"
#include "explorer/frmVinculoDatos.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>

using namespace pruebas;

namespace {

class UsoExploradorTest : public ExploradorPrueba {
protected:
    CDialogosGuion guion;
    QStringList propiedades; // what the properties hook was asked to open

    void SetUp() override {
        ExploradorPrueba::SetUp();
        frmExplorador::EstablecerVentanasPropiedades(
            [this](const QString& strId) { propiedades << strId; },
            [this](const QString& strId, const QString& strTabla) {
                propiedades << strId + QLatin1Char('/') + strTabla;
            });
    }
    void TearDown() override {
        frmExplorador::EstablecerVentanasPropiedades(nullptr, nullptr);
        ExploradorPrueba::TearDown();
    }

    // Two SQLite connections, both expanded (and so open).
    void DosAbiertas() {
        Agregar(QStringLiteral("Ventas"),
                BaseSQLite(QStringLiteral("ventas"), "explorador_sqlite.sql"));
        Agregar(QStringLiteral("Vistas"),
                BaseSQLite(QStringLiteral("vistas"), "explorador_vistas.sql"));
        Abrir();
        Expandir(QStringLiteral("cnx1"));
        Expandir(QStringLiteral("cnx2"));
    }
    CConexion& Conexion(const char* szId) {
        return objVerondal->Conexiones().Item(QLatin1String(szId));
    }
    // The texts of the nodes the user can see, depth first, folders and connections included.
    QStringList Visibles() {
        QStringList textos;
        std::function<void(QTreeWidgetItem*)> recorrer = [&](QTreeWidgetItem* n) {
            if (n->isHidden())
                return;
            textos << n->text(0);
            for (int i = 0; i < n->childCount(); ++i)
                recorrer(n->child(i));
        };
        for (int i = 0; i < Arbol().topLevelItemCount(); ++i)
            recorrer(Arbol().topLevelItem(i));
        return textos;
    }
    // The context menu's items as "name" for enabled and "-name" for disabled ones.
    QStringList Menu(QTreeWidgetItem* n) {
        std::unique_ptr<QMenu> m(m_Explorador->MenuContextual(n));
        QStringList s;
        for (QAction* a : m->actions())
            if (!a->isSeparator())
                s << (a->isEnabled() ? QString() : QStringLiteral("-")) + a->objectName();
        return s;
    }
    void Elegir(QTreeWidgetItem* n, const char* szComando) {
        Clic(n);
        std::unique_ptr<QMenu> m(m_Explorador->MenuContextual(n));
        QAction* a = m->findChild<QAction*>(QLatin1String(szComando));
        ASSERT_NE(a, nullptr) << szComando;
        a->trigger();
    }
};

TEST_F(UsoExploradorTest, ElFiltroDejaLosObjetosCuyoNombreLoContieneYSusCarpetas) {
    DosAbiertas();
    const QStringList todos = Visibles();
    m_Explorador->Filtrar(QStringLiteral("CLI")); // any case
    EXPECT_EQ(Visibles(),
              (QStringList{"Ventas", "Tablas", "clientes", "Vistas", "v_clientes", "Vistas"}));
    // As the user types: the box narrows the tree after a pause, emptied it gives all back.
    m_Explorador->txtFiltro->clear();
    QTRY_COMPARE(Visibles(), todos);
    QTest::keyClicks(m_Explorador->txtFiltro, QStringLiteral("ninguno_asi"));
    QTRY_COMPARE(Visibles(), (QStringList{"Ventas", "Vistas"}));
}

TEST_F(UsoExploradorTest, MenuContextualEnterYSuprimirDanLosComandosDeLaBarra) {
    DosAbiertas();
    EXPECT_EQ(Menu(Nodo(QStringLiteral("cnx1"))),
              (QStringList{"nue", "mod", "eli", "cop", "pro", "actcnx", "act"}));
    EXPECT_EQ(Menu(NodoTexto(QStringLiteral("clientes"))),
              (QStringList{"nue", "-mod", "-eli", "-cop", "pro", "actcnx", "act"}));
    EXPECT_EQ(Menu(NodoTexto(QStringLiteral("Tablas del sistema"))),
              (QStringList{"nue", "-mod", "-eli", "-cop", "-pro", "actcnx", "act"}));
    Elegir(NodoTexto(QStringLiteral("clientes")), "pro");
    Elegir(Nodo(QStringLiteral("cnx2")), "pro");
    Elegir(Nodo(QStringLiteral("cnx2")), "cop");
    EXPECT_EQ(QApplication::clipboard()->text(), Conexion("cnx2").CadenaDeConexion());
    // Enter opens the properties of a table or a connection, and opens or closes a folder.
    for (QTreeWidgetItem* n : {NodoTexto(QStringLiteral("clientes")), Nodo(QStringLiteral("cnx1")),
                               NodoTexto(QStringLiteral("Tablas"))}) {
        const bool booAbierto = n->isExpanded();
        Clic(n);
        QTest::keyClick(&Arbol(), Qt::Key_Return);
        EXPECT_EQ(n->isExpanded(),
                  n->text(0) == QLatin1String("Tablas") ? !booAbierto : booAbierto);
    }
    EXPECT_EQ(propiedades, (QStringList{"cnx1/clientes", "cnx2", "cnx1/clientes", "cnx1"}));

    // Delete does nothing on a table; on a connection it asks first, as "eli" does.
    guion.mensajes.clear();
    Clic(NodoTexto(QStringLiteral("clientes")));
    QTest::keyClick(&Arbol(), Qt::Key_Delete);
    EXPECT_TRUE(guion.mensajes.empty());
    guion.respuestas = {Respuesta::No, Respuesta::Si, Respuesta::Si};
    Clic(Nodo(QStringLiteral("cnx1")));
    QTest::keyClick(&Arbol(), Qt::Key_Delete);
    ASSERT_EQ(guion.mensajes.size(), 1u);
    EXPECT_EQ(guion.mensajes.front().strTexto,
              QStringLiteral("¿Está seguro que desea eliminar la conexión \"Ventas\"?"));
    EXPECT_NE(Nodo(QStringLiteral("cnx1")), nullptr);
    QTest::keyClick(&Arbol(), Qt::Key_Delete);
    EXPECT_EQ(Nodo(QStringLiteral("cnx1")), nullptr);
    EXPECT_TRUE(Conexion("cnx2").Conectado());
    Elegir(Nodo(QStringLiteral("cnx2")), "eli");
    EXPECT_EQ(objVerondal->Conexiones().Count(), 0);
}

TEST_F(UsoExploradorTest, ActualizarUnaConexionLaReleeYDejaAbiertaLaOtra) {
    DosAbiertas();
    const QStringList antes = Describir(Arbol());
    // A table added meanwhile shows after the refresh of its connection alone.
    EjecutarSQLite(m_Carpeta + QStringLiteral("/ventas.db"),
                   QStringLiteral("CREATE TABLE nueva_tabla (a INTEGER);"));
    Elegir(NodoTexto(QStringLiteral("clientes")), "actcnx");
    EXPECT_TRUE(Conexion("cnx2").Conectado());
    EXPECT_TRUE(Conexion("cnx1").Conectado());
    EXPECT_NE(NodoTexto(QStringLiteral("nueva_tabla")), nullptr);
    EXPECT_EQ(CArbol::Icono(Nodo(QStringLiteral("cnx1"))), 16);
    // The other connection's nodes are as they were.
    const auto Rama = [](const QStringList& lineas) {
        return lineas.mid(lineas.indexOf(QRegularExpression(QStringLiteral("^Vistas .*#cnx2"))));
    };
    EXPECT_EQ(Rama(Describir(Arbol())), Rama(antes));
    // F5 keeps its meaning: everything again, unopened.
    QTest::keyClick(&Arbol(), Qt::Key_F5);
    EXPECT_FALSE(Conexion("cnx2").Conectado());
}

TEST_F(UsoExploradorTest, UnServidorMudoMuestraProgresoYEscapeCancelaEnMenosDeUnSegundo) {
    QTcpServer objMudo; // accepts and never answers
    ASSERT_TRUE(objMudo.listen(QHostAddress::LocalHost));
    Agregar(QStringLiteral("Mudo"),
            QStringLiteral("DRIVER={PostgreSQL Unicode};SERVER=127.0.0.1;PORT=%1;DATABASE=x;"
                           "UID=u;PWD=p;")
                .arg(objMudo.serverPort()));
    Abrir();
    QString strEstado;
    Puntero puntero = Puntero::Predeterminado;
    QElapsedTimer reloj;
    QTimer::singleShot(400, [&] {
        strEstado = Estado();
        puntero = PunteroActual();
        reloj.start();
        QTest::keyClick(&Arbol(), Qt::Key_Escape);
    });
    Expandir(QStringLiteral("cnx1")); // returns once the wait ends
    const qint64 lngEspera = reloj.isValid() ? reloj.elapsed() : -1;
    EXPECT_EQ(strEstado, QStringLiteral("Conectando Mudo..."));
    EXPECT_EQ(puntero, Puntero::FlechaReloj);
    EXPECT_GE(lngEspera, 0);
    EXPECT_LT(lngEspera, 1000);
    // Back to unopened, to be tried again; the worker closes what it opens once it ends.
    EXPECT_EQ(Describir(Arbol()), (QStringList{"Mudo 5 #cnx1 [cnx]", "  Conectando... 18 gris"}));
    EXPECT_EQ(PunteroActual(), Puntero::Predeterminado);
    std::shared_ptr<CTarea> objTarea = CTarea::EnCurso(QStringLiteral("cnx1"));
    ASSERT_NE(objTarea, nullptr);
    while (QTcpSocket* s = objMudo.nextPendingConnection())
        s->abort();
    objMudo.close();
    EXPECT_TRUE(objTarea->EsperarHasta(30000));
    QTRY_VERIFY_WITH_TIMEOUT(CTarea::EnCurso(QStringLiteral("cnx1")) == nullptr, 30000);
    EXPECT_FALSE(Conexion("cnx1").Conectado());
}

TEST_F(UsoExploradorTest, LaCadenaAvanzadaOcultaLaContrasenaYGuardaLaReal) {
    frmVinculoDatos frm(
        QStringLiteral("Nueva conexión"),
        QStringLiteral("DRIVER={PostgreSQL Unicode};SERVER=db1;UID=ana;PWD=s3creta;"));
    EXPECT_TRUE(frm.txtCadena->text().contains(QStringLiteral("PWD=") + QString(8, QChar(0x2022))))
        << qPrintable(frm.txtCadena->text());
    // Typed over in the advanced field, the mask keeps the real value behind it.
    frm.txtCadena->end(false);
    QTest::keyClicks(frm.txtCadena, QStringLiteral("PORT=5433;"));
    EXPECT_EQ(frm.txtPuerto->text(), QStringLiteral("5433"));
    EXPECT_TRUE(frm.Cadena().contains(QStringLiteral("PWD=s3creta"))) << qPrintable(frm.Cadena());
    frm.txtContrasena->selectAll();
    QTest::keyClicks(frm.txtContrasena, QStringLiteral("otra"));
    EXPECT_TRUE(frm.Cadena().contains(QStringLiteral("PWD=otra"))) << qPrintable(frm.Cadena());
    EXPECT_FALSE(frm.txtCadena->text().contains(QStringLiteral("otra")));
}

} // namespace
