// The catalogue rowsets through the SQLite3 driver, against a real file built from a fixture.
#include "AyudaCatalogo.h"
#include "ConfiguracionEspanola.h"
#include "Entorno.h"

#include <QLocale>

using namespace pruebas;

namespace {

class CatalogoSQLiteTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_Cadena = CrearBaseSQLite(CarpetaTemporal() + QStringLiteral("/catalogo.sqlite"),
                                   Fixture(QStringLiteral("catalogo_sqlite.sql")));
    }
    void SetUp() override {
        ASSERT_FALSE(s_Cadena.isEmpty());
        m_Cn = Abrir(s_Cadena);
    }
    static QString s_Cadena;
    std::unique_ptr<CConexion> m_Cn;
};
QString CatalogoSQLiteTest::s_Cadena;

// The provider-types question refused, as by a provider without the restriction.
class CConexionSinRestriccion : public CConexion {
public:
    PRecordset TiposDatos(long, bool) override { return nullptr; }
};

// A fresh SQLite file holding what strSql creates, opened.
std::unique_ptr<CConexion> BaseNueva(const QString& strNombre, const QString& strSql) {
    const QString ruta =
        CarpetaTemporal() + QLatin1Char('/') + strNombre + QStringLiteral(".sqlite");
    if (CrearBaseSQLite(ruta, QString()).isEmpty() || !EjecutarSQLite(ruta, strSql))
        return nullptr;
    return Abrir(CadenaSQLite(ruta));
}

} // namespace

TEST_F(CatalogoSQLiteTest, TablasDaLasTablasLasVistasYLasDelSistemaConSusTiposOleDb) {
    auto rs = m_Cn->Tablas();
    ASSERT_TRUE(rs);
    EXPECT_EQ(
        Filas(*rs, {"TABLE_CATALOG", "TABLE_SCHEMA", "TABLE_NAME", "TABLE_TYPE", "DATE_CREATED"}),
        QStringList({"·|·|clientes|TABLE|·", "·|·|sqlite_sequence|SYSTEM TABLE|·",
                     "·|·|pedidos|TABLE|·", "·|·|lineas|TABLE|·", "·|·|a_b|TABLE|·",
                     "·|·|axb|TABLE|·", "·|·|o'brien|TABLE|·", "·|·|v_clientes|VIEW|·"}));
}

TEST_F(CatalogoSQLiteTest, CamposDaTiposOleDbNulosYValoresPorDefecto) {
    auto rs = m_Cn->Campos(QStringLiteral("clientes"));
    ASSERT_TRUE(rs);
    const QStringList columnas{
        "COLUMN_NAME",  "ORDINAL_POSITION", "COLUMN_HASDEFAULT",        "COLUMN_DEFAULT",
        "IS_NULLABLE",  "DATA_TYPE",        "CHARACTER_MAXIMUM_LENGTH", "NUMERIC_PRECISION",
        "NUMERIC_SCALE"};
    EXPECT_EQ(Filas(*rs, columnas),
              QStringList({"id|1|false|·|true|3|·|9|·", "nombre|2|true|sin nombre|false|129|50|·|·",
                           "correo|3|false|·|true|129|120|·|·",
                           // The driver calls NUMERIC a double and scrambles its digits; the
                           // declared type keeps them.
                           "saldo|4|true|0.00|true|131|·|10|2",
                           "alta|5|true|CURRENT_TIMESTAMP|false|135|·|·|·",
                           "activo|6|true|1|false|11|·|·|·", "nacido|7|false|·|true|133|·|·|·",
                           "foto|8|false|·|true|128|·|·|·", "notas|9|false|·|true|129|·|·|·",
                           "peso|10|false|·|true|5|·|53|·", "puntos|11|false|·|true|2|·|5|·",
                           "visitas|12|false|·|true|20|·|19|·"}));
}

TEST_F(CatalogoSQLiteTest, CamposDeUnNombreConGuionBajoNoDaLosDeOtraTabla) {
    ComprobarNombresLiterales(*m_Cn);
}

TEST_F(CatalogoSQLiteTest, CamposDeUnaTablaQueNoExisteEsUnConjuntoAbiertoYVacio) {
    auto rs = m_Cn->Campos(QStringLiteral("no_existe"));
    ASSERT_TRUE(rs);
    EXPECT_TRUE(rs->Abierto());
    EXPECT_EQ(rs->NumeroFilas(), 0);
    EXPECT_TRUE(rs->FinDatos());
}

TEST_F(CatalogoSQLiteTest, CamposTodosDaPorTablaLasMismasFilasQueCampos) {
    CompararCamposTodosConCampos(*m_Cn);
}

