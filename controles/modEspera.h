// Waiting with the program alive: a job on a worker thread (or a long fill on this one) with a
// progress text, the arrow-with-hourglass pointer, and Escape to stop waiting. Free functions
// and one guard; nothing is owned beyond the scope of a wait.
#pragma once

#include <QString>
#include <functional>
#include <memory>

class CBarraEstado;
class CTarea;

// Turns the message loop until objTarea ends or the user presses Escape, showing strTexto in
// objBarra and the arrow with hourglass. Meanwhile the windows repaint but take no clicks or
// keys, so nothing can pull what the job works on from under it. True when the job ended;
// false when the user gave up (the job goes on by itself; see CTarea::Cancelar).
bool EsperarTarea(const std::shared_ptr<CTarea>& objTarea, const QString& strTexto,
                  CBarraEstado* objBarra);

// Runs fn on a worker thread under strClave and waits for it as EsperarTarea does; a job still
// running under that key (one given up earlier) is waited for first, so that what the key names
// is never used by two threads at once. fnAlCancelar as for CTarea::Lanzar. False when the
// user gave up.
bool EjecutarEsperando(const QString& strClave, std::function<void()> fn,
                       std::function<void()> fnAlCancelar, const QString& strTexto,
                       CBarraEstado* objBarra);

// For a long task on this thread that turns the loop now and then (ProcesarEventos): Escape
// pressed meanwhile is heard, other clicks and keys wait. Cancelado() tells whether it came.
class CEsperaCancelable {
public:
    // fnAlCancelar runs once, when Escape is first pressed.
    explicit CEsperaCancelable(std::function<void()> fnAlCancelar = {});
    ~CEsperaCancelable();
    CEsperaCancelable(const CEsperaCancelable&) = delete;
    CEsperaCancelable& operator=(const CEsperaCancelable&) = delete;

    // One turn of the loop, at most every few milliseconds however often it is called.
    void ProcesarEventos();
    bool Cancelado() const;

private:
    class CFiltro;
    std::unique_ptr<CFiltro> m_Filtro;
};
