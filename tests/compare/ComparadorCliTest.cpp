// verondal-cli comparar, run as a script would run it: exit statuses, output bytes, Ctrl+C.
#include "Aplicacion.h"
#include "Comparacion.h"

#include <QDomDocument>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <csignal>
namespace {

using pruebas::CSalidaCli;
using pruebas::EjecutarCli;

const QByteArray kCabecera = QStringLiteral("Objeto comparado\tTipo de objeto\tConexión\t"
                                            "Resultado de la comparación")
                                 .toUtf8();

QByteArray Linea(const CFilaResultado& f) {
    return "\n" +
           QStringList({f.strTexto, f.strTipo, f.strConexion, f.strMensaje}).join(u'\t').toUtf8();
}

QString Ruta(const QString& strCadena) {
    return strCadena.section('=', 2).chopped(1);
}

class ComparadorCliTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_strA = BaseSQLite("cli_a", {"comparar_a.sql"});
        s_strB = BaseSQLite("cli_b", {"comparar_b.sql"});
    }
    void SetUp() override {
        ASSERT_FALSE(s_strA.isEmpty() || s_strB.isEmpty()) << "no se pudieron crear las bases";
    }
    static QString s_strA, s_strB;
};
QString ComparadorCliTest::s_strA, ComparadorCliTest::s_strB;

TEST_F(ComparadorCliTest, DiferenciasSalenConUnoEnPantallaOEnUnArchivoConElNombreDeCadaBase) {
    const CSalidaCli s =
        EjecutarCli({"comparar", "--cadena1", s_strA, "--cadena2", s_strB, "--tablas"});
    EXPECT_EQ(s.intEstado, 1) << s.errores.constData();
    EXPECT_TRUE(s.salida.startsWith(kCabecera + "\n"));
    EXPECT_TRUE(s.salida.contains(Linea(FilaFalta("solo_a", "Tabla", Ruta(s_strA), Ruta(s_strB)))));
    EXPECT_FALSE(s.salida.contains("\tVista\t"));
    EXPECT_FALSE(s.salida.contains("\r"));
    EXPECT_TRUE(s.salida.endsWith("\n"));
    // To a file, nothing on the screen and the lines end as the file format's.
    const QString ruta = pruebas::CarpetaTemporal() + "/resultado.txt";
    const CSalidaCli a =
        EjecutarCli({"comparar", "--salida", ruta, "--cadena1", s_strA, "--cadena2", s_strB});
    EXPECT_EQ(a.intEstado, 1);
    EXPECT_TRUE(a.salida.isEmpty());
    EXPECT_TRUE(pruebas::Leer(ruta).startsWith(kCabecera + "\r\n"));
}

