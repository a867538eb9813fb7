// verondal-cli comparar, run as a script would run it: exit statuses, output bytes, Ctrl+C.
#include "Comparacion.h"
#include "Entorno.h"

#include <QDomDocument>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

namespace {

struct CSalida {
    int intEstado = -1;
    QByteArray salida, errores;
};

CSalida Ejecutar(const QStringList& argumentos) {
    QProcess p;
    p.start(QStringLiteral(VERONDAL_BIN "/verondal-cli"), argumentos);
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

const QByteArray kCabecera = QStringLiteral("Objeto comparado\tTipo de objeto\tConexión\t"
                                            "Resultado de la comparación")
                                 .toUtf8();

QByteArray Linea(const CFilaResultado& f) {
    return "\n" + QStringList({f.strTexto, f.strTipo, f.strConexion, f.strMensaje})
                      .join(QLatin1Char('\t'))
                      .toUtf8();
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
    static QString s_strA, s_strB;
};
QString ComparadorCliTest::s_strA, ComparadorCliTest::s_strB;

TEST_F(ComparadorCliTest, UnaBaseConsigoMismaSaleConCeroYLasFilasTodos) {
    const CSalida s = Ejecutar({"comparar", "--cadena1", s_strA, "--cadena2", s_strA});
    EXPECT_EQ(s.intEstado, 0) << s.errores.constData();
    EXPECT_EQ(s.salida, kCabecera + Linea(FilaSinDiferencias("Tablas")) +
                            Linea(FilaSinDiferencias("Vistas")) +
                            Linea(FilaSinDiferencias("Procedimientos")) + "\n");
    EXPECT_TRUE(s.errores.isEmpty()); // no terminal: no progress
}

TEST_F(ComparadorCliTest, DiferenciasSalenConUnoYCadaLadoLlevaElNombreDeSuBase) {
    const CSalida s = Ejecutar({"comparar", "--cadena1", s_strA, "--cadena2", s_strB, "--tablas"});
    EXPECT_EQ(s.intEstado, 1) << s.errores.constData();
    EXPECT_TRUE(s.salida.startsWith(kCabecera + "\n"));
    EXPECT_TRUE(s.salida.contains(Linea(FilaFalta("solo_a", "Tabla", Ruta(s_strA), Ruta(s_strB)))));
    EXPECT_FALSE(s.salida.contains("\tVista\t"));
    EXPECT_FALSE(s.salida.contains("\r"));
    EXPECT_TRUE(s.salida.endsWith("\n"));
}

TEST_F(ComparadorCliTest, SalidaAUnArchivoNoEscribeNadaEnPantalla) {
    const QString ruta = pruebas::CarpetaTemporal() + "/resultado.txt";
    const CSalida s =
        Ejecutar({"comparar", "--salida", ruta, "--cadena1", s_strA, "--cadena2", s_strB});
    EXPECT_EQ(s.intEstado, 1);
    EXPECT_TRUE(s.salida.isEmpty());
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().startsWith(kCabecera + "\r\n"));
}

TEST_F(ComparadorCliTest, ConexionQueNoAbreSaleConDos) {
    const QString mala = pruebas::CadenaSQLite(pruebas::CarpetaTemporal() + "/no/hay/base.db");
    const CSalida s = Ejecutar({"comparar", "--cadena1", s_strA, "--cadena2", mala});
    EXPECT_EQ(s.intEstado, 2);
    EXPECT_TRUE(s.salida.contains("\n(todos)\t\t"));
    EXPECT_TRUE(s.salida.contains("\tNo se puede abrir la conexión: "));
    EXPECT_FALSE(s.errores.isEmpty());
}

TEST_F(ComparadorCliTest, UsoIncorrectoSaleConDos) {
    for (const QStringList& args :
         {QStringList{"comparar", "--cadena1", s_strA}, QStringList{"comparar", "x", "y", "z"},
          QStringList{"comparar", "--cadena1", s_strA, "--cadena2", s_strB, "--nada"},
          QStringList{"comparar", "--cadena1", s_strA, "--cadena2", s_strB, "--formato", "pdf"},
          QStringList{"comparar", "--cadena1", s_strA, "--cadena2"}}) {
        const CSalida s = Ejecutar(args);
        EXPECT_EQ(s.intEstado, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(s.salida.isEmpty());
        EXPECT_TRUE(s.errores.startsWith("verondal-cli: "));
    }
}

TEST_F(ComparadorCliTest, CtrlCCancelaComoElBotonDeLaVentana) {
    // A catalogue big enough that the comparison is still running when the signal arrives.
    QString sql;
    for (int i = 0; i < 6000; ++i)
        sql += QStringLiteral("CREATE TABLE t%1 (a INTEGER, b VARCHAR(10), c REAL);\n").arg(i);
    const QString ruta = pruebas::CarpetaTemporal() + "/grande.db";
    ASSERT_FALSE(pruebas::CrearBaseSQLite(ruta, QString()).isEmpty());
    ASSERT_TRUE(pruebas::EjecutarSQLite(ruta, "BEGIN;\n" + sql + "COMMIT;\n"));
    const QString cadena = pruebas::CadenaSQLite(ruta);

    // The signal must come after the handler is set and before the end: a signal that came
    // too early (the program still starting) is tried again later.
    QProcess p;
    for (int intEspera : {300, 800, 2000}) {
        p.start(QStringLiteral(VERONDAL_BIN "/verondal-cli"),
                {"comparar", "--cadena1", cadena, "--cadena2", cadena});
        ASSERT_TRUE(p.waitForStarted());
        QThread::msleep(static_cast<unsigned long>(intEspera));
        ::kill(static_cast<pid_t>(p.processId()), SIGINT);
        ASSERT_TRUE(p.waitForFinished(120000));
        if (p.exitStatus() == QProcess::NormalExit)
            break;
    }
    ASSERT_EQ(p.exitStatus(), QProcess::NormalExit);
    const QByteArray salida = p.readAllStandardOutput();
    if (p.exitCode() == 0)
        GTEST_SKIP() << "la comparación terminó antes de la señal";
    EXPECT_EQ(p.exitCode(), 2); // nothing found, but nothing vouched for either
    // Stopped while connecting, in the tables phase or in the views phase: the rows so far.
    const QByteArray tablas = kCabecera + Linea(FilaSinDiferencias("Tablas"));
    EXPECT_TRUE(salida == kCabecera || salida == tablas ||
                salida == tablas + Linea(FilaSinDiferencias("Vistas")))
        << salida.constData();
}

TEST_F(ComparadorCliTest, LosDemasFormatosLlevanLasMismasFilas) {
    const QStringList lados{"--cadena1", s_strA, "--cadena2", s_strA};
    const CSalida csv = Ejecutar(QStringList{"comparar", "--formato", "csv"} + lados);
    EXPECT_EQ(csv.intEstado, 0);
    EXPECT_EQ(csv.salida, "Objeto comparado,Tipo de objeto,Conexión,Resultado de la comparación"
                          "\n(todos),Tablas,,No se han encontrado diferencias"
                          "\n(todos),Vistas,,No se han encontrado diferencias"
                          "\n(todos),Procedimientos,,No se han encontrado diferencias\n");

    const CSalida xml = Ejecutar(QStringList{"comparar", "--formato", "xml", "--tablas"} + lados);
    EXPECT_EQ(xml.intEstado, 0);
    QDomDocument documento;
    ASSERT_TRUE(documento.setContent(xml.salida));
    const QDomElement raiz = documento.documentElement();
    EXPECT_EQ(raiz.tagName(), "Resultados");
    const QDomElement registro = raiz.firstChildElement("Registro");
    EXPECT_EQ(registro.firstChildElement("Objeto_comparado").text(), "(todos)");
    EXPECT_EQ(registro.firstChildElement("Tipo_de_objeto").text(), "Tablas");
    EXPECT_TRUE(registro.nextSiblingElement("Registro").isNull());

    for (const QString formato : {"xlsx", "docx"}) {
        EXPECT_EQ(Ejecutar(QStringList{"comparar", "--formato", formato} + lados).intEstado, 2)
            << "sin --salida";
        const QString ruta = pruebas::CarpetaTemporal() + "/resultados." + formato;
        const CSalida s =
            Ejecutar(QStringList{"comparar", "--formato", formato, "--salida", ruta} + lados);
        EXPECT_EQ(s.intEstado, 0) << s.errores.constData();
        QFile f(ruta);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << formato.toStdString();
        EXPECT_TRUE(f.read(2) == "PK"); // a zip package
    }
}

// The sample of scripts/run, named by title in a configuration of its own.
TEST_F(ComparadorCliTest, LasBasesDeMuestraPorTituloDanDiferenciasYConsigoMismasNinguna) {
    const QString carpeta = pruebas::CarpetaTemporal();
    const QString config = carpeta + "/Verondal.xml";
    QFile xml(config);
    ASSERT_TRUE(xml.open(QIODevice::WriteOnly));
    xml.write("<?xml version=\"1.0\"?>\n<Verondal><Conexiones></Conexiones></Verondal>\n");
    xml.close();
    for (const QString anio : {"2025", "2026"}) {
        const QString ruta = carpeta + "/ventas" + anio + ".db";
        ASSERT_FALSE(pruebas::CrearBaseSQLite(
                         ruta, pruebas::Fixture("../../app/muestra/ventas" + anio + ".sql"))
                         .isEmpty());
        ASSERT_EQ(
            Ejecutar({"--config", config, "agregar", "Ventas " + anio, pruebas::CadenaSQLite(ruta)})
                .intEstado,
            0);
    }
    const CSalida distintas =
        Ejecutar({"comparar", "Ventas 2025", "Ventas 2026", "--config", config});
    EXPECT_EQ(distintas.intEstado, 1) << distintas.errores.constData();
    EXPECT_TRUE(distintas.salida.contains(
        Linea(FilaFalta("proveedores", "Tabla", "Ventas 2025", "Ventas 2026"))));
    EXPECT_TRUE(distintas.salida.contains(
        Linea(FilaFalta("v_ventas_mensuales", "Vista", "Ventas 2026", "Ventas 2025"))));
    EXPECT_TRUE(distintas.salida.contains(Linea(
        FilaCampo("ciudad", "Ventas 2025",
                  "El valor por defecto del campo «ciudad» de la tabla «clientes» es «Madrid» y "
                  "en la conexión «Ventas 2026» es «Sevilla»"))));
    // By Id as well as by title.
    const CSalida iguales = Ejecutar({"--config", config, "comparar", "cnx1", "Ventas 2025"});
    EXPECT_EQ(iguales.intEstado, 0) << iguales.errores.constData();
    EXPECT_EQ(Ejecutar({"--config", config, "comparar", "cnx1", "Ventas 1999"}).intEstado, 2);
}

} // namespace

// What a pipeline relies on: json that a parser reads back, the string from standard input
// (never in the process list), and status 2 when the results cannot be written.
TEST_F(ComparadorCliTest, JsonEntradaEstandarYSalidaQueNoSePuedeEscribir) {
    QProcess p;
    p.start(QStringLiteral(VERONDAL_BIN "/verondal-cli"),
            {"comparar", "--cadena1", s_strA, "--cadena2", "-", "--tablas", "--formato", "json"});
    p.write(s_strB.toUtf8() + "\n");
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(120000));
    EXPECT_EQ(p.exitCode(), 1) << p.readAllStandardError().constData();
    const QJsonObject raiz = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    const QJsonArray filas = raiz["filas"].toArray();
    ASSERT_FALSE(filas.isEmpty());
    bool booFalta = false;
    for (const QJsonValue& v : filas) {
        const QJsonObject f = v.toObject();
        if (f["objeto"] == "solo_a") {
            booFalta = true;
            EXPECT_EQ(f["icono"], "falta");
            EXPECT_EQ(f["diferencia"], "objeto");
            EXPECT_EQ(f["tabla"], "solo_a");
            EXPECT_EQ(f["conexion"], Ruta(s_strA));
        }
    }
    EXPECT_TRUE(booFalta);
    const QJsonObject resumen = raiz["resumen"].toObject();
    EXPECT_EQ(resumen["diferencias"].toInt(), filas.size());
    EXPECT_EQ(resumen["fases"].toObject()["Tablas"].toInt(), filas.size());

    const QString ruta = pruebas::CarpetaTemporal() + "/no/existe/resultados.txt";
    for (const QString formato : {"txt", "json"}) {
        const CSalida s = Ejecutar({"comparar", "--cadena1", s_strA, "--cadena2", s_strB,
                                    "--formato", formato, "--salida", ruta});
        EXPECT_EQ(s.intEstado, 2) << formato.toStdString();
        EXPECT_TRUE(s.errores.contains(ruta.toUtf8()));
    }
}
