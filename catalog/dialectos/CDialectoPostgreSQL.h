// PostgreSQL through psqlodbc: schemas passed exactly (a null one means the search path),
// comments, long defaults, procedure kinds, foreign keys and keywords read from pg_catalog.
#pragma once

#include "catalog/dialectos/CDialecto.h"

class CDialectoPostgreSQL : public CDialecto {
public:
    using CDialecto::CDialecto;

    PRecordset Tablas() override;
    PRecordset Columnas(const QString& strTabla) override;
    PRecordset ColumnasTodas(const std::function<bool()>* fnSeguir = nullptr,
                             const CRecordset* tablas = nullptr,
                             const QStringList& columnas = {}) override;
    PRecordset ClavesAjenas() override;
    PRecordset Indices(const QString& strTabla) override;
    PRecordset IndicesTodos() override;
    PRecordset PalabrasClave() override;
    PRecordset Estadisticas(const QString& strTabla) override;
    PRecordset EstadisticasTodas() override;

protected:
    QString TipoPreferido(int intTipoOleDb) const override;
    void CompletarTipos(CRecordset& rs) override;
    std::vector<CObjeto> ObjetosLlamados(const QString& strTabla) override;
    bool EsDeSistema(const QString& strCatalogo, const QString& strEsquema,
                     const QString& strNombre) const override;
    bool ProcedimientoOculto(const std::optional<QString>& esquema) const override;
    void CompletarProcedimientos(CRecordset& rs) override;

private:
    // The indexes from pg_catalog, of the tables the condition (with its parameters) keeps.
    PRecordset IndicesDonde(const QString& strCondicion, const QStringList& parametros);
    // The columns read from pg_catalog (the driver's call answers lengths and types from its
    // own settings, and its bulk form also lists TOAST tables, indexes and sequences).
    QString ConsultaColumnas(const QString& strCondicion) const;
    bool AgregarColumnasDelServidor(COdbcSentencia& stmt, CRecordset& rs,
                                    const QSet<QString>* filtro,
                                    const std::function<bool()>* fnSeguir);
    QString ConsultaRecuentos(const QString& strCondicion) const;
    void AgregarRecuentos(COdbcSentencia& stmt, CRecordset& rs);
    // The condition that leaves the system schemas out, unless the string asks for them.
    QString SinSistema(const QString& strColumna) const;
};
