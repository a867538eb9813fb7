// How the comparison grows with the catalogue: two catalogues of N tables x 10 columns (about
// 2 % of tables missing on each side, 2 % of columns different), compared in full, against the
// time the driver alone takes to deliver both sides' tables and columns (the floor), and the
// process's peak memory during one comparison.
//
//   bench_comparar [--motores sqlite,postgres,mariadb] [N...]
//
// SQLite files are made with sqlite3 in the temporary folder's verondal-bench; PostgreSQL and
// MariaDB come from VERONDAL_PG_PUERTO/ _USUARIO and VERONDAL_MARIADB_PUERTO/_USUARIO (scripts/test
// starts such servers), their databases bench_cmp_N_1 and _2 built with psql and mariadb once and
// reused by later runs.
#include "../comun/Clientes.h"
#include "../comun/Medidas.h"
#include "catalog/CConexion.h"
#include "compare/CComparador.h"
#include "comun/CError.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <malloc.h>
#include <map>
#include <sql.h>
#include <sqlext.h>
#include <vector>

namespace {

// Side 1 lacks every table i with i % 50 == 0, side 2 those with i % 50 == 1; side 2 changes
// every column whose number (i * 10 + j) % 50 == 3.
// Transactions of 500 tables: PostgreSQL holds a lock per table created until the commit.
QByteArray Catalogo(int intTablas, int intLado) {
    static const char* const tipos[] = {"INTEGER", "VARCHAR(20)", "REAL", "VARCHAR(40) DEFAULT 'x'",
                                        "INTEGER NOT NULL"};
    QByteArray sql;
    int intHechas = 0;
    for (int i = 0; i < intTablas; ++i) {
        if (i % 50 == intLado - 1)
            continue;
        if (intHechas % 500 == 0)
            sql += "BEGIN;\n";
        sql += "CREATE TABLE t" + QByteArray::number(i) + " (";
        for (int j = 0; j < 10; ++j) {
            const bool booCambia = intLado == 2 && (i * 10 + j) % 50 == 3;
            sql += (j ? ", c" : "c") + QByteArray::number(j) + ' ' +
                   (booCambia ? "VARCHAR(33) DEFAULT 'z'" : tipos[j % 5]);
        }
        sql += ");\n";
        if (++intHechas % 500 == 0)
            sql += "COMMIT;\n";
    }
    return intHechas % 500 == 0 ? sql : sql + "COMMIT;\n";
}

bool Cliente(const QString& strPrograma, const QStringList& argumentos, const QByteArray& sql) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(strPrograma, argumentos);
    p.write(sql);
    p.closeWriteChannel();
    if (p.waitForFinished(3600000) && p.exitCode() == 0)
        return true;
    std::fprintf(stderr, "%s: %s\n", qPrintable(strPrograma), p.readAll().constData());
    return false;
}

QString Env(const char* strNombre) {
    return qEnvironmentVariable(strNombre);
}

// The connection string of one side, its catalogue built first unless an earlier run left it
// complete; empty when the DBMS has no server here or the catalogue cannot be made.
QString Lado(const QString& strMotor, int intTablas, int intLado, const QString& strCarpeta) {
    const QString strBase = QStringLiteral("bench_cmp_%1_%2").arg(intTablas).arg(intLado);
    QString strCadena;
    std::function<bool(const QByteArray&)> fnCrear;
    if (strMotor == QLatin1String("sqlite")) {
        const QString strRuta = strCarpeta + QLatin1Char('/') + strBase + QStringLiteral(".db");
        strCadena = QStringLiteral("DRIVER={SQLite3};Database=%1;").arg(strRuta);
        fnCrear = [strRuta](const QByteArray& sql) {
            QFile::remove(strRuta);
            return Cliente(QStringLiteral("sqlite3"), {QStringLiteral("-bail"), strRuta}, sql);
        };
    } else if (strMotor == QLatin1String("postgres")) {
        if (Env("VERONDAL_PG_PUERTO").isEmpty())
            return {};
        strCadena =
            QStringLiteral(
                "DRIVER={PostgreSQL Unicode};Server=127.0.0.1;Port=%1;Database=%2;Uid=%3;Pwd=;")
                .arg(Env("VERONDAL_PG_PUERTO"), strBase, Env("VERONDAL_PG_USUARIO"));
        fnCrear = [strBase](const QByteArray& sql) {
            const QStringList a = ArgumentosPsql();
            return Cliente(QStringLiteral("psql"), a + QStringList{QStringLiteral("postgres")},
                           QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE);\n"
                                          "CREATE DATABASE %1;\n")
                               .arg(strBase)
                               .toUtf8()) &&
                   Cliente(QStringLiteral("psql"), a + QStringList{strBase}, sql);
        };
    } else if (strMotor == QLatin1String("mariadb")) {
        if (Env("VERONDAL_MARIADB_PUERTO").isEmpty())
            return {};
        strCadena =
            QStringLiteral("DRIVER={MariaDB Unicode};Server=127.0.0.1;Port=%1;Database=%2;Uid=%3;")
                .arg(Env("VERONDAL_MARIADB_PUERTO"), strBase, Env("VERONDAL_MARIADB_USUARIO"));
        fnCrear = [strBase](const QByteArray& sql) {
            const QStringList a = ArgumentosMariaDB();
            return Cliente(QStringLiteral("mariadb"), a,
                           QStringLiteral("DROP DATABASE IF EXISTS %1; CREATE DATABASE %1;")
                               .arg(strBase)
                               .toUtf8()) &&
                   Cliente(QStringLiteral("mariadb"), a + QStringList{strBase}, sql);
        };
    } else {
        return {};
    }
    CConexion c;
    c.setCadenaDeConexion(strCadena);
    long lngTablas = 0;
    if (const PRecordset rs = c.Conectar() ? c.Tablas() : nullptr)
        for (rs->MoverPrimero(); !rs->FinDatos(); rs->MoverSiguiente())
            lngTablas += rs->Texto(QStringLiteral("TABLE_TYPE")) == QLatin1String("TABLE");
    if (lngTablas == intTablas - intTablas / 50)
        return strCadena;
    std::fprintf(stderr, "creando %s con %d tablas (lado %d)...\n", qPrintable(strMotor), intTablas,
                 intLado);
    return fnCrear(Catalogo(intTablas, intLado)) ? strCadena : QString();
}

