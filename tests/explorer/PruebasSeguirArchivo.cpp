// The explorer follows Verondal.xml when another process changes it.
#include "AyudaExplorador.h"

#include <QProcess>

using namespace pruebas;

namespace {

int Cli(const QStringList& argumentos) {
    QProcess proceso;
    proceso.start(QStringLiteral(VERONDAL_BIN "/verondal-cli"), argumentos);
    EXPECT_TRUE(proceso.waitForFinished(60000));
    return proceso.exitCode();
}

} // namespace

TEST_F(ExploradorPrueba, LoQueOtroProcesoAgregaOEliminaSeVeEnElArbol) {
    Agregar(QStringLiteral("Propia"), QStringLiteral("DSN=propia"));
    Abrir();
    ASSERT_NE(Nodo(QStringLiteral("cnx1")), nullptr);

    ASSERT_EQ(Cli({"--config", m_Ruta, "agregar", "Desde la consola", "DSN=consola"}), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Nodo(QStringLiteral("cnx2")) != nullptr; }, 5000));
    if (QTreeWidgetItem* n = Nodo(QStringLiteral("cnx2"))) {
        EXPECT_EQ(n->text(0), QStringLiteral("Desde la consola"));
    }
    EXPECT_EQ(Estado(), QStringLiteral("2 conexiones"));

    ASSERT_EQ(Cli({"--config", m_Ruta, "eliminar", "cnx1"}), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Nodo(QStringLiteral("cnx1")) == nullptr; }, 5000));
    EXPECT_EQ(objVerondal->Conexiones().Count(), 1);
    EXPECT_EQ(Estado(), QStringLiteral("1 conexiones"));
}
