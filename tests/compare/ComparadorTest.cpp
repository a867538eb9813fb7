// The comparison engine on real SQLite files and PostgreSQL databases, through the real drivers.
#include "Aplicacion.h"
#include "Comparacion.h"

#include "catalog/CRecordset.h"

#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <optional>

namespace {

const QString kCompras = u"Compras"_s;
const QString kVentas = u"Ventas"_s;

// One column's value as the columns rowset gives it.
QVariant ValorCampo(CConexion& c, const QString& strTabla, const QString& strCampo,
                    const QString& strColumna) {
    PRecordset rs = c.Campos(strTabla);
    if (rs && rs->BuscarPrimero(u"COLUMN_NAME"_s, strCampo))
        return rs->Valor(strColumna);
    return {};
}

QString DescripcionTipo(CConexion& c, const QString& strTabla, const QString& strCampo) {
    return c.DescripcionTipoDatos(ValorCampo(c, strTabla, strCampo, u"DATA_TYPE"_s).toInt());
}

// Each object named has exactly one row: the one saying it is missing on the other side.
struct CFalta {
    QString strNombre, strTipo, strEste, strOtro;
};
void EsperarSoloFaltas(const CResultadosGrabados& r, const std::vector<CFalta>& faltas) {
    for (const CFalta& f : faltas)
        EXPECT_EQ(r.FilasDe(f.strNombre), std::vector<CFilaResultado>{FilaFalta(
                                              f.strNombre, f.strTipo, f.strEste, f.strOtro)})
            << f.strNombre.toStdString();
}

// Two sides built from fixtures, opened by the engine itself.
class ComparadorTest : public ::testing::Test {
protected:
    void Lados(const QString& strCadena1, const QString& strCadena2) {
        ASSERT_FALSE(strCadena1.isEmpty());
        ASSERT_FALSE(strCadena2.isEmpty());
        c1 = NuevaConexion(kCompras, strCadena1);
        c2 = NuevaConexion(kVentas, strCadena2);
    }
    void LadosSQLite(const QStringList& archivos1, const QStringList& archivos2) {
        const QString nombre =
            QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name());
        Lados(BaseSQLite(nombre + "_1", archivos1), BaseSQLite(nombre + "_2", archivos2));
    }
    void LadosDiferentes() {
        LadosSQLite({"comparar_a.sql", "comparar_sqlite_a.sql"},
                    {"comparar_b.sql", "comparar_sqlite_b.sql"});
    }

    // Every phase on, "cancel" pressed at the second yield that follows a tables status: the
    // comparison stops after intEstados table statuses, with the tables phase's one row.
    void CancelarEnLaSegundaCesionDeLasTablas(CComparador& comparador, qsizetype intEstados) {
        comparador.setConexion1(c1.get());
        comparador.setConexion2(c2.get());
        comparador.setCompararTablas(true);
        comparador.setCompararVistas(true);
        comparador.setCompararProcedimientos(true);
        int intVisitas = 0;
        r.alCeder = [&intVisitas](CResultadosGrabados& s) {
            if (s.booUltimoFueEstado && s.estados.last().startsWith("Comparando tablas") &&
                ++intVisitas == 2)
                s.Cancelar();
        };
        comparador.Comparar(r);
        r.alCeder = nullptr;
        EXPECT_TRUE(comparador.Cancelado());
        EXPECT_EQ(r.estados.filter("Comparando").size(), intEstados);
        EXPECT_EQ(r.filas, std::vector<CFilaResultado>{FilaSinDiferencias("Tablas")});
        EXPECT_EQ(r.estados.last(), "Proceso cancelado");
    }

    // A server database of this test, dropped with the fixture; its connection string.
    QString BaseServidor(pruebas::CBaseServidor::Motor motor, const QStringList& archivos) {
        m_Bases.push_back(std::make_unique<pruebas::CBaseServidor>(motor, u"cmp"_s, archivos));
        return m_Bases.back()->Cadena();
    }

    std::vector<std::unique_ptr<pruebas::CBaseServidor>> m_Bases;
    std::unique_ptr<CConexion> c1, c2;
    CResultadosGrabados r;
};

