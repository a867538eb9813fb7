#include "catalog/COdbcSentencia.h"

#include "catalog/COdbcConexion.h"
#include "comun/CError.h"

#include <QDateTime>
#include <atomic>
#include <cstring>

namespace {

// Pointer and length of an optional wide argument.
struct CArgumentoW {
    explicit CArgumentoW(const COdbcSentencia::Argumento& a)
        : texto(a.value_or(QString())), nulo(!a) {}
    SQLWCHAR* Puntero() { return nulo ? nullptr : texto.Datos(); }
    SQLSMALLINT Largo() const { return nulo ? 0 : SQL_NTS; }
    odbc::CTextoW texto;
    bool nulo;
};

bool EsEntero(SQLSMALLINT t) {
    return t == SQL_SMALLINT || t == SQL_INTEGER || t == SQL_TINYINT || t == SQL_BIGINT ||
           t == SQL_BIT;
}
bool EsBinario(SQLSMALLINT t) {
    return t == SQL_BINARY || t == SQL_VARBINARY || t == SQL_LONGVARBINARY;
}

} // namespace

namespace {
std::atomic<int> g_intSegundosPredeterminados{COdbcSentencia::kSegundosConsulta};
}

int COdbcSentencia::SegundosPredeterminados() {
    return g_intSegundosPredeterminados.load();
}

void COdbcSentencia::EstablecerSegundosPredeterminados(int intSegundos) {
    g_intSegundosPredeterminados.store(intSegundos);
}

COdbcSentencia::COdbcSentencia(const COdbcConexion& objConexion)
    : m_Conexion(objConexion), m_Stmt(SQL_HANDLE_STMT, objConexion.Handle()), m_Buffer(512) {
    TiempoLimite(SegundosPredeterminados());
}

void COdbcSentencia::Vigilar() {
    m_Vigilante.reset();
    if (m_Plazo > 0)
        m_Vigilante =
            std::make_unique<COdbcConexion::CVigilante>(m_Conexion, m_Stmt.Handle(), m_Plazo);
    m_Conexion.LimitarServidor(LimiteDelServidor());
}

COdbcSentencia::~COdbcSentencia() {
    m_Vigilante.reset();
}

void COdbcSentencia::TiempoLimite(int intSegundos) {
    m_Plazo = intSegundos;
    SQLSetStmtAttrW(m_Stmt.Handle(), SQL_ATTR_QUERY_TIMEOUT,
                    reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(LimiteDelServidor())), 0);
}

int COdbcSentencia::LimiteDelServidor() const {
    return m_Plazo > 1 ? m_Plazo - 1 : m_Plazo;
}

bool COdbcSentencia::TiempoAgotado() const {
    return m_TiempoAgotado || (m_Vigilante && m_Vigilante->Disparado());
}

void COdbcSentencia::DespuesDeEjecutar(SQLRETURN rc, const char* strOperacion) {
    m_TiempoAgotado = false;
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) {
        const QString estado = m_Stmt.Estado();
        m_TiempoAgotado = estado == QLatin1String("HYT00") || estado == QLatin1String("HYT01");
        m_Stmt.Comprobar(rc, strOperacion);
    }
    m_Abierta = true;
    SQLSMALLINT n = 0;
    if (!SQL_SUCCEEDED(SQLNumResultCols(m_Stmt.Handle(), &n)))
        n = 0;
    m_Tipos.assign(static_cast<std::size_t>(n), 0);
    m_Nombres.assign(static_cast<std::size_t>(n), QString());
    for (SQLSMALLINT i = 0; i < n; ++i) {
        SQLWCHAR nombre[256];
        SQLSMALLINT largo = 0, tipo = 0, decimales = 0, nulos = 0;
        SQLULEN tamano = 0;
        if (SQL_SUCCEEDED(SQLDescribeColW(m_Stmt.Handle(), static_cast<SQLUSMALLINT>(i + 1), nombre,
                                          256, &largo, &tipo, &tamano, &decimales, &nulos))) {
            m_Tipos[static_cast<std::size_t>(i)] = tipo;
            m_Nombres[static_cast<std::size_t>(i)] =
                odbc::DesdeW(nombre, std::min<SQLSMALLINT>(largo, 255));
        }
    }
}

