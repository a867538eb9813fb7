// File helpers shared by the export writers, the driver and the windows: size texts, the
// per-format filter and extension, and the save/open calls of the dialog service.
#pragma once

#include "comun/modEscritura.h"

#include <QString>

// Export format codes, shared by the format dialog, the driver and these helpers.
namespace Formato {
enum : int { Word = 0, Excel = 1, Xml = 2, Texto = 3, Csv = 4 };
}

// "1 byte", "512 bytes", "1,50 Kb", "2,00 Gb": two decimals in the user's number format.
QString FormatearTamano(qint64 lngBytes);
// True for the formats that write a file the user names (XML, TXT, CSV).
bool RequiereArchivo(int lngFormato);
// The save dialog's filter, as "Archivos XML (*.xml);;Todos los archivos (*.*)"; empty if unknown.
QString FiltroArchivos(int lngFormato);
// The format's extension without a dot; empty if unknown.
QString ExtensionArchivo(int lngFormato);
// True when the path names a file or a folder.
bool ExisteArchivo(const QString& strRuta);

// The save dialog of the dialog service: true and the chosen path, false with strRuta unchanged.
bool GuardarArchivoComo(const QString& strFiltro, const QString& strExtension, QString& strRuta);
// Opens the file with its associated program; false when none took it.
bool AbrirArchivo(const QString& strRuta);

// "Archivo guardado en ... (size)" with the offer to open it; opens it on Yes.
void ConfirmarArchivoGuardado(const QString& strRuta);
