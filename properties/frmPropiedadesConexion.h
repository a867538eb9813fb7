// The connection properties window: seven tabs with everything the catalogue of one connection
// reports. A child of the main window; it keeps only the connection's Id, never the connection.
#pragma once

#include "catalog/CRecordset.h"
#include "properties/CMarcoPropiedades.h"

#include <QElapsedTimer>
#include <memory>

class CBarraEstado;
class CConexion;

class frmPropiedadesConexion final : public CMarcoPropiedades {
    Q_OBJECT
public:
    explicit frmPropiedadesConexion(QWidget* objPadre = nullptr);
    ~frmPropiedadesConexion() override;

    // Looks the connection up, opens it if needed and fills all seven lists; set once. Opening
    // and every catalogue read run on a worker: Escape stops any of these waits and leaves
    // the tabs still unfilled disabled.
    void Conexion(const QString& strKey);

    CBarraHerramientas* tbrPropiedadesConexion() const { return Barra(); }
    CPestanas* sstPropiedades() const { return Pestanas(); }
    CListaVista* const lvwConexion;
    CListaVista* const lvwTablas;
    CListaVista* const lvwProcedimientos;
    CListaVista* const lvwRelaciones;
    CListaVista* const lvwTiposDatos;
    CListaVista* const lvwPalabrasReservadas;
    CListaVista* const lvwLiterales;

    // How often the row-count progress is shown at most.
    static constexpr int kMilisegundosProgreso = 100;

signals:
    // The row-count progress text each time it is shown ("Contando registros de ...").
    void ProgresoRecuento(const QString& strTexto);

private:
    bool LlenarTablas(const std::shared_ptr<CConexion>& objConexion); // false on Escape
    // The other tabs, from the rowsets read for them (a missing one disables its tab).
    void LlenarProcedimientos(PRecordset rs);
    void LlenarRelaciones(PRecordset rs);
    void LlenarTiposDatos(PRecordset rs);
    void LlenarPalabrasReservadas(const QString& strProveedor, PRecordset rs);
    void LlenarLiterales(PRecordset rs);
    void MostrarProgreso(const QString& strTabla, long lngNumero, long lngTotal);

    // Where the progress goes: the main window's status bar, or this window's caption.
    CBarraEstado* m_BarraEstado = nullptr;
    QString m_TextoAnterior;
    QElapsedTimer m_RelojProgreso;
};
