// The explorer's tree: connections unopened at first, objects read on first expansion into six
// folders, empty folders removed, failed connections shown in grey, status texts.
#include "AyudaExplorador.h"

#include "controles/CPunteroRaton.h"
#include "controles/modGeneral.h"
using namespace pruebas;

namespace {

class ArbolExploradorTest : public ExploradorPrueba {};

TEST_F(ArbolExploradorTest, LaPrimeraExpansionLeeCarpetasYObjetos) {
    Agregar(u"Ventas"_s, BaseSQLite(u"ventas"_s, "explorador_sqlite.sql"));
    Abrir();
    Expandir(u"cnx1"_s);

    EXPECT_EQ(Describir(Arbol()), (QStringList{
                                      "Ventas 16 #cnx1 [cnx]",
                                      "  Tablas 6/7 #_Tablascnx1",
                                      "    Tablas del sistema 6/7 #_TablasSistemacnx1",
                                      "      sqlite_sequence 8 gris",
                                      "    clientes 8 [tbl]",
                                      "    pedidos 8 [tbl]",
                                      "    TABLE 8 [tbl]",
                                      "  Vistas 6/7 #_Vistascnx1",
                                      "    v_clientes 9",
                                      "    v_pedidos 9",
                                  }));
    EXPECT_TRUE(objVerondal->Conexiones().Item(u"cnx1"_s).Conectado());
    EXPECT_EQ(PunteroActual(), Puntero::Predeterminado);
}

TEST_F(ArbolExploradorTest, UnaConexionFallidaQuedaGrisConSuMensaje) {
    const QString strBase = m_Carpeta + u"/falta.db"_s;
    CConexion& c = Agregar(u"Caída"_s, CadenaSQLite(strBase));
    Abrir();
    Expandir(u"cnx1"_s);

    ASSERT_FALSE(c.ErrorConexion().isEmpty());
    EXPECT_TRUE(c.ErrorConexion().contains(strBase)) << qPrintable(c.ErrorConexion());
    EXPECT_EQ(Describir(Arbol()), (QStringList{
                                      "Caída 12 #cnx1 [err] gris",
                                      u"  "_s + c.ErrorConexion() + u" 13 [err] gris"_s,
                                  }));
    // Selected while it failed: its commands go.
    EXPECT_EQ(BotonesDeNodo(), u"- - - -"_s);
    Clic(Nodo(u"cnx1"_s)->child(0));
    EXPECT_EQ(BotonesDeNodo(), u"- - - -"_s);

    // It stays failed even once the database exists, until the tree is rebuilt.
    BaseSQLite(u"falta"_s, "explorador_vistas.sql");
    Nodo(u"cnx1"_s)->setExpanded(false);
    Expandir(u"cnx1"_s);
    EXPECT_EQ(CArbol::Etiqueta(Nodo(u"cnx1"_s)), u"err"_s);
    QTest::keyClick(&Arbol(), Qt::Key_F5);
    Expandir(u"cnx1"_s);
    EXPECT_EQ(Describir(Arbol()), (QStringList{
                                      "Caída 16 #cnx1 [cnx]",
                                      "  Vistas 6/7 #_Vistascnx1",
                                      "    v_constante 9",
                                  }));
}

// Empty folders go: system tables alone keep "Tablas", nothing drops all (no tables dropping
// "Tablas" is the failed connection's case once its database exists).
TEST_F(ArbolExploradorTest, LasCarpetasVaciasDesaparecen) {
    const struct {
        const char* strTitulo;
        const char* strBase;
        const char* strFixture;
        QStringList arbol;
    } casos[] = {
        {"Sistema",
         "sistema",
         "explorador_sistema.sql",
         {"Sistema 16 #cnx1 [cnx]", "  Tablas 6/7 #_Tablascnx1",
          "    Tablas del sistema 6/7 #_TablasSistemacnx1", "      sqlite_sequence 8 gris"}},
        {"Vacía", "vacia", "explorador_vacia.sql", {"Vacía 16 #cnx1 [cnx]"}},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.strBase);
        TearDown(); // a fresh file and explorer for each case
        SetUp();
        Agregar(QString::fromUtf8(caso.strTitulo),
                BaseSQLite(QString::fromLatin1(caso.strBase), caso.strFixture));
        Abrir();
        Expandir(u"cnx1"_s);
        EXPECT_EQ(Describir(Arbol()), caso.arbol);
    }
}

