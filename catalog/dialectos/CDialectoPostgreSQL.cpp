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

PRecordset CDialectoPostgreSQL::Tablas() {
    PRecordset rs = TablasDelControlador();
    if (rs->NumeroFilas() == 0)
        return rs;
    // The driver answers an empty REMARKS even for a commented table.
    CPreparada stmt(
        m_Cn, QStringLiteral(
                  "SELECT n.nspname, c.relname, d.description FROM pg_catalog.pg_description d "
                  "JOIN pg_catalog.pg_class c ON c.oid = d.objoid AND d.classoid = "
                  "'pg_catalog.pg_class'::regclass AND d.objsubid = 0 "
                  "JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace"));
    QHash<QString, QString> comentarios;
    while (stmt->Siguiente()) {
        const QString clave =
            stmt->Texto(0).value_or(QString()) + QChar(0x1f) + stmt->Texto(1).value_or(QString());
        comentarios.insert(clave, stmt->Texto(2).value_or(QString()));
    }
    for (std::size_t i = 0;
         i < static_cast<std::size_t>(rs->NumeroFilas()) && !comentarios.isEmpty(); ++i) {
        const auto it =
            comentarios.constFind(rs->ValorEn(i, tablas::Esquema).toString() + QChar(0x1f) +
                                  rs->ValorEn(i, tablas::Nombre).toString());
        if (it != comentarios.constEnd() && !it->isEmpty())
            rs->PonerValor(i, tablas::Descripcion, *it);
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

void CDialectoPostgreSQL::LeerDefecto(COdbcSentencia& stmt, CColumnaLeida& col, std::size_t fila) {
    // psqlodbc answers the word TRUNCATE for a default too long for it; its extra columns say
    // where to read the real one ("PHYSICAL NUMBER", "TABLE OID").
    if (col.defecto != QLatin1String("TRUNCATE") || stmt.NumeroColumnas() <= 22)
        return;
    const auto numero = stmt.Entero(21);
    const auto oid = stmt.Entero(22);
    if (numero && oid)
        m_DefectosCortados.push_back({fila, *oid, *numero});
}

void CDialectoPostgreSQL::CompletarColumnas(CRecordset& rs, const std::optional<QString>&) {
    if (m_DefectosCortados.empty())
        return;
    QStringList pares;
    for (const CDefectoCortado& d : m_DefectosCortados)
        pares << QStringLiteral("(%1, %2)").arg(d.oid).arg(d.numero);
    COdbcSentencia stmt(m_Cn);
    stmt.Ejecutar(
        QStringLiteral("SELECT adrelid::bigint, adnum, pg_catalog.pg_get_expr(adbin, adrelid) FROM "
                       "pg_catalog.pg_attrdef WHERE (adrelid::bigint, adnum) IN (%1)")
            .arg(pares.join(QStringLiteral(", "))));
    QHash<QString, QString> defectos;
    while (stmt.Siguiente()) {
        const auto oid = stmt.Entero(0);
        const auto numero = stmt.Entero(1);
        defectos.insert(QStringLiteral("%1/%2").arg(oid.value_or(0)).arg(numero.value_or(0)),
                        stmt.Texto(2).value_or(QString()));
    }
    for (const CDefectoCortado& d : m_DefectosCortados) {
        const auto it = defectos.constFind(QStringLiteral("%1/%2").arg(d.oid).arg(d.numero));
        if (it != defectos.constEnd())
            rs.PonerValor(d.fila, columnas::Defecto, *it);
    }
    m_DefectosCortados.clear();
}

bool CDialectoPostgreSQL::ProcedimientoOculto(const std::optional<QString>& esquema) const {
    // The driver's all-null call lists every pg_catalog function.
    return !m_Cn.MuestraSistema() && esquema && EsDeSistema(QString(), *esquema, QString());
}

void CDialectoPostgreSQL::CompletarProcedimientos(CRecordset& rs) {
    // The driver leaves the catalogue empty: it is the connection's database.
    const QString actual = m_Cn.CatalogoActual();
    // It also calls functions and procedures alike "procedure"; pg_proc tells them apart.
    COdbcSentencia stmt(m_Cn);
    stmt.Ejecutar(
        QStringLiteral("SELECT n.nspname, p.proname, p.prokind FROM pg_catalog.pg_proc p "
                       "JOIN pg_catalog.pg_namespace n ON n.oid = p.pronamespace%1")
            .arg(m_Cn.MuestraSistema()
                     ? QString()
                     : QStringLiteral(
                           " WHERE n.nspname NOT IN ('pg_catalog', 'information_schema')")));
    QHash<QString, int> clases; // bit 1: procedure, bit 2: function
    while (stmt.Siguiente()) {
        const QString clave =
            stmt.Texto(0).value_or(QString()) + QChar(0x1f) + stmt.Texto(1).value_or(QString());
        clases[clave] |= stmt.Texto(2) == QLatin1String("p") ? 1 : 2;
    }
    for (std::size_t i = 0; i < static_cast<std::size_t>(rs.NumeroFilas()); ++i) {
        if (CRecordset::EsNulo(rs.ValorEn(i, procedimientos::Catalogo)) && !actual.isEmpty())
            rs.PonerValor(i, procedimientos::Catalogo, actual);
        const int c = clases.value(rs.ValorEn(i, procedimientos::Esquema).toString() + QChar(0x1f) +
                                   rs.ValorEn(i, procedimientos::Nombre).toString());
        rs.PonerValor(i, procedimientos::Tipo, c == 1 ? 2 : c == 2 ? 3 : 1);
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

PRecordset CDialectoPostgreSQL::IndicesTodos() {
    // Two driver calls per table otherwise. Key columns only (INCLUDE columns are not part of
    // the key); an expression stands in its own text; a method that keeps no order (hash, GIN)
    // has no sort direction.
    PRecordset rs = RowsetIndices();
    COdbcSentencia stmt(m_Cn);
    stmt.Ejecutar(
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
            "WHERE t.relkind IN ('r', 'm', 'p')%1 "
            "ORDER BY n.nspname, t.relname, x.indisunique DESC, i.relname, k.i")
            .arg(SinSistema(QStringLiteral("n.nspname"))));
    while (stmt.Siguiente()) {
        CRecordset::Fila fila;
        fila.reserve(14);
        for (int c = 0; c < 4; ++c)
            fila.push_back(V(Normal(stmt.Texto(c))));
        for (int c = 4; c < 7; ++c)
            fila.push_back(stmt.Entero(c).value_or(0) != 0);
        fila.push_back(VInt(stmt.Entero(7)));
        fila.push_back(VInt(stmt.Entero(8)));
        fila.push_back(V(stmt.Texto(9)));
        fila.push_back(VInt(stmt.Entero(10)));
        fila.push_back(QVariant()); // CARDINALITY: the driver gives none either
        fila.push_back(V(stmt.Entero(11)));
        fila.push_back(V(stmt.Texto(12)));
        rs->AgregarFila(std::move(fila));
    }
    return rs;
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
    return QStringLiteral("SELECT current_database(), n.nspname, c.relname, (c.relkind IN "
                          "('r', 'p'))::int, c.reltuples::float8, c.relrowsecurity::int FROM "
                          "pg_catalog.pg_class c JOIN "
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

// The driver lists char first for every character number. (Its two timestamp rows are both
// named timestamptz, so that one stays.)
QString CDialectoPostgreSQL::TipoPreferido(int intTipoOleDb) const {
    return intTipoOleDb == 129 || intTipoOleDb == 130 ? QStringLiteral("varchar") : QString();
}
