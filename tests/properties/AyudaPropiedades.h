// What the property-window tests share: an application object over a throwaway Verondal.xml,
// a list's rows as text lines, and answers to the menus and dialogs a click opens.
#pragma once

#include "Aplicacion.h"
#include "ConfiguracionEspanola.h"
#include "DialogosGuion.h"
#include "controles/CBarraHerramientas.h"
#include "controles/CListaVista.h"
#include "controles/CPestanas.h"
#include "controles/modGeneral.h"
#include "properties/CMarcoPropiedades.h"
#include <QApplication>
#include <QCoreApplication>
#include <QMenu>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
namespace pruebas {

// One line per row: the text and every sub-item, joined by "|".
inline QStringList Filas(const CListaVista& lvw) {
    QStringList filas;
    for (int f = 0; f < lvw.NumeroElementos(); ++f) {
        QStringList celdas;
        for (int c = 0; c < lvw.NumeroColumnas(); ++c)
            celdas << lvw.TextoCelda(f, c);
        filas << celdas.join(u'|');
    }
    return filas;
}

inline int FilaDe(const CListaVista& lvw, const QString& strTexto) {
    for (int f = 0; f < lvw.NumeroElementos(); ++f)
        if (lvw.Texto(f) == strTexto)
            return f;
    return -1;
}

// The row whose text is strTexto, as Filas gives it; empty when there is none.
inline QString Fila(const CListaVista& lvw, const QString& strTexto) {
    const int f = FilaDe(lvw, strTexto);
    return f < 0 ? QString() : Filas(lvw).at(f);
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
        const QString n = rs->Texto(u"INDEX_NAME"_s);
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
    if (!rs || !rs->BuscarPrimero(u"INDEX_NAME"_s, strIndice))
        return u"?"_s;
    return objVerondal->ADO().TipoIndice(static_cast<long>(rs->Valor(u"TYPE"_s).toLongLong()));
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

// The SQLite fixture, built once per test program.
inline QString BaseSQLitePropiedades() {
    static const QString s = CrearBaseSQLite(CarpetaTemporal() + u"/propiedades.db"_s,
                                             Fixture(u"propiedades_sqlite.sql"_s));
    return s;
}

// Tests with a fresh application object and the SQLite fixture as its connection m_Id.
class CPruebaSQLite : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(BaseSQLitePropiedades().isEmpty());
        m_Id = m_App.Agregar(u"Ventas"_s, BaseSQLitePropiedades());
    }
    CAplicacionPrueba m_App;
    QString m_Id;
};

// Tests on the PostgreSQL fixture: one database per test program, dropped at its end, and a
// reader of this run's own who may be refused a catalogue table.
class CPruebaPostgres : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (HayPostgres())
            s_Base = std::make_unique<CBaseServidor>(CBaseServidor::Motor::Postgres, u"prop"_s,
                                                     QStringList{"propiedades_postgres.sql"});
    }
    static void TearDownTestSuite() {
        if (!s_Base)
            return;
        s_Base.reset();
        EjecutarPostgres(u"postgres"_s, u"DROP ROLE IF EXISTS %1;"_s.arg(Lector()));
    }
    void SetUp() override {
        REQUIERE_POSTGRES();
        ASSERT_TRUE(s_Base && !s_Base->Cadena().isEmpty()) << "no se pudo crear la base";
        s_Cadena = s_Base->Cadena();
    }
    static QString Base() { return s_Base->Nombre(); }
    static QString Lector() {
        return u"verondal_lector_%1"_s.arg(QCoreApplication::applicationPid());
    }
    // A connection string for a reader who may not read strCatalogo (a pg_catalog table) in
    // this database, until DevolverCatalogo gives it back.
    static QString CadenaSinCatalogo(const QString& strCatalogo) {
        const bool booHecho = s_Base->Ejecutar(
            QStringLiteral("DO $$BEGIN CREATE ROLE %2 LOGIN; "
                           "EXCEPTION WHEN duplicate_object OR unique_violation THEN NULL; END$$;"
                           "REVOKE SELECT ON pg_catalog.%1 FROM PUBLIC;"
                           "GRANT SELECT ON ALL TABLES IN SCHEMA public TO %2;")
                .arg(strCatalogo, Lector()));
        EXPECT_TRUE(booHecho);
        QString strCadena = s_Cadena;
        strCadena.replace(QRegularExpression(u"Uid=[^;]*"_s), u"Uid="_s + Lector());
        return strCadena;
    }
    static void DevolverCatalogo(const QString& strCatalogo) {
        s_Base->Ejecutar(u"GRANT SELECT ON pg_catalog.%1 TO PUBLIC;"_s.arg(strCatalogo));
    }
    static inline std::unique_ptr<CBaseServidor> s_Base;
    static inline QString s_Cadena;
    CAplicacionPrueba m_App;
};

} // namespace pruebas
