// A client-side static table: one catalogue rowset held in memory, read by column name.
// Owned by whoever asked for it (a std::unique_ptr); it never talks to the database.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

class CRecordset {
public:
    using Fila = std::vector<QVariant>;

    CRecordset() = default;
    explicit CRecordset(QStringList columnas);

    // Building (the data-access layer only).
    void AgregarFila(Fila fila);
    void Reservar(std::size_t n) { m_Filas.reserve(n); }
    void PonerValor(std::size_t fila, int intColumna, QVariant valor);
    void Filtrar(const std::function<bool(const Fila&)>& conservar); // keeps order

    // Columns. Names compare without regard to case; -1 when missing.
    const QStringList& Columnas() const { return m_Columnas; }
    int IndiceColumna(const QString& strColumna) const;

    // Cursor.
    bool FinDatos() const { return !m_Abierto || m_Actual >= m_Filas.size(); }
    void MoverPrimero() { m_Actual = 0; }
    void MoverSiguiente() {
        if (m_Actual < m_Filas.size())
            ++m_Actual;
    }
    long Posicion() const { return FinDatos() ? -1 : static_cast<long>(m_Actual) + 1; } // 1-based
    long NumeroFilas() const { return static_cast<long>(m_Filas.size()); }
    void Cerrar() {
        m_Abierto = false;
        m_Filas.clear();
        m_Indices.clear();
    }
    bool Abierto() const { return m_Abierto; }

    // Values of the current row: an invalid or null QVariant is a Null. A missing column is Null.
    QVariant Valor(const QString& strColumna) const;
    QVariant Valor(int intColumna) const;
    QString Texto(const QString& strColumna) const { return Valor(strColumna).toString(); }
    bool EsNulo(const QString& strColumna) const { return EsNulo(Valor(strColumna)); }
    static bool EsNulo(const QVariant& v) { return !v.isValid() || v.isNull(); }

    // Random access for bulk readers.
    const QVariant& ValorEn(std::size_t fila, int intColumna) const {
        return m_Filas[fila][static_cast<std::size_t>(intColumna)];
    }

    // Find-first by equality from the first row: text ignoring case, numbers by value.
    // Stands on the first matching row in rowset order, or at the end. Takes the value
    // itself, never a criterion text. Constant time on average (an index per column).
    bool BuscarPrimero(const QString& strColumna, const QVariant& valor);

    // Rows in the order the layer gave them; the rows whose column equals the value.
    std::vector<std::size_t> BuscarTodos(const QString& strColumna, const QVariant& valor);

private:
    static QString Clave(const QVariant& v);
    const QHash<QString, std::vector<std::size_t>>& Indice(int intColumna);

    QStringList m_Columnas;
    QHash<QString, int> m_PosicionColumna; // lower-case name → position
    std::vector<Fila> m_Filas;
    std::size_t m_Actual = 0;
    bool m_Abierto = true;
    QHash<int, QHash<QString, std::vector<std::size_t>>> m_Indices;
};

using PRecordset = std::unique_ptr<CRecordset>;