TEST_F(ComparadorTest, CatalogosIgualesDanSoloLasFilasTodosEnVerde) {
    ASSERT_NO_FATAL_FAILURE(LadosSQLite({"comparar_a.sql"}, {"comparar_a.sql"}));
    Comparar(*c1, *c2, r);
    EXPECT_TRUE(c1->Conectado() && c2->Conectado()); // left open for the rest of the program
    const std::vector<CFilaResultado> esperadas{FilaSinDiferencias("Tablas"),
                                                FilaSinDiferencias("Vistas"),
                                                FilaSinDiferencias("Procedimientos")};
    EXPECT_EQ(r.filas, esperadas);
    ASSERT_GE(r.estados.size(), 4);
    EXPECT_EQ(r.estados[0], "Iniciando...");
    EXPECT_EQ(r.estadosAlMostrar, 1); // shown after its first status, once
    EXPECT_EQ(r.estados[1], "Conectando Compras...");
    EXPECT_EQ(r.estados[2], "Conectando Ventas...");
    EXPECT_EQ(r.estados.last(), "Proceso finalizado");
    // A yield after every status and every row.
    EXPECT_EQ(r.sinCeder + r.booSinCeder, 0);
}

TEST_F(ComparadorTest, TablaVistaSoloEnUnLadoDanUnaFilaCadaUnaYElPasoAVaPrimero) {
    ASSERT_NO_FATAL_FAILURE(LadosDiferentes());
    Comparar(*c1, *c2, r, {.booOcultos = false});
    EsperarSoloFaltas(r, {{"solo_a", "Tabla", kCompras, kVentas},
                          {"solo_b", "Tabla", kVentas, kCompras},
                          {"v_solo_a", "Vista", kCompras, kVentas},
                          {"v_solo_b", "Vista", kVentas, kCompras}});
    // A view whose definition differs is no difference.
    EXPECT_TRUE(r.FilasDe("v_clientes").empty());
    const auto posicion = [&](const QString& s) {
        return std::find_if(r.filas.begin(), r.filas.end(),
                            [&](const CFilaResultado& f) { return f.strTexto == s; }) -
               r.filas.begin();
    };
    EXPECT_LT(posicion("solo_a"), posicion("solo_b"));
    EXPECT_LT(posicion("solo_b"), posicion("v_solo_a")); // phases in order
    EXPECT_EQ(r.filas.back(), FilaSinDiferencias("Procedimientos"));
    // Side 1's tables take the progress to half way, side 2's to the end.
    const QStringList progreso = r.estados.filter("Comparando tablas (");
    EXPECT_TRUE(progreso.contains("Comparando tablas (50% completado)"));
    EXPECT_EQ(progreso.last(), "Comparando tablas (100% completado)");
}

