#include "catalog/CConexion.h"

#include "catalog/CCadenaConexion.h"
#include "catalog/COdbcConexion.h"
#include "catalog/dialectos/CDialecto.h"
#include "comun/CError.h"
#include "comun/NumerosError.h"

#include <QLocale>

#ifdef __GLIBC__
#include <malloc.h>
#endif

// Runs one catalogue question; every failure becomes an empty result. A link cut meanwhile (its
// limit ran out, or a cancel) cannot be used again: it is closed, and ErrorConexion says why.
template <typename T, typename F>
T CConexion::Preguntar(std::shared_ptr<COdbcConexion> enlace, std::shared_ptr<CDialecto> dialecto,
                       F&& pregunta) {
    if (!enlace || !dialecto)
        return T();
    T respuesta;
    try {
        respuesta = pregunta(*dialecto);
    } catch (const std::exception&) {
        respuesta = T();
    }
    if (enlace->MotivoCorte() == COdbcConexion::Corte::Ninguno)
        return respuesta;
    m_ErrorConexion =
        enlace->MotivoCorte() == COdbcConexion::Corte::Plazo
            ? QStringLiteral("La conexión \"%1\" no respondió en %2 segundos y se ha cerrado")
                  .arg(m_Titulo)
                  .arg(enlace->SegundosCorte())
            : QStringLiteral("Se canceló la espera a la conexión \"%1\" y se ha cerrado")
                  .arg(m_Titulo);
    if (m_Enlace == enlace)
        Desconectar();
    return T();
}

CConexion::CConexion() = default;

CConexion::~CConexion() {
    Desconectar();
}

bool CConexion::Conectado() const {
    return m_Enlace != nullptr;
}

bool CConexion::Conectar() {
    if (m_Enlace) {
        m_ErrorConexion = QStringLiteral("La conexión ya está abierta");
        return false;
    }
    auto enlace = std::make_shared<COdbcConexion>();
    struct CAbriendo {
        CConexion& c;
        ~CAbriendo() {
            std::lock_guard bloqueo(c.m_MutexEnlace);
            c.m_Abriendo.reset();
        }
    } abriendo{*this};
    try {
        {
            std::lock_guard bloqueo(m_MutexEnlace);
            m_Abriendo = enlace;
        }
        enlace->Abrir(m_Cadena);
        auto dialecto = CDialecto::Crear(*enlace);
        std::lock_guard bloqueo(m_MutexEnlace);
        m_Dialecto = std::move(dialecto);
        m_Enlace = std::move(enlace);
        m_ErrorConexion.clear();
        return true;
    } catch (const CError& e) {
        m_ErrorConexion =
            enlace->MotivoCorte() == COdbcConexion::Corte::Ninguno
                ? e.Descripcion()
                : QStringLiteral("Se canceló la apertura de la conexión \"%1\"").arg(m_Titulo);
    } catch (const std::exception& e) {
        m_ErrorConexion = QString::fromLocal8Bit(e.what());
    }
    return false;
}

void CConexion::Desconectar() {
    // The dialect holds a reference to the link: it goes first.
    std::shared_ptr<COdbcConexion> enlace;
    std::shared_ptr<CDialecto> dialecto;
    {
        std::lock_guard bloqueo(m_MutexEnlace);
        enlace.swap(m_Enlace);
        dialecto.swap(m_Dialecto);
    }
    dialecto.reset();
}

void CConexion::Interrumpir() {
    std::shared_ptr<COdbcConexion> enlace;
    {
        std::lock_guard bloqueo(m_MutexEnlace);
        enlace = m_Enlace ? m_Enlace : m_Abriendo;
    }
    if (enlace)
        enlace->Cortar(COdbcConexion::Corte::Cancelado);
}

QString CConexion::Proveedor() const {
    if (!m_Enlace)
        throw CError(NumeroError::Generico, QStringLiteral("CConexion"),
                     QStringLiteral("La conexión está cerrada"));
    return m_Enlace->NombreControlador();
}

QString CConexion::NombreDBMS() const {
    return m_Enlace ? m_Enlace->NombreDBMS() : QString();
}

QString CConexion::CadenaDeConexion() const {
    return m_Enlace ? m_Enlace->CadenaCompletada() : m_Cadena;
}

