#include "compare/CComparador.h"

#include "compare/CIndicesRelaciones.h"

#include "catalog/CAdo.h"
#include "catalog/CConexion.h"
#include "catalog/CRecordset.h"
#include "comun/CError.h"
#include "comun/NumerosError.h"
#include "registry/CVerondal.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <optional>

namespace {

const QString kTodos = QStringLiteral("(todos)");
const QString kSinDiferencias = QStringLiteral("No se han encontrado diferencias");
const QString kCampo = QStringLiteral("Campo");
const QString kTablaNombre = QStringLiteral("TABLE_NAME");
const QString kTablaTipo = QStringLiteral("TABLE_TYPE");
const QString kTablaEsquema = QStringLiteral("TABLE_SCHEMA");

// Names match as the recordset's find matches them: by value, ignoring letter case.
QString Clave(const QString& strNombre) {
    return strNombre.toCaseFolded();
}

QString NoExiste(const QString& strOtroTitulo) {
    return QStringLiteral("El objeto no existe en la conexión \"") + strOtroTitulo +
           QLatin1Char('"');
}

// The kind of a tables-rowset row in the tables phase; empty when the phase skips it.
QString TipoTabla(const QVariant& tipo, bool booOcultos) {
    if (CRecordset::EsNulo(tipo))
        return {};
    const QString strTipo = tipo.toString();
    if (strTipo == QLatin1String("TABLE"))
        return QStringLiteral("Tabla");
    if (strTipo == QLatin1String("SYSTEM TABLE") || strTipo == QLatin1String("ACCESS TABLE"))
        return booOcultos ? QStringLiteral("Tabla del sistema") : QString();
    if (strTipo == QLatin1String("PASS-THROUGH"))
        return QStringLiteral("Tabla vinculada");
    return {};
}

// The same for the views phase.
QString TipoVista(const QVariant& tipo, bool booOcultos) {
    if (CRecordset::EsNulo(tipo))
        return {};
    const QString strTipo = tipo.toString();
    if (strTipo == QLatin1String("VIEW"))
        return QStringLiteral("Vista");
    if (strTipo == QLatin1String("SYSTEM VIEW"))
        return booOcultos ? QStringLiteral("Vista del sistema") : QString();
    return {};
}

// A default as another DBMS would write the same value: PostgreSQL adds a cast to its
// constants ('x'::character varying), booleans are true/false or 1/0, numbers carry their
// declared scale (0.00), and the current time has several spellings.
QString DefectoComparable(QString strDefecto) {
    static const QRegularExpression cast(
        QStringLiteral("^\\((.*)\\)$|::[A-Za-z_][\\w .\"]*(\\(\\d+(,\\s*\\d+)?\\))?(\\[\\])*$"));
    for (QString antes; antes != strDefecto;) {
        antes = strDefecto;
        const auto m = cast.match(strDefecto);
        if (m.hasMatch())
            strDefecto =
                m.capturedStart(1) >= 0 ? m.captured(1) : strDefecto.left(m.capturedStart());
        strDefecto = strDefecto.trimmed();
    }
    if (strDefecto.startsWith(QLatin1Char('\'')))
        return strDefecto;
    const QString strMinusculas = strDefecto.toLower();
    if (strMinusculas == QLatin1String("true"))
        return QStringLiteral("1");
    if (strMinusculas == QLatin1String("false"))
        return QStringLiteral("0");
    if (strMinusculas == QLatin1String("now()") ||
        strMinusculas == QLatin1String("current_timestamp()"))
        return QStringLiteral("current_timestamp");
    bool booNumero = false;
    const double dblValor = strDefecto.toDouble(&booNumero);
    return booNumero ? QString::number(dblValor, 'g', 17) : strMinusculas;
}

// A column's maximum length; nothing when null or not a number.
std::optional<qint64> Longitud(const QVariant& v) {
    if (CRecordset::EsNulo(v))
        return std::nullopt;
    bool booValido = false;
    const qint64 lng = v.toLongLong(&booValido);
    return booValido ? std::optional<qint64>(lng) : std::nullopt;
}

// The application's code texts; a command line without a configuration has its own.
const CAdo& Ado() {
    static const CAdo objAdo;
    return objVerondal ? objVerondal->ADO() : objAdo;
}

// Whether a column row's schema is the table's; a table without a schema restricts nothing.
bool DelEsquema(const QVariant& esquemaFila, const QVariant& esquemaTabla) {
    return CRecordset::EsNulo(esquemaTabla) ||
           (!CRecordset::EsNulo(esquemaFila) && esquemaFila.toString() == esquemaTabla.toString());
}

QString Comillas(const QString& strTexto) {
    return QStringLiteral("«") + strTexto + QStringLiteral("»");
}

} // namespace

namespace {
// The columns of a columns rowset the comparison reads: a bulk rowset keeps only these.
const QStringList kColumnasLeidas = {QStringLiteral("COLUMN_NAME"),
                                     QStringLiteral("DATA_TYPE"),
                                     QStringLiteral("CHARACTER_MAXIMUM_LENGTH"),
                                     QStringLiteral("IS_NULLABLE"),
                                     QStringLiteral("COLUMN_DEFAULT"),
                                     kTablaNombre,
                                     kTablaEsquema,
                                     QStringLiteral("TYPE_NAME")};
} // namespace

