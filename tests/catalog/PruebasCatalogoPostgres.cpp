// The catalogue rowsets through the "PostgreSQL Unicode" driver (psqlodbc), against a real server.
#include "AyudaCatalogo.h"
#include "Entorno.h"

#include <QCoreApplication>

using namespace pruebas;

namespace {

class CatalogoPostgresTest : public ::testing::Test {
protected:
    // One database per test program: ctest runs several programs at once.
    static void SetUpTestSuite() {
        if (HayPostgres())
            s_Cadena = CrearBasePostgres(Base(), Fixture(QStringLiteral("catalogo_postgres.sql")));
    }
    static void TearDownTestSuite() {
        if (!s_Cadena.isEmpty())
            EjecutarPostgres(
                QStringLiteral("postgres"),
                QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE);").arg(Base()));
    }
    // Expected rows name the database as %1.
    static QStringList ConBase(QStringList filas) {
        for (QString& f : filas)
            f.replace(QStringLiteral("%1"), Base());
        return filas;
    }
    static QString Base() {
        return QStringLiteral("cat_pg_%1").arg(QCoreApplication::applicationPid());
    }
    void SetUp() override {
        REQUIERE_POSTGRES();
        ASSERT_FALSE(s_Cadena.isEmpty());
        m_Cn = Abrir(s_Cadena);
    }
    static QString s_Cadena;
    std::unique_ptr<CConexion> m_Cn;
};
QString CatalogoPostgresTest::s_Cadena;

} // namespace

TEST_F(CatalogoPostgresTest, TablasDaTiposOleDbYLosComentariosQueElControladorPierde) {
    auto rs = m_Cn->Tablas();
    ASSERT_TRUE(rs);
    EXPECT_EQ(
        Filas(*rs, {"TABLE_CATALOG", "TABLE_SCHEMA", "TABLE_NAME", "TABLE_TYPE", "DESCRIPTION",
                    "DATE_CREATED"}),
        ConBase(QStringList({"%1|public|a_b|TABLE|·|·", "%1|public|axb|TABLE|·|·",
                             "%1|public|clientes|TABLE|Clientes de la tienda|·",
                             "%1|public|ft_clientes|PASS-THROUGH|·|·", "%1|public|lineas|TABLE|·|·",
                             "%1|public|mv_totales|VIEW|·|·", "%1|public|o'brien|TABLE|·|·",
                             "%1|public|pedidos|TABLE|·|·", "%1|public|plantillas|TABLE|·|·",
                             "%1|public|v_clientes|VIEW|·|·", "%1|ventas|clientes|TABLE|·|·"})));
}

TEST_F(CatalogoPostgresTest, ConShowSystemTablesLasDelSistemaSonSystemTableYSystemView) {
    auto c = Abrir(s_Cadena + QStringLiteral("ShowSystemTables=1;"));
    auto rs = c->Tablas();
    ASSERT_TRUE(rs);
    EXPECT_EQ(FilasDonde(*rs, QStringLiteral("TABLE_NAME"), QStringLiteral("pg_class"),
                         {"TABLE_SCHEMA", "TABLE_TYPE"}),
              QStringList({"pg_catalog|SYSTEM TABLE"}));
    EXPECT_EQ(FilasDonde(*rs, QStringLiteral("TABLE_NAME"), QStringLiteral("tables"),
                         {"TABLE_SCHEMA", "TABLE_TYPE"}),
              QStringList({"information_schema|SYSTEM VIEW"}));
    EXPECT_EQ(
        FilasDonde(*rs, QStringLiteral("TABLE_NAME"), QStringLiteral("pedidos"), {"TABLE_TYPE"}),
        QStringList({"TABLE"}));
}

TEST_F(CatalogoPostgresTest, CamposDeUnNombreEnDosEsquemasDaAmbosNumeradosPorTabla) {
    auto rs = m_Cn->Campos(QStringLiteral("clientes"));
    ASSERT_TRUE(rs);
    ASSERT_EQ(rs->NumeroFilas(), 18);
    EXPECT_EQ(FilasDonde(*rs, QStringLiteral("TABLE_SCHEMA"), QStringLiteral("ventas"),
                         {"COLUMN_NAME", "ORDINAL_POSITION", "IS_NULLABLE"}),
              QStringList({"id|1|false", "zona|2|false"}));
}

