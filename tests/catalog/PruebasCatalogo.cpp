// The catalogue rowsets through the three drivers (SQLite3, "PostgreSQL Unicode", "MariaDB
// Unicode"), each against a database built from its own fixture: one contract for what every
// driver must give, then each driver's quirks, held against what its DBMS says.
#include "AyudaCatalogo.h"
#include "ConfiguracionEspanola.h"
#include "catalog/dialectos/CDialecto.h"

#include <functional>

using namespace pruebas;

namespace {

enum class Motor { SQLite, Postgres, MariaDB };

// The fixture databases, made the first time a test asks for one and dropped when the program
// ends (ctest runs each test as a program of its own, so only the ones used are made).
class CBasesCatalogo : public ::testing::Environment {
public:
    static QString Cadena(Motor motor) {
        switch (motor) {
        case Motor::SQLite: {
            static const QString s = CrearBaseSQLite(CarpetaTemporal() + u"/catalogo.sqlite"_s,
                                                     Fixture(u"catalogo_sqlite.sql"_s));
            return s;
        }
        case Motor::Postgres:
            if (!s_Postgres && HayPostgres())
                s_Postgres =
                    std::make_unique<CBaseServidor>(CBaseServidor::Motor::Postgres, u"cat_pg"_s,
                                                    QStringList{"catalogo_postgres.sql"});
            return s_Postgres ? s_Postgres->Cadena() : QString();
        case Motor::MariaDB:
            if (!s_MariaDB && HayMariaDB()) {
                s_MariaDB =
                    std::make_unique<CBaseServidor>(CBaseServidor::Motor::MariaDB, u"cat_maria"_s,
                                                    QStringList{"catalogo_mariadb.sql"});
                // A second database on the server whose objects must never show.
                s_Otra = std::make_unique<CBaseServidor>(CBaseServidor::Motor::MariaDB,
                                                         u"cat_maria_otra"_s);
                s_Otra->Ejecutar(QStringLiteral("CREATE TABLE ajena (x int);"
                                                "CREATE TABLE clientes (y int);"));
            }
            return s_MariaDB ? s_MariaDB->Cadena() : QString();
        }
        return {};
    }
    static QString Nombre(Motor motor) {
        Cadena(motor);
        const auto& b = motor == Motor::Postgres ? s_Postgres : s_MariaDB;
        return b ? b->Nombre() : QString();
    }
    void TearDown() override {
        s_Postgres.reset();
        s_MariaDB.reset();
        s_Otra.reset();
    }

private:
    static inline std::unique_ptr<CBaseServidor> s_Postgres, s_MariaDB, s_Otra;
};
[[maybe_unused]] auto* const s_Bases = ::testing::AddGlobalTestEnvironment(new CBasesCatalogo);

// Skips (or fails under CI) without the server, stops the test when the database is missing.
#define ABRIR_BASE(motor, cn)                                                                      \
    if ((motor) == Motor::Postgres)                                                                \
        REQUIERE_POSTGRES();                                                                       \
    if ((motor) == Motor::MariaDB)                                                                 \
        REQUIERE_MARIADB();                                                                        \
    ASSERT_FALSE(CBasesCatalogo::Cadena(motor).isEmpty()) << "no se pudo crear la base";           \
    auto cn = Abrir(CBasesCatalogo::Cadena(motor));                                                \
    ASSERT_TRUE(cn->Conectado())

// One rowset's expected rows: the chosen columns, only the rows whose first column named in
// strFiltro ("COLUMNA=valor") matches, and %1 standing for the database's name.
struct CFilas {
    QStringList columnas;
    QStringList filas;
    QString strFiltro = {};
};

struct CContrato {
    const char* strNombre;
    Motor motor;
    CFilas tablas, campos, indices, relaciones, procedimientos;
    std::vector<std::pair<long, QString>> descripciones; // type number, DescripcionTipoDatos
    std::vector<std::pair<QString, QString>> registros;  // table, NumeroRegistros
};

void PrintTo(const CContrato& c, std::ostream* os) {
    *os << c.strNombre;
}

QStringList Leidas(const PRecordset& rs, const CFilas& esperadas) {
    if (esperadas.strFiltro.isEmpty())
        return Filas(rs, esperadas.columnas);
    return FilasDonde(rs, esperadas.strFiltro.section(u'=', 0, 0),
                      esperadas.strFiltro.section(u'=', 1), esperadas.columnas);
}

class CatalogoTest : public ::testing::TestWithParam<CContrato> {
protected:
    QStringList Esperadas(const CFilas& f) const {
        QStringList filas = f.filas;
        for (QString& s : filas)
            s.replace(u"%1"_s, CBasesCatalogo::Nombre(GetParam().motor));
        return filas;
    }
};

TEST_P(CatalogoTest, TablasDaLosObjetosDeLaBaseConSusTiposOleDb) {
    ABRIR_BASE(GetParam().motor, cn);
    EXPECT_EQ(Leidas(cn->Tablas(), GetParam().tablas), Esperadas(GetParam().tablas));
}

TEST_P(CatalogoTest, CamposDaTiposOleDbNulosYValoresPorDefectoComoLosDaElServidor) {
    ABRIR_BASE(GetParam().motor, cn);
    EXPECT_EQ(Leidas(cn->Campos(u"clientes"_s), GetParam().campos), Esperadas(GetParam().campos));
}

TEST_P(CatalogoTest, IndicesMarcanLaClavePrimariaYElOrdenDescendente) {
    ABRIR_BASE(GetParam().motor, cn);
    EXPECT_EQ(Leidas(cn->Indices(u"clientes"_s), GetParam().indices),
              Esperadas(GetParam().indices));
}

TEST_P(CatalogoTest, RelacionesDeTodoElCatalogoConSusReglas) {
    ABRIR_BASE(GetParam().motor, cn);
    EXPECT_EQ(Leidas(cn->Relaciones(), GetParam().relaciones), Esperadas(GetParam().relaciones));
}

TEST_P(CatalogoTest, ProcedimientosDistingueFuncionesDeProcedimientos) {
    ABRIR_BASE(GetParam().motor, cn);
    EXPECT_EQ(Leidas(cn->Procedimientos(), GetParam().procedimientos),
              Esperadas(GetParam().procedimientos));
}

TEST_P(CatalogoTest, DescripcionTipoDatosYNumeroRegistros) {
    ABRIR_BASE(GetParam().motor, cn);
    for (const auto& [lngTipo, strTexto] : GetParam().descripciones)
        EXPECT_EQ(cn->DescripcionTipoDatos(lngTipo), strTexto) << lngTipo;
    for (const auto& [strTabla, strRegistros] : GetParam().registros)
        EXPECT_EQ(cn->NumeroRegistros(strTabla), strRegistros) << strTabla.toStdString();
}

// Names reach the driver as values, never as patterns: "_" matches only itself ("axb" exists
// too), and an apostrophe is no quote. A table that does not exist is an open, empty rowset.
TEST_P(CatalogoTest, CamposDeUnNombreConGuionBajoOApostrofoSoloDaEsaTabla) {
    ABRIR_BASE(GetParam().motor, cn);
    EXPECT_EQ(Filas(cn->Campos(u"a_b"_s), {"TABLE_NAME", "COLUMN_NAME"}), QStringList({"a_b|x"}));
    EXPECT_EQ(Filas(cn->Campos(u"o'brien"_s), {"COLUMN_NAME"}), QStringList({"id", "it's"}));
    auto falta = cn->Campos(u"no_existe"_s);
    ASSERT_TRUE(falta);
    EXPECT_TRUE(falta->Abierto());
    EXPECT_EQ(falta->NumeroFilas(), 0);
    EXPECT_TRUE(falta->FinDatos());
}

// The bulk columns, table by table, against Campos of each distinct name of Tablas: the same
// rows in the same order, and nothing more.
TEST_P(CatalogoTest, CamposTodosDaPorTablaLasMismasFilasQueCampos) {
    ABRIR_BASE(GetParam().motor, cn);
    auto todos = cn->CamposTodos();
    auto tablas = cn->Tablas();
    ASSERT_TRUE(todos && tablas);
    const QStringList columnas = todos->Columnas();
    long total = 0;
    QStringList vistos;
    for (tablas->MoverPrimero(); !tablas->FinDatos(); tablas->MoverSiguiente()) {
        const QString nombre = tablas->Texto(u"TABLE_NAME"_s);
        if (vistos.contains(nombre))
            continue;
        vistos << nombre;
        auto campos = cn->Campos(nombre);
        ASSERT_TRUE(campos);
        EXPECT_EQ(FilasDonde(*todos, u"TABLE_NAME"_s, nombre, columnas), Filas(*campos, columnas))
            << nombre.toStdString();
        total += campos->NumeroFilas();
    }
    EXPECT_EQ(todos->NumeroFilas(), total);

    // Read two objects at a time, the same rows in the same order.
    struct CPaginasDeDos {
        CPaginasDeDos() { CDialecto::EstablecerObjetosPorPagina(2); }
        ~CPaginasDeDos() { CDialecto::EstablecerObjetosPorPagina(CDialecto::kObjetosPorPagina); }
    } paginas;
    EXPECT_EQ(Filas(cn->CamposTodos(), columnas), Filas(*todos, columnas));
}

const QStringList kColumnasCampos{
    "COLUMN_NAME", "ORDINAL_POSITION",         "COLUMN_HASDEFAULT", "COLUMN_DEFAULT", "IS_NULLABLE",
    "DATA_TYPE",   "CHARACTER_MAXIMUM_LENGTH", "NUMERIC_PRECISION", "NUMERIC_SCALE"};

INSTANTIATE_TEST_SUITE_P(
    Motores, CatalogoTest,
    ::testing::Values(
        CContrato{
            "SQLite",
            Motor::SQLite,
            {{"TABLE_CATALOG", "TABLE_SCHEMA", "TABLE_NAME", "TABLE_TYPE", "DATE_CREATED"},
             {"·|·|clientes|TABLE|·", "·|·|sqlite_sequence|SYSTEM TABLE|·", "·|·|pedidos|TABLE|·",
              "·|·|lineas|TABLE|·", "·|·|a_b|TABLE|·", "·|·|axb|TABLE|·", "·|·|o'brien|TABLE|·",
              "·|·|v_clientes|VIEW|·"}},
            {kColumnasCampos,
             {"id|1|false|·|false|3|·|9|·", "nombre|2|true|'sin nombre'|false|130|50|·|·",
              "correo|3|false|·|true|130|120|·|·",
              // The driver calls NUMERIC a double and scrambles its digits; the declared type
              // keeps them.
              "saldo|4|true|0.00|true|131|·|10|2", "alta|5|true|CURRENT_TIMESTAMP|false|135|·|·|·",
              "activo|6|true|1|false|11|·|·|·", "nacido|7|false|·|true|133|·|·|·",
              "foto|8|false|·|true|128|·|·|·", "notas|9|false|·|true|130|·|·|·",
              "peso|10|false|·|true|5|·|53|·", "puntos|11|false|·|true|2|·|5|·",
              "visitas|12|false|·|true|20|·|19|·"}},
            // The driver loses the descending order; the layer reads it from the index itself.
            {{"INDEX_NAME", "PRIMARY_KEY", "UNIQUE", "ORDINAL_POSITION", "COLUMN_NAME", "COLLATION",
              "TYPE"},
             {"sqlite_autoindex_0|true|true|1|id|1|1", "ux_clientes_correo|false|true|1|correo|1|1",
              "ix_clientes_nombre_alta|false|false|1|nombre|1|1",
              "ix_clientes_nombre_alta|false|false|2|alta|2|1"}},
            {{"PK_TABLE_NAME", "PK_COLUMN_NAME", "FK_TABLE_NAME", "FK_COLUMN_NAME", "ORDINAL",
              "UPDATE_RULE", "DELETE_RULE", "FK_NAME"},
             {"clientes|id|pedidos|cliente|1|NO ACTION|CASCADE|·",
              "pedidos|id|lineas|pedido|1|NO ACTION|NO ACTION|·"}},
            {{"PROCEDURE_NAME", "PROCEDURE_TYPE"}, {}},
            {{3, "integer"}, {130, "text"}, {999, ""}},
            {{"v_clientes", ""}, {"o'brien", "0"}, {"no_existe", ""}}},
        CContrato{
            "PostgreSQL",
            Motor::Postgres,
            // The driver loses the comments; a foreign table is PASS-THROUGH.
            {{"TABLE_CATALOG", "TABLE_SCHEMA", "TABLE_NAME", "TABLE_TYPE", "DESCRIPTION",
              "DATE_CREATED"},
             {"%1|public|a_b|TABLE|·|·", "%1|public|axb|TABLE|·|·",
              "%1|public|clientes|TABLE|Clientes de la tienda|·",
              "%1|public|ft_clientes|PASS-THROUGH|·|·", "%1|public|lineas|TABLE|·|·",
              "%1|public|mv_totales|VIEW|·|·", "%1|public|o'brien|TABLE|·|·",
              "%1|public|pedidos|TABLE|·|·", "%1|public|plantillas|TABLE|·|·",
              "%1|public|v_clientes|VIEW|·|·", "%1|ventas|clientes|TABLE|·|·"}},
            {{"COLUMN_NAME", "ORDINAL_POSITION", "COLUMN_DEFAULT", "IS_NULLABLE", "DATA_TYPE",
              "CHARACTER_MAXIMUM_LENGTH", "NUMERIC_PRECISION", "NUMERIC_SCALE"},
             {"id|1|nextval('clientes_id_seq'::regclass)|false|3|·|10|·",
              "nombre|2|'sin nombre'::character varying|false|130|50|·|·",
              "correo|3|·|true|130|120|·|·", "saldo|4|0.00|true|131|·|10|2",
              "alta|5|now()|false|135|·|·|·", "activo|6|true|false|11|·|·|·",
              "nacido|7|·|true|133|·|·|·", "foto|8|·|true|128|·|·|·", "notas|9|·|true|130|·|·|·",
              "codigo|10|·|true|130|8|·|·", "uid|11|·|true|72|·|·|·", "peso|12|·|true|4|·|9|·",
              "total|13|·|true|5|·|17|·", "puntos|14|·|true|2|·|5|·", "visitas|15|·|true|20|·|19|·",
              "hora|16|·|true|134|·|·|·"},
             "TABLE_SCHEMA=public"},
            // One name in two schemas: both tables' indexes.
            {{"TABLE_SCHEMA", "INDEX_NAME", "PRIMARY_KEY", "UNIQUE", "ORDINAL_POSITION",
              "COLUMN_NAME", "COLLATION"},
             {"public|clientes_pkey|true|true|1|id|1",
              "public|ix_clientes_nombre_alta|false|false|1|nombre|1",
              "public|ix_clientes_nombre_alta|false|false|2|alta|2",
              "public|ux_clientes_correo|false|true|1|correo|1",
              "ventas|clientes_pkey|true|true|1|id|1"}},
            {{"PK_TABLE_CATALOG", "PK_TABLE_SCHEMA", "PK_TABLE_NAME", "PK_COLUMN_NAME",
              "FK_TABLE_NAME", "FK_COLUMN_NAME", "ORDINAL", "UPDATE_RULE", "DELETE_RULE", "PK_NAME",
              "FK_NAME"},
             {"%1|public|pedidos|id|lineas|pedido|1|RESTRICT|NO "
              "ACTION|pedidos_pkey|fk_lineas_pedidos",
              "%1|public|clientes|id|pedidos|cliente|1|NO ACTION|CASCADE|clientes_pkey|"
              "fk_pedidos_clientes"}},
            {{"PROCEDURE_CATALOG", "PROCEDURE_NAME", "PROCEDURE_TYPE"},
             {"%1|sumar|3", "%1|contar_clientes|3", "%1|reiniciar_saldos|2"},
             "PROCEDURE_SCHEMA=public"},
            {{3, "int4"}, {72, "uuid"}, {130, "varchar"}, {135, "timestamp"}, {17, ""}},
            {}},
        CContrato{
            "MariaDB",
            Motor::MariaDB,
            // Only the current database's objects.
            {{"TABLE_NAME", "TABLE_TYPE", "DESCRIPTION"},
             {"axb|TABLE|·", "a_b|TABLE|·", "clientes|TABLE|Clientes de la tienda",
              "lineas|TABLE|·", "marcas|TABLE|·", "o'brien|TABLE|·", "pedidos|TABLE|·",
              "v_clientes|VIEW|·"}},
            {kColumnasCampos,
             {"id|1|false|·|false|3|·|10|·", "nombre|2|true|'sin nombre'|false|130|50|·|·",
              "correo|3|false|·|true|130|120|·|·", "saldo|4|true|0.00|true|131|·|10|2",
              "alta|5|true|current_timestamp()|false|135|·|·|·", "activo|6|true|1|false|16|·|3|·",
              "nacido|7|false|·|true|133|·|·|·", "foto|8|false|·|true|128|65535|·|·",
              "notas|9|false|·|true|130|65535|·|·", "codigo|10|false|·|true|130|8|·|·",
              "peso|11|false|·|true|4|·|7|·", "total|12|false|·|true|5|·|15|·",
              "puntos|13|false|·|true|2|·|5|·", "visitas|14|false|·|true|20|·|19|·",
              "edad|15|false|·|true|17|·|3|·", "hora|16|false|·|true|134|·|·|·"}},
            {{"INDEX_NAME", "PRIMARY_KEY", "UNIQUE", "ORDINAL_POSITION", "COLUMN_NAME",
              "COLLATION"},
             {"PRIMARY|true|true|1|id|1", "ux_clientes_correo|false|true|1|correo|1",
              "ix_clientes_nombre_alta|false|false|1|nombre|1",
              "ix_clientes_nombre_alta|false|false|2|alta|2"}},
            {{"PK_TABLE_NAME", "PK_COLUMN_NAME", "FK_TABLE_NAME", "FK_COLUMN_NAME", "ORDINAL",
              "UPDATE_RULE", "DELETE_RULE", "PK_NAME", "FK_NAME"},
             {"pedidos|id|lineas|pedido|1|RESTRICT|RESTRICT|PRIMARY|fk_lineas_pedidos",
              "clientes|id|pedidos|cliente|1|RESTRICT|CASCADE|PRIMARY|fk_pedidos_clientes"}},
            {{"PROCEDURE_NAME", "PROCEDURE_TYPE"}, {"reiniciar_saldos|2", "sumar|3"}},
            // The driver rejects the uuid restriction; unsigned types keep their own names.
            {{17, "TINYINT UNSIGNED"}, {130, "VARCHAR"}, {3, "INT"}, {72, ""}},
            {{"clientes", "2"}, {"ajena", ""}}}),
    [](const auto& p) { return std::string(p.param.strNombre); });

// ---------------------------------------------------------------------------------------------
// SQLite3 (sqlite3odbc 0.9998).

// A fresh SQLite file holding what strSql creates, opened.
std::unique_ptr<CConexion> BaseNueva(const QString& strNombre, const QString& strSql) {
    const QString ruta = RutaTemporal(strNombre + u".sqlite"_s);
    if (CrearBaseSQLite(ruta, QString()).isEmpty() || !EjecutarSQLite(ruta, strSql))
        return nullptr;
    return Abrir(CadenaSQLite(ruta));
}

TEST(CatalogoSQLiteTest, UnaClavePrimariaDeDosColumnasYLaTablaComoSePidio) {
    ABRIR_BASE(Motor::SQLite, cn);
    EXPECT_EQ(Filas(cn->Indices(u"lineas"_s), {"PRIMARY_KEY", "ORDINAL_POSITION", "COLUMN_NAME"}),
              QStringList({"true|1|pedido", "true|2|linea"}));
    // SQLite matches names without regard to case; the row names the table as it was asked.
    EXPECT_EQ(Filas(cn->Estadisticas(u"CLIENTES"_s), {"TABLE_NAME", "CARDINALITY"}),
              QStringList({"CLIENTES|2"}));
}

TEST(CatalogoSQLiteTest, TiposDatosMarcanLaMejorCoincidenciaEnLaPrimeraFilaDeCadaNumero) {
    ABRIR_BASE(Motor::SQLite, cn);
    auto rs = cn->TiposDatos();
    ASSERT_TRUE(rs);
    QStringList mejores;
    for (rs->MoverPrimero(); !rs->FinDatos(); rs->MoverSiguiente())
        if (rs->Valor(u"BEST_MATCH"_s).toBool())
            mejores << rs->Texto(u"TYPE_NAME"_s) + u'=' + rs->Texto(u"DATA_TYPE"_s);
    EXPECT_EQ(mejores, QStringList({"bit=11", "tinyint=16", "bigint=20", "longvarbinary=128",
                                    "text=130", "integer=3", "smallint=2", "float=5", "numeric=131",
                                    "date=133", "time=134", "timestamp=135"}));
    ASSERT_TRUE(rs->BuscarPrimero(u"TYPE_NAME"_s, u"varchar"_s));
    EXPECT_EQ(rs->Valor(u"SEARCHABLE"_s).toInt(), 4);
    EXPECT_EQ(rs->Valor(u"IS_FIXEDLENGTH"_s).toBool(), false);
    EXPECT_EQ(rs->Valor(u"IS_NULLABLE"_s).toBool(), true);
}

// The driver reports DECIMAL(10,2) as VARCHAR of size 2 and NUMERIC(10,2) as DOUBLE of size 2:
// both are exact numbers with the declared digits. Other names keep the driver's reading: by
// their first letters (UNSIGNED BIG INT and BINARY are texts), sized by their last number.
TEST(CatalogoSQLiteTest, DecimalYNumericDelControladorSQLite3SonNumerosExactos) {
    auto c = BaseNueva(u"decimales"_s,
                       QStringLiteral("CREATE TABLE d (a DECIMAL(10,2), b numeric(12, 3), c "
                                      "decimal(8), d DECIMAL, e NUMERIC(5,0), f DOUBLE, g "
                                      "DECIMALES, h UNSIGNED BIG INT, i BINARY(4), j INTEGER(11), "
                                      "k DEC(4,2), l INT8);"));
    ASSERT_TRUE(c);
    EXPECT_EQ(Filas(c->Campos(u"d"_s), {"COLUMN_NAME", "DATA_TYPE", "CHARACTER_MAXIMUM_LENGTH",
                                        "NUMERIC_PRECISION", "NUMERIC_SCALE"}),
              QStringList({"a|131|·|10|2", "b|131|·|12|3", "c|131|·|8|0", "d|131|·|·|·",
                           "e|131|·|5|0", "f|5|·|53|·", "g|130|·|·|·", "h|130|·|·|·", "i|130|4|·|·",
                           "j|3|·|11|·", "k|130|2|·|·", "l|3|·|9|·"}));
    EXPECT_EQ(c->DescripcionTipoDatos(131), u"numeric"_s);
    EXPECT_EQ(c->DescripcionTipoDatos(5), u"float"_s);
}

TEST(CatalogoSQLiteTest, NumeroRegistrosAgrupaLosMilesYCitaComillasYApostrofos) {
    auto c = BaseNueva(
        u"registros"_s,
        QStringLiteral("CREATE TABLE grande (n INTEGER);"
                       "WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE "
                       "n < 12345) INSERT INTO grande SELECT n FROM s;"
                       "CREATE TABLE mediana (n INTEGER);"
                       "INSERT INTO mediana SELECT n FROM grande WHERE n <= 1234;"
                       "CREATE TABLE \"di\"\"jo 'hola'\" (n);"
                       "INSERT INTO \"di\"\"jo 'hola'\" VALUES (1), (2), (3);"));
    ASSERT_TRUE(c);
    const CConfiguracionEspanola espanol;
    EXPECT_EQ(c->NumeroRegistros(u"grande"_s), u"12.345"_s);
    EXPECT_EQ(c->NumeroRegistros(u"mediana"_s), u"1234"_s);
    EXPECT_EQ(c->NumeroRegistros(u"di\"jo 'hola'"_s), u"3"_s);
    EXPECT_EQ(c->NumeroRegistros(u"di\"jo"_s), QString());
    EXPECT_EQ(Filas(c->Estadisticas(u"no_existe"_s), {}), QStringList());
}

// ---------------------------------------------------------------------------------------------
// PostgreSQL Unicode (psqlodbc).

TEST(CatalogoPostgresTest, ConShowSystemTablesLasDelSistemaSonSystemTableYSystemView) {
    ABRIR_BASE(Motor::Postgres, base);
    auto c = Abrir(CBasesCatalogo::Cadena(Motor::Postgres) + u"ShowSystemTables=1;"_s);
    auto rs = c->Tablas();
    ASSERT_TRUE(rs);
    const QStringList tipo{"TABLE_SCHEMA", "TABLE_TYPE"};
    EXPECT_EQ(FilasDonde(*rs, u"TABLE_NAME"_s, u"pg_class"_s, tipo),
              QStringList({"pg_catalog|SYSTEM TABLE"}));
    EXPECT_EQ(FilasDonde(*rs, u"TABLE_NAME"_s, u"tables"_s, tipo),
              QStringList({"information_schema|SYSTEM VIEW"}));
    EXPECT_EQ(FilasDonde(*rs, u"TABLE_NAME"_s, u"pedidos"_s, tipo), QStringList({"public|TABLE"}));
}

TEST(CatalogoPostgresTest, CamposDeUnNombreEnDosEsquemasDaAmbosYUnIndiceNoEsUnaTabla) {
    ABRIR_BASE(Motor::Postgres, cn);
    auto rs = cn->Campos(u"clientes"_s);
    ASSERT_TRUE(rs);
    ASSERT_EQ(rs->NumeroFilas(), 18);
    EXPECT_EQ(FilasDonde(*rs, u"TABLE_SCHEMA"_s, u"ventas"_s,
                         {"COLUMN_NAME", "ORDINAL_POSITION", "IS_NULLABLE"}),
              QStringList({"id|1|false", "zona|2|false"}));
    EXPECT_EQ(Filas(cn->Campos(u"clientes_pkey"_s), {}),
              QStringList()); // the driver has columns for it
}

TEST(CatalogoPostgresTest, CamposDaEnteroUnValorPorDefectoQueElControladorCorta) {
    ABRIR_BASE(Motor::Postgres, cn);
    const QString esperado = u"'%1'::text"_s.arg(u"Estimado cliente: "_s.repeated(20).trimmed());
    auto rs = cn->Campos(u"plantillas"_s);
    ASSERT_TRUE(rs);
    ASSERT_TRUE(rs->BuscarPrimero(u"COLUMN_NAME"_s, u"cuerpo"_s));
    EXPECT_EQ(rs->Texto(u"COLUMN_DEFAULT"_s), esperado);
    auto todos = cn->CamposTodos();
    ASSERT_TRUE(todos);
    EXPECT_TRUE(todos->BuscarPrimero(u"COLUMN_DEFAULT"_s, esperado));
}

TEST(CatalogoPostgresTest, PalabrasTiposYProcedimientosSinLosDelSistema) {
    ABRIR_BASE(Motor::Postgres, cn);
    // The driver gives no keywords: they come from the server, reserved ones only.
    auto palabras = cn->PalabrasReservadas();
    ASSERT_TRUE(palabras);
    EXPECT_GT(palabras->NumeroFilas(), 50);
    EXPECT_TRUE(palabras->BuscarPrimero(u"Keyword"_s, u"SELECT"_s));
    EXPECT_FALSE(palabras->BuscarPrimero(u"Keyword"_s, u"ABORT"_s));
    EXPECT_EQ(Filas(cn->TiposDatos(133, false), {"TYPE_NAME", "BEST_MATCH"}),
              QStringList({"date|false"})); // the ODBC 2 duplicate
    auto procedimientos = cn->Procedimientos();
    ASSERT_TRUE(procedimientos);
    EXPECT_FALSE(procedimientos->BuscarPrimero(u"PROCEDURE_SCHEMA"_s, u"pg_catalog"_s));
}

// ---------------------------------------------------------------------------------------------
// MariaDB Unicode (Connector/ODBC 3.1).

TEST(CatalogoMariaDBTest, FechasCatalogoCardinalidadYPalabrasQueElControladorDa) {
    ABRIR_BASE(Motor::MariaDB, cn);
    auto rs = cn->Tablas();
    ASSERT_TRUE(rs);
    for (rs->MoverPrimero(); !rs->FinDatos(); rs->MoverSiguiente()) {
        EXPECT_EQ(rs->Texto(u"TABLE_CATALOG"_s), CBasesCatalogo::Nombre(Motor::MariaDB));
        const bool vista = rs->Texto(u"TABLE_TYPE"_s) == QLatin1String("VIEW");
        EXPECT_EQ(rs->EsNulo(u"DATE_CREATED"_s), vista) << rs->Texto(u"TABLE_NAME"_s).toStdString();
    }
    auto indices = cn->Indices(u"clientes"_s);
    ASSERT_TRUE(indices);
    ASSERT_TRUE(indices->BuscarPrimero(u"INDEX_NAME"_s, u"PRIMARY"_s));
    EXPECT_FALSE(indices->EsNulo(u"CARDINALITY"_s));
    auto procedimientos = cn->Procedimientos();
    ASSERT_TRUE(procedimientos);
    for (procedimientos->MoverPrimero(); !procedimientos->FinDatos();
         procedimientos->MoverSiguiente())
        EXPECT_FALSE(procedimientos->EsNulo(u"DATE_CREATED"_s));
    EXPECT_EQ(Filas(cn->Campos(u"ajena"_s), {}), QStringList()); // in the other database

    // The driver's list is longer than 1,024 characters and it cuts it short without a warning
    // when the buffer is smaller.
    auto palabras = cn->PalabrasReservadas();
    ASSERT_TRUE(palabras);
    EXPECT_GT(palabras->NumeroFilas(), 120);
    EXPECT_EQ(palabras->Texto(u"Keyword"_s), u"ACCESSIBLE"_s);
    while (palabras->Posicion() < palabras->NumeroFilas())
        palabras->MoverSiguiente();
    EXPECT_EQ(palabras->Texto(u"Keyword"_s), u"SLOW"_s);
}

TEST(CatalogoMariaDBTest, CamposCorrigeLaNulabilidadQueElControladorDaAAutoIncrementYTimestamp) {
    ABRIR_BASE(Motor::MariaDB, cn);
    EXPECT_EQ(
        Filas(cn->Campos(u"marcas"_s),
              {"COLUMN_NAME", "IS_NULLABLE", "COLUMN_DEFAULT", "DATA_TYPE"}),
        QStringList({"id|false|·|3", "puede|true|·|135", "fija|false|'2020-01-01 00:00:00'|135"}));
}

TEST(CatalogoMariaDBTest, LasBasesDelSistemaDanLoDelSistemaYSinBaseNoHayCatalogo) {
    REQUIERE_MARIADB();
    auto esquema = Abrir(CadenaMariaDB(u"information_schema"_s));
    EXPECT_EQ(FilasDonde(esquema->Tablas(), u"TABLE_NAME"_s, u"TABLES"_s, {"TABLE_TYPE"}),
              QStringList({"SYSTEM VIEW"}));
    auto mysql = Abrir(CadenaMariaDB(u"mysql"_s));
    EXPECT_EQ(FilasDonde(mysql->Tablas(), u"TABLE_NAME"_s, u"global_priv"_s, {"TABLE_TYPE"}),
              QStringList({"SYSTEM TABLE"}));
    auto sinBase = Abrir(CadenaMariaDB(QString()));
    EXPECT_EQ(Filas(sinBase->Tablas(), {}), QStringList());
}

} // namespace
