// What the property-window tests share: an application object over a throwaway Verondal.xml,
// a list's rows as text lines, and answers to the menus and dialogs a click opens.
#pragma once

#include "ConfiguracionEspanola.h"
#include "DialogosGuion.h"
#include "Entorno.h"
#include "RespuestaFormato.h"
#include "controles/CBarraHerramientas.h"
#include "controles/CListaVista.h"
#include "controles/CPestanas.h"
#include "controles/modGeneral.h"
#include "export/ui/frmExportar.h"
#include "properties/CMarcoPropiedades.h"
#include "registry/CVerondal.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

// Failures print texts as texts.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace pruebas {

// objVerondal for the length of one test, with no connection until the test adds them.
class CAplicacionPrueba {
public:
    CAplicacionPrueba() {
        static int intNumero = 0;
        const QString strRuta =
            CarpetaTemporal() + QStringLiteral("/Verondal-%1.xml").arg(++intNumero);
        QFile f(strRuta);
        if (f.open(QIODevice::WriteOnly))
            f.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<Verondal><Conexiones/></Verondal>\n");
        f.close();
        objVerondal = std::make_unique<CVerondal>(strRuta);
    }
    ~CAplicacionPrueba() { objVerondal.reset(); }
    CAplicacionPrueba(const CAplicacionPrueba&) = delete;
    CAplicacionPrueba& operator=(const CAplicacionPrueba&) = delete;

    // A new connection of the collection; returns its Id.
    QString Agregar(const QString& strTitulo, const QString& strCadena) {
        return objVerondal->Conexiones().NuevaConexion(strTitulo, strCadena).Id();
    }
};

// One line per row: the text and every sub-item, joined by "|".
inline QStringList Filas(const CListaVista& lvw) {
    QStringList filas;
    for (int f = 0; f < lvw.NumeroElementos(); ++f) {
        QStringList celdas;
        for (int c = 0; c < lvw.NumeroColumnas(); ++c)
            celdas << lvw.TextoCelda(f, c);
        filas << celdas.join(QLatin1Char('|'));
    }
    return filas;
}

// The row whose text is strTexto, as Filas gives it; empty when there is none.
inline QString Fila(const CListaVista& lvw, const QString& strTexto) {
    for (int f = 0; f < lvw.NumeroElementos(); ++f)
        if (lvw.Texto(f) == strTexto)
            return Filas(lvw).at(f);
    return {};
}

inline int FilaDe(const CListaVista& lvw, const QString& strTexto) {
    for (int f = 0; f < lvw.NumeroElementos(); ++f)
        if (lvw.Texto(f) == strTexto)
            return f;
    return -1;
}

inline QStringList Claves(const CListaVista& lvw) {
    QStringList c;
    for (int f = 0; f < lvw.NumeroElementos(); ++f)
        c << lvw.Clave(f);
    return c;
}

// The index names of the table's indexes rowset in the order of each one's first row, and, in
// strFilas, the name on every row: what the window's index list must follow.
inline QStringList IndicesEnOrden(const QString& strId, const QString& strTabla,
                                  QStringList* strFilas = nullptr) {
    QStringList orden;
    PRecordset rs = objVerondal->Conexiones().Item(strId).Indices(strTabla);
    EXPECT_TRUE(rs);
    if (!rs)
        return orden;
    for (rs->MoverPrimero(); !rs->FinDatos(); rs->MoverSiguiente()) {
        const QString n = rs->Texto(QStringLiteral("INDEX_NAME"));
        if (strFilas)
            *strFilas << n;
        if (!orden.contains(n))
            orden << n;
    }
    return orden;
}

// The "Tipo" text of an index as its first row in the rowset gives it (the drivers differ).
inline QString TipoIndiceDe(const QString& strId, const QString& strTabla,
                            const QString& strIndice) {
    PRecordset rs = objVerondal->Conexiones().Item(strId).Indices(strTabla);
    if (!rs || !rs->BuscarPrimero(QStringLiteral("INDEX_NAME"), strIndice))
        return QStringLiteral("?");
    return objVerondal->ADO().TipoIndice(
        static_cast<long>(rs->Valor(QStringLiteral("TYPE")).toLongLong()));
}

inline QStringList Titulos(const CListaVista& lvw) {
    QStringList t;
    for (int c = 0; c < lvw.NumeroColumnas(); ++c)
        t << lvw.TituloColumna(c);
    return t;
}

// Picks strTexto in the menu that the next click opens (or closes it when strTexto is empty),
// and records whether a menu was open at all.
struct CRespuestaMenu {
    explicit CRespuestaMenu(const QString& strTexto) {
        QTimer::singleShot(50, &contexto, [this, strTexto] {
            auto* m = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!m)
                return;
            booVisto = true;
            for (QAction* a : m->actions())
                strOpciones << a->text();
            QAction* elegida = nullptr;
            for (QAction* a : m->actions())
                if (a->text() == strTexto)
                    elegida = a;
            if (elegida) {
                m->setActiveAction(elegida);
                QTest::keyClick(m, Qt::Key_Return);
            } else {
                m->close();
            }
        });
    }
    bool booVisto = false;
    QStringList strOpciones;
    QObject contexto;
};

// An exported XML file: the root element's name, then per record its values in order.
struct CXmlExportado {
    QString strRaiz;
    QStringList strFilas;
};

