// One ODBC handle (environment, connection or statement), freed when its owner lets it go;
// reads every diagnostic record of a failed call into one text. Owned by the layer's objects.
#pragma once

#include <QString>
#include <sql.h>
#include <sqlext.h>
#include <vector>

class COdbcManejador {
public:
    COdbcManejador() = default;
    COdbcManejador(SQLSMALLINT intTipo, SQLHANDLE hPadre); // throws CError
    ~COdbcManejador();
    COdbcManejador(COdbcManejador&& otro) noexcept;
    COdbcManejador& operator=(COdbcManejador&& otro) noexcept;
    COdbcManejador(const COdbcManejador&) = delete;
    COdbcManejador& operator=(const COdbcManejador&) = delete;

    SQLHANDLE Handle() const { return m_Handle; }
    SQLSMALLINT Tipo() const { return m_Tipo; }

    // Every record of the last call on this handle: "[SQLSTATE] text", one per line, each on a
    // single line (drivers embed newlines and tabs).
    QString Diagnostico() const;
    static QString Diagnostico(SQLSMALLINT intTipo, SQLHANDLE h);

    // Raises CError with the diagnostic text when rc is not a success.
    void Comprobar(SQLRETURN rc, const char* strOperacion) const;

    // The first SQLSTATE of the last call (empty when none).
    QString Estado() const;

private:
    void Liberar();
    SQLSMALLINT m_Tipo = 0;
    SQLHANDLE m_Handle = SQL_NULL_HANDLE;
};

// Wide text for the W calls: unixODBC's SQLWCHAR is UTF-16, the same code units as QString.
namespace odbc {

class CTextoW {
public:
    explicit CTextoW(const QString& strTexto);
    SQLWCHAR* Datos() { return m_Datos.data(); }

private:
    std::vector<SQLWCHAR> m_Datos;
};

inline QString DesdeW(const SQLWCHAR* p, qsizetype n) {
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(p), n);
}

// The environment shared by every connection of the process (ODBC 3 behaviour).
SQLHENV Entorno();

} // namespace odbc
