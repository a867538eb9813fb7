#include "controles/CBarraEstado.h"

#include <QLabel>

CBarraEstado::CBarraEstado(QWidget* objPadre) : QStatusBar(objPadre), m_Texto(new QLabel(this)) {
    QFont objFuente = font();
    objFuente.setFamilies({QStringLiteral("Tahoma"), objFuente.family()});
    setFont(objFuente);
    setSizeGripEnabled(false);
    m_Texto->setObjectName(QStringLiteral("lblEstado"));
    addWidget(m_Texto, 1);
}

QString CBarraEstado::Texto() const {
    return m_Texto->text();
}

void CBarraEstado::EstablecerTexto(const QString& strTexto) {
    m_Texto->setText(strTexto);
    if (m_Texto->isVisible())
        m_Texto->repaint();
}
