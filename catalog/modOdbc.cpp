#include "catalog/modOdbc.h"

#include "catalog/COdbcManejador.h"

#include <algorithm>
#include <functional>

namespace {

// Walks the installed drivers until fnVisitar returns false; attributes arrive as
// "key=value\0key=value\0\0".
void RecorrerControladores(const std::function<bool(const QString& strNombre,
                                                    const QStringList& strAtributos)>& fnVisitar) {
    SQLUSMALLINT direccion = SQL_FETCH_FIRST;
    for (;;) {
        SQLWCHAR descripcion[512];
        SQLWCHAR atributos[4096];
        SQLSMALLINT largoDescripcion = 0, largoAtributos = 0;
        const SQLRETURN rc = SQLDriversW(odbc::Entorno(), direccion, descripcion, 512,
                                         &largoDescripcion, atributos, 4096, &largoAtributos);
        if (!SQL_SUCCEEDED(rc))
            return;
        direccion = SQL_FETCH_NEXT;
        QStringList pares;
        const SQLWCHAR* p = atributos;
        const SQLWCHAR* fin = atributos + std::min<SQLSMALLINT>(largoAtributos, 4095);
        while (p < fin && *p) {
            const SQLWCHAR* q = p;
            while (q < fin && *q)
                ++q;
            pares << odbc::DesdeW(p, q - p);
            p = q + 1;
        }
        if (!fnVisitar(odbc::DesdeW(descripcion, std::min<SQLSMALLINT>(largoDescripcion, 511)),
                       pares))
            return;
    }
}

} // namespace

QStringList ControladoresOdbc() {
    QStringList nombres;
    RecorrerControladores([&](const QString& strNombre, const QStringList&) {
        nombres << strNombre;
        return true;
    });
    return nombres;
}

QList<COrigenDatosOdbc> OrigenesDatosOdbc() {
    QList<COrigenDatosOdbc> origenes;
    SQLUSMALLINT direccion = SQL_FETCH_FIRST;
    for (;;) {
        SQLWCHAR nombre[SQL_MAX_DSN_LENGTH + 1];
        SQLWCHAR descripcion[512];
        SQLSMALLINT largoNombre = 0, largoDescripcion = 0;
        const SQLRETURN rc =
            SQLDataSourcesW(odbc::Entorno(), direccion, nombre, SQL_MAX_DSN_LENGTH + 1,
                            &largoNombre, descripcion, 512, &largoDescripcion);
        if (!SQL_SUCCEEDED(rc))
            return origenes;
        direccion = SQL_FETCH_NEXT;
        origenes.append(
            {odbc::DesdeW(nombre, std::min<SQLSMALLINT>(largoNombre, SQL_MAX_DSN_LENGTH)),
             odbc::DesdeW(descripcion, std::min<SQLSMALLINT>(largoDescripcion, 511))});
    }
}

QString BibliotecaControlador(const QString& strControlador) {
    QString biblioteca;
    RecorrerControladores([&](const QString& strNombre, const QStringList& strAtributos) {
        if (strNombre.compare(strControlador, Qt::CaseInsensitive) != 0)
            return true;
        for (const QString& par : strAtributos)
            if (par.startsWith(QLatin1String("Driver="), Qt::CaseInsensitive))
                biblioteca = par.mid(7);
        return false;
    });
    return biblioteca;
}

QString ControladorDelOrigen(const QString& strDsn) {
    for (const COrigenDatosOdbc& origen : OrigenesDatosOdbc())
        if (origen.strNombre.compare(strDsn, Qt::CaseInsensitive) == 0)
            return origen.strControlador;
    return {};
}

bool ControladorDeArchivo(const QString& strControlador) {
    if (strControlador.isEmpty())
        return false;
    const QString biblioteca = strControlador.contains(QLatin1Char('/'))
                                   ? strControlador
                                   : BibliotecaControlador(strControlador);
    return (strControlador + QLatin1Char(' ') + biblioteca)
        .contains(QLatin1String("sqlite"), Qt::CaseInsensitive);
}
