// What the PostgreSQL dialect corrects in psqlodbc's answers, each value held against
// pg_catalog read directly with psql; and that no catalogue question runs user code.
#include "AyudaCatalogo.h"
#include "Entorno.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

using namespace pruebas;

namespace {

class DialectoPostgreSQLTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!HayPostgres())
            return;
        s_Cadena = CrearBasePostgres(Base(), Fixture(QStringLiteral("dialecto_postgres.sql")));
        // Every statement this database is sent goes to the server's log.
        EjecutarPostgres(
            QStringLiteral("postgres"),
            QStringLiteral("ALTER DATABASE %1 SET log_statement = 'all';").arg(Base()));
        // A role that may read the catalogue only, in a read-only session.
        EjecutarPostgres(QStringLiteral("postgres"),
                         QStringLiteral("DROP ROLE IF EXISTS %1; CREATE ROLE %1 LOGIN; ALTER ROLE "
                                        "%1 SET default_transaction_read_only = on;")
                             .arg(Lector()));
    }
    static void TearDownTestSuite() {
        if (s_Cadena.isEmpty())
            return;
        EjecutarPostgres(QStringLiteral("postgres"),
                         QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE); DROP ROLE IF "
                                        "EXISTS %2;")
                             .arg(Base(), Lector()));
    }
    static QString Base() {
        return QStringLiteral("dial_pg_%1").arg(QCoreApplication::applicationPid());
    }
    static QString Lector() {
        return QStringLiteral("lector_%1").arg(QCoreApplication::applicationPid());
    }
    void SetUp() override {
        REQUIERE_POSTGRES();
        ASSERT_FALSE(s_Cadena.isEmpty());
        m_Cn = Abrir(s_Cadena);
    }
    // The server's own answer, one line per row, fields joined by "|".
    static QStringList Consultar(const QString& strSql) {
        QProcess p;
        p.start(QStringLiteral("psql"),
                {"-X", "-At", "-h", "127.0.0.1", "-p", qEnvironmentVariable("VERONDAL_PG_PUERTO"),
                 "-U", qEnvironmentVariable("VERONDAL_PG_USUARIO"), "-d", Base(), "-c", strSql});
        p.waitForFinished();
        return QString::fromUtf8(p.readAllStandardOutput())
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    static QString s_Cadena;
    std::unique_ptr<CConexion> m_Cn;
};
QString DialectoPostgreSQLTest::s_Cadena;

// Every catalogue question the windows and the command line ask, on every object.
void PreguntarTodo(CConexion& cn) {
    auto tablas = cn.Tablas();
    ASSERT_TRUE(tablas);
    for (tablas->MoverPrimero(); !tablas->FinDatos(); tablas->MoverSiguiente()) {
        const QString nombre = tablas->Texto(QStringLiteral("TABLE_NAME"));
        cn.Campos(nombre);
        cn.Indices(nombre);
        cn.Estadisticas(nombre);
        cn.NumeroRegistros(nombre);
    }
    cn.CamposTodos();
    cn.EstadisticasTodas();
    cn.NumerosRegistros();
    cn.Procedimientos();
    cn.Relaciones();
    cn.TiposDatos();
    cn.PalabrasReservadas();
    cn.Literales();
    cn.Propiedades();
    for (long tipo : {3L, 11L, 129L, 130L, 135L})
        cn.DescripcionTipoDatos(tipo);
}

} // namespace

