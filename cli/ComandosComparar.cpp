// The comparison from a terminal: schema-drift checks in scripts and CI. Rows go to standard
// output (or a file) under the results window's four titles; progress to a terminal only.
#include "cli/Comandos.h"

#include "catalog/CConexion.h"
#include "compare/CComparador.h"
#include "export/CTablaExportable.h"
#include "export/modArchivos.h"
#include "export/modExportacion.h"
#include "registry/CVerondal.h"

#include "comun/modEscritura.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <csignal>
#include <cstdio>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

volatile std::sig_atomic_t g_booInterrumpido = 0;

// Ctrl+C asks the comparison to stop, as the window's cancel button does: the engine polls the
// flag while a read blocks and cuts that read. A second one ends the program (the handler resets
// itself).
extern "C" void AlInterrumpir(int) {
    g_booInterrumpido = 1;
}

class CInterrupcion {
public:
    CInterrupcion() {
        g_booInterrumpido = 0;
        struct sigaction accion = {};
        accion.sa_handler = AlInterrumpir;
        accion.sa_flags = SA_RESETHAND;
        sigemptyset(&accion.sa_mask);
        sigaction(SIGINT, &accion, &m_Anterior);
    }
    ~CInterrupcion() { sigaction(SIGINT, &m_Anterior, nullptr); }
    CInterrupcion(const CInterrupcion&) = delete;
    CInterrupcion& operator=(const CInterrupcion&) = delete;

private:
    struct sigaction m_Anterior = {};
};

// The command line's results window: keeps the rows, shows the status on a terminal.
class CResultadosConsola final : public IResultados {
public:
    CResultadosConsola() : m_booTerminal(isatty(STDERR_FILENO) == 1) {}

    // Ends the status line, so that what follows starts on a line of its own.
    void Terminar() {
        if (m_booEstadoMostrado)
            std::fputc('\n', stderr);
        m_booEstadoMostrado = false;
    }

    void Estado(const QString& strEstado) override {
        if (!m_booTerminal)
            return;
        std::fprintf(stderr, "\r%s\x1b[K", strEstado.toUtf8().constData());
        std::fflush(stderr);
        m_booEstadoMostrado = true;
    }
    void AgregarFila(const CFilaResultado& objFila) override { filas.push_back(objFila); }
    void Ceder() override {
        if (g_booInterrumpido) {
            g_booInterrumpido = 0;
            Cancelar();
        }
    }

    std::vector<CFilaResultado> filas;

private:
    bool m_booTerminal;
    bool m_booEstadoMostrado = false;
};

const char* const kUso =
    "uso: verondal-cli comparar A B [--tablas] [--vistas] [--procedimientos] [--indices] "
    "[--relaciones] [--ocultos] "
    "[--formato txt|csv|json|xml|xlsx|docx] [--salida RUTA] [--cadena1 CADENA|-] "
    "[--cadena2 CADENA|-]";

struct COpcionesComparar {
    QStringList lados;  // Id or title of the configuration, in order
    QString cadenas[2]; // a connection string instead of side 1 or 2
    bool booTablas = false, booVistas = false, booProcedimientos = false, booOcultos = false;
    bool booIndices = false, booRelaciones = false;
    int lngFormato = Formato::Texto;
    bool booJson = false; // one of ours, not an export format of the windows
    QString strSalida;
};

