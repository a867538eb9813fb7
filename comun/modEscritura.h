// Atomic file writing, shared by the configuration and the export writers: a file is replaced
// whole or left as it was, and a failure is one Spanish message naming the path.
#pragma once

#include <QByteArray>
#include <QString>

// Replaces strRuta with bytDatos through a temporary file beside it, so a failure never leaves a
// half-written file under that name. The replaced file keeps its mode (and, for root, its
// owner); a file whose mode bits allow no writing is refused even to root. On failure: false,
// the file byte for byte as it was, and the system's reason (in Spanish) in strError.
bool EscribirArchivo(const QString& strRuta, const QByteArray& bytDatos, QString& strError);
// The one message a user reads when a file cannot be written.
QString MensajeArchivoNoGuardado(const QString& strRuta, const QString& strRazon);
// The system's reason for an errno value, in Spanish (the C library and Qt speak English).
QString RazonDelSistema(int intErrno);
