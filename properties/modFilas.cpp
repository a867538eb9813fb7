#include "properties/modFilas.h"

#include "controles/CPestanas.h"
#include "controles/modEspera.h"

#include <exception>
#include <limits>

void LlenarDesdeRowset(CPestanas& sst, int intPestana, PRecordset rs,
                       const std::function<void(CRecordset&)>& fnFila) {
    if (!rs) {
        sst.HabilitarPestana(intPestana, false);
        return;
    }
    // A catalogue of many thousand tables takes a while to list: the window paints meanwhile.
    CLlenadoLargo objLlenado;
    for (rs->MoverPrimero(); !rs->FinDatos(); rs->MoverSiguiente()) {
        try {
            fnFila(*rs);
        } catch (const std::exception&) {
            // One odd record must not leave the rest of the catalogue unseen.
        }
        objLlenado.Ceder();
    }
    rs->Cerrar();
}

QString TextoCampo(const CRecordset& rs, const QString& strColumna) {
    const QVariant v = rs.Valor(strColumna);
    return CRecordset::EsNulo(v) ? QString() : v.toString();
}

std::optional<qint64> EnteroCampo(const CRecordset& rs, const QString& strColumna) {
    const QVariant v = rs.Valor(strColumna);
    if (CRecordset::EsNulo(v))
        return std::nullopt;
    bool booValido = false;
    const qint64 lngValor = v.toLongLong(&booValido);
    if (booValido)
        return lngValor;
    // A whole number that arrives as a decimal or as text with a fraction.
    const double dblValor = v.toDouble(&booValido);
    if (!booValido || dblValor < static_cast<double>(std::numeric_limits<qint64>::min()) ||
        dblValor > static_cast<double>(std::numeric_limits<qint64>::max()))
        return std::nullopt;
    return qRound64(dblValor);
}

QString SiNoCampo(const CRecordset& rs, const QString& strColumna) {
    const QVariant v = rs.Valor(strColumna);
    return !CRecordset::EsNulo(v) && v.toBool() ? QString::fromUtf8("Sí") : QStringLiteral("No");
}

QVariant TextoCodigo(const CRecordset& rs, const QString& strColumna,
                     const std::function<QString(long)>& fnTexto) {
    const std::optional<qint64> lngCodigo = EnteroCampo(rs, strColumna);
    if (!lngCodigo)
        return {};
    // A code beyond 32 bits matches no entry of the code tables: their fallback text.
    const bool booCabe = *lngCodigo >= std::numeric_limits<qint32>::min() &&
                         *lngCodigo <= std::numeric_limits<qint32>::max();
    return fnTexto(booCabe ? static_cast<long>(*lngCodigo) : std::numeric_limits<long>::min());
}
