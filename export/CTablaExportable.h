// A table held in memory (titles and rows of texts) that the writers can export like a list view:
// what the command line hands to EscribirTabla. Owned by its creator.
#pragma once

#include "comun/IListaExportable.h"

#include <QList>
#include <QStringList>

class CTablaExportable final : public IListaExportable {
public:
    CTablaExportable() = default;
    CTablaExportable(QStringList strTitulos, QList<QStringList> strFilas)
        : m_strTitulos(std::move(strTitulos)), m_strFilas(std::move(strFilas)) {}

    void AgregarTitulo(const QString& strTitulo) { m_strTitulos << strTitulo; }
    void AgregarFila(const QStringList& strValores) { m_strFilas << strValores; }

    int NumeroColumnas() const override { return static_cast<int>(m_strTitulos.size()); }
    QString TituloColumna(int intColumna) const override { return m_strTitulos.value(intColumna); }
    int NumeroElementos() const override { return static_cast<int>(m_strFilas.size()); }
    QString TextoCelda(int intFila, int intColumna) const override {
        return m_strFilas.value(intFila).value(intColumna);
    }

private:
    QStringList m_strTitulos;
    QList<QStringList> m_strFilas;
};
