// The explorer's commands: the toolbar and its enabling, delete, copy, rebuild (button and F5),
// new connection and edit through the data-link dialogue.
#include "AyudaExplorador.h"

#include "controles/CPunteroRaton.h"
#include "registry/CEncriptador.h"

#include <QDir>

using namespace pruebas;

namespace {

class ComandosExploradorTest : public ExploradorPrueba {};

TEST_F(ComandosExploradorTest, EliminarRespondidoSiQuitaSoloEseNodo) {
    DosConexiones();
    Expandir(QStringLiteral("cnx2"));
    CDialogosGuion guion;
    guion.respuestas = {Respuesta::Si};
    Clic(Nodo(QStringLiteral("cnx2")));
    ClicBoton(QStringLiteral("eli"));

    EXPECT_EQ(Nodo(QStringLiteral("cnx2")), nullptr);
    EXPECT_EQ(Nodo(QStringLiteral("_Vistascnx2")), nullptr);
    EXPECT_EQ(objVerondal->Conexiones().Buscar(QStringLiteral("cnx2")), nullptr);
    const QByteArray bytArchivo = Leer(m_Ruta);
    EXPECT_FALSE(bytArchivo.contains("\"cnx2\"")) << bytArchivo.constData();
    EXPECT_TRUE(bytArchivo.contains("\"cnx1\""));
    // The rest of the tree is as it was, and still open.
    EXPECT_EQ(CArbol::Icono(Nodo(QStringLiteral("cnx1"))), 16);
    EXPECT_TRUE(Conexion("cnx1").Conectado());
    EXPECT_EQ(Estado(), QStringLiteral("1 conexiones"));
    EXPECT_EQ(BotonesDeNodo(), QStringLiteral("- - - -"));
    EXPECT_EQ(PunteroActual(), Puntero::Predeterminado);
}

TEST_F(ComandosExploradorTest, EliminarSinPoderGuardarConservaLaConexion) {
    Agregar(QStringLiteral("Sola"), QStringLiteral("DRIVER={SQLite3};Database=/no/existe.db"));
    Abrir();
    ASSERT_TRUE(QDir(m_Carpeta).removeRecursively()); // nowhere to write the file
    CDialogosGuion guion;
    guion.respuestas = {Respuesta::Si};
    Clic(Nodo(QStringLiteral("cnx1")));
    ClicBoton(QStringLiteral("eli"));

    ASSERT_EQ(guion.mensajes.size(), 2u);
    EXPECT_TRUE(guion.mensajes[1].strTexto.contains(m_Ruta))
        << qPrintable(guion.mensajes[1].strTexto);
    EXPECT_EQ(guion.mensajes[1].intEstilo, Estilo::Critico);
    EXPECT_NE(Nodo(QStringLiteral("cnx1")), nullptr);
    EXPECT_EQ(objVerondal->Conexiones().Count(), 1);
    EXPECT_EQ(Estado(), QStringLiteral("1 conexiones"));
    EXPECT_EQ(PunteroActual(), Puntero::Predeterminado);
}

TEST_F(ComandosExploradorTest, F5EnElArbolOActualizarCierranLasConexionesAbiertas) {
    DosConexiones();
    Expandir(QStringLiteral("cnx2"));
    ASSERT_TRUE(Conexion("cnx1").Conectado());
    ASSERT_TRUE(Conexion("cnx2").Conectado());

    // Pressed elsewhere in the window, F5 does nothing.
    QTest::keyClick(m_Explorador->tbrExplorador, Qt::Key_F5);
    QTest::keyClick(m_Explorador.get(), Qt::Key_F5);
    EXPECT_TRUE(Conexion("cnx1").Conectado());

    QTest::keyClick(&Arbol(), Qt::Key_F5);
    EXPECT_FALSE(Conexion("cnx1").Conectado());
    EXPECT_FALSE(Conexion("cnx2").Conectado());
    EXPECT_EQ(Describir(Arbol()), (QStringList{
                                      "Ventas 5 #cnx1 [cnx]",
                                      "  Conectando... 15 gris",
                                      "Vistas 5 #cnx2 [cnx]",
                                      "  Conectando... 15 gris",
                                  }));
    EXPECT_EQ(Estado(), QStringLiteral("2 conexiones"));

    // The toolbar's "act" does the same.
    Expandir(QStringLiteral("cnx1"));
    ClicBoton(QStringLiteral("act"));
    EXPECT_FALSE(Conexion("cnx1").Conectado());
    EXPECT_EQ(CArbol::Icono(Nodo(QStringLiteral("cnx1"))), 5);
}

TEST_F(ComandosExploradorTest, NuevaConexionPideCadenaYNombreYReconstruye) {
    DosConexiones();
    const QString strCadena = BaseSQLite(QStringLiteral("nueva"), "explorador_sistema.sql");
    CVinculoGuion vinculo;
    vinculo.respuestas = {strCadena};
    CDialogosGuion guion;
    guion.entradas = {QStringLiteral("Nueva base")};
    ClicBoton(QStringLiteral("nue"));

    EXPECT_EQ(vinculo.titulos, QStringList{"Nueva conexión"});
    EXPECT_EQ(vinculo.cadenas, QStringList{QString()});
    EXPECT_EQ(guion.preguntasEntrada,
              QStringList{"Introduzca un nombre para ésta conexión|Nueva conexión"});
    const CConexion& nueva = Conexion("cnx3");
    EXPECT_EQ(nueva.Titulo(), QStringLiteral("Nueva base"));
    EXPECT_EQ(nueva.CadenaDeConexion(), strCadena);
    // In the file, readable by the next start.
    CVerondal objLectura(m_Ruta);
    EXPECT_EQ(objLectura.Conexiones().Item(QStringLiteral("cnx3")).CadenaDeConexion(), strCadena);
    // The tree is rebuilt: everything unopened, the new connection last.
    EXPECT_FALSE(Conexion("cnx1").Conectado());
    EXPECT_EQ(
        Describir(Arbol()).filter(QStringLiteral("[cnx]")),
        (QStringList{"Ventas 5 #cnx1 [cnx]", "Vistas 5 #cnx2 [cnx]", "Nueva base 5 #cnx3 [cnx]"}));
    EXPECT_EQ(Estado(), QStringLiteral("3 conexiones"));
}

TEST_F(ComandosExploradorTest, ModificarEditaLaConexionSeleccionada) {
    DosConexiones();
    const QString strAntes = Conexion("cnx1").CadenaDeConexion();
    const QString strOtra = BaseSQLite(QStringLiteral("otra"), "explorador_vistas.sql");
    CVinculoGuion vinculo;
    vinculo.respuestas = {strOtra};
    CDialogosGuion guion;
    guion.entradas = {QStringLiteral("Ventas nuevas")};
    Clic(Nodo(QStringLiteral("cnx1")));
    ClicBoton(QStringLiteral("mod"));

    EXPECT_EQ(vinculo.titulos, QStringList{"Ventas"});
    EXPECT_EQ(vinculo.cadenas, QStringList{strAntes});
    EXPECT_EQ(guion.preguntasEntrada,
              QStringList{"Introduzca un nombre para ésta conexión|Modificar conexión"});
    EXPECT_EQ(Conexion("cnx1").Titulo(), QStringLiteral("Ventas nuevas"));
    EXPECT_EQ(Conexion("cnx1").CadenaDeConexion(), strOtra);
    CVerondal objLectura(m_Ruta);
    EXPECT_EQ(objLectura.Conexiones().Count(), 2);
    EXPECT_EQ(objLectura.Conexiones().Item(QStringLiteral("cnx1")).Titulo(),
              QStringLiteral("Ventas nuevas"));
    EXPECT_EQ(objLectura.Conexiones().Item(QStringLiteral("cnx1")).CadenaDeConexion(), strOtra);

    // Rebuilt, and the edited connection now opens the other database.
    EXPECT_EQ(Describir(Arbol()).value(0), QStringLiteral("Ventas nuevas 5 #cnx1 [cnx]"));
    Expandir(QStringLiteral("cnx1"));
    EXPECT_NE(NodoTexto(QStringLiteral("v_constante")), nullptr);
}

} // namespace
