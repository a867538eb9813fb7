// Verondal's desktop program: Qt in Spanish, the real dialog service, then start-up.
#include "app/Inicio.h"
#include "app/RegistroVentanas.h"
#include "app/frmPrincipal.h"
#include "comun/CTarea.h"
#include "controles/CDialogosQt.h"
#include "controles/CListaImagenes.h"
#include "registry/CVerondal.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdlib>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Verondal"));
    QApplication::setApplicationVersion(frmPrincipal::ObtenerVersion());
    QApplication::setWindowIcon(IconoPrograma());

    // Qt's own buttons and dialogs ("Aceptar", "Sí", "No", "Cancelar") in Spanish.
    QTranslator objTraductor;
    if (objTraductor.load(QLocale(QLocale::Spanish, QLocale::Spain), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&objTraductor);

    CDialogosQt objDialogos;
    EstablecerDialogos(&objDialogos);

    RegistrarVentanas();
    int intResultado = 1; // a failed start has told the user why
    if (Inicio(CVerondal::RutaConfiguracion()))
        intResultado = QApplication::exec();

    // Whatever ended the loop, the connections close before Qt goes away.
    objVerondal.reset();
    EstablecerDialogos(nullptr);
    // A connection given up while it opened may still hold a worker inside its driver: the
    // program does not wait on a server that never answers, nor tear down what that worker uses.
    if (!CTarea::EsperarTodas(2000))
        std::quick_exit(intResultado);
    return intResultado;
}
