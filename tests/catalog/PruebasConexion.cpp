// The database link of a connection: opening, failing, closing, the string read back, the
// properties; against real drivers (and a listener that never answers).
#include "AyudaCatalogo.h"
#include "Entorno.h"
#include "catalog/COdbcConexion.h"
#include "catalog/COdbcSentencia.h"
#include "comun/CError.h"

#include <QElapsedTimer>
#include <QFile>
#include <arpa/inet.h>
#include <future>
#include <netinet/in.h>
#include <optional>
#include <sys/socket.h>
#include <unistd.h>

using namespace pruebas;

namespace {

// A TCP listener on loopback that lets the kernel complete the handshake and never says a word.
class CServidorMudo {
public:
    CServidorMudo() {
        m_Socket = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in direccion{};
        direccion.sin_family = AF_INET;
        direccion.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_Socket, reinterpret_cast<sockaddr*>(&direccion), sizeof direccion);
        listen(m_Socket, 16);
        socklen_t largo = sizeof direccion;
        getsockname(m_Socket, reinterpret_cast<sockaddr*>(&direccion), &largo);
        m_Puerto = ntohs(direccion.sin_port);
    }
    ~CServidorMudo() { close(m_Socket); }
    int Puerto() const { return m_Puerto; }

private:
    int m_Socket = -1;
    int m_Puerto = 0;
};

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
    const QString ruta = RutaTemporal(QStringLiteral("no-existe.sqlite"));
    QFile::remove(ruta);
    CConexion c;
    c.setCadenaDeConexion(CadenaSQLite(ruta));
    EXPECT_FALSE(c.Conectar());
    EXPECT_FALSE(c.Conectado());
    EXPECT_EQ(c.ErrorConexion(),
              QStringLiteral("El archivo de base de datos «%1» no existe").arg(ruta));
    EXPECT_FALSE(QFile::exists(ruta));
}

TEST(ConexionTest, UnArchivoQueNoEsUnaBaseSQLiteNoSeAbre) {
    // The driver connects to any file and then lists nothing, as if the database were empty.
    const QString ruta = RutaTemporal(QStringLiteral("texto.sqlite"));
    ASSERT_NO_FATAL_FAILURE(Escribir(
        ruta,
        QByteArray("Esto no es una base de datos, sino un texto bastante largo.\n").repeated(40)));
    CConexion c;
    c.setCadenaDeConexion(CadenaSQLite(ruta));
    EXPECT_FALSE(c.Conectar());
    EXPECT_EQ(c.ErrorConexion(), QStringLiteral("[HY000] [SQLite]file is not a database (26)"));
    EXPECT_FALSE(c.Conectado());
}

TEST(ConexionTest, ControladorDesconocidoDaElTextoDelGestorDeControladores) {
    const CIntento i = Intentar(QStringLiteral("DRIVER={No Existe};Database=x;"));
    EXPECT_FALSE(i.conectado);
    EXPECT_TRUE(i.error.startsWith(
        QStringLiteral("[01000] [unixODBC][Driver Manager]Can't open lib 'No Existe'")))
        << i.error.toStdString();
}

TEST(ConexionTest, ServidorMudoFallaDentroDelPlazoConCadaControlador) {
    // PostgreSQL's driver honours the login time-out; MariaDB's needs its own keyword. Openings
    // take turns (each notes the sockets it opened), so one after the other.
    CServidorMudo mudo;
    for (const QString& controlador :
         {QStringLiteral("PostgreSQL Unicode"), QStringLiteral("MariaDB Unicode")}) {
        const CIntento i = Intentar(QStringLiteral("DRIVER={%1};Server=127.0.0.1;Port=%2;"
                                                   "Database=x;Uid=x;")
                                        .arg(controlador)
                                        .arg(mudo.Puerto()));
        EXPECT_FALSE(i.conectado);
        EXPECT_LT(i.milisegundos, (COdbcConexion::kSegundosConexion + 5) * 1000);
        EXPECT_FALSE(i.error.isEmpty());
    }
}

