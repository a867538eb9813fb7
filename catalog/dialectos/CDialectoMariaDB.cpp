#include "catalog/dialectos/CDialectoMariaDB.h"

#include <QHash>
#include <algorithm>
#include <array>

using namespace dialecto;

bool CDialectoMariaDB::HayCatalogo() const {
    // With no database chosen the driver reports the text "null", and a null catalogue argument
    // then finds nothing.
    return !m_Cn.CatalogoActual().isEmpty();
}

bool CDialectoMariaDB::EsDeSistema(const QString& strCatalogo, const QString&,
                                   const QString&) const {
    // The databases come as catalogues.
    for (const char* nombre : {"information_schema", "mysql", "performance_schema", "sys"})
        if (strCatalogo.compare(QLatin1String(nombre), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString CDialectoMariaDB::Literal(const QString& strTexto) const {
    QString t = strTexto;
    t.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    return CDialecto::Literal(t);
}

// information_schema compares names without regard to case: the binary tie-break keeps
// "category" and "Category" in one order from one read to the next.
#define VERONDAL_POR_NOMBRE "TABLE_NAME, BINARY TABLE_NAME"

namespace {
// Whether TABLE_ROWS is the object's own count: a base table whose rows are stored here, not on
// another server.
const QString kRecuentoDeBase =
    QStringLiteral("TABLE_TYPE IN ('BASE TABLE', 'SYSTEM VERSIONED') AND COALESCE(ENGINE, '') NOT "
                   "IN ('FEDERATED', 'CONNECT', 'SPIDER')");
} // namespace

PRecordset CDialectoMariaDB::TablasDeLaBase(bool booFechas, CRecordset* estadisticas) {
    // MariaDB keeps creation and update times, which no catalogue function gives; the query
    // that reads them answers everything the driver's SQLTables would for this database, and
    // asking both would cost twice. The two dates, like the row counts, make the server open
    // every table (seconds at 20,000 tables, beyond its table cache); without them the same
    // query reads only the data dictionary.
    PRecordset rs = RowsetTablas();
    const QString actual = m_Cn.CatalogoActual();
    if (actual.isEmpty())
        return rs;
    QString strColumnas;
    if (booFechas)
        strColumnas += QStringLiteral(", CREATE_TIME, UPDATE_TIME");
    if (estadisticas)
        strColumnas += QStringLiteral(", ") + kRecuentoDeBase + QStringLiteral(", TABLE_ROWS");
    CPreparada stmt(m_Cn, QStringLiteral("SELECT TABLE_NAME, TABLE_TYPE, TABLE_COMMENT%1 FROM "
                                         "information_schema.TABLES WHERE TABLE_SCHEMA = "
                                         "DATABASE() ORDER BY " VERONDAL_POR_NOMBRE)
                              .arg(strColumnas));
    std::optional<QString> tipoAnterior;
    while (stmt->Siguiente()) {
        const auto nombre = stmt->Texto(0);
        const QString tipo = stmt->Texto(1, &tipoAnterior).value_or(QString());
        auto descripcion = Normal(stmt->Texto(2));
        const QVariant creada = booFechas ? stmt->Valor(3) : QVariant();
        const QVariant modificada = booFechas ? stmt->Valor(4) : QVariant();
        if (estadisticas) {
            const int col = booFechas ? 5 : 3;
            const bool base = stmt->Entero(col).value_or(0) != 0;
            const auto filas = stmt->Entero(col + 1);
            estadisticas->AgregarValores(actual, QVariant(), nombre.value_or(QString()),
                                         base ? V(filas) : QVariant());
        }
        if (!nombre)
            continue;
        // A view's comment is the word VIEW.
        if (descripcion == QLatin1String("VIEW") && tipo.endsWith(QLatin1String("VIEW")))
            descripcion.reset();
        rs->AgregarValores(actual, QVariant(), *nombre,
                           TipoTablaOleDb(tipo, actual, QString(), *nombre), V(descripcion), creada,
                           modificada);
    }
    return rs;
}

std::pair<PRecordset, PRecordset> CDialectoMariaDB::TablasYEstadisticas() {
    PRecordset estadisticas = RowsetEstadisticas();
    PRecordset tablas = TablasDeLaBase(true, estadisticas.get());
    return {std::move(tablas), std::move(estadisticas)};
}

std::vector<CDialecto::CObjeto> CDialectoMariaDB::ObjetosLlamados(const QString& strTabla) {
    std::vector<CObjeto> objetos;
    const QString actual = m_Cn.CatalogoActual();
    if (!actual.isEmpty())
        objetos.push_back({actual, std::nullopt, strTabla});
    return objetos;
}

void CDialectoMariaDB::LeerDefecto(COdbcSentencia&, CColumnaLeida& col, std::size_t) {
    // The driver gives the bare text NULL for "no default".
    if (col.defecto == QLatin1String("NULL")) {
        col.defecto.reset();
        col.defectoNuloTexto = true;
    }
}

void CDialectoMariaDB::RevisarNulos(CColumnaLeida& col, std::size_t fila) {
    if (col.admiteNulos == QVariant(true) && !col.defectoNuloTexto &&
        (!col.defecto || col.tipoOdbc == SQL_TYPE_TIMESTAMP || col.tipoOdbc == SQL_TIMESTAMP))
        m_Sospechosas.push_back(fila);
}

void CDialectoMariaDB::CompletarColumnas(CRecordset& rs, const std::optional<QString>& tabla) {
    // The driver reports AUTO_INCREMENT and TIMESTAMP columns as nullable whatever their
    // definition says; the server's own catalogue knows.
    // By name: a bulk reader may have kept only some of the columns.
    const int colTabla = rs.IndiceColumna(QStringLiteral("TABLE_NAME"));
    const int colNombre = rs.IndiceColumna(QStringLiteral("COLUMN_NAME"));
    const int colNulos = rs.IndiceColumna(QStringLiteral("IS_NULLABLE"));
    if (m_Sospechosas.empty() || colTabla < 0 || colNombre < 0 || colNulos < 0) {
        m_Sospechosas.clear();
        return;
    }
    QString sql = QStringLiteral("SELECT TABLE_NAME, COLUMN_NAME FROM information_schema.COLUMNS "
                                 "WHERE TABLE_SCHEMA = DATABASE() AND IS_NULLABLE = 'NO'");
    if (tabla)
        sql += QStringLiteral(" AND TABLE_NAME = ?");
    else
        sql += QStringLiteral(" AND (EXTRA LIKE '%auto_increment%' OR DATA_TYPE = 'timestamp' OR "
                              "COLUMN_DEFAULT IS NULL)");
    CPreparada stmt(m_Cn, sql, tabla ? QStringList{*tabla} : QStringList{});
    QSet<QString> noNulas;
    while (stmt->Siguiente())
        noNulas.insert(stmt->Texto(0).value_or(QString()) + QChar(0x1f) +
                       stmt->Texto(1).value_or(QString()).toLower());
    for (const std::size_t fila : m_Sospechosas) {
        const QString clave = rs.ValorEn(fila, colTabla).toString() + QChar(0x1f) +
                              rs.ValorEn(fila, colNombre).toString().toLower();
        if (noNulas.contains(clave))
            rs.PonerValor(fila, colNulos, false);
    }
    m_Sospechosas.clear();
}

PRecordset CDialectoMariaDB::Columnas(const QString& strTabla) {
    m_Sospechosas.clear();
    return ColumnasPorNombre(strTabla);
}

void CDialectoMariaDB::CompletarProcedimientos(CRecordset& rs) {
    // MariaDB keeps when each routine was created and last altered.
    COdbcSentencia stmt(m_Cn);
    stmt.Ejecutar(QStringLiteral("SELECT ROUTINE_NAME, ROUTINE_TYPE, CREATED, LAST_ALTERED FROM "
                                 "information_schema.ROUTINES WHERE ROUTINE_SCHEMA = DATABASE()"));
    QHash<QString, QPair<QVariant, QVariant>> fechas;
    while (stmt.Siguiente()) {
        const QString tipo = stmt.Texto(1).value_or(QString()) == QLatin1String("PROCEDURE")
                                 ? QStringLiteral("2")
                                 : QStringLiteral("3");
        fechas.insert(stmt.Texto(0).value_or(QString()) + QChar(0x1f) + tipo,
                      {stmt.Valor(2), stmt.Valor(3)});
    }
    for (std::size_t i = 0; i < static_cast<std::size_t>(rs.NumeroFilas()); ++i) {
        const auto it =
            fechas.constFind(rs.ValorEn(i, procedimientos::Nombre).toString() + QChar(0x1f) +
                             rs.ValorEn(i, procedimientos::Tipo).toString());
        if (it != fechas.constEnd()) {
            rs.PonerValor(i, procedimientos::Creada, it->first);
            rs.PonerValor(i, procedimientos::Modificada, it->second);
        }
    }
}

PRecordset CDialectoMariaDB::ClavesAjenas() {
    // The driver manager refuses a call without a table, and one call per table costs tens of
    // milliseconds. Joined on the server, MariaDB fills REFERENTIAL_CONSTRAINTS for every
    // database of the server (seconds with one large neighbour); each alone is read for this
    // one only, and joined here.
    PRecordset rs = RowsetClavesAjenas();
    if (!HayCatalogo())
        return rs;
    COdbcSentencia stmt(m_Cn);
    QHash<QString, std::array<QVariant, 3>> reglas; // table + key → update, delete, unique key
    stmt.Ejecutar(
        QStringLiteral("SELECT TABLE_NAME, CONSTRAINT_NAME, UPDATE_RULE, DELETE_RULE, "
                       "UNIQUE_CONSTRAINT_NAME FROM information_schema.REFERENTIAL_CONSTRAINTS "
                       "WHERE CONSTRAINT_SCHEMA = DATABASE()"));
    while (stmt.Siguiente()) {
        const QString clave =
            stmt.Texto(0).value_or(QString()) + QChar(0x1f) + stmt.Texto(1).value_or(QString());
        const auto actualizar = Normal(stmt.Texto(2));
        const auto borrar = Normal(stmt.Texto(3));
        reglas.insert(clave, {V(actualizar), V(borrar), V(Normal(stmt.Texto(4)))});
    }
    stmt.Cerrar();
    stmt.Ejecutar(QStringLiteral(
        "SELECT REFERENCED_TABLE_SCHEMA, REFERENCED_TABLE_NAME, REFERENCED_COLUMN_NAME, "
        "TABLE_SCHEMA, TABLE_NAME, COLUMN_NAME, ORDINAL_POSITION, CONSTRAINT_NAME FROM "
        "information_schema.KEY_COLUMN_USAGE "
        "WHERE TABLE_SCHEMA = DATABASE() AND REFERENCED_TABLE_NAME IS NOT NULL "
        "ORDER BY " VERONDAL_POR_NOMBRE ", CONSTRAINT_NAME, ORDINAL_POSITION"));
    while (stmt.Siguiente()) {
        const auto catalogoPk = Normal(stmt.Texto(0));
        const auto tablaPk = stmt.Texto(1);
        const auto columnaPk = stmt.Texto(2);
        const auto catalogoFk = Normal(stmt.Texto(3));
        const auto tablaFk = stmt.Texto(4);
        const auto columnaFk = stmt.Texto(5);
        const auto orden = stmt.Entero(6);
        const auto nombre = stmt.Texto(7);
        const auto r =
            reglas.value(tablaFk.value_or(QString()) + QChar(0x1f) + nombre.value_or(QString()));
        rs->AgregarValores(V(catalogoPk), QVariant(), V(tablaPk), V(columnaPk), V(catalogoFk),
                           QVariant(), V(tablaFk), V(columnaFk), VInt(orden), r[0], r[1], r[2],
                           V(nombre));
    }
    return rs;
}

PRecordset CDialectoMariaDB::IndicesDonde(const std::optional<QString>& tabla) {
    // One driver call per table otherwise; the server's own list of index columns, for this
    // database only. The primary key's index is always named PRIMARY.
    PRecordset rs = RowsetIndices();
    const QString actual = m_Cn.CatalogoActual();
    if (actual.isEmpty())
        return rs;
    const QString condicion = tabla ? QStringLiteral(" AND TABLE_NAME = ?") : QString();
    const QStringList parametros = tabla ? QStringList{*tabla} : QStringList{};
    // InnoDB keeps a table's rows in its primary key. The engine is read on its own: joined
    // with STATISTICS, the server reads all of TABLES on every call (20 ms a table at 1,000
    // tables), and its collation pairs each table with any whose name differs only in case.
    QSet<QString> innoDb;
    {
        CPreparada stmt(m_Cn,
                        QStringLiteral("SELECT TABLE_NAME FROM information_schema.TABLES WHERE "
                                       "TABLE_SCHEMA = DATABASE() AND ENGINE = 'InnoDB'") +
                            condicion,
                        parametros);
        while (stmt->Siguiente())
            if (const auto nombre = stmt->Texto(0))
                innoDb.insert(*nombre);
    }
    CPreparada stmt(m_Cn,
                    QStringLiteral("SELECT TABLE_NAME, INDEX_NAME, NON_UNIQUE, INDEX_TYPE, "
                                   "SEQ_IN_INDEX, COLUMN_NAME, COLLATION, CARDINALITY, INDEX_NAME "
                                   "= 'PRIMARY' FROM information_schema.STATISTICS WHERE "
                                   "TABLE_SCHEMA = DATABASE()%1 ORDER BY " VERONDAL_POR_NOMBRE
                                   ", NON_UNIQUE, "
                                   "INDEX_NAME, SEQ_IN_INDEX")
                        .arg(condicion),
                    parametros);
    while (stmt->Siguiente()) {
        const auto nombreTabla = stmt->Texto(0);
        const auto nombre = stmt->Texto(1);
        const auto noUnico = stmt->Entero(2);
        const auto tipo = stmt->Texto(3);
        const auto posicion = stmt->Entero(4);
        const auto columna = stmt->Texto(5);
        const auto orden = stmt->Texto(6);
        const auto cardinalidad = stmt->Entero(7);
        const bool agrupado =
            stmt->Entero(8).value_or(0) != 0 && nombreTabla && innoDb.contains(*nombreTabla);
        const QVariant ordenV = orden == QLatin1String("A")   ? QVariant(1)
                                : orden == QLatin1String("D") ? QVariant(2)
                                                              : QVariant();
        const int tipoOleDb = tipo == QLatin1String("BTREE")      ? 1
                              : tipo == QLatin1String("HASH")     ? 2
                              : tipo == QLatin1String("FULLTEXT") ? 3
                                                                  : 4;
        rs->AgregarValores(actual, QVariant(), V(nombreTabla), V(nombre),
                           nombre == QLatin1String("PRIMARY"), noUnico.value_or(1) == 0, agrupado,
                           tipoOleDb, VInt(posicion), V(columna), ordenV, V(cardinalidad),
                           QVariant(), QVariant());
    }
    return rs;
}

PRecordset CDialectoMariaDB::Indices(const QString& strTabla) {
    return IndicesDonde(strTabla);
}

PRecordset CDialectoMariaDB::IndicesTodos() {
    return IndicesDonde(std::nullopt);
}

// Row counts: TABLE_ROWS of information_schema.TABLES (exact for MyISAM and Aria, InnoDB's
// estimate otherwise), which reads no row and runs nothing of the user's. Views, sequences and
// tables of engines that reach another server are null.
namespace {
const QString kConsultaRecuentos =
    QStringLiteral("SELECT TABLE_SCHEMA, TABLE_NAME, ") + kRecuentoDeBase +
    QStringLiteral(", TABLE_ROWS FROM information_schema.TABLES WHERE TABLE_SCHEMA = DATABASE()");

void AgregarRecuentos(COdbcSentencia& stmt, CRecordset& rs) {
    while (stmt.Siguiente()) {
        const auto catalogo = stmt.Texto(0);
        const auto nombre = stmt.Texto(1).value_or(QString());
        const bool base = stmt.Entero(2).value_or(0) != 0;
        const auto filas = stmt.Entero(3);
        rs.AgregarValores(V(catalogo), QVariant(), nombre, base ? V(filas) : QVariant());
    }
}
} // namespace

PRecordset CDialectoMariaDB::Estadisticas(const QString& strTabla) {
    PRecordset rs = RowsetEstadisticas();
    if (!HayCatalogo())
        return rs;
    // The name as it is first (an equality lets the server open that one table only); names
    // are matched without regard to case where the server's are.
    {
        CPreparada stmt(m_Cn, kConsultaRecuentos + QStringLiteral(" AND TABLE_NAME = ?"),
                        {strTabla});
        AgregarRecuentos(*stmt.operator->(), *rs);
    }
    if (rs->NumeroFilas() == 0) {
        CPreparada stmt(m_Cn,
                        kConsultaRecuentos + QStringLiteral(" AND LOWER(TABLE_NAME) = LOWER(?)"),
                        {strTabla});
        AgregarRecuentos(*stmt.operator->(), *rs);
    }
    // Two tables whose names differ only in case: the exact one is meant.
    bool exacta = false;
    for (std::size_t i = 0; i < static_cast<std::size_t>(rs->NumeroFilas()) && !exacta; ++i)
        exacta = rs->ValorEn(i, 2).toString() == strTabla;
    if (exacta)
        rs->Filtrar([&](std::size_t fila) { return rs->ValorEn(fila, 2).toString() == strTabla; });
    return rs;
}

PRecordset CDialectoMariaDB::EstadisticasTodas() {
    PRecordset rs = RowsetEstadisticas();
    if (!HayCatalogo())
        return rs;
    COdbcSentencia stmt(m_Cn);
    stmt.Ejecutar(kConsultaRecuentos + QStringLiteral(" ORDER BY " VERONDAL_POR_NOMBRE));
    AgregarRecuentos(stmt, *rs);
    return rs;
}

// The driver lists its ODBC names first (LONG VARCHAR, INTEGER, FLOAT, LONG VARBINARY).
QString CDialectoMariaDB::TipoPreferido(int intTipoOleDb) const {
    switch (intTipoOleDb) {
    case 129:
    case 130:
        return QStringLiteral("VARCHAR");
    case 3:
        return QStringLiteral("INT");
    case 5:
        return QStringLiteral("DOUBLE");
    case 128:
        return QStringLiteral("VARBINARY");
    case 131:
        return QStringLiteral("DECIMAL");
    default:
        return {};
    }
}
