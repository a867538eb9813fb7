#include "registry/CEncriptador.h"

#include "comun/CError.h"
#include "comun/NumerosError.h"
#include "registry/modCodificacion.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <nettle/arcfour.h>
#include <nettle/md5.h>

namespace {

// Kept as it always was: existing files can only be read with this very phrase.
const char* const kPassword = "ravelto.quimsa";

// Without the converter every text would silently become empty: say so instead.
void ExigirConversor() {
    static const bool booDisponible = QStringEncoder(modCodificacion::kWindows1252).isValid() &&
                                      QStringDecoder(modCodificacion::kWindows1252).isValid();
    if (!booDisponible)
        throw CError(NumeroError::AlgoritmoNoAdmitido, QStringLiteral("CEncriptador"),
                     QStringLiteral("Esta instalación de Qt no tiene el conversor windows-1252"));
}

QByteArray ABytes(const QString& strTexto) {
    ExigirConversor();
    // A character the page cannot hold becomes "?", as the old ANSI conversion did.
    return modCodificacion::Codificar(strTexto, modCodificacion::kWindows1252,
                                      [](char32_t) { return QByteArray("?"); });
}

QString ATexto(const QByteArray& bytTexto) {
    return modCodificacion::Decodificar(bytTexto, modCodificacion::kWindows1252);
}

// The value of one hexadecimal digit of either case; -1 for anything else.
int DigitoHex(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

// RC4 encrypts and decrypts alike; strMiembro names the caller in every error.
QByteArray CifrarRC4(const QByteArray& bytDatos, const QString& strPassword, long AlgoritmoHash,
                     long AlgoritmoEncriptado, const QString& strMiembro) {
    const QString strEn = QStringLiteral(" en CEncriptador::%1()").arg(strMiembro);
    if (AlgoritmoHash != CALG_MD5)
        throw CError(
            NumeroError::AlgoritmoNoAdmitido, QStringLiteral("CryptCreateHash()") + strEn,
            QStringLiteral("Algoritmo de hash no admitido: 0x%1").arg(AlgoritmoHash, 0, 16));
    if (AlgoritmoEncriptado != CALG_RC4)
        throw CError(NumeroError::AlgoritmoNoAdmitido, QStringLiteral("CryptDeriveKey()") + strEn,
                     QStringLiteral("Algoritmo de cifrado no admitido: 0x%1")
                         .arg(AlgoritmoEncriptado, 0, 16));
    if (bytDatos.isEmpty())
        throw CError(NumeroError::CadenaVacia, QStringLiteral("CEncriptador::%1()").arg(strMiembro),
                     QStringLiteral("Subíndice fuera del intervalo: la cadena está vacía"));

    // The whole 16-byte digest is the key: the 128-bit default of the strong providers.
    const QByteArray bytFrase = ABytes(strPassword);
    md5_ctx hash;
    md5_init(&hash);
    md5_update(&hash, static_cast<size_t>(bytFrase.size()),
               reinterpret_cast<const uint8_t*>(bytFrase.constData()));
    uint8_t clave[MD5_DIGEST_SIZE];
    md5_digest(&hash, MD5_DIGEST_SIZE, clave);

    arcfour_ctx rc4;
    arcfour_set_key(&rc4, MD5_DIGEST_SIZE, clave);
    QByteArray bytResultado(bytDatos.size(), Qt::Uninitialized);
    arcfour_crypt(&rc4, static_cast<size_t>(bytDatos.size()),
                  reinterpret_cast<uint8_t*>(bytResultado.data()),
                  reinterpret_cast<const uint8_t*>(bytDatos.constData()));
    return bytResultado;
}

} // namespace

QString CEncriptador::Encriptar(const QString& strCadena, const QString& strPassword,
                                long AlgoritmoHash, long AlgoritmoEncriptado) const {
    return ATexto(
        EncriptarArrayBytes(ABytes(strCadena), strPassword, AlgoritmoHash, AlgoritmoEncriptado));
}

QString CEncriptador::EncriptarHex(const QString& strCadena, const QString& strPassword,
                                   long AlgoritmoHash, long AlgoritmoEncriptado) const {
    return QString::fromLatin1(
        EncriptarArrayBytes(ABytes(strCadena), strPassword, AlgoritmoHash, AlgoritmoEncriptado)
            .toHex()
            .toUpper());
}

QString CEncriptador::Desencriptar(const QString& strCadena, const QString& strPassword,
                                   long AlgoritmoHash, long AlgoritmoEncriptado) const {
    return ATexto(
        DesencriptarArrayBytes(ABytes(strCadena), strPassword, AlgoritmoHash, AlgoritmoEncriptado));
}

QString CEncriptador::DesencriptarHex(const QString& strCadena, const QString& strPassword,
                                      long AlgoritmoHash, long AlgoritmoEncriptado) const {
    const QString strOrigen = QStringLiteral("CEncriptador::DesencriptarHex()");
    if (strCadena.size() % 2 != 0)
        throw CError(NumeroError::LongitudIncorrecta, strOrigen,
                     QStringLiteral("Longitud de cadena incorrecta"));
    QByteArray bytDatos(strCadena.size() / 2, Qt::Uninitialized);
    for (qsizetype k = 0; k < bytDatos.size(); ++k) {
        const int intAlto = DigitoHex(strCadena[2 * k]);
        const int intBajo = DigitoHex(strCadena[2 * k + 1]);
        if (intAlto < 0 || intBajo < 0)
            throw CError(NumeroError::Tipos, strOrigen,
                         QStringLiteral("No coinciden los tipos: «%1», en la posición %2, no es "
                                        "un número hexadecimal")
                             .arg(strCadena.mid(2 * k, 2))
                             .arg(2 * k + 1));
        bytDatos[k] = static_cast<char>(intAlto * 16 + intBajo);
    }
    return ATexto(
        DesencriptarArrayBytes(bytDatos, strPassword, AlgoritmoHash, AlgoritmoEncriptado));
}

QByteArray CEncriptador::EncriptarArrayBytes(const QByteArray& bytDatos, const QString& strPassword,
                                             long AlgoritmoHash, long AlgoritmoEncriptado) const {
    return CifrarRC4(bytDatos, strPassword, AlgoritmoHash, AlgoritmoEncriptado,
                     QStringLiteral("EncriptarArrayBytes"));
}

QByteArray CEncriptador::DesencriptarArrayBytes(const QByteArray& bytDatos,
                                                const QString& strPassword, long AlgoritmoHash,
                                                long AlgoritmoEncriptado) const {
    return CifrarRC4(bytDatos, strPassword, AlgoritmoHash, AlgoritmoEncriptado,
                     QStringLiteral("DesencriptarArrayBytes"));
}

QString EncriptarTexto(const QString& strCadena) {
    return CEncriptador().EncriptarHex(strCadena, QString::fromLatin1(kPassword), CALG_MD5,
                                       CALG_RC4);
}

QString DesencriptarTexto(const QString& strCadena) {
    return CEncriptador().DesencriptarHex(strCadena, QString::fromLatin1(kPassword), CALG_MD5,
                                          CALG_RC4);
}
