#include "compare/ui/frmComparar.h"

#include "compare/CComparador.h"
#include "compare/ui/frmResultadosComparacion.h"
#include "comun/CError.h"
#include "comun/CTarea.h"
#include "comun/IDialogos.h"
#include "controles/CComboImagenes.h"
#include "controles/CListaImagenes.h"
#include "controles/CListaMarcas.h"
#include "controles/modEspera.h"
#include "controles/modGeneral.h"
#include "registry/CVerondal.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kSiguiente = QStringLiteral("Sigui&ente >");
const QString kFinalizar = QStringLiteral("Finalizar");
const QString kNoSeleccionado = QStringLiteral("(no seleccionado)");

template <std::size_t N, typename T, typename F> std::array<T*, N> Crear(F fnCrear) {
    std::array<T*, N> controles{};
    for (std::size_t i = 0; i < N; ++i)
        controles[i] = fnCrear(static_cast<int>(i));
    return controles;
}

QString Nombre(const char* szNombre, int intIndice) {
    return QLatin1String(szNombre) + QString::number(intIndice);
}

QLabel* Etiqueta(QWidget* objPadre, const char* szNombre, int intIndice) {
    auto* lbl = new QLabel(objPadre);
    lbl->setObjectName(Nombre(szNombre, intIndice));
    lbl->setTextFormat(Qt::PlainText);
    return lbl;
}

// A one-pixel line in a colour of the window's palette, as each half of an etched rule is.
QFrame* Linea(QWidget* objPadre, const QString& strNombre, QPalette::ColorRole rol) {
    auto* lin = new QFrame(objPadre);
    lin->setObjectName(strNombre);
    lin->setFixedHeight(1);
    lin->setAutoFillBackground(true);
    lin->setBackgroundRole(rol);
    return lin;
}

} // namespace

