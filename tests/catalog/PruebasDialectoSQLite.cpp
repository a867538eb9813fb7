// What the SQLite dialect corrects in the SQLite3 driver's answers, each value held against
// SQLite's own catalogue (sqlite_master and its pragmas) read through the sqlite3 client.
#include "AyudaCatalogo.h"

using namespace pruebas;

namespace {

class DialectoSQLiteTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_Ruta = CarpetaTemporal() + u"/dialecto.sqlite"_s;
        s_Cadena = CrearBaseSQLite(s_Ruta, Fixture(u"dialecto_sqlite.sql"_s));
    }
    void SetUp() override {
        ASSERT_FALSE(s_Cadena.isEmpty());
        m_Cn = Abrir(s_Cadena);
    }
    static QStringList Consultar(const QString& strSql) { return ConsultarSQLite(s_Ruta, strSql); }
    static QString s_Ruta, s_Cadena;
    std::unique_ptr<CConexion> m_Cn;
};
QString DialectoSQLiteTest::s_Ruta, DialectoSQLiteTest::s_Cadena;

} // namespace

TEST_F(DialectoSQLiteTest, SoloLasTablasBaseSeCuentanYCadaFilaCoincideConSuRecuento) {
    // A view would run its query and a virtual table its module: neither is read.
    QStringList esperadas;
    for (const QString& fila :
         Consultar(QStringLiteral("SELECT name, type = 'table' AND sql NOT LIKE 'CREATE "
                                  "VIRTUAL%' FROM sqlite_master WHERE type IN ('table', "
                                  "'view') ORDER BY name"))) {
        const QString nombre = fila.section(u'|', 0, -2);
        const bool base = fila.section(u'|', -1) == QLatin1String("1");
        const QString cuenta =
            base ? Consultar(u"SELECT count(*) FROM \"%1\""_s.arg(nombre)).value(0) : u"·"_s;
        esperadas << nombre + u'|' + cuenta;
    }
    QStringList obtenidas = Filas(m_Cn->EstadisticasTodas(), {"TABLE_NAME", "CARDINALITY"});
    obtenidas.sort();
    esperadas.sort();
    EXPECT_EQ(obtenidas, esperadas);
    EXPECT_TRUE(esperadas.contains(u"v_clientes|·"_s));
    EXPECT_TRUE(esperadas.contains(u"textos|·"_s));

    EXPECT_EQ(m_Cn->NumeroRegistros(u"clientes"_s), u"3"_s);
    EXPECT_EQ(m_Cn->NumeroRegistros(u"v_clientes"_s), QString());
    EXPECT_EQ(m_Cn->NumeroRegistros(u"textos"_s), QString());
    EXPECT_EQ(m_Cn->NumeroRegistros(u"tabla😀"_s), u"2"_s);
    EXPECT_EQ(m_Cn->NumerosRegistros().value(
                  CConexion::ClaveObjeto(QVariant(), QVariant(), u"pedidos"_s)),
              u"2"_s);
}

