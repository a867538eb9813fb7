// The frame both property windows share: toolbar, "ver" menu, tooltip of "exp", tabs and layout.
#include "AyudaPropiedades.h"
#include "app/controles/CBarraHerramientas.h"
#include "app/controles/CPestanas.h"
#include "app/controles/modGeneral.h"
#include "properties/frmPropiedadesConexion.h"
#include "properties/frmPropiedadesTabla.h"

#include <QListView>
#include <QMenu>
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
        tbl.Tabla(QStringLiteral("lineas"));
        tbl.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&tbl));
    }

    // Clicks the face of "ver" (not its arrow) and picks strOpcion from the menu it opens.
    static CRespuestaMenu* ClicEnVer(CMarcoPropiedades& frm, const QString& strOpcion) {
        auto* r = new CRespuestaMenu(strOpcion);
        QToolButton* b = frm.Barra()->Control(QStringLiteral("ver"));
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(4, b->height() / 2));
        return r;
    }

    frmPropiedadesConexion cnx;
    frmPropiedadesTabla tbl;
};

TEST_F(MarcoTest, LaBarraTieneSeparadorExportarYVerConSuMenu) {
    for (CMarcoPropiedades* frm :
         {static_cast<CMarcoPropiedades*>(&cnx), static_cast<CMarcoPropiedades*>(&tbl)}) {
        CBarraHerramientas* tbr = frm->Barra();
        ASSERT_EQ(tbr->NumeroBotones(), 3);
        EXPECT_TRUE(tbr->Boton(1)->isSeparator());
        EXPECT_EQ(tbr->Clave(2), QStringLiteral("exp"));
        EXPECT_EQ(tbr->EstiloBoton(QStringLiteral("exp")), CBarraHerramientas::Estilo::Normal);
        EXPECT_EQ(tbr->TextoAyuda(QStringLiteral("exp")), QStringLiteral("Exportar..."));
        EXPECT_EQ(tbr->Clave(3), QStringLiteral("ver"));
        EXPECT_EQ(tbr->EstiloBoton(QStringLiteral("ver")), CBarraHerramientas::Estilo::Menu);
        EXPECT_EQ(tbr->TextoAyuda(QStringLiteral("ver")), QString());
        QStringList textos, claves;
        for (QAction* a : tbr->Menu(QStringLiteral("ver"))->actions()) {
            textos << a->text();
            claves << a->objectName();
        }
        EXPECT_EQ(textos, QStringList({"Iconos grandes", QString::fromUtf8("Iconos pequeños"),
                                       "Lista", "Detalles"}));
        EXPECT_EQ(claves, QStringList({"mnu_gra", "mnu_peq", "mnu_lis", "mnu_det"}));
    }
    EXPECT_EQ(cnx.tbrPropiedadesConexion()->objectName(), QStringLiteral("tbrPropiedadesConexion"));
    EXPECT_EQ(cnx.tbrPropiedadesConexion()->Imagen(QStringLiteral("exp")), 10);
    EXPECT_EQ(cnx.tbrPropiedadesConexion()->Imagen(QStringLiteral("ver")), 9);
    EXPECT_EQ(tbl.tbrPropiedadesTabla()->objectName(), QStringLiteral("tbrPropiedadesTabla"));
    EXPECT_EQ(cnx.sstPropiedades()->objectName(), QStringLiteral("sstPropiedades"));
    EXPECT_EQ(tbl.sstPropiedadesTabla()->objectName(), QStringLiteral("sstPropiedadesTabla"));
    EXPECT_NE(cnx.findChild<QWidget*>(QStringLiteral("pbxContenedor")), nullptr);
    EXPECT_NE(tbl.findChild<QWidget*>(QStringLiteral("pbxContenedor")), nullptr);
}

TEST_F(MarcoTest, ElTextoDeExportarNombraLaPestanaEnMinusculasTrasElPrimerCambio) {
    cnx.sstPropiedades()->SeleccionarPestana(5);
    EXPECT_EQ(cnx.Barra()->TextoAyuda(QStringLiteral("exp")),
              QStringLiteral("Exportar palabras reservadas..."));
    cnx.sstPropiedades()->SeleccionarPestana(0);
    EXPECT_EQ(cnx.Barra()->TextoAyuda(QStringLiteral("exp")),
              QString::fromUtf8("Exportar conexión..."));
    cnx.sstPropiedades()->SeleccionarPestana(4);
    EXPECT_EQ(cnx.Barra()->TextoAyuda(QStringLiteral("exp")),
              QStringLiteral("Exportar tipos de datos..."));

    tbl.sstPropiedadesTabla()->SeleccionarPestana(1);
    EXPECT_EQ(tbl.Barra()->TextoAyuda(QStringLiteral("exp")),
              QString::fromUtf8("Exportar índices..."));
    tbl.sstPropiedadesTabla()->SeleccionarPestana(0);
    EXPECT_EQ(tbl.Barra()->TextoAyuda(QStringLiteral("exp")), QStringLiteral("Exportar campos..."));
}

