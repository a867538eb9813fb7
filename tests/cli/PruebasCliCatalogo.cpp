// verondal-cli catalogo: each rowset printed as the layer delivers it, TAB-separated.
#include "Aplicacion.h"

#include <QFileInfo>

using namespace pruebas;

namespace {

class CliCatalogoTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_Config = ConfiguracionDePrueba(Configuracion());
        m_Carpeta = QFileInfo(m_Config).path();
    }

    CSalidaCli Ejecutar(const QStringList& args) {
        return EjecutarCli(QStringList{u"--config"_s, m_Config} + args);
    }

    QString Agregar(const QString& strTitulo, const QString& strCadena) {
        const CSalidaCli s = Ejecutar({u"agregar"_s, strTitulo, strCadena});
        EXPECT_EQ(s.intEstado, 0) << s.Errores().toStdString();
        return s.Lineas().value(0);
    }

    QString m_Carpeta;
    QString m_Config;
};

} // namespace

TEST_F(CliCatalogoTest, ImprimeCadaConsultaConSuCabeceraUnaFilaPorLineaYNulosVacios) {
    const QString id = Agregar(u"Tienda"_s, CrearBaseSQLite(m_Carpeta + u"/tienda.sqlite"_s,
                                                            Fixture(u"catalogo_sqlite.sql"_s)));
    const CSalidaCli tablas = Ejecutar({u"catalogo"_s, id, u"tablas"_s});
    EXPECT_EQ(tablas.intEstado, 0);
    EXPECT_EQ(
        tablas.Lineas().mid(0, 3),
        QStringList({"TABLE_CATALOG\tTABLE_SCHEMA\tTABLE_NAME\tTABLE_TYPE\tDESCRIPTION\tDATE_"
                     "CREATED\tDATE_MODIFIED",
                     "\t\tclientes\tTABLE\t\t\t", "\t\tsqlite_sequence\tSYSTEM TABLE\t\t\t"}));
    const CSalidaCli campos = Ejecutar({u"catalogo"_s, id, u"campos"_s, u"a_b"_s});
    EXPECT_EQ(campos.Lineas().value(1), u"\t\ta_b\tx\t1\tfalse\t\ttrue\t3\t\t9\t\t\tINTEGER"_s);
    const CSalidaCli registros = Ejecutar({u"catalogo"_s, id, u"registros"_s, u"o'brien"_s});
    EXPECT_EQ(
        registros.Lineas(),
        QStringList({"TABLE_CATALOG\tTABLE_SCHEMA\tTABLE_NAME\tCARDINALITY", "\t\to'brien\t0"}));
    const CSalidaCli tipo = Ejecutar({u"catalogo"_s, id, u"tipo"_s, u"3"_s});
    EXPECT_EQ(tipo.Lineas(), QStringList({"integer"}));
    for (const char* consulta :
         {"procedimientos", "relaciones", "tipos", "palabras", "literales", "propiedades"}) {
        const CSalidaCli s = Ejecutar({u"catalogo"_s, id, QString::fromLatin1(consulta)});
        EXPECT_EQ(s.intEstado, 0) << consulta;
        EXPECT_FALSE(s.Lineas().value(0).isEmpty()) << consulta;
    }
    const CSalidaCli indices = Ejecutar({u"catalogo"_s, id, u"indices"_s, u"lineas"_s});
    EXPECT_EQ(indices.Lineas().size(), 3);
}

TEST_F(CliCatalogoTest, UnaConexionQueNoAbreImprimeSuErrorYSaleConDos) {
    const QString ruta = m_Carpeta + u"/no-existe.sqlite"_s;
    const QString id = Agregar(u"Perdida"_s, CadenaSQLite(ruta));
    const CSalidaCli s = Ejecutar({u"catalogo"_s, id, u"tablas"_s});
    EXPECT_EQ(s.intEstado, 2);
    EXPECT_EQ(s.Lineas(), QStringList({QString()}));
    EXPECT_EQ(s.Errores(), u"El archivo de base de datos «%1» no existe\n"_s.arg(ruta));
    EXPECT_FALSE(QFile::exists(ruta));
}

TEST_F(CliCatalogoTest, UnaConsultaDesconocidaOSinTablaEsUnErrorDeUso) {
    const QString id = Agregar(u"Tienda"_s, CrearBaseSQLite(m_Carpeta + u"/t.sqlite"_s, QString()));
    for (const QStringList& args :
         {QStringList{"catalogo", id, "vistas"}, QStringList{"catalogo", id, "campos"},
          QStringList{"catalogo", id, "tipo", "x"}, QStringList{"catalogo", "cnx99", "tablas"}}) {
        const CSalidaCli s = Ejecutar(args);
        EXPECT_EQ(s.intEstado, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(s.Errores().startsWith(u"verondal-cli: "_s)) << s.Errores().toStdString();
    }
}