void COdbcSentencia::Tablas(const Argumento& catalogo, const Argumento& esquema,
                            const Argumento& tabla, const Argumento& tipos) {
    CArgumentoW c(catalogo), e(esquema), t(tabla), y(tipos);
    Vigilar();
    DespuesDeEjecutar(SQLTablesW(m_Stmt.Handle(), c.Puntero(), c.Largo(), e.Puntero(), e.Largo(),
                                 t.Puntero(), t.Largo(), y.Puntero(), y.Largo()),
                      "SQLTables");
}

void COdbcSentencia::Columnas(const Argumento& catalogo, const Argumento& esquema,
                              const Argumento& tabla, const Argumento& columna) {
    CArgumentoW c(catalogo), e(esquema), t(tabla), k(columna);
    Vigilar();
    DespuesDeEjecutar(SQLColumnsW(m_Stmt.Handle(), c.Puntero(), c.Largo(), e.Puntero(), e.Largo(),
                                  t.Puntero(), t.Largo(), k.Puntero(), k.Largo()),
                      "SQLColumns");
}

void COdbcSentencia::Estadisticas(const Argumento& catalogo, const Argumento& esquema,
                                  const QString& strTabla) {
    CArgumentoW c(catalogo), e(esquema), t{Argumento(strTabla)};
    Vigilar();
    DespuesDeEjecutar(SQLStatisticsW(m_Stmt.Handle(), c.Puntero(), c.Largo(), e.Puntero(),
                                     e.Largo(), t.Puntero(), t.Largo(), SQL_INDEX_ALL, SQL_QUICK),
                      "SQLStatistics");
}

void COdbcSentencia::ClavesPrimarias(const Argumento& catalogo, const Argumento& esquema,
                                     const QString& strTabla) {
    CArgumentoW c(catalogo), e(esquema), t{Argumento(strTabla)};
    Vigilar();
    DespuesDeEjecutar(SQLPrimaryKeysW(m_Stmt.Handle(), c.Puntero(), c.Largo(), e.Puntero(),
                                      e.Largo(), t.Puntero(), t.Largo()),
                      "SQLPrimaryKeys");
}

void COdbcSentencia::ClavesAjenas(const Argumento& catalogoPk, const Argumento& esquemaPk,
                                  const Argumento& tablaPk, const Argumento& catalogoFk,
                                  const Argumento& esquemaFk, const Argumento& tablaFk) {
    CArgumentoW c1(catalogoPk), e1(esquemaPk), t1(tablaPk), c2(catalogoFk), e2(esquemaFk),
        t2(tablaFk);
    Vigilar();
    DespuesDeEjecutar(SQLForeignKeysW(m_Stmt.Handle(), c1.Puntero(), c1.Largo(), e1.Puntero(),
                                      e1.Largo(), t1.Puntero(), t1.Largo(), c2.Puntero(),
                                      c2.Largo(), e2.Puntero(), e2.Largo(), t2.Puntero(),
                                      t2.Largo()),
                      "SQLForeignKeys");
}

void COdbcSentencia::Procedimientos(const Argumento& catalogo, const Argumento& esquema,
                                    const Argumento& nombre) {
    CArgumentoW c(catalogo), e(esquema), p(nombre);
    Vigilar();
    DespuesDeEjecutar(SQLProceduresW(m_Stmt.Handle(), c.Puntero(), c.Largo(), e.Puntero(),
                                     e.Largo(), p.Puntero(), p.Largo()),
                      "SQLProcedures");
}

void COdbcSentencia::TiposDatos(SQLSMALLINT intTipo) {
    Vigilar();
    DespuesDeEjecutar(SQLGetTypeInfoW(m_Stmt.Handle(), intTipo), "SQLGetTypeInfo");
}

