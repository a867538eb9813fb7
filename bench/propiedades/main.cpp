// How the connection properties window's fill time grows with the catalogue: SQLite files and
// PostgreSQL databases of 1,000 and 5,000 tables (5 columns, a primary key, a few rows each),
// the window filled on an open connection, against the tables rowset and the row counts alone
// (one question each), which are its floor, and the longest the message loop stood still;
// "tablas s" is when its tables tab held every table with its count.
// PostgreSQL is measured when VERONDAL_PG_PUERTO names a server (scripts/test); its user is
// VERONDAL_PG_USUARIO.
//
//   bench_propiedades [N...]            the built catalogues, of N tables each
//   bench_propiedades --cadena CADENA...  existing databases (large ones built elsewhere)
#include "../comun/Ventanas.h"
#include "catalog/CCadenaConexion.h"
#include "properties/frmPropiedadesConexion.h"
#include "registry/CVerondal.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
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
    double dblTablas = 0;   // until its tables tab holds every table, the counts included
    double dblRecuento = 0; // the tables rowset and the row counts, nothing else
    double dblHuecoMs = 0;  // the longest the message loop stood still during a fill
    int intFilas = 0;
};

// The best of intVeces runs of each, on a connection already open; false when it cannot open.
bool Medir(const QString& strCadena, int intVeces, CMedida& m) {
    CConexion& objConexion =
        objVerondal->Conexiones().NuevaConexion(QStringLiteral("bench"), strCadena);
    if (!objConexion.Conectar()) {
        std::fprintf(stderr, "no se puede abrir: %s\n", qPrintable(objConexion.ErrorConexion()));
        return false;
    }
    long lngTablas = 0;
    const auto recuento = [&] {
        if (PRecordset rs = objConexion.Tablas()) {
            lngTablas = rs->NumeroFilas();
            objConexion.NumerosRegistros();
        }
    };
    recuento(); // untimed: the server's and the driver's caches are warm for every run
    m = {1e9, 1e9, 1e9, 0, 0};
    for (int v = 0; v < intVeces; ++v) {
        QElapsedTimer reloj;
        reloj.start();
        // A zero timer fires at every turn of the loop: the gaps between its shots are the
        // time a click would wait.
        qint64 lngUltima = 0;
        frmPropiedadesConexion* frm = nullptr;
        double dblTablas = 1e9;
        const auto vuelta = [&] {
            const qint64 lngAhora = reloj.nsecsElapsed();
            m.dblHuecoMs = std::max(m.dblHuecoMs, (lngAhora - lngUltima) / 1e6);
            lngUltima = lngAhora;
            if (frm && dblTablas > 1e8 && frm->lvwTablas->NumeroElementos() >= lngTablas)
                dblTablas = lngAhora / 1e9;
        };
        QTimer objVuelta;
        objVuelta.setInterval(0);
        QObject::connect(&objVuelta, &QTimer::timeout, vuelta);
        objVuelta.start();
        {
            frmPropiedadesConexion objVentana;
            frm = &objVentana;
            objVentana.Conexion(objConexion.Id());
            m.intFilas = objVentana.lvwTablas->NumeroElementos();
            vuelta();
            frm = nullptr;
        }
        m.dblLlenado = std::min(m.dblLlenado, reloj.nsecsElapsed() / 1e9);
        m.dblTablas = std::min(m.dblTablas, dblTablas);

        reloj.restart();
        recuento();
        m.dblRecuento = std::min(m.dblRecuento, reloj.nsecsElapsed() / 1e9);
    }
    return true;
}

void Informar(const char* strMotor, const std::vector<std::pair<int, CMedida>>& medidas) {
    for (const auto& [intTablas, m] : medidas)
        std::printf("%-10s %6d %7d %10.2f %9.2f %12.2f %9.2f %14.2f %9.0f\n", strMotor, intTablas,
                    m.intFilas, m.dblLlenado, m.dblTablas, m.dblRecuento,
                    m.dblLlenado / m.dblRecuento, 1000.0 * m.dblLlenado / std::max(1, m.intFilas),
                    m.dblHuecoMs);
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
    SinPantalla();
    QApplication app(argc, argv);
    QTemporaryDir carpeta;
    if (!CargarConfiguracionVacia(carpeta))
        return 2;
    std::vector<int> tamanos;
    QStringList cadenas;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--cadena") && i + 1 < args.size())
            cadenas << args[++i];
        else
            tamanos.push_back(args[i].toInt());
    }
    if (tamanos.empty())
        tamanos = {1000, 5000};

    std::printf("%-10s %6s %7s %10s %9s %12s %9s %14s %9s\n", "motor", "tablas", "filas",
                "llenado s", "tablas s", "recuento s", "ventana/", "ms por tabla", "hueco ms");
    std::printf("%-10s %6s %7s %10s %9s %12s %9s\n", "", "", "", "", "", "", "recuento");
    if (!cadenas.isEmpty()) {
        for (const QString& strCadena : cadenas) {
            CMedida m;
            if (Medir(strCadena, 2, m))
                Informar(qPrintable(CCadenaConexion(strCadena)
                                        .Valor(QStringLiteral("DRIVER"))
                                        .section(QLatin1Char(' '), 0, 0)),
                         {{m.intFilas, m}});
        }
        std::printf("objetivo: la pestaña de tablas completa en 2 s con 20.000 tablas; hueco "
                    "<= 100 ms\n");
        objVerondal.reset();
        return 0;
    }
    std::vector<std::pair<int, CMedida>> sqlite;
    for (int n : tamanos) {
        CMedida m;
        const QString strBase = BaseSQLite(carpeta.path(), n);
        if (!strBase.isEmpty() && Medir(strBase, n > 1000 ? 2 : 3, m))
            sqlite.emplace_back(n, m);
    }
    Informar("SQLite", sqlite);

    if (qEnvironmentVariableIsEmpty("VERONDAL_PG_PUERTO")) {
        std::printf("PostgreSQL: sin servidor (VERONDAL_PG_PUERTO vacío)\n");
    } else {
        std::vector<std::pair<int, CMedida>> postgres;
        for (int n : tamanos) {
            CMedida m;
            const QString strBase = BasePostgres(n);
            if (!strBase.isEmpty() && Medir(strBase, n > 1000 ? 2 : 3, m))
                postgres.emplace_back(n, m);
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
