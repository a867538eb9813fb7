#include "DialogosGuion.h"
#include "Entorno.h"
#include "RespuestaFormato.h"
#include "controles/CListaVista.h"
#include "export/modArchivos.h"
#include "export/ui/CExportador.h"
#include "export/ui/frmExportar.h"

#include <QApplication>
#include <QFileInfo>
#include <QTest>

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
        lvw.AgregarColumna(QStringLiteral("Nombre"), 100);
        lvw.AgregarColumna(QStringLiteral("Tipo de dato"), 100);
        lvw.AgregarColumna(QStringLiteral("Nulos"), 60);
        lvw.AgregarElemento(QStringLiteral("Id"), 1, 1);
        lvw.EstablecerSubElemento(0, 1, QStringLiteral("integer"));
        lvw.EstablecerSubElemento(0, 2, QStringLiteral("No"));
        lvw.AgregarElemento(QStringLiteral("Nota, larga"), 1, 1); // no sub-items at all
        exportador.Conexion(QStringLiteral("cnx1"));
        exportador.TipoObjetos(QStringLiteral("Campos"));
    }
    static QString Ruta(const QString& strNombre) { return pruebas::RutaTemporal(strNombre); }

    CDialogosGuion guion;
    CListaVista lvw;
    CExportador exportador;
};

TEST_F(ExportadorTest, UnaListaVaciaSoloDiceQueNoHayDatos) {
    CListaVista vacia;
    vacia.AgregarColumna(QStringLiteral("Nombre"), 100);
    CRespuestaFormato respuesta(-1);
    exportador.ExportarListView(vacia);
    QApplication::processEvents();
    EXPECT_FALSE(respuesta.booVisto);
    ASSERT_EQ(guion.mensajes.size(), 1u);
    EXPECT_EQ(guion.mensajes[0].strTexto, QStringLiteral("No hay datos para exportar"));
    EXPECT_EQ(guion.mensajes[0].intEstilo, Estilo::Critico);
    EXPECT_EQ(guion.mensajes[0].strTitulo, QStringLiteral("Error"));
}

TEST_F(ExportadorTest, CsvConSuFiltroYUnValorPorTitulo) {
    const QString strRuta = Ruta(QStringLiteral("exportador.csv"));
    guion.rutas = {strRuta};
    guion.respuestas = {Respuesta::Si};
    CRespuestaFormato respuesta(4);
    exportador.ExportarListView(lvw);
    EXPECT_EQ(guion.filtrosGuardar, QStringList{FiltroArchivos(4)});
    EXPECT_EQ(guion.extensionesGuardar, QStringList{QStringLiteral("csv")});
    QFile archivo(strRuta);
    ASSERT_TRUE(archivo.open(QIODevice::ReadOnly));
    EXPECT_EQ(archivo.readAll(),
              QByteArray("Nombre,Tipo de dato,Nulos\r\nId,integer,No\r\n\"Nota, larga\",,"));
    ASSERT_EQ(guion.mensajes.size(), 1u);
    EXPECT_TRUE(
        guion.mensajes[0].strTexto.startsWith(QStringLiteral("Archivo guardado en ") + strRuta));
    EXPECT_EQ(guion.abiertos, QStringList{strRuta});
}

TEST_F(ExportadorTest, UnFalloAlGuardarSeMuestraUnaVezYNadaMas) {
    const QString strRuta = Ruta(QStringLiteral("no-existe/datos.txt"));
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