// The process's peak resident memory since the last reset, in megabytes (Linux).
void ReiniciarPico() {
    // What the floor's reads left free is the allocator's, not the comparison's.
    malloc_trim(0);
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}
double PicoMb() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& linea : f.readAll().split('\n'))
        if (linea.startsWith("VmHWM:"))
            return linea.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

// Raw ODBC: every row and every value of SQLTables and of one SQLColumns for all tables
// (PostgreSQL's driver needs the schema pattern % to answer for every schema).
CTiempo TiempoSuelo(const QString& strCadena) {
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    std::u16string cadena = strCadena.toStdU16String();
    if (!SQL_SUCCEEDED(SQLDriverConnectW(dbc, nullptr, reinterpret_cast<SQLWCHAR*>(cadena.data()),
                                         SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT)))
        throw CError(0, QStringLiteral("bench"), QStringLiteral("no se puede abrir ") + strCadena);
    std::u16string esquema = strCadena.contains(QLatin1String("PostgreSQL")) ? u"%" : u"";
    std::u16string patron = u"%";
    const CReloj reloj;
    SQLWCHAR valor[1024];
    for (int intConsulta = 0; intConsulta < 2; ++intConsulta) {
        SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt);
        if (intConsulta == 0)
            SQLTablesW(stmt, nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0);
        else
            SQLColumnsW(stmt, nullptr, 0,
                        esquema.empty() ? nullptr : reinterpret_cast<SQLWCHAR*>(esquema.data()),
                        SQL_NTS, reinterpret_cast<SQLWCHAR*>(patron.data()), SQL_NTS, nullptr, 0);
        SQLSMALLINT intColumnas = 0;
        SQLNumResultCols(stmt, &intColumnas);
        while (SQL_SUCCEEDED(SQLFetch(stmt)))
            for (SQLUSMALLINT c = 1; c <= intColumnas; ++c) {
                SQLLEN lngLongitud = 0;
                SQLGetData(stmt, c, SQL_C_WCHAR, valor, sizeof valor, &lngLongitud);
            }
        SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    }
    const CTiempo t = reloj.Leer();
    SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return t;
}

// One full comparison (tables, views, procedures, hidden objects) of two open connections.
CTiempo TiempoComparacion(CConexion& c1, CConexion& c2, bool booLiteral, long& lngFilas) {
    CComparador comparador;
    comparador.setConexion1(&c1);
    comparador.setConexion2(&c2);
    comparador.setCompararTablas(true);
    comparador.setCompararVistas(true);
    comparador.setCompararProcedimientos(true);
    comparador.setAlgoritmoLiteral(booLiteral);
    return CronometrarComparacion(comparador, lngFilas);
}

// What the comparison asks of the data-access layer, on its own: per side the tables rowset
// once (without dates, for the tables and views phases), every column once and the procedures.
CTiempo TiempoCapa(CConexion& c) {
    const CReloj reloj;
    const PRecordset tablas = c.TablasSinFechas();
    c.CamposTodos({}, tablas.get());
    c.Procedimientos();
    return reloj.Leer();
}

