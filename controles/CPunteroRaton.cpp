#include "controles/CPunteroRaton.h"

#include <QApplication>
#include <QCursor>

namespace {

// At most one override cursor of ours is on Qt's stack, so any sequence of shapes ends with
// the stack as it was.
Puntero g_Actual = Puntero::Predeterminado;

Qt::CursorShape Forma(Puntero puntero) {
    return puntero == Puntero::Reloj ? Qt::WaitCursor : Qt::BusyCursor;
}

} // namespace

void EstablecerPuntero(Puntero puntero) {
    if (puntero == g_Actual)
        return;
    if (puntero == Puntero::Predeterminado)
        QApplication::restoreOverrideCursor();
    else if (g_Actual == Puntero::Predeterminado)
        QApplication::setOverrideCursor(QCursor(Forma(puntero)));
    else
        QApplication::changeOverrideCursor(QCursor(Forma(puntero)));
    g_Actual = puntero;
}

Puntero PunteroActual() {
    return g_Actual;
}

CPunteroRaton::CPunteroRaton(Puntero puntero) : m_Anterior(g_Actual) {
    EstablecerPuntero(puntero);
}

CPunteroRaton::~CPunteroRaton() {
    EstablecerPuntero(m_Anterior);
}
