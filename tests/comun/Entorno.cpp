#include "Entorno.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace pruebas {
namespace {

QString Variable(const char* nombre) {
    return qEnvironmentVariable(nombre);
}

bool Ejecutar(const QString& programa, const QStringList& argumentos, const QByteArray& entrada) {
    QProcess proceso;
    proceso.setProcessChannelMode(QProcess::MergedChannels);
    proceso.start(programa, argumentos);
    if (!proceso.waitForStarted(10000))
        return false;
    proceso.write(entrada);
    proceso.closeWriteChannel();
    if (!proceso.waitForFinished(300000))
        return false;
    const QByteArray salida = proceso.readAll();
    if (proceso.exitStatus() != QProcess::NormalExit || proceso.exitCode() != 0) {
        fprintf(stderr, "%s falló:\n%s\n", qPrintable(programa), salida.constData());
        return false;
    }
    return true;
}

QByteArray Leer(const QString& ruta) {
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QStringList ArgumentosPostgres(const QString& baseDatos) {
    return {"-X", "-q",
            "-v", "ON_ERROR_STOP=1",
            "-h", "127.0.0.1",
            "-p", Variable("VERONDAL_PG_PUERTO"),
            "-U", Variable("VERONDAL_PG_USUARIO"),
            "-d", baseDatos};
}

QStringList ArgumentosMariaDB(const QString& baseDatos) {
    QStringList a{"--protocol=TCP",
                  "-h",
                  "127.0.0.1",
                  "-P",
                  Variable("VERONDAL_MARIADB_PUERTO"),
                  "-u",
                  Variable("VERONDAL_MARIADB_USUARIO")};
    if (!baseDatos.isEmpty())
        a << baseDatos;
    return a;
}

} // namespace

QString Fixture(const QString& strNombre) {
    return QStringLiteral(VERONDAL_FIXTURES) + QLatin1Char('/') + strNombre;
}

QString CarpetaTemporal() {
    static QTemporaryDir carpeta(QDir::tempPath() + QStringLiteral("/verondal-pruebas-XXXXXX"));
    return carpeta.path();
}

bool EnCI() {
    return !Variable("CI").isEmpty() && Variable("CI") != QLatin1String("false");
}
bool HayPostgres() {
    return !Variable("VERONDAL_PG_PUERTO").isEmpty();
}
bool HayMariaDB() {
    return !Variable("VERONDAL_MARIADB_PUERTO").isEmpty();
}

QString CadenaPostgres(const QString& strBaseDatos) {
    return QStringLiteral(
               "DRIVER={PostgreSQL Unicode};Server=127.0.0.1;Port=%1;Database=%2;Uid=%3;Pwd=;")
        .arg(Variable("VERONDAL_PG_PUERTO"), strBaseDatos, Variable("VERONDAL_PG_USUARIO"));
}

QString CadenaMariaDB(const QString& strBaseDatos) {
    return QStringLiteral(
               "DRIVER={MariaDB Unicode};Server=127.0.0.1;Port=%1;Database=%2;Uid=%3;Pwd=;")
        .arg(Variable("VERONDAL_MARIADB_PUERTO"), strBaseDatos,
             Variable("VERONDAL_MARIADB_USUARIO"));
}

QString CadenaSQLite(const QString& strRuta) {
    return QStringLiteral("DRIVER={SQLite3};Database=%1;").arg(strRuta);
}

bool EjecutarPostgres(const QString& strBaseDatos, const QString& strSql) {
    return Ejecutar(QStringLiteral("psql"), ArgumentosPostgres(strBaseDatos), strSql.toUtf8());
}

bool EjecutarMariaDB(const QString& strBaseDatos, const QString& strSql) {
    return Ejecutar(QStringLiteral("mariadb"), ArgumentosMariaDB(strBaseDatos), strSql.toUtf8());
}

bool EjecutarSQLite(const QString& strRuta, const QString& strSql) {
    return Ejecutar(QStringLiteral("sqlite3"), {QStringLiteral("-bail"), strRuta}, strSql.toUtf8());
}

QString CrearBasePostgres(const QString& strNombre, const QString& strArchivoSql) {
    if (!HayPostgres())
        return {};
    const QString crear = QStringLiteral("DROP DATABASE IF EXISTS \"%1\" WITH (FORCE);\n"
                                         "CREATE DATABASE \"%1\";\n")
                              .arg(strNombre);
    if (!EjecutarPostgres(QStringLiteral("postgres"), crear))
        return {};
    if (!strArchivoSql.isEmpty() &&
        !Ejecutar(QStringLiteral("psql"), ArgumentosPostgres(strNombre), Leer(strArchivoSql)))
        return {};
    return CadenaPostgres(strNombre);
}

QString CrearBaseMariaDB(const QString& strNombre, const QString& strArchivoSql) {
    if (!HayMariaDB())
        return {};
    const QString crear =
        QStringLiteral(
            "DROP DATABASE IF EXISTS `%1`;\nCREATE DATABASE `%1` CHARACTER SET utf8mb4;\n")
            .arg(strNombre);
    if (!EjecutarMariaDB(QString(), crear))
        return {};
    if (!strArchivoSql.isEmpty() &&
        !Ejecutar(QStringLiteral("mariadb"), ArgumentosMariaDB(strNombre), Leer(strArchivoSql)))
        return {};
    return CadenaMariaDB(strNombre);
}

QString CrearBaseSQLite(const QString& strRuta, const QString& strArchivoSql) {
    QFile::remove(strRuta);
    if (!Ejecutar(QStringLiteral("sqlite3"), {QStringLiteral("-bail"), strRuta},
                  strArchivoSql.isEmpty() ? QByteArray() : Leer(strArchivoSql)))
        return {};
    return CadenaSQLite(strRuta);
}

CBaseServidor::CBaseServidor(Motor motor, const QString& strPrefijo, const QStringList& archivosSql)
    : m_Motor(motor) {
    static int s_intNumero = 0;
    m_strNombre = QStringLiteral("%1_%2_%3")
                      .arg(strPrefijo.toLower())
                      .arg(QCoreApplication::applicationPid())
                      .arg(++s_intNumero);
    const QString strPrimero = archivosSql.isEmpty() ? QString() : Fixture(archivosSql.first());
    QString strCadena = motor == Motor::Postgres ? CrearBasePostgres(m_strNombre, strPrimero)
                                                 : CrearBaseMariaDB(m_strNombre, strPrimero);
    for (int i = 1; i < archivosSql.size() && !strCadena.isEmpty(); ++i)
        if (!Ejecutar(QString::fromUtf8(Leer(Fixture(archivosSql[i])))))
            strCadena.clear();
    m_strCadena = strCadena;
}

CBaseServidor::~CBaseServidor() {
    if (m_Motor == Motor::Postgres && HayPostgres())
        EjecutarPostgres(
            QStringLiteral("postgres"),
            QStringLiteral("DROP DATABASE IF EXISTS \"%1\" WITH (FORCE);").arg(m_strNombre));
    else if (m_Motor == Motor::MariaDB && HayMariaDB())
        EjecutarMariaDB(QString(),
                        QStringLiteral("DROP DATABASE IF EXISTS `%1`;").arg(m_strNombre));
}

bool CBaseServidor::Ejecutar(const QString& strSql) const {
    return m_Motor == Motor::Postgres ? EjecutarPostgres(m_strNombre, strSql)
                                      : EjecutarMariaDB(m_strNombre, strSql);
}

} // namespace pruebas
