// Small readers shared by the catalogue tests: a rowset's chosen columns as text lines, and an
// opened connection for a connection string.
#pragma once

#include "catalog/CConexion.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <memory>

// Failures show texts as text, not as arrays of 16-bit units.
inline void PrintTo(const QString& strTexto, std::ostream* os) {
    *os << '"' << strTexto.toStdString() << '"';
}
inline void PrintTo(const QStringList& lista, std::ostream* os) {
    *os << "{\n";
    for (const QString& s : lista)
        *os << "  \"" << s.toStdString() << "\"\n";
    *os << "}";
}

namespace pruebas {

// One line per row: the chosen columns' values joined by "|", a null shown as "·".
inline QStringList Filas(CRecordset& rs, const QStringList& columnas) {
    QStringList filas;
    for (rs.MoverPrimero(); !rs.FinDatos(); rs.MoverSiguiente()) {
        QStringList valores;
        for (const QString& c : columnas) {
            const QVariant v = rs.Valor(c);
            valores << (CRecordset::EsNulo(v) ? QStringLiteral("·") : v.toString());
        }
        filas << valores.join(QLatin1Char('|'));
    }
    return filas;
}

// The rows whose column equals the value (exact text).
inline QStringList FilasDonde(CRecordset& rs, const QString& strColumna, const QString& strValor,
                              const QStringList& columnas) {
    QStringList todas = Filas(rs, QStringList{strColumna} + columnas);
    QStringList elegidas;
    for (const QString& f : todas)
        if (f.section(QLatin1Char('|'), 0, 0) == strValor)
            elegidas << f.section(QLatin1Char('|'), 1);
    return elegidas;
}

// The bulk columns, table by table, against Campos of each distinct name of Tablas: the same
// rows in the same order, and nothing more.
inline void CompararCamposTodosConCampos(CConexion& cn) {
    auto todos = cn.CamposTodos();
    auto tablas = cn.Tablas();
    ASSERT_TRUE(todos && tablas);
    const QStringList columnas = todos->Columnas();
    long total = 0;
    QStringList vistos;
    for (tablas->MoverPrimero(); !tablas->FinDatos(); tablas->MoverSiguiente()) {
        const QString nombre = tablas->Texto(QStringLiteral("TABLE_NAME"));
        if (vistos.contains(nombre))
            continue;
        vistos << nombre;
        auto campos = cn.Campos(nombre);
        ASSERT_TRUE(campos);
        EXPECT_EQ(FilasDonde(*todos, QStringLiteral("TABLE_NAME"), nombre, columnas),
                  Filas(*campos, columnas))
            << nombre.toStdString();
        total += campos->NumeroFilas();
    }
    EXPECT_EQ(todos->NumeroFilas(), total);
}

// Names reach the driver as values, never as patterns: "_" matches only itself ("axb" exists
// too), and an apostrophe is no quote.
inline void ComprobarNombresLiterales(CConexion& cn) {
    auto rs = cn.Campos(QStringLiteral("a_b"));
    ASSERT_TRUE(rs);
    EXPECT_EQ(Filas(*rs, {"TABLE_NAME", "COLUMN_NAME"}), QStringList({"a_b|x"}));
    auto apostrofo = cn.Campos(QStringLiteral("o'brien"));
    ASSERT_TRUE(apostrofo);
    EXPECT_EQ(Filas(*apostrofo, {"COLUMN_NAME"}), QStringList({"id", "it's"}));
}

inline std::unique_ptr<CConexion> Abrir(const QString& strCadena) {
    auto c = std::make_unique<CConexion>();
    c->setCadenaDeConexion(strCadena);
    EXPECT_TRUE(c->Conectar()) << c->ErrorConexion().toStdString();
    return c;
}

} // namespace pruebas
