// One configured database connection: its identity in Verondal.xml and its one live ODBC link.
// Shared by the collection (CConexiones) and a running comparison; the last holder closes it.
#pragma once

#include "catalog/CRecordset.h"

#include <QDomElement>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <functional>
#include <memory>
#include <mutex>

class COdbcConexion;
class CDialecto;

class CConexion {
public:
    CConexion();
    virtual ~CConexion(); // closes an open link
    CConexion(const CConexion&) = delete;
    CConexion& operator=(const CConexion&) = delete;

    // Database link.
    bool Conectado() const;
    bool Conectar();    // false with ErrorConexion on failure; never throws
    void Desconectar(); // nothing when closed
    // From any thread: ends at once the call the link is waiting on (an opening or a catalogue
    // read blocked on a mute server); it fails, the link is closed and ErrorConexion says so.
    void Interrumpir();
    QString Proveedor() const;  // the driver's friendly name; throws CError when closed
    QString NombreDBMS() const; // SQL_DBMS_NAME of the open link; empty when closed

    // Identity.
    const QDomElement& Nodo() const { return m_Nodo; }
    void setNodo(const QDomElement& xmlNodo) { m_Nodo = xmlNodo; }
    const QString& ErrorConexion() const { return m_ErrorConexion; }
    const QString& Id() const { return m_Id; }
    void setId(const QString& strId) { m_Id = strId; }
    const QString& Titulo() const { return m_Titulo; }
    void setTitulo(const QString& strTitulo) { m_Titulo = strTitulo; }
    QString CadenaDeConexion() const;                   // as the driver reports it once open
    void setCadenaDeConexion(const QString& strCadena); // throws CError while open

    // Catalogue rowsets: a null pointer when anything fails (a closed connection included);
    // nothing cached; never an exception. Names are passed as they are (no criterion text).
    PRecordset Tablas();
    // The same without the dates (DATE_CREATED and DATE_MODIFIED null), for readers that show
    // none: on MariaDB the dates cost the server a visit to every table.
    PRecordset TablasSinFechas();
    PRecordset Procedimientos();
    // With strEsquema, only that schema's object of the name (a name may be in several).
    PRecordset Campos(const QString& strTabla, const QString& strEsquema = {});
    PRecordset Indices(const QString& strTabla, const QString& strEsquema = {});
    PRecordset Relaciones();
    // The indexes rowset of every table at once (one catalogue query where the DBMS allows it);
    // the rows of one index follow one another.
    PRecordset IndicesTodos();
    PRecordset TiposDatos();
    // The provider-types rowset restricted to one OLE DB type number and BEST_MATCH; null when
    // the restriction cannot be applied, and DescripcionTipoDatos then searches the whole list
    // (virtual so that a provider refusing it can be played).
    virtual PRecordset TiposDatos(long lngTipoDatos, bool booMejorCoincidencia);
    PRecordset PalabrasReservadas();
    PRecordset Literales();
    // The statistics rowset (TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, CARDINALITY): one row per
    // object of that name. CARDINALITY is the DBMS's own row statistic (an exact count of a
    // SQLite table, bounded by a 10-second time-out); null for views, foreign tables and
    // anything whose reading would run user code or reach another server.
    PRecordset Estadisticas(const QString& strTabla);
    QString NumeroRegistros(const QString& strTabla); // the first row's count, user's grouping
    // The same for every object of Tablas() at once (one query where the DBMS allows it).
    PRecordset EstadisticasTodas();
    // The formatted counts of EstadisticasTodas by ClaveObjeto of each row; empty texts left out.
    QHash<QString, QString> NumerosRegistros();
    // Tablas() and NumerosRegistros() together: one query where the DBMS pays for the dates and
    // for the counts alike by opening every table (MariaDB). No counts when there is no rowset.
    std::pair<PRecordset, QHash<QString, QString>> TablasYRegistros();
    // The key of an object by the TABLE_CATALOG, TABLE_SCHEMA and TABLE_NAME of its row.
    static QString ClaveObjeto(const QVariant& varCatalogo, const QVariant& varEsquema,
                               const QString& strNombre);
    QString DescripcionTipoDatos(long lngTipoDatos);
    // The connection's properties as name/value pairs in a stable order (a null value is an
    // invalid QVariant); a password shows as asterisks. Open: the driver's; closed: the string's.
    QList<QPair<QString, QVariant>> Propiedades();

    // Campos and CamposTodos also carry TYPE_NAME after the OLE DB columns: the declared type
    // as the DBMS names it (PostgreSQL's varchar, text, timestamptz or an enum's own name;
    // MariaDB's VARCHAR, INT UNSIGNED; SQLite's declaration without its size), where
    // DATA_TYPE may be one number for several of them.
    // Bulk: the columns of every object of Tablas() in one call, with the columns rowset's
    // names and values. The rows of one object are exactly, and in the same order, those that
    // Campos gives for it; objects follow one another in the driver's order.
    // Select one table's rows with BuscarTodos("TABLE_NAME", name) and keep those whose
    // TABLE_NAME is equal in case too (PostgreSQL and MariaDB may hold "a" and "A"), and whose
    // TABLE_SCHEMA is the one wanted when a name lives in two schemas (Campos gives both).
    // Null when the driver refuses a call without a table name, or anything fails.
    // fnSeguir, when given, is called every few hundred rows of a long read; false stops the
    // read, which then gives null. The connection may be closed from inside it: the read stops.
    // tablas, when given, is this connection's Tablas() already read, so that it is not read
    // again; it must stay unchanged during the call. columnas, when not empty, are the only
    // columns kept, and the others are never stored (CRecordset::Proyectar).
    PRecordset CamposTodos(const std::function<bool()>& fnSeguir = {},
                           const CRecordset* tablas = nullptr, const QStringList& columnas = {});

    // The data-access layer underneath, for the catalogue code (null when closed).
    COdbcConexion* Enlace() const { return m_Enlace.get(); }

private:
    template <typename T, typename F>
    T Preguntar(std::shared_ptr<COdbcConexion> enlace, std::shared_ptr<CDialecto> dialecto,
                F&& pregunta);

    QString m_Id;
    QString m_Titulo;
    QString m_ErrorConexion;
    QString m_Cadena;
    // Shared only with a read in progress, so that closing from inside its callback cannot free
    // the link under it.
    std::shared_ptr<COdbcConexion> m_Enlace;
    // The link's DBMS dialect, chosen when it opened; lives and dies with it (declared after
    // it, so that it goes first).
    std::shared_ptr<CDialecto> m_Dialecto;
    std::shared_ptr<COdbcConexion> m_Abriendo; // while Conectar runs, for Interrumpir
    std::mutex m_MutexEnlace;                  // Interrumpir reads both links from another thread
    QDomElement m_Nodo;
};
