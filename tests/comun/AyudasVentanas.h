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

// A timer that runs fnAccion once, from inside whatever loop is turning (a modal box's, a
// comparison's yields), as soon as fnCuando holds.
inline void Cuando(std::function<bool()> fnCuando, std::function<void()> fnAccion) {
    auto* t = new QTimer;
    t->setInterval(1);
    QObject::connect(t, &QTimer::timeout, [t, fnCuando, fnAccion] {
        if (fnCuando()) {
            t->stop();
            t->deleteLater();
            fnAccion();
        }
    });
    t->start();
}

// Runs fnAccion on the next modal box or popup as soon as it shows, so the caller may block.
inline void AlAbrirse(std::function<void(QWidget*)> fnAccion) {
    const auto abierta = [] {
        QWidget* w = QApplication::activeModalWidget();
        w = w ? w : QApplication::activePopupWidget();
        return w && w->isVisible() ? w : nullptr;
    };
    Cuando([abierta] { return abierta() != nullptr; },
           [abierta, fnAccion] { fnAccion(abierta()); });
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
