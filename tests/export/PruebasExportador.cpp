#include "DialogosGuion.h"
#include "RespuestaFormato.h"
#include "export/modArchivos.h"
#include "export/ui/CExportador.h"
#include <QFileInfo>
namespace {

using pruebas::ClicEnFormato;
using pruebas::CRespuestaFormato;
using pruebas::ListaFormatos;

class FormatoDialogoTest : public ::testing::Test {
protected:
    void SetUp() override {
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    }
    frmExportar dlg;
};

TEST_F(FormatoDialogoTest, EscapeYCerrarCuentanComoCancelar) {
    ClicEnFormato(dlg, 4);
    QTest::keyClick(ListaFormatos(dlg)->VistaVisible(), Qt::Key_Escape);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_FALSE(dlg.Aceptar());
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    dlg.close();
    EXPECT_FALSE(dlg.Aceptar());
}

class ExportadorTest : public ::testing::Test {
protected:
    void SetUp() override {
        lvw.AgregarColumna(u"Nombre"_s, 100);
        lvw.AgregarColumna(u"Tipo de dato"_s, 100);
        lvw.AgregarColumna(u"Nulos"_s, 60);
        lvw.AgregarElemento(u"Id"_s, 1, 1);
        lvw.EstablecerSubElemento(0, 1, u"integer"_s);
        lvw.EstablecerSubElemento(0, 2, u"No"_s);
        lvw.AgregarElemento(u"Nota, larga"_s, 1, 1); // no sub-items at all
        exportador.Conexion(u"cnx1"_s);
        exportador.TipoObjetos(u"Campos"_s);
    }
    static QString Ruta(const QString& strNombre) { return pruebas::RutaTemporal(strNombre); }

    CDialogosGuion guion;
    CListaVista lvw;
    CExportador exportador;
};

TEST_F(ExportadorTest, UnaListaVaciaSoloDiceQueNoHayDatos) {
    CListaVista vacia;
    vacia.AgregarColumna(u"Nombre"_s, 100);
    CRespuestaFormato respuesta(-1);
    exportador.ExportarListView(vacia);
    QApplication::processEvents();
    EXPECT_FALSE(respuesta.booVisto);
    ASSERT_EQ(guion.mensajes.size(), 1u);
    EXPECT_EQ(guion.mensajes[0].strTexto, u"No hay datos para exportar"_s);
    EXPECT_EQ(guion.mensajes[0].intEstilo, Estilo::Critico);
    EXPECT_EQ(guion.mensajes[0].strTitulo, u"Error"_s);
}

TEST_F(ExportadorTest, CsvConSuFiltroYUnValorPorTitulo) {
    const QString strRuta = Ruta(u"exportador.csv"_s);
    guion.rutas = {strRuta};
    guion.respuestas = {Respuesta::Si};
    CRespuestaFormato respuesta(4);
    exportador.ExportarListView(lvw);
    EXPECT_EQ(guion.filtrosGuardar, QStringList{FiltroArchivos(4)});
    EXPECT_EQ(guion.extensionesGuardar, QStringList{u"csv"_s});
    QFile archivo(strRuta);
    ASSERT_TRUE(archivo.open(QIODevice::ReadOnly));
    EXPECT_EQ(archivo.readAll(),
              QByteArray("Nombre,Tipo de dato,Nulos\r\nId,integer,No\r\n\"Nota, larga\",,"));
    ASSERT_EQ(guion.mensajes.size(), 1u);
    EXPECT_TRUE(guion.mensajes[0].strTexto.startsWith(u"Archivo guardado en "_s + strRuta));
    EXPECT_EQ(guion.abiertos, QStringList{strRuta});
}

TEST_F(ExportadorTest, UnFalloAlGuardarSeMuestraUnaVezYNadaMas) {
    const QString strRuta = Ruta(u"no-existe/datos.txt"_s);
    guion.rutas = {strRuta};
    CRespuestaFormato respuesta(3);
    exportador.ExportarListView(lvw);
    ASSERT_EQ(guion.mensajes.size(), 1u);
    EXPECT_EQ(guion.mensajes[0].intEstilo, Estilo::Critico);
    EXPECT_TRUE(guion.mensajes[0].strTexto.contains(strRuta));
    EXPECT_FALSE(QFileInfo::exists(strRuta));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