frmComparar::frmComparar(QWidget* objPadre)
    : QWidget(objPadre), Image1(new QLabel(this)), Line1(Crear<2, QFrame>([this](int i) {
          return Linea(this, Nombre("Line1_", i), i == 0 ? QPalette::Dark : QPalette::Light);
      })),
      fraPaso(Crear<3, QFrame>([this](int i) {
          auto* fra = new QFrame(this);
          fra->setObjectName(Nombre("fraPaso", i));
          fra->setFrameShape(QFrame::NoFrame);
          return fra;
      })),
      lblTitulo(Crear<3, QLabel>([this](int i) {
          return Etiqueta(fraPaso[static_cast<std::size_t>(i)], "lblTitulo", i);
      })),
      linTitulo(Crear<3, QFrame>([this](int i) {
          auto* lin = new QFrame(fraPaso[static_cast<std::size_t>(i)]);
          lin->setObjectName(Nombre("linTitulo", i));
          lin->setFrameShape(QFrame::HLine);
          lin->setFrameShadow(QFrame::Sunken);
          return lin;
      })),
      lblSeleccione(Crear<3, QLabel>(
          [this](int i) { return Etiqueta(fraPaso[i < 2 ? 0 : 1], "lblSeleccione", i); })),
      cboConexion(Crear<2, CComboImagenes>([this](int i) {
          auto* cbo = new CComboImagenes(fraPaso[0]);
          cbo->setObjectName(Nombre("cboConexion", i));
          return cbo;
      })),
      lstObjetos(new CListaMarcas(fraPaso[1])), chkCompararOcultos(new QCheckBox(fraPaso[1])),
      lblResumen(Crear<8, QLabel>([this](int i) { return Etiqueta(fraPaso[2], "lblResumen", i); })),
      btnAnterior(new QPushButton(QStringLiteral("< A&nterior"), this)),
      btnSiguiente(new QPushButton(kSiguiente, this)),
      btnCancelar(new QPushButton(QStringLiteral("Cancelar"), this)) {
    setObjectName(QStringLiteral("frmComparar"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Comparar bases de datos"));
    setWindowIcon(IconoRecurso(QStringLiteral("comparar"), 16));
    QFont objFuente = font();
    objFuente.setFamilies({QStringLiteral("Tahoma"), objFuente.family()});
    setFont(objFuente);

    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(ImagenRecurso(QStringLiteral("comparar"), 48, devicePixelRatioF()));
    Image1->setFixedSize(48, 48);

    const QStringList strTitulos = {QStringLiteral("Paso 1 de 3:  Seleccionar bases de datos"),
                                    QStringLiteral("Paso 2 de 3:  Seleccionar objetos"),
                                    QStringLiteral("Paso 3 de 3:  Preparado")};
    QFont objNegrita = font();
    objNegrita.setBold(true);
    for (std::size_t i = 0; i < 3; ++i) {
        lblTitulo[i]->setText(strTitulos.at(static_cast<int>(i)));
        lblTitulo[i]->setFont(objNegrita);
    }

    // Step 1: the two connections.
    lblSeleccione[0]->setTextFormat(Qt::AutoText); // the ampersand names the access key
    lblSeleccione[0]->setText(QStringLiteral("Seleccione la primera &base de datos a comparar:"));
    lblSeleccione[1]->setTextFormat(Qt::AutoText);
    lblSeleccione[1]->setText(QStringLiteral("Seleccione la &segunda base de datos a comparar:"));
    const CListaImagenes imlComparar(16, {QStringLiteral("base_datos")});
    for (std::size_t i = 0; i < 2; ++i) {
        cboConexion[i]->EstablecerImagenes(imlComparar);
        lblSeleccione[i]->setBuddy(cboConexion[i]);
        connect(cboConexion[i], &CComboImagenes::ElementoElegido, this,
                [this, i] { cboConexion_Click(static_cast<int>(i)); });
    }
    auto* objPaso1 = new QVBoxLayout(fraPaso[0]);
    objPaso1->setContentsMargins(0, 0, 0, 0);
    objPaso1->addWidget(lblTitulo[0]);
    objPaso1->addWidget(linTitulo[0]);
    objPaso1->addSpacing(12);
    objPaso1->addWidget(lblSeleccione[0]);
    objPaso1->addWidget(cboConexion[0]);
    objPaso1->addSpacing(12);
    objPaso1->addWidget(lblSeleccione[1]);
    objPaso1->addWidget(cboConexion[1]);
    objPaso1->addStretch(1);

    // Step 2: the kinds of object.
    lblSeleccione[2]->setText(QStringLiteral("Seleccione los objetos que desea comparar:"));
    lstObjetos->setObjectName(QStringLiteral("lstObjetos"));
    for (const QString& strEntrada :
         {QStringLiteral("Tablas"), QStringLiteral("Vistas"), QStringLiteral("Procedimientos"),
          QStringLiteral("Índices"), QStringLiteral("Relaciones")})
        lstObjetos->AgregarEntrada(strEntrada);
    lstObjetos->setFixedHeight(lstObjetos->sizeHintForRow(0) * lstObjetos->NumeroEntradas() +
                               2 * lstObjetos->frameWidth() + 4);
    lblSeleccione[2]->setBuddy(lstObjetos);
    chkCompararOcultos->setObjectName(QStringLiteral("chkCompararOcultos"));
    chkCompararOcultos->setText(QStringLiteral("Comparar objetos &ocultos/de sistema"));
    connect(lstObjetos, &CListaMarcas::CambioMarca, this, &frmComparar::lstObjetos_ItemCheck);
    connect(chkCompararOcultos, &QCheckBox::toggled, this, &frmComparar::chkCompararOcultos_Click);
    auto* objPaso2 = new QVBoxLayout(fraPaso[1]);
    objPaso2->setContentsMargins(0, 0, 0, 0);
    objPaso2->addWidget(lblTitulo[1]);
    objPaso2->addWidget(linTitulo[1]);
    objPaso2->addSpacing(12);
    objPaso2->addWidget(lblSeleccione[2]);
    objPaso2->addWidget(lstObjetos);
    objPaso2->addSpacing(6);
    objPaso2->addWidget(chkCompararOcultos);
    objPaso2->addStretch(1);

    // Step 3: the summary, captions on the left, values on the right.
    const QStringList strResumen = {QStringLiteral("Comparar:"),
                                    QStringLiteral("Comparar con:"),
                                    QStringLiteral("Objetos a comparar:"),
                                    QStringLiteral("Comparar objetos ocultos/sistema:"),
                                    kNoSeleccionado,
                                    kNoSeleccionado,
                                    QStringLiteral("(ninguno)"),
                                    QStringLiteral("No")};
    auto* objResumen = new QGridLayout;
    objResumen->setHorizontalSpacing(12);
    objResumen->setColumnStretch(1, 1);
    for (int i = 0; i < 8; ++i) {
        QLabel* lbl = lblResumen[static_cast<std::size_t>(i)];
        lbl->setText(strResumen.at(i));
        lbl->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        objResumen->addWidget(lbl, i % 4, i / 4);
    }
    auto* objPaso3 = new QVBoxLayout(fraPaso[2]);
    objPaso3->setContentsMargins(0, 0, 0, 0);
    objPaso3->addWidget(lblTitulo[2]);
    objPaso3->addWidget(linTitulo[2]);
    objPaso3->addSpacing(12);
    objPaso3->addLayout(objResumen);
    objPaso3->addStretch(1);

    // The frames lie on one another beside the picture; only the current one shows.
    auto* objPasos = new QGridLayout;
    objPasos->setContentsMargins(0, 0, 0, 0);
    for (QFrame* fra : fraPaso) {
        // Every step counts for the window's size, shown or not, so that none is cut.
        QSizePolicy politica = fra->sizePolicy();
        politica.setRetainSizeWhenHidden(true);
        fra->setSizePolicy(politica);
        objPasos->addWidget(fra, 0, 0);
    }
    fraPaso[1]->hide();
    fraPaso[2]->hide();
    fraPaso[0]->raise();

    auto* objArriba = new QHBoxLayout;
    objArriba->setContentsMargins(12, 12, 12, 12);
    objArriba->setSpacing(16);
    objArriba->addWidget(Image1, 0, Qt::AlignTop);
    objArriba->addLayout(objPasos, 1);

    btnAnterior->setObjectName(QStringLiteral("btnAnterior"));
    btnSiguiente->setObjectName(QStringLiteral("btnSiguiente"));
    btnCancelar->setObjectName(QStringLiteral("btnCancelar"));
    btnAnterior->setEnabled(false);
    connect(btnAnterior, &QPushButton::clicked, this, &frmComparar::btnAnterior_Click);
    connect(btnSiguiente, &QPushButton::clicked, this, &frmComparar::btnSiguiente_Click);
    connect(btnCancelar, &QPushButton::clicked, this, [this] { MarcoVentana(this)->close(); });
    auto* objBotones = new QHBoxLayout;
    objBotones->setContentsMargins(12, 10, 12, 12);
    objBotones->addStretch(1);
    objBotones->addWidget(btnAnterior);
    objBotones->addWidget(btnSiguiente);
    objBotones->addSpacing(10);
    objBotones->addWidget(btnCancelar);

    auto* objVentana = new QVBoxLayout(this);
    objVentana->setContentsMargins(0, 0, 0, 0);
    objVentana->setSpacing(0);
    objVentana->addLayout(objArriba, 1);
    objVentana->addWidget(Line1[0]);
    objVentana->addWidget(Line1[1]);
    objVentana->addLayout(objBotones);
    // A fixed frame that holds the whole of every step, however large the desktop's font.
    setFixedSize(QSize(520, 320).expandedTo(sizeHint()));

    LlenarConexiones();
}

frmComparar::~frmComparar() = default;

void frmComparar::LlenarConexiones() {
    if (!objVerondal)
        return;
    for (const CConexion& objConexion : objVerondal->Conexiones())
        for (CComboImagenes* cbo : cboConexion)
            cbo->AgregarElemento(objConexion.Id(), objConexion.Titulo(), 1, 1);
}

void frmComparar::MostrarPaso(int lngPaso) {
    if (lngPaso == m_lngPaso)
        return;
    m_lngPaso = lngPaso;
    for (std::size_t i = 0; i < fraPaso.size(); ++i) {
        if (static_cast<int>(i) == lngPaso) {
            fraPaso[i]->show();
            fraPaso[i]->raise();
        } else {
            fraPaso[i]->hide();
        }
    }
    btnAnterior->setEnabled(lngPaso >= 1);
    btnSiguiente->setText(lngPaso == 2 ? kFinalizar : kSiguiente);
}

void frmComparar::btnAnterior_Click() {
    MostrarPaso(m_lngPaso - 1);
}

void frmComparar::btnSiguiente_Click() {
    if (btnSiguiente->text() == kFinalizar) {
        if (!HayErrores())
            IniciarComparacion();
    } else {
        MostrarPaso(m_lngPaso + 1);
    }
}

bool frmComparar::HayErrores() {
    QString strMensaje;
    int lngPaso = 0;
    if (cboConexion[0]->Elegido() < 0 || cboConexion[1]->Elegido() < 0) {
        strMensaje = QStringLiteral("Seleccione las bases de datos a comparar");
    } else if (cboConexion[0]->ClaveElegida() == cboConexion[1]->ClaveElegida()) {
        strMensaje = QStringLiteral("Seleccione distintas bases de datos a comparar");
    } else if (!HayObjetosSeleccionados()) {
        strMensaje = QStringLiteral("Seleccione como mínimo un tipo de objeto a comparar");
        lngPaso = 1;
    } else {
        return false;
    }
    Dialogos().Mensaje(strMensaje, Estilo::Aceptar | Estilo::Exclamacion);
    MostrarPaso(lngPaso);
    return true;
}

bool frmComparar::HayObjetosSeleccionados() const {
    for (int i = 0; i < lstObjetos->NumeroEntradas(); ++i)
        if (lstObjetos->Marcada(i))
            return true;
    return false;
}

void frmComparar::IniciarComparacion() {
    // A connection deleted from the explorer while the wizard was open is no longer there.
    CConexion* objConexion1 =
        objVerondal ? objVerondal->Conexiones().Buscar(cboConexion[0]->ClaveElegida()) : nullptr;
    CConexion* objConexion2 =
        objVerondal ? objVerondal->Conexiones().Buscar(cboConexion[1]->ClaveElegida()) : nullptr;
    if (!objConexion1 || !objConexion2) {
        Dialogos().Mensaje(QStringLiteral("No existe la conexión %1")
                               .arg(objConexion1 ? cboConexion[1]->TextoElegido()
                                                 : cboConexion[0]->TextoElegido()),
                           Estilo::Aceptar | Estilo::Exclamacion);
        MostrarPaso(0);
        return;
    }

    // A connection still opening on a worker (its wait given up in the explorer) is left to it
    // until it ends; the engine then opens it on this thread.
    for (CConexion* objConexion : {objConexion1, objConexion2})
        if (const std::shared_ptr<CTarea> objTarea = CTarea::EnCurso(objConexion->Id()))
            if (!EsperarTarea(objTarea,
                              QStringLiteral("Conectando ") + objConexion->Titulo() +
                                  QStringLiteral("..."),
                              BarraEstadoPrincipal()))
                return;

    CComparador objComparador;
    objComparador.setConexion1(cboConexion[0]->ClaveElegida());
    objComparador.setConexion2(cboConexion[1]->ClaveElegida());
    objComparador.setCompararTablas(lstObjetos->Marcada(0));
    objComparador.setCompararVistas(lstObjetos->Marcada(1));
    objComparador.setCompararProcedimientos(lstObjetos->Marcada(2));
    objComparador.setCompararIndices(lstObjetos->Marcada(3));
    objComparador.setCompararRelaciones(lstObjetos->Marcada(4));
    objComparador.setCompararOcultos(chkCompararOcultos->isChecked());

    // The comparison yields to the message loop all along: no button of this window may start
    // a second one inside it or unload the wizard under it.
    m_booComparando = true;
    HabilitarBotones(false);
    QPointer<frmResultadosComparacion> frmResultados = new frmResultadosComparacion;
    try {
        frmResultados->Comparar(objComparador);
    } catch (const CError& e) {
        Dialogos().Mensaje(e.Descripcion(), Estilo::Aceptar | Estilo::Critico);
    }
    // A window the comparison never got to show belongs to nobody.
    if (frmResultados && !frmResultados->isVisible() && !frmResultados->parentWidget())
        delete frmResultados;
    m_booComparando = false;
    HabilitarBotones(true);
    MarcoVentana(this)->close();
}

void frmComparar::HabilitarBotones(bool booHabilitados) {
    btnAnterior->setEnabled(booHabilitados && m_lngPaso >= 1);
    btnSiguiente->setEnabled(booHabilitados);
    btnCancelar->setEnabled(booHabilitados);
}

void frmComparar::cboConexion_Click(int intIndice) {
    const CComboImagenes* cbo = cboConexion[static_cast<std::size_t>(intIndice)];
    lblResumen[static_cast<std::size_t>(intIndice) + 4]->setText(
        cbo->Elegido() >= 0 ? cbo->TextoElegido() : kNoSeleccionado);
}

void frmComparar::lstObjetos_ItemCheck() {
    QString strObjetos;
    for (int i = 0; i < lstObjetos->NumeroEntradas(); ++i)
        if (lstObjetos->Marcada(i))
            strObjetos += lstObjetos->TextoEntrada(i) + QStringLiteral("\r\n");
    lblResumen[6]->setText(strObjetos.isEmpty() ? QStringLiteral("(ninguno)") : strObjetos);
}

void frmComparar::chkCompararOcultos_Click() {
    lblResumen[7]->setText(chkCompararOcultos->isChecked() ? QStringLiteral("Sí")
                                                           : QStringLiteral("No"));
}

void frmComparar::keyPressEvent(QKeyEvent* objEvento) {
    // The default and cancel buttons of a dialog; a focused button takes Enter itself.
    switch (objEvento->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (objEvento->modifiers() & ~Qt::KeypadModifier)
            break;
        if (auto* btn = qobject_cast<QPushButton*>(focusWidget()); btn && btn->isEnabled()) {
            btn->click();
            return;
        }
        if (btnSiguiente->isEnabled())
            btnSiguiente->click();
        return;
    case Qt::Key_Escape:
        if (objEvento->modifiers() != Qt::NoModifier)
            break;
        if (btnCancelar->isEnabled())
            btnCancelar->click();
        return;
    default:
        break;
    }
    QWidget::keyPressEvent(objEvento);
}

void frmComparar::closeEvent(QCloseEvent* objEvento) {
    // Closing under a running comparison would pull its window from under it; the wizard
    // closes by itself when the comparison has ended.
    if (m_booComparando)
        objEvento->ignore();
    else
        objEvento->accept();
}
