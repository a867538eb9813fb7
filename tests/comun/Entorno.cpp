#include "Entorno.h"
#include "Ayudas.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <optional>

namespace pruebas {
namespace {

QString Variable(const char* nombre) {
    return qEnvironmentVariable(nombre);
}

// The program's standard output, or nothing (its output on standard error) when it fails.
std::optional<QByteArray> Correr(const QString& programa, const QStringList& argumentos,
                                 const QByteArray& entrada) {
    QProcess proceso;
    proceso.start(programa, argumentos);
    if (!proceso.waitForStarted(10000))
        return std::nullopt;
    proceso.write(entrada);
    proceso.closeWriteChannel();
    if (!proceso.waitForFinished(300000))
        return std::nullopt;
    const QByteArray salida = proceso.readAllStandardOutput();
    if (proceso.exitStatus() != QProcess::NormalExit || proceso.exitCode() != 0) {
        fprintf(stderr, "%s falló:\n%s%s\n", qPrintable(programa), salida.constData(),
                proceso.readAllStandardError().constData());
        return std::nullopt;
    }
    return salida;
}

bool Ejecutar(const QString& programa, const QStringList& argumentos, const QByteArray& entrada) {
    return Correr(programa, argumentos, entrada).has_value();
}

QStringList Lineas(const std::optional<QByteArray>& salida) {
    return QString::fromUtf8(salida.value_or(QByteArray())).split(u'\n', Qt::SkipEmptyParts);
}

QStringList ArgumentosPostgres(const QString& baseDatos) {
    return u"-X -q -v ON_ERROR_STOP=1 -h 127.0.0.1 -p"_s.split(u' ')
           << Variable("VERONDAL_PG_PUERTO") << u"-U"_s << Variable("VERONDAL_PG_USUARIO")
           << u"-d"_s << baseDatos;
}

QStringList ArgumentosMariaDB(const QString& baseDatos) {
    QStringList a = u"--protocol=TCP -h 127.0.0.1 -P"_s.split(u' ')
                    << Variable("VERONDAL_MARIADB_PUERTO") << u"-u"_s
                    << Variable("VERONDAL_MARIADB_USUARIO");
    if (!baseDatos.isEmpty())
        a << baseDatos;
    return a;
}

} // namespace

QString Fixture(const QString& strNombre) {
    return QStringLiteral(VERONDAL_FIXTURES) + u'/' + strNombre;
}

QString CarpetaTemporal() {
    static QTemporaryDir carpeta(QDir::tempPath() + u"/verondal-pruebas-XXXXXX"_s);
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
    return u"DRIVER={SQLite3};Database=%1;"_s.arg(strRuta);
}

bool EjecutarPostgres(const QString& strBaseDatos, const QString& strSql) {
    return Ejecutar(u"psql"_s, ArgumentosPostgres(strBaseDatos), strSql.toUtf8());
}

bool EjecutarMariaDB(const QString& strBaseDatos, const QString& strSql) {
    return Ejecutar(u"mariadb"_s, ArgumentosMariaDB(strBaseDatos), strSql.toUtf8());
}

bool EjecutarSQLite(const QString& strRuta, const QString& strSql) {
    return Ejecutar(u"sqlite3"_s, {u"-bail"_s, strRuta}, strSql.toUtf8());
}

QStringList ConsultarPostgres(const QString& strBaseDatos, const QString& strSql) {
    return Lineas(Correr(u"psql"_s, ArgumentosPostgres(strBaseDatos) << u"-At"_s, strSql.toUtf8()));
}

QStringList ConsultarMariaDB(const QString& strBaseDatos, const QString& strSql) {
    QStringList filas =
        Lineas(Correr(u"mariadb"_s, ArgumentosMariaDB(strBaseDatos) << u"-NBr"_s, strSql.toUtf8()));
    for (QString& f : filas)
        f.replace(u'\t', u'|').replace(u"NULL"_s, u"·"_s);
    return filas;
}

QStringList ConsultarSQLite(const QString& strRuta, const QString& strSql) {
    return Lineas(Correr(u"sqlite3"_s, {strRuta}, strSql.toUtf8()));
}

QString CrearBaseSQLite(const QString& strRuta, const QString& strArchivoSql) {
    QFile::remove(strRuta);
    if (!Ejecutar(u"sqlite3"_s, {u"-bail"_s, strRuta},
                  strArchivoSql.isEmpty() ? QByteArray() : Leer(strArchivoSql)))
        return {};
    return CadenaSQLite(strRuta);
}

CBaseServidor::CBaseServidor(Motor motor, const QString& strPrefijo, const QStringList& archivosSql)
    : m_Motor(motor) {
    static int s_intNumero = 0;
    m_strNombre = u"%1_%2_%3"_s.arg(strPrefijo.toLower())
                      .arg(QCoreApplication::applicationPid())
                      .arg(++s_intNumero);
    const bool booPostgres = motor == Motor::Postgres;
    const bool booCreada =
        booPostgres
            ? HayPostgres() &&
                  EjecutarPostgres(u"postgres"_s, u"CREATE DATABASE \"%1\";"_s.arg(m_strNombre))
            : HayMariaDB() &&
                  EjecutarMariaDB(
                      QString(), u"CREATE DATABASE `%1` CHARACTER SET utf8mb4;"_s.arg(m_strNombre));
    bool booHecha = booCreada;
    for (const QString& strArchivo : archivosSql)
        booHecha = booHecha && Ejecutar(QString::fromUtf8(Leer(Fixture(strArchivo))));
    if (booHecha)
        m_strCadena = booPostgres ? CadenaPostgres(m_strNombre) : CadenaMariaDB(m_strNombre);
}

CBaseServidor::~CBaseServidor() {
    if (m_Motor == Motor::Postgres && HayPostgres())
        EjecutarPostgres(u"postgres"_s,
                         u"DROP DATABASE IF EXISTS \"%1\" WITH (FORCE);"_s.arg(m_strNombre));
    else if (m_Motor == Motor::MariaDB && HayMariaDB())
        EjecutarMariaDB(QString(), u"DROP DATABASE IF EXISTS `%1`;"_s.arg(m_strNombre));
}

bool CBaseServidor::Ejecutar(const QString& strSql) const {
    return m_Motor == Motor::Postgres ? EjecutarPostgres(m_strNombre, strSql)
                                      : EjecutarMariaDB(m_strNombre, strSql);
}

QStringList CBaseServidor::Consultar(const QString& strSql) const {
    return m_Motor == Motor::Postgres ? ConsultarPostgres(m_strNombre, strSql)
                                      : ConsultarMariaDB(m_strNombre, strSql);
}

} // namespace pruebas
