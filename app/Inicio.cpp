#include "app/Inicio.h"

#include "app/frmPrincipal.h"
#include "comun/CError.h"
#include "comun/IDialogos.h"
#include "controles/CPunteroRaton.h"
#include "export/modArchivos.h"
#include "registry/CVerondal.h"

#include <QDir>
#include <QFileInfo>

frmPrincipal* Inicio(const QString& strRutaConfiguracion) {
    const QString strRuta = QFileInfo(strRutaConfiguracion).absoluteFilePath();
    if (!ExisteArchivo(strRuta)) {
        Dialogos().Mensaje(QStringLiteral("No se encuentra el archivo de configuración ") +
                               QDir::toNativeSeparators(strRuta),
                           Estilo::Critico | Estilo::Aceptar, QStringLiteral("Error"));
        return nullptr;
    }

    QString strError;
    frmPrincipal* frm = nullptr;
    {
        CPunteroRaton objReloj(Puntero::Reloj);
        try {
            objVerondal = std::make_unique<CVerondal>(strRuta);
        } catch (const CError& e) {
            strError = e.Descripcion();
        } catch (const std::exception& e) {
            strError = QString::fromUtf8(e.what());
        }
        // A half-loaded list of connections is never used: any error drops the whole object.
        if (!strError.isEmpty() || (objVerondal && objVerondal->Error())) {
            objVerondal.reset();
        } else {
            frm = new frmPrincipal;
            frm->setAttribute(Qt::WA_DeleteOnClose);
            frm->show();
            frm->MostrarExplorador();
        }
    }
    if (!strError.isEmpty())
        Dialogos().Mensaje(strError, Estilo::Critico | Estilo::Aceptar, QStringLiteral("Error"));
    return frm;
}
