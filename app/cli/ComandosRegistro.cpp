#include "app/cli/Comandos.h"

// Placeholder until this room's orders land.
int ComandoConexiones(CContextoCli&, const QStringList&) { return ErrorUso(QStringLiteral("orden no disponible todavía")); }
int ComandoAgregar(CContextoCli&, const QStringList&) { return ErrorUso(QStringLiteral("orden no disponible todavía")); }
int ComandoEliminar(CContextoCli&, const QStringList&) { return ErrorUso(QStringLiteral("orden no disponible todavía")); }
int ComandoCadena(CContextoCli&, const QStringList&) { return ErrorUso(QStringLiteral("orden no disponible todavía")); }
