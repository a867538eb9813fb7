#include "export/CDocumentoOfimatico.h"

#include "comun/IDialogos.h"
#include "export/modArchivos.h"

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>

void CDocumentoOfimatico::AgregarValor(const QString& strValor) {
    if (m_strFilas.isEmpty())
        m_strFilas.append(QStringList());
    m_strFilas.last() << strValor;
}

int CDocumentoOfimatico::AnchoTexto(const QString& strTexto) {
    qsizetype lngAncho = 0;
    for (const QStringView linea : QStringView(strTexto).split(QLatin1Char('\n')))
        lngAncho = std::max(lngAncho, linea.size());
    return static_cast<int>(lngAncho);
}

QString CDocumentoOfimatico::NombreArchivo() const {
    QString strNombre = m_strTipoObjetos;
    // Characters no file system of a removable disk accepts either, so a copy keeps its name.
    for (QChar& c : strNombre)
        if (c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c))
            c = QLatin1Char('_');
    if (strNombre.isEmpty() || strNombre == QLatin1String(".") || strNombre == QLatin1String(".."))
        strNombre = QStringLiteral("Documento");
    return strNombre + QLatin1Char('.') + m_strExtension;
}

void CDocumentoOfimatico::InformarFallo(const QString& strTexto) {
    m_booError = true;
    Dialogos().Mensaje(strTexto, Estilo::Critico);
}

void CDocumentoOfimatico::Guardar(const QString& strRuta, bool) {
    QByteArray bytDocumento;
    QString strError;
    if (!Contenido(bytDocumento, strError)) {
        InformarFallo(QStringLiteral("No se puede crear el documento:\r\n") + strError);
        return;
    }
    if (!strRuta.isEmpty()) {
        if (!EscribirArchivo(strRuta, bytDocumento, strError))
            InformarFallo(MensajeArchivoNoGuardado(strRuta, strError));
        return;
    }
    QTemporaryDir carpeta(QDir::tempPath() + QStringLiteral("/verondal-XXXXXX"));
    if (!carpeta.isValid()) {
        InformarFallo(MensajeArchivoNoGuardado(QDir::tempPath(), carpeta.errorString()));
        return;
    }
    const QString strArchivo = carpeta.filePath(NombreArchivo());
    if (!EscribirArchivo(strArchivo, bytDocumento, strError)) {
        InformarFallo(MensajeArchivoNoGuardado(strArchivo, strError));
        return;
    }
    // The office program reads the file after this call returns: the folder stays.
    carpeta.setAutoRemove(false);
    if (!AbrirArchivo(strArchivo))
        Dialogos().Mensaje(
            QStringLiteral("Ningún programa ha abierto el documento. Se encuentra en ") +
                strArchivo,
            Estilo::Informacion);
}
