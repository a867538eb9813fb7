// One main for every test program: windows offscreen unless a display is asked for, and Qt's
// own texts in Spanish, as the program shows them.
#include "Entorno.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QTranslator traductor;
    if (traductor.load(QLocale(QLocale::Spanish, QLocale::Spain), u"qtbase"_s, u"_"_s,
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&traductor);
    return RUN_ALL_TESTS();
}
