// A tab strip with one page per list: captions, the selected tab, and tabs that can be disabled
// (still shown, never selectable). Owns its pages.
#pragma once

#include <QTabWidget>

class CPestanas : public QTabWidget {
    Q_OBJECT
public:
    explicit CPestanas(QWidget* objPadre = nullptr);

    int AgregarPestana(QWidget* objPagina, const QString& strTitulo); // 0-based index
    int PestanaActual() const { return currentIndex(); }
    void SeleccionarPestana(int intPestana); // a disabled tab stays unselected
    QString TituloPestana(int intPestana) const { return tabText(intPestana); }
    bool PestanaHabilitada(int intPestana) const { return isTabEnabled(intPestana); }
    void HabilitarPestana(int intPestana, bool booHabilitada);

signals:
    void CambioPestana(int intPestana);
};