inline CXmlExportado LeerXml(const QString& strRuta) {
    CXmlExportado x;
    QFile f(strRuta);
    if (!f.open(QIODevice::ReadOnly))
        return x;
    QDomDocument doc;
    if (!doc.setContent(&f))
        return x;
    x.strRaiz = doc.documentElement().tagName();
    for (QDomElement r = doc.documentElement().firstChildElement(); !r.isNull();
         r = r.nextSiblingElement()) {
        QStringList valores;
        for (QDomElement v = r.firstChildElement(); !v.isNull(); v = v.nextSiblingElement())
            valores << v.text();
        x.strFilas << valores.join(QLatin1Char('|'));
    }
    return x;
}

// A document that the export opened instead of saving: its temporary folder goes with it.
inline void BorrarAbiertos(const QStringList& strRutas) {
    for (const QString& strRuta : strRutas)
        QDir(QFileInfo(strRuta).absolutePath()).removeRecursively();
}

// The SQLite fixture, built once per test program.
inline QString BaseSQLitePropiedades() {
    static const QString s = CrearBaseSQLite(CarpetaTemporal() + QStringLiteral("/propiedades.db"),
                                             Fixture(QStringLiteral("propiedades_sqlite.sql")));
    return s;
}

// Tests with a fresh application object and the SQLite fixture as its connection m_Id.
class CPruebaSQLite : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(BaseSQLitePropiedades().isEmpty());
        m_Id = m_App.Agregar(QStringLiteral("Ventas"), BaseSQLitePropiedades());
    }
    CAplicacionPrueba m_App;
    QString m_Id;
};

// Tests on the PostgreSQL fixture: one database per test program (ctest runs several at once).
class CPruebaPostgres : public ::testing::Test {
protected:
    static QString Base() {
        return QStringLiteral("prop_%1").arg(QCoreApplication::applicationPid());
    }
    static void SetUpTestSuite() {
        if (HayPostgres())
            s_Cadena =
                CrearBasePostgres(Base(), Fixture(QStringLiteral("propiedades_postgres.sql")));
    }
    static void TearDownTestSuite() {
        if (!s_Cadena.isEmpty())
            EjecutarPostgres(
                QStringLiteral("postgres"),
                QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE);").arg(Base()));
        s_Cadena.clear();
    }
    void SetUp() override {
        REQUIERE_POSTGRES();
        ASSERT_FALSE(s_Cadena.isEmpty());
    }
    // A connection string for a reader who may not read strCatalogo (a pg_catalog table) in
    // this database, until DevolverCatalogo gives it back.
    static QString CadenaSinCatalogo(const QString& strCatalogo) {
        const bool booHecho = EjecutarPostgres(
            Base(),
            QStringLiteral("DO $$BEGIN CREATE ROLE verondal_lector LOGIN; "
                           "EXCEPTION WHEN duplicate_object OR unique_violation THEN NULL; END$$;"
                           "REVOKE SELECT ON pg_catalog.%1 FROM PUBLIC;"
                           "GRANT SELECT ON ALL TABLES IN SCHEMA public TO verondal_lector;")
                .arg(strCatalogo));
        EXPECT_TRUE(booHecho);
        QString strCadena = s_Cadena;
        strCadena.replace(QRegularExpression(QStringLiteral("Uid=[^;]*")),
                          QStringLiteral("Uid=verondal_lector"));
        return strCadena;
    }
    static void DevolverCatalogo(const QString& strCatalogo) {
        EjecutarPostgres(
            Base(), QStringLiteral("GRANT SELECT ON pg_catalog.%1 TO PUBLIC;").arg(strCatalogo));
    }
    static inline QString s_Cadena;
    CAplicacionPrueba m_App;
};

// Exports every non-empty list of frm in the five formats through "exp", the tab shown first.
// The file formats are saved under strPrefijo in the temporary folder; the office formats are
// handed to the (scripted) associated program.
inline void ExportarEnLosCincoFormatos(CMarcoPropiedades& frm, CDialogosGuion& guion,
                                       const QString& strPrefijo) {
    for (int i = 0; i < frm.NumeroListas(); ++i) {
        if (frm.Lista(i)->NumeroElementos() == 0)
            continue;
        frm.Pestanas()->SeleccionarPestana(i);
        for (int intFormato = 0; intFormato < 5; ++intFormato) {
            const QString strRuta =
                CarpetaTemporal() +
                QStringLiteral("/%1-%2-%3.dat").arg(strPrefijo).arg(i).arg(intFormato);
            if (intFormato >= 2)
                guion.rutas.push_back(strRuta);
            const auto intAbiertos = guion.abiertos.size();
            CRespuestaFormato formato(intFormato);
            QTest::mouseClick(frm.Barra()->Control(QStringLiteral("exp")), Qt::LeftButton);
            EXPECT_TRUE(formato.booVisto) << i << " " << intFormato;
            if (intFormato >= 2)
                EXPECT_GT(QFileInfo(strRuta).size(), 0) << i << " " << intFormato;
            else
                EXPECT_EQ(guion.abiertos.size(), intAbiertos + 1) << i << " " << intFormato;
        }
    }
    // Only the offers to open each saved file: no failure was reported.
    for (const CMensajeMostrado& m : guion.mensajes)
        EXPECT_EQ(m.intEstilo & Estilo::Critico, 0) << m.strTexto.toStdString();
    BorrarAbiertos(guion.abiertos);
}

} // namespace pruebas
