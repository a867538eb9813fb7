#include "catalog/dialectos/CDialecto.h"

#include "catalog/dialectos/CDialectoMariaDB.h"
#include "catalog/dialectos/CDialectoPostgreSQL.h"
#include "catalog/dialectos/CDialectoSQLite.h"
#include "comun/CError.h"

#include <QHash>
#include <algorithm>
#include <atomic>

using namespace dialecto;

namespace dialecto {

bool EsCaracter(int t) {
    return t == SQL_CHAR || t == SQL_VARCHAR || t == SQL_LONGVARCHAR || t == SQL_WCHAR ||
           t == SQL_WVARCHAR || t == SQL_WLONGVARCHAR;
}

bool EsBinario(int t) {
    return t == SQL_BINARY || t == SQL_VARBINARY || t == SQL_LONGVARBINARY;
}

QVariant V(const std::optional<QString>& t) {
    return t ? QVariant(*t) : QVariant();
}
QVariant V(const std::optional<qlonglong>& n) {
    return n ? QVariant(*n) : QVariant();
}
QVariant VInt(const std::optional<qlonglong>& n) {
    return n ? QVariant(static_cast<int>(*n)) : QVariant();
}

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

CPreparada::CPreparada(COdbcConexion& cn, const QString& strSql, const QStringList& parametros)
    : m_Stmt(cn.Preparada(strSql)) {
    try {
        m_Stmt.EjecutarPreparada(parametros);
    } catch (...) {
        m_Stmt.Cerrar();
        throw;
    }
}

CPreparada::~CPreparada() {
    m_Stmt.Cerrar();
}

} // namespace dialecto

namespace {

const QStringList kColumnasTablas{"TABLE_CATALOG", "TABLE_SCHEMA", "TABLE_NAME",   "TABLE_TYPE",
                                  "DESCRIPTION",   "DATE_CREATED", "DATE_MODIFIED"};
const QStringList kColumnasColumnas{
    "TABLE_CATALOG",     "TABLE_SCHEMA",   "TABLE_NAME",  "COLUMN_NAME", "ORDINAL_POSITION",
    "COLUMN_HASDEFAULT", "COLUMN_DEFAULT", "IS_NULLABLE", "DATA_TYPE",   "CHARACTER_MAXIMUM_LENGTH",
    "NUMERIC_PRECISION", "NUMERIC_SCALE",  "DESCRIPTION", "TYPE_NAME"};
const QStringList kColumnasIndices{
    "TABLE_CATALOG", "TABLE_SCHEMA", "TABLE_NAME", "INDEX_NAME",       "PRIMARY_KEY",
    "UNIQUE",        "CLUSTERED",    "TYPE",       "ORDINAL_POSITION", "COLUMN_NAME",
    "COLLATION",     "CARDINALITY",  "PAGES",      "FILTER_CONDITION"};

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

QVariant Booleano(const std::optional<qlonglong>& n) {
    return n ? QVariant(*n != 0) : QVariant();
}

} // namespace

std::unique_ptr<CDialecto> CDialecto::Crear(COdbcConexion& objConexion) {
    switch (objConexion.MotorBD()) {
    case COdbcConexion::Motor::SQLite:
        return std::make_unique<CDialectoSQLite>(objConexion);
    case COdbcConexion::Motor::PostgreSQL:
        return std::make_unique<CDialectoPostgreSQL>(objConexion);
    case COdbcConexion::Motor::MariaDB:
        return std::make_unique<CDialectoMariaDB>(objConexion);
    default:
        return std::make_unique<CDialecto>(objConexion);
    }
}

namespace {
std::atomic<std::size_t> g_intObjetosPorPagina{CDialecto::kObjetosPorPagina};
} // namespace

std::size_t CDialecto::ObjetosPorPagina() {
    return g_intObjetosPorPagina.load();
}

void CDialecto::EstablecerObjetosPorPagina(std::size_t intObjetos) {
    g_intObjetosPorPagina.store(std::max<std::size_t>(1, intObjetos));
}

bool CDialecto::PorPaginas(
    const QString& strClaves,
    const std::function<bool(const QStringList& desde, const QStringList& hasta)>& fnPagina) {
    const std::size_t intPorPagina = ObjetosPorPagina();
    std::vector<QStringList> primeras;
    {
        COdbcSentencia stmt(m_Cn);
        stmt.Ejecutar(strClaves);
        for (std::size_t i = 0; stmt.Siguiente(); ++i)
            if (i % intPorPagina == 0) {
                QStringList clave;
                for (int c = 0; c < stmt.NumeroColumnas(); ++c)
                    clave << stmt.Texto(c).value_or(QString());
                primeras.push_back(std::move(clave));
            }
    }
    for (std::size_t i = 0; i < primeras.size(); ++i)
        if (!fnPagina(primeras[i], i + 1 < primeras.size() ? primeras[i + 1] : QStringList()))
            return false;
    return true;
}

