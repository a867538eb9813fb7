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

const QString kSs = u"http://schemas.openxmlformats.org/spreadsheetml/2006/main"_s;
const QString kW = u"http://schemas.openxmlformats.org/wordprocessingml/2006/main"_s;

QString NombreHojaEscrita(const QString& strTipo) {
    const QString strRuta = Escribir(1, strTipo, CTablaExportable({"A"}, {{"1"}}), u"hoja.xlsx"_s);
    return LeerXmlZip(strRuta, "xl/workbook.xml")
        .documentElement()
        .elementsByTagNameNS(kSs, u"sheet"_s)
        .at(0)
        .toElement()
        .attribute(u"name"_s);
}

TEST(DocumentoXlsTest, ElNombreDeLaHojaSigueLasReglas) {
    EXPECT_EQ(CDocumentoXLS::NombreHoja(u"a\\b?c*d"_s), u"a_b_c_d"_s);
    const QString strLargo = u"PalabrasReservadas:de*un/proveedor[largo]"_s;
    EXPECT_EQ(CDocumentoXLS::NombreHoja(strLargo), u"PalabrasReservadas_de_un_provee"_s);
    EXPECT_EQ(NombreHojaEscrita(u"Tipos: [a/b]"_s), u"Tipos_ _a_b_"_s);
    EXPECT_EQ(NombreHojaEscrita(u"'Citado'"_s), u"_Citado_"_s);
    EXPECT_EQ(NombreHojaEscrita(QString()), u"Hoja1"_s);
}

// Cell reference -> its text, through the shared strings.
QMap<QString, QString> Celdas(const QString& strRuta, QMap<QString, int>* estilos = nullptr) {
    QStringList compartidas;
    const QDomNodeList si =
        LeerXmlZip(strRuta, "xl/sharedStrings.xml").elementsByTagNameNS(kSs, u"si"_s);
    for (int i = 0; i < si.size(); ++i)
        compartidas << si.at(i).toElement().text();
    QMap<QString, QString> celdas;
    const QDomNodeList c =
        LeerXmlZip(strRuta, "xl/worksheets/sheet1.xml").elementsByTagNameNS(kSs, u"c"_s);
    for (int i = 0; i < c.size(); ++i) {
        const QDomElement celda = c.at(i).toElement();
        const QString strRef = celda.attribute(u"r"_s);
        EXPECT_EQ(celda.attribute(u"t"_s), u"s"_s) << strRef.toStdString();
        celdas[strRef] = compartidas.value(celda.firstChildElement(u"v"_s).text().toInt());
        if (estilos)
            (*estilos)[strRef] = celda.attribute(u"s"_s, u"0"_s).toInt();
    }
    return celdas;
}

TEST(DocumentoXlsTest, TitulosConSuEstiloYValoresComoTexto) {
    const CTablaExportable tabla({"Nombre", "Tipo", "Nulos"},
                                 {{"Id", "", "No"}, {"007", "1e3", "Sí"}});
    const QString strRuta = Escribir(1, u"Campos"_s, tabla, u"campos.xlsx"_s);
    QMap<QString, int> estilos;
    const auto celdas = Celdas(strRuta, &estilos);
    EXPECT_EQ(celdas.value("A1"), u"Nombre"_s);
    EXPECT_EQ(celdas.value("C1"), u"Nulos"_s);
    EXPECT_EQ(celdas.value("A2"), u"Id"_s);
    EXPECT_FALSE(celdas.contains("B2"));    // the empty value leaves its cell empty...
    EXPECT_EQ(celdas.value("C2"), u"No"_s); // ...and does not shift the next one
    EXPECT_EQ(celdas.value("A3"), u"007"_s);
    EXPECT_EQ(celdas.value("B3"), u"1e3"_s);
    EXPECT_EQ(celdas.size(), 8);

    EXPECT_NE(estilos.value("A1"), 0); // the titles have their own style
    EXPECT_EQ(estilos.value("A2"), 0);
}

TEST(DocumentoDocTest, SaltosDeLineaYTabuladoresSonLosDelFormato) {
    const CTablaExportable tabla({"A"}, {{u"uno\r\ndos\tfin"_s}});
    const QString strRuta = Escribir(0, QString(), tabla, u"lineas.docx"_s);
    QDomDocument documento = LeerXmlZip(strRuta, "word/document.xml");
    const QDomElement celda = documento.elementsByTagNameNS(kW, u"tc"_s).at(1).toElement();
    EXPECT_EQ(celda.elementsByTagNameNS(kW, u"br"_s).size(), 1);
    EXPECT_EQ(celda.elementsByTagNameNS(kW, u"tab"_s).size(), 1);
    EXPECT_EQ(celda.text(), u"unodosfin"_s);
}

