// An ODBC connection string taken apart into its attributes, in order, and put back together.
// A plain value: whoever reads or rewrites a connection string holds one.
#pragma once

#include <QList>
#include <QPair>
#include <QString>

class CCadenaConexion {
public:
    CCadenaConexion() = default;
    explicit CCadenaConexion(
        const QString& strCadena); // never fails: malformed text is kept as well as it can

    const QList<QPair<QString, QString>>& Atributos() const { return m_Atributos; }
    bool Contiene(const QString& strClave) const; // keys compare without regard to case
    QString Valor(const QString& strClave) const; // without braces; empty when missing
    void Poner(const QString& strClave, const QString& strValor); // replaces or appends
    void Quitar(const QString& strClave);
    void Anteponer(const QString& strClave, const QString& strValor);

    // The string again, values braced where ODBC needs it ("}" doubled inside braces).
    QString Texto() const;

    // A key that holds a password: its value must never be shown.
    static bool EsClaveSecreta(const QString& strClave);

private:
    int Posicion(const QString& strClave) const;
    QList<QPair<QString, QString>> m_Atributos;
};
