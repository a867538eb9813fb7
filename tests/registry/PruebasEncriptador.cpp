#include "Aplicacion.h"
#include "comun/CError.h"
#include "comun/NumerosError.h"
#include <QStringDecoder>
using namespace pruebas;

namespace {

// The error a call raises; fails the test when it raises none.
CError ErrorDe(const std::function<void()>& llamada) {
    try {
        llamada();
    } catch (const CError& e) {
        return e;
    }
    ADD_FAILURE() << "no se produjo ningún error";
    return CError(0, {}, {});
}

// Every character Windows-1252 holds, in byte order.
QString TodaLaPagina() {
    QByteArray bytTodos;
    for (int b = 0; b < 256; ++b)
        bytTodos.append(static_cast<char>(b));
    return QStringDecoder("windows-1252").decode(bytTodos);
}

} // namespace

TEST(EncriptadorTest, RespuestasConocidasDeArchivosExistentesEnMayusculasOMinusculas) {
    EXPECT_EQ(EncriptarTexto(QString::fromLatin1(kCadenaServidor)),
              QString::fromLatin1(kCifradaServidor));
    EXPECT_EQ(EncriptarTexto(u"A"_s), u"C0"_s);
    EXPECT_EQ(EncriptarTexto(QString(40, u'x')).size(), 80);
    EXPECT_EQ(DesencriptarTexto(QString::fromLatin1(kCifradaServidor).toLower()),
              QString::fromLatin1(kCadenaServidor));
    EXPECT_EQ(DesencriptarTexto(u"c0"_s), u"A"_s);
}

TEST(EncriptadorTest, TodoTextoDeWindows1252VaYVuelveYLoDemasComoInterrogacion) {
    const QString strTodos = TodaLaPagina();
    ASSERT_EQ(strTodos.size(), 256);
    EXPECT_EQ(DesencriptarTexto(EncriptarTexto(strTodos)), strTodos);
    for (const QChar c : strTodos)
        EXPECT_EQ(DesencriptarTexto(EncriptarTexto(QString(c))), QString(c)) << int(c.unicode());
    // The character form carries every byte value too.
    CEncriptador objEncriptador;
    const QString strFrase = u"otra frase"_s;
    EXPECT_EQ(objEncriptador.Desencriptar(objEncriptador.Encriptar(strTodos, strFrase), strFrase),
              strTodos);
    EXPECT_EQ(DesencriptarTexto(EncriptarTexto(u"ā€😀\x1A"_s)), u"?€?\x1A"_s);
}

// Each would slip past a lenient reader: an odd length, nothing at all, a letter, a space, a sign.
TEST(EncriptadorTest, UnaCadenaCifradaMalFormadaEsErrorConSuNumeroYOrigen) {
    const struct {
        const char* strCifrada;
        int32_t intNumero;
        const char* strOrigen;
    } casos[] = {
        {"C0C0C", static_cast<int32_t>(0x80040000u), "CEncriptador::DesencriptarHex()"},
        {"", 9, "CEncriptador::DesencriptarArrayBytes()"},
        {"C0ZZ", 13, "CEncriptador::DesencriptarHex()"},
        {"C0 1", 13, "CEncriptador::DesencriptarHex()"},
        {"+1C0", 13, "CEncriptador::DesencriptarHex()"},
        {"0x", 13, "CEncriptador::DesencriptarHex()"},
    };
    for (const auto& caso : casos) {
        const CError e = ErrorDe([&] { DesencriptarTexto(QString::fromLatin1(caso.strCifrada)); });
        EXPECT_EQ(e.Numero(), caso.intNumero) << caso.strCifrada;
        EXPECT_EQ(e.Origen(), QString::fromLatin1(caso.strOrigen)) << caso.strCifrada;
    }
    EXPECT_EQ(ErrorDe([] { DesencriptarTexto(u"C0C0C"_s); }).Descripcion(),
              u"Longitud de cadena incorrecta"_s);
    EXPECT_EQ(ErrorDe([] { DesencriptarTexto(u"C0ZZ"_s); }).Descripcion(),
              QStringLiteral("No coinciden los tipos: «ZZ», en la posición 3, no es un número "
                             "hexadecimal"));
    const CError eCifrar = ErrorDe([] { EncriptarTexto(QString()); });
    EXPECT_EQ(eCifrar.Numero(), 9);
    EXPECT_EQ(eCifrar.Origen(), u"CEncriptador::EncriptarArrayBytes()"_s);
}
