#include "export/ui/CExportador.h"

#include "comun/IDialogos.h"
#include "controles/CPunteroRaton.h"
#include "export/modArchivos.h"
#include "export/modExportacion.h"
#include "export/ui/frmExportar.h"

#include <QApplication>

void CExportador::ExportarListView(const IListaExportable& lvw) {
    if (lvw.NumeroElementos() == 0) {
        Dialogos().Mensaje(QStringLiteral("No hay datos para exportar"), Estilo::Critico,
                           QStringLiteral("Error"));
        return;
    }
    frmExportar dlgExportar(m_objPropietario ? m_objPropietario.data()
                                             : QApplication::activeWindow());
    dlgExportar.exec();
    if (!dlgExportar.Aceptar())
        return;
    const int lngFormato = dlgExportar.FormatoExportacion();
    if (!RequiereArchivo(lngFormato)) {
        ExportarDocumento(lvw, lngFormato, QString());
        return;
    }
    QString strRuta;
    if (GuardarArchivoComo(FiltroArchivos(lngFormato), ExtensionArchivo(lngFormato), strRuta))
        ExportarDocumento(lvw, lngFormato, strRuta);
}

void CExportador::ExportarDocumento(const IListaExportable& lvw, int lngFormato,
                                    const QString& strRuta) {
    const std::unique_ptr<IDocumento> objDocumento = CrearDocumento(lngFormato);
    if (!objDocumento || objDocumento->Error())
        return;
    {
        CPunteroRaton reloj(Puntero::Reloj);
        AlimentarDocumento(*objDocumento, m_strTipoObjetos, lvw);
    }
    // Guardar may ask a question: the normal pointer is back by then.
    objDocumento->Guardar(strRuta, true);
}