// False (the reason on standard error) when the line cannot be understood.
bool LeerOpciones(const QStringList& args, COpcionesComparar& o) {
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const auto valor = [&](QString& destino) {
            if (i + 1 >= args.size()) {
                ErrorUso(QStringLiteral("falta el valor de %1\n%2").arg(a, kUso));
                return false;
            }
            destino = args[++i];
            return true;
        };
        if (a == QLatin1String("--tablas"))
            o.booTablas = true;
        else if (a == QLatin1String("--vistas"))
            o.booVistas = true;
        else if (a == QLatin1String("--procedimientos"))
            o.booProcedimientos = true;
        else if (a == QLatin1String("--indices"))
            o.booIndices = true;
        else if (a == QLatin1String("--relaciones"))
            o.booRelaciones = true;
        else if (a == QLatin1String("--ocultos"))
            o.booOcultos = true;
        else if (a == QLatin1String("--formato")) {
            QString strFormato;
            if (!valor(strFormato))
                return false;
            o.booJson = strFormato.compare(QLatin1String("json"), Qt::CaseInsensitive) == 0;
            if (!o.booJson)
                o.lngFormato = FormatoPorNombre(strFormato);
            if (o.lngFormato < 0) {
                ErrorUso(QStringLiteral("formato desconocido: %1\n%2").arg(strFormato, kUso));
                return false;
            }
        } else if (a == QLatin1String("--salida")) {
            if (!valor(o.strSalida))
                return false;
        } else if (a == QLatin1String("--cadena1")) {
            if (!valor(o.cadenas[0]))
                return false;
        } else if (a == QLatin1String("--cadena2")) {
            if (!valor(o.cadenas[1]))
                return false;
        } else if (a.startsWith(QLatin1String("--"))) {
            ErrorUso(QStringLiteral("opción desconocida: %1\n%2").arg(a, kUso));
            return false;
        } else {
            o.lados << a;
        }
    }
    if (o.cadenas[0] == QLatin1String("-") && o.cadenas[1] == QLatin1String("-")) {
        ErrorUso(QStringLiteral("solo una de las dos cadenas puede leerse de la entrada estándar"));
        return false;
    }
    for (QString& strCadena : o.cadenas)
        if (strCadena == QLatin1String("-") && !LeerCadenaEntrada(strCadena))
            return false;
    const int intFaltan = (o.cadenas[0].isEmpty() ? 1 : 0) + (o.cadenas[1].isEmpty() ? 1 : 0);
    if (o.lados.size() != intFaltan) {
        ErrorUso(QStringLiteral("hacen falta dos conexiones\n%1").arg(kUso));
        return false;
    }
    // A spreadsheet or a document cannot go to a terminal.
    if (!o.booJson && (o.lngFormato == Formato::Excel || o.lngFormato == Formato::Word) &&
        o.strSalida.isEmpty()) {
        ErrorUso(QStringLiteral("los formatos xlsx y docx necesitan --salida RUTA\n%1").arg(kUso));
        return false;
    }
    if (!o.booTablas && !o.booVistas && !o.booProcedimientos && !o.booIndices && !o.booRelaciones)
        o.booTablas = o.booVistas = o.booProcedimientos = true;
    return true;
}

// A connection given by its string has no title: its database names it, else the option.
QString TituloDeCadena(const QString& strCadena, int intLado) {
    static const QRegularExpression clave(
        QStringLiteral("(?:^|;)\\s*(?:DATABASE|DSN)\\s*=\\s*([^;]*)"),
        QRegularExpression::CaseInsensitiveOption);
    const QString strBase = clave.match(strCadena).captured(1).trimmed();
    return strBase.isEmpty() ? QStringLiteral("cadena%1").arg(intLado) : strBase;
}

QString NombreClase(ClaseDiferencia lngClase) {
    switch (lngClase) {
    case ClaseDiferencia::Objeto:
        return QStringLiteral("objeto");
    case ClaseDiferencia::Campo:
        return QStringLiteral("campo");
    case ClaseDiferencia::TipoDatos:
        return QStringLiteral("tipo de datos");
    case ClaseDiferencia::Longitud:
        return QStringLiteral("longitud máxima");
    case ClaseDiferencia::Nulos:
        return QStringLiteral("nulos");
    case ClaseDiferencia::ValorDefecto:
        return QStringLiteral("valor por defecto");
    case ClaseDiferencia::Conexion:
        return QStringLiteral("conexión");
    case ClaseDiferencia::Catalogo:
        return QStringLiteral("catálogo");
    case ClaseDiferencia::Indice:
        return QStringLiteral("índice");
    case ClaseDiferencia::ColumnasIndice:
        return QStringLiteral("columnas del índice");
    case ClaseDiferencia::IndiceUnico:
        return QStringLiteral("índice único");
    case ClaseDiferencia::ClavePrimaria:
        return QStringLiteral("clave primaria");
    case ClaseDiferencia::SentidoIndice:
        return QStringLiteral("ordenación del índice");
    case ClaseDiferencia::Relacion:
        return QStringLiteral("relación");
    case ClaseDiferencia::ReglaActualizar:
        return QStringLiteral("regla ON UPDATE");
    case ClaseDiferencia::ReglaBorrar:
        return QStringLiteral("regla ON DELETE");
    case ClaseDiferencia::SinDiferencias:
        break;
    }
    return QStringLiteral("ninguna");
}

