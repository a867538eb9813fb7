#include "DialogosGuion.h"
#include "Entorno.h"
#include "LectorZip.h"
#include "export/CDocumentoDOC.h"
#include "export/CDocumentoXLS.h"
#include "export/CTablaExportable.h"
#include "export/modArchivos.h"
#include "export/modExportacion.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

using pruebas::RutaTemporal;

// Writes the table in one format through the command line's door and returns the path.
QString Escribir(int lngFormato, const QString& strTipo, const CTablaExportable& tabla,
                 const QString& strNombre) {
    const QString strRuta = RutaTemporal(strNombre);
    QString strError;
    EXPECT_TRUE(EscribirTabla(lngFormato, strTipo, tabla, strRuta, strError))
        << strError.toStdString();
    return strRuta;
}

const QString kSs = QStringLiteral("http://schemas.openxmlformats.org/spreadsheetml/2006/main");
const QString kW = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");

QString NombreHojaEscrita(const QString& strTipo) {
    const QString strRuta =
        Escribir(1, strTipo, CTablaExportable({"A"}, {{"1"}}), QStringLiteral("hoja.xlsx"));
    return LeerXmlZip(strRuta, "xl/workbook.xml")
        .documentElement()
        .elementsByTagNameNS(kSs, QStringLiteral("sheet"))
        .at(0)
        .toElement()
        .attribute(QStringLiteral("name"));
}

TEST(DocumentoXlsTest, ElNombreDeLaHojaSigueLasReglas) {
    EXPECT_EQ(CDocumentoXLS::NombreHoja(QStringLiteral("a\\b?c*d")), QStringLiteral("a_b_c_d"));
    const QString strLargo = QStringLiteral("PalabrasReservadas:de*un/proveedor[largo]");
    EXPECT_EQ(CDocumentoXLS::NombreHoja(strLargo),
              QStringLiteral("PalabrasReservadas_de_un_provee"));
    EXPECT_EQ(NombreHojaEscrita(QStringLiteral("Tipos: [a/b]")), QStringLiteral("Tipos_ _a_b_"));
    EXPECT_EQ(NombreHojaEscrita(QStringLiteral("'Citado'")), QStringLiteral("_Citado_"));
    EXPECT_EQ(NombreHojaEscrita(QString()), QStringLiteral("Hoja1"));
}

// Cell reference -> its text, through the shared strings.
QMap<QString, QString> Celdas(const QString& strRuta, QMap<QString, int>* estilos = nullptr) {
    QStringList compartidas;
    const QDomNodeList si =
        LeerXmlZip(strRuta, "xl/sharedStrings.xml").elementsByTagNameNS(kSs, QStringLiteral("si"));
    for (int i = 0; i < si.size(); ++i)
        compartidas << si.at(i).toElement().text();
    QMap<QString, QString> celdas;
    const QDomNodeList c = LeerXmlZip(strRuta, "xl/worksheets/sheet1.xml")
                               .elementsByTagNameNS(kSs, QStringLiteral("c"));
    for (int i = 0; i < c.size(); ++i) {
        const QDomElement celda = c.at(i).toElement();
        const QString strRef = celda.attribute(QStringLiteral("r"));
        EXPECT_EQ(celda.attribute(QStringLiteral("t")), QStringLiteral("s"))
            << strRef.toStdString();
        celdas[strRef] =
            compartidas.value(celda.firstChildElement(QStringLiteral("v")).text().toInt());
        if (estilos)
            (*estilos)[strRef] = celda.attribute(QStringLiteral("s"), QStringLiteral("0")).toInt();
    }
    return celdas;
}

TEST(DocumentoXlsTest, TitulosConSuEstiloYValoresComoTexto) {
    const CTablaExportable tabla({"Nombre", "Tipo", "Nulos"},
                                 {{"Id", "", "No"}, {"007", "1e3", "Sí"}});
    const QString strRuta =
        Escribir(1, QStringLiteral("Campos"), tabla, QStringLiteral("campos.xlsx"));
    QMap<QString, int> estilos;
    const auto celdas = Celdas(strRuta, &estilos);
    EXPECT_EQ(celdas.value("A1"), QStringLiteral("Nombre"));
    EXPECT_EQ(celdas.value("C1"), QStringLiteral("Nulos"));
    EXPECT_EQ(celdas.value("A2"), QStringLiteral("Id"));
    EXPECT_FALSE(celdas.contains("B2"));                 // the empty value leaves its cell empty...
    EXPECT_EQ(celdas.value("C2"), QStringLiteral("No")); // ...and does not shift the next one
    EXPECT_EQ(celdas.value("A3"), QStringLiteral("007"));
    EXPECT_EQ(celdas.value("B3"), QStringLiteral("1e3"));
    EXPECT_EQ(celdas.size(), 8);

    EXPECT_NE(estilos.value("A1"), 0); // the titles have their own style
    EXPECT_EQ(estilos.value("A2"), 0);
}