TEST_F(DialectoPostgreSQLTest, NingunaPreguntaDelCatalogoEjecutaCodigoDelUsuario) {
    // Reading v_auditada inserts into auditoria; reading v_contador advances the sequence.
    const QStringList antes = Consultar(
        QStringLiteral("SELECT count(*), (SELECT last_value FROM contador) FROM auditoria"));
    QFile registro(qEnvironmentVariable("VERONDAL_PG_REGISTRO"));
    ASSERT_TRUE(registro.open(QIODevice::ReadOnly)) << registro.fileName().toStdString();
    registro.seek(registro.size());
    PreguntarTodo(*m_Cn);
    EXPECT_EQ(Consultar(QStringLiteral(
                  "SELECT count(*), (SELECT last_value FROM contador) FROM auditoria")),
              antes);
    // No statement reads a view (names passed as text to the catalogue are not reads).
    const QString enviadas = QString::fromUtf8(registro.readAll());
    EXPECT_TRUE(enviadas.contains(QLatin1String("pg_catalog")));
    static const QRegularExpression literal(QStringLiteral("'(?:[^']|'')*'"));
    static const QRegularExpression lectura(
        QStringLiteral("\\b(FROM|JOIN)\\s+(\"?public\"?\\.)?\"?v_(auditada|contador)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    for (const QString& linea : enviadas.split(QLatin1Char('\n'))) {
        if (linea.contains(QLatin1String("statement: ")) ||
            linea.contains(QLatin1String("execute "))) {
            EXPECT_FALSE(QString(linea).remove(literal).contains(lectura)) << linea.toStdString();
        }
    }
}

TEST_F(DialectoPostgreSQLTest, LosRecuentosSonLosDePgClassYCadaEsquemaTieneElSuyo) {
    auto todas = m_Cn->EstadisticasTodas();
    ASSERT_TRUE(todas);
    // clientes was analysed (reltuples 3); pedidos never was, and is counted exactly; views,
    // sequences and functions are never read.
    QStringList esperadas;
    for (const QString& fila : Consultar(QStringLiteral(
             "SELECT n.nspname, c.relname, CASE WHEN c.relkind IN ('r', 'p') THEN CASE WHEN "
             "c.reltuples >= 0 THEN round(c.reltuples)::bigint::text END END FROM pg_class c "
             "JOIN pg_namespace n ON n.oid = c.relnamespace WHERE c.relkind IN ('r', 'v', 'm', "
             "'f', 'p') AND n.nspname IN ('public', 'ventas') ORDER BY 1, 2")))
        esperadas << (fila.endsWith(QLatin1Char('|')) ? fila + QStringLiteral("?") : fila);
    QStringList obtenidas = Filas(*todas, {"TABLE_SCHEMA", "TABLE_NAME", "CARDINALITY"});
    ASSERT_EQ(obtenidas.size(), esperadas.size()) << obtenidas.join(QLatin1Char(' ')).toStdString();
    for (int i = 0; i < esperadas.size(); ++i) {
        if (esperadas[i].endsWith(QLatin1Char('?'))) {
            // Never analysed: an exact count of a table, nothing for anything else.
            const QString esquema = esperadas[i].section(QLatin1Char('|'), 0, 0);
            const QString nombre = esperadas[i].section(QLatin1Char('|'), 1, 1);
            const QString tipo = Consultar(QStringLiteral("SELECT relkind FROM pg_class WHERE oid "
                                                          "= '%1.\"%2\"'::regclass")
                                               .arg(esquema, nombre))
                                     .value(0);
            esperadas[i].chop(1);
            esperadas[i] +=
                tipo == QLatin1String("r")
                    ? Consultar(
                          QStringLiteral("SELECT count(*) FROM %1.\"%2\"").arg(esquema, nombre))
                          .value(0)
                    : QStringLiteral("·");
        }
    }
    EXPECT_EQ(obtenidas, esperadas);
    EXPECT_TRUE(obtenidas.contains(QStringLiteral("public|v_auditada|·")));
    EXPECT_TRUE(obtenidas.contains(QStringLiteral("public|pedidos|2")));

    const auto numeros = m_Cn->NumerosRegistros();
    EXPECT_EQ(numeros.value(CConexion::ClaveObjeto(Base(), QStringLiteral("public"),
                                                   QStringLiteral("clientes"))),
              QStringLiteral("3"));
    EXPECT_EQ(numeros.value(CConexion::ClaveObjeto(Base(), QStringLiteral("ventas"),
                                                   QStringLiteral("clientes"))),
              QStringLiteral("5"));
    EXPECT_EQ(m_Cn->NumeroRegistros(QStringLiteral("v_contador")), QString());
}

TEST_F(DialectoPostgreSQLTest, UnRolQueSoloLeeElCatalogoLlenaCadaRowset) {
    auto lector = Abrir(CadenaPostgres(Base()).replace(
        QStringLiteral("Uid=") + qEnvironmentVariable("VERONDAL_PG_USUARIO"),
        QStringLiteral("Uid=") + Lector()));
    ASSERT_TRUE(lector->Conectado());
    std::vector<PRecordset> rowsets;
    rowsets.push_back(lector->Tablas());
    rowsets.push_back(lector->Campos(QStringLiteral("clientes")));
    rowsets.push_back(lector->Indices(QStringLiteral("clientes")));
    rowsets.push_back(lector->Procedimientos());
    rowsets.push_back(lector->Relaciones());
    rowsets.push_back(lector->TiposDatos());
    rowsets.push_back(lector->CamposTodos());
    for (std::size_t i = 0; i < rowsets.size(); ++i) {
        ASSERT_TRUE(rowsets[i]) << i;
        EXPECT_GT(rowsets[i]->NumeroFilas(), 0) << i;
    }
    // The statistic needs no right on the table itself.
    EXPECT_EQ(lector->NumeroRegistros(QStringLiteral("clientes")), QStringLiteral("3"));
}

TEST_F(DialectoPostgreSQLTest, CadaCampoDiceLoQueDiceInformationSchema) {
    // Lengths, digits, nullability and defaults as the server's own catalogue gives them (a
    // generated column has no default), in one table's call and in every table's alike.
    const QStringList tablas{QStringLiteral("barra\\inversa"), QStringLiteral("clientes"),
                             QString::fromUtf8("tabla😀")};
    const QStringList esperadas = ConNulos(Consultar(
        QStringLiteral(
            "SELECT table_name, column_name, character_maximum_length, CASE WHEN is_nullable "
            "= 'YES' THEN 'true' ELSE 'false' END, column_default FROM information_schema.columns "
            "WHERE table_schema = 'public' AND "
            "table_name IN ('%1') ORDER BY table_name, ordinal_position")
            .arg(tablas.join(QStringLiteral("', '")))));
    const QStringList columnas{"TABLE_NAME", "COLUMN_NAME", "CHARACTER_MAXIMUM_LENGTH",
                               "IS_NULLABLE", "COLUMN_DEFAULT"};
    QStringList porTabla;
    for (const QString& t : tablas)
        if (auto rs = m_Cn->Campos(t))
            porTabla << FilasDonde(*rs, QStringLiteral("TABLE_SCHEMA"), QStringLiteral("public"),
                                   columnas);
    EXPECT_EQ(porTabla, esperadas);
    auto todas = m_Cn->CamposTodos();
    ASSERT_TRUE(todas);
    QStringList enTodas =
        FilasDonde(*todas, QStringLiteral("TABLE_SCHEMA"), QStringLiteral("public"), columnas);
    enTodas.removeIf([&](const QString& f) { return !tablas.contains(f.section('|', 0, 0)); });
    EXPECT_EQ(enTodas, esperadas);

    // The OLE DB number by the declared type (a boolean is one, every text-like type 130), and a
    // numeric's digits only where they are declared.
    auto rs = m_Cn->Campos(QStringLiteral("clientes"));
    ASSERT_TRUE(rs);
    EXPECT_EQ(FilasDonde(*rs, QStringLiteral("TABLE_SCHEMA"), QStringLiteral("public"),
                         {"COLUMN_NAME", "DATA_TYPE", "NUMERIC_PRECISION", "NUMERIC_SCALE"})
                  .join(QLatin1Char(' ')),
              QStringLiteral("id|3|10|· nombre|130|·|· pais|130|·|· nota|130|·|· libre|130|·|· "
                             "saldo|131|10|2 cualquiera|131|·|· alta|133|·|· activo|11|·|· "
                             "situacion|130|·|· etiquetas|130|·|· datos|130|·|· doble|3|10|· "
                             "creado|135|·|· creado_tz|135|·|·"));
    EXPECT_EQ(Consultar(QStringLiteral("SELECT numeric_precision, numeric_scale FROM "
                                       "information_schema.columns WHERE table_name = 'clientes' "
                                       "AND column_name IN ('saldo', 'cualquiera') ORDER BY 1")),
              QStringList({QStringLiteral("10|2"), QStringLiteral("|")}));
}

TEST_F(DialectoPostgreSQLTest, LosIndicesDicenSuMetodoSuFiltroYSoloSusColumnasDeClave) {
    // INCLUDE (pais) is no key column; an expression is its own text.
    auto rs = m_Cn->Indices(QStringLiteral("clientes"));
    ASSERT_TRUE(rs);
    EXPECT_EQ(FilasDonde(*rs, QStringLiteral("TABLE_SCHEMA"), QStringLiteral("public"),
                         {"INDEX_NAME", "CLUSTERED", "TYPE", "COLUMN_NAME", "FILTER_CONDITION"}),
              QStringList({"clientes_pkey|false|1|id|·", "ix_clientes_hash|false|2|nombre|·",
                           "ix_clientes_lower|false|1|lower(nombre::text)|·",
                           "ix_clientes_nombre|false|1|nombre|·",
                           "ux_clientes_pais|false|1|pais|pais IS NOT NULL",
                           "ux_clientes_pais|false|1|nombre|pais IS NOT NULL"}));
}

TEST_F(DialectoPostgreSQLTest, CadaFirmaDeUnaRutinaDiceSiEsProcedimientoOFuncion) {
    // calcular is two functions and a procedure.
    auto rs = m_Cn->Procedimientos();
    ASSERT_TRUE(rs);
    QStringList filas = FilasDonde(*rs, QStringLiteral("PROCEDURE_NAME"),
                                   QStringLiteral("calcular"), {"PROCEDURE_TYPE"});
    filas.sort();
    EXPECT_EQ(filas, QStringList({"2", "3", "3"}));
}
