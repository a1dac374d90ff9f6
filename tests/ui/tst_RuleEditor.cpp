// The rule editor: layout, what it shows of the two files and writes back,
// the keys that close it and those that must not, loads and saves that fail, and the reload
// question the main window asks after every close.

#include "tests/ui/UiTestSupport.h"
#include "ui/frmMain.h"
#include "ui/frmSetting.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>
#include <QTableView>

using zelmar::frmSetting;

class RuleEditorTest : public QObject {
    Q_OBJECT
private slots:
    void layoutTabOrderAndKeys()
    {
        const QStringList controls { "Label3", "Label1", "txtWin", "Label2", "txtLost", "cmdSave" };
        RuleFolder folder("1,1,2,3", "1,2");
        frmSetting dlg(folder.calculator());
        dlg.show();
        QApplication::setActiveWindow(&dlg);
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        QCOMPARE(dlg.windowTitle(), QStringLiteral("规则设定"));
        QCOMPARE(child(&dlg, "Label3")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(dlg.size(), QSize(617, 387));
        QCOMPARE(tabCycle(3), QStringLiteral("txtWin txtLost cmdSave txtWin"));
        QCOMPARE(layoutFaults(dlg, controls).join("; "), QString());
        const QStringList placed = geometries(dlg, controls);
        dlg.resize(900, 600); // the controls keep their places
        QTRY_COMPARE(dlg.size(), QSize(900, 600));
        QCOMPARE(geometries(dlg, controls), placed);
        // Escape does nothing; Enter does nothing in the win box, starts a line
        // in the loss box, and clicks 保存 when it has the focus.
        for (const char* box : { "txtWin", "txtLost" }) {
            for (Qt::Key key : { Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape })
                QTest::keyClick(child(&dlg, box), key);
        }
        QTest::keyClick(child(&dlg, "cmdSave"), Qt::Key_Escape);
        QVERIFY(dlg.isVisible());
        QCOMPARE(folder.read("winText.txt") + '|' + folder.read("lostText.txt"), QByteArray("1,1,2,3|1,2"));
        QCOMPARE(dlg.lostText(), QStringLiteral("\r\n\r\n1,2"));
        QTest::keyClick(child(&dlg, "cmdSave"), Qt::Key_Enter);
        QCOMPARE(dlg.result(), QDialog::Accepted);
        QCOMPARE(folder.read("winText.txt") + '|' + folder.read("lostText.txt"),
            QByteArray("1,1,2,3|\r\n\r\n1,2"));
    }

    void fileTextRoundTripsUnchanged_data()
    {
        // clang-format off
        QTest::addColumn<QByteArray>("winText");
        QTest::addColumn<QByteArray>("lostText");
        QTest::addColumn<QString>("lostBox");
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("line breaks: between, empty, final") << QByteArray("1,1,2,3") << QByteArray("1,2\r\n\r\n5,6\r\n")
                                                            << "1,2\n\n5,6\n" << false;
        QTest::newRow("win text longer than a line box holds by default")
            << QByteArray("1,").repeated(20000) + "1" << QByteArray("1") << "1" << false;
        QTest::newRow("read-only files") << QByteArray("2,4") << QByteArray("3\r\n4") << "3\n4" << true;
        // clang-format on
    }

    void fileTextRoundTripsUnchanged()
    {
        QFETCH(QByteArray, winText);
        QFETCH(QByteArray, lostText);
        QFETCH(QString, lostBox);
        QFETCH(bool, readOnly);
        RuleFolder folder("", "");
        ModalCatcher catcher; // none expected
        frmSetting dlg(folder.calculator());
        child<QLineEdit>(&dlg, "txtWin")->setText(winText);
        child<QPlainTextEdit>(&dlg, "txtLost")->setPlainText(lostBox);
        click(&dlg, "cmdSave");
        QCOMPARE(folder.read("winText.txt") + '|' + folder.read("lostText.txt"), winText + '|' + lostText);
        for (const char* name : { "winText.txt", "lostText.txt" })
            QFile::setPermissions(
                folder.file(name), readOnly ? QFile::ReadOwner : QFile::ReadOwner | QFile::WriteOwner);
        frmSetting again(folder.calculator());
        QCOMPARE(child<QPlainTextEdit>(&again, "txtLost")->toPlainText(), lostBox);
        QCOMPARE(again.winText().toUtf8(), winText);
        click(&again, "cmdSave");
        CHECK_DIALOGS(catcher);
        QCOMPARE(again.result(), QDialog::Accepted);
        QCOMPARE(folder.read("winText.txt") + '|' + folder.read("lostText.txt"), winText + '|' + lostText);
    }

    // A box left as it was saves its file's bytes, even those the box cannot
    // show; an edited box saves what it shows, without a mark.
    void unchangedBoxesSaveTheFileBytes_data()
    {
        QTest::addColumn<QByteArray>("winText");
        QTest::addColumn<QByteArray>("lostText");
        QTest::addColumn<bool>("editWin");
        QTest::addColumn<QByteArray>("saved");
        const QByteArray bom("\xEF\xBB\xBF");
        const QByteArray utf16("\xFF\xFE\x31\0,\0\x32\0", 8);
        QTest::newRow("marks") << bom + "1,2" << bom + "3\r\n4" << false << bom + "1,2|" + bom + "3\r\n4";
        QTest::newRow("UTF-16") << utf16 << QByteArray("1") << false << utf16 + "|1";
        QTest::newRow("lone LF") << QByteArray("1") << QByteArray("1\n2\r\n") << false
                                 << QByteArray("1|1\n2\r\n");
        QTest::newRow("win edited") << bom + "1" << QByteArray("1\n2") << true << QByteArray("19|1\n2");
    }

    void unchangedBoxesSaveTheFileBytes()
    {
        QFETCH(QByteArray, winText);
        QFETCH(QByteArray, lostText);
        QFETCH(bool, editWin);
        QFETCH(QByteArray, saved);
        RuleFolder folder(winText, lostText);
        frmSetting dlg(folder.calculator());
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        if (editWin) {
            QTest::keyClick(child(&dlg, "txtWin"), Qt::Key_End);
            QTest::keyClicks(child(&dlg, "txtWin"), "9");
        }
        click(&dlg, "cmdSave");
        QCOMPARE(dlg.result(), QDialog::Accepted);
        QCOMPARE(folder.read("winText.txt") + '|' + folder.read("lostText.txt"), saved);
    }

    void fileFailuresAreReportedAndLoseNothing_data()
    {
        // clang-format off
        QTest::addColumn<QString>("blocked");
        QTest::addColumn<bool>("atLoad");
        QTest::addColumn<QString>("box"); // where "5," is typed before a click on save
        QTest::addColumn<QString>("files");
        QTest::newRow("win file cannot be replaced: dialog stays")
            << "winText.txt" << false << "txtWin" << "<unreadable>|1,2";
        QTest::newRow("loss file cannot be replaced: dialog stays")
            << "lostText.txt" << false << "txtLost" << "1,2|<unreadable>";
        QTest::newRow("unreadable win file is not saved empty") << "winText.txt" << true << "txtLost" << "<unreadable>|5,1,2";
        QTest::newRow("unreadable loss file is not saved empty") << "lostText.txt" << true << "txtWin" << "5,1,2|<unreadable>";
        // clang-format on
    }

    void fileFailuresAreReportedAndLoseNothing()
    {
        QFETCH(QString, blocked);
        QFETCH(bool, atLoad);
        QFETCH(QString, box);
        QFETCH(QString, files);
        RuleFolder folder("1,2", "1,2");
        if (atLoad)
            folder.blockFile(qPrintable(blocked));
        ModalCatcher catcher;
        QString report;
        catcher.then(notice(&report));
        // Over a window in the middle of the screen, where a notice as wide as
        // a long path needs no moving to stay on the screen.
        QWidget owner;
        owner.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, QSize(903, 528),
            QApplication::primaryScreen()->availableGeometry()));
        frmSetting dlg(folder.calculator(), &owner);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QTest::keyClicks(child(&dlg, qPrintable(box)), "5,"); // typing does not wipe the loaded text
        if (!atLoad)
            folder.blockFile(qPrintable(blocked));
        click(&dlg, "cmdSave");
        CHECK_DIALOGS(catcher);
        QVERIFY2(report.contains(blocked), qPrintable(report));
        QCOMPARE(dlg.isVisible(), !atLoad);
        QCOMPARE(box == "txtWin" ? dlg.winText() : dlg.lostText(), QStringLiteral("5,1,2"));
        QCOMPARE(folder.read("winText.txt") + '|' + folder.read("lostText.txt"), files.toUtf8());
    }

    void reloadQuestionFollowsEveryClose_data()
    {
        // clang-format off
        QTest::addColumn<bool>("saved");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<QString>("files");
        QTest::addColumn<QString>("gridShape"); // win columns, loss rows
        QTest::newRow("save, reload") << true << QMessageBox::Yes << "2,2|1,2\r\n5,6\r\n" << "2 3";
        QTest::newRow("save, keep the rules in use") << true << QMessageBox::No << "2,2|1,2\r\n5,6\r\n" << "4 2";
        QTest::newRow("close box, reload unchanged") << false << QMessageBox::Yes << "1,1,2,3|1,2\r\n5,6" << "4 2";
        // clang-format on
    }

    void reloadQuestionFollowsEveryClose()
    {
        QFETCH(bool, saved);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(QString, files);
        QFETCH(QString, gridShape);
        RuleFolder folder("1,1,2,3", "1,2\r\n5,6");
        zelmar::frmMain w(folder.path());
        ModalCatcher catcher;
        w.show();
        click(&w, "cmdWin");
        QString asked;
        catcher
            .then([&](QWidget* d) {
                QCOMPARE(d->objectName(), QStringLiteral("frmSetting"));
                child<QLineEdit>(d, "txtWin")->clear();
                QTest::keyClicks(child(d, "txtWin"), "2,2");
                QTest::keyClick(child(d, "txtLost"), Qt::Key_End, Qt::ControlModifier);
                QTest::keyClick(child(d, "txtLost"), Qt::Key_Return);
                saved ? click(d, "cmdSave") : void(d->close());
            })
            .then(question(answer, &asked));
        click(&w, "cmdSetting");
        CHECK_DIALOGS(catcher);
        QCOMPARE(asked, QStringLiteral("重新加载规则？ 规则已经重新设定，是否重新加载"));
        QCOMPARE(folder.read("winText.txt") + '|' + folder.read("lostText.txt"), files.toLatin1());
        const auto* win = child<QTableView>(&w, "grdWin")->model();
        const auto* lost = child<QTableView>(&w, "grdLost")->model();
        QCOMPARE(QStringLiteral("%1 %2").arg(win->columnCount()).arg(lost->rowCount()), gridShape);
        QCOMPARE(child<QLineEdit>(&w, "txtScore")->text(), QStringLiteral("1")); // the round goes on
    }
};

QTEST_MAIN(RuleEditorTest)
#include "tst_RuleEditor.moc"