TEST_F(ComparadorCliTest, UsoIncorrectoOConexionQueNoAbreSalenConDos) {
    const QString mala = pruebas::CadenaSQLite(pruebas::CarpetaTemporal() + "/no/hay/base.db");
    const CSalidaCli s = EjecutarCli({"comparar", "--cadena1", s_strA, "--cadena2", mala});
    EXPECT_EQ(s.intEstado, 2);
    EXPECT_TRUE(s.salida.contains("\n(todos)\t\t"));
    EXPECT_TRUE(s.salida.contains("\tNo se puede abrir la conexión: "));
    EXPECT_FALSE(s.errores.isEmpty());

    for (const QStringList& args :
         {QStringList{"comparar", "--cadena1", s_strA}, QStringList{"comparar", "x", "y", "z"},
          QStringList{"comparar", "--cadena1", s_strA, "--cadena2", s_strB, "--nada"},
          QStringList{"comparar", "--cadena1", s_strA, "--cadena2", s_strB, "--formato", "pdf"},
          QStringList{"comparar", "--cadena1", s_strA, "--cadena2"}}) {
        const CSalidaCli uso = EjecutarCli(args);
        EXPECT_EQ(uso.intEstado, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(uso.salida.isEmpty());
        EXPECT_TRUE(uso.errores.startsWith("verondal-cli: "));
    }
}

TEST_F(ComparadorCliTest, LosDemasFormatosLlevanLasMismasFilas) {
    const QStringList lados{"--cadena1", s_strA, "--cadena2", s_strA};
    const CSalidaCli csv = EjecutarCli(QStringList{"comparar", "--formato", "csv"} + lados);
    EXPECT_EQ(csv.intEstado, 0);
    EXPECT_EQ(csv.salida, "Objeto comparado,Tipo de objeto,Conexión,Resultado de la comparación"
                          "\n(todos),Tablas,,No se han encontrado diferencias"
                          "\n(todos),Vistas,,No se han encontrado diferencias"
                          "\n(todos),Procedimientos,,No se han encontrado diferencias\n");

    const CSalidaCli xml =
        EjecutarCli(QStringList{"comparar", "--formato", "xml", "--tablas"} + lados);
    EXPECT_EQ(xml.intEstado, 0);
    QDomDocument documento;
    ASSERT_TRUE(documento.setContent(xml.salida));
    // The writer's own rules are the export room's; here, the one row of the tables phase.
    EXPECT_EQ(documento.documentElement().tagName(), "Resultados");
    EXPECT_EQ(documento.elementsByTagName("Tipo_de_objeto").size(), 1);

    for (const QString formato : {"xlsx", "docx"}) {
        EXPECT_EQ(EjecutarCli(QStringList{"comparar", "--formato", formato} + lados).intEstado, 2)
            << "sin --salida";
        const QString ruta = pruebas::CarpetaTemporal() + "/resultados." + formato;
        const CSalidaCli s =
            EjecutarCli(QStringList{"comparar", "--formato", formato, "--salida", ruta} + lados);
        EXPECT_EQ(s.intEstado, 0) << s.errores.constData();
        QFile f(ruta);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << formato.toStdString();
        EXPECT_TRUE(f.read(2) == "PK"); // a zip package
    }
}

// The sample of scripts/run, named by title in a configuration of its own.
TEST_F(ComparadorCliTest, LasBasesDeMuestraPorTituloDanDiferenciasYConsigoMismasNinguna) {
    const QString config = pruebas::ConfiguracionDePrueba(pruebas::Configuracion());
    for (const QString anio : {"2025", "2026"}) {
        const QString cadena = pruebas::BaseMuestra("ventas" + anio);
        ASSERT_FALSE(cadena.isEmpty());
        // 2026's string comes on standard input, as a script keeps a password out of ps.
        const bool booEntrada = anio == "2026";
        ASSERT_EQ(EjecutarCli(
                      {"--config", config, "agregar", "Ventas " + anio, booEntrada ? "-" : cadena},
                      booEntrada ? cadena.toUtf8() + "\n" : QByteArray())
                      .intEstado,
                  0);
    }
    const CSalidaCli distintas =
        EjecutarCli({"comparar", "Ventas 2025", "Ventas 2026", "--config", config});
    EXPECT_EQ(distintas.intEstado, 1) << distintas.errores.constData();
    EXPECT_TRUE(distintas.salida.contains(
        Linea(FilaFalta("proveedores", "Tabla", "Ventas 2025", "Ventas 2026"))));
    EXPECT_TRUE(distintas.salida.contains(
        Linea(FilaFalta("v_ventas_mensuales", "Vista", "Ventas 2026", "Ventas 2025"))));
    EXPECT_TRUE(distintas.salida.contains(Linea(
        FilaCampo("ciudad", "Ventas 2025",
                  "El valor por defecto del campo «ciudad» de la tabla «clientes» es «'Madrid'» y "
                  "en la conexión «Ventas 2026» es «'Sevilla'»"))));
    // By Id as well as by title.
    const CSalidaCli iguales = EjecutarCli({"--config", config, "comparar", "cnx1", "Ventas 2025"});
    EXPECT_EQ(iguales.intEstado, 0) << iguales.errores.constData();
    EXPECT_EQ(EjecutarCli({"--config", config, "comparar", "cnx1", "Ventas 1999"}).intEstado, 2);
}

// What a pipeline relies on: one LF-ended line per row, json a parser reads back with the same
// rows, the second string from standard input, and status 2 when the results cannot be written.
TEST_F(ComparadorCliTest, LineasJsonYSalidaQueNoSePuedeEscribir) {
    const CSalidaCli txt = EjecutarCli({"comparar", "--cadena1", s_strA, "--cadena2", s_strB});
    const CSalidaCli json = EjecutarCli(
        {"comparar", "--cadena1", s_strA, "--cadena2", "-", "--formato", "json"}, s_strB.toUtf8());
    EXPECT_EQ(json.intEstado, 1) << json.errores.constData();
    const QJsonObject raiz = QJsonDocument::fromJson(json.salida).object();
    const QJsonArray filas = raiz["filas"].toArray();
    const QList<QByteArray> lineas = txt.salida.split('\n');
    ASSERT_EQ(lineas.size(), filas.size() + 2); // the titles, the rows, nothing after the last LF
    EXPECT_TRUE(lineas.last().isEmpty());
    const auto solo = std::find_if(filas.begin(), filas.end(),
                                   [](const QJsonValue& v) { return v["objeto"] == "solo_a"; });
    ASSERT_NE(solo, filas.end());
    EXPECT_EQ(solo->toObject()["tabla"], "solo_a");
    EXPECT_EQ(solo->toObject()["icono"], "falta");
    EXPECT_EQ(solo->toObject()["diferencia"], "objeto");
    const QJsonObject resumen = raiz["resumen"].toObject();
    const auto lngIguales = std::count_if(filas.begin(), filas.end(), [](const QJsonValue& v) {
        return v["icono"] == "sin diferencias";
    });
    EXPECT_EQ(resumen["diferencias"].toInt(), filas.size() - lngIguales);
    EXPECT_EQ(resumen["fases"]["Procedimientos"], 0);

    const QString ruta = pruebas::CarpetaTemporal() + "/no/existe/resultados.txt";
    for (const QString formato : {"txt", "json"}) {
        const CSalidaCli s = EjecutarCli({"comparar", "--cadena1", s_strA, "--cadena2", s_strB,
                                          "--formato", formato, "--salida", ruta});
        EXPECT_EQ(s.intEstado, 2) << formato.toStdString();
        EXPECT_TRUE(s.errores.contains(ruta.toUtf8()));
    }
}

// The two optional phases: only they run, each with its own count.
TEST_F(ComparadorCliTest, IndicesYRelacionesSoloConSusOpciones) {
    const CSalidaCli s =
        EjecutarCli({"comparar", "--cadena1", BaseSQLite("cli_claves_a", {"comparar_claves_a.sql"}),
                     "--cadena2", BaseSQLite("cli_claves_b", {"comparar_claves_b.sql"}),
                     "--indices", "--relaciones", "--formato", "json"});
    EXPECT_EQ(s.intEstado, 1) << s.errores.constData();
    const QJsonObject raiz = QJsonDocument::fromJson(s.salida).object();
    EXPECT_EQ(raiz["resumen"]["fases"].toObject(),
              (QJsonObject{{"Índices", 8}, {"Relaciones", 3}}));
    const QJsonArray filas = raiz["filas"].toArray();
    EXPECT_TRUE(std::any_of(filas.begin(), filas.end(), [](const QJsonValue& v) {
        return v["diferencia"] == "regla ON DELETE" && v["tabla"] == "socios" &&
               v["tipo"] == "Relación" && v["icono"] == "difiere";
    }));
}

} // namespace