void COdbcSentencia::Ejecutar(const QString& strSql) {
    Vigilar();
    // A cut cancels a statement only while its query runs: SQLite's driver frees the
    // statement's rows in SQLCancel, under a catalogue call or a fetch that is filling them.
    m_Conexion.EnVuelo(m_Stmt.Handle(), true);
    SQLRETURN rc;
    if (m_Conexion.SentenciasEnUtf8()) {
        QByteArray sql = strSql.toUtf8();
        rc = SQLExecDirect(m_Stmt.Handle(), reinterpret_cast<SQLCHAR*>(sql.data()),
                           static_cast<SQLINTEGER>(sql.size()));
    } else {
        odbc::CTextoW sql(strSql);
        rc = SQLExecDirectW(m_Stmt.Handle(), sql.Datos(), SQL_NTS);
    }
    m_Conexion.EnVuelo(m_Stmt.Handle(), false);
    DespuesDeEjecutar(rc, "SQLExecDirect");
}

void COdbcSentencia::Preparar(const QString& strSql) {
    odbc::CTextoW sql(strSql);
    Vigilar(); // some drivers (MariaDB's) prepare on the server
    const SQLRETURN rc = SQLPrepareW(m_Stmt.Handle(), sql.Datos(), SQL_NTS);
    Cerrar();
    m_Stmt.Comprobar(rc, "SQLPrepare");
}

void COdbcSentencia::EjecutarPreparada(const QStringList& parametros) {
    m_Parametros.resize(static_cast<std::size_t>(parametros.size()));
    m_Largos.resize(static_cast<std::size_t>(parametros.size()));
    for (qsizetype i = 0; i < parametros.size(); ++i) {
        auto& datos = m_Parametros[static_cast<std::size_t>(i)];
        const QString& texto = parametros[i];
        datos.assign(static_cast<std::size_t>(texto.size()) + 1, 0);
        std::memcpy(datos.data(), texto.utf16(), static_cast<std::size_t>(texto.size()) * 2);
        auto& largo = m_Largos[static_cast<std::size_t>(i)];
        largo = static_cast<SQLLEN>(texto.size() * 2);
        m_Stmt.Comprobar(
            SQLBindParameter(m_Stmt.Handle(), static_cast<SQLUSMALLINT>(i + 1), SQL_PARAM_INPUT,
                             SQL_C_WCHAR, SQL_WVARCHAR,
                             static_cast<SQLULEN>(std::max<qsizetype>(texto.size(), 1)), 0,
                             datos.data(), largo, &largo),
            "SQLBindParameter");
    }
    Vigilar();
    m_Conexion.EnVuelo(m_Stmt.Handle(), true); // as in Ejecutar
    const SQLRETURN rc = SQLExecute(m_Stmt.Handle());
    m_Conexion.EnVuelo(m_Stmt.Handle(), false);
    DespuesDeEjecutar(rc, "SQLExecute");
}

QString COdbcSentencia::NombreColumna(int intColumna) const {
    return m_Nombres[static_cast<std::size_t>(intColumna)];
}

bool COdbcSentencia::Siguiente() {
    if (m_Tipos.empty())
        return false;
    const SQLRETURN rc = SQLFetch(m_Stmt.Handle());
    if (rc == SQL_NO_DATA)
        return false;
    m_Stmt.Comprobar(rc, "SQLFetch");
    return true;
}