PRecordset CDialecto::RowsetTablas() {
    return std::make_unique<CRecordset>(kColumnasTablas);
}
PRecordset CDialecto::RowsetColumnas() {
    return std::make_unique<CRecordset>(kColumnasColumnas);
}
PRecordset CDialecto::RowsetColumnasTodas(const QStringList& columnas) {
    PRecordset rs = RowsetColumnas();
    if (!columnas.isEmpty())
        rs->Proyectar(columnas);
    rs->CompartirIguales();
    return rs;
}
PRecordset CDialecto::RowsetIndices() {
    return std::make_unique<CRecordset>(kColumnasIndices);
}
PRecordset CDialecto::RowsetClavesAjenas() {
    return std::make_unique<CRecordset>(
        QStringList{"PK_TABLE_CATALOG", "PK_TABLE_SCHEMA", "PK_TABLE_NAME", "PK_COLUMN_NAME",
                    "FK_TABLE_CATALOG", "FK_TABLE_SCHEMA", "FK_TABLE_NAME", "FK_COLUMN_NAME",
                    "ORDINAL", "UPDATE_RULE", "DELETE_RULE", "PK_NAME", "FK_NAME"});
}
PRecordset CDialecto::RowsetEstadisticas() {
    return std::make_unique<CRecordset>(
        QStringList{"TABLE_CATALOG", "TABLE_SCHEMA", "TABLE_NAME", "CARDINALITY"});
}

