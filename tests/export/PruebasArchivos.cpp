#include "Ayudas.h"
#include "export/modArchivos.h"

#include <QLocale>

namespace {

// The unit steps and the decimal/grouping marks of the user's regional settings.
TEST(FormatearTamanoTest, UnidadesYSeparadoresDeLaConfiguracionRegional) {
    const QLocale objAnterior;
    const qint64 kTamanos[] = {0, 1, 1023, 1024, 1048575, 1048576, 1073741824, 2147483647};
    const char* es[] = {"0 bytes",    "1 byte",  "1023 bytes", "1,00 Kb",
                        "1024,00 Kb", "1,00 Mb", "1,00 Gb",    "2,00 Gb"};
    const char* en[] = {"0 bytes",     "1 byte",  "1023 bytes", "1.00 Kb",
                        "1,024.00 Kb", "1.00 Mb", "1.00 Gb",    "2.00 Gb"};
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    for (size_t i = 0; i < std::size(kTamanos); ++i)
        EXPECT_EQ(FormatearTamano(kTamanos[i]), QString::fromUtf8(es[i])) << kTamanos[i];
    EXPECT_EQ(FormatearTamano(1536), u"1,50 Kb"_s);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    for (size_t i = 0; i < std::size(kTamanos); ++i)
        EXPECT_EQ(FormatearTamano(kTamanos[i]), QString::fromUtf8(en[i])) << kTamanos[i];
    // Negative and past-32-bit sizes: no grouping of the sign, no overflow.
    EXPECT_EQ(FormatearTamano(-5), u"-5 bytes"_s);
    EXPECT_EQ(FormatearTamano(5LL * 1073741824), u"5.00 Gb"_s);
    QLocale::setDefault(objAnterior);
}

TEST(EscribirArchivoTest, ReemplazaElArchivoEntero) {
    const QString strRuta = pruebas::RutaTemporal(u"reemplazo.txt"_s);
    QString strError;
    ASSERT_TRUE(EscribirArchivo(strRuta, QByteArray("un texto bastante largo"), strError));
    ASSERT_TRUE(EscribirArchivo(strRuta, QByteArray("corto"), strError));
    EXPECT_EQ(pruebas::Leer(strRuta), QByteArray("corto"));
}

} // namespace
