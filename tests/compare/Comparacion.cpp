#include "Comparacion.h"

#include "Ayudas.h"

bool operator==(const CFilaResultado& a, const CFilaResultado& b) {
    return a.strTexto == b.strTexto && a.strTipo == b.strTipo && a.strConexion == b.strConexion &&
           a.strMensaje == b.strMensaje && a.intIcono == b.intIcono && a.lngColor == b.lngColor &&
           a.lngClase == b.lngClase && a.strFase == b.strFase && a.strTabla == b.strTabla;
}

void PrintTo(const CFilaResultado& fila, std::ostream* os) {
    *os << "{" << fila.strTexto.toStdString() << " | " << fila.strTipo.toStdString() << " | "
        << fila.strConexion.toStdString() << " | " << fila.strMensaje.toStdString() << " | icono "
        << fila.intIcono << " | color " << std::hex << fila.lngColor << std::dec << " | clase "
        << static_cast<int>(fila.lngClase) << " | " << fila.strFase.toStdString() << " | "
        << fila.strTabla.toStdString() << "}";
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
    const QString ruta = pruebas::RutaTemporal(strNombre + ".db");
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
    comparador.setCompararIndices(o.booIndices);
    comparador.setCompararRelaciones(o.booRelaciones);
    comparador.Comparar(r);
}

CFilaResultado FilaFalta(const QString& strNombre, const QString& strTipo, const QString& strEste,
                         const QString& strOtro) {
    const bool booTabla = strTipo.startsWith(QLatin1String("Tabla"));
    const QString strFase = booTabla                                     ? u"Tablas"_s
                            : strTipo.startsWith(QLatin1String("Vista")) ? u"Vistas"_s
                                                                         : u"Procedimientos"_s;
    return {strNombre,
            strTipo,
            strEste,
            u"El objeto no existe en la conexión \"%1\""_s.arg(strOtro),
            IconoFalta,
            kColorTextoVentana,
            ClaseDiferencia::Objeto,
            strFase,
            booTabla ? strNombre : QString()};
}

// The kind and the table of a column's row as its sentence gives them.
CFilaResultado FilaCampo(const QString& strCampo, const QString& strConexion,
                         const QString& strMensaje, int intIcono) {
    static const std::pair<const char*, ClaseDiferencia> clases[] = {
        {"El campo no existe", ClaseDiferencia::Campo},
        {"El tipo de datos", ClaseDiferencia::TipoDatos},
        {"La longitud máxima", ClaseDiferencia::Longitud},
        {"El valor por defecto", ClaseDiferencia::ValorDefecto}};
    ClaseDiferencia lngClase = ClaseDiferencia::Nulos;
    for (const auto& [prefijo, clase] : clases)
        if (strMensaje.startsWith(QString::fromUtf8(prefijo)))
            lngClase = clase;
    const QString strTabla = strMensaje.section(u"tabla «"_s, 1).section(u'»', 0, 0);
    return {strCampo,           u"Campo"_s, strConexion, strMensaje, intIcono,
            kColorTextoVentana, lngClase,   u"Tablas"_s, strTabla};
}

CFilaResultado FilaSinDiferencias(const QString& strTipo) {
    return {u"(todos)"_s,
            strTipo,
            QString(),
            u"No se han encontrado diferencias"_s,
            IconoSinDiferencias,
            kColorVerdeOscuro,
            ClaseDiferencia::SinDiferencias,
            strTipo,
            QString()};
}
