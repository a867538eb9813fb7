#include "explorer/frmExplorador.h"

#include "comun/CError.h"
#include "comun/IDialogos.h"
#include "controles/CArbol.h"
#include "controles/CBarraEstado.h"
#include "controles/CBarraHerramientas.h"
#include "controles/CPunteroRaton.h"
#include "controles/CVentanaMdi.h"
#include "controles/ColoresSistema.h"
#include "controles/modGeneral.h"
#include "explorer/modConexionesExplorador.h"
#include "registry/CVerondal.h"

#include "comun/CTarea.h"
#include "controles/modEspera.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

namespace {

frmExplorador::FnPropiedadesConexion g_fnPropiedadesConexion;
frmExplorador::FnPropiedadesTabla g_fnPropiedadesTabla;

// A table node whose name is in several schemas keeps its own name and schema.
constexpr int RolNombre = Qt::UserRole + 20;
constexpr int RolEsquema = Qt::UserRole + 21;

// Node tags: the only thing the commands tell node kinds apart by.
const QString EtiquetaConexion = QStringLiteral("cnx");
const QString EtiquetaTabla = QStringLiteral("tbl");
const QString EtiquetaError = QStringLiteral("err");
const QString TextoConectando = QStringLiteral("Conectando...");

// Icons of imlExplorador16, by number.
enum Icono : int {
    IcoNueva = 1,
    IcoModificar = 2,
    IcoEliminar = 3,
    IcoConexion = 5,
    IcoCarpeta = 6,
    IcoCarpetaAbierta = 7,
    IcoTabla = 8,
    IcoVista = 9,
    IcoPropiedades = 10,
    IcoConexionError = 12,
    IcoError = 13,
    IcoTablaVinculada = 14,
    IcoConectando = 15,
    IcoConexionAbierta = 16,
    IcoActualizar = 17,
    IcoProcedimiento = 18,
    IcoCopiar = 19,
};

// Numbers 4 and 11 are used by no node and no button.
const QStringList NombresIconos = {
    QStringLiteral("conexion_nueva"),
    QStringLiteral("conexion_modificar"),
    QStringLiteral("conexion_eliminar"),
    QStringLiteral("tabla_sistema"),
    QStringLiteral("base_datos"),
    QStringLiteral("carpeta"),
    QStringLiteral("carpeta_abierta"),
    QStringLiteral("tabla"),
    QStringLiteral("vista"),
    QStringLiteral("propiedades"),
    QStringLiteral("propiedad"),
    QStringLiteral("conexion_error"),
    QStringLiteral("error"),
    QStringLiteral("tabla_vinculada"),
    QStringLiteral("conectando"),
    QStringLiteral("conexion_abierta"),
    QStringLiteral("actualizar"),
    QStringLiteral("procedimiento"),
    QStringLiteral("copiar"),
};

// Folder key prefixes; a folder's key is the prefix followed by the connection's Id.
const QString Tablas = QStringLiteral("_Tablas");
const QString TablasSistema = QStringLiteral("_TablasSistema");
const QString TablasVinculadas = QStringLiteral("_TablasVinculadas");
const QString Vistas = QStringLiteral("_Vistas");
const QString VistasSistema = QStringLiteral("_VistasSistema");
const QString Procedimientos = QStringLiteral("_Procedimientos");

// Where each TABLE_TYPE goes; any other type (or none) gets no node.
struct CDestinoTipo {
    const char* szTipo;
    const QString* strCarpeta;
    int intIcono;
    const QString* strEtiqueta;
    bool booGris;
};
const CDestinoTipo Destinos[] = {
    {"TABLE", &Tablas, IcoTabla, &EtiquetaTabla, false},
    {"SYSTEM TABLE", &TablasSistema, IcoTabla, nullptr, true},
    {"ACCESS TABLE", &TablasSistema, IcoTabla, nullptr, true},
    {"VIEW", &Vistas, IcoVista, nullptr, false},
    {"SYSTEM VIEW", &VistasSistema, IcoVista, nullptr, true},
    {"PASS-THROUGH", &TablasVinculadas, IcoTablaVinculada, nullptr, false},
};

const CDestinoTipo* DestinoDe(const QVariant& varTipo) {
    if (CRecordset::EsNulo(varTipo))
        return nullptr;
    const QString strTipo = varTipo.toString();
    for (const CDestinoTipo& d : Destinos)
        if (strTipo == QLatin1String(d.szTipo)) // exact: "table" is not a table
            return &d;
    return nullptr;
}

} // namespace

