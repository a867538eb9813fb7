// The explorer follows Verondal.xml when another process changes it.
#include "AyudaExplorador.h"

#include <QProcess>

using namespace pruebas;

TEST_F(ExploradorPrueba, LoQueOtroProcesoAgregaOEliminaSeVeEnElArbol) {
    Agregar(QStringLiteral("Propia"), QStringLiteral("DSN=propia"));
    Abrir();
    ASSERT_NE(Nodo(QStringLiteral("cnx1")), nullptr);
    const auto cli = [&](const QStringList& args) {
        return QProcess::execute(QStringLiteral(VERONDAL_BIN "/verondal-cli"),
                                 QStringList{"--config", m_Ruta} + args);
    };
    ASSERT_EQ(cli({"agregar", "Desde la consola", "DSN=consola"}), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Nodo(QStringLiteral("cnx2")) != nullptr; }, 5000));
    const QTreeWidgetItem* n = Nodo(QStringLiteral("cnx2"));
    EXPECT_EQ(n ? n->text(0) : QString(), QStringLiteral("Desde la consola"));
    ASSERT_EQ(cli({"eliminar", "cnx1"}), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Nodo(QStringLiteral("cnx1")) == nullptr; }, 5000));
    EXPECT_EQ(Estado(), QStringLiteral("1 conexiones"));
}
