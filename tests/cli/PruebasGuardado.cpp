// Saves that meet a full disk, a read-only file or a second writer: nothing is lost, and the
// user reads why in Spanish.
#include "Aplicacion.h"
#include "comun/CError.h"
#include "export/CTablaExportable.h"
#include "export/modArchivos.h"
#include "export/modExportacion.h"
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

using namespace pruebas;

// A small tmpfs of the test's own, filled up: a change to the configuration and every export
// format fail naming the reason, and leave each file as it was.
TEST(DiscoLlenoTest, NingunGuardadoDejaElArchivoCortadoYTodosLoDicen) {
    const QString strCarpeta = CarpetaDeLaPrueba();
    if (QProcess::execute(u"mount"_s, {"-t", "tmpfs", "-o", "size=256k", "tmpfs", strCarpeta}) != 0)
        GTEST_SKIP() << "No se puede montar un tmpfs aquí (hace falta ser root)";
    struct CDesmontar {
        QString strCarpeta;
        ~CDesmontar() { QProcess::execute(u"umount"_s, {strCarpeta}); }
    } desmontar{strCarpeta};
    const QString strRuta = strCarpeta + u"/Verondal.xml"_s;
    Escribir(strRuta, kDosConexiones);
    const int formatos[] = {Formato::Texto, Formato::Csv, Formato::Xml, Formato::Excel,
                            Formato::Word};
    for (const int intFormato : formatos)
        Escribir(strCarpeta + u"/anterior."_s + ExtensionArchivo(intFormato), "anterior");
    {
        const int fd = ::open(QFile::encodeName(strCarpeta + "/relleno").constData(),
                              O_WRONLY | O_CREAT, 0600);
        const QByteArray bytBloque(4096, 'x');
        while (::write(fd, bytBloque.constData(), 4096) == 4096) {
        }
        ::close(fd);
    }

    const QString strRazon = u"No queda espacio libre en el disco"_s;
    const CSalidaCli r = EjecutarCli({"--config", strRuta, "agregar", "Nueva", "DSN=nueva"});
    EXPECT_EQ(r.intEstado, 2);
    EXPECT_TRUE(r.Errores().contains(strRuta) && r.Errores().contains(strRazon))
        << qPrintable(r.Errores());
    EXPECT_EQ(Leer(strRuta), kDosConexiones);

    CTablaExportable tabla({u"Objeto"_s}, {});
    tabla.AgregarFila({u"tabla"_s});
    QStringList esperados{"Verondal.xml", "relleno"};
    for (const int intFormato : formatos) {
        for (const char* strNombre : {"/anterior.", "/nueva."}) {
            QString strError;
            EXPECT_FALSE(EscribirTabla(intFormato, u"Resultados"_s, tabla,
                                       strCarpeta + strNombre + ExtensionArchivo(intFormato),
                                       strError));
            EXPECT_TRUE(strError.contains(strRazon)) << qPrintable(strError);
        }
        esperados << u"anterior."_s + ExtensionArchivo(intFormato);
        EXPECT_EQ(Leer(strCarpeta + "/" + esperados.last()), QByteArray("anterior"));
    }
    // Neither a new file nor a temporary one stays behind.
    QStringList presentes = QDir(strCarpeta).entryList(QDir::Files, QDir::Name);
    presentes.removeAll(u"Verondal.xml.bloqueo"_s);
    esperados.sort();
    EXPECT_EQ(presentes, esperados);
}

// Root may write anything; a file the user made read-only is still not written, and a file
// rewritten keeps the mode it had.
TEST(PermisosTest, SoloLecturaSeRespetaYElModoSeConserva) {
    for (const mode_t intModo : {0444, 0640}) {
        const QString strRuta = ConfiguracionDePrueba(kDosConexiones);
        ASSERT_EQ(::chmod(QFile::encodeName(strRuta).constData(), intModo), 0);
        const CSalidaCli r = EjecutarCli({"--config", strRuta, "agregar", "Nueva", "DSN=nueva"});
        struct stat st = {};
        ASSERT_EQ(::stat(QFile::encodeName(strRuta).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, intModo) << std::oct << intModo;
        if (intModo & 0200) {
            EXPECT_EQ(r.intEstado, 0) << qPrintable(r.Errores());
            EXPECT_TRUE(Leer(strRuta).contains("Id=\"cnx3\""));
            continue;
        }
        EXPECT_EQ(r.intEstado, 2);
        EXPECT_EQ(r.Errores(), QStringLiteral("verondal-cli: No se pudo guardar el archivo de "
                                              "configuración %1: El archivo es de solo lectura\n")
                                   .arg(strRuta));
        EXPECT_EQ(Leer(strRuta), kDosConexiones);
    }
}

// The program open while ten command lines add at once: no change is lost, each is made to the
// file as it now is, and the collection follows the file keeping its objects.
TEST(EscritoresConcurrentesTest, NingunCambioSePierdeYLaColeccionSigueAlArchivo) {
    const QString strRuta = ConfiguracionDePrueba(kDosConexiones);
    CVerondal objPrograma(strRuta);
    CConexiones& objConexiones = objPrograma.Conexiones();
    const CConexion* objCnx2 = &objConexiones.Item(u"cnx2"_s);
    std::vector<std::unique_ptr<QProcess>> procesos;
    for (int i = 0; i < 10; ++i) {
        procesos.push_back(std::make_unique<QProcess>());
        procesos.back()->start(
            QStringLiteral(VERONDAL_BIN "/verondal-cli"),
            {"--config", strRuta, "agregar", u"Nueva %1"_s.arg(i), u"DSN=n%1"_s.arg(i)});
    }
    objConexiones.Eliminar(u"cnx1"_s);
    for (auto& proceso : procesos) {
        ASSERT_TRUE(proceso->waitForFinished(60000));
        EXPECT_EQ(proceso->exitCode(), 0) << proceso->readAllStandardError().toStdString();
    }
    // The new Id is counted in the file, which memory did not know.
    EXPECT_EQ(objConexiones.NuevaConexion(u"Mía"_s, u"DSN=z"_s).Id(), u"cnx13"_s);
    EXPECT_EQ(Leer(strRuta).count("<Conexion "), 12);
    EXPECT_EQ(Ids(objConexiones).size(), 12);
    EXPECT_EQ(&objConexiones.Item(u"cnx2"_s), objCnx2);

    // A change to a connection deleted elsewhere is refused, naming it; the file keeps the rest.
    const std::pair<const char*, std::function<void()>> casos[] = {
        {"cnx3", [&] { objConexiones.ModificarConexion(u"cnx3"_s, "t", "DSN=t"); }},
        {"cnx4", [&] { objConexiones.Eliminar(u"cnx4"_s); }}};
    for (const auto& [strId, fnCambio] : casos) {
        const QString strTitulo = objConexiones.Item(QLatin1String(strId)).Titulo();
        ASSERT_EQ(EjecutarCli({"--config", strRuta, "eliminar", strId}).intEstado, 0);
        const QByteArray bytAntes = Leer(strRuta);
        try {
            fnCambio();
            ADD_FAILURE() << "se aplicó un cambio a una conexión eliminada";
        } catch (const CError& e) {
            EXPECT_TRUE(e.Descripcion().startsWith(
                QStringLiteral("La conexión «%1» (%2) ya no está en el archivo %3: otro programa "
                               "la ha eliminado")
                    .arg(strTitulo, QLatin1String(strId), strRuta)))
                << qPrintable(e.Descripcion());
        }
        EXPECT_EQ(Leer(strRuta), bytAntes);
    }
}
