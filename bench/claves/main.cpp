// The index and foreign-key phases of the comparison alone, on two SQLite files of N tables with a
// key, an index and a foreign key each, against the driver's own fetch of every table's indexes
// and foreign keys on both sides (the floor).
//
//   bench_claves [N...]
//   bench_claves --claves CADENA1 CADENA2   (two databases of any DBMS)
#include "../comun/Medidas.h"
#include "catalog/CConexion.h"
#include "compare/CComparador.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>
#include <sql.h>
#include <sqlext.h>
#include <vector>

namespace {

// Every table k<i> has a primary key, an index and a foreign key to k<i-1>; on side 2 every
// fiftieth index has one column more and every fiftieth key another ON DELETE rule.
QByteArray CatalogoClaves(int intTablas, int intLado) {
    QByteArray sql = "BEGIN;\n";
    for (int i = 0; i < intTablas; ++i) {
        const QByteArray n = QByteArray::number(i);
        sql += "CREATE TABLE k" + n + " (id INTEGER PRIMARY KEY, ref INTEGER, a INTEGER, b INTEGER";
        if (i > 0)
            sql += ", FOREIGN KEY (ref) REFERENCES k" + QByteArray::number(i - 1) + " (id)" +
                   (intLado == 2 && i % 50 == 5 ? " ON DELETE CASCADE" : "");
        sql += ");\nCREATE INDEX ix" + n + " ON k" + n + " (a" +
               (intLado == 2 && i % 50 == 3 ? ", b" : "") + ");\n";
    }
    return sql + "COMMIT;\n";
}

bool CrearBase(const QString& strRuta, const QByteArray& sql) {
    QFile::remove(strRuta);
    QProcess p;
    p.start(QStringLiteral("sqlite3"), {QStringLiteral("-bail"), strRuta});
    p.write(sql);
    p.closeWriteChannel();
    return p.waitForFinished(600000) && p.exitCode() == 0;
}

// A raw ODBC link of the driver alone, closed when it goes.
class CEnlaceCrudo {
public:
    explicit CEnlaceCrudo(const QString& strCadena) {
        SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_Env);
        SQLSetEnvAttr(m_Env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        SQLAllocHandle(SQL_HANDLE_DBC, m_Env, &m_Dbc);
        std::u16string cadena = strCadena.toStdU16String();
        if (!SQL_SUCCEEDED(SQLDriverConnectW(m_Dbc, nullptr,
                                             reinterpret_cast<SQLWCHAR*>(cadena.data()), SQL_NTS,
                                             nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT))) {
            std::fprintf(stderr, "no se puede abrir %s\n", qPrintable(strCadena));
            std::exit(2);
        }
        SQLAllocHandle(SQL_HANDLE_STMT, m_Dbc, &stmt);
    }
    ~CEnlaceCrudo() {
        SQLFreeHandle(SQL_HANDLE_STMT, stmt);
        SQLDisconnect(m_Dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, m_Dbc);
        SQLFreeHandle(SQL_HANDLE_ENV, m_Env);
    }
    CEnlaceCrudo(const CEnlaceCrudo&) = delete;
    CEnlaceCrudo& operator=(const CEnlaceCrudo&) = delete;

    // Every row and value of the statement's result, as text; the third column kept if asked.
    void LeerTodo(std::vector<std::u16string>* terceras = nullptr) {
        SQLSMALLINT intColumnas = 0;
        SQLNumResultCols(stmt, &intColumnas);
        while (SQL_SUCCEEDED(SQLFetch(stmt)))
            for (SQLUSMALLINT c = 1; c <= intColumnas; ++c) {
                SQLLEN lngLongitud = 0;
                SQLGetData(stmt, c, SQL_C_WCHAR, m_Valor, sizeof m_Valor, &lngLongitud);
                if (terceras && c == 3)
                    terceras->emplace_back(reinterpret_cast<const char16_t*>(m_Valor));
            }
        SQLFreeStmt(stmt, SQL_CLOSE);
    }