TEST_F(MarcoTest, CadaListaEmpiezaEnDetalles) {
    for (CMarcoPropiedades* frm :
         {static_cast<CMarcoPropiedades*>(&cnx), static_cast<CMarcoPropiedades*>(&tbl)})
        for (int i = 0; i < frm->NumeroListas(); ++i)
            EXPECT_EQ(frm->Lista(i)->VistaActual(), CListaVista::Vista::Detalles) << i;
    EXPECT_EQ(cnx.NumeroListas(), 7);
    EXPECT_EQ(tbl.NumeroListas(), 2);
}

TEST_F(MarcoTest, UnClicEnLaCaraDeVerAbreElMenuYIconosGrandesCambiaLasSieteListas) {
    std::unique_ptr<CRespuestaMenu> r(ClicEnVer(cnx, QStringLiteral("Iconos grandes")));
    EXPECT_TRUE(r->booVisto);
    EXPECT_EQ(r->strOpciones.size(), 4);
    for (int i = 0; i < 7; ++i) {
        CListaVista* lvw = cnx.Lista(i);
        EXPECT_EQ(lvw->VistaActual(), CListaVista::Vista::IconosGrandes) << i;
        // Large icons are the 32-pixel pictures.
        auto* v = qobject_cast<QListView*>(lvw->VistaVisible());
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(v->iconSize(), QSize(32, 32)) << i;
    }
    EXPECT_EQ(tbl.lvwCampos->VistaActual(), CListaVista::Vista::Detalles); // another window

    r.reset(ClicEnVer(cnx, QStringLiteral("Lista")));
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(cnx.Lista(i)->VistaActual(), CListaVista::Vista::Lista) << i;
    r.reset(ClicEnVer(cnx, QString::fromUtf8("Iconos pequeños")));
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(cnx.Lista(i)->VistaActual(), CListaVista::Vista::IconosPequenos) << i;
}

TEST_F(MarcoTest, DetallesConCamposALaVistaCambiaTambienLaListaOcultaDeIndices) {
    std::unique_ptr<CRespuestaMenu> r(ClicEnVer(tbl, QStringLiteral("Lista")));
    ASSERT_EQ(tbl.lvwIndices->VistaActual(), CListaVista::Vista::Lista);
    ASSERT_EQ(tbl.sstPropiedadesTabla()->PestanaActual(), 0);
    ASSERT_FALSE(tbl.lvwIndices->isVisible());
    r.reset(ClicEnVer(tbl, QStringLiteral("Detalles")));
    EXPECT_TRUE(r->booVisto);
    EXPECT_EQ(tbl.lvwCampos->VistaActual(), CListaVista::Vista::Detalles);
    EXPECT_EQ(tbl.lvwIndices->VistaActual(), CListaVista::Vista::Detalles);
}

TEST_F(MarcoTest, LasPestanasLlenanElContenedorConSusMargenes) {
    cnx.resize(600, 300);
    QWidget* pbx = cnx.Contenedor();
    EXPECT_EQ(pbx->width(), cnx.width());
    EXPECT_EQ(pbx->geometry().bottom(), cnx.height() - 1);
    // 30 twips are 2 pixels: left, right and bottom; none on top.
    EXPECT_EQ(cnx.sstPropiedades()->geometry(), QRect(2, 0, pbx->width() - 4, pbx->height() - 2));
    // Each list keeps 60 twips (4 pixels) from its page's sides and bottom.
    QWidget* pagina = cnx.lvwConexion->parentWidget();
    EXPECT_EQ(cnx.lvwConexion->geometry(), QRect(4, 4, pagina->width() - 8, pagina->height() - 8));
}

TEST_F(MarcoTest, UnaVentanaDiminutaDejaLasPestanasEnCeroSinMedidasNegativas) {
    cnx.setMinimumSize(0, 0);
    cnx.resize(cnx.minimumSizeHint().width(), cnx.Barra()->sizeHint().height() + 1);
    QWidget* pbx = cnx.Contenedor();
    ASSERT_LT(pbx->height(), 2);
    const QRect r = cnx.sstPropiedades()->geometry();
    EXPECT_EQ(r.height(), 0);
    EXPECT_GE(r.width(), 0);
    for (int i = 0; i < cnx.NumeroListas(); ++i) {
        EXPECT_GE(cnx.Lista(i)->width(), 0);
        EXPECT_GE(cnx.Lista(i)->height(), 0);
    }
}

TEST_F(MarcoTest, ExportarUnaListaVaciaLoDiceSinAbrirElDialogo) {
    CDialogosGuion guion;
    CRespuestaFormato formato(2);
    cnx.sstPropiedades()->SeleccionarPestana(2); // SQLite has no procedures
    ASSERT_EQ(cnx.lvwProcedimientos->NumeroElementos(), 0);
    QTest::mouseClick(cnx.Barra()->Control(QStringLiteral("exp")), Qt::LeftButton);
    EXPECT_FALSE(formato.booVisto);
    ASSERT_EQ(guion.mensajes.size(), 1u);
    EXPECT_EQ(guion.mensajes[0].strTexto, QStringLiteral("No hay datos para exportar"));
}

} // namespace
