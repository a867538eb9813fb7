#include "export/CDocumentoTexto.h"

namespace {
const QString kFinRegistro = QStringLiteral("\r\n");
}

void CDocumentoTexto::AgregarValor(const QString& strValor) {
    m_strDocumento += PrepararValor(strValor);
    m_strDocumento += m_strSeparador;
    m_strUltimoSeparador = m_strSeparador;
}

void CDocumentoTexto::NuevoRegistro() {
    if (m_strUltimoSeparador == m_strSeparador)
        m_strDocumento.chop(1);
    m_strDocumento += kFinRegistro;
    m_strUltimoSeparador = kFinRegistro;
}

bool CDocumentoTexto::Contenido(QByteArray& bytDocumento, QString&) const {
    QStringView texto(m_strDocumento);
    if (m_strUltimoSeparador == m_strSeparador)
        texto.chop(1);
    // The user's locale encoding, which on Linux is UTF-8; no byte-order mark.
    bytDocumento = texto.toUtf8();
    return true;
}

void CDocumentoTexto::Guardar(const QString& strRuta, bool booMostrarConfirmacion) {
    if (!GuardarEnArchivo(strRuta, booMostrarConfirmacion))
        m_booError = true;
}
