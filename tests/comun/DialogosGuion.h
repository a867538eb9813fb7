// A scripted dialog service: answers are queued by the test, every box shown is recorded, and
// nothing ever blocks. Install it with CDialogosGuion guion; (it installs itself, and restores
// the silent default when it goes out of scope).
#pragma once

#include "comun/IDialogos.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

struct CMensajeMostrado {
    QString strTexto;
    int intEstilo;
    QString strTitulo;
};

class CDialogosGuion final : public IDialogos {
public:
    CDialogosGuion() { EstablecerDialogos(this); }
    ~CDialogosGuion() override { EstablecerDialogos(nullptr); }

    // Answers, consumed in order. With none queued: OK / No, cancel, cancel, not opened.
    std::deque<int> respuestas;
    std::deque<std::optional<QString>> entradas;
    std::deque<std::optional<QString>> rutas; // save dialog: nullopt = cancel
    bool booAbrirFunciona = true;

    // What was shown.
    std::vector<CMensajeMostrado> mensajes;
    QStringList preguntasEntrada;
    QStringList filtrosGuardar;
    QStringList extensionesGuardar;
    QStringList abiertos;

    int Mensaje(const QString& strTexto, int intEstilo, const QString& strTitulo) override {
        mensajes.push_back({strTexto, intEstilo, strTitulo});
        if (!respuestas.empty()) {
            const int r = respuestas.front();
            respuestas.pop_front();
            return r;
        }
        return (intEstilo & Estilo::SiNo) ? Respuesta::No : Respuesta::Aceptar;
    }
    std::optional<QString> Entrada(const QString& strPregunta, const QString& strTitulo,
                                   const QString&) override {
        preguntasEntrada << strPregunta + u'|' + strTitulo;
        if (entradas.empty() || !entradas.front()) {
            if (!entradas.empty())
                entradas.pop_front();
            return std::nullopt;
        }
        const QString r = *entradas.front();
        entradas.pop_front();
        return r;
    }
    bool GuardarArchivoComo(const QString& strFiltro, const QString& strExtension,
                            QString& strRuta) override {
        filtrosGuardar << strFiltro;
        extensionesGuardar << strExtension;
        if (rutas.empty() || !rutas.front()) {
            if (!rutas.empty())
                rutas.pop_front();
            return false;
        }
        strRuta = *rutas.front();
        rutas.pop_front();
        return true;
    }
    bool AbrirArchivo(const QString& strRuta) override {
        abiertos << strRuta;
        return booAbrirFunciona;
    }
};
