// Start-up of zelmar-analysis: Qt's own texts in Chinese, the Song face for
// every window and dialog, the rule folder chosen as the calculator chooses
// it, the choices of the last run from the platform's settings place, then
// the window until the user closes it.

#include "rules/RuleFolder.h"
#include "ui/FileNames.h"
#include "ui/Translations.h"
#include "ui/UiFont.h"
#include "ui/analysis/AnalysisWindow.h"

#include <QApplication>
#include <QSettings>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Zelmar"));
    QCoreApplication::setApplicationName(QStringLiteral("zelmar-analysis"));
    app.setFont(zelmar::songFont(10.5));
    zelmar::loadChineseTranslations(app);
    zelmar::RuleFolderChoice rules
        = zelmar::ChooseRuleFolder(zelmar::coreFileName(QCoreApplication::applicationDirPath()));
    QSettings settings;
    zelmar::AnalysisWindow window(rules.folder, std::move(rules.reports), settings);
    window.show();
    return app.exec();
}
