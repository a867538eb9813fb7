#include "explorer/frmVinculoDatos.h"

#include "catalog/CCadenaConexion.h"
#include "catalog/CConexion.h"
#include "catalog/modOdbc.h"
#include "comun/IDialogos.h"
#include "controles/CPunteroRaton.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const QString ClaveControlador = QStringLiteral("DRIVER");
const QString ClaveOrigen = QStringLiteral("DSN");

// The fields and the connection-string keys they stand for.
struct CCampo {
    const char* szClave;
    QLineEdit* const frmVinculoDatos::*txt;
};
constexpr CCampo Campos[] = {
    {"SERVER", &frmVinculoDatos::txtServidor},    {"PORT", &frmVinculoDatos::txtPuerto},
    {"DATABASE", &frmVinculoDatos::txtBaseDatos}, {"UID", &frmVinculoDatos::txtUsuario},
    {"PWD", &frmVinculoDatos::txtContrasena},
};

// What the advanced field shows in place of a password.
const QString Mascara = QString(8, QChar(0x2022));

// The string with the value of every password key masked.
QString Enmascarar(const QString& strCadena) {
    CCadenaConexion cadena(strCadena);
    bool booSecreta = false;
    for (const auto& [strClave, strValor] : cadena.Atributos())
        booSecreta =
            booSecreta || (CCadenaConexion::EsClaveSecreta(strClave) && !strValor.isEmpty());
    if (!booSecreta)
        return strCadena;
    const QList<QPair<QString, QString>> atributos = cadena.Atributos();
    for (const auto& [strClave, strValor] : atributos)
        if (CCadenaConexion::EsClaveSecreta(strClave) && !strValor.isEmpty())
            cadena.Poner(strClave, Mascara);
    return cadena.Texto();
}

QLineEdit* CrearTexto(const char* szNombre) {
    auto* txt = new QLineEdit;
    txt->setObjectName(QLatin1String(szNombre));
    return txt;
}

QPushButton* CrearBoton(const QString& strTexto, const char* szNombre) {
    auto* btn = new QPushButton(strTexto);
    btn->setObjectName(QLatin1String(szNombre));
    btn->setAutoDefault(false);
    return btn;
}

} // namespace

