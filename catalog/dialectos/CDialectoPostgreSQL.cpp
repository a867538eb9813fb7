#include "catalog/dialectos/CDialectoPostgreSQL.h"

#include <QHash>
#include <cmath>

using namespace dialecto;

bool CDialectoPostgreSQL::EsDeSistema(const QString&, const QString& strEsquema,
                                      const QString&) const {
    return strEsquema.compare(QLatin1String("pg_catalog"), Qt::CaseInsensitive) == 0 ||
           strEsquema.compare(QLatin1String("information_schema"), Qt::CaseInsensitive) == 0 ||
           strEsquema.startsWith(QLatin1String("pg_toast"), Qt::CaseInsensitive);
}

QString CDialectoPostgreSQL::SinSistema(const QString& strColumna) const {
    if (m_Cn.MuestraSistema())
        return {};
    return QStringLiteral(" AND %1 NOT IN ('pg_catalog', 'information_schema') AND %1 NOT LIKE "
                          "'pg\\_toast%'")
        .arg(strColumna);
}

// The driver's own query with the comments joined (the driver answers an empty REMARKS even for
// a commented table), in one trip to the server: the relations and order it lists, the database
// as the catalogue, and its table types.
PRecordset CDialectoPostgreSQL::Tablas() {
    PRecordset rs = RowsetTablas();
    COdbcSentencia stmt(m_Cn);
    stmt.Ejecutar(
        QStringLiteral("SELECT n.nspname, c.relname, c.relkind, d.description FROM "
                       "pg_catalog.pg_class c JOIN pg_catalog.pg_namespace n ON n.oid = "
                       "c.relnamespace LEFT JOIN pg_catalog.pg_description d ON d.objoid = c.oid "
                       "AND d.classoid = 'pg_catalog.pg_class'::regclass AND d.objsubid = 0 "
                       "WHERE c.relkind IN ('r', 'v', 'm', 'f', 'p')") +
        (m_Cn.MuestraSistema() ? QString()
                               : QStringLiteral(" AND n.nspname NOT IN ('pg_catalog', "
                                                "'information_schema', 'pg_toast', 'pg_temp_1')")) +
        QStringLiteral(" ORDER BY n.nspname, c.relname"));
    static const QString kTabla = QStringLiteral("TABLE"), kVista = QStringLiteral("VIEW"),
                         kMaterializada = QStringLiteral("MATVIEW"),
                         kAjena = QStringLiteral("FOREIGN TABLE");
    const auto catalogo = Normal(m_Cn.CatalogoActual());
    const QString strCatalogo = catalogo.value_or(QString());
    std::optional<QString> esquemaAnterior, claseAnterior;
    while (stmt.Siguiente()) {
        const auto esquema = stmt.Texto(0, &esquemaAnterior);
        const auto nombre = stmt.Texto(1);
        const auto clase = stmt.Texto(2, &claseAnterior).value_or(QString());
        const auto descripcion = Normal(stmt.Texto(3));
        if (!esquema || !nombre)
            continue;
        const QString& tipo = clase == QLatin1String("v")   ? kVista
                              : clase == QLatin1String("m") ? kMaterializada
                              : clase == QLatin1String("f") ? kAjena
                                                            : kTabla;
        rs->AgregarValores(V(catalogo), *esquema, *nombre,
                           TipoTablaOleDb(tipo, strCatalogo, *esquema, *nombre), V(descripcion),
                           QVariant(), QVariant());
    }
    return rs;
}

std::vector<CDialecto::CObjeto> CDialectoPostgreSQL::ObjetosLlamados(const QString& strTabla) {
    // A null schema would mean the search path, and the driver's pattern calls also answer for
    // indexes, sequences and types of that name: the server says which relations of that name
    // the tables function lists.
    std::vector<CObjeto> objetos;
    const QString sql =
        QStringLiteral("SELECT n.nspname FROM pg_catalog.pg_class c JOIN pg_catalog.pg_namespace n "
                       "ON n.oid = c.relnamespace WHERE c.relname = ? AND c.relkind IN "
                       "('r', 'v', 'm', 'f', 'p')") +
        SinSistema(QStringLiteral("n.nspname")) + QStringLiteral(" ORDER BY 1");
    CPreparada stmt(m_Cn, sql, {strTabla});
    const QString actual = m_Cn.CatalogoActual();
    while (stmt->Siguiente())
        objetos.push_back({actual.isEmpty() ? std::nullopt : std::optional<QString>(actual),
                           stmt->Texto(0), strTabla});
    return objetos;
}

