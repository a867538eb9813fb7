#include "export/CDocumentoXML.h"

#include "export/modXml.h"

void CDocumentoXML::TipoObjetos(const QString& strTipoObjetos) {
    m_xmlDocumento.appendChild(m_xmlDocumento.createProcessingInstruction(
        QStringLiteral("xml"), QStringLiteral("version='1.0'")));
    m_xmlRaiz = m_xmlDocumento.createElement(NombreXmlValido(strTipoObjetos));
    m_xmlDocumento.appendChild(m_xmlRaiz);
}

void CDocumentoXML::AgregarTitulo(const QString& strTitulo) {
    QString strNombre = strTitulo;
    strNombre.replace(QLatin1Char(' '), QLatin1Char('_'));
    // A title such as the provider's name in double quotes is still no name: make it one, so the
    // document stays well-formed.
    m_strNombresColumnas << NombreXmlValido(strNombre);
}

void CDocumentoXML::NuevoRegistro() {
    m_xmlRegistro = m_xmlDocumento.createElement(QStringLiteral("Registro"));
    m_xmlRaiz.appendChild(m_xmlRegistro);
    m_lngColumna = 1;
}

void CDocumentoXML::AgregarValor(const QString& strValor) {
    const QString strNombre = m_lngColumna <= m_strNombresColumnas.size()
                                  ? m_strNombresColumnas[m_lngColumna - 1]
                                  : QStringLiteral("Valor");
    QDomElement xmlValor = m_xmlDocumento.createElement(strNombre);
    m_xmlRegistro.appendChild(xmlValor);
    if (!strValor.isEmpty())
        xmlValor.appendChild(m_xmlDocumento.createTextNode(TextoXmlValido(strValor)));
    ++m_lngColumna;
}

bool CDocumentoXML::Contenido(QByteArray& bytDocumento, QString&) const {
    bytDocumento = m_xmlDocumento.toByteArray();
    return true;
}

void CDocumentoXML::Guardar(const QString& strRuta, bool booMostrarConfirmacion) {
    if (!GuardarEnArchivo(strRuta, booMostrarConfirmacion))
        m_booError = true;
}
