// A SQLite file another program holds locked: the wait is the program's few seconds, not the
// driver's hundred per call, and the reason reaches the user.
#include "Entorno.h"
#include "catalog/CConexion.h"

#include <QElapsedTimer>
#include <QProcess>

using namespace pruebas;

TEST(BloqueoSQLiteTest, UnaBaseBloqueadaFallaEnPocosSegundos) {
    const QString strBase = CarpetaTemporal() + u"/bloqueada.sqlite"_s;
    CConexion conexion;
    conexion.setCadenaDeConexion(CrearBaseSQLite(strBase, Fixture(u"catalogo_sqlite.sql"_s)));
    // Another writer holds the file until it is told to let go.
    QProcess escritor;
    escritor.start(u"sqlite3"_s, {strBase});
    ASSERT_TRUE(escritor.waitForStarted());
    escritor.write("BEGIN EXCLUSIVE;\nSELECT 'bloqueada';\n");
    ASSERT_TRUE(escritor.waitForReadyRead(10000));

    QElapsedTimer reloj;
    reloj.start();
    EXPECT_FALSE(conexion.Conectar());
    EXPECT_LT(reloj.elapsed(), 15000); // the opening reads twice, 5 s each at most
    EXPECT_TRUE(conexion.ErrorConexion().contains(u"locked"_s))
        << qPrintable(conexion.ErrorConexion());

    escritor.write("ROLLBACK;\n.quit\n");
    escritor.closeWriteChannel();
    EXPECT_TRUE(escritor.waitForFinished(10000));
    EXPECT_TRUE(conexion.Conectar() && conexion.Tablas()) << qPrintable(conexion.ErrorConexion());
}
