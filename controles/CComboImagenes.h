// An image combo: keyed entries with a text, an image and a selected image from an image list,
// and at most one picked entry (none at first). Owns its entries.
#pragma once

#include "controles/CListaImagenes.h"

#include <QComboBox>

class CComboImagenes : public QComboBox {
    Q_OBJECT
public:
    explicit CComboImagenes(QWidget* objPadre = nullptr);

    void EstablecerImagenes(const CListaImagenes& objImagenes);
    // Appends an entry; adding never picks one. Returns its 0-based index.
    int AgregarElemento(const QString& strClave, const QString& strTexto, int intImagen,
                        int intImagenSeleccionada = 0);
    QString Clave(int intElemento) const;
    int Elegido() const { return currentIndex(); } // -1 when none is picked
    QString ClaveElegida() const { return Clave(currentIndex()); }
    QString TextoElegido() const { return currentIndex() < 0 ? QString() : currentText(); }
    void Elegir(int intElemento); // -1 picks none

signals:
    void ElementoElegido(int intElemento); // by the user or by Elegir

private:
    void MostrarImagenes(int intElegido);

    CListaImagenes m_Imagenes;
};
