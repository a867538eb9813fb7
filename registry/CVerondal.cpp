#include "registry/CVerondal.h"

#include <QCoreApplication>

std::unique_ptr<CVerondal> objVerondal;

CVerondal::CVerondal(const QString& strRutaConfiguracion)
    : m_ADO(std::make_unique<CAdo>()), m_Conexiones(std::make_unique<CConexiones>()),
      m_Configuracion(std::make_unique<CConfiguracion>()) {
    m_Configuracion->setRuta(strRutaConfiguracion);
    if (!m_Configuracion->Error())
        m_Configuracion->CargarConexiones(*m_Conexiones);
    m_Conexiones->setConfiguracion(m_Configuracion.get());
}

CVerondal::~CVerondal() {
    // The collection goes before the configuration it writes to; its connections close their
    // links as they go.
    m_ADO.reset();
    m_Conexiones.reset();
    m_Configuracion.reset();
}

QString CVerondal::RutaConfiguracion() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Verondal.xml");
}
