// What the ODBC driver manager has installed: the drivers and the data source names that a new
// connection can be made with. Free functions asking the driver manager; nothing is owned.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct COrigenDatosOdbc {
    QString strNombre;      // the data source name (DSN)
    QString strControlador; // the driver it is registered with
};

// Driver names, in the driver manager's order (odbcinst.ini).
QStringList ControladoresOdbc();
// User and system data sources, in the driver manager's order.
QList<COrigenDatosOdbc> OrigenesDatosOdbc();

// The library of a driver name ("Driver=" attribute); empty when the name is not installed.
QString BibliotecaControlador(const QString& strControlador);
// The driver a data source is registered with; empty when there is no such source.
QString ControladorDelOrigen(const QString& strDsn);
// True for drivers whose database is a file picked on disk (the SQLite family).
bool ControladorDeArchivo(const QString& strControlador);
