// verondal-cli's commands on the connection list: what a script reads back, and a file left
// untouched by every failed command.
#include "Aplicacion.h"

using namespace pruebas;

TEST(CliTest, AgregaListaDescifraYElimina) {
    const QString strRuta = ConfiguracionDePrueba(kDosConexiones);
    const QString strCadena = u"DRIVER={SQLite3};Database=/srv/datos/ventas.db"_s;

    CSalidaCli r = EjecutarCli({"--config", strRuta, "agregar", "Ventas ñ", strCadena});
    EXPECT_EQ(r.intEstado, 0) << qPrintable(r.Errores());
    EXPECT_EQ(r.Salida(), u"cnx3\n"_s);

    // --config may come after the order too.
    r = EjecutarCli({"conexiones", "--config", strRuta});
    EXPECT_EQ(r.intEstado, 0);
    EXPECT_EQ(r.Salida(), u"cnx1\tServidor\ncnx2\tLetra\ncnx3\tVentas ñ\n"_s);

    r = EjecutarCli({"--config", strRuta, "cadena", "CNX3"});
    EXPECT_EQ(r.Salida(), strCadena + u'\n');
    r = EjecutarCli({"--config", strRuta, "cadena", "cnx1"});
    EXPECT_EQ(r.Salida(), QString::fromLatin1(kCadenaServidor) + u'\n');

    r = EjecutarCli({"--config", strRuta, "eliminar", "cnx3"});
    EXPECT_EQ(r.intEstado, 0);
    EXPECT_EQ(r.Salida(), QString());
    EXPECT_EQ(Leer(strRuta), kDosConexiones);
}

TEST(CliTest, UnaOrdenFallidaDaEstado2YNoTocaElArchivo) {
    const QString strRuta = ConfiguracionDePrueba(kDosConexiones);
    struct Caso {
        QStringList argumentos;
        QString strError;
    };
    const Caso casos[] = {
        {{"eliminar", "cnx9"}, "verondal-cli: No existe la conexión cnx9\n"},
        {{"cadena", "cnx9"}, "verondal-cli: No existe la conexión cnx9\n"},
        {{"agregar", "solo título"}, "verondal-cli: uso: verondal-cli agregar TÍTULO CADENA|-\n"},
        {{"agregar", "t", ""}, "verondal-cli: la cadena de conexión está vacía\n"},
        {{"conexiones", "sobra"}, "verondal-cli: uso: verondal-cli conexiones\n"},
    };
    for (const Caso& caso : casos) {
        const CSalidaCli r = EjecutarCli(QStringList({"--config", strRuta}) + caso.argumentos);
        EXPECT_EQ(r.intEstado, 2) << qPrintable(caso.argumentos.join(' '));
        EXPECT_EQ(r.Errores(), caso.strError);
        EXPECT_EQ(r.Salida(), QString());
    }
    EXPECT_EQ(Leer(strRuta), kDosConexiones);
}

TEST(CliTest, ArchivoIlegibleOAusenteSeExplicaEnLaSalidaDeError) {
    const QString strRuta = ConfiguracionDePrueba("<Verondal>\n<Conexiones>\n</Verondal>\n");
    CSalidaCli r = EjecutarCli({"--config", strRuta, "conexiones"});
    EXPECT_EQ(r.intEstado, 2);
    EXPECT_TRUE(r.Errores().startsWith(u"verondal-cli: Error en la línea 3 del archivo "_s +
                                       strRuta + u'\n'))
        << qPrintable(r.Errores());

    const QString strAusente = CarpetaDeLaPrueba() + u"/no-existe.xml"_s;
    r = EjecutarCli({"--config", strAusente, "agregar", "t", "DSN=t"});
    EXPECT_EQ(r.intEstado, 2);
    EXPECT_EQ(r.Errores(),
              u"verondal-cli: no existe el archivo de configuración "_s + strAusente + u'\n');
    EXPECT_FALSE(QFile::exists(strAusente));
}
