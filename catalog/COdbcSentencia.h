// One ODBC statement on an open connection: a catalogue function or a read-only query, and the
// rows it returns, read column by column from left to right. Owned by the code that runs it.
#pragma once

#include "catalog/COdbcConexion.h"
#include "catalog/COdbcManejador.h"

#include <QString>
#include <QVariant>
#include <memory>
#include <optional>
#include <vector>

class COdbcSentencia {
public:
    // A catalogue argument: nullopt passes a null pointer, which means something different from
    // an empty text to most drivers.
    using Argumento = std::optional<QString>;

    explicit COdbcSentencia(const COdbcConexion& objConexion); // throws CError
    COdbcSentencia(const COdbcSentencia&) = delete;
    COdbcSentencia& operator=(const COdbcSentencia&) = delete;

    ~COdbcSentencia();

    // The query time-out, from the call until the cursor is closed. A live server is asked to end
    // the query a second earlier, which leaves the link usable; at the limit a watchdog thread
    // cuts the link (COdbcConexion::Cortar), for a server that went mute. Every statement starts
    // with SegundosPredeterminados().
    void TiempoLimite(int intSegundos);
    // The limit of every statement that does not set its own: a catalogue read or a comparison
    // query never waits longer on a server than this (60 s). Tests shorten it.
    static int SegundosPredeterminados();
    static void EstablecerSegundosPredeterminados(int intSegundos);
    static constexpr int kSegundosConsulta = 60;

    // Each runs one call and raises CError with the driver's diagnostics when it fails.
    void Tablas(const Argumento& catalogo, const Argumento& esquema, const Argumento& tabla,
                const Argumento& tipos);
    void Columnas(const Argumento& catalogo, const Argumento& esquema, const Argumento& tabla,
                  const Argumento& columna = std::nullopt);
    void Estadisticas(const Argumento& catalogo, const Argumento& esquema, const QString& strTabla);
    void ClavesPrimarias(const Argumento& catalogo, const Argumento& esquema,
                         const QString& strTabla);
    void ClavesAjenas(const Argumento& catalogoPk, const Argumento& esquemaPk,
                      const Argumento& tablaPk, const Argumento& catalogoFk,
                      const Argumento& esquemaFk, const Argumento& tablaFk);
    void Procedimientos(const Argumento& catalogo, const Argumento& esquema,
                        const Argumento& nombre);
    void TiposDatos(SQLSMALLINT intTipo = SQL_ALL_TYPES);
    void Ejecutar(const QString& strSql);
    // A query prepared once and run many times with text parameters ("?"); the parameters
    // are bound by value, so the texts need not outlive the call.
    void Preparar(const QString& strSql);
    void EjecutarPreparada(const QStringList& parametros);

    // True when the last call failed because the query time-out ran out (SQLSTATE HYT00/HYT01).
    bool TiempoAgotado() const;

    int NumeroColumnas() const { return static_cast<int>(m_Tipos.size()); }
    QString NombreColumna(int intColumna) const; // 0-based
    SQLSMALLINT TipoColumna(int intColumna) const {
        return m_Tipos[static_cast<std::size_t>(intColumna)];
    }

    // Next row; false at the end. Raises CError on a driver error.
    bool Siguiente();

    // Values of the current row, 0-based columns, each read once and from left to right (drivers
    // hand a column over once and read forward).
    // With anterior, a text equal to *anterior is shared with it (catalogue, schema and table
    // names repeat row after row), and *anterior becomes the text read.
    std::optional<QString> Texto(int intColumna, std::optional<QString>* anterior = nullptr);
    std::optional<qlonglong> Entero(int intColumna);
    QVariant Valor(int intColumna); // by the column's SQL type; an invalid QVariant is a null

    // Reads every column of the current row as text into the buffer, without keeping it: the
    // cost of fetching a row, for measurements.
    void LeerFilaEnBruto();

    void Cerrar(); // closes the cursor so that the statement can run another call

    const COdbcManejador& Manejador() const { return m_Stmt; }

private:
    void DespuesDeEjecutar(SQLRETURN rc, const char* strOperacion);
    // Starts the watchdog for the call about to run.
    void Vigilar();
    int LimiteDelServidor() const;
    QVariant LeerColumna(int intColumna, SQLSMALLINT intTipoC);

    std::unique_ptr<COdbcConexion::CVigilante> m_Vigilante;
    int m_Plazo = 0;
    const COdbcConexion& m_Conexion;
    COdbcManejador m_Stmt;
    std::vector<SQLSMALLINT> m_Tipos;
    std::vector<QString> m_Nombres;
    std::vector<SQLWCHAR> m_Buffer;
    std::vector<std::vector<SQLWCHAR>> m_Parametros;
    std::vector<SQLLEN> m_Largos;
    bool m_TiempoAgotado = false;
    bool m_Abierta = false;
};
