// The mouse pointer over the whole program: default, hourglass or arrow with hourglass. The
// RAII guard sets a shape for one scope and puts the previous one back; nothing else is owned.
#pragma once

enum class Puntero { Predeterminado, Reloj, FlechaReloj };

// Sets the shape for every window until it is set again (Predeterminado restores the normal one).
void EstablecerPuntero(Puntero puntero);
Puntero PunteroActual();

class CPunteroRaton {
public:
    explicit CPunteroRaton(Puntero puntero);
    ~CPunteroRaton();
    CPunteroRaton(const CPunteroRaton&) = delete;
    CPunteroRaton& operator=(const CPunteroRaton&) = delete;

private:
    Puntero m_Anterior;
};
