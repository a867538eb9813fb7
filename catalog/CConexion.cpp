#include "catalog/CConexion.h"

#include "catalog/CError.h"

// Placeholder for the data-access layer until it lands: never opens.
class COdbcConexion {};

CConexion::CConexion() = default;
CConexion::~CConexion() = default;
bool CConexion::Conectado() const { return m_Enlace != nullptr; }
bool CConexion::Conectar() {
    m_ErrorConexion = QStringLiteral("Acceso a datos no disponible");
    return false;
}
void CConexion::Desconectar() { m_Enlace.reset(); }
QString CConexion::Proveedor() const { throw CError(0, QStringLiteral("CConexion"), QStringLiteral("Conexión cerrada")); }
QString CConexion::CadenaDeConexion() const { return m_Cadena; }
void CConexion::setCadenaDeConexion(const QString& strCadena) { m_Cadena = strCadena; }
PRecordset CConexion::Tablas() { return nullptr; }
PRecordset CConexion::Procedimientos() { return nullptr; }
PRecordset CConexion::Campos(const QString&) { return nullptr; }
PRecordset CConexion::Indices(const QString&) { return nullptr; }
PRecordset CConexion::Relaciones() { return nullptr; }
PRecordset CConexion::TiposDatos() { return nullptr; }
PRecordset CConexion::PalabrasReservadas() { return nullptr; }
PRecordset CConexion::Literales() { return nullptr; }
QString CConexion::NumeroRegistros(const QString&) { return {}; }
QString CConexion::DescripcionTipoDatos(long) { return {}; }
QList<QPair<QString, QVariant>> CConexion::Propiedades() { return {}; }
PRecordset CConexion::CamposTodos() { return nullptr; }
