// A zip archive built in memory with libzip, for the office documents: their parts in, the
// archive's bytes out.
#pragma once

#include <QByteArray>
#include <QString>
#include <utility>
#include <vector>

using PartesZip = std::vector<std::pair<QString, QByteArray>>;

// Parts are stored in the given order. False and libzip's reason in strError on failure.
bool ComprimirPartes(const PartesZip& partes, QByteArray& bytZip, QString& strError);