// Where the five columns the comparison reads sit in a columns rowset.
struct CComparador::CCamposLeidos {
    CCamposLeidos() = default;
    explicit CCamposLeidos(const CRecordset& rs)
        : nombre(rs.IndiceColumna(QStringLiteral("COLUMN_NAME"))),
          tipo(rs.IndiceColumna(QStringLiteral("DATA_TYPE"))),
          longitud(rs.IndiceColumna(QStringLiteral("CHARACTER_MAXIMUM_LENGTH"))),
          nulos(rs.IndiceColumna(QStringLiteral("IS_NULLABLE"))),
          defecto(rs.IndiceColumna(QStringLiteral("COLUMN_DEFAULT"))),
          tabla(rs.IndiceColumna(kTablaNombre)), esquema(rs.IndiceColumna(kTablaEsquema)),
          nombreTipo(rs.IndiceColumna(QStringLiteral("TYPE_NAME"))) {}
    int nombre = -1, tipo = -1, longitud = -1, nulos = -1, defecto = -1;
    int tabla = -1, esquema = -1, nombreTipo = -1;
};

// One side of the comparison: its connection and what this comparison learnt of it.
struct CComparador::CLado {
    explicit CLado(std::shared_ptr<CConexion> objConexion)
        : con(std::move(objConexion)), titulo(con->Titulo()) {}
    std::shared_ptr<CConexion>
        con; // kept for the whole comparison, removed from the collection or not
    QString titulo;
    QString sgbd;      // its DBMS, once open
    PRecordset tablas; // the tables rowset, read once for the phases that walk it
    PRecordset todos;  // every column of the catalogue, when the driver gives them
    CCamposLeidos camposTodos;
    bool booTodosPedidos = false;
    QHash<long, QString> tipos; // data-type descriptions already asked for
};

// The columns of one table on one side: rows of a recordset, in the order Campos gives them.
struct CComparador::CColumnasTabla {
    // Tables this wide get a hash for their column names; narrower ones are scanned.
    static constexpr std::size_t kAnchoIndice = 24;

    PRecordset propio;              // a per-table Campos rowset, when that is where they came from
    const CRecordset* rs = nullptr; // propio, or the side's bulk rowset
    CCamposLeidos col;
    std::vector<std::size_t> filas;
    std::vector<std::optional<QString>> claves; // folded COLUMN_NAME of each row; none if null
    QHash<QString, std::size_t> indice;         // folded name -> its first position in filas
    bool booNulo = false;                       // the provider failed
    bool booLiteral = false;

    void Preparar(const CCamposLeidos& campos) {
        col = campos;
        claves.reserve(filas.size());
        for (std::size_t fila : filas) {
            const QVariant& v = Valor(fila, col.nombre);
            claves.push_back(CRecordset::EsNulo(v) ? std::nullopt
                                                   : std::optional<QString>(Clave(v.toString())));
        }
        if (booLiteral || filas.size() <= kAnchoIndice)
            return;
        indice.reserve(static_cast<qsizetype>(filas.size()));
        for (std::size_t i = 0; i < claves.size(); ++i)
            if (claves[i] && !indice.contains(*claves[i]))
                indice.insert(*claves[i], i);
    }

    const QVariant& Valor(std::size_t fila, int intColumna) const {
        static const QVariant nulo;
        return intColumna < 0 ? nulo : rs->ValorEn(fila, intColumna);
    }

    // The position of the first row with that folded name, where a find from the first row
    // would stand.
    std::optional<std::size_t> Buscar(const QString& strClave) const {
        if (!indice.isEmpty()) {
            const auto it = indice.constFind(strClave);
            return it == indice.constEnd() ? std::nullopt : std::optional<std::size_t>(*it);
        }
        for (std::size_t i = 0; i < claves.size(); ++i)
            if (claves[i] && *claves[i] == strClave)
                return i;
        return std::nullopt;
    }
};

CComparador::CComparador() = default;
CComparador::~CComparador() = default;

namespace {
std::shared_ptr<CConexion> ConexionPorId(const QString& strKey) {
    if (!objVerondal)
        throw CError(NumeroError::Argumento, QStringLiteral("CComparador"),
                     QStringLiteral("No hay ninguna configuración cargada"));
    return objVerondal->Conexiones().Compartida(strKey);
}
} // namespace

void CComparador::setConexion1(const QString& strKey) {
    m_objConexion1 = ConexionPorId(strKey);
}
void CComparador::setConexion2(const QString& strKey) {
    m_objConexion2 = ConexionPorId(strKey);
}

