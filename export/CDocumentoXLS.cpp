#include "export/CDocumentoXLS.h"

#include "export/modXml.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <xlsxwriter.h>

namespace {

// Palette colour 15 of the spreadsheet's default palette.
constexpr lxw_color_t kGrisClaro = 0xC0C0C0;
// Limits of the file format.
constexpr int kLongitudMaximaCelda = 32767;
constexpr double kAnchoMaximoColumna = 255.0;
constexpr double kAnchoPorDefecto = 8.43;

// A workbook abandoned on a failure is freed without being written.
struct CLiberarLibro {
    void operator()(lxw_workbook* objLibro) const { lxw_workbook_free(objLibro); }
};

// A cell holds text only; the format refuses longer strings outright.
QByteArray TextoCelda(const QString& strValor) {
    return TextoXmlValido(strValor).left(kLongitudMaximaCelda).toUtf8();
}

} // namespace

QString CDocumentoXLS::NombreHoja(const QString& strTexto) {
    QString strNombre = strTexto;
    for (const QChar c : {u':', u'\\', u'/', u'?', u'*', u'[', u']'})
        strNombre.replace(c, QLatin1Char('_'));
    strNombre.truncate(31);
    // Never cut a character in two.
    if (!strNombre.isEmpty() && strNombre.back().isHighSurrogate())
        strNombre.chop(1);
    return strNombre;
}

bool CDocumentoXLS::Contenido(QByteArray& bytDocumento, QString& strError) const {
    QTemporaryDir carpeta;
    if (!carpeta.isValid()) {
        strError = carpeta.errorString();
        return false;
    }
    const QString strArchivo = carpeta.filePath(QStringLiteral("libro.xlsx"));
    const QByteArray bytArchivo = QFile::encodeName(strArchivo);
    QByteArray bytCarpeta = QFile::encodeName(carpeta.path());
    lxw_workbook_options opciones = {};
    opciones.tmpdir = bytCarpeta.data();
    std::unique_ptr<lxw_workbook, CLiberarLibro> objLibro(
        workbook_new_opt(bytArchivo.constData(), &opciones));
    if (!objLibro) {
        strError = QStringLiteral("no se puede crear el libro");
        return false;
    }

    QString strHoja = NombreHoja(TipoObjetosActual());
    // The format's own rules beyond the seven characters: a name is never empty and never starts
    // or ends with an apostrophe.
    if (strHoja.startsWith(QLatin1Char('\'')))
        strHoja[0] = QLatin1Char('_');
    if (strHoja.endsWith(QLatin1Char('\'')))
        strHoja[strHoja.size() - 1] = QLatin1Char('_');
    if (strHoja.isEmpty())
        strHoja = QStringLiteral("Hoja1");
    lxw_worksheet* objHoja = workbook_add_worksheet(objLibro.get(), strHoja.toUtf8().constData());
    if (!objHoja) {
        strError = QStringLiteral("nombre de hoja no válido: ") + strHoja;
        return false;
    }

    lxw_format* objTitulo = workbook_add_format(objLibro.get());
    format_set_bold(objTitulo);
    format_set_pattern(objTitulo, LXW_PATTERN_SOLID);
    format_set_bg_color(objTitulo, kGrisClaro);

    const QStringList& strTitulos = Titulos();
    std::vector<int> lngAnchos(strTitulos.size(), 0);
    lxw_error lngError = LXW_NO_ERROR;
    for (int c = 0; c < strTitulos.size() && lngError == LXW_NO_ERROR; ++c) {
        lngError =
            worksheet_write_string(objHoja, 0, c, TextoCelda(strTitulos[c]).constData(), objTitulo);
        lngAnchos[c] = AnchoTexto(strTitulos[c]);
    }
    const QList<QStringList>& strFilas = Filas();
    for (qsizetype f = 0; f < strFilas.size() && lngError == LXW_NO_ERROR; ++f) {
        if (f + 1 >= LXW_ROW_MAX) {
            strError = QStringLiteral("la lista tiene más filas de las que admite una hoja");
            return false;
        }
        const QStringList& strValores = strFilas[f];
        for (int c = 0; c < strValores.size() && lngError == LXW_NO_ERROR; ++c) {
            // An empty value leaves its cell empty; the next value still goes to the next column.
            if (!strValores[c].isEmpty())
                lngError = worksheet_write_string(objHoja, static_cast<lxw_row_t>(f + 1), c,
                                                  TextoCelda(strValores[c]).constData(), nullptr);
            // Only titled columns are fitted: values beyond the titles never widen the range.
            if (c < static_cast<int>(lngAnchos.size()))
                lngAnchos[c] = std::max(lngAnchos[c], AnchoTexto(strValores[c]));
        }
    }
    for (int c = 0; c < static_cast<int>(lngAnchos.size()) && lngError == LXW_NO_ERROR; ++c) {
        // A little room for the bold titles and the cell margins.
        const double dblAncho =
            std::clamp(lngAnchos[c] * 1.1 + 1.0, kAnchoPorDefecto, kAnchoMaximoColumna);
        lngError = worksheet_set_column(objHoja, c, c, dblAncho, nullptr);
    }
    if (lngError != LXW_NO_ERROR) {
        strError = QString::fromUtf8(lxw_strerror(lngError));
        return false;
    }
    lngError = workbook_close(objLibro.release());
    if (lngError != LXW_NO_ERROR) {
        strError = QString::fromUtf8(lxw_strerror(lngError));
        return false;
    }
    QFile archivo(strArchivo);
    if (!archivo.open(QIODevice::ReadOnly)) {
        strError = archivo.errorString();
        return false;
    }
    bytDocumento = archivo.readAll();
    return true;
}
