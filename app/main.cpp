// Start-up: Qt's own texts in Chinese, then the main window loads the rules
// beside the program and runs until the user closes it.

#include "ui/Translations.h"
#include "ui/frmMain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    zelmar::loadChineseTranslations(app);
    zelmar::frmMain window;
    window.show();
    return app.exec();
}
