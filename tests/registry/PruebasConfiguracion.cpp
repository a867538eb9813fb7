#include "Aplicacion.h"
#include "DialogosGuion.h"
#include "comun/CError.h"
#include "registry/CEncriptador.h"
#include "registry/CVerondal.h"

#include <QDomDocument>
#include <gtest/gtest.h>

using namespace pruebas;

namespace {

// The Ids of the Conexion children of Conexiones, as the file on disk holds them.
QStringList IdsEnArchivo(const QString& strRuta) {
    QDomDocument doc;
    EXPECT_TRUE(doc.setContent(Leer(strRuta)));
    QStringList ids;
    const QDomElement xmlConexiones =
        doc.documentElement().firstChildElement(QStringLiteral("Conexiones"));
    for (QDomElement e = xmlConexiones.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        ids << e.attribute(QStringLiteral("Id"));
    return ids;
}

} // namespace

TEST(ConfiguracionTest, ArchivoExistenteSeCargaSinCambios) {
    const QString strFixture = Fixture(QStringLiteral("Verondal-existente.xml"));
    const QByteArray bytOriginal = Leer(strFixture);
    ASSERT_FALSE(bytOriginal.isEmpty());
    const QString strRuta = ConfiguracionDePrueba(bytOriginal);

    CVerondal verondal(strRuta);
    ASSERT_FALSE(verondal.Error());
    CConexiones& objConexiones = verondal.Conexiones();
    EXPECT_EQ(Ids(objConexiones), QStringList({"cnx1", "cnx2", "cnx3"}));
    EXPECT_EQ(objConexiones.Item(QStringLiteral("cnx1")).Titulo(), QStringLiteral("Producción"));
    EXPECT_EQ(objConexiones.Item(QStringLiteral("cnx1")).CadenaDeConexion(),
              QString::fromLatin1(kCadenaServidor));
    EXPECT_EQ(objConexiones.Item(QStringLiteral("cnx2")).CadenaDeConexion(), QStringLiteral("A"));
    EXPECT_EQ(objConexiones.Item(QStringLiteral("cnx3")).Titulo(), QString());
    EXPECT_EQ(Leer(strRuta), bytOriginal);

    // Adding and deleting writes the same document back, declaration included; only the line
    // ends and the short form of the empty element differ.
    objConexiones.NuevaConexion(QStringLiteral("Temporal"), QStringLiteral("DSN=x"));
    objConexiones.Eliminar(QStringLiteral("cnx4"));
    QByteArray bytEsperado = bytOriginal;
    bytEsperado.replace("\r\n", "\n").replace("<Titulo></Titulo>", "<Titulo/>");
    EXPECT_EQ(QString::fromUtf8(Leer(strRuta)), QString::fromUtf8(bytEsperado));
}

TEST(ConfiguracionTest, ErrorDeAnalisisEnLaLinea3) {
    const QByteArray bytContenido = "<?xml version=\"1.0\"?>\n<Verondal><Conexiones>\n"
                                    "<Conexion Id=\"cnx1\"></Conexiones>\n</Verondal>\n";
    const QString strRuta = ConfiguracionDePrueba(bytContenido);
    CDialogosGuion guion;
    CVerondal verondal(strRuta);
    EXPECT_TRUE(verondal.Error());
    EXPECT_EQ(verondal.Conexiones().Count(), 0);
    ASSERT_EQ(guion.mensajes.size(), 1u);
    EXPECT_EQ(guion.mensajes[0].strTexto,
              QStringLiteral("Error en la línea 3 del archivo ") + strRuta +
                  QStringLiteral("\r\nLas etiquetas de apertura y cierre no coinciden."));
    EXPECT_EQ(guion.mensajes[0].intEstilo, 16);
    EXPECT_EQ(guion.mensajes[0].strTitulo, QStringLiteral("Error"));
    EXPECT_EQ(Leer(strRuta), bytContenido);
}

TEST(ConfiguracionTest, ArchivoQueNoSePuedeLeerEsErrorDeLaLinea0) {
    CDialogosGuion guion;
    const QString strRuta = CarpetaDeLaPrueba() + QStringLiteral("/no-existe.xml");
    CVerondal verondal(strRuta);
    EXPECT_TRUE(verondal.Error());
    ASSERT_EQ(guion.mensajes.size(), 1u);
    EXPECT_TRUE(guion.mensajes[0].strTexto.startsWith(
        QStringLiteral("Error en la línea 0 del archivo ") + strRuta + QStringLiteral("\r\n")));
    EXPECT_FALSE(QFile::exists(strRuta));
}

TEST(ConfiguracionTest, AgregarYEliminarEnLaMismaEjecucion) {
    const QString strRuta = ConfiguracionDePrueba(kDosConexiones);
    CVerondal verondal(strRuta);
    CConexion& objNueva = verondal.Conexiones().NuevaConexion(
        QStringLiteral("  <Ventas> & \"más\"  "), QStringLiteral("DSN=ventas"));
    EXPECT_EQ(objNueva.Id(), QStringLiteral("cnx3"));
    EXPECT_EQ(IdsEnArchivo(strRuta), QStringList({"cnx1", "cnx2", "cnx3"}));

    // The title exactly as typed, the string as even upper-case digits.
    const QDomElement xmlNodo = objNueva.Nodo();
    EXPECT_EQ(xmlNodo.firstChildElement(QStringLiteral("Titulo")).text(),
              QStringLiteral("  <Ventas> & \"más\"  "));
    const QString strCifrada = xmlNodo.firstChildElement(QStringLiteral("CadenaDeConexion")).text();
    EXPECT_EQ(strCifrada, EncriptarTexto(QStringLiteral("DSN=ventas")));
    {
        CVerondal objOtra(strRuta);
        EXPECT_EQ(objOtra.Conexiones().Item(QStringLiteral("cnx3")).Titulo(),
                  QStringLiteral("  <Ventas> & \"más\"  "));
        EXPECT_EQ(objOtra.Conexiones().Item(QStringLiteral("cnx3")).CadenaDeConexion(),
                  QStringLiteral("DSN=ventas"));
    }

    verondal.Conexiones().Eliminar(QStringLiteral("cnx3"));
    EXPECT_EQ(IdsEnArchivo(strRuta), QStringList({"cnx1", "cnx2"}));
    EXPECT_EQ(Leer(strRuta), kDosConexiones);
}

TEST(ConfiguracionTest, GuardadoFallidoNoCambiaNada) {
    // The file's folder is replaced by a plain file: no save can succeed, even as root.
    const QString strRuta = ConfiguracionDePrueba(kDosConexiones);
    const QString strCarpeta = QFileInfo(strRuta).path();
    CVerondal verondal(strRuta);
    CConexiones& objConexiones = verondal.Conexiones();
    ASSERT_TRUE(QDir().rename(strCarpeta, strCarpeta + QStringLiteral(".aparte")));
    Escribir(strCarpeta, "no es una carpeta");

    try {
        objConexiones.NuevaConexion(QStringLiteral("Nueva"), QStringLiteral("DSN=nueva"));
        ADD_FAILURE() << "el guardado no falló";
    } catch (const CError& e) {
        EXPECT_TRUE(e.Descripcion().startsWith(
            QStringLiteral("No se pudo guardar el archivo de configuración ") + strRuta +
            QStringLiteral(": ")))
            << qPrintable(e.Descripcion());
    }
    EXPECT_THROW(objConexiones.Eliminar(QStringLiteral("cnx1")), CError);
    EXPECT_EQ(Ids(objConexiones), QStringList({"cnx1", "cnx2"}));
    EXPECT_EQ(Leer(strCarpeta + QStringLiteral(".aparte/Verondal.xml")), kDosConexiones);
    EXPECT_EQ(Leer(strCarpeta), QByteArray("no es una carpeta"));
    EXPECT_EQ(QDir(strCarpeta + QStringLiteral(".aparte")).entryList(QDir::Files),
              QStringList({"Verondal.xml"}));

    // With the folder back, the next save shows the document kept neither change.
    ASSERT_TRUE(QFile::remove(strCarpeta));
    ASSERT_TRUE(QDir().rename(strCarpeta + QStringLiteral(".aparte"), strCarpeta));
    EXPECT_EQ(objConexiones.NuevaConexion(QStringLiteral("Otra"), QStringLiteral("DSN=otra")).Id(),
              QStringLiteral("cnx3"));
    EXPECT_EQ(IdsEnArchivo(strRuta), QStringList({"cnx1", "cnx2", "cnx3"}));
    EXPECT_EQ(Ids(objConexiones), QStringList({"cnx1", "cnx2", "cnx3"}));
}

TEST(ConfiguracionTest, ArchivoEnOtraCodificacionSeEscribeEnEsaCodificacion) {
    for (const char* strCodigo : {"ISO-8859-1", "windows-1252"}) {
        SCOPED_TRACE(strCodigo);
        const QByteArray bytDeclaracion =
            QByteArray("<?xml version='1.0' encoding='") + strCodigo + "' standalone='yes'?>";
        const QString strRuta = ConfiguracionDePrueba(
            bytDeclaracion + "\r\n<Verondal><Conexiones><Conexion Id=\"cnx1\"><Titulo>A\xF1o"
                             "</Titulo><CadenaDeConexion>C0</CadenaDeConexion></Conexion>"
                             "</Conexiones></Verondal>\r\n");
        CVerondal verondal(strRuta);
        ASSERT_FALSE(verondal.Error());
        EXPECT_EQ(verondal.Conexiones().Item(QStringLiteral("cnx1")).Titulo(),
                  QStringLiteral("Año"));
        verondal.Conexiones().NuevaConexion(QStringLiteral("Niño € ā"), QStringLiteral("DSN=x"));

        // The declaration as read, and bytes that match it.
        const QByteArray bytGuardado = Leer(strRuta);
        EXPECT_TRUE(bytGuardado.startsWith(bytDeclaracion + "\n"));
        EXPECT_TRUE(bytGuardado.contains("<Titulo>A\xF1o</Titulo>"));
        EXPECT_TRUE(bytGuardado.contains("&#257;</Titulo>"));
        CVerondal objReleido(strRuta);
        EXPECT_EQ(objReleido.Conexiones().Item(QStringLiteral("cnx2")).Titulo(),
                  QStringLiteral("Niño € ā"));
    }
}

TEST(ConfiguracionTest, LoQueNoSePodriaReleerSeRechazaSinTocarNada) {
    const QString strRuta = ConfiguracionDePrueba(kDosConexiones);
    CVerondal verondal(strRuta);
    // A control character would make the file unreadable; a Cyrillic password would come back
    // as question marks.
    EXPECT_THROW(
        verondal.Conexiones().NuevaConexion(QStringLiteral("a\x01"), QStringLiteral("DSN=x")),
        CError);
    EXPECT_THROW(verondal.Conexiones().NuevaConexion(QStringLiteral("b"),
                                                     QStringLiteral("DSN=x;Pwd=пароль")),
                 CError);
    EXPECT_EQ(verondal.Conexiones().Count(), 2);
    EXPECT_EQ(Leer(strRuta), kDosConexiones);
}

// Each malformed element stops the whole load with an error naming it.
struct CasoMalformado {
    const char* strNombre;
    QByteArray bytConexiones; // the content after the valid cnx1 (line 2)
    long lngNumero;
    QString strDescripcion; // %1 = path
};

class ConfiguracionMalformadaTest : public ::testing::TestWithParam<CasoMalformado> {};

TEST_P(ConfiguracionMalformadaTest, CargaNadaYNombraElElemento) {
    const CasoMalformado& caso = GetParam();
    const QString strRuta =
        ConfiguracionDePrueba("<Verondal>\n<Conexiones><Conexion Id=\"cnx1\"><Titulo>Bien</Titulo>"
                              "<CadenaDeConexion>C0</CadenaDeConexion></Conexion>\n" +
                              caso.bytConexiones + "</Conexiones></Verondal>");
    try {
        CVerondal verondal(strRuta);
        ADD_FAILURE() << "se cargó sin error";
    } catch (const CError& e) {
        EXPECT_EQ(e.Numero(), caso.lngNumero);
        EXPECT_EQ(e.Origen(), QStringLiteral("CConfiguracion::CargarConexiones()"));
        EXPECT_EQ(e.Descripcion(), caso.strDescripcion.arg(strRuta));
    }
    // The collection itself is never half-filled.
    CConfiguracion objConfiguracion;
    objConfiguracion.setRuta(strRuta);
    CConexiones objConexiones;
    EXPECT_THROW(objConfiguracion.CargarConexiones(objConexiones), CError);
    EXPECT_EQ(objConexiones.Count(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Elementos, ConfiguracionMalformadaTest,
    ::testing::Values(
        CasoMalformado{"SinId",
                       "<Conexion><Titulo>x</Titulo><CadenaDeConexion>C0"
                       "</CadenaDeConexion></Conexion>",
                       94, "El elemento Conexion de la línea 3 de %1 no tiene atributo Id"},
        CasoMalformado{"SinTitulo",
                       "<Conexion Id=\"cnx2\"><CadenaDeConexion>C0"
                       "</CadenaDeConexion></Conexion>",
                       91, "La conexión cnx2 (línea 3 de %1) no tiene el elemento Titulo"},
        CasoMalformado{"CadenaIndescifrable",
                       "<Conexion Id=\"cnx2\"><Titulo>x</Titulo><CadenaDeConexion>C0C"
                       "</CadenaDeConexion></Conexion>",
                       -2147221504,
                       "La conexión cnx2 (línea 3 de %1): su cadena de conexión no se puede "
                       "descifrar (Longitud de cadena incorrecta)"},
        CasoMalformado{"IdRepetidoConOtrasMayusculas",
                       "<Conexion Id=\"CNX1\"><Titulo>x</Titulo><CadenaDeConexion>C0"
                       "</CadenaDeConexion></Conexion>",
                       457,
                       "La conexión CNX1 (línea 3 de %1) repite el Id de la conexión cnx1 "
                       "(línea 2 de %1)"}),
    [](const auto& i) { return std::string(i.param.strNombre); });