void CComparador::Comparar(IResultados& objResultados) {
    if (!m_objConexion1 || !m_objConexion2)
        throw CError(NumeroError::SinConexiones, QStringLiteral("CComparador"),
                     QStringLiteral("Faltan las conexiones que comparar"));
    m_booCancelado = false;
    m_lngDiferenciasTotal = 0;
    m_booFalloConexion = false;
    m_booFalloCatalogo = false;

    // The sink is borrowed for this call only: its later Cancelar events reach nobody.
    struct CSoltar {
        CComparador& c;
        IResultados& r;
        ~CSoltar() {
            r.EstablecerManejadorCancelar({});
            c.m_frmResultados = nullptr;
            c.m_Lado1.reset();
            c.m_Lado2.reset();
        }
    } soltar{*this, objResultados};
    m_frmResultados = &objResultados;
    objResultados.EstablecerManejadorCancelar([this] { m_frmResultados_Cancelar(); });

    Estado(QStringLiteral("Iniciando..."));
    objResultados.Mostrar();

    m_strFase.clear();
    m_Lado1 = std::make_unique<CLado>(m_objConexion1);
    m_Lado2 = std::make_unique<CLado>(m_objConexion2);
    const bool booAbierta1 = AbrirConexion(*m_Lado1);
    const bool booAbierta2 = !m_booCancelado && AbrirConexion(*m_Lado2);

    if (m_booCancelado) {
        // Cancelled while opening: nothing was compared, and nothing failed.
    } else if (!booAbierta1 || !booAbierta2) {
        // No phase runs on a database that could not be read: it would report "no differences".
        m_booFalloConexion = true;
        long lngErrores = 0;
        for (const CLado* lado : {m_Lado1.get(), m_Lado2.get()})
            if (!lado->con->Conectado())
                AgregarDiferencia(kTodos, QString(), lado->titulo,
                                  QStringLiteral("No se puede abrir la conexión: ") +
                                      lado->con->ErrorConexion(),
                                  lngErrores, IconoFalta, ClaseDiferencia::Conexion);
    } else {
        // Each side's tables rowset serves these two phases only.
        const auto soltarTablas = [this] {
            m_Lado1->tablas.reset();
            m_Lado2->tablas.reset();
        };
        if (m_booCompararTablas && !Detenido())
            CompararListaTablas();
        if (!m_booCompararVistas)
            soltarTablas();
        if (m_booCompararVistas && !Detenido())
            CompararListaVistas();
        soltarTablas();
        if (m_booCompararProcedimientos && !Detenido())
            CompararListaProcedimientos();
        if (m_booCompararIndices && !Detenido())
            CompararListaClaves(true);
        if (m_booCompararRelaciones && !Detenido())
            CompararListaClaves(false);
    }

    Estado(m_booCancelado ? QStringLiteral("Proceso cancelado")
                          : QStringLiteral("Proceso finalizado"));
}

void CComparador::Estado(const QString& strEstado) {
    m_frmResultados->Estado(strEstado);
    m_frmResultados->Ceder();
}

// "Comparando tablas (37% completado)": the first pass counts 0 to 50, the second 50 to 100.
void CComparador::EstadoProgreso(const QString& strPrefijo, const CRecordset& rs,
                                 bool booSegundaPasada) {
    const double dblBase = booSegundaPasada ? 50.0 : 0.0;
    const long lngFilas = rs.NumeroFilas();
    double dblPorcentaje =
        lngFilas > 0
            ? static_cast<double>(rs.Posicion()) / static_cast<double>(lngFilas) * 50.0 + dblBase
            : dblBase;
    dblPorcentaje = std::clamp(dblPorcentaje, dblBase, 100.0);
    Estado(strPrefijo + QLocale().toString(dblPorcentaje, 'f', 0) +
           QStringLiteral("% completado)"));
}

void CComparador::AgregarDiferencia(const QString& strTexto, const QString& strTipo,
                                    const QString& strConexion, const QString& strMensaje,
                                    long& lngDiferencias, int intIcono, ClaseDiferencia lngClase) {
    ++lngDiferencias;
    // A column's row names its table; a table's row is about itself.
    QString strTabla;
    if (lngClase == ClaseDiferencia::Objeto && m_strFase == QLatin1String("Tablas"))
        strTabla = strTexto;
    else if (lngClase != ClaseDiferencia::Objeto && lngClase != ClaseDiferencia::Conexion &&
             lngClase != ClaseDiferencia::Catalogo)
        strTabla = m_strTabla;
    m_frmResultados->AgregarFila({strTexto, strTipo, strConexion, strMensaje, intIcono,
                                  kColorTextoVentana, lngClase, m_strFase, strTabla});
    m_frmResultados->Ceder();
}

void CComparador::AgregarSinDiferencias(const QString& strTexto, const QString& strTipo,
                                        const QString& strMensaje) {
    m_frmResultados->AgregarFila({strTexto, strTipo, QString(), strMensaje, IconoSinDiferencias,
                                  kColorVerdeOscuro, ClaseDiferencia::SinDiferencias, m_strFase,
                                  QString()});
    m_frmResultados->Ceder();
}

// What the engine's thread and the thread of a read in progress share.
struct CComparador::CLectura {
    std::mutex mutex;
    std::condition_variable condicion;
    bool booCesionPedida = false;
    bool booTerminada = false;
};