void CConexion::setCadenaDeConexion(const QString& strCadena) {
    if (m_Enlace)
        throw CError(
            -1, QStringLiteral("CConexion"),
            QStringLiteral("No se puede cambiar la cadena de conexión de una conexión abierta"));
    m_Cadena = strCadena;
}

PRecordset CConexion::Tablas() {
    return Preguntar<PRecordset>(m_Enlace, m_Dialecto, [](CDialecto& e) { return e.Tablas(); });
}

PRecordset CConexion::TablasSinFechas() {
    return Preguntar<PRecordset>(m_Enlace, m_Dialecto,
                                 [](CDialecto& e) { return e.TablasSinFechas(); });
}

PRecordset CConexion::Procedimientos() {
    return Preguntar<PRecordset>(m_Enlace, m_Dialecto,
                                 [](CDialecto& e) { return e.Procedimientos(); });
}

namespace {

PRecordset DelEsquema(PRecordset rs, const QString& strEsquema) {
    if (rs && !strEsquema.isEmpty()) {
        const int col = rs->IndiceColumna(QStringLiteral("TABLE_SCHEMA"));
        rs->Filtrar(
            [&](std::size_t fila) { return rs->ValorEn(fila, col).toString() == strEsquema; });
    }
    return rs;
}

} // namespace

PRecordset CConexion::Campos(const QString& strTabla, const QString& strEsquema) {
    return DelEsquema(Preguntar<PRecordset>(m_Enlace, m_Dialecto,
                                            [&](CDialecto& e) { return e.Columnas(strTabla); }),
                      strEsquema);
}

namespace {

// A whole catalogue's result set has just been freed by the driver, in small pieces among the
// rows kept: without this the process keeps those pages, and the next large read (a
// comparison's other side) piles up on top of them.
void DevolverMemoriaLibre() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

} // namespace

PRecordset CConexion::CamposTodos(const std::function<bool()>& fnSeguir, const CRecordset* tablas,
                                  const QStringList& columnas) {
    PRecordset rs;
    if (!fnSeguir) {
        rs = Preguntar<PRecordset>(m_Enlace, m_Dialecto, [tablas, &columnas](CDialecto& e) {
            return e.ColumnasTodas(nullptr, tablas, columnas);
        });
    } else {
        const std::shared_ptr<COdbcConexion> enlace = m_Enlace;
        const std::shared_ptr<CDialecto> dialecto = m_Dialecto;
        const std::function<bool()> seguir = [&] { return fnSeguir() && m_Enlace == enlace; };
        rs = Preguntar<PRecordset>(enlace, dialecto, [&](CDialecto& e) {
            return e.ColumnasTodas(&seguir, tablas, columnas);
        });
    }
    DevolverMemoriaLibre();
    return rs;
}

PRecordset CConexion::Indices(const QString& strTabla, const QString& strEsquema) {
    return DelEsquema(Preguntar<PRecordset>(m_Enlace, m_Dialecto,
                                            [&](CDialecto& e) { return e.Indices(strTabla); }),
                      strEsquema);
}

PRecordset CConexion::IndicesTodos() {
    return Preguntar<PRecordset>(m_Enlace, m_Dialecto,
                                 [](CDialecto& e) { return e.IndicesTodos(); });
}

PRecordset CConexion::Relaciones() {
    return Preguntar<PRecordset>(m_Enlace, m_Dialecto,
                                 [](CDialecto& e) { return e.ClavesAjenas(); });
}

PRecordset CConexion::TiposDatos() {
    return Preguntar<PRecordset>(m_Enlace, m_Dialecto, [](CDialecto& e) {
        return e.TiposProveedor(std::nullopt, std::nullopt);
    });
}

PRecordset CConexion::TiposDatos(long lngTipoDatos, bool booMejorCoincidencia) {
    return Preguntar<PRecordset>(m_Enlace, m_Dialecto, [&](CDialecto& e) {
        return e.TiposProveedor(lngTipoDatos, booMejorCoincidencia);
    });
}

PRecordset CConexion::PalabrasReservadas() {
    return Preguntar<PRecordset>(m_Enlace, m_Dialecto,
                                 [](CDialecto& e) { return e.PalabrasClave(); });
}

PRecordset CConexion::Literales() {
    return Preguntar<PRecordset>(m_Enlace, m_Dialecto, [](CDialecto& e) { return e.Literales(); });
}