    SQLHSTMT stmt = SQL_NULL_HSTMT;

private:
    SQLHENV m_Env = SQL_NULL_HENV;
    SQLHDBC m_Dbc = SQL_NULL_HDBC;
    SQLWCHAR m_Valor[1024];
};

// Raw ODBC: SQLTables, then every table's SQLStatistics and SQLForeignKeys (the driver has no
// call for all of them at once), every row and value read.
CTiempo TiempoSueloClaves(const QString& strCadena) {
    CEnlaceCrudo enlace(strCadena);
    const CReloj reloj;
    std::vector<std::u16string> tablas;
    SQLWCHAR tipo[] = {'T', 'A', 'B', 'L', 'E', 0};
    SQLTablesW(enlace.stmt, nullptr, 0, nullptr, 0, nullptr, 0, tipo, SQL_NTS);
    enlace.LeerTodo(&tablas);
    for (std::u16string& t : tablas) {
        auto* nombre = reinterpret_cast<SQLWCHAR*>(t.data());
        SQLStatisticsW(enlace.stmt, nullptr, 0, nullptr, 0, nombre, SQL_NTS, SQL_INDEX_ALL,
                       SQL_QUICK);
        enlace.LeerTodo();
        SQLForeignKeysW(enlace.stmt, nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0,
                        nombre, SQL_NTS);
        enlace.LeerTodo();
    }
    return reloj.Leer();
}

// One full comparison (tables, views, procedures, hidden objects) of two open connections.
CTiempo TiempoComparacion(CConexion& c1, CConexion& c2, bool booLiteral, long& lngFilas,
                          bool booClaves = false) {
    CComparador comparador;
    comparador.setConexion1(&c1);
    comparador.setConexion2(&c2);
    // Or the index and foreign-key phases alone.
    comparador.setCompararTablas(!booClaves);
    comparador.setCompararVistas(!booClaves);
    comparador.setCompararProcedimientos(!booClaves);
    comparador.setCompararIndices(booClaves);
    comparador.setCompararRelaciones(booClaves);
    comparador.setAlgoritmoLiteral(booLiteral);
    return CronometrarComparacion(comparador, lngFilas);
}

// Both sides' files of n tables, built by fnCatalogo and opened; false (said on standard
// error) when one cannot be.
bool AbrirLados(const QTemporaryDir& carpeta, const QString& strPrefijo, int n,
                QByteArray (*fnCatalogo)(int, int), QString cadenas[2], CConexion& c1,
                CConexion& c2) {
    for (int lado = 1; lado <= 2; ++lado) {
        const QString ruta =
            carpeta.filePath(QStringLiteral("%1%2_%3.db").arg(strPrefijo).arg(lado).arg(n));
        if (!CrearBase(ruta, fnCatalogo(n, lado))) {
            std::fprintf(stderr, "no se puede crear %s\n", qPrintable(ruta));
            return false;
        }
        cadenas[lado - 1] = QStringLiteral("DRIVER={SQLite3};Database=%1;").arg(ruta);
    }
    c1.setTitulo(QStringLiteral("Lado 1"));
    c1.setCadenaDeConexion(cadenas[0]);
    c2.setTitulo(QStringLiteral("Lado 2"));
    c2.setCadenaDeConexion(cadenas[1]);
    if (c1.Conectar() && c2.Conectar())
        return true;
    std::fprintf(stderr, "no se puede abrir: %s%s\n", qPrintable(c1.ErrorConexion()),
                 qPrintable(c2.ErrorConexion()));
    return false;
}

// One line of the index and foreign-key phases against the driver's own fetch.
void MedirClaves(const QString& strCaso, const QString cadenas[2], CConexion& c1, CConexion& c2) {
    long lngFilas = 0;
    CTiempo suelo, tiempo;
    for (int intRonda = 0; intRonda < 3; ++intRonda) {
        QuedarseConElMejor(suelo, TiempoSueloClaves(cadenas[0]) + TiempoSueloClaves(cadenas[1]));
        QuedarseConElMejor(tiempo, TiempoComparacion(c1, c2, false, lngFilas, true));
    }
    const auto par = [](double a, double b, const char* sufijo) {
        return QStringLiteral("%1/%2%3").arg(a, 0, 'f', 2).arg(b, 0, 'f', 2).arg(sufijo);
    };
    std::printf("%6s %16s %16s %13s %7ld\n", qPrintable(strCaso),
                qPrintable(par(tiempo.pared, tiempo.cpu, "")),
                qPrintable(par(suelo.pared, suelo.cpu, "")),
                qPrintable(par(tiempo.pared / suelo.pared, tiempo.cpu / suelo.cpu, "x")), lngFilas);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir carpeta;
    // --claves CADENA1 CADENA2: those two phases on two databases of any DBMS.
    if (app.arguments().value(1) == QLatin1String("--claves")) {
        const QString cadenas[2] = {app.arguments().value(2), app.arguments().value(3)};
        CConexion c1, c2;
        c1.setCadenaDeConexion(cadenas[0]);
        c2.setCadenaDeConexion(cadenas[1]);
        if (!c1.Conectar() || !c2.Conectar()) {
            std::fprintf(stderr, "no se puede abrir: %s%s\n", qPrintable(c1.ErrorConexion()),
                         qPrintable(c2.ErrorConexion()));
            return 2;
        }
        std::printf("%6s %16s %16s %13s %7s\n", "", "fases", "suelo", "razón", "filas");
        MedirClaves(c1.NombreDBMS(), cadenas, c1, c2);
        return 0;
    }
    std::vector<int> tamanos;
    for (const QString& a : app.arguments().mid(1))
        tamanos.push_back(a.toInt());
    if (tamanos.empty())
        tamanos = {1000, 2000, 5000, 10000};
    std::printf("Índices y relaciones: las dos fases solas contra SQLStatistics y SQLForeignKeys "
                "de cada tabla de los dos lados (el mejor de 3).\n");
    std::printf("%6s %16s %16s %13s %7s\n", "tablas", "fases", "suelo", "razón", "filas");
    for (int n : tamanos) {
        QString cadenas[2];
        CConexion c1, c2;
        if (!AbrirLados(carpeta, QStringLiteral("claves"), n, CatalogoClaves, cadenas, c1, c2))
            return 2;
        MedirClaves(QString::number(n), cadenas, c1, c2);
    }
    std::printf("Objetivo: razón <= 1,5x.\n");
    return 0;
}
