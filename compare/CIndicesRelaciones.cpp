#include "compare/CIndicesRelaciones.h"

#include "catalog/CConexion.h"

#include <optional>

namespace {

QString Comillas(const QString& strTexto) {
    return QStringLiteral("«") + strTexto + QStringLiteral("»");
}

QString Plegada(const QStringList& lista) {
    return lista.join(QChar(0x1f)).toCaseFolded();
}

QString ClaveTabla(const QVariant& esquema, const QString& strTabla) {
    return CConexion::ClaveObjeto(QVariant(), esquema, strTabla);
}

QString Texto(const CRecordset& rs, std::size_t fila, int intColumna) {
    return intColumna < 0 ? QString() : rs.ValorEn(fila, intColumna).toString();
}

QVariant Valor(const CRecordset& rs, std::size_t fila, int intColumna) {
    return intColumna < 0 ? QVariant() : rs.ValorEn(fila, intColumna);
}

// Which of a's objects goes with which of b's: -1 for none.
struct CParejas {
    std::vector<int> a, b;
    CParejas(std::size_t na, std::size_t nb) : a(na, -1), b(nb, -1) {}
    void Unir(std::size_t i, std::size_t j) {
        a[i] = static_cast<int>(j);
        b[j] = static_cast<int>(i);
    }
    // The first free j of b that fnIgual accepts for every free i of a.
    template <typename F> void Emparejar(F fnIgual) {
        for (std::size_t i = 0; i < a.size(); ++i)
            for (std::size_t j = 0; a[i] < 0 && j < b.size(); ++j)
                if (b[j] < 0 && fnIgual(i, j))
                    Unir(i, j);
    }
};

// Rules with another DBMS's spelling of the same behaviour: MariaDB reports RESTRICT for
// "none given", which PostgreSQL and SQLite report as NO ACTION; neither lets the row stay.
QString Regla(const QVariant& regla, bool booOtroSgbd) {
    const QString strRegla = regla.toString();
    return booOtroSgbd && strRegla == QLatin1String("RESTRICT") ? QStringLiteral("NO ACTION")
                                                                : strRegla;
}

QString Sentidos(const CIndice& indice) {
    QStringList partes;
    for (qsizetype k = 0; k < indice.columnas.size(); ++k)
        partes << indice.columnas[k] + (indice.sentido.value(k).toInt() == 2
                                            ? QStringLiteral(" descendente")
                                            : QStringLiteral(" ascendente"));
    return partes.join(QStringLiteral(", "));
}

// An index MariaDB makes by itself for a foreign key (named after the key, or after its first
// column, over exactly its columns): another DBMS declares nothing of the kind.
bool IndiceDeRelacion(const CIndice& indice, const std::vector<CRelacion>& relaciones) {
    if (indice.booUnico || indice.booPrimario)
        return false;
    for (const CRelacion& r : relaciones)
        if (Plegada(r.columnas) == Plegada(indice.columnas) &&
            (indice.strNombre.compare(r.strNombre, Qt::CaseInsensitive) == 0 ||
             indice.strNombre.compare(r.columnas.value(0), Qt::CaseInsensitive) == 0))
            return true;
    return false;
}

void PasadaIndices(const QString& strTabla, const CTablaClaves& este, const CTablaClaves& otro,
                   const std::vector<int>& parejas, const FnDiferenciaClave& fnDiferencia) {
    const QString strTipo = QStringLiteral("Índice");
    const QString strDeLaTabla = QStringLiteral(" de la tabla ") + Comillas(strTabla);
    const QString strEnOtra = QStringLiteral(" y en la conexión ") + Comillas(otro.strTitulo);
    const bool booOtroSgbd = este.strSgbd != otro.strSgbd;
    for (std::size_t i = 0; i < este.indices.size(); ++i) {
        const CIndice& e = este.indices[i];
        if (parejas[i] < 0) {
            if (!booOtroSgbd || !IndiceDeRelacion(e, este.relaciones))
                fnDiferencia({e.strNombre, strTipo,
                              QStringLiteral("El índice no existe en la tabla ") +
                                  Comillas(strTabla) + QStringLiteral(" de la conexión ") +
                                  Comillas(otro.strTitulo),
                              IconoFalta, ClaseDiferencia::Indice},
                             este);
            continue;
        }
        const CIndice& o = otro.indices[static_cast<std::size_t>(parejas[i])];
        const QString strDelIndice =
            QStringLiteral(" del índice ") + Comillas(e.strNombre) + strDeLaTabla;
        const bool booMismasColumnas = Plegada(e.columnas) == Plegada(o.columnas);
        if (!booMismasColumnas)
            fnDiferencia({e.strNombre, strTipo,
                          QStringLiteral("Las columnas") + strDelIndice + QStringLiteral(" son ") +
                              Comillas(e.columnas.join(QStringLiteral(", "))) + strEnOtra +
                              QStringLiteral(" son ") +
                              Comillas(o.columnas.join(QStringLiteral(", "))),
                          IconoDiferencia, ClaseDiferencia::ColumnasIndice},
                         este);
        const auto propiedad = [&](bool booEste, bool booOtro, const QString& strQue,
                                   ClaseDiferencia lngClase) {
            if (booEste == booOtro)
                return;
            fnDiferencia({e.strNombre, strTipo,
                          QStringLiteral("El índice ") + Comillas(e.strNombre) + strDeLaTabla +
                              (booEste ? QStringLiteral(" ") : QStringLiteral(" no ")) + strQue +
                              QStringLiteral(", pero ") +
                              (booOtro ? QStringLiteral("sí") : QStringLiteral("no")) +
                              QStringLiteral(" lo es en la conexión ") + Comillas(otro.strTitulo),
                          IconoDiferencia, lngClase},
                         este);
        };
        propiedad(e.booUnico, o.booUnico, QStringLiteral("es único"), ClaseDiferencia::IndiceUnico);
        propiedad(e.booPrimario, o.booPrimario, QStringLiteral("es la clave primaria"),
                  ClaseDiferencia::ClavePrimaria);
        // A direction is compared only over the same columns, and only where both sides tell it.
        bool booOtroSentido = false;
        for (qsizetype k = 0; booMismasColumnas && k < e.columnas.size(); ++k) {
            const QVariant& s1 = e.sentido.value(k);
            const QVariant& s2 = o.sentido.value(k);
            booOtroSentido |=
                !CRecordset::EsNulo(s1) && !CRecordset::EsNulo(s2) && s1.toInt() != s2.toInt();
        }
        if (booOtroSentido)
            fnDiferencia({e.strNombre, strTipo,
                          QStringLiteral("La ordenación") + strDelIndice + QStringLiteral(" es ") +
                              Comillas(Sentidos(e)) + strEnOtra + QStringLiteral(" es ") +
                              Comillas(Sentidos(o)),
                          IconoDiferencia, ClaseDiferencia::SentidoIndice},
                         este);
    }
}

QString Descripcion(const QString& strTabla, const CRelacion& r) {
    const QString strSeparador = QStringLiteral(", ");
    return strTabla + QStringLiteral(" (") + r.columnas.join(strSeparador) +
           QStringLiteral(") → ") + r.strTablaRef + QStringLiteral(" (") +
           r.columnasRef.join(strSeparador) + QLatin1Char(')');
}

void PasadaRelaciones(const QString& strTabla, const CTablaClaves& este, const CTablaClaves& otro,
                      const std::vector<int>& parejas, const FnDiferenciaClave& fnDiferencia) {
    const QString strTipo = QStringLiteral("Relación");
    const bool booOtroSgbd = este.strSgbd != otro.strSgbd;
    for (std::size_t i = 0; i < este.relaciones.size(); ++i) {
        const CRelacion& e = este.relaciones[i];
        const QString strTexto = Descripcion(strTabla, e);
        if (parejas[i] < 0) {
            fnDiferencia({strTexto, strTipo,
                          QStringLiteral("La relación no existe en la tabla ") +
                              Comillas(strTabla) + QStringLiteral(" de la conexión ") +
                              Comillas(otro.strTitulo),
                          IconoFalta, ClaseDiferencia::Relacion},
                         este);
            continue;
        }
        const CRelacion& o = otro.relaciones[static_cast<std::size_t>(parejas[i])];
        const auto regla = [&](const QVariant& r1, const QVariant& r2, const QString& strCual,
                               ClaseDiferencia lngClase) {
            if (CRecordset::EsNulo(r1) || CRecordset::EsNulo(r2) ||
                Regla(r1, booOtroSgbd) == Regla(r2, booOtroSgbd))
                return;
            fnDiferencia({strTexto, strTipo,
                          QStringLiteral("La regla ") + strCual +
                              QStringLiteral(" de la relación ") + Comillas(strTexto) +
                              QStringLiteral(" es ") + Comillas(r1.toString()) +
                              QStringLiteral(" y en la conexión ") + Comillas(otro.strTitulo) +
                              QStringLiteral(" es ") + Comillas(r2.toString()),
                          IconoDiferencia, lngClase},
                         este);
        };
        regla(e.actualizar, o.actualizar, QStringLiteral("ON UPDATE"),
              ClaseDiferencia::ReglaActualizar);
        regla(e.borrar, o.borrar, QStringLiteral("ON DELETE"), ClaseDiferencia::ReglaBorrar);
    }
}

} // namespace

