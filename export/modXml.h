// What the XML-based writers need so that every list makes a well-formed document: element names
// made valid, and text stripped of the characters XML 1.0 cannot hold.
#pragma once

#include <QString>

// A valid name comes back unchanged; otherwise every character that may not stand in a name
// becomes "_", with a leading "_" where the first character may not start one.
QString NombreXmlValido(const QString& strNombre);
// The text without the control characters and lone surrogates that XML 1.0 forbids.
QString TextoXmlValido(const QString& strTexto);