// One DBMS and size: the rounds, the line of the table; false when it could not run.
bool Caso(const QString& strMotor, int n, const QString& strCarpeta,
          std::map<QString, std::pair<int, CTiempo>>& anterior) {
    QString cadenas[2];
    for (int lado = 1; lado <= 2; ++lado)
        if ((cadenas[lado - 1] = Lado(strMotor, n, lado, strCarpeta)).isEmpty()) {
            std::fprintf(stderr, "%s %d: no hay base de pruebas\n", qPrintable(strMotor), n);
            return false;
        }
    CConexion c1, c2;
    c1.setTitulo(QStringLiteral("Lado 1"));
    c1.setCadenaDeConexion(cadenas[0]);
    c2.setTitulo(QStringLiteral("Lado 2"));
    c2.setCadenaDeConexion(cadenas[1]);
    if (!c1.Conectar() || !c2.Conectar()) {
        std::fprintf(stderr, "no se puede abrir: %s%s\n", qPrintable(c1.ErrorConexion()),
                     qPrintable(c2.ErrorConexion()));
        return false;
    }
    // Rounds interleaved, so that a busy moment of the machine weighs on all three alike; the
    // large catalogues once or twice.
    const int intRondas = n >= 100000 ? 1 : n >= 20000 ? 2 : 5;
    long lngFilas = 0;
    double dblPico = 0;
    CTiempo suelo, tiempo, capa;
    for (int intRonda = 0; intRonda < intRondas; ++intRonda) {
        QuedarseConElMejor(suelo, TiempoSuelo(cadenas[0]) + TiempoSuelo(cadenas[1]));
        ReiniciarPico();
        QuedarseConElMejor(tiempo, TiempoComparacion(c1, c2, false, lngFilas));
        dblPico = std::max(dblPico, PicoMb());
        QuedarseConElMejor(capa, TiempoCapa(c1) + TiempoCapa(c2));
    }
    const auto par = [](double a, double b, const char* sufijo) {
        return QStringLiteral("%1/%2%3").arg(a, 0, 'f', 2).arg(b, 0, 'f', 2).arg(sufijo);
    };
    QString crecimiento = QStringLiteral("-");
    if (const auto it = anterior.find(strMotor); it != anterior.end())
        crecimiento =
            par(tiempo.pared / it->second.second.pared, tiempo.cpu / it->second.second.cpu, "x") +
            QStringLiteral(" (%1x)").arg(n / it->second.first);
    anterior[strMotor] = {n, tiempo};
    QString literal = QStringLiteral("-"), aceleracion = QStringLiteral("-");
    if (n <= 2000) {
        long lngFilasLiteral = 0;
        CTiempo lento;
        QuedarseConElMejor(lento, TiempoComparacion(c1, c2, true, lngFilasLiteral));
        literal = par(lento.pared, lento.cpu, "");
        aceleracion = QString::number(lento.cpu / tiempo.cpu, 'f', 1) + 'x';
        if (lngFilasLiteral != lngFilas)
            aceleracion += QStringLiteral(" (¡filas distintas!)");
    }
    std::printf(
        "%-8s %6d %16s %16s %13s %7.2f %7.0f %19s %13s %10s %7ld\n", qPrintable(strMotor), n,
        qPrintable(par(tiempo.pared, tiempo.cpu, "")), qPrintable(par(suelo.pared, suelo.cpu, "")),
        qPrintable(par(tiempo.pared / suelo.pared, tiempo.cpu / suelo.cpu, "x")), capa.cpu, dblPico,
        qPrintable(crecimiento), qPrintable(literal), qPrintable(aceleracion), lngFilas);
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // Kept between runs: sqlite3 takes minutes to create 20,000 tables.
    const QString carpeta = QDir::tempPath() + QStringLiteral("/verondal-bench");
    QDir().mkpath(carpeta);
    QStringList motores{QStringLiteral("sqlite")};
    std::vector<int> tamanos;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--motores") && i + 1 < args.size())
            motores = args[++i].split(QLatin1Char(','));
        else
            tamanos.push_back(args[i].toInt());
    }
    if (tamanos.empty())
        tamanos = {1000, 2000, 5000, 10000, 20000};
    std::printf("Segundos (el mejor de 5; de 2 con 20.000 tablas, 1 con 100.000), de pared y de\n"
                "procesador (CPU) de este proceso; pico: memoria residente máxima (MB).\n");
    std::printf("%-8s %6s %16s %16s %13s %7s %7s %19s %13s %10s %7s\n", "motor", "tablas",
                "comparación", "suelo", "razón", "capa", "pico", "crecimiento", "literal",
                "acelerac.", "filas");
    std::printf("%-8s %6s %16s %16s %13s %7s %7s %19s %13s %10s %7s\n", "", "", "pared/CPU",
                "pared/CPU", "pared/CPU", "CPU", "MB", "pared/CPU (tablas)", "pared/CPU", "CPU",
                "");
    std::map<QString, std::pair<int, CTiempo>> anterior;
    for (int n : tamanos)
        for (const QString& motor : motores) {
            // A driver's error ends this case only.
            try {
                Caso(motor, n, carpeta, anterior);
            } catch (const CError& e) {
                std::fprintf(stderr, "%s %d: %s\n", qPrintable(motor), n,
                             qPrintable(e.Descripcion()));
            }
        }
    std::printf("capa: lo que la comparación pide a la capa de acceso, medido aparte.\n"
                "crecimiento: frente al tamaño anterior del mismo motor.\n"
                "Objetivos con 20.000 tablas: razón <= 1,0x y pico <= 250 MB en cada motor;\n"
                "crecimiento de 20.000 a 100.000 tablas <= 5,5x.\n");
    return 0;
}
