// The connection properties window over real SQLite and PostgreSQL catalogues: its seven lists,
// the tabs of failed queries, the row-count progress.
#include "AyudaPropiedades.h"
#include "controles/CBarraEstado.h"
#include "controles/CPunteroRaton.h"
#include "controles/CVentanaMdi.h"
#include "controles/ColoresSistema.h"
#include "properties/frmPropiedadesConexion.h"
#include "properties/modPropiedades.h"

#include <QElapsedTimer>
using namespace pruebas;

namespace {

// ---------------------------------------------------------------------------------------------
// SQLite: every tab filled from a real file.

class PropiedadesConexionSQLiteTest : public CPruebaSQLite {};

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
    EXPECT_EQ(Fila(*frm.lvwConexion, u"Provider Friendly Name"_s),
              u"Provider Friendly Name|SQLite3"_s);
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
    EXPECT_EQ(Fila(*frm.lvwTiposDatos, u"bit"_s), u"bit|1 byte|Sí|Sí|adBoolean|Sí"_s);
    EXPECT_EQ(Fila(*frm.lvwTiposDatos, u"longvarbinary"_s),
              u"longvarbinary|64,00 Kb|Sí|No|adBinary|Sí"_s);
    EXPECT_EQ(Fila(*frm.lvwTiposDatos, u"varchar"_s), u"varchar|255 bytes|Sí|No|adWChar|Sí"_s);
}

TEST_F(PropiedadesConexionSQLiteTest, UnaConexionQueNoAbreDejaSoloSusPropiedades) {
    const QString strRuta = CarpetaTemporal() + u"/no-existe.db"_s;
    const QString strId = m_App.Agregar(u"Perdida"_s, CadenaSQLite(strRuta));
    frmPropiedadesConexion frm;
    frm.Conexion(strId);
    EXPECT_EQ(frm.windowTitle(), u"Propiedades de conexión: Perdida"_s);
    EXPECT_EQ(Filas(*frm.lvwConexion), QStringList({"DRIVER|SQLite3", u"Database|"_s + strRuta}));
    EXPECT_TRUE(frm.sstPropiedades()->PestanaHabilitada(0));
    for (int i = 1; i < 7; ++i) {
        EXPECT_FALSE(frm.sstPropiedades()->PestanaHabilitada(i)) << i;
        EXPECT_EQ(frm.Lista(i)->NumeroElementos(), 0) << i;
    }
    // Titled with the provider even though its query could not run.
    EXPECT_EQ(frm.lvwPalabrasReservadas->TituloColumna(0),
              u"Palabras reservadas por el proveedor \"SQLite3\""_s);
    frm.sstPropiedades()->SeleccionarPestana(3);
    EXPECT_EQ(frm.sstPropiedades()->PestanaActual(), 0);
    EXPECT_FALSE(QFileInfo::exists(strRuta));
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
    EXPECT_EQ(textos.first(), u"Contando registros de clientes (1 de 5)..."_s);
    EXPECT_LE(textos.size(), 1 + lngMs / frmPropiedadesConexion::kMilisegundosProgreso);
    const QRegularExpression patron(u"^Contando registros de \\S+ \\([1-5] de 5\\)\\.\\.\\.$"_s);
    for (const QString& t : textos)
        EXPECT_TRUE(patron.match(t).hasMatch()) << t.toStdString();
    for (Puntero p : punteros)
        EXPECT_EQ(p, Puntero::Reloj);
    // Without a main window the caption carried the progress; it is the window's own again.
    EXPECT_EQ(frm.windowTitle(), u"Propiedades de conexión: Ventas"_s);
    EXPECT_EQ(PunteroActual(), Puntero::Predeterminado);
}

// ---------------------------------------------------------------------------------------------
// PostgreSQL: functions and procedures, named relations, system objects, a failing query.

class PropiedadesConexionPostgresTest : public CPruebaPostgres {};

// A name in two schemas is listed twice, each with its own schema's count; a view has none.
TEST_F(PropiedadesConexionPostgresTest, CadaTablaConElRecuentoDeSuEsquema) {
    frmPropiedadesConexion frm;
    frm.Conexion(m_App.Agregar(u"Tienda"_s, s_Cadena));
    EXPECT_EQ(Filas(*frm.lvwTablas),
              QStringList({"clientes|Tabla|||3", "lineas|Tabla|||4", "pedidos|Tabla|||2",
                           "v_pedidos|Vista|||", "lineas|Tabla|||1"}));
}

TEST_F(PropiedadesConexionPostgresTest, UnaConsultaQueFallaDeshabilitaSoloSuPestana) {
    // A reader who may not see the foreign-key catalogue of this database.
    const QString strCadena = CadenaSinCatalogo(u"pg_constraint"_s);
    frmPropiedadesConexion frm;
    frm.Conexion(m_App.Agregar(u"Lector"_s, strCadena));
    DevolverCatalogo(u"pg_constraint"_s);

    EXPECT_FALSE(frm.sstPropiedades()->PestanaHabilitada(3));
    EXPECT_EQ(frm.lvwRelaciones->NumeroElementos(), 0);
    for (int i : {0, 1, 2, 4, 5, 6}) {
        EXPECT_TRUE(frm.sstPropiedades()->PestanaHabilitada(i)) << i;
        EXPECT_GT(frm.Lista(i)->NumeroElementos(), 0) << i;
    }
    EXPECT_EQ(Fila(*frm.lvwTablas, u"clientes"_s), u"clientes|Tabla|||3"_s);
}

} // namespace
