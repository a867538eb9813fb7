// The table properties window over real SQLite and PostgreSQL tables: the columns, the index
// list built by key, a failed index query, the export of "Índices" and the explorer hook.
#include "AyudaPropiedades.h"
#include "controles/CBarraHerramientas.h"
#include "controles/CPestanas.h"
#include "controles/CPunteroRaton.h"
#include "controles/CVentanaMdi.h"
#include "controles/ColoresSistema.h"
#include "properties/frmPropiedadesTabla.h"
#include "properties/modPropiedades.h"

using namespace pruebas;

namespace {

class PropiedadesTablaSQLiteTest : public CPruebaSQLite {};

TEST_F(PropiedadesTablaSQLiteTest, CamposConTipoNulosYValorPredeterminado) {
    frmPropiedadesTabla frm;
    frm.Conexion(m_Id);
    frm.Tabla(QStringLiteral("lineas"));
    EXPECT_EQ(frm.windowTitle(), QStringLiteral("Propiedades de tabla: lineas"));
    // A nullable column says "Sí"; a column without a default leaves that cell empty.
    EXPECT_EQ(Filas(*frm.lvwCampos), QStringList({"pedido|integer||No|", "linea|integer||No|",
                                                  QString::fromUtf8("nota|text||Sí|"),
                                                  QString::fromUtf8("cantidad|integer||Sí|1")}));
    EXPECT_EQ(Fila(*frm.lvwCampos, QStringLiteral("nota")).section('|', 4), QString());
}

TEST_F(PropiedadesTablaSQLiteTest, UnaClavePrimariaDeDosColumnasEsUnSoloIndiceConIcono2) {
    frmPropiedadesTabla frm;
    frm.Conexion(m_Id);
    frm.Tabla(QStringLiteral("lineas"));
    EXPECT_EQ(Claves(*frm.lvwIndices), IndicesEnOrden(m_Id, QStringLiteral("lineas")));
    const QString strPk = QStringLiteral("sqlite_autoindex_lineas_1");
    EXPECT_EQ(Fila(*frm.lvwIndices, strPk),
              QString::fromUtf8("sqlite_autoindex_lineas_1|Sí|Sí|No|pedido, linea|%1|ASC")
                  .arg(TipoIndiceDe(m_Id, QStringLiteral("lineas"), strPk)));
    EXPECT_EQ(frm.lvwIndices->IconoPequeno(FilaDe(*frm.lvwIndices, strPk)), 2);
    const QString strOtro = QStringLiteral("ix_lineas_nota");
    EXPECT_EQ(Fila(*frm.lvwIndices, strOtro),
              QStringLiteral("ix_lineas_nota|No|No|No|nota, cantidad|%1|DESC")
                  .arg(TipoIndiceDe(m_Id, QStringLiteral("lineas"), strOtro)));
    EXPECT_EQ(frm.lvwIndices->IconoPequeno(FilaDe(*frm.lvwIndices, strOtro)), 3);
}

// ---------------------------------------------------------------------------------------------
// PostgreSQL: one index name in two schemas, and an index query that fails.

class PropiedadesTablaPostgresTest : public CPruebaPostgres {};

TEST_F(PropiedadesTablaPostgresTest, IndicesCuyasFilasLleganIntercaladasDanUnElementoCadaUno) {
    frmPropiedadesTabla frm;
    frm.Conexion(m_App.Agregar(QStringLiteral("Tienda"), s_Cadena));
    frm.Tabla(QStringLiteral("lineas"));
    // ix_mezcla exists in public.lineas and in ventas.lineas: its rows come apart, with
    // ix_otro's between them, and still make one item.
    const QString strId = objVerondal->Conexiones().begin()->Id();
    const auto tipo = [&](const char* szIndice) {
        return TipoIndiceDe(strId, QStringLiteral("lineas"), QLatin1String(szIndice));
    };
    QStringList strFilas;
    const QStringList strOrden = IndicesEnOrden(strId, QStringLiteral("lineas"), &strFilas);
    const auto m1 = strFilas.indexOf(QStringLiteral("ix_mezcla"));
    ASSERT_GE(m1, 0);
    ASSERT_GT(strFilas.lastIndexOf(QStringLiteral("ix_mezcla")), strFilas.indexOf("ix_otro"));
    ASSERT_LT(m1, strFilas.indexOf("ix_otro"));
    EXPECT_EQ(Claves(*frm.lvwIndices), strOrden);
    EXPECT_EQ(Fila(*frm.lvwIndices, QStringLiteral("ix_mezcla")),
              QStringLiteral("ix_mezcla|No|No|No|nota, zona|%1|ASC").arg(tipo("ix_mezcla")));
    EXPECT_EQ(Fila(*frm.lvwIndices, QStringLiteral("ix_otro")),
              QStringLiteral("ix_otro|No|No|No|cantidad|%1|ASC").arg(tipo("ix_otro")));
    EXPECT_EQ(
        Fila(*frm.lvwIndices, QStringLiteral("lineas_pkey")),
        QString::fromUtf8("lineas_pkey|Sí|Sí|No|pedido, linea|%1|ASC").arg(tipo("lineas_pkey")));
    EXPECT_EQ(frm.lvwIndices->IconoPequeno(FilaDe(*frm.lvwIndices, QStringLiteral("lineas_pkey"))),
              2);
    EXPECT_EQ(frm.lvwIndices->IconoPequeno(FilaDe(*frm.lvwIndices, QStringLiteral("ix_mezcla"))),
              3);
    EXPECT_EQ(Fila(*frm.lvwCampos, QStringLiteral("cantidad")),
              QString::fromUtf8("cantidad|int4||Sí|1"));
    EXPECT_EQ(Fila(*frm.lvwCampos, QStringLiteral("pedido")), QStringLiteral("pedido|int4||No|"));
}

TEST_F(PropiedadesTablaPostgresTest, ConSuEsquemaSoloMuestraLaTablaDeEseEsquema) {
    frmPropiedadesTabla frm;
    frm.Conexion(m_App.Agregar(QStringLiteral("Tienda"), s_Cadena));
    frm.Tabla(QStringLiteral("lineas"), QStringLiteral("ventas"));
    EXPECT_EQ(frm.windowTitle(), QStringLiteral("Propiedades de tabla: ventas.lineas"));
    EXPECT_EQ(frm.lvwCampos->NumeroElementos(), 1);
    EXPECT_EQ(Fila(*frm.lvwCampos, QStringLiteral("zona")).section(QLatin1Char('|'), 0, 0),
              QStringLiteral("zona"));
    EXPECT_EQ(Fila(*frm.lvwIndices, QStringLiteral("ix_mezcla")).section(QLatin1Char('|'), 4, 4),
              QStringLiteral("zona"));
    EXPECT_EQ(frm.lvwIndices->NumeroElementos(), 1);
}

TEST_F(PropiedadesTablaPostgresTest, UnaConsultaDeIndicesQueFallaDeshabilitaSuPestana) {
    const QString strCadena = CadenaSinCatalogo(QStringLiteral("pg_index"));
    frmPropiedadesTabla frm;
    frm.Conexion(m_App.Agregar(QStringLiteral("Lector"), strCadena));
    frm.Tabla(QStringLiteral("lineas"));
    DevolverCatalogo(QStringLiteral("pg_index"));
    EXPECT_FALSE(frm.sstPropiedadesTabla()->PestanaHabilitada(1));
    EXPECT_EQ(frm.lvwIndices->NumeroElementos(), 0);
    EXPECT_TRUE(frm.sstPropiedadesTabla()->PestanaHabilitada(0));
    EXPECT_EQ(frm.lvwCampos->NumeroElementos(), 5);
}

} // namespace
