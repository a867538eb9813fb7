// Atomic file writing, shared by the configuration and the export writers: a file is replaced
// whole or left as it was, and a failure is one Spanish message naming the path.
#pragma once

#include <QByteArray>
#include <QString>

// Replaces strRuta with bytDatos through a temporary file beside it, so a failure never leaves a
// half-written file under that name. On failure: false and the system's reason in strError.
bool EscribirArchivo(const QString& strRuta, const QByteArray& bytDatos, QString& strError);
// The one message a user reads when a file cannot be written.
QString MensajeArchivoNoGuardado(const QString& strRuta, const QString& strRazon);