frmVinculoDatos::frmVinculoDatos(const QString& strTitulo, const QString& strCadena,
                                 QWidget* objPadre)
    : QDialog(objPadre), optControlador(new QRadioButton(QStringLiteral("&Controlador ODBC:"))),
      cboControlador(new QComboBox),
      optOrigen(new QRadioButton(QStringLiteral("&Origen de datos:"))), cboOrigen(new QComboBox),
      txtServidor(CrearTexto("txtServidor")), txtPuerto(CrearTexto("txtPuerto")),
      txtBaseDatos(CrearTexto("txtBaseDatos")),
      btnExaminar(CrearBoton(QStringLiteral("..."), "btnExaminar")),
      txtUsuario(CrearTexto("txtUsuario")), txtContrasena(CrearTexto("txtContrasena")),
      txtCadena(CrearTexto("txtCadena")),
      btnProbar(CrearBoton(QStringLiteral("&Probar conexión"), "btnProbar")),
      btnAceptar(CrearBoton(QStringLiteral("Aceptar"), "btnAceptar")),
      btnCancelar(CrearBoton(QStringLiteral("Cancelar"), "btnCancelar")) {
    setObjectName(QStringLiteral("frmVinculoDatos"));
    setWindowTitle(strTitulo);
    setModal(true);
    optControlador->setObjectName(QStringLiteral("optControlador"));
    optOrigen->setObjectName(QStringLiteral("optOrigen"));
    cboControlador->setObjectName(QStringLiteral("cboControlador"));
    cboOrigen->setObjectName(QStringLiteral("cboOrigen"));

    // What the driver manager has installed, read once per dialogue.
    cboControlador->addItems(ControladoresOdbc());
    for (const COrigenDatosOdbc& origen : OrigenesDatosOdbc()) {
        cboOrigen->addItem(origen.strNombre, origen.strControlador);
        cboOrigen->setItemData(cboOrigen->count() - 1, origen.strControlador, Qt::ToolTipRole);
    }
    cboControlador->setPlaceholderText(cboControlador->count()
                                           ? QStringLiteral("(elija un controlador)")
                                           : QStringLiteral("(no hay controladores instalados)"));
    cboOrigen->setPlaceholderText(cboOrigen->count()
                                      ? QStringLiteral("(elija un origen de datos)")
                                      : QStringLiteral("(no hay orígenes de datos)"));
    cboControlador->setCurrentIndex(-1);
    cboOrigen->setCurrentIndex(-1);
    optControlador->setChecked(true);

    auto* fraOrigen = new QGroupBox(QStringLiteral("Origen"));
    auto* rejilla = new QGridLayout(fraOrigen);
    rejilla->addWidget(optControlador, 0, 0);
    rejilla->addWidget(cboControlador, 0, 1);
    rejilla->addWidget(optOrigen, 1, 0);
    rejilla->addWidget(cboOrigen, 1, 1);
    rejilla->setColumnStretch(1, 1);

    txtContrasena->setEchoMode(QLineEdit::Password);
    btnExaminar->setToolTip(QStringLiteral("Elegir el archivo de base de datos"));
    auto* filaBase = new QHBoxLayout;
    filaBase->addWidget(txtBaseDatos, 1);
    filaBase->addWidget(btnExaminar);
    auto* fraDatos = new QGroupBox(QStringLiteral("Datos de la conexión"));
    auto* formulario = new QFormLayout(fraDatos);
    formulario->addRow(QStringLiteral("&Servidor:"), txtServidor);
    formulario->addRow(QStringLiteral("P&uerto:"), txtPuerto);
    // A row holding a layout gets no buddy of its own: the label is made here.
    auto* lblBaseDatos = new QLabel(QStringLiteral("&Base de datos:"));
    lblBaseDatos->setBuddy(txtBaseDatos);
    formulario->addRow(lblBaseDatos, filaBase);
    formulario->addRow(QStringLiteral("Usua&rio:"), txtUsuario);
    formulario->addRow(QStringLiteral("Con&traseña:"), txtContrasena);

    auto* lblCadena = new QLabel(QStringLiteral("Cadena de co&nexión (avanzado):"));
    lblCadena->setBuddy(txtCadena);

    auto* botones = new QHBoxLayout;
    botones->addWidget(btnProbar);
    botones->addStretch(1);
    botones->addWidget(btnAceptar);
    botones->addWidget(btnCancelar);
    btnAceptar->setDefault(true);

    auto* principal = new QVBoxLayout(this);
    principal->addWidget(fraOrigen);
    principal->addWidget(fraDatos);
    principal->addWidget(lblCadena);
    principal->addWidget(txtCadena);
    principal->addSpacing(6);
    principal->addLayout(botones);
    resize(460, sizeHint().height());

    fnElegirArchivo = [this](const QString& strActual) {
        return QFileDialog::getOpenFileName(
            this, QStringLiteral("Base de datos"), QFileInfo(strActual).absolutePath(),
            QStringLiteral("Bases de datos SQLite (*.db *.sqlite *.sqlite3 *.db3);;"
                           "Todos los archivos (*)"));
    };

    connect(optControlador, &QRadioButton::toggled, this, &frmVinculoDatos::ComponerCadena);
    connect(cboControlador, &QComboBox::activated, this, [this] {
        optControlador->setChecked(true);
        ComponerCadena();
    });
    connect(cboOrigen, &QComboBox::activated, this, [this] {
        optOrigen->setChecked(true);
        ComponerCadena();
    });
    for (const CCampo& campo : Campos)
        connect(this->*campo.txt, &QLineEdit::textEdited, this, &frmVinculoDatos::ComponerCadena);
    connect(txtCadena, &QLineEdit::textEdited, this, &frmVinculoDatos::txtCadena_Editado);
    connect(btnExaminar, &QPushButton::clicked, this, &frmVinculoDatos::btnExaminar_Click);
    connect(btnProbar, &QPushButton::clicked, this, &frmVinculoDatos::btnProbar_Click);
    connect(btnAceptar, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancelar, &QPushButton::clicked, this, &QDialog::reject);

    MostrarCadena(strCadena);
    LeerCadena(strCadena);
}

QString frmVinculoDatos::Cadena() const {
    return m_strCadena.trimmed();
}

void frmVinculoDatos::MostrarCadena(const QString& strCadena) {
    m_strCadena = strCadena;
    txtCadena->setText(Enmascarar(strCadena));
}

void frmVinculoDatos::txtCadena_Editado(const QString& strVisible) {
    // A masked password left as it was keeps its real value; one typed over is the new one.
    CCadenaConexion cadena(strVisible);
    const CCadenaConexion anterior(m_strCadena);
    bool booMascara = false;
    const QList<QPair<QString, QString>> atributos = cadena.Atributos();
    for (const auto& [strClave, strValor] : atributos)
        if (CCadenaConexion::EsClaveSecreta(strClave) && strValor == Mascara) {
            cadena.Poner(strClave, anterior.Valor(strClave));
            booMascara = true;
        }
    m_strCadena = booMascara ? cadena.Texto() : strVisible;
    LeerCadena(m_strCadena);
}

