// Encrypts connection strings for Verondal.xml: RC4 keyed by the MD5 digest of a pass phrase,
// text carried as Windows-1252 bytes. No state; a caller makes one whenever it needs it.
#pragma once

#include <QByteArray>
#include <QString>

// Algorithm identifiers that existing files were written with; the only pair this program has.
inline constexpr long CALG_MD5 = 0x8003;
inline constexpr long CALG_RC4 = 0x6801;

class CEncriptador {
public:
    // Encrypted bytes, one character per byte through the code page.
    QString Encriptar(const QString& strCadena, const QString& strPassword,
                      long AlgoritmoHash = CALG_MD5, long AlgoritmoEncriptado = CALG_RC4) const;
    // Encrypted bytes as upper-case hexadecimal, two digits per byte.
    QString EncriptarHex(const QString& strCadena, const QString& strPassword,
                         long AlgoritmoHash = CALG_MD5, long AlgoritmoEncriptado = CALG_RC4) const;
    QString Desencriptar(const QString& strCadena, const QString& strPassword,
                         long AlgoritmoHash = CALG_MD5, long AlgoritmoEncriptado = CALG_RC4) const;
    // Accepts either letter case; raises CError on an odd length, an empty text or a bad pair.
    QString DesencriptarHex(const QString& strCadena, const QString& strPassword,
                            long AlgoritmoHash = CALG_MD5,
                            long AlgoritmoEncriptado = CALG_RC4) const;

private:
    QByteArray EncriptarArrayBytes(const QByteArray& bytDatos, const QString& strPassword,
                                   long AlgoritmoHash, long AlgoritmoEncriptado) const;
    QByteArray DesencriptarArrayBytes(const QByteArray& bytDatos, const QString& strPassword,
                                      long AlgoritmoHash, long AlgoritmoEncriptado) const;
};

// The fixed pass phrase and algorithms every Verondal.xml is written with.
QString EncriptarTexto(const QString& strCadena);
QString DesencriptarTexto(const QString& strCadena);