void frmExplorador::EstablecerVentanasPropiedades(FnPropiedadesConexion fnConexion,
                                                  FnPropiedadesTabla fnTabla) {
    g_fnPropiedadesConexion = std::move(fnConexion);
    g_fnPropiedadesTabla = std::move(fnTabla);
}

frmExplorador::frmExplorador(QWidget* objPadre)
    : QWidget(objPadre), imlExplorador16(16, NombresIconos),
      tbrExplorador(new CBarraHerramientas(this)), txtFiltro(new QLineEdit(this)),
      tvwExplorador(new CArbol(this)), stbExplorador(new CBarraEstado(this)),
      m_TemporizadorFiltro(new QTimer(this)) {
    setObjectName(QStringLiteral("frmExplorador"));
    setWindowTitle(QStringLiteral("Explorador de conexiones"));
    setWindowIcon(imlExplorador16.Icono(IcoConexion));
    setAttribute(Qt::WA_DeleteOnClose);
    setProperty(CVentanaMdi::kColocacionPropia, true); // the strip down the left, on show

    tbrExplorador->setObjectName(QStringLiteral("tbrExplorador"));
    tvwExplorador->setObjectName(QStringLiteral("tvwExplorador"));
    stbExplorador->setObjectName(QStringLiteral("stbExplorador"));
    stbExplorador->setSizeGripEnabled(false);
    stbExplorador->EstablecerTexto(QStringLiteral("0 conexiones"));

    tbrExplorador->EstablecerImagenes(imlExplorador16);
    tbrExplorador->AgregarBoton(QStringLiteral("nue"),
                                QStringLiteral("Nueva conexión con base de datos..."), IcoNueva);
    tbrExplorador->AgregarBoton(QStringLiteral("mod"),
                                QStringLiteral("Modificar conexión con base de datos..."),
                                IcoModificar);
    tbrExplorador->AgregarBoton(QStringLiteral("eli"),
                                QStringLiteral("Eliminar conexión con base de datos"), IcoEliminar);
    tbrExplorador->AgregarSeparador();
    tbrExplorador->AgregarBoton(QStringLiteral("cop"), QStringLiteral("Copiar cadena de conexión"),
                                IcoCopiar);
    tbrExplorador->AgregarBoton(QStringLiteral("pro"), QStringLiteral("Propiedades"),
                                IcoPropiedades);
    tbrExplorador->AgregarSeparador();
    tbrExplorador->AgregarBoton(QStringLiteral("act"), QStringLiteral("Actualizar (F5)"),
                                IcoActualizar);
    tvwExplorador->EstablecerImagenes(imlExplorador16);
    // Double-click and Enter open properties; a folder still opens and closes with them.
    tvwExplorador->setExpandsOnDoubleClick(false);
    tvwExplorador->setContextMenuPolicy(Qt::CustomContextMenu);

    txtFiltro->setObjectName(QStringLiteral("txtFiltro"));
    txtFiltro->setPlaceholderText(QStringLiteral("Filtrar objetos por nombre"));
    txtFiltro->setClearButtonEnabled(true);
    m_TemporizadorFiltro->setSingleShot(true);
    m_TemporizadorFiltro->setInterval(150);
    connect(m_TemporizadorFiltro, &QTimer::timeout, this, &frmExplorador::AplicarFiltro);
    connect(txtFiltro, &QLineEdit::textChanged, m_TemporizadorFiltro, qOverload<>(&QTimer::start));

    // Toolbar and filter above, status bar below, the tree takes the rest.
    auto* objDisposicion = new QVBoxLayout(this);
    objDisposicion->setContentsMargins(0, 0, 0, 0);
    objDisposicion->setSpacing(0);
    objDisposicion->addWidget(tbrExplorador);
    objDisposicion->addWidget(txtFiltro);
    objDisposicion->addWidget(tvwExplorador, 1);
    objDisposicion->addWidget(stbExplorador);

    connect(tvwExplorador, &CArbol::NodoExpandido, this, &frmExplorador::tvwExplorador_Expand);
    connect(tvwExplorador, &CArbol::TeclaPulsada, this, &frmExplorador::tvwExplorador_KeyDown);
    connect(tvwExplorador, &CArbol::ClicNodo, this, &frmExplorador::ActualizarBotones);
    connect(tvwExplorador, &QTreeWidget::itemSelectionChanged, this,
            &frmExplorador::ActualizarBotones);
    connect(tbrExplorador, &CBarraHerramientas::ClicBoton, this,
            &frmExplorador::tbrExplorador_ButtonClick);
    connect(tvwExplorador, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* objNodo, int) { tvwExplorador_Activar(objNodo); });
    connect(tvwExplorador, &QWidget::customContextMenuRequested, this,
            &frmExplorador::tvwExplorador_MenuContextual);

    CargarArbol();
    VigilarArchivo();
}