QString frmVinculoDatos::ControladorElegido() const {
    if (optControlador->isChecked())
        return cboControlador->currentIndex() < 0 ? QString() : cboControlador->currentText();
    if (cboOrigen->currentIndex() < 0)
        return {};
    const QString strControlador = cboOrigen->currentData().toString();
    return strControlador.isEmpty() ? ControladorDelOrigen(cboOrigen->currentText())
                                    : strControlador;
}

void frmVinculoDatos::ComponerCadena() {
    if (m_Actualizando)
        return;
    // Built over the string as it stands, so keys typed by hand in the advanced field stay.
    CCadenaConexion cadena(m_strCadena);
    const bool booControlador = optControlador->isChecked();
    QComboBox* cbo = booControlador ? cboControlador : cboOrigen;
    const QString strClave = booControlador ? ClaveControlador : ClaveOrigen;
    cadena.Quitar(booControlador ? ClaveOrigen : ClaveControlador);
    if (cbo->currentIndex() < 0)
        cadena.Quitar(strClave);
    else if (cadena.Contiene(strClave))
        cadena.Poner(strClave, cbo->currentText());
    else
        cadena.Anteponer(strClave, cbo->currentText());
    for (const CCampo& campo : Campos) {
        const QString strValor = (this->*campo.txt)->text();
        if (strValor.isEmpty())
            cadena.Quitar(QLatin1String(campo.szClave));
        else
            cadena.Poner(QLatin1String(campo.szClave), strValor);
    }
    m_Actualizando = true;
    MostrarCadena(cadena.Texto());
    m_Actualizando = false;
    ActualizarControles();
}

void frmVinculoDatos::LeerCadena(const QString& strCadena) {
    const CCadenaConexion cadena(strCadena);
    m_Actualizando = true;
    const bool booOrigen = cadena.Contiene(ClaveOrigen) && cadena.Valor(ClaveControlador).isEmpty();
    (booOrigen ? optOrigen : optControlador)->setChecked(true);
    ElegirEnCombo(cboControlador, booOrigen ? QString() : cadena.Valor(ClaveControlador));
    ElegirEnCombo(cboOrigen, booOrigen ? cadena.Valor(ClaveOrigen) : QString());
    for (const CCampo& campo : Campos)
        (this->*campo.txt)->setText(cadena.Valor(QLatin1String(campo.szClave)));
    m_Actualizando = false;
    ActualizarControles();
}

void frmVinculoDatos::ElegirEnCombo(QComboBox* cbo, const QString& strTexto) {
    if (strTexto.isEmpty()) {
        cbo->setCurrentIndex(-1);
        return;
    }
    // A driver or source that is not installed here is still what the string names.
    int i = cbo->findText(strTexto, Qt::MatchFixedString);
    if (i < 0) {
        cbo->addItem(strTexto);
        i = cbo->count() - 1;
    }
    cbo->setCurrentIndex(i);
}

void frmVinculoDatos::ActualizarControles() {
    cboControlador->setEnabled(optControlador->isChecked());
    cboOrigen->setEnabled(optOrigen->isChecked());
    const bool booArchivo = ControladorDeArchivo(ControladorElegido());
    btnExaminar->setEnabled(booArchivo);
    txtServidor->setEnabled(!booArchivo);
    txtPuerto->setEnabled(!booArchivo);
    const bool booHayCadena = !Cadena().isEmpty();
    btnProbar->setEnabled(booHayCadena);
    btnAceptar->setEnabled(booHayCadena);
}

void frmVinculoDatos::btnExaminar_Click() {
    if (!fnElegirArchivo)
        return;
    const QString strRuta = fnElegirArchivo(txtBaseDatos->text());
    if (strRuta.isEmpty())
        return;
    txtBaseDatos->setText(strRuta);
    ComponerCadena();
}

void frmVinculoDatos::btnProbar_Click() {
    // A connection of its own, opened and dropped here: the configured ones are not touched.
    CConexion objPrueba;
    objPrueba.setCadenaDeConexion(Cadena());
    bool booCorrecta = false;
    {
        CPunteroRaton objReloj(Puntero::Reloj);
        booCorrecta = objPrueba.Conectar();
    }
    if (booCorrecta)
        Dialogos().Mensaje(QStringLiteral("Conexión correcta"), Estilo::Informacion,
                           QStringLiteral("Probar conexión"));
    else
        Dialogos().Mensaje(objPrueba.ErrorConexion(), Estilo::Critico,
                           QStringLiteral("Probar conexión"));
}

std::optional<QString> CVinculoDatosQt::PedirCadena(const QString& strTitulo,
                                                    const QString& strCadena) {
    frmVinculoDatos frm(strTitulo, strCadena, QApplication::activeWindow());
    if (frm.exec() != QDialog::Accepted || frm.Cadena().isEmpty())
        return std::nullopt;
    return frm.Cadena();
}