CRecordset::Fila CDialecto::FilaClaveAjena(COdbcSentencia& stmt) {
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

int CDialecto::TipoOleDb(int intTipoOdbc, bool booSinSigno) {
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
        return booSinSigno ? 18 : 2;
    case SQL_INTEGER:
        return booSinSigno ? 19 : 3;
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
        return booSinSigno ? 21 : 20;
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

bool CDialecto::EsDeSistema(const QString&, const QString&, const QString&) const {
    return false;
}

QString CDialecto::TipoTablaOleDb(const QString& strTipo, const QString& strCatalogo,
                                  const QString& strEsquema, const QString& strNombre) const {
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
    const bool sistema = EsDeSistema(strCatalogo, strEsquema, strNombre);
    if (sistema && tipo == &kTabla)
        return kTablaSistema;
    if (sistema && tipo == &kVista)
        return kVistaSistema;
    return *tipo;
}

QString CDialecto::Literal(const QString& strTexto) const {
    QString t = strTexto;
    t.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

QString CDialecto::NombreCompleto(const CObjeto& objeto) const {
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

PRecordset CDialecto::TablasDelControlador() {
    PRecordset rs = RowsetTablas();
    COdbcSentencia stmt(m_Cn);
    stmt.Tablas(std::nullopt, std::nullopt, std::nullopt, std::nullopt);
    std::optional<QString> catalogoAnterior, esquemaAnterior, tipoAnterior;
    while (stmt.Siguiente()) {
        const auto catalogo = Normal(stmt.Texto(0, &catalogoAnterior));
        const auto esquema = Normal(stmt.Texto(1, &esquemaAnterior));
        const auto nombre = stmt.Texto(2);
        if (!nombre)
            continue;
        const QString tipo = stmt.Texto(3, &tipoAnterior).value_or(QString());
        const auto descripcion = Normal(stmt.Texto(4));
        rs->AgregarValores(V(catalogo), V(esquema), *nombre,
                           TipoTablaOleDb(tipo, catalogo.value_or(QString()),
                                          esquema.value_or(QString()), *nombre),
                           V(descripcion), QVariant(), QVariant());
    }
    return rs;
}

PRecordset CDialecto::Tablas() {
    return TablasDelControlador();
}

std::vector<CDialecto::CObjeto> CDialecto::ObjetosLlamados(const QString& strTabla) {
    std::vector<CObjeto> objetos;
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

int CDialecto::TipoDeclarado(const QString&, int intTipoOdbc) const {
    return intTipoOdbc;
}

void CDialecto::LeerDefecto(COdbcSentencia&, CColumnaLeida&, std::size_t) {}

void CDialecto::RevisarNulos(CColumnaLeida&, std::size_t) {}

void CDialecto::PrecisionYEscala(CColumnaLeida& col) const {
    if (!EsNumerico(col.tipoOdbc))
        return;
    if (col.tamano && *col.tamano > 0)
        col.precision = static_cast<int>(*col.tamano);
    if ((col.tipoOdbc == SQL_NUMERIC || col.tipoOdbc == SQL_DECIMAL) && col.decimales)
        col.escala = static_cast<int>(*col.decimales);
}

QString CDialecto::NombreTipo(const QString& strTipo) const {
    return strTipo;
}

void CDialecto::CompletarColumnas(CRecordset&, const std::optional<QString>&) {}

bool CDialecto::AgregarColumnas(COdbcSentencia& stmt, CRecordset& rs, const QSet<QString>* filtro,
                                const std::function<bool()>* fnSeguir) {
    // Often enough for a cancel to be heard at once, seldom enough to cost nothing.
    constexpr unsigned kFilasEntreLlamadas = 256;
    unsigned leidas = 0;
    const bool conIsNullable = stmt.NumeroColumnas() > 17;
    const bool porTabla = NumeraPorTabla();
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
            posicion = 0;
        }
        if (!admitida)
            continue;
        const std::size_t fila = static_cast<std::size_t>(rs.NumeroFilas());
        CColumnaLeida col;
        const auto columna = stmt.Texto(3);
        col.nombreTipo = stmt.Texto(5, &tipoLeido).value_or(QString());
        col.tipoOdbc = TipoDeclarado(col.nombreTipo, static_cast<int>(stmt.Entero(4).value_or(0)));
        col.tamano = stmt.Entero(6);
        col.decimales = stmt.Entero(8);
        const auto nulos = stmt.Entero(10);
        const auto descripcion = Normal(stmt.Texto(11));
        col.defecto = stmt.Texto(12);
        const auto ordinal = stmt.Entero(16);
        const auto esNulo = conIsNullable ? stmt.Texto(17) : std::nullopt;
        LeerDefecto(stmt, col, fila);

        ++posicion;
        const QVariant ordinalV = porTabla ? VInt(ordinal) : QVariant(posicion);

        if (esNulo == QLatin1String("YES"))
            col.admiteNulos = true;
        else if (esNulo == QLatin1String("NO"))
            col.admiteNulos = false;
        else if (nulos == SQL_NULLABLE)
            col.admiteNulos = true;
        else if (nulos == SQL_NO_NULLS)
            col.admiteNulos = false;
        RevisarNulos(col, fila);

        const bool sinSigno =
            col.nombreTipo.contains(QLatin1String("unsigned"), Qt::CaseInsensitive);
        QVariant longitud;
        if ((EsCaracter(col.tipoOdbc) || EsBinario(col.tipoOdbc)) && col.tamano && *col.tamano > 0)
            longitud = *col.tamano;
        PrecisionYEscala(col);

        rs.AgregarValores(
            V(catalogo), V(esquema), tabla, V(columna), ordinalV, QVariant(col.defecto.has_value()),
            V(col.defecto), col.admiteNulos, TipoOleDb(col.tipoOdbc, sinSigno), longitud,
            col.precision, col.escala, V(descripcion),
            col.nombreTipo.isEmpty() ? QVariant() : QVariant(NombreTipo(col.nombreTipo)));
    }
    return true;
}

PRecordset CDialecto::Columnas(const QString& strTabla) {
    PRecordset rs = RowsetColumnas();
    COdbcSentencia stmt(m_Cn);
    for (const CObjeto& objeto : ObjetosLlamados(strTabla)) {
        stmt.Columnas(objeto.catalogo,
                      objeto.esquema ? Argumento(m_Cn.EscaparPatron(*objeto.esquema))
                                     : std::nullopt,
                      m_Cn.EscaparPatron(objeto.nombre));
        const QSet<QString> solo{Clave(objeto.catalogo, objeto.esquema, objeto.nombre)};
        AgregarColumnas(stmt, *rs, &solo);
        stmt.Cerrar();
    }
    CompletarColumnas(*rs, strTabla);
    return rs;
}

PRecordset CDialecto::ColumnasPorNombre(const QString& strTabla) {
    PRecordset rs = RowsetColumnas();
    if (!HayCatalogo())
        return rs;
    COdbcSentencia stmt(m_Cn);
    stmt.Columnas(std::nullopt, std::nullopt, m_Cn.EscaparPatron(strTabla));
    AgregarColumnas(stmt, *rs, nullptr);
    stmt.Cerrar();
    // These drivers match names without regard to case; a DBMS may hold two tables whose names
    // differ only in case, and then the exact one is meant. The corrections of the whole answer
    // come first, while their row numbers still hold.
    bool exacta = false;
    for (std::size_t i = 0; i < static_cast<std::size_t>(rs->NumeroFilas()) && !exacta; ++i)
        exacta = rs->ValorEn(i, columnas::Tabla).toString() == strTabla;
    CompletarColumnas(*rs, strTabla);
    if (exacta)
        rs->Filtrar([&](std::size_t fila) {
            return rs->ValorEn(fila, columnas::Tabla).toString() == strTabla;
        });
    return rs;
}

QSet<QString> CDialecto::ClavesDeTablas(const CRecordset* tablas) {
    // The dialects' tables rowsets list the driver's objects under the same names.
    const PRecordset propias = tablas ? nullptr : TablasDelControlador();
    const CRecordset& t = tablas ? *tablas : *propias;
    const int colCatalogo = t.IndiceColumna(QStringLiteral("TABLE_CATALOG"));
    const int colEsquema = t.IndiceColumna(QStringLiteral("TABLE_SCHEMA"));
    const int colNombre = t.IndiceColumna(QStringLiteral("TABLE_NAME"));
    QSet<QString> claves;
    claves.reserve(t.NumeroFilas());
    for (std::size_t i = 0; i < static_cast<std::size_t>(t.NumeroFilas()); ++i)
        claves.insert(
            Clave(t.ValorEn(i, colCatalogo), t.ValorEn(i, colEsquema), t.ValorEn(i, colNombre)));
    return claves;
}

PRecordset CDialecto::ColumnasTodas(const std::function<bool()>* fnSeguir, const CRecordset* tablas,
                                    const QStringList& columnas) {
    PRecordset rs = RowsetColumnasTodas(columnas);
    if (!HayCatalogo())
        return rs;
    // Some drivers answer for exactly the tables and views of the tables rowset; the others
    // also for objects it does not list, so their answer is filtered.
    std::optional<QSet<QString>> filtro;
    std::size_t objetos = 1000;
    if (!TodasExactas()) {
        filtro = ClavesDeTablas(tablas);
        objetos = static_cast<std::size_t>(filtro->size());
    }
    COdbcSentencia stmt(m_Cn);
    try {
        stmt.Columnas(std::nullopt, EsquemaDeTodas(), QStringLiteral("%"));
    } catch (const CError&) {
        return nullptr; // a driver that wants a table name
    }
    rs->Reservar(objetos * 10);
    if (!AgregarColumnas(stmt, *rs, filtro ? &*filtro : nullptr, fnSeguir))
        return nullptr;
    stmt.Cerrar();
    CompletarColumnas(*rs, std::nullopt);
    return rs;
}

// ---------------------------------------------------------------------------------------------
// INDEXES

void CDialecto::AgregarIndices(const CObjeto& objeto, CRecordset& rs) {
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

PRecordset CDialecto::Indices(const QString& strTabla) {
    PRecordset rs = RowsetIndices();
    for (const CObjeto& objeto : ObjetosLlamados(strTabla))
        AgregarIndices(objeto, *rs);
    return rs;
}

PRecordset CDialecto::IndicesTodos() {
    PRecordset rs = RowsetIndices();
    for (const CObjeto& objeto : TablasBase())
        AgregarIndices(objeto, *rs);
    return rs;
}

std::vector<CDialecto::CObjeto> CDialecto::TablasBase() {
    std::vector<CObjeto> objetos;
    const PRecordset rs = TablasDelControlador();
    for (std::size_t t = 0; t < static_cast<std::size_t>(rs->NumeroFilas()); ++t) {
        const QString tipo = rs->ValorEn(t, tablas::Tipo).toString();
        if (tipo != QLatin1String("TABLE") && tipo != QLatin1String("SYSTEM TABLE"))
            continue;
        const QVariant& c = rs->ValorEn(t, tablas::Catalogo);
        const QVariant& e = rs->ValorEn(t, tablas::Esquema);
        objetos.push_back(
            {CRecordset::EsNulo(c) ? std::nullopt : std::optional<QString>(c.toString()),
             CRecordset::EsNulo(e) ? std::nullopt : std::optional<QString>(e.toString()),
             rs->ValorEn(t, tablas::Nombre).toString()});
    }
    return objetos;
}

// ---------------------------------------------------------------------------------------------
// PROCEDURES

bool CDialecto::ProcedimientoOculto(const std::optional<QString>&) const {
    return false;
}

void CDialecto::CompletarProcedimientos(CRecordset&) {}

PRecordset CDialecto::Procedimientos() {
    auto rs = std::make_unique<CRecordset>(
        QStringList{"PROCEDURE_CATALOG", "PROCEDURE_SCHEMA", "PROCEDURE_NAME", "PROCEDURE_TYPE",
                    "DESCRIPTION", "DATE_CREATED", "DATE_MODIFIED"});
    if (!HayCatalogo())
        return rs;
    COdbcSentencia stmt(m_Cn);
    stmt.Procedimientos(std::nullopt, std::nullopt, std::nullopt);
    // Read by position: some drivers name these columns in lower case.
    while (stmt.Siguiente()) {
        const auto catalogo = Normal(stmt.Texto(0));
        const auto esquema = Normal(stmt.Texto(1));
        const auto nombre = stmt.Texto(2);
        if (!nombre || ProcedimientoOculto(esquema))
            continue;
        const auto descripcion = Normal(stmt.Texto(6));
        const auto tipo = stmt.Entero(7);
        // ODBC 0 unknown, 1 procedure, 2 function; OLE DB 1, 2, 3.
        const int tipoOleDb = tipo && *tipo >= 0 && *tipo <= 2 ? static_cast<int>(*tipo) + 1 : 1;
        rs->AgregarFila(
            {V(catalogo), V(esquema), *nombre, tipoOleDb, V(descripcion), QVariant(), QVariant()});
    }
    stmt.Cerrar();
    if (rs->NumeroFilas() > 0)
        CompletarProcedimientos(*rs);
    return rs;
}

// ---------------------------------------------------------------------------------------------
// FOREIGN_KEYS

PRecordset CDialecto::ClavesAjenas() {
    PRecordset rs = RowsetClavesAjenas();
    COdbcSentencia stmt(m_Cn);
    // One call per table, as the driver manager demands a table name.
    for (const CObjeto& objeto : TablasBase()) {
        stmt.ClavesAjenas(std::nullopt, std::nullopt, std::nullopt, objeto.catalogo, objeto.esquema,
                          objeto.nombre);
        while (stmt.Siguiente())
            rs->AgregarFila(FilaClaveAjena(stmt));
        stmt.Cerrar();
    }
    return rs;
}

// ---------------------------------------------------------------------------------------------
// PROVIDER_TYPES

PRecordset CDialecto::TiposProveedor(std::optional<long> lngTipoDatos,
                                     std::optional<bool> booMejor) {
    auto rs = std::make_unique<CRecordset>(QStringList{
        "TYPE_NAME", "DATA_TYPE", "COLUMN_SIZE", "LITERAL_PREFIX", "LITERAL_SUFFIX",
        "CREATE_PARAMS", "IS_NULLABLE", "CASE_SENSITIVE", "SEARCHABLE", "UNSIGNED_ATTRIBUTE",
        "FIXED_PREC_SCALE", "AUTO_UNIQUE_VALUE", "LOCAL_TYPE_NAME", "MINIMUM_SCALE",
        "MAXIMUM_SCALE", "IS_LONG", "BEST_MATCH", "IS_FIXEDLENGTH"});
    COdbcSentencia stmt(m_Cn);
    stmt.TiposDatos(SQL_ALL_TYPES);
    std::vector<int> tipos;
    while (stmt.Siguiente()) {
        const auto nombre = stmt.Texto(0);
        int tipoOdbc = static_cast<int>(stmt.Entero(1).value_or(0));
        // The same number the columns give a column declared with this type.
        if (nombre)
            tipoOdbc = TipoDeclarado(*nombre, tipoOdbc);
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
        tipos.push_back(tipo);
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
                           VInt(escalaMin), VInt(escalaMax), largo, false, longitudFija);
    }
    CompletarTipos(*rs);
    // The best match of a number is the type a DBA of this DBMS calls it by, when the driver
    // lists that name; else the driver's first of that number.
    QHash<int, std::size_t> mejores;
    QSet<int> preferidos;
    for (std::size_t fila = 0; fila < tipos.size(); ++fila) {
        const int tipo = tipos[fila];
        if (!mejores.contains(tipo))
            mejores.insert(tipo, fila);
        const QString preferido = TipoPreferido(tipo);
        if (!preferidos.contains(tipo) && !preferido.isEmpty() &&
            rs->ValorEn(fila, 0).toString().compare(preferido, Qt::CaseInsensitive) == 0) {
            mejores.insert(tipo, fila);
            preferidos.insert(tipo);
        }
    }
    const int colMejor = rs->IndiceColumna(QStringLiteral("BEST_MATCH"));
    for (const std::size_t fila : std::as_const(mejores))
        rs->PonerValor(fila, colMejor, true);
    rs->Filtrar([&](std::size_t fila) {
        return (!lngTipoDatos || *lngTipoDatos == tipos[fila]) &&
               (!booMejor || *booMejor == rs->ValorEn(fila, colMejor).toBool());
    });
    return rs;
}

void CDialecto::CompletarTipos(CRecordset&) {}

QString CDialecto::TipoPreferido(int) const {
    return {};
}

// ---------------------------------------------------------------------------------------------
// DBINFO keywords and literals

PRecordset CDialecto::PalabrasClave() {
    auto rs = std::make_unique<CRecordset>(QStringList{"Keyword"});
    const QString lista = m_Cn.InfoTexto(SQL_KEYWORDS);
    for (const QString& p : lista.split(QLatin1Char(','), Qt::SkipEmptyParts))
        if (!p.trimmed().isEmpty())
            rs->AgregarValores(p.trimmed());
    return rs;
}

PRecordset CDialecto::Literales() {
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

QVariant CDialecto::CardinalidadDelControlador(const CObjeto& objeto) {
    // Only the driver's table-statistics row: counting would read the object, and reading a
    // view runs whatever it calls.
    COdbcSentencia stmt(m_Cn);
    stmt.Estadisticas(objeto.catalogo, objeto.esquema, objeto.nombre);
    QVariant cardinalidad;
    while (stmt.Siguiente())
        if (stmt.Entero(6) == SQL_TABLE_STAT) {
            cardinalidad = V(stmt.Entero(10));
            break;
        }
    return cardinalidad;
}

PRecordset CDialecto::Estadisticas(const QString& strTabla) {
    PRecordset rs = RowsetEstadisticas();
    for (const CObjeto& objeto : ObjetosLlamados(strTabla))
        rs->AgregarValores(V(objeto.catalogo), V(objeto.esquema), objeto.nombre,
                           CardinalidadDelControlador(objeto));
    return rs;
}

std::pair<PRecordset, PRecordset> CDialecto::TablasYEstadisticas() {
    PRecordset tablas = Tablas();
    PRecordset estadisticas;
    try {
        estadisticas = EstadisticasTodas();
    } catch (const CError&) {
    }
    return {std::move(tablas), std::move(estadisticas)};
}

PRecordset CDialecto::EstadisticasTodas() {
    PRecordset rs = RowsetEstadisticas();
    const PRecordset objetos = TablasDelControlador();
    for (std::size_t t = 0; t < static_cast<std::size_t>(objetos->NumeroFilas()); ++t) {
        const QVariant& c = objetos->ValorEn(t, tablas::Catalogo);
        const QVariant& e = objetos->ValorEn(t, tablas::Esquema);
        const QString nombre = objetos->ValorEn(t, tablas::Nombre).toString();
        const QString tipo = objetos->ValorEn(t, tablas::Tipo).toString();
        QVariant cardinalidad;
        if (tipo == QLatin1String("TABLE") || tipo == QLatin1String("SYSTEM TABLE"))
            cardinalidad = CardinalidadDelControlador(
                {CRecordset::EsNulo(c) ? std::nullopt : std::optional<QString>(c.toString()),
                 CRecordset::EsNulo(e) ? std::nullopt : std::optional<QString>(e.toString()),
                 nombre});
        rs->AgregarValores(c, e, nombre, cardinalidad);
    }
    return rs;
}

QVariant CDialecto::ContarConPlazo(const CObjeto& objeto) {
    try {
        COdbcSentencia stmt(m_Cn);
        stmt.TiempoLimite(kSegundosRecuento);
        stmt.Ejecutar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(NombreCompleto(objeto)));
        if (stmt.Siguiente())
            return V(stmt.Entero(0));
    } catch (const CError&) {
        // a time-out, or a table this role may not read
    }
    return {};
}

// ---------------------------------------------------------------------------------------------
// Connection properties

QList<QPair<QString, QVariant>> CDialecto::Propiedades() {
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
