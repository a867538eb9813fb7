// The one error the core raises: a number, a source and a Spanish description, as the
// configuration, the encryption and the connection report them. Thrown by value.
#pragma once

#include <QString>
#include <exception>

class CError : public std::exception {
public:
    CError(long lngNumero, QString strOrigen, QString strDescripcion)
        : m_Numero(lngNumero), m_Origen(std::move(strOrigen)),
          m_Descripcion(std::move(strDescripcion)), m_Utf8(m_Descripcion.toUtf8()) {}

    long Numero() const { return m_Numero; }
    const QString& Origen() const { return m_Origen; }
    const QString& Descripcion() const { return m_Descripcion; }
    const char* what() const noexcept override { return m_Utf8.constData(); }

private:
    long m_Numero;
    QString m_Origen;
    QString m_Descripcion;
    QByteArray m_Utf8;
};
