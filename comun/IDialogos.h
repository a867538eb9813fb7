// The dialog service: every message box, input box, save dialog and "open with the associated
// program" goes through it, so the core never shows a box and tests script every answer.
// The program installs the real service at start-up; the default one answers silently.
#pragma once

#include <QString>
#include <optional>

namespace Estilo {
// Message-box style flags, combined with |.
enum : int {
    Aceptar = 0,        // OK button only
    SiNo = 4,           // Yes and No
    Critico = 16,       // critical-stop icon
    Pregunta = 32,      // question icon
    Exclamacion = 48,   // exclamation icon
    Informacion = 64,   // information icon
    BotonDefecto2 = 256 // the second button is the default
};
} // namespace Estilo

namespace Respuesta {
enum : int { Aceptar = 1, Cancelar = 2, Si = 6, No = 7 };
}

class IDialogos {
public:
    virtual ~IDialogos() = default;

    // Shows a message box and returns the button pressed (Respuesta). An empty title is "Verondal".
    virtual int Mensaje(const QString& strTexto, int intEstilo = Estilo::Aceptar,
                        const QString& strTitulo = QString()) = 0;
    // The input box: nullopt on cancel; a confirmed empty text is an empty QString.
    virtual std::optional<QString> Entrada(const QString& strPregunta, const QString& strTitulo,
                                           const QString& strPredeterminado = QString()) = 0;
    // The save dialog: true and the chosen path (extension appended when typed without one),
    // false on cancel with strRuta unchanged. strFiltro as "Archivos XML (*.xml);;Todos...".
    virtual bool GuardarArchivoComo(const QString& strFiltro, const QString& strExtension,
                                    QString& strRuta) = 0;
    // Opens the file with the program associated with it; false when none took it.
    virtual bool AbrirArchivo(const QString& strRuta) = 0;
};

// The one service in use. Never null: a silent default answers OK/No, cancels every input and
// save dialog and opens nothing.
IDialogos& Dialogos();
// Installs a service (not owned); nullptr puts the silent default back.
void EstablecerDialogos(IDialogos* objDialogos);
