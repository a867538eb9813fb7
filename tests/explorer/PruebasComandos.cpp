// The explorer's commands: the toolbar and its enabling, delete, copy, rebuild (button and F5),
// new connection and edit through the data-link dialogue.
#include "AyudaExplorador.h"

#include "controles/CPunteroRaton.h"
using namespace pruebas;

namespace {

class ComandosExploradorTest : public ExploradorPrueba {};

TEST_F(ComandosExploradorTest, EliminarRespondidoSiQuitaSoloEseNodo) {
    DosConexiones();
    Expandir(u"cnx2"_s);
    CDialogosGuion guion;
    guion.respuestas = {Respuesta::Si};
    Clic(Nodo(u"cnx2"_s));
    ClicBoton(u"eli"_s);

    EXPECT_EQ(Nodo(u"cnx2"_s), nullptr);
    EXPECT_EQ(Nodo(u"_Vistascnx2"_s), nullptr);
    EXPECT_EQ(objVerondal->Conexiones().Buscar(u"cnx2"_s), nullptr);
    const QByteArray bytArchivo = Leer(m_Ruta);
    EXPECT_FALSE(bytArchivo.contains("\"cnx2\"")) << bytArchivo.constData();
    EXPECT_TRUE(bytArchivo.contains("\"cnx1\""));
    // The rest of the tree is as it was, and still open.
    EXPECT_EQ(CArbol::Icono(Nodo(u"cnx1"_s)), 16);
    EXPECT_TRUE(Conexion("cnx1").Conectado());
    EXPECT_EQ(Estado(), u"1 conexiones"_s);
    EXPECT_EQ(BotonesDeNodo(), u"- - - -"_s);
    EXPECT_EQ(PunteroActual(), Puntero::Predeterminado);
}

TEST_F(ComandosExploradorTest, EliminarSinPoderGuardarConservaLaConexion) {
    Agregar(u"Sola"_s, u"DRIVER={SQLite3};Database=/no/existe.db"_s);
    Abrir();
    ASSERT_TRUE(QDir(m_Carpeta).removeRecursively()); // nowhere to write the file
    CDialogosGuion guion;
    guion.respuestas = {Respuesta::Si};
    Clic(Nodo(u"cnx1"_s));
    ClicBoton(u"eli"_s);

    ASSERT_EQ(guion.mensajes.size(), 2u);
    EXPECT_TRUE(guion.mensajes[1].strTexto.contains(m_Ruta))
        << qPrintable(guion.mensajes[1].strTexto);
    EXPECT_EQ(guion.mensajes[1].intEstilo, Estilo::Critico);
    EXPECT_NE(Nodo(u"cnx1"_s), nullptr);
    EXPECT_EQ(objVerondal->Conexiones().Count(), 1);
    EXPECT_EQ(Estado(), u"1 conexiones"_s);
    EXPECT_EQ(PunteroActual(), Puntero::Predeterminado);
}

TEST_F(ComandosExploradorTest, F5EnElArbolOActualizarCierranLasConexionesAbiertas) {
    DosConexiones();
    Expandir(u"cnx2"_s);
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
    EXPECT_EQ(Estado(), u"2 conexiones"_s);

    // The toolbar's "act" does the same.
    Expandir(u"cnx1"_s);
    ClicBoton(u"act"_s);
    EXPECT_FALSE(Conexion("cnx1").Conectado());
    EXPECT_EQ(CArbol::Icono(Nodo(u"cnx1"_s)), 5);
}

TEST_F(ComandosExploradorTest, NuevaConexionPideCadenaYNombreYReconstruye) {
    DosConexiones();
    const QString strCadena = BaseSQLite(u"nueva"_s, "explorador_sistema.sql");
    CVinculoGuion vinculo;
    vinculo.respuestas = {strCadena};
    CDialogosGuion guion;
    guion.entradas = {u"Nueva base"_s};
    ClicBoton(u"nue"_s);

    EXPECT_EQ(vinculo.titulos, QStringList{"Nueva conexión"});
    EXPECT_EQ(vinculo.cadenas, QStringList{QString()});
    EXPECT_EQ(guion.preguntasEntrada,
              QStringList{"Introduzca un nombre para ésta conexión|Nueva conexión"});
    const CConexion& nueva = Conexion("cnx3");
    EXPECT_EQ(nueva.Titulo(), u"Nueva base"_s);
    EXPECT_EQ(nueva.CadenaDeConexion(), strCadena);
    // In the file, readable by the next start.
    CVerondal objLectura(m_Ruta);
    EXPECT_EQ(objLectura.Conexiones().Item(u"cnx3"_s).CadenaDeConexion(), strCadena);
    // The tree is rebuilt: everything unopened, the new connection last.
    EXPECT_FALSE(Conexion("cnx1").Conectado());
    EXPECT_EQ(
        Describir(Arbol()).filter(u"[cnx]"_s),
        (QStringList{"Ventas 5 #cnx1 [cnx]", "Vistas 5 #cnx2 [cnx]", "Nueva base 5 #cnx3 [cnx]"}));
    EXPECT_EQ(Estado(), u"3 conexiones"_s);
}

TEST_F(ComandosExploradorTest, ModificarEditaLaConexionSeleccionada) {
    DosConexiones();
    const QString strAntes = Conexion("cnx1").CadenaDeConexion();
    const QString strOtra = BaseSQLite(u"otra"_s, "explorador_vistas.sql");
    CVinculoGuion vinculo;
    vinculo.respuestas = {strOtra};
    CDialogosGuion guion;
    guion.entradas = {u"Ventas nuevas"_s};
    Clic(Nodo(u"cnx1"_s));
    ClicBoton(u"mod"_s);

    EXPECT_EQ(vinculo.titulos, QStringList{"Ventas"});
    EXPECT_EQ(vinculo.cadenas, QStringList{strAntes});
    EXPECT_EQ(guion.preguntasEntrada,
              QStringList{"Introduzca un nombre para ésta conexión|Modificar conexión"});
    EXPECT_EQ(Conexion("cnx1").Titulo(), u"Ventas nuevas"_s);
    EXPECT_EQ(Conexion("cnx1").CadenaDeConexion(), strOtra);
    CVerondal objLectura(m_Ruta);
    EXPECT_EQ(objLectura.Conexiones().Count(), 2);
    EXPECT_EQ(objLectura.Conexiones().Item(u"cnx1"_s).Titulo(), u"Ventas nuevas"_s);
    EXPECT_EQ(objLectura.Conexiones().Item(u"cnx1"_s).CadenaDeConexion(), strOtra);

    // Rebuilt, and the edited connection now opens the other database.
    EXPECT_EQ(Describir(Arbol()).value(0), u"Ventas nuevas 5 #cnx1 [cnx]"_s);
    Expandir(u"cnx1"_s);
    EXPECT_NE(NodoTexto(u"v_constante"_s), nullptr);
}

} // namespace
