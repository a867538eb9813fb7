#include "export/modXml.h"

#include <QList>
#include <QStringView>

namespace {

// XML 1.0 (fifth edition) NameStartChar, without the colon: a colon would read as a namespace
// prefix that nothing declares.
bool EsInicioNombre(char32_t c) {
    return (c >= U'A' && c <= U'Z') || c == U'_' || (c >= U'a' && c <= U'z') ||
           (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) ||
           (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) ||
           (c >= 0x200C && c <= 0x200D) || (c >= 0x2070 && c <= 0x218F) ||
           (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) ||
           (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0xEFFFF);
}

bool EsCaracterNombre(char32_t c) {
    return EsInicioNombre(c) || c == U'-' || c == U'.' || (c >= U'0' && c <= U'9') || c == 0xB7 ||
           (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

bool EsCaracterTexto(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

} // namespace

QString NombreXmlValido(const QString& strNombre) {
    QString strValido;
    strValido.reserve(strNombre.size() + 1);
    bool booPrimero = true;
    for (const char32_t c : QStringView(strNombre).toUcs4()) {
        if (booPrimero && !EsInicioNombre(c) && EsCaracterNombre(c))
            strValido += QLatin1Char('_');
        booPrimero = false;
        if (EsCaracterNombre(c))
            strValido += QString::fromUcs4(&c, 1);
        else
            strValido += QLatin1Char('_');
    }
    return strValido.isEmpty() ? QStringLiteral("_") : strValido;
}

QString TextoXmlValido(const QString& strTexto) {
    const QList<uint> caracteres = QStringView(strTexto).toUcs4();
    // The common case has nothing to strip: keep the original string.
    bool booLimpio = true;
    for (const uint c : caracteres)
        booLimpio = booLimpio && EsCaracterTexto(c);
    if (booLimpio)
        return strTexto;
    QString strLimpio;
    for (const char32_t c : caracteres)
        if (EsCaracterTexto(c))
            strLimpio += QString::fromUcs4(&c, 1);
    return strLimpio;
}
