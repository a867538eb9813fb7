// What the PostgreSQL dialect corrects in psqlodbc's answers, each value held against
// pg_catalog read directly with psql; and that no catalogue question runs user code.
#include "AyudaCatalogo.h"
#include <QCoreApplication>
#include <QRegularExpression>

using namespace pruebas;

namespace {

class DialectoPostgreSQLTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!HayPostgres())
            return;
        s_Base = std::make_unique<CBaseServidor>(CBaseServidor::Motor::Postgres, u"dial_pg"_s,
                                                 QStringList{"dialecto_postgres.sql"});
        // Every statement this database is sent goes to the server's log.
        EjecutarPostgres(u"postgres"_s,
                         u"ALTER DATABASE %1 SET log_statement = 'all';"_s.arg(Base()));
        // A role that may read the catalogue only, in a read-only session.
        EjecutarPostgres(u"postgres"_s,
                         QStringLiteral("DROP ROLE IF EXISTS %1; CREATE ROLE %1 LOGIN; ALTER ROLE "
                                        "%1 SET default_transaction_read_only = on;")
                             .arg(Lector()));
    }
    static void TearDownTestSuite() {
        if (!s_Base)
            return;
        s_Base.reset();
        EjecutarPostgres(u"postgres"_s, u"DROP ROLE IF EXISTS %1;"_s.arg(Lector()));
    }
    static QString Base() { return s_Base->Nombre(); }
    static QString Lector() { return u"lector_%1"_s.arg(QCoreApplication::applicationPid()); }
    void SetUp() override {
        REQUIERE_POSTGRES();
        ASSERT_FALSE(s_Base->Cadena().isEmpty());
        m_Cn = Abrir(s_Base->Cadena());
    }
    static QStringList Consultar(const QString& strSql) { return s_Base->Consultar(strSql); }
    static inline std::unique_ptr<CBaseServidor> s_Base;
    std::unique_ptr<CConexion> m_Cn;
};

