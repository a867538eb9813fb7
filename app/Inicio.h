// Start-up: checks that the configuration file exists, builds the application object, then
// opens the main window and the explorer. Free function; the main window owns itself.
#pragma once

#include <QString>

class frmPrincipal;

// Runs start-up on the configuration file strRutaConfiguracion. Returns the main window, shown
// with the explorer, or nullptr when the program must end (the user has been told why).
frmPrincipal* Inicio(const QString& strRutaConfiguracion);
