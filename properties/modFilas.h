// What both property windows do with a catalogue rowset: walk it into a list, and read its
// values as cell texts where a null is an empty cell. Free functions; nothing is owned.
#pragma once

#include "catalog/CRecordset.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <optional>

class CPestanas;

// Adds one row per record with fnFila, from first to last, then closes the rowset. Without a
// rowset the tab is disabled instead. A row that cannot be added is skipped, never the rest.
void LlenarDesdeRowset(CPestanas& sst, int intPestana, PRecordset rs,
                       const std::function<void(CRecordset&)>& fnFila);

// The column as text; the empty text for a null.
QString TextoCampo(const CRecordset& rs, const QString& strColumna);
// The column as a whole number; nothing for a null or a value that is not a number.
std::optional<qint64> EnteroCampo(const CRecordset& rs, const QString& strColumna);
// "Sí" when the column is true, "No" otherwise (a null included).
QString SiNoCampo(const CRecordset& rs, const QString& strColumna);
// A code's text through fnTexto, or a null (an empty cell) when the code is null.
QVariant TextoCodigo(const CRecordset& rs, const QString& strColumna,
                     const std::function<QString(long)>& fnTexto);
