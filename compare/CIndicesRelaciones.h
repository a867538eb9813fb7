// What a table declares beside its columns, indexes and foreign keys, as one side's bulk
// rowsets give them, and how one table's compare with the other side's. CComparador walks the
// tables and writes the rows; this knows the matching and the sentences.
#pragma once

#include "catalog/CRecordset.h"
#include "compare/IResultados.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <vector>

struct CIndice {
    QString strNombre;
    bool booPrimario = false;
    bool booUnico = false;
    QStringList columnas;    // key columns in key order, as the side spells them
    QList<QVariant> sentido; // per column: 1 ascending, 2 descending, null unknown
};

struct CRelacion {
    QString strTablaRef;
    QStringList columnas, columnasRef;
    QVariant actualizar, borrar; // ON UPDATE / ON DELETE rule texts, null when unknown
    QString strNombre;           // may be empty (SQLite names none)
};

// One side's indexes or foreign keys by table (schema and exact name, as its tables rowset has
// them).
class CClavesLado {
public:
    void LeerIndices(CRecordset& rs);
    void LeerRelaciones(CRecordset& rs);
    const std::vector<CIndice>& Indices(const QVariant& esquema, const QString& strTabla) const;
    const std::vector<CRelacion>& Relaciones(const QVariant& esquema,
                                             const QString& strTabla) const;

private:
    QHash<QString, std::vector<CIndice>> m_Indices;
    QHash<QString, std::vector<CRelacion>> m_Relaciones;
};

// One side of a table's comparison.
struct CTablaClaves {
    const QString& strTitulo;
    const QString& strSgbd;
    const std::vector<CIndice>& indices;
    const std::vector<CRelacion>& relaciones;
};

// A row to add: icon and class tell missing from differing.
struct CDiferenciaClave {
    QString strTexto, strTipo, strMensaje;
    int intIcono;
    ClaseDiferencia lngClase;
};
// este is the side the row is written under.
using FnDiferenciaClave = std::function<void(const CDiferenciaClave&, const CTablaClaves& este)>;

// Both passes over one table present on both sides: side 1's objects looked up on side 2, then
// side 2's on side 1. strTabla is the name the messages give the table.
void CompararIndicesTabla(const QString& strTabla, const CTablaClaves& lado1,
                          const CTablaClaves& lado2, const FnDiferenciaClave& fnDiferencia);
void CompararRelacionesTabla(const QString& strTabla, const CTablaClaves& lado1,
                             const CTablaClaves& lado2, const FnDiferenciaClave& fnDiferencia);
