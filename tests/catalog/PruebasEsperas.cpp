// A server that accepted the login and then went mute: a catalogue read ends at the statement
// limit with the connection's name, and Ctrl+C ends a comparison blocked on it at once. The mute
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
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace pruebas;

namespace {

// Forwards between a local port and a server's until told to fall silent, or until the client
// sends the marker (a query that text is part of).
class CRelevo {
public:
    explicit CRelevo(const QString& strPuertoServidor, QByteArray bytMarca = {})
        : m_Escucha(socket(AF_INET, SOCK_STREAM, 0)), m_Marca(std::move(bytMarca)) {
        m_Servidor.sin_family = AF_INET;
        m_Servidor.sin_port = htons(strPuertoServidor.toUShort());
        m_Servidor.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        sockaddr_in local = m_Servidor;
        local.sin_port = 0;
        socklen_t largo = sizeof local;
        bind(m_Escucha, reinterpret_cast<sockaddr*>(&local), sizeof local);
        listen(m_Escucha, 8);
        getsockname(m_Escucha, reinterpret_cast<sockaddr*>(&local), &largo);
        m_Puerto = ntohs(local.sin_port);
        m_Hilo = std::thread([this] { Servir(); });
    }
    ~CRelevo() {
        m_booFin = true;
        m_Hilo.join();
        for (const pollfd& p : m_Fds)
            if (p.fd >= 0)
                close(p.fd);
    }
    QString Puerto() const { return QString::number(m_Puerto); }
    void Callar() { m_booMudo = true; }
    bool Mudo() const { return m_booMudo; }

private:
    void Servir() {
        m_Fds.push_back({m_Escucha, POLLIN, 0});
        while (!m_booFin) {
            // Mute: nothing is read, so the driver's request sits unanswered.
            const nfds_t n = m_booMudo ? 1 : m_Fds.size();
            if (poll(m_Fds.data(), n, 50) <= 0)
                continue;
            if (m_Fds[0].revents & POLLIN) {
                const int cliente = accept(m_Escucha, nullptr, nullptr);
                const int servidor = socket(AF_INET, SOCK_STREAM, 0);
                connect(servidor, reinterpret_cast<sockaddr*>(&m_Servidor), sizeof m_Servidor);
                m_Fds.push_back({cliente, POLLIN, 0});
                m_Fds.push_back({servidor, POLLIN, 0});
            }
            for (std::size_t i = 1; i < n; ++i) {
                if (!(m_Fds[i].revents & (POLLIN | POLLHUP)))
                    continue;
                char trozo[65536];
                const ssize_t leidos = read(m_Fds[i].fd, trozo, sizeof trozo);
                const bool booDelCliente = i % 2 == 1;
                pollfd& otro = m_Fds[booDelCliente ? i + 1 : i - 1];
                if (leidos <= 0) {
                    close(m_Fds[i].fd);
                    close(otro.fd);
                    m_Fds[i].fd = otro.fd = -1;
                } else if (booDelCliente && !m_Marca.isEmpty() &&
                           QByteArray::fromRawData(trozo, leidos).contains(m_Marca)) {
                    m_booMudo = true;
                } else if (!m_booMudo && write(otro.fd, trozo, std::size_t(leidos)) < 0) {
                    m_booMudo = true;
                }
            }
        }
    }

