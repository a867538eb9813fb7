// The registry's orders: list, add, delete and decrypt the connections of Verondal.xml.
#include "cli/Comandos.h"

#include "comun/CError.h"
#include "comun/IDialogos.h"
#include "registry/CVerondal.h"

#include <QFileInfo>
#include <functional>

namespace {

// The core reports a configuration that does not parse with a box; here it is a line on
// standard error.
class CDialogosConsola final : public IDialogos {
public:
    int Mensaje(const QString& strTexto, int intEstilo, const QString&) override {
        QString strLinea = strTexto;
        ErrorUso(strLinea.replace(QLatin1String("\r\n"), QLatin1String("\n")));
        return (intEstilo & Estilo::SiNo) ? Respuesta::No : Respuesta::Aceptar;
    }
    std::optional<QString> Entrada(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    bool GuardarArchivoComo(const QString&, const QString&, QString&) override { return false; }
    bool AbrirArchivo(const QString&) override { return false; }
};

// Installs the console service for as long as it lives.
class CConsolaInstalada {
public:
    CConsolaInstalada() : m_Anterior(&Dialogos()) { EstablecerDialogos(&m_Consola); }
    ~CConsolaInstalada() { EstablecerDialogos(m_Anterior); }

private:
    CDialogosConsola m_Consola;
    IDialogos* m_Anterior;
};

// Every failure of an order is one Spanish line on standard error and exit status 2; the
// registry's saves are atomic, so the file is as it was.
int Ejecutar(const std::function<int()>& orden) {
    try {
        return orden();
    } catch (const CError& e) {
        return ErrorUso(e.Descripcion());
    }
}

// Tabs and line breaks in a title would break the one-line-per-connection listing.
QString EnUnaLinea(QString strTexto) {
    for (const QChar c : {QChar(u'\t'), QChar(u'\r'), QChar(u'\n')})
        strTexto.replace(c, QLatin1Char(' '));
    return strTexto;
}

bool ComprobarArgumentos(const QStringList& args, qsizetype lngCuantos, const char* strUso) {
    if (args.size() == lngCuantos)
        return true;
    ErrorUso(QStringLiteral("uso: verondal-cli %1").arg(QString::fromUtf8(strUso)));
    return false;
}

} // namespace

bool CargarVerondal(const CContextoCli& ctx) {
    if (!QFileInfo(ctx.strConfig).isFile()) {
        ErrorUso(QStringLiteral("no existe el archivo de configuración %1").arg(ctx.strConfig));
        return false;
    }
    try {
        CConsolaInstalada consola;
        objVerondal = std::make_unique<CVerondal>(ctx.strConfig);
    } catch (const CError& e) {
        ErrorUso(e.Descripcion());
        return false;
    }
    if (objVerondal->Error()) {
        objVerondal.reset();
        return false;
    }
    return true;
}

int ComandoConexiones(CContextoCli& ctx, const QStringList& args) {
    if (!ComprobarArgumentos(args, 0, "conexiones"))
        return 2;
    if (!CargarVerondal(ctx))
        return 2;
    for (const CConexion& objConexion : objVerondal->Conexiones())
        Imprimir(objConexion.Id() + QLatin1Char('\t') + EnUnaLinea(objConexion.Titulo()));
    return 0;
}

int ComandoAgregar(CContextoCli& ctx, const QStringList& args) {
    if (!ComprobarArgumentos(args, 2, "agregar TÍTULO CADENA|-"))
        return 2;
    QString strCadena = args[1];
    if (strCadena == QLatin1String("-") && !LeerCadenaEntrada(strCadena))
        return 2;
    if (strCadena.isEmpty())
        return ErrorUso(QStringLiteral("la cadena de conexión está vacía"));
    if (!CargarVerondal(ctx))
        return 2;
    return Ejecutar([&] {
        Imprimir(objVerondal->Conexiones().NuevaConexion(args[0], strCadena).Id());
        return 0;
    });
}

int ComandoEliminar(CContextoCli& ctx, const QStringList& args) {
    if (!ComprobarArgumentos(args, 1, "eliminar ID"))
        return 2;
    if (!CargarVerondal(ctx))
        return 2;
    return Ejecutar([&] {
        objVerondal->Conexiones().Eliminar(args[0]);
        return 0;
    });
}

int ComandoCadena(CContextoCli& ctx, const QStringList& args) {
    if (!ComprobarArgumentos(args, 1, "cadena ID"))
        return 2;
    if (!CargarVerondal(ctx))
        return 2;
    return Ejecutar([&] {
        Imprimir(objVerondal->Conexiones().Item(args[0]).CadenaDeConexion());
        return 0;
    });
}
