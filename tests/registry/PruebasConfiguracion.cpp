#include "Aplicacion.h"
#include "DialogosGuion.h"
#include "comun/CError.h"
#include <QDomDocument>
using namespace pruebas;

namespace {

// The Ids of the Conexion children of Conexiones, as the file on disk holds them.
QStringList IdsEnArchivo(const QString& strRuta) {
    QDomDocument doc;
    EXPECT_TRUE(doc.setContent(Leer(strRuta)));
    QStringList ids;
    const QDomElement xmlConexiones = doc.documentElement().firstChildElement(u"Conexiones"_s);
    for (QDomElement e = xmlConexiones.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        ids << e.attribute(u"Id"_s);
    return ids;
}

} // namespace

TEST(ConfiguracionTest, ArchivoExistenteSeCargaSinCambios) {
    const QString strFixture = Fixture(u"Verondal-existente.xml"_s);
    const QByteArray bytOriginal = Leer(strFixture);
    ASSERT_FALSE(bytOriginal.isEmpty());
    const QString strRuta = ConfiguracionDePrueba(bytOriginal);

    CVerondal verondal(strRuta);
    ASSERT_FALSE(verondal.Error());
    CConexiones& objConexiones = verondal.Conexiones();
    EXPECT_EQ(Ids(objConexiones), QStringList({"cnx1", "cnx2", "cnx3"}));
    EXPECT_EQ(objConexiones.Item(u"cnx1"_s).Titulo(), u"Producción"_s);
    EXPECT_EQ(objConexiones.Item(u"cnx1"_s).CadenaDeConexion(),
              QString::fromLatin1(kCadenaServidor));
    EXPECT_EQ(objConexiones.Item(u"cnx2"_s).CadenaDeConexion(), u"A"_s);
    EXPECT_EQ(objConexiones.Item(u"cnx3"_s).Titulo(), QString());
    EXPECT_EQ(Leer(strRuta), bytOriginal);

    // Adding and deleting writes the same document back, declaration included; only the line
    // ends and the short form of the empty element differ.
    objConexiones.NuevaConexion(u"Temporal"_s, u"DSN=x"_s);
    objConexiones.Eliminar(u"cnx4"_s);
    QByteArray bytEsperado = bytOriginal;
    bytEsperado.replace("\r\n", "\n").replace("<Titulo></Titulo>", "<Titulo/>");
    EXPECT_EQ(QString::fromUtf8(Leer(strRuta)), QString::fromUtf8(bytEsperado));
}

TEST(ConfiguracionTest, ErrorDeAnalisisEnLaLinea3YArchivoIlegibleEnLaLinea0) {
    const QByteArray bytContenido = "<?xml version=\"1.0\"?>\n<Verondal><Conexiones>\n"
                                    "<Conexion Id=\"cnx1\"></Conexiones>\n</Verondal>\n";
    const QString strRuta = ConfiguracionDePrueba(bytContenido);
    CDialogosGuion guion;
    CVerondal verondal(strRuta);
    EXPECT_TRUE(verondal.Error());
    EXPECT_EQ(verondal.Conexiones().Count(), 0);
    ASSERT_EQ(guion.mensajes.size(), 1u);
    EXPECT_EQ(guion.mensajes[0].strTexto,
              u"Error en la línea 3 del archivo "_s + strRuta +
                  u"\r\nLas etiquetas de apertura y cierre no coinciden."_s);
    EXPECT_EQ(guion.mensajes[0].intEstilo, 16);
    EXPECT_EQ(guion.mensajes[0].strTitulo, u"Error"_s);
    EXPECT_EQ(Leer(strRuta), bytContenido);

    // A file that cannot be read is an error of line 0, and is never created.
    guion.mensajes.clear();
    const QString strFalta = CarpetaDeLaPrueba() + u"/no-existe.xml"_s;
    EXPECT_TRUE(CVerondal(strFalta).Error());
    ASSERT_EQ(guion.mensajes.size(), 1u);
    EXPECT_TRUE(guion.mensajes[0].strTexto.startsWith(u"Error en la línea 0 del archivo "_s +
                                                      strFalta + u"\r\n"_s));
    EXPECT_FALSE(QFile::exists(strFalta));
}

TEST(ConfiguracionTest, AgregarYEliminarEnLaMismaEjecucion) {
    const QString strRuta = ConfiguracionDePrueba(kDosConexiones);
    CVerondal verondal(strRuta);
    CConexion& objNueva =
        verondal.Conexiones().NuevaConexion(u"  <Ventas> & \"más\"  "_s, u"DSN=ventas"_s);
    EXPECT_EQ(objNueva.Id(), u"cnx3"_s);
    EXPECT_EQ(IdsEnArchivo(strRuta), QStringList({"cnx1", "cnx2", "cnx3"}));

    // The title exactly as typed, the string as even upper-case digits.
    const QDomElement xmlNodo = objNueva.Nodo();
    EXPECT_EQ(xmlNodo.firstChildElement(u"Titulo"_s).text(), u"  <Ventas> & \"más\"  "_s);
    const QString strCifrada = xmlNodo.firstChildElement(u"CadenaDeConexion"_s).text();
    EXPECT_EQ(strCifrada, EncriptarTexto(u"DSN=ventas"_s));
    {
        CVerondal objOtra(strRuta);
        EXPECT_EQ(objOtra.Conexiones().Item(u"cnx3"_s).Titulo(), u"  <Ventas> & \"más\"  "_s);
        EXPECT_EQ(objOtra.Conexiones().Item(u"cnx3"_s).CadenaDeConexion(), u"DSN=ventas"_s);
    }

    verondal.Conexiones().Eliminar(u"cnx3"_s);
    EXPECT_EQ(IdsEnArchivo(strRuta), QStringList({"cnx1", "cnx2"}));
    EXPECT_EQ(Leer(strRuta), kDosConexiones);
}

TEST(ConfiguracionTest, GuardadoFallidoNoCambiaNada) {
    // The file's folder is replaced by a plain file: no save can succeed, even as root.
    const QString strRuta = ConfiguracionDePrueba(kDosConexiones);
    const QString strCarpeta = QFileInfo(strRuta).path();
    CVerondal verondal(strRuta);
    CConexiones& objConexiones = verondal.Conexiones();
    ASSERT_TRUE(QDir().rename(strCarpeta, strCarpeta + u".aparte"_s));
    Escribir(strCarpeta, "no es una carpeta");

    try {
        objConexiones.NuevaConexion(u"Nueva"_s, u"DSN=nueva"_s);
        ADD_FAILURE() << "el guardado no falló";
    } catch (const CError& e) {
        EXPECT_TRUE(e.Descripcion().startsWith(
            u"No se pudo guardar el archivo de configuración "_s + strRuta + u": "_s))
            << qPrintable(e.Descripcion());
    }
    EXPECT_THROW(objConexiones.Eliminar(u"cnx1"_s), CError);
    EXPECT_EQ(Ids(objConexiones), QStringList({"cnx1", "cnx2"}));
    EXPECT_EQ(Leer(strCarpeta + u".aparte/Verondal.xml"_s), kDosConexiones);
    EXPECT_EQ(Leer(strCarpeta), QByteArray("no es una carpeta"));
    EXPECT_EQ(QDir(strCarpeta + u".aparte"_s).entryList(QDir::Files),
              QStringList({"Verondal.xml"}));

    // With the folder back, the next save shows the document kept neither change.
    ASSERT_TRUE(QFile::remove(strCarpeta));
    ASSERT_TRUE(QDir().rename(strCarpeta + u".aparte"_s, strCarpeta));
    EXPECT_EQ(objConexiones.NuevaConexion(u"Otra"_s, u"DSN=otra"_s).Id(), u"cnx3"_s);
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
        EXPECT_EQ(verondal.Conexiones().Item(u"cnx1"_s).Titulo(), u"Año"_s);
        verondal.Conexiones().NuevaConexion(u"Niño € ā"_s, u"DSN=x"_s);

        // The declaration as read, and bytes that match it.
        const QByteArray bytGuardado = Leer(strRuta);
        EXPECT_TRUE(bytGuardado.startsWith(bytDeclaracion + "\n"));
        EXPECT_TRUE(bytGuardado.contains("<Titulo>A\xF1o</Titulo>"));
        EXPECT_TRUE(bytGuardado.contains("&#257;</Titulo>"));
        CVerondal objReleido(strRuta);
        EXPECT_EQ(objReleido.Conexiones().Item(u"cnx2"_s).Titulo(), u"Niño € ā"_s);
    }
}

TEST(ConfiguracionTest, LoQueNoSePodriaReleerSeRechazaSinTocarNada) {
    const QString strRuta = ConfiguracionDePrueba(kDosConexiones);
    CVerondal verondal(strRuta);
    // A control character would make the file unreadable; a Cyrillic password would come back
    // as question marks.
    EXPECT_THROW(verondal.Conexiones().NuevaConexion(u"a\x01"_s, u"DSN=x"_s), CError);
    EXPECT_THROW(verondal.Conexiones().NuevaConexion(u"b"_s, u"DSN=x;Pwd=пароль"_s), CError);
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
        EXPECT_EQ(e.Origen(), u"CConfiguracion::CargarConexiones()"_s);
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