TEST_F(CatalogoSQLiteTest, IndicesMarcanLaClavePrimariaYElOrdenDescendenteQueElControladorPierde) {
    auto rs = m_Cn->Indices(QStringLiteral("clientes"));
    ASSERT_TRUE(rs);
    EXPECT_EQ(Filas(*rs, {"INDEX_NAME", "PRIMARY_KEY", "UNIQUE", "ORDINAL_POSITION", "COLUMN_NAME",
                          "COLLATION", "TYPE"}),
              QStringList({"sqlite_autoindex_0|true|true|1|id|1|1",
                           "ux_clientes_correo|false|true|1|correo|1|1",
                           "ix_clientes_nombre_alta|false|false|1|nombre|1|1",
                           "ix_clientes_nombre_alta|false|false|2|alta|2|1"}));
    auto dos = m_Cn->Indices(QStringLiteral("lineas"));
    ASSERT_TRUE(dos);
    EXPECT_EQ(Filas(*dos, {"PRIMARY_KEY", "ORDINAL_POSITION", "COLUMN_NAME"}),
              QStringList({"true|1|pedido", "true|2|linea"}));
}

TEST_F(CatalogoSQLiteTest, RelacionesLeeCadaTablaConSusReglas) {
    auto rs = m_Cn->Relaciones();
    ASSERT_TRUE(rs);
    EXPECT_EQ(Filas(*rs, {"PK_TABLE_NAME", "PK_COLUMN_NAME", "FK_TABLE_NAME", "FK_COLUMN_NAME",
                          "ORDINAL", "UPDATE_RULE", "DELETE_RULE", "FK_NAME"}),
              QStringList({"clientes|id|pedidos|cliente|1|NO ACTION|CASCADE|·",
                           "pedidos|id|lineas|pedido|1|NO ACTION|NO ACTION|·"}));
}

TEST_F(CatalogoSQLiteTest, ProcedimientosEsUnConjuntoVacio) {
    auto rs = m_Cn->Procedimientos();
    ASSERT_TRUE(rs);
    EXPECT_EQ(rs->NumeroFilas(), 0);
}

TEST_F(CatalogoSQLiteTest, TiposDatosMarcanLaMejorCoincidenciaEnLaPrimeraFilaDeCadaNumero) {
    auto rs = m_Cn->TiposDatos();
    ASSERT_TRUE(rs);
    QStringList mejores;
    for (rs->MoverPrimero(); !rs->FinDatos(); rs->MoverSiguiente())
        if (rs->Valor(QStringLiteral("BEST_MATCH")).toBool())
            mejores << rs->Texto(QStringLiteral("TYPE_NAME")) + QLatin1Char('=') +
                           rs->Texto(QStringLiteral("DATA_TYPE"));
    EXPECT_EQ(mejores, QStringList({"bit=11", "tinyint=16", "bigint=20", "longvarbinary=128",
                                    "text=129", "integer=3", "smallint=2", "float=5", "numeric=131",
                                    "date=133", "time=134", "timestamp=135"}));
    ASSERT_TRUE(rs->BuscarPrimero(QStringLiteral("TYPE_NAME"), QStringLiteral("varchar")));
    EXPECT_EQ(rs->Valor(QStringLiteral("SEARCHABLE")).toInt(), 4);
    EXPECT_EQ(rs->Valor(QStringLiteral("IS_FIXEDLENGTH")).toBool(), false);
    EXPECT_EQ(rs->Valor(QStringLiteral("IS_NULLABLE")).toBool(), true);
}

// The SQLite3 driver (sqlite3odbc 0.9998) reports DECIMAL(10,2) as VARCHAR of size 2 and
// NUMERIC(10,2) as DOUBLE of size 2: both are exact numbers with the declared digits.
TEST_F(CatalogoSQLiteTest, DecimalYNumericDelControladorSQLite3SonNumerosExactos) {
    auto c = BaseNueva(QStringLiteral("decimales"),
                       QStringLiteral("CREATE TABLE d (a DECIMAL(10,2), b numeric(12, 3), c "
                                      "decimal(8), d DECIMAL, e NUMERIC(5,0), f DOUBLE, g "
                                      "DECIMALES);"));
    ASSERT_TRUE(c);
    auto rs = c->Campos(QStringLiteral("d"));
    ASSERT_TRUE(rs);
    EXPECT_EQ(Filas(*rs, {"COLUMN_NAME", "DATA_TYPE", "CHARACTER_MAXIMUM_LENGTH",
                          "NUMERIC_PRECISION", "NUMERIC_SCALE"}),
              QStringList({"a|131|·|10|2", "b|131|·|12|3", "c|131|·|8|0", "d|131|·|·|·",
                           "e|131|·|5|0", "f|5|·|53|·", "g|129|·|·|·"}));
    EXPECT_EQ(c->DescripcionTipoDatos(131), QStringLiteral("numeric"));
    EXPECT_EQ(c->DescripcionTipoDatos(5), QStringLiteral("float"));
}

