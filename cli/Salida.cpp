#include "cli/Comandos.h"

#include <cstdio>

int ErrorUso(const QString& strTexto) {
    std::fprintf(stderr, "verondal-cli: %s\n", strTexto.toUtf8().constData());
    return 2;
}

void Imprimir(const QString& strLinea) {
    std::fputs(strLinea.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
}
