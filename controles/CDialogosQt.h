// The dialog service on Qt Widgets: message boxes, the input box, the save dialog and "open
// with the associated program". The program owns the one instance and installs it at start-up.
#pragma once

#include "comun/IDialogos.h"

class QWidget;

class CDialogosQt final : public IDialogos {
public:
    int Mensaje(const QString& strTexto, int intEstilo = Estilo::Aceptar,
                const QString& strTitulo = QString()) override;
    std::optional<QString> Entrada(const QString& strPregunta, const QString& strTitulo,
                                   const QString& strPredeterminado = QString()) override;
    bool GuardarArchivoComo(const QString& strFiltro, const QString& strExtension,
                            QString& strRuta) override;
    bool AbrirArchivo(const QString& strRuta) override;

private:
    static QWidget* Propietario();
};
