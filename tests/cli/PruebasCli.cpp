// verondal-cli's commands on the connection list: what a script reads back, and a file left
// untouched by every failed command.
#include "Aplicacion.h"

#include <gtest/gtest.h>

using namespace pruebas;

TEST(CliTest, AgregaListaDescifraYElimina) {
    const QString strRuta = ConfiguracionDePrueba(kDosConexiones);
    const QString strCadena = QStringLiteral("DRIVER={SQLite3};Database=/srv/datos/ventas.db");

    CSalidaCli r = EjecutarCli({"--config", strRuta, "agregar", "Ventas ñ", strCadena});
    EXPECT_EQ(r.intEstado, 0) << qPrintable(r.Errores());
    EXPECT_EQ(r.Salida(), QStringLiteral("cnx3\n"));

    // --config may come after the order too.
    r = EjecutarCli({"conexiones", "--config", strRuta});
    EXPECT_EQ(r.intEstado, 0);
    EXPECT_EQ(r.Salida(), QStringLiteral("cnx1\tServidor\ncnx2\tLetra\ncnx3\tVentas ñ\n"));

    r = EjecutarCli({"--config", strRuta, "cadena", "CNX3"});
    EXPECT_EQ(r.Salida(), strCadena + QLatin1Char('\n'));
    r = EjecutarCli({"--config", strRuta, "cadena", "cnx1"});
    EXPECT_EQ(r.Salida(), QString::fromLatin1(kCadenaServidor) + QLatin1Char('\n'));

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
    EXPECT_TRUE(
        r.Errores().startsWith(QStringLiteral("verondal-cli: Error en la línea 3 del archivo ") +
                               strRuta + QLatin1Char('\n')))
        << qPrintable(r.Errores());

    const QString strAusente = CarpetaDeLaPrueba() + QStringLiteral("/no-existe.xml");
    r = EjecutarCli({"--config", strAusente, "agregar", "t", "DSN=t"});
    EXPECT_EQ(r.intEstado, 2);
    EXPECT_EQ(r.Errores(), QStringLiteral("verondal-cli: no existe el archivo de configuración ") +
                               strAusente + QLatin1Char('\n'));
    EXPECT_FALSE(QFile::exists(strAusente));
}
