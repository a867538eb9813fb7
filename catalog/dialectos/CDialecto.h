// The catalogue rowsets of one open ODBC link, with OLE DB column names and values, built from
// the ODBC catalogue functions: the generic path that any driver gets. A DBMS whose driver
// answers wrongly has a subclass that corrects it. Made once per link (Crear) by CConexion,
// which owns it beside the link it borrows.
#pragma once

#include "catalog/COdbcConexion.h"
#include "catalog/COdbcSentencia.h"
#include "catalog/CRecordset.h"

#include <QList>
#include <QPair>
#include <QSet>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class CDialecto {
public:
    explicit CDialecto(COdbcConexion& objConexion) : m_Cn(objConexion) {}
    virtual ~CDialecto() = default;
    CDialecto(const CDialecto&) = delete;
    CDialecto& operator=(const CDialecto&) = delete;

    // The dialect of the DBMS the link talks to (its SQL_DBMS_NAME), or the generic one.
    static std::unique_ptr<CDialecto> Crear(COdbcConexion& objConexion);

    // Each raises CError when the driver fails; CConexion turns that into an empty result.
    virtual PRecordset Tablas();
    // The same rows with DATE_CREATED and DATE_MODIFIED null, for readers that show no dates:
    // where the DBMS pays for the dates, this does not.
    virtual PRecordset TablasSinFechas() { return Tablas(); }
    virtual PRecordset Columnas(const QString& strTabla);
    // Every column of every object of Tablas() in one call; null when the driver refuses a
    // call without a table name, or when fnSeguir (asked every few hundred rows) says stop.
    // tablas, when given, is this link's tables rowset already read, which spares reading it
    // again where the answer is filtered against it. columnas, when not empty, are the only
    // columns the rowset keeps (CRecordset::Proyectar).
    virtual PRecordset ColumnasTodas(const std::function<bool()>* fnSeguir = nullptr,
                                     const CRecordset* tablas = nullptr,
                                     const QStringList& columnas = {});
    virtual PRecordset Indices(const QString& strTabla);
    // The indexes of every table at once, in the indexes rowset's layout: one catalogue query
    // where the DBMS allows it (the generic path asks the driver table by table). The rows of
    // one index follow one another, by key column.
    virtual PRecordset IndicesTodos();
    PRecordset Procedimientos();
    virtual PRecordset ClavesAjenas();
    PRecordset TiposProveedor(std::optional<long> lngTipoDatos, std::optional<bool> booMejor);
    virtual PRecordset PalabrasClave();
    PRecordset Literales();
    // The statistics rowset (TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, CARDINALITY): one row
    // per object of that name, or of every object of the tables rowset. CARDINALITY comes from
    // the DBMS's statistics, never from reading a view, a foreign table or anything that runs
    // user code or reaches another server: those are null.
    virtual PRecordset Estadisticas(const QString& strTabla);
    virtual PRecordset EstadisticasTodas();
    // Tablas() and EstadisticasTodas() together, in one query where the DBMS opens every table
    // for the dates and for the counts alike.
    // The counts may fail alone (null), as EstadisticasTodas after Tablas would.
    virtual std::pair<PRecordset, PRecordset> TablasYEstadisticas();
    QList<QPair<QString, QVariant>> Propiedades();

    // The query time-out of each exact row count of a base table.
    static constexpr int kSegundosRecuento = 10;
    // How many objects a bulk read asks for at a time where the driver holds a statement's
    // whole result in memory (kObjetosPorPagina); tests make it small.
    static constexpr std::size_t kObjetosPorPagina = 1000;
    static std::size_t ObjetosPorPagina();
    static void EstablecerObjetosPorPagina(std::size_t intObjetos);

    // ODBC SQL type to OLE DB type number (long types keep their base number).
    static int TipoOleDb(int intTipoOdbc, bool booSinSigno);
    // TABLE_TYPE in OLE DB words for an object of the given catalogue, schema and name.
    QString TipoTablaOleDb(const QString& strTipo, const QString& strCatalogo,
                           const QString& strEsquema, const QString& strNombre) const;

