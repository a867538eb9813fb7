#include "export/ui/frmExportar.h"

#include "controles/CListaImagenes.h"
#include "controles/CListaVista.h"
#include "export/modArchivos.h"

#include <QAbstractItemView>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct CElementoFormato {
    const char* strClave;
    const char* strTexto;
    const char* strIcono;
};

// In code order: the row of an item is its format code, and its icon is image row + 1.
const CElementoFormato kElementos[] = {
    {"wrd", "Documento de Microsoft Word", "formato_word"},
    {"exc", "Hoja de cálculo de Microsoft Excel", "formato_excel"},
    {"xml", "Documento XML (*.xml)", "formato_xml"},
    {"txt", "Archivo de texto, delimitado por tabuladores (*.txt)", "formato_txt"},
    {"csv", "Archivo de texto, delimitado por comas (*.csv)", "formato_csv"},
};

} // namespace

frmExportar::frmExportar(QWidget* objPropietario) : QDialog(objPropietario) {
    setWindowTitle(QStringLiteral("Exportar"));
    QFont fuente = font();
    fuente.setFamilies({QStringLiteral("Tahoma")});
    setFont(fuente);

    lblExportar =
        new QLabel(QStringLiteral("Seleccione el &formato en que desea exportar los datos:"), this);
    lblExportar->setObjectName(QStringLiteral("lblExportar"));

    QStringList strIconos;
    for (const CElementoFormato& elemento : kElementos)
        strIconos << QLatin1String(elemento.strIcono);
    lvwExportar = new CListaVista(this);
    lvwExportar->setObjectName(QStringLiteral("lvwExportar"));
    lvwExportar->EstablecerImagenes(CListaImagenes(32, strIconos), CListaImagenes(16, strIconos));
    lvwExportar->EstablecerVista(CListaVista::Vista::IconosGrandes);
    for (int i = 0; i < static_cast<int>(std::size(kElementos)); ++i)
        lvwExportar->AgregarElemento(QString::fromUtf8(kElementos[i].strTexto), i + 1, i + 1,
                                     QLatin1String(kElementos[i].strClave));
    lblExportar->setBuddy(lvwExportar->VistaVisible());
    // Cells wide and tall enough for three lines of text: the two text formats differ only at
    // the end of their names.
    if (auto* objIconos = qobject_cast<QListView*>(lvwExportar->VistaVisible()))
        objIconos->setGridSize(QSize(150, 100));

    btnAceptar = new QPushButton(QStringLiteral("Aceptar"), this);
    btnAceptar->setObjectName(QStringLiteral("btnAceptar"));
    btnAceptar->setDefault(true);
    btnCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    btnCancelar->setObjectName(QStringLiteral("btnCancelar"));

    auto* objBotones = new QHBoxLayout;
    objBotones->addStretch();
    objBotones->addWidget(btnAceptar);
    objBotones->addWidget(btnCancelar);
    auto* objDisposicion = new QVBoxLayout(this);
    objDisposicion->addWidget(lblExportar);
    objDisposicion->addWidget(lvwExportar, 1);
    objDisposicion->addLayout(objBotones);
    resize(500, 300);

    // The spreadsheet is the preselected format.
    lvwExportar->Seleccionar(Formato::Excel);
    m_lngFormatoExportacion = Formato::Excel;
    lvwExportar->VistaVisible()->setFocus();

    connect(lvwExportar, &CListaVista::ClicElemento, this, [this](int, const QString& strClave) {
        const int lngCodigo = CodigoFormato(strClave);
        if (lngCodigo >= 0)
            m_lngFormatoExportacion = lngCodigo;
    });
    // Moving the selection with the keyboard picks the format too, so the one shown selected is
    // always the one exported.
    connect(lvwExportar, &CListaVista::CambioSeleccion, this, &frmExportar::ElegirElemento);
    connect(btnAceptar, &QPushButton::clicked, this, [this] {
        m_booAceptar = true;
        accept();
    });
    // Escape and the title-bar close reject the dialog too: both count as "Cancelar".
    connect(btnCancelar, &QPushButton::clicked, this, &QDialog::reject);
    connect(this, &QDialog::rejected, this, [this] { m_booAceptar = false; });
}

void frmExportar::ElegirElemento(int intFila) {
    if (intFila < 0)
        return;
    const int lngCodigo = CodigoFormato(lvwExportar->Clave(intFila));
    if (lngCodigo >= 0)
        m_lngFormatoExportacion = lngCodigo;
}

int frmExportar::CodigoFormato(const QString& strClave) {
    for (int i = 0; i < static_cast<int>(std::size(kElementos)); ++i)
        if (strClave == QLatin1String(kElementos[i].strClave))
            return i;
    return -1;
}