// Every catalogue question the windows and the command line ask, on every object.
void PreguntarTodo(CConexion& cn) {
    auto tablas = cn.Tablas();
    ASSERT_TRUE(tablas);
    for (tablas->MoverPrimero(); !tablas->FinDatos(); tablas->MoverSiguiente()) {
        const QString nombre = tablas->Texto(u"TABLE_NAME"_s);
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
    const QStringList antes =
        Consultar(u"SELECT count(*), (SELECT last_value FROM contador) FROM auditoria"_s);
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
    static const QRegularExpression literal(u"'(?:[^']|'')*'"_s);
    static const QRegularExpression lectura(
        u"\\b(FROM|JOIN)\\s+(\"?public\"?\\.)?\"?v_(auditada|contador)\\b"_s,
        QRegularExpression::CaseInsensitiveOption);
    for (const QString& linea : enviadas.split(u'\n')) {
        if (linea.contains(QLatin1String("statement: ")) ||
            linea.contains(QLatin1String("execute "))) {
            EXPECT_FALSE(QString(linea).remove(literal).contains(lectura)) << linea.toStdString();
        }
    }
}

TEST_F(DialectoPostgreSQLTest, LosRecuentosSonLosDePgClassYCadaEsquemaTieneElSuyo) {
    const auto todas = m_Cn->EstadisticasTodas();
    // clientes was analysed (reltuples 3); pedidos never was, and is counted exactly; views,
    // sequences and functions are never read.
    QStringList esperadas;
    for (const QString& fila : Consultar(QStringLiteral(
             "SELECT n.nspname, c.relname, CASE WHEN c.relkind IN ('r', 'p') THEN CASE WHEN "
             "c.reltuples >= 0 THEN round(c.reltuples)::bigint::text END END FROM pg_class c "
             "JOIN pg_namespace n ON n.oid = c.relnamespace WHERE c.relkind IN ('r', 'v', 'm', "
             "'f', 'p') AND n.nspname IN ('public', 'ventas') ORDER BY 1, 2")))
        esperadas << (fila.endsWith(u'|') ? fila + u"?"_s : fila);
    QStringList obtenidas = Filas(todas, {"TABLE_SCHEMA", "TABLE_NAME", "CARDINALITY"});
    ASSERT_EQ(obtenidas.size(), esperadas.size()) << obtenidas.join(u' ').toStdString();
    for (int i = 0; i < esperadas.size(); ++i) {
        if (esperadas[i].endsWith(u'?')) {
            // Never analysed: an exact count of a table, nothing for anything else.
            const QString esquema = esperadas[i].section(u'|', 0, 0);
            const QString nombre = esperadas[i].section(u'|', 1, 1);
            const QString tipo = Consultar(QStringLiteral("SELECT relkind FROM pg_class WHERE oid "
                                                          "= '%1.\"%2\"'::regclass")
                                               .arg(esquema, nombre))
                                     .value(0);
            esperadas[i].chop(1);
            esperadas[i] +=
                tipo == QLatin1String("r")
                    ? Consultar(u"SELECT count(*) FROM %1.\"%2\""_s.arg(esquema, nombre)).value(0)
                    : u"·"_s;
        }
    }
    EXPECT_EQ(obtenidas, esperadas);
    EXPECT_TRUE(obtenidas.contains(u"public|v_auditada|·"_s));
    EXPECT_TRUE(obtenidas.contains(u"public|pedidos|2"_s));

    const auto numeros = m_Cn->NumerosRegistros();
    EXPECT_EQ(numeros.value(CConexion::ClaveObjeto(Base(), u"public"_s, u"clientes"_s)), u"3"_s);
    EXPECT_EQ(numeros.value(CConexion::ClaveObjeto(Base(), u"ventas"_s, u"clientes"_s)), u"5"_s);
    EXPECT_EQ(m_Cn->NumeroRegistros(u"v_contador"_s), QString());
}

TEST_F(DialectoPostgreSQLTest, UnRolQueSoloLeeElCatalogoLlenaCadaRowset) {
    auto lector = Abrir(QString(s_Base->Cadena())
                            .replace(u"Uid="_s + qEnvironmentVariable("VERONDAL_PG_USUARIO"),
                                     u"Uid="_s + Lector()));
    ASSERT_TRUE(lector->Conectado());
    std::vector<PRecordset> rowsets;
    rowsets.push_back(lector->Tablas());
    rowsets.push_back(lector->Campos(u"clientes"_s));
    rowsets.push_back(lector->Indices(u"clientes"_s));
    rowsets.push_back(lector->Procedimientos());
    rowsets.push_back(lector->Relaciones());
    rowsets.push_back(lector->TiposDatos());
    rowsets.push_back(lector->CamposTodos());
    for (std::size_t i = 0; i < rowsets.size(); ++i) {
        ASSERT_TRUE(rowsets[i]) << i;
        EXPECT_GT(rowsets[i]->NumeroFilas(), 0) << i;
    }
    // The statistic needs no right on the table itself.
    EXPECT_EQ(lector->NumeroRegistros(u"clientes"_s), u"3"_s);
}

TEST_F(DialectoPostgreSQLTest, CadaCampoDiceLoQueDiceInformationSchema) {
    // Lengths, digits, nullability, defaults and comments as the server's own catalogue gives
    // them (a generated column has no default), in one table's call and in every table's alike.
    const QStringList tablas{u"barra\\inversa"_s, u"clientes"_s, u"tabla😀"_s};
    const QStringList esperadas = ConNulos(Consultar(
        QStringLiteral(
            "SELECT table_name, column_name, character_maximum_length, CASE WHEN is_nullable "
            "= 'YES' THEN 'true' ELSE 'false' END, column_default, col_description(format('%I.%I', "
            "table_schema, table_name)::regclass, ordinal_position::int) FROM "
            "information_schema.columns WHERE table_schema = 'public' AND "
            "table_name IN ('%1') ORDER BY table_name, ordinal_position")
            .arg(tablas.join(u"', '"_s))));
    const QStringList columnas{"TABLE_NAME",  "COLUMN_NAME",    "CHARACTER_MAXIMUM_LENGTH",
                               "IS_NULLABLE", "COLUMN_DEFAULT", "DESCRIPTION"};
    QStringList porTabla;
    for (const QString& t : tablas)
        if (auto rs = m_Cn->Campos(t))
            porTabla << FilasDonde(*rs, u"TABLE_SCHEMA"_s, u"public"_s, columnas);
    EXPECT_EQ(porTabla, esperadas);
    QStringList enTodas = FilasDonde(m_Cn->CamposTodos(), u"TABLE_SCHEMA"_s, u"public"_s, columnas);
    enTodas.removeIf([&](const QString& f) { return !tablas.contains(f.section('|', 0, 0)); });
    EXPECT_EQ(enTodas, esperadas);

    // The OLE DB number by the declared type (a boolean is one, every text-like type 130), and a
    // numeric's digits only where they are declared.
    EXPECT_EQ(FilasDonde(m_Cn->Campos(u"clientes"_s), u"TABLE_SCHEMA"_s, u"public"_s,
                         {"COLUMN_NAME", "DATA_TYPE", "NUMERIC_PRECISION", "NUMERIC_SCALE"})
                  .join(u' '),
              QStringLiteral("id|3|10|· nombre|130|·|· pais|130|·|· nota|130|·|· libre|130|·|· "
                             "saldo|131|10|2 cualquiera|131|·|· alta|133|·|· activo|11|·|· "
                             "situacion|130|·|· etiquetas|130|·|· datos|130|·|· doble|3|10|· "
                             "creado|135|·|· creado_tz|135|·|·"));
    EXPECT_EQ(Consultar(QStringLiteral("SELECT numeric_precision, numeric_scale FROM "
                                       "information_schema.columns WHERE table_name = 'clientes' "
                                       "AND column_name IN ('saldo', 'cualquiera') ORDER BY 1")),
              QStringList({u"10|2"_s, u"|"_s}));
}

TEST_F(DialectoPostgreSQLTest, LosIndicesDicenSuMetodoSuFiltroYSoloSusColumnasDeClave) {
    // INCLUDE (pais) is no key column; an expression is its own text.
    EXPECT_EQ(FilasDonde(m_Cn->Indices(u"clientes"_s), u"TABLE_SCHEMA"_s, u"public"_s,
                         {"INDEX_NAME", "CLUSTERED", "TYPE", "COLUMN_NAME", "FILTER_CONDITION"}),
              QStringList({"clientes_pkey|false|1|id|·", "ix_clientes_hash|false|2|nombre|·",
                           "ix_clientes_lower|false|1|lower(nombre::text)|·",
                           "ix_clientes_nombre|false|1|nombre|·",
                           "ux_clientes_pais|false|1|pais|pais IS NOT NULL",
                           "ux_clientes_pais|false|1|nombre|pais IS NOT NULL"}));
}

TEST_F(DialectoPostgreSQLTest, CadaFirmaDeUnaRutinaDiceSiEsProcedimientoOFuncion) {
    // calcular is two functions and a procedure.
    QStringList filas =
        FilasDonde(m_Cn->Procedimientos(), u"PROCEDURE_NAME"_s, u"calcular"_s, {"PROCEDURE_TYPE"});
    filas.sort();
    EXPECT_EQ(filas, QStringList({"2", "3", "3"}));
}
