// The connection properties window over real SQLite and PostgreSQL catalogues: its seven lists,
// the tabs of failed queries, the row-count progress, the export of a tab, and the explorer hook.
#include "AyudaPropiedades.h"
#include "controles/CBarraEstado.h"
#include "controles/CBarraHerramientas.h"
#include "controles/CPestanas.h"
#include "controles/CPunteroRaton.h"
#include "controles/CVentanaMdi.h"
#include "controles/ColoresSistema.h"
#include "properties/frmPropiedadesConexion.h"
#include "properties/modPropiedades.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QPointer>
#include <QRegularExpression>

using namespace pruebas;

namespace {

// ---------------------------------------------------------------------------------------------
// SQLite: every tab filled from a real file.

class PropiedadesConexionSQLiteTest : public CPruebaSQLite {};

TEST_F(PropiedadesConexionSQLiteTest, ElTituloNombraLaConexionUnaVezEstablecida) {
    frmPropiedadesConexion frm;
    EXPECT_EQ(frm.windowTitle(), QString::fromUtf8("Propiedades de conexión"));
    frm.Conexion(m_Id);
    EXPECT_EQ(frm.windowTitle(), QString::fromUtf8("Propiedades de conexión: Ventas"));
    EXPECT_EQ(frm.ClaveConexion(), m_Id);
}

TEST_F(PropiedadesConexionSQLiteTest, SietePestanasConSusListasColumnasYNombresDeExportacion) {
    frmPropiedadesConexion frm;
    const QStringList titulos{
        QString::fromUtf8("Conexión"), "Tablas",   "Procedimientos", "Relaciones", "Tipos de datos",
        "Palabras reservadas",         "Literales"};
    const QStringList exportacion{"Propiedades", "Tablas",       "Procedimientos",
                                  "Relaciones",  "TiposDeDatos", "PalabrasReservadas",
                                  "Literales"};
    ASSERT_EQ(frm.sstPropiedades()->count(), 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(frm.sstPropiedades()->TituloPestana(i), titulos[i]);
        EXPECT_EQ(frm.NombreExportacion(i), exportacion[i]);
    }

    // Column titles as the user reads them; alignment where it is not the default left.
    const std::vector<const char*> columnas{
        "Propiedad|Valor",
        "Nombre|Tipo|Creada|Modificada|Registros",
        "Nombre|Tipo|Creado|Modificado",
        "Nombre|Tabla principal|Columna|Tabla relacionada|Columna",
        "Nombre|Tamaño|Admite nulos|Tamaño fijo|Tipo de dato ADO|Admite búsquedas",
        "Palabra reservada",
        "Nombre|Valor|Caracteres inválidos|Caracteres iniciales inválidos|Longitud máxima"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(Titulos(*frm.Lista(i)).join('|'), QString::fromUtf8(columnas[i])) << i;
    EXPECT_EQ(frm.lvwTablas->AlineacionColumna(4) & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(frm.lvwTiposDatos->AlineacionColumna(1) & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    for (int c : {2, 3, 5})
        EXPECT_EQ(frm.lvwTiposDatos->AlineacionColumna(c) & Qt::AlignHorizontal_Mask,
                  Qt::AlignHCenter);
}

TEST_F(PropiedadesConexionSQLiteTest, TablasConTipoIconoColorYRegistrosDeCadaUna) {
    frmPropiedadesConexion frm;
    frm.Conexion(m_Id);
    EXPECT_EQ(Filas(*frm.lvwTablas),
              QStringList({"clientes|Tabla|||3", "sqlite_sequence|Tabla del sistema|||1",
                           "pedidos|Tabla|||2", "lineas|Tabla|||4", "v_pedidos|Vista|||"}));
    // Only the system table is grey.
    for (int f = 0; f < 5; ++f)
        EXPECT_EQ(frm.lvwTablas->Color(f), f == 1 ? Color::TextoGris : Color::TextoVentana) << f;
}

TEST_F(PropiedadesConexionSQLiteTest, PropiedadesRelacionesYProcedimientosDelProveedor) {
    frmPropiedadesConexion frm;
    frm.Conexion(m_Id);
    EXPECT_EQ(Fila(*frm.lvwConexion, QStringLiteral("Provider Friendly Name")),
              QStringLiteral("Provider Friendly Name|SQLite3"));
    // SQLite names no foreign key: the row text is empty, the row is still there.
    EXPECT_EQ(Filas(*frm.lvwRelaciones),
              QStringList({"|clientes|id|pedidos|cliente", "|pedidos|id|lineas|pedido"}));
    // No procedures at all is an empty list, not a failed query.
    EXPECT_EQ(frm.lvwProcedimientos->NumeroElementos(), 0);
    EXPECT_TRUE(frm.sstPropiedades()->PestanaHabilitada(2));
}

TEST_F(PropiedadesConexionSQLiteTest, TiposDeDatosConTamanoEnBytesYTextosDeCodigo) {
    const CConfiguracionEspanola es;
    frmPropiedadesConexion frm;
    frm.Conexion(m_Id);
    EXPECT_EQ(Fila(*frm.lvwTiposDatos, QStringLiteral("bit")),
              QString::fromUtf8("bit|1 byte|Sí|Sí|adBoolean|Sí"));
    EXPECT_EQ(Fila(*frm.lvwTiposDatos, QStringLiteral("longvarbinary")),
              QString::fromUtf8("longvarbinary|64,00 Kb|Sí|No|adBinary|Sí"));
    EXPECT_EQ(Fila(*frm.lvwTiposDatos, QStringLiteral("varchar")),
              QString::fromUtf8("varchar|255 bytes|Sí|No|adChar|Sí"));
}

TEST_F(PropiedadesConexionSQLiteTest, PalabrasReservadasTituladasConElProveedorYLiterales) {
    const CConfiguracionEspanola es;
    frmPropiedadesConexion frm;
    EXPECT_EQ(frm.lvwPalabrasReservadas->TituloColumna(0), QStringLiteral("Palabra reservada"));
    frm.Conexion(m_Id);
    EXPECT_EQ(frm.lvwPalabrasReservadas->TituloColumna(0),
              QStringLiteral("Palabras reservadas por el proveedor \"SQLite3\""));
    const QStringList palabras = Filas(*frm.lvwPalabrasReservadas);
    ASSERT_EQ(palabras.size(), 16);
    EXPECT_EQ(palabras.first(), QStringLiteral("CREATE"));
    EXPECT_EQ(palabras.last(), QStringLiteral("OF"));
    // Maxlen with the regional thousands separator; a missing value is an empty cell.
    EXPECT_EQ(Fila(*frm.lvwLiterales, QStringLiteral("TEXT_COMMAND")),
              QStringLiteral("TEXT_COMMAND||||16.384"));
    EXPECT_EQ(Fila(*frm.lvwLiterales, QStringLiteral("QUOTE_PREFIX")),
              QStringLiteral("QUOTE_PREFIX|\"|||"));
}

TEST_F(PropiedadesConexionSQLiteTest, UnaConexionQueNoAbreDejaSoloSusPropiedades) {
    const QString strRuta = CarpetaTemporal() + QStringLiteral("/no-existe.db");
    const QString strId = m_App.Agregar(QStringLiteral("Perdida"), CadenaSQLite(strRuta));
    frmPropiedadesConexion frm;
    frm.Conexion(strId);
    EXPECT_EQ(frm.windowTitle(), QString::fromUtf8("Propiedades de conexión: Perdida"));
    EXPECT_EQ(Filas(*frm.lvwConexion),
              QStringList({"DRIVER|SQLite3", QStringLiteral("Database|") + strRuta}));
    EXPECT_TRUE(frm.sstPropiedades()->PestanaHabilitada(0));
    for (int i = 1; i < 7; ++i) {
        EXPECT_FALSE(frm.sstPropiedades()->PestanaHabilitada(i)) << i;
        EXPECT_EQ(frm.Lista(i)->NumeroElementos(), 0) << i;
    }
    // Titled with the provider even though its query could not run.
    EXPECT_EQ(frm.lvwPalabrasReservadas->TituloColumna(0),
              QStringLiteral("Palabras reservadas por el proveedor \"SQLite3\""));
    frm.sstPropiedades()->SeleccionarPestana(3);
    EXPECT_EQ(frm.sstPropiedades()->PestanaActual(), 0);
    EXPECT_FALSE(QFileInfo::exists(strRuta));
}

TEST_F(PropiedadesConexionSQLiteTest, UnaClaveQueYaNoExisteNoRompeLaVentana) {
    frmPropiedadesConexion frm;
    frm.Conexion(QStringLiteral("cnx999"));
    EXPECT_EQ(frm.windowTitle(), QString::fromUtf8("Propiedades de conexión"));
    for (int i = 1; i < 7; ++i)
        EXPECT_FALSE(frm.sstPropiedades()->PestanaHabilitada(i)) << i;
}

TEST_F(PropiedadesConexionSQLiteTest, LaPestanaDeTiposDeDatosSeExportaComoTiposDeDatos) {
    CDialogosGuion guion;
    const QString strRuta = CarpetaTemporal() + QStringLiteral("/tipos.xml");
    guion.rutas.push_back(strRuta);
    frmPropiedadesConexion frm;
    frm.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frm));
    frm.Conexion(m_Id);
    frm.sstPropiedades()->SeleccionarPestana(4);
    CRespuestaFormato formato(2);
    QTest::mouseClick(frm.Barra()->Control(QStringLiteral("exp")), Qt::LeftButton);
    ASSERT_TRUE(formato.booVisto);
    const CXmlExportado x = LeerXml(strRuta);
    EXPECT_EQ(x.strRaiz, QStringLiteral("TiposDeDatos"));
    EXPECT_EQ(x.strFilas, Filas(*frm.lvwTiposDatos));
    EXPECT_EQ(x.strFilas.size(), 17);
}

TEST_F(PropiedadesConexionSQLiteTest, CadaListaSeExportaEnLosCincoFormatos) {
    CDialogosGuion guion;
    frmPropiedadesConexion frm;
    frm.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frm));
    frm.Conexion(m_Id);
    ExportarEnLosCincoFormatos(frm, guion, QStringLiteral("conexion"));
    EXPECT_EQ(guion.abiertos.size(), 12); // six lists: SQLite has no procedures
}