PRecordset CConexion::Estadisticas(const QString& strTabla) {
    return Preguntar<PRecordset>(m_Enlace, m_Dialecto,
                                 [&](CDialecto& e) { return e.Estadisticas(strTabla); });
}

QString CConexion::NumeroRegistros(const QString& strTabla) {
    PRecordset rs = Estadisticas(strTabla);
    if (!rs || rs->FinDatos())
        return {};
    const QVariant cardinalidad = rs->Valor(QStringLiteral("CARDINALITY"));
    rs->Cerrar();
    if (CRecordset::EsNulo(cardinalidad))
        return {};
    return QLocale().toString(cardinalidad.toLongLong());
}

PRecordset CConexion::EstadisticasTodas() {
    return Preguntar<PRecordset>(m_Enlace, m_Dialecto,
                                 [](CDialecto& e) { return e.EstadisticasTodas(); });
}

QString CConexion::ClaveObjeto(const QVariant& varCatalogo, const QVariant& varEsquema,
                               const QString& strNombre) {
    auto parte = [](const QVariant& v) {
        return CRecordset::EsNulo(v) ? QStringLiteral("\x01") : v.toString();
    };
    return parte(varCatalogo) + QChar(0x1f) + parte(varEsquema) + QChar(0x1f) + strNombre;
}

namespace {

QHash<QString, QString> Numeros(PRecordset rs) {
    QHash<QString, QString> numeros;
    if (!rs)
        return numeros;
    const QLocale local;
    for (rs->MoverPrimero(); !rs->FinDatos(); rs->MoverSiguiente()) {
        const QVariant cardinalidad = rs->Valor(QStringLiteral("CARDINALITY"));
        if (!CRecordset::EsNulo(cardinalidad))
            numeros.insert(CConexion::ClaveObjeto(rs->Valor(QStringLiteral("TABLE_CATALOG")),
                                                  rs->Valor(QStringLiteral("TABLE_SCHEMA")),
                                                  rs->Texto(QStringLiteral("TABLE_NAME"))),
                           local.toString(cardinalidad.toLongLong()));
    }
    rs->Cerrar();
    return numeros;
}

} // namespace

QHash<QString, QString> CConexion::NumerosRegistros() {
    return Numeros(EstadisticasTodas());
}

std::pair<PRecordset, QHash<QString, QString>> CConexion::TablasYRegistros() {
    auto [tablas, estadisticas] = Preguntar<std::pair<PRecordset, PRecordset>>(
        m_Enlace, m_Dialecto, [](CDialecto& e) { return e.TablasYEstadisticas(); });
    if (!tablas)
        return {};
    return {std::move(tablas), Numeros(std::move(estadisticas))};
}

QString CConexion::DescripcionTipoDatos(long lngTipoDatos) {
    if (PRecordset rs = TiposDatos(lngTipoDatos, true)) {
        const QString nombre = rs->FinDatos() ? QString() : rs->Texto(QStringLiteral("TYPE_NAME"));
        rs->Cerrar();
        return nombre;
    }
    // A provider that refuses the restriction: search the whole list from its first row.
    PRecordset todos = TiposDatos();
    if (!todos)
        return {};
    QString nombre;
    if (todos->NumeroFilas() > 0 &&
        todos->BuscarPrimero(QStringLiteral("DATA_TYPE"), QVariant::fromValue(lngTipoDatos)))
        nombre = todos->Texto(QStringLiteral("TYPE_NAME"));
    todos->Cerrar();
    return nombre;
}

QList<QPair<QString, QVariant>> CConexion::Propiedades() {
    if (m_Enlace) {
        return Preguntar<QList<QPair<QString, QVariant>>>(
            m_Enlace, m_Dialecto, [](CDialecto& e) { return e.Propiedades(); });
    }
    // Closed: what the connection string says, a password never shown.
    QList<QPair<QString, QVariant>> propiedades;
    const CCadenaConexion cadena(m_Cadena);
    for (const auto& [clave, valor] : cadena.Atributos()) {
        QVariant v = valor;
        if (CCadenaConexion::EsClaveSecreta(clave))
            v = QStringLiteral("********");
        else if (valor.isEmpty())
            v = QVariant();
        propiedades.append({clave, v});
    }
    return propiedades;
}
