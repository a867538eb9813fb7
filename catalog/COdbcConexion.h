// The one live ODBC link of a configured connection: opened without prompting, with a bounded
// login time, and what the driver says about itself. Owned by its CConexion (std::unique_ptr).
#pragma once

#include "catalog/COdbcManejador.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <sys/types.h>
#include <thread>
#include <vector>

class COdbcSentencia;

class COdbcConexion {
public:
    // The database systems whose drivers need corrections, recognised by their DBMS name.
    enum class Motor { Otro, SQLite, PostgreSQL, MariaDB };

    // An opening never waits longer than this on a dead or mute server.
    static constexpr int kSegundosConexion = 15;
    // A SQLite file another program holds locked is waited for this long (the driver's own
    // default is 100 s per call), then the call fails with "database is locked".
    static constexpr int kMilisegundosBloqueoSQLite = 5000;

    COdbcConexion() = default;
    ~COdbcConexion(); // disconnects
    COdbcConexion(const COdbcConexion&) = delete;
    COdbcConexion& operator=(const COdbcConexion&) = delete;

    // Opens the link; raises CError with every diagnostic record on failure, or when cut while
    // opening (Cortar from another thread). The string is never changed: keys the layer adds
    // for the driver go only to the copy handed to the driver.
    void Abrir(const QString& strCadena);
    bool Abierta() const { return m_Abierta; }
    SQLHDBC Handle() const { return m_Dbc.Handle(); }
    const COdbcManejador& Manejador() const { return m_Dbc; }

    // The connection string as the driver completed it, made reusable: the driver or data
    // source of the original string first, and without what the layer added.
    QString CadenaCompletada() const;
    // The driver's name as registered with the driver manager (or the data source's driver).
    const QString& NombreControlador() const { return m_NombreControlador; }
    Motor MotorBD() const { return m_Motor; }
    const QString& NombreDBMS() const { return m_NombreDBMS; }
    // SQLite's driver has no wide entry for a statement, and the driver manager's conversion to
    // its narrow one breaks a character outside the BMP; its statements go narrow, in the UTF-8
    // SQLite itself reads.
    bool SentenciasEnUtf8() const { return m_Motor == Motor::SQLite; }

    // Driver information (SQLGetInfo). Empty/nullopt when the driver does not answer.
    QString InfoTexto(SQLUSMALLINT intInfo) const;
    std::optional<quint16> InfoCorto(SQLUSMALLINT intInfo) const;
    std::optional<quint32> InfoLargo(SQLUSMALLINT intInfo) const;
    // The connection's current catalogue (database); empty when there is none.
    QString CatalogoActual() const;

    // A name made literal for a pattern argument: "_", "%" and the escape itself escaped.
    QString EscaparPatron(const QString& strNombre) const;
    // A name quoted as an identifier, its quote character doubled inside.
    QString Citar(const QString& strNombre) const;
    // A statement prepared on first use and kept for the life of the link, for a query the layer
    // runs once per table (its result is read anew every time; only the plan is kept). The
    // caller closes its cursor when done.
    COdbcSentencia& Preparada(const QString& strSql);

    // PostgreSQL's driver shows its system schemas only when the string asks for them.
    bool MuestraSistema() const { return m_MuestraSistema; }

    // Why the link was cut, if it was: a statement's limit ran out, or someone cancelled.
    enum class Corte { Ninguno, Plazo, Cancelado };
    // Thread-safe: ends at once whatever call the link is waiting on. A driver blocked in a read
    // from a mute server hears no cancel (psqlODBC's even waits on that server), so the link's
    // own sockets are shut down under it, and the link is unusable afterwards (MotivoCorte, the
    // first reason given). A driver without sockets (SQLite's) gets SQLCancel, on hSolo only
    // when given, and stays usable.
    void Cortar(Corte motivo, int intSegundos = 0, SQLHSTMT hSolo = SQL_NULL_HSTMT) const;
    Corte MotivoCorte() const { return m_Corte.load(); }
    int SegundosCorte() const { return m_SegundosCorte.load(); }
    // Cuts the link (Plazo) once intSegundos pass, unless destroyed first: a guard around the
    // calls that wait on the server.
    class CVigilante;
    // A statement with a call in flight, so that a cut cancels it (COdbcSentencia registers).
    void EnVuelo(SQLHSTMT hStmt, bool booEnVuelo) const;
    // The time the server itself gives each query, for a driver that ignores the query time-out
    // attribute (MariaDB's: its server takes one per session); nothing for the others.
    void LimitarServidor(int intSegundos) const;

private:
    COdbcManejador m_Dbc;
    QHash<QString, std::shared_ptr<COdbcSentencia>> m_Preparadas; // freed before disconnecting
    bool m_Abierta = false;
    QString m_CadenaOriginal;
    QString m_CadenaSalida;
    QStringList m_ClavesAgregadas;
    QString m_NombreControlador;
    QString m_NombreDBMS;
    Motor m_Motor = Motor::Otro;
    QString m_Escape;
    // The link's database, once read: nothing here changes it (no USE), and MariaDB's driver asks
    // the server every time.
    mutable std::optional<QString> m_Catalogo;
    QString m_Comillas;
    bool m_MuestraSistema = false;

    struct CZocalo {
        int fd;
        ino_t inodo; // the fd number may be reused once the driver closes it
    };
    std::vector<CZocalo> ZocalosNuevos() const; // since m_ZocalosAntes
    std::vector<CZocalo> m_Zocalos;             // the sockets the driver opened for this link
    // While SQLDriverConnect runs, so that a cut reaches an opening too.
    mutable std::mutex m_MutexApertura;
    std::vector<std::pair<int, ino_t>> m_ZocalosAntes;
    bool m_booAbriendo = false;
    mutable std::mutex m_MutexVuelo;
    mutable std::vector<SQLHSTMT> m_EnVuelo;
    mutable std::atomic<Corte> m_Corte{Corte::Ninguno};
    mutable std::atomic<int> m_SegundosCorte{0};
    mutable int m_LimiteServidor = 0; // as last set on the server's session (0: none)
};

class COdbcConexion::CVigilante {
public:
    CVigilante(const COdbcConexion& objConexion, SQLHSTMT hStmt, int intSegundos);
    ~CVigilante();
    CVigilante(const CVigilante&) = delete;
    CVigilante& operator=(const CVigilante&) = delete;
    bool Disparado();

private:
    std::mutex m_Mutex;
    std::condition_variable m_Condicion;
    bool m_Parar = false;
    bool m_Disparado = false;
    std::thread m_Hilo; // last: starts once the rest is built
};