TEST_F(ComparadorTest, ColumnasDeUnaTablaSalenEnOrdenConSusFrasesExactas) {
    ASSERT_NO_FATAL_FAILURE(LadosDiferentes());
    Comparar(*c1, *c2, r, {.booVistas = false, .booProcedimientos = false});
    const QString tipoImporte1 = DescripcionTipo(*c1, "clientes", "importe");
    const QString tipoImporte2 = DescripcionTipo(*c2, "clientes", "importe");
    const QString tipoNotas1 = DescripcionTipo(*c1, "clientes", "notas");
    const QString tipoNotas2 = DescripcionTipo(*c2, "clientes", "notas");
    ASSERT_NE(tipoImporte1, tipoImporte2);
    // notas: 50 on side 1, no maximum length on side 2, so only its type differs.
    ASSERT_EQ(ValorCampo(*c1, "clientes", "notas", "CHARACTER_MAXIMUM_LENGTH").toLongLong(), 50);
    ASSERT_TRUE(
        CRecordset::EsNulo(ValorCampo(*c2, "clientes", "notas", "CHARACTER_MAXIMUM_LENGTH")));
    std::vector<CFilaResultado> columnas;
    for (const auto& f : r.filas)
        if (f.strTipo == "Campo" && f.strMensaje.contains("«clientes»"))
            columnas.push_back(f);
    // Each side's row gives its own value first: %2 this side's, %3 the other's;
    // %4 the other side and %5 this one (arg fills the numbers present in order).
    const QString strDel = "del campo «%1» de la tabla «clientes» es ";
    const std::vector<std::array<QString, 4>> pares{
        {"ciudad",
         "La longitud máxima " + strDel + "%2 en la conexión «%5» y en la conexión «%4» es %3",
         "40", "80"},
        {"importe", "El tipo de datos " + strDel + "«%2» y en la conexión «%4» es «%3»",
         tipoImporte1, tipoImporte2},
        {"notas", "El tipo de datos " + strDel + "«%2» y en la conexión «%4» es «%3»", tipoNotas1,
         tipoNotas2},
        {"estado", "El valor por defecto " + strDel + "«%2» y en la conexión «%4» es «%3»",
         "'alta'", "'baja'"}};
    std::vector<CFilaResultado> esperadas{FilaCampo(
        "nombre", kCompras,
        "El campo «nombre» de la tabla «clientes» no admite nulos, pero sí los admite en la "
        "conexión «Ventas»")};
    for (const auto& [campo, frase, v1, v2] : pares)
        esperadas.push_back(
            FilaCampo(campo, kCompras, frase.arg(campo, v1, v2, kVentas, kCompras)));
    esperadas.push_back(FilaCampo("nombre", kVentas,
                                  "El campo «nombre» de la tabla «clientes» admite nulos, pero no "
                                  "los admite en la conexión «Compras»"));
    for (const auto& [campo, frase, v1, v2] : pares)
        esperadas.push_back(FilaCampo(campo, kVentas, frase.arg(campo, v2, v1, kCompras, kVentas)));
    esperadas.push_back(FilaCampo(
        "solo_en_b", kVentas, "El campo no existe en la tabla «clientes» de la conexión «Compras»",
        IconoFalta));
    EXPECT_EQ(columnas, esperadas);
}

TEST_F(ComparadorTest, NombresConApostrofeComillasComodinesOMayusculasSeBuscanPorSuValor) {
    ASSERT_NO_FATAL_FAILURE(LadosDiferentes());
    Comparar(*c1, *c2, r, {.booVistas = false, .booProcedimientos = false});
    // Found on both sides: their columns are compared, the tables are not missing.
    EXPECT_EQ(r.FilasDe("o'brien").size(), 0u);
    EXPECT_EQ(r.FilasDe("l'apellido"),
              (std::vector<CFilaResultado>{
                  FilaCampo("l'apellido", kCompras,
                            "La longitud máxima del campo «l'apellido» de la tabla «o'brien» es 30 "
                            "en la conexión «Compras» y en la conexión «Ventas» es 60"),
                  FilaCampo("l'apellido", kVentas,
                            "La longitud máxima del campo «l'apellido» de la tabla «o'brien» es 60 "
                            "en la conexión «Ventas» y en la conexión «Compras» es 30")}));
    // Letter case aside, the same object: "Pedidos" (Total) and "PEDIDOS" (TOTAL).
    for (const char* nombre : {"di\"ce", "Pedidos", "PEDIDOS", "Total", "TOTAL"})
        EXPECT_EQ(r.FilasDe(nombre).size(), 0u) << nombre;
    // "_" and "%" are no wildcards.
    EsperarSoloFaltas(r, {{"t_1", "Tabla", kCompras, kVentas},
                          {"tx1", "Tabla", kVentas, kCompras},
                          {"pct%", "Tabla", kCompras, kVentas},
                          {"pctx", "Tabla", kVentas, kCompras}});
}

TEST_F(ComparadorTest, TablasDelSistemaSoloConLosObjetosOcultos) {
    ASSERT_NO_FATAL_FAILURE(LadosDiferentes());
    Comparar(*c1, *c2, r, {.booOcultos = false});
    EXPECT_EQ(r.FilasDe("sqlite_sequence").size(), 0u);
    CResultadosGrabados conOcultos;
    Comparar(*c1, *c2, conOcultos, {.booOcultos = true});
    EXPECT_EQ(conOcultos.FilasDe("sqlite_sequence"),
              std::vector<CFilaResultado>{
                  FilaFalta("sqlite_sequence", "Tabla del sistema", kCompras, kVentas)});
}

