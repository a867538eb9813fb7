#include "properties/frmPropiedadesTabla.h"

#include "controles/CPestanas.h"
#include "controles/ColoresSistema.h"
#include "controles/modEspera.h"
#include "controles/modGeneral.h"
#include "properties/modFilas.h"
#include "registry/CVerondal.h"

namespace {

constexpr int kPestanaIndices = 1;
constexpr int kSubElementoColumnas = 4;

CListaImagenes Imagenes16() {
    return CListaImagenes(16, {"columna", "clave", "indice", "ver", "exportar"});
}

CListaImagenes Imagenes32() {
    return CListaImagenes(32, {"columna", "clave", "indice"});
}

} // namespace

frmPropiedadesTabla::frmPropiedadesTabla(QWidget* objPadre)
    : CMarcoPropiedades(QStringLiteral("tbrPropiedadesTabla"),
                        QStringLiteral("sstPropiedadesTabla"), Imagenes16(), Imagenes32(), 4, 5,
                        objPadre),
      lvwCampos(AgregarPestana(QStringLiteral("Campos"), QStringLiteral("lvwCampos"),
                               QStringLiteral("Campos"))),
      lvwIndices(AgregarPestana(QString::fromUtf8("Índices"), QStringLiteral("lvwIndices"),
                                QString::fromUtf8("Índices"))) {
    setObjectName(QStringLiteral("frmPropiedadesTabla"));
    setWindowTitle(QStringLiteral("Propiedades de tabla"));
    resize(Pixeles(8235), Pixeles(3675));

    lvwCampos->AgregarColumna(QStringLiteral("Nombre"), 120);
    lvwCampos->AgregarColumna(QStringLiteral("Tipo de dato"), 73);
    lvwCampos->AgregarColumna(QString::fromUtf8("Tamaño"), 50, Qt::AlignHCenter);
    lvwCampos->AgregarColumna(QStringLiteral("Admite nulos"), 73, Qt::AlignHCenter);
    lvwCampos->AgregarColumna(QStringLiteral("Valor predeterminado"), 87, Qt::AlignHCenter);

    lvwIndices->AgregarColumna(QStringLiteral("Nombre"), 133);
    lvwIndices->AgregarColumna(QStringLiteral("Primario"), 50, Qt::AlignHCenter);
    lvwIndices->AgregarColumna(QString::fromUtf8("Único"), 39, Qt::AlignHCenter);
    lvwIndices->AgregarColumna(QStringLiteral("Agrupado"), 59, Qt::AlignHCenter);
    lvwIndices->AgregarColumna(QStringLiteral("Columnas"), 93);
    lvwIndices->AgregarColumna(QStringLiteral("Tipo"), 73);
    lvwIndices->AgregarColumna(QString::fromUtf8("Ordenación"), 67, Qt::AlignHCenter);
}

void frmPropiedadesTabla::Conexion(const QString& strKey) {
    EstablecerClaveConexion(strKey);
}

void frmPropiedadesTabla::Tabla(const QString& strNombre, const QString& strEsquema) {
    setWindowTitle(QStringLiteral("Propiedades de tabla: ") +
                   (strEsquema.isEmpty() ? strNombre : strEsquema + QLatin1Char('.') + strNombre));

    // Looked up now rather than kept: the explorer may delete the connection while this is open.
    const std::shared_ptr<CConexion> objCompartida =
        objVerondal ? objVerondal->Conexiones().Compartida(ClaveConexion()) : nullptr;
    CConexion* objConexion = objCompartida.get();
    // The explorer's rebuild closes connections; the window opens its own again if need be, on
    // a worker, Escape giving up (the lists stay empty).
    if (!objConexion || !ConectarEsperando(objCompartida, BarraEstadoPrincipal())) {
        Pestanas()->HabilitarPestana(kPestanaIndices, false);
        return;
    }

    if (PRecordset rs = objConexion->Campos(strNombre, strEsquema)) {
        for (rs->MoverPrimero(); !rs->FinDatos(); rs->MoverSiguiente()) {
            const std::optional<qint64> lngTipo = EnteroCampo(*rs, QStringLiteral("DATA_TYPE"));
            AgregarElementoLista(
                *lvwCampos, TextoCampo(*rs, QStringLiteral("COLUMN_NAME")), 1, Color::TextoVentana,
                {lngTipo ? QVariant(objConexion->DescripcionTipoDatos(static_cast<long>(*lngTipo)))
                         : QVariant(),
                 rs->Valor(QStringLiteral("CHARACTER_MAXIMUM_LENGTH")),
                 SiNoCampo(*rs, QStringLiteral("IS_NULLABLE")),
                 rs->Valor(QStringLiteral("COLUMN_DEFAULT"))});
        }
        rs->Cerrar();
    }

    const CAdo& ado = objVerondal->ADO();
    LlenarDesdeRowset(
        *Pestanas(), kPestanaIndices, objConexion->Indices(strNombre, strEsquema),
        [&](CRecordset& r) {
            if (r.EsNulo(QStringLiteral("INDEX_NAME")))
                return;
            const QString strIndice = TextoCampo(r, QStringLiteral("INDEX_NAME"));
            const QString strColumna = TextoCampo(r, QStringLiteral("COLUMN_NAME"));
            if (AgregarColumnaIndice(strIndice, strColumna))
                return;
            const int intIcono =
                SiNoCampo(r, QStringLiteral("PRIMARY_KEY")) == QLatin1String("No") ? 3 : 2;
            const int intFila =
                lvwIndices->AgregarElemento(strIndice, intIcono, intIcono, strIndice);
            lvwIndices->EstablecerColor(intFila, Color::TextoVentana);
            const QStringList strValores{
                SiNoCampo(r, QStringLiteral("PRIMARY_KEY")),
                SiNoCampo(r, QStringLiteral("UNIQUE")),
                SiNoCampo(r, QStringLiteral("CLUSTERED")),
                strColumna,
                TextoCodigo(r, QStringLiteral("TYPE"), [&](long l) { return ado.TipoIndice(l); })
                    .toString(),
                TextoCodigo(r, QStringLiteral("COLLATION"), [&](long l) {
                    return ado.TipoOrdenacion(l);
                }).toString()};
            for (int i = 0; i < strValores.size(); ++i)
                lvwIndices->EstablecerSubElemento(intFila, i + 1, strValores.at(i));
        });
}

bool frmPropiedadesTabla::AgregarColumnaIndice(const QString& strIndice,
                                               const QString& strColumna) {
    const int intFila = lvwIndices->Buscar(strIndice);
    if (intFila < 0)
        return false;
    lvwIndices->EstablecerSubElemento(intFila, kSubElementoColumnas,
                                      lvwIndices->SubElemento(intFila, kSubElementoColumnas) +
                                          QStringLiteral(", ") + strColumna);
    return true;
}
