// The table properties window over real SQLite and PostgreSQL tables: the columns, the index
// list built by key, a failed index query, the export of "Índices" and the explorer hook.
#include "AyudaPropiedades.h"
#include "app/controles/CBarraHerramientas.h"
#include "app/controles/CPestanas.h"
#include "app/controles/CPunteroRaton.h"
#include "app/controles/CVentanaMdi.h"
#include "app/controles/ColoresSistema.h"
#include "properties/frmPropiedadesTabla.h"
#include "properties/modPropiedades.h"

#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QRegularExpression>

using namespace pruebas;

namespace {

class PropiedadesTablaSQLiteTest : public CPruebaSQLite {};

TEST_F(PropiedadesTablaSQLiteTest, DosPestanasConSusColumnas) {
    frmPropiedadesTabla frm;
    EXPECT_EQ(frm.windowTitle(), QStringLiteral("Propiedades de tabla"));
    ASSERT_EQ(frm.sstPropiedadesTabla()->count(), 2);
    EXPECT_EQ(frm.sstPropiedadesTabla()->TituloPestana(0), QStringLiteral("Campos"));
    EXPECT_EQ(frm.sstPropiedadesTabla()->TituloPestana(1), QString::fromUtf8("Índices"));
    EXPECT_EQ(frm.lvwCampos->objectName(), QStringLiteral("lvwCampos"));
    EXPECT_EQ(frm.lvwIndices->objectName(), QStringLiteral("lvwIndices"));
    EXPECT_EQ(frm.NombreExportacion(0), QStringLiteral("Campos"));
    EXPECT_EQ(frm.NombreExportacion(1), QString::fromUtf8("Índices"));

    EXPECT_EQ(Titulos(*frm.lvwCampos),
              QStringList({"Nombre", "Tipo de dato", QString::fromUtf8("Tamaño"), "Admite nulos",
                           "Valor predeterminado"}));
    EXPECT_EQ(Titulos(*frm.lvwIndices),
              QStringList({"Nombre", "Primario", QString::fromUtf8("Único"), "Agrupado", "Columnas",
                           "Tipo", QString::fromUtf8("Ordenación")}));
    const QList<int> anchosCampos{120, 73, 50, 73, 87};
    const QList<int> anchosIndices{133, 50, 39, 59, 93, 73, 67};
    const QList<bool> centroCampos{false, false, true, true, true};
    const QList<bool> centroIndices{false, true, true, true, false, false, true};
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(frm.lvwCampos->AnchoColumna(c), anchosCampos[c]) << c;
        EXPECT_EQ(bool(frm.lvwCampos->AlineacionColumna(c) & Qt::AlignHCenter), centroCampos[c]);
    }
    for (int c = 0; c < 7; ++c) {
        EXPECT_EQ(frm.lvwIndices->AnchoColumna(c), anchosIndices[c]) << c;
        EXPECT_EQ(bool(frm.lvwIndices->AlineacionColumna(c) & Qt::AlignHCenter), centroIndices[c]);
    }
}

TEST_F(PropiedadesTablaSQLiteTest, CamposConTipoNulosYValorPredeterminado) {
    frmPropiedadesTabla frm;
    frm.Conexion(m_Id);
    frm.Tabla(QStringLiteral("lineas"));
    EXPECT_EQ(frm.windowTitle(), QStringLiteral("Propiedades de tabla: lineas"));
    // A nullable column says "Sí"; a column without a default leaves that cell empty.
    EXPECT_EQ(Filas(*frm.lvwCampos), QStringList({"pedido|integer||No|", "linea|integer||No|",
                                                  QString::fromUtf8("nota|text||Sí|"),
                                                  QString::fromUtf8("cantidad|integer||Sí|1")}));
    EXPECT_EQ(frm.lvwCampos->IconoPequeno(0), 1);
    EXPECT_EQ(frm.lvwCampos->Color(0), Color::TextoVentana);
    EXPECT_EQ(Fila(*frm.lvwCampos, QStringLiteral("nota")).section('|', 4), QString());
}

TEST_F(PropiedadesTablaSQLiteTest, UnaClavePrimariaDeDosColumnasEsUnSoloIndiceConIcono2) {
    frmPropiedadesTabla frm;
    frm.Conexion(m_Id);
    frm.Tabla(QStringLiteral("lineas"));
    EXPECT_EQ(
        Filas(*frm.lvwIndices),
        QStringList({"ix_lineas_nota|No|No|No|nota, cantidad|(desconocido)|DESC",
                     QString::fromUtf8(
                         "sqlite_autoindex_lineas_1|Sí|Sí|No|pedido, linea|(desconocido)|ASC")}));
    EXPECT_EQ(frm.lvwIndices->IconoGrande(0), 3);
    EXPECT_EQ(frm.lvwIndices->IconoPequeno(0), 3);
    EXPECT_EQ(frm.lvwIndices->IconoGrande(1), 2);
    EXPECT_EQ(frm.lvwIndices->IconoPequeno(1), 2);
    EXPECT_EQ(frm.lvwIndices->Clave(1), QStringLiteral("sqlite_autoindex_lineas_1"));
}

