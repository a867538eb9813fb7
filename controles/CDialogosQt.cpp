#include "controles/CDialogosQt.h"

#include "controles/modGeneral.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace {

const QString TituloPrograma = QStringLiteral("Verondal");

QMessageBox::Icon IconoMensaje(int intEstilo) {
    switch (intEstilo & 0x70) {
    case Estilo::Critico:
        return QMessageBox::Critical;
    case Estilo::Pregunta:
        return QMessageBox::Question;
    case Estilo::Exclamacion:
        return QMessageBox::Warning;
    case Estilo::Informacion:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

struct CBoton {
    QMessageBox::StandardButton boton;
    int intRespuesta;
};

// The button sets of the style's low bits, in the order they stand in the box.
QList<CBoton> Botones(int intEstilo) {
    switch (intEstilo & 0x7) {
    case 1:
        return {{QMessageBox::Ok, Respuesta::Aceptar}, {QMessageBox::Cancel, Respuesta::Cancelar}};
    case 3:
        return {{QMessageBox::Yes, Respuesta::Si},
                {QMessageBox::No, Respuesta::No},
                {QMessageBox::Cancel, Respuesta::Cancelar}};
    case Estilo::SiNo:
        return {{QMessageBox::Yes, Respuesta::Si}, {QMessageBox::No, Respuesta::No}};
    default:
        return {{QMessageBox::Ok, Respuesta::Aceptar}};
    }
}

// A filter in the Windows form ("Texto\0*.txt\0...\0\0") becomes Qt's "Texto (*.txt);;...".
QString FiltroQt(const QString& strFiltro) {
    if (!strFiltro.contains(QChar(0)))
        return strFiltro;
    const QStringList partes = strFiltro.split(QChar(0), Qt::SkipEmptyParts);
    QStringList filtros;
    for (int i = 0; i + 1 < partes.size(); i += 2)
        filtros << (partes.at(i).contains(QLatin1Char('('))
                        ? partes.at(i)
                        : QStringLiteral("%1 (%2)").arg(partes.at(i), partes.at(i + 1)));
    return filtros.join(QStringLiteral(";;"));
}

} // namespace

QWidget* CDialogosQt::Propietario() {
    if (QWidget* w = QApplication::activeModalWidget())
        return w;
    if (QWidget* w = QApplication::activeWindow())
        return w;
    return VentanaPrincipal();
}

int CDialogosQt::Mensaje(const QString& strTexto, int intEstilo, const QString& strTitulo) {
    QMessageBox objCaja(IconoMensaje(intEstilo), strTitulo.isEmpty() ? TituloPrograma : strTitulo,
                        strTexto, QMessageBox::NoButton, Propietario());
    const QList<CBoton> botones = Botones(intEstilo);
    QList<QAbstractButton*> controles;
    for (const CBoton& b : botones)
        controles << objCaja.addButton(b.boton);
    const int intDefecto = (intEstilo >> 8) & 0x3; // 0 first, 1 second, 2 third button
    objCaja.setDefaultButton(
        qobject_cast<QPushButton*>(controles.value(intDefecto, controles.first())));
    // Escape answers as the last button does (No, Cancel), or OK when it is the only one.
    objCaja.setEscapeButton(controles.last());
    objCaja.exec();
    const int i = static_cast<int>(controles.indexOf(objCaja.clickedButton()));
    return i >= 0 ? botones.at(i).intRespuesta : botones.last().intRespuesta;
}

std::optional<QString> CDialogosQt::Entrada(const QString& strPregunta, const QString& strTitulo,
                                            const QString& strPredeterminado) {
    QInputDialog objCaja(Propietario());
    objCaja.setWindowTitle(strTitulo.isEmpty() ? TituloPrograma : strTitulo);
    objCaja.setLabelText(strPregunta);
    objCaja.setTextValue(strPredeterminado);
    objCaja.setInputMode(QInputDialog::TextInput);
    if (objCaja.exec() != QDialog::Accepted)
        return std::nullopt;
    // A confirmed empty text is an empty but non-null string, distinct from the cancel above.
    const QString strTexto = objCaja.textValue();
    return strTexto.isNull() ? QString(QLatin1String("")) : strTexto;
}

bool CDialogosQt::GuardarArchivoComo(const QString& strFiltro, const QString& strExtension,
                                     QString& strRuta) {
    QFileDialog objDialogo(Propietario());
    objDialogo.setAcceptMode(QFileDialog::AcceptSave);
    objDialogo.setFileMode(QFileDialog::AnyFile);
    // Qt's own dialog: the same on every desktop, in Spanish, and it asks before overwriting.
    objDialogo.setOption(QFileDialog::DontUseNativeDialog);
    objDialogo.setNameFilter(FiltroQt(strFiltro));
    objDialogo.setDefaultSuffix(strExtension);
    if (objDialogo.exec() != QDialog::Accepted || objDialogo.selectedFiles().isEmpty())
        return false;
    strRuta = objDialogo.selectedFiles().constFirst();
    return true;
}

bool CDialogosQt::AbrirArchivo(const QString& strRuta) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(strRuta));
}
