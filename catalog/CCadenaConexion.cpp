#include "catalog/CCadenaConexion.h"

CCadenaConexion::CCadenaConexion(const QString& strCadena) {
    const int n = static_cast<int>(strCadena.size());
    int i = 0;
    while (i < n) {
        while (i < n && (strCadena[i] == QLatin1Char(';') || strCadena[i].isSpace()))
            ++i;
        if (i >= n)
            break;
        const int igual = static_cast<int>(strCadena.indexOf(QLatin1Char('='), i));
        const int puntoComa = static_cast<int>(strCadena.indexOf(QLatin1Char(';'), i));
        if (igual < 0 || (puntoComa >= 0 && puntoComa < igual)) {
            // A word without "=": kept as a key with an empty value so that nothing is lost.
            const int fin = puntoComa < 0 ? n : puntoComa;
            m_Atributos.append({strCadena.mid(i, fin - i).trimmed(), QString()});
            i = fin;
            continue;
        }
        const QString clave = strCadena.mid(i, igual - i).trimmed();
        i = igual + 1;
        QString valor;
        int j = i;
        while (j < n && strCadena[j] == QLatin1Char(' '))
            ++j;
        if (j < n && strCadena[j] == QLatin1Char('{')) {
            // Braced value: "}}" stands for one "}", a single "}" closes it.
            ++j;
            while (j < n) {
                if (strCadena[j] == QLatin1Char('}')) {
                    if (j + 1 < n && strCadena[j + 1] == QLatin1Char('}')) {
                        valor += QLatin1Char('}');
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                valor += strCadena[j++];
            }
            while (j < n && strCadena[j] != QLatin1Char(';'))
                ++j;
            i = j;
        } else {
            const int fin = static_cast<int>(strCadena.indexOf(QLatin1Char(';'), i));
            valor = strCadena.mid(i, (fin < 0 ? n : fin) - i).trimmed();
            i = fin < 0 ? n : fin;
        }
        m_Atributos.append({clave, valor});
    }
}

int CCadenaConexion::Posicion(const QString& strClave) const {
    for (int i = 0; i < m_Atributos.size(); ++i)
        if (m_Atributos[i].first.compare(strClave, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool CCadenaConexion::Contiene(const QString& strClave) const {
    return Posicion(strClave) >= 0;
}

QString CCadenaConexion::Valor(const QString& strClave) const {
    const int i = Posicion(strClave);
    return i < 0 ? QString() : m_Atributos[i].second;
}

void CCadenaConexion::Poner(const QString& strClave, const QString& strValor) {
    const int i = Posicion(strClave);
    if (i < 0)
        m_Atributos.append({strClave, strValor});
    else
        m_Atributos[i].second = strValor;
}

void CCadenaConexion::Quitar(const QString& strClave) {
    for (int i = static_cast<int>(m_Atributos.size()) - 1; i >= 0; --i)
        if (m_Atributos[i].first.compare(strClave, Qt::CaseInsensitive) == 0)
            m_Atributos.removeAt(i);
}

void CCadenaConexion::Anteponer(const QString& strClave, const QString& strValor) {
    Quitar(strClave);
    m_Atributos.prepend({strClave, strValor});
}

QString CCadenaConexion::Texto() const {
    QString texto;
    for (const auto& [clave, valor] : m_Atributos) {
        texto += clave;
        texto += QLatin1Char('=');
        const bool llaves = clave.compare(QLatin1String("DRIVER"), Qt::CaseInsensitive) == 0 ||
                            valor.contains(QLatin1Char(';')) || valor.contains(QLatin1Char('{')) ||
                            valor.contains(QLatin1Char('}')) ||
                            valor.startsWith(QLatin1Char(' ')) || valor.endsWith(QLatin1Char(' '));
        if (llaves && !valor.isEmpty()) {
            QString v = valor;
            v.replace(QLatin1Char('}'), QLatin1String("}}"));
            texto += QLatin1Char('{') + v + QLatin1Char('}');
        } else {
            texto += valor;
        }
        texto += QLatin1Char(';');
    }
    return texto;
}

bool CCadenaConexion::EsClaveSecreta(const QString& strClave) {
    const QString c = strClave.trimmed().toLower();
    return c == QLatin1String("pwd") || c == QLatin1String("pass") ||
           c.contains(QLatin1String("password")) || c.contains(QLatin1String("passwd")) ||
           c.endsWith(QLatin1String("pwd")) || c.contains(QLatin1String("secret"));
}
