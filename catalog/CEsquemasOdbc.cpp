#include "catalog/CEsquemasOdbc.h"

#include "catalog/COdbcSentencia.h"
#include "comun/CError.h"

#include <QDateTime>
#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <array>

using Motor = COdbcConexion::Motor;
using Argumento = COdbcSentencia::Argumento;

namespace {

// Column positions of the rowsets built here.
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
    Descripcion
};
}
namespace indices {
enum {
    Catalogo,
    Esquema,
    Tabla,
    Nombre,
    Primario,
    Unico,
    Agrupado,
    Tipo,
    Posicion,
    Columna,
    Orden,
    Cardinalidad,
    Paginas,
    Filtro
};
}

const QStringList kColumnasTablas{"TABLE_CATALOG", "TABLE_SCHEMA", "TABLE_NAME",   "TABLE_TYPE",
                                  "DESCRIPTION",   "DATE_CREATED", "DATE_MODIFIED"};
const QStringList kColumnasColumnas{
    "TABLE_CATALOG",     "TABLE_SCHEMA",   "TABLE_NAME",  "COLUMN_NAME", "ORDINAL_POSITION",
    "COLUMN_HASDEFAULT", "COLUMN_DEFAULT", "IS_NULLABLE", "DATA_TYPE",   "CHARACTER_MAXIMUM_LENGTH",
    "NUMERIC_PRECISION", "NUMERIC_SCALE",  "DESCRIPTION"};
const QStringList kColumnasIndices{
    "TABLE_CATALOG", "TABLE_SCHEMA", "TABLE_NAME", "INDEX_NAME",       "PRIMARY_KEY",
    "UNIQUE",        "CLUSTERED",    "TYPE",       "ORDINAL_POSITION", "COLUMN_NAME",
    "COLLATION",     "CARDINALITY",  "PAGES",      "FILTER_CONDITION"};

QVariant V(const std::optional<QString>& t) {
    return t ? QVariant(*t) : QVariant();
}
QVariant V(const std::optional<qlonglong>& n) {
    return n ? QVariant(*n) : QVariant();
}
QVariant VInt(const std::optional<qlonglong>& n) {
    return n ? QVariant(static_cast<int>(*n)) : QVariant();
}

// Catalogue and schema: an empty text means none, as a null does.
std::optional<QString> Normal(std::optional<QString> t) {
    if (t && t->isEmpty())
        return std::nullopt;
    return t;
}

QString Clave(const std::optional<QString>& c, const std::optional<QString>& e, const QString& n) {
    return (c ? *c : QStringLiteral("\x01")) + QChar(0x1f) + (e ? *e : QStringLiteral("\x01")) +
           QChar(0x1f) + n;
}

QString Clave(const QVariant& c, const QVariant& e, const QVariant& n) {
    return Clave(CRecordset::EsNulo(c) ? std::nullopt : std::optional<QString>(c.toString()),
                 CRecordset::EsNulo(e) ? std::nullopt : std::optional<QString>(e.toString()),
                 n.toString());
}

bool EsCaracter(int t) {
    return t == SQL_CHAR || t == SQL_VARCHAR || t == SQL_LONGVARCHAR || t == SQL_WCHAR ||
           t == SQL_WVARCHAR || t == SQL_WLONGVARCHAR;
}
bool EsBinario(int t) {
    return t == SQL_BINARY || t == SQL_VARBINARY || t == SQL_LONGVARBINARY;
}
// SQLite's driver calls a declared DECIMAL a VARCHAR and a NUMERIC a DOUBLE, with the scale
// as their size; the declared type is the exact number it names.
int TipoDeclaradoSQLite(const QString& strTipo, int intTipoOdbc) {
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

bool EsNumerico(int t) {
    return t == SQL_NUMERIC || t == SQL_DECIMAL || t == SQL_SMALLINT || t == SQL_INTEGER ||
           t == SQL_REAL || t == SQL_FLOAT || t == SQL_DOUBLE || t == SQL_TINYINT ||
           t == SQL_BIGINT;
}

QString Regla(const std::optional<qlonglong>& r) {
    if (!r)
        return {};
    switch (*r) {
    case SQL_CASCADE:
        return QStringLiteral("CASCADE");
    case SQL_RESTRICT:
        return QStringLiteral("RESTRICT");
    case SQL_SET_NULL:
        return QStringLiteral("SET NULL");
    case SQL_NO_ACTION:
        return QStringLiteral("NO ACTION");
    case SQL_SET_DEFAULT:
        return QStringLiteral("SET DEFAULT");
    default:
        return {};
    }
}

QVariant ReglaV(const std::optional<qlonglong>& r) {
    const QString t = Regla(r);
    return t.isEmpty() ? QVariant() : QVariant(t);
}

// One row of SQLForeignKeys' layout (FK_NAME before PK_NAME) in the rowset's order.
CRecordset::Fila FilaClaveAjena(COdbcSentencia& stmt) {
    CRecordset::Fila fila;
    fila.reserve(13);
    for (int i = 0; i < 8; ++i)
        fila.push_back(V(Normal(stmt.Texto(i))));
    fila.push_back(VInt(stmt.Entero(8)));
    fila.push_back(ReglaV(stmt.Entero(9)));
    fila.push_back(ReglaV(stmt.Entero(10)));
    const auto fk = Normal(stmt.Texto(11));
    fila.push_back(V(Normal(stmt.Texto(12))));
    fila.push_back(V(fk));
    return fila;
}

// A query the layer runs again and again (once per table, or on every call), prepared once per
// link and run here with its parameters; its cursor is closed when this goes.
class CPreparada {
public:
    CPreparada(COdbcConexion& cn, const QString& strSql, const QStringList& parametros = {})
        : m_Stmt(cn.Preparada(strSql)) {
        try {
            m_Stmt.EjecutarPreparada(parametros);
        } catch (...) {
            m_Stmt.Cerrar();
            throw;
        }
    }
    ~CPreparada() { m_Stmt.Cerrar(); }
    CPreparada(const CPreparada&) = delete;
    CPreparada& operator=(const CPreparada&) = delete;
    COdbcSentencia* operator->() { return &m_Stmt; }

private:
    COdbcSentencia& m_Stmt;
};

QVariant Booleano(const std::optional<qlonglong>& n) {
    return n ? QVariant(*n != 0) : QVariant();
}

} // namespace

int CEsquemasOdbc::TipoOleDb(int intTipoOdbc, bool booSinSigno) {
    switch (intTipoOdbc) {
    case SQL_CHAR:
    case SQL_VARCHAR:
    case SQL_LONGVARCHAR:
        return 129;
    case SQL_WCHAR:
    case SQL_WVARCHAR:
    case SQL_WLONGVARCHAR:
        return 130;
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY:
        return 128;
    case SQL_NUMERIC:
    case SQL_DECIMAL:
        return 131;
    case SQL_SMALLINT:
        return 2;
    case SQL_INTEGER:
        return 3;
    case SQL_REAL:
        return 4;
    case SQL_FLOAT:
    case SQL_DOUBLE:
        return 5;
    case SQL_BIT:
        return 11;
    case SQL_TINYINT:
        return booSinSigno ? 17 : 16;
    case SQL_BIGINT:
        return 20;
    case SQL_GUID:
        return 72;
    case SQL_TYPE_DATE:
    case SQL_DATE:
        return 133;
    case SQL_TYPE_TIME:
    case SQL_TIME:
        return 134;
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP:
        return 135;
    default:
        // Intervals and driver-specific types have no OLE DB number of their own: their values
        // travel as text.
        if (intTipoOdbc >= SQL_INTERVAL_YEAR && intTipoOdbc <= SQL_INTERVAL_MINUTE_TO_SECOND)
            return 129;
        return 132;
    }
}

