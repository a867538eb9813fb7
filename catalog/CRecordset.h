// A client-side static table: one catalogue rowset held in memory, read by column name.
// Owned by whoever asked for it (a std::unique_ptr); it never talks to the database.
#pragma once

#include <QHash>
#include <QList>
#include <QSet>
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

    // Building (the data-access layer only). A row shorter than the columns is padded with nulls.
    void AgregarFila(Fila fila);
    // The same without a row of its own: the values go straight into the table.
    template <typename... T> void AgregarValores(T&&... valores) {
        static_assert(sizeof...(T) > 0);
        const std::size_t antes = m_Celdas.Tamano();
        if (m_Guardadas.empty()) {
            (m_Celdas.Agregar(std::forward<T>(valores)), ...);
        } else {
            std::size_t i = 0;
            ((Guardada(i++) ? m_Celdas.Agregar(std::forward<T>(valores)) : void()), ...);
        }
        m_Celdas.Redimensionar(antes + m_Ancho);
        if (m_Textos)
            CompartirTextos(antes);
        ++m_NumeroFilas;
        m_Indices.clear();
    }
    void Reservar(std::size_t n) { m_Celdas.Reservar(n * m_Ancho); }
    // From now on every text added equal to one already held shares its storage: a large
    // catalogue repeats its catalogue, schema, table, column and type names row after row.
    void CompartirIguales();
    // Keeps only those of these columns it has, in its own order, and no spare room. Rows
    // added later keep only those too, though they come at the full width: a reader that wants
    // a few columns of a large rowset says so before the layer fills it, and the rest is never
    // stored.
    void Proyectar(const QStringList& columnas);
    void PonerValor(std::size_t fila, int intColumna, QVariant valor);
    // Keeps the rows for which conservar(row number) is true, in order.
    void Filtrar(const std::function<bool(std::size_t)>& conservar);

    // Columns. Names compare without regard to case; -1 when missing.
    const QStringList& Columnas() const { return m_Columnas; }
    int IndiceColumna(const QString& strColumna) const;

    // Cursor.
    bool FinDatos() const { return !m_Abierto || m_Actual >= m_NumeroFilas; }
    void MoverPrimero() { m_Actual = 0; }
    void MoverSiguiente() {
        if (m_Actual < m_NumeroFilas)
            ++m_Actual;
    }
    long Posicion() const { return FinDatos() ? -1 : static_cast<long>(m_Actual) + 1; } // 1-based
    long NumeroFilas() const { return static_cast<long>(m_NumeroFilas); }
    void Cerrar() {
        m_Abierto = false;
        m_Celdas.Vaciar();
        m_NumeroFilas = 0;
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
        return m_Celdas[fila * m_Ancho + static_cast<std::size_t>(intColumna)];
    }

    // Find-first by equality from the first row: text ignoring case, numbers by value.
    // Stands on the first matching row in rowset order, or at the end. Takes the value
    // itself, never a criterion text. Constant time on average (an index per column).
    bool BuscarPrimero(const QString& strColumna, const QVariant& valor);

    // Rows in the order the layer gave them; the rows whose column equals the value.
    std::vector<std::size_t> BuscarTodos(const QString& strColumna, const QVariant& valor);

private:
    // The cells row after row, in blocks: a large rowset grows without ever copying what it
    // holds (one array would need room for its old and its new size at once as it grows).
    class CCeldas {
    public:
        QVariant& operator[](std::size_t i) { return m_Bloques[i >> kBits][i & kMascara]; }
        const QVariant& operator[](std::size_t i) const {
            return m_Bloques[i >> kBits][i & kMascara];
        }
        std::size_t Tamano() const { return m_Tamano; }
        template <typename T> void Agregar(T&& valor) {
            if (m_Tamano >> kBits == m_Bloques.size())
                m_Bloques.emplace_back().reserve(m_Bloques.size() == 1 ? m_Reserva : kBloque);
            m_Bloques.back().emplace_back(std::forward<T>(valor));
            ++m_Tamano;
        }
        // Nulls added, or the cells past n dropped.
        void Redimensionar(std::size_t n);
        // Room for n cells in the first block, the one a small rowset never leaves.
        void Reservar(std::size_t n);
        // No spare room after the last cell.
        void Ajustar();
        void Vaciar() {
            m_Bloques.clear();
            m_Tamano = 0;
        }

    private:
        static constexpr std::size_t kBits = 14;
        static constexpr std::size_t kBloque = std::size_t{1} << kBits;
        static constexpr std::size_t kMascara = kBloque - 1;
        std::vector<std::vector<QVariant>> m_Bloques;
        std::size_t m_Tamano = 0;
        std::size_t m_Reserva = 0;
    };

    static QString Clave(const QVariant& v);
    bool Guardada(std::size_t intEntrada) const {
        return intEntrada < m_Guardadas.size() && m_Guardadas[intEntrada];
    }
    void CompartirTextos(std::size_t intPrimera);
    void PonerColumnas(QStringList columnas);
    const QHash<QString, std::vector<std::size_t>>& Indice(int intColumna);

    QStringList m_Columnas;
    std::size_t m_Ancho = 0;
    QHash<QString, int> m_PosicionColumna; // lower-case name → position
    CCeldas m_Celdas;                      // row after row, m_Ancho cells each
    // Once projected: which of the full width's values of a row added later are kept.
    std::vector<bool> m_Guardadas;
    std::size_t m_NumeroFilas = 0;
    std::size_t m_Actual = 0;
    bool m_Abierto = true;
    QHash<int, QHash<QString, std::vector<std::size_t>>> m_Indices;
    std::unique_ptr<QSet<QString>> m_Textos; // the texts held once, while CompartirIguales
};

using PRecordset = std::unique_ptr<CRecordset>;
