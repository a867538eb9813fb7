#include "properties/frmPropiedadesConexion.h"

#include "catalog/CCadenaConexion.h"
#include "comun/CError.h"
#include "controles/CBarraEstado.h"
#include "controles/CPestanas.h"
#include "controles/CPunteroRaton.h"
#include "controles/ColoresSistema.h"
#include "controles/modEspera.h"
#include "controles/modGeneral.h"
#include "export/modArchivos.h"
#include "properties/modFilas.h"
#include "registry/CVerondal.h"

#include <QLocale>
#include <QMainWindow>
#include <tuple>

namespace {

const QString kTitulo = QString::fromUtf8("Propiedades de conexión");

enum Pestana : int {
    PestanaConexion = 0,
    PestanaTablas,
    PestanaProcedimientos,
    PestanaRelaciones,
    PestanaTiposDatos,
    PestanaPalabrasReservadas,
    PestanaLiterales
};

CListaImagenes Imagenes16() {
    return CListaImagenes(16, {"propiedad", "tabla", "vista", "tabla_vinculada", "procedimiento",
                               "relacion", "tipo_dato", "palabra", "ver", "exportar"});
}

CListaImagenes Imagenes32() {
    return CListaImagenes(32, {"propiedad", "tabla", "vista", "tabla_vinculada", "procedimiento",
                               "relacion", "tipo_dato", "palabra"});
}

// The provider's name; an unopened connection names the driver its string asks for.
QString NombreProveedor(const CConexion& objConexion) {
    if (objConexion.Conectado()) {
        try {
            return objConexion.Proveedor();
        } catch (const CError&) {
        }
    }
    return CCadenaConexion(objConexion.CadenaDeConexion()).Valor(QStringLiteral("DRIVER"));
}

int IconoTabla(const QString& strTipo) {
    if (strTipo == QLatin1String("VIEW") || strTipo == QLatin1String("SYSTEM VIEW"))
        return 3;
    if (strTipo == QLatin1String("PASS-THROUGH"))
        return 4;
    return 2;
}

} // namespace

