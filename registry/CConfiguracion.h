// Verondal.xml: reads it, hands its connections to the collection and writes the whole file
// back (atomically) after each change. Other processes (verondal-cli, a second window) write it
// too: a change is made under the file's lock, to the file as it is at that moment (Releer).
// Owned by the application object.
#pragma once

#include <QByteArray>
#include <QDomDocument>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

class CConexion;
class CConexiones;

class CConfiguracion {
public:
    // Exclusive use of the file among processes for as long as it lives (flock on a lock file
    // beside it). Where the lock file cannot be created (a read-only folder) it holds nothing:
    // no save could succeed there anyway.
    class CBloqueo {
    public:
        explicit CBloqueo(const QString& strRuta); // throws CError after 10 s of waiting
        ~CBloqueo();
        CBloqueo(const CBloqueo&) = delete;
        CBloqueo& operator=(const CBloqueo&) = delete;

    private:
        int m_Fd = -1;
    };

    // Stores the path and loads the file at once; a file that does not parse sets Error and
    // has been reported through the dialog service ("Error en la línea ...") on return.
    void setRuta(const QString& strRuta);
    const QString& Ruta() const { return m_Ruta; }
    bool Error() const { return m_Error; }

    // All or nothing: a malformed Conexion, an undecryptable string, a repeated Id (letter case
    // aside) or a root without Conexiones raises CError and the collection is left as it was.
    void CargarConexiones(CConexiones& objConexiones);
    // The connections of the document as it now stands, checked as CargarConexiones checks them
    // (CError on the first fault); each one's Nodo is its element.
    std::vector<std::unique_ptr<CConexion>> LeerConexiones() const;
    // The lock to hold around Releer and the change that follows it.
    std::unique_ptr<CBloqueo> Bloquear() const { return std::make_unique<CBloqueo>(m_Ruta); }
    // Reads the file again when it differs from what was last read or written here, and then
    // returns its connections (LeerConexiones); nullopt when it has not changed. A file that no
    // longer parses, or holds a faulty connection, raises CError and the document stays.
    std::optional<std::vector<std::unique_ptr<CConexion>>> Releer();
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
    // Parses bytContenido into m_Documento with its declaration; false with the reason.
    bool Analizar(const QByteArray& bytContenido, QString& strRazon, int& intLinea,
                  int& intColumna);

    QString m_Ruta;
    bool m_Error = false;
    QDomDocument m_Documento;
    // The declaration as read and its encoding, so a save writes back what the file said.
    QString m_Declaracion;
    QByteArray m_Codificacion;
    bool m_Bom = false;
    // The file's bytes as last read or written here: a difference means another writer.
    QByteArray m_bytArchivo;
};
