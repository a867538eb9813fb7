// The modal format dialog: five formats as large icons, the spreadsheet preselected. Created and
// destroyed by the export driver, which reads Aceptar and FormatoExportacion after it closes.
#pragma once

#include <QDialog>

class CListaVista;
class QLabel;
class QPushButton;

class frmExportar final : public QDialog {
    Q_OBJECT
public:
    explicit frmExportar(QWidget* objPropietario = nullptr);

    bool Aceptar() const { return m_booAceptar; }
    int FormatoExportacion() const { return m_lngFormatoExportacion; }

    // The code that belongs to a key ("wrd" 0 ... "csv" 4); -1 for another key.
    static int CodigoFormato(const QString& strClave);

private:
    void ElegirElemento(int intFila);

    QLabel* lblExportar;
    CListaVista* lvwExportar;
    QPushButton* btnAceptar;
    QPushButton* btnCancelar;
    bool m_booAceptar = false;
    int m_lngFormatoExportacion = 1;
};
