// Where a comparison writes its progress and its rows: the results window, the command-line tool
// and the tests implement it. The caller owns it; CComparador borrows it for one Comparar call.
#pragma once

#include "catalog/CAdo.h"

#include <QString>
#include <functional>

// Image numbers of the results window's 16 x 16 image list that rows use.
enum IconoResultado : int {
    IconoFalta = 3,          // red cross: object or column missing on the other side
    IconoSinDiferencias = 5, // green tick: a phase found nothing
    IconoDiferencia = 6      // yellow warning: a column property differs
};

// What a row reports, for readers that are programs (verondal-cli --formato json): the icon
// says whether something is missing or differs, this says what.
enum class ClaseDiferencia : int {
    Objeto,          // an object exists on one side only
    Campo,           // a column exists on one side only
    TipoDatos,       // a column's data type
    Longitud,        // a column's maximum length
    Nulos,           // whether a column admits nulls
    ValorDefecto,    // a column's default value
    Conexion,        // a side could not be opened
    Catalogo,        // a side's catalogue could not be read
    SinDiferencias,  // a phase found nothing
    Indice,          // an index exists on one side only
    ColumnasIndice,  // an index's key columns or their order
    IndiceUnico,     // whether an index is unique
    ClavePrimaria,   // whether an index is the primary key
    SentidoIndice,   // the sort direction of an index's columns
    Relacion,        // a foreign key exists on one side only
    ReglaActualizar, // a foreign key's ON UPDATE rule
    ReglaBorrar      // a foreign key's ON DELETE rule
};

// One row of the results list. The four texts go into the columns "Objeto comparado",
// "Tipo de objeto", "Conexión" and "Resultado de la comparación", in that order.
struct CFilaResultado {
    QString strTexto;    // object or column name, or "(todos)"
    QString strTipo;     // "Tabla", "Campo", "Tablas"...
    QString strConexion; // Titulo of the side where it was found; empty in a no-differences row
    QString strMensaje;
    int intIcono = IconoFalta;
    // Colour of the item text and of the "Tipo de objeto" and "Resultado" cells (the
    // "Conexión" cell keeps the normal colour), as CAdo's colours: kColorVerdeOscuro in a
    // no-differences row, kColorTextoVentana (the list's normal text) in every other.
    quint32 lngColor = kColorTextoVentana;
    ClaseDiferencia lngClase = ClaseDiferencia::Objeto;
    QString strFase;  // the phase's kind ("Tablas", "Vistas", "Índices"...); empty before any
    QString strTabla; // the table a row is about (a table, or a column's table); else empty
};

class IResultados {
public:
    virtual ~IResultados() = default;

    // The status text. The engine calls Ceder right after it, so a window needs no yield here.
    virtual void Estado(const QString& strEstado) = 0;
    // One row, the moment it is found; Ceder follows. A window may throttle its repaints.
    virtual void AgregarFila(const CFilaResultado& objFila) = 0;
    // The yield point: a window runs its pending events here (repaint, the cancel click);
    // the command-line tool looks at Ctrl+C here.
    virtual void Ceder() = 0;
    // Called once, after "Iniciando..." is set: a window shows itself (not modal).
    virtual void Mostrar() {}

    // The Cancelar event: the implementation calls it when the user asks to stop. During
    // Comparar it reaches the engine, which only sets its cancel flag; otherwise nobody hears it.
    void Cancelar() {
        if (m_ManejadorCancelar)
            m_ManejadorCancelar();
    }

    // For the engine: who hears Cancelar (an empty function detaches).
    void EstablecerManejadorCancelar(std::function<void()> fnManejador) {
        m_ManejadorCancelar = std::move(fnManejador);
    }

private:
    std::function<void()> m_ManejadorCancelar;
};
