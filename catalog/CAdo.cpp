#include "catalog/CAdo.h"

namespace {
const QString kDesconocido = QStringLiteral("(desconocido)");
} // namespace

QString CAdo::TipoTabla(const QString& strTipoTabla) const {
    // Exact, case-sensitive: a provider's "table" is not one of these.
    static const std::pair<const char*, const char*> tabla[] = {
        {"TABLE", "Tabla"},
        {"VIEW", "Vista"},
        {"ACCESS TABLE", "Tabla del sistema"},
        {"SYSTEM TABLE", "Tabla del sistema"},
        {"SYSTEM VIEW", "Vista del sistema"},
        {"PASS-THROUGH", "Tabla vinculada"},
        {"ALIAS", "Alias"},
        {"GLOBAL TEMPORARY", "Temporal (global)"},
        {"LOCAL TEMPORARY", "Temporal (local)"},
    };
    for (const auto& [strCodigo, strTexto] : tabla)
        if (strTipoTabla == QLatin1String(strCodigo))
            return QString::fromUtf8(strTexto);
    return kDesconocido;
}

QString CAdo::TipoIndice(long lngTipoIndice) const {
    switch (lngTipoIndice) {
    case 1:
        return QStringLiteral("Árbol binario");
    case 2:
        return QStringLiteral("Tabla hash");
    case 3:
        return QStringLiteral("Índice");
    case 4:
        return kDesconocido;
    default:
        return {};
    }
}

quint32 CAdo::ColorTexto(const QString& strTipoObjeto) const {
    if (strTipoObjeto == u"ACCESS TABLE" || strTipoObjeto == u"SYSTEM TABLE" ||
        strTipoObjeto == u"SYSTEM VIEW")
        return kColorTextoGris;
    return kColorTextoVentana;
}

QString CAdo::TipoProcedimiento(long lngTipoProcedimiento) const {
    switch (lngTipoProcedimiento) {
    case 1:
        return kDesconocido;
    case 2:
        return QStringLiteral("Procedimiento");
    case 3:
        return QStringLiteral("Función");
    default:
        return {};
    }
}

QString CAdo::TipoAdmisionBusquedas(long lngTipoAdmisionBusquedas) const {
    switch (lngTipoAdmisionBusquedas) {
    case 1:
        return QStringLiteral("No");
    case 2:
        return QStringLiteral("Sólo LIKE");
    case 3:
        return QStringLiteral("Excepto LIKE");
    case 4:
        return QStringLiteral("Sí");
    default:
        return kDesconocido;
    }
}

QString CAdo::TipoOrdenacion(long lngTipoOrdenacion) const {
    switch (lngTipoOrdenacion) {
    case 1:
        return QStringLiteral("ASC");
    case 2:
        return QStringLiteral("DESC");
    default:
        return kDesconocido;
    }
}

QString CAdo::TipoCampo(long lngTipoCampo) const {
    // clang-format off
    switch (lngTipoCampo) {
    case 2: return QStringLiteral("adSmallInt");
    case 3: return QStringLiteral("adInteger");
    case 4: return QStringLiteral("adSingle");
    case 5: return QStringLiteral("adDouble");
    case 6: return QStringLiteral("adCurrency");
    case 7: return QStringLiteral("adDate");
    case 8: return QStringLiteral("adBSTR");
    case 9: return QStringLiteral("adIDispatch");
    case 10: return QStringLiteral("adError");
    case 11: return QStringLiteral("adBoolean");
    case 12: return QStringLiteral("adVariant");
    case 13: return QStringLiteral("adIUnknown");
    case 14: return QStringLiteral("adDecimal");
    case 16: return QStringLiteral("adTinyInt");
    case 17: return QStringLiteral("adUnsignedTinyInt");
    case 18: return QStringLiteral("adUnsignedSmallInt");
    case 19: return QStringLiteral("adUnsignedInt");
    case 20: return QStringLiteral("adBigInt");
    case 21: return QStringLiteral("adUnsignedBigInt");
    case 64: return QStringLiteral("adFileTime");
    case 72: return QStringLiteral("adGUID");
    case 128: return QStringLiteral("adBinary");
    case 129: return QStringLiteral("adChar");
    case 130: return QStringLiteral("adWChar");
    case 131: return QStringLiteral("adNumeric");
    case 132: return QStringLiteral("adUserDefined");
    case 133: return QStringLiteral("adDBDate");
    case 134: return QStringLiteral("adDBTime");
    case 135: return QStringLiteral("adDBTimeStamp");
    case 136: return QStringLiteral("adChapter");
    case 138: return QStringLiteral("adPropVariant");
    case 139: return QStringLiteral("adVarNumeric");
    case 200: return QStringLiteral("adVarChar");
    case 201: return QStringLiteral("adLongVarChar");
    case 202: return QStringLiteral("adVarWChar");
    case 203: return QStringLiteral("adLongVarWChar");
    case 204: return QStringLiteral("adVarBinary");
    case 205: return QStringLiteral("adLongVarBinary");
    case 8192: return QStringLiteral("adArray"); // only exactly; combined with a type it is not named
    default: return kDesconocido;
    }
    // clang-format on
}