void frmExplorador::VigilarArchivo() {
    if (!objVerondal)
        return;
    // A save elsewhere renames a new file over the old one: the folder is watched too, and the
    // bursts of one save (temporary file, rename) are heard once.
    m_objVigilante = new QFileSystemWatcher(this);
    m_objEspera = new QTimer(this);
    m_objEspera->setSingleShot(true);
    m_objEspera->setInterval(200);
    const QString strRuta = objVerondal->Ruta();
    m_objVigilante->addPath(QFileInfo(strRuta).absolutePath());
    m_objVigilante->addPath(strRuta);
    const auto esperar = [this] { m_objEspera->start(); };
    connect(m_objVigilante, &QFileSystemWatcher::fileChanged, this, esperar);
    connect(m_objVigilante, &QFileSystemWatcher::directoryChanged, this, esperar);
    connect(m_objEspera, &QTimer::timeout, this, &frmExplorador::SeguirArchivo);
}

void frmExplorador::SeguirArchivo() {
    if (!objVerondal)
        return;
    if (m_objVigilante && !m_objVigilante->files().contains(objVerondal->Ruta()))
        m_objVigilante->addPath(objVerondal->Ruta());
    try {
        if (objVerondal->Recargar())
            IgualarNodos();
    } catch (const CError& e) {
        // Half-written by hand, most likely: the tree stays, and says why it does not follow.
        stbExplorador->EstablecerTexto(e.Descripcion());
    }
}

void frmExplorador::IgualarNodos() {
    if (!objVerondal)
        return;
    const CConexiones& objConexiones = objVerondal->Conexiones();
    for (int i = tvwExplorador->topLevelItemCount() - 1; i >= 0; --i) {
        QTreeWidgetItem* objNodo = tvwExplorador->topLevelItem(i);
        const CConexion* objConexion = objConexiones.Buscar(CArbol::Clave(objNodo));
        const bool booAbierto =
            objNodo->childCount() > 0 && objNodo->child(0)->text(0) != TextoConectando;
        if (!objConexion) {
            tvwExplorador->Eliminar(objNodo);
            continue;
        }
        objNodo->setText(0, objConexion->Titulo());
        if (booAbierto && !objConexion->Conectado()) {
            while (objNodo->childCount() > 0)
                tvwExplorador->Eliminar(objNodo->child(0));
            QTreeWidgetItem* objEspera =
                tvwExplorador->Agregar(objNodo, QString(), TextoConectando, IcoConectando);
            tvwExplorador->EstablecerColor(objEspera, Color::TextoGris);
            objNodo->setExpanded(false);
        }
    }
    for (const CConexion& objConexion : objConexiones) {
        if (tvwExplorador->Nodo(objConexion.Id()))
            continue;
        AgregarNodoConexion(objConexion);
    }
    MostrarEstado(QString());
    ActualizarBotones();
}

frmExplorador::~frmExplorador() = default;

// A closed connection's node, with the placeholder child that makes it expandable.
void frmExplorador::AgregarNodoConexion(const CConexion& objConexion) {
    QTreeWidgetItem* objNodo =
        tvwExplorador->Agregar(nullptr, objConexion.Id(), objConexion.Titulo(), IcoConexion);
    CArbol::EstablecerEtiqueta(objNodo, EtiquetaConexion);
    QTreeWidgetItem* objEspera =
        tvwExplorador->Agregar(objNodo, QString(), TextoConectando, IcoConectando);
    tvwExplorador->EstablecerColor(objEspera, Color::TextoGris);
}