// ---------------------------------------------------------------------------------------------
// Filling: the hourglass, the progress text, independent windows, the explorer's entry point.

TEST_F(PropiedadesConexionSQLiteTest, ElRecuentoMuestraSuProgresoConElRelojYLoRetira) {
    frmPropiedadesConexion frm;
    QStringList textos;
    QList<Puntero> punteros;
    QObject::connect(&frm, &frmPropiedadesConexion::ProgresoRecuento, [&](const QString& t) {
        textos << t;
        punteros << PunteroActual();
    });
    QElapsedTimer reloj;
    reloj.start();
    frm.Conexion(m_Id);
    const qint64 lngMs = reloj.elapsed();
    ASSERT_FALSE(textos.isEmpty());
    EXPECT_EQ(textos.first(), QStringLiteral("Contando registros de clientes (1 de 5)..."));
    EXPECT_LE(textos.size(), 1 + lngMs / frmPropiedadesConexion::kMilisegundosProgreso);
    const QRegularExpression patron(
        QStringLiteral("^Contando registros de \\S+ \\([1-5] de 5\\)\\.\\.\\.$"));
    for (const QString& t : textos)
        EXPECT_TRUE(patron.match(t).hasMatch()) << t.toStdString();
    for (Puntero p : punteros)
        EXPECT_EQ(p, Puntero::Reloj);
    // Without a main window the caption carried the progress; it is the window's own again.
    EXPECT_EQ(frm.windowTitle(), QString::fromUtf8("Propiedades de conexión: Ventas"));
    EXPECT_EQ(PunteroActual(), Puntero::Predeterminado);
}

