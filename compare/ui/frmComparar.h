// The three-step compare wizard: two connections, the kinds of object, then "Finalizar" runs
// the comparison into a new results window. One at a time; the main window owns it once shown.
#pragma once

#include <QWidget>
#include <array>

class CComboImagenes;
class CListaMarcas;
class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;

class frmComparar : public QWidget {
    Q_OBJECT
public:
    explicit frmComparar(QWidget* objPadre = nullptr);
    ~frmComparar() override;

    int Paso() const { return m_lngPaso; }
    bool Comparando() const { return m_booComparando; }

    QLabel* const Image1;
    const std::array<QFrame*, 2> Line1;
    const std::array<QFrame*, 3> fraPaso;
    const std::array<QLabel*, 3> lblTitulo;
    const std::array<QFrame*, 3> linTitulo;
    const std::array<QLabel*, 3> lblSeleccione;
    const std::array<CComboImagenes*, 2> cboConexion;
    CListaMarcas* const lstObjetos;
    QCheckBox* const chkCompararOcultos;
    const std::array<QLabel*, 8> lblResumen;
    QPushButton* const btnAnterior;
    QPushButton* const btnSiguiente;
    QPushButton* const btnCancelar;

protected:
    void keyPressEvent(QKeyEvent* objEvento) override;
    void closeEvent(QCloseEvent* objEvento) override;

private:
    void btnAnterior_Click();
    void btnSiguiente_Click();
    void cboConexion_Click(int intIndice);
    void lstObjetos_ItemCheck();
    void chkCompararOcultos_Click();

    void MostrarPaso(int lngPaso);
    void LlenarConexiones();
    bool HayErrores();
    bool HayObjetosSeleccionados() const;
    void IniciarComparacion();
    void HabilitarBotones(bool booHabilitados);

    int m_lngPaso = 0;
    bool m_booComparando = false;
};