frmPropiedadesConexion::frmPropiedadesConexion(QWidget* objPadre)
    : CMarcoPropiedades(QStringLiteral("tbrPropiedadesConexion"), QStringLiteral("sstPropiedades"),
                        Imagenes16(), Imagenes32(), 9, 10, objPadre),
      lvwConexion(AgregarPestana(QString::fromUtf8("Conexión"), QStringLiteral("lvwConexion"),
                                 QStringLiteral("Propiedades"))),
      lvwTablas(AgregarPestana(QStringLiteral("Tablas"), QStringLiteral("lvwTablas"),
                               QStringLiteral("Tablas"))),
      lvwProcedimientos(AgregarPestana(QStringLiteral("Procedimientos"),
                                       QStringLiteral("lvwProcedimientos"),
                                       QStringLiteral("Procedimientos"))),
      lvwRelaciones(AgregarPestana(QStringLiteral("Relaciones"), QStringLiteral("lvwRelaciones"),
                                   QStringLiteral("Relaciones"))),
      lvwTiposDatos(AgregarPestana(QStringLiteral("Tipos de datos"),
                                   QStringLiteral("lvwTiposDatos"),
                                   QStringLiteral("TiposDeDatos"))),
      lvwPalabrasReservadas(AgregarPestana(QStringLiteral("Palabras reservadas"),
                                           QStringLiteral("lvwPalabrasReservadas"),
                                           QStringLiteral("PalabrasReservadas"))),
      lvwLiterales(AgregarPestana(QStringLiteral("Literales"), QStringLiteral("lvwLiterales"),
                                  QStringLiteral("Literales"))) {
    setObjectName(QStringLiteral("frmPropiedadesConexion"));
    setWindowTitle(kTitulo);
    resize(Pixeles(8235), Pixeles(3675));

    lvwConexion->AgregarColumna(QStringLiteral("Propiedad"), 240);
    lvwConexion->AgregarColumna(QStringLiteral("Valor"), 247);

    lvwTablas->AgregarColumna(QStringLiteral("Nombre"), 153);
    lvwTablas->AgregarColumna(QStringLiteral("Tipo"), 60);
    lvwTablas->AgregarColumna(QStringLiteral("Creada"), 120);
    lvwTablas->AgregarColumna(QStringLiteral("Modificada"), 107);
    lvwTablas->AgregarColumna(QStringLiteral("Registros"), 60, Qt::AlignRight);

    lvwProcedimientos->AgregarColumna(QStringLiteral("Nombre"), 160);
    lvwProcedimientos->AgregarColumna(QStringLiteral("Tipo"), 87);
    lvwProcedimientos->AgregarColumna(QStringLiteral("Creado"), 120);
    lvwProcedimientos->AgregarColumna(QStringLiteral("Modificado"), 120);

    lvwRelaciones->AgregarColumna(QStringLiteral("Nombre"), 153);
    lvwRelaciones->AgregarColumna(QStringLiteral("Tabla principal"), 96);
    lvwRelaciones->AgregarColumna(QStringLiteral("Columna"), 80);
    lvwRelaciones->AgregarColumna(QStringLiteral("Tabla relacionada"), 96);
    lvwRelaciones->AgregarColumna(QStringLiteral("Columna"), 80);

    lvwTiposDatos->AgregarColumna(QStringLiteral("Nombre"), 100);
    lvwTiposDatos->AgregarColumna(QString::fromUtf8("Tamaño"), 73, Qt::AlignRight);
    lvwTiposDatos->AgregarColumna(QStringLiteral("Admite nulos"), 73, Qt::AlignHCenter);
    lvwTiposDatos->AgregarColumna(QString::fromUtf8("Tamaño fijo"), 68, Qt::AlignHCenter);
    lvwTiposDatos->AgregarColumna(QStringLiteral("Tipo de dato ADO"), 97);
    lvwTiposDatos->AgregarColumna(QString::fromUtf8("Admite búsquedas"), 95, Qt::AlignHCenter);

    lvwPalabrasReservadas->AgregarColumna(QStringLiteral("Palabra reservada"), 467);

    lvwLiterales->AgregarColumna(QStringLiteral("Nombre"), 113);
    lvwLiterales->AgregarColumna(QStringLiteral("Valor"), 36);
    lvwLiterales->AgregarColumna(QString::fromUtf8("Caracteres inválidos"), 110);
    lvwLiterales->AgregarColumna(QString::fromUtf8("Caracteres iniciales inválidos"), 149);
    lvwLiterales->AgregarColumna(QString::fromUtf8("Longitud máxima"), 93);
}

frmPropiedadesConexion::~frmPropiedadesConexion() = default;

void frmPropiedadesConexion::Conexion(const QString& strKey) {
    EstablecerClaveConexion(strKey);
    const CPunteroRaton reloj(Puntero::Reloj);

    const std::shared_ptr<CConexion> objConexion =
        objVerondal ? objVerondal->Conexiones().Compartida(strKey) : nullptr;
    if (!objConexion) {
        // A key the collection no longer holds (deleted meanwhile): nothing to list.
        lvwPalabrasReservadas->EstablecerTextoColumna(
            0, QStringLiteral("Palabras reservadas por el proveedor \"\""));
        for (int i = PestanaTablas; i <= PestanaLiterales; ++i)
            Pestanas()->HabilitarPestana(i, false);
        return;
    }
    setWindowTitle(kTitulo + QStringLiteral(": ") + objConexion->Titulo());
    // A failure to open shows up below as disabled tabs; Escape while it opens, the same.
    if (!ConectarEsperando(objConexion, BarraEstadoPrincipal())) {
        for (int i = PestanaTablas; i <= PestanaLiterales; ++i)
            Pestanas()->HabilitarPestana(i, false);
        return;
    }

    if (!LlenarTablas(objConexion)) {
        // Escape cut the link while it counted: what needs it stays disabled.
        for (int i = PestanaProcedimientos; i <= PestanaLiterales; ++i)
            Pestanas()->HabilitarPestana(i, false);
        return;
    }
    // The other tabs' rowsets, on a worker as well: on a large catalogue the relations alone
    // take seconds.
    struct CLectura {
        PRecordset procedimientos, relaciones, tipos, palabras, literales;
        QString strProveedor;
    };
    const auto lectura = std::make_shared<CLectura>();
    if (!EsperarConexion(
            objConexion,
            [objConexion, lectura] {
                lectura->procedimientos = objConexion->Procedimientos();
                lectura->relaciones = objConexion->Relaciones();
                lectura->tipos = objConexion->TiposDatos();
                lectura->strProveedor = NombreProveedor(*objConexion);
                lectura->palabras = objConexion->PalabrasReservadas();
                lectura->literales = objConexion->Literales();
            },
            QStringLiteral("Leyendo el catálogo..."), BarraEstadoPrincipal())) {
        for (int i = PestanaProcedimientos; i <= PestanaLiterales; ++i)
            Pestanas()->HabilitarPestana(i, false);
        return;
    }
    LlenarProcedimientos(std::move(lectura->procedimientos));
    LlenarRelaciones(std::move(lectura->relaciones));
    LlenarTiposDatos(std::move(lectura->tipos));
    LlenarPalabrasReservadas(lectura->strProveedor, std::move(lectura->palabras));
    LlenarLiterales(std::move(lectura->literales));
}