TEST_F(PropiedadesTablaSQLiteTest, UnaTablaQueNoExisteDejaLasListasVaciasYLosIndicesHabilitados) {
    frmPropiedadesTabla frm;
    frm.Conexion(m_Id);
    frm.Tabla(QStringLiteral("no_existe"));
    EXPECT_EQ(frm.lvwCampos->NumeroElementos(), 0);
    EXPECT_EQ(frm.lvwIndices->NumeroElementos(), 0);
    EXPECT_TRUE(frm.sstPropiedadesTabla()->PestanaHabilitada(1));
}

TEST_F(PropiedadesTablaSQLiteTest, LosIndicesSeExportanComoIndices) {
    CDialogosGuion guion;
    const QString strRuta = CarpetaTemporal() + QStringLiteral("/indices.xml");
    guion.rutas.push_back(strRuta);
    frmPropiedadesTabla frm;
    frm.Conexion(m_Id);
    frm.Tabla(QStringLiteral("lineas"));
    frm.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frm));
    frm.sstPropiedadesTabla()->SeleccionarPestana(1);
    CRespuestaFormato formato(2);
    QTest::mouseClick(frm.Barra()->Control(QStringLiteral("exp")), Qt::LeftButton);
    ASSERT_TRUE(formato.booVisto);
    const CXmlExportado x = LeerXml(strRuta);
    EXPECT_EQ(x.strRaiz, QString::fromUtf8("Índices"));
    EXPECT_EQ(x.strFilas, Filas(*frm.lvwIndices));
}

TEST_F(PropiedadesTablaSQLiteTest, AmbasListasSeExportanEnLosCincoFormatos) {
    CDialogosGuion guion;
    frmPropiedadesTabla frm;
    frm.Conexion(m_Id);
    frm.Tabla(QStringLiteral("clientes"));
    frm.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frm));
    ExportarEnLosCincoFormatos(frm, guion, QStringLiteral("tabla"));
    EXPECT_EQ(guion.abiertos.size(), 4);
}

TEST_F(PropiedadesTablaSQLiteTest, ElExploradorAbreUnaVentanaNuevaPorClicYDevuelveElPuntero) {
    CVentanaMdi principal;
    principal.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&principal));
    objVerondal->Conexiones().Item(m_Id).Desconectar(); // as after a rebuild of the tree
    QPointer<frmPropiedadesTabla> a = MostrarPropiedadesTabla(m_Id, QStringLiteral("lineas"));
    QPointer<frmPropiedadesTabla> b = MostrarPropiedadesTabla(m_Id, QStringLiteral("lineas"));
    ASSERT_TRUE(a && b);
    EXPECT_NE(a.data(), b.data());
    EXPECT_EQ(principal.Area()->subWindowList().size(), 2);
    EXPECT_TRUE(a->isVisible());
    EXPECT_EQ(a->windowTitle(), QStringLiteral("Propiedades de tabla: lineas"));
    EXPECT_EQ(Filas(*a->lvwIndices), Filas(*b->lvwIndices));
    EXPECT_EQ(a->lvwCampos->NumeroElementos(), 4);
    EXPECT_EQ(a->ClaveConexion(), m_Id);
    EXPECT_EQ(PunteroActual(), Puntero::Predeterminado);
}

// ---------------------------------------------------------------------------------------------
// PostgreSQL: one index name in two schemas, and an index query that fails.

class PropiedadesTablaPostgresTest : public CPruebaPostgres {};

TEST_F(PropiedadesTablaPostgresTest, IndicesCuyasFilasLleganIntercaladasDanUnElementoCadaUno) {
    frmPropiedadesTabla frm;
    frm.Conexion(m_App.Agregar(QStringLiteral("Tienda"), s_Cadena));
    frm.Tabla(QStringLiteral("lineas"));
    // public.lineas gives lineas_pkey, ix_mezcla and ix_otro; ventas.lineas then gives another
    // ix_mezcla row, which joins the item of that name.
    EXPECT_EQ(
        Filas(*frm.lvwIndices),
        QStringList({QString::fromUtf8("lineas_pkey|Sí|Sí|No|pedido, linea|(desconocido)|ASC"),
                     "ix_mezcla|No|No|No|nota, zona|(desconocido)|ASC",
                     "ix_otro|No|No|No|cantidad|(desconocido)|ASC"}));
    EXPECT_EQ(frm.lvwIndices->IconoPequeno(0), 2);
    EXPECT_EQ(frm.lvwIndices->IconoPequeno(1), 3);
    EXPECT_EQ(Fila(*frm.lvwCampos, QStringLiteral("cantidad")),
              QString::fromUtf8("cantidad|int4||Sí|1"));
    EXPECT_EQ(Fila(*frm.lvwCampos, QStringLiteral("pedido")), QStringLiteral("pedido|int4||No|"));
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
