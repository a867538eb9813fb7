// "Propiedades" of the real explorer, wired as the program wires it: a connection node and a
// table node open filled windows in the main window, a new one on every click.
#include "AyudaPropiedades.h"
#include "app/RegistroVentanas.h"
#include "controles/CArbol.h"
#include "controles/CPunteroRaton.h"
#include "controles/CVentanaMdi.h"
#include "explorer/frmExplorador.h"
#include "properties/frmPropiedadesConexion.h"
#include "properties/frmPropiedadesTabla.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QToolButton>

using namespace pruebas;

namespace {

class DesdeExploradorTest : public CPruebaSQLite {
protected:
    void TearDown() override { frmExplorador::EstablecerVentanasPropiedades(nullptr, nullptr); }

    void Clic(QTreeWidgetItem* n) {
        ASSERT_NE(n, nullptr);
        CArbol& tvw = *m_Explorador->tvwExplorador;
        tvw.scrollToItem(n);
        QTest::mouseClick(tvw.viewport(), Qt::LeftButton, {}, tvw.visualItemRect(n).center());
    }
    void Propiedades() {
        QTest::mouseClick(m_Explorador->tbrExplorador->Control(u"pro"_s), Qt::LeftButton);
    }
    template <typename T> QList<T*> Ventanas(CVentanaMdi& principal) {
        QList<T*> v;
        for (QMdiSubWindow* s : principal.Area()->subWindowList(QMdiArea::CreationOrder))
            if (auto* frm = qobject_cast<T*>(s->widget()))
                v << frm;
        return v;
    }
    frmExplorador* m_Explorador = nullptr;
};

TEST_F(DesdeExploradorTest, UnaConexionYUnaDeSusTablasAbrenSusVentanasLlenas) {
    CVentanaMdi principal;
    principal.resize(1000, 700);
    principal.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&principal));
    RegistrarVentanas();
    m_Explorador = new frmExplorador;
    MostrarVentanaHija(m_Explorador);
    MarcoVentana(m_Explorador)->resize(300, 600);

    QTreeWidgetItem* objConexion = m_Explorador->tvwExplorador->Nodo(m_Id);
    Clic(objConexion);
    Propiedades();
    Propiedades();
    const auto conexiones = Ventanas<frmPropiedadesConexion>(principal);
    ASSERT_EQ(conexiones.size(), 2);
    for (frmPropiedadesConexion* frm : conexiones) {
        EXPECT_EQ(frm->windowTitle(), u"Propiedades de conexión: Ventas"_s);
        EXPECT_EQ(frm->lvwTablas->NumeroElementos(), 5);
        EXPECT_TRUE(frm->isVisible());
    }

    // The windows left the connection open; its objects load from that same link.
    EXPECT_TRUE(objVerondal->Conexiones().Item(m_Id).Conectado());
    Clic(objConexion);
    QTest::keyClick(m_Explorador->tvwExplorador, Qt::Key_Right);
    const auto tablas =
        m_Explorador->tvwExplorador->findItems(u"lineas"_s, Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(tablas.size(), 1);
    Clic(tablas.first());
    Propiedades();
    const auto ventanasTabla = Ventanas<frmPropiedadesTabla>(principal);
    ASSERT_EQ(ventanasTabla.size(), 1);
    frmPropiedadesTabla* tbl = ventanasTabla.first();
    EXPECT_EQ(tbl->windowTitle(), u"Propiedades de tabla: lineas"_s);
    EXPECT_EQ(tbl->ClaveConexion(), m_Id);
    EXPECT_EQ(tbl->lvwCampos->NumeroElementos(), 4);
    EXPECT_EQ(tbl->lvwIndices->NumeroElementos(), 2);
    EXPECT_TRUE(tbl->isVisible());
    EXPECT_EQ(PunteroActual(), Puntero::Predeterminado);
}

} // namespace