TEST_F(ComparadorTest, CancelarDuranteLasTablasParaAntesDeLaSiguienteYSaltaLasDemasFases) {
    ASSERT_NO_FATAL_FAILURE(LadosSQLite({"comparar_a.sql"}, {"comparar_a.sql"}));
    CComparador comparador;
    CancelarEnLaSegundaCesionDeLasTablas(comparador, 2);

    // Once the comparison has ended its sink's cancel reaches nobody.
    CResultadosGrabados otra;
    comparador.setCompararVistas(false);
    comparador.setCompararProcedimientos(false);
    comparador.Comparar(otra);
    r.Cancelar();
    EXPECT_FALSE(comparador.Cancelado());
    EXPECT_EQ(otra.estados.last(), "Proceso finalizado");
}

TEST_F(ComparadorTest, CancelarMientrasSeLeenTodasLasColumnasParaLaLecturaYLaFase) {
    // Enough columns for the bulk read to yield to the window before it ends.
    QString sql;
    for (int i = 0; i < 200; ++i)
        sql += u"CREATE TABLE t%1 (a INTEGER, b TEXT, c REAL, d BLOB);"_s.arg(i);
    QStringList cadenas;
    for (const QString& nombre : {u"grande_1"_s, u"grande_2"_s}) {
        const QString ruta = pruebas::RutaTemporal(nombre + ".db");
        ASSERT_FALSE(pruebas::CrearBaseSQLite(ruta, QString()).isEmpty());
        ASSERT_TRUE(pruebas::EjecutarSQLite(ruta, sql));
        cadenas << pruebas::CadenaSQLite(ruta);
    }
    ASSERT_NO_FATAL_FAILURE(Lados(cadenas[0], cadenas[1]));
    // The first table's status yields once; the next yield with no status or row after it comes
    // from inside the read.
    CComparador comparador;
    CancelarEnLaSegundaCesionDeLasTablas(comparador, 1);
}

TEST_F(ComparadorTest, ConexionQueNoAbreDaUnaFilaYNingunaFase) {
    const QString strSQLite = BaseSQLite("noabre_1", {"comparar_a.sql"});
    ASSERT_FALSE(strSQLite.isEmpty());
    c1 = NuevaConexion(kCompras, strSQLite);
    c2 = NuevaConexion(kVentas,
                       pruebas::CadenaSQLite(pruebas::CarpetaTemporal() + "/no/existe/ventas.db"));
    Comparar(*c1, *c2, r);
    ASSERT_FALSE(c2->ErrorConexion().isEmpty());
    const CFilaResultado esperada{"(todos)",
                                  "",
                                  kVentas,
                                  "No se puede abrir la conexión: " + c2->ErrorConexion(),
                                  IconoFalta,
                                  kColorTextoVentana,
                                  ClaseDiferencia::Conexion,
                                  "",
                                  ""};
    EXPECT_EQ(r.filas, std::vector<CFilaResultado>{esperada});
    EXPECT_TRUE(r.estados.filter("Comparando").isEmpty());
    EXPECT_EQ(r.estados.last(), "Proceso finalizado");
}

TEST_F(ComparadorTest, LongitudesMasAllaDeLos32BitsSeComparanEnteras) {
    REQUIERE_MARIADB();
    ASSERT_NO_FATAL_FAILURE(
        Lados(BaseServidor(pruebas::CBaseServidor::Motor::MariaDB, {"comparar_mariadb_a.sql"}),
              BaseServidor(pruebas::CBaseServidor::Motor::MariaDB, {"comparar_mariadb_b.sql"})));
    Comparar(*c1, *c2, r, {.booVistas = false, .booProcedimientos = false, .booOcultos = false});
    // One number (130) for both, but another declared type on one DBMS.
    const QString tipo = "El tipo de datos del campo «cuerpo» de la tabla «textos» es «%1» y en la "
                         "conexión «%2» es «%3»";
    EXPECT_EQ(r.FilasDe("cuerpo"),
              (std::vector<CFilaResultado>{
                  FilaCampo("cuerpo", kCompras, tipo.arg("LONGTEXT", kVentas, "MEDIUMTEXT")),
                  FilaCampo("cuerpo", kCompras,
                            "La longitud máxima del campo «cuerpo» de la tabla «textos» es "
                            "4294967295 en la conexión «Compras» y en la conexión «Ventas» es "
                            "16777215"),
                  FilaCampo("cuerpo", kVentas, tipo.arg("MEDIUMTEXT", kCompras, "LONGTEXT")),
                  FilaCampo("cuerpo", kVentas,
                            "La longitud máxima del campo «cuerpo» de la tabla «textos» es "
                            "16777215 en la conexión «Ventas» y en la conexión «Compras» es "
                            "4294967295")}));
}

