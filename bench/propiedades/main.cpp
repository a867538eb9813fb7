// How the connection properties window's fill time grows with the catalogue: SQLite files and
// PostgreSQL databases of 1,000 and 5,000 tables (5 columns, a primary key, a few rows each),
// the window filled on an open connection, against the row counts alone (one per table), which
// are its floor. PostgreSQL is measured when VERONDAL_PG_PUERTO names a server (scripts/test or
// /tmp/verondal/servidores-env.sh); its user is VERONDAL_PG_USUARIO.
#include "properties/frmPropiedadesConexion.h"
#include "registry/CVerondal.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

QByteArray Catalogo(int intTablas) {
    QByteArray sql = "BEGIN;\n";
    for (int i = 0; i < intTablas; ++i) {
        const QByteArray t = "t" + QByteArray::number(i);
        sql += "CREATE TABLE " + t +
               " (id INTEGER PRIMARY KEY, nombre VARCHAR(40), importe NUMERIC(10,2), alta DATE, "
               "nota VARCHAR(200));\n";
        sql += "INSERT INTO " + t + " (id, nombre) VALUES (1, 'a'), (2, 'b'), (3, 'c');\n";
    }
    return sql + "COMMIT;\n";
}

bool Ejecutar(const QString& strPrograma, const QStringList& strArgumentos, const QByteArray& sql) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(strPrograma, strArgumentos);
    p.write(sql);
    p.closeWriteChannel();
    if (!p.waitForFinished(1800000) || p.exitCode() != 0) {
        std::fprintf(stderr, "%s falló: %s\n", qPrintable(strPrograma), p.readAll().constData());
        return false;
    }
    return true;
}

QStringList ArgumentosPsql(const QString& strBase) {
    return {"-X", "-q",
            "-v", "ON_ERROR_STOP=1",
            "-h", "127.0.0.1",
            "-p", qEnvironmentVariable("VERONDAL_PG_PUERTO"),
            "-U", qEnvironmentVariable("VERONDAL_PG_USUARIO"),
            "-d", strBase};
}

QString BaseSQLite(const QString& strCarpeta, int intTablas) {
    const QString strRuta = strCarpeta + QStringLiteral("/bench%1.db").arg(intTablas);
    QFile::remove(strRuta);
    if (!Ejecutar(QStringLiteral("sqlite3"), {QStringLiteral("-bail"), strRuta},
                  Catalogo(intTablas)))
        return {};
    return QStringLiteral("DRIVER={SQLite3};Database=%1;").arg(strRuta);
}

QString NombrePostgres(int intTablas) {
    return QStringLiteral("bench_prop_%1").arg(intTablas);
}

QString BasePostgres(int intTablas) {
    const QString strBase = NombrePostgres(intTablas);
    const QByteArray crear = QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE);\n"
                                            "CREATE DATABASE %1;\n")
                                 .arg(strBase)
                                 .toUtf8();
    if (!Ejecutar(QStringLiteral("psql"), ArgumentosPsql(QStringLiteral("postgres")), crear) ||
        !Ejecutar(QStringLiteral("psql"), ArgumentosPsql(strBase), Catalogo(intTablas)))
        return {};
    return QStringLiteral(
               "DRIVER={PostgreSQL Unicode};Server=127.0.0.1;Port=%1;Database=%2;Uid=%3;Pwd=;")
        .arg(qEnvironmentVariable("VERONDAL_PG_PUERTO"), strBase,
             qEnvironmentVariable("VERONDAL_PG_USUARIO"));
}

struct CMedida {
    double dblLlenado = 0;  // the window's whole fill
    double dblRecuento = 0; // the tables rowset and one row count per table, nothing else
    int intFilas = 0;
};

