// Small readers shared by the catalogue tests: a rowset's chosen columns as text lines, and an
// opened connection for a connection string.
#pragma once

#include "Ayudas.h"
#include "catalog/CConexion.h"

#include <memory>

namespace pruebas {

// One line per row: the chosen columns' values joined by "|", a null shown as "·".
inline QStringList Filas(CRecordset& rs, const QStringList& columnas) {
    QStringList filas;
    for (rs.MoverPrimero(); !rs.FinDatos(); rs.MoverSiguiente()) {
        QStringList valores;
        for (const QString& c : columnas) {
            const QVariant v = rs.Valor(c);
            valores << (CRecordset::EsNulo(v) ? u"·"_s : v.toString());
        }
        filas << valores.join(u'|');
    }
    return filas;
}

// A server client's lines ("a||c") with each empty field shown as a null ("a|·|c").
inline QStringList ConNulos(const QStringList& lineas) {
    QStringList filas;
    for (const QString& l : lineas) {
        QStringList campos = l.split(u'|');
        for (QString& c : campos)
            if (c.isEmpty())
                c = u"·"_s;
        filas << campos.join(u'|');
    }
    return filas;
}

// The rows whose column equals the value (exact text).
inline QStringList FilasDonde(CRecordset& rs, const QString& strColumna, const QString& strValor,
                              const QStringList& columnas) {
    QStringList todas = Filas(rs, QStringList{strColumna} + columnas);
    QStringList elegidas;
    for (const QString& f : todas)
        if (f.section(u'|', 0, 0) == strValor)
            elegidas << f.section(u'|', 1);
    return elegidas;
}

// The same of a rowset as a call returns it: a call that gave none says so in the lines.
inline QStringList Filas(const PRecordset& rs, const QStringList& columnas) {
    return rs ? Filas(*rs, columnas) : QStringList{u"(sin conjunto de filas)"_s};
}
inline QStringList FilasDonde(const PRecordset& rs, const QString& strColumna,
                              const QString& strValor, const QStringList& columnas) {
    return rs ? FilasDonde(*rs, strColumna, strValor, columnas)
              : QStringList{u"(sin conjunto de filas)"_s};
}

inline std::unique_ptr<CConexion> Abrir(const QString& strCadena) {
    auto c = std::make_unique<CConexion>();
    c->setCadenaDeConexion(strCadena);
    EXPECT_TRUE(c->Conectar()) << c->ErrorConexion().toStdString();
    return c;
}

} // namespace pruebas