bool frmPropiedadesConexion::LlenarTablas(const std::shared_ptr<CConexion>& objConexion) {
    // The objects, then every count in one question: the window's long wait, on a worker that
    // may outlive a wait given up, so what it reads lives as long as it.
    struct CLectura {
        QList<QPair<QString, QVariant>> propiedades;
        PRecordset rs;
        QHash<QString, QString> registros;
    };
    const auto lectura = std::make_shared<CLectura>();
    if (!EsperarConexion(
            objConexion,
            [objConexion, lectura] {
                lectura->propiedades = objConexion->Propiedades();
                std::tie(lectura->rs, lectura->registros) = objConexion->TablasYRegistros();
            },
            QStringLiteral("Contando registros..."), BarraEstadoPrincipal()))
        return false;
    for (const auto& [strNombre, varValor] : lectura->propiedades)
        AgregarElementoLista(*lvwConexion, strNombre, 1, Color::TextoVentana, {varValor});
    PRecordset rs = std::move(lectura->rs);
    const QHash<QString, QString>& registros = lectura->registros;
    const long lngTotal = rs ? rs->NumeroFilas() : 0;

    // Counting the rows of every table is what takes long: say which table is being counted.
    m_BarraEstado = BarraEstadoPrincipal();
    m_TextoAnterior = m_BarraEstado ? m_BarraEstado->Texto() : windowTitle();
    m_RelojProgreso.invalidate();

    const CAdo& ado = objVerondal->ADO();
    // Each row takes its own schema's count.
    LlenarDesdeRowset(*Pestanas(), PestanaTablas, std::move(rs), [&](CRecordset& r) {
        const QString strNombre = TextoCampo(r, QStringLiteral("TABLE_NAME"));
        const QVariant varTipo = r.Valor(QStringLiteral("TABLE_TYPE"));
        const QString strTipo = CRecordset::EsNulo(varTipo) ? QString() : varTipo.toString();
        MostrarProgreso(strNombre, r.Posicion(), lngTotal);
        const QString strRegistros = registros.value(
            CConexion::ClaveObjeto(r.Valor(QStringLiteral("TABLE_CATALOG")),
                                   r.Valor(QStringLiteral("TABLE_SCHEMA")), strNombre));
        AgregarElementoLista(
            *lvwTablas, strNombre, IconoTabla(strTipo), ado.ColorTexto(strTipo),
            {CRecordset::EsNulo(varTipo) ? QVariant() : QVariant(ado.TipoTabla(strTipo)),
             r.Valor(QStringLiteral("DATE_CREATED")), r.Valor(QStringLiteral("DATE_MODIFIED")),
             strRegistros.isEmpty() ? QVariant() : QVariant(strRegistros)});
    });

    if (m_RelojProgreso.isValid()) {
        if (m_BarraEstado)
            m_BarraEstado->EstablecerTexto(m_TextoAnterior);
        else
            setWindowTitle(m_TextoAnterior);
    }
    m_BarraEstado = nullptr;
    return true;
}

void frmPropiedadesConexion::MostrarProgreso(const QString& strTabla, long lngNumero,
                                             long lngTotal) {
    if (m_RelojProgreso.isValid() && m_RelojProgreso.elapsed() < kMilisegundosProgreso)
        return;
    m_RelojProgreso.start();
    const QString strTexto = QStringLiteral("Contando registros de %1 (%2 de %3)...")
                                 .arg(strTabla)
                                 .arg(lngNumero)
                                 .arg(lngTotal);
    // The status bar paints itself at once; nothing else runs until the window is filled.
    if (m_BarraEstado)
        m_BarraEstado->EstablecerTexto(strTexto);
    else
        setWindowTitle(strTexto);
    emit ProgresoRecuento(strTexto);
}

