// What every dialog shows and where: Qt's own texts in Chinese once the
// catalogue is installed, the placement of a dialog over its window (the
// arithmetic; the frames of a real window manager are checked by hand under
// Xvfb), and the frame of the help and about dialogs, which the user leaves
// by the close box only.

#include "tests/ui/UiTestSupport.h"
#include "ui/MessageBoxes.h"
#include "ui/Placement.h"
#include "ui/Translations.h"
#include "ui/frmAbout.h"
#include "ui/frmHelp.h"
#include "ui/frmMain.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { m_translated = zelmar::loadChineseTranslations(*QCoreApplication::instance()); }

    // Every entry of the text boxes' context menus is Chinese; only the key
    // names of the shortcuts ("Ctrl+Z") and the access keys stay Latin.
    void textBoxMenusAreChinese()
    {
        if (!m_translated)
            QSKIP("Qt's Chinese catalogue (qt6-translations-l10n) is not installed");
        QLineEdit line;
        QPlainTextEdit lines;
        const QRegularExpression accessKey(QStringLiteral("\\(&.\\)|&"));
        QStringList english;
        int entries = 0;
        for (QMenu* menu : { line.createStandardContextMenu(), lines.createStandardContextMenu() }) {
            for (const QAction* action : menu->actions()) {
                if (action->isSeparator())
                    continue;
                ++entries;
                const QString text = action->text().section('\t', 0, 0).remove(accessKey);
                if (text.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))))
                    english << text;
            }
            delete menu;
        }
        QCOMPARE(entries, 14); // undo, redo, cut, copy, paste, delete, select all, twice
        QVERIFY2(english.isEmpty(), qPrintable(english.join(", ")));

        ModalCatcher catcher;
        QString shown;
        QString asked;
        catcher.then(notice(&shown)).then(question(QMessageBox::No, &asked));
        QWidget owner;
        owner.show();
        zelmar::showNotice(&owner, QStringLiteral("重新开始了"));
        QVERIFY(!zelmar::askYesNo(
            &owner, QStringLiteral("规则已经重新设定，是否重新加载"), QStringLiteral("重新加载规则？")));
        CHECK_DIALOGS(catcher);
    }

    void placementCentresOverTheWindowAndStaysOnScreen_data()
    {
        QTest::addColumn<QRect>("owner");
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QPoint>("corner");
        const QRect screen(0, 0, 1280, 1024);
        QTest::newRow("centred") << QRect(188, 219, 905, 572) << QSize(469, 133) << screen
                                 << QPoint(406, 438);
        QTest::newRow("owner partly off the left")
            << QRect(-500, 100, 905, 572) << QSize(469, 133) << screen << QPoint(0, 319);
        QTest::newRow("owner partly off the bottom right")
            << QRect(1000, 900, 905, 572) << QSize(619, 412) << screen << QPoint(661, 612);
        QTest::newRow("larger than the screen: top left corner shows")
            << QRect(0, 0, 100, 100) << QSize(1400, 1100) << screen << QPoint(0, 0);
        QTest::newRow("no screen known")
            << QRect(-500, -500, 100, 100) << QSize(50, 50) << QRect() << QPoint(-475, -475);
    }

    void placementCentresOverTheWindowAndStaysOnScreen()
    {
        QFETCH(QRect, owner);
        QFETCH(QSize, frame);
        QFETCH(QRect, screen);
        QFETCH(QPoint, corner);
        QCOMPARE(zelmar::centredFramePos(owner, frame, screen), corner);
    }

    // Help and about: centred, every label whole and on its own, no icon of their own, a close box and
    // neither minimise nor maximise boxes asked for, a fixed size, and Esc does not close them.
    void helpAndAboutCloseByTheirCloseBoxOnly()
    {
        RuleFolder rules("1,1,2,3", "1,2");
        zelmar::frmMain w(rules.path());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        zelmar::frmHelp help(&w);
        zelmar::frmAbout about(&w);
        const QStringList labels[]
            = { { "Label8", "Label9", "Label1" }, { "Label5", "Label7", "Label6", "Label1" } };
        int shown = 0;
        for (QDialog* dialog : { static_cast<QDialog*>(&help), static_cast<QDialog*>(&about) }) {
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            checkCentredOverOwner(dialog);
            QCOMPARE(layoutFaults(*dialog, labels[shown++]).join("; "), QString());
            const QImage icon = dialog->windowIcon().pixmap(16, 16).toImage();
            QVERIFY(!icon.isNull());
            for (int y = 0; y < icon.height(); ++y) {
                for (int x = 0; x < icon.width(); ++x)
                    QCOMPARE(icon.pixelColor(x, y).alpha(), 0);
            }
            const Qt::WindowFlags flags = dialog->windowFlags();
            QVERIFY(flags & Qt::WindowCloseButtonHint);
            QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
            QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
            QTest::keyClick(dialog, Qt::Key_Escape);
            QVERIFY(dialog->isVisible());
            QVERIFY(dialog->close());
        }
    }

private:
    bool m_translated = false;
};

QTEST_MAIN(DialogsTest)
#include "tst_Dialogs.moc"
