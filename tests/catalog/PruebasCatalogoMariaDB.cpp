// The catalogue rowsets through the "MariaDB Unicode" driver (Connector/ODBC 3.1), against a
// real server.
#include "AyudaCatalogo.h"
#include "Entorno.h"

#include <QCoreApplication>

using namespace pruebas;

namespace {

class CatalogoMariaDBTest : public ::testing::Test {
protected:
    // One database per test program (ctest runs several at once), and a second one whose
    // objects must never show.
    static void SetUpTestSuite() {
        if (!HayMariaDB())
            return;
        s_Cadena = CrearBaseMariaDB(Base(), Fixture(QStringLiteral("catalogo_mariadb.sql")));
        CrearBaseMariaDB(Base() + QStringLiteral("_otra"), QString());
        EjecutarMariaDB(Base() + QStringLiteral("_otra"),
                        QStringLiteral("CREATE TABLE ajena (x int);"
                                       "CREATE TABLE clientes (y int);"));
    }
    static void TearDownTestSuite() {
        if (!s_Cadena.isEmpty())
            EjecutarMariaDB(
                QString(),
                QStringLiteral("DROP DATABASE IF EXISTS %1; DROP DATABASE IF EXISTS %1_otra;")
                    .arg(Base()));
    }
    static QString Base() {
        return QStringLiteral("cat_maria_%1").arg(QCoreApplication::applicationPid());
    }
    void SetUp() override {
        REQUIERE_MARIADB();
        ASSERT_FALSE(s_Cadena.isEmpty());
        m_Cn = Abrir(s_Cadena);
    }
    static QString s_Cadena;
    std::unique_ptr<CConexion> m_Cn;
};
QString CatalogoMariaDBTest::s_Cadena;

} // namespace

TEST_F(CatalogoMariaDBTest, TablasSoloDeLaBaseActualConSusFechasYComentarios) {
    auto rs = m_Cn->Tablas();
    ASSERT_TRUE(rs);
    EXPECT_EQ(Filas(*rs, {"TABLE_NAME", "TABLE_TYPE", "DESCRIPTION"}),
              QStringList({"axb|TABLE|·", "a_b|TABLE|·", "clientes|TABLE|Clientes de la tienda",
                           "lineas|TABLE|·", "marcas|TABLE|·", "o'brien|TABLE|·", "pedidos|TABLE|·",
                           "v_clientes|VIEW|·"}));
    for (rs->MoverPrimero(); !rs->FinDatos(); rs->MoverSiguiente()) {
        EXPECT_EQ(rs->Texto(QStringLiteral("TABLE_CATALOG")), Base());
        const bool vista = rs->Texto(QStringLiteral("TABLE_TYPE")) == QLatin1String("VIEW");
        EXPECT_EQ(rs->EsNulo(QStringLiteral("DATE_CREATED")), vista)
            << rs->Texto(QStringLiteral("TABLE_NAME")).toStdString();
    }
}

TEST_F(CatalogoMariaDBTest, CamposCorrigeLaNulabilidadQueElControladorDaAAutoIncrementYTimestamp) {
    auto rs = m_Cn->Campos(QStringLiteral("marcas"));
    ASSERT_TRUE(rs);
    EXPECT_EQ(
        Filas(*rs, {"COLUMN_NAME", "IS_NULLABLE", "COLUMN_DEFAULT", "DATA_TYPE"}),
        QStringList({"id|false|·|3", "puede|true|·|135", "fija|false|'2020-01-01 00:00:00'|135"}));
}

TEST_F(CatalogoMariaDBTest, CamposDaTiposOleDbYValoresPorDefectoComoLosDaElServidor) {
    auto rs = m_Cn->Campos(QStringLiteral("clientes"));
    ASSERT_TRUE(rs);
    EXPECT_EQ(
        Filas(*rs, {"COLUMN_NAME", "ORDINAL_POSITION", "COLUMN_HASDEFAULT", "COLUMN_DEFAULT",
                    "IS_NULLABLE", "DATA_TYPE", "CHARACTER_MAXIMUM_LENGTH", "NUMERIC_PRECISION",
                    "NUMERIC_SCALE"}),
        QStringList({"id|1|false|·|false|3|·|10|·", "nombre|2|true|'sin nombre'|false|130|50|·|·",
                     "correo|3|false|·|true|130|120|·|·", "saldo|4|true|0.00|true|131|·|10|2",
                     "alta|5|true|current_timestamp()|false|135|·|·|·",
                     "activo|6|true|1|false|16|·|3|·", "nacido|7|false|·|true|133|·|·|·",
                     "foto|8|false|·|true|128|65535|·|·", "notas|9|false|·|true|130|65535|·|·",
                     "codigo|10|false|·|true|130|8|·|·", "peso|11|false|·|true|4|·|7|·",
                     "total|12|false|·|true|5|·|15|·", "puntos|13|false|·|true|2|·|5|·",
                     "visitas|14|false|·|true|20|·|19|·", "edad|15|false|·|true|17|·|3|·",
                     "hora|16|false|·|true|134|·|·|·"}));
}

TEST_F(CatalogoMariaDBTest, CamposDeUnNombreConGuionBajoOApostrofoSoloDaEsaTabla) {
    ComprobarNombresLiterales(*m_Cn);
    auto ajena = m_Cn->Campos(QStringLiteral("ajena"));
    ASSERT_TRUE(ajena);
    EXPECT_EQ(ajena->NumeroFilas(), 0);
}