// The best of intVeces runs of each, on a connection already open.
CMedida Medir(const QString& strCadena, int intVeces) {
    CConexion& objConexion =
        objVerondal->Conexiones().NuevaConexion(QStringLiteral("bench"), strCadena);
    if (!objConexion.Conectar()) {
        std::fprintf(stderr, "no se puede abrir: %s\n", qPrintable(objConexion.ErrorConexion()));
        std::exit(2);
    }
    // A first pass, untimed: the server's and the driver's caches are warm for every run.
    if (PRecordset rs = objConexion.Tablas())
        for (rs->MoverPrimero(); !rs->FinDatos(); rs->MoverSiguiente())
            objConexion.NumeroRegistros(rs->Texto(QStringLiteral("TABLE_NAME")));
    CMedida m{1e9, 1e9, 0};
    for (int v = 0; v < intVeces; ++v) {
        QElapsedTimer reloj;
        reloj.start();
        {
            frmPropiedadesConexion frm;
            frm.Conexion(objConexion.Id());
            m.intFilas = frm.lvwTablas->NumeroElementos();
        }
        m.dblLlenado = std::min(m.dblLlenado, reloj.nsecsElapsed() / 1e9);

        reloj.restart();
        if (PRecordset rs = objConexion.Tablas()) {
            for (rs->MoverPrimero(); !rs->FinDatos(); rs->MoverSiguiente())
                objConexion.NumeroRegistros(rs->Texto(QStringLiteral("TABLE_NAME")));
        }
        m.dblRecuento = std::min(m.dblRecuento, reloj.nsecsElapsed() / 1e9);
    }
    return m;
}

void Informar(const char* strMotor, const std::vector<std::pair<int, CMedida>>& medidas) {
    for (const auto& [intTablas, m] : medidas)
        std::printf("%-10s %6d %7d %10.2f %12.2f %9.2f %14.2f\n", strMotor, intTablas, m.intFilas,
                    m.dblLlenado, m.dblRecuento, m.dblLlenado / m.dblRecuento,
                    1000.0 * m.dblLlenado / std::max(1, m.intFilas));
    if (medidas.size() == 2) {
        const double dblTablas = double(medidas[1].first) / medidas[0].first;
        std::printf(
            "%-10s crecimiento %d/%d tablas: llenado x%.2f, recuento x%.2f (lineal x%.2f)\n",
            strMotor, medidas[1].first, medidas[0].first,
            medidas[1].second.dblLlenado / medidas[0].second.dblLlenado,
            medidas[1].second.dblRecuento / medidas[0].second.dblRecuento, dblTablas);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir carpeta;
    {
        QFile f(carpeta.filePath(QStringLiteral("Verondal.xml")));
        if (!f.open(QIODevice::WriteOnly))
            return 2;
        f.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Verondal><Conexiones/></Verondal>\n");
    }
    objVerondal = std::make_unique<CVerondal>(carpeta.filePath(QStringLiteral("Verondal.xml")));
    const std::vector<int> tamanos{1000, 5000};

    std::printf("%-10s %6s %7s %10s %12s %9s %14s\n", "motor", "tablas", "filas", "llenado s",
                "recuento s", "ventana/", "ms por tabla");
    std::printf("%-10s %6s %7s %10s %12s %9s\n", "", "", "", "", "", "recuento");
    std::vector<std::pair<int, CMedida>> sqlite;
    for (int n : tamanos) {
        const QString strCadena = BaseSQLite(carpeta.path(), n);
        if (strCadena.isEmpty())
            return 2;
        sqlite.emplace_back(n, Medir(strCadena, n > 1000 ? 2 : 3));
    }
    Informar("SQLite", sqlite);

    if (qEnvironmentVariableIsEmpty("VERONDAL_PG_PUERTO")) {
        std::printf("PostgreSQL: sin servidor (VERONDAL_PG_PUERTO vacío)\n");
    } else {
        std::vector<std::pair<int, CMedida>> postgres;
        for (int n : tamanos) {
            const QString strCadena = BasePostgres(n);
            if (strCadena.isEmpty())
                return 2;
            postgres.emplace_back(n, Medir(strCadena, n > 1000 ? 2 : 3));
        }
        Informar("PostgreSQL", postgres);
    }
    objVerondal.reset();
    if (!qEnvironmentVariableIsEmpty("VERONDAL_PG_PUERTO"))
        for (int n : tamanos)
            Ejecutar(QStringLiteral("psql"), ArgumentosPsql(QStringLiteral("postgres")),
                     QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE);\n")
                         .arg(NombrePostgres(n))
                         .toUtf8());
    return 0;
}
