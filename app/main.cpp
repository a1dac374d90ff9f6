// Start-up: the main window loads the rules beside the program and runs
// until the user closes it.

#include "frmMain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    zelmar::frmMain window;
    window.show();
    return app.exec();
}
