#include "explorer/modConexionesExplorador.h"

#include "comun/CError.h"
#include "comun/IDialogos.h"
#include "explorer/IVinculoDatos.h"
#include "registry/CConexiones.h"

namespace {

const QString PreguntaNombre = QStringLiteral("Introduzca un nombre para ésta conexión");

} // namespace

bool NuevaConexion(CConexiones& objConexiones) {
    const QString strTitulo = QStringLiteral("Nueva conexión");
    const std::optional<QString> strCadena = VinculoDatos().PedirCadena(strTitulo, QString());
    if (!strCadena)
        return false;
    const std::optional<QString> strNombre = Dialogos().Entrada(PreguntaNombre, strTitulo);
    if (!strNombre)
        return false;
    try {
        objConexiones.NuevaConexion(*strNombre, *strCadena);
        return true;
    } catch (const CError& e) {
        // A file that cannot be written: nothing was added, and the user learns why.
        Dialogos().Mensaje(e.Descripcion(), Estilo::Critico, strTitulo);
        return false;
    }
}

bool ModificarConexion(CConexiones& objConexiones, const QString& strId) {
    const QString strTitulo = QStringLiteral("Modificar conexión");
    CConexion* objConexion = objConexiones.Buscar(strId);
    if (!objConexion)
        return false;
    const QString strActual = objConexion->Titulo();
    const std::optional<QString> strCadena = VinculoDatos().PedirCadena(
        strActual.isEmpty() ? strTitulo : strActual, objConexion->CadenaDeConexion());
    if (!strCadena)
        return false;
    const std::optional<QString> strNombre =
        Dialogos().Entrada(PreguntaNombre, strTitulo, strActual);
    if (!strNombre)
        return false;
    try {
        objConexiones.ModificarConexion(strId, *strNombre, *strCadena);
        return true;
    } catch (const CError& e) {
        Dialogos().Mensaje(e.Descripcion(), Estilo::Critico, strTitulo);
        return false;
    }
}