bool CEsquemasOdbc::EsquemaDeSistema(const QString& strEsquema) const {
    auto es = [&](QLatin1String nombre) {
        return strEsquema.compare(nombre, Qt::CaseInsensitive) == 0;
    };
    switch (m_Cn.MotorBD()) {
    case Motor::PostgreSQL:
        return es(QLatin1String("pg_catalog")) || es(QLatin1String("information_schema")) ||
               strEsquema.startsWith(QLatin1String("pg_toast"), Qt::CaseInsensitive);
    case Motor::MariaDB:
        return es(QLatin1String("information_schema")) || es(QLatin1String("mysql")) ||
               es(QLatin1String("performance_schema")) || es(QLatin1String("sys"));
    default:
        return false;
    }
}

QString CEsquemasOdbc::TipoTablaOleDb(const QString& strTipo, const QString& strEsquema,
                                      const QString& strNombre) const {
    // Shared constants: one table type per row must not cost an allocation.
    static const QString kTabla = QStringLiteral("TABLE"), kVista = QStringLiteral("VIEW"),
                         kVinculada = QStringLiteral("PASS-THROUGH"),
                         kTablaSistema = QStringLiteral("SYSTEM TABLE"),
                         kVistaSistema = QStringLiteral("SYSTEM VIEW");
    const QString& t = strTipo;
    auto es = [&](QLatin1String palabra) { return t.compare(palabra, Qt::CaseInsensitive) == 0; };
    const QString* tipo = nullptr;
    if (es(QLatin1String("TABLE")) || es(QLatin1String("BASE TABLE")))
        tipo = &kTabla;
    else if (es(QLatin1String("VIEW")) || es(QLatin1String("MATVIEW")) ||
             es(QLatin1String("MATERIALIZED VIEW")))
        tipo = &kVista;
    else if (es(QLatin1String("FOREIGN TABLE")))
        tipo = &kVinculada;
    else
        return strTipo.trimmed().toUpper();
    const bool sistema =
        m_Cn.MotorBD() == Motor::SQLite
            ? strNombre.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive)
            : EsquemaDeSistema(strEsquema); // MariaDB's databases come as catalogues
    if (sistema && tipo == &kTabla)
        return kTablaSistema;
    if (sistema && tipo == &kVista)
        return kVistaSistema;
    return *tipo;
}

