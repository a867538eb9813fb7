#include "catalog/COdbcConexion.h"

#include "catalog/CCadenaConexion.h"
#include "catalog/COdbcSentencia.h"
#include "catalog/modOdbc.h"
#include "comun/CError.h"
#include "comun/NumerosError.h"

#include <QFileInfo>
#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <odbcinst.h>
#include <sys/socket.h>
#include <sys/stat.h>

namespace {

enum class Familia { Otra, SQLite, PostgreSQL, MariaDB };

QString AtributoDelOrigen(const QString& strDsn, const QString& strClave) {
    odbc::CTextoW dsn(strDsn), clave(strClave), vacio{QString()},
        archivo(QStringLiteral("odbc.ini"));
    SQLWCHAR valor[1024] = {};
    const int n = SQLGetPrivateProfileStringW(dsn.Datos(), clave.Datos(), vacio.Datos(), valor,
                                              1024, archivo.Datos());
    return n > 0 ? odbc::DesdeW(valor, std::min(n, 1023)) : QString();
}

Familia FamiliaDe(const QString& strNombre, const QString& strBiblioteca) {
    const QString t = (strNombre + QLatin1Char(' ') + strBiblioteca).toLower();
    if (t.contains(QLatin1String("sqlite")))
        return Familia::SQLite;
    if (t.contains(QLatin1String("maodbc")) || t.contains(QLatin1String("mariadb")) ||
        t.contains(QLatin1String("myodbc")) || t.contains(QLatin1String("mysql")))
        return Familia::MariaDB;
    if (t.contains(QLatin1String("psqlodbc")) || t.contains(QLatin1String("postgres")))
        return Familia::PostgreSQL;
    return Familia::Otra;
}

// The stream sockets the process holds now, by descriptor and inode.
std::vector<std::pair<int, ino_t>> ZocalosDelProceso() {
    std::vector<std::pair<int, ino_t>> zocalos;
    DIR* carpeta = opendir("/proc/self/fd");
    if (!carpeta)
        return zocalos;
    while (const dirent* entrada = readdir(carpeta)) {
        const int fd = std::atoi(entrada->d_name);
        struct stat datos {};
        int tipo = 0;
        socklen_t largo = sizeof tipo;
        if (fd > 0 && fd != dirfd(carpeta) && fstat(fd, &datos) == 0 && S_ISSOCK(datos.st_mode) &&
            getsockopt(fd, SOL_SOCKET, SO_TYPE, &tipo, &largo) == 0 && tipo == SOCK_STREAM)
            zocalos.emplace_back(fd, datos.st_ino);
    }
    closedir(carpeta);
    return zocalos;
}

// Openings take turns, so that the sockets that appear during one belong to it.
std::mutex g_MutexAperturas;

} // namespace

COdbcConexion::~COdbcConexion() {
    m_Preparadas.clear();
    if (m_Abierta)
        SQLDisconnect(m_Dbc.Handle());
}

