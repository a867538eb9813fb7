// The spreadsheet writer: an .xlsx workbook with one sheet named after the kind of objects, bold
// titles on light-grey cells and one row per list row. Owned by the export driver for one export.
#pragma once

#include "export/CDocumentoOfimatico.h"

class CDocumentoXLS final : public CDocumentoOfimatico {
public:
    CDocumentoXLS() : CDocumentoOfimatico(QStringLiteral("xlsx")) {}
    bool Contenido(QByteArray& bytDocumento, QString& strError) const override;

    // The worksheet name for a kind of objects: the seven forbidden characters become "_", and
    // only the first 31 characters are kept.
    static QString NombreHoja(const QString& strTexto);
};
