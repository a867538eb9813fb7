// Saves that meet a full disk, a read-only file or a second writer: nothing is lost, and the
// user reads why in Spanish.
#include "ArchivosPrueba.h"
#include "comun/CError.h"
#include "comun/modEscritura.h"
#include "export/CTablaExportable.h"
#include "export/modArchivos.h"
#include "export/modExportacion.h"
#include "registry/CEncriptador.h"
#include "registry/CVerondal.h"

#include <QDomDocument>
#include <QProcess>
#include <QSet>
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

using namespace pruebas;

namespace {

struct CResultado {
    int intSalida;
    QString strSalida;
    QString strError;
};

CResultado Cli(const QStringList& argumentos) {
    QProcess proceso;
    proceso.start(QStringLiteral(VERONDAL_BIN "/verondal-cli"), argumentos);
    EXPECT_TRUE(proceso.waitForFinished(60000));
    return {proceso.exitCode(), QString::fromUtf8(proceso.readAllStandardOutput()),
            QString::fromUtf8(proceso.readAllStandardError())};
}

QStringList IdsEnArchivo(const QString& strRuta) {
    QDomDocument doc;
    EXPECT_TRUE(doc.setContent(Leer(strRuta)));
    QStringList ids;
    const QDomElement xmlConexiones =
        doc.documentElement().firstChildElement(QStringLiteral("Conexiones"));
    for (QDomElement e = xmlConexiones.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        ids << e.attribute(QStringLiteral("Id"));
    return ids;
}

QStringList Ids(const CConexiones& objConexiones) {
    QStringList ids;
    for (const CConexion& objConexion : objConexiones)
        ids << objConexion.Id();
    return ids;
}

// A Verondal.xml of n connections, as a user who has used the program for a while has.
QByteArray ConexionesDePrueba(int n) {
    QByteArray bytXml("<?xml version=\"1.0\"?>\n<Verondal><Conexiones>");
    for (int i = 1; i <= n; ++i)
        bytXml += QStringLiteral("<Conexion Id=\"cnx%1\"><Titulo>Servidor %1</Titulo>"
                                 "<CadenaDeConexion>%2</CadenaDeConexion></Conexion>")
                      .arg(i)
                      .arg(EncriptarTexto(
                          QStringLiteral("DRIVER={PostgreSQL Unicode};SERVER=srv%1;UID=u").arg(i)))
                      .toUtf8();
    return bytXml + "</Conexiones></Verondal>\n";
}

mode_t Modo(const QString& strRuta) {
    struct stat st = {};
    EXPECT_EQ(::stat(QFile::encodeName(strRuta).constData(), &st), 0);
    return st.st_mode & 07777;
}

// A small tmpfs of the test's own, filled to the byte count asked; unmounted at the end.
class DiscoLlenoTest : public ::testing::TestWithParam<qint64> {
protected:
    void SetUp() override {
        QByteArray bytPlantilla =
            (CarpetaTemporal() + QStringLiteral("/disco-XXXXXX")).toLocal8Bit();
        ASSERT_NE(::mkdtemp(bytPlantilla.data()), nullptr);
        m_Carpeta = QString::fromLocal8Bit(bytPlantilla);
        QProcess montar;
        montar.start(QStringLiteral("mount"),
                     {"-t", "tmpfs", "-o", "size=256k", "tmpfs", m_Carpeta});
        const bool booMontado = montar.waitForFinished(30000) &&
                                montar.exitStatus() == QProcess::NormalExit &&
                                montar.exitCode() == 0;
        if (!booMontado)
            GTEST_SKIP() << "No se puede montar un tmpfs aquí (hace falta ser root): "
                         << montar.readAllStandardError().toStdString()
                         << montar.errorString().toStdString();
        m_booMontado = true;
    }
    void TearDown() override {
        if (m_booMontado)
            QProcess::execute(QStringLiteral("umount"), {m_Carpeta});
        ::rmdir(QFile::encodeName(m_Carpeta).constData());
    }

    // Takes all the free space but lngLibres bytes (tmpfs counts whole pages).
    void Llenar(qint64 lngLibres) {
        const QByteArray bytRuta = QFile::encodeName(m_Carpeta + QStringLiteral("/relleno"));
        const int fd = ::open(bytRuta.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        struct statvfs sv = {};
        ASSERT_EQ(::statvfs(QFile::encodeName(m_Carpeta).constData(), &sv), 0);
        qint64 lngQuedan =
            static_cast<qint64>(sv.f_bavail) * static_cast<qint64>(sv.f_frsize) - lngLibres;
        const QByteArray bytBloque(4096, 'x');
        while (lngQuedan > 0 && ::write(fd, bytBloque.constData(), 4096) == 4096)
            lngQuedan -= 4096;
        ::close(fd);
    }

    QString m_Carpeta;
    bool m_booMontado = false;
};

TEST_P(DiscoLlenoTest, NingunGuardadoDejaElArchivoCortadoYTodosLoDicen) {
    const QString strRuta = m_Carpeta + QStringLiteral("/Verondal.xml");
    const QByteArray bytOriginal = ConexionesDePrueba(50);
    Escribir(strRuta, bytOriginal);
    // An earlier export of each format, which a failed export must leave as it is.
    const int formatos[] = {Formato::Texto, Formato::Csv, Formato::Xml, Formato::Excel,
                            Formato::Word};
    for (const int intFormato : formatos)
        Escribir(m_Carpeta + QStringLiteral("/anterior.") + ExtensionArchivo(intFormato),
                 "anterior");
    CVerondal objVerondal(strRuta);
    ASSERT_EQ(objVerondal.Conexiones().Count(), 50);
    Llenar(GetParam());

    const QString strRazon = QStringLiteral("No queda espacio libre en el disco");
    const CResultado r = Cli({"--config", strRuta, "agregar", "Nueva", "DSN=nueva"});
    EXPECT_EQ(r.intSalida, 2);
    EXPECT_EQ(r.strSalida, QString());
    EXPECT_TRUE(r.strError.contains(strRazon)) << qPrintable(r.strError);
    EXPECT_EQ(Leer(strRuta), bytOriginal);

    CConexiones& objConexiones = objVerondal.Conexiones();
    const std::function<void()> cambios[] = {
        [&] { objConexiones.NuevaConexion(QStringLiteral("Nueva"), QStringLiteral("DSN=n")); },
        [&] { objConexiones.Eliminar(QStringLiteral("cnx7")); },
        [&] {
            objConexiones.ModificarConexion(QStringLiteral("cnx9"), QStringLiteral("Otro"),
                                            QStringLiteral("DSN=otro"));
        },
    };
    for (const auto& cambio : cambios) {
        try {
            cambio();
            ADD_FAILURE() << "el guardado no falló";
        } catch (const CError& e) {
            EXPECT_TRUE(e.Descripcion().contains(strRuta) && e.Descripcion().contains(strRazon))
                << qPrintable(e.Descripcion());
        }
    }
    EXPECT_EQ(Leer(strRuta), bytOriginal);
    EXPECT_EQ(objConexiones.Count(), 50);
    EXPECT_EQ(objConexiones.Item(QStringLiteral("cnx9")).Titulo(), QStringLiteral("Servidor 9"));

    // Enough rows that no format fits in the space left.
    CTablaExportable tabla({QStringLiteral("Objeto"), QStringLiteral("Resultado")}, {});
    for (int i = 0; i < 2000; ++i)
        tabla.AgregarFila(
            {QStringLiteral("tabla_%1").arg(i), QStringLiteral("Sólo en A %1").arg(i)});
    for (const int intFormato : formatos) {
        for (const QString& strNombre : {QStringLiteral("anterior."), QStringLiteral("nueva.")}) {
            const QString strExporte =
                m_Carpeta + QLatin1Char('/') + strNombre + ExtensionArchivo(intFormato);
            QString strError;
            EXPECT_FALSE(EscribirTabla(intFormato, QStringLiteral("Resultados"), tabla, strExporte,
                                       strError))
                << qPrintable(strExporte);
            EXPECT_TRUE(strError.contains(strRazon)) << qPrintable(strError);
        }
        EXPECT_EQ(Leer(m_Carpeta + QStringLiteral("/anterior.") + ExtensionArchivo(intFormato)),
                  QByteArray("anterior"));
    }
    // Neither a new file nor a temporary one stays behind.
    QStringList esperados{"Verondal.xml", "relleno"};
    for (const int intFormato : formatos)
        esperados << QStringLiteral("anterior.") + ExtensionArchivo(intFormato);
    QStringList presentes = QDir(m_Carpeta).entryList(QDir::Files);
    presentes.removeAll(QStringLiteral("Verondal.xml.bloqueo"));
    esperados.sort();
    presentes.sort();
    EXPECT_EQ(presentes, esperados);
}

INSTANTIATE_TEST_SUITE_P(Libres, DiscoLlenoTest, ::testing::Values(0, 4096),
                         [](const auto& objCaso) {
                             return "Bytes" + std::to_string(objCaso.param);
                         });

// Root may write anything; a file the user made read-only is still not written, and a file
// rewritten keeps the mode it had.
TEST(PermisosTest, SoloLecturaSeRespetaYElModoSeConserva) {
    struct Caso {
        mode_t intModo;
        bool booEscribe;
    };
    for (const Caso& caso : {Caso{0444, false}, Caso{0400, false}, Caso{0600, true},
                             Caso{0640, true}, Caso{0664, true}}) {
        const QString strRuta = ConfiguracionDePrueba(kDosConexiones);
        ASSERT_EQ(::chmod(QFile::encodeName(strRuta).constData(), caso.intModo), 0);
        const CResultado r = Cli({"--config", strRuta, "agregar", "Nueva", "DSN=nueva"});
        EXPECT_EQ(Modo(strRuta), caso.intModo) << std::oct << caso.intModo;
        if (caso.booEscribe) {
            EXPECT_EQ(r.intSalida, 0) << qPrintable(r.strError);
            EXPECT_EQ(IdsEnArchivo(strRuta), QStringList({"cnx1", "cnx2", "cnx3"}));
        } else {
            EXPECT_EQ(r.intSalida, 2);
            EXPECT_EQ(r.strError, QStringLiteral("verondal-cli: No se pudo guardar el archivo de "
                                                 "configuración %1: El archivo es de solo "
                                                 "lectura\n")
                                      .arg(strRuta));
            EXPECT_EQ(Leer(strRuta), kDosConexiones);
        }
    }
    // An export over a read-only file, likewise.
    const QString strExporte = CarpetaDeLaPrueba() + QStringLiteral("/resultados.csv");
    Escribir(strExporte, "anterior");
    ASSERT_EQ(::chmod(QFile::encodeName(strExporte).constData(), 0444), 0);
    QString strError;
    EXPECT_FALSE(EscribirArchivo(strExporte, "nuevo", strError));
    EXPECT_EQ(strError, QStringLiteral("El archivo es de solo lectura"));
    EXPECT_EQ(Leer(strExporte), QByteArray("anterior"));
}

TEST(EscritoresConcurrentesTest, VeinteAgregarALaVezDanVeinteIdsDistintos) {
    const QString strRuta = ConfiguracionDePrueba(kDosConexiones);
    std::vector<std::unique_ptr<QProcess>> procesos;
    for (int i = 0; i < 20; ++i) {
        procesos.push_back(std::make_unique<QProcess>());
        procesos.back()->start(QStringLiteral(VERONDAL_BIN "/verondal-cli"),
                               {"--config", strRuta, "agregar", QStringLiteral("Nueva %1").arg(i),
                                QStringLiteral("DSN=n%1").arg(i)});
    }
    QSet<QString> ids;
    for (auto& proceso : procesos) {
        ASSERT_TRUE(proceso->waitForFinished(60000));
        EXPECT_EQ(proceso->exitCode(), 0) << proceso->readAllStandardError().toStdString();
        ids.insert(QString::fromUtf8(proceso->readAllStandardOutput()).trimmed());
    }
    EXPECT_EQ(ids.size(), 20);
    const QStringList enArchivo = IdsEnArchivo(strRuta);
    EXPECT_EQ(enArchivo.size(), 22);
    for (const QString& strId : ids)
        EXPECT_TRUE(enArchivo.contains(strId)) << qPrintable(strId);
}

// The program open while the command line changes the file: each change of the program is made
// to the file as it now is, and the collection follows it.
TEST(EscritoresConcurrentesTest, LaColeccionSigueLoQueOtroProcesoEscribio) {
    const QString strRuta = ConfiguracionDePrueba(kDosConexiones);
    CVerondal objVerondal(strRuta);
    CConexiones& objConexiones = objVerondal.Conexiones();
    const CConexion* objCnx2 = &objConexiones.Item(QStringLiteral("cnx2"));

    for (const char* strTitulo : {"Desde la consola 1", "Desde la consola 2"})
        ASSERT_EQ(Cli({"--config", strRuta, "agregar", strTitulo, "DSN=x"}).intSalida, 0);
    objConexiones.Eliminar(QStringLiteral("cnx1"));
    EXPECT_EQ(IdsEnArchivo(strRuta), QStringList({"cnx2", "cnx3", "cnx4"}));
    EXPECT_EQ(Ids(objConexiones), QStringList({"cnx2", "cnx3", "cnx4"}));
    EXPECT_EQ(&objConexiones.Item(QStringLiteral("cnx2")), objCnx2); // unchanged: same object
    EXPECT_EQ(objConexiones.Item(QStringLiteral("cnx4")).Titulo(),
              QStringLiteral("Desde la consola 2"));

    // The new Id is counted in the file: cnx4 is taken though memory did not know it.
    ASSERT_EQ(Cli({"--config", strRuta, "agregar", "Otra", "DSN=y"}).strSalida,
              QStringLiteral("cnx5\n"));
    EXPECT_EQ(objConexiones.NuevaConexion(QStringLiteral("Mía"), QStringLiteral("DSN=z")).Id(),
              QStringLiteral("cnx6"));

    // A change to a connection deleted elsewhere is refused, naming it; the file keeps the rest.
    struct Caso {
        const char* strId;
        const char* strTitulo;
        std::function<void()> fnCambio;
    };
    const Caso casos[] = {
        {"cnx3", "Desde la consola 1",
         [&] {
             objConexiones.ModificarConexion(QStringLiteral("cnx3"), QStringLiteral("t"),
                                             QStringLiteral("DSN=t"));
         }},
        {"cnx4", "Desde la consola 2", [&] { objConexiones.Eliminar(QStringLiteral("cnx4")); }},
    };
    for (const Caso& caso : casos) {
        ASSERT_EQ(Cli({"--config", strRuta, "eliminar", caso.strId}).intSalida, 0);
        const QByteArray bytAntes = Leer(strRuta);
        try {
            caso.fnCambio();
            ADD_FAILURE() << "se aplicó un cambio a una conexión eliminada";
        } catch (const CError& e) {
            EXPECT_TRUE(e.Descripcion().startsWith(
                QStringLiteral("La conexión «%1» (%2) ya no está en el archivo %3: otro programa "
                               "la ha eliminado")
                    .arg(QString::fromUtf8(caso.strTitulo), QLatin1String(caso.strId), strRuta)))
                << qPrintable(e.Descripcion());
        }
        EXPECT_EQ(Leer(strRuta), bytAntes);
    }
    EXPECT_EQ(Ids(objConexiones), QStringList({"cnx2", "cnx5", "cnx6"}));

    // Recargar alone: a deletion and a changed title elsewhere.
    ASSERT_EQ(Cli({"--config", strRuta, "eliminar", "cnx5"}).intSalida, 0);
    EXPECT_TRUE(objConexiones.Recargar());
    EXPECT_FALSE(objConexiones.Recargar());
    EXPECT_EQ(Ids(objConexiones), QStringList({"cnx2", "cnx6"}));
    EXPECT_EQ(&objConexiones.Item(QStringLiteral("cnx2")), objCnx2);
}

} // namespace