QString CEsquemasOdbc::Literal(const QString& strTexto) const {
    QString t = strTexto;
    if (m_Cn.MotorBD() == Motor::MariaDB)
        t.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    t.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

QString CEsquemasOdbc::NombreCompleto(const CObjeto& objeto) const {
    QString nombre;
    const auto usoCatalogo = m_Cn.InfoLargo(SQL_CATALOG_USAGE).value_or(0);
    const auto usoEsquema = m_Cn.InfoLargo(SQL_SCHEMA_USAGE).value_or(0);
    const QString separador = m_Cn.InfoTexto(SQL_CATALOG_NAME_SEPARATOR);
    if (objeto.catalogo && (usoCatalogo & SQL_CU_DML_STATEMENTS) && !separador.isEmpty())
        nombre = m_Cn.Citar(*objeto.catalogo) + separador;
    if (objeto.esquema && (usoEsquema & SQL_SU_DML_STATEMENTS))
        nombre += m_Cn.Citar(*objeto.esquema) + QLatin1Char('.');
    return nombre + m_Cn.Citar(objeto.nombre);
}

// ---------------------------------------------------------------------------------------------
// TABLES

PRecordset CEsquemasOdbc::TablasDelControlador() {
    auto rs = std::make_unique<CRecordset>(kColumnasTablas);
    const Motor motor = m_Cn.MotorBD();
    // MariaDB's driver lists every database; the catalogue is the connection's own one.
    const QString actual = motor == Motor::MariaDB ? m_Cn.CatalogoActual() : QString();
    if (motor == Motor::MariaDB && actual.isEmpty())
        return rs;

    COdbcSentencia stmt(m_Cn);
    stmt.Tablas(std::nullopt, std::nullopt, std::nullopt, std::nullopt);
    std::optional<QString> catalogoAnterior, esquemaAnterior, tipoAnterior;
    while (stmt.Siguiente()) {
        const auto catalogo = Normal(stmt.Texto(0, &catalogoAnterior));
        if (motor == Motor::MariaDB && catalogo != actual)
            continue;
        const auto esquema = Normal(stmt.Texto(1, &esquemaAnterior));
        const auto nombre = stmt.Texto(2);
        if (!nombre)
            continue;
        const QString tipo = stmt.Texto(3, &tipoAnterior).value_or(QString());
        auto descripcion = Normal(stmt.Texto(4));
        // MariaDB's driver puts the word VIEW where a view's comment would be.
        if (motor == Motor::MariaDB && descripcion == QLatin1String("VIEW"))
            descripcion.reset();
        const QString esquemaSistema =
            motor == Motor::MariaDB ? catalogo.value_or(QString()) : esquema.value_or(QString());
        rs->AgregarValores(V(catalogo), V(esquema), *nombre,
                           TipoTablaOleDb(tipo, esquemaSistema, *nombre), V(descripcion),
                           QVariant(), QVariant());
    }
    return rs;
}

PRecordset CEsquemasOdbc::TablasMariaDB() {
    // MariaDB keeps creation and update times, which no catalogue function gives; the query
    // that reads them answers everything the driver's SQLTables would for this database, and
    // asking both would cost twice (each opens every table at 10,000 tables).
    auto rs = std::make_unique<CRecordset>(kColumnasTablas);
    const QString actual = m_Cn.CatalogoActual();
    if (actual.isEmpty())
        return rs;
    CPreparada stmt(
        m_Cn,
        QStringLiteral("SELECT TABLE_NAME, TABLE_TYPE, TABLE_COMMENT, CREATE_TIME, UPDATE_TIME "
                       "FROM information_schema.TABLES WHERE TABLE_SCHEMA = DATABASE() "
                       "ORDER BY TABLE_NAME"));
    std::optional<QString> tipoAnterior;
    while (stmt->Siguiente()) {
        const auto nombre = stmt->Texto(0);
        const QString tipo = stmt->Texto(1, &tipoAnterior).value_or(QString());
        auto descripcion = Normal(stmt->Texto(2));
        const QVariant creada = stmt->Valor(3);
        const QVariant modificada = stmt->Valor(4);
        if (!nombre)
            continue;
        // A view's comment is the word VIEW.
        if (descripcion == QLatin1String("VIEW") && tipo.endsWith(QLatin1String("VIEW")))
            descripcion.reset();
        rs->AgregarValores(actual, QVariant(), *nombre, TipoTablaOleDb(tipo, actual, *nombre),
                           V(descripcion), creada, modificada);
    }
    return rs;
}

PRecordset CEsquemasOdbc::Tablas() {
    const Motor motor = m_Cn.MotorBD();
    if (motor == Motor::MariaDB)
        return TablasMariaDB();
    PRecordset rs = TablasDelControlador();
    if (motor == Motor::PostgreSQL && rs->NumeroFilas() > 0) {
        // PostgreSQL's driver answers an empty REMARKS even for a commented table.
        CPreparada stmt(
            m_Cn, QStringLiteral(
                      "SELECT n.nspname, c.relname, d.description FROM pg_catalog.pg_description d "
                      "JOIN pg_catalog.pg_class c ON c.oid = d.objoid AND d.classoid = "
                      "'pg_catalog.pg_class'::regclass AND d.objsubid = 0 "
                      "JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace"));
        QHash<QString, QString> comentarios;
        while (stmt->Siguiente()) {
            const QString clave = stmt->Texto(0).value_or(QString()) + QChar(0x1f) +
                                  stmt->Texto(1).value_or(QString());
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
    }
    return rs;
}

std::vector<CEsquemasOdbc::CObjeto> CEsquemasOdbc::ObjetosLlamados(const QString& strTabla) {
    std::vector<CObjeto> objetos;
    switch (m_Cn.MotorBD()) {
    case Motor::SQLite:
        objetos.push_back({std::nullopt, std::nullopt, strTabla});
        return objetos;
    case Motor::MariaDB: {
        const QString actual = m_Cn.CatalogoActual();
        if (!actual.isEmpty())
            objetos.push_back({actual, std::nullopt, strTabla});
        return objetos;
    }
    default:
        break;
    }
    if (m_Cn.MotorBD() == Motor::PostgreSQL) {
        // A null schema would mean the search path, and the driver's pattern calls also answer
        // for indexes, sequences and types of that name: the server says which relations of that
        // name the tables function lists.
        QString sql = QStringLiteral(
            "SELECT n.nspname FROM pg_catalog.pg_class c JOIN pg_catalog.pg_namespace n "
            "ON n.oid = c.relnamespace WHERE c.relname = ? AND c.relkind IN "
            "('r', 'v', 'm', 'f', 'p')");
        if (!m_Cn.MuestraSistema())
            sql += QStringLiteral(
                " AND n.nspname NOT IN ('pg_catalog', 'information_schema') AND n.nspname NOT "
                "LIKE 'pg\\_toast%'");
        sql += QStringLiteral(" ORDER BY 1");
        CPreparada stmt(m_Cn, sql, {strTabla});
        const QString actual = m_Cn.CatalogoActual();
        while (stmt->Siguiente())
            objetos.push_back({actual.isEmpty() ? std::nullopt : std::optional<QString>(actual),
                               stmt->Texto(0), strTabla});
        return objetos;
    }
    COdbcSentencia stmt(m_Cn);
    stmt.Tablas(std::nullopt, std::nullopt, m_Cn.EscaparPatron(strTabla), std::nullopt);
    while (stmt.Siguiente()) {
        const auto catalogo = Normal(stmt.Texto(0));
        const auto esquema = Normal(stmt.Texto(1));
        const auto nombre = stmt.Texto(2);
        // Patterns match without regard to case on some drivers; the name is exact.
        if (nombre && *nombre == strTabla)
            objetos.push_back({catalogo, esquema, *nombre});
    }
    return objetos;
}

// ---------------------------------------------------------------------------------------------
// COLUMNS

bool CEsquemasOdbc::AgregarColumnas(COdbcSentencia& stmt, CRecordset& rs,
                                    const QSet<QString>* filtro,
                                    const std::function<bool()>* fnSeguir) {
    // Often enough for a cancel to be heard at once, seldom enough to cost nothing.
    constexpr unsigned kFilasEntreLlamadas = 256;
    unsigned leidas = 0;
    const Motor motor = m_Cn.MotorBD();
    const bool conIsNullable = stmt.NumeroColumnas() > 17;
    // Rows come grouped by table: the filter is decided once per table, and the names of the
    // row before are shared rather than built again.
    std::optional<QString> catalogoLeido, esquemaLeido, tablaLeida, tipoLeido;
    std::optional<QString> catalogoAnterior, esquemaAnterior;
    QString tablaAnterior;
    bool primera = true, admitida = true;
    int posicion = 0;
    while (stmt.Siguiente()) {
        if (fnSeguir && ++leidas % kFilasEntreLlamadas == 0 && !(*fnSeguir)())
            return false;
        const auto catalogo = Normal(stmt.Texto(0, &catalogoLeido));
        const auto esquema = Normal(stmt.Texto(1, &esquemaLeido));
        const QString tabla = stmt.Texto(2, &tablaLeida).value_or(QString());
        if (primera || tabla != tablaAnterior || esquema != esquemaAnterior ||
            catalogo != catalogoAnterior) {
            primera = false;
            catalogoAnterior = catalogo;
            esquemaAnterior = esquema;
            tablaAnterior = tabla;
            admitida = !filtro || filtro->contains(Clave(catalogo, esquema, tabla));
            // PostgreSQL's driver numbers the columns across the whole result, not per table.
            posicion = 0;
        }
        if (!admitida)
            continue;
        const auto columna = stmt.Texto(3);
        int tipoOdbc = static_cast<int>(stmt.Entero(4).value_or(0));
        const QString nombreTipo = stmt.Texto(5, &tipoLeido).value_or(QString());
        if (motor == Motor::SQLite)
            tipoOdbc = TipoDeclaradoSQLite(nombreTipo, tipoOdbc);
        const auto tamano = stmt.Entero(6);
        const auto decimales = stmt.Entero(8);
        const auto nulos = stmt.Entero(10);
        const auto descripcion = Normal(stmt.Texto(11));
        auto defecto = stmt.Texto(12);
        const auto ordinal = stmt.Entero(16);
        const auto esNulo = conIsNullable ? stmt.Texto(17) : std::nullopt;
        // psqlodbc answers the word TRUNCATE for a default too long for it; its extra columns
        // say where to read the real one ("PHYSICAL NUMBER", "TABLE OID").
        if (motor == Motor::PostgreSQL && defecto == QLatin1String("TRUNCATE") &&
            stmt.NumeroColumnas() > 22) {
            const auto numero = stmt.Entero(21);
            const auto oid = stmt.Entero(22);
            if (numero && oid)
                m_DefectosCortados.push_back(
                    {static_cast<std::size_t>(rs.NumeroFilas()), *oid, *numero});
        }

        ++posicion;
        const QVariant ordinalV = motor == Motor::PostgreSQL ? QVariant(posicion) : VInt(ordinal);

        // SQLite and MariaDB give the bare text NULL for "no default".
        bool defectoNuloTexto = false;
        if ((motor == Motor::SQLite || motor == Motor::MariaDB) &&
            defecto == QLatin1String("NULL")) {
            defecto.reset();
            defectoNuloTexto = true;
        }
        QVariant admiteNulos;
        if (esNulo == QLatin1String("YES"))
            admiteNulos = true;
        else if (esNulo == QLatin1String("NO"))
            admiteNulos = false;
        else if (nulos == SQL_NULLABLE)
            admiteNulos = true;
        else if (nulos == SQL_NO_NULLS)
            admiteNulos = false;
        if (motor == Motor::MariaDB && admiteNulos == QVariant(true) && !defectoNuloTexto &&
            (!defecto || tipoOdbc == SQL_TYPE_TIMESTAMP || tipoOdbc == SQL_TIMESTAMP))
            m_Sospechosas.push_back(static_cast<std::size_t>(rs.NumeroFilas()));

        const bool sinSigno = nombreTipo.contains(QLatin1String("unsigned"), Qt::CaseInsensitive);
        QVariant longitud, precision, escala;
        if ((EsCaracter(tipoOdbc) || EsBinario(tipoOdbc)) && tamano && *tamano > 0)
            longitud = *tamano;
        if (EsNumerico(tipoOdbc)) {
            if (tamano && *tamano > 0)
                precision = static_cast<int>(*tamano);
            if ((tipoOdbc == SQL_NUMERIC || tipoOdbc == SQL_DECIMAL) && decimales)
                escala = static_cast<int>(*decimales);
            if (motor == Motor::SQLite) {
                // SQLite's driver fills sizes and digits with junk; the declared type has them.
                static const QRegularExpression re(
                    QStringLiteral("\\(\\s*(\\d+)\\s*(?:,\\s*(\\d+)\\s*)?\\)"));
                const auto m = nombreTipo.contains(QLatin1Char('(')) ? re.match(nombreTipo)
                                                                     : QRegularExpressionMatch();
                const bool exacto = tipoOdbc == SQL_NUMERIC || tipoOdbc == SQL_DECIMAL;
                if (m.hasMatch()) {
                    precision = m.captured(1).toInt();
                    // DECIMAL(p) is DECIMAL(p, 0).
                    escala = !m.captured(2).isEmpty() ? QVariant(m.captured(2).toInt())
                             : exacto                 ? QVariant(0)
                                                      : QVariant();
                } else {
                    escala = QVariant();
                    if (exacto)
                        precision = QVariant(); // no declared digits: none to tell
                }
            }
        }

        rs.AgregarValores(V(catalogo), V(esquema), tabla, V(columna), ordinalV,
                          QVariant(defecto.has_value()), V(defecto), admiteNulos,
                          TipoOleDb(tipoOdbc, sinSigno), longitud, precision, escala,
                          V(descripcion));
    }
    return true;
}

void CEsquemasOdbc::CorregirDefectosPostgres(CRecordset& rs) {
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

void CEsquemasOdbc::CorregirNulosMariaDB(CRecordset& rs, const std::optional<QString>& tabla) {
    // MariaDB's driver reports AUTO_INCREMENT and TIMESTAMP columns as nullable whatever their
    // definition says; the server's own catalogue knows.
    if (m_Sospechosas.empty())
        return;
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
        const QString clave = rs.ValorEn(fila, columnas::Tabla).toString() + QChar(0x1f) +
                              rs.ValorEn(fila, columnas::Nombre).toString().toLower();
        if (noNulas.contains(clave))
            rs.PonerValor(fila, columnas::Nulos, false);
    }
    m_Sospechosas.clear();
}

PRecordset CEsquemasOdbc::Columnas(const QString& strTabla) {
    auto rs = std::make_unique<CRecordset>(kColumnasColumnas);
    m_Sospechosas.clear();
    m_DefectosCortados.clear();
    const Motor motor = m_Cn.MotorBD();
    COdbcSentencia stmt(m_Cn);
    if (motor == Motor::SQLite || motor == Motor::MariaDB) {
        // The catalogue argument left null is the current database on MariaDB; SQLite has one.
        if (motor == Motor::MariaDB && m_Cn.CatalogoActual().isEmpty())
            return rs;
        stmt.Columnas(std::nullopt, std::nullopt, m_Cn.EscaparPatron(strTabla));
        AgregarColumnas(stmt, *rs, nullptr);
        // These drivers match names without regard to case; MariaDB may hold two tables whose
        // names differ only in case, and then the exact one is meant.
        bool exacta = false;
        for (std::size_t i = 0; i < static_cast<std::size_t>(rs->NumeroFilas()) && !exacta; ++i)
            exacta = rs->ValorEn(i, columnas::Tabla).toString() == strTabla;
        if (exacta && !m_Sospechosas.empty()) {
            // Keep the suspects' row numbers valid: check nullability first.
            CorregirNulosMariaDB(*rs, strTabla);
        }
        if (exacta)
            rs->Filtrar([&](std::size_t fila) {
                return rs->ValorEn(fila, columnas::Tabla).toString() == strTabla;
            });
        if (motor == Motor::MariaDB)
            CorregirNulosMariaDB(*rs, strTabla);
        return rs;
    }
    for (const CObjeto& objeto : ObjetosLlamados(strTabla)) {
        stmt.Columnas(objeto.catalogo,
                      objeto.esquema ? Argumento(m_Cn.EscaparPatron(*objeto.esquema))
                                     : std::nullopt,
                      m_Cn.EscaparPatron(objeto.nombre));
        const QSet<QString> solo{Clave(objeto.catalogo, objeto.esquema, objeto.nombre)};
        AgregarColumnas(stmt, *rs, &solo);
        stmt.Cerrar();
    }
    CorregirDefectosPostgres(*rs);
    return rs;
}

PRecordset CEsquemasOdbc::ColumnasTodas(const std::function<bool()>* fnSeguir) {
    auto rs = std::make_unique<CRecordset>(kColumnasColumnas);
    m_Sospechosas.clear();
    m_DefectosCortados.clear();
    const Motor motor = m_Cn.MotorBD();
    if (motor == Motor::MariaDB && m_Cn.CatalogoActual().isEmpty())
        return rs;
    // SQLite's and MariaDB's drivers answer for exactly the tables and views of the tables
    // rowset; the others also for objects it does not list, so their answer is filtered.
    std::optional<QSet<QString>> filtro;
    std::size_t objetos = 1000;
    if (motor != Motor::SQLite && motor != Motor::MariaDB) {
        const PRecordset tablas = TablasDelControlador();
        objetos = static_cast<std::size_t>(tablas->NumeroFilas());
        filtro.emplace();
        filtro->reserve(tablas->NumeroFilas());
        for (std::size_t i = 0; i < objetos; ++i)
            filtro->insert(Clave(tablas->ValorEn(i, tablas::Catalogo),
                                 tablas->ValorEn(i, tablas::Esquema),
                                 tablas->ValorEn(i, tablas::Nombre)));
    }
    COdbcSentencia stmt(m_Cn);
    try {
        stmt.Columnas(std::nullopt,
                      motor == Motor::PostgreSQL ? Argumento(QStringLiteral("%")) : std::nullopt,
                      QStringLiteral("%"));
    } catch (const CError&) {
        return nullptr; // a driver that wants a table name
    }
    rs->Reservar(objetos * 10);
    if (!AgregarColumnas(stmt, *rs, filtro ? &*filtro : nullptr, fnSeguir))
        return nullptr;
    stmt.Cerrar();
    if (motor == Motor::MariaDB)
        CorregirNulosMariaDB(*rs, std::nullopt);
    CorregirDefectosPostgres(*rs);
    return rs;
}

// ---------------------------------------------------------------------------------------------
// INDEXES

void CEsquemasOdbc::AgregarIndices(const CObjeto& objeto, CRecordset& rs) {
    struct CFilaIndice {
        QVariant catalogo, esquema, tabla;
        bool unico;
        QString nombre;
        int tipo;
        QVariant posicion, columna, orden, cardinalidad, paginas, filtro;
    };
    std::vector<CFilaIndice> filas;
    COdbcSentencia stmt(m_Cn);
    stmt.Estadisticas(objeto.catalogo, objeto.esquema, objeto.nombre);
    while (stmt.Siguiente()) {
        const auto catalogo = Normal(stmt.Texto(0));
        const auto esquema = Normal(stmt.Texto(1));
        const auto tabla = stmt.Texto(2);
        const auto noUnico = stmt.Entero(3);
        const auto nombre = stmt.Texto(5);
        const auto tipo = stmt.Entero(6);
        if (!nombre || tipo == SQL_TABLE_STAT)
            continue;
        const auto posicion = stmt.Entero(7);
        const auto columna = stmt.Texto(8);
        const auto orden = stmt.Texto(9);
        const auto cardinalidad = stmt.Entero(10);
        const auto paginas = stmt.Entero(11);
        const auto filtro = Normal(stmt.Texto(12));
        QVariant ordenV;
        if (orden == QLatin1String("A"))
            ordenV = 1;
        else if (orden == QLatin1String("D"))
            ordenV = 2;
        filas.push_back({V(catalogo), V(esquema), V(tabla), noUnico.value_or(1) == 0, *nombre,
                         static_cast<int>(tipo.value_or(SQL_INDEX_OTHER)), VInt(posicion),
                         V(columna), ordenV, V(cardinalidad), V(paginas), V(filtro)});
    }
    stmt.Cerrar();

    QStringList columnasPk;
    std::optional<QString> nombrePk;
    stmt.ClavesPrimarias(objeto.catalogo, objeto.esquema, objeto.nombre);
    std::vector<std::pair<qlonglong, QString>> pk;
    while (stmt.Siguiente()) {
        const auto columna = stmt.Texto(3);
        const auto secuencia = stmt.Entero(4);
        const auto nombre = Normal(stmt.Texto(5));
        if (columna)
            pk.emplace_back(secuencia.value_or(0), *columna);
        if (nombre)
            nombrePk = nombre;
    }
    std::stable_sort(pk.begin(), pk.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [secuencia, columna] : pk)
        columnasPk << columna;

    // The primary key's index: by name where the driver names the key, else the unique index
    // over exactly the key's columns (SQLite names neither).
    QString indicePk;
    if (!columnasPk.isEmpty()) {
        if (nombrePk && std::any_of(filas.begin(), filas.end(),
                                    [&](const CFilaIndice& f) { return f.nombre == *nombrePk; }))
            indicePk = *nombrePk;
        else {
            QStringList orden;
            QHash<QString, QStringList> columnasDe;
            for (const CFilaIndice& f : filas) {
                if (!f.unico)
                    continue;
                if (!columnasDe.contains(f.nombre))
                    orden << f.nombre;
                columnasDe[f.nombre] << f.columna.toString();
            }
            for (const QString& n : orden)
                if (columnasDe.value(n) == columnasPk) {
                    indicePk = n;
                    break;
                }
        }
    }

    for (const CFilaIndice& f : filas) {
        const int tipoOleDb = f.tipo == SQL_INDEX_HASHED ? 2 : 4;
        rs.AgregarValores(f.catalogo, f.esquema, f.tabla, f.nombre,
                          !indicePk.isEmpty() && f.nombre == indicePk, f.unico,
                          f.tipo == SQL_INDEX_CLUSTERED, tipoOleDb, f.posicion, f.columna, f.orden,
                          f.cardinalidad, f.paginas, f.filtro);
    }
}

PRecordset CEsquemasOdbc::Indices(const QString& strTabla) {
    auto rs = std::make_unique<CRecordset>(kColumnasIndices);
    if (m_Cn.MotorBD() == Motor::SQLite) {
        IndicesSQLite(strTabla, *rs);
        return rs;
    }
    for (const CObjeto& objeto : ObjetosLlamados(strTabla))
        AgregarIndices(objeto, *rs);
    return rs;
}

void CEsquemasOdbc::IndicesSQLite(const QString& strTabla, CRecordset& rs) {
    // SQLite's driver reports every index column as ascending and names no primary key; the
    // database's own index lists say both, in one query. A rowid primary key has no index of
    // its own: it shows under the name the driver gives it.
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
        rs.AgregarValores(QVariant(), QVariant(), strTabla, V(nombre), primario.value_or(0) != 0,
                          unico.value_or(0) != 0, false, 1, VInt(posicion), V(columna),
                          descendente.value_or(0) ? 2 : 1, QVariant(), QVariant(), QVariant());
    }
}

// ---------------------------------------------------------------------------------------------
// PROCEDURES

PRecordset CEsquemasOdbc::Procedimientos() {
    auto rs = std::make_unique<CRecordset>(
        QStringList{"PROCEDURE_CATALOG", "PROCEDURE_SCHEMA", "PROCEDURE_NAME", "PROCEDURE_TYPE",
                    "DESCRIPTION", "DATE_CREATED", "DATE_MODIFIED"});
    const Motor motor = m_Cn.MotorBD();
    if (motor == Motor::MariaDB && m_Cn.CatalogoActual().isEmpty())
        return rs;
    const bool sistema = m_Cn.MuestraSistema();
    const QString actual = motor == Motor::PostgreSQL ? m_Cn.CatalogoActual() : QString();
    COdbcSentencia stmt(m_Cn);
    stmt.Procedimientos(std::nullopt, std::nullopt, std::nullopt);
    // Read by position: PostgreSQL's driver names these columns in lower case.
    while (stmt.Siguiente()) {
        auto catalogo = Normal(stmt.Texto(0));
        const auto esquema = Normal(stmt.Texto(1));
        const auto nombre = stmt.Texto(2);
        if (!nombre)
            continue;
        if (motor == Motor::PostgreSQL && !sistema && esquema && EsquemaDeSistema(*esquema))
            continue;
        const auto descripcion = Normal(stmt.Texto(6));
        const auto tipo = stmt.Entero(7);
        // PostgreSQL's driver leaves the catalogue empty: it is the connection's database.
        if (motor == Motor::PostgreSQL && !catalogo && !actual.isEmpty())
            catalogo = actual;
        // ODBC 0 unknown, 1 procedure, 2 function; OLE DB 1, 2, 3.
        const int tipoOleDb = tipo && *tipo >= 0 && *tipo <= 2 ? static_cast<int>(*tipo) + 1 : 1;
        rs->AgregarFila(
            {V(catalogo), V(esquema), *nombre, tipoOleDb, V(descripcion), QVariant(), QVariant()});
    }
    stmt.Cerrar();
    if (rs->NumeroFilas() == 0)
        return rs;

    if (motor == Motor::PostgreSQL) {
        // The driver calls functions and procedures alike "procedure"; pg_proc tells them apart.
        stmt.Ejecutar(
            QStringLiteral("SELECT n.nspname, p.proname, p.prokind FROM pg_catalog.pg_proc p "
                           "JOIN pg_catalog.pg_namespace n ON n.oid = p.pronamespace%1")
                .arg(sistema
                         ? QString()
                         : QStringLiteral(
                               " WHERE n.nspname NOT IN ('pg_catalog', 'information_schema')")));
        QHash<QString, int> clases; // bit 1: procedure, bit 2: function
        while (stmt.Siguiente()) {
            const QString clave =
                stmt.Texto(0).value_or(QString()) + QChar(0x1f) + stmt.Texto(1).value_or(QString());
            clases[clave] |= stmt.Texto(2) == QLatin1String("p") ? 1 : 2;
        }
        for (std::size_t i = 0; i < static_cast<std::size_t>(rs->NumeroFilas()); ++i) {
            const int c = clases.value(rs->ValorEn(i, 1).toString() + QChar(0x1f) +
                                       rs->ValorEn(i, 2).toString());
            rs->PonerValor(i, 3, c == 1 ? 2 : c == 2 ? 3 : 1);
        }
    } else if (motor == Motor::MariaDB) {
        // MariaDB keeps when each routine was created and last altered.
        stmt.Ejecutar(
            QStringLiteral("SELECT ROUTINE_NAME, ROUTINE_TYPE, CREATED, LAST_ALTERED FROM "
                           "information_schema.ROUTINES WHERE ROUTINE_SCHEMA = DATABASE()"));
        QHash<QString, QPair<QVariant, QVariant>> fechas;
        while (stmt.Siguiente()) {
            const QString tipo = stmt.Texto(1).value_or(QString()) == QLatin1String("PROCEDURE")
                                     ? QStringLiteral("2")
                                     : QStringLiteral("3");
            fechas.insert(stmt.Texto(0).value_or(QString()) + QChar(0x1f) + tipo,
                          {stmt.Valor(2), stmt.Valor(3)});
        }
        for (std::size_t i = 0; i < static_cast<std::size_t>(rs->NumeroFilas()); ++i) {
            const auto it = fechas.constFind(rs->ValorEn(i, 2).toString() + QChar(0x1f) +
                                             rs->ValorEn(i, 3).toString());
            if (it != fechas.constEnd()) {
                rs->PonerValor(i, 5, it->first);
                rs->PonerValor(i, 6, it->second);
            }
        }
    }
    return rs;
}

// ---------------------------------------------------------------------------------------------
// FOREIGN_KEYS

PRecordset CEsquemasOdbc::ClavesAjenas() {
    auto rs = std::make_unique<CRecordset>(
        QStringList{"PK_TABLE_CATALOG", "PK_TABLE_SCHEMA", "PK_TABLE_NAME", "PK_COLUMN_NAME",
                    "FK_TABLE_CATALOG", "FK_TABLE_SCHEMA", "FK_TABLE_NAME", "FK_COLUMN_NAME",
                    "ORDINAL", "UPDATE_RULE", "DELETE_RULE", "PK_NAME", "FK_NAME"});
    const Motor motor = m_Cn.MotorBD();
    COdbcSentencia stmt(m_Cn);

    if (motor == Motor::PostgreSQL || motor == Motor::MariaDB) {
        // The driver manager refuses a call without a table, and one call per table costs tens of
        // milliseconds on MariaDB: one read of the server's catalogue gives every key at once.
        QString sql;
        if (motor == Motor::PostgreSQL) {
            // pg_catalog rather than information_schema: the driver's own calls read it too, so the
            // same keys appear, and it answers in a fraction of the time on large catalogues.
            sql = QStringLiteral("SELECT current_database(), pn.nspname, pc.relname, pa.attname, "
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
                      .arg(m_Cn.MuestraSistema()
                               ? QString()
                               : QStringLiteral(
                                     " AND fn.nspname NOT IN ('pg_catalog', 'information_schema') "
                                     "AND fn.nspname NOT LIKE 'pg\\_toast%'"));
        } else {
            // Joined on the server, MariaDB fills REFERENTIAL_CONSTRAINTS for every database of
            // the server (seconds with one large neighbour); each alone is read for this one only.
            if (m_Cn.CatalogoActual().isEmpty())
                return rs;
            QHash<QString, std::array<QVariant, 3>>
                reglas; // table + key → update, delete, unique key
            stmt.Ejecutar(QStringLiteral(
                "SELECT TABLE_NAME, CONSTRAINT_NAME, UPDATE_RULE, DELETE_RULE, "
                "UNIQUE_CONSTRAINT_NAME FROM information_schema.REFERENTIAL_CONSTRAINTS "
                "WHERE CONSTRAINT_SCHEMA = DATABASE()"));
            while (stmt.Siguiente()) {
                const QString clave = stmt.Texto(0).value_or(QString()) + QChar(0x1f) +
                                      stmt.Texto(1).value_or(QString());
                const auto actualizar = Normal(stmt.Texto(2));
                const auto borrar = Normal(stmt.Texto(3));
                reglas.insert(clave, {V(actualizar), V(borrar), V(Normal(stmt.Texto(4)))});
            }
            stmt.Cerrar();
            stmt.Ejecutar(QStringLiteral(
                "SELECT REFERENCED_TABLE_SCHEMA, REFERENCED_TABLE_NAME, REFERENCED_COLUMN_NAME, "
                "TABLE_SCHEMA, "
                "TABLE_NAME, COLUMN_NAME, ORDINAL_POSITION, CONSTRAINT_NAME FROM "
                "information_schema.KEY_COLUMN_USAGE "
                "WHERE TABLE_SCHEMA = DATABASE() AND REFERENCED_TABLE_NAME IS NOT NULL "
                "ORDER BY TABLE_NAME, CONSTRAINT_NAME, ORDINAL_POSITION"));
            while (stmt.Siguiente()) {
                const auto catalogoPk = Normal(stmt.Texto(0));
                const auto tablaPk = stmt.Texto(1);
                const auto columnaPk = stmt.Texto(2);
                const auto catalogoFk = Normal(stmt.Texto(3));
                const auto tablaFk = stmt.Texto(4);
                const auto columnaFk = stmt.Texto(5);
                const auto orden = stmt.Entero(6);
                const auto nombre = stmt.Texto(7);
                const auto r = reglas.value(tablaFk.value_or(QString()) + QChar(0x1f) +
                                            nombre.value_or(QString()));
                rs->AgregarValores(V(catalogoPk), QVariant(), V(tablaPk), V(columnaPk),
                                   V(catalogoFk), QVariant(), V(tablaFk), V(columnaFk), VInt(orden),
                                   r[0], r[1], r[2], V(nombre));
            }
            return rs;
        }
        stmt.Ejecutar(sql);
        while (stmt.Siguiente())
            rs->AgregarFila(FilaClaveAjena(stmt));
        return rs;
    }

    // Elsewhere one call per table, as the driver manager demands a table name.
    const PRecordset objetos = TablasDelControlador();
    for (std::size_t t = 0; t < static_cast<std::size_t>(objetos->NumeroFilas()); ++t) {
        const QString tipo = objetos->ValorEn(t, tablas::Tipo).toString();
        if (tipo != QLatin1String("TABLE") && tipo != QLatin1String("SYSTEM TABLE"))
            continue;
        const QVariant& c = objetos->ValorEn(t, tablas::Catalogo);
        const QVariant& e = objetos->ValorEn(t, tablas::Esquema);
        stmt.ClavesAjenas(std::nullopt, std::nullopt, std::nullopt,
                          CRecordset::EsNulo(c) ? std::nullopt : Argumento(c.toString()),
                          CRecordset::EsNulo(e) ? std::nullopt : Argumento(e.toString()),
                          objetos->ValorEn(t, tablas::Nombre).toString());
        while (stmt.Siguiente())
            rs->AgregarFila(FilaClaveAjena(stmt));
        stmt.Cerrar();
    }
    return rs;
}

// ---------------------------------------------------------------------------------------------
// PROVIDER_TYPES

PRecordset CEsquemasOdbc::TiposProveedor(std::optional<long> lngTipoDatos,
                                         std::optional<bool> booMejor) {
    auto rs = std::make_unique<CRecordset>(QStringList{
        "TYPE_NAME", "DATA_TYPE", "COLUMN_SIZE", "LITERAL_PREFIX", "LITERAL_SUFFIX",
        "CREATE_PARAMS", "IS_NULLABLE", "CASE_SENSITIVE", "SEARCHABLE", "UNSIGNED_ATTRIBUTE",
        "FIXED_PREC_SCALE", "AUTO_UNIQUE_VALUE", "LOCAL_TYPE_NAME", "MINIMUM_SCALE",
        "MAXIMUM_SCALE", "IS_LONG", "BEST_MATCH", "IS_FIXEDLENGTH"});
    COdbcSentencia stmt(m_Cn);
    stmt.TiposDatos(SQL_ALL_TYPES);
    QSet<int> vistos;
    while (stmt.Siguiente()) {
        const auto nombre = stmt.Texto(0);
        int tipoOdbc = static_cast<int>(stmt.Entero(1).value_or(0));
        // The same number the columns give a column declared with this type.
        if (m_Cn.MotorBD() == Motor::SQLite && nombre)
            tipoOdbc = TipoDeclaradoSQLite(*nombre, tipoOdbc);
        const auto tamano = stmt.Entero(2);
        const auto prefijo = Normal(stmt.Texto(3));
        const auto sufijo = Normal(stmt.Texto(4));
        const auto parametros = Normal(stmt.Texto(5));
        const auto nulos = stmt.Entero(6);
        const auto mayusculas = stmt.Entero(7);
        const auto buscable = stmt.Entero(8);
        const auto sinSigno = stmt.Entero(9);
        const auto fija = stmt.Entero(10);
        const auto autoUnico = stmt.Entero(11);
        const auto local = Normal(stmt.Texto(12));
        const auto escalaMin = stmt.Entero(13);
        const auto escalaMax = stmt.Entero(14);

        const int tipo = TipoOleDb(tipoOdbc, sinSigno.value_or(0) != 0);
        const bool mejor = !vistos.contains(tipo);
        vistos.insert(tipo);
        if (lngTipoDatos && *lngTipoDatos != tipo)
            continue;
        if (booMejor && *booMejor != mejor)
            continue;
        QVariant nulosV;
        if (nulos == SQL_NULLABLE)
            nulosV = true;
        else if (nulos == SQL_NO_NULLS)
            nulosV = false;
        const bool largo = tipoOdbc == SQL_LONGVARCHAR || tipoOdbc == SQL_WLONGVARCHAR ||
                           tipoOdbc == SQL_LONGVARBINARY;
        const bool longitudFija = !(tipoOdbc == SQL_VARCHAR || tipoOdbc == SQL_WVARCHAR ||
                                    tipoOdbc == SQL_VARBINARY || largo);
        rs->AgregarValores(V(nombre), tipo, tamano && *tamano >= 0 ? QVariant(*tamano) : QVariant(),
                           V(prefijo), V(sufijo), V(parametros), nulosV, Booleano(mayusculas),
                           buscable ? QVariant(static_cast<int>(*buscable) + 1) : QVariant(),
                           Booleano(sinSigno), Booleano(fija), Booleano(autoUnico), V(local),
                           VInt(escalaMin), VInt(escalaMax), largo, mejor, longitudFija);
    }
    return rs;
}

// ---------------------------------------------------------------------------------------------
// DBINFO keywords and literals

PRecordset CEsquemasOdbc::PalabrasClave() {
    auto rs = std::make_unique<CRecordset>(QStringList{"Keyword"});
    const QString lista = m_Cn.InfoTexto(SQL_KEYWORDS);
    QStringList palabras;
    for (const QString& p : lista.split(QLatin1Char(','), Qt::SkipEmptyParts))
        if (!p.trimmed().isEmpty())
            palabras << p.trimmed();
    if (palabras.isEmpty() && m_Cn.MotorBD() == Motor::PostgreSQL) {
        // PostgreSQL's driver gives no list; the server knows its own words (the unreserved ones
        // are no trouble as names).
        COdbcSentencia stmt(m_Cn);
        stmt.Ejecutar(QStringLiteral(
            "SELECT upper(word) FROM pg_catalog.pg_get_keywords() WHERE catcode <> 'U' "
            "ORDER BY word"));
        while (stmt.Siguiente())
            if (const auto p = stmt.Texto(0))
                palabras << *p;
    }
    for (const QString& p : palabras)
        rs->AgregarValores(p);
    return rs;
}

PRecordset CEsquemasOdbc::Literales() {
    auto rs = std::make_unique<CRecordset>(QStringList{"LiteralName", "LiteralValue",
                                                       "InvalidChars", "InvalidStartingChars",
                                                       "Literal", "Supported", "Maxlen"});
    auto largo = [&](SQLUSMALLINT info) -> QVariant {
        // SQLGetInfo gives 0 for "no limit or unknown"; OLE DB has the same convention.
        if (const auto v = m_Cn.InfoCorto(info))
            return static_cast<qlonglong>(*v);
        return {};
    };
    auto largo32 = [&](SQLUSMALLINT info) -> QVariant {
        if (const auto v = m_Cn.InfoLargo(info))
            return static_cast<qlonglong>(*v);
        return {};
    };
    auto texto = [](const QString& t) { return t.isEmpty() ? QVariant() : QVariant(t); };

    // Characters that need quoting in a name: punctuation, less what the driver allows.
    QString invalidos = QStringLiteral(" !\"#$%&'()*+,-./:;<=>?@[\\]^`{|}~");
    for (const QChar c : m_Cn.InfoTexto(SQL_SPECIAL_CHARACTERS))
        invalidos.remove(c);
    const QString invalidosInicio = QStringLiteral("0123456789") + invalidos;
    const QString comillas = m_Cn.InfoTexto(SQL_IDENTIFIER_QUOTE_CHAR).trimmed();
    const QString separadorCatalogo = m_Cn.InfoTexto(SQL_CATALOG_NAME_SEPARATOR);
    const QString escape = m_Cn.InfoTexto(SQL_SEARCH_PATTERN_ESCAPE);
    const bool catalogos = m_Cn.InfoLargo(SQL_CATALOG_USAGE).value_or(0) != 0 ||
                           m_Cn.InfoTexto(SQL_CATALOG_NAME) == QLatin1String("Y");
    const bool esquemas = m_Cn.InfoLargo(SQL_SCHEMA_USAGE).value_or(0) != 0;
    const bool procedimientos = m_Cn.InfoTexto(SQL_PROCEDURES) == QLatin1String("Y");
    const bool correlacion =
        m_Cn.InfoCorto(SQL_CORRELATION_NAME).value_or(SQL_CN_NONE) != SQL_CN_NONE;
    const bool alias = m_Cn.InfoTexto(SQL_COLUMN_ALIAS) == QLatin1String("Y");

    struct CLiteral {
        const char* nombre;
        int numero;
        QVariant valor;
        bool nombreDeObjeto;
        bool admitido;
        QVariant maximo;
    };
    const QVariant maxTabla = largo(SQL_MAX_TABLE_NAME_LEN);
    const std::vector<CLiteral> literales{
        {"BINARY_LITERAL", 1, {}, false, true, largo32(SQL_MAX_BINARY_LITERAL_LEN)},
        {"CATALOG_NAME", 2, {}, true, catalogos, largo(SQL_MAX_CATALOG_NAME_LEN)},
        {"CATALOG_SEPARATOR",
         3,
         texto(separadorCatalogo),
         false,
         catalogos && !separadorCatalogo.isEmpty(),
         {}},
        {"CHAR_LITERAL", 4, {}, false, true, largo32(SQL_MAX_CHAR_LITERAL_LEN)},
        {"COLUMN_ALIAS", 5, {}, true, alias, largo(SQL_MAX_COLUMN_NAME_LEN)},
        {"COLUMN_NAME", 6, {}, true, true, largo(SQL_MAX_COLUMN_NAME_LEN)},
        {"CORRELATION_NAME", 7, {}, true, correlacion, maxTabla},
        {"CURSOR_NAME", 8, {}, true, true, largo(SQL_MAX_CURSOR_NAME_LEN)},
        {"ESCAPE_PERCENT_PREFIX", 9, texto(escape), false, !escape.isEmpty(), {}},
        {"ESCAPE_UNDERSCORE_PREFIX", 10, texto(escape), false, !escape.isEmpty(), {}},
        {"INDEX_NAME", 11, {}, true, true, largo(SQL_MAX_IDENTIFIER_LEN)},
        {"LIKE_PERCENT", 12, QStringLiteral("%"), false, true, {}},
        {"LIKE_UNDERSCORE", 13, QStringLiteral("_"), false, true, {}},
        {"PROCEDURE_NAME", 14, {}, true, procedimientos, largo(SQL_MAX_PROCEDURE_NAME_LEN)},
        {"QUOTE_PREFIX", 15, texto(comillas), false, !comillas.isEmpty(), {}},
        {"SCHEMA_NAME", 16, {}, true, esquemas, largo(SQL_MAX_SCHEMA_NAME_LEN)},
        {"TABLE_NAME", 17, {}, true, true, maxTabla},
        {"TEXT_COMMAND", 18, {}, false, true, largo32(SQL_MAX_STATEMENT_LEN)},
        {"USER_NAME", 19, {}, true, true, largo(SQL_MAX_USER_NAME_LEN)},
        {"VIEW_NAME", 20, {}, true, true, maxTabla},
        {"SCHEMA_SEPARATOR",
         27,
         esquemas ? QVariant(QStringLiteral(".")) : QVariant(),
         false,
         esquemas,
         {}},
        {"QUOTE_SUFFIX", 28, texto(comillas), false, !comillas.isEmpty(), {}},
    };
    for (const CLiteral& l : literales)
        rs->AgregarValores(QString::fromLatin1(l.nombre), l.valor,
                           l.nombreDeObjeto ? QVariant(invalidos) : QVariant(),
                           l.nombreDeObjeto ? QVariant(invalidosInicio) : QVariant(), l.numero,
                           l.admitido, l.maximo);
    return rs;
}

// ---------------------------------------------------------------------------------------------
// STATISTICS

PRecordset CEsquemasOdbc::Estadisticas(const QString& strTabla) {
    auto rs = std::make_unique<CRecordset>(
        QStringList{"TABLE_CATALOG", "TABLE_SCHEMA", "TABLE_NAME", "CARDINALITY"});
    std::vector<CObjeto> objetos;
    const bool sqlite = m_Cn.MotorBD() == Motor::SQLite;
    if (sqlite) {
        // One database and no schemas: the name is counted as it is. The driver's table list
        // filtered by name reads the whole catalogue, which made counting every table quadratic;
        // whether a name that cannot be counted exists is asked only when the count fails.
        objetos.push_back({std::nullopt, std::nullopt, strTabla});
    } else if (m_Cn.MotorBD() == Motor::MariaDB) {
        // Only count what exists: a missing name gives no row rather than an error.
        COdbcSentencia stmt(m_Cn);
        stmt.Tablas(Argumento(m_Cn.CatalogoActual()), std::nullopt, m_Cn.EscaparPatron(strTabla),
                    std::nullopt);
        while (stmt.Siguiente()) {
            const auto catalogo = Normal(stmt.Texto(0));
            const auto esquema = Normal(stmt.Texto(1));
            const auto nombre = stmt.Texto(2);
            if (nombre && nombre->compare(strTabla, Qt::CaseInsensitive) == 0)
                objetos.push_back({catalogo, esquema, *nombre});
        }
        if (std::any_of(objetos.begin(), objetos.end(),
                        [&](const CObjeto& o) { return o.nombre == strTabla; }))
            std::erase_if(objetos, [&](const CObjeto& o) { return o.nombre != strTabla; });
    } else {
        objetos = ObjetosLlamados(strTabla);
    }
    // No driver gives a table-statistics row, so count; a slow table must not hang the window.
    for (const CObjeto& objeto : objetos) {
        QVariant cardinalidad;
        try {
            COdbcSentencia stmt(m_Cn);
            stmt.TiempoLimite(kSegundosRecuento);
            stmt.Ejecutar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(NombreCompleto(objeto)));
            if (stmt.Siguiente())
                cardinalidad = V(stmt.Entero(0));
        } catch (const CError&) {
            cardinalidad = QVariant(); // time-out or an object that cannot be read
            if (sqlite && !ExisteEnSQLite(objeto.nombre))
                continue;
        }
        rs->AgregarValores(V(objeto.catalogo), V(objeto.esquema), objeto.nombre, cardinalidad);
    }
    return rs;
}

bool CEsquemasOdbc::ExisteEnSQLite(const QString& strTabla) {
    // The objects the tables rowset lists, matched as SQLite matches names.
    COdbcSentencia stmt(m_Cn);
    stmt.Ejecutar(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type IN ('table', 'view') "
                                 "AND name = %1 COLLATE NOCASE")
                      .arg(Literal(strTabla)));
    return stmt.Siguiente();
}

