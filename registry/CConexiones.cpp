#include "registry/CConexiones.h"

#include "comun/CError.h"
#include "comun/NumerosError.h"
#include "registry/CConfiguracion.h"

#include <algorithm>

CConexiones::Lista::const_iterator CConexiones::Posicion(const QString& strKey) const {
    return std::find_if(m_Coleccion.cbegin(), m_Coleccion.cend(), [&](const auto& objConexion) {
        return objConexion->Id().compare(strKey, Qt::CaseInsensitive) == 0;
    });
}

CConexion* CConexiones::Buscar(const QString& strKey) const {
    const auto it = Posicion(strKey);
    return it == m_Coleccion.cend() ? nullptr : it->get();
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
    m_Coleccion.push_back(std::move(objConexion));
    return *m_Coleccion.back();
}

void CConexiones::Eliminar(const QString& strId) {
    const auto it = Posicion(strId);
    if (it == m_Coleccion.cend())
        throw CError(NumeroError::Argumento, QStringLiteral("CConexiones::Eliminar()"),
                     QStringLiteral("No existe la conexión %1").arg(strId));
    if (m_Configuracion)
        m_Configuracion->EliminarConexion((*it)->Nodo());
    m_Coleccion.erase(it);
}

CConexion& CConexiones::NuevaConexion(const QString& strTitulo,
                                      const QString& strCadenaDeConexion) {
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
            m_Coleccion.pop_back();
            throw;
        }
    }
    return objConexion;
}

void CConexiones::ModificarConexion(const QString& strId, const QString& strTitulo,
                                    const QString& strCadenaDeConexion) {
    CConexion& objConexion = Item(strId);
    if (m_Configuracion)
        m_Configuracion->ModificarConexion(objConexion, strTitulo, strCadenaDeConexion);
    objConexion.Desconectar();
    objConexion.setTitulo(strTitulo);
    objConexion.setCadenaDeConexion(strCadenaDeConexion);
}
