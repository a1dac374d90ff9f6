// Pictures of the windows for a reviewer, in the build folder's screenshots/:
// the main window fresh and in the middle of a round, the rule editor, help
// and about.

#include "UiTestSupport.h"
#include "frmAbout.h"
#include "frmHelp.h"
#include "frmMain.h"

#include <QDir>

namespace {
void save(QWidget* w, const char* name)
{
    QDir().mkpath(QStringLiteral(ZELMAR_SCREENSHOT_DIR));
    const QString path = QStringLiteral(ZELMAR_SCREENSHOT_DIR "/%1.png").arg(QLatin1String(name));
    QVERIFY2(w->grab().save(path), qPrintable(path));
}
} // namespace

class ScreenshotTest : public QObject {
    Q_OBJECT
private slots:
    void windowsArePhotographed()
    {
        RuleFolder rules("1,1,2,3,5,8,13,21", "1,1,2,3,5,8\r\n3,5,8,13,21,34\r\n10,20,40\r\n50,80,100,150");
        ModalCatcher catcher;
        zelmar::frmMain w(rules.path());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        save(&w, "main-fresh");
        const QImage fresh = w.centralWidget()->grab().toImage();
        QCOMPARE(fresh.pixelColor(220, 10), QColor(176, 211, 240)); // Shape2
        QCOMPARE(fresh.pixelColor(250, 90), QColor(255, 192, 255)); // Shape1

        // Three losses and a win on the loss side: the cursor stands on (0, 2).
        for (const char* button : { "cmdLost", "cmdLost", "cmdLost", "cmdWin" })
            click(&w, button);
        save(&w, "main-round");

        QString asked;
        catcher
            .then([](QWidget* editor) {
                save(editor, "rule-editor");
                editor->close();
            })
            .then(question(QMessageBox::No, &asked));
        click(&w, "cmdSetting");
        CHECK_DIALOGS(catcher);

        zelmar::frmHelp help(&w);
        zelmar::frmAbout about(&w);
        for (auto [dialog, name] : { std::pair<QWidget*, const char*>(&help, "help"), { &about, "about" } }) {
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            save(dialog, name);
        }
    }
};

QTEST_MAIN(ScreenshotTest)
#include "tst_Screenshots.moc"