// The engine holds its sides by Id: a connection deleted while it runs goes from the collection
// and the file at once, and the comparison ends on the object it already had.
TEST_F(ComparadorTest, BorrarUnaConexionAMitadDejaTerminarLaComparacionConSuReferencia) {
    const QString strA = BaseSQLite("borrar_1", {"comparar_a.sql"});
    const QString strB = BaseSQLite("borrar_2", {"comparar_b.sql"});
    ASSERT_FALSE(strA.isEmpty() || strB.isEmpty());
    const pruebas::CAplicacionPrueba app({{kCompras, strA}, {kVentas, strB}});
    const auto comparar = [](CResultadosGrabados& resultados) {
        CComparador comparador;
        comparador.setConexion1(u"cnx1"_s);
        comparador.setConexion2(u"cnx2"_s);
        comparador.setCompararTablas(true);
        comparador.setCompararVistas(true);
        comparador.Comparar(resultados);
        EXPECT_FALSE(comparador.Cancelado());
        EXPECT_FALSE(comparador.FalloConexion());
    };
    CResultadosGrabados antes;
    comparar(antes);
    const std::weak_ptr<CConexion> objSegunda = objVerondal->Conexiones().Compartida(u"cnx2"_s);
    bool booBorrada = false;
    r.alCeder = [&booBorrada](CResultadosGrabados& s) {
        if (!booBorrada && s.estados.last().startsWith("Comparando tablas (")) {
            booBorrada = true;
            objVerondal->Conexiones().Eliminar(u"cnx2"_s);
        }
    };
    comparar(r);
    ASSERT_TRUE(booBorrada);
    EXPECT_EQ(objVerondal->Conexiones().Buscar(u"cnx2"_s), nullptr);
    EXPECT_FALSE(pruebas::Leer(app.Ruta()).contains("\"cnx2\""));
    EXPECT_TRUE(objSegunda.expired());
    EXPECT_EQ(r.filas, antes.filas);
}

// PostgreSQL: routines, two schemas, system tables, and a server that does not answer.
class ComparadorPostgresTest : public ComparadorTest {
protected:
    // Side 1 first, so that m_Bases.front() is its database.
    void LadosPostgres(const QStringList& archivos1, const QStringList& archivos2) {
        const QString strUno = BaseServidor(pruebas::CBaseServidor::Motor::Postgres, archivos1);
        Lados(strUno, BaseServidor(pruebas::CBaseServidor::Motor::Postgres, archivos2));
    }
};

TEST_F(ComparadorPostgresTest, ProcedimientosYFuncionesSoloEnUnLado) {
    REQUIERE_POSTGRES();
    ASSERT_NO_FATAL_FAILURE(LadosPostgres({"comparar_a.sql", "comparar_pg_a.sql"},
                                          {"comparar_b.sql", "comparar_pg_b.sql"}));
    Comparar(*c1, *c2, r, {.booTablas = false, .booVistas = false});
    EXPECT_EQ(r.filas, (std::vector<CFilaResultado>{
                           FilaFalta("solo_a_funcion", "Función", kCompras, kVentas),
                           FilaFalta("solo_b_proc", "Procedimiento", kVentas, kCompras)}));
}