void COdbcConexion::Abrir(const QString& strCadena) {
    if (m_Abierta)
        throw CError(NumeroError::Generico, QStringLiteral("COdbcConexion"),
                     QStringLiteral("La conexión ya está abierta"));
    m_CadenaOriginal = strCadena;
    m_ClavesAgregadas.clear();

    CCadenaConexion cadena(strCadena);
    const QString dsn = cadena.Valor(QStringLiteral("DSN"));
    m_NombreControlador = cadena.Valor(QStringLiteral("DRIVER"));
    if (m_NombreControlador.isEmpty() && !dsn.isEmpty())
        m_NombreControlador = ControladorDelOrigen(dsn);
    const QString biblioteca = m_NombreControlador.contains(QLatin1Char('/'))
                                   ? m_NombreControlador
                                   : BibliotecaControlador(m_NombreControlador);
    const Familia familia = FamiliaDe(m_NombreControlador, biblioteca);

    if (familia == Familia::SQLite) {
        // The SQLite driver creates an empty database for a missing file; Verondal never
        // changes a database, so refuse it here, naming the path.
        QString ruta = cadena.Valor(QStringLiteral("Database"));
        if (ruta.isEmpty() && !dsn.isEmpty() && !cadena.Contiene(QStringLiteral("Database")))
            ruta = AtributoDelOrigen(dsn, QStringLiteral("Database"));
        if (!ruta.isEmpty() && ruta != QLatin1String(":memory:") && !QFileInfo(ruta).isFile())
            throw CError(NumeroError::Generico, QStringLiteral("COdbcConexion"),
                         QStringLiteral("El archivo de base de datos «%1» no existe").arg(ruta));
        if (!cadena.Contiene(QStringLiteral("NoCreat"))) {
            cadena.Poner(QStringLiteral("NoCreat"), QStringLiteral("1"));
            m_ClavesAgregadas << QStringLiteral("NoCreat");
        }
        if (!cadena.Contiene(QStringLiteral("Timeout"))) {
            cadena.Poner(QStringLiteral("Timeout"), QString::number(kMilisegundosBloqueoSQLite));
            m_ClavesAgregadas << QStringLiteral("Timeout");
        }
    } else if (familia == Familia::MariaDB) {
        // MariaDB's driver ignores the login time-out attribute and waits forever on a mute
        // server; its own keyword bounds both the connect and the handshake.
        if (!cadena.Contiene(QStringLiteral("CONN_TIMEOUT"))) {
            cadena.Poner(QStringLiteral("CONN_TIMEOUT"), QString::number(kSegundosConexion));
            m_ClavesAgregadas << QStringLiteral("CONN_TIMEOUT");
        }
    }

    COdbcManejador dbc(SQL_HANDLE_DBC, odbc::Entorno());
    SQLSetConnectAttrW(dbc.Handle(), SQL_ATTR_LOGIN_TIMEOUT,
                       reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(kSegundosConexion)), 0);
    odbc::CTextoW entrada(m_ClavesAgregadas.isEmpty() ? strCadena : cadena.Texto());
    std::vector<SQLWCHAR> salida(8192);
    SQLSMALLINT largoSalida = 0;
    std::unique_lock turno(g_MutexAperturas);
    {
        std::lock_guard bloqueo(m_MutexApertura);
        m_ZocalosAntes = ZocalosDelProceso();
        m_booAbriendo = true;
    }
    const SQLRETURN rc = SQLDriverConnectW(dbc.Handle(), nullptr, entrada.Datos(), SQL_NTS,
                                           salida.data(), static_cast<SQLSMALLINT>(salida.size()),
                                           &largoSalida, SQL_DRIVER_NOPROMPT);
    {
        std::lock_guard bloqueo(m_MutexApertura);
        m_booAbriendo = false;
        m_Zocalos = ZocalosNuevos();
    }
    turno.unlock();
    if (m_Corte.load() != Corte::Ninguno) {
        if (SQL_SUCCEEDED(rc))
            SQLDisconnect(dbc.Handle());
        throw CError(NumeroError::Generico, QStringLiteral("SQLDriverConnect"),
                     QStringLiteral("Se canceló la apertura de la conexión"));
    }
    if (!SQL_SUCCEEDED(rc)) {
        QString texto = dbc.Diagnostico();
        if (texto.isEmpty())
            texto = QStringLiteral("El controlador no pudo abrir la conexión");
        throw CError(rc, QStringLiteral("SQLDriverConnect"), texto);
    }
    if (familia == Familia::SQLite) {
        // SQLite's driver "opens" any file and then answers every catalogue question with
        // nothing: read one row of the schema to tell a database from another file.
        COdbcManejador stmt(SQL_HANDLE_STMT, dbc.Handle());
        odbc::CTextoW prueba(QStringLiteral("SELECT 1 FROM sqlite_master LIMIT 1"));
        const SQLRETURN rcPrueba = SQLExecDirectW(stmt.Handle(), prueba.Datos(), SQL_NTS);
        if (!SQL_SUCCEEDED(rcPrueba) && rcPrueba != SQL_NO_DATA) {
            const QString texto = stmt.Diagnostico();
            stmt = COdbcManejador();
            SQLDisconnect(dbc.Handle());
            throw CError(rcPrueba, QStringLiteral("SQLDriverConnect"), texto);
        }
    }
    m_Dbc = std::move(dbc);
    m_Abierta = true;
    m_CadenaSalida = largoSalida > 0 && largoSalida < static_cast<SQLSMALLINT>(salida.size())
                         ? odbc::DesdeW(salida.data(), largoSalida)
                         : QString();

    m_NombreDBMS = InfoTexto(SQL_DBMS_NAME);
    const QString dbms = m_NombreDBMS.toLower();
    if (dbms.contains(QLatin1String("sqlite")))
        m_Motor = Motor::SQLite;
    else if (dbms.contains(QLatin1String("postgres")))
        m_Motor = Motor::PostgreSQL;
    else if (dbms.contains(QLatin1String("mariadb")) || dbms.contains(QLatin1String("mysql")))
        m_Motor = Motor::MariaDB;
    else
        m_Motor = Motor::Otro;
    if (m_NombreControlador.isEmpty())
        m_NombreControlador = InfoTexto(SQL_DRIVER_NAME);
    m_Escape = InfoTexto(SQL_SEARCH_PATTERN_ESCAPE);
    m_Comillas = InfoTexto(SQL_IDENTIFIER_QUOTE_CHAR).trimmed();
    const CCadenaConexion completa(m_CadenaSalida.isEmpty() ? strCadena : m_CadenaSalida);
    m_MuestraSistema = completa.Valor(QStringLiteral("ShowSystemTables")) == QLatin1String("1");
}

