// The comma-separated writer: quotes doubled, a value with a comma enclosed in quotes, outer
// spaces trimmed. Owned by the export driver (or the command line) for one export.
#pragma once

#include "export/CDocumentoTexto.h"

class CDocumentoCSV final : public CDocumentoTexto {
public:
    CDocumentoCSV() : CDocumentoTexto(QLatin1Char(',')) {}

protected:
    QString PrepararValor(const QString& strValor) const override;
};