TEST_F(CatalogoSQLiteTest, DescripcionTipoDatosRestringidaYPorBusquedaDanElMismoTexto) {
    EXPECT_EQ(m_Cn->DescripcionTipoDatos(3), QStringLiteral("integer"));
    EXPECT_EQ(m_Cn->DescripcionTipoDatos(129), QStringLiteral("text"));
    EXPECT_EQ(m_Cn->DescripcionTipoDatos(999), QString());
    CConexionSinRestriccion sin;
    sin.setCadenaDeConexion(s_Cadena);
    ASSERT_TRUE(sin.Conectar());
    EXPECT_EQ(sin.DescripcionTipoDatos(3), QStringLiteral("integer"));
    EXPECT_EQ(sin.DescripcionTipoDatos(129), QStringLiteral("text"));
    EXPECT_EQ(sin.DescripcionTipoDatos(999), QString());
}

TEST_F(CatalogoSQLiteTest, NumeroRegistrosAgrupaLosMilesComoLaConfiguracionEspanola) {
    const QString ruta = CarpetaTemporal() + QStringLiteral("/registros.sqlite");
    ASSERT_FALSE(CrearBaseSQLite(ruta, QString()).isEmpty());
    ASSERT_TRUE(EjecutarSQLite(
        ruta, QStringLiteral("CREATE TABLE grande (n INTEGER);"
                             "WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE "
                             "n < 12345) INSERT INTO grande SELECT n FROM s;"
                             "CREATE TABLE mediana (n INTEGER);"
                             "INSERT INTO mediana SELECT n FROM grande WHERE n <= 1234;")));
    auto c = Abrir(CadenaSQLite(ruta));
    const CConfiguracionEspanola espanol;
    EXPECT_EQ(c->NumeroRegistros(QStringLiteral("grande")), QStringLiteral("12.345"));
    EXPECT_EQ(c->NumeroRegistros(QStringLiteral("mediana")), QStringLiteral("1234"));
    EXPECT_EQ(c->NumeroRegistros(QStringLiteral("no_existe")), QString());
}

TEST_F(CatalogoSQLiteTest, NumeroRegistrosCuentaVistasYNombresConApostrofo) {
    EXPECT_EQ(m_Cn->NumeroRegistros(QStringLiteral("v_clientes")), QString());
    EXPECT_EQ(m_Cn->NumeroRegistros(QStringLiteral("o'brien")), QStringLiteral("0"));
    // SQLite matches names without regard to case; the row names the table as it was asked.
    auto rs = m_Cn->Estadisticas(QStringLiteral("CLIENTES"));
    ASSERT_TRUE(rs);
    EXPECT_EQ(Filas(*rs, {"TABLE_NAME", "CARDINALITY"}), QStringList({"CLIENTES|2"}));
}

TEST_F(CatalogoSQLiteTest, NumeroRegistrosCitaComillasYApostrofosYUnaTablaQueFaltaNoDaFila) {
    auto c = BaseNueva(QStringLiteral("comillas"),
                       QStringLiteral("CREATE TABLE \"di\"\"jo 'hola'\" (n);"
                                      "INSERT INTO \"di\"\"jo 'hola'\" VALUES (1), (2), (3);"));
    ASSERT_TRUE(c);
    EXPECT_EQ(c->NumeroRegistros(QStringLiteral("di\"jo 'hola'")), QStringLiteral("3"));
    EXPECT_EQ(c->NumeroRegistros(QStringLiteral("di\"jo")), QString());
    auto falta = c->Estadisticas(QStringLiteral("no_existe"));
    ASSERT_TRUE(falta);
    EXPECT_EQ(falta->NumeroFilas(), 0);
}

TEST_F(CatalogoSQLiteTest, PalabrasYLiteralesVienenDelControlador) {
    auto palabras = m_Cn->PalabrasReservadas();
    ASSERT_TRUE(palabras);
    EXPECT_EQ(palabras->NumeroFilas(), 16);
    EXPECT_TRUE(palabras->BuscarPrimero(QStringLiteral("Keyword"), QStringLiteral("select")));
    auto literales = m_Cn->Literales();
    ASSERT_TRUE(literales);
    ASSERT_TRUE(
        literales->BuscarPrimero(QStringLiteral("LiteralName"), QStringLiteral("QUOTE_PREFIX")));
    EXPECT_EQ(literales->Texto(QStringLiteral("LiteralValue")), QStringLiteral("\""));
    EXPECT_EQ(literales->Valor(QStringLiteral("Literal")).toInt(), 15);
    ASSERT_TRUE(
        literales->BuscarPrimero(QStringLiteral("LiteralName"), QStringLiteral("TABLE_NAME")));
    EXPECT_EQ(literales->Valor(QStringLiteral("Maxlen")).toLongLong(), 255);
    EXPECT_TRUE(literales->Texto(QStringLiteral("InvalidChars")).contains(QLatin1Char('-')));
    ASSERT_TRUE(
        literales->BuscarPrimero(QStringLiteral("LiteralName"), QStringLiteral("SCHEMA_NAME")));
    EXPECT_FALSE(literales->Valor(QStringLiteral("Supported")).toBool());
}