protected:
    using Argumento = COdbcSentencia::Argumento;

    // An object of the tables rowset: the exact catalogue and schema to pass back.
    struct CObjeto {
        std::optional<QString> catalogo;
        std::optional<QString> esquema;
        QString nombre;
    };
    // One column as the driver described it, before it becomes a row.
    struct CColumnaLeida {
        int tipoOdbc = 0;
        QString nombreTipo;
        std::optional<qlonglong> tamano, decimales;
        std::optional<QString> defecto;
        bool defectoNuloTexto = false; // the driver's text NULL for "no default"
        QVariant admiteNulos;
        QVariant precision, escala;
    };

    // The objects of the tables rowset with exactly that name.
    virtual std::vector<CObjeto> ObjetosLlamados(const QString& strTabla);
    // The tables rowset straight from SQLTables, without the corrections that cost a query.
    PRecordset TablasDelControlador();
    // Its base tables (TABLE and SYSTEM TABLE), the objects that have indexes and keys.
    std::vector<CObjeto> TablasBase();
    // Objects the DBMS keeps for itself (shown as SYSTEM TABLE / SYSTEM VIEW).
    virtual bool EsDeSistema(const QString& strCatalogo, const QString& strEsquema,
                             const QString& strNombre) const;
    // A text as an SQL string literal of this DBMS.
    virtual QString Literal(const QString& strTexto) const;
    QString NombreCompleto(const CObjeto& objeto) const;
    // The driver's table-statistics row (SQLStatistics TYPE 0), null when it gives none.
    QVariant CardinalidadDelControlador(const CObjeto& objeto);
    // SELECT COUNT(*) of a base table, bounded by kSegundosRecuento; null on any failure.
    QVariant ContarConPlazo(const CObjeto& objeto);

    // Column hooks, called in this order for each row; fila is its row number in the result.
    virtual int TipoDeclarado(const QString& strTipo, int intTipoOdbc) const;
    virtual void LeerDefecto(COdbcSentencia& stmt, CColumnaLeida& col, std::size_t fila);
    virtual void RevisarNulos(CColumnaLeida& col, std::size_t fila);
    virtual void PrecisionYEscala(CColumnaLeida& col) const;
    // Corrections of the driver's provider types (TYPE_NAME is the first column).
    virtual void CompletarTipos(CRecordset& rs);
    // The provider type a DBA of this DBMS names an OLE DB number by; empty: the driver's first.
    virtual QString TipoPreferido(int intTipoOleDb) const;
    // The declared type (TYPE_NAME) as a DBA of this DBMS names it: the driver's name by default.
    virtual QString NombreTipo(const QString& strTipo) const;
    // The driver numbers ORDINAL_POSITION within each table (PostgreSQL's does not).
    virtual bool NumeraPorTabla() const { return true; }
    // After every column was read: corrections that cost one query for the whole rowset.
    virtual void CompletarColumnas(CRecordset& rs, const std::optional<QString>& tabla);
    // The bulk columns call: false when the catalogue is empty without asking.
    virtual bool HayCatalogo() const { return true; }
    // The schema argument of the bulk call, and whether its answer is exactly the tables
    // rowset's objects (otherwise it is filtered against SQLTables).
    virtual Argumento EsquemaDeTodas() const { return std::nullopt; }
    virtual bool TodasExactas() const { return false; }

    // Procedure hooks.
    virtual bool ProcedimientoOculto(const std::optional<QString>& esquema) const;
    virtual void CompletarProcedimientos(CRecordset& rs);

    // The columns of a driver that ignores schemas and matches names without regard to case:
    // one pattern call, then the exact name when there is one.
    PRecordset ColumnasPorNombre(const QString& strTabla);
    // The tables rowset's objects as keys (Clave), for a bulk answer that lists more.
    QSet<QString> ClavesDeTablas(const CRecordset* tablas = nullptr);
    // False when fnSeguir stopped the read.
    bool AgregarColumnas(COdbcSentencia& stmt, CRecordset& rs, const QSet<QString>* filtro,
                         const std::function<bool()>* fnSeguir = nullptr);
    void AgregarIndices(const CObjeto& objeto, CRecordset& rs);
    // A bulk read a page of ObjetosPorPagina() objects at a time, where the driver holds a
    // statement's whole result in memory: strClaves lists every object's key in the order of
    // the read, and fnPagina reads the objects from one page's first key (desde) up to the next
    // page's (hasta, empty for the last page). False as soon as fnPagina is.
    bool PorPaginas(
        const QString& strClaves,
        const std::function<bool(const QStringList& desde, const QStringList& hasta)>& fnPagina);
    // One row of SQLForeignKeys' layout (FK_NAME before PK_NAME) in the rowset's order.
    static CRecordset::Fila FilaClaveAjena(COdbcSentencia& stmt);

    static PRecordset RowsetTablas();
    static PRecordset RowsetColumnas();
    // The bulk columns rowset: only those columns kept (all when none is named), repeated texts
    // shared.
    static PRecordset RowsetColumnasTodas(const QStringList& columnas);
    static PRecordset RowsetIndices();
    static PRecordset RowsetClavesAjenas();
    static PRecordset RowsetEstadisticas();

    COdbcConexion& m_Cn;
};

// Shared by the dialects' sources.
namespace dialecto {

namespace tablas {
enum { Catalogo, Esquema, Nombre, Tipo, Descripcion, Creada, Modificada };
}
namespace columnas {
enum {
    Catalogo,
    Esquema,
    Tabla,
    Nombre,
    Posicion,
    TieneDefecto,
    Defecto,
    Nulos,
    Tipo,
    Longitud,
    Precision,
    Escala,
    Descripcion,
    NombreTipo
};
}
namespace procedimientos {
enum { Catalogo, Esquema, Nombre, Tipo, Descripcion, Creada, Modificada };
}

bool EsCaracter(int intTipoOdbc);
bool EsBinario(int intTipoOdbc);
QVariant V(const std::optional<QString>& t);
QVariant V(const std::optional<qlonglong>& n);
QVariant VInt(const std::optional<qlonglong>& n);
// Catalogue and schema: an empty text means none, as a null does.
std::optional<QString> Normal(std::optional<QString> t);
// A key of catalogue, schema and name (a null distinct from an empty text).
QString Clave(const std::optional<QString>& c, const std::optional<QString>& e, const QString& n);
QString Clave(const QVariant& c, const QVariant& e, const QVariant& n);

// A query the layer runs again and again (once per table, or on every call), prepared once per
// link and run here with its parameters; its cursor is closed when this goes.
class CPreparada {
public:
    CPreparada(COdbcConexion& cn, const QString& strSql, const QStringList& parametros = {});
    ~CPreparada();
    CPreparada(const CPreparada&) = delete;
    CPreparada& operator=(const CPreparada&) = delete;
    COdbcSentencia* operator->() { return &m_Stmt; }

private:
    COdbcSentencia& m_Stmt;
};

} // namespace dialecto