template <typename F> auto CComparador::Leer(CLado& lado, F fnLeer) {
    using namespace std::chrono;
    CLectura lectura;
    m_Lectura = &lectura;
    auto futuro = std::async(std::launch::async, [&lectura, &fnLeer] {
        struct CFin {
            CLectura& l;
            ~CFin() {
                std::lock_guard bloqueo(l.mutex);
                l.booTerminada = true;
                l.condicion.notify_all();
            }
        } fin{lectura};
        return fnLeer();
    });
    std::optional<steady_clock::time_point> cancelado;
    bool booInterrumpido = false;
    std::unique_lock bloqueo(lectura.mutex);
    // The sink turns the message loop at least this often while a read blocks.
    constexpr milliseconds kCesion(25);
    while (!lectura.condicion.wait_for(bloqueo, kCesion, [&lectura] {
        return lectura.booTerminada || lectura.booCesionPedida;
    }) || !lectura.booTerminada) {
        bloqueo.unlock();
        m_frmResultados->Ceder();
        // A read that hears the cancel itself (CamposTodos, every few hundred rows) stops gently
        // and leaves the link usable; one still blocked a moment later is cut, so that a cancel
        // ends the comparison at once.
        if (m_booCancelado && !booInterrumpido) {
            if (!cancelado)
                cancelado = steady_clock::now();
            else if (steady_clock::now() - *cancelado >= milliseconds(60)) {
                lado.con->Interrumpir();
                booInterrumpido = true;
            }
        }
        bloqueo.lock();
        lectura.booCesionPedida = false;
        lectura.condicion.notify_all();
    }
    bloqueo.unlock();
    m_Lectura = nullptr;
    return futuro.get();
}

bool CComparador::CederDesdeLectura() {
    CLectura& lectura = *m_Lectura;
    std::unique_lock bloqueo(lectura.mutex);
    lectura.booCesionPedida = true;
    lectura.condicion.notify_all();
    lectura.condicion.wait(bloqueo, [&lectura] { return !lectura.booCesionPedida; });
    return !m_booCancelado;
}

bool CComparador::Detenido() const {
    return m_booCancelado || !m_Lado1->con->Conectado() || !m_Lado2->con->Conectado();
}

QString CComparador::NoSeLee(const CLado& lado) {
    if (!lado.con->Conectado() && !lado.con->ErrorConexion().isEmpty())
        return lado.con->ErrorConexion();
    return QStringLiteral("No se puede leer el catálogo de la conexión \"") + lado.titulo +
           QLatin1Char('"');
}

bool CComparador::AbrirConexion(CLado& lado) {
    if (!lado.con->Conectado()) {
        Estado(QStringLiteral("Conectando ") + lado.titulo + QStringLiteral("..."));
        Leer(lado, [&lado] { return lado.con->Conectar(); });
    }
    lado.sgbd = lado.con->NombreDBMS();
    return lado.con->Conectado();
}

// A side whose catalogue cannot be read gets a row of its own, so that the phase never
// claims "no differences" for it. False when the phase cannot run.
bool CComparador::ConjuntosLeidos(const CRecordset* rs1, const CRecordset* rs2,
                                  const QString& strTipo, long& lngDiferencias) {
    if (rs1 && rs2)
        return true;
    m_booFalloCatalogo = true;
    const std::pair<const CRecordset*, const CLado*> lados[] = {{rs1, m_Lado1.get()},
                                                                {rs2, m_Lado2.get()}};
    for (const auto& [rs, lado] : lados)
        if (!rs)
            AgregarDiferencia(kTodos, strTipo, lado->titulo, NoSeLee(*lado), lngDiferencias,
                              IconoFalta, ClaseDiferencia::Catalogo);
    return false;
}

// Finds the first row whose column equals the name, ignoring case; on no match the rowset
// stands at its end.
bool CComparador::Buscar(CRecordset& rs, const QString& strColumna, const QString& strValor) const {
    if (!m_booAlgoritmoLiteral)
        return rs.BuscarPrimero(strColumna, strValor);
    const int col = rs.IndiceColumna(strColumna);
    const QString clave = Clave(strValor);
    for (rs.MoverPrimero(); !rs.FinDatos(); rs.MoverSiguiente()) {
        const QVariant v = rs.Valor(col);
        if (!CRecordset::EsNulo(v) && Clave(v.toString()) == clave)
            return true;
    }
    return false;
}

CRecordset* CComparador::Conjunto(CLado& lado, PRecordset (CConexion::*fnConjunto)(),
                                  PRecordset& propio) {
    // The tables and the views phases walk the same rowset: read once per side (again only
    // after a failure), without the dates that no phase reads.
    if (fnConjunto == &CConexion::Tablas) {
        if (!lado.tablas)
            lado.tablas = Leer(lado, [&lado] {
                PRecordset rs = lado.con->TablasSinFechas();
                if (rs)
                    rs->BuscarTodos(kTablaNombre, QString());
                return rs;
            });
        return lado.tablas.get();
    }
    propio = Leer(lado, [&lado, fnConjunto] { return ((*lado.con).*fnConjunto)(); });
    return propio.get();
}

