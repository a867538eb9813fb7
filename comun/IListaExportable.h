// What the export driver reads of a list: column titles, then per row the item text and its
// sub-items. The window-control layer's list view implements it; so can any core table.
#pragma once

#include <QString>

class IListaExportable {
public:
    virtual ~IListaExportable() = default;
    virtual int NumeroColumnas() const = 0;
    virtual QString TituloColumna(int intColumna) const = 0; // 0-based
    virtual int NumeroElementos() const = 0;
    // Column 0 is the item's text, 1..n-1 its sub-items; a missing sub-item is the empty text.
    virtual QString TextoCelda(int intFila, int intColumna) const = 0;
};
