// Start-up: Qt's own texts in Chinese, the folder of the rule files chosen
// once, then the main window loads the rules there and runs until the user
// closes it.

#include "rules/RuleFolder.h"
#include "ui/FileNames.h"
#include "ui/Translations.h"
#include "ui/frmMain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    zelmar::loadChineseTranslations(app);
    zelmar::RuleFolderChoice rules
        = zelmar::ChooseRuleFolder(zelmar::coreFileName(QCoreApplication::applicationDirPath()));
    zelmar::frmMain window(rules.folder, std::move(rules.reports));
    window.show();
    return app.exec();
}