// ---------------------------------------------------------------------------------------------
// Connection properties

QList<QPair<QString, QVariant>> CEsquemasOdbc::Propiedades() {
    QList<QPair<QString, QVariant>> p;
    auto texto = [&](SQLUSMALLINT info) -> QVariant {
        const QString t = m_Cn.InfoTexto(info);
        return t.isEmpty() ? QVariant() : QVariant(t);
    };
    auto numero = [&](SQLUSMALLINT info) -> QVariant {
        if (const auto v = m_Cn.InfoCorto(info))
            return static_cast<int>(*v);
        return {};
    };
    // ODBC identifier case (1 upper, 2 lower, 3 sensitive, 4 mixed) in OLE DB's bits.
    auto mayusculas = [&](SQLUSMALLINT info) -> QVariant {
        const auto v = m_Cn.InfoCorto(info);
        if (!v)
            return {};
        switch (*v) {
        case SQL_IC_UPPER:
            return 1;
        case SQL_IC_LOWER:
            return 2;
        case SQL_IC_SENSITIVE:
            return 4;
        case SQL_IC_MIXED:
            return 8;
        default:
            return {};
        }
    };
    auto sino = [&](SQLUSMALLINT info) -> QVariant {
        const QString t = m_Cn.InfoTexto(info);
        return t.isEmpty() ? QVariant() : QVariant(t == QLatin1String("Y"));
    };
    const QString catalogo = m_Cn.CatalogoActual();
    QVariant ordenNulos;
    if (const auto v = m_Cn.InfoCorto(SQL_NULL_COLLATION)) {
        // OLE DB: 1 end, 2 high, 4 low, 8 start.
        switch (*v) {
        case SQL_NC_END:
            ordenNulos = 1;
            break;
        case SQL_NC_HIGH:
            ordenNulos = 2;
            break;
        case SQL_NC_LOW:
            ordenNulos = 4;
            break;
        case SQL_NC_START:
            ordenNulos = 8;
            break;
        default:
            break;
        }
    }
    p << qMakePair(QStringLiteral("Provider Friendly Name"),
                   m_Cn.NombreControlador().isEmpty() ? QVariant()
                                                      : QVariant(m_Cn.NombreControlador()))
      << qMakePair(QStringLiteral("Provider Name"), texto(SQL_DRIVER_NAME))
      << qMakePair(QStringLiteral("Provider Version"), texto(SQL_DRIVER_VER))
      << qMakePair(QStringLiteral("Driver ODBC Version"), texto(SQL_DRIVER_ODBC_VER))
      << qMakePair(QStringLiteral("ODBC Version"), texto(SQL_ODBC_VER))
      << qMakePair(QStringLiteral("DBMS Name"), texto(SQL_DBMS_NAME))
      << qMakePair(QStringLiteral("DBMS Version"), texto(SQL_DBMS_VER))
      << qMakePair(QStringLiteral("Data Source Name"), texto(SQL_DATA_SOURCE_NAME))
      << qMakePair(QStringLiteral("Server Name"), texto(SQL_SERVER_NAME))
      << qMakePair(QStringLiteral("Current Catalog"),
                   catalogo.isEmpty() ? QVariant() : QVariant(catalogo))
      << qMakePair(QStringLiteral("User Name"), texto(SQL_USER_NAME))
      << qMakePair(QStringLiteral("Catalog Term"), texto(SQL_CATALOG_TERM))
      << qMakePair(QStringLiteral("Schema Term"), texto(SQL_SCHEMA_TERM))
      << qMakePair(QStringLiteral("Table Term"), texto(SQL_TABLE_TERM))
      << qMakePair(QStringLiteral("Procedure Term"), texto(SQL_PROCEDURE_TERM))
      << qMakePair(QStringLiteral("Identifier Case Sensitivity"), mayusculas(SQL_IDENTIFIER_CASE))
      << qMakePair(QStringLiteral("Quoted Identifier Sensitivity"),
                   mayusculas(SQL_QUOTED_IDENTIFIER_CASE))
      << qMakePair(QStringLiteral("NULL Collation Order"), ordenNulos)
      << qMakePair(QStringLiteral("Read-Only Data Source"), sino(SQL_DATA_SOURCE_READ_ONLY))
      << qMakePair(QStringLiteral("Procedures Supported"), sino(SQL_PROCEDURES))
      << qMakePair(QStringLiteral("Active Sessions"), numero(SQL_MAX_DRIVER_CONNECTIONS))
      << qMakePair(QStringLiteral("Maximum Tables in SELECT"), numero(SQL_MAX_TABLES_IN_SELECT));
    return p;
}
