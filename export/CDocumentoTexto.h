// The common body of the two delimited-text writers: one in-memory buffer, a field separator
// and CR LF between records. Owned by whoever created the concrete writer.
#pragma once

#include "export/IDocumento.h"

class CDocumentoTexto : public IDocumento {
public:
    void AgregarValor(const QString& strValor) override;
    void AgregarTitulo(const QString& strTitulo) override { AgregarValor(strTitulo); }
    void NuevoRegistro() override;
    void Guardar(const QString& strRuta, bool booMostrarConfirmacion) override;
    bool Error() const override { return m_booError; }
    bool Contenido(QByteArray& bytDocumento, QString& strError) const override;

protected:
    explicit CDocumentoTexto(QChar chrSeparador) : m_strSeparador(chrSeparador) {}
    virtual QString PrepararValor(const QString& strValor) const { return strValor; }

private:
    const QString m_strSeparador;
    QString m_strDocumento;
    QString m_strUltimoSeparador;
    bool m_booError = false;
};
