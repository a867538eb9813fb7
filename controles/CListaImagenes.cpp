#include "controles/CListaImagenes.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

// The resource is compiled into this static library; without an explicit call the linker would
// drop it, as nothing else refers to it.
static void InicializarIconos() {
    Q_INIT_RESOURCE(iconos);
}

namespace {

void AsegurarRecursos() {
    static const bool booHecho = [] {
        InicializarIconos();
        return true;
    }();
    (void)booHecho;
}

} // namespace

QPixmap ImagenRecurso(const QString& strNombre, int intTamano, qreal dblEscala) {
    AsegurarRecursos();
    QSvgRenderer objDibujo(QStringLiteral(":/iconos/%1.svg").arg(strNombre));
    if (!objDibujo.isValid())
        return {};
    const int intLado = qRound(intTamano * dblEscala);
    QImage objImagen(intLado, intLado, QImage::Format_ARGB32_Premultiplied);
    objImagen.fill(Qt::transparent);
    {
        QPainter p(&objImagen);
        p.setRenderHint(QPainter::Antialiasing);
        objDibujo.render(&p);
    }
    QPixmap objPixmap = QPixmap::fromImage(objImagen);
    objPixmap.setDevicePixelRatio(dblEscala);
    return objPixmap;
}

QIcon IconoRecurso(const QString& strNombre, int intTamano) {
    const QPixmap objNormal = ImagenRecurso(strNombre, intTamano);
    if (objNormal.isNull())
        return {};
    QIcon objIcono;
    objIcono.addPixmap(objNormal);
    objIcono.addPixmap(ImagenRecurso(strNombre, intTamano, 2.0));
    return objIcono;
}

QIcon IconoPrograma() {
    QIcon objIcono;
    for (const int intTamano : {16, 32, 48, 64, 128})
        objIcono.addPixmap(ImagenRecurso(QStringLiteral("verondal"), intTamano));
    return objIcono;
}

CListaImagenes::CListaImagenes(int intTamano, const QStringList& strNombres)
    : m_Tamano(intTamano), m_Nombres(strNombres) {
    m_Iconos.reserve(strNombres.size());
    for (const QString& strNombre : strNombres)
        m_Iconos.append(strNombre.isEmpty() ? QIcon() : IconoRecurso(strNombre, intTamano));
}

QIcon CListaImagenes::Icono(int intIndice) const {
    if (intIndice < 1 || intIndice > m_Iconos.size())
        return {};
    return m_Iconos.at(intIndice - 1);
}

QString CListaImagenes::Nombre(int intIndice) const {
    if (intIndice < 1 || intIndice > m_Nombres.size())
        return {};
    return m_Nombres.at(intIndice - 1);
}
