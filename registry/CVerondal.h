// The application object: the code texts, the connection collection and the configuration file
// behind it. One instance lives in objVerondal from start-up until the main window closes.
#pragma once

#include "catalog/CAdo.h"
#include "registry/CConexiones.h"
#include "registry/CConfiguracion.h"

#include <QString>
#include <memory>

class CVerondal {
public:
    // Loads the configuration at strRutaConfiguracion; a file that does not parse leaves Error
    // true (already reported), and an error among its connections propagates as CError.
    explicit CVerondal(const QString& strRutaConfiguracion);
    ~CVerondal();
    CVerondal(const CVerondal&) = delete;
    CVerondal& operator=(const CVerondal&) = delete;

    bool Error() const { return m_Configuracion->Error(); }
    const CAdo& ADO() const { return *m_ADO; }
    CConexiones& Conexiones() const { return *m_Conexiones; }
    // The configuration file this instance reads and writes.
    const QString& Ruta() const { return m_Configuracion->Ruta(); }
    // Follows what another process wrote to the file (CConexiones::Recargar); true when the
    // collection changed. CError when the file can no longer be read (nothing changes then).
    bool Recargar() const { return !Error() && m_Conexiones->Recargar(); }

    // Verondal.xml beside the running program.
    static QString RutaConfiguracion();

private:
    std::unique_ptr<CAdo> m_ADO;
    std::unique_ptr<CConexiones> m_Conexiones;
    std::unique_ptr<CConfiguracion> m_Configuracion;
};

// Empty before start-up, after a failed start and once the main window begins to close.
extern std::unique_ptr<CVerondal> objVerondal;