TEST_F(PropiedadesConexionSQLiteTest, ConVentanaPrincipalElProgresoVaASuBarraDeEstado) {
    CVentanaMdi principal;
    auto* stb = new CBarraEstado(&principal);
    principal.setStatusBar(stb);
    stb->EstablecerTexto(QStringLiteral("1 conexiones"));
    principal.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&principal));
    QStringList enBarra;
    QPointer<frmPropiedadesConexion> frm = MostrarPropiedadesConexion(m_Id);
    ASSERT_TRUE(frm);
    // Filled already: connect afterwards to a second window to watch the bar while it counts.
    auto* otra = new frmPropiedadesConexion;
    QObject::connect(otra, &frmPropiedadesConexion::ProgresoRecuento,
                     [&](const QString&) { enBarra << stb->Texto(); });
    MostrarVentanaHija(otra);
    otra->Conexion(m_Id);
    ASSERT_FALSE(enBarra.isEmpty());
    EXPECT_EQ(enBarra.first(), QStringLiteral("Contando registros de clientes (1 de 5)..."));
    EXPECT_EQ(stb->Texto(), QStringLiteral("1 conexiones"));
    EXPECT_EQ(otra->windowTitle(), QString::fromUtf8("Propiedades de conexión: Ventas"));
    EXPECT_EQ(principal.Area()->subWindowList().size(), 2);
}

