// What the benches that open windows share: no screen needed, and an empty Verondal.xml in the
// bench's own folder loaded as the application's configuration.
#pragma once

#include "registry/CVerondal.h"

#include <QFile>
#include <QTemporaryDir>

// Before the application object: offscreen unless a platform is chosen.
inline void SinPantalla() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// False when the file cannot be written.
inline bool CargarConfiguracionVacia(const QTemporaryDir& carpeta) {
    QFile f(carpeta.filePath(QStringLiteral("Verondal.xml")));
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Verondal><Conexiones/></Verondal>\n");
    f.close();
    objVerondal = std::make_unique<CVerondal>(carpeta.filePath(QStringLiteral("Verondal.xml")));
    return true;
}