TEST(ConexionTest, LaCadenaLeidaAbiertaSirveParaVolverAConectarYNoLlevaLoQueAnadeLaCapa) {
    const QString cadena = CrearBaseSQLite(RutaTemporal(QStringLiteral("leida.sqlite")),
                                           Fixture(QStringLiteral("catalogo_sqlite.sql")));
    auto c = Abrir(cadena);
    const QString leida = c->CadenaDeConexion();
    EXPECT_TRUE(leida.startsWith(QStringLiteral("DRIVER={SQLite3};"))) << leida.toStdString();
    EXPECT_FALSE(leida.contains(QStringLiteral("NoCreat=1"))) << leida.toStdString();
    auto otra = Abrir(leida);
    EXPECT_TRUE(otra->Conectado());
}

TEST(ConexionTest, LiberarUnaConexionAbiertaLaCierraEnElServidor) {
    REQUIERE_POSTGRES();
    const CBaseServidor base(CBaseServidor::Motor::Postgres, QStringLiteral("cat_liberar"));
    const QString cadena = base.Cadena();
    ASSERT_FALSE(cadena.isEmpty());
    COdbcConexion observador;
    observador.Abrir(CadenaPostgres(QStringLiteral("postgres")));
    auto sesiones = [&] {
        COdbcSentencia s(observador);
        s.Ejecutar(QStringLiteral("SELECT count(*) FROM pg_stat_activity WHERE datname = '%1'")
                       .arg(base.Nombre()));
        return s.Siguiente() ? s.Entero(0).value_or(-1) : -1;
    };
    auto c = Abrir(cadena);
    EXPECT_EQ(sesiones(), 1);
    c.reset();
    // The server notices the goodbye a moment later.
    qlonglong n = -1;
    for (int i = 0; i < 50 && (n = sesiones()) != 0; ++i)
        usleep(20000);
    EXPECT_EQ(n, 0);
}

TEST(ConexionTest, LasPropiedadesNuncaMuestranLaContrasena) {
    CConexion cerrada;
    cerrada.setCadenaDeConexion(QStringLiteral(
        "DRIVER={PostgreSQL Unicode};Server=127.0.0.1;Uid=ana;PWD={se;cre}}to};Database=x"));
    const auto propiedades = cerrada.Propiedades();
    ASSERT_EQ(propiedades.size(), 5);
    EXPECT_EQ(propiedades[0].first, QStringLiteral("DRIVER"));
    EXPECT_EQ(propiedades[0].second.toString(), QStringLiteral("PostgreSQL Unicode"));
    EXPECT_EQ(propiedades[3].first, QStringLiteral("PWD"));
    EXPECT_EQ(propiedades[3].second.toString(), QStringLiteral("********"));
    for (const auto& [nombre, valor] : propiedades)
        EXPECT_FALSE(valor.toString().contains(QStringLiteral("cre"))) << nombre.toStdString();

    REQUIERE_POSTGRES();
    // Trust authentication lets the password through unused: it is still in the string.
    const CBaseServidor base(CBaseServidor::Motor::Postgres, QStringLiteral("cat_clave"));
    ASSERT_FALSE(base.Cadena().isEmpty());
    auto abierta = Abrir(base.Cadena() + QStringLiteral("Pwd=secreto;"));
    const auto delControlador = abierta->Propiedades();
    ASSERT_FALSE(delControlador.isEmpty());
    EXPECT_EQ(delControlador[0].first, QStringLiteral("Provider Friendly Name"));
    EXPECT_EQ(delControlador[0].second.toString(), QStringLiteral("PostgreSQL Unicode"));
    for (const auto& [nombre, valor] : delControlador)
        EXPECT_FALSE(valor.toString().contains(QStringLiteral("secreto"))) << nombre.toStdString();
}
