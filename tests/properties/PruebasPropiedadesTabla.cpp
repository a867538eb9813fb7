// The table properties window over real PostgreSQL tables: the columns, the index list built by
// key from rows of two schemas, one schema's table, a failed index query. (SQLite's table opens
// from the explorer in its own test.)
#include "AyudaPropiedades.h"
#include "properties/frmPropiedadesTabla.h"

using namespace pruebas;

namespace {

// ---------------------------------------------------------------------------------------------
// PostgreSQL: one index name in two schemas, and an index query that fails.

class PropiedadesTablaPostgresTest : public CPruebaPostgres {};

TEST_F(PropiedadesTablaPostgresTest, IndicesCuyasFilasLleganIntercaladasDanUnElementoCadaUno) {
    frmPropiedadesTabla frm;
    frm.Conexion(m_App.Agregar(u"Tienda"_s, s_Cadena));
    frm.Tabla(u"lineas"_s);
    // ix_mezcla exists in public.lineas and in ventas.lineas: its rows come apart, with
    // ix_otro's between them, and still make one item.
    const QString strId = objVerondal->Conexiones().begin()->Id();
    const auto tipo = [&](const char* szIndice) {
        return TipoIndiceDe(strId, u"lineas"_s, QLatin1String(szIndice));
    };
    QStringList strFilas;
    const QStringList strOrden = IndicesEnOrden(strId, u"lineas"_s, &strFilas);
    const auto m1 = strFilas.indexOf(u"ix_mezcla"_s);
    ASSERT_GE(m1, 0);
    ASSERT_GT(strFilas.lastIndexOf(u"ix_mezcla"_s), strFilas.indexOf("ix_otro"));
    ASSERT_LT(m1, strFilas.indexOf("ix_otro"));
    EXPECT_EQ(Claves(*frm.lvwIndices), strOrden);
    EXPECT_EQ(Fila(*frm.lvwIndices, u"ix_mezcla"_s),
              u"ix_mezcla|No|No|No|nota, zona|%1|ASC"_s.arg(tipo("ix_mezcla")));
    EXPECT_EQ(Fila(*frm.lvwIndices, u"ix_otro"_s),
              u"ix_otro|No|No|No|cantidad|%1|ASC"_s.arg(tipo("ix_otro")));
    EXPECT_EQ(Fila(*frm.lvwIndices, u"lineas_pkey"_s),
              u"lineas_pkey|Sí|Sí|No|pedido, linea|%1|ASC"_s.arg(tipo("lineas_pkey")));
    EXPECT_EQ(frm.lvwIndices->IconoPequeno(FilaDe(*frm.lvwIndices, u"lineas_pkey"_s)), 2);
    EXPECT_EQ(frm.lvwIndices->IconoPequeno(FilaDe(*frm.lvwIndices, u"ix_mezcla"_s)), 3);
    EXPECT_EQ(Fila(*frm.lvwCampos, u"cantidad"_s), u"cantidad|int4||Sí|1"_s);
    EXPECT_EQ(Fila(*frm.lvwCampos, u"pedido"_s), u"pedido|int4||No|"_s);
}

TEST_F(PropiedadesTablaPostgresTest, ConSuEsquemaSoloMuestraLaTablaDeEseEsquema) {
    frmPropiedadesTabla frm;
    frm.Conexion(m_App.Agregar(u"Tienda"_s, s_Cadena));
    frm.Tabla(u"lineas"_s, u"ventas"_s);
    EXPECT_EQ(frm.windowTitle(), u"Propiedades de tabla: ventas.lineas"_s);
    EXPECT_EQ(frm.lvwCampos->NumeroElementos(), 1);
    EXPECT_EQ(Fila(*frm.lvwCampos, u"zona"_s).section(u'|', 0, 0), u"zona"_s);
    EXPECT_EQ(Fila(*frm.lvwIndices, u"ix_mezcla"_s).section(u'|', 4, 4), u"zona"_s);
    EXPECT_EQ(frm.lvwIndices->NumeroElementos(), 1);
}

TEST_F(PropiedadesTablaPostgresTest, UnaConsultaDeIndicesQueFallaDeshabilitaSuPestana) {
    const QString strCadena = CadenaSinCatalogo(u"pg_index"_s);
    frmPropiedadesTabla frm;
    frm.Conexion(m_App.Agregar(u"Lector"_s, strCadena));
    frm.Tabla(u"lineas"_s);
    DevolverCatalogo(u"pg_index"_s);
    EXPECT_FALSE(frm.sstPropiedadesTabla()->PestanaHabilitada(1));
    EXPECT_EQ(frm.lvwIndices->NumeroElementos(), 0);
    EXPECT_TRUE(frm.sstPropiedadesTabla()->PestanaHabilitada(0));
    EXPECT_EQ(frm.lvwCampos->NumeroElementos(), 5);
}

} // namespace