// One phase: both sides' rowsets walked in two passes, side 1's first; fnFila examines one row
// of "este" against "otro". Ends with the no-differences row when nothing was found.
void CComparador::Fase(const QString& strTipo, const QString& strPrefijo,
                       PRecordset (CConexion::*fnConjunto)(), const QString& strColumnaNombre,
                       const QString& strColumnaTipo, const FnFila& fnFila) {
    CLado& l1 = *m_Lado1;
    CLado& l2 = *m_Lado2;
    long lngDiferencias = 0;
    m_strFase = strTipo;
    PRecordset propio1, propio2;
    CRecordset* rs1 = Conjunto(l1, fnConjunto, propio1);
    CRecordset* rs2 = Conjunto(l2, fnConjunto, propio2);
    if (m_booCancelado)
        return;
    if (ConjuntosLeidos(rs1, rs2, strTipo, lngDiferencias)) {
        const CPasada pasadas[] = {{*rs1, *rs2, l1, l2, strColumnaNombre, false},
                                   {*rs2, *rs1, l2, l1, strColumnaNombre, true}};
        for (const CPasada& p : pasadas) {
            const int colNombre = p.este.IndiceColumna(strColumnaNombre);
            const int colTipo = p.este.IndiceColumna(strColumnaTipo);
            for (p.este.MoverPrimero(); !p.este.FinDatos() && !Detenido();
                 p.este.MoverSiguiente()) {
                EstadoProgreso(strPrefijo, p.este, p.booSegunda);
                const QVariant nombre = p.este.Valor(colNombre);
                if (!CRecordset::EsNulo(nombre))
                    fnFila(p, nombre.toString(), p.este.Valor(colTipo), lngDiferencias);
            }
        }
    }
    if (lngDiferencias == 0)
        AgregarSinDiferencias(kTodos, strTipo, kSinDiferencias);
    m_lngDiferenciasTotal += lngDiferencias;
}

void CComparador::CompararListaTablas() {
    FaseTablasComunes(
        QStringLiteral("Tablas"), QStringLiteral("Comparando tablas ("),
        [&](const QString& strTabla, const CTabla& tabla1, const CTabla& tabla2,
            long& lngDiferencias) {
            // Each side's columns under its own spelling and schema.
            CompararCamposTabla(strTabla, tabla1, tabla2, lngDiferencias);
        },
        [&](const CPasada& p, const QString& strNombre, const QString& strTipo,
            long& lngDiferencias) {
            AgregarDiferencia(strNombre, strTipo, p.ladoEste.titulo, NoExiste(p.ladoOtro.titulo),
                              lngDiferencias, IconoFalta);
        });
    // The bulk columns served this phase only.
    for (CLado* lado : {m_Lado1.get(), m_Lado2.get()}) {
        lado->todos.reset();
        lado->booTodosPedidos = false;
    }
}

QString CComparador::NombreEnMensajes(CRecordset& rs, const CTabla& tabla,
                                      const QString& strNombre) {
    if (CRecordset::EsNulo(tabla.esquema))
        return strNombre;
    const int colEsquema = rs.IndiceColumna(kTablaEsquema);
    const int colNombre = rs.IndiceColumna(kTablaNombre);
    const auto filas = rs.BuscarTodos(kTablaNombre, strNombre);
    if (std::any_of(filas.begin(), filas.end(), [&](std::size_t f) {
            return rs.ValorEn(f, colNombre).toString() == strNombre &&
                   rs.ValorEn(f, colEsquema) != tabla.esquema;
        }))
        return tabla.esquema.toString() + QLatin1Char('.') + strNombre;
    return strNombre;
}

CComparador::CTabla CComparador::TablaEn(const CRecordset& rs, std::size_t fila) {
    const int colEsquema = rs.IndiceColumna(kTablaEsquema);
    return {rs.ValorEn(fila, rs.IndiceColumna(kTablaNombre)).toString(),
            colEsquema < 0 ? QVariant() : rs.ValorEn(fila, colEsquema)};
}

std::optional<std::size_t> CComparador::Pareja(CRecordset& otro, const CTabla& tabla) const {
    const int colNombre = otro.IndiceColumna(kTablaNombre);
    std::vector<std::size_t> filas;
    if (m_booAlgoritmoLiteral) {
        const QString clave = Clave(tabla.strNombre);
        for (std::size_t f = 0; f < static_cast<std::size_t>(otro.NumeroFilas()); ++f) {
            const QVariant& v = otro.ValorEn(f, colNombre);
            if (!CRecordset::EsNulo(v) && Clave(v.toString()) == clave)
                filas.push_back(f);
        }
    } else {
        filas = otro.BuscarTodos(kTablaNombre, tabla.strNombre);
    }
    if (filas.empty())
        return std::nullopt;
    const auto puntos = [&](std::size_t f) {
        const CTabla t = TablaEn(otro, f);
        const bool mismoEsquema = !CRecordset::EsNulo(tabla.esquema) &&
                                  !CRecordset::EsNulo(t.esquema) &&
                                  t.esquema.toString() == tabla.esquema.toString();
        return (mismoEsquema ? 2 : 0) + (t.strNombre == tabla.strNombre ? 1 : 0);
    };
    // The first of the best: max_element keeps the first of equals.
    return *std::max_element(filas.begin(), filas.end(),
                             [&](std::size_t a, std::size_t b) { return puntos(a) < puntos(b); });
}

