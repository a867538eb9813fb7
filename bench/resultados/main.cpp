// How the results window keeps up with the engine: two SQLite catalogues of N tables compared
// through the window (offscreen), against the same comparison into a sink that drops
// everything. Prints the total times, their ratio, the longest interval between two turns of
// the message loop, and how long a press on "can" takes to end the comparison.
//
//   bench_resultados [tablas=10000] [repeticiones=3] [realista|avalancha]
#include "catalog/CConexion.h"
#include "compare/CComparador.h"
#include "compare/ui/frmResultadosComparacion.h"
#include "controles/CBarraEstado.h"
#include "controles/CListaVista.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

// The engine alone: rows and texts dropped. It notes the longest stretch the engine runs
// between two yields, which no sink can shorten.
class CResultadosNulos final : public IResultados {
public:
    CResultadosNulos() { reloj.start(); }
    void Estado(const QString&) override {}
    void AgregarFila(const CFilaResultado&) override { ++lngFilas; }
    void Ceder() override {
        const qint64 lngAhora = reloj.nsecsElapsed();
        dblTramoMs = std::max(dblTramoMs, (lngAhora - lngUltima) / 1e6);
        lngUltima = lngAhora;
    }
    long lngFilas = 0;
    double dblTramoMs = 0;
    QElapsedTimer reloj;
    qint64 lngUltima = 0;
};

// Wall time and this thread's processor time: the machine is shared, and the processor time
// of one run hardly depends on what else runs.
struct CTiempo {
    double dblReal = 0, dblCpu = 0;
};
double SegundosCpu() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + ts.tv_nsec / 1e9;
}

// "realista": every 50th table missing on one side and 2 % of the columns changed, as a
// catalogue a year apart. "avalancha": every column of every table changes its type, so the
// comparison writes two rows per column (100,000 rows at 10,000 tables of five columns).
QByteArray Catalogo(bool booAvalancha, int intTablas, int intLado) {
    QByteArray sql = "BEGIN;\n";
    for (int i = 0; i < intTablas; ++i) {
        if (!booAvalancha && i % 50 == intLado - 1)
            continue;
        sql += "CREATE TABLE t" + QByteArray::number(i) + " (";
        for (int j = 0; j < 5; ++j) {
            const bool booCambia = intLado == 2 && (booAvalancha || (i * 5 + j) % 50 == 3);
            sql += (j ? ", c" : "c") + QByteArray::number(j) +
                   (booCambia ? " VARCHAR(33) DEFAULT 'z'" : " INTEGER");
        }
        sql += ");\n";
    }
    return sql + "COMMIT;\n";
}

bool CrearBase(const QString& strRuta, const QByteArray& sql) {
    QProcess p;
    p.start(QStringLiteral("sqlite3"), {QStringLiteral("-bail"), strRuta});
    p.write(sql);
    p.closeWriteChannel();
    return p.waitForFinished(600000) && p.exitCode() == 0;
}

void Preparar(CComparador& comparador, CConexion& c1, CConexion& c2) {
    comparador.setConexion1(&c1);
    comparador.setConexion2(&c2);
    comparador.setCompararTablas(true);
    comparador.setCompararVistas(true);
    comparador.setCompararProcedimientos(true);
}

CTiempo TiempoNulo(CConexion& c1, CConexion& c2, long& lngFilas, double& dblTramoMs) {
    CComparador comparador;
    Preparar(comparador, c1, c2);
    CResultadosNulos nulos;
    QElapsedTimer reloj;
    const double dblCpu = SegundosCpu();
    reloj.start();
    comparador.Comparar(nulos);
    lngFilas = nulos.lngFilas;
    dblTramoMs = nulos.dblTramoMs;
    return {reloj.nsecsElapsed() / 1e9, SegundosCpu() - dblCpu};
}

struct CMedida {
    CTiempo tiempo;
    double dblHuecoMs = 0;     // longest interval between two turns of the message loop
    double dblHuecoEnSeg = 0;  // when it ended, from the start
    double dblCancelarMs = -1; // from the press on "can" to Comparar's return
    double dblCederMs = 0;     // longest yield: rows put in the list and a turn of the loop
    int intFilas = 0;
    QString strEstado;
};

// The window as the bench watches it: how long its longest yield kept the engine waiting.
class CVentanaMedida final : public frmResultadosComparacion {
public:
    double dblCederMs = 0;
    void Ceder() override {
        QElapsedTimer reloj;
        reloj.start();
        frmResultadosComparacion::Ceder();
        dblCederMs = std::max(dblCederMs, reloj.nsecsElapsed() / 1e6);
    }
};