namespace {

// The OLE DB number of a PostgreSQL type (a domain's base type), as the DBMS defines it: the
// types with no OLE DB number of their own travel as text, like every character type of this
// Unicode store.
int TipoOleDbPostgreSQL(const QString& strTipo, const QString& strCategoria) {
    static const QHash<QString, int> tipos{
        {QStringLiteral("bool"), 11},         {QStringLiteral("int2"), 2},
        {QStringLiteral("int4"), 3},          {QStringLiteral("oid"), 3},
        {QStringLiteral("int8"), 20},         {QStringLiteral("float4"), 4},
        {QStringLiteral("float8"), 5},        {QStringLiteral("money"), 5},
        {QStringLiteral("numeric"), 131},     {QStringLiteral("bytea"), 128},
        {QStringLiteral("date"), 133},        {QStringLiteral("time"), 134},
        {QStringLiteral("timetz"), 134},      {QStringLiteral("timestamp"), 135},
        {QStringLiteral("timestamptz"), 135}, {QStringLiteral("uuid"), 72}};
    if (strCategoria == QLatin1String("A"))
        return 130; // an array's elements travel as its text
    return tipos.value(strTipo, 130);
}

// The declared digits: the driver's for the fixed-size numbers, the type modifier's for numeric
// (none when it has none).
void PrecisionPostgreSQL(const QString& strTipo, int intModificador, QVariant& precision,
                         QVariant& escala) {
    static const QHash<QString, int> digitos{
        {QStringLiteral("int2"), 5},  {QStringLiteral("int4"), 10},  {QStringLiteral("oid"), 10},
        {QStringLiteral("int8"), 19}, {QStringLiteral("float4"), 9}, {QStringLiteral("float8"), 17},
        {QStringLiteral("money"), 10}};
    if (strTipo == QLatin1String("numeric")) {
        if (intModificador >= 4) {
            precision = ((intModificador - 4) >> 16) & 0xffff;
            escala = (intModificador - 4) & 0xffff;
        }
        return;
    }
    const auto it = digitos.constFind(strTipo);
    if (it != digitos.constEnd())
        precision = *it;
}

// CHARACTER_MAXIMUM_LENGTH as information_schema gives it: declared lengths only.
QVariant LongitudPostgreSQL(const QString& strTipo, int intModificador) {
    if (strTipo == QLatin1String("char"))
        return 1;
    if ((strTipo == QLatin1String("bpchar") || strTipo == QLatin1String("varchar")) &&
        intModificador > 4)
        return intModificador - 4;
    if ((strTipo == QLatin1String("bit") || strTipo == QLatin1String("varbit")) &&
        intModificador > 0)
        return intModificador;
    return {};
}

} // namespace

QString CDialectoPostgreSQL::ConsultaColumnas(const QString& strCondicion) const {
    // A domain is its base type with its own modifier and NOT NULL; a generated column's
    // expression is no default. A default cannot name a column, so it is deparsed without its
    // table (0), which spares a lookup of the table per column; a comment is joined rather than
    // asked for per column (col_description): together two thirds of the query's time.
    return QStringLiteral(
               "SELECT pg_catalog.current_database(), n.nspname, c.relname, a.attname, "
               "CASE WHEN a.attgenerated = '' THEN pg_catalog.pg_get_expr(d.adbin, 0) END, "
               "(NOT (a.attnotnull OR (t.typtype = 'd' AND t.typnotnull)))::int, "
               "COALESCE(b.typname, t.typname), COALESCE(b.typcategory, t.typcategory), "
               "CASE WHEN t.typtype = 'd' AND a.atttypmod < 0 THEN t.typtypmod ELSE a.atttypmod "
               "END, ds.description, t.typname "
               "FROM pg_catalog.pg_attribute a "
               "JOIN pg_catalog.pg_class c ON c.oid = a.attrelid "
               "JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace "
               "JOIN pg_catalog.pg_type t ON t.oid = a.atttypid "
               "LEFT JOIN pg_catalog.pg_type b ON t.typtype = 'd' AND b.oid = t.typbasetype "
               "LEFT JOIN pg_catalog.pg_attrdef d ON d.adrelid = a.attrelid AND d.adnum = "
               "a.attnum "
               "LEFT JOIN pg_catalog.pg_description ds ON ds.objoid = c.oid AND ds.classoid = "
               "'pg_catalog.pg_class'::pg_catalog.regclass AND ds.objsubid = a.attnum "
               "WHERE a.attnum > 0 AND NOT a.attisdropped AND c.relkind IN ('r', 'v', 'm', 'f', "
               "'p')") +
           SinSistema(QStringLiteral("n.nspname")) + strCondicion +
           QStringLiteral(" ORDER BY n.nspname, c.relname, a.attnum");
}

