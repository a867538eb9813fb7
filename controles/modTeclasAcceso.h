// Access keys of a window: the letter after "&" in the captions of its visible controls, and
// pressing one as Alt+letter would. Free functions; nothing is owned.
#pragma once

#include <QChar>
#include <QList>
#include <QString>

class QWidget;

struct CTeclaAcceso {
    QChar chrTecla;      // lower case
    QWidget* objControl; // the button, label, group box or tab strip that carries it
    int intPestana;      // the tab of a tab strip; -1 for other controls
    QString strTexto;    // the caption as written, "&" included
};

// The letter marked in strTexto ("&&" is a plain "&"); a null character when there is none.
QChar LetraAcceso(const QString& strTexto);
// Every access key that the controls of objVentana now shown and enabled carry, in the order
// the controls were made.
QList<CTeclaAcceso> TeclasAcceso(QWidget* objVentana);
// Does what Alt+chrTecla does in objVentana: clicks the button, moves to the label's control,
// selects the tab. False, doing nothing, when no control carries that key.
bool PulsarTeclaAcceso(QWidget* objVentana, QChar chrTecla);