QVariant COdbcSentencia::LeerColumna(int intColumna, SQLSMALLINT intTipoC) {
    const auto col = static_cast<SQLUSMALLINT>(intColumna + 1);
    SQLLEN indicador = 0;
    switch (intTipoC) {
    case SQL_C_SBIGINT: {
        SQLBIGINT v = 0;
        m_Stmt.Comprobar(SQLGetData(m_Stmt.Handle(), col, SQL_C_SBIGINT, &v, sizeof v, &indicador),
                         "SQLGetData");
        return indicador == SQL_NULL_DATA ? QVariant() : QVariant(static_cast<qlonglong>(v));
    }
    case SQL_C_DOUBLE: {
        double v = 0;
        m_Stmt.Comprobar(SQLGetData(m_Stmt.Handle(), col, SQL_C_DOUBLE, &v, sizeof v, &indicador),
                         "SQLGetData");
        return indicador == SQL_NULL_DATA ? QVariant() : QVariant(v);
    }
    case SQL_C_TYPE_TIMESTAMP: {
        SQL_TIMESTAMP_STRUCT v{};
        m_Stmt.Comprobar(
            SQLGetData(m_Stmt.Handle(), col, SQL_C_TYPE_TIMESTAMP, &v, sizeof v, &indicador),
            "SQLGetData");
        if (indicador == SQL_NULL_DATA)
            return {};
        return QDateTime(QDate(v.year, v.month, v.day),
                         QTime(v.hour, v.minute, v.second, static_cast<int>(v.fraction / 1000000)));
    }
    case SQL_C_TYPE_DATE: {
        SQL_DATE_STRUCT v{};
        m_Stmt.Comprobar(
            SQLGetData(m_Stmt.Handle(), col, SQL_C_TYPE_DATE, &v, sizeof v, &indicador),
            "SQLGetData");
        return indicador == SQL_NULL_DATA ? QVariant() : QVariant(QDate(v.year, v.month, v.day));
    }
    case SQL_C_BINARY: {
        QByteArray datos;
        char trozo[4096];
        for (;;) {
            const SQLRETURN rc =
                SQLGetData(m_Stmt.Handle(), col, SQL_C_BINARY, trozo, sizeof trozo, &indicador);
            if (rc == SQL_NO_DATA)
                break;
            m_Stmt.Comprobar(rc, "SQLGetData");
            if (indicador == SQL_NULL_DATA)
                return {};
            const SQLLEN n =
                (indicador == SQL_NO_TOTAL || indicador > static_cast<SQLLEN>(sizeof trozo))
                    ? static_cast<SQLLEN>(sizeof trozo)
                    : indicador;
            datos.append(trozo, static_cast<qsizetype>(n));
            if (rc == SQL_SUCCESS)
                break;
        }
        return datos;
    }
    default: {
        QString texto;
        const SQLLEN capacidad = static_cast<SQLLEN>(m_Buffer.size() * sizeof(SQLWCHAR));
        for (bool primero = true;; primero = false) {
            const SQLRETURN rc = SQLGetData(m_Stmt.Handle(), col, SQL_C_WCHAR, m_Buffer.data(),
                                            capacidad, &indicador);
            if (rc == SQL_NO_DATA)
                break;
            m_Stmt.Comprobar(rc, "SQLGetData");
            if (indicador == SQL_NULL_DATA)
                return primero ? QVariant() : QVariant(texto);
            const bool truncado = rc == SQL_SUCCESS_WITH_INFO &&
                                  (indicador == SQL_NO_TOTAL || indicador >= capacidad);
            const qsizetype n = truncado ? static_cast<qsizetype>(m_Buffer.size()) - 1
                                         : static_cast<qsizetype>(indicador / sizeof(SQLWCHAR));
            if (primero && !truncado)
                return QVariant(odbc::DesdeW(m_Buffer.data(), n));
            texto += odbc::DesdeW(m_Buffer.data(), n);
            if (!truncado)
                break;
        }
        return texto;
    }
    }
}