CComparador::CColumnasTabla CComparador::Columnas(CLado& lado, const CTabla& tabla) {
    CColumnasTabla columnas;
    columnas.booLiteral = m_booAlgoritmoLiteral;
    if (!m_booAlgoritmoLiteral) {
        if (!lado.booTodosPedidos) {
            // A large catalogue takes long to read: the cancel button is heard meanwhile, and
            // stops the read.
            // Only the columns compared are stored: a large catalogue's rowset is most of the
            // memory a comparison takes.
            lado.todos = Leer(lado, [this, &lado] {
                PRecordset rs = lado.con->CamposTodos([this] { return CederDesdeLectura(); },
                                                      lado.tablas.get(), kColumnasLeidas);
                // Its name index too is built here, away from the yielding thread.
                if (rs)
                    rs->BuscarTodos(kTablaNombre, QString());
                return rs;
            });
            lado.booTodosPedidos = true;
            if (m_booCancelado) {
                lado.todos.reset();
                columnas.booNulo = true;
                return columnas;
            }
            if (lado.todos)
                lado.camposTodos = CCamposLeidos(*lado.todos);
        }
        if (lado.todos) {
            // The bulk rows of this very table: its spelling (PostgreSQL and MariaDB may hold
            // "a" and "A") and its schema (a name may live in several).
            const CCamposLeidos& col = lado.camposTodos;
            columnas.rs = lado.todos.get();
            columnas.filas = lado.todos->BuscarTodos(kTablaNombre, tabla.strNombre);
            std::erase_if(columnas.filas, [&](std::size_t f) {
                return lado.todos->ValorEn(f, col.tabla).toString() != tabla.strNombre ||
                       !DelEsquema(columnas.Valor(f, col.esquema), tabla.esquema);
            });
            columnas.Preparar(col);
            return columnas;
        }
    }
    // Asked by this side's own spelling, which each driver matches; PostgreSQL answers for
    // every schema holding the name, and only this table's stay.
    columnas.propio = Leer(lado, [&lado, &tabla] { return lado.con->Campos(tabla.strNombre); });
    if (!columnas.propio) {
        columnas.booNulo = true;
        return columnas;
    }
    columnas.rs = columnas.propio.get();
    const CCamposLeidos col(*columnas.rs);
    for (std::size_t f = 0; f < static_cast<std::size_t>(columnas.rs->NumeroFilas()); ++f)
        if (DelEsquema(columnas.Valor(f, col.esquema), tabla.esquema))
            columnas.filas.push_back(f);
    columnas.Preparar(col);
    return columnas;
}

void CComparador::CompararCamposTabla(const QString& strTabla, const CTabla& tabla1,
                                      const CTabla& tabla2, long& lngDiferencias) {
    // A cancel heard while a side's columns were read ends the phase as one heard before this
    // table: nothing of it is compared.
    const CColumnasTabla columnas1 = Columnas(*m_Lado1, tabla1);
    const CColumnasTabla columnas2 = Detenido() ? CColumnasTabla() : Columnas(*m_Lado2, tabla2);
    if (m_booCancelado)
        return;
    if (Detenido()) {
        // A side cut mid-phase: its reason, once, and the phase ends.
        m_booFalloCatalogo = true;
        for (const CLado* lado : {m_Lado1.get(), m_Lado2.get()})
            if (!lado->con->Conectado())
                AgregarDiferencia(kTodos, kCampo, lado->titulo, NoSeLee(*lado), lngDiferencias,
                                  IconoFalta, ClaseDiferencia::Catalogo);
        return;
    }
    if (columnas1.booNulo || columnas2.booNulo || columnas1.filas.empty() ||
        columnas2.filas.empty())
        return;
    CompararPasadaCampos(strTabla, columnas1, *m_Lado1, columnas2, *m_Lado2, lngDiferencias);
    CompararPasadaCampos(strTabla, columnas2, *m_Lado2, columnas1, *m_Lado1, lngDiferencias);
}

QString CComparador::DescripcionTipo(CLado& lado, long lngTipo) {
    auto it = lado.tipos.constFind(lngTipo);
    if (it == lado.tipos.constEnd())
        it = lado.tipos.insert(lngTipo, Leer(lado, [&lado, lngTipo] {
                                   return lado.con->DescripcionTipoDatos(lngTipo);
                               }));
    return *it;
}

