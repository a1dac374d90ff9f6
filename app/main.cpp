// Start-up: Qt's own texts in Chinese, the folder of the rule files chosen
// once, then the main window loads the rules there and runs until the user
// closes it.

#include "rules/RuleFolder.h"
#include "ui/Translations.h"
#include "ui/frmMain.h"

#include <QApplication>
#include <QDir>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    zelmar::loadChineseTranslations(app);
    // The core takes paths as UTF-8 on every system (QFile::encodeName would
    // give the 8-bit code page on Windows), with the system's own separators.
    zelmar::RuleFolderChoice rules = zelmar::ChooseRuleFolder(
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString());
    zelmar::frmMain window(rules.folder, std::move(rules.reports));
    window.show();
    return app.exec();
}
