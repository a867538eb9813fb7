// The writers behind one door: the writer for a format code, a list fed to a writer in the export
// protocol, and a whole table written with no box at all (the command line's way in).
#pragma once

#include "comun/IListaExportable.h"
#include "export/IDocumento.h"

#include <QByteArray>
#include <QString>
#include <memory>

// The writer for a format code (0 docx, 1 xlsx, 2 xml, 3 txt, 4 csv); null for another code.
std::unique_ptr<IDocumento> CrearDocumento(int lngFormato);
// The code for "docx", "xlsx", "xml", "txt" or "csv" (any case); -1 for another name.
int FormatoPorNombre(const QString& strNombre);
// TipoObjetos, every column title, then per row one value per title (an item with fewer
// sub-items gives empty values).
void AlimentarDocumento(IDocumento& objDocumento, const QString& strTipoObjetos,
                        const IListaExportable& objLista);
// The document's bytes, for standard output; false and the reason in strError.
bool GenerarTabla(int lngFormato, const QString& strTipoObjetos, const IListaExportable& objLista,
                  QByteArray& bytDocumento, QString& strError);
// The document written to strRuta (atomically: the old file stays whole on a failure); no box,
// nothing opened. False and the user-readable reason (naming the path) in strError.
bool EscribirTabla(int lngFormato, const QString& strTipoObjetos, const IListaExportable& objLista,
                   const QString& strRuta, QString& strError);
