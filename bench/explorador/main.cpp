// How long the explorer takes to expand a connection of a large catalogue, from the expansion
// to the filled tree (the opening included), and the longest the message loop stood still
// meanwhile: the window as a user sees it. The best of three expansions, each after F5 (which
// closes every connection).
//
//   bench_explorador CADENA...   one case per connection string (bench_comparar's databases)
#include "../comun/Ventanas.h"
#include "controles/CArbol.h"
#include "explorer/frmExplorador.h"
#include "registry/CVerondal.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace {

// The nodes below a node, at any depth.
int Descendientes(const QTreeWidgetItem* n) {
    int intTotal = n->childCount();
    for (int i = 0; i < n->childCount(); ++i)
        intTotal += Descendientes(n->child(i));
    return intTotal;
}

} // namespace

int main(int argc, char** argv) {
    SinPantalla();
    QApplication app(argc, argv);
    QTemporaryDir carpeta;
    if (!CargarConfiguracionVacia(carpeta))
        return 2;
    std::printf("%-60s %7s %10s %9s\n", "conexión", "nodos", "expandir s", "hueco ms");
    for (const QString& strCadena : app.arguments().mid(1)) {
        const CConexion& objConexion =
            objVerondal->Conexiones().NuevaConexion(QStringLiteral("bench"), strCadena);
        const QString strId = objConexion.Id();
        frmExplorador frm;
        frm.setAttribute(Qt::WA_DeleteOnClose, false);
        frm.show();
        double dblMejor = 1e9, dblHueco = 0;
        int intNodos = 0;
        for (int v = 0; v < 3; ++v) {
            frm.CargarArbol();
            QElapsedTimer reloj;
            qint64 lngUltima = 0;
            const auto vuelta = [&] {
                const qint64 lngAhora = reloj.nsecsElapsed();
                dblHueco = std::max(dblHueco, (lngAhora - lngUltima) / 1e6);
                lngUltima = lngAhora;
            };
            QTimer objVuelta;
            objVuelta.setInterval(0);
            QObject::connect(&objVuelta, &QTimer::timeout, vuelta);
            objVuelta.start();
            reloj.start();
            frm.tvwExplorador->Nodo(strId)->setExpanded(true);
            vuelta();
            dblMejor = std::min(dblMejor, reloj.nsecsElapsed() / 1e9);
            intNodos = Descendientes(frm.tvwExplorador->Nodo(strId));
        }
        std::printf("%-60s %7d %10.2f %9.0f\n", qPrintable(strCadena.left(60)), intNodos, dblMejor,
                    dblHueco);
        std::fflush(stdout);
        objVerondal->Conexiones().Item(strId).Desconectar();
    }
    std::printf("objetivo: expandir <= 0,5 s con 20.000 tablas; hueco <= 100 ms\n");
    objVerondal.reset();
    return 0;
}
