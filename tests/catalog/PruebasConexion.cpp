// The database link of a connection: opening, failing, the string read back, the properties;
// against real drivers (and a local listener that never answers). Closing on the server is the
// main window's closing test.
#include "AyudaCatalogo.h"
#include "catalog/COdbcConexion.h"
#include "comun/CError.h"

#include <QElapsedTimer>
#include <QTcpServer>

using namespace pruebas;

namespace {

struct CIntento {
    bool conectado;
    QString error;
    qint64 milisegundos;
};

CIntento Intentar(const QString& strCadena) {
    CConexion c;
    c.setCadenaDeConexion(strCadena);
    QElapsedTimer reloj;
    reloj.start();
    const bool ok = c.Conectar();
    return {ok, c.ErrorConexion(), reloj.elapsed()};
}

} // namespace

TEST(ConexionTest, ArchivoSQLiteInexistenteFallaNombrandoLaRutaSinCrearlo) {
    const QString ruta = RutaTemporal(u"no-existe.sqlite"_s);
    QFile::remove(ruta);
    CConexion c;
    c.setCadenaDeConexion(CadenaSQLite(ruta));
    EXPECT_FALSE(c.Conectar());
    EXPECT_FALSE(c.Conectado());
    EXPECT_EQ(c.ErrorConexion(), u"El archivo de base de datos «%1» no existe"_s.arg(ruta));
    EXPECT_FALSE(QFile::exists(ruta));
}

TEST(ConexionTest, UnArchivoQueNoEsUnaBaseSQLiteNoSeAbre) {
    // The driver connects to any file and then lists nothing, as if the database were empty.
    const QString ruta = RutaTemporal(u"texto.sqlite"_s);
    ASSERT_NO_FATAL_FAILURE(Escribir(
        ruta,
        QByteArray("Esto no es una base de datos, sino un texto bastante largo.\n").repeated(40)));
    CConexion c;
    c.setCadenaDeConexion(CadenaSQLite(ruta));
    EXPECT_FALSE(c.Conectar());
    EXPECT_EQ(c.ErrorConexion(), u"[HY000] [SQLite]file is not a database (26)"_s);
    EXPECT_FALSE(c.Conectado());
}

TEST(ConexionTest, ControladorDesconocidoDaElTextoDelGestorDeControladores) {
    const CIntento i = Intentar(u"DRIVER={No Existe};Database=x;"_s);
    EXPECT_FALSE(i.conectado);
    EXPECT_TRUE(
        i.error.startsWith(u"[01000] [unixODBC][Driver Manager]Can't open lib 'No Existe'"_s))
        << i.error.toStdString();
}

TEST(ConexionTest, ServidorMudoFallaDentroDelPlazoConCadaControlador) {
    // PostgreSQL's driver honours the login time-out; MariaDB's needs its own keyword. Openings
    // take turns (each notes the sockets it opened), so one after the other.
    QTcpServer mudo; // accepts and never says a word
    ASSERT_TRUE(mudo.listen(QHostAddress::LocalHost));
    for (const QString& controlador : {u"PostgreSQL Unicode"_s, u"MariaDB Unicode"_s}) {
        const CIntento i = Intentar(QStringLiteral("DRIVER={%1};Server=127.0.0.1;Port=%2;"
                                                   "Database=x;Uid=x;")
                                        .arg(controlador)
                                        .arg(mudo.serverPort()));
        EXPECT_FALSE(i.conectado);
        EXPECT_LT(i.milisegundos, (COdbcConexion::kSegundosConexion + 5) * 1000);
        EXPECT_FALSE(i.error.isEmpty());
    }
}

TEST(ConexionTest, LaCadenaLeidaAbiertaSirveParaVolverAConectarYNoLlevaLoQueAnadeLaCapa) {
    const QString cadena =
        CrearBaseSQLite(RutaTemporal(u"leida.sqlite"_s), Fixture(u"catalogo_sqlite.sql"_s));
    auto c = Abrir(cadena);
    const QString leida = c->CadenaDeConexion();
    EXPECT_TRUE(leida.startsWith(u"DRIVER={SQLite3};"_s)) << leida.toStdString();
    EXPECT_FALSE(leida.contains(u"NoCreat=1"_s)) << leida.toStdString();
    auto otra = Abrir(leida);
    EXPECT_TRUE(otra->Conectado());
}

TEST(ConexionTest, LasPropiedadesNuncaMuestranLaContrasena) {
    CConexion cerrada;
    cerrada.setCadenaDeConexion(QStringLiteral(
        "DRIVER={PostgreSQL Unicode};Server=127.0.0.1;Uid=ana;PWD={se;cre}}to};Database=x"));
    const auto propiedades = cerrada.Propiedades();
    ASSERT_EQ(propiedades.size(), 5);
    EXPECT_EQ(propiedades[0].first, u"DRIVER"_s);
    EXPECT_EQ(propiedades[0].second.toString(), u"PostgreSQL Unicode"_s);
    EXPECT_EQ(propiedades[3].first, u"PWD"_s);
    EXPECT_EQ(propiedades[3].second.toString(), u"********"_s);
    for (const auto& [nombre, valor] : propiedades)
        EXPECT_FALSE(valor.toString().contains(u"cre"_s)) << nombre.toStdString();

    REQUIERE_POSTGRES();
    // Trust authentication lets the password through unused: it is still in the string.
    const CBaseServidor base(CBaseServidor::Motor::Postgres, u"cat_clave"_s);
    ASSERT_FALSE(base.Cadena().isEmpty());
    auto abierta = Abrir(base.Cadena() + u"Pwd=secreto;"_s);
    const auto delControlador = abierta->Propiedades();
    ASSERT_FALSE(delControlador.isEmpty());
    EXPECT_EQ(delControlador[0].first, u"Provider Friendly Name"_s);
    EXPECT_EQ(delControlador[0].second.toString(), u"PostgreSQL Unicode"_s);
    for (const auto& [nombre, valor] : delControlador)
        EXPECT_FALSE(valor.toString().contains(u"secreto"_s)) << nombre.toStdString();
}
