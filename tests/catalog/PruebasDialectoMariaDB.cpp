// What the MariaDB dialect corrects in Connector/ODBC's answers, each value held against
// information_schema read directly with the mariadb client; and that no catalogue question
// runs user code.
#include "AyudaCatalogo.h"
#include <QRegularExpression>

using namespace pruebas;

namespace {

class DialectoMariaDBTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (HayMariaDB())
            s_Base = std::make_unique<CBaseServidor>(CBaseServidor::Motor::MariaDB, u"dial_mdb"_s,
                                                     QStringList{"dialecto_mariadb.sql"});
    }
    static void TearDownTestSuite() { s_Base.reset(); }
    void SetUp() override {
        REQUIERE_MARIADB();
        ASSERT_FALSE(s_Base->Cadena().isEmpty());
        m_Cn = Abrir(s_Base->Cadena());
    }
    static QStringList Consultar(const QString& strSql) { return s_Base->Consultar(strSql); }
    static inline std::unique_ptr<CBaseServidor> s_Base;
    std::unique_ptr<CConexion> m_Cn;
};

} // namespace

TEST_F(DialectoMariaDBTest, LosRecuentosSonTableRowsYNingunaVistaSeLee) {
    const QStringList antes = Consultar(u"SELECT COUNT(*) FROM auditoria"_s);
    auto tablas = m_Cn->Tablas();
    ASSERT_TRUE(tablas);
    for (tablas->MoverPrimero(); !tablas->FinDatos(); tablas->MoverSiguiente()) {
        const QString nombre = tablas->Texto(u"TABLE_NAME"_s);
        m_Cn->Campos(nombre);
        m_Cn->Indices(nombre);
        m_Cn->NumeroRegistros(nombre);
    }
    auto todas = m_Cn->EstadisticasTodas();
    m_Cn->CamposTodos();
    m_Cn->Procedimientos();
    m_Cn->Relaciones();
    EXPECT_EQ(Consultar(u"SELECT COUNT(*) FROM auditoria"_s), antes);

    // Names that differ only in case tie under the server's collation: compared as sets.
    QStringList obtenidas = Filas(todas, {"TABLE_NAME", "CARDINALITY"});
    QStringList esperadas = Consultar(
        QStringLiteral("SELECT TABLE_NAME, IF(TABLE_TYPE = 'BASE TABLE', TABLE_ROWS, NULL) FROM "
                       "information_schema.TABLES WHERE TABLE_SCHEMA = DATABASE()"));
    obtenidas.sort();
    esperadas.sort();
    EXPECT_EQ(obtenidas, esperadas);
    EXPECT_EQ(m_Cn->NumeroRegistros(u"v_auditada"_s), QString());
    EXPECT_EQ(m_Cn->NumeroRegistros(u"memoria"_s), u"4"_s);
    EXPECT_EQ(m_Cn->NumeroRegistros(u"clientes"_s), u"3"_s);
}

TEST_F(DialectoMariaDBTest, CadaCampoDiceLoQueDiceInformationSchema) {
    // Lengths and nullability as the server says; an unsigned integer has its own number.
    const QStringList esperadas = Consultar(QStringLiteral(
        "SELECT COLUMN_NAME, CHARACTER_MAXIMUM_LENGTH, IF(IS_NULLABLE = 'YES', 'true', 'false'), "
        "CASE WHEN COLUMN_TYPE LIKE '%unsigned' THEN CASE DATA_TYPE WHEN 'tinyint' THEN 17 WHEN "
        "'smallint' THEN 18 WHEN 'bigint' THEN 21 ELSE 19 END ELSE '-' END FROM "
        "information_schema.COLUMNS WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = 'clientes' "
        "ORDER BY ORDINAL_POSITION"));
    QStringList obtenidas;
    for (QString f : Filas(m_Cn->Campos(u"clientes"_s), {"COLUMN_NAME", "CHARACTER_MAXIMUM_LENGTH",
                                                         "IS_NULLABLE", "DATA_TYPE"})) {
        const QString tipo = f.section(u'|', -1);
        f.chop(tipo.size());
        obtenidas << f + (QStringList{"17", "18", "19", "21"}.contains(tipo) ? tipo : "-");
    }
    EXPECT_EQ(obtenidas, esperadas);
    EXPECT_EQ(esperadas.filter(QRegularExpression(u"\\|1[789]$|\\|21$"_s)).size(), 5);
}

TEST_F(DialectoMariaDBTest, LosIndicesDicenSuTipoYQueInnoDbOrdenaPorLaClavePrimaria) {
    QStringList filas;
    // category's index once, though `Category` ties with it under the server's collation.
    for (const char* t : {"clientes", "memoria", "category"})
        if (auto rs = m_Cn->Indices(QString::fromLatin1(t)))
            filas << Filas(*rs, {"INDEX_NAME", "CLUSTERED", "TYPE", "COLUMN_NAME"});
    EXPECT_EQ(filas,
              QStringList({"PRIMARY|true|1|id", "ux_clientes_pais|false|1|pais",
                           "ux_clientes_pais|false|1|nombre", "ix_clientes_nombre|false|1|nombre",
                           "ix_memoria_k|false|2|k", "ix_category_a|false|1|a"}));
}

TEST_F(DialectoMariaDBTest, LasTablasSinFechasSonLasMismasFilasSinFechas) {
    const auto con = m_Cn->Tablas();
    const auto sin = m_Cn->TablasSinFechas();
    ASSERT_TRUE(con && sin);
    const QStringList columnas{"TABLE_CATALOG", "TABLE_SCHEMA", "TABLE_NAME", "TABLE_TYPE",
                               "DESCRIPTION"};
    EXPECT_EQ(Filas(*sin, columnas), Filas(*con, columnas));
    EXPECT_EQ(Filas(*sin, {"DATE_CREATED", "DATE_MODIFIED"}),
              QStringList(sin->NumeroFilas(), u"·|·"_s));
}