// One comparison through a new window. With dblCancelarEn >= 0, "can" is pressed that many
// seconds after the start, as soon as the loop turns.
CMedida MedirVentana(CConexion& c1, CConexion& c2, double dblCancelarEn = -1) {
    CMedida m;
    CComparador comparador;
    Preparar(comparador, c1, c2);
    auto* frm = new CVentanaMedida;
    QElapsedTimer reloj;
    qint64 lngUltimaVuelta = 0;
    qint64 lngPulsado = -1;
    // A zero timer fires at every turn of the loop: the gaps between its shots are the time
    // a click would wait.
    QTimer vuelta;
    vuelta.setInterval(0);
    QObject::connect(&vuelta, &QTimer::timeout, [&] {
        const qint64 lngAhora = reloj.nsecsElapsed();
        const double dblHueco = (lngAhora - lngUltimaVuelta) / 1e6;
        if (dblHueco > m.dblHuecoMs) {
            m.dblHuecoMs = dblHueco;
            m.dblHuecoEnSeg = lngAhora / 1e9;
        }
        lngUltimaVuelta = lngAhora;
        if (dblCancelarEn >= 0 && lngPulsado < 0 && lngAhora / 1e9 >= dblCancelarEn) {
            lngPulsado = lngAhora;
            frm->Cancelar();
        }
    });
    const double dblCpu = SegundosCpu();
    reloj.start();
    vuelta.start();
    frm->Comparar(comparador);
    const qint64 lngFin = reloj.nsecsElapsed();
    m.tiempo = {lngFin / 1e9, SegundosCpu() - dblCpu};
    vuelta.stop();
    if (lngPulsado >= 0)
        m.dblCancelarMs = (lngFin - lngPulsado) / 1e6;
    m.dblCederMs = frm->dblCederMs;
    m.intFilas = frm->lvwResultados->NumeroElementos();
    m.strEstado = frm->stbResultadosComparacion->Texto();
    delete frm;
    return m;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int intTablas = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    const int intVeces = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const QString strSolo = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    QTemporaryDir carpeta;

    std::printf("%d tablas por lado, mejor de %d\n", intTablas, intVeces);
    std::printf("%-10s %7s %8s %8s %6s %8s %8s %6s %7s %7s %6s %7s %9s\n", "catálogo", "filas",
                "nulo", "ventana", "razón", "cpu nulo", "cpu vent", "razón", "hueco", "motor",
                "en (s)", "ceder", "cancelar");
    for (const bool booAvalancha : {false, true}) {
        if (!strSolo.isEmpty() && strSolo != QLatin1String(booAvalancha ? "avalancha" : "realista"))
            continue;
        CConexion c[2];
        bool booAbiertas = true;
        for (int lado = 1; lado <= 2 && booAbiertas; ++lado) {
            const QString strRuta =
                carpeta.filePath(QStringLiteral("%1_%2.db").arg(booAvalancha).arg(lado));
            if (!CrearBase(strRuta, Catalogo(booAvalancha, intTablas, lado))) {
                std::fprintf(stderr, "no se puede crear %s\n", qPrintable(strRuta));
                booAbiertas = false;
                break;
            }
            c[lado - 1].setTitulo(QStringLiteral("Lado %1").arg(lado));
            c[lado - 1].setCadenaDeConexion(
                QStringLiteral("DRIVER={SQLite3};Database=%1;").arg(strRuta));
            if (!c[lado - 1].Conectar()) {
                std::fprintf(stderr, "no se puede abrir: %s\n",
                             qPrintable(c[lado - 1].ErrorConexion()));
                booAbiertas = false;
            }
        }
        if (!booAbiertas)
            continue; // the other catalogue may still run
        long lngFilas = 0;
        double dblTramoMs = 0;
        TiempoNulo(c[0], c[1], lngFilas, dblTramoMs); // the driver's and the system's caches
        // Runs alternate, so that a busy moment of the machine hits both kinds alike.
        CTiempo nulo{1e300, 1e300}, ventana{1e300, 1e300};
        double dblHueco = 0, dblHuecoEn = 0, dblCeder = 0;
        for (int i = 0; i < intVeces; ++i) {
            double dblTramo = 0;
            const CTiempo t = TiempoNulo(c[0], c[1], lngFilas, dblTramo);
            nulo = {std::min(nulo.dblReal, t.dblReal), std::min(nulo.dblCpu, t.dblCpu)};
            dblTramoMs = std::max(dblTramoMs, dblTramo);
            const CMedida m = MedirVentana(c[0], c[1]);
            if (m.intFilas != lngFilas || m.strEstado != QLatin1String("Proceso finalizado"))
                std::fprintf(stderr, "la ventana muestra %d filas (%s); el motor dio %ld\n",
                             m.intFilas, qPrintable(m.strEstado), lngFilas);
            ventana = {std::min(ventana.dblReal, m.tiempo.dblReal),
                       std::min(ventana.dblCpu, m.tiempo.dblCpu)};
            dblCeder = std::max(dblCeder, m.dblCederMs);
            if (m.dblHuecoMs > dblHueco) {
                dblHueco = m.dblHuecoMs;
                dblHuecoEn = m.dblHuecoEnSeg;
            }
        }
        // "can" pressed at a quarter, half and three quarters of the run: the longest wait
        // from the press to the end of the comparison.
        double dblCancelar = 0;
        for (const double dblFraccion : {0.25, 0.5, 0.75})
            dblCancelar = std::max(
                dblCancelar, MedirVentana(c[0], c[1], ventana.dblReal * dblFraccion).dblCancelarMs);
        std::printf(
            "%-10s %7ld %8.2f %8.2f %6.2f %8.2f %8.2f %6.2f %7.0f %7.0f %6.2f %7.1f %9.0f\n",
            booAvalancha ? "avalancha" : "realista", lngFilas, nulo.dblReal, ventana.dblReal,
            ventana.dblReal / nulo.dblReal, nulo.dblCpu, ventana.dblCpu,
            ventana.dblCpu / nulo.dblCpu, dblHueco, dblTramoMs, dblHuecoEn, dblCeder, dblCancelar);
        std::fflush(stdout);
    }
    std::printf(
        "segundos; hueco: el mayor intervalo entre dos vueltas del bucle de mensajes con la\n"
        "ventana (ms), motor: el mayor tramo del motor solo sin ceder (ms), en: cuándo acabó\n"
        "el hueco; ceder: la cesión más larga de la ventana, filas a la lista y una vuelta (ms);\n"
        "cancelar: de la pulsación al final de la comparación (ms).\n"
        "objetivo: razón <= 1.30; hueco y cancelar <= 100 ms\n");
    return 0;
}
