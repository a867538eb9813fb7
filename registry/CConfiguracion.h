// Verondal.xml: reads it once, hands its connections to the collection and writes the whole
// file back (atomically) after each addition or deletion. Owned by the application object.
#pragma once

#include <QByteArray>
#include <QDomDocument>
#include <QString>

class CConexion;
class CConexiones;

class CConfiguracion {
public:
    // Stores the path and loads the file at once; a file that does not parse sets Error and
    // has been reported through the dialog service ("Error en la línea ...") on return.
    void setRuta(const QString& strRuta);
    const QString& Ruta() const { return m_Ruta; }
    bool Error() const { return m_Error; }

    // All or nothing: a malformed Conexion, an undecryptable string, a repeated Id (letter case
    // aside) or a root without Conexiones raises CError and the collection is left as it was.
    void CargarConexiones(CConexiones& objConexiones);
    // Appends the connection's element and saves; links its Nodo. On a failed save the document
    // and the connection are as before and CError names the path and the system's reason.
    void AgregarConexion(CConexion& objConexion);
    // Rewrites the title and the (encrypted) string of the connection's element and saves; on a
    // failed save the document is as before and CError is raised. The connection is not changed.
    void ModificarConexion(CConexion& objConexion, const QString& strTitulo,
                           const QString& strCadenaDeConexion);
    // Removes the element from Conexiones and saves; a null element does nothing at all.
    void EliminarConexion(const QDomElement& xmlNodo);

private:
    // The encrypted form of strCadena; CError when a title or the string could not be read back.
    QString ComprobarConexion(const QString& strOrigen, const QString& strId,
                              const QString& strTitulo, const QString& strCadena) const;
    void AgregarElementoTexto(QDomElement& xmlPadre, const QString& strElemento,
                              const QString& strContenido);
    QDomElement ElementoConexiones(const QString& strOrigen) const;
    QString Situacion(const QDomNode& xmlNodo) const; // "línea N de RUTA"
    void Guardar();                                   // throws CError, file untouched on failure
    QByteArray Serializar() const;

    QString m_Ruta;
    bool m_Error = false;
    QDomDocument m_Documento;
    // The declaration as read and its encoding, so a save writes back what the file said.
    QString m_Declaracion;
    QByteArray m_Codificacion;
    bool m_Bom = false;
};
