#include "app/RegistroVentanas.h"

#include "app/frmPrincipal.h"
#include "compare/ui/frmComparar.h"
#include "explorer/frmExplorador.h"
#include "properties/modPropiedades.h"

void RegistrarVentanas() {
    // Each window room adds its factory here.
    frmPrincipal::EstablecerFabricaExplorador([] { return new frmExplorador; });
    frmExplorador::EstablecerVentanasPropiedades(
        [](const QString& strId) { MostrarPropiedadesConexion(strId); },
        [](const QString& strId, const QString& strTabla, const QString& strEsquema) {
            MostrarPropiedadesTabla(strId, strTabla, strEsquema);
        });
    frmPrincipal::EstablecerFabricaComparar([] { return new frmComparar; });
}