QString NombreIcono(int intIcono) {
    switch (intIcono) {
    case IconoSinDiferencias:
        return QStringLiteral("sin diferencias");
    case IconoDiferencia:
        return QStringLiteral("difiere");
    default:
        return QStringLiteral("falta");
    }
}

// The rows for programs: the four columns under plain keys, what each row reports, and a summary
// with the differences of each phase that ran.
QByteArray DocumentoJson(const std::vector<CFilaResultado>& filas, const CComparador& comparador,
                         const CConexion* const lados[2]) {
    QJsonArray arrFilas;
    QJsonObject objFases;
    for (const auto& f : filas) {
        arrFilas.append(QJsonObject{
            {QStringLiteral("objeto"), f.strTexto},
            {QStringLiteral("tipo"), f.strTipo},
            {QStringLiteral("conexion"), f.strConexion},
            {QStringLiteral("resultado"), f.strMensaje},
            {QStringLiteral("diferencia"), NombreClase(f.lngClase)},
            {QStringLiteral("tabla"), f.strTabla.isEmpty() ? QJsonValue() : QJsonValue(f.strTabla)},
            {QStringLiteral("icono"), NombreIcono(f.intIcono)},
        });
        if (f.strFase.isEmpty())
            continue;
        const int lngSuma = f.lngClase == ClaseDiferencia::SinDiferencias ? 0 : 1;
        objFases[f.strFase] = objFases.value(f.strFase).toInt() + lngSuma;
    }
    const QJsonObject objResumen{
        {QStringLiteral("conexion1"), lados[0]->Titulo()},
        {QStringLiteral("conexion2"), lados[1]->Titulo()},
        {QStringLiteral("diferencias"), static_cast<qint64>(comparador.Diferencias())},
        {QStringLiteral("fases"), objFases},
        {QStringLiteral("cancelado"), comparador.Cancelado()},
    };
    return QJsonDocument(QJsonObject{{QStringLiteral("filas"), arrFilas},
                                     {QStringLiteral("resumen"), objResumen}})
        .toJson(QJsonDocument::Indented);
}

// A pipeline reads lines ended by LF, the last one too; a file keeps the export's own bytes.
void LineasUnix(QByteArray& bytDocumento) {
    bytDocumento.replace("\r\n", "\n");
    if (!bytDocumento.isEmpty() && !bytDocumento.endsWith('\n'))
        bytDocumento.append('\n');
}

// The rows under the results window's four column titles, in the chosen format, on standard
// output or in the file named (replaced whole or not at all). False, the reason on standard
// error, when they could not be written.
bool Escribir(const std::vector<CFilaResultado>& filas, const COpcionesComparar& o,
              const CComparador& comparador, const CConexion* const lados[2]) {
    QString strError;
    QByteArray bytDocumento;
    if (o.booJson) {
        bytDocumento = DocumentoJson(filas, comparador, lados);
        if (!o.strSalida.isEmpty()) {
            if (EscribirArchivo(o.strSalida, bytDocumento, strError))
                return true;
            ErrorUso(MensajeArchivoNoGuardado(o.strSalida, strError));
            return false;
        }
    } else {
        CTablaExportable tabla({QStringLiteral("Objeto comparado"),
                                QStringLiteral("Tipo de objeto"), QStringLiteral("Conexión"),
                                QStringLiteral("Resultado de la comparación")},
                               {});
        for (const auto& f : filas)
            tabla.AgregarFila({f.strTexto, f.strTipo, f.strConexion, f.strMensaje});
        const QString strTipoObjetos = QStringLiteral("Resultados");
        if (!o.strSalida.isEmpty()) {
            if (EscribirTabla(o.lngFormato, strTipoObjetos, tabla, o.strSalida, strError))
                return true;
            ErrorUso(strError);
            return false;
        }
        if (!GenerarTabla(o.lngFormato, strTipoObjetos, tabla, bytDocumento, strError)) {
            ErrorUso(strError);
            return false;
        }
        if (o.lngFormato == Formato::Texto || o.lngFormato == Formato::Csv)
            LineasUnix(bytDocumento);
    }
    const auto lngTamano = static_cast<std::size_t>(bytDocumento.size());
    if (std::fwrite(bytDocumento.constData(), 1, lngTamano, stdout) != lngTamano ||
        std::fflush(stdout) != 0) {
        ErrorUso(QStringLiteral("no se pueden escribir los resultados en la salida estándar"));
        return false;
    }
    return true;
}

