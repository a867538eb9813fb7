#include "app/RegistroVentanas.h"

#include "app/frmPrincipal.h"
#include "explorer/frmExplorador.h"

void RegistrarVentanas() {
    // Each window room adds its factory here.
    frmPrincipal::EstablecerFabricaExplorador([] { return new frmExplorador; });
}
