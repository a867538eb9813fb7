// Waiting with the program alive: a job on a worker thread with a progress text, the
// arrow-with-hourglass pointer, and Escape to stop waiting. Free functions; nothing is owned
// beyond the scope of a wait.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <functional>
#include <memory>

class CBarraEstado;
class QObject;
class CConexion;
class CTarea;

// Turns the message loop until objTarea ends or the user presses Escape, showing strTexto in
// objBarra and the arrow with hourglass. Meanwhile the windows repaint but take no clicks or
// keys, so nothing can pull what the job works on from under it. True when the job ended;
// false when the user gave up (the job goes on by itself; see CTarea::Cancelar). fnAlRendirse
// runs here, at that moment, to cut what the job is blocked on.
bool EsperarTarea(const std::shared_ptr<CTarea>& objTarea, const QString& strTexto,
                  CBarraEstado* objBarra, const std::function<void()>& fnAlRendirse = {});

// Runs fn on a worker thread under strClave and waits for it as EsperarTarea does; a job still
// running under that key (one given up earlier) is waited for first, so that what the key names
// is never used by two threads at once. fnAlCancelar as for CTarea::Lanzar, fnAlRendirse as for
// EsperarTarea. False when the user gave up.
bool EjecutarEsperando(const QString& strClave, std::function<void()> fn,
                       std::function<void()> fnAlCancelar, const QString& strTexto,
                       CBarraEstado* objBarra, const std::function<void()>& fnAlRendirse = {});

// fn, calls on objConexion, run so under the connection's Id. Escape cuts the driver call the
// link is blocked in (CConexion::Interrumpir), so that no worker is left waiting on a mute
// server, and the link is closed. False when the user gave up.
bool EsperarConexion(const std::shared_ptr<CConexion>& objConexion, std::function<void()> fn,
                     const QString& strTexto, CBarraEstado* objBarra);
// Opens objConexion, when closed, so, showing "Conectando <título>...". False only when the
// user gave up; a failed opening leaves ErrorConexion.
bool ConectarEsperando(const std::shared_ptr<CConexion>& objConexion, CBarraEstado* objBarra);

// A long fill on this thread (a list of many thousand rows) with the program alive: Ceder,
// called after each step, turns the message loop once kMilisegundos have passed since the last
// turn, with the user's clicks and keys held back as during a wait, so that the window paints
// and nothing the user does lands half-way through.
class CLlenadoLargo {
public:
    static constexpr int kMilisegundos = 40;
    CLlenadoLargo();
    ~CLlenadoLargo();
    CLlenadoLargo(const CLlenadoLargo&) = delete;
    CLlenadoLargo& operator=(const CLlenadoLargo&) = delete;
    void Ceder();

private:
    std::unique_ptr<QObject> m_Filtro; // from the first turn on
    QElapsedTimer m_Reloj;
};