// The desktop export: no path, the document in a folder of its own, opened by the office program.
TEST(DocumentoOfimaticoTest, SeAbreDesdeUnaCarpetaPropiaYSiNadieLoAbreSeDiceDonde) {
    for (const bool booAbre : {true, false}) {
        CDialogosGuion guion;
        guion.booAbrirFunciona = booAbre;
        CDocumentoXLS hoja;
        AlimentarDocumento(hoja, u"Índices"_s, CTablaExportable({"A"}, {{"1"}}));
        hoja.Guardar(QString(), true);
        EXPECT_FALSE(hoja.Error());
        ASSERT_EQ(guion.abiertos.size(), 1);
        const QFileInfo archivo(guion.abiertos[0]);
        EXPECT_EQ(archivo.fileName(), u"Índices.xlsx"_s);
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
    documento.TipoObjetos(u"../a/b:c"_s);
    EXPECT_EQ(documento.NombreArchivo(), u".._a_b_c.docx"_s);
    documento.TipoObjetos(u".."_s);
    EXPECT_EQ(documento.NombreArchivo(), u"Documento.docx"_s);
}

// LibreOffice renders both documents: proof that a real office program opens them.
TEST(DocumentoOfimaticoTest, LibreOfficeConvierteAmbosAPdf) {
    const QString strSoffice = QStandardPaths::findExecutable(u"soffice"_s);
    if (strSoffice.isEmpty()) {
        if (pruebas::EnCI())
            FAIL() << "Falta soffice (scripts/test instala LibreOffice)";
        GTEST_SKIP() << "Falta soffice: instale libreoffice-writer-nogui y libreoffice-calc-nogui";
    }
    CTablaExportable tabla({"Nombre", "Tipo de dato", "Descripción"}, {});
    for (int i = 0; i < 40; ++i)
        tabla.AgregarFila({u"columna_%1"_s.arg(i), i % 3 ? u"varchar"_s : QString(),
                           u"Texto con acentos: ñ á é & <%1>"_s.arg(i)});
    const QString strXlsx = Escribir(1, u"Campos"_s, tabla, u"pdf-hoja.xlsx"_s);
    const QString strDocx = Escribir(0, u"Campos"_s, tabla, u"pdf-texto.docx"_s);
    const QString strSalida = RutaTemporal(u"pdf"_s);
    const QString strPerfil = RutaTemporal(u"perfil-libreoffice"_s);
    QProcess soffice;
    soffice.setProcessChannelMode(QProcess::MergedChannels);
    soffice.start(strSoffice,
                  {u"-env:UserInstallation=file://"_s + strPerfil, u"--headless"_s,
                   u"--convert-to"_s, u"pdf"_s, u"--outdir"_s, strSalida, strXlsx, strDocx});
    ASSERT_TRUE(soffice.waitForFinished(180000));
    const QString strSalidaSoffice = QString::fromLocal8Bit(soffice.readAll());
    ASSERT_EQ(soffice.exitCode(), 0) << strSalidaSoffice.toStdString();
    for (const char* strPdf : {"pdf-hoja.pdf", "pdf-texto.pdf"}) {
        const QString strRuta = strSalida + u'/' + QLatin1String(strPdf);
        EXPECT_GT(QFileInfo(strRuta).size(), 1000) << strPdf << "\n"
                                                   << strSalidaSoffice.toStdString();
        const QString strPdftotext = QStandardPaths::findExecutable(u"pdftotext"_s);
        if (strPdftotext.isEmpty())
            continue;
        QProcess texto;
        texto.start(strPdftotext, {strRuta, u"-"_s});
        ASSERT_TRUE(texto.waitForFinished(60000));
        const QString strTexto = QString::fromUtf8(texto.readAllStandardOutput());
        EXPECT_TRUE(strTexto.contains(u"Tipo de dato"_s)) << strPdf;
        EXPECT_TRUE(strTexto.contains(u"ñ á é & <39>"_s)) << strPdf;
    }
}

} // namespace
