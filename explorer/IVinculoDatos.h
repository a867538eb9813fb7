// The data-link dialogue: asks the user for a connection string. The program uses the window
// frmVinculoDatos; tests install a scripted one. Whoever installs one keeps ownership.
#pragma once

#include <QString>
#include <optional>

class IVinculoDatos {
public:
    virtual ~IVinculoDatos() = default;

    // Shows the dialogue captioned strTitulo and prefilled with strCadena (empty for a new
    // connection); the connection string, or nullopt when the user cancelled.
    virtual std::optional<QString> PedirCadena(const QString& strTitulo,
                                               const QString& strCadena) = 0;
};

// The dialogue in use; never null (the window frmVinculoDatos unless another is installed).
IVinculoDatos& VinculoDatos();
// Installs a dialogue (not owned); nullptr puts the window back.
void EstablecerVinculoDatos(IVinculoDatos* objVinculo);
