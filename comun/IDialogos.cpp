#include "comun/IDialogos.h"

namespace {

class CDialogosSilenciosos final : public IDialogos {
public:
    int Mensaje(const QString&, int intEstilo, const QString&) override {
        return (intEstilo & Estilo::SiNo) ? Respuesta::No : Respuesta::Aceptar;
    }
    std::optional<QString> Entrada(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    bool GuardarArchivoComo(const QString&, const QString&, QString&) override { return false; }
    bool AbrirArchivo(const QString&) override { return false; }
};

CDialogosSilenciosos g_Silenciosos;
IDialogos* g_Dialogos = nullptr;

} // namespace

IDialogos& Dialogos() {
    return g_Dialogos ? *g_Dialogos : g_Silenciosos;
}

void EstablecerDialogos(IDialogos* objDialogos) {
    g_Dialogos = objDialogos;
}
