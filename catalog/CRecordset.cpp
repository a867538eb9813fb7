#include "catalog/CRecordset.h"

#include <algorithm>

CRecordset::CRecordset(QStringList columnas) {
    PonerColumnas(std::move(columnas));
}

void CRecordset::PonerColumnas(QStringList columnas) {
    m_Columnas = std::move(columnas);
    m_Ancho = static_cast<std::size_t>(m_Columnas.size());
    m_PosicionColumna.clear();
    for (int i = 0; i < m_Columnas.size(); ++i) {
        const QString clave = m_Columnas[i].toLower();
        if (!m_PosicionColumna.contains(clave))
            m_PosicionColumna.insert(clave, i);
    }
}

void CRecordset::CCeldas::Redimensionar(std::size_t n) {
    while (m_Tamano < n)
        Agregar(QVariant());
    if (m_Tamano == n)
        return;
    m_Tamano = n;
    m_Bloques.resize((n + kMascara) >> kBits);
    if (!m_Bloques.empty())
        m_Bloques.back().resize(n - ((m_Bloques.size() - 1) << kBits));
}

void CRecordset::CCeldas::Reservar(std::size_t n) {
    m_Reserva = std::min(n, kBloque);
    if (!m_Bloques.empty())
        m_Bloques.front().reserve(m_Reserva);
}

void CRecordset::CCeldas::Ajustar() {
    if (!m_Bloques.empty())
        m_Bloques.back().shrink_to_fit();
}

void CRecordset::AgregarFila(Fila fila) {
    const std::size_t antes = m_Celdas.Tamano();
    for (std::size_t i = 0; i < fila.size(); ++i)
        if (m_Guardadas.empty() ? i < m_Ancho : Guardada(i))
            m_Celdas.Agregar(std::move(fila[i]));
    m_Celdas.Redimensionar(antes + m_Ancho);
    if (m_Textos)
        CompartirTextos(antes);
    ++m_NumeroFilas;
    m_Indices.clear();
}

void CRecordset::PonerValor(std::size_t fila, int intColumna, QVariant valor) {
    m_Celdas[fila * m_Ancho + static_cast<std::size_t>(intColumna)] = std::move(valor);
    m_Indices.remove(intColumna);
}

void CRecordset::Filtrar(const std::function<bool(std::size_t)>& conservar) {
    std::size_t destino = 0;
    for (std::size_t fila = 0; fila < m_NumeroFilas; ++fila) {
        if (!conservar(fila))
            continue;
        if (destino != fila)
            for (std::size_t c = 0; c < m_Ancho; ++c)
                m_Celdas[destino * m_Ancho + c] = std::move(m_Celdas[fila * m_Ancho + c]);
        ++destino;
    }
    m_Celdas.Redimensionar(destino * m_Ancho);
    m_NumeroFilas = destino;
    m_Indices.clear();
    m_Actual = 0;
}

void CRecordset::CompartirIguales() {
    if (!m_Textos)
        m_Textos = std::make_unique<QSet<QString>>();
}

void CRecordset::CompartirTextos(std::size_t intPrimera) {
    for (std::size_t i = intPrimera; i < m_Celdas.Tamano(); ++i) {
        QVariant& v = m_Celdas[i];
        if (v.typeId() != QMetaType::QString)
            continue;
        // The same column of the row before first: most repeats are there, and it costs no
        // hash.
        if (i >= m_Ancho) {
            const QVariant& arriba = m_Celdas[i - m_Ancho];
            if (arriba.typeId() == QMetaType::QString &&
                *static_cast<const QString*>(arriba.constData()) ==
                    *static_cast<const QString*>(v.constData())) {
                v = arriba;
                continue;
            }
        }
        const QString& texto = *static_cast<const QString*>(v.constData());
        const auto it = m_Textos->constFind(texto);
        if (it == m_Textos->constEnd())
            m_Textos->insert(texto);
        else
            v = QVariant(*it);
    }
}

void CRecordset::Proyectar(const QStringList& columnas) {
    std::vector<int> origen;
    for (const QString& c : columnas)
        if (const int i = IndiceColumna(c);
            i >= 0 && std::find(origen.begin(), origen.end(), i) == origen.end())
            origen.push_back(i);
    std::sort(origen.begin(), origen.end());
    // In place: in the rowset's order a kept cell never moves to a later position.
    std::size_t destino = 0;
    for (std::size_t fila = 0; fila < m_NumeroFilas; ++fila)
        for (const int c : origen)
            m_Celdas[destino++] = std::move(m_Celdas[fila * m_Ancho + static_cast<std::size_t>(c)]);
    m_Celdas.Redimensionar(destino);
    m_Celdas.Ajustar();
    // What a row added later keeps of its full width: these columns of the present ones.
    std::vector<bool> guardadas(m_Ancho, false);
    for (const int c : origen)
        guardadas[static_cast<std::size_t>(c)] = true;
    if (m_Guardadas.empty()) {
        m_Guardadas = std::move(guardadas);
    } else {
        std::size_t presente = 0;
        for (std::size_t i = 0; i < m_Guardadas.size(); ++i)
            if (m_Guardadas[i])
                m_Guardadas[i] = guardadas[presente++];
    }
    QStringList nombres;
    for (const int c : origen)
        nombres << m_Columnas[c];
    // The texts of the dropped columns go; an empty rowset keeps sharing what comes.
    if (m_NumeroFilas > 0)
        m_Textos.reset();
    PonerColumnas(std::move(nombres));
    m_Indices.clear();
    m_Actual = 0;
}

int CRecordset::IndiceColumna(const QString& strColumna) const {
    return m_PosicionColumna.value(strColumna.toLower(), -1);
}

QVariant CRecordset::Valor(int intColumna) const {
    if (FinDatos() || intColumna < 0 || intColumna >= m_Columnas.size())
        return {};
    return ValorEn(m_Actual, intColumna);
}

QVariant CRecordset::Valor(const QString& strColumna) const {
    return Valor(IndiceColumna(strColumna));
}

// Numbers compare by value whatever their C++ type; text ignores letter case.
QString CRecordset::Clave(const QVariant& v) {
    if (EsNulo(v))
        return QStringLiteral("\x01null");
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Bool: {
        const double d = v.toDouble();
        return QStringLiteral("\x02") + QString::number(d, 'g', 17);
    }
    default:
        return v.toString().toCaseFolded();
    }
}

const QHash<QString, std::vector<std::size_t>>& CRecordset::Indice(int intColumna) {
    auto it = m_Indices.find(intColumna);
    if (it != m_Indices.end())
        return it.value();
    auto& indice = m_Indices[intColumna];
    indice.reserve(static_cast<qsizetype>(m_NumeroFilas));
    for (std::size_t i = 0; i < m_NumeroFilas; ++i)
        indice[Clave(ValorEn(i, intColumna))].push_back(i);
    return indice;
}

std::vector<std::size_t> CRecordset::BuscarTodos(const QString& strColumna, const QVariant& valor) {
    const int col = IndiceColumna(strColumna);
    if (!m_Abierto || col < 0 || EsNulo(valor))
        return {};
    const auto& indice = Indice(col);
    auto it = indice.constFind(Clave(valor));
    return it == indice.constEnd() ? std::vector<std::size_t>{} : it.value();
}

bool CRecordset::BuscarPrimero(const QString& strColumna, const QVariant& valor) {
    const auto filas = BuscarTodos(strColumna, valor);
    m_Actual = filas.empty() ? m_NumeroFilas : filas.front();
    return !FinDatos();
}