// A connection of the configuration by Id (letter case aside), else by its exact title.
CConexion* ConexionConfigurada(const QString& strNombre) {
    CConexiones& conexiones = objVerondal->Conexiones();
    if (CConexion* objConexion = conexiones.Buscar(strNombre))
        return objConexion;
    CConexion* objEncontrada = nullptr;
    for (CConexion& objConexion : conexiones) {
        if (objConexion.Titulo() != strNombre)
            continue;
        if (objEncontrada) {
            ErrorUso(
                QStringLiteral("hay varias conexiones con el título %1: use su Id").arg(strNombre));
            return nullptr;
        }
        objEncontrada = &objConexion;
    }
    if (!objEncontrada)
        ErrorUso(QStringLiteral("no hay ninguna conexión con el Id o el título %1").arg(strNombre));
    return objEncontrada;
}

} // namespace

int ComandoComparar(CContextoCli& ctx, const QStringList& args) {
    COpcionesComparar o;
    if (!LeerOpciones(args, o))
        return 2;

    std::unique_ptr<CConexion> propias[2];
    CConexion* lados[2] = {nullptr, nullptr};
    for (int i = 0; i < 2; ++i)
        if (!o.cadenas[i].isEmpty()) {
            propias[i] = std::make_unique<CConexion>();
            propias[i]->setTitulo(TituloDeCadena(o.cadenas[i], i + 1));
            propias[i]->setCadenaDeConexion(o.cadenas[i]);
            lados[i] = propias[i].get();
        }
    if (!o.lados.isEmpty()) {
        if (!CargarVerondal(ctx))
            return 2;
        for (int i = 0, intSiguiente = 0; i < 2; ++i)
            if (!lados[i] && !(lados[i] = ConexionConfigurada(o.lados[intSiguiente++])))
                return 2;
    }
    if (propias[0] && propias[1] && lados[0]->Titulo() == lados[1]->Titulo()) {
        lados[0]->setTitulo(QStringLiteral("cadena1"));
        lados[1]->setTitulo(QStringLiteral("cadena2"));
    }

    CComparador comparador;
    comparador.setConexion1(lados[0]);
    comparador.setConexion2(lados[1]);
    comparador.setCompararTablas(o.booTablas);
    comparador.setCompararVistas(o.booVistas);
    comparador.setCompararProcedimientos(o.booProcedimientos);
    comparador.setCompararIndices(o.booIndices);
    comparador.setCompararRelaciones(o.booRelaciones);
    comparador.setCompararOcultos(o.booOcultos);
    CResultadosConsola resultados;
    {
        CInterrupcion interrupcion;
        comparador.Comparar(resultados);
    }
    resultados.Terminar();
    // A side closed after it opened was cut (its limit ran out, or Ctrl+C): its own reason.
    for (const CConexion* lado : lados)
        if (!lado->Conectado() && !lado->ErrorConexion().isEmpty())
            ErrorUso(comparador.FalloConexion()
                         ? QStringLiteral("No se puede abrir la conexión %1: %2")
                               .arg(lado->Titulo(), lado->ErrorConexion())
                         : lado->ErrorConexion());

    if (!Escribir(resultados.filas, o, comparador, lados))
        return 2;
    if (comparador.FalloConexion() || comparador.FalloCatalogo())
        return 2;
    // A cancelled comparison never vouches for "no differences".
    if (comparador.Cancelado())
        return comparador.Diferencias() > 0 ? 1 : 2;
    return comparador.Diferencias() > 0 ? 1 : 0;
}
