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
    void CompletarColumnas(CRecordset& rs, const std::optional<QString>& tabla) override;
    void PrecisionYEscala(CColumnaLeida& col) const override;
    QString NombreTipo(const QString& strTipo) const override;
    bool TodasExactas() const override { return true; }

private:
    PRecordset IndicesDonde(const std::optional<QString>& tabla);
    // A column as the database's own list (pragma_table_xinfo) declares it.
    struct CColumnaDeclarada {
        QString nombre, tipo;
        QVariant defecto;
        bool noNula = false, generada = false;
    };
    // The row of a column the driver does not list, built from its declaration.
    void AgregarDeclarada(CRecordset& rs, const QString& strTabla, const CColumnaDeclarada& col,
                          int intPosicion) const;
};
