// A toolbar of keyed buttons: tooltip, image number, enabled flag and style (plain, separator,
// or a drop-down button with a menu of keyed items). Owns its buttons and menus.
#pragma once

#include "controles/CListaImagenes.h"

#include <QToolBar>

class QMenu;
class QToolButton;

class CBarraHerramientas : public QToolBar {
    Q_OBJECT
public:
    enum class Estilo { Normal, Separador, Menu };

    explicit CBarraHerramientas(QWidget* objPadre = nullptr);

    void EstablecerImagenes(const CListaImagenes& objImagenes);

    // Appends a button and returns its 1-based position; separators take a position too.
    int AgregarBoton(const QString& strClave, const QString& strTextoAyuda, int intImagen,
                     Estilo estilo = Estilo::Normal);
    int AgregarSeparador();
    // Appends an item to the menu of the drop-down button strClaveBoton.
    void AgregarElementoMenu(const QString& strClaveBoton, const QString& strClave,
                             const QString& strTexto);

    int NumeroBotones() const { return static_cast<int>(m_Botones.size()); }
    QAction* Boton(const QString& strClave) const; // nullptr when there is none
    QAction* Boton(int intPosicion) const;         // 1-based; nullptr out of range
    QString Clave(int intPosicion) const;
    QToolButton* Control(const QString& strClave) const; // the widget to click
    Estilo EstiloBoton(const QString& strClave) const;
    int Imagen(const QString& strClave) const;
    QString TextoAyuda(const QString& strClave) const;
    void EstablecerTextoAyuda(const QString& strClave, const QString& strTexto);
    bool Habilitado(const QString& strClave) const;
    void Habilitar(const QString& strClave, bool booHabilitado);
    QMenu* Menu(const QString& strClaveBoton) const;

    // Opens the drop-down menu of the button at intPosicion as a click on its arrow would, and
    // returns when the menu closes. False, doing nothing, when that button has no menu.
    bool MostrarMenu(int intPosicion);

signals:
    void ClicBoton(const QString& strClave);
    void ClicMenu(const QString& strClaveBoton, const QString& strClaveElemento);

private:
    CListaImagenes m_Imagenes;
    QList<QAction*> m_Botones;
};
