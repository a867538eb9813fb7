// Small file helpers shared by the registry tests: each test gets its own folder.
#pragma once

#include "Entorno.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <gtest/gtest.h>

// Failures show texts as text, not as arrays of 16-bit units.
inline void PrintTo(const QString& strTexto, std::ostream* os) {
    *os << '"' << strTexto.toStdString() << '"';
}

namespace pruebas {

// A fresh folder named after the running test.
inline QString CarpetaDeLaPrueba() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const QString strCarpeta =
        CarpetaTemporal() + QLatin1Char('/') + QString::fromLatin1(info->test_suite_name()) +
        QLatin1Char('.') +
        QString::fromLatin1(info->name()).replace(QLatin1Char('/'), QLatin1Char('_'));
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

// Verondal.xml in the test's folder with the given content; returns its path.
inline QString ConfiguracionDePrueba(const QByteArray& bytContenido) {
    const QString strRuta = CarpetaDeLaPrueba() + QStringLiteral("/Verondal.xml");
    Escribir(strRuta, bytContenido);
    return strRuta;
}

// The known answers: two connections as an existing file holds them.
inline constexpr char kCifradaServidor[] =
    "D1EB9009AD3B85AAC53B5B3891311FD7AEDAC0B43C9EC10639601DE7127255E1047BEE";
inline constexpr char kCadenaServidor[] = "Provider=SQLOLEDB.1;Data Source=srv";
inline const QByteArray kDosConexiones =
    QByteArray("<?xml version=\"1.0\"?>\n<Verondal><Conexiones>"
               "<Conexion Id=\"cnx1\"><Titulo>Servidor</Titulo><CadenaDeConexion>") +
    kCifradaServidor +
    "</CadenaDeConexion></Conexion>"
    "<Conexion Id=\"cnx2\"><Titulo>Letra</Titulo><CadenaDeConexion>C0</CadenaDeConexion>"
    "</Conexion></Conexiones></Verondal>\n";

} // namespace pruebas
