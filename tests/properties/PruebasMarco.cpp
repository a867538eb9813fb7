// The frame both property windows share: toolbar, "ver" menu, tooltip of "exp", tabs.
#include "AyudaPropiedades.h"
#include "properties/frmPropiedadesConexion.h"
#include "properties/frmPropiedadesTabla.h"

#include <QToolButton>

using namespace pruebas;

namespace {

// Both windows over a real SQLite database, shown and filled.
class MarcoTest : public CPruebaSQLite {
protected:
    void SetUp() override {
        CPruebaSQLite::SetUp();
        if (HasFatalFailure())
            return;
        cnx.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&cnx));
        cnx.Conexion(m_Id);
        tbl.Conexion(m_Id);
        tbl.Tabla(u"lineas"_s);
        tbl.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&tbl));
    }

    // Clicks the face of "ver" (not its arrow) and picks strOpcion from the menu it opens.
    static CRespuestaMenu* ClicEnVer(CMarcoPropiedades& frm, const QString& strOpcion) {
        auto* r = new CRespuestaMenu(strOpcion);
        QToolButton* b = frm.Barra()->Control(u"ver"_s);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(4, b->height() / 2));
        return r;
    }

    frmPropiedadesConexion cnx;
    frmPropiedadesTabla tbl;
};

TEST_F(MarcoTest, DetallesConCamposALaVistaCambiaTambienLaListaOcultaDeIndices) {
    std::unique_ptr<CRespuestaMenu> r(ClicEnVer(tbl, u"Lista"_s));
    ASSERT_EQ(tbl.lvwIndices->VistaActual(), CListaVista::Vista::Lista);
    ASSERT_EQ(tbl.sstPropiedadesTabla()->PestanaActual(), 0);
    ASSERT_FALSE(tbl.lvwIndices->isVisible());
    r.reset(ClicEnVer(tbl, u"Detalles"_s));
    EXPECT_TRUE(r->booVisto);
    EXPECT_EQ(tbl.lvwCampos->VistaActual(), CListaVista::Vista::Detalles);
    EXPECT_EQ(tbl.lvwIndices->VistaActual(), CListaVista::Vista::Detalles);
}

} // namespace
