// For tests that need the application object: a Verondal.xml of the test's own, holding
// connections encrypted as the program stores them, and objVerondal over it.
#pragma once

#include "Ayudas.h"
#include "registry/CEncriptador.h"
#include "registry/CVerondal.h"

#include <QList>
#include <QPair>

namespace pruebas {

// Verondal.xml holding the given (title, connection string) pairs, Ids cnx1, cnx2...
inline QByteArray Configuracion(const QList<QPair<QString, QString>>& conexiones = {}) {
    QString strXml = u"<?xml version=\"1.0\"?>\n<Verondal><Conexiones>"_s;
    int n = 0;
    for (const auto& [strTitulo, strCadena] : conexiones)
        strXml += QStringLiteral("<Conexion Id=\"cnx%1\"><Titulo>%2</Titulo>"
                                 "<CadenaDeConexion>%3</CadenaDeConexion></Conexion>")
                      .arg(++n)
                      .arg(strTitulo, EncriptarTexto(strCadena));
    return (strXml + u"</Conexiones></Verondal>\n"_s).toUtf8();
}

// Verondal.xml in the test's folder with the given content; returns its path.
inline QString ConfiguracionDePrueba(const QByteArray& bytContenido) {
    const QString strRuta = CarpetaDeLaPrueba() + u"/Verondal.xml"_s;
    Escribir(strRuta, bytContenido);
    return strRuta;
}

// The connections' Ids in the collection's order.
inline QStringList Ids(const CConexiones& objConexiones) {
    QStringList ids;
    for (const CConexion& objConexion : objConexiones)
        ids << objConexion.Id();
    return ids;
}

// objVerondal for the length of one test, over a file of its own.
class CAplicacionPrueba {
public:
    explicit CAplicacionPrueba(const QList<QPair<QString, QString>>& conexiones = {}) {
        static int s_intNumero = 0;
        m_strRuta = CarpetaTemporal() + u"/Verondal-%1.xml"_s.arg(++s_intNumero);
        Escribir(m_strRuta, Configuracion(conexiones));
        objVerondal = std::make_unique<CVerondal>(m_strRuta);
    }
    ~CAplicacionPrueba() { objVerondal.reset(); }
    CAplicacionPrueba(const CAplicacionPrueba&) = delete;
    CAplicacionPrueba& operator=(const CAplicacionPrueba&) = delete;

    const QString& Ruta() const { return m_strRuta; }
    // A new connection, in memory and in the file; returns its Id.
    QString Agregar(const QString& strTitulo, const QString& strCadena) {
        return objVerondal->Conexiones().NuevaConexion(strTitulo, strCadena).Id();
    }

private:
    QString m_strRuta;
};

// The known answers: two connections as an existing file holds them.
inline constexpr char kCifradaServidor[] =
    "D1EB9009AD3B85AAC53B5B3891311FD7AEDAC0B43C9EC10639601DE7127255E1047BEE";
inline constexpr char kCadenaServidor[] = "Provider=SQLOLEDB.1;Data Source=srv";
inline const QByteArray kDosConexiones =
    QByteArray("<?xml version=\"1.0\"?>\n<Verondal><Conexiones>"
               "<Conexion Id=\"cnx1\"><Titulo>Servidor</Titulo><CadenaDeConexion>") +
    kCifradaServidor +
    "</CadenaDeConexion></Conexion>"
    "<Conexion Id=\"cnx2\"><Titulo>Letra</Titulo><CadenaDeConexion>C0</CadenaDeConexion>"
    "</Conexion></Conexiones></Verondal>\n";

} // namespace pruebas
