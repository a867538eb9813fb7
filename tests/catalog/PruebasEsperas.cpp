// A server that accepted the login and then went mute: a catalogue read ends at the statement
// limit naming the connection, and Ctrl+C ends a comparison blocked on it at once. The mute
// server is a relay that stops forwarding, so the suite's shared servers are never stopped.
#include "Entorno.h"
#include "catalog/CConexion.h"
#include "catalog/COdbcSentencia.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <arpa/inet.h>
#include <atomic>
#include <csignal>
#include <poll.h>
#include <thread>
#include <unistd.h>

using namespace pruebas;

namespace {

// Forwards between a port of its own and a server's until told to fall silent, or until the
// client sends the marker (a text of the query to hang on).
class CRelevo {
public:
    explicit CRelevo(const QString& strPuerto, QByteArray bytMarca = {})
        : m_strPuerto(strPuerto), m_Marca(std::move(bytMarca)) {
        sockaddr_in local{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
        socklen_t largo = sizeof local;
        const int escucha = socket(AF_INET, SOCK_STREAM, 0);
        bind(escucha, reinterpret_cast<sockaddr*>(&local), largo);
        listen(escucha, 8);
        getsockname(escucha, reinterpret_cast<sockaddr*>(&local), &largo);
        m_strPropio = QString::number(ntohs(local.sin_port));
        m_Fds.push_back({escucha, POLLIN, 0});
        m_Hilo = std::thread([this] { Servir(); });
    }
    ~CRelevo() {
        m_booFin = true;
        m_Hilo.join();
        for (const pollfd& p : m_Fds)
            close(p.fd < 0 ? ~p.fd : p.fd);
    }
    // The connection string with the server's port swapped for the relay's.
    QString Cadena(const QString& strCadena) const {
        return QString(strCadena).replace("Port=" + m_strPuerto, "Port=" + m_strPropio);
    }
    void Callar() { m_booMudo = true; }
    bool Mudo() const { return m_booMudo; }

private:
    void Servir() {
        while (!m_booFin) {
            // Mute: nothing more is read, so the driver's request sits unanswered.
            const nfds_t n = m_booMudo ? 1 : m_Fds.size();
            if (poll(m_Fds.data(), n, 50) <= 0)
                continue;
            if (m_Fds[0].revents & POLLIN) {
                sockaddr_in servidor{
                    AF_INET, htons(m_strPuerto.toUShort()), {htonl(INADDR_LOOPBACK)}, {}};
                m_Fds.push_back({accept(m_Fds[0].fd, nullptr, nullptr), POLLIN, 0});
                m_Fds.push_back({socket(AF_INET, SOCK_STREAM, 0), POLLIN, 0});
                connect(m_Fds.back().fd, reinterpret_cast<sockaddr*>(&servidor), sizeof servidor);
            }
            for (std::size_t i = 1; i < n; ++i) {
                char trozo[65536];
                const ssize_t leidos =
                    m_Fds[i].revents ? read(m_Fds[i].fd, trozo, sizeof trozo) : -1;
                const int destino = m_Fds[i % 2 ? i + 1 : i - 1].fd; // client, then its server
                if (leidos > 0 && i % 2 && !m_Marca.isEmpty() &&
                    QByteArray::fromRawData(trozo, leidos).contains(m_Marca))
                    m_booMudo = true;
                if (leidos > 0 && !m_booMudo && write(destino, trozo, std::size_t(leidos)) < 0)
                    m_booMudo = true;
                if (leidos == 0)
                    m_Fds[i].fd = ~m_Fds[i].fd; // closed by its end: poll no more
            }
        }
    }

    QString m_strPuerto, m_strPropio;
    QByteArray m_Marca;
    std::vector<pollfd> m_Fds; // the listener, then client and server of each link
    std::atomic<bool> m_booMudo{false}, m_booFin{false};
    std::thread m_Hilo;
};

} // namespace

TEST(EsperasTest, UnServidorMudoDaUnErrorConSuNombreAlAcabarElPlazo) {
    REQUIERE_POSTGRES();
    REQUIERE_MARIADB();
    COdbcSentencia::EstablecerSegundosPredeterminados(2);
    struct CRestaurar {
        ~CRestaurar() {
            COdbcSentencia::EstablecerSegundosPredeterminados(COdbcSentencia::kSegundosConsulta);
        }
    } restaurar;
    const std::pair<const char*, QString> servidores[] = {
        {"PostgreSQL mudo", CadenaPostgres(u"postgres"_s)},
        {"MariaDB mudo", CadenaMariaDB(u"mysql"_s)}};
    for (const auto& [strTitulo, strCadena] : servidores) {
        SCOPED_TRACE(strTitulo);
        CRelevo relevo(qEnvironmentVariable(*strTitulo == 'P' ? "VERONDAL_PG_PUERTO"
                                                              : "VERONDAL_MARIADB_PUERTO"));
        CConexion conexion;
        conexion.setTitulo(QString::fromUtf8(strTitulo));
        conexion.setCadenaDeConexion(relevo.Cadena(strCadena));
        ASSERT_TRUE(conexion.Conectar()) << conexion.ErrorConexion().toStdString();
        ASSERT_TRUE(conexion.Tablas());

        relevo.Callar();
        QElapsedTimer reloj;
        reloj.start();
        EXPECT_FALSE(conexion.Tablas());
        const qint64 intMs = reloj.elapsed();
        EXPECT_GE(intMs, 1900);
        EXPECT_LT(intMs, 3000);
        std::printf("%s: error a los %.2f s de silencio\n", strTitulo, double(intMs) / 1000.0);
        EXPECT_FALSE(conexion.Conectado());
        EXPECT_EQ(
            conexion.ErrorConexion(),
            u"La conexión \"%1\" no respondió en 2 segundos y se ha cerrado"_s.arg(strTitulo));
        // Closed, not stuck: the same object opens again on a server that answers.
        conexion.setCadenaDeConexion(strCadena);
        ASSERT_TRUE(conexion.Conectar());
        EXPECT_TRUE(conexion.Tablas());
    }
}

TEST(EsperasTest, CtrlCCortaUnaComparacionBloqueadaYDaLoEncontrado) {
    REQUIERE_POSTGRES();
    // Mute at the procedures query: the tables phase has found its differences by then.
    CRelevo relevo(qEnvironmentVariable("VERONDAL_PG_PUERTO"), QByteArrayLiteral("pg_proc"));
    const QString strSqlite = CrearBaseSQLite(CarpetaTemporal() + u"/esperas.sqlite"_s,
                                              Fixture(u"comparar_sqlite_a.sql"_s));
    const QString strPostgres = CadenaPostgres(u"postgres"_s);
    QProcess cli;
    cli.start(QStringLiteral(VERONDAL_BIN "/verondal-cli"),
              {"comparar", "--cadena1", strSqlite, "--cadena2", relevo.Cadena(strPostgres)});
    for (int i = 0; i < 200 && !relevo.Mudo(); ++i)
        QThread::msleep(50);
    ASSERT_TRUE(relevo.Mudo()) << cli.readAllStandardError().toStdString();

    QElapsedTimer reloj;
    reloj.start();
    kill(static_cast<pid_t>(cli.processId()), SIGINT);
    ASSERT_TRUE(cli.waitForFinished(5000));
    std::printf("Ctrl+C: salida a los %.2f s\n", double(reloj.elapsed()) / 1000.0);
    EXPECT_LT(reloj.elapsed(), 1500);
    EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(cli.exitCode(), 1); // differences found before the cancel
    EXPECT_TRUE(cli.readAllStandardOutput().contains("contador\tTabla"));
    EXPECT_TRUE(QString::fromUtf8(cli.readAllStandardError())
                    .contains(u"Se canceló la espera a la conexión \"postgres\""_s));

    // Ctrl+C while the opening itself waits on a server mute from the start.
    CRelevo mudo(qEnvironmentVariable("VERONDAL_PG_PUERTO"));
    mudo.Callar();
    QProcess abriendo;
    abriendo.start(QStringLiteral(VERONDAL_BIN "/verondal-cli"),
                   {"comparar", "--cadena1", mudo.Cadena(strPostgres), "--cadena2", strSqlite});
    QThread::msleep(1000);
    reloj.restart();
    kill(static_cast<pid_t>(abriendo.processId()), SIGINT);
    ASSERT_TRUE(abriendo.waitForFinished(5000));
    std::printf("Ctrl+C al abrir: salida a los %.2f s\n", double(reloj.elapsed()) / 1000.0);
    EXPECT_LT(reloj.elapsed(), 1500);
    EXPECT_EQ(abriendo.exitCode(), 2); // cancelled with nothing found
    EXPECT_TRUE(QString::fromUtf8(abriendo.readAllStandardError())
                    .contains(u"Se canceló la apertura de la conexión \"postgres\""_s));
}