void frmExplorador::showEvent(QShowEvent* objEvento) {
    QWidget::showEvent(objEvento);
    if (m_Colocada)
        return;
    m_Colocada = true;
    // A narrow strip down the left of the main window's client area.
    const int intMargen = Pixeles(30);
    MarcoVentana(this)->setGeometry(intMargen, intMargen, Pixeles(3450),
                                    std::max(0, AreaCliente().height() - 2 * intMargen));
}

void frmExplorador::MostrarEstado(const QString& strTexto) {
    if (!strTexto.isEmpty()) {
        EstablecerPuntero(Puntero::Reloj);
        stbExplorador->EstablecerTexto(strTexto);
        return;
    }
    const int intConexiones = objVerondal ? objVerondal->Conexiones().Count() : 0;
    stbExplorador->EstablecerTexto(QString::number(intConexiones) + QStringLiteral(" conexiones"));
    EstablecerPuntero(Puntero::Predeterminado);
}

void frmExplorador::CargarArbol() {
    MostrarEstado(QStringLiteral("Actualizando..."));
    tvwExplorador->Limpiar();
    if (objVerondal) {
        for (CConexion& objConexion : objVerondal->Conexiones()) {
            if (objConexion.Conectado())
                objConexion.Desconectar();
            AgregarNodoConexion(objConexion);
        }
    }
    MostrarEstado(QString());
    ActualizarBotones();
}

void frmExplorador::tvwExplorador_Expand(QTreeWidgetItem* objNodo) {
    if (CArbol::Etiqueta(objNodo) != EtiquetaConexion || objNodo->childCount() == 0 ||
        objNodo->child(0)->text(0) != TextoConectando || !objVerondal)
        return;
    const QString strClave = CArbol::Clave(objNodo);
    // Shared: a wait given up leaves the worker holding the connection until it ends.
    const std::shared_ptr<CConexion> objConexion = objVerondal->Conexiones().Compartida(strClave);
    if (!objConexion || !ConectarEsperando(objConexion, stbExplorador)) {
        // Escape: the node goes back to unopened, to be tried again on the next expansion.
        if (QTreeWidgetItem* n = tvwExplorador->Nodo(strClave))
            n->setExpanded(false);
        MostrarEstado(QString());
        return;
    }
    // The catalogue is read on the worker too, so the window stays alive however large it is;
    // the nodes are made here.
    struct CLectura {
        PRecordset tablas, procedimientos;
    };
    const auto lectura = std::make_shared<CLectura>();
    if (objConexion->Conectado() &&
        !EsperarConexion(
            objConexion,
            [objConexion, lectura] {
                lectura->tablas = objConexion->TablasSinFechas();
                lectura->procedimientos = objConexion->Procedimientos();
            },
            QStringLiteral("Leyendo ") + objConexion->Titulo() + QStringLiteral("..."),
            stbExplorador)) {
        // Escape cut the link: the node goes back to unopened, as above.
        if (QTreeWidgetItem* n = tvwExplorador->Nodo(strClave))
            n->setExpanded(false);
        MostrarEstado(QString());
        return;
    }
    objNodo = tvwExplorador->Nodo(strClave);
    if (!objNodo || !objVerondal)
        return;
    QString strError;
    {
        CPunteroRaton objPuntero(Puntero::FlechaReloj);
        try {
            if (objConexion->Conectado())
                CargarObjetos(strClave, std::move(lectura->tablas),
                              std::move(lectura->procedimientos));
            else
                MarcarErrorConexion(*objConexion);
        } catch (const CError& e) {
            // A hand-edited file can hold an Id that clashes with another's folder keys.
            strError = e.Descripcion();
        }
        // Both add their nodes after the placeholder, which is still the first child.
        tvwExplorador->Eliminar(objNodo->child(0));
    }
    MostrarEstado(QString());
    if (!txtFiltro->text().trimmed().isEmpty())
        AplicarFiltro();
    if (!strError.isEmpty())
        Dialogos().Mensaje(strError, Estilo::Critico);
    ActualizarBotones(); // a failed node selected while it opened loses its commands
}

