// SQLite through its ODBC driver (sqlite3odbc): one database without schemas, names matched
// without regard to case, tables, columns and indexes read from the database's own lists.
#pragma once

#include "catalog/dialectos/CDialecto.h"

#include <QHash>

class CDialectoSQLite : public CDialecto {
public:
    using CDialecto::CDialecto;

    PRecordset Tablas() override;
    PRecordset Columnas(const QString& strTabla) override;
    PRecordset ColumnasTodas(const std::function<bool()>* fnSeguir = nullptr,
                             const CRecordset* tablas = nullptr,
                             const QStringList& columnas = {}) override;
    PRecordset Indices(const QString& strTabla) override;
    PRecordset IndicesTodos() override;
    PRecordset ClavesAjenas() override;
    PRecordset Estadisticas(const QString& strTabla) override;
    PRecordset EstadisticasTodas() override;

protected:
    std::vector<CObjeto> ObjetosLlamados(const QString& strTabla) override;
    bool EsDeSistema(const QString& strCatalogo, const QString& strEsquema,
                     const QString& strNombre) const override;
    int TipoDeclarado(const QString& strTipo, int intTipoOdbc) const override;
    void PrecisionYEscala(CColumnaLeida& col) const override;
    QString NombreTipo(const QString& strTipo) const override;

private:
    // A table or view as sqlite_master names it.
    struct CObjetoDeLaLista {
        QString nombre;
        bool vista = false, sinRowid = false;
    };
    // The object of that name as SQLite matches names (ASCII letters in either case), or null.
    // sqlite_master has no index, and a scan of it per table grows with the catalogue: it is
    // read once and again only when the schema version moves.
    const CObjetoDeLaLista* ObjetoLlamado(const QString& strTabla);
    // The rows of an indexes query (Indices, IndicesTodos) into the rowset.
    void AgregarIndicesDeLasListas(COdbcSentencia& stmt, CRecordset& rs);
    qlonglong m_lngVersionEsquema = -1;
    QHash<QString, CObjetoDeLaLista> m_Objetos; // by name in ASCII lower case
    // A column as the database's own list (pragma_table_xinfo) declares it.
    struct CColumnaDeclarada {
        QString nombre, tipo;
        QVariant defecto;
        bool noNula = false, generada = false, clave = false;
    };
    // The rows of a columns query (table, then pragma_table_xinfo's name, type, dflt_value,
    // notnull, pk, hidden), table by table. False when fnSeguir stopped the read.
    bool AgregarColumnasDeLasListas(COdbcSentencia& stmt, CRecordset& rs,
                                    const std::function<bool()>* fnSeguir);
    // The row of a column as the driver's SQLColumns describes its declaration.
    void AgregarComoElControlador(CRecordset& rs, const QString& strTabla,
                                  const CColumnaDeclarada& col, int intPosicion) const;
};
