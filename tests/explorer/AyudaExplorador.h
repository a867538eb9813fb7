// The explorer tests' common ground: a Verondal.xml of the test's own, SQLite databases built
// from fixtures, a scripted data-link dialogue, and clicks and keys as a user gives them.
#pragma once

#include "Aplicacion.h"
#include "AyudasVentanas.h"
#include "DialogosGuion.h"
#include "controles/CArbol.h"
#include "controles/CBarraEstado.h"
#include "controles/CBarraHerramientas.h"
#include "controles/ColoresSistema.h"
#include "explorer/IVinculoDatos.h"
#include "explorer/frmExplorador.h"
#include <QTest>
#include <QToolButton>
#include <QTreeWidgetItem>
#include <memory>

namespace pruebas {

// The data-link dialogue with answers queued by the test; it records what it was shown.
class CVinculoGuion final : public IVinculoDatos {
public:
    CVinculoGuion() { EstablecerVinculoDatos(this); }
    ~CVinculoGuion() override { EstablecerVinculoDatos(nullptr); }

    std::deque<std::optional<QString>> respuestas; // none left: cancel
    QStringList titulos;
    QStringList cadenas;

    std::optional<QString> PedirCadena(const QString& strTitulo,
                                       const QString& strCadena) override {
        titulos << strTitulo;
        cadenas << strCadena;
        if (respuestas.empty())
            return std::nullopt;
        auto r = respuestas.front();
        respuestas.pop_front();
        return r;
    }
};

// The tree as the user sees it, as lines: indentation, text, icon (/expanded icon), #key, [tag],
// "gris"; a node the filter hides is left out.
inline QStringList Describir(const CArbol& tvw) {
    QStringList lineas;
    std::function<void(const QTreeWidgetItem*, int)> recorrer = [&](const QTreeWidgetItem* n,
                                                                    int intNivel) {
        if (n->isHidden())
            return;
        QString s =
            QString(intNivel * 2, u' ') + n->text(0) + u' ' + QString::number(CArbol::Icono(n));
        if (CArbol::IconoExpandido(n))
            s += u'/' + QString::number(CArbol::IconoExpandido(n));
        if (!CArbol::Clave(n).isEmpty())
            s += u" #"_s + CArbol::Clave(n);
        if (!CArbol::Etiqueta(n).isEmpty())
            s += u" ["_s + CArbol::Etiqueta(n) + u']';
        if (CArbol::Color(n) == Color::TextoGris)
            s += u" gris"_s;
        lineas << s;
        for (int i = 0; i < n->childCount(); ++i)
            recorrer(n->child(i), intNivel + 1);
    };
    for (int i = 0; i < tvw.topLevelItemCount(); ++i)
        recorrer(tvw.topLevelItem(i), 0);
    return lineas;
}

class ExploradorPrueba : public ::testing::Test {
protected:
    void SetUp() override {
        m_Carpeta = CarpetaDeLaPrueba();
        m_Ruta = ConfiguracionDePrueba(
            "<?xml version=\"1.0\"?>\n<Verondal><Conexiones></Conexiones></Verondal>\n");
        objVerondal = std::make_unique<CVerondal>(m_Ruta);
    }
    void TearDown() override {
        m_Explorador.reset();
        objVerondal.reset();
    }

    // A SQLite database built from a fixture in the test's folder; its connection string.
    QString BaseSQLite(const QString& strNombre, const QString& strFixture) {
        const QString strCadena =
            CrearBaseSQLite(m_Carpeta + u'/' + strNombre + u".db"_s,
                            strFixture.isEmpty() ? QString() : Fixture(strFixture));
        EXPECT_FALSE(strCadena.isEmpty()) << qPrintable(strFixture);
        return strCadena;
    }
    // A connection added as the program adds one: in memory and in the file.
    CConexion& Agregar(const QString& strTitulo, const QString& strCadena) {
        return objVerondal->Conexiones().NuevaConexion(strTitulo, strCadena);
    }

    // Two SQLite connections, the first one expanded (and so open).
    void DosConexiones() {
        Agregar(u"Ventas"_s, BaseSQLite(u"ventas"_s, "explorador_sqlite.sql"));
        Agregar(u"Vistas"_s, BaseSQLite(u"vistas"_s, "explorador_vistas.sql"));
        Abrir();
        Expandir(u"cnx1"_s);
    }
    CConexion& Conexion(const char* szId) {
        return objVerondal->Conexiones().Item(QLatin1String(szId));
    }

    frmExplorador& Abrir() {
        m_Explorador = std::make_unique<frmExplorador>();
        m_Explorador->setAttribute(Qt::WA_DeleteOnClose, false);
        m_Explorador->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(m_Explorador.get()));
        m_Explorador->resize(360, 700);
        return *m_Explorador;
    }
    CArbol& Arbol() { return *m_Explorador->tvwExplorador; }
    QTreeWidgetItem* Nodo(const QString& strClave) { return Arbol().Nodo(strClave); }
    // The first node (depth first) with that text.
    QTreeWidgetItem* NodoTexto(const QString& strTexto) {
        const auto lista = Arbol().findItems(strTexto, Qt::MatchExactly | Qt::MatchRecursive);
        return lista.isEmpty() ? nullptr : lista.first();
    }

    void Clic(QTreeWidgetItem* n) {
        ASSERT_NE(n, nullptr);
        Arbol().scrollToItem(n);
        QTest::mouseClick(Arbol().viewport(), Qt::LeftButton, {},
                          Arbol().visualItemRect(n).center());
    }
    // Clicks the node, then opens it with the right arrow key.
    void Expandir(QTreeWidgetItem* n) {
        Clic(n);
        QTest::keyClick(&Arbol(), Qt::Key_Right);
    }
    void Expandir(const QString& strClave) { Expandir(Nodo(strClave)); }
    void ClicBoton(const QString& strClave) {
        QTest::mouseClick(m_Explorador->tbrExplorador->Control(strClave), Qt::LeftButton);
    }
    bool Habilitado(const QString& strClave) {
        return m_Explorador->tbrExplorador->Habilitado(strClave);
    }
    // Which of the four node commands are enabled, as "mod eli cop pro" with "-" for disabled.
    QString BotonesDeNodo() {
        QStringList s;
        for (const char* b : {"mod", "eli", "cop", "pro"})
            s << (Habilitado(QLatin1String(b)) ? QLatin1String(b) : u"-"_s);
        return s.join(u' ');
    }
    QString Estado() { return m_Explorador->stbExplorador->Texto(); }

    QString m_Carpeta;
    QString m_Ruta;
    std::unique_ptr<frmExplorador> m_Explorador;
};

} // namespace pruebas
