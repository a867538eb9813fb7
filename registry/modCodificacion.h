// Text to bytes and back through a named code page (Windows-1252 for the connection strings, the
// declared encoding for Verondal.xml), with the caller's choice for what the page cannot hold.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace modCodificacion {

// What replaces a code point the code page cannot hold.
using Sustituto = std::function<QByteArray(char32_t)>;

// Encodes strTexto with the named converter; every code point it cannot hold becomes
// sustituto(code point). An unknown code page gives a null QByteArray.
QByteArray Codificar(const QString& strTexto, const QByteArray& strCodigo,
                     const Sustituto& sustituto);
// Decodes with the named converter (a null QString for an unknown code page).
QString Decodificar(const QByteArray& bytTexto, const QByteArray& strCodigo);

// The single-byte page the connection strings have always been stored in.
inline constexpr char kWindows1252[] = "windows-1252";

} // namespace modCodificacion