void CClavesLado::LeerIndices(CRecordset& rs) {
    const int colEsquema = rs.IndiceColumna(QStringLiteral("TABLE_SCHEMA"));
    const int colTabla = rs.IndiceColumna(QStringLiteral("TABLE_NAME"));
    const int colNombre = rs.IndiceColumna(QStringLiteral("INDEX_NAME"));
    const int colPrimario = rs.IndiceColumna(QStringLiteral("PRIMARY_KEY"));
    const int colUnico = rs.IndiceColumna(QStringLiteral("UNIQUE"));
    const int colColumna = rs.IndiceColumna(QStringLiteral("COLUMN_NAME"));
    const int colSentido = rs.IndiceColumna(QStringLiteral("COLLATION"));
    // An index's rows follow one another; a table's indexes need not.
    QString strAnterior;
    CIndice* actual = nullptr;
    for (std::size_t f = 0; f < static_cast<std::size_t>(rs.NumeroFilas()); ++f) {
        const QString strTabla = ClaveTabla(Valor(rs, f, colEsquema), Texto(rs, f, colTabla));
        const QString strNombre = Texto(rs, f, colNombre);
        const QString strClave = strTabla + QChar(0x1e) + strNombre;
        if (!actual || strClave != strAnterior) {
            std::vector<CIndice>& indices = m_Indices[strTabla];
            indices.push_back({strNombre,
                               Valor(rs, f, colPrimario).toBool(),
                               Valor(rs, f, colUnico).toBool(),
                               {},
                               {}});
            actual = &indices.back();
            strAnterior = strClave;
        }
        actual->columnas << Texto(rs, f, colColumna);
        actual->sentido << Valor(rs, f, colSentido);
    }
}

