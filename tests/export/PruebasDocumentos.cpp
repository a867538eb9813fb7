#include "Ayudas.h"
#include "DialogosGuion.h"
#include "export/CDocumentoCSV.h"
#include "export/CDocumentoTXT.h"
#include "export/CDocumentoXML.h"
#include "export/CTablaExportable.h"
#include "export/modExportacion.h"

#include <QDomDocument>
namespace {

using pruebas::Leer;
using pruebas::RutaTemporal;

// Feeds a table to a writer as the export driver does and saves it without confirmation.
QByteArray Exportar(IDocumento&& objDocumento, const CTablaExportable& tabla,
                    const QString& strNombre, const QString& strTipo = u"Campos"_s) {
    const QString strRuta = RutaTemporal(strNombre);
    AlimentarDocumento(objDocumento, strTipo, tabla);
    objDocumento.Guardar(strRuta, false);
    EXPECT_FALSE(objDocumento.Error());
    return Leer(strRuta);
}

CTablaExportable Tabla(const QStringList& strTitulos, const QList<QStringList>& strFilas) {
    return CTablaExportable(strTitulos, strFilas);
}

// Quoting, doubling, trimming and the separator of the text formats, value by value.
TEST(DocumentoTextoTest, ComasComillasEspaciosYTabuladores) {
    struct Caso {
        QStringList strTitulos;
        QList<QStringList> strFilas;
        QByteArray bytCsv;
        QByteArray bytTxt;
    };
    const Caso casos[] = {
        {{"Nombre", "Tipo"}, {{"a, b", "x \"y\""}}, "Nombre,Tipo\r\n\"a, b\",x \"\"y\"\"", {}},
        {{"Uno", "Dos"}, {{"a", ""}, {"", ""}}, "Uno,Dos\r\na,\r\n,", {}},
        {{"  Nombre  ", "B"},
         {{"  hola  ", " a, b "}, {"\tTAB ", "x\r\ny"}},
         "Nombre,B\r\nhola,\" a, b \"\r\n\tTAB,x\r\ny",
         {}},
        {{"A"}, {{"di \"no\", gracias"}}, "A\r\n\"di \"\"no\"\", gracias\"", {}},
        {{"Nombre", "Tipo de dato"},
         {{"a\tb", " x, \"y\" "}, {"Índice", ""}},
         {},
         "Nombre\tTipo de dato\r\na\tb\t x, \"y\" \r\n\xc3\x8dndice\t"},
        {{"A", "B"}, {}, {}, "A\tB"},
    };
    int intCaso = 0;
    for (const Caso& caso : casos) {
        ++intCaso;
        const auto tabla = Tabla(caso.strTitulos, caso.strFilas);
        if (!caso.bytCsv.isEmpty()) {
            EXPECT_EQ(Exportar(CDocumentoCSV(), tabla, "caso.csv"), caso.bytCsv) << intCaso;
        }
        if (!caso.bytTxt.isEmpty()) {
            EXPECT_EQ(Exportar(CDocumentoTXT(), tabla, "caso.txt"), caso.bytTxt) << intCaso;
        }
    }
}

// The three file writers alike: one critical message naming the path, Error on, nothing written.
TEST(DocumentoArchivoTest, UnaRutaImposibleSeInformaSinDejarArchivo) {
    const QString strPadre = RutaTemporal("no-soy-carpeta");
    QFile archivo(strPadre);
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
    archivo.close();
    for (int lngFormato : {2, 3, 4}) {
        CDialogosGuion guion;
        const QString strRuta = strPadre + u"/datos."_s + QString::number(lngFormato);
        auto objDocumento = CrearDocumento(lngFormato);
        AlimentarDocumento(*objDocumento, u"Campos"_s, Tabla({"A"}, {{"1"}}));
        objDocumento->Guardar(strRuta, true);
        EXPECT_TRUE(objDocumento->Error());
        ASSERT_EQ(guion.mensajes.size(), 1u) << lngFormato;
        EXPECT_TRUE(guion.mensajes[0].strTexto.startsWith(u"No se puede guardar el archivo "_s +
                                                          strRuta + u":\r\n"_s));
        EXPECT_GT(guion.mensajes[0].strTexto.size(), strRuta.size() + 34);
        EXPECT_EQ(guion.mensajes[0].intEstilo, Estilo::Critico);
        EXPECT_TRUE(guion.abiertos.isEmpty());
        EXPECT_EQ(Leer(strPadre), QByteArray());
    }
}

TEST(DocumentoArchivoTest, UnaCarpetaConElNombreElegidoQuedaIntacta) {
    CDialogosGuion guion;
    const QString strCarpeta = RutaTemporal("carpeta.csv");
    ASSERT_TRUE(QDir().mkpath(strCarpeta));
    CDocumentoCSV documento;
    AlimentarDocumento(documento, QString(), Tabla({"A"}, {{"1"}}));
    documento.Guardar(strCarpeta, false);
    EXPECT_TRUE(documento.Error());
    EXPECT_EQ(guion.mensajes.size(), 1u);
    EXPECT_TRUE(QDir(strCarpeta).isEmpty());
    EXPECT_EQ(QDir(pruebas::CarpetaTemporal())
                  .entryList({"carpeta.csv*"}, QDir::AllEntries | QDir::Hidden),
              QStringList{"carpeta.csv"});
}

QDomDocument LeerXml(const QByteArray& bytXml) {
    QDomDocument documento;
    QString strError;
    int intLinea = 0;
    EXPECT_TRUE(documento.setContent(bytXml, &strError, &intLinea))
        << strError.toStdString() << " línea " << intLinea;
    return documento;
}

TEST(DocumentoXmlTest, RaizRegistrosColumnasConGuionesYSinCaracteresDeControl) {
    // A control character has no place in XML: it goes, the tab stays.
    const auto tabla = Tabla({"Nombre", "Tipo de dato"}, {{"Id", u"x\x01y\tz"_s}, {"Alta", ""}});
    const QByteArray bytXml = Exportar(CDocumentoXML(), tabla, "campos.xml");
    EXPECT_TRUE(bytXml.startsWith("<?xml version='1.0'?>")) << bytXml.left(40).toStdString();
    const QDomElement raiz = LeerXml(bytXml).documentElement();
    EXPECT_EQ(raiz.tagName(), u"Campos"_s);
    const QDomNodeList registros = raiz.childNodes();
    ASSERT_EQ(registros.size(), 2);
    const QDomElement primero = registros.at(0).toElement();
    EXPECT_EQ(primero.tagName(), u"Registro"_s);
    ASSERT_EQ(primero.childNodes().size(), 2);
    EXPECT_EQ(primero.firstChildElement("Nombre").text(), u"Id"_s);
    EXPECT_EQ(primero.firstChildElement("Tipo_de_dato").text(), u"xy\tz"_s);
    const QDomElement vacio = registros.at(1).toElement().firstChildElement("Tipo_de_dato");
    EXPECT_FALSE(vacio.isNull());
    EXPECT_FALSE(vacio.hasChildNodes());
}

// Valid names stay as they are; the others are mended into XML names, the root as well.
TEST(DocumentoXmlTest, NombresValidosNoCambianYLosDemasSeArreglan) {
    const struct {
        const char* strTipo;
        QStringList titulos;
        const char* strRaiz;
        QStringList nombres;
    } casos[] = {
        {"Índices",
         {"Índice", "1ª columna", "a:b", "Tamaño (bytes)", ""},
         "Índices",
         {"Índice", "_1__columna", "a_b", "Tamaño__bytes_", "_"}},
        {"PalabrasReservadas",
         {"\"PostgreSQL Unicode\""},
         "PalabrasReservadas",
         {"_PostgreSQL_Unicode_"}},
        {"Con espacio", {"A"}, "Con_espacio", {"A"}},
    };
    for (const auto& caso : casos) {
        QList<QStringList> fila{QStringList()};
        for (int i = 0; i < caso.titulos.size(); ++i)
            fila[0] << QString::number(i);
        const QDomElement raiz = LeerXml(Exportar(CDocumentoXML(), Tabla(caso.titulos, fila),
                                                  "nombres.xml", QString::fromUtf8(caso.strTipo)))
                                     .documentElement();
        EXPECT_EQ(raiz.tagName(), QString::fromUtf8(caso.strRaiz));
        QStringList nombres;
        for (QDomElement e = raiz.firstChildElement().firstChildElement(); !e.isNull();
             e = e.nextSiblingElement())
            nombres << e.tagName();
        EXPECT_EQ(nombres, caso.nombres) << caso.strTipo;
    }
}

TEST(EscribirTablaTest, EscribeSinMostrarNadaOExplicaElFallo) {
    CDialogosGuion guion;
    const CTablaExportable tabla({"Objeto", "Diferencia"}, {{"clientes", "Sólo en 1"}});
    QString strError;
    const QString strRuta = RutaTemporal("resultados.csv");
    ASSERT_TRUE(EscribirTabla(4, u"Resultados"_s, tabla, strRuta, strError));
    EXPECT_EQ(Leer(strRuta), QByteArray("Objeto,Diferencia\r\nclientes,S\xc3\xb3lo en 1"));
    const QString strMala = strRuta + u"/dentro.xml"_s;
    EXPECT_FALSE(EscribirTabla(2, u"Resultados"_s, tabla, strMala, strError));
    EXPECT_TRUE(strError.startsWith(u"No se puede guardar el archivo "_s + strMala));
    EXPECT_FALSE(EscribirTabla(9, u"Resultados"_s, tabla, strRuta, strError));
    EXPECT_TRUE(guion.mensajes.empty());
    EXPECT_TRUE(guion.abiertos.isEmpty());
    EXPECT_EQ(FormatoPorNombre(u"DOCX"_s), 0);
    EXPECT_EQ(FormatoPorNombre(u"xlsx"_s), 1);
    EXPECT_EQ(FormatoPorNombre(u"csv"_s), 4);
    EXPECT_EQ(FormatoPorNombre(u"doc"_s), -1);
}

} // namespace