TEST_F(CatalogoMariaDBTest, CamposTodosDaPorTablaLasMismasFilasQueCampos) {
    CompararCamposTodosConCampos(*m_Cn);
}

TEST_F(CatalogoMariaDBTest, IndicesConClavePrimariaOrdenDescendenteYCardinalidad) {
    auto rs = m_Cn->Indices(QStringLiteral("clientes"));
    ASSERT_TRUE(rs);
    EXPECT_EQ(Filas(*rs, {"INDEX_NAME", "PRIMARY_KEY", "UNIQUE", "ORDINAL_POSITION", "COLUMN_NAME",
                          "COLLATION"}),
              QStringList({"PRIMARY|true|true|1|id|1", "ux_clientes_correo|false|true|1|correo|1",
                           "ix_clientes_nombre_alta|false|false|1|nombre|1",
                           "ix_clientes_nombre_alta|false|false|2|alta|2"}));
    ASSERT_TRUE(rs->BuscarPrimero(QStringLiteral("INDEX_NAME"), QStringLiteral("PRIMARY")));
    EXPECT_FALSE(rs->EsNulo(QStringLiteral("CARDINALITY")));
}

TEST_F(CatalogoMariaDBTest, ProcedimientosConTipoYFechas) {
    auto rs = m_Cn->Procedimientos();
    ASSERT_TRUE(rs);
    EXPECT_EQ(Filas(*rs, {"PROCEDURE_NAME", "PROCEDURE_TYPE"}),
              QStringList({"reiniciar_saldos|2", "sumar|3"}));
    for (rs->MoverPrimero(); !rs->FinDatos(); rs->MoverSiguiente())
        EXPECT_FALSE(rs->EsNulo(QStringLiteral("DATE_CREATED")));
}

TEST_F(CatalogoMariaDBTest, RelacionesDeTodoElCatalogoEnUnaConsulta) {
    auto rs = m_Cn->Relaciones();
    ASSERT_TRUE(rs);
    EXPECT_EQ(Filas(*rs, {"PK_TABLE_NAME", "PK_COLUMN_NAME", "FK_TABLE_NAME", "FK_COLUMN_NAME",
                          "ORDINAL", "UPDATE_RULE", "DELETE_RULE", "PK_NAME", "FK_NAME"}),
              QStringList(
                  {"pedidos|id|lineas|pedido|1|RESTRICT|RESTRICT|PRIMARY|fk_lineas_pedidos",
                   "clientes|id|pedidos|cliente|1|RESTRICT|CASCADE|PRIMARY|fk_pedidos_clientes"}));
}

TEST_F(CatalogoMariaDBTest, TiposSinSignoYUnaRestriccionQueElControladorRechaza) {
    EXPECT_EQ(m_Cn->DescripcionTipoDatos(17), QStringLiteral("TINYINT UNSIGNED"));
    EXPECT_EQ(m_Cn->DescripcionTipoDatos(130), QStringLiteral("CHAR"));
    EXPECT_EQ(m_Cn->DescripcionTipoDatos(72), QString());
    EXPECT_EQ(m_Cn->NumeroRegistros(QStringLiteral("clientes")), QStringLiteral("2"));
    EXPECT_EQ(m_Cn->NumeroRegistros(QStringLiteral("ajena")), QString());
}

TEST_F(CatalogoMariaDBTest, PalabrasReservadasVienenEnterasDelControlador) {
    // The driver's list is longer than 1,024 characters and it cuts it short without a warning
    // when the buffer is smaller.
    auto rs = m_Cn->PalabrasReservadas();
    ASSERT_TRUE(rs);
    EXPECT_GT(rs->NumeroFilas(), 120);
    EXPECT_EQ(rs->Texto(QStringLiteral("Keyword")), QStringLiteral("ACCESSIBLE"));
    while (rs->Posicion() < rs->NumeroFilas())
        rs->MoverSiguiente();
    EXPECT_EQ(rs->Texto(QStringLiteral("Keyword")), QStringLiteral("SLOW"));
}

TEST_F(CatalogoMariaDBTest, LasBasesDelSistemaDanTablasYVistasDelSistema) {
    auto esquema = Abrir(CadenaMariaDB(QStringLiteral("information_schema")));
    auto vistas = esquema->Tablas();
    ASSERT_TRUE(vistas);
    EXPECT_EQ(
        FilasDonde(*vistas, QStringLiteral("TABLE_NAME"), QStringLiteral("TABLES"), {"TABLE_TYPE"}),
        QStringList({"SYSTEM VIEW"}));
    auto mysql = Abrir(CadenaMariaDB(QStringLiteral("mysql")));
    auto tablas = mysql->Tablas();
    ASSERT_TRUE(tablas);
    EXPECT_EQ(FilasDonde(*tablas, QStringLiteral("TABLE_NAME"), QStringLiteral("global_priv"),
                         {"TABLE_TYPE"}),
              QStringList({"SYSTEM TABLE"}));
}

TEST_F(CatalogoMariaDBTest, SinBaseElegidaNoHayCatalogo) {
    auto c = Abrir(CadenaMariaDB(QString()));
    auto tablas = c->Tablas();
    ASSERT_TRUE(tablas);
    EXPECT_EQ(tablas->NumeroFilas(), 0);
}
