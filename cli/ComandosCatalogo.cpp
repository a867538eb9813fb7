// The catalogue order: one rowset of one configured connection, TAB-separated, for scripts and
// for checking a connection from a terminal.
#include "cli/Comandos.h"

#include "catalog/CConexion.h"
#include "registry/CVerondal.h"

#include <QDateTime>
#include <cstdio>

namespace {

const char* const kUso =
    "uso: verondal-cli catalogo ID CONSULTA [TABLA]; CONSULTA es tablas, procedimientos, "
    "campos TABLA, indices TABLA, relaciones, tipos, palabras, literales, registros TABLA, "
    "propiedades o tipo NÚMERO";

// One field: nulls empty, dates in ISO form, never a TAB or a line break inside.
QString Campo(const QVariant& v) {
    if (CRecordset::EsNulo(v))
        return {};
    QString texto;
    switch (v.typeId()) {
    case QMetaType::QDateTime:
        texto = v.toDateTime().toString(Qt::ISODate);
        break;
    case QMetaType::QDate:
        texto = v.toDate().toString(Qt::ISODate);
        break;
    default:
        texto = v.toString();
    }
    for (const QChar c : {QChar(u'\t'), QChar(u'\r'), QChar(u'\n')})
        texto.replace(c, QLatin1Char(' '));
    return texto;
}

void ImprimirFilas(CRecordset& rs) {
    Imprimir(rs.Columnas().join(QLatin1Char('\t')));
    const int columnas = static_cast<int>(rs.Columnas().size());
    for (rs.MoverPrimero(); !rs.FinDatos(); rs.MoverSiguiente()) {
        QStringList campos;
        campos.reserve(columnas);
        for (int i = 0; i < columnas; ++i)
            campos << Campo(rs.Valor(i));
        Imprimir(campos.join(QLatin1Char('\t')));
    }
}

} // namespace

int ComandoCatalogo(CContextoCli& ctx, const QStringList& args) {
    if (args.size() < 2 || args.size() > 3)
        return ErrorUso(QString::fromUtf8(kUso));
    const QString consulta = args[1];
    const QString tabla = args.value(2);
    static const QStringList conTabla{"campos", "indices", "registros", "tipo"};
    static const QStringList sinTabla{"tablas",   "procedimientos", "relaciones", "tipos",
                                      "palabras", "literales",      "propiedades"};
    if (conTabla.contains(consulta) ? args.size() != 3
                                    : (!sinTabla.contains(consulta) || args.size() != 2))
        return ErrorUso(QString::fromUtf8(kUso));
    bool numero = true;
    const long tipo = consulta == QLatin1String("tipo") ? tabla.toLong(&numero) : 0;
    if (!numero)
        return ErrorUso(QStringLiteral("el tipo debe ser un número: %1").arg(tabla));

    if (!CargarVerondal(ctx))
        return 2;
    CConexion* conexion = objVerondal->Conexiones().Buscar(args[0]);
    if (!conexion)
        return ErrorUso(QStringLiteral("no existe la conexión %1").arg(args[0]));
    if (!conexion->Conectado() && !conexion->Conectar()) {
        std::fprintf(stderr, "%s\n", conexion->ErrorConexion().toUtf8().constData());
        return 2;
    }

    if (consulta == QLatin1String("tipo")) {
        Imprimir(conexion->DescripcionTipoDatos(tipo));
        return 0;
    }
    if (consulta == QLatin1String("propiedades")) {
        Imprimir(QStringLiteral("Name\tValue"));
        for (const auto& [nombre, valor] : conexion->Propiedades())
            Imprimir(Campo(nombre) + QLatin1Char('\t') + Campo(valor));
        return 0;
    }
    PRecordset rs;
    if (consulta == QLatin1String("tablas"))
        rs = conexion->Tablas();
    else if (consulta == QLatin1String("procedimientos"))
        rs = conexion->Procedimientos();
    else if (consulta == QLatin1String("campos"))
        rs = conexion->Campos(tabla);
    else if (consulta == QLatin1String("indices"))
        rs = conexion->Indices(tabla);
    else if (consulta == QLatin1String("relaciones"))
        rs = conexion->Relaciones();
    else if (consulta == QLatin1String("tipos"))
        rs = conexion->TiposDatos();
    else if (consulta == QLatin1String("palabras"))
        rs = conexion->PalabrasReservadas();
    else if (consulta == QLatin1String("literales"))
        rs = conexion->Literales();
    else if (consulta == QLatin1String("registros"))
        rs = conexion->Estadisticas(tabla);
    if (!rs)
        return ErrorUso(
            conexion->Conectado()
                ? QStringLiteral("el proveedor no dio ningún conjunto de filas para «%1»")
                      .arg(consulta)
                : conexion->ErrorConexion());
    ImprimirFilas(*rs);
    return 0;
}
