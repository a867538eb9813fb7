// An image list: pictures of one size (16 or 32 pixels) addressed by 1-based number, drawn from
// the program's SVG icons by name. A value type, copied into each control that uses it.
#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QString>
#include <QStringList>

class CListaImagenes {
public:
    CListaImagenes() = default;
    // Image i is the icon named strNombres[i - 1]; an empty name leaves that number unused.
    CListaImagenes(int intTamano, const QStringList& strNombres);

    int Tamano() const { return m_Tamano; }
    int Numero() const { return static_cast<int>(m_Iconos.size()); }
    // A null icon for 0, an unused number or one out of range.
    QIcon Icono(int intIndice) const;
    QString Nombre(int intIndice) const;

private:
    int m_Tamano = 16;
    QStringList m_Nombres;
    QList<QIcon> m_Iconos;
};

// The icon of the program's resource called strNombre (without ".svg") at intTamano pixels,
// also drawn at twice the size for high-density screens. Null when there is no such icon.
QIcon IconoRecurso(const QString& strNombre, int intTamano);
QPixmap ImagenRecurso(const QString& strNombre, int intTamano, qreal dblEscala = 1.0);
// The program's own icon at the usual sizes.
QIcon IconoPrograma();
