// What the comparison benches share: wall-clock and processor time read together, and a
// results sink that only counts.
#pragma once

#include "compare/CComparador.h"
#include "compare/IResultados.h"

#include <QElapsedTimer>
#include <algorithm>
#include <ctime>

// Wall-clock and processor time together: the machine is shared, and the processor time of this
// process is what the comparison itself costs whatever else runs.
struct CTiempo {
    double pared = 1e300, cpu = 1e300;
};

class CReloj {
public:
    CReloj() {
        m_Pared.start();
        m_Cpu = Cpu();
    }
    CTiempo Leer() const { return {m_Pared.nsecsElapsed() / 1e9, Cpu() - m_Cpu}; }

private:
    static double Cpu() {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
    }
    QElapsedTimer m_Pared;
    double m_Cpu;
};

inline CTiempo operator+(const CTiempo& a, const CTiempo& b) {
    return {a.pared + b.pared, a.cpu + b.cpu};
}
inline void QuedarseConElMejor(CTiempo& mejor, const CTiempo& t) {
    mejor.pared = std::min(mejor.pared, t.pared);
    mejor.cpu = std::min(mejor.cpu, t.cpu);
}

// The results go nowhere; only their number matters.
class CResultadosContados final : public IResultados {
public:
    void Estado(const QString&) override {}
    void AgregarFila(const CFilaResultado&) override { ++lngFilas; }
    void Ceder() override {}
    long lngFilas = 0;
};

// One whole comparison, timed, with the number of rows it gave.
inline CTiempo CronometrarComparacion(CComparador& comparador, long& lngFilas) {
    CResultadosContados resultados;
    const CReloj reloj;
    comparador.Comparar(resultados);
    lngFilas = resultados.lngFilas;
    return reloj.Leer();
}