TEST_F(CatalogoPostgresTest, CamposDaTiposOleDbNulosYValoresComoLosDaElServidor) {
    auto rs = m_Cn->Campos(QStringLiteral("clientes"));
    ASSERT_TRUE(rs);
    EXPECT_EQ(
        FilasDonde(*rs, QStringLiteral("TABLE_SCHEMA"), QStringLiteral("public"),
                   {"COLUMN_NAME", "ORDINAL_POSITION", "COLUMN_DEFAULT", "IS_NULLABLE", "DATA_TYPE",
                    "CHARACTER_MAXIMUM_LENGTH", "NUMERIC_PRECISION", "NUMERIC_SCALE"}),
        QStringList({"id|1|nextval('clientes_id_seq'::regclass)|false|3|·|10|·",
                     "nombre|2|'sin nombre'::character varying|false|130|50|·|·",
                     "correo|3|·|true|130|120|·|·", "saldo|4|0.00|true|131|·|10|2",
                     "alta|5|now()|false|135|·|·|·",
                     // The driver's default BoolsAsChar=1 makes a boolean a varchar(5).
                     "activo|6|true|false|129|5|·|·", "nacido|7|·|true|133|·|·|·",
                     "foto|8|·|true|128|·|·|·", "notas|9|·|true|130|8190|·|·",
                     "codigo|10|·|true|130|8|·|·", "uid|11|·|true|72|·|·|·",
                     "peso|12|·|true|4|·|9|·", "total|13|·|true|5|·|17|·",
                     "puntos|14|·|true|2|·|5|·", "visitas|15|·|true|20|·|19|·",
                     "hora|16|·|true|134|·|·|·"}));
}

TEST_F(CatalogoPostgresTest, CamposDeUnNombreConGuionBajoOApostrofoSoloDaEsaTabla) {
    ComprobarNombresLiterales(*m_Cn);
    auto indice = m_Cn->Campos(QStringLiteral("clientes_pkey"));
    ASSERT_TRUE(indice);
    EXPECT_EQ(indice->NumeroFilas(),
              0); // an index is not a table, though the driver has columns for it
}

TEST_F(CatalogoPostgresTest, CamposDaEnteroUnValorPorDefectoQueElControladorCorta) {
    const QString esperado = QStringLiteral("'%1'::text")
                                 .arg(QStringLiteral("Estimado cliente: ").repeated(20).trimmed());
    auto rs = m_Cn->Campos(QStringLiteral("plantillas"));
    ASSERT_TRUE(rs);
    ASSERT_TRUE(rs->BuscarPrimero(QStringLiteral("COLUMN_NAME"), QStringLiteral("cuerpo")));
    EXPECT_EQ(rs->Texto(QStringLiteral("COLUMN_DEFAULT")), esperado);
    auto todos = m_Cn->CamposTodos();
    ASSERT_TRUE(todos);
    ASSERT_TRUE(todos->BuscarPrimero(QStringLiteral("COLUMN_DEFAULT"), esperado));
}

TEST_F(CatalogoPostgresTest, CamposTodosDaPorTablaLasMismasFilasQueCampos) {
    CompararCamposTodosConCampos(*m_Cn);
}

TEST_F(CatalogoPostgresTest, IndicesDeUnNombreEnDosEsquemasConClavePrimariaYOrdenDescendente) {
    auto rs = m_Cn->Indices(QStringLiteral("clientes"));
    ASSERT_TRUE(rs);
    EXPECT_EQ(Filas(*rs, {"TABLE_SCHEMA", "INDEX_NAME", "PRIMARY_KEY", "UNIQUE", "ORDINAL_POSITION",
                          "COLUMN_NAME", "COLLATION"}),
              QStringList({"public|clientes_pkey|true|true|1|id|1",
                           "public|ix_clientes_nombre_alta|false|false|1|nombre|1",
                           "public|ix_clientes_nombre_alta|false|false|2|alta|2",
                           "public|ux_clientes_correo|false|true|1|correo|1",
                           "ventas|clientes_pkey|true|true|1|id|1"}));
}

