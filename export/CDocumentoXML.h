// The XML writer: a root named after the kind of objects, one "Registro" per row, one element per
// column named after its title. Owned by the export driver (or the command line) for one export.
#pragma once

#include "export/IDocumento.h"

#include <QDomDocument>
#include <QDomElement>
#include <QStringList>

class CDocumentoXML final : public IDocumento {
public:
    void AgregarValor(const QString& strValor) override;
    void AgregarTitulo(const QString& strTitulo) override;
    void NuevoRegistro() override;
    void Guardar(const QString& strRuta, bool booMostrarConfirmacion) override;
    bool Error() const override { return m_booError; }
    void TipoObjetos(const QString& strTipoObjetos) override;
    bool Contenido(QByteArray& bytDocumento, QString& strError) const override;

private:
    QDomDocument m_xmlDocumento;
    QDomElement m_xmlRaiz;
    QDomElement m_xmlRegistro;
    QStringList m_strNombresColumnas;
    int m_lngColumna = 1;
    bool m_booError = false;
};
