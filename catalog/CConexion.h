// One configured database connection: its identity in Verondal.xml and its one live ODBC link.
// Owned by the connection collection (CConexiones); windows look it up by Id each time.
#pragma once

#include "catalog/CRecordset.h"

#include <QDomElement>
#include <QList>
#include <QPair>
#include <QString>
#include <memory>

class COdbcConexion;

class CConexion {
public:
    CConexion();
    ~CConexion(); // closes an open link
    CConexion(const CConexion&) = delete;
    CConexion& operator=(const CConexion&) = delete;

    // Database link.
    bool Conectado() const;
    bool Conectar();    // false with ErrorConexion on failure; never throws
    void Desconectar(); // nothing when closed
    QString Proveedor() const; // the driver's friendly name; throws CError when closed

    // Identity.
    const QDomElement& Nodo() const { return m_Nodo; }
    void setNodo(const QDomElement& xmlNodo) { m_Nodo = xmlNodo; }
    const QString& ErrorConexion() const { return m_ErrorConexion; }
    const QString& Id() const { return m_Id; }
    void setId(const QString& strId) { m_Id = strId; }
    const QString& Titulo() const { return m_Titulo; }
    void setTitulo(const QString& strTitulo) { m_Titulo = strTitulo; }
    QString CadenaDeConexion() const;                 // as the driver reports it once open
    void setCadenaDeConexion(const QString& strCadena); // throws CError while open

    // Catalogue rowsets: a null pointer when anything fails; nothing cached.
    PRecordset Tablas();
    PRecordset Procedimientos();
    PRecordset Campos(const QString& strTabla);
    PRecordset Indices(const QString& strTabla);
    PRecordset Relaciones();
    PRecordset TiposDatos();
    PRecordset PalabrasReservadas();
    PRecordset Literales();
    QString NumeroRegistros(const QString& strTabla);
    QString DescripcionTipoDatos(long lngTipoDatos);
    // The connection's properties as name/value pairs in a stable order (a null value is an
    // invalid QVariant); a password shows as asterisks. Open: the driver's; closed: the string's.
    QList<QPair<QString, QVariant>> Propiedades();

    // Bulk: the columns of every table of the catalogue in one call where the driver allows
    // it, with the columns rowset's names. Null when the driver refuses a call without a table.
    PRecordset CamposTodos();

    // The data-access layer underneath, for the catalogue code (null when closed).
    COdbcConexion* Enlace() const { return m_Enlace.get(); }

private:
    QString m_Id;
    QString m_Titulo;
    QString m_ErrorConexion;
    QString m_Cadena;
    std::unique_ptr<COdbcConexion> m_Enlace;
    QDomElement m_Nodo;
};
