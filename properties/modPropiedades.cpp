#include "properties/modPropiedades.h"

#include "controles/CPunteroRaton.h"
#include "controles/modGeneral.h"
#include "properties/frmPropiedadesConexion.h"
#include "properties/frmPropiedadesTabla.h"

namespace {

// Inside the main window its child frame destroys the window on close; alone, it must itself.
template <typename T> T* NuevaVentana() {
    auto* frm = new T;
    if (!VentanaPrincipal())
        frm->setAttribute(Qt::WA_DeleteOnClose);
    return frm;
}

} // namespace

frmPropiedadesConexion* MostrarPropiedadesConexion(const QString& strId) {
    auto* frm = NuevaVentana<frmPropiedadesConexion>();
    MostrarVentanaHija(frm);
    // Painted now, without letting other events in: the user sees the window while it fills.
    MarcoVentana(frm)->repaint();
    frm->Conexion(strId);
    return frm;
}

frmPropiedadesTabla* MostrarPropiedadesTabla(const QString& strId, const QString& strTabla,
                                             const QString& strEsquema) {
    const CPunteroRaton reloj(Puntero::FlechaReloj);
    auto* frm = NuevaVentana<frmPropiedadesTabla>();
    frm->Conexion(strId);
    frm->Tabla(strTabla, strEsquema);
    MostrarVentanaHija(frm);
    return frm;
}
