#include "Comparacion.h"

#include "Ayudas.h"

#include <QFile>

bool operator==(const CFilaResultado& a, const CFilaResultado& b) {
    return a.strTexto == b.strTexto && a.strTipo == b.strTipo && a.strConexion == b.strConexion &&
           a.strMensaje == b.strMensaje && a.intIcono == b.intIcono && a.lngColor == b.lngColor;
}

void PrintTo(const CFilaResultado& fila, std::ostream* os) {
    *os << "{" << fila.strTexto.toStdString() << " | " << fila.strTipo.toStdString() << " | "
        << fila.strConexion.toStdString() << " | " << fila.strMensaje.toStdString() << " | icono "
        << fila.intIcono << " | color " << std::hex << fila.lngColor << std::dec << "}";
}

std::vector<CFilaResultado> CResultadosGrabados::FilasDe(const QString& strTexto) const {
    std::vector<CFilaResultado> r;
    for (const auto& f : filas)
        if (f.strTexto == strTexto)
            r.push_back(f);
    return r;
}

std::unique_ptr<CConexion> NuevaConexion(const QString& strTitulo, const QString& strCadena) {
    auto c = std::make_unique<CConexion>();
    c->setTitulo(strTitulo);
    c->setCadenaDeConexion(strCadena);
    return c;
}

QString LeerFixture(const QString& strNombre) {
    QFile f(pruebas::Fixture(strNombre));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QString BaseSQLite(const QString& strNombre, const QStringList& archivos) {
    const QString ruta = pruebas::CarpetaTemporal() + QLatin1Char('/') + strNombre + ".db";
    const QString cadena = pruebas::CrearBaseSQLite(ruta, pruebas::Fixture(archivos.value(0)));
    for (int i = 1; i < archivos.size(); ++i)
        if (!pruebas::EjecutarSQLite(ruta, LeerFixture(archivos[i])))
            return {};
    return cadena;
}

void Comparar(CConexion& c1, CConexion& c2, CResultadosGrabados& r, const COpciones& o) {
    CComparador comparador;
    comparador.setConexion1(&c1);
    comparador.setConexion2(&c2);
    comparador.setCompararTablas(o.booTablas);
    comparador.setCompararVistas(o.booVistas);
    comparador.setCompararProcedimientos(o.booProcedimientos);
    comparador.setCompararOcultos(o.booOcultos);
    comparador.setAlgoritmoLiteral(o.booLiteral);
    comparador.Comparar(r);
}

CFilaResultado FilaFalta(const QString& strNombre, const QString& strTipo, const QString& strEste,
                         const QString& strOtro) {
    return {strNombre,  strTipo,
            strEste,    QStringLiteral("El objeto no existe en la conexión \"%1\"").arg(strOtro),
            IconoFalta, kColorTextoVentana};
}

CFilaResultado FilaCampo(const QString& strCampo, const QString& strConexion,
                         const QString& strMensaje, int intIcono) {
    return {strCampo, QStringLiteral("Campo"), strConexion, strMensaje,
            intIcono, kColorTextoVentana};
}

CFilaResultado FilaSinDiferencias(const QString& strTipo) {
    return {QStringLiteral("(todos)"),
            strTipo,
            QString(),
            QStringLiteral("No se han encontrado diferencias"),
            IconoSinDiferencias,
            kColorVerdeOscuro};
}
