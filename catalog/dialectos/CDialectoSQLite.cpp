#include "catalog/dialectos/CDialectoSQLite.h"

#include "comun/CError.h"

#include <QRegularExpression>
#include <algorithm>

using namespace dialecto;

std::vector<CDialecto::CObjeto> CDialectoSQLite::ObjetosLlamados(const QString& strTabla) {
    return {{std::nullopt, std::nullopt, strTabla}};
}

bool CDialectoSQLite::EsDeSistema(const QString&, const QString&, const QString& strNombre) const {
    return strNombre.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive);
}

// The driver calls a declared DECIMAL a VARCHAR and a NUMERIC a DOUBLE, with the scale as their
// size; the declared type is the exact number it names.
int CDialectoSQLite::TipoDeclarado(const QString& strTipo, int intTipoOdbc) const {
    static const QRegularExpression re(QStringLiteral("^\\s*(DECIMAL|NUMERIC)\\s*(\\(|$)"),
                                       QRegularExpression::CaseInsensitiveOption);
    // Most types are neither: spare them the expression.
    const QString recortado = strTipo.trimmed();
    const QChar inicial = recortado.isEmpty() ? QChar() : recortado.front().toUpper();
    if (inicial != QLatin1Char('D') && inicial != QLatin1Char('N'))
        return intTipoOdbc;
    const auto m = re.match(strTipo);
    if (!m.hasMatch())
        return intTipoOdbc;
    return m.captured(1).compare(QLatin1String("DECIMAL"), Qt::CaseInsensitive) == 0 ? SQL_DECIMAL
                                                                                     : SQL_NUMERIC;
}

void CDialectoSQLite::LeerDefecto(COdbcSentencia&, CColumnaLeida& col, std::size_t) {
    // The driver gives the bare text NULL for "no default".
    if (col.defecto == QLatin1String("NULL")) {
        col.defecto.reset();
        col.defectoNuloTexto = true;
    }
}

void CDialectoSQLite::PrecisionYEscala(CColumnaLeida& col) const {
    const int t = col.tipoOdbc;
    if (!(t == SQL_NUMERIC || t == SQL_DECIMAL || t == SQL_SMALLINT || t == SQL_INTEGER ||
          t == SQL_REAL || t == SQL_FLOAT || t == SQL_DOUBLE || t == SQL_TINYINT ||
          t == SQL_BIGINT))
        return;
    CDialecto::PrecisionYEscala(col);
    // The driver fills sizes and digits with junk; the declared type has them.
    static const QRegularExpression re(QStringLiteral("\\(\\s*(\\d+)\\s*(?:,\\s*(\\d+)\\s*)?\\)"));
    const auto m = col.nombreTipo.contains(QLatin1Char('(')) ? re.match(col.nombreTipo)
                                                             : QRegularExpressionMatch();
    const bool exacto = col.tipoOdbc == SQL_NUMERIC || col.tipoOdbc == SQL_DECIMAL;
    if (m.hasMatch()) {
        col.precision = m.captured(1).toInt();
        // DECIMAL(p) is DECIMAL(p, 0).
        col.escala = !m.captured(2).isEmpty() ? QVariant(m.captured(2).toInt())
                     : exacto                 ? QVariant(0)
                                              : QVariant();
    } else {
        col.escala = QVariant();
        if (exacto)
            col.precision = QVariant(); // no declared digits: none to tell
    }
}

// The driver gives the declaration as written ("varchar ( 20 )"): SQLite ignores the size and
// the letter case of a type name, so neither makes another type.
QString CDialectoSQLite::NombreTipo(const QString& strTipo) const {
    // Most declarations already read so ("INTEGER", "TEXT"): they are shared, not copied.
    const bool escrito = std::all_of(strTipo.cbegin(), strTipo.cend(), [](QChar c) {
        return c.isLetter() ? c.isUpper() : c.isDigit() || c == QLatin1Char('_');
    });
    if (escrito)
        return strTipo;
    const qsizetype parentesis = strTipo.indexOf(QLatin1Char('('));
    return (parentesis < 0 ? strTipo : strTipo.left(parentesis)).simplified().toUpper();
}

PRecordset CDialectoSQLite::Columnas(const QString& strTabla) {
    return ColumnasPorNombre(strTabla);
}

PRecordset CDialectoSQLite::Indices(const QString& strTabla) {
    // The driver reports every index column as ascending and names no primary key; the
    // database's own index lists say both, in one query. A rowid primary key has no index of
    // its own: it shows under the name the driver gives it.
    PRecordset rs = RowsetIndices();
    // Prepared once per link: preparing this query costs more than running it.
    CPreparada stmt(
        m_Cn,
        QStringLiteral(
            "SELECT il.name, il.\"unique\", il.origin = 'pk', ix.seqno + 1, ix.name, ix.\"desc\" "
            "FROM pragma_index_list(?) AS il, pragma_index_xinfo(il.name) AS ix WHERE ix.key = 1 "
            "UNION ALL SELECT 'sqlite_autoindex_0', 1, 1, ti.pk, ti.name, 0 FROM "
            "pragma_table_info(?) "
            "AS ti "
            "WHERE ti.pk > 0 AND NOT EXISTS (SELECT 1 FROM pragma_index_list(?) WHERE origin = "
            "'pk') "
            "ORDER BY 2 DESC, 1, 4"),
        {strTabla, strTabla, strTabla});
    while (stmt->Siguiente()) {
        const auto nombre = stmt->Texto(0);
        const auto unico = stmt->Entero(1);
        const auto primario = stmt->Entero(2);
        const auto posicion = stmt->Entero(3);
        const auto columna = stmt->Texto(4);
        const auto descendente = stmt->Entero(5);
        // Every SQLite index is a B-tree.
        rs->AgregarValores(QVariant(), QVariant(), strTabla, V(nombre), primario.value_or(0) != 0,
                           unico.value_or(0) != 0, false, 1, VInt(posicion), V(columna),
                           descendente.value_or(0) ? 2 : 1, QVariant(), QVariant(), QVariant());
    }
    return rs;
}

