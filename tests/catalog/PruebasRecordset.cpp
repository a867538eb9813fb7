// The recordset as the windows and the comparison use it: find by value, cursor, columns.
#include "catalog/CRecordset.h"

#include <gtest/gtest.h>

namespace {

CRecordset Nombres(const QStringList& nombres) {
    CRecordset rs({QStringLiteral("TABLE_NAME"), QStringLiteral("DATA_TYPE")});
    int i = 0;
    for (const QString& n : nombres)
        rs.AgregarFila({n, ++i});
    return rs;
}

} // namespace

TEST(RecordsetTest, BuscarPrimeroIgnoraMayusculasYSeQuedaEnLaPrimeraFilaQueCoincide) {
    CRecordset rs = Nombres({"Clientes", "pedidos", "CLIENTES", "clientes"});
    rs.MoverSiguiente();
    rs.MoverSiguiente();
    rs.MoverSiguiente();
    ASSERT_TRUE(rs.BuscarPrimero(QStringLiteral("table_name"), QStringLiteral("clientes")));
    EXPECT_EQ(rs.Posicion(), 1);
    EXPECT_EQ(rs.Texto(QStringLiteral("TABLE_NAME")), QStringLiteral("Clientes"));
}

TEST(RecordsetTest, BuscarPrimeroTomaElValorTalCualConComillasYComodines) {
    CRecordset rs = Nombres({"o'brien", "a_b", "axb", "100%", "100x", "di\"ce"});
    for (const QString& nombre :
         {QStringLiteral("o'brien"), QStringLiteral("axb"), QStringLiteral("a_b"),
          QStringLiteral("100%"), QStringLiteral("di\"ce")}) {
        ASSERT_TRUE(rs.BuscarPrimero(QStringLiteral("TABLE_NAME"), nombre)) << nombre.toStdString();
        EXPECT_EQ(rs.Texto(QStringLiteral("TABLE_NAME")), nombre);
    }
    EXPECT_FALSE(rs.BuscarPrimero(QStringLiteral("TABLE_NAME"), QStringLiteral("a%")));
    EXPECT_FALSE(rs.BuscarPrimero(QStringLiteral("TABLE_NAME"), QStringLiteral("o''brien")));
}

TEST(RecordsetTest, NumerosSeComparanPorValorSeaCualSeaSuTipo) {
    CRecordset rs({QStringLiteral("DATA_TYPE")});
    rs.AgregarFila({QVariant(129)});
    rs.AgregarFila({QVariant(qlonglong(3))});
    rs.AgregarFila({QVariant(3.0)});
    ASSERT_TRUE(rs.BuscarPrimero(QStringLiteral("DATA_TYPE"), QVariant::fromValue(3L)));
    EXPECT_EQ(rs.Posicion(), 2);
    ASSERT_TRUE(rs.BuscarPrimero(QStringLiteral("DATA_TYPE"), 129.0));
    EXPECT_EQ(rs.Posicion(), 1);
    EXPECT_EQ(rs.BuscarTodos(QStringLiteral("DATA_TYPE"), 3).size(), 2u);
}

TEST(RecordsetTest, UnNuloNoCoincideConNada) {
    CRecordset rs({QStringLiteral("COLUMN_DEFAULT")});
    rs.AgregarFila({QVariant()});
    rs.AgregarFila({QString()});
    EXPECT_FALSE(rs.BuscarPrimero(QStringLiteral("COLUMN_DEFAULT"), QVariant()));
    EXPECT_TRUE(rs.EsNulo(QStringLiteral("COLUMN_DEFAULT")));
}

TEST(RecordsetTest, LaBusquedaVeLosValoresCambiadosTrasElPrimerUso) {
    CRecordset rs = Nombres({"clientes", "pedidos"});
    ASSERT_TRUE(rs.BuscarPrimero(QStringLiteral("TABLE_NAME"), QStringLiteral("pedidos")));
    rs.PonerValor(1, 0, QStringLiteral("lineas"));
    EXPECT_FALSE(rs.BuscarPrimero(QStringLiteral("TABLE_NAME"), QStringLiteral("pedidos")));
    EXPECT_TRUE(rs.BuscarPrimero(QStringLiteral("TABLE_NAME"), QStringLiteral("LINEAS")));
}

TEST(RecordsetTest, UnaProyeccionGuardaSusColumnasEnOrdenConSusValores) {
    CRecordset rs({"TABLE_NAME", "X", "COLUMN_NAME", "DATA_TYPE"});
    rs.CompartirIguales();
    rs.AgregarValores(QStringLiteral("t1"), 1, QStringLiteral("a"), 3);
    rs.AgregarValores(QStringLiteral("t1"), 2, QStringLiteral("b"), QVariant());
    rs.AgregarFila({QStringLiteral("T2"), 3, QStringLiteral("a"), 5});
    rs.Proyectar({"DATA_TYPE", "TABLE_NAME", "FALTA", "COLUMN_NAME"});
    EXPECT_EQ(rs.Columnas(), QStringList({"TABLE_NAME", "COLUMN_NAME", "DATA_TYPE"}));
    EXPECT_EQ(rs.BuscarTodos(QStringLiteral("TABLE_NAME"), QStringLiteral("t2")),
              std::vector<std::size_t>{2});
    EXPECT_EQ(rs.ValorEn(1, 1).toString(), QStringLiteral("b"));
    EXPECT_TRUE(CRecordset::EsNulo(rs.ValorEn(1, 2)));
    EXPECT_EQ(rs.ValorEn(2, 1).toString() + rs.ValorEn(2, 2).toString(), QStringLiteral("a5"));
}
