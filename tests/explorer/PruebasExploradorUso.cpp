// The explorer as a DBA works it: the filter over the tree, refreshing one connection from its
// context menu, and a server that never answers.
#include "AyudaExplorador.h"

#include "comun/CTarea.h"
#include "controles/CPunteroRaton.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QTcpServer>

using namespace pruebas;

namespace {

class UsoExploradorTest : public ExploradorPrueba {
protected:
    // Two SQLite connections, both expanded (and so open).
    void DosAbiertas() {
        DosConexiones();
        Expandir(u"cnx2"_s);
    }
    void Elegir(QTreeWidgetItem* n, const char* szComando) {
        Clic(n);
        std::unique_ptr<QMenu> m(m_Explorador->MenuContextual(n));
        QAction* a = m->findChild<QAction*>(QLatin1String(szComando));
        ASSERT_NE(a, nullptr) << szComando;
        ASSERT_TRUE(a->isEnabled()) << szComando;
        a->trigger();
    }
};

TEST_F(UsoExploradorTest, ElFiltroDejaLosObjetosCuyoNombreLoContieneYSusCarpetas) {
    DosAbiertas();
    const QStringList todos = Describir(Arbol());
    QTest::keyClicks(m_Explorador->txtFiltro, u"CLI"_s); // any case
    const QStringList filtrados{"Ventas 16 #cnx1 [cnx]", "  Tablas 6/7 #_Tablascnx1",
                                "    clientes 8 [tbl]",  "  Vistas 6/7 #_Vistascnx1",
                                "    v_clientes 9",      "Vistas 16 #cnx2 [cnx]"};
    const auto visibles = [&] { return Describir(Arbol()); };
    if (!QTest::qWaitFor([&] { return visibles() == filtrados; }, 5000)) { // waits for a pause
        EXPECT_EQ(visibles(), filtrados);
    }
    m_Explorador->txtFiltro->clear();
    EXPECT_TRUE(QTest::qWaitFor([&] { return visibles() == todos; }, 5000));
}

TEST_F(UsoExploradorTest, ActualizarDesdeElMenuDeUnNodoReleeSuConexionYDejaLaOtraAbierta) {
    DosAbiertas();
    const auto Rama = [](const QStringList& lineas) { // the lines of the second connection
        return lineas.mid(lineas.indexOf(QRegularExpression(u"Vistas .*#cnx2 .*"_s)));
    };
    const QStringList antes = Describir(Arbol());
    EjecutarSQLite(m_Carpeta + u"/ventas.db"_s, u"CREATE TABLE nueva_tabla (a INTEGER);"_s);
    Elegir(NodoTexto(u"clientes"_s), "actcnx");
    EXPECT_NE(NodoTexto(u"nueva_tabla"_s), nullptr);
    EXPECT_TRUE(Conexion("cnx1").Conectado());
    EXPECT_TRUE(Conexion("cnx2").Conectado());
    EXPECT_EQ(Rama(Describir(Arbol())), Rama(antes));
}

TEST_F(UsoExploradorTest, UnServidorMudoMuestraProgresoYEscapeCancelaEnMenosDeUnSegundo) {
    QTcpServer objMudo; // accepts and never answers
    ASSERT_TRUE(objMudo.listen(QHostAddress::LocalHost));
    Agregar(u"Mudo"_s,
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
    Expandir(u"cnx1"_s); // returns once the wait ends
    const qint64 lngEspera = reloj.isValid() ? reloj.elapsed() : -1;
    EXPECT_EQ(strEstado, u"Conectando Mudo..."_s);
    EXPECT_EQ(puntero, Puntero::FlechaReloj);
    EXPECT_GE(lngEspera, 0);
    EXPECT_LT(lngEspera, 1000);
    // Back to unopened, to be tried again; the opening was cut, so no worker stays blocked on
    // the server (which still holds the connection open).
    EXPECT_EQ(Describir(Arbol()), (QStringList{"Mudo 5 #cnx1 [cnx]", "  Conectando... 15 gris"}));
    EXPECT_EQ(PunteroActual(), Puntero::Predeterminado);
    EXPECT_TRUE(QTest::qWaitFor([] { return !CTarea::EnCurso(u"cnx1"_s); }, 5000));
    EXPECT_FALSE(Conexion("cnx1").Conectado());
}

} // namespace
