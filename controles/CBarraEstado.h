// A status bar showing one simple text along the bottom of a window. Owns its label; the
// window holds the bar as a child.
#pragma once

#include <QStatusBar>

class QLabel;

class CBarraEstado : public QStatusBar {
    Q_OBJECT
public:
    explicit CBarraEstado(QWidget* objPadre = nullptr);

    QString Texto() const;
    // Shows the text and paints it at once, so it is seen even before a long wait.
    void EstablecerTexto(const QString& strTexto);

private:
    QLabel* m_Texto;
};
