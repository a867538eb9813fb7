// Window routines several windows share: list rows, toolbar drop-down menus, placing a child in
// the main window, and the host calls that show a child there. Free functions; nothing is owned.
#pragma once

#include <QSize>
#include <QString>
#include <QVariant>

class CBarraEstado;
class CBarraHerramientas;
class CListaVista;
class QMdiSubWindow;
class QWidget;

// Adds a row at the end of lvw: text, intIcono as both large and small icon, the text colour,
// and element i of varValores as sub-item i + 1 in the user's regional format; a null element
// leaves its cell empty. Returns the new row.
int AgregarElementoLista(CListaVista& lvw, const QString& strTexto, int intIcono, quint32 lngColor,
                         const QVariantList& varValores);
// Opens the drop-down menu of the button at the 1-based position lngBoton, as a click on its
// arrow would; nothing when that button has no menu.
void MostrarMenuBoton(CBarraHerramientas& tbr, int lngBoton);
// Places frm's window in the main window's client area with a margin in twips on every side;
// sizes below zero become zero.
void AjustarVentana(QWidget* frm, int lngMargen);

// A value as text in the user's regional settings: numbers without grouping and with the
// local decimal separator, dates in the short date format with four-digit years, a time only
// when it is not midnight, booleans as "Verdadero"/"Falso". A null value is the empty text.
QString TextoRegional(const QVariant& varValor);
// Twips (1/1440 inch) to pixels at 96 dots per inch.
constexpr int Pixeles(int lngTwips) {
    return (lngTwips + (lngTwips >= 0 ? 7 : -7)) / 15;
}

// The host: the main window, if one is open, shows every other window as its child.
QWidget* VentanaPrincipal(); // nullptr before the main window exists
// Shows frm as a child of the main window (a top-level window when there is none) and brings
// it forward; the main window destroys it when it is closed.
QMdiSubWindow* MostrarVentanaHija(QWidget* frm);
// What moves and sizes frm on screen: its child-window frame, or frm itself.
QWidget* MarcoVentana(QWidget* frm);
// The main window's status bar, where windows without one tell their progress; or nullptr.
CBarraEstado* BarraEstadoPrincipal();
// The main window's client area in pixels (the screen's when there is no main window).
QSize AreaCliente();
