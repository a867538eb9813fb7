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

namespace {

// SQLite keeps every text in Unicode, whatever the driver calls its type.
int Unicode(int intTipoOdbc) {
    switch (intTipoOdbc) {
    case SQL_CHAR:
        return SQL_WCHAR;
    case SQL_VARCHAR:
        return SQL_WVARCHAR;
    case SQL_LONGVARCHAR:
        return SQL_WLONGVARCHAR;
    default:
        return intTipoOdbc;
    }
}

// The type of a declaration by SQLite's own affinity rules, for a column the driver leaves out.
int TipoPorAfinidad(const QString& strTipo) {
    const QString t = strTipo.toUpper();
    const auto tiene = [&](const char* s) { return t.contains(QLatin1String(s)); };
    if (tiene("BIGINT"))
        return SQL_BIGINT;
    if (tiene("SMALLINT"))
        return SQL_SMALLINT;
    if (tiene("TINYINT"))
        return SQL_TINYINT;
    if (tiene("INT"))
        return SQL_INTEGER;
    if (tiene("BOOL"))
        return SQL_BIT;
    if (tiene("CHAR") || tiene("CLOB"))
        return SQL_WVARCHAR;
    if (tiene("TEXT"))
        return SQL_WLONGVARCHAR;
    if (t.isEmpty() || tiene("BLOB"))
        return SQL_BINARY;
    if (tiene("REAL") || tiene("FLOA") || tiene("DOUB"))
        return SQL_DOUBLE;
    if (tiene("TIMESTAMP") || tiene("DATETIME"))
        return SQL_TYPE_TIMESTAMP;
    if (tiene("DATE"))
        return SQL_TYPE_DATE;
    return SQL_NUMERIC;
}

} // namespace

