// verondal-cli catalogo: each rowset printed as the layer delivers it, TAB-separated.
#include "Aplicacion.h"

#include <QFileInfo>

using namespace pruebas;

namespace {

struct CSalida {
    int codigo;
    QStringList lineas;
    QString error;
};

class CliCatalogoTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_Config = ConfiguracionDePrueba(Configuracion());
        m_Carpeta = QFileInfo(m_Config).path();
    }

    CSalida Ejecutar(const QStringList& args) {
        const CSalidaCli s = EjecutarCli(QStringList{QStringLiteral("--config"), m_Config} + args);
        QString salida = s.Salida();
        if (salida.endsWith(QLatin1Char('\n')))
            salida.chop(1);
        return {s.intEstado, salida.split(QLatin1Char('\n')), s.Errores()};
    }

    QString Agregar(const QString& strTitulo, const QString& strCadena) {
        const CSalida s = Ejecutar({QStringLiteral("agregar"), strTitulo, strCadena});
        EXPECT_EQ(s.codigo, 0) << s.error.toStdString();
        return s.lineas.value(0);
    }

    QString m_Carpeta;
    QString m_Config;
};

} // namespace

TEST_F(CliCatalogoTest, ImprimeCadaConsultaConSuCabeceraUnaFilaPorLineaYNulosVacios) {
    const QString id = Agregar(QStringLiteral("Tienda"),
                               CrearBaseSQLite(m_Carpeta + QStringLiteral("/tienda.sqlite"),
                                               Fixture(QStringLiteral("catalogo_sqlite.sql"))));
    const CSalida tablas = Ejecutar({QStringLiteral("catalogo"), id, QStringLiteral("tablas")});
    EXPECT_EQ(tablas.codigo, 0);
    EXPECT_EQ(
        tablas.lineas.mid(0, 3),
        QStringList({"TABLE_CATALOG\tTABLE_SCHEMA\tTABLE_NAME\tTABLE_TYPE\tDESCRIPTION\tDATE_"
                     "CREATED\tDATE_MODIFIED",
                     "\t\tclientes\tTABLE\t\t\t", "\t\tsqlite_sequence\tSYSTEM TABLE\t\t\t"}));
    const CSalida campos =
        Ejecutar({QStringLiteral("catalogo"), id, QStringLiteral("campos"), QStringLiteral("a_b")});
    EXPECT_EQ(campos.lineas.value(1),
              QStringLiteral("\t\ta_b\tx\t1\tfalse\t\ttrue\t3\t\t9\t\t\tINTEGER"));
    const CSalida registros = Ejecutar(
        {QStringLiteral("catalogo"), id, QStringLiteral("registros"), QStringLiteral("o'brien")});
    EXPECT_EQ(registros.lineas, QStringList({"TABLE_CATALOG\tTABLE_SCHEMA\tTABLE_NAME\tCARDINALITY",
                                             "\t\to'brien\t0"}));
    const CSalida tipo =
        Ejecutar({QStringLiteral("catalogo"), id, QStringLiteral("tipo"), QStringLiteral("3")});
    EXPECT_EQ(tipo.lineas, QStringList({"integer"}));
    for (const char* consulta :
         {"procedimientos", "relaciones", "tipos", "palabras", "literales", "propiedades"}) {
        const CSalida s = Ejecutar({QStringLiteral("catalogo"), id, QString::fromLatin1(consulta)});
        EXPECT_EQ(s.codigo, 0) << consulta;
        EXPECT_FALSE(s.lineas.value(0).isEmpty()) << consulta;
    }
    const CSalida indices = Ejecutar(
        {QStringLiteral("catalogo"), id, QStringLiteral("indices"), QStringLiteral("lineas")});
    EXPECT_EQ(indices.lineas.size(), 3);
}

TEST_F(CliCatalogoTest, UnaConexionQueNoAbreImprimeSuErrorYSaleConDos) {
    const QString ruta = m_Carpeta + QStringLiteral("/no-existe.sqlite");
    const QString id = Agregar(QStringLiteral("Perdida"), CadenaSQLite(ruta));
    const CSalida s = Ejecutar({QStringLiteral("catalogo"), id, QStringLiteral("tablas")});
    EXPECT_EQ(s.codigo, 2);
    EXPECT_EQ(s.lineas, QStringList({QString()}));
    EXPECT_EQ(s.error, QStringLiteral("El archivo de base de datos «%1» no existe\n").arg(ruta));
    EXPECT_FALSE(QFile::exists(ruta));
}

TEST_F(CliCatalogoTest, UnaConsultaDesconocidaOSinTablaEsUnErrorDeUso) {
    const QString id = Agregar(QStringLiteral("Tienda"),
                               CrearBaseSQLite(m_Carpeta + QStringLiteral("/t.sqlite"), QString()));
    for (const QStringList& args :
         {QStringList{"catalogo", id, "vistas"}, QStringList{"catalogo", id, "campos"},
          QStringList{"catalogo", id, "tipo", "x"}, QStringList{"catalogo", "cnx99", "tablas"}}) {
        const CSalida s = Ejecutar(args);
        EXPECT_EQ(s.codigo, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(s.error.startsWith(QStringLiteral("verondal-cli: "))) << s.error.toStdString();
    }
}
