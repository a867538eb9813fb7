// The explorer follows Verondal.xml when another process changes it.
#include "AyudaExplorador.h"

using namespace pruebas;

TEST_F(ExploradorPrueba, LoQueOtroProcesoAgregaOEliminaSeVeEnElArbol) {
    Agregar(u"Propia"_s, u"DSN=propia"_s);
    Abrir();
    ASSERT_NE(Nodo(u"cnx1"_s), nullptr);
    const auto cli = [&](const QStringList& args) {
        return QProcess::execute(QStringLiteral(VERONDAL_BIN "/verondal-cli"),
                                 QStringList{"--config", m_Ruta} + args);
    };
    ASSERT_EQ(cli({"agregar", "Desde la consola", "DSN=consola"}), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Nodo(u"cnx2"_s) != nullptr; }, 5000));
    const QTreeWidgetItem* n = Nodo(u"cnx2"_s);
    EXPECT_EQ(n ? n->text(0) : QString(), u"Desde la consola"_s);
    ASSERT_EQ(cli({"eliminar", "cnx1"}), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Nodo(u"cnx1"_s) == nullptr; }, 5000));
    EXPECT_EQ(Estado(), u"1 conexiones"_s);
}