TEST_F(ComparadorPostgresTest, UnNombreEnDosEsquemasSeComparaEsquemaPorEsquema) {
    REQUIERE_POSTGRES();
    ASSERT_NO_FATAL_FAILURE(LadosPostgres({"comparar_a.sql", "comparar_pg_a.sql"},
                                          {"comparar_b.sql", "comparar_pg_b.sql"}));
    Comparar(*c1, *c2, r, {.booVistas = false, .booProcedimientos = false});
    // archivo.historial is alike on both sides; public's differ, and no column of one schema's
    // table is taken for the other's.
    std::vector<CFilaResultado> historial;
    for (const auto& f : r.filas)
        if (f.strMensaje.contains("historial»"))
            historial.push_back(f);
    const QString tipo = "El tipo de datos del campo «id» de la tabla «public.historial» es «%1» "
                         "y en la conexión «%2» es «%3»";
    EXPECT_EQ(
        historial,
        (std::vector<CFilaResultado>{
            FilaCampo("id", kCompras,
                      tipo.arg(c1->DescripcionTipoDatos(3), kVentas, c2->DescripcionTipoDatos(20))),
            FilaCampo("fecha", kCompras,
                      "El campo no existe en la tabla «public.historial» de la conexión "
                      "«Ventas»",
                      IconoFalta),
            FilaCampo(
                "id", kVentas,
                tipo.arg(c2->DescripcionTipoDatos(20), kCompras, c1->DescripcionTipoDatos(3))),
            FilaCampo("motivo", kVentas,
                      "El campo no existe en la tabla «public.historial» de la conexión "
                      "«Compras»",
                      IconoFalta)}));
    CResultadosGrabados literal;
    Comparar(*c1, *c2, literal,
             {.booVistas = false, .booProcedimientos = false, .booLiteral = true});
    EXPECT_EQ(literal.filas, r.filas);
}

// Matched ignoring case, each side's columns are read under its own spelling, whichever side
// spells it which way.
TEST_F(ComparadorPostgresTest, NombresEnOtrasMayusculasComparanSusColumnasEnLosDosSentidos) {
    REQUIERE_POSTGRES();
    const QString ruta = pruebas::CarpetaTemporal() + "/mayusculas.db";
    ASSERT_FALSE(pruebas::CrearBaseSQLite(ruta, QString()).isEmpty());
    ASSERT_TRUE(pruebas::EjecutarSQLite(
        ruta, "CREATE TABLE T (a INTEGER, b VARCHAR(10) NOT NULL, c INTEGER DEFAULT 1);"));
    ASSERT_NO_FATAL_FAILURE(Lados(pruebas::CadenaSQLite(ruta),
                                  BaseServidor(pruebas::CBaseServidor::Motor::Postgres, {})));
    ASSERT_TRUE(m_Bases.back()->Ejecutar("CREATE TABLE t (a bigint, b varchar(20), d int);"));
    // b's type row depends on each driver's character number; the others do not.
    const QStringList deSQLite{"Compras:a:El tipo", "Compras:b:La longitud", "Compras:b:El campo",
                               "Compras:c:El campo"};
    const QStringList dePostgres{"Ventas:a:El tipo", "Ventas:b:La longitud", "Ventas:b:El campo",
                                 "Ventas:d:El campo"};
    for (const bool booSQLitePrimero : {true, false}) {
        CResultadosGrabados res;
        Comparar(booSQLitePrimero ? *c1 : *c2, booSQLitePrimero ? *c2 : *c1, res,
                 {.booVistas = false, .booProcedimientos = false});
        QStringList filas;
        for (const auto& f : res.filas)
            if (f.strTipo == "Campo" && !(f.strTexto == "b" && f.strMensaje.startsWith("El tipo")))
                filas << f.strConexion + ":" + f.strTexto + ":" + f.strMensaje.section(' ', 0, 1);
        EXPECT_EQ(filas, booSQLitePrimero ? deSQLite + dePostgres : dePostgres + deSQLite);
    }
}