TEST_F(PropiedadesConexionSQLiteTest, DosVentanasDeLaMismaConexionSeLlenanPorSeparado) {
    CVentanaMdi principal;
    principal.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&principal));
    QPointer<frmPropiedadesConexion> a = MostrarPropiedadesConexion(m_Id);
    QPointer<frmPropiedadesConexion> b = MostrarPropiedadesConexion(m_Id);
    ASSERT_TRUE(a && b);
    EXPECT_NE(a.data(), b.data());
    EXPECT_TRUE(a->isVisible() && b->isVisible());
    EXPECT_EQ(principal.Area()->subWindowList().size(), 2);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(Filas(*a->Lista(i)), Filas(*b->Lista(i))) << i;
        EXPECT_NE(a->Lista(i), b->Lista(i));
    }
    EXPECT_EQ(a->lvwTablas->NumeroElementos(), 5);
    // Changing one leaves the other as it was; closing one neither empties the other nor
    // closes the connection, which belongs to the collection.
    a->EstablecerVistaListas(CListaVista::Vista::Lista);
    EXPECT_EQ(b->lvwTablas->VistaActual(), CListaVista::Vista::Detalles);
    MarcoVentana(a)->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(a);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->lvwTablas->NumeroElementos(), 5);
    EXPECT_TRUE(objVerondal->Conexiones().Item(m_Id).Conectado());
}

// ---------------------------------------------------------------------------------------------
// PostgreSQL: functions and procedures, named relations, system objects, a failing query.

class PropiedadesConexionPostgresTest : public CPruebaPostgres {};

TEST_F(PropiedadesConexionPostgresTest, CadaPestanaConSusFilas) {
    frmPropiedadesConexion frm;
    frm.Conexion(m_App.Agregar(QStringLiteral("Tienda"), s_Cadena));
    for (int i = 0; i < 7; ++i)
        EXPECT_TRUE(frm.sstPropiedades()->PestanaHabilitada(i)) << i;
    EXPECT_EQ(Fila(*frm.lvwConexion, QStringLiteral("Current Catalog")),
              QStringLiteral("Current Catalog|") + Base());
    // A name in two schemas is listed twice, each with its own schema's count.
    EXPECT_EQ(Filas(*frm.lvwTablas),
              QStringList({"clientes|Tabla|||3", "lineas|Tabla|||4", "pedidos|Tabla|||2",
                           "v_pedidos|Vista|||", "lineas|Tabla|||1"}));
    EXPECT_EQ(Filas(*frm.lvwProcedimientos),
              QStringList({QString::fromUtf8("sumar|Función||"), "vaciar_notas|Procedimiento||"}));
    EXPECT_EQ(Filas(*frm.lvwRelaciones),
              QStringList({"fk_lineas_pedidos|pedidos|id|lineas|pedido",
                           "fk_pedidos_clientes|clientes|id|pedidos|cliente"}));
    EXPECT_EQ(Fila(*frm.lvwTiposDatos, QStringLiteral("int8")),
              QString::fromUtf8("int8|19 bytes|Sí|Sí|adBigInt|Excepto LIKE"));
    EXPECT_EQ(Fila(*frm.lvwTiposDatos, QStringLiteral("uuid")),
              QString::fromUtf8("uuid|37 bytes|Sí|Sí|adGUID|Excepto LIKE"));
    // bytea reports no size: an empty cell, and the row is still filled.
    EXPECT_EQ(Fila(*frm.lvwTiposDatos, QStringLiteral("bytea")),
              QString::fromUtf8("bytea||Sí|No|adBinary|Excepto LIKE"));
    EXPECT_EQ(frm.lvwPalabrasReservadas->TituloColumna(0),
              QStringLiteral("Palabras reservadas por el proveedor \"PostgreSQL Unicode\""));
    EXPECT_GT(frm.lvwPalabrasReservadas->NumeroElementos(), 50);
    EXPECT_EQ(
        frm.lvwLiterales->SubElemento(FilaDe(*frm.lvwLiterales, QStringLiteral("TABLE_NAME")), 4),
        QStringLiteral("63"));
}

