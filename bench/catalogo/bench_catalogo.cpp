// bench_catalogo: how long each catalogue rowset takes to build against the time the driver
// needs to hand over the same ODBC result sets, read raw (the floor).
//
//   bench_catalogo [--motores sqlite,postgres,mariadb] [--tablas 1000,10000] [--carpeta DIR]
//                  [--solo-crear]
//
// PostgreSQL and MariaDB come from VERONDAL_PG_PUERTO/_USUARIO and VERONDAL_MARIADB_PUERTO/
// _USUARIO (scripts/test, or /tmp/verondal/servidores-env.sh); their clients (psql, mariadb) and
// sqlite3 build the catalogues once, and later runs reuse them.
#include "../comun/Clientes.h"
#include "catalog/CConexion.h"
#include "catalog/COdbcConexion.h"
#include "catalog/COdbcSentencia.h"
#include "comun/CError.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

using Argumento = COdbcSentencia::Argumento;

struct CMotor {
    QString nombre;
    QString cadena;                               // connection string of the bench database
    std::function<bool(const QString&)> ejecutar; // runs an SQL script with the server's client
};

QString Env(const char* n) {
    return qEnvironmentVariable(n);
}

bool Cliente(const QString& programa, const QStringList& args, const QByteArray& entrada) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(programa, args);
    if (!p.waitForStarted())
        return false;
    p.write(entrada);
    p.closeWriteChannel();
    p.waitForFinished(-1);
    if (p.exitCode() != 0) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(programa), p.readAll().constData());
        return false;
    }
    return true;
}

// Table i: a primary key, a foreign key to table i - 1, an index and seven more columns.
QByteArray Esquema(int n, const QString& motor) {
    QByteArray sql;
    const bool pg = motor == QLatin1String("postgres");
    const bool maria = motor == QLatin1String("mariadb");
    if (maria)
        sql += "SET foreign_key_checks = 0;\n";
    for (int i = 1; i <= n; ++i) {
        if ((i - 1) % 500 == 0)
            sql += "BEGIN;\n";
        const QByteArray t = QStringLiteral("t%1").arg(i, 5, 10, QLatin1Char('0')).toLatin1();
        const QByteArray padre =
            QStringLiteral("t%1").arg(i > 1 ? i - 1 : 1, 5, 10, QLatin1Char('0')).toLatin1();
        sql +=
            "CREATE TABLE " + t +
            " (id integer PRIMARY KEY, padre integer, c2 varchar(50) NOT NULL DEFAULT 'x', "
            "c3 integer, c4 numeric(10,2), c5 date, c6 varchar(100), c7 bigint, c8 smallint, c9 " +
            QByteArray(pg      ? "text"
                       : maria ? "text"
                               : "text") +
            ", CONSTRAINT fk_" + t + " FOREIGN KEY (padre) REFERENCES " + padre + " (id));\n";
        sql += "CREATE INDEX ix_" + t + "_c2 ON " + t + " (c2);\n";
        if (i % 500 == 0 || i == n)
            sql += "COMMIT;\n";
    }
    return sql;
}

// The best of several alternating runs of the layer and of the floor: the machine is shared,
// and the least disturbed run is the one that tells.
// A driver's error (the raw loops raise it; a server may report a temporary-file error at
// many tables) spoils this measurement only: it is reported and both come back as NaN.
std::pair<double, double> Comparar(const std::function<void()>& capa,
                                   const std::function<void()>& suelo, int repeticiones) try {
    double mejorCapa = 1e18, mejorSuelo = 1e18;
    for (int r = 0; r < repeticiones; ++r) {
        QElapsedTimer reloj;
        reloj.start();
        capa();
        mejorCapa = std::min(mejorCapa, reloj.nsecsElapsed() / 1e9);
        reloj.restart();
        suelo();
        mejorSuelo = std::min(mejorSuelo, reloj.nsecsElapsed() / 1e9);
    }
    return {mejorCapa, mejorSuelo};
} catch (const CError& e) {
    std::fprintf(stderr, "error del controlador: %s\n", qPrintable(e.Descripcion()));
    return {std::nan(""), std::nan("")};
}

// Every row and column of the current result, as the driver gives it.
long Vaciar(COdbcSentencia& s) {
    long filas = 0;
    while (s.Siguiente()) {
        s.LeerFilaEnBruto();
        ++filas;
    }
    s.Cerrar();
    return filas;
}

struct CObjeto {
    Argumento catalogo, esquema;
    QString nombre;
};

std::vector<CObjeto> TablasCrudas(COdbcConexion& cn) {
    std::vector<CObjeto> tablas;
    COdbcSentencia s(cn);
    const QString actual = cn.CatalogoActual();
    s.Tablas(cn.MotorBD() == COdbcConexion::Motor::MariaDB ? Argumento(actual) : std::nullopt,
             std::nullopt, std::nullopt, QStringLiteral("TABLE"));
    while (s.Siguiente()) {
        auto c = s.Texto(0), e = s.Texto(1), n = s.Texto(2);
        auto tipo = s.Texto(3);
        if (n && n->startsWith(QLatin1Char('t')) && tipo == QLatin1String("TABLE"))
            tablas.push_back(
                {c && !c->isEmpty() ? c : std::nullopt, e && !e->isEmpty() ? e : std::nullopt, *n});
    }
    return tablas;
}

