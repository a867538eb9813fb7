// The data-link dialogue: drivers and data sources from the driver manager, fields and the
// connection string kept in step, "Probar conexión" against a real database, and the answer.
#include "AyudaExplorador.h"

#include "catalog/modOdbc.h"
#include "explorer/frmVinculoDatos.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace pruebas;

namespace {

class VinculoDatosTest : public ::testing::Test {
protected:
    void SetUp() override { m_Carpeta = CarpetaDeLaPrueba(); }

    frmVinculoDatos& Abrir(const QString& strTitulo, const QString& strCadena = QString()) {
        m_Ventana = std::make_unique<frmVinculoDatos>(strTitulo, strCadena);
        m_Ventana->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(m_Ventana.get()));
        return *m_Ventana;
    }
    // Picks an entry of a combo as a user does: open it, move to the entry, Enter.
    static void Elegir(QComboBox* cbo, const QString& strTexto) {
        const int intDestino = cbo->findText(strTexto);
        ASSERT_GE(intDestino, 0) << qPrintable(strTexto);
        cbo->setFocus();
        QTest::keyClick(cbo, Qt::Key_Home);
        for (int i = 0; i < intDestino; ++i)
            QTest::keyClick(cbo, Qt::Key_Down);
        ASSERT_EQ(cbo->currentText(), strTexto);
    }
    static void Escribir(QLineEdit* txt, const QString& strTexto) {
        txt->selectAll();
        QTest::keyClicks(txt, strTexto);
    }

    QString m_Carpeta;
    std::unique_ptr<frmVinculoDatos> m_Ventana;
};

TEST_F(VinculoDatosTest, SQLiteEligeUnArchivoYPruebaLaConexion) {
    const QString strBase = m_Carpeta + u"/ventas.db"_s;
    ASSERT_FALSE(CrearBaseSQLite(strBase, Fixture(u"explorador_vistas.sql"_s)).isEmpty());
    frmVinculoDatos& frm = Abrir(u"Nueva conexión"_s);
    QStringList pedidos;
    frm.fnElegirArchivo = [&](const QString& strActual) {
        pedidos << strActual;
        return strBase;
    };
    Elegir(frm.cboControlador, u"SQLite3"_s);
    // A file-based driver: the file chooser instead of server and port.
    EXPECT_TRUE(frm.btnExaminar->isEnabled());
    EXPECT_FALSE(frm.txtServidor->isEnabled());
    EXPECT_FALSE(frm.txtPuerto->isEnabled());
    QTest::mouseClick(frm.btnExaminar, Qt::LeftButton);
    EXPECT_EQ(pedidos, QStringList{QString()});
    EXPECT_EQ(frm.txtBaseDatos->text(), strBase);
    EXPECT_EQ(frm.Cadena(), u"DRIVER={SQLite3};DATABASE=%1;"_s.arg(strBase));

    CDialogosGuion guion;
    QTest::mouseClick(frm.btnProbar, Qt::LeftButton);
    ASSERT_EQ(guion.mensajes.size(), 1u);
    EXPECT_EQ(guion.mensajes[0].strTexto, u"Conexión correcta"_s);
    EXPECT_EQ(guion.mensajes[0].intEstilo, Estilo::Informacion);

    QTest::mouseClick(frm.btnAceptar, Qt::LeftButton);
    EXPECT_EQ(frm.result(), QDialog::Accepted);
}

TEST_F(VinculoDatosTest, ProbarUnaConexionQueFallaMuestraElMensajeDelControlador) {
    const QString strBase = m_Carpeta + u"/falta.db"_s;
    const QString strCadena = CadenaSQLite(strBase);
    frmVinculoDatos& frm = Abrir(u"Nueva conexión"_s, strCadena);
    CConexion objReferencia;
    objReferencia.setCadenaDeConexion(strCadena);
    ASSERT_FALSE(objReferencia.Conectar());

    CDialogosGuion guion;
    QTest::mouseClick(frm.btnProbar, Qt::LeftButton);
    ASSERT_EQ(guion.mensajes.size(), 1u);
    EXPECT_EQ(guion.mensajes[0].strTexto, objReferencia.ErrorConexion());
    EXPECT_TRUE(guion.mensajes[0].strTexto.contains(strBase));
    EXPECT_EQ(guion.mensajes[0].intEstilo, Estilo::Critico);
    EXPECT_FALSE(QFile::exists(strBase)); // trying never creates a database
}

TEST_F(VinculoDatosTest, LaCadenaEscritaRellenaLosCamposYConservaLoDemas) {
    frmVinculoDatos& frm = Abrir(u"Nueva conexión"_s);
    Escribir(frm.txtCadena, QStringLiteral("DRIVER={PostgreSQL Unicode};SERVER=db1;PORT=5432;"
                                           "DATABASE=ventas;UID=ana;PWD=x;SSLmode=require"));
    EXPECT_TRUE(frm.optControlador->isChecked());
    EXPECT_EQ(frm.cboControlador->currentText(), u"PostgreSQL Unicode"_s);
    EXPECT_EQ(frm.txtServidor->text(), u"db1"_s);
    EXPECT_EQ(frm.txtPuerto->text(), u"5432"_s);
    EXPECT_EQ(frm.txtBaseDatos->text(), u"ventas"_s);
    EXPECT_EQ(frm.txtUsuario->text(), u"ana"_s);
    EXPECT_EQ(frm.txtContrasena->text(), u"x"_s);
    EXPECT_EQ(frm.txtContrasena->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(frm.btnExaminar->isEnabled());

    // Editing a field rewrites only its key; a password with ";" is braced.
    Escribir(frm.txtUsuario, u"luis"_s);
    Escribir(frm.txtContrasena, u"a;b"_s);
    EXPECT_EQ(frm.Cadena(), QStringLiteral("DRIVER={PostgreSQL Unicode};SERVER=db1;PORT=5432;"
                                           "DATABASE=ventas;UID=luis;PWD={a;b};SSLmode=require;"));
    // An emptied field leaves the string.
    frm.txtPuerto->selectAll();
    QTest::keyClick(frm.txtPuerto, Qt::Key_Delete);
    EXPECT_FALSE(frm.Cadena().contains(u"PORT"_s));
}

TEST_F(VinculoDatosTest, AlEditarMuestraElOrigenDeDatosDeLaCadena) {
    frmVinculoDatos& frm = Abrir(u"Ventas"_s, u"DSN=ventas_dsn;UID=ana;"_s);
    EXPECT_EQ(frm.windowTitle(), u"Ventas"_s);
    EXPECT_TRUE(frm.optOrigen->isChecked());
    EXPECT_EQ(frm.cboOrigen->currentText(), u"ventas_dsn"_s);
    EXPECT_FALSE(frm.cboControlador->isEnabled());
    EXPECT_EQ(frm.txtUsuario->text(), u"ana"_s);
    EXPECT_EQ(frm.Cadena(), u"DSN=ventas_dsn;UID=ana;"_s);

    // Back to a driver: the DSN goes, the driver comes first.
    QTest::mouseClick(frm.optControlador, Qt::LeftButton);
    Elegir(frm.cboControlador, u"SQLite3"_s);
    EXPECT_EQ(frm.Cadena(), u"DRIVER={SQLite3};UID=ana;"_s);
}

} // namespace
