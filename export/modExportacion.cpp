#include "export/modExportacion.h"

#include "export/CDocumentoCSV.h"
#include "export/CDocumentoDOC.h"
#include "export/CDocumentoTXT.h"
#include "export/CDocumentoXLS.h"
#include "export/CDocumentoXML.h"
#include "export/modArchivos.h"

std::unique_ptr<IDocumento> CrearDocumento(int lngFormato) {
    switch (lngFormato) {
    case Formato::Word:
        return std::make_unique<CDocumentoDOC>();
    case Formato::Excel:
        return std::make_unique<CDocumentoXLS>();
    case Formato::Xml:
        return std::make_unique<CDocumentoXML>();
    case Formato::Texto:
        return std::make_unique<CDocumentoTXT>();
    case Formato::Csv:
        return std::make_unique<CDocumentoCSV>();
    }
    return nullptr;
}

int FormatoPorNombre(const QString& strNombre) {
    const QString strMinusculas = strNombre.toLower();
    for (const int lngFormato :
         {Formato::Word, Formato::Excel, Formato::Xml, Formato::Texto, Formato::Csv}) {
        // The office formats are written in their current form, with an "x" at the end.
        const QString strExtension = RequiereArchivo(lngFormato)
                                         ? ExtensionArchivo(lngFormato)
                                         : ExtensionArchivo(lngFormato) + QLatin1Char('x');
        if (strMinusculas == strExtension)
            return lngFormato;
    }
    return -1;
}

void AlimentarDocumento(IDocumento& objDocumento, const QString& strTipoObjetos,
                        const IListaExportable& objLista) {
    objDocumento.TipoObjetos(strTipoObjetos);
    for (int c = 0; c < objLista.NumeroColumnas(); ++c)
        objDocumento.AgregarTitulo(objLista.TituloColumna(c));
    for (int f = 0; f < objLista.NumeroElementos(); ++f) {
        objDocumento.NuevoRegistro();
        objDocumento.AgregarValor(objLista.TextoCelda(f, 0));
        // The header count is read again for every row, so each row has one value per header.
        const int lngColumnas = objLista.NumeroColumnas();
        for (int c = 1; c < lngColumnas; ++c)
            objDocumento.AgregarValor(objLista.TextoCelda(f, c));
    }
}

bool GenerarTabla(int lngFormato, const QString& strTipoObjetos, const IListaExportable& objLista,
                  QByteArray& bytDocumento, QString& strError) {
    const std::unique_ptr<IDocumento> objDocumento = CrearDocumento(lngFormato);
    if (!objDocumento) {
        strError = QStringLiteral("formato de exportación desconocido: %1").arg(lngFormato);
        return false;
    }
    AlimentarDocumento(*objDocumento, strTipoObjetos, objLista);
    if (!objDocumento->Contenido(bytDocumento, strError)) {
        strError = QStringLiteral("No se puede crear el documento: ") + strError;
        return false;
    }
    return true;
}

bool EscribirTabla(int lngFormato, const QString& strTipoObjetos, const IListaExportable& objLista,
                   const QString& strRuta, QString& strError) {
    QByteArray bytDocumento;
    if (!GenerarTabla(lngFormato, strTipoObjetos, objLista, bytDocumento, strError))
        return false;
    QString strRazon;
    if (!EscribirArchivo(strRuta, bytDocumento, strRazon)) {
        strError = MensajeArchivoNoGuardado(strRuta, strRazon);
        return false;
    }
    return true;
}
