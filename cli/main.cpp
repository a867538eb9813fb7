// verondal-cli: the program's core from a terminal, for scripts and for people on a server.
#include "cli/Comandos.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

namespace {

const char* const kAyuda =
    "Uso: verondal-cli [--config RUTA] ORDEN [ARGUMENTOS]\n"
    "\n"
    "Órdenes:\n"
    "  conexiones                 lista las conexiones (Id, TAB, Título)\n"
    "  agregar TÍTULO CADENA      agrega una conexión e imprime su Id (CADENA \"-\": la lee\n"
    "                             de la entrada estándar)\n"
    "  eliminar ID                elimina una conexión\n"
    "  cadena ID                  imprime la cadena de conexión descifrada\n"
    "  catalogo ID CONSULTA [TABLA]\n"
    "                             imprime un conjunto de filas del catálogo; CONSULTA es\n"
    "                             tablas, procedimientos, campos, indices, relaciones, tipos,\n"
    "                             palabras, literales, registros, propiedades o tipo (con un\n"
    "                             número de tipo)\n"
    "  comparar A B [--tablas] [--vistas] [--procedimientos] [--ocultos]\n"
    "           [--formato txt|csv|json|xml|xlsx|docx] [--salida RUTA]\n"
    "           [--cadena1 CADENA|-] [--cadena2 CADENA|-]\n"
    "                             compara dos bases de datos; sale con 0 sin diferencias,\n"
    "                             1 con diferencias, 2 por error o si no pudo escribir\n"
    "\n"
    "Opciones:\n"
    "  --config RUTA              archivo de configuración (por omisión, el Verondal.xml\n"
    "                             junto al programa)\n"
    "  --help                     muestra esta ayuda\n";

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList argumentos = app.arguments().mid(1);

    CContextoCli contexto;
    contexto.strConfig = QCoreApplication::applicationDirPath() + QStringLiteral("/Verondal.xml");
    // --config may stand anywhere on the line.
    for (int i = 0; i < argumentos.size(); ++i) {
        if (argumentos[i] == QLatin1String("--help") || argumentos[i] == QLatin1String("-h")) {
            std::fputs(kAyuda, stdout);
            return 0;
        }
        if (argumentos[i] == QLatin1String("--config")) {
            if (i + 1 >= argumentos.size())
                return ErrorUso(QStringLiteral("falta la ruta después de --config"));
            contexto.strConfig = QDir::current().absoluteFilePath(argumentos[i + 1]);
            argumentos.remove(i, 2);
            --i;
        }
    }
    if (argumentos.isEmpty()) {
        std::fputs(kAyuda, stderr);
        return 2;
    }
    const QString orden = argumentos.takeFirst();
    if (orden == QLatin1String("conexiones"))
        return ComandoConexiones(contexto, argumentos);
    if (orden == QLatin1String("agregar"))
        return ComandoAgregar(contexto, argumentos);
    if (orden == QLatin1String("eliminar"))
        return ComandoEliminar(contexto, argumentos);
    if (orden == QLatin1String("cadena"))
        return ComandoCadena(contexto, argumentos);
    if (orden == QLatin1String("catalogo"))
        return ComandoCatalogo(contexto, argumentos);
    if (orden == QLatin1String("comparar"))
        return ComandoComparar(contexto, argumentos);
    return ErrorUso(QStringLiteral("orden desconocida: %1").arg(orden));
}