TEST_F(PropiedadesConexionPostgresTest, LasTablasYVistasDelSistemaSeVenEnGrisConSuRecuento) {
    frmPropiedadesConexion frm;
    frm.Conexion(
        m_App.Agregar(QStringLiteral("Sistema"), s_Cadena + QStringLiteral("ShowSystemTables=1;")));
    const int t = FilaDe(*frm.lvwTablas, QStringLiteral("pg_am"));
    ASSERT_GE(t, 0);
    EXPECT_EQ(frm.lvwTablas->SubElemento(t, 1), QStringLiteral("Tabla del sistema"));
    EXPECT_EQ(frm.lvwTablas->Color(t), Color::TextoGris);
    EXPECT_FALSE(frm.lvwTablas->SubElemento(t, 4).isEmpty());
    const int v = FilaDe(*frm.lvwTablas, QStringLiteral("pg_tables"));
    ASSERT_GE(v, 0);
    EXPECT_EQ(frm.lvwTablas->SubElemento(v, 1), QStringLiteral("Vista del sistema"));
    EXPECT_EQ(frm.lvwTablas->Color(v), Color::TextoGris);
    EXPECT_TRUE(frm.lvwTablas->SubElemento(v, 4).isEmpty());
    EXPECT_EQ(frm.lvwTablas->Color(FilaDe(*frm.lvwTablas, QStringLiteral("clientes"))),
              Color::TextoVentana);
}

TEST_F(PropiedadesConexionPostgresTest, UnTipoDe2147483647BytesSonDosGb) {
    const CConfiguracionEspanola es;
    frmPropiedadesConexion frm;
    frm.Conexion(m_App.Agregar(QStringLiteral("Textos largos"),
                               s_Cadena + QStringLiteral("MaxLongVarcharSize=2147483647;")));
    const int f = FilaDe(*frm.lvwTiposDatos, QStringLiteral("text"));
    ASSERT_GE(f, 0);
    EXPECT_EQ(frm.lvwTiposDatos->SubElemento(f, 1), QStringLiteral("2,00 Gb"));
}

TEST_F(PropiedadesConexionPostgresTest, UnaConsultaQueFallaDeshabilitaSoloSuPestana) {
    // A reader who may not see the foreign-key catalogue of this database.
    const QString strCadena = CadenaSinCatalogo(QStringLiteral("pg_constraint"));
    frmPropiedadesConexion frm;
    frm.Conexion(m_App.Agregar(QStringLiteral("Lector"), strCadena));
    DevolverCatalogo(QStringLiteral("pg_constraint"));

    EXPECT_FALSE(frm.sstPropiedades()->PestanaHabilitada(3));
    EXPECT_EQ(frm.lvwRelaciones->NumeroElementos(), 0);
    for (int i : {0, 1, 2, 4, 5, 6}) {
        EXPECT_TRUE(frm.sstPropiedades()->PestanaHabilitada(i)) << i;
        EXPECT_GT(frm.Lista(i)->NumeroElementos(), 0) << i;
    }
    EXPECT_EQ(Fila(*frm.lvwTablas, QStringLiteral("clientes")),
              QStringLiteral("clientes|Tabla|||3"));
}

} // namespace
