#include "controles/CListaMarcas.h"

CListaMarcas::CListaMarcas(QWidget* objPadre) : QListWidget(objPadre) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemChanged, this, [this](QListWidgetItem* e) {
        const int i = row(e);
        if (i < 0 || i >= m_Estados.size())
            return;
        const bool booMarcada = e->checkState() == Qt::Checked;
        if (booMarcada != m_Estados.at(i)) {
            m_Estados[i] = booMarcada;
            emit CambioMarca(i);
        }
    });
}

int CListaMarcas::AgregarEntrada(const QString& strTexto) {
    auto* e = new QListWidgetItem(strTexto);
    e->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    e->setCheckState(Qt::Unchecked);
    m_Estados.append(false);
    addItem(e);
    return count() - 1;
}

int CListaMarcas::NumeroMarcadas() const {
    int n = 0;
    for (int i = 0; i < count(); ++i)
        n += Marcada(i) ? 1 : 0;
    return n;
}

QString CListaMarcas::TextoEntrada(int intEntrada) const {
    const QListWidgetItem* e = item(intEntrada);
    return e ? e->text() : QString();
}

bool CListaMarcas::Marcada(int intEntrada) const {
    const QListWidgetItem* e = item(intEntrada);
    return e && e->checkState() == Qt::Checked;
}

void CListaMarcas::Marcar(int intEntrada, bool booMarcada) {
    if (QListWidgetItem* e = item(intEntrada))
        e->setCheckState(booMarcada ? Qt::Checked : Qt::Unchecked);
}