void frmPropiedadesConexion::LlenarProcedimientos(PRecordset rs) {
    const CAdo& ado = objVerondal->ADO();
    LlenarDesdeRowset(*Pestanas(), PestanaProcedimientos, std::move(rs), [&](CRecordset& r) {
        AgregarElementoLista(*lvwProcedimientos, TextoCampo(r, QStringLiteral("PROCEDURE_NAME")), 5,
                             Color::TextoVentana,
                             {TextoCodigo(r, QStringLiteral("PROCEDURE_TYPE"),
                                          [&](long l) { return ado.TipoProcedimiento(l); }),
                              r.Valor(QStringLiteral("DATE_CREATED")),
                              r.Valor(QStringLiteral("DATE_MODIFIED"))});
    });
}

void frmPropiedadesConexion::LlenarRelaciones(PRecordset rs) {
    LlenarDesdeRowset(*Pestanas(), PestanaRelaciones, std::move(rs), [&](CRecordset& r) {
        AgregarElementoLista(
            *lvwRelaciones, TextoCampo(r, QStringLiteral("FK_NAME")), 6, Color::TextoVentana,
            {r.Valor(QStringLiteral("PK_TABLE_NAME")), r.Valor(QStringLiteral("PK_COLUMN_NAME")),
             r.Valor(QStringLiteral("FK_TABLE_NAME")), r.Valor(QStringLiteral("FK_COLUMN_NAME"))});
    });
}

void frmPropiedadesConexion::LlenarTiposDatos(PRecordset rs) {
    const CAdo& ado = objVerondal->ADO();
    LlenarDesdeRowset(*Pestanas(), PestanaTiposDatos, std::move(rs), [&](CRecordset& r) {
        // 64 bits: a long text type reports 4294967295, beyond a 32-bit whole number.
        const std::optional<qint64> lngTamano = EnteroCampo(r, QStringLiteral("COLUMN_SIZE"));
        AgregarElementoLista(
            *lvwTiposDatos, TextoCampo(r, QStringLiteral("TYPE_NAME")), 7, Color::TextoVentana,
            {lngTamano ? QVariant(FormatearTamano(*lngTamano)) : QVariant(),
             SiNoCampo(r, QStringLiteral("IS_NULLABLE")),
             SiNoCampo(r, QStringLiteral("IS_FIXEDLENGTH")),
             TextoCodigo(r, QStringLiteral("DATA_TYPE"), [&](long l) { return ado.TipoCampo(l); }),
             TextoCodigo(r, QStringLiteral("SEARCHABLE"),
                         [&](long l) { return ado.TipoAdmisionBusquedas(l); })});
    });
}

void frmPropiedadesConexion::LlenarPalabrasReservadas(const QString& strProveedor, PRecordset rs) {
    lvwPalabrasReservadas->EstablecerTextoColumna(
        0, QStringLiteral("Palabras reservadas por el proveedor \"") + strProveedor +
               QLatin1Char('"'));
    LlenarDesdeRowset(*Pestanas(), PestanaPalabrasReservadas, std::move(rs), [&](CRecordset& r) {
        AgregarElementoLista(*lvwPalabrasReservadas, TextoCampo(r, QStringLiteral("Keyword")), 8,
                             Color::TextoVentana, {});
    });
}

void frmPropiedadesConexion::LlenarLiterales(PRecordset rs) {
    const QLocale loc; // the regional digit grouping, which the other numbers leave out
    LlenarDesdeRowset(*Pestanas(), PestanaLiterales, std::move(rs), [&](CRecordset& r) {
        const std::optional<qint64> lngMaximo = EnteroCampo(r, QStringLiteral("Maxlen"));
        AgregarElementoLista(
            *lvwLiterales, TextoCampo(r, QStringLiteral("LiteralName")), 8, Color::TextoVentana,
            {r.Valor(QStringLiteral("LiteralValue")), r.Valor(QStringLiteral("InvalidChars")),
             r.Valor(QStringLiteral("InvalidStartingChars")),
             lngMaximo ? QVariant(loc.toString(*lngMaximo)) : QVariant()});
    });
}
