// The common body of the spreadsheet and word-processor writers: the list kept in memory, then one
// document in a folder of its own under the temporary folder, opened with the user's office
// program. Owned by whoever created the concrete writer.
#pragma once

#include "export/IDocumento.h"

#include <QList>
#include <QStringList>

class CDocumentoOfimatico : public IDocumento {
public:
    void AgregarValor(const QString& strValor) override;
    void AgregarTitulo(const QString& strTitulo) override { m_strTitulos << strTitulo; }
    void NuevoRegistro() override { m_strFilas.append(QStringList()); }
    // With an empty path (the desktop export) the document is opened, not saved where the user did
    // not ask; with a path it is written there and nothing is opened.
    void Guardar(const QString& strRuta, bool booMostrarConfirmacion) override;
    bool Error() const override { return m_booError; }
    void TipoObjetos(const QString& strTipoObjetos) override { m_strTipoObjetos = strTipoObjetos; }

    // The document's file name in its temporary folder: the kind of objects, made safe for a name.
    QString NombreArchivo() const;
    // Width in characters of the longest line of a text, to size a column to its contents.
    static int AnchoTexto(const QString& strTexto);

protected:
    explicit CDocumentoOfimatico(const QString& strExtension) : m_strExtension(strExtension) {}

    const QString& TipoObjetosActual() const { return m_strTipoObjetos; }
    const QStringList& Titulos() const { return m_strTitulos; }
    const QList<QStringList>& Filas() const { return m_strFilas; }

private:
    void InformarFallo(const QString& strTexto);

    const QString m_strExtension;
    QString m_strTipoObjetos;
    QStringList m_strTitulos;
    QList<QStringList> m_strFilas;
    bool m_booError = false;
};
