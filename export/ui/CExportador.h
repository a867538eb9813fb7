// The export driver: asks for a format, asks for a file name where the format writes one, and
// feeds a list's titles and rows to the writer. Created by a property window for one export.
#pragma once

#include "comun/IListaExportable.h"

#include <QPointer>
#include <QString>
#include <QWidget>

class CExportador {
public:
    // The format dialog is modal to objPropietario (the main window); none means the active one.
    explicit CExportador(QWidget* objPropietario = nullptr) : m_objPropietario(objPropietario) {}

    void Conexion(const QString& strKey) { m_strConexion = strKey; }
    void TipoObjetos(const QString& strTipoObjetos) { m_strTipoObjetos = strTipoObjetos; }
    // Returns when the export is finished or abandoned; every failure has been shown.
    void ExportarListView(const IListaExportable& lvw);

private:
    void ExportarDocumento(const IListaExportable& lvw, int lngFormato, const QString& strRuta);

    QPointer<QWidget> m_objPropietario;
    QString m_strConexion; // kept for the caller's sake; the export does not use it
    QString m_strTipoObjetos;
};