// One pass of a table's column comparison: every column of this side looked up on the other.
void CComparador::CompararPasadaCampos(const QString& strTabla, const CColumnasTabla& esta,
                                       CLado& ladoEste, const CColumnasTabla& otra, CLado& ladoOtro,
                                       long& lngDiferencias) {
    // The pieces of the messages are put together only for a column that differs.
    const auto deLaTabla = [&] { return QStringLiteral(" de la tabla ") + Comillas(strTabla); };
    const auto enOtra = [&] {
        return QStringLiteral(" y en la conexión ") + Comillas(ladoOtro.titulo) +
               QStringLiteral(" es ");
    };
    m_strTabla = strTabla;
    for (std::size_t i = 0; i < esta.filas.size(); ++i) {
        if (!esta.claves[i])
            continue;
        const std::size_t fila = esta.filas[i];
        const QString strCampo = esta.Valor(fila, esta.col.nombre).toString();
        const auto posicionOtra = otra.Buscar(*esta.claves[i]);
        if (!posicionOtra) {
            AgregarDiferencia(strCampo, kCampo, ladoEste.titulo,
                              QStringLiteral("El campo no existe en la tabla ") +
                                  Comillas(strTabla) + QStringLiteral(" de la conexión ") +
                                  Comillas(ladoOtro.titulo),
                              lngDiferencias, IconoFalta, ClaseDiferencia::Campo);
            continue;
        }
        const std::size_t filaOtra = otra.filas[*posicionOtra];
        const auto delCampo = [&] {
            return QStringLiteral(" del campo ") + Comillas(strCampo) + deLaTabla();
        };

        const QVariant& tipo1 = esta.Valor(fila, esta.col.tipo);
        const QVariant& tipo2 = otra.Valor(filaOtra, otra.col.tipo);
        const auto diferenciaTipo = [&](const QString& strEste, const QString& strOtro) {
            AgregarDiferencia(strCampo, kCampo, ladoEste.titulo,
                              QStringLiteral("El tipo de datos") + delCampo() +
                                  QStringLiteral(" es ") + Comillas(strEste) + enOtra() +
                                  Comillas(strOtro),
                              lngDiferencias, IconoDiferencia, ClaseDiferencia::TipoDatos);
        };
        if (!CRecordset::EsNulo(tipo1) && !CRecordset::EsNulo(tipo2) &&
            tipo1.toLongLong() != tipo2.toLongLong()) {
            diferenciaTipo(DescripcionTipo(ladoEste, tipo1.toInt()),
                           DescripcionTipo(ladoOtro, tipo2.toInt()));
        } else if (!ladoEste.sgbd.isEmpty() && ladoEste.sgbd == ladoOtro.sgbd) {
            // One OLE DB number covers several declared types (varchar and text, timestamp and
            // timestamptz, every enum); on one DBMS their names compare.
            const QVariant& declarado1 = esta.Valor(fila, esta.col.nombreTipo);
            const QVariant& declarado2 = otra.Valor(filaOtra, otra.col.nombreTipo);
            if (!CRecordset::EsNulo(declarado1) && !CRecordset::EsNulo(declarado2) &&
                declarado1.toString() != declarado2.toString())
                diferenciaTipo(declarado1.toString(), declarado2.toString());
        }

        const auto longitud1 = Longitud(esta.Valor(fila, esta.col.longitud));
        const auto longitud2 = Longitud(otra.Valor(filaOtra, otra.col.longitud));
        if (longitud1 && longitud2 && *longitud1 != *longitud2)
            AgregarDiferencia(strCampo, kCampo, ladoEste.titulo,
                              QStringLiteral("La longitud máxima") + delCampo() +
                                  QStringLiteral(" es ") + QString::number(*longitud1) +
                                  QStringLiteral(" en la conexión ") + Comillas(ladoEste.titulo) +
                                  enOtra() + QString::number(*longitud2),
                              lngDiferencias, IconoDiferencia, ClaseDiferencia::Longitud);

        const QVariant& nulos1 = esta.Valor(fila, esta.col.nulos);
        const QVariant& nulos2 = otra.Valor(filaOtra, otra.col.nulos);
        if (!CRecordset::EsNulo(nulos1) && !CRecordset::EsNulo(nulos2) &&
            nulos1.toBool() != nulos2.toBool())
            AgregarDiferencia(strCampo, kCampo, ladoEste.titulo,
                              QStringLiteral("El campo ") + Comillas(strCampo) + deLaTabla() +
                                  (nulos1.toBool() ? QStringLiteral(" ") : QStringLiteral(" no ")) +
                                  QStringLiteral("admite nulos, pero ") +
                                  (nulos2.toBool() ? QStringLiteral("sí") : QStringLiteral("no")) +
                                  QStringLiteral(" los admite en la conexión ") +
                                  Comillas(ladoOtro.titulo),
                              lngDiferencias, IconoDiferencia, ClaseDiferencia::Nulos);

        const QVariant& defecto1 = esta.Valor(fila, esta.col.defecto);
        const QVariant& defecto2 = otra.Valor(filaOtra, otra.col.defecto);
        // Across DBMSs the same value is written differently; on one DBMS the text decides.
        const bool booMismoSgbd = !ladoEste.sgbd.isEmpty() && ladoEste.sgbd == ladoOtro.sgbd;
        if (!CRecordset::EsNulo(defecto1) && !CRecordset::EsNulo(defecto2) &&
            defecto1.toString() != defecto2.toString() &&
            (booMismoSgbd ||
             DefectoComparable(defecto1.toString()) != DefectoComparable(defecto2.toString())))
            AgregarDiferencia(strCampo, kCampo, ladoEste.titulo,
                              QStringLiteral("El valor por defecto") + delCampo() +
                                  QStringLiteral(" es ") + Comillas(defecto1.toString()) +
                                  enOtra() + Comillas(defecto2.toString()),
                              lngDiferencias, IconoDiferencia, ClaseDiferencia::ValorDefecto);
    }
}

void CComparador::CompararListaVistas() {
    Fase(QStringLiteral("Vistas"), QStringLiteral("Comparando vistas ("), &CConexion::Tablas,
         kTablaNombre, kTablaTipo,
         [&](const CPasada& p, const QString& strNombre, const QVariant& tipo,
             long& lngDiferencias) {
             const QString strTipo = TipoVista(tipo, m_booCompararOcultos);
             if (strTipo.isEmpty() || Buscar(p.otro, p.strColumnaNombre, strNombre))
                 return;
             AgregarDiferencia(strNombre, strTipo, p.ladoEste.titulo, NoExiste(p.ladoOtro.titulo),
                               lngDiferencias, IconoFalta);
         });
}

void CComparador::CompararListaProcedimientos() {
    Fase(QStringLiteral("Procedimientos"), QStringLiteral("Comparando procedimientos ("),
         &CConexion::Procedimientos, QStringLiteral("PROCEDURE_NAME"),
         QStringLiteral("PROCEDURE_TYPE"),
         [&](const CPasada& p, const QString& strNombre, const QVariant& tipo,
             long& lngDiferencias) {
             if (Buscar(p.otro, p.strColumnaNombre, strNombre))
                 return;
             AgregarDiferencia(strNombre, Ado().TipoProcedimiento(tipo.toInt()), p.ladoEste.titulo,
                               NoExiste(p.ladoOtro.titulo), lngDiferencias, IconoFalta);
         });
}

