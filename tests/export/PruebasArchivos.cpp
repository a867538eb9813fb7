#include "Entorno.h"
#include "export/modArchivos.h"

#include <QDir>
#include <QFile>
#include <QLocale>

namespace {

class FormatearTamanoTest : public ::testing::Test {
protected:
    void TearDown() override { QLocale::setDefault(m_anterior); }
    QLocale m_anterior;
};

const qint64 kTamanos[] = {0, 1, 1023, 1024, 1048575, 1048576, 1073741824, 2147483647};

TEST_F(FormatearTamanoTest, ConConfiguracionEspanola) {
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    const char* esperados[] = {"0 bytes",    "1 byte",  "1023 bytes", "1,00 Kb",
                               "1024,00 Kb", "1,00 Mb", "1,00 Gb",    "2,00 Gb"};
    for (size_t i = 0; i < std::size(kTamanos); ++i)
        EXPECT_EQ(FormatearTamano(kTamanos[i]), QString::fromUtf8(esperados[i])) << kTamanos[i];
    EXPECT_EQ(FormatearTamano(1536), QStringLiteral("1,50 Kb"));
}

TEST_F(FormatearTamanoTest, ConConfiguracionInglesa) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const char* esperados[] = {"0 bytes",     "1 byte",  "1023 bytes", "1.00 Kb",
                               "1,024.00 Kb", "1.00 Mb", "1.00 Gb",    "2.00 Gb"};
    for (size_t i = 0; i < std::size(kTamanos); ++i)
        EXPECT_EQ(FormatearTamano(kTamanos[i]), QString::fromUtf8(esperados[i])) << kTamanos[i];
}

TEST_F(FormatearTamanoTest, NegativosYGrandesNoSeAgrupanNiDesbordan) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(FormatearTamano(-5), QStringLiteral("-5 bytes"));
    EXPECT_EQ(FormatearTamano(5LL * 1073741824), QStringLiteral("5.00 Gb"));
}

TEST(FormatosArchivoTest, SoloXmlTxtYCsvPidenArchivo) {
    EXPECT_FALSE(RequiereArchivo(0));
    EXPECT_FALSE(RequiereArchivo(1));
    EXPECT_TRUE(RequiereArchivo(2));
    EXPECT_TRUE(RequiereArchivo(3));
    EXPECT_TRUE(RequiereArchivo(4));
    EXPECT_FALSE(RequiereArchivo(5));
    EXPECT_FALSE(RequiereArchivo(-1));
}

TEST(FormatosArchivoTest, FiltrosYExtensionesPorCodigo) {
    EXPECT_EQ(FiltroArchivos(0),
              QString::fromUtf8("Documentos de Microsoft Word (*.doc);;Todos los archivos (*.*)"));
    EXPECT_EQ(
        FiltroArchivos(1),
        QString::fromUtf8("Hojas de cálculo de Microsoft Excel (*.xls);;Todos los archivos (*.*)"));
    EXPECT_EQ(FiltroArchivos(2), QStringLiteral("Archivos XML (*.xml);;Todos los archivos (*.*)"));
    EXPECT_EQ(FiltroArchivos(3),
              QStringLiteral("Archivos de texto (*.txt);;Todos los archivos (*.*)"));
    EXPECT_EQ(FiltroArchivos(4),
              QStringLiteral("Valores separados por comas (*.csv);;Todos los archivos (*.*)"));
    EXPECT_TRUE(FiltroArchivos(5).isEmpty());
    const char* extensiones[] = {"doc", "xls", "xml", "txt", "csv"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(ExtensionArchivo(i), QLatin1String(extensiones[i]));
    EXPECT_TRUE(ExtensionArchivo(-1).isEmpty());
}

TEST(ExisteArchivoTest, ArchivosYCarpetasExistenLoDemasNo) {
    const QString strCarpeta = pruebas::CarpetaTemporal();
    const QString strArchivo = strCarpeta + QStringLiteral("/existe.txt");
    QFile archivo(strArchivo);
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
    archivo.close();
    EXPECT_TRUE(ExisteArchivo(strArchivo));
    EXPECT_TRUE(ExisteArchivo(strCarpeta));
    EXPECT_FALSE(ExisteArchivo(strCarpeta + QStringLiteral("/no-existe.txt")));
    EXPECT_FALSE(ExisteArchivo(QString()));
}

TEST(EscribirArchivoTest, ReemplazaElArchivoEntero) {
    const QString strRuta = pruebas::CarpetaTemporal() + QStringLiteral("/reemplazo.txt");
    QString strError;
    ASSERT_TRUE(EscribirArchivo(strRuta, QByteArray("un texto bastante largo"), strError));
    ASSERT_TRUE(EscribirArchivo(strRuta, QByteArray("corto"), strError));
    QFile archivo(strRuta);
    ASSERT_TRUE(archivo.open(QIODevice::ReadOnly));
    EXPECT_EQ(archivo.readAll(), QByteArray("corto"));
}

TEST(EscribirArchivoTest, UnaCarpetaQueEsArchivoDaLaRazonDelSistema) {
    const QString strPadre = pruebas::CarpetaTemporal() + QStringLiteral("/soy-un-archivo");
    QFile archivo(strPadre);
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
    archivo.close();
    QString strError;
    EXPECT_FALSE(
        EscribirArchivo(strPadre + QStringLiteral("/datos.txt"), QByteArray("x"), strError));
    EXPECT_FALSE(strError.isEmpty());
    EXPECT_NE(strError, QStringLiteral("Unknown error"));
}

} // namespace