TEST_F(DialectoSQLiteTest, CadaCampoDiceLoQueDicenLasListasDeLaBase) {
    // Defaults with their quotes (DEFAULT 'NULL' is a text), generated columns in their place
    // and without a default, and a name outside the BMP found, in one call and in the bulk one.
    const QStringList tablas{u"barra\\inversa"_s, u"clientes"_s, u"tabla😀"_s};
    const QStringList esperadas = ConNulos(Consultar(
        QStringLiteral("SELECT m.name, p.name, CASE WHEN p.hidden = 0 THEN p.dflt_value END, "
                       "CASE WHEN p.\"notnull\" OR p.pk THEN 'false' ELSE 'true' END FROM "
                       "sqlite_master AS m, pragma_table_xinfo(m.name) AS p WHERE m.name "
                       "IN ('%1') ORDER BY m.name, p.cid")
            .arg(tablas.join(u"', '"_s))));
    const QStringList columnas{"TABLE_NAME", "COLUMN_NAME", "COLUMN_DEFAULT", "IS_NULLABLE"};
    QStringList porTabla;
    for (const QString& t : tablas)
        if (auto rs = m_Cn->Campos(t))
            porTabla << Filas(*rs, columnas);
    EXPECT_EQ(porTabla, esperadas);
    // The bulk read describes every column as one table's read does, whatever the table's name,
    // and a generated column like any column of its declared type.
    const QStringList descripcion =
        columnas + QStringList{"DATA_TYPE", "CHARACTER_MAXIMUM_LENGTH", "NUMERIC_PRECISION",
                               "NUMERIC_SCALE", "TYPE_NAME"};
    const QStringList todas = tablas + QStringList{u"etiquetas"_s, u"notas WITHOUT ROWID"_s};
    QStringList unaPorUna, enTodas = Filas(m_Cn->CamposTodos(), descripcion);
    for (const QString& t : todas)
        unaPorUna << Filas(m_Cn->Campos(t), descripcion);
    enTodas.removeIf([&](const QString& f) { return !todas.contains(f.section('|', 0, 0)); });
    enTodas.sort();
    unaPorUna.sort();
    EXPECT_EQ(enTodas, unaPorUna);
    const QStringList precisiones = Filas(m_Cn->Campos(u"clientes"_s), {"NUMERIC_PRECISION"});
    EXPECT_EQ(precisiones.value(0), precisiones.value(7)); // id INTEGER, doble INTEGER generated

    // Every text is Unicode; a length only where one is declared.
    EXPECT_EQ(
        Filas(m_Cn->Campos(u"clientes"_s), {"COLUMN_NAME", "DATA_TYPE", "CHARACTER_MAXIMUM_LENGTH"})
            .join(u' '),
        QStringLiteral("id|3|· nombre|130|40 pais|130|2 nota|130|· saldo|131|· alta|133|· "
                       "activo|11|· doble|3|· etiqueta|130|·"));
}

TEST_F(DialectoSQLiteTest, LosIndicesDicenSuFiltroSuExpresionYQueClaveOrdenaLaTabla) {
    // A rowid key and a WITHOUT ROWID table's key order the rows; the rest is in the statement.
    const QStringList columnas{"INDEX_NAME", "CLUSTERED", "COLUMN_NAME", "FILTER_CONDITION"};
    const QStringList tablas{"clientes", "pedidos", "notas WITHOUT ROWID"};
    QStringList filas;
    for (const QString& t : tablas)
        filas << Filas(m_Cn->Indices(t), columnas);
    // The bulk read says the same of each table.
    QStringList enTodas = Filas(m_Cn->IndicesTodos(), QStringList{"TABLE_NAME"} + columnas);
    enTodas.removeIf([&](const QString& f) { return !tablas.contains(f.section('|', 0, 0)); });
    for (QString& f : enTodas)
        f = f.section('|', 1);
    EXPECT_EQ(enTodas.size(), filas.size());
    for (const QString& f : filas)
        EXPECT_TRUE(enTodas.contains(f)) << f.toStdString();
    EXPECT_EQ(
        filas,
        QStringList({"sqlite_autoindex_0|true|id|·", "ux_clientes_pais|false|pais|pais IS NOT NULL",
                     "ux_clientes_pais|false|nombre|pais IS NOT NULL",
                     "ix_clientes_lower|false|lower(nombre)|·", "ix_clientes_nombre|false|nombre|·",
                     "sqlite_autoindex_pedidos_1|true|id|·",
                     "sqlite_autoindex_notas WITHOUT ROWID_1|false|k|·"}));
    EXPECT_EQ(Filas(m_Cn->Campos(u"notas WITHOUT ROWID"_s), {"COLUMN_NAME", "IS_NULLABLE"}),
              QStringList({"k|true", "v|true"}));
    EXPECT_EQ(Filas(m_Cn->Campos(u"etiquetas"_s), {"COLUMN_NAME", "IS_NULLABLE"}),
              QStringList({"nombre|false", "color|true"}));
}