void CComparador::FaseTablasComunes(const QString& strTipo, const QString& strPrefijo,
                                    const FnPar& fnPar, const FnFalta& fnFalta) {
    // Side 1's rows already paired, so that pass B pairs the others: those that side 1 lists
    // with a type this phase skips.
    QSet<std::size_t> comparadas;
    Fase(strTipo, strPrefijo, &CConexion::Tablas, kTablaNombre, kTablaTipo,
         [&](const CPasada& p, const QString& strNombre, const QVariant& tipo,
             long& lngDiferencias) {
             const QString strTipoTabla = TipoTabla(tipo, m_booCompararOcultos);
             if (strTipoTabla.isEmpty())
                 return;
             const std::size_t fila = static_cast<std::size_t>(p.este.Posicion() - 1);
             const CTabla tabla = TablaEn(p.este, fila);
             const auto pareja = Pareja(p.otro, tabla);
             if (!pareja) {
                 if (fnFalta)
                     fnFalta(p, strNombre, strTipoTabla, lngDiferencias);
                 return;
             }
             const std::size_t fila1 = p.booSegunda ? *pareja : fila;
             if (p.booSegunda && comparadas.contains(fila1))
                 return;
             comparadas.insert(fila1);
             const CTabla otra = TablaEn(p.otro, *pareja);
             const QString strTabla = NombreEnMensajes(p.este, tabla, strNombre);
             m_strTabla = strTabla;
             if (p.booSegunda)
                 fnPar(strTabla, otra, tabla, lngDiferencias);
             else
                 fnPar(strTabla, tabla, otra, lngDiferencias);
         });
}

bool CComparador::LeerClaves(bool booIndices, bool booRelaciones, CClavesLado& claves1,
                             CClavesLado& claves2, long& lngDiferencias) {
    // One catalogue query per side and rowset; the grouped rows live for this phase only.
    const auto leer = [this](CLado& lado, bool booI, bool booR, CClavesLado& claves) {
        PRecordset indices, relaciones;
        if (booI)
            indices = Leer(lado, [&lado] { return lado.con->IndicesTodos(); });
        if (booR && !m_booCancelado)
            relaciones = Leer(lado, [&lado] { return lado.con->Relaciones(); });
        if (indices)
            claves.LeerIndices(*indices);
        if (relaciones)
            claves.LeerRelaciones(*relaciones);
        return (!booI || indices) && (!booR || relaciones);
    };
    // The index phase reads the foreign keys of a side only against another DBMS, where the
    // indexes MariaDB makes for them by itself must be told apart.
    const bool booOtroSgbd = m_Lado1->sgbd != m_Lado2->sgbd;
    const bool booLeido1 =
        leer(*m_Lado1, booIndices, booRelaciones || (booIndices && booOtroSgbd), claves1);
    const bool booLeido2 =
        !m_booCancelado &&
        leer(*m_Lado2, booIndices, booRelaciones || (booIndices && booOtroSgbd), claves2);
    if (m_booCancelado)
        return false;
    // Its rows name the side that could not be read, as for any other rowset.
    static const CRecordset kLeido;
    return ConjuntosLeidos(booLeido1 ? &kLeido : nullptr, booLeido2 ? &kLeido : nullptr, m_strFase,
                           lngDiferencias);
}

// The indexes phase, or the foreign keys phase.
void CComparador::CompararListaClaves(bool booIndices) {
    CClavesLado claves1, claves2;
    std::optional<bool> leidas; // read at the first pair: no table on both sides, no query
    FaseTablasComunes(
        booIndices ? QStringLiteral("Índices") : QStringLiteral("Relaciones"),
        booIndices ? QStringLiteral("Comparando índices (")
                   : QStringLiteral("Comparando relaciones ("),
        [&](const QString& strTabla, const CTabla& tabla1, const CTabla& tabla2,
            long& lngDiferencias) {
            if (!leidas)
                leidas = LeerClaves(booIndices, !booIndices, claves1, claves2, lngDiferencias);
            if (!*leidas)
                return;
            const CTablaClaves lado1{m_Lado1->titulo, m_Lado1->sgbd,
                                     claves1.Indices(tabla1.esquema, tabla1.strNombre),
                                     claves1.Relaciones(tabla1.esquema, tabla1.strNombre)};
            const CTablaClaves lado2{m_Lado2->titulo, m_Lado2->sgbd,
                                     claves2.Indices(tabla2.esquema, tabla2.strNombre),
                                     claves2.Relaciones(tabla2.esquema, tabla2.strNombre)};
            const auto fnDiferencia = [&](const CDiferenciaClave& d, const CTablaClaves& este) {
                AgregarDiferencia(d.strTexto, d.strTipo, este.strTitulo, d.strMensaje,
                                  lngDiferencias, d.intIcono, d.lngClase);
            };
            if (booIndices)
                CompararIndicesTabla(strTabla, lado1, lado2, fnDiferencia);
            else
                CompararRelacionesTabla(strTabla, lado1, lado2, fnDiferencia);
        });
}
