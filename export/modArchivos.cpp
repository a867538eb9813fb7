#include "export/modArchivos.h"

#include "comun/IDialogos.h"

#include <QFileInfo>
#include <QLocale>

namespace {

struct CFormatoArchivo {
    const char* strFiltro;
    const char* strExtension;
};

// Indexed by the format code.
const CFormatoArchivo kFormatos[] = {
    {"Documentos de Microsoft Word (*.doc)", "doc"},
    {"Hojas de cálculo de Microsoft Excel (*.xls)", "xls"},
    {"Archivos XML (*.xml)", "xml"},
    {"Archivos de texto (*.txt)", "txt"},
    {"Valores separados por comas (*.csv)", "csv"},
};

bool FormatoConocido(int lngFormato) {
    return lngFormato >= Formato::Word && lngFormato <= Formato::Csv;
}

} // namespace

QString FormatearTamano(qint64 lngBytes) {
    if (lngBytes == 1)
        return QStringLiteral("1 byte");
    if (lngBytes < 1024)
        return QString::number(lngBytes) + QStringLiteral(" bytes");
    const QLocale local;
    const auto cociente = [&](double dblUnidad, const char* strUnidad) {
        return local.toString(static_cast<double>(lngBytes) / dblUnidad, 'f', 2) +
               QLatin1Char(' ') + QLatin1String(strUnidad);
    };
    if (lngBytes < 1048576)
        return cociente(1024.0, "Kb");
    if (lngBytes < 1073741824)
        return cociente(1048576.0, "Mb");
    return cociente(1073741824.0, "Gb");
}

bool RequiereArchivo(int lngFormato) {
    return lngFormato == Formato::Xml || lngFormato == Formato::Texto || lngFormato == Formato::Csv;
}

QString FiltroArchivos(int lngFormato) {
    if (!FormatoConocido(lngFormato))
        return QString();
    return QString::fromUtf8(kFormatos[lngFormato].strFiltro) +
           QStringLiteral(";;Todos los archivos (*.*)");
}

QString ExtensionArchivo(int lngFormato) {
    if (!FormatoConocido(lngFormato))
        return QString();
    return QString::fromLatin1(kFormatos[lngFormato].strExtension);
}

bool ExisteArchivo(const QString& strRuta) {
    return !strRuta.isEmpty() && QFileInfo::exists(strRuta);
}

bool GuardarArchivoComo(const QString& strFiltro, const QString& strExtension, QString& strRuta) {
    return Dialogos().GuardarArchivoComo(strFiltro, strExtension, strRuta);
}

bool AbrirArchivo(const QString& strRuta) {
    return Dialogos().AbrirArchivo(strRuta);
}

void ConfirmarArchivoGuardado(const QString& strRuta) {
    const QString strTexto = QStringLiteral("Archivo guardado en ") + strRuta +
                             QStringLiteral(" (") + FormatearTamano(QFileInfo(strRuta).size()) +
                             QStringLiteral(")\r\n\r\n¿Desea abrir el archivo ahora?");
    if (Dialogos().Mensaje(strTexto, Estilo::SiNo | Estilo::Informacion) == Respuesta::Si)
        AbrirArchivo(strRuta);
}
