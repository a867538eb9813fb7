// The recordset as the windows and the comparison use it: find by value, cursor, columns.
#include "Entorno.h"
#include "catalog/CRecordset.h"

namespace {

CRecordset Nombres(const QStringList& nombres) {
    CRecordset rs({u"TABLE_NAME"_s, u"DATA_TYPE"_s});
    int i = 0;
    for (const QString& n : nombres)
        rs.AgregarFila({n, ++i});
    return rs;
}

} // namespace

// By value: letter case aside, from the first row whatever the cursor, quotes and wildcards as
// themselves.
TEST(RecordsetTest, BuscarPrimeroTomaElValorTalCualSinMayusculasDesdeLaPrimeraFila) {
    CRecordset rs =
        Nombres({"Clientes", "o'brien", "a_b", "axb", "100%", "100x", "di\"ce", "CLIENTES"});
    rs.MoverSiguiente();
    ASSERT_TRUE(rs.BuscarPrimero(u"table_name"_s, u"clientes"_s));
    EXPECT_EQ(rs.Posicion(), 1);
    EXPECT_EQ(rs.Texto(u"TABLE_NAME"_s), u"Clientes"_s);
    for (const QString& nombre : {u"o'brien"_s, u"axb"_s, u"a_b"_s, u"100%"_s, u"di\"ce"_s}) {
        ASSERT_TRUE(rs.BuscarPrimero(u"TABLE_NAME"_s, nombre)) << nombre.toStdString();
        EXPECT_EQ(rs.Texto(u"TABLE_NAME"_s), nombre);
    }
    EXPECT_FALSE(rs.BuscarPrimero(u"TABLE_NAME"_s, u"a%"_s));
    EXPECT_FALSE(rs.BuscarPrimero(u"TABLE_NAME"_s, u"o''brien"_s));
}

// Numbers by value whatever their type; a null matches nothing.
TEST(RecordsetTest, NumerosSeComparanPorValorYUnNuloNoCoincideConNada) {
    CRecordset rs({u"DATA_TYPE"_s});
    rs.AgregarFila({QVariant(129)});
    rs.AgregarFila({QVariant(qlonglong(3))});
    rs.AgregarFila({QVariant(3.0)});
    rs.AgregarFila({QVariant()});
    rs.AgregarFila({QString()});
    ASSERT_TRUE(rs.BuscarPrimero(u"DATA_TYPE"_s, QVariant::fromValue(3L)));
    EXPECT_EQ(rs.Posicion(), 2);
    ASSERT_TRUE(rs.BuscarPrimero(u"DATA_TYPE"_s, 129.0));
    EXPECT_EQ(rs.Posicion(), 1);
    EXPECT_EQ(rs.BuscarTodos(u"DATA_TYPE"_s, 3).size(), 2u);
    EXPECT_FALSE(rs.BuscarPrimero(u"DATA_TYPE"_s, QVariant()));
    EXPECT_TRUE(CRecordset::EsNulo(rs.ValorEn(3, 0)));
}

TEST(RecordsetTest, LaBusquedaVeLosValoresCambiadosTrasElPrimerUso) {
    CRecordset rs = Nombres({"clientes", "pedidos"});
    ASSERT_TRUE(rs.BuscarPrimero(u"TABLE_NAME"_s, u"pedidos"_s));
    rs.PonerValor(1, 0, u"lineas"_s);
    EXPECT_FALSE(rs.BuscarPrimero(u"TABLE_NAME"_s, u"pedidos"_s));
    EXPECT_TRUE(rs.BuscarPrimero(u"TABLE_NAME"_s, u"LINEAS"_s));
}

TEST(RecordsetTest, UnaProyeccionGuardaSusColumnasEnOrdenConSusValores) {
    CRecordset rs({"TABLE_NAME", "X", "COLUMN_NAME", "DATA_TYPE"});
    rs.CompartirIguales();
    rs.AgregarValores(u"t1"_s, 1, u"a"_s, 3);
    rs.AgregarValores(u"t1"_s, 2, u"b"_s, QVariant());
    rs.AgregarFila({u"T2"_s, 3, u"a"_s, 5});
    rs.Proyectar({"DATA_TYPE", "TABLE_NAME", "FALTA", "COLUMN_NAME"});
    EXPECT_EQ(rs.Columnas(), QStringList({"TABLE_NAME", "COLUMN_NAME", "DATA_TYPE"}));
    EXPECT_EQ(rs.BuscarTodos(u"TABLE_NAME"_s, u"t2"_s), std::vector<std::size_t>{2});
    EXPECT_EQ(rs.ValorEn(1, 1).toString(), u"b"_s);
    EXPECT_TRUE(CRecordset::EsNulo(rs.ValorEn(1, 2)));
    EXPECT_EQ(rs.ValorEn(2, 1).toString() + rs.ValorEn(2, 2).toString(), u"a5"_s);
}

// Narrowed before it is filled, as a bulk reader asks: rows come at full width and only the kept
// columns are stored, across the storage's blocks, and a filter still sees every row.
TEST(RecordsetTest, UnaProyeccionAntesDeLlenarGuardaSoloSusColumnasEnMilesDeFilas) {
    CRecordset rs({"TABLE_NAME", "X", "COLUMN_NAME", "Y", "DATA_TYPE"});
    rs.Proyectar({"COLUMN_NAME", "TABLE_NAME", "DATA_TYPE"});
    rs.CompartirIguales();
    constexpr int kFilas = 20000;
    for (int i = 0; i < kFilas; ++i) {
        if (i % 2)
            rs.AgregarValores(u"t%1"_s.arg(i / 10), i, u"c%1"_s.arg(i % 10), QVariant(), i);
        else
            rs.AgregarFila({u"t%1"_s.arg(i / 10), i, u"c%1"_s.arg(i % 10), QVariant(), i});
    }
    EXPECT_EQ(rs.Columnas(), QStringList({"TABLE_NAME", "COLUMN_NAME", "DATA_TYPE"}));
    ASSERT_EQ(rs.NumeroFilas(), kFilas);
    EXPECT_EQ(rs.ValorEn(12345, 0).toString() + rs.ValorEn(12345, 1).toString(), u"t1234c5"_s);
    EXPECT_EQ(rs.ValorEn(kFilas - 1, 2).toInt(), kFilas - 1);
    EXPECT_EQ(rs.BuscarTodos(u"TABLE_NAME"_s, u"T1999"_s).size(), 10u);
    rs.Filtrar([&](std::size_t fila) { return rs.ValorEn(fila, 2).toInt() % 3 == 0; });
    ASSERT_EQ(rs.NumeroFilas(), (kFilas + 2) / 3);
    EXPECT_EQ(rs.ValorEn(5000, 2).toInt(), 15000);
    EXPECT_EQ(rs.ValorEn(5000, 1).toString(), u"c0"_s);
}
