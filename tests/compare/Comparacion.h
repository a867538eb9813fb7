// What the comparison tests share: a sink that records everything it is told, and two sides
// titled "Compras" and "Ventas" built from SQL fixtures.
#pragma once

#include "catalog/CConexion.h"
#include "compare/CComparador.h"
#include "compare/IResultados.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <ostream>
#include <vector>

// Rows compare whole, so a failing test prints them.
bool operator==(const CFilaResultado& a, const CFilaResultado& b);
void PrintTo(const CFilaResultado& fila, std::ostream* os);

class CResultadosGrabados : public IResultados {
public:
    void Estado(const QString& strEstado) override {
        estados << strEstado;
        booUltimoFueEstado = true;
        Anotar();
    }
    void AgregarFila(const CFilaResultado& objFila) override {
        filas.push_back(objFila);
        booUltimoFueEstado = false;
        Anotar();
    }
    void Ceder() override {
        booSinCeder = false;
        if (alCeder)
            alCeder(*this);
    }
    void Mostrar() override { estadosAlMostrar = static_cast<int>(estados.size()); }

    QStringList estados;
    std::vector<CFilaResultado> filas;
    // Statuses and rows that reached no yield before the next one (or the end).
    int sinCeder = 0;
    bool booSinCeder = false;
    bool booUltimoFueEstado = false;
    int estadosAlMostrar = -1;
    std::function<void(CResultadosGrabados&)> alCeder; // where a test presses "cancel"

    // Rows whose item text is strTexto, in order.
    std::vector<CFilaResultado> FilasDe(const QString& strTexto) const;

private:
    void Anotar() {
        sinCeder += booSinCeder;
        booSinCeder = true;
    }
};

// The four phase switches, hidden objects included unless said otherwise.
struct COpciones {
    bool booTablas = true;
    bool booVistas = true;
    bool booProcedimientos = true;
    bool booOcultos = true;
    bool booLiteral = false;
    bool booIndices = false;
    bool booRelaciones = false;
};

std::unique_ptr<CConexion> NuevaConexion(const QString& strTitulo, const QString& strCadena);
// A SQLite file in the test folder built from fixtures, run one after the other.
QString BaseSQLite(const QString& strNombre, const QStringList& archivos);
QString LeerFixture(const QString& strNombre);

void Comparar(CConexion& c1, CConexion& c2, CResultadosGrabados& r, const COpciones& o = {});

// The missing-object row of an object found on side strEste only.
CFilaResultado FilaFalta(const QString& strNombre, const QString& strTipo, const QString& strEste,
                         const QString& strOtro);
CFilaResultado FilaCampo(const QString& strCampo, const QString& strConexion,
                         const QString& strMensaje, int intIcono = IconoDiferencia);
CFilaResultado FilaSinDiferencias(const QString& strTipo);