    int m_Escucha;
    sockaddr_in m_Servidor{};
    quint16 m_Puerto = 0;
    QByteArray m_Marca;
    std::vector<pollfd> m_Fds; // the listener, then client and server of each link
    std::atomic<bool> m_booMudo{false}, m_booFin{false};
    std::thread m_Hilo;
};

QString PorRelevo(const QString& strCadena, const QString& strPuerto, const CRelevo& relevo) {
    return QString(strCadena).replace(QStringLiteral("Port=") + strPuerto,
                                      QStringLiteral("Port=") + relevo.Puerto());
}

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
    const struct {
        QString strTitulo, strPuerto, strCadena;
    } servidores[] = {
        {QStringLiteral("PostgreSQL mudo"), qEnvironmentVariable("VERONDAL_PG_PUERTO"),
         CadenaPostgres(QStringLiteral("postgres"))},
        {QStringLiteral("MariaDB mudo"), qEnvironmentVariable("VERONDAL_MARIADB_PUERTO"),
         CadenaMariaDB(QStringLiteral("mysql"))}};
    for (const auto& s : servidores) {
        SCOPED_TRACE(s.strTitulo.toStdString());
        CRelevo relevo(s.strPuerto);
        CConexion conexion;
        conexion.setTitulo(s.strTitulo);
        conexion.setCadenaDeConexion(PorRelevo(s.strCadena, s.strPuerto, relevo));
        ASSERT_TRUE(conexion.Conectar()) << conexion.ErrorConexion().toStdString();
        ASSERT_TRUE(conexion.Tablas());

        relevo.Callar();
        QElapsedTimer reloj;
        reloj.start();
        EXPECT_FALSE(conexion.Tablas());
        const qint64 intMs = reloj.elapsed();
        EXPECT_GE(intMs, 1900);
        EXPECT_LT(intMs, 3000);
        std::printf("%s: error a los %.2f s de silencio\n", qPrintable(s.strTitulo),
                    static_cast<double>(intMs) / 1000.0);
        EXPECT_FALSE(conexion.Conectado());
        EXPECT_EQ(conexion.ErrorConexion(),
                  QStringLiteral("La conexión \"%1\" no respondió en 2 segundos y se ha cerrado")
                      .arg(s.strTitulo));
        // Closed, not stuck: the same object opens again on a server that answers.
        conexion.setCadenaDeConexion(s.strCadena);
        ASSERT_TRUE(conexion.Conectar());
        EXPECT_TRUE(conexion.Tablas());
    }
}

TEST(EsperasTest, CtrlCCortaUnaComparacionBloqueadaYDaLoEncontrado) {
    REQUIERE_POSTGRES();
    const QString strSqlite = CarpetaTemporal() + QStringLiteral("/esperas.sqlite");
    const QString strPuerto = qEnvironmentVariable("VERONDAL_PG_PUERTO");
    // Mute at the procedures query: the tables phase has found its differences by then.
    CRelevo relevo(strPuerto, QByteArrayLiteral("pg_proc"));
    QProcess cli;
    cli.start(QStringLiteral(VERONDAL_BIN "/verondal-cli"),
              {QStringLiteral("comparar"), QStringLiteral("--cadena1"),
               CrearBaseSQLite(strSqlite, Fixture(QStringLiteral("comparar_sqlite_a.sql"))),
               QStringLiteral("--cadena2"),
               PorRelevo(CadenaPostgres(QStringLiteral("postgres")), strPuerto, relevo)});
    ASSERT_TRUE(cli.waitForStarted());
    for (int i = 0; i < 200 && !relevo.Mudo(); ++i)
        QThread::msleep(50);
    ASSERT_TRUE(relevo.Mudo()) << cli.readAllStandardError().toStdString();
    QThread::msleep(300);

    QElapsedTimer reloj;
    reloj.start();
    kill(static_cast<pid_t>(cli.processId()), SIGINT);
    ASSERT_TRUE(cli.waitForFinished(5000));
    const qint64 intMs = reloj.elapsed();
    std::printf("Ctrl+C: salida a los %.2f s\n", static_cast<double>(intMs) / 1000.0);
    EXPECT_LT(intMs, 1500);
    EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(cli.exitCode(), 1);
    const QString strSalida = QString::fromUtf8(cli.readAllStandardOutput());
    EXPECT_TRUE(strSalida.contains(QStringLiteral("contador\tTabla"))) << qPrintable(strSalida);
    EXPECT_TRUE(QString::fromUtf8(cli.readAllStandardError())
                    .contains(QStringLiteral("Se canceló la espera a la conexión \"postgres\"")));
}
