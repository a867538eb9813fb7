#include "comun/modEscritura.h"

#include <QSaveFile>

bool EscribirArchivo(const QString& strRuta, const QByteArray& bytDatos, QString& strError) {
    QSaveFile archivo(strRuta);
    if (!archivo.open(QIODevice::WriteOnly)) {
        strError = archivo.errorString();
        return false;
    }
    if (archivo.write(bytDatos) != bytDatos.size()) {
        strError = archivo.errorString();
        archivo.cancelWriting();
        return false;
    }
    if (!archivo.commit()) {
        strError = archivo.errorString();
        return false;
    }
    return true;
}

QString MensajeArchivoNoGuardado(const QString& strRuta, const QString& strRazon) {
    return QStringLiteral("No se puede guardar el archivo ") + strRuta + QStringLiteral(":\r\n") +
           strRazon;
}