// The driver calls a declared DECIMAL a VARCHAR and a NUMERIC a DOUBLE, with the scale as their
// size; the declared type is the exact number it names.
int CDialectoSQLite::TipoDeclarado(const QString& strTipo, int intTipoOdbc) const {
    static const QRegularExpression re(QStringLiteral("^\\s*(DECIMAL|NUMERIC)\\s*(\\(|$)"),
                                       QRegularExpression::CaseInsensitiveOption);
    // Most types are neither: spare them the expression.
    const QString recortado = strTipo.trimmed();
    const QChar inicial = recortado.isEmpty() ? QChar() : recortado.front().toUpper();
    if (inicial != QLatin1Char('D') && inicial != QLatin1Char('N'))
        return Unicode(intTipoOdbc);
    const auto m = re.match(strTipo);
    if (!m.hasMatch())
        return Unicode(intTipoOdbc);
    return m.captured(1).compare(QLatin1String("DECIMAL"), Qt::CaseInsensitive) == 0 ? SQL_DECIMAL
                                                                                     : SQL_NUMERIC;
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

void CDialectoSQLite::AgregarDeclarada(CRecordset& rs, const QString& strTabla,
                                       const CColumnaDeclarada& col, int intPosicion) const {
    CColumnaLeida leida;
    leida.nombreTipo = col.tipo;
    leida.tipoOdbc = TipoDeclarado(col.tipo, TipoPorAfinidad(col.tipo));
    PrecisionYEscala(leida);
    QVariant longitud;
    static const QRegularExpression re(QStringLiteral("\\(\\s*(\\d+)"));
    if (EsCaracter(leida.tipoOdbc))
        if (const auto m = re.match(col.tipo); m.hasMatch())
            longitud = m.captured(1).toLongLong();
    // A generated column's expression is no default.
    const QVariant defecto = col.generada ? QVariant() : col.defecto;
    rs.AgregarValores(QVariant(), QVariant(), strTabla, col.nombre, intPosicion,
                      !CRecordset::EsNulo(defecto), defecto, !col.noNula,
                      TipoOleDb(leida.tipoOdbc,
                                col.tipo.contains(QLatin1String("UNSIGNED"), Qt::CaseInsensitive)),
                      longitud, leida.precision, leida.escala, QVariant(),
                      col.tipo.isEmpty() ? QVariant() : QVariant(NombreTipo(col.tipo)));
}

void CDialectoSQLite::CompletarColumnas(CRecordset& rs, const std::optional<QString>& tabla) {
    // The driver strips a default's quotes (so DEFAULT 'NULL' reads as none), leaves generated
    // columns out, and finds nothing for a name outside the BMP: the database's own column
    // lists say all three, in one query. A rowid alias (a lone INTEGER key) and a WITHOUT ROWID
    // table's key never hold a null, whatever their lists say.
    QString sql = QStringLiteral(
        "SELECT m.name, p.name, p.type, p.dflt_value, p.\"notnull\" OR (p.pk > 0 AND (m.sql LIKE "
        "'%WITHOUT%ROWID%' OR (upper(p.type) = 'INTEGER' AND (SELECT count(*) FROM "
        "pragma_table_info(m.name) WHERE pk > 0) = 1))), p.hidden FROM sqlite_master AS m, "
        "pragma_table_xinfo(m.name) AS p WHERE m.type IN ('table', 'view') AND p.hidden <> 1");
    if (tabla)
        sql += QStringLiteral(" AND m.name = ? COLLATE NOCASE");
    CPreparada stmt(m_Cn, sql, tabla ? QStringList{*tabla} : QStringList{});
    QHash<QString, std::vector<CColumnaDeclarada>> declaradas; // by table name, lower case
    QHash<QString, QString> nombres;                           // the table as it is spelt
    bool reconstruir = false;
    std::optional<QString> tablaLeida;
    while (stmt->Siguiente()) {
        const QString nombreTabla = stmt->Texto(0, &tablaLeida).value_or(QString());
        CColumnaDeclarada col;
        col.nombre = stmt->Texto(1).value_or(QString());
        col.tipo = stmt->Texto(2).value_or(QString());
        col.defecto = V(stmt->Texto(3));
        col.noNula = stmt->Entero(4).value_or(0) != 0;
        col.generada = stmt->Entero(5).value_or(0) != 0;
        reconstruir = reconstruir || col.generada;
        const QString clave = nombreTabla.toLower();
        nombres.insert(clave, nombreTabla);
        declaradas[clave].push_back(std::move(col));
    }
    // Rows come grouped by table, in declaration order.
    const auto n = static_cast<std::size_t>(rs.NumeroFilas());
    std::vector<std::pair<std::size_t, std::size_t>> grupos;
    for (std::size_t i = 0; i < n;) {
        const QString clave = rs.ValorEn(i, columnas::Tabla).toString().toLower();
        std::size_t j = i;
        while (j < n && rs.ValorEn(j, columnas::Tabla).toString().toLower() == clave)
            ++j;
        grupos.emplace_back(i, j);
        i = j;
    }
    reconstruir = reconstruir || grupos.size() < static_cast<std::size_t>(declaradas.size());
    if (!reconstruir) {
        for (const auto& [desde, hasta] : grupos) {
            const auto it =
                declaradas.constFind(rs.ValorEn(desde, columnas::Tabla).toString().toLower());
            for (std::size_t k = desde; k < hasta && it != declaradas.constEnd(); ++k) {
                if (k - desde >= it->size())
                    break;
                const CColumnaDeclarada& col = (*it)[k - desde];
                if (rs.ValorEn(k, columnas::Nombre)
                        .toString()
                        .compare(col.nombre, Qt::CaseInsensitive) != 0)
                    continue;
                if (rs.ValorEn(k, columnas::Defecto) != col.defecto) {
                    rs.PonerValor(k, columnas::Defecto, col.defecto);
                    rs.PonerValor(k, columnas::TieneDefecto, !CRecordset::EsNulo(col.defecto));
                }
                if (col.noNula && rs.ValorEn(k, columnas::Nulos) != QVariant(false))
                    rs.PonerValor(k, columnas::Nulos, false);
            }
        }
        return;
    }
    // Some column is missing: the rows are laid out again in declaration order.
    CRecordset nuevo(rs.Columnas());
    nuevo.Reservar(n + 16);
    QSet<QString> vistas;
    const auto agregarTabla = [&](const QString& clave, std::size_t desde, std::size_t hasta) {
        vistas.insert(clave);
        const auto it = declaradas.constFind(clave);
        if (it == declaradas.constEnd()) {
            for (std::size_t k = desde; k < hasta; ++k)
                nuevo.AgregarFila(rs.FilaEn(k));
            return;
        }
        const QString strTabla =
            desde < hasta ? rs.ValorEn(desde, columnas::Tabla).toString() : nombres.value(clave);
        int posicion = 0;
        for (const CColumnaDeclarada& col : *it) {
            ++posicion;
            std::optional<std::size_t> fila;
            for (std::size_t k = desde; k < hasta && !fila; ++k)
                if (rs.ValorEn(k, columnas::Nombre)
                        .toString()
                        .compare(col.nombre, Qt::CaseInsensitive) == 0)
                    fila = k;
            if (!fila || col.generada) {
                AgregarDeclarada(nuevo, strTabla, col, posicion);
                continue;
            }
            CRecordset::Fila valores = rs.FilaEn(*fila);
            valores[columnas::Posicion] = posicion;
            valores[columnas::Defecto] = col.defecto;
            valores[columnas::TieneDefecto] = !CRecordset::EsNulo(col.defecto);
            if (col.noNula)
                valores[columnas::Nulos] = false;
            nuevo.AgregarFila(std::move(valores));
        }
    };
    for (const auto& [desde, hasta] : grupos)
        agregarTabla(rs.ValorEn(desde, columnas::Tabla).toString().toLower(), desde, hasta);
    // Tables the driver found nothing for (a name outside the BMP).
    for (auto it = declaradas.constBegin(); it != declaradas.constEnd(); ++it)
        if (!vistas.contains(it.key()))
            agregarTabla(it.key(), 0, 0);
    rs = std::move(nuevo);
}

PRecordset CDialectoSQLite::Columnas(const QString& strTabla) {
    return ColumnasPorNombre(strTabla);
}

namespace {

// The parts of an index's CREATE statement that its lists leave out: the key expression at a
// position (SQLite names only plain columns) and a partial index's condition.
QString ExpresionDelIndice(const QString& strSql, qlonglong lngPosicion) {
    static const QRegularExpression on(
        QStringLiteral("\\bON\\s+(\"(?:[^\"]|\"\")*\"|`[^`]*`|\\[[^\\]]*\\]|[^\\s(]+)\\s*\\("),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = on.match(strSql);
    if (!m.hasMatch())
        return {};
    QStringList partes{QString()};
    int profundidad = 0;
    QChar comilla;
    for (qsizetype i = m.capturedEnd(); i < strSql.size(); ++i) {
        const QChar c = strSql.at(i);
        if (!comilla.isNull()) {
            if (c == comilla)
                comilla = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`')) {
            comilla = c;
        } else if (c == QLatin1Char('(')) {
            ++profundidad;
        } else if (c == QLatin1Char(')') && profundidad-- == 0) {
            break;
        } else if (c == QLatin1Char(',') && profundidad == 0) {
            partes << QString();
            continue;
        }
        partes.last() += c;
    }
    static const QRegularExpression orden(QStringLiteral("\\s+(ASC|DESC)\\s*$"),
                                          QRegularExpression::CaseInsensitiveOption);
    return partes.value(lngPosicion - 1).remove(orden).trimmed();
}

QString CondicionDelIndice(const QString& strSql) {
    static const QRegularExpression donde(QStringLiteral("\\)\\s*WHERE\\s+(.*)$"),
                                          QRegularExpression::CaseInsensitiveOption |
                                              QRegularExpression::DotMatchesEverythingOption);
    const auto m = donde.match(strSql);
    return m.hasMatch() ? m.captured(1).trimmed() : QString();
}

} // namespace

// The driver reports every index column as ascending and names no primary key; the database's
// own index lists say both, in one query for one table or for every one (the pragmas are
// table-valued functions, read in-process). A rowid primary key has no index of its own: it
// shows under the name the driver gives it, and like a WITHOUT ROWID table's key it orders the
// table's rows. Every SQLite index is a B-tree.
PRecordset CDialectoSQLite::IndicesDonde(const std::optional<QString>& tabla) {
    PRecordset rs = RowsetIndices();
    const QString condicion = tabla ? QStringLiteral(" AND m.name = ? COLLATE NOCASE") : QString();
    // Prepared once per link: preparing this query costs more than running it.
    CPreparada stmt(
        m_Cn,
        QStringLiteral(
            "SELECT m.name, il.name, il.\"unique\", il.origin = 'pk', ix.seqno + 1, ix.name, "
            "ix.\"desc\", il.origin = 'pk' AND m.sql LIKE '%WITHOUT%ROWID%', CASE WHEN "
            "il.partial OR ix.cid = -2 THEN (SELECT s.sql FROM sqlite_master AS s WHERE s.type = "
            "'index' AND s.name = il.name) END FROM sqlite_master AS m, pragma_index_list(m.name) "
            "AS il, pragma_index_xinfo(il.name) AS ix WHERE m.type = 'table' AND ix.key = 1%1 "
            "UNION ALL SELECT m.name, 'sqlite_autoindex_0', 1, 1, ti.pk, ti.name, 0, 1, NULL FROM "
            "sqlite_master AS m, pragma_table_info(m.name) AS ti WHERE m.type = 'table' AND "
            "ti.pk > 0 AND NOT EXISTS (SELECT 1 FROM pragma_index_list(m.name) WHERE origin = "
            "'pk')%1 ORDER BY 1, 3 DESC, 2, 5")
            .arg(condicion),
        tabla ? QStringList{*tabla, *tabla} : QStringList{});
    std::optional<QString> tablaLeida;
    while (stmt->Siguiente()) {
        const auto nombreTabla = stmt->Texto(0, &tablaLeida);
        const auto nombre = stmt->Texto(1);
        const auto unico = stmt->Entero(2);
        const auto primario = stmt->Entero(3);
        const auto posicion = stmt->Entero(4);
        auto columna = stmt->Texto(5);
        const auto descendente = stmt->Entero(6);
        const bool agrupado = stmt->Entero(7).value_or(0) != 0;
        const auto sql = stmt->Texto(8);
        QVariant filtro;
        if (sql) {
            if (!columna)
                columna = ExpresionDelIndice(*sql, posicion.value_or(0));
            if (const QString c = CondicionDelIndice(*sql); !c.isEmpty())
                filtro = c;
        }
        rs->AgregarValores(QVariant(), QVariant(), V(nombreTabla), V(nombre),
                           primario.value_or(0) != 0, unico.value_or(0) != 0, agrupado, 1,
                           VInt(posicion), V(columna), descendente.value_or(0) ? 2 : 1, QVariant(),
                           QVariant(), filtro);
    }
    return rs;
}

PRecordset CDialectoSQLite::Indices(const QString& strTabla) {
    return IndicesDonde(strTabla);
}

PRecordset CDialectoSQLite::IndicesTodos() {
    return IndicesDonde(std::nullopt);
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