void Linea(const QString& motor, int n, const char* conjunto, double capa, double suelo,
           const QString& nota = {}) {
    std::printf("%-9s %6d  %-22s %9.3f %9.3f %7.2fx  %s\n", qPrintable(motor), n, conjunto, capa,
                suelo, suelo > 0 ? capa / suelo : 0.0, qPrintable(nota));
    std::fflush(stdout);
}

void Medir(const CMotor& m, int n) {
    CConexion capa;
    capa.setCadenaDeConexion(m.cadena);
    if (!capa.Conectar()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(m.nombre), qPrintable(capa.ErrorConexion()));
        return;
    }
    COdbcConexion cruda;
    cruda.Abrir(m.cadena);
    const auto tablas = TablasCrudas(cruda);
    const bool grande = n >= 10000;
    const int rep = grande ? 3 : 7;
    const int repPorTabla = grande ? 2 : 5;
    const auto motor = cruda.MotorBD();
    using Motor = COdbcConexion::Motor;

    // Tables: SQLTables with no restriction.
    auto [c, s] = Comparar([&] { capa.Tablas(); },
                           [&] {
                               COdbcSentencia st(cruda);
                               st.Tablas(std::nullopt, std::nullopt, std::nullopt, std::nullopt);
                               Vaciar(st);
                           },
                           rep);
    Linea(m.nombre, n, "tablas", c, s);
    if (motor == Motor::MariaDB) {
        // MariaDB's dates are only in information_schema, and the layer reads the rowset from
        // there: the same query, raw, shows the layer's own share.
        std::tie(c, s) =
            Comparar([&] { capa.Tablas(); },
                     [&] {
                         COdbcSentencia st(cruda);
                         st.Ejecutar(QStringLiteral(
                             "SELECT TABLE_NAME, TABLE_TYPE, TABLE_COMMENT, CREATE_TIME, "
                             "UPDATE_TIME FROM information_schema.TABLES WHERE TABLE_SCHEMA "
                             "= DATABASE() ORDER BY TABLE_NAME"));
                         Vaciar(st);
                     },
                     rep);
        Linea(m.nombre, n, "tablas (con fechas)", c, s,
              QStringLiteral("suelo: la consulta de las fechas"));
    }

    // Columns in bulk: one SQLColumns for the whole catalogue (the layer also lists the tables).
    std::tie(c, s) = Comparar(
        [&] { capa.CamposTodos(); },
        [&] {
            COdbcSentencia st(cruda);
            st.Columnas(std::nullopt,
                        motor == Motor::PostgreSQL ? Argumento(QStringLiteral("%")) : std::nullopt,
                        QStringLiteral("%"));
            Vaciar(st);
        },
        rep);
    Linea(m.nombre, n, "campos (todos)", c, s);

    // Columns table by table: one SQLColumns per table with its exact catalogue and schema.
    std::tie(c, s) = Comparar(
        [&] {
            for (const CObjeto& t : tablas)
                capa.Campos(t.nombre);
        },
        [&] {
            COdbcSentencia st(cruda);
            for (const CObjeto& t : tablas) {
                st.Columnas(t.catalogo, t.esquema, cruda.EscaparPatron(t.nombre));
                Vaciar(st);
            }
        },
        repPorTabla);
    Linea(m.nombre, n, "campos (por tabla)", c, s);

    // Indexes table by table: SQLStatistics and SQLPrimaryKeys per table.
    std::tie(c, s) = Comparar(
        [&] {
            for (const CObjeto& t : tablas)
                capa.Indices(t.nombre);
        },
        [&] {
            COdbcSentencia st(cruda);
            for (const CObjeto& t : tablas) {
                st.Estadisticas(t.catalogo, t.esquema, t.nombre);
                Vaciar(st);
                st.ClavesPrimarias(t.catalogo, t.esquema, t.nombre);
                Vaciar(st);
            }
        },
        repPorTabla);
    Linea(m.nombre, n, "indices (por tabla)", c, s);

    // Foreign keys of the whole catalogue: SQLForeignKeys per table is all ODBC offers. On the
    // slow drivers the calls stop after 30 seconds and the time is scaled up to every table.
    std::size_t muestra = 0;
    std::tie(c, s) = Comparar([&] { capa.Relaciones(); },
                              [&] {
                                  QElapsedTimer reloj;
                                  reloj.start();
                                  COdbcSentencia st(cruda);
                                  for (muestra = 0; muestra < tablas.size() &&
                                                    (muestra < 20 || reloj.elapsed() < 30000);
                                       ++muestra) {
                                      const CObjeto& t = tablas[muestra];
                                      st.ClavesAjenas(std::nullopt, std::nullopt, std::nullopt,
                                                      t.catalogo, t.esquema, t.nombre);
                                      Vaciar(st);
                                  }
                              },
                              motor == Motor::SQLite ? rep : 1);
    s *=
        static_cast<double>(tablas.size()) / static_cast<double>(std::max<std::size_t>(muestra, 1));
    Linea(m.nombre, n, "relaciones", c, s,
          muestra < tablas.size() ? QStringLiteral("suelo estimado con %1 tablas").arg(muestra)
                                  : QString());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList motores{"sqlite", "postgres", "mariadb"};
    QList<int> tamanos{1000, 10000};
    QString carpeta = QDir::tempPath() + QStringLiteral("/verondal-bench");
    QStringList args = app.arguments();
    const bool soloCrear = args.removeAll(QStringLiteral("--solo-crear")) > 0;
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--motores"))
            motores = args[i + 1].split(QLatin1Char(','));
        else if (args[i] == QLatin1String("--tablas")) {
            tamanos.clear();
            for (const QString& t : args[i + 1].split(QLatin1Char(',')))
                tamanos << t.toInt();
        } else if (args[i] == QLatin1String("--carpeta"))
            carpeta = args[i + 1];
    }
    QDir().mkpath(carpeta);
    std::printf("%-9s %6s  %-22s %9s %9s %8s\n", "motor", "tablas", "conjunto", "capa (s)",
                "suelo (s)", "razón");
    for (const int n : tamanos) {
        for (const QString& motor : motores) {
            const QString base = QStringLiteral("bench_cat_%1").arg(n);
            CMotor m{motor, {}, {}};
            if (motor == QLatin1String("sqlite")) {
                const QString ruta = carpeta + QLatin1Char('/') + base + QStringLiteral(".sqlite");
                m.cadena = QStringLiteral("DRIVER={SQLite3};Database=%1;").arg(ruta);
                m.ejecutar = [ruta](const QString& sql) {
                    return Cliente(QStringLiteral("sqlite3"), {QStringLiteral("-bail"), ruta},
                                   sql.toUtf8());
                };
            } else if (motor == QLatin1String("postgres")) {
                if (Env("VERONDAL_PG_PUERTO").isEmpty()) {
                    std::fprintf(stderr, "sin PostgreSQL (VERONDAL_PG_PUERTO)\n");
                    continue;
                }
                m.cadena =
                    QStringLiteral(
                        "DRIVER={PostgreSQL Unicode};Server=127.0.0.1;Port=%1;Database=%2;Uid=%3;")
                        .arg(Env("VERONDAL_PG_PUERTO"), base, Env("VERONDAL_PG_USUARIO"));
                m.ejecutar = [base](const QString& sql) {
                    const QStringList a = ArgumentosPsql();
                    Cliente(QStringLiteral("psql"), a + QStringList{"postgres"},
                            QStringLiteral("CREATE DATABASE %1;").arg(base).toUtf8());
                    return Cliente(QStringLiteral("psql"), a + QStringList{base}, sql.toUtf8());
                };
            } else if (motor == QLatin1String("mariadb")) {
                if (Env("VERONDAL_MARIADB_PUERTO").isEmpty()) {
                    std::fprintf(stderr, "sin MariaDB (VERONDAL_MARIADB_PUERTO)\n");
                    continue;
                }
                m.cadena =
                    QStringLiteral(
                        "DRIVER={MariaDB Unicode};Server=127.0.0.1;Port=%1;Database=%2;Uid=%3;")
                        .arg(Env("VERONDAL_MARIADB_PUERTO"), base, Env("VERONDAL_MARIADB_USUARIO"));
                m.ejecutar = [base](const QString& sql) {
                    const QStringList a = ArgumentosMariaDB();
                    Cliente(QStringLiteral("mariadb"), a,
                            QStringLiteral("CREATE DATABASE IF NOT EXISTS %1;").arg(base).toUtf8());
                    return Cliente(QStringLiteral("mariadb"), a + QStringList{base}, sql.toUtf8());
                };
            } else {
                continue;
            }
            // Build the catalogue unless an earlier run left it complete.
            {
                CConexion c;
                c.setCadenaDeConexion(m.cadena);
                PRecordset t = c.Conectar() ? c.Tablas() : nullptr;
                if (!t || t->NumeroFilas() != n) {
                    std::fprintf(stderr, "creando %s con %d tablas...\n", qPrintable(motor), n);
                    QElapsedTimer reloj;
                    reloj.start();
                    if (!m.ejecutar(QString::fromUtf8(Esquema(n, motor))))
                        continue;
                    std::fprintf(stderr, "  %.0f s\n", reloj.elapsed() / 1000.0);
                }
            }
            if (soloCrear)
                continue;
            // The opening and the raw table list raise too: the next case still runs.
            try {
                Medir(m, n);
            } catch (const CError& e) {
                std::fprintf(stderr, "%s %d: %s\n", qPrintable(motor), n,
                             qPrintable(e.Descripcion()));
            }
        }
    }
    return 0;
}