std::optional<QString> COdbcSentencia::Texto(int intColumna, std::optional<QString>* anterior) {
    const SQLSMALLINT tipo = m_Tipos[static_cast<std::size_t>(intColumna)];
    if (EsBinario(tipo)) {
        // Some drivers type names as binary (MariaDB's with a "%" table type): they are UTF-8.
        const QVariant v = LeerColumna(intColumna, SQL_C_BINARY);
        return v.isValid() ? std::optional<QString>(QString::fromUtf8(v.toByteArray()))
                           : std::nullopt;
    }
    // The common case, read straight into a text without a QVariant on the way.
    const auto col = static_cast<SQLUSMALLINT>(intColumna + 1);
    const SQLLEN capacidad = static_cast<SQLLEN>(m_Buffer.size() * sizeof(SQLWCHAR));
    SQLLEN indicador = 0;
    SQLRETURN rc =
        SQLGetData(m_Stmt.Handle(), col, SQL_C_WCHAR, m_Buffer.data(), capacidad, &indicador);
    if (rc == SQL_NO_DATA || indicador == SQL_NULL_DATA)
        return std::nullopt;
    m_Stmt.Comprobar(rc, "SQLGetData");
    if (rc == SQL_SUCCESS || (indicador != SQL_NO_TOTAL && indicador < capacidad)) {
        const auto n = static_cast<qsizetype>(indicador / sizeof(SQLWCHAR));
        if (anterior) {
            // The same text as the row before: share it instead of building another.
            if (*anterior && (*anterior)->size() == n &&
                std::memcmp((*anterior)->utf16(), m_Buffer.data(),
                            static_cast<std::size_t>(n) * 2) == 0)
                return *anterior;
            *anterior = odbc::DesdeW(m_Buffer.data(), n);
            return *anterior;
        }
        return odbc::DesdeW(m_Buffer.data(), n);
    }
    QString texto = odbc::DesdeW(m_Buffer.data(), static_cast<qsizetype>(m_Buffer.size()) - 1);
    for (;;) {
        rc = SQLGetData(m_Stmt.Handle(), col, SQL_C_WCHAR, m_Buffer.data(), capacidad, &indicador);
        if (rc == SQL_NO_DATA)
            break;
        m_Stmt.Comprobar(rc, "SQLGetData");
        const bool truncado =
            rc == SQL_SUCCESS_WITH_INFO && (indicador == SQL_NO_TOTAL || indicador >= capacidad);
        texto += odbc::DesdeW(m_Buffer.data(),
                              truncado ? static_cast<qsizetype>(m_Buffer.size()) - 1
                                       : static_cast<qsizetype>(indicador / sizeof(SQLWCHAR)));
        if (!truncado)
            break;
    }
    return texto;
}

std::optional<qlonglong> COdbcSentencia::Entero(int intColumna) {
    const SQLSMALLINT tipo = m_Tipos[static_cast<std::size_t>(intColumna)];
    if (EsEntero(tipo)) {
        const QVariant v = LeerColumna(intColumna, SQL_C_SBIGINT);
        return v.isValid() ? std::optional<qlonglong>(v.toLongLong()) : std::nullopt;
    }
    const auto texto = Texto(intColumna);
    if (!texto)
        return std::nullopt;
    bool ok = false;
    const qlonglong n = texto->trimmed().toLongLong(&ok);
    if (ok)
        return n;
    // Numbers typed as text or decimal: "12.0" still counts.
    const double d = texto->trimmed().toDouble(&ok);
    return ok ? std::optional<qlonglong>(static_cast<qlonglong>(d)) : std::nullopt;
}

QVariant COdbcSentencia::Valor(int intColumna) {
    SQLSMALLINT c = SQL_C_WCHAR;
    switch (m_Tipos[static_cast<std::size_t>(intColumna)]) {
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_TINYINT:
    case SQL_BIGINT:
    case SQL_BIT:
        c = SQL_C_SBIGINT;
        break;
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE:
        c = SQL_C_DOUBLE;
        break;
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP:
        c = SQL_C_TYPE_TIMESTAMP;
        break;
    case SQL_TYPE_DATE:
    case SQL_DATE:
        c = SQL_C_TYPE_DATE;
        break;
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY:
        c = SQL_C_BINARY;
        break;
    default:
        break;
    }
    return LeerColumna(intColumna, c);
}

void COdbcSentencia::LeerFilaEnBruto() {
    const SQLLEN capacidad = static_cast<SQLLEN>(m_Buffer.size() * sizeof(SQLWCHAR));
    for (std::size_t i = 0; i < m_Tipos.size(); ++i) {
        SQLLEN indicador = 0;
        SQLRETURN rc;
        do {
            rc = SQLGetData(m_Stmt.Handle(), static_cast<SQLUSMALLINT>(i + 1), SQL_C_WCHAR,
                            m_Buffer.data(), capacidad, &indicador);
        } while (rc == SQL_SUCCESS_WITH_INFO &&
                 (indicador == SQL_NO_TOTAL || indicador >= capacidad));
    }
}

void COdbcSentencia::Cerrar() {
    m_Vigilante.reset();
    if (m_Abierta)
        SQLFreeStmt(m_Stmt.Handle(), SQL_CLOSE);
    m_Abierta = false;
    m_Tipos.clear();
    m_Nombres.clear();
}
