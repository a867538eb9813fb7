// MariaDB through Connector/ODBC: the connection's own database as the only catalogue, dates
// and foreign keys from information_schema, nullability checked where the driver is wrong.
#pragma once

#include "catalog/dialectos/CDialecto.h"

class CDialectoMariaDB : public CDialecto {
public:
    using CDialecto::CDialecto;

    PRecordset Tablas() override { return TablasDeLaBase(true); }
    PRecordset TablasSinFechas() override { return TablasDeLaBase(false); }
    PRecordset Columnas(const QString& strTabla) override;
    PRecordset ClavesAjenas() override;
    PRecordset Indices(const QString& strTabla) override;
    PRecordset IndicesTodos() override;
    PRecordset Estadisticas(const QString& strTabla) override;
    PRecordset EstadisticasTodas() override;
    std::pair<PRecordset, PRecordset> TablasYEstadisticas() override;

protected:
    QString TipoPreferido(int intTipoOleDb) const override;
    std::vector<CObjeto> ObjetosLlamados(const QString& strTabla) override;
    bool EsDeSistema(const QString& strCatalogo, const QString& strEsquema,
                     const QString& strNombre) const override;
    QString Literal(const QString& strTexto) const override;
    void LeerDefecto(COdbcSentencia& stmt, CColumnaLeida& col, std::size_t fila) override;
    void RevisarNulos(CColumnaLeida& col, std::size_t fila) override;
    void CompletarColumnas(CRecordset& rs, const std::optional<QString>& tabla) override;
    bool HayCatalogo() const override;
    bool TodasExactas() const override { return true; }
    void CompletarProcedimientos(CRecordset& rs) override;

private:
    // The indexes from information_schema, of one table or of every one.
    PRecordset IndicesDonde(const std::optional<QString>& tabla);
    // With estadisticas, the counts of the same read go there, one row per object.
    PRecordset TablasDeLaBase(bool booFechas, CRecordset* estadisticas = nullptr);

    std::vector<std::size_t> m_Sospechosas; // rows whose nullability needs checking, per call
};