void CClavesLado::LeerRelaciones(CRecordset& rs) {
    const int colEsquema = rs.IndiceColumna(QStringLiteral("FK_TABLE_SCHEMA"));
    const int colTabla = rs.IndiceColumna(QStringLiteral("FK_TABLE_NAME"));
    const int colColumna = rs.IndiceColumna(QStringLiteral("FK_COLUMN_NAME"));
    const int colTablaRef = rs.IndiceColumna(QStringLiteral("PK_TABLE_NAME"));
    const int colColumnaRef = rs.IndiceColumna(QStringLiteral("PK_COLUMN_NAME"));
    const int colOrdinal = rs.IndiceColumna(QStringLiteral("ORDINAL"));
    const int colActualizar = rs.IndiceColumna(QStringLiteral("UPDATE_RULE"));
    const int colBorrar = rs.IndiceColumna(QStringLiteral("DELETE_RULE"));
    const int colNombre = rs.IndiceColumna(QStringLiteral("FK_NAME"));
    // A key's rows follow one another by ORDINAL: a new key starts where the table, the name or
    // the referenced table changes, or the ordinal starts again (SQLite's keys have no name).
    QString strAnterior;
    long lngOrdinal = 0;
    CRelacion* actual = nullptr;
    for (std::size_t f = 0; f < static_cast<std::size_t>(rs.NumeroFilas()); ++f) {
        const QString strTabla = ClaveTabla(Valor(rs, f, colEsquema), Texto(rs, f, colTabla));
        const QString strTablaRef = Texto(rs, f, colTablaRef);
        const QString strClave =
            strTabla + QChar(0x1e) + Texto(rs, f, colNombre) + QChar(0x1e) + strTablaRef;
        const long lngEste = Valor(rs, f, colOrdinal).toInt();
        if (!actual || strClave != strAnterior || lngEste <= lngOrdinal) {
            std::vector<CRelacion>& relaciones = m_Relaciones[strTabla];
            relaciones.push_back({strTablaRef,
                                  {},
                                  {},
                                  Valor(rs, f, colActualizar),
                                  Valor(rs, f, colBorrar),
                                  Texto(rs, f, colNombre)});
            actual = &relaciones.back();
            strAnterior = strClave;
        }
        lngOrdinal = lngEste;
        actual->columnas << Texto(rs, f, colColumna);
        actual->columnasRef << Texto(rs, f, colColumnaRef);
    }
}

