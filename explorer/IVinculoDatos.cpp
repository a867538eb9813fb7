#include "explorer/IVinculoDatos.h"

#include "explorer/frmVinculoDatos.h"

namespace {
IVinculoDatos* g_Vinculo = nullptr;
} // namespace

IVinculoDatos& VinculoDatos() {
    static CVinculoDatosQt objVentana;
    return g_Vinculo ? *g_Vinculo : objVentana;
}

void EstablecerVinculoDatos(IVinculoDatos* objVinculo) {
    g_Vinculo = objVinculo;
}
