// Test helper shared by the rooms that export a list: answers the export format dialog.
// Each test owns its answer; a timer that never fired dies with it.
#pragma once

#include "Entorno.h"
#include "controles/CListaVista.h"
#include "export/ui/frmExportar.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QTest>
#include <QTimer>

namespace pruebas {

inline CListaVista* ListaFormatos(frmExportar& dlg) {
    return dlg.findChild<CListaVista*>(u"lvwExportar"_s);
}

inline void ClicEnFormato(frmExportar& dlg, int intFila) {
    QAbstractItemView* objVista = ListaFormatos(dlg)->VistaVisible();
    const QRect rect = objVista->visualRect(objVista->model()->index(intFila, 0));
    QTest::mouseClick(objVista->viewport(), Qt::LeftButton, {}, rect.center());
}

// Answers the format dialog as soon as it shows: clicks row intFila and presses Enter (Escape
// when intFila is negative). Records whether a dialog was seen at all.
struct CRespuestaFormato {
    explicit CRespuestaFormato(int intFila) {
        QTimer::singleShot(0, &contexto, [this, intFila] {
            auto* dlg = qobject_cast<frmExportar*>(QApplication::activeModalWidget());
            if (!dlg)
                return;
            booVisto = true;
            if (intFila >= 0 && intFila != 1)
                ClicEnFormato(*dlg, intFila);
            QTest::keyClick(ListaFormatos(*dlg)->VistaVisible(),
                            intFila >= 0 ? Qt::Key_Return : Qt::Key_Escape);
        });
    }
    bool booVisto = false;
    QObject contexto;
};

} // namespace pruebas
