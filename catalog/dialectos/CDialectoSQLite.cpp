#include "catalog/dialectos/CDialectoSQLite.h"

#include "comun/CError.h"

#include <QRegularExpression>
#include <algorithm>
#include <cctype>
#include <limits>

using namespace dialecto;

std::vector<CDialecto::CObjeto> CDialectoSQLite::ObjetosLlamados(const QString& strTabla) {
    return {{std::nullopt, std::nullopt, strTabla}};
}

bool CDialectoSQLite::EsDeSistema(const QString&, const QString&, const QString& strNombre) const {
    return strNombre.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive);
}

// The driver's SQLTables is sqlite_master's tables and views, in its order, named and typed
// alone: read straight, two columns a row instead of five.
PRecordset CDialectoSQLite::Tablas() {
    static const QString kTabla = QStringLiteral("TABLE"), kVista = QStringLiteral("VIEW");
    PRecordset rs = RowsetTablas();
    CPreparada stmt(m_Cn, QStringLiteral("SELECT name, type = 'view' FROM sqlite_master WHERE "
                                         "type IN ('table', 'view')"));
    while (stmt->Siguiente()) {
        const auto nombre = stmt->Texto(0);
        if (!nombre)
            continue;
        const QString& tipo = stmt->Entero(1).value_or(0) != 0 ? kVista : kTabla;
        rs->AgregarValores(QVariant(), QVariant(), *nombre,
                           TipoTablaOleDb(tipo, QString(), QString(), *nombre), QVariant(),
                           QVariant(), QVariant());
    }
    return rs;
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

namespace {

// C's isspace, which the driver's sscanf skips.
bool Blanco(QChar c) {
    return c == QLatin1Char(' ') || (c >= QLatin1Char('\t') && c <= QLatin1Char('\r'));
}

// sscanf's %d from position i: blanks, a sign, digits, read as a long and kept as an int (a
// longer number wraps as it does in the driver).
bool LeerEntero(const QString& s, qsizetype& i, int& valor) {
    while (i < s.size() && Blanco(s.at(i)))
        ++i;
    bool negativo = false;
    if (i < s.size() && (s.at(i) == QLatin1Char('+') || s.at(i) == QLatin1Char('-')))
        negativo = s.at(i++) == QLatin1Char('-');
    const qsizetype desde = i;
    qint64 n = 0;
    constexpr qint64 kMaximo = std::numeric_limits<qint64>::max();
    for (; i < s.size() && s.at(i).isDigit() && s.at(i).unicode() < 0x80; ++i) {
        const int cifra = s.at(i).unicode() - '0';
        n = n > (kMaximo - cifra) / 10 ? kMaximo : n * 10 + cifra;
    }
    if (i == desde)
        return false;
    valor = static_cast<int>(negativo ? -n : n);
    return true;
}

bool Cierra(const QString& s, qsizetype i) {
    while (i < s.size() && Blanco(s.at(i)))
        ++i;
    return i < s.size() && s.at(i) == QLatin1Char(')');
}

// What the driver's SQLColumns says of a declared type: its ODBC type, told by the first letters
// of the name (anything else is a VARCHAR), and its COLUMN_SIZE, that type's own or the number in
// the parenthesis ("(m)", or d of "(m,d)").
std::pair<int, int> TipoDelControlador(const QString& strTipo) {
    struct CPrefijo {
        const char* texto;
        int tipo, tamano;
    };
    static const CPrefijo kPrefijos[] = {
        {"inter", SQL_VARCHAR, 0},
        {"int", SQL_INTEGER, 9},
        {"mediumint", SQL_INTEGER, 9},
        {"numeric", SQL_DOUBLE, 53},
        {"tinyint", SQL_TINYINT, 3},
        {"smallint", SQL_SMALLINT, 5},
        {"float", SQL_DOUBLE, 53},
        {"double", SQL_DOUBLE, 53},
        {"real", SQL_DOUBLE, 53},
        {"timestamp", SQL_TYPE_TIMESTAMP, 3},
        {"datetime", SQL_TYPE_TIMESTAMP, 3},
        {"time", SQL_TYPE_TIME, 0},
        {"date", SQL_TYPE_DATE, 0},
        {"text", SQL_LONGVARCHAR, 0},
        {"memo", SQL_LONGVARCHAR, 0},
        {"longvarchar", SQL_LONGVARCHAR, 0},
        {"bool", SQL_BIT, 1},
        {"bit", SQL_BIT, 1},
        {"bigint", SQL_BIGINT, 19},
        {"blob", SQL_BINARY, 0},
        {"varbinary", SQL_VARBINARY, 0},
        {"longvarbinary", SQL_LONGVARBINARY, 0},
    };
    // Letters compared as the driver compares them, in ASCII.
    const auto empieza = [&](const char* p) {
        qsizetype i = 0;
        for (; *p; ++p, ++i)
            if (i >= strTipo.size() || strTipo.at(i).unicode() >= 0x80 ||
                std::tolower(strTipo.at(i).unicode()) != *p)
                return false;
        return true;
    };
    int tipo = SQL_VARCHAR, tamano = 0;
    for (const CPrefijo& p : kPrefijos)
        if (empieza(p.texto)) {
            tipo = p.tipo;
            tamano = p.tamano;
            break;
        }
    const qsizetype abre = strTipo.indexOf(QLatin1Char('('));
    if (abre > 0) {
        qsizetype i = abre + 1;
        int m = 0, d = 0;
        if (LeerEntero(strTipo, i, m) && i < strTipo.size() && strTipo.at(i) == QLatin1Char(',') &&
            LeerEntero(strTipo, ++i, d) && Cierra(strTipo, i))
            return {tipo, d};
        i = abre + 1;
        if (LeerEntero(strTipo, i, m) && Cierra(strTipo, i))
            return {tipo, m};
    }
    return {tipo, tamano};
}

} // namespace

void CDialectoSQLite::AgregarComoElControlador(CRecordset& rs, const QString& strTabla,
                                               const CColumnaDeclarada& col,
                                               int intPosicion) const {
    const auto [tipoOdbc, tamano] = TipoDelControlador(col.tipo);
    CColumnaLeida leida;
    leida.nombreTipo = col.tipo;
    leida.tipoOdbc = TipoDeclarado(col.tipo, tipoOdbc);
    leida.tamano = tamano;
    PrecisionYEscala(leida);
    QVariant longitud;
    if ((EsCaracter(leida.tipoOdbc) || EsBinario(leida.tipoOdbc)) && tamano > 0)
        longitud = static_cast<qlonglong>(tamano);
    // A generated column's expression is no default.
    const QVariant defecto = col.generada ? QVariant() : col.defecto;
    rs.AgregarValores(QVariant(), QVariant(), strTabla, col.nombre, intPosicion,
                      !CRecordset::EsNulo(defecto), defecto, !col.noNula,
                      TipoOleDb(leida.tipoOdbc,
                                col.tipo.contains(QLatin1String("UNSIGNED"), Qt::CaseInsensitive)),
                      longitud, leida.precision, leida.escala, QVariant(),
                      col.tipo.isEmpty() ? QVariant() : QVariant(NombreTipo(col.tipo)));
}

// The driver strips a default's quotes (so DEFAULT 'NULL' reads as none), leaves generated
// columns out, and finds nothing for a name outside the BMP; what it does say (types, sizes,
// nullability) it reads from the same column lists. So the rows are built from those lists
// alone, in one query: every column, generated ones and those of any name included, as the
// driver describes its declaration, with defaults as stored. A rowid alias (a lone INTEGER key)
// never holds a null, although its list says it may (a WITHOUT ROWID table's list says so of
// its key itself).
bool CDialectoSQLite::AgregarColumnasDeLasListas(COdbcSentencia& stmt, CRecordset& rs,
                                                 const std::function<bool()>* fnSeguir) {
    // Often enough for a cancel to be heard at once, seldom enough to cost nothing.
    constexpr unsigned kFilasEntreLlamadas = 256;
    unsigned leidas = 0;
    std::optional<QString> tablaLeida, tipoLeido;
    QString tabla;
    std::vector<CColumnaDeclarada> columnas;
    const auto agregarTabla = [&] {
        const auto claves = std::count_if(columnas.begin(), columnas.end(),
                                          [](const CColumnaDeclarada& c) { return c.clave; });
        int posicion = 0;
        for (CColumnaDeclarada& col : columnas) {
            col.noNula = col.noNula ||
                         (col.clave && claves == 1 &&
                          col.tipo.compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0);
            AgregarComoElControlador(rs, tabla, col, ++posicion);
        }
        columnas.clear();
    };
    while (stmt.Siguiente()) {
        if (fnSeguir && ++leidas % kFilasEntreLlamadas == 0 && !(*fnSeguir)())
            return false;
        const auto anterior = tablaLeida;
        stmt.Texto(0, &tablaLeida);
        if (tablaLeida != anterior || columnas.empty()) {
            if (!columnas.empty())
                agregarTabla();
            tabla = tablaLeida.value_or(QString());
        }
        CColumnaDeclarada col;
        col.nombre = stmt.Texto(1).value_or(QString());
        col.tipo = stmt.Texto(2, &tipoLeido).value_or(QString());
        col.defecto = V(stmt.Texto(3));
        col.noNula = stmt.Entero(4).value_or(0) != 0;
        col.clave = stmt.Entero(5).value_or(0) > 0;
        col.generada = stmt.Entero(6).value_or(0) != 0;
        columnas.push_back(std::move(col));
    }
    if (!columnas.empty())
        agregarTabla();
    return true;
}

PRecordset CDialectoSQLite::Columnas(const QString& strTabla) {
    PRecordset rs = RowsetColumnas();
    const CObjetoDeLaLista* objeto = ObjetoLlamado(strTabla);
    if (!objeto)
        return rs;
    // The pragma finds the object by its name itself; its name as stored comes with the
    // statement, in the layout of ColumnasTodas' query.
    CPreparada stmt(m_Cn,
                    QStringLiteral("SELECT ?, p.name, p.type, p.dflt_value, p.\"notnull\", p.pk, "
                                   "p.hidden FROM pragma_table_xinfo(?) AS p WHERE p.hidden <> 1"),
                    {objeto->nombre, objeto->nombre});
    AgregarColumnasDeLasListas(*stmt.operator->(), *rs, nullptr);
    return rs;
}

// The driver's bulk call answers for exactly the tables and views of the tables rowset, as the
// lists do.
PRecordset CDialectoSQLite::ColumnasTodas(const std::function<bool()>* fnSeguir, const CRecordset*,
                                          const QStringList& columnas) {
    PRecordset rs = RowsetColumnasTodas(columnas);
    const bool completa = PorPaginas(
        QStringLiteral(
            "SELECT rowid FROM sqlite_master WHERE type IN ('table', 'view') ORDER BY rowid"),
        [&](const QStringList& desde, const QStringList& hasta) {
            QString sql = QStringLiteral(
                "SELECT m.name, p.name, p.type, p.dflt_value, p.\"notnull\", p.pk, p.hidden FROM "
                "sqlite_master AS m, pragma_table_xinfo(m.name) AS p WHERE m.type IN ('table', "
                "'view') AND p.hidden <> 1 AND m.rowid >= CAST(? AS INTEGER)");
            if (!hasta.isEmpty())
                sql += QStringLiteral(" AND m.rowid < CAST(? AS INTEGER)");
            CPreparada stmt(m_Cn, sql, desde + hasta);
            return AgregarColumnasDeLasListas(*stmt.operator->(), *rs, fnSeguir);
        });
    if (!completa)
        return nullptr;
    return rs;
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
void CDialectoSQLite::AgregarIndicesDeLasListas(COdbcSentencia& stmt, CRecordset& rs) {
    std::optional<QString> tablaLeida;
    while (stmt.Siguiente()) {
        const auto nombreTabla = stmt.Texto(0, &tablaLeida);
        const auto nombre = stmt.Texto(1);
        const auto unico = stmt.Entero(2);
        const auto primario = stmt.Entero(3);
        const auto posicion = stmt.Entero(4);
        auto columna = stmt.Texto(5);
        const auto descendente = stmt.Entero(6);
        const bool agrupado = stmt.Entero(7).value_or(0) != 0;
        const auto sql = stmt.Texto(8);
        QVariant filtro;
        if (sql) {
            if (!columna)
                columna = ExpresionDelIndice(*sql, posicion.value_or(0));
            if (const QString c = CondicionDelIndice(*sql); !c.isEmpty())
                filtro = c;
        }
        rs.AgregarValores(QVariant(), QVariant(), V(nombreTabla), V(nombre),
                          primario.value_or(0) != 0, unico.value_or(0) != 0, agrupado, 1,
                          VInt(posicion), V(columna), descendente.value_or(0) ? 2 : 1, QVariant(),
                          QVariant(), filtro);
    }
}

PRecordset CDialectoSQLite::Indices(const QString& strTabla) {
    PRecordset rs = RowsetIndices();
    const CObjetoDeLaLista* tabla = ObjetoLlamado(strTabla);
    if (!tabla || tabla->vista)
        return rs;
    // The pragmas find the table by its name themselves; its name as stored and its kind come
    // with the statement.
    const QString sinRowid = tabla->sinRowid ? QStringLiteral("1") : QStringLiteral("0");
    CPreparada stmt(
        m_Cn,
        QStringLiteral(
            "SELECT ?, il.name, il.\"unique\", il.origin = 'pk', ix.seqno + 1, ix.name, "
            "ix.\"desc\", il.origin = 'pk' AND CAST(? AS INTEGER), CASE WHEN il.partial OR "
            "ix.cid = -2 THEN (SELECT s.sql FROM sqlite_master AS s WHERE s.type = 'index' AND "
            "s.name = il.name) END FROM pragma_index_list(?) AS il, pragma_index_xinfo(il.name) "
            "AS ix WHERE ix.key = 1 UNION ALL SELECT ?, 'sqlite_autoindex_0', 1, 1, ti.pk, "
            "ti.name, 0, 1, NULL FROM pragma_table_info(?) AS ti WHERE ti.pk > 0 AND NOT EXISTS "
            "(SELECT 1 FROM pragma_index_list(?) WHERE origin = 'pk') ORDER BY 3 DESC, 2, 5"),
        {tabla->nombre, sinRowid, tabla->nombre, tabla->nombre, tabla->nombre, tabla->nombre});
    AgregarIndicesDeLasListas(*stmt.operator->(), *rs);
    return rs;
}

PRecordset CDialectoSQLite::IndicesTodos() {
    PRecordset rs = RowsetIndices();
    // Prepared once per link: preparing this query costs more than running it.
    CPreparada stmt(
        m_Cn,
        QStringLiteral(
            "SELECT m.name, il.name, il.\"unique\", il.origin = 'pk', ix.seqno + 1, ix.name, "
            "ix.\"desc\", il.origin = 'pk' AND m.sql LIKE '%WITHOUT%ROWID%' AND m.name IN "
            "(SELECT name FROM pragma_table_list WHERE schema = 'main' AND wr), CASE WHEN "
            "il.partial OR ix.cid = -2 THEN (SELECT s.sql FROM sqlite_master AS s WHERE s.type = "
            "'index' AND s.name = il.name) END FROM sqlite_master AS m, pragma_index_list(m.name) "
            "AS il, pragma_index_xinfo(il.name) AS ix WHERE m.type = 'table' AND ix.key = 1 "
            "UNION ALL SELECT m.name, 'sqlite_autoindex_0', 1, 1, ti.pk, ti.name, 0, 1, NULL FROM "
            "sqlite_master AS m, pragma_table_info(m.name) AS ti WHERE m.type = 'table' AND "
            "ti.pk > 0 AND NOT EXISTS (SELECT 1 FROM pragma_index_list(m.name) WHERE origin = "
            "'pk') ORDER BY 1, 3 DESC, 2, 5"));
    AgregarIndicesDeLasListas(*stmt.operator->(), *rs);
    return rs;
}

const CDialectoSQLite::CObjetoDeLaLista* CDialectoSQLite::ObjetoLlamado(const QString& strTabla) {
    const auto minusculas = [](QString t) {
        for (QChar& c : t)
            if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
                c = QChar(c.unicode() + ('a' - 'A'));
        return t;
    };
    qlonglong version = -1;
    {
        CPreparada stmt(m_Cn, QStringLiteral("SELECT schema_version FROM pragma_schema_version"));
        if (stmt->Siguiente())
            version = stmt->Entero(0).value_or(-1);
    }
    if (version != m_lngVersionEsquema || version < 0) {
        m_Objetos.clear();
        m_lngVersionEsquema = -1;
        CPreparada stmt(m_Cn,
                        QStringLiteral("SELECT name, type = 'view', sql LIKE '%WITHOUT%ROWID%' "
                                       "AND name IN (SELECT name FROM pragma_table_list WHERE "
                                       "schema = 'main' AND wr) FROM sqlite_master WHERE type "
                                       "IN ('table', 'view')"));
        while (stmt->Siguiente()) {
            CObjetoDeLaLista objeto;
            objeto.nombre = stmt->Texto(0).value_or(QString());
            objeto.vista = stmt->Entero(1).value_or(0) != 0;
            objeto.sinRowid = stmt->Entero(2).value_or(0) != 0;
            m_Objetos.insert(minusculas(objeto.nombre), std::move(objeto));
        }
        m_lngVersionEsquema = version;
    }
    const auto it = m_Objetos.constFind(minusculas(strTabla));
    return it == m_Objetos.constEnd() ? nullptr : &*it;
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
    std::vector<std::size_t> bases; // the rows of base tables, which are counted
    {
        COdbcSentencia stmt(m_Cn);
        stmt.Ejecutar(
            QStringLiteral("SELECT name, type = 'table' AND sql NOT LIKE 'CREATE VIRTUAL%' "
                           "FROM sqlite_master WHERE type IN ('table', 'view')"));
        while (stmt.Siguiente()) {
            const auto nombre = stmt.Texto(0);
            if (!nombre)
                continue;
            if (stmt.Entero(1).value_or(0) != 0)
                bases.push_back(static_cast<std::size_t>(rs->NumeroFilas()));
            rs->AgregarValores(QVariant(), QVariant(), *nombre, QVariant());
        }
    }
    // Many tables to a statement: a call per table costs more than counting a table. A group
    // that fails (a table beyond the time-out, a name the driver breaks) is counted one by one.
    constexpr std::size_t kTablasPorConsulta = 200;
    for (std::size_t inicio = 0; inicio < bases.size(); inicio += kTablasPorConsulta) {
        const std::size_t fin = std::min(inicio + kTablasPorConsulta, bases.size());
        const auto nombre = [&](std::size_t i) { return rs->ValorEn(bases[i], 2).toString(); };
        QStringList consultas;
        for (std::size_t i = inicio; i < fin; ++i)
            consultas
                << QStringLiteral("SELECT %1, COUNT(*) FROM %2").arg(i).arg(m_Cn.Citar(nombre(i)));
        std::size_t contadas = 0;
        try {
            COdbcSentencia stmt(m_Cn);
            stmt.TiempoLimite(kSegundosRecuento);
            stmt.Ejecutar(consultas.join(QStringLiteral(" UNION ALL ")));
            while (stmt.Siguiente()) {
                const auto i = stmt.Entero(0);
                const auto cuenta = stmt.Entero(1);
                if (i && *i >= 0 && static_cast<std::size_t>(*i) >= inicio &&
                    static_cast<std::size_t>(*i) < fin && cuenta) {
                    rs->PonerValor(bases[static_cast<std::size_t>(*i)], 3, *cuenta);
                    ++contadas;
                }
            }
        } catch (const CError&) {
            contadas = 0;
        }
        if (contadas != fin - inicio)
            for (std::size_t i = inicio; i < fin; ++i)
                rs->PonerValor(bases[i], 3,
                               ContarConPlazo({std::nullopt, std::nullopt, nombre(i)}));
    }
    return rs;
}