bool CDialectoPostgreSQL::AgregarColumnasDelServidor(COdbcSentencia& stmt, CRecordset& rs,
                                                     const QSet<QString>* filtro,
                                                     const std::function<bool()>* fnSeguir) {
    constexpr unsigned kFilasEntreLlamadas = 256;
    unsigned leidas = 0;
    // Rows come grouped by table: the names of the row before are shared, not built again.
    std::optional<QString> catalogo, esquema, tabla, tipo, categoria, declarado;
    std::optional<QString> esquemaAnterior, tablaAnterior;
    bool admitida = true;
    int posicion = 0;
    while (stmt.Siguiente()) {
        if (fnSeguir && ++leidas % kFilasEntreLlamadas == 0 && !(*fnSeguir)())
            return false;
        stmt.Texto(0, &catalogo);
        stmt.Texto(1, &esquema);
        stmt.Texto(2, &tabla);
        if (esquema != esquemaAnterior || tabla != tablaAnterior) {
            esquemaAnterior = esquema;
            tablaAnterior = tabla;
            admitida = !filtro || filtro->contains(Clave(catalogo, esquema, *tabla));
            posicion = 0;
        }
        if (!admitida)
            continue;
        const auto columna = stmt.Texto(3);
        const auto defecto = stmt.Texto(4);
        const auto nulos = stmt.Entero(5);
        stmt.Texto(6, &tipo);
        stmt.Texto(7, &categoria);
        const int modificador = static_cast<int>(stmt.Entero(8).value_or(-1));
        const auto descripcion = Normal(stmt.Texto(9));
        stmt.Texto(10, &declarado);
        const QString base = tipo.value_or(QString());
        QVariant precision, escala;
        PrecisionPostgreSQL(base, modificador, precision, escala);
        rs.AgregarValores(
            V(catalogo), V(esquema), V(tabla), V(columna), ++posicion, defecto.has_value(),
            V(defecto), nulos ? QVariant(*nulos != 0) : QVariant(),
            TipoOleDbPostgreSQL(base, categoria.value_or(QString())),
            LongitudPostgreSQL(base, modificador), precision, escala, V(descripcion), V(declarado));
    }
    return true;
}

PRecordset CDialectoPostgreSQL::Columnas(const QString& strTabla) {
    PRecordset rs = RowsetColumnas();
    CPreparada stmt(m_Cn, ConsultaColumnas(QStringLiteral(" AND c.relname = ?")), {strTabla});
    AgregarColumnasDelServidor(*stmt.operator->(), *rs, nullptr, nullptr);
    return rs;
}

PRecordset CDialectoPostgreSQL::ColumnasTodas(const std::function<bool()>* fnSeguir,
                                              const CRecordset* tablasLeidas,
                                              const QStringList& columnas) {
    PRecordset rs = RowsetColumnasTodas(columnas);
    // Exactly the objects of the tables rowset, as the driver lists them.
    const QSet<QString> tablas = ClavesDeTablas(tablasLeidas);
    rs->Reservar(static_cast<std::size_t>(tablas.size()) * 10);
    const bool completa = PorPaginas(
        QStringLiteral("SELECT n.nspname, c.relname FROM pg_catalog.pg_class c JOIN "
                       "pg_catalog.pg_namespace n ON n.oid = c.relnamespace WHERE c.relkind IN "
                       "('r', 'v', 'm', 'f', 'p')") +
            SinSistema(QStringLiteral("n.nspname")) + QStringLiteral(" ORDER BY 1, 2"),
        [&](const QStringList& desde, const QStringList& hasta) {
            QString condicion =
                QStringLiteral(" AND (n.nspname, c.relname) >= (CAST(? AS name), CAST(? AS name))");
            if (!hasta.isEmpty())
                condicion += QStringLiteral(
                    " AND (n.nspname, c.relname) < (CAST(? AS name), CAST(? AS name))");
            CPreparada stmt(m_Cn, ConsultaColumnas(condicion), desde + hasta);
            return AgregarColumnasDelServidor(*stmt.operator->(), *rs, &tablas, fnSeguir);
        });
    if (!completa)
        return nullptr;
    return rs;
}

