// A list box with a check box per entry: texts, ticked flags, and the counts of entries and of
// ticked ones. Owns its entries.
#pragma once

#include <QListWidget>

class CListaMarcas : public QListWidget {
    Q_OBJECT
public:
    explicit CListaMarcas(QWidget* objPadre = nullptr);

    int AgregarEntrada(const QString& strTexto); // unticked; returns its 0-based index
    int NumeroEntradas() const { return count(); }
    int NumeroMarcadas() const;
    QString TextoEntrada(int intEntrada) const;
    bool Marcada(int intEntrada) const;
    void Marcar(int intEntrada, bool booMarcada);

signals:
    void CambioMarca(int intEntrada); // ticked or unticked, by the user or by Marcar

private:
    QList<bool> m_Estados; // last known tick of each entry, to tell a tick from other changes
};
