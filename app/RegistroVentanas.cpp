#include "app/RegistroVentanas.h"

#include "app/frmPrincipal.h"

void RegistrarVentanas() {
    // Each window room adds its factory here, e.g.
    // frmPrincipal::EstablecerFabricaExplorador([] { return new frmExplorador; });
}
