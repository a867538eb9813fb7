// Test environment: the throwaway servers that scripts/test starts, and the fixture databases.
// Connection details arrive in VERONDAL_PG_* and VERONDAL_MARIADB_* variables.
#pragma once

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

// Tests write many texts; u"..."_s keeps each assertion on one line.
using namespace Qt::StringLiterals;

namespace pruebas {

QString Fixture(const QString& strNombre);
QString CarpetaTemporal(); // one per test program, removed at exit
inline QString RutaTemporal(const QString& strNombre) {
    return CarpetaTemporal() + u'/' + strNombre;
}

bool HayPostgres();
bool HayMariaDB();
bool EnCI();

// Base connection strings (no database chosen: the server's default).
QString CadenaPostgres(const QString& strBaseDatos);
QString CadenaMariaDB(const QString& strBaseDatos);
QString CadenaSQLite(const QString& strRuta);

// Build a SQLite file from an SQL fixture with its own client (replacing any previous one);
// return its ODBC connection string. An empty string on failure.
QString CrearBaseSQLite(const QString& strRuta, const QString& strArchivoSql);

// Run SQL text directly (for tests that grow a catalogue on the fly).
bool EjecutarPostgres(const QString& strBaseDatos, const QString& strSql);
bool EjecutarMariaDB(const QString& strBaseDatos, const QString& strSql);
bool EjecutarSQLite(const QString& strRuta, const QString& strSql);

// The DBMS's own answer through its client, one line per row, fields joined by "|" (a null is
// empty, or "·" from MariaDB's client): what a test holds the layer's values against.
QStringList ConsultarPostgres(const QString& strBaseDatos, const QString& strSql);
QStringList ConsultarMariaDB(const QString& strBaseDatos, const QString& strSql);
QStringList ConsultarSQLite(const QString& strRuta, const QString& strSql);

// A server database of this run only: created (from SQL fixtures run one after the other) under
// a name no other run or test shares, and dropped when the object goes. Cadena() is empty when
// it could not be made, so a fixture asserts on it before use.
class CBaseServidor {
public:
    enum class Motor { Postgres, MariaDB };
    CBaseServidor(Motor motor, const QString& strPrefijo, const QStringList& archivosSql = {});
    ~CBaseServidor();
    CBaseServidor(const CBaseServidor&) = delete;
    CBaseServidor& operator=(const CBaseServidor&) = delete;

    const QString& Nombre() const { return m_strNombre; }
    const QString& Cadena() const { return m_strCadena; }
    bool Ejecutar(const QString& strSql) const;
    QStringList Consultar(const QString& strSql) const;

private:
    Motor m_Motor;
    QString m_strNombre;
    QString m_strCadena;
};

} // namespace pruebas

// A test that needs a server and finds none is skipped by hand and fails under CI=true.
#define VERONDAL_REQUIERE(hay, nombre)                                                             \
    do {                                                                                           \
        if (!(hay)) {                                                                              \
            if (pruebas::EnCI())                                                                   \
                FAIL() << "No hay servidor " nombre " de pruebas (scripts/test lo arranca)";       \
            else                                                                                   \
                GTEST_SKIP() << "No hay servidor " nombre " de pruebas (scripts/test lo arranca)"; \
        }                                                                                          \
    } while (0)
#define REQUIERE_POSTGRES() VERONDAL_REQUIERE(pruebas::HayPostgres(), "PostgreSQL")
#define REQUIERE_MARIADB() VERONDAL_REQUIERE(pruebas::HayMariaDB(), "MariaDB")
