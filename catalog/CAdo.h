// The texts for the codes the catalogue rowsets deliver, and the text colour of an object type.
// Pure functions; the one instance is the application object's ADO member.
#pragma once

#include <QString>
#include <QtGlobal>

// Colours: the high bit names a system colour by the index in the low byte.
inline constexpr quint32 kColorTextoVentana = 0x80000008; // normal window text
inline constexpr quint32 kColorTextoGris = 0x80000011;    // grey (disabled) text
inline constexpr quint32 kColorVerdeOscuro = 0x8000;

class CAdo {
public:
    QString TipoTabla(const QString& strTipoTabla) const;               // TABLE_TYPE
    QString TipoIndice(long lngTipoIndice) const;                       // TYPE of an index
    quint32 ColorTexto(const QString& strTipoObjeto) const;             // TABLE_TYPE
    QString TipoProcedimiento(long lngTipoProcedimiento) const;         // PROCEDURE_TYPE
    QString TipoAdmisionBusquedas(long lngTipoAdmisionBusquedas) const; // SEARCHABLE
    QString TipoOrdenacion(long lngTipoOrdenacion) const;               // COLLATION
    QString TipoCampo(long lngTipoCampo) const; // the data-type constant's own name (adInteger)
};