bool CDialectoPostgreSQL::ProcedimientoOculto(const std::optional<QString>& esquema) const {
    // The driver's all-null call lists every pg_catalog function.
    return !m_Cn.MuestraSistema() && esquema && EsDeSistema(QString(), *esquema, QString());
}

void CDialectoPostgreSQL::CompletarProcedimientos(CRecordset& rs) {
    // The driver leaves the catalogue empty: it is the connection's database.
    const QString actual = m_Cn.CatalogoActual();
    // It also calls functions and procedures alike "procedure", and leaves comments out;
    // pg_proc has one row per signature, handed to the driver's rows of that name in turn.
    COdbcSentencia stmt(m_Cn);
    stmt.Ejecutar(
        QStringLiteral("SELECT n.nspname, p.proname, p.prokind, pg_catalog.obj_description(p.oid, "
                       "'pg_proc') FROM pg_catalog.pg_proc p JOIN pg_catalog.pg_namespace n ON "
                       "n.oid = p.pronamespace%1 ORDER BY 1, 2, 3, p.oid")
            .arg(m_Cn.MuestraSistema()
                     ? QString()
                     : QStringLiteral(
                           " WHERE n.nspname NOT IN ('pg_catalog', 'information_schema')")));
    QHash<QString, std::vector<std::pair<int, QVariant>>> firmas;
    while (stmt.Siguiente()) {
        const QString clave =
            stmt.Texto(0).value_or(QString()) + QChar(0x1f) + stmt.Texto(1).value_or(QString());
        const int tipo = stmt.Texto(2) == QLatin1String("p") ? 2 : 3;
        firmas[clave].emplace_back(tipo, V(Normal(stmt.Texto(3))));
    }
    QHash<QString, std::size_t> usadas;
    for (std::size_t i = 0; i < static_cast<std::size_t>(rs.NumeroFilas()); ++i) {
        if (CRecordset::EsNulo(rs.ValorEn(i, procedimientos::Catalogo)) && !actual.isEmpty())
            rs.PonerValor(i, procedimientos::Catalogo, actual);
        const QString clave = rs.ValorEn(i, procedimientos::Esquema).toString() + QChar(0x1f) +
                              rs.ValorEn(i, procedimientos::Nombre).toString();
        const auto it = firmas.constFind(clave);
        std::size_t& n = usadas[clave];
        if (it == firmas.constEnd() || n >= it->size()) {
            rs.PonerValor(i, procedimientos::Tipo, 1);
            continue;
        }
        const auto& [tipo, descripcion] = (*it)[n++];
        rs.PonerValor(i, procedimientos::Tipo, tipo);
        if (!CRecordset::EsNulo(descripcion))
            rs.PonerValor(i, procedimientos::Descripcion, descripcion);
    }
}

PRecordset CDialectoPostgreSQL::ClavesAjenas() {
    // The driver manager refuses a call without a table, and one call per table costs six round
    // trips: one read of pg_catalog (the catalogue the driver itself reads, so the same keys
    // appear) gives every key at once.
    PRecordset rs = RowsetClavesAjenas();
    COdbcSentencia stmt(m_Cn);
    stmt.Ejecutar(QStringLiteral("SELECT current_database(), pn.nspname, pc.relname, pa.attname, "
                                 "current_database(), fn.nspname, "
                                 "fc.relname, fa.attname, k.i, "
                                 "CASE c.confupdtype WHEN 'c' THEN 0 WHEN 'r' THEN 1 WHEN 'n' THEN "
                                 "2 WHEN 'a' THEN 3 WHEN 'd' THEN 4 END, "
                                 "CASE c.confdeltype WHEN 'c' THEN 0 WHEN 'r' THEN 1 WHEN 'n' THEN "
                                 "2 WHEN 'a' THEN 3 WHEN 'd' THEN 4 END, "
                                 "c.conname, ic.relname "
                                 "FROM pg_catalog.pg_constraint c "
                                 "JOIN pg_catalog.pg_class fc ON fc.oid = c.conrelid "
                                 "JOIN pg_catalog.pg_namespace fn ON fn.oid = fc.relnamespace "
                                 "JOIN pg_catalog.pg_class pc ON pc.oid = c.confrelid "
                                 "JOIN pg_catalog.pg_namespace pn ON pn.oid = pc.relnamespace "
                                 "CROSS JOIN LATERAL generate_subscripts(c.conkey, 1) AS k(i) "
                                 "JOIN pg_catalog.pg_attribute fa ON fa.attrelid = c.conrelid AND "
                                 "fa.attnum = c.conkey[k.i] "
                                 "JOIN pg_catalog.pg_attribute pa ON pa.attrelid = c.confrelid AND "
                                 "pa.attnum = c.confkey[k.i] "
                                 "LEFT JOIN pg_catalog.pg_class ic ON ic.oid = c.conindid "
                                 "WHERE c.contype = 'f'%1 "
                                 "ORDER BY fn.nspname, fc.relname, c.conname, k.i")
                      .arg(SinSistema(QStringLiteral("fn.nspname"))));
    while (stmt.Siguiente())
        rs->AgregarFila(FilaClaveAjena(stmt));
    return rs;
}

