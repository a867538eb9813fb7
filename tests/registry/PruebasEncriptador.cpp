#include "ArchivosPrueba.h"
#include "comun/CError.h"
#include "comun/NumerosError.h"
#include "registry/CEncriptador.h"

#include <QStringDecoder>
#include <gtest/gtest.h>

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

TEST(EncriptadorTest, RespuestasConocidasDeArchivosExistentes) {
    EXPECT_EQ(
        EncriptarTexto(QStringLiteral("Provider=SQLOLEDB.1;Data Source=srv")),
        QStringLiteral("D1EB9009AD3B85AAC53B5B3891311FD7AEDAC0B43C9EC10639601DE7127255E1047BEE"));
    EXPECT_EQ(EncriptarTexto(QStringLiteral("A")), QStringLiteral("C0"));
    EXPECT_EQ(EncriptarTexto(QString(40, QLatin1Char('x'))).size(), 80);
}

TEST(EncriptadorTest, TodoTextoDeWindows1252VaYVuelve) {
    const QString strTodos = TodaLaPagina();
    ASSERT_EQ(strTodos.size(), 256);
    EXPECT_EQ(DesencriptarTexto(EncriptarTexto(strTodos)), strTodos);
    for (const QChar c : strTodos)
        EXPECT_EQ(DesencriptarTexto(EncriptarTexto(QString(c))), QString(c)) << int(c.unicode());
    // The character form carries every byte value too.
    CEncriptador objEncriptador;
    const QString strFrase = QStringLiteral("otra frase");
    EXPECT_EQ(objEncriptador.Desencriptar(objEncriptador.Encriptar(strTodos, strFrase), strFrase),
              strTodos);
}

TEST(EncriptadorTest, AceptaDigitosEnMinusculas) {
    EXPECT_EQ(DesencriptarTexto(QStringLiteral(
                  "d1eb9009ad3b85aac53b5b3891311fd7aedac0b43c9ec10639601de7127255e1047bee")),
              QStringLiteral("Provider=SQLOLEDB.1;Data Source=srv"));
    EXPECT_EQ(DesencriptarTexto(QStringLiteral("c0")), QStringLiteral("A"));
}

TEST(EncriptadorTest, CaracterFueraDeLaPaginaVuelveComoInterrogacion) {
    EXPECT_EQ(DesencriptarTexto(EncriptarTexto(QStringLiteral("ā€😀\x1A"))),
              QStringLiteral("?€?\x1A"));
}

TEST(EncriptadorTest, LongitudImparEsError) {
    const CError e = ErrorDe([] { DesencriptarTexto(QStringLiteral("C0C0C")); });
    EXPECT_EQ(e.Numero(), static_cast<int32_t>(0x80040000u));
    EXPECT_EQ(e.Origen(), QStringLiteral("CEncriptador::DesencriptarHex()"));
    EXPECT_EQ(e.Descripcion(), QStringLiteral("Longitud de cadena incorrecta"));
}

TEST(EncriptadorTest, TextoVacioEsErrorAlCifrarYAlDescifrar) {
    const CError eCifrar = ErrorDe([] { EncriptarTexto(QString()); });
    EXPECT_EQ(eCifrar.Numero(), 9);
    EXPECT_EQ(eCifrar.Origen(), QStringLiteral("CEncriptador::EncriptarArrayBytes()"));
    const CError eDescifrar = ErrorDe([] { DesencriptarTexto(QString()); });
    EXPECT_EQ(eDescifrar.Numero(), 9);
    EXPECT_EQ(eDescifrar.Origen(), QStringLiteral("CEncriptador::DesencriptarArrayBytes()"));
}

TEST(EncriptadorTest, ParQueNoEsHexadecimalEsError) {
    // Each would slip past a lenient number parser: a letter, a space, a sign.
    for (const char* strCifrada : {"C0ZZ", "C0 1", "+1C0", "0x"}) {
        const CError e = ErrorDe([&] { DesencriptarTexto(QString::fromLatin1(strCifrada)); });
        EXPECT_EQ(e.Numero(), 13) << strCifrada;
        EXPECT_EQ(e.Origen(), QStringLiteral("CEncriptador::DesencriptarHex()"));
    }
    EXPECT_EQ(ErrorDe([] { DesencriptarTexto(QStringLiteral("C0ZZ")); }).Descripcion(),
              QStringLiteral("No coinciden los tipos: «ZZ», en la posición 3, no es un número "
                             "hexadecimal"));
}
