#include "controles/CPestanas.h"

CPestanas::CPestanas(QWidget* objPadre) : QTabWidget(objPadre) {
    connect(this, &QTabWidget::currentChanged, this, &CPestanas::CambioPestana);
}

int CPestanas::AgregarPestana(QWidget* objPagina, const QString& strTitulo) {
    return addTab(objPagina, strTitulo);
}

void CPestanas::SeleccionarPestana(int intPestana) {
    if (intPestana >= 0 && intPestana < count() && isTabEnabled(intPestana))
        setCurrentIndex(intPestana);
}

void CPestanas::HabilitarPestana(int intPestana, bool booHabilitada) {
    setTabEnabled(intPestana, booHabilitada);
}
