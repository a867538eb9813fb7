#include "registry/modCodificacion.h"

#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>

namespace modCodificacion {

QByteArray Codificar(const QString& strTexto, const QByteArray& strCodigo,
                     const Sustituto& sustituto) {
    // Converters differ in how they mark what they cannot hold (ICU writes 0x1A, Qt's own
    // Latin-1 a silent "?"), so a result counts only when it decodes back to the text.
    const auto convertir = [&](const QString& strParte, QByteArray& bytParte) {
        QStringEncoder codificador(strCodigo.constData(), QStringConverter::Flag::Stateless);
        QStringDecoder decodificador(strCodigo.constData(), QStringConverter::Flag::Stateless);
        if (!codificador.isValid() || !decodificador.isValid())
            return false;
        bytParte = codificador.encode(strParte);
        return !codificador.hasError() && QString(decodificador.decode(bytParte)) == strParte;
    };
    QByteArray bytResultado;
    if (convertir(strTexto, bytResultado))
        return bytResultado;
    if (!QStringEncoder(strCodigo.constData()).isValid())
        return {};

    bytResultado.clear();
    for (const char32_t cp : strTexto.toUcs4()) {
        QByteArray bytUno;
        bytResultado += convertir(QString::fromUcs4(&cp, 1), bytUno) ? bytUno : sustituto(cp);
    }
    return bytResultado;
}

QString Decodificar(const QByteArray& bytTexto, const QByteArray& strCodigo) {
    QStringDecoder decodificador(strCodigo.constData(), QStringConverter::Flag::Stateless);
    if (!decodificador.isValid())
        return {};
    return decodificador.decode(bytTexto);
}

} // namespace modCodificacion