void frmExplorador::CargarObjetos(const QString& strClave, PRecordset rsTablas,
                                  PRecordset rsProcedimientos) {
    const auto Carpeta = [&](const QString& strPadre, const QString& strPrefijo,
                             const QString& strTexto) {
        tvwExplorador->Agregar(strPadre, strPrefijo + strClave, strTexto, IcoCarpeta,
                               IcoCarpetaAbierta);
    };
    Carpeta(strClave, Tablas, QStringLiteral("Tablas"));
    Carpeta(Tablas + strClave, TablasSistema, QStringLiteral("Tablas del sistema"));
    Carpeta(Tablas + strClave, TablasVinculadas, QStringLiteral("Tablas vinculadas"));
    Carpeta(strClave, Vistas, QStringLiteral("Vistas"));
    Carpeta(Vistas + strClave, VistasSistema, QStringLiteral("Vistas del sistema"));
    Carpeta(strClave, Procedimientos, QStringLiteral("Procedimientos"));

    // A missing rowset counts as an empty one; a row without a name has nothing to show. A name
    // in two schemas of one folder shows its schema, and the node keeps both for its window.
    // Each folder's nodes are made first and join the tree together.
    QHash<QString, QList<QTreeWidgetItem*>> nodos;
    if (PRecordset rs = std::move(rsTablas)) {
        const int colNombre = rs->IndiceColumna(QStringLiteral("TABLE_NAME"));
        const int colTipo = rs->IndiceColumna(QStringLiteral("TABLE_TYPE"));
        const int colEsquema = rs->IndiceColumna(QStringLiteral("TABLE_SCHEMA"));
        const auto filas = static_cast<std::size_t>(rs->NumeroFilas());
        std::vector<const CDestinoTipo*> destinos(filas);
        bool booEsquemas = false;
        for (std::size_t f = 0; f < filas; ++f) {
            if (colTipo >= 0 && colNombre >= 0 && !CRecordset::EsNulo(rs->ValorEn(f, colNombre)))
                destinos[f] = DestinoDe(rs->ValorEn(f, colTipo));
            booEsquemas = booEsquemas || (destinos[f] && colEsquema >= 0 &&
                                          !rs->ValorEn(f, colEsquema).toString().isEmpty());
        }
        // Only a DBMS with schemas can hold a name twice in one folder.
        QHash<QString, int> repetidos;
        const auto clave = [&](std::size_t f) {
            return *destinos[f]->strCarpeta + QChar(0x1f) + rs->ValorEn(f, colNombre).toString();
        };
        if (booEsquemas)
            for (std::size_t f = 0; f < filas; ++f)
                if (destinos[f])
                    ++repetidos[clave(f)];
        for (std::size_t f = 0; f < filas; ++f) {
            const CDestinoTipo* d = destinos[f];
            if (!d)
                continue;
            const QString strNombre = rs->ValorEn(f, colNombre).toString();
            const QString strEsquema =
                colEsquema >= 0 ? rs->ValorEn(f, colEsquema).toString() : QString();
            const bool booAmbiguo =
                booEsquemas && !strEsquema.isEmpty() && repetidos.value(clave(f)) > 1;
            QTreeWidgetItem* objNodo = tvwExplorador->Nuevo(
                QString(), booAmbiguo ? strEsquema + QLatin1Char('.') + strNombre : strNombre,
                d->intIcono);
            nodos[*d->strCarpeta].append(objNodo);
            if (booAmbiguo) {
                objNodo->setData(0, RolNombre, strNombre);
                objNodo->setData(0, RolEsquema, strEsquema);
            }
            if (d->strEtiqueta)
                CArbol::EstablecerEtiqueta(objNodo, *d->strEtiqueta);
            if (d->booGris)
                tvwExplorador->EstablecerColor(objNodo, Color::TextoGris);
        }
        rs->Cerrar();
    }
    if (PRecordset rs = std::move(rsProcedimientos)) {
        for (rs->MoverPrimero(); !rs->FinDatos(); rs->MoverSiguiente()) {
            const QVariant varNombre = rs->Valor(QStringLiteral("PROCEDURE_NAME"));
            if (!CRecordset::EsNulo(varNombre))
                nodos[Procedimientos].append(
                    tvwExplorador->Nuevo(QString(), varNombre.toString(), IcoProcedimiento));
        }
        rs->Cerrar();
    }
    for (auto it = nodos.cbegin(); it != nodos.cend(); ++it)
        tvwExplorador->AgregarVarios(tvwExplorador->Nodo(it.key() + strClave), it.value());

    // Sub-folders first, so a parent left holding only an empty sub-folder goes too.
    for (const QString& strPrefijo :
         {VistasSistema, TablasSistema, TablasVinculadas, Vistas, Tablas, Procedimientos}) {
        QTreeWidgetItem* objCarpeta = tvwExplorador->Nodo(strPrefijo + strClave);
        if (objCarpeta && objCarpeta->childCount() == 0)
            tvwExplorador->Eliminar(objCarpeta);
    }
    tvwExplorador->EstablecerIcono(tvwExplorador->Nodo(strClave), IcoConexionAbierta);
}