// The same lists as Indices, for every table in one query: the pragmas are table-valued
// functions, read in-process.
PRecordset CDialectoSQLite::IndicesTodos() {
    PRecordset rs = RowsetIndices();
    COdbcSentencia stmt(m_Cn);
    stmt.Ejecutar(QStringLiteral(
        "SELECT m.name, il.name, il.\"unique\", il.origin = 'pk', ix.seqno + 1, ix.name, "
        "ix.\"desc\" FROM sqlite_master AS m, pragma_index_list(m.name) AS il, "
        "pragma_index_xinfo(il.name) AS ix WHERE m.type = 'table' AND ix.key = 1 "
        "UNION ALL SELECT m.name, 'sqlite_autoindex_0', 1, 1, ti.pk, ti.name, 0 FROM "
        "sqlite_master AS m, pragma_table_info(m.name) AS ti WHERE m.type = 'table' AND "
        "ti.pk > 0 AND NOT EXISTS (SELECT 1 FROM pragma_index_list(m.name) WHERE origin = 'pk') "
        "ORDER BY 1, 3 DESC, 2, 5"));
    while (stmt.Siguiente()) {
        const auto tabla = stmt.Texto(0);
        const auto nombre = stmt.Texto(1);
        const auto unico = stmt.Entero(2);
        const auto primario = stmt.Entero(3);
        const auto posicion = stmt.Entero(4);
        const auto columna = stmt.Texto(5);
        const auto descendente = stmt.Entero(6);
        rs->AgregarValores(QVariant(), QVariant(), V(tabla), V(nombre), primario.value_or(0) != 0,
                           unico.value_or(0) != 0, false, 1, VInt(posicion), V(columna),
                           descendente.value_or(0) ? 2 : 1, QVariant(), QVariant(), QVariant());
    }
    return rs;
}

// The driver's rows (its own pragma, table by table, as many calls as tables) in one query,
// in the same order (tables as created, then keys and their columns). A key that names no
// referenced columns references the primary key: its columns stand there instead of none.
PRecordset CDialectoSQLite::ClavesAjenas() {
    PRecordset rs = RowsetClavesAjenas();
    COdbcSentencia stmt(m_Cn);
    stmt.Ejecutar(QStringLiteral(
        "SELECT fk.\"table\", COALESCE(fk.\"to\", (SELECT ti.name FROM "
        "pragma_table_info(fk.\"table\") AS ti WHERE ti.pk = fk.seq + 1)), m.name, fk.\"from\", "
        "fk.seq + 1, fk.on_update, fk.on_delete FROM sqlite_master AS m, "
        "pragma_foreign_key_list(m.name) AS fk WHERE m.type = 'table' ORDER BY m.rowid, fk.id, "
        "fk.seq"));
    while (stmt.Siguiente()) {
        const auto tablaPk = stmt.Texto(0);
        const auto columnaPk = Normal(stmt.Texto(1));
        const auto tablaFk = stmt.Texto(2);
        const auto columnaFk = stmt.Texto(3);
        const auto orden = stmt.Entero(4);
        const auto actualizar = Normal(stmt.Texto(5));
        const auto borrar = Normal(stmt.Texto(6));
        rs->AgregarValores(QVariant(), QVariant(), V(tablaPk), V(columnaPk), QVariant(), QVariant(),
                           V(tablaFk), V(columnaFk), VInt(orden), V(actualizar), V(borrar),
                           QVariant(), QVariant());
    }
    return rs;
}

// SQLite keeps no row count, but counting a table runs nothing of the user's; a view would run
// its query, and a virtual table its module (which may read files or other databases).
PRecordset CDialectoSQLite::Estadisticas(const QString& strTabla) {
    PRecordset rs = RowsetEstadisticas();
    // Names are matched as SQLite matches them; the row names the table as it was asked.
    CPreparada stmt(m_Cn,
                    QStringLiteral("SELECT type = 'table' AND sql NOT LIKE 'CREATE VIRTUAL%' "
                                   "FROM sqlite_master WHERE type IN ('table', 'view') AND "
                                   "name = ? COLLATE NOCASE"),
                    {strTabla});
    if (!stmt->Siguiente())
        return rs;
    const bool base = stmt->Entero(0).value_or(0) != 0;
    rs->AgregarValores(QVariant(), QVariant(), strTabla,
                       base ? ContarConPlazo({std::nullopt, std::nullopt, strTabla}) : QVariant());
    return rs;
}

PRecordset CDialectoSQLite::EstadisticasTodas() {
    PRecordset rs = RowsetEstadisticas();
    std::vector<std::pair<QString, bool>> objetos;
    {
        COdbcSentencia stmt(m_Cn);
        stmt.Ejecutar(
            QStringLiteral("SELECT name, type = 'table' AND sql NOT LIKE 'CREATE VIRTUAL%' "
                           "FROM sqlite_master WHERE type IN ('table', 'view')"));
        while (stmt.Siguiente()) {
            const auto nombre = stmt.Texto(0);
            if (nombre)
                objetos.emplace_back(*nombre, stmt.Entero(1).value_or(0) != 0);
        }
    }
    for (const auto& [nombre, base] : objetos)
        rs->AgregarValores(QVariant(), QVariant(), nombre,
                           base ? ContarConPlazo({std::nullopt, std::nullopt, nombre})
                                : QVariant());
    return rs;
}
