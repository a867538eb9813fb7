#include "controles/modGeneral.h"

#include "controles/CBarraEstado.h"
#include "controles/CBarraHerramientas.h"
#include "controles/CListaVista.h"
#include "controles/CVentanaMdi.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QLocale>
#include <QMdiSubWindow>
#include <QScreen>

namespace {

bool EsNulo(const QVariant& v) {
    return !v.isValid() || v.isNull();
}

// The short date with the year in full: regional formats often say "yy", which loses the century.
QString FormatoFecha(const QLocale& loc) {
    QString strFormato = loc.dateFormat(QLocale::ShortFormat);
    if (!strFormato.contains(QStringLiteral("yyyy")))
        strFormato.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    return strFormato;
}

// The regional time with seconds, as a time is shown in full.
QString FormatoHora(const QLocale& loc) {
    QString strFormato = loc.timeFormat(QLocale::ShortFormat);
    if (!strFormato.contains(QStringLiteral("ss")))
        strFormato.replace(QStringLiteral("mm"), QStringLiteral("mm:ss"));
    return strFormato;
}

} // namespace

QString TextoRegional(const QVariant& varValor) {
    if (EsNulo(varValor))
        return {};
    QLocale loc;
    loc.setNumberOptions(QLocale::OmitGroupSeparator);
    switch (varValor.metaType().id()) {
    case QMetaType::Bool:
        return varValor.toBool() ? QStringLiteral("Verdadero") : QStringLiteral("Falso");
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::SChar:
        return loc.toString(varValor.toLongLong());
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UChar:
        return loc.toString(varValor.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return loc.toString(varValor.toDouble(), 'g', 15);
    case QMetaType::QDate:
        return loc.toString(varValor.toDate(), FormatoFecha(loc));
    case QMetaType::QTime:
        return loc.toString(varValor.toTime(), FormatoHora(loc));
    case QMetaType::QDateTime: {
        const QDateTime fecha = varValor.toDateTime();
        QString strTexto = loc.toString(fecha.date(), FormatoFecha(loc));
        if (fecha.time() != QTime(0, 0))
            strTexto += QLatin1Char(' ') + loc.toString(fecha.time(), FormatoHora(loc));
        return strTexto;
    }
    default:
        return varValor.toString();
    }
}

int AgregarElementoLista(CListaVista& lvw, const QString& strTexto, int intIcono, quint32 lngColor,
                         const QVariantList& varValores) {
    const int intFila = lvw.AgregarElemento(strTexto, intIcono, intIcono);
    lvw.EstablecerColor(intFila, lngColor);
    for (int i = 0; i < varValores.size(); ++i)
        if (!EsNulo(varValores.at(i)))
            lvw.EstablecerSubElemento(intFila, i + 1, TextoRegional(varValores.at(i)));
    return intFila;
}

void MostrarMenuBoton(CBarraHerramientas& tbr, int lngBoton) {
    tbr.MostrarMenu(lngBoton);
}

QWidget* VentanaPrincipal() {
    return CVentanaMdi::Principal();
}

QMdiSubWindow* MostrarVentanaHija(QWidget* frm) {
    if (CVentanaMdi* objPrincipal = CVentanaMdi::Principal())
        return objPrincipal->MostrarHija(frm);
    frm->show();
    frm->raise();
    frm->activateWindow();
    return nullptr;
}

QWidget* MarcoVentana(QWidget* frm) {
    if (auto* objMarco = qobject_cast<QMdiSubWindow*>(frm->parentWidget()))
        return objMarco;
    return frm;
}

CBarraEstado* BarraEstadoPrincipal() {
    CVentanaMdi* objPrincipal = CVentanaMdi::Principal();
    return objPrincipal
               ? objPrincipal->findChild<CBarraEstado*>(QString(), Qt::FindDirectChildrenOnly)
               : nullptr;
}

QSize AreaCliente() {
    if (CVentanaMdi* objPrincipal = CVentanaMdi::Principal())
        return objPrincipal->AreaCliente();
    if (QScreen* objPantalla = QGuiApplication::primaryScreen())
        return objPantalla->availableSize();
    return {};
}

void AjustarVentana(QWidget* frm, int lngMargen) {
    const int intMargen = Pixeles(lngMargen);
    const QSize area = AreaCliente();
    MarcoVentana(frm)->setGeometry(intMargen, intMargen, std::max(0, area.width() - 2 * intMargen),
                                   std::max(0, area.height() - 2 * intMargen));
}