void frmExplorador::MarcarErrorConexion(CConexion& objConexion) {
    QTreeWidgetItem* objNodo = tvwExplorador->Nodo(objConexion.Id());
    if (!objNodo)
        return;
    CArbol::EstablecerEtiqueta(objNodo, EtiquetaError);
    tvwExplorador->EstablecerIcono(objNodo, IcoConexionError);
    tvwExplorador->EstablecerColor(objNodo, Color::TextoGris);
    QTreeWidgetItem* objMensaje =
        tvwExplorador->Agregar(objNodo, QString(), objConexion.ErrorConexion(), IcoError);
    CArbol::EstablecerEtiqueta(objMensaje, EtiquetaError);
    tvwExplorador->EstablecerColor(objMensaje, Color::TextoGris);
}

void frmExplorador::tvwExplorador_KeyDown(int intTecla) {
    if (intTecla == Qt::Key_F5) {
        CargarArbol();
    } else if (intTecla == Qt::Key_Delete) {
        QTreeWidgetItem* objNodo = NodoSeleccionado();
        if (objNodo && CArbol::Etiqueta(objNodo) == EtiquetaConexion)
            EliminarConexion(objNodo);
    }
}

void frmExplorador::tvwExplorador_Activar(QTreeWidgetItem* objNodo) {
    if (!objNodo)
        return;
    const QString strEtiqueta = CArbol::Etiqueta(objNodo);
    if (strEtiqueta == EtiquetaConexion || strEtiqueta == EtiquetaTabla)
        Propiedades(objNodo);
    else if (objNodo->childCount() > 0)
        objNodo->setExpanded(!objNodo->isExpanded());
}

QMenu* frmExplorador::MenuContextual(QTreeWidgetItem* objNodo) {
    auto* objMenu = new QMenu(this);
    objMenu->setObjectName(QStringLiteral("mnuContextual"));
    const QString strEtiqueta = objNodo ? CArbol::Etiqueta(objNodo) : QString();
    const bool booConexion = strEtiqueta == EtiquetaConexion;
    QString strRaiz;
    for (QTreeWidgetItem* n = objNodo; n; n = n->parent())
        strRaiz = CArbol::Clave(n);
    const auto Elemento = [&](const QString& strTexto, const char* szBoton, bool booHabilitado) {
        QAction* a = objMenu->addAction(strTexto);
        a->setObjectName(QLatin1String(szBoton));
        a->setEnabled(booHabilitado);
        const QString strBoton = QLatin1String(szBoton);
        connect(a, &QAction::triggered, this, [this, strBoton, strRaiz] {
            if (strBoton == u"actcnx") {
                ActualizarConexion(strRaiz);
            } else {
                tbrExplorador_ButtonClick(strBoton);
            }
        });
        return a;
    };
    Elemento(QStringLiteral("&Nueva conexión con base de datos..."), "nue", true);
    Elemento(QStringLiteral("&Modificar conexión con base de datos..."), "mod", booConexion);
    Elemento(QStringLiteral("&Eliminar conexión con base de datos"), "eli", booConexion);
    objMenu->addSeparator();
    Elemento(QStringLiteral("&Copiar cadena de conexión"), "cop", booConexion);
    Elemento(QStringLiteral("&Propiedades"), "pro", booConexion || strEtiqueta == EtiquetaTabla);
    objMenu->addSeparator();
    // Any node under a connection (or the failed one itself) refreshes that connection.
    Elemento(QStringLiteral("&Actualizar"), "actcnx", objNodo != nullptr);
    Elemento(QStringLiteral("Actualizar &todo (F5)"), "act", true);
    return objMenu;
}

