// The tab-delimited text writer: values exactly as given, TAB between them, CR LF between rows.
// Owned by the export driver (or the command line) for one export.
#pragma once

#include "export/CDocumentoTexto.h"

class CDocumentoTXT final : public CDocumentoTexto {
public:
    CDocumentoTXT() : CDocumentoTexto(QLatin1Char('\t')) {}
};
