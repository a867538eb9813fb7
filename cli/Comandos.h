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
// "-" in place of a connection string: the string is read from standard input, so that a
// password never shows in the process list. False (the reason on standard error) when nothing
// could be read; the line end after the string is not part of it.
bool LeerCadenaEntrada(QString& strCadena);
// Loads ctx.strConfig into objVerondal; false (the reason already on standard error) when the
// file is missing, does not parse or holds a malformed connection.
bool CargarVerondal(const CContextoCli& ctx);

int ComandoConexiones(CContextoCli& ctx, const QStringList& args);
int ComandoAgregar(CContextoCli& ctx, const QStringList& args);
int ComandoEliminar(CContextoCli& ctx, const QStringList& args);
int ComandoCadena(CContextoCli& ctx, const QStringList& args);
int ComandoCatalogo(CContextoCli& ctx, const QStringList& args);
int ComandoComparar(CContextoCli& ctx, const QStringList& args);