COdbcConexion::CVigilante::CVigilante(const COdbcConexion& objConexion, SQLHSTMT hStmt,
                                      int intSegundos)
    : m_Hilo([this, &objConexion, hStmt, intSegundos] {
          std::unique_lock bloqueo(m_Mutex);
          if (!m_Condicion.wait_for(bloqueo, std::chrono::seconds(intSegundos),
                                    [this] { return m_Parar; })) {
              m_Disparado = true;
              objConexion.Cortar(Corte::Plazo, intSegundos, hStmt);
          }
      }) {}

COdbcConexion::CVigilante::~CVigilante() {
    {
        std::lock_guard bloqueo(m_Mutex);
        m_Parar = true;
    }
    m_Condicion.notify_one();
    m_Hilo.join();
}

bool COdbcConexion::CVigilante::Disparado() {
    std::lock_guard bloqueo(m_Mutex);
    return m_Disparado;
}

std::vector<COdbcConexion::CZocalo> COdbcConexion::ZocalosNuevos() const {
    std::vector<CZocalo> nuevos;
    for (const auto& [fd, inodo] : ZocalosDelProceso())
        if (std::find(m_ZocalosAntes.begin(), m_ZocalosAntes.end(), std::pair(fd, inodo)) ==
            m_ZocalosAntes.end())
            nuevos.push_back({fd, inodo});
    return nuevos;
}

void COdbcConexion::Cortar(Corte motivo, int intSegundos, SQLHSTMT hSolo) const {
    std::lock_guard apertura(m_MutexApertura);
    // Still opening: the sockets that appeared since the opening began are this link's.
    const std::vector<CZocalo> zocalos = m_booAbriendo ? ZocalosNuevos() : m_Zocalos;
    if (zocalos.empty() && !m_booAbriendo) {
        // A file database: its driver's cancel interrupts the call and the link stays usable.
        std::lock_guard bloqueo(m_MutexVuelo);
        for (SQLHSTMT h : m_EnVuelo)
            if (!hSolo || h == hSolo)
                SQLCancel(h);
        return;
    }
    Corte ninguno = Corte::Ninguno;
    if (m_Corte.compare_exchange_strong(ninguno, motivo))
        m_SegundosCorte.store(intSegundos);
    for (const CZocalo& z : zocalos) {
        struct stat datos {};
        if (fstat(z.fd, &datos) == 0 && S_ISSOCK(datos.st_mode) && datos.st_ino == z.inodo)
            shutdown(z.fd, SHUT_RDWR);
    }
}

void COdbcConexion::EnVuelo(SQLHSTMT hStmt, bool booEnVuelo) const {
    std::lock_guard bloqueo(m_MutexVuelo);
    const auto it = std::find(m_EnVuelo.begin(), m_EnVuelo.end(), hStmt);
    if (booEnVuelo && it == m_EnVuelo.end())
        m_EnVuelo.push_back(hStmt);
    else if (!booEnVuelo && it != m_EnVuelo.end())
        m_EnVuelo.erase(it);
}

void COdbcConexion::LimitarServidor(int intSegundos) const {
    if (m_Motor != Motor::MariaDB || intSegundos == m_LimiteServidor)
        return;
    COdbcManejador stmt(SQL_HANDLE_STMT, m_Dbc.Handle());
    odbc::CTextoW sql(QStringLiteral("SET SESSION max_statement_time=%1").arg(intSegundos));
    if (SQL_SUCCEEDED(SQLExecDirectW(stmt.Handle(), sql.Datos(), SQL_NTS)))
        m_LimiteServidor = intSegundos;
}

