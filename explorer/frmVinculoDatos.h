// The data-link dialogue: an ODBC driver or data source, server, port, database, user and
// password, or the connection string typed directly, tried with "Probar conexión". Modal;
// whoever opens it owns it (CVinculoDatosQt keeps it for one call).
#pragma once

#include "explorer/IVinculoDatos.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QLabel;

class frmVinculoDatos : public QDialog {
    Q_OBJECT
public:
    // strCadena prefills every field it names; the caption is strTitulo.
    explicit frmVinculoDatos(const QString& strTitulo, const QString& strCadena = QString(),
                             QWidget* objPadre = nullptr);

    // The connection string as it stands (what "Aceptar" hands back). The advanced field
    // shows it with the password's value masked.
    QString Cadena() const;

    // Picks the database file for file-based drivers; given the current path, returns the
    // chosen one or an empty text. A file dialog unless replaced (tests replace it).
    std::function<QString(const QString& strActual)> fnElegirArchivo;

    QRadioButton* const optControlador;
    QComboBox* const cboControlador;
    QRadioButton* const optOrigen;
    QComboBox* const cboOrigen;
    QLineEdit* const txtServidor;
    QLineEdit* const txtPuerto;
    QLineEdit* const txtBaseDatos;
    QPushButton* const btnExaminar;
    QLineEdit* const txtUsuario;
    QLineEdit* const txtContrasena;
    QLineEdit* const txtCadena;
    QPushButton* const btnProbar;
    QPushButton* const btnAceptar;
    QPushButton* const btnCancelar;

private:
    void ComponerCadena();                     // fields → string
    void LeerCadena(const QString& strCadena); // string → fields
    void MostrarCadena(const QString& strCadena);
    void txtCadena_Editado(const QString& strVisible);
    void ElegirEnCombo(QComboBox* cbo, const QString& strTexto);
    void ActualizarControles();
    QString ControladorElegido() const;
    void btnExaminar_Click();
    void btnProbar_Click();

    bool m_Actualizando = false;
    QString m_strCadena; // the real string; the advanced field masks its password
};

// The dialogue as the program shows it: frmVinculoDatos, modal over the active window.
class CVinculoDatosQt final : public IVinculoDatos {
public:
    std::optional<QString> PedirCadena(const QString& strTitulo, const QString& strCadena) override;
};
