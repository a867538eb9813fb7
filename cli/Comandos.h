// The orders of verondal-cli, one file per room: registry, catalogue, comparison.
// Each returns the process's exit status: 0 success, 1 differences found, 2 error.
#pragma once

#include <QString>
#include <QStringList>

struct CContextoCli {
    QString strConfig; // absolute path of Verondal.xml
};

// Prints "verondal-cli: " + the text on standard error; returns 2.
int ErrorUso(const QString& strTexto);
// Prints a line (UTF-8, LF) on standard output.
void Imprimir(const QString& strLinea);
// Loads ctx.strConfig into objVerondal; false (the reason already on standard error) when the
// file is missing, does not parse or holds a malformed connection.
bool CargarVerondal(const CContextoCli& ctx);

int ComandoConexiones(CContextoCli& ctx, const QStringList& args);
int ComandoAgregar(CContextoCli& ctx, const QStringList& args);
int ComandoEliminar(CContextoCli& ctx, const QStringList& args);
int ComandoCadena(CContextoCli& ctx, const QStringList& args);
int ComandoCatalogo(CContextoCli& ctx, const QStringList& args);
int ComandoComparar(CContextoCli& ctx, const QStringList& args);