// On one DBMS the declared types compare, as it names them, where the OLE DB number is one.
TEST_F(ComparadorPostgresTest, ElMismoSgbdDaElCambioDeTipoDeclaradoConElMismoNumero) {
    REQUIERE_POSTGRES();
    ASSERT_NO_FATAL_FAILURE(LadosPostgres({}, {}));
    ASSERT_TRUE(m_Bases[0]->Ejecutar("CREATE TYPE e_a AS ENUM ('x'); CREATE TABLE category (n "
                                     "varchar(20), f timestamp, e e_a, id int);"));
    ASSERT_TRUE(m_Bases[1]->Ejecutar("CREATE TYPE e_b AS ENUM ('x'); CREATE TABLE \"Category\" "
                                     "(n text, f timestamptz, e e_b, id int);"));
    Comparar(*c1, *c2, r, {.booVistas = false, .booProcedimientos = false});
    QStringList tipos;
    for (const auto& f : r.filas)
        if (f.strMensaje.startsWith("El tipo de datos del campo «" + f.strTexto +
                                    "» de la tabla «category» es «"))
            tipos << f.strConexion + ":" + f.strTexto + ":" + f.strMensaje.section("«", 3);
    EXPECT_EQ(tipos, QStringList({"Compras:n:varchar» y en la conexión «Ventas» es «text»",
                                  "Compras:f:timestamp» y en la conexión «Ventas» es «timestamptz»",
                                  "Compras:e:e_a» y en la conexión «Ventas» es «e_b»",
                                  "Ventas:n:text» y en la conexión «Compras» es «varchar»",
                                  "Ventas:f:timestamptz» y en la conexión «Compras» es «timestamp»",
                                  "Ventas:e:e_b» y en la conexión «Compras» es «e_a»"}));
}

TEST_F(ComparadorPostgresTest, TablaDelSistemaEnElLado1YTablaEnElLado2SeComparaEnElPasoB) {
    REQUIERE_POSTGRES();
    ASSERT_NO_FATAL_FAILURE(
        LadosPostgres({"comparar_a.sql"}, {"comparar_a.sql", "comparar_pg_b.sql"}));
    c1 = NuevaConexion(kCompras, c1->CadenaDeConexion() + "ShowSystemTables=1;");
    Comparar(*c1, *c2, r, {.booVistas = false, .booProcedimientos = false, .booOcultos = false});
    bool booColumnasPgAm = false;
    for (const auto& f : r.filas) {
        EXPECT_NE(f.strTipo, "Tabla del sistema");
        booColumnasPgAm |= f.strTipo == "Campo" && f.strMensaje.contains("«pg_am»");
    }
    EXPECT_TRUE(booColumnasPgAm);
}

TEST_F(ComparadorPostgresTest, UnCatalogoQueNoSePuedeLeerNoSeDaPorIgual) {
    REQUIERE_POSTGRES();
    ASSERT_NO_FATAL_FAILURE(LadosPostgres({"comparar_a.sql"}, {"comparar_a.sql"}));
    ASSERT_TRUE(c1->Conectar());
    // The server drops side 1's session: the connection looks open, its catalogue fails.
    ASSERT_TRUE(pruebas::EjecutarPostgres(
        "postgres", QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                   "WHERE datname = '%1';")
                        .arg(m_Bases.front()->Nombre())));
    Comparar(*c1, *c2, r, {.booVistas = false, .booProcedimientos = false});
    const CFilaResultado esperada{"(todos)",
                                  "Tablas",
                                  kCompras,
                                  "No se puede leer el catálogo de la conexión \"Compras\"",
                                  IconoFalta,
                                  kColorTextoVentana,
                                  ClaseDiferencia::Catalogo,
                                  "Tablas",
                                  ""};
    EXPECT_EQ(r.filas, std::vector<CFilaResultado>{esperada});
    EXPECT_EQ(r.estados.last(), "Proceso finalizado");
}

TEST_F(ComparadorPostgresTest, ElMismoEsquemaEnSQLiteYPostgresNoDaNingunaDiferencia) {
    REQUIERE_POSTGRES();
    c1 = NuevaConexion(kCompras, BaseSQLite("mixto_1", {"comparar_a.sql"}));
    const QString strPostgres =
        BaseServidor(pruebas::CBaseServidor::Motor::Postgres, {"comparar_a.sql"});
    ASSERT_FALSE(strPostgres.isEmpty());
    c2 = NuevaConexion(kVentas, strPostgres);
    Comparar(*c1, *c2, r, {.booProcedimientos = false, .booOcultos = false});
    // The same declarations give the same values on both, defaults written each DBMS's way.
    for (const auto& f : r.filas)
        EXPECT_EQ(f.strTexto, u"(todos)"_s)
            << f.strTexto.toStdString() << ": " << f.strMensaje.toStdString();
    EXPECT_EQ(r.filas.back(), FilaSinDiferencias("Vistas"));
}