QString COdbcConexion::CadenaCompletada() const {
    if (m_CadenaSalida.isEmpty())
        return m_CadenaOriginal;
    const CCadenaConexion original(m_CadenaOriginal);
    CCadenaConexion salida(m_CadenaSalida);
    for (const QString& clave : m_ClavesAgregadas)
        salida.Quitar(clave);
    // Some drivers (SQLite's) answer "DSN=;" and no driver: put back what was asked for.
    if (salida.Valor(QStringLiteral("DRIVER")).isEmpty() &&
        salida.Valor(QStringLiteral("DSN")).isEmpty()) {
        salida.Quitar(QStringLiteral("DSN"));
        salida.Quitar(QStringLiteral("DRIVER"));
        for (const auto& [clave, valor] : original.Atributos())
            if (clave.compare(QLatin1String("DRIVER"), Qt::CaseInsensitive) == 0 ||
                clave.compare(QLatin1String("DSN"), Qt::CaseInsensitive) == 0) {
                salida.Anteponer(clave, valor);
                break;
            }
    }
    if (salida.Texto() == CCadenaConexion(m_CadenaOriginal).Texto())
        return m_CadenaOriginal;
    return salida.Texto();
}

COdbcSentencia& COdbcConexion::Preparada(const QString& strSql) {
    auto it = m_Preparadas.find(strSql);
    if (it == m_Preparadas.end()) {
        auto stmt = std::make_shared<COdbcSentencia>(*this);
        stmt->Preparar(strSql);
        it = m_Preparadas.insert(strSql, std::move(stmt));
    }
    return **it;
}

QString COdbcConexion::InfoTexto(SQLUSMALLINT intInfo) const {
    // MariaDB's driver cuts a text that does not fit (its keyword list is 1,120 characters)
    // without the truncation warning: the largest buffer the call takes, and the text ends at its
    // terminator.
    constexpr SQLSMALLINT kBytes = 32766;
    std::vector<SQLWCHAR> buffer(kBytes / sizeof(SQLWCHAR), 0);
    SQLSMALLINT largo = 0;
    // MariaDB's driver asks its server for some (the database name).
    const CVigilante vigilante(*this, SQL_NULL_HSTMT, COdbcSentencia::SegundosPredeterminados());
    if (!SQL_SUCCEEDED(SQLGetInfoW(m_Dbc.Handle(), intInfo, buffer.data(), kBytes, &largo)))
        return {};
    const auto fin = std::find(buffer.begin(), buffer.end(), SQLWCHAR(0));
    return odbc::DesdeW(buffer.data(), static_cast<qsizetype>(fin - buffer.begin()));
}

std::optional<quint16> COdbcConexion::InfoCorto(SQLUSMALLINT intInfo) const {
    SQLUSMALLINT v = 0;
    if (!SQL_SUCCEEDED(SQLGetInfoW(m_Dbc.Handle(), intInfo, &v, sizeof v, nullptr)))
        return std::nullopt;
    return v;
}

std::optional<quint32> COdbcConexion::InfoLargo(SQLUSMALLINT intInfo) const {
    SQLUINTEGER v = 0;
    if (!SQL_SUCCEEDED(SQLGetInfoW(m_Dbc.Handle(), intInfo, &v, sizeof v, nullptr)))
        return std::nullopt;
    return v;
}

QString COdbcConexion::CatalogoActual() const {
    if (m_Catalogo)
        return *m_Catalogo;
    SQLWCHAR buffer[512] = {};
    SQLINTEGER largo = 0;
    const CVigilante vigilante(*this, SQL_NULL_HSTMT, COdbcSentencia::SegundosPredeterminados());
    if (!SQL_SUCCEEDED(SQLGetConnectAttrW(m_Dbc.Handle(), SQL_ATTR_CURRENT_CATALOG, buffer,
                                          sizeof buffer, &largo)))
        return {};
    QString nombre = odbc::DesdeW(buffer, std::min<SQLINTEGER>(largo / 2, 511));
    // MariaDB's driver answers the text "null" when no database was chosen.
    if (m_Motor == Motor::MariaDB && nombre == QLatin1String("null"))
        nombre.clear();
    m_Catalogo = nombre;
    return nombre;
}

QString COdbcConexion::EscaparPatron(const QString& strNombre) const {
    if (m_Escape.isEmpty())
        return strNombre;
    QString r;
    r.reserve(strNombre.size() + 4);
    for (const QChar c : strNombre) {
        if (c == QLatin1Char('_') || c == QLatin1Char('%') || m_Escape == c)
            r += m_Escape;
        r += c;
    }
    return r;
}

QString COdbcConexion::Citar(const QString& strNombre) const {
    if (m_Comillas.isEmpty())
        return strNombre;
    QString r = strNombre;
    r.replace(m_Comillas, m_Comillas + m_Comillas);
    return m_Comillas + r + m_Comillas;
}
