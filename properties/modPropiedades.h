// What the explorer's "Propiedades" opens: a new property window on every call, shown in the
// main window and filled there. Free functions; the main window owns the windows they make.
#pragma once

#include <QString>

class frmPropiedadesConexion;
class frmPropiedadesTabla;

// A connection node: the window is shown first, then filled, so it is seen while it fills.
frmPropiedadesConexion* MostrarPropiedadesConexion(const QString& strId);
// A table node: strId is the connection's Id (the node's grandparent), strTabla the node's text;
// filled under the arrow-and-hourglass pointer, then shown.
frmPropiedadesTabla* MostrarPropiedadesTabla(const QString& strId, const QString& strTabla,
                                             const QString& strEsquema = {});
