#include "controles/CComboImagenes.h"

namespace {
enum Rol : int { RolClave = Qt::UserRole + 1, RolImagen, RolImagenSeleccionada };
} // namespace

CComboImagenes::CComboImagenes(QWidget* objPadre) : QComboBox(objPadre) {
    setEditable(false);
    connect(this, &QComboBox::currentIndexChanged, this, [this](int i) {
        MostrarImagenes(i);
        emit ElementoElegido(i);
    });
}

void CComboImagenes::EstablecerImagenes(const CListaImagenes& objImagenes) {
    m_Imagenes = objImagenes;
    setIconSize(QSize(objImagenes.Tamano(), objImagenes.Tamano()));
    MostrarImagenes(currentIndex());
}

int CComboImagenes::AgregarElemento(const QString& strClave, const QString& strTexto, int intImagen,
                                    int intImagenSeleccionada) {
    const int intAntes = currentIndex();
    {
        // A combo picks its first entry by itself; an image combo starts with none picked.
        const QSignalBlocker bloqueo(this);
        addItem(m_Imagenes.Icono(intImagen), strTexto);
        setItemData(count() - 1, strClave, RolClave);
        setItemData(count() - 1, intImagen, RolImagen);
        setItemData(count() - 1, intImagenSeleccionada ? intImagenSeleccionada : intImagen,
                    RolImagenSeleccionada);
        setCurrentIndex(intAntes);
    }
    return count() - 1;
}

QString CComboImagenes::Clave(int intElemento) const {
    return (intElemento >= 0 && intElemento < count()) ? itemData(intElemento, RolClave).toString()
                                                       : QString();
}

void CComboImagenes::Elegir(int intElemento) {
    setCurrentIndex(intElemento >= 0 && intElemento < count() ? intElemento : -1);
}

void CComboImagenes::MostrarImagenes(int intElegido) {
    for (int i = 0; i < count(); ++i) {
        const int intRol = (i == intElegido) ? RolImagenSeleccionada : RolImagen;
        setItemIcon(i, m_Imagenes.Icono(itemData(i, intRol).toInt()));
    }
}
