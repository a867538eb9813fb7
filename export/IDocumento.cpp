#include "export/IDocumento.h"

#include "comun/IDialogos.h"
#include "export/modArchivos.h"

bool IDocumento::GuardarEnArchivo(const QString& strRuta, bool booMostrarConfirmacion) const {
    QByteArray bytDocumento;
    QString strError;
    if (!Contenido(bytDocumento, strError) || !EscribirArchivo(strRuta, bytDocumento, strError)) {
        Dialogos().Mensaje(MensajeArchivoNoGuardado(strRuta, strError), Estilo::Critico);
        return false;
    }
    if (booMostrarConfirmacion)
        ConfirmarArchivoGuardado(strRuta);
    return true;
}
