// Helpers for the window tests: answering a real modal box or popup from a timer, and reading
// a message box's buttons as the user reads them.
#pragma once

#include "Ayudas.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>

namespace pruebas {

// Runs fnAccion on the next modal box or popup as soon as it shows, so the caller may block.
inline void AlAbrirse(std::function<void(QWidget*)> fnAccion) {
    auto* objTemporizador = new QTimer;
    objTemporizador->setInterval(10);
    QObject::connect(objTemporizador, &QTimer::timeout, [objTemporizador, fnAccion] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w)
            w = QApplication::activePopupWidget();
        if (w && w->isVisible()) {
            objTemporizador->stop();
            objTemporizador->deleteLater();
            fnAccion(w);
        }
    });
    objTemporizador->start();
}

inline QStringList TextosBotones(QMessageBox* objCaja) {
    QStringList textos;
    for (QAbstractButton* b : objCaja->buttons())
        textos << b->text().remove(u'&');
    return textos;
}

inline QAbstractButton* BotonPorTexto(QMessageBox* objCaja, const QString& strTexto) {
    for (QAbstractButton* b : objCaja->buttons())
        if (b->text().remove(u'&') == strTexto)
            return b;
    return nullptr;
}

} // namespace pruebas