TEST_F(CatalogoPostgresTest, ProcedimientosDistingueFuncionesDeProcedimientos) {
    auto rs = m_Cn->Procedimientos();
    ASSERT_TRUE(rs);
    EXPECT_EQ(
        FilasDonde(*rs, QStringLiteral("PROCEDURE_SCHEMA"), QStringLiteral("public"),
                   {"PROCEDURE_CATALOG", "PROCEDURE_NAME", "PROCEDURE_TYPE"}),
        ConBase(QStringList({"%1|sumar|3", "%1|contar_clientes|3", "%1|reiniciar_saldos|2"})));
    EXPECT_FALSE(
        rs->BuscarPrimero(QStringLiteral("PROCEDURE_SCHEMA"), QStringLiteral("pg_catalog")));
}

TEST_F(CatalogoPostgresTest, RelacionesDeTodoElCatalogoEnUnaConsulta) {
    auto rs = m_Cn->Relaciones();
    ASSERT_TRUE(rs);
    EXPECT_EQ(Filas(*rs, {"PK_TABLE_CATALOG", "PK_TABLE_SCHEMA", "PK_TABLE_NAME", "PK_COLUMN_NAME",
                          "FK_TABLE_NAME", "FK_COLUMN_NAME", "ORDINAL", "UPDATE_RULE",
                          "DELETE_RULE", "PK_NAME", "FK_NAME"}),
              ConBase(QStringList(
                  {"%1|public|pedidos|id|lineas|pedido|1|RESTRICT|NO "
                   "ACTION|pedidos_pkey|fk_lineas_pedidos",
                   "%1|public|clientes|id|pedidos|cliente|1|NO ACTION|CASCADE|clientes_pkey|"
                   "fk_pedidos_clientes"})));
}

TEST_F(CatalogoPostgresTest, PalabrasReservadasVienenDelServidorCuandoElControladorNoDaNinguna) {
    auto rs = m_Cn->PalabrasReservadas();
    ASSERT_TRUE(rs);
    EXPECT_GT(rs->NumeroFilas(), 50);
    EXPECT_TRUE(rs->BuscarPrimero(QStringLiteral("Keyword"), QStringLiteral("SELECT")));
    EXPECT_FALSE(
        rs->BuscarPrimero(QStringLiteral("Keyword"), QStringLiteral("ABORT"))); // unreserved
}

TEST_F(CatalogoPostgresTest, TiposDatosYDescripcionPorNumeroOleDb) {
    EXPECT_EQ(m_Cn->DescripcionTipoDatos(3), QStringLiteral("int4"));
    EXPECT_EQ(m_Cn->DescripcionTipoDatos(72), QStringLiteral("uuid"));
    EXPECT_EQ(m_Cn->DescripcionTipoDatos(135), QStringLiteral("timestamptz"));
    EXPECT_EQ(m_Cn->DescripcionTipoDatos(17), QString());
    auto rs = m_Cn->TiposDatos(133, false);
    ASSERT_TRUE(rs);
    EXPECT_EQ(Filas(*rs, {"TYPE_NAME", "BEST_MATCH"}),
              QStringList({"date|false"})); // the ODBC 2 duplicate
}

TEST_F(CatalogoPostgresTest, PropiedadesDelControladorEnOrdenEstable) {
    const auto p = m_Cn->Propiedades();
    QStringList nombres;
    for (const auto& [nombre, valor] : p)
        nombres << nombre;
    EXPECT_EQ(nombres.mid(0, 11),
              QStringList({"Provider Friendly Name", "Provider Name", "Provider Version",
                           "Driver ODBC Version", "ODBC Version", "DBMS Name", "DBMS Version",
                           "Data Source Name", "Server Name", "Current Catalog", "User Name"}));
    EXPECT_EQ(p[1].second.toString(), QStringLiteral("psqlodbcw.so"));
    EXPECT_EQ(p[5].second.toString(), QStringLiteral("PostgreSQL"));
    EXPECT_FALSE(p[7].second.isValid()); // no data source name: a null, not an empty text
    EXPECT_EQ(p[9].second.toString(), Base());
}
