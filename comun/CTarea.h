// A job run on a thread of its own while whoever started it waits (or stops waiting). Shared:
// the starter and the thread each hold it, so either may let go first.
#pragma once

#include <QString>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>

class CTarea {
public:
    // Starts fn on a new thread under strClave (say, a connection's Id). If the waiting side
    // gives up before fn returns, fnAlCancelar runs on that thread afterwards, to let go of
    // what fn took too late (a connection opened for nobody).
    static std::shared_ptr<CTarea> Lanzar(const QString& strClave, std::function<void()> fn,
                                          std::function<void()> fnAlCancelar = {});
    // The job under strClave that has not ended yet (its fnAlCancelar included), or nullptr:
    // what it works on must not be used by a second thread meanwhile.
    static std::shared_ptr<CTarea> EnCurso(const QString& strClave);
    // Waits up to intMilisegundos for every job to end; false when some are still running
    // (the program then ends without them rather than wait on a driver that never answers).
    static bool EsperarTodas(int intMilisegundos);

    const QString& Clave() const { return m_strClave; }
    bool Terminada() const;
    // Blocks up to intMilisegundos; true when the job has ended by then.
    bool EsperarHasta(int intMilisegundos) const;
    // Stops waiting for the job: false, changing nothing, when it had already ended.
    bool Cancelar();
    bool Cancelada() const;
    // What fn threw, thrown again on the waiting side; nothing when it returned.
    void RelanzarError() const;

    explicit CTarea(const QString& strClave) : m_strClave(strClave) {}

private:
    void Ejecutar(const std::function<void()>& fn, const std::function<void()>& fnAlCancelar);

    const QString m_strClave;
    mutable std::mutex m_Cerrojo;
    mutable std::condition_variable m_Fin;
    bool m_booTerminada = false;
    bool m_booCancelada = false;
    bool m_booLibre = false; // fnAlCancelar has run too: nothing of the job is left
    std::exception_ptr m_Error;
};
