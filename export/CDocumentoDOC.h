// The word-processor writer: a .docx whose only content is one table of the list, titles in a
// repeated dark header row, bordered and banded. Owned by the export driver for one export.
#pragma once

#include "export/CDocumentoOfimatico.h"

class CDocumentoDOC final : public CDocumentoOfimatico {
public:
    CDocumentoDOC() : CDocumentoOfimatico(QStringLiteral("docx")) {}
    bool Contenido(QByteArray& bytDocumento, QString& strError) const override;
};