TEST_F(ArbolExploradorTest, PostgresLlenaLasSeisCarpetas) {
    REQUIERE_POSTGRES();
    const CBaseServidor base(CBaseServidor::Motor::Postgres, u"verondal_explorador"_s,
                             {"catalogo_postgres.sql"});
    const QString strCadena = base.Cadena();
    ASSERT_FALSE(strCadena.isEmpty());
    // The driver shows pg_catalog and information_schema only when asked to.
    Agregar(u"PG"_s, strCadena + u"ShowSystemTables=1;"_s);
    Abrir();
    Expandir(u"cnx1"_s);

    const QStringList arbol = Describir(Arbol());
    // The six folders, in their order, each sub-folder first in its parent.
    QStringList carpetas;
    for (const QString& s : arbol)
        if (s.contains(u" 6/7 "_s))
            carpetas << s;
    EXPECT_EQ(carpetas, (QStringList{
                            "  Tablas 6/7 #_Tablascnx1",
                            "    Tablas del sistema 6/7 #_TablasSistemacnx1",
                            "    Tablas vinculadas 6/7 #_TablasVinculadascnx1",
                            "  Vistas 6/7 #_Vistascnx1",
                            "    Vistas del sistema 6/7 #_VistasSistemacnx1",
                            "  Procedimientos 6/7 #_Procedimientoscnx1",
                        }));
    EXPECT_TRUE(arbol.contains(u"      ft_clientes 14"_s));
    EXPECT_TRUE(arbol.contains(u"      pg_class 8 gris"_s));
    EXPECT_TRUE(arbol.contains(u"      tables 9 gris"_s));
    EXPECT_TRUE(arbol.contains(u"    v_clientes 9"_s));
    // A name in two schemas: two nodes that say which is which.
    EXPECT_TRUE(arbol.contains(u"    public.clientes 8 [tbl]"_s));
    EXPECT_TRUE(arbol.contains(u"    ventas.clientes 8 [tbl]"_s));
    EXPECT_TRUE(arbol.contains(u"    reiniciar_saldos 18"_s));
}

TEST_F(ArbolExploradorTest, UnIdQueChocaConUnaCarpetaSeAvisaSinCaerse) {
    const QByteArray bytCifrada =
        EncriptarTexto(CadenaSQLite(m_Carpeta + u"/vistas.db"_s)).toLatin1();
    objVerondal.reset();
    objVerondal = std::make_unique<CVerondal>(ConfiguracionDePrueba(
        "<?xml version=\"1.0\"?>\n<Verondal><Conexiones>"
        "<Conexion Id=\"cnx1\"><Titulo>Uno</Titulo><CadenaDeConexion>" +
        bytCifrada +
        "</CadenaDeConexion></Conexion>"
        "<Conexion Id=\"_Vistascnx1\"><Titulo>Dos</Titulo><CadenaDeConexion>" +
        bytCifrada + "</CadenaDeConexion></Conexion></Conexiones></Verondal>\n"));
    BaseSQLite(u"vistas"_s, "explorador_vistas.sql"); // the folder is new
    Abrir();
    CDialogosGuion guion;
    Expandir(u"cnx1"_s);
    ASSERT_EQ(guion.mensajes.size(), 1u);
    EXPECT_EQ(guion.mensajes[0].intEstilo, Estilo::Critico);
    EXPECT_NE(Nodo(u"_Vistascnx1"_s), nullptr);
    EXPECT_EQ(PunteroActual(), Puntero::Predeterminado);
}

} // namespace
