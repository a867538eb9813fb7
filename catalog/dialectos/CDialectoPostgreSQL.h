// PostgreSQL through psqlodbc: schemas passed exactly (a null one means the search path),
// comments, long defaults, procedure kinds, foreign keys and keywords read from pg_catalog.
#pragma once

#include "catalog/dialectos/CDialecto.h"

class CDialectoPostgreSQL : public CDialecto {
public:
    using CDialecto::CDialecto;

    PRecordset Tablas() override;
    PRecordset ClavesAjenas() override;
    PRecordset IndicesTodos() override;
    PRecordset PalabrasClave() override;
    PRecordset Estadisticas(const QString& strTabla) override;
    PRecordset EstadisticasTodas() override;

protected:
    QString TipoPreferido(int intTipoOleDb) const override;
    std::vector<CObjeto> ObjetosLlamados(const QString& strTabla) override;
    bool EsDeSistema(const QString& strCatalogo, const QString& strEsquema,
                     const QString& strNombre) const override;
    void LeerDefecto(COdbcSentencia& stmt, CColumnaLeida& col, std::size_t fila) override;
    bool NumeraPorTabla() const override { return false; }
    void CompletarColumnas(CRecordset& rs, const std::optional<QString>& tabla) override;
    Argumento EsquemaDeTodas() const override { return QStringLiteral("%"); }
    bool ProcedimientoOculto(const std::optional<QString>& esquema) const override;
    void CompletarProcedimientos(CRecordset& rs) override;

private:
    QString ConsultaRecuentos(const QString& strCondicion) const;
    void AgregarRecuentos(COdbcSentencia& stmt, CRecordset& rs);
    // The condition that leaves the system schemas out, unless the string asks for them.
    QString SinSistema(const QString& strColumna) const;

    struct CDefectoCortado {
        std::size_t fila;
        qlonglong oid, numero;
    };
    std::vector<CDefectoCortado> m_DefectosCortados; // defaults the driver cut, per call
};
