// How loading Verondal.xml grows with the number of connections: files of 10,000 and 100,000
// connections loaded as the program starts (parse, checks, decryption, the collection), and one
// addition on each (the re-read under the lock and the save). Linear growth gives a ratio near 10.
#include "registry/CEncriptador.h"
#include "registry/CVerondal.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace {

QByteArray Archivo(int intConexiones) {
    QByteArray bytXml("<?xml version=\"1.0\"?>\n<Verondal><Conexiones>");
    for (int i = 1; i <= intConexiones; ++i)
        bytXml += QStringLiteral("<Conexion Id=\"cnx%1\"><Titulo>Servidor %1</Titulo>"
                                 "<CadenaDeConexion>%2</CadenaDeConexion></Conexion>")
                      .arg(i)
                      .arg(EncriptarTexto(
                          QStringLiteral("DRIVER={PostgreSQL Unicode};SERVER=srv%1;UID=u").arg(i)))
                      .toUtf8();
    return bytXml + "</Conexiones></Verondal>\n";
}

struct CMedida {
    double dblCarga = 0;
    double dblAgregar = 0;
};

CMedida Medir(const QString& strCarpeta, int intConexiones) {
    const QString strRuta = strCarpeta + QStringLiteral("/Verondal-%1.xml").arg(intConexiones);
    QFile archivo(strRuta);
    if (!archivo.open(QIODevice::WriteOnly) || archivo.write(Archivo(intConexiones)) < 0)
        std::fprintf(stderr, "no se puede escribir %s\n", qPrintable(strRuta));
    archivo.close();

    CMedida medida;
    QElapsedTimer reloj;
    reloj.start();
    CVerondal objVerondal(strRuta);
    medida.dblCarga = static_cast<double>(reloj.nsecsElapsed()) / 1e9;
    if (objVerondal.Conexiones().Count() != intConexiones)
        std::fprintf(stderr, "cargadas %d de %d\n", objVerondal.Conexiones().Count(),
                     intConexiones);
    reloj.restart();
    objVerondal.Conexiones().NuevaConexion(QStringLiteral("Nueva"), QStringLiteral("DSN=nueva"));
    medida.dblAgregar = static_cast<double>(reloj.nsecsElapsed()) / 1e9;
    return medida;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir carpeta;
    const CMedida pequena = Medir(carpeta.path(), 10000);
    const CMedida grande = Medir(carpeta.path(), 100000);
    std::printf("conexiones\tcarga (s)\tagregar una (s)\n");
    std::printf("10000\t%.3f\t%.3f\n", pequena.dblCarga, pequena.dblAgregar);
    std::printf("100000\t%.3f\t%.3f\n", grande.dblCarga, grande.dblAgregar);
    std::printf("crecimiento de la carga x10 conexiones: %.1f (lineal: 10)\n",
                grande.dblCarga / pequena.dblCarga);
    std::printf("crecimiento de agregar x10 conexiones: %.1f (lineal: 10)\n",
                grande.dblAgregar / pequena.dblAgregar);
    return 0;
}
