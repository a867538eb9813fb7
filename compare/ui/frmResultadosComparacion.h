// The results window of one comparison: the rows the engine finds, its progress and the button
// that stops it. The wizard creates one per comparison; the main window owns it once shown.
#pragma once

#include "compare/IResultados.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <vector>

class CBarraEstado;
class CBarraHerramientas;
class CComparador;
class CListaVista;
class QLineEdit;

class frmResultadosComparacion : public QWidget, public IResultados {
    Q_OBJECT
public:
    // Rows and status texts reach the screen at most every kIntervaloRepintado milliseconds,
    // however fast the engine finds them; and, as painting new rows lays out every row of the
    // list, no more often than keeps that under 1/kFraccionRepintado of the time.
    static constexpr int kIntervaloRepintado = 30;
    static constexpr int kIntervaloRepintadoMaximo = 300;
    static constexpr int kFraccionRepintado = 10;
    // The engine yields after every row and status text, thousands of times a second; one
    // turn of the message loop in this many milliseconds keeps a click heard at once without
    // paying for a turn at every yield.
    static constexpr int kIntervaloCesion = 5;
    // A repaint puts rows in the list for as long as keeps it and the turn of the loop that
    // follows (which lays out the whole list) within kMilisegundosSinRespuesta, and leaves the
    // rest for the next, the last ones after the engine has ended too: the window always
    // answers. While more than kFilasEnEsperaMaximas wait, the engine is held at its yield, a
    // repaint and a turn at a time.
    static constexpr int kMilisegundosSinRespuesta = 80;
    static constexpr int kMilisegundosPorRepintadoMinimos = 20;
    static constexpr std::size_t kFilasEnEsperaMaximas = 50000;

    explicit frmResultadosComparacion(QWidget* objPadre = nullptr);
    ~frmResultadosComparacion() override;

    // Runs objComparador into this window and returns when it has ended or was cancelled.
    // Closing the window meanwhile cancels the comparison; the window goes once it has ended.
    void Comparar(CComparador& objComparador);
    bool Comparando() const { return m_booComparando; }

    // IResultados. Rows and texts wait until the next repaint, which Ceder or a timer brings.
    void Estado(const QString& strEstado) override;
    void AgregarFila(const CFilaResultado& objFila) override;
    void Ceder() override;
    void Mostrar() override;

    // Puts every waiting row and the last status text on screen now.
    void Volcar();

    CBarraHerramientas* const tbrResultadosComparacion;
    // Narrows the rows to those holding its text in any column (table, column, connection or
    // message), as it is typed; the rows still arriving are narrowed too.
    QLineEdit* const txtFiltro;
    QWidget* const pbxContenedor;
    CListaVista* const lvwResultados;
    CBarraEstado* const stbResultadosComparacion;

protected:
    void closeEvent(QCloseEvent* objEvento) override;
    bool eventFilter(QObject* objObjeto, QEvent* objEvento) override;

private:
    void tbrResultadosComparacion_ButtonClick(const QString& strClave);
    void tbrResultadosComparacion_ButtonMenuClick(const QString& strClave);
    void pbxContenedor_Resize();
    bool Minimizada() const;
    void Exportar();
    // Puts waiting rows in the list for up to intMilisegundos (every one when negative), and the
    // last status text.
    void VolcarTramo(int intMilisegundos);
    // One turn of the message loop, timed when it paints new rows.
    void Vuelta();
    int MilisegundosPorRepintado() const {
        return std::max(kMilisegundosPorRepintadoMinimos,
                        kMilisegundosSinRespuesta - m_intUltimaVuelta);
    }
    std::size_t FilasEnEspera() const { return m_Pendientes.size() - m_intPrimeraPendiente; }

    std::vector<CFilaResultado> m_Pendientes;
    std::size_t m_intPrimeraPendiente = 0; // the rows before it are in the list already
    QString m_strEstado;
    bool m_booEstadoPendiente = false;
    QElapsedTimer m_Reloj;         // since the last repaint
    bool m_booMedirVuelta = false; // the next turn of the loop paints that repaint
    int m_intIntervalo = kIntervaloRepintado;
    int m_intUltimaVuelta = 0;   // milliseconds the last turn that painted new rows took
    QElapsedTimer m_RelojCesion; // since the last turn of the message loop
    QTimer m_Temporizador;       // the repaint of what arrives after the engine stopped yielding
    QTimer m_TemporizadorFiltro; // the filter follows typing once the keys pause
    bool m_booComparando = false;
    bool m_booCerrarAlTerminar = false; // closed by the user while its comparison ran
};
