#include "cli/Comandos.h"

#include <QFile>

#include <cstdio>

int ErrorUso(const QString& strTexto) {
    std::fprintf(stderr, "verondal-cli: %s\n", strTexto.toUtf8().constData());
    return 2;
}

void Imprimir(const QString& strLinea) {
    std::fputs(strLinea.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
}

bool LeerCadenaEntrada(QString& strCadena) {
    QFile entrada;
    if (!entrada.open(stdin, QIODevice::ReadOnly)) {
        ErrorUso(QStringLiteral("no se puede leer la cadena de conexión de la entrada estándar"));
        return false;
    }
    strCadena = QString::fromUtf8(entrada.readAll());
    while (strCadena.endsWith(QLatin1Char('\n')) || strCadena.endsWith(QLatin1Char('\r')))
        strCadena.chop(1);
    if (strCadena.isEmpty()) {
        ErrorUso(QStringLiteral("la entrada estándar no trae ninguna cadena de conexión"));
        return false;
    }
    return true;
}
