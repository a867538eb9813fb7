#include "registry/CConexiones.h"

#include "comun/CError.h"
#include "comun/NumerosError.h"
#include "registry/CConfiguracion.h"

#include <QDomElement>
#include <algorithm>

namespace {

QString Clave(const QString& strId) {
    return strId.toCaseFolded();
}

// The title and the encrypted string as the element holds them: equal texts, equal connection.
bool MismoContenido(const QDomElement& xmlUno, const QDomElement& xmlOtro) {
    for (const QString& strHijo : {QStringLiteral("Titulo"), QStringLiteral("CadenaDeConexion")})
        if (xmlUno.firstChildElement(strHijo).text() != xmlOtro.firstChildElement(strHijo).text())
            return false;
    return true;
}

} // namespace

CConexiones::Lista::const_iterator CConexiones::Posicion(const QString& strKey) const {
    const CConexion* objConexion = Buscar(strKey);
    return std::find_if(m_Coleccion.cbegin(), m_Coleccion.cend(),
                        [&](const auto& objOtra) { return objOtra.get() == objConexion; });
}

CConexion* CConexiones::Buscar(const QString& strKey) const {
    return m_Indice.value(Clave(strKey), nullptr);
}

CConexion& CConexiones::Item(const QString& strKey) const {
    return *Compartida(strKey);
}

std::shared_ptr<CConexion> CConexiones::Compartida(const QString& strKey) const {
    const auto it = Posicion(strKey);
    if (it == m_Coleccion.cend())
        throw CError(NumeroError::Argumento, QStringLiteral("CConexiones::Item()"),
                     QStringLiteral("No existe la conexión %1").arg(strKey));
    return *it;
}

CConexion& CConexiones::Agregar(std::unique_ptr<CConexion> objConexion) {
    if (Buscar(objConexion->Id()))
        throw CError(NumeroError::ClaveRepetida, QStringLiteral("CConexiones::Agregar()"),
                     QStringLiteral("Ya existe una conexión con el Id %1").arg(objConexion->Id()));
    m_Indice.insert(Clave(objConexion->Id()), objConexion.get());
    m_Coleccion.push_back(std::move(objConexion));
    return *m_Coleccion.back();
}

void CConexiones::Indexar() {
    m_Indice.clear();
    m_Indice.reserve(static_cast<qsizetype>(m_Coleccion.size()));
    for (const auto& objConexion : m_Coleccion)
        m_Indice.insert(Clave(objConexion->Id()), objConexion.get());
}

QString CConexiones::Nombrar(const QString& strId) const {
    const CConexion* objConexion = Buscar(strId);
    if (!objConexion || objConexion->Titulo().isEmpty())
        return strId;
    return QStringLiteral("«%1» (%2)").arg(objConexion->Titulo(), objConexion->Id());
}

void CConexiones::Sincronizar(std::vector<std::unique_ptr<CConexion>> nuevas) {
    Lista lista;
    lista.reserve(nuevas.size());
    for (auto& objNueva : nuevas) {
        const auto it = Posicion(objNueva->Id());
        if (it != m_Coleccion.cend() && (*it)->Id() == objNueva->Id() &&
            MismoContenido((*it)->Nodo(), objNueva->Nodo())) {
            (*it)->setNodo(objNueva->Nodo());
            lista.push_back(*it);
        } else {
            lista.push_back(std::move(objNueva));
        }
    }
    m_Coleccion.swap(lista);
    Indexar();
}

bool CConexiones::Seguir() {
    auto nuevas = m_Configuracion->Releer();
    if (!nuevas)
        return false;
    Sincronizar(std::move(*nuevas));
    return true;
}

bool CConexiones::Recargar() {
    if (!m_Configuracion)
        return false;
    const auto bloqueo = m_Configuracion->Bloquear();
    return Seguir();
}

void CConexiones::Eliminar(const QString& strId) {
    const QString strOrigen = QStringLiteral("CConexiones::Eliminar()");
    if (!Buscar(strId))
        throw CError(NumeroError::Argumento, strOrigen,
                     QStringLiteral("No existe la conexión %1").arg(strId));
    std::unique_ptr<CConfiguracion::CBloqueo> bloqueo;
    if (m_Configuracion) {
        const QString strNombre = Nombrar(strId);
        bloqueo = m_Configuracion->Bloquear();
        Seguir();
        if (!Buscar(strId))
            throw CError(NumeroError::Argumento, strOrigen,
                         QStringLiteral("La conexión %1 ya no está en el archivo %2: otro "
                                        "programa la ha eliminado")
                             .arg(strNombre, m_Configuracion->Ruta()));
    }
    const auto it = Posicion(strId);
    if (m_Configuracion)
        m_Configuracion->EliminarConexion((*it)->Nodo());
    m_Indice.remove(Clave((*it)->Id()));
    m_Coleccion.erase(it);
}

CConexion& CConexiones::NuevaConexion(const QString& strTitulo,
                                      const QString& strCadenaDeConexion) {
    // The Id is chosen from the file as it is under the lock, so that two writers at once never
    // take the same one.
    std::unique_ptr<CConfiguracion::CBloqueo> bloqueo;
    if (m_Configuracion) {
        bloqueo = m_Configuracion->Bloquear();
        Seguir();
    }
    // cnx(Count + 1) is taken after a deletion or with gaps in the file: go on to a free one.
    long lngNumero = Count() + 1;
    while (Buscar(QStringLiteral("cnx%1").arg(lngNumero)))
        ++lngNumero;

    auto objNueva = std::make_unique<CConexion>();
    objNueva->setId(QStringLiteral("cnx%1").arg(lngNumero));
    objNueva->setTitulo(strTitulo);
    objNueva->setCadenaDeConexion(strCadenaDeConexion);
    CConexion& objConexion = Agregar(std::move(objNueva));
    if (m_Configuracion) {
        try {
            m_Configuracion->AgregarConexion(objConexion);
        } catch (...) {
            m_Indice.remove(Clave(objConexion.Id()));
            m_Coleccion.pop_back();
            throw;
        }
    }
    return objConexion;
}

void CConexiones::ModificarConexion(const QString& strId, const QString& strTitulo,
                                    const QString& strCadenaDeConexion) {
    std::unique_ptr<CConfiguracion::CBloqueo> bloqueo;
    if (m_Configuracion) {
        const QString strNombre = Buscar(strId) ? Nombrar(strId) : strId;
        bloqueo = m_Configuracion->Bloquear();
        Seguir();
        if (!Buscar(strId))
            throw CError(NumeroError::Argumento, QStringLiteral("CConexiones::ModificarConexion()"),
                         QStringLiteral("La conexión %1 ya no está en el archivo %2: otro "
                                        "programa la ha eliminado y no se puede modificar")
                             .arg(strNombre, m_Configuracion->Ruta()));
    }
    CConexion& objConexion = Item(strId);
    if (m_Configuracion)
        m_Configuracion->ModificarConexion(objConexion, strTitulo, strCadenaDeConexion);
    objConexion.Desconectar();
    objConexion.setTitulo(strTitulo);
    objConexion.setCadenaDeConexion(strCadenaDeConexion);
}
