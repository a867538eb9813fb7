// A SQLite file another program holds locked: the wait is the program's few seconds, not the
// driver's hundred per call, and the reason reaches the user.
#include "Entorno.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <cstdio>

using namespace pruebas;

TEST(BloqueoSQLiteTest, UnaBaseBloqueadaFallaEnPocosSegundos) {
    const QString strCarpeta = CarpetaTemporal() + QStringLiteral("/bloqueo-sqlite");
    QDir().mkpath(strCarpeta);
    const QString strBase = strCarpeta + QStringLiteral("/bloqueada.sqlite");
    const QString strCadena =
        CrearBaseSQLite(strBase, Fixture(QStringLiteral("catalogo_sqlite.sql")));
    ASSERT_FALSE(strCadena.isEmpty());
    const QString strConfig = strCarpeta + QStringLiteral("/Verondal.xml");
    {
        QFile f(strConfig);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<?xml version=\"1.0\"?>\n<Verondal><Conexiones></Conexiones></Verondal>\n");
    }
    const auto cli = [&](const QStringList& args, QProcess& p) {
        p.start(QStringLiteral(VERONDAL_BIN "/verondal-cli"),
                QStringList{QStringLiteral("--config"), strConfig} + args);
        return p.waitForFinished(60000);
    };
    QProcess agregar;
    ASSERT_TRUE(cli({QStringLiteral("agregar"), QStringLiteral("Bloqueada"), strCadena}, agregar));
    const QString strId = QString::fromUtf8(agregar.readAllStandardOutput()).trimmed();

    // Another writer holds the file until it is told to let go.
    QProcess escritor;
    escritor.start(QStringLiteral("sqlite3"), {strBase});
    ASSERT_TRUE(escritor.waitForStarted());
    escritor.write("BEGIN EXCLUSIVE;\nSELECT 'bloqueada';\n");
    ASSERT_TRUE(escritor.waitForReadyRead(10000));
    ASSERT_TRUE(escritor.readAll().contains("bloqueada"));

    QElapsedTimer reloj;
    reloj.start();
    QProcess catalogo;
    EXPECT_TRUE(cli({QStringLiteral("catalogo"), strId, QStringLiteral("tablas")}, catalogo))
        << "verondal-cli sigue esperando a la base bloqueada";
    const QString strError = QString::fromUtf8(catalogo.readAllStandardError());
    EXPECT_EQ(catalogo.exitCode(), 2);
    EXPECT_TRUE(strError.contains(QStringLiteral("locked"))) << qPrintable(strError);
    std::printf("base bloqueada: respuesta en %.1f s\n",
                static_cast<double>(reloj.elapsed()) / 1000.0);

    escritor.write("ROLLBACK;\n.quit\n");
    escritor.closeWriteChannel();
    EXPECT_TRUE(escritor.waitForFinished(10000));
    // Free again, the same order reads the catalogue.
    QProcess otra;
    ASSERT_TRUE(cli({QStringLiteral("catalogo"), strId, QStringLiteral("tablas")}, otra));
    EXPECT_EQ(otra.exitCode(), 0) << otra.readAllStandardError().toStdString();
}