const std::vector<CIndice>& CClavesLado::Indices(const QVariant& esquema,
                                                 const QString& strTabla) const {
    static const std::vector<CIndice> ninguno;
    const auto it = m_Indices.constFind(ClaveTabla(esquema, strTabla));
    return it == m_Indices.constEnd() ? ninguno : *it;
}

const std::vector<CRelacion>& CClavesLado::Relaciones(const QVariant& esquema,
                                                      const QString& strTabla) const {
    static const std::vector<CRelacion> ninguna;
    const auto it = m_Relaciones.constFind(ClaveTabla(esquema, strTabla));
    return it == m_Relaciones.constEnd() ? ninguna : *it;
}

void CompararIndicesTabla(const QString& strTabla, const CTablaClaves& lado1,
                          const CTablaClaves& lado2, const FnDiferenciaClave& fnDiferencia) {
    const auto& a = lado1.indices;
    const auto& b = lado2.indices;
    CParejas parejas(a.size(), b.size());
    // The primary keys go together whatever their names (t_pkey, PRIMARY, sqlite_autoindex_t_1);
    // then names, ignoring case; across DBMSs, an index the DBMS named itself (a unique
    // constraint's) goes with the one over the same columns.
    parejas.Emparejar(
        [&](std::size_t i, std::size_t j) { return a[i].booPrimario && b[j].booPrimario; });
    parejas.Emparejar([&](std::size_t i, std::size_t j) {
        return a[i].strNombre.compare(b[j].strNombre, Qt::CaseInsensitive) == 0;
    });
    if (lado1.strSgbd != lado2.strSgbd)
        parejas.Emparejar([&](std::size_t i, std::size_t j) {
            return a[i].booUnico == b[j].booUnico && a[i].booPrimario == b[j].booPrimario &&
                   Plegada(a[i].columnas) == Plegada(b[j].columnas);
        });
    PasadaIndices(strTabla, lado1, lado2, parejas.a, fnDiferencia);
    PasadaIndices(strTabla, lado2, lado1, parejas.b, fnDiferencia);
}

void CompararRelacionesTabla(const QString& strTabla, const CTablaClaves& lado1,
                             const CTablaClaves& lado2, const FnDiferenciaClave& fnDiferencia) {
    const auto& a = lado1.relaciones;
    const auto& b = lado2.relaciones;
    CParejas parejas(a.size(), b.size());
    // By what they join, not by name: names differ freely across DBMSs, and SQLite gives none.
    parejas.Emparejar([&](std::size_t i, std::size_t j) {
        return a[i].strTablaRef.compare(b[j].strTablaRef, Qt::CaseInsensitive) == 0 &&
               Plegada(a[i].columnas) == Plegada(b[j].columnas) &&
               Plegada(a[i].columnasRef) == Plegada(b[j].columnasRef);
    });
    PasadaRelaciones(strTabla, lado1, lado2, parejas.a, fnDiferencia);
    PasadaRelaciones(strTabla, lado2, lado1, parejas.b, fnDiferencia);
}
