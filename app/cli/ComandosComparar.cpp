#include "app/cli/Comandos.h"

// Placeholder until this room's orders land.
int ComandoComparar(CContextoCli&, const QStringList&) { return ErrorUso(QStringLiteral("orden no disponible todavía")); }
