// verondal-cli's commands on the connection list: what a script reads back, and a file left
// untouched by every failed command.
#include "Aplicacion.h"

#include <gtest/gtest.h>

using namespace pruebas;

namespace {

struct CResultado {
    int intSalida;
    QString strSalida;
    QString strError;
};

CResultado Cli(const QStringList& argumentos) {
    const CSalidaCli s = EjecutarCli(argumentos);
    return {s.intEstado, s.Salida(), s.Errores()};
}

} // namespace

TEST(CliTest, AgregaListaDescifraYElimina) {
    const QString strRuta = ConfiguracionDePrueba(kDosConexiones);
    const QString strCadena = QStringLiteral("DRIVER={SQLite3};Database=/srv/datos/ventas.db");

    CResultado r = Cli({"--config", strRuta, "agregar", "Ventas ñ", strCadena});
    EXPECT_EQ(r.intSalida, 0) << qPrintable(r.strError);
    EXPECT_EQ(r.strSalida, QStringLiteral("cnx3\n"));

    // --config may come after the order too.
    r = Cli({"conexiones", "--config", strRuta});
    EXPECT_EQ(r.intSalida, 0);
    EXPECT_EQ(r.strSalida, QStringLiteral("cnx1\tServidor\ncnx2\tLetra\ncnx3\tVentas ñ\n"));

    r = Cli({"--config", strRuta, "cadena", "CNX3"});
    EXPECT_EQ(r.strSalida, strCadena + QLatin1Char('\n'));
    r = Cli({"--config", strRuta, "cadena", "cnx1"});
    EXPECT_EQ(r.strSalida, QString::fromLatin1(kCadenaServidor) + QLatin1Char('\n'));

    r = Cli({"--config", strRuta, "eliminar", "cnx3"});
    EXPECT_EQ(r.intSalida, 0);
    EXPECT_EQ(r.strSalida, QString());
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
        {{"agregar", "t", "Pwd=Ωμέγα"},
         "verondal-cli: La cadena de conexión de cnx3 contiene caracteres que no caben en la "
         "página de códigos Windows-1252 y se perderían\n"},
        {{"conexiones", "sobra"}, "verondal-cli: uso: verondal-cli conexiones\n"},
    };
    for (const Caso& caso : casos) {
        const CResultado r = Cli(QStringList({"--config", strRuta}) + caso.argumentos);
        EXPECT_EQ(r.intSalida, 2) << qPrintable(caso.argumentos.join(' '));
        EXPECT_EQ(r.strError, caso.strError);
        EXPECT_EQ(r.strSalida, QString());
    }
    EXPECT_EQ(Leer(strRuta), kDosConexiones);
}

TEST(CliTest, ArchivoIlegibleOAusenteSeExplicaEnLaSalidaDeError) {
    const QString strRuta = ConfiguracionDePrueba("<Verondal>\n<Conexiones>\n</Verondal>\n");
    CResultado r = Cli({"--config", strRuta, "conexiones"});
    EXPECT_EQ(r.intSalida, 2);
    EXPECT_TRUE(
        r.strError.startsWith(QStringLiteral("verondal-cli: Error en la línea 3 del archivo ") +
                              strRuta + QLatin1Char('\n')))
        << qPrintable(r.strError);

    const QString strAusente = CarpetaDeLaPrueba() + QStringLiteral("/no-existe.xml");
    r = Cli({"--config", strAusente, "agregar", "t", "DSN=t"});
    EXPECT_EQ(r.intSalida, 2);
    EXPECT_EQ(r.strError, QStringLiteral("verondal-cli: no existe el archivo de configuración ") +
                              strAusente + QLatin1Char('\n'));
    EXPECT_FALSE(QFile::exists(strAusente));
}
