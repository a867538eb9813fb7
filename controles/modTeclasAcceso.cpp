#include "controles/modTeclasAcceso.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QTabBar>
#include <QWidget>

QChar LetraAcceso(const QString& strTexto) {
    for (qsizetype i = 0; i + 1 < strTexto.size(); ++i) {
        if (strTexto.at(i) != QLatin1Char('&'))
            continue;
        if (strTexto.at(i + 1) == QLatin1Char('&')) {
            ++i; // "&&" shows one "&"
            continue;
        }
        return strTexto.at(i + 1).toLower();
    }
    return {};
}

namespace {

bool Activo(const QWidget* objControl, const QWidget* objVentana) {
    return objControl->isVisibleTo(objVentana) && objControl->isEnabled() &&
           (objVentana->isVisible() ? objControl->isVisible() : true);
}

void Agregar(QList<CTeclaAcceso>& teclas, QWidget* objControl, const QString& strTexto,
             int intPestana = -1) {
    const QChar chrTecla = LetraAcceso(strTexto);
    if (!chrTecla.isNull())
        teclas.append({chrTecla, objControl, intPestana, strTexto});
}

} // namespace

QList<CTeclaAcceso> TeclasAcceso(QWidget* objVentana) {
    QList<CTeclaAcceso> teclas;
    if (!objVentana)
        return teclas;
    for (QWidget* w : objVentana->findChildren<QWidget*>()) {
        if (!Activo(w, objVentana) || w->window() != objVentana->window())
            continue;
        if (auto* btn = qobject_cast<QAbstractButton*>(w))
            Agregar(teclas, btn, btn->text());
        else if (auto* lbl = qobject_cast<QLabel*>(w); lbl && lbl->buddy())
            Agregar(teclas, lbl, lbl->text());
        else if (auto* fra = qobject_cast<QGroupBox*>(w); fra && fra->isCheckable())
            Agregar(teclas, fra, fra->title());
        else if (auto* sst = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < sst->count(); ++i)
                if (sst->isTabEnabled(i) && sst->isTabVisible(i))
                    Agregar(teclas, sst, sst->tabText(i), i);
    }
    return teclas;
}

bool PulsarTeclaAcceso(QWidget* objVentana, QChar chrTecla) {
    chrTecla = chrTecla.toLower();
    for (const CTeclaAcceso& t : TeclasAcceso(objVentana)) {
        if (t.chrTecla != chrTecla)
            continue;
        if (auto* btn = qobject_cast<QAbstractButton*>(t.objControl)) {
            btn->setFocus(Qt::ShortcutFocusReason);
            btn->click();
        } else if (auto* lbl = qobject_cast<QLabel*>(t.objControl)) {
            lbl->buddy()->setFocus(Qt::ShortcutFocusReason);
        } else if (auto* fra = qobject_cast<QGroupBox*>(t.objControl)) {
            fra->setFocus(Qt::ShortcutFocusReason);
            fra->setChecked(!fra->isChecked());
        } else if (auto* sst = qobject_cast<QTabBar*>(t.objControl)) {
            sst->setCurrentIndex(t.intPestana);
        }
        return true;
    }
    return false;
}