TEST(DocumentoDocTest, SaltosDeLineaYTabuladoresSonLosDelFormato) {
    const CTablaExportable tabla({"A"}, {{QStringLiteral("uno\r\ndos\tfin")}});
    const QString strRuta = Escribir(0, QString(), tabla, QStringLiteral("lineas.docx"));
    QDomDocument documento = LeerXmlZip(strRuta, "word/document.xml");
    const QDomElement celda =
        documento.elementsByTagNameNS(kW, QStringLiteral("tc")).at(1).toElement();
    EXPECT_EQ(celda.elementsByTagNameNS(kW, QStringLiteral("br")).size(), 1);
    EXPECT_EQ(celda.elementsByTagNameNS(kW, QStringLiteral("tab")).size(), 1);
    EXPECT_EQ(celda.text(), QStringLiteral("unodosfin"));
}

// The desktop export: no path, the document in a folder of its own, opened by the office program.
TEST(DocumentoOfimaticoTest, SeAbreDesdeUnaCarpetaPropiaYSiNadieLoAbreSeDiceDonde) {
    for (const bool booAbre : {true, false}) {
        CDialogosGuion guion;
        guion.booAbrirFunciona = booAbre;
        CDocumentoXLS hoja;
        AlimentarDocumento(hoja, QString::fromUtf8("Índices"), CTablaExportable({"A"}, {{"1"}}));
        hoja.Guardar(QString(), true);
        EXPECT_FALSE(hoja.Error());
        ASSERT_EQ(guion.abiertos.size(), 1);
        const QFileInfo archivo(guion.abiertos[0]);
        EXPECT_EQ(archivo.fileName(), QString::fromUtf8("Índices.xlsx"));
        EXPECT_TRUE(archivo.isFile());
        EXPECT_EQ(QFileInfo(archivo.absolutePath()).absolutePath(),
                  QFileInfo(QDir::tempPath()).absoluteFilePath());
        if (booAbre) {
            EXPECT_TRUE(guion.mensajes.empty());
        } else {
            ASSERT_EQ(guion.mensajes.size(), 1u);
            EXPECT_EQ(guion.mensajes[0].intEstilo, Estilo::Informacion);
            EXPECT_TRUE(guion.mensajes[0].strTexto.endsWith(archivo.absoluteFilePath()));
        }
        QDir(archivo.absolutePath()).removeRecursively();
    }
}

TEST(DocumentoOfimaticoTest, UnNombreDeTipoPeligrosoNoSaleDeSuCarpeta) {
    CDocumentoDOC documento;
    documento.TipoObjetos(QStringLiteral("../a/b:c"));
    EXPECT_EQ(documento.NombreArchivo(), QStringLiteral(".._a_b_c.docx"));
    documento.TipoObjetos(QStringLiteral(".."));
    EXPECT_EQ(documento.NombreArchivo(), QStringLiteral("Documento.docx"));
}

// LibreOffice renders both documents: proof that a real office program opens them.
TEST(DocumentoOfimaticoTest, LibreOfficeConvierteAmbosAPdf) {
    const QString strSoffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (strSoffice.isEmpty()) {
        if (pruebas::EnCI())
            FAIL() << "Falta soffice (scripts/test instala LibreOffice)";
        GTEST_SKIP() << "Falta soffice: instale libreoffice-writer-nogui y libreoffice-calc-nogui";
    }
    CTablaExportable tabla({"Nombre", "Tipo de dato", "Descripción"}, {});
    for (int i = 0; i < 40; ++i)
        tabla.AgregarFila({QStringLiteral("columna_%1").arg(i),
                           i % 3 ? QStringLiteral("varchar") : QString(),
                           QString::fromUtf8("Texto con acentos: ñ á é & <%1>").arg(i)});
    const QString strXlsx =
        Escribir(1, QStringLiteral("Campos"), tabla, QStringLiteral("pdf-hoja.xlsx"));
    const QString strDocx =
        Escribir(0, QStringLiteral("Campos"), tabla, QStringLiteral("pdf-texto.docx"));
    const QString strSalida = RutaTemporal(QStringLiteral("pdf"));
    const QString strPerfil = RutaTemporal(QStringLiteral("perfil-libreoffice"));
    QProcess soffice;
    soffice.setProcessChannelMode(QProcess::MergedChannels);
    soffice.start(strSoffice,
                  {QStringLiteral("-env:UserInstallation=file://") + strPerfil,
                   QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                   QStringLiteral("pdf"), QStringLiteral("--outdir"), strSalida, strXlsx, strDocx});
    ASSERT_TRUE(soffice.waitForFinished(180000));
    const QString strSalidaSoffice = QString::fromLocal8Bit(soffice.readAll());
    ASSERT_EQ(soffice.exitCode(), 0) << strSalidaSoffice.toStdString();
    for (const char* strPdf : {"pdf-hoja.pdf", "pdf-texto.pdf"}) {
        const QString strRuta = strSalida + QLatin1Char('/') + QLatin1String(strPdf);
        EXPECT_GT(QFileInfo(strRuta).size(), 1000) << strPdf << "\n"
                                                   << strSalidaSoffice.toStdString();
        const QString strPdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (strPdftotext.isEmpty())
            continue;
        QProcess texto;
        texto.start(strPdftotext, {strRuta, QStringLiteral("-")});
        ASSERT_TRUE(texto.waitForFinished(60000));
        const QString strTexto = QString::fromUtf8(texto.readAllStandardOutput());
        EXPECT_TRUE(strTexto.contains(QStringLiteral("Tipo de dato"))) << strPdf;
        EXPECT_TRUE(strTexto.contains(QString::fromUtf8("ñ á é & <39>"))) << strPdf;
    }
}

} // namespace