PRecordset CDialectoPostgreSQL::IndicesDonde(const QString& strCondicion,
                                             const QStringList& parametros) {
    // Two driver calls per table otherwise. Key columns only (INCLUDE columns are not part of
    // the key); an expression stands in its own text; a method that keeps no order (hash, GIN)
    // has no sort direction.
    PRecordset rs = RowsetIndices();
    CPreparada stmt(
        m_Cn,
        QStringLiteral(
            "SELECT current_database(), n.nspname, t.relname, i.relname, x.indisprimary::int, "
            "x.indisunique::int, x.indisclustered::int, "
            "CASE am.amname WHEN 'btree' THEN 1 WHEN 'hash' THEN 2 ELSE 4 END, k.i, "
            "COALESCE(a.attname, pg_catalog.pg_get_indexdef(x.indexrelid, k.i, true)), "
            "CASE WHEN NOT pg_catalog.pg_indexam_has_property(am.oid, 'can_order') THEN NULL "
            "WHEN x.indoption[k.i - 1] & 1 = 1 THEN 2 ELSE 1 END, "
            "i.relpages::int8, pg_catalog.pg_get_expr(x.indpred, x.indrelid, true) "
            "FROM pg_catalog.pg_index x "
            "JOIN pg_catalog.pg_class i ON i.oid = x.indexrelid "
            "JOIN pg_catalog.pg_class t ON t.oid = x.indrelid "
            "JOIN pg_catalog.pg_namespace n ON n.oid = t.relnamespace "
            "JOIN pg_catalog.pg_am am ON am.oid = i.relam "
            "CROSS JOIN LATERAL generate_series(1, x.indnkeyatts) AS k(i) "
            "LEFT JOIN pg_catalog.pg_attribute a ON a.attrelid = x.indrelid AND "
            "a.attnum = x.indkey[k.i - 1] AND a.attnum > 0 "
            "WHERE t.relkind IN ('r', 'm', 'p')%1%2 "
            "ORDER BY n.nspname, t.relname, x.%3 DESC, i.relname, k.i")
            .arg(SinSistema(QStringLiteral("n.nspname")), strCondicion,
                 strCondicion.isEmpty() ? QStringLiteral("indisunique")
                                        : QStringLiteral("indisprimary")),
        parametros);
    while (stmt->Siguiente()) {
        CRecordset::Fila fila;
        fila.reserve(14);
        for (int c = 0; c < 4; ++c)
            fila.push_back(V(Normal(stmt->Texto(c))));
        for (int c = 4; c < 7; ++c)
            fila.push_back(stmt->Entero(c).value_or(0) != 0);
        fila.push_back(VInt(stmt->Entero(7)));
        fila.push_back(VInt(stmt->Entero(8)));
        fila.push_back(V(stmt->Texto(9)));
        fila.push_back(VInt(stmt->Entero(10)));
        fila.push_back(QVariant()); // CARDINALITY: the driver gives none either
        fila.push_back(V(stmt->Entero(11)));
        fila.push_back(V(stmt->Texto(12)));
        rs->AgregarFila(std::move(fila));
    }
    return rs;
}

// One table's indexes come as the driver gave them, the primary key first and the others by
// name; every table's, the unique ones first, as the other DBMSs give them.
PRecordset CDialectoPostgreSQL::Indices(const QString& strTabla) {
    return IndicesDonde(QStringLiteral(" AND t.relname = ?"), {strTabla});
}

PRecordset CDialectoPostgreSQL::IndicesTodos() {
    return IndicesDonde(QString(), {});
}

