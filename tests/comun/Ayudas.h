// What tests of every room share: texts printed as texts in failures, a folder per test, whole
// files read and written, and verondal-cli run as a script runs it.
#pragma once

#include "Entorno.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <ostream>

// Failures show texts as text, not as arrays of 16-bit units.
inline void PrintTo(const QString& strTexto, std::ostream* os) {
    *os << '"' << strTexto.toStdString() << '"';
}
inline void PrintTo(const QStringList& lista, std::ostream* os) {
    *os << "{\n";
    for (const QString& s : lista)
        *os << "  \"" << s.toStdString() << "\"\n";
    *os << "}";
}

namespace pruebas {

// A fresh folder named after the running test.
inline QString CarpetaDeLaPrueba() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const QString strCarpeta = CarpetaTemporal() + u'/' +
                               QString::fromLatin1(info->test_suite_name()) + u'.' +
                               QString::fromLatin1(info->name()).replace(u'/', u'_');
    QDir(strCarpeta).removeRecursively();
    QDir().mkpath(strCarpeta);
    return strCarpeta;
}

inline void Escribir(const QString& strRuta, const QByteArray& bytContenido) {
    QFile f(strRuta);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << qPrintable(strRuta);
    f.write(bytContenido);
}

inline QByteArray Leer(const QString& strRuta) {
    QFile f(strRuta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// One of the sample databases of app/muestra (ventas2025, ventas2026), built afresh as a SQLite
// file of the run; its connection string.
inline QString BaseMuestra(const QString& strNombre) {
    return CrearBaseSQLite(RutaTemporal(strNombre + u".db"_s),
                           Fixture(u"../../app/muestra/%1.sql"_s.arg(strNombre)));
}

// What one run of verondal-cli left: its exit status (-1 when it crashed or hung) and output.
struct CSalidaCli {
    int intEstado = -1;
    QByteArray salida;
    QByteArray errores;
    QString Salida() const { return QString::fromUtf8(salida); }
    QString Errores() const { return QString::fromUtf8(errores); }
    // The output's lines, without the empty one after the last line end.
    QStringList Lineas() const {
        return Salida().chopped(Salida().endsWith(u'\n') ? 1 : 0).split(u'\n');
    }
};

inline CSalidaCli EjecutarCli(const QStringList& argumentos, const QByteArray& bytEntrada = {}) {
    QProcess p;
    p.start(QStringLiteral(VERONDAL_BIN "/verondal-cli"), argumentos);
    if (!p.waitForStarted(10000))
        return {};
    p.write(bytEntrada);
    p.closeWriteChannel();
    if (!p.waitForFinished(120000))
        p.kill();
    p.waitForFinished();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

} // namespace pruebas
