#include "comun/CTarea.h"

#include <QHash>
#include <chrono>
#include <thread>

namespace {

// The jobs still running, by key: few at a time, looked up before a connection is used.
std::mutex g_CerrojoRegistro;
QHash<QString, std::weak_ptr<CTarea>> g_EnCurso;

} // namespace

std::shared_ptr<CTarea> CTarea::Lanzar(const QString& strClave, std::function<void()> fn,
                                       std::function<void()> fnAlCancelar) {
    auto objTarea = std::make_shared<CTarea>(strClave);
    {
        const std::lock_guard<std::mutex> bloqueo(g_CerrojoRegistro);
        g_EnCurso.insert(strClave, objTarea);
    }
    std::thread([objTarea, fn = std::move(fn), fnAlCancelar = std::move(fnAlCancelar)] {
        objTarea->Ejecutar(fn, fnAlCancelar);
    }).detach();
    return objTarea;
}

std::shared_ptr<CTarea> CTarea::EnCurso(const QString& strClave) {
    const std::lock_guard<std::mutex> bloqueo(g_CerrojoRegistro);
    std::shared_ptr<CTarea> objTarea = g_EnCurso.value(strClave).lock();
    if (!objTarea)
        return nullptr;
    const std::lock_guard<std::mutex> bloqueoTarea(objTarea->m_Cerrojo);
    return objTarea->m_booLibre ? nullptr : objTarea;
}

bool CTarea::EsperarTodas(int intMilisegundos) {
    const auto fin = std::chrono::steady_clock::now() + std::chrono::milliseconds(intMilisegundos);
    for (;;) {
        std::shared_ptr<CTarea> objTarea;
        {
            const std::lock_guard<std::mutex> bloqueo(g_CerrojoRegistro);
            for (const std::weak_ptr<CTarea>& t : std::as_const(g_EnCurso))
                if ((objTarea = t.lock()))
                    break;
        }
        if (!objTarea)
            return true;
        const auto resto = std::chrono::duration_cast<std::chrono::milliseconds>(
            fin - std::chrono::steady_clock::now());
        if (resto.count() <= 0)
            return false;
        std::unique_lock<std::mutex> bloqueo(objTarea->m_Cerrojo);
        objTarea->m_Fin.wait_for(bloqueo, resto, [&] { return objTarea->m_booLibre; });
    }
}

void CTarea::Ejecutar(const std::function<void()>& fn, const std::function<void()>& fnAlCancelar) {
    std::exception_ptr error;
    try {
        fn();
    } catch (...) {
        error = std::current_exception();
    }
    bool booCancelada = false;
    {
        const std::lock_guard<std::mutex> bloqueo(m_Cerrojo);
        m_Error = error;
        m_booTerminada = true;
        booCancelada = m_booCancelada;
    }
    m_Fin.notify_all();
    if (booCancelada && fnAlCancelar) {
        try {
            fnAlCancelar();
        } catch (...) {
            // Nobody waits any more to hear of it.
        }
    }
    {
        const std::lock_guard<std::mutex> bloqueo(g_CerrojoRegistro);
        {
            const std::lock_guard<std::mutex> bloqueoTarea(m_Cerrojo);
            m_booLibre = true;
        }
        if (g_EnCurso.value(m_strClave).lock().get() == this)
            g_EnCurso.remove(m_strClave);
    }
    m_Fin.notify_all();
}

bool CTarea::Terminada() const {
    const std::lock_guard<std::mutex> bloqueo(m_Cerrojo);
    return m_booTerminada;
}

bool CTarea::EsperarHasta(int intMilisegundos) const {
    std::unique_lock<std::mutex> bloqueo(m_Cerrojo);
    return m_Fin.wait_for(bloqueo, std::chrono::milliseconds(intMilisegundos),
                          [this] { return m_booTerminada; });
}

bool CTarea::Cancelar() {
    const std::lock_guard<std::mutex> bloqueo(m_Cerrojo);
    if (m_booTerminada)
        return false;
    m_booCancelada = true;
    return true;
}

bool CTarea::Cancelada() const {
    const std::lock_guard<std::mutex> bloqueo(m_Cerrojo);
    return m_booCancelada;
}

void CTarea::RelanzarError() const {
    std::exception_ptr error;
    {
        const std::lock_guard<std::mutex> bloqueo(m_Cerrojo);
        error = m_Error;
    }
    if (error)
        std::rethrow_exception(error);
}
