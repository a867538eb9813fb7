// The catalogue rowsets of one open ODBC link, with OLE DB column names and values, built from
// the ODBC catalogue functions and corrected per DBMS where a driver answers wrongly.
// A short-lived helper made by CConexion for each question; it borrows the link.
#pragma once

#include "catalog/COdbcConexion.h"
#include "catalog/CRecordset.h"

#include <QList>
#include <QPair>
#include <QSet>
#include <QVariant>
#include <functional>
#include <optional>

class COdbcSentencia;

class CEsquemasOdbc {
public:
    explicit CEsquemasOdbc(COdbcConexion& objConexion) : m_Cn(objConexion) {}

    // Each raises CError when the driver fails; CConexion turns that into an empty result.
    PRecordset Tablas();
    PRecordset Columnas(const QString& strTabla);
    // Every column of every object of Tablas() in one call; null when the driver refuses a
    // call without a table name, or when fnSeguir (asked every few hundred rows) says stop.
    PRecordset ColumnasTodas(const std::function<bool()>* fnSeguir = nullptr);
    PRecordset Indices(const QString& strTabla);
    PRecordset Procedimientos();
    PRecordset ClavesAjenas();
    PRecordset TiposProveedor(std::optional<long> lngTipoDatos, std::optional<bool> booMejor);
    PRecordset PalabrasClave();
    PRecordset Literales();
    PRecordset Estadisticas(const QString& strTabla);
    QList<QPair<QString, QVariant>> Propiedades();

    // The query time-out of each row count.
    static constexpr int kSegundosRecuento = 10;

    // ODBC SQL type to OLE DB type number (long types keep their base number).
    static int TipoOleDb(int intTipoOdbc, bool booSinSigno);
    // TABLE_TYPE in OLE DB words for an object of the given schema and name.
    QString TipoTablaOleDb(const QString& strTipo, const QString& strEsquema,
                           const QString& strNombre) const;

private:
    // An object of the tables rowset: the exact catalogue and schema to pass back.
    struct CObjeto {
        std::optional<QString> catalogo;
        std::optional<QString> esquema;
        QString nombre;
    };
    std::vector<CObjeto> ObjetosLlamados(const QString& strTabla);
    // The tables rowset without the corrections that cost a query.
    PRecordset TablasDelControlador();
    PRecordset TablasMariaDB();
    bool EsquemaDeSistema(const QString& strEsquema) const;
    QString Literal(const QString& strTexto) const;
    bool ExisteEnSQLite(const QString& strTabla);
    QString NombreCompleto(const CObjeto& objeto) const;

    // False when fnSeguir stopped the read.
    bool AgregarColumnas(COdbcSentencia& stmt, CRecordset& rs, const QSet<QString>* filtro,
                         const std::function<bool()>* fnSeguir = nullptr);
    void CorregirDefectosPostgres(CRecordset& rs);
    void CorregirNulosMariaDB(CRecordset& rs, const std::optional<QString>& tabla);
    void AgregarIndices(const CObjeto& objeto, CRecordset& rs);
    void IndicesSQLite(const QString& strTabla, CRecordset& rs);

    COdbcConexion& m_Cn;
    std::vector<std::size_t> m_Sospechosas; // MariaDB rows whose nullability needs checking
    struct CDefectoCortado {
        std::size_t fila;
        qlonglong oid, numero;
    };
    std::vector<CDefectoCortado> m_DefectosCortados; // PostgreSQL defaults the driver cut
};
