#include "catalog/COdbcManejador.h"

#include "comun/CError.h"
#include "comun/NumerosError.h"

#include <QStringList>

#include <cstring>

COdbcManejador::COdbcManejador(SQLSMALLINT intTipo, SQLHANDLE hPadre) : m_Tipo(intTipo) {
    const SQLRETURN rc = SQLAllocHandle(intTipo, hPadre, &m_Handle);
    if (!SQL_SUCCEEDED(rc)) {
        m_Handle = SQL_NULL_HANDLE;
        QString texto =
            hPadre == SQL_NULL_HANDLE
                ? QString()
                : Diagnostico(intTipo == SQL_HANDLE_STMT ? SQL_HANDLE_DBC : SQL_HANDLE_ENV, hPadre);
        if (texto.isEmpty())
            texto = QStringLiteral("El gestor de controladores ODBC no pudo reservar un manejador");
        throw CError(rc, QStringLiteral("ODBC"), texto);
    }
}

COdbcManejador::~COdbcManejador() {
    Liberar();
}

COdbcManejador::COdbcManejador(COdbcManejador&& otro) noexcept
    : m_Tipo(otro.m_Tipo), m_Handle(otro.m_Handle) {
    otro.m_Handle = SQL_NULL_HANDLE;
}

COdbcManejador& COdbcManejador::operator=(COdbcManejador&& otro) noexcept {
    if (this != &otro) {
        Liberar();
        m_Tipo = otro.m_Tipo;
        m_Handle = otro.m_Handle;
        otro.m_Handle = SQL_NULL_HANDLE;
    }
    return *this;
}

void COdbcManejador::Liberar() {
    if (m_Handle != SQL_NULL_HANDLE)
        SQLFreeHandle(m_Tipo, m_Handle);
    m_Handle = SQL_NULL_HANDLE;
}

QString COdbcManejador::Diagnostico() const {
    return Diagnostico(m_Tipo, m_Handle);
}

QString COdbcManejador::Diagnostico(SQLSMALLINT intTipo, SQLHANDLE h) {
    if (h == SQL_NULL_HANDLE)
        return {};
    QStringList registros;
    for (SQLSMALLINT i = 1;; ++i) {
        SQLWCHAR estado[6] = {};
        SQLINTEGER nativo = 0;
        std::vector<SQLWCHAR> mensaje(1024);
        SQLSMALLINT largo = 0;
        SQLRETURN rc = SQLGetDiagRecW(intTipo, h, i, estado, &nativo, mensaje.data(),
                                      static_cast<SQLSMALLINT>(mensaje.size()), &largo);
        if (rc == SQL_SUCCESS_WITH_INFO && largo >= static_cast<SQLSMALLINT>(mensaje.size())) {
            mensaje.resize(static_cast<std::size_t>(largo) + 1);
            rc = SQLGetDiagRecW(intTipo, h, i, estado, &nativo, mensaje.data(),
                                static_cast<SQLSMALLINT>(mensaje.size()), &largo);
        }
        if (!SQL_SUCCEEDED(rc))
            break;
        const qsizetype n = std::min<qsizetype>(largo, static_cast<qsizetype>(mensaje.size()) - 1);
        const QString texto = odbc::DesdeW(mensaje.data(), n).simplified();
        registros << QStringLiteral("[%1] %2").arg(odbc::DesdeW(estado, 5), texto);
        if (i == 50) // a runaway driver must not hang the reader
            break;
    }
    return registros.join(QLatin1Char('\n'));
}

QString COdbcManejador::Estado() const {
    SQLWCHAR estado[6] = {};
    SQLINTEGER nativo = 0;
    SQLWCHAR mensaje[2];
    SQLSMALLINT largo = 0;
    const SQLRETURN rc = SQLGetDiagRecW(m_Tipo, m_Handle, 1, estado, &nativo, mensaje, 1, &largo);
    return SQL_SUCCEEDED(rc) ? odbc::DesdeW(estado, 5) : QString();
}

void COdbcManejador::Comprobar(SQLRETURN rc, const char* strOperacion) const {
    if (SQL_SUCCEEDED(rc) || rc == SQL_NO_DATA)
        return;
    QString texto = Diagnostico();
    if (texto.isEmpty())
        texto = QStringLiteral("%1 falló (código %2)").arg(QLatin1String(strOperacion)).arg(rc);
    throw CError(rc, QLatin1String(strOperacion), texto);
}

namespace odbc {

CTextoW::CTextoW(const QString& strTexto)
    : m_Datos(static_cast<std::size_t>(strTexto.size()) + 1, 0) {
    if (!strTexto.isEmpty())
        std::memcpy(m_Datos.data(), strTexto.utf16(),
                    static_cast<std::size_t>(strTexto.size()) * 2);
}

SQLHENV Entorno() {
    // Never freed: connections held by long-lived objects may outlive any static of ours.
    static const SQLHENV entorno = [] {
        SQLHENV h = SQL_NULL_HENV;
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &h)))
            throw CError(NumeroError::Generico, QStringLiteral("ODBC"),
                         QStringLiteral("No se pudo iniciar el gestor de controladores ODBC"));
        SQLSetEnvAttr(h, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        return h;
    }();
    return entorno;
}

} // namespace odbc