void frmExplorador::tvwExplorador_MenuContextual(const QPoint& posicion) {
    QTreeWidgetItem* objNodo = tvwExplorador->itemAt(posicion);
    if (objNodo) {
        tvwExplorador->setCurrentItem(objNodo);
        ActualizarBotones();
    }
    QMenu* objMenu = MenuContextual(objNodo);
    objMenu->setAttribute(Qt::WA_DeleteOnClose);
    objMenu->popup(tvwExplorador->viewport()->mapToGlobal(posicion));
}

void frmExplorador::ActualizarConexion(const QString& strId) {
    QTreeWidgetItem* objNodo = tvwExplorador->Nodo(strId);
    const std::shared_ptr<CConexion> objConexion =
        objVerondal ? objVerondal->Conexiones().Compartida(strId) : nullptr;
    if (!objNodo || !objConexion)
        return;
    const bool booAbierto = objNodo->isExpanded();
    MostrarEstado(QStringLiteral("Actualizando..."));
    // A worker still opening it keeps it until it ends; closing it then is the worker's job.
    if (!CTarea::EnCurso(strId) && objConexion->Conectado())
        objConexion->Desconectar();
    objNodo->setExpanded(false);
    while (objNodo->childCount() > 0)
        tvwExplorador->Eliminar(objNodo->child(0));
    CArbol::EstablecerEtiqueta(objNodo, EtiquetaConexion);
    tvwExplorador->EstablecerIcono(objNodo, IcoConexion);
    tvwExplorador->EstablecerColor(objNodo, Color::TextoVentana);
    QTreeWidgetItem* objEspera =
        tvwExplorador->Agregar(objNodo, QString(), TextoConectando, IcoConectando);
    tvwExplorador->EstablecerColor(objEspera, Color::TextoGris);
    MostrarEstado(QString());
    if (booAbierto)
        objNodo->setExpanded(true); // opens and reads it again
    ActualizarBotones();
}

void frmExplorador::Filtrar(const QString& strFiltro) {
    m_TemporizadorFiltro->stop();
    {
        const QSignalBlocker bloqueo(txtFiltro);
        txtFiltro->setText(strFiltro);
    }
    AplicarFiltro();
}

void frmExplorador::AplicarFiltro() {
    const QString strFiltro = txtFiltro->text().trimmed();
    CPunteroRaton objPuntero(Puntero::FlechaReloj);
    tvwExplorador->setUpdatesEnabled(false);
    for (int i = 0; i < tvwExplorador->topLevelItemCount(); ++i) {
        QTreeWidgetItem* objConexion = tvwExplorador->topLevelItem(i);
        objConexion->setHidden(false); // connections always show: their objects may be unread
        for (int j = 0; j < objConexion->childCount(); ++j)
            FiltrarNodo(objConexion->child(j), strFiltro);
    }
    tvwExplorador->setUpdatesEnabled(true);
}

bool frmExplorador::FiltrarNodo(QTreeWidgetItem* objNodo, const QString& strFiltro) {
    // A folder shows while something below it does, and opens to show it; an object shows
    // when its name holds the text. Placeholders and error messages always show.
    bool booVisible = false;
    if (objNodo->childCount() > 0) {
        for (int i = 0; i < objNodo->childCount(); ++i)
            booVisible = FiltrarNodo(objNodo->child(i), strFiltro) || booVisible;
        if (booVisible && !strFiltro.isEmpty())
            objNodo->setExpanded(true);
    } else {
        booVisible =
            strFiltro.isEmpty() || objNodo->text(0).contains(strFiltro, Qt::CaseInsensitive) ||
            CArbol::Etiqueta(objNodo) == EtiquetaError || objNodo->text(0) == TextoConectando;
        // An emptied folder has no children but is still a folder: it hides with no match.
        if (CArbol::Clave(objNodo).startsWith(QLatin1Char('_')) && !strFiltro.isEmpty())
            booVisible = false;
    }
    objNodo->setHidden(!booVisible);
    return booVisible;
}

void frmExplorador::tbrExplorador_ButtonClick(const QString& strClave) {
    QTreeWidgetItem* objNodo = NodoSeleccionado();
    const bool booConexion = objNodo && CArbol::Etiqueta(objNodo) == EtiquetaConexion;
    if (strClave == u"nue") {
        if (objVerondal && NuevaConexion(objVerondal->Conexiones()))
            CargarArbol();
    } else if (strClave == u"mod") {
        if (booConexion && objVerondal &&
            ModificarConexion(objVerondal->Conexiones(), CArbol::Clave(objNodo)))
            CargarArbol();
    } else if (strClave == u"eli") {
        if (booConexion)
            EliminarConexion(objNodo);
    } else if (strClave == u"cop") {
        if (booConexion)
            CopiarCadenaConexion(objNodo);
    } else if (strClave == u"pro") {
        if (objNodo)
            Propiedades(objNodo);
    } else if (strClave == u"act") {
        CargarArbol();
    }
}

