// A multiple-document main window: child windows live in its client area and a "window" menu
// lists the open ones. The program's main window derives from it; it owns its children.
#pragma once

#include <QMainWindow>
#include <QMdiSubWindow>
#include <QPointer>

class QMdiArea;
class QMenu;

class CVentanaMdi : public QMainWindow {
    Q_OBJECT
public:
    explicit CVentanaMdi(QWidget* objPadre = nullptr);
    ~CVentanaMdi() override;

    // The main window in use (the last one built and still alive), or nullptr.
    static CVentanaMdi* Principal();

    QMdiArea* Area() const { return m_Area; }
    QSize AreaCliente() const; // the client area's size in pixels

    // A window that places itself on show sets this property true; the others are placed
    // inside the visible area, cascaded from the last one, at the size their content asks for.
    static constexpr const char* kColocacionPropia = "colocacionPropia";

    // Shows frm as a child window (adding it the first time) and brings it forward. The child
    // is destroyed when it is closed. A window of fixed size is never shown maximised.
    QMdiSubWindow* MostrarHija(QWidget* frm);
    // Adds to the menu bar a menu that lists the visible child windows, the active one ticked.
    QMenu* AgregarMenuVentana(const QString& strTitulo);

protected:
    bool eventFilter(QObject* objObjeto, QEvent* objEvento) override;

private:
    void LlenarMenuVentana(QMenu* objMenu);
    void Colocar(QMdiSubWindow* objMarco, QSize tamano);

    QMdiArea* m_Area;
    QPointer<QMdiSubWindow> m_UltimaColocada;
};
