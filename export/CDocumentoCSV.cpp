#include "export/CDocumentoCSV.h"

QString CDocumentoCSV::PrepararValor(const QString& strValor) const {
    QString strPreparado = strValor;
    strPreparado.replace(QLatin1Char('"'), QLatin1String("\"\""));
    if (strPreparado.contains(QLatin1Char(',')))
        strPreparado = QLatin1Char('"') + strPreparado + QLatin1Char('"');
    // Only U+0020: a TAB or a line break at either end stays where it is.
    qsizetype intInicio = 0;
    qsizetype intFin = strPreparado.size();
    while (intInicio < intFin && strPreparado[intInicio] == QLatin1Char(' '))
        ++intInicio;
    while (intFin > intInicio && strPreparado[intFin - 1] == QLatin1Char(' '))
        --intFin;
    return strPreparado.mid(intInicio, intFin - intInicio);
}
