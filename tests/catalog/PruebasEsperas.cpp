// A server that accepted the login and then went mute: a catalogue read ends at the statement
// limit naming the connection, and Ctrl+C ends a comparison blocked on it at once. The mute
// server is a relay that stops forwarding, so the suite's shared servers are never stopped.
#include "Entorno.h"
#include "catalog/CConexion.h"
#include "catalog/COdbcSentencia.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <atomic>
#include <csignal>

using namespace pruebas;

namespace {

// Forwards between a port of its own and a server's until told to fall silent, or until the
// client sends the marker (a text of the query to hang on). Its own thread keeps forwarding
// while the test blocks in a driver call.
class CRelevo : public QThread {
public:
    explicit CRelevo(const QString& strPuerto, QByteArray bytMarca = {})
        : m_strPuerto(strPuerto), m_Marca(std::move(bytMarca)) {
        m_Escucha.listen(QHostAddress::LocalHost);
        m_Escucha.moveToThread(this);
        start();
    }
    ~CRelevo() override {
        quit();
        wait();
    }
    // The connection string with the server's port swapped for the relay's.
    QString Cadena(const QString& strCadena) const {
        return QString(strCadena).replace("Port=" + m_strPuerto,
                                          "Port=" + QString::number(m_Escucha.serverPort()));
    }
    void Callar() { m_booMudo = true; }
    bool Mudo() const { return m_booMudo; }

private:
    void run() override {
        QObject::connect(&m_Escucha, &QTcpServer::newConnection, [this] {
            QTcpSocket* cliente = m_Escucha.nextPendingConnection();
            auto* servidor = new QTcpSocket(cliente);
            servidor->connectToHost(QHostAddress::LocalHost, m_strPuerto.toUShort());
            // Mute: what arrives is dropped, so the driver's request sits unanswered.
            const auto pasar = [this](QTcpSocket* de, QTcpSocket* a, bool booDelCliente) {
                QObject::connect(de, &QTcpSocket::readyRead, a, [=, this] {
                    const QByteArray trozo = de->readAll();
                    m_booMudo = m_booMudo ||
                                (booDelCliente && !m_Marca.isEmpty() && trozo.contains(m_Marca));
                    if (!m_booMudo)
                        a->write(trozo);
                });
            };
            pasar(cliente, servidor, true);
            pasar(servidor, cliente, false);
        });
        exec();
        // Sockets belong to this thread: they go here, not from the test's.
        qDeleteAll(m_Escucha.findChildren<QTcpSocket*>(Qt::FindDirectChildrenOnly));
        m_Escucha.close();
    }

    QString m_strPuerto;
    QByteArray m_Marca;
    QTcpServer m_Escucha;
    std::atomic<bool> m_booMudo{false};
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
