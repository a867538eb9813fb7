#include "export/CDocumentoDOC.h"

#include "export/modXml.h"
#include "export/modZip.h"

#include <QRegularExpression>
#include <QXmlStreamWriter>
#include <algorithm>

namespace {

const QString kW = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");
const QString kRelaciones =
    QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships");
const QString kTipoRelacion =
    QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships/");

// A4 with 2 cm side margins, in twips; landscape when the table is wider than the portrait page.
constexpr int kAnchoA4 = 11906;
constexpr int kAltoA4 = 16838;
constexpr int kMargenLateral = 1134;
constexpr int kMargenVertical = 1417;
// The table's look: a dark header with white bold text, thin borders, every other row shaded.
const QString kFondoTitulos = QStringLiteral("1F3864");
const QString kFondoBanda = QStringLiteral("DCE3F0");
const QString kColorBorde = QStringLiteral("7F7F7F");
// Average width of one character at 10 points (in the fonts an office program substitutes), and the
// two cell margins, in twips.
constexpr int kTwipsPorCaracter = 130;
constexpr int kMargenCelda = 216;
constexpr int kAnchoMinimoColumna = 600;

class CEscritor : public QXmlStreamWriter {
public:
    explicit CEscritor(QByteArray* bytDestino) : QXmlStreamWriter(bytDestino) {
        writeStartDocument(QStringLiteral("1.0"), true);
    }
    // <w:nombre w:val="valor"/> and the like, the bulk of the format.
    void Vacio(const QString& strNombre,
               std::initializer_list<std::pair<QString, QString>> atributos = {}) {
        writeEmptyElement(kW, strNombre);
        for (const auto& [strAtributo, strValor] : atributos)
            writeAttribute(kW, strAtributo, strValor);
    }
};

QByteArray TiposContenido() {
    QByteArray bytXml;
    CEscritor xml(&bytXml);
    const QString kTipos =
        QStringLiteral("http://schemas.openxmlformats.org/package/2006/content-types");
    xml.writeDefaultNamespace(kTipos);
    xml.writeStartElement(kTipos, QStringLiteral("Types"));
    const auto porDefecto = [&](const char* strExtension, const char* strTipo) {
        xml.writeEmptyElement(kTipos, QStringLiteral("Default"));
        xml.writeAttribute(QStringLiteral("Extension"), QLatin1String(strExtension));
        xml.writeAttribute(QStringLiteral("ContentType"), QLatin1String(strTipo));
    };
    porDefecto("rels", "application/vnd.openxmlformats-package.relationships+xml");
    porDefecto("xml", "application/xml");
    const auto parte = [&](const char* strParte, const char* strTipo) {
        xml.writeEmptyElement(kTipos, QStringLiteral("Override"));
        xml.writeAttribute(QStringLiteral("PartName"), QLatin1String(strParte));
        xml.writeAttribute(QStringLiteral("ContentType"), QLatin1String(strTipo));
    };
    parte("/word/document.xml",
          "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml");
    parte("/word/styles.xml",
          "application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml");
    xml.writeEndDocument();
    return bytXml;
}

QByteArray Relaciones(const char* strTipo, const char* strDestino) {
    QByteArray bytXml;
    CEscritor xml(&bytXml);
    xml.writeDefaultNamespace(kRelaciones);
    xml.writeStartElement(kRelaciones, QStringLiteral("Relationships"));
    xml.writeEmptyElement(kRelaciones, QStringLiteral("Relationship"));
    xml.writeAttribute(QStringLiteral("Id"), QStringLiteral("rId1"));
    xml.writeAttribute(QStringLiteral("Type"), kTipoRelacion + QLatin1String(strTipo));
    xml.writeAttribute(QStringLiteral("Target"), QLatin1String(strDestino));
    xml.writeEndDocument();
    return bytXml;
}

QByteArray Estilos() {
    QByteArray bytXml;
    CEscritor xml(&bytXml);
    xml.writeNamespace(kW, QStringLiteral("w"));
    xml.writeStartElement(kW, QStringLiteral("styles"));
    xml.writeStartElement(kW, QStringLiteral("docDefaults"));
    xml.writeStartElement(kW, QStringLiteral("rPrDefault"));
    xml.writeStartElement(kW, QStringLiteral("rPr"));
    xml.Vacio(QStringLiteral("rFonts"), {{QStringLiteral("ascii"), QStringLiteral("Calibri")},
                                         {QStringLiteral("hAnsi"), QStringLiteral("Calibri")},
                                         {QStringLiteral("cs"), QStringLiteral("Calibri")}});
    xml.Vacio(QStringLiteral("sz"), {{QStringLiteral("val"), QStringLiteral("20")}});
    xml.Vacio(QStringLiteral("szCs"), {{QStringLiteral("val"), QStringLiteral("20")}});
    xml.Vacio(QStringLiteral("lang"), {{QStringLiteral("val"), QStringLiteral("es-ES")}});
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeStartElement(kW, QStringLiteral("pPrDefault"));
    xml.writeStartElement(kW, QStringLiteral("pPr"));
    xml.Vacio(QStringLiteral("spacing"), {{QStringLiteral("before"), QStringLiteral("0")},
                                          {QStringLiteral("after"), QStringLiteral("0")}});
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement(); // docDefaults
    xml.writeStartElement(kW, QStringLiteral("style"));
    xml.writeAttribute(kW, QStringLiteral("type"), QStringLiteral("paragraph"));
    xml.writeAttribute(kW, QStringLiteral("default"), QStringLiteral("1"));
    xml.writeAttribute(kW, QStringLiteral("styleId"), QStringLiteral("Normal"));
    xml.Vacio(QStringLiteral("name"), {{QStringLiteral("val"), QStringLiteral("Normal")}});
    xml.writeEndDocument();
    return bytXml;
}

// One cell: its width and shading, and its text with line breaks and tabs as the format wants
// them (a bare TAB or LF inside the text would be read as a space).
void EscribirCelda(CEscritor& xml, const QString& strTexto, int lngAncho, const QString& strFondo,
                   bool booTitulo) {
    xml.writeStartElement(kW, QStringLiteral("tc"));
    xml.writeStartElement(kW, QStringLiteral("tcPr"));
    xml.Vacio(QStringLiteral("tcW"), {{QStringLiteral("w"), QString::number(lngAncho)},
                                      {QStringLiteral("type"), QStringLiteral("dxa")}});
    if (!strFondo.isEmpty())
        xml.Vacio(QStringLiteral("shd"), {{QStringLiteral("val"), QStringLiteral("clear")},
                                          {QStringLiteral("color"), QStringLiteral("auto")},
                                          {QStringLiteral("fill"), strFondo}});
    xml.writeEndElement();
    xml.writeStartElement(kW, QStringLiteral("p"));
    if (!strTexto.isEmpty()) {
        xml.writeStartElement(kW, QStringLiteral("r"));
        if (booTitulo) {
            xml.writeStartElement(kW, QStringLiteral("rPr"));
            xml.Vacio(QStringLiteral("b"));
            xml.Vacio(QStringLiteral("color"), {{QStringLiteral("val"), QStringLiteral("FFFFFF")}});
            xml.writeEndElement();
        }
        static const QRegularExpression kCortes(QStringLiteral("(\r\n|\r|\n|\t)"));
        const QString strLimpio = TextoXmlValido(strTexto);
        qsizetype intDesde = 0;
        const auto trozo = [&](qsizetype intHasta) {
            if (intHasta <= intDesde)
                return;
            xml.writeStartElement(kW, QStringLiteral("t"));
            xml.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
            xml.writeCharacters(strLimpio.mid(intDesde, intHasta - intDesde));
            xml.writeEndElement();
        };
        for (auto corte = kCortes.globalMatch(strLimpio); corte.hasNext();) {
            const auto encontrado = corte.next();
            trozo(encontrado.capturedStart());
            xml.Vacio(encontrado.captured() == QLatin1String("\t") ? QStringLiteral("tab")
                                                                   : QStringLiteral("br"));
            intDesde = encontrado.capturedEnd();
        }
        trozo(strLimpio.size());
        xml.writeEndElement(); // r
    }
    xml.writeEndElement(); // p
    xml.writeEndElement(); // tc
}

// Column widths that follow the contents, like an auto-fitted table.
std::vector<int> AnchosNaturales(const QStringList& strTitulos,
                                 const QList<QStringList>& strFilas) {
    std::vector<int> lngAnchos(strTitulos.size());
    for (qsizetype c = 0; c < strTitulos.size(); ++c) {
        // Bold titles are a little wider than plain text.
        int lngTwips = CDocumentoOfimatico::AnchoTexto(strTitulos[c]) * kTwipsPorCaracter * 11 / 10;
        for (const QStringList& strValores : strFilas)
            if (c < strValores.size())
                lngTwips = std::max(lngTwips, CDocumentoOfimatico::AnchoTexto(strValores[c]) *
                                                  kTwipsPorCaracter);
        lngAnchos[c] = std::max(kAnchoMinimoColumna, lngTwips + kMargenCelda);
    }
    return lngAnchos;
}

// Narrow columns keep their width; the wide ones share what is left of the page equally, so a
// short code is never broken to make room for a long description.
void RepartirAncho(std::vector<int>& lngAnchos, int lngDisponible) {
    std::vector<size_t> pendientes(lngAnchos.size());
    for (size_t i = 0; i < pendientes.size(); ++i)
        pendientes[i] = i;
    long long lngRestante = lngDisponible;
    while (!pendientes.empty()) {
        const long long lngParte = lngRestante / static_cast<long long>(pendientes.size());
        std::vector<size_t> anchas;
        for (const size_t i : pendientes) {
            if (lngAnchos[i] <= lngParte)
                lngRestante -= lngAnchos[i];
            else
                anchas.push_back(i);
        }
        if (anchas.size() == pendientes.size()) {
            for (const size_t i : anchas)
                lngAnchos[i] = static_cast<int>(std::max(1LL, lngParte));
            break;
        }
        pendientes.swap(anchas);
    }
}

void EscribirBorde(CEscritor& xml, const char* strLado) {
    xml.Vacio(QLatin1String(strLado), {{QStringLiteral("val"), QStringLiteral("single")},
                                       {QStringLiteral("sz"), QStringLiteral("4")},
                                       {QStringLiteral("space"), QStringLiteral("0")},
                                       {QStringLiteral("color"), kColorBorde}});
}

QByteArray Documento(const QStringList& strTitulos, const QList<QStringList>& strFilas) {
    const int lngColumnas = static_cast<int>(strTitulos.size());
    std::vector<int> lngAnchos = AnchosNaturales(strTitulos, strFilas);
    long long lngTotal = 0;
    for (const int lngAncho : lngAnchos)
        lngTotal += lngAncho;
    // A table wider than the page turns the page, and if still too wide, shares the width.
    const bool booApaisado = lngTotal > kAnchoA4 - 2 * kMargenLateral;
    const int lngDisponible = (booApaisado ? kAltoA4 : kAnchoA4) - 2 * kMargenLateral;
    if (lngTotal > lngDisponible)
        RepartirAncho(lngAnchos, lngDisponible);

    QByteArray bytXml;
    CEscritor xml(&bytXml);
    xml.writeNamespace(kW, QStringLiteral("w"));
    xml.writeStartElement(kW, QStringLiteral("document"));
    xml.writeStartElement(kW, QStringLiteral("body"));
    if (lngColumnas > 0) {
        xml.writeStartElement(kW, QStringLiteral("tbl"));
        xml.writeStartElement(kW, QStringLiteral("tblPr"));
        xml.Vacio(QStringLiteral("tblW"), {{QStringLiteral("w"), QStringLiteral("0")},
                                           {QStringLiteral("type"), QStringLiteral("auto")}});
        xml.writeStartElement(kW, QStringLiteral("tblBorders"));
        for (const char* strLado : {"top", "left", "bottom", "right", "insideH", "insideV"})
            EscribirBorde(xml, strLado);
        xml.writeEndElement();
        xml.Vacio(QStringLiteral("tblLayout"),
                  {{QStringLiteral("type"), QStringLiteral("autofit")}});
        xml.writeEndElement(); // tblPr
        xml.writeStartElement(kW, QStringLiteral("tblGrid"));
        for (const int lngAncho : lngAnchos)
            xml.Vacio(QStringLiteral("gridCol"),
                      {{QStringLiteral("w"), QString::number(lngAncho)}});
        xml.writeEndElement();

        // The header row repeats at the top of every page.
        xml.writeStartElement(kW, QStringLiteral("tr"));
        xml.writeStartElement(kW, QStringLiteral("trPr"));
        xml.Vacio(QStringLiteral("tblHeader"));
        xml.writeEndElement();
        for (int c = 0; c < lngColumnas; ++c)
            EscribirCelda(xml, strTitulos[c], lngAnchos[c], kFondoTitulos, true);
        xml.writeEndElement();
        for (qsizetype f = 0; f < strFilas.size(); ++f) {
            const QString strFondo = f % 2 == 1 ? kFondoBanda : QString();
            xml.writeStartElement(kW, QStringLiteral("tr"));
            for (int c = 0; c < lngColumnas; ++c)
                EscribirCelda(xml, c < strFilas[f].size() ? strFilas[f][c] : QString(),
                              lngAnchos[c], strFondo, false);
            xml.writeEndElement();
        }
        xml.writeEndElement(); // tbl
    }
    // The format wants a paragraph after a table that ends the body.
    xml.Vacio(QStringLiteral("p"));
    xml.writeStartElement(kW, QStringLiteral("sectPr"));
    xml.Vacio(QStringLiteral("pgSz"),
              {{QStringLiteral("w"), QString::number(booApaisado ? kAltoA4 : kAnchoA4)},
               {QStringLiteral("h"), QString::number(booApaisado ? kAnchoA4 : kAltoA4)},
               {QStringLiteral("orient"),
                booApaisado ? QStringLiteral("landscape") : QStringLiteral("portrait")}});
    xml.Vacio(QStringLiteral("pgMar"),
              {{QStringLiteral("top"), QString::number(kMargenVertical)},
               {QStringLiteral("right"), QString::number(kMargenLateral)},
               {QStringLiteral("bottom"), QString::number(kMargenVertical)},
               {QStringLiteral("left"), QString::number(kMargenLateral)},
               {QStringLiteral("header"), QStringLiteral("708")},
               {QStringLiteral("footer"), QStringLiteral("708")},
               {QStringLiteral("gutter"), QStringLiteral("0")}});
    xml.writeEndDocument();
    return bytXml;
}

} // namespace

bool CDocumentoDOC::Contenido(QByteArray& bytDocumento, QString& strError) const {
    const PartesZip partes = {
        {QStringLiteral("[Content_Types].xml"), TiposContenido()},
        {QStringLiteral("_rels/.rels"), Relaciones("officeDocument", "word/document.xml")},
        {QStringLiteral("word/_rels/document.xml.rels"), Relaciones("styles", "styles.xml")},
        {QStringLiteral("word/document.xml"), Documento(Titulos(), Filas())},
        {QStringLiteral("word/styles.xml"), Estilos()},
    };
    return ComprimirPartes(partes, bytDocumento, strError);
}
