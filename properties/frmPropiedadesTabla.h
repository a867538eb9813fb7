// The table properties window: the columns and the indexes of one table of one connection, on
// the frame the connection window uses. A child of the main window; it keeps the connection's Id.
#pragma once

#include "properties/CMarcoPropiedades.h"

class frmPropiedadesTabla final : public CMarcoPropiedades {
    Q_OBJECT
public:
    explicit frmPropiedadesTabla(QWidget* objPadre = nullptr);

    // The connection's Id; set it before Tabla.
    void Conexion(const QString& strKey);
    // Sets the caption and fills both lists from the catalogue; set once.
    // With strEsquema, that schema's table of the name, its caption naming the schema.
    void Tabla(const QString& strNombre, const QString& strEsquema = {});

    CBarraHerramientas* tbrPropiedadesTabla() const { return Barra(); }
    CPestanas* sstPropiedadesTabla() const { return Pestanas(); }
    CListaVista* const lvwCampos;
    CListaVista* const lvwIndices;

private:
    // Adds strColumna to the "Columnas" text of the index item keyed strIndice; false when no
    // item has that key yet.
    bool AgregarColumnaIndice(const QString& strIndice, const QString& strColumna);
};
