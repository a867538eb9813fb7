// The main window: a multiple-document frame hosting every other window, with the menu bar and
// the status bar. Start-up creates it; it owns its children and closing it ends the program.
#pragma once

#include "controles/CVentanaMdi.h"

#include <QPointer>
#include <functional>

class CBarraEstado;
class QAction;
class QMenu;

class frmPrincipal : public CVentanaMdi {
    Q_OBJECT
public:
    // Builds a child window for the main window to show; it may return nullptr.
    using FabricaVentana = std::function<QWidget*()>;

    explicit frmPrincipal(QWidget* objPadre = nullptr);
    ~frmPrincipal() override;

    // How the explorer and the comparison wizard are built. Until a factory is set, its menu
    // item only moves its check mark (explorer) or does nothing (wizard).
    static void EstablecerFabricaExplorador(FabricaVentana fnFabrica);
    static void EstablecerFabricaComparar(FabricaVentana fnFabrica);

    // Shows the explorer (a new one when none is open) and sets the menu's check mark.
    void MostrarExplorador();
    QWidget* Explorador() const { return m_Explorador; }
    QWidget* Comparar() const { return m_Comparar; }

    // The program's version: major.minor.revision, without leading zeros.
    static QString ObtenerVersion();

    CBarraEstado* const stbPrincipal;
    QMenu* const mnuArchivo;
    QAction* const mnuArchivoSalir;
    QMenu* const mnuVer;
    QAction* const mnuVerExploradorConexiones;
    QMenu* const mnuHerramientas;
    QAction* const mnuHerramientasComparar;
    QMenu* const mnuVentana;
    QMenu* const mnuAyuda;
    QAction* const mnuAyudaAcercaDe;

protected:
    void closeEvent(QCloseEvent* objEvento) override;

private:
    void mnuVerExploradorConexiones_Click();
    void mnuHerramientasComparar_Click();
    void mnuAyudaAcercaDe_Click();

    QPointer<QWidget> m_Explorador;
    QPointer<QWidget> m_Comparar;
    bool m_Cerrando = false;
};