PRecordset CDialectoPostgreSQL::PalabrasClave() {
    PRecordset rs = CDialecto::PalabrasClave();
    if (rs->NumeroFilas() > 0)
        return rs;
    // The driver gives no list; the server knows its own words (the unreserved ones are no
    // trouble as names).
    COdbcSentencia stmt(m_Cn);
    stmt.Ejecutar(QStringLiteral("SELECT upper(word) FROM pg_catalog.pg_get_keywords() WHERE "
                                 "catcode <> 'U' ORDER BY word"));
    while (stmt.Siguiente())
        if (const auto p = stmt.Texto(0))
            rs->AgregarValores(*p);
    return rs;
}

// ---------------------------------------------------------------------------------------------
// Row counts: the planner's estimate in pg_class, which any role may read and which runs
// nothing. A base table never analysed (reltuples -1) is counted exactly, bounded in time,
// unless row security could run a policy's functions; views, materialized views, foreign and
// other relations are null.

QString CDialectoPostgreSQL::ConsultaRecuentos(const QString& strCondicion) const {
    // A table never analysed has no statistic; when its file is empty it holds no row, and only
    // the others need counting.
    return QStringLiteral(
               "SELECT current_database(), n.nspname, c.relname, (c.relkind IN "
               "('r', 'p'))::int, CASE WHEN c.reltuples < 0 AND c.relkind = 'r' AND "
               "pg_catalog.pg_relation_size(c.oid) = 0 THEN 0 ELSE c.reltuples END::float8, "
               "c.relrowsecurity::int FROM pg_catalog.pg_class c JOIN "
               "pg_catalog.pg_namespace n ON n.oid = c.relnamespace WHERE c.relkind "
               "IN ('r', 'v', 'm', 'f', 'p')") +
           strCondicion + SinSistema(QStringLiteral("n.nspname")) +
           QStringLiteral(" ORDER BY 2, 3");
}

void CDialectoPostgreSQL::AgregarRecuentos(COdbcSentencia& stmt, CRecordset& rs) {
    std::vector<std::pair<std::size_t, CObjeto>> porContar;
    while (stmt.Siguiente()) {
        const auto catalogo = Normal(stmt.Texto(0));
        const auto esquema = stmt.Texto(1);
        const auto nombre = stmt.Texto(2).value_or(QString());
        const bool base = stmt.Entero(3).value_or(0) != 0;
        const QVariant estimadas = stmt.Valor(4);
        const bool seguridad = stmt.Entero(5).value_or(0) != 0;
        QVariant cardinalidad;
        if (base && !CRecordset::EsNulo(estimadas)) {
            const double n = estimadas.toDouble();
            if (n >= 0)
                cardinalidad = static_cast<qlonglong>(std::llround(n));
            else if (!seguridad)
                porContar.push_back(
                    {static_cast<std::size_t>(rs.NumeroFilas()), {catalogo, esquema, nombre}});
        }
        rs.AgregarValores(V(catalogo), V(esquema), nombre, cardinalidad);
    }
    stmt.Cerrar();
    for (const auto& [fila, objeto] : porContar)
        rs.PonerValor(fila, 3, ContarConPlazo(objeto));
}

PRecordset CDialectoPostgreSQL::Estadisticas(const QString& strTabla) {
    PRecordset rs = RowsetEstadisticas();
    CPreparada stmt(m_Cn, ConsultaRecuentos(QStringLiteral(" AND c.relname = ?")), {strTabla});
    AgregarRecuentos(*stmt.operator->(), *rs);
    return rs;
}

PRecordset CDialectoPostgreSQL::EstadisticasTodas() {
    PRecordset rs = RowsetEstadisticas();
    COdbcSentencia stmt(m_Cn);
    stmt.Ejecutar(ConsultaRecuentos(QString()));
    AgregarRecuentos(stmt, *rs);
    return rs;
}

// The driver lists char first for every character number.
QString CDialectoPostgreSQL::TipoPreferido(int intTipoOleDb) const {
    if (intTipoOleDb == 129 || intTipoOleDb == 130)
        return QStringLiteral("varchar");
    return intTipoOleDb == 135 ? QStringLiteral("timestamp") : QString();
}

// The driver names both of its timestamp rows timestamptz; the first is the one without a time
// zone (the server's timestamp).
void CDialectoPostgreSQL::CompletarTipos(CRecordset& rs) {
    for (std::size_t i = 0; i < static_cast<std::size_t>(rs.NumeroFilas()); ++i)
        if (rs.ValorEn(i, 0).toString() == QLatin1String("timestamptz")) {
            rs.PonerValor(i, 0, QStringLiteral("timestamp"));
            return;
        }
}