void frmExplorador::EliminarConexion(QTreeWidgetItem* objNodo) {
    if (!objVerondal)
        return;
    const QString strClave = CArbol::Clave(objNodo);
    const int intRespuesta =
        Dialogos().Mensaje(QStringLiteral("¿Está seguro que desea eliminar la conexión \"") +
                               objNodo->text(0) + QStringLiteral("\"?"),
                           Estilo::SiNo | Estilo::Pregunta, QStringLiteral("Eliminar conexión"));
    if (intRespuesta != Respuesta::Si)
        return;
    MostrarEstado(QStringLiteral("Eliminando conexión..."));
    try {
        objVerondal->Conexiones().Eliminar(strClave);
    } catch (const CError& e) {
        // The file could not be written: the connection stays, in the file and in the tree
        // (unless another program had deleted it already: the tree follows the file).
        IgualarNodos();
        Dialogos().Mensaje(e.Descripcion(), Estilo::Critico, QStringLiteral("Eliminar conexión"));
        return;
    }
    tvwExplorador->Eliminar(tvwExplorador->Nodo(strClave));
    // Nothing stays selected, so no command can fall on a node the user did not pick.
    tvwExplorador->setCurrentItem(nullptr);
    tvwExplorador->clearSelection();
    MostrarEstado(QString());
    ActualizarBotones();
}

void frmExplorador::CopiarCadenaConexion(QTreeWidgetItem* objNodo) {
    CConexion* objConexion =
        objVerondal ? objVerondal->Conexiones().Buscar(CArbol::Clave(objNodo)) : nullptr;
    if (!objConexion)
        return;
    {
        CPunteroRaton objPuntero(Puntero::FlechaReloj);
        QClipboard* objPortapapeles = QApplication::clipboard();
        objPortapapeles->clear();
        objPortapapeles->setText(objConexion->CadenaDeConexion());
    }
    Dialogos().Mensaje(QStringLiteral("Cadena de conexión copiada al portapapeles"),
                       Estilo::Informacion);
}

void frmExplorador::Propiedades(QTreeWidgetItem* objNodo) {
    const QString strEtiqueta = CArbol::Etiqueta(objNodo);
    if (strEtiqueta == EtiquetaConexion) {
        if (g_fnPropiedadesConexion)
            g_fnPropiedadesConexion(CArbol::Clave(objNodo));
    } else if (strEtiqueta == EtiquetaTabla) {
        // A table lies in the "Tablas" folder, whose parent is the connection.
        QTreeWidgetItem* objCarpeta = objNodo->parent();
        QTreeWidgetItem* objConexion = objCarpeta ? objCarpeta->parent() : nullptr;
        if (!objConexion || !g_fnPropiedadesTabla)
            return;
        CPunteroRaton objPuntero(Puntero::FlechaReloj);
        const QVariant varNombre = objNodo->data(0, RolNombre);
        g_fnPropiedadesTabla(CArbol::Clave(objConexion),
                             varNombre.isValid() ? varNombre.toString() : objNodo->text(0),
                             objNodo->data(0, RolEsquema).toString());
    }
}

QTreeWidgetItem* frmExplorador::NodoSeleccionado() const {
    const QList<QTreeWidgetItem*> seleccion = tvwExplorador->selectedItems();
    return seleccion.isEmpty() ? nullptr : seleccion.first();
}

void frmExplorador::ActualizarBotones() {
    const QTreeWidgetItem* objNodo = NodoSeleccionado();
    const QString strEtiqueta = objNodo ? CArbol::Etiqueta(objNodo) : QString();
    const bool booConexion = strEtiqueta == EtiquetaConexion;
    for (const char* szBoton : {"mod", "eli", "cop"})
        tbrExplorador->Habilitar(QLatin1String(szBoton), booConexion);
    tbrExplorador->Habilitar(QStringLiteral("pro"), booConexion || strEtiqueta == EtiquetaTabla);
}