// Indexes and foreign keys, each case of the fixtures on every DBMS, and the same declarations
// on two DBMSs (generated and implicit names, rule spellings) giving no row.
TEST_F(ComparadorPostgresTest, IndicesYRelacionesEnLosTresSgbdYEntreEllos) {
    using M = pruebas::CBaseServidor::Motor;
    const COpciones o{false, false, false, true, false, true, true};
    int intBase = 0;
    const auto base = [&](std::optional<M> m, const QString& strLado) {
        const QString strArchivo = "comparar_claves_" + strLado + ".sql";
        return m ? BaseServidor(*m, {strArchivo})
                 : BaseSQLite("claves" + QString::number(++intBase), {strArchivo});
    };
    const QString t = " de la tabla «socios»";
    const QStringList esperadas{
        "ix_alta|Compras|La ordenación del índice «ix_alta»" + t +
            " es «alta ascendente» y en la conexión «Ventas» es «alta descendente»",
        "ix_email|Compras|El índice «ix_email»" + t +
            " no es único, pero sí lo es en la conexión «Ventas»",
        "ix_par|Compras|Las columnas del índice «ix_par»" + t +
            " son «pais, alta» y en la conexión «Ventas» son «pais»",
        "ix_solo_a|Compras|El índice no existe en la tabla «socios» de la conexión «Ventas»",
        "ix_email|Ventas|El índice «ix_email»" + t +
            " es único, pero no lo es en la conexión «Compras»",
        "ix_alta|Ventas|La ordenación del índice «ix_alta»" + t +
            " es «alta descendente» y en la conexión «Compras» es «alta ascendente»",
        "ix_par|Ventas|Las columnas del índice «ix_par»" + t +
            " son «pais» y en la conexión «Compras» son «pais, alta»",
        "ix_solo_b|Ventas|El índice no existe en la tabla «socios» de la conexión «Compras»",
        "cuotas (socio) → socios (id)|Compras|La relación no existe en la tabla «cuotas» de la "
        "conexión «Ventas»",
        "socios (pais) → paises (id)|Compras|La regla ON DELETE de la relación «socios (pais) → "
        "paises (id)» es «CASCADE» y en la conexión «Ventas» es «SET NULL»",
        "socios (pais) → paises (id)|Ventas|La regla ON DELETE de la relación «socios (pais) → "
        "paises (id)» es «SET NULL» y en la conexión «Compras» es «CASCADE»"};
    for (const std::optional<M> m :
         {std::optional<M>(), std::optional<M>(M::Postgres), std::optional<M>(M::MariaDB)}) {
        if (m && !(*m == M::Postgres ? pruebas::HayPostgres() : pruebas::HayMariaDB()))
            continue;
        SCOPED_TRACE(m ? static_cast<int>(*m) : -1);
        CResultadosGrabados g;
        Lados(base(m, "a"), base(m, "b"));
        Comparar(*c1, *c2, g, o);
        QStringList filas;
        for (const auto& f : g.filas)
            if (f.strTabla == "socios" || f.strTabla == "cuotas")
                filas << f.strTexto + "|" + f.strConexion + "|" + f.strMensaje;
        // Within a table the rows keep their order; the tables follow the driver's order.
        const auto orden = [](const QString& f) {
            return std::pair(f.contains(" → "), f.startsWith("socios"));
        };
        std::stable_sort(filas.begin(), filas.end(),
                         [&](const QString& a, const QString& b) { return orden(a) < orden(b); });
        EXPECT_EQ(filas.join("\n"), esperadas.join("\n"));
        EXPECT_EQ(g.filas.size(), 11u); // nothing of paises, no "(todos)" row
        EXPECT_EQ(g.filas.at(3).lngClase, ClaseDiferencia::Indice);
        EXPECT_GT(g.estados.filter("Comparando índices (").size() *
                      g.estados.filter("Comparando relaciones (").size(),
                  0);
        if (m) {
            // The same schema on SQLite and on this DBMS.
            Lados(base(std::nullopt, "a"), base(m, "a"));
            CResultadosGrabados mixto;
            Comparar(*c1, *c2, mixto, o);
            EXPECT_EQ(mixto.filas, (std::vector<CFilaResultado>{FilaSinDiferencias("Índices"),
                                                                FilaSinDiferencias("Relaciones")}));
        }
    }
}

} // namespace
