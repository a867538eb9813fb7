// SQLite through its ODBC driver (sqlite3odbc): one database without schemas, names matched
// without regard to case, sizes and index orders taken from the database's own lists.
#pragma once

#include "catalog/dialectos/CDialecto.h"

class CDialectoSQLite : public CDialecto {
public:
    using CDialecto::CDialecto;

    PRecordset Columnas(const QString& strTabla) override;
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
    void LeerDefecto(COdbcSentencia& stmt, CColumnaLeida& col, std::size_t fila) override;
    void PrecisionYEscala(CColumnaLeida& col) const override;
    QString NombreTipo(const QString& strTipo) const override;
    bool TodasExactas() const override { return true; }
};
