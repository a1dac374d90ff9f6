// The rule editor: its layout, what it shows of the two files and writes back,
// the keys that must not close it, saving over a read-only file, a save that
// fails, and the reload question the main window asks afterwards.

#include "UiTestSupport.h"
#include "frmMain.h"
#include "frmSetting.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using zelmar::frmSetting;
using zelmar::RuleFiles;

namespace {
RuleFiles filesIn(const RuleFolder& folder) { return RuleFiles(QFile::encodeName(folder.path()).toStdString()); }

template <typename T> T* child(QWidget* w, const char* name)
{
    return w->findChild<T*>(QLatin1String(name));
}
} // namespace

class RuleEditorTest : public QObject {
    Q_OBJECT
private slots:
    void controlsSitAtTheirTwipsPlaces();
    void fileTextRoundTripsUnchanged_data();
    void fileTextRoundTripsUnchanged();
    void enterAndEscapeKeepItOpen();
    void readOnlyFilesAreReplaced();
    void failedSaveKeepsDialogTextAndFiles_data();
    void failedSaveKeepsDialogTextAndFiles();
    void unreadableFileIsNotSavedEmpty();
    void reloadQuestionFollowsEveryClose_data();
    void reloadQuestionFollowsEveryClose();
};

void RuleEditorTest::controlsSitAtTheirTwipsPlaces()
{
    RuleFolder folder("1,1,2,3", "1,2");
    const RuleFiles files = filesIn(folder);
    frmSetting dlg(files);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QCOMPARE(dlg.windowTitle(), QStringLiteral("规则设定"));
    QCOMPARE(dlg.size(), QSize(617, 387));
    const QList<std::pair<const char*, QRect>> places {
        { "Label3", { 96, 8, 481, 17 } },
        { "Label1", { 48, 40, 42, 21 } },
        { "txtWin", { 88, 32, 497, 33 } },
        { "Label2", { 48, 72, 42, 21 } },
        { "txtLost", { 88, 72, 497, 241 } },
        { "cmdSave", { 216, 328, 169, 41 } },
    };
    for (const auto& [name, rect] : places)
        QCOMPARE(child<QWidget>(&dlg, name)->geometry(), rect);
    QCOMPARE(child<QLabel>(&dlg, "Label3")->text(), QStringLiteral("数字必须以英文逗号分开，示例1,1,2,3"));
    QCOMPARE(child<QLabel>(&dlg, "Label3")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(child<QPushButton>(&dlg, "cmdSave")->text(), QStringLiteral("保存"));
    // Focus starts in the win box and moves win box, loss box, save button.
    QApplication::setActiveWindow(&dlg);
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    QStringList order { QApplication::focusWidget()->objectName() };
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(order, QStringList({ "txtWin", "txtLost", "cmdSave", "txtWin" }));
    dlg.resize(900, 600);
    QCOMPARE(child<QWidget>(&dlg, "cmdSave")->geometry(), QRect(216, 328, 169, 41));
}

void RuleEditorTest::fileTextRoundTripsUnchanged_data()
{
    QTest::addColumn<QByteArray>("winText");
    QTest::addColumn<QByteArray>("lostText");
    QTest::addColumn<QString>("lostBox");
    QTest::newRow("two lines") << QByteArray("1,1,2,3") << QByteArray("1,2\r\n5,6") << "1,2\n5,6";
    QTest::newRow("final line break") << QByteArray("5") << QByteArray("1,2\r\n") << "1,2\n";
    QTest::newRow("empty lines") << QByteArray("1") << QByteArray("1\r\n\r\n2") << "1\n\n2";
    QTest::newRow("only a line break") << QByteArray("1") << QByteArray("\r\n") << "\n";
    QTest::newRow("empty files") << QByteArray() << QByteArray() << "";
    QTest::newRow("win text longer than a line box holds")
        << QByteArray("1,").repeated(20000) + "1" << QByteArray("1") << "1";
}

void RuleEditorTest::fileTextRoundTripsUnchanged()
{
    QFETCH(QByteArray, winText);
    QFETCH(QByteArray, lostText);
    QFETCH(QString, lostBox);
    RuleFolder folder(winText, lostText);
    const RuleFiles files = filesIn(folder);
    frmSetting dlg(files);
    QCOMPARE(child<QPlainTextEdit>(&dlg, "txtLost")->toPlainText(), lostBox);
    QCOMPARE(dlg.winText().toUtf8(), winText);
    QTest::mouseClick(child<QPushButton>(&dlg, "cmdSave"), Qt::LeftButton);
    QCOMPARE(dlg.result(), QDialog::Accepted);
    QCOMPARE(folder.read("winText.txt"), winText);
    QCOMPARE(folder.read("lostText.txt"), lostText);
}

void RuleEditorTest::enterAndEscapeKeepItOpen()
{
    RuleFolder folder("1,1,2,3", "1,2");
    const RuleFiles files = filesIn(folder);
    frmSetting dlg(files);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    for (const char* box : { "txtWin", "txtLost", "cmdSave" }) {
        for (Qt::Key key : { Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape })
            QTest::keyClick(child<QWidget>(&dlg, box), key);
    }
    QVERIFY(dlg.isVisible());
    QCOMPARE(folder.read("winText.txt"), QByteArray("1,1,2,3"));
    // In the loss box Enter starts a new line.
    QCOMPARE(dlg.lostText(), QStringLiteral("\r\n\r\n1,2"));
}

void RuleEditorTest::readOnlyFilesAreReplaced()
{
    RuleFolder folder("1,1,2,3", "1,2");
    for (const char* name : { "winText.txt", "lostText.txt" })
        QFile::setPermissions(folder.file(name), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const RuleFiles files = filesIn(folder);
    frmSetting dlg(files);
    child<QLineEdit>(&dlg, "txtWin")->setText(QStringLiteral("2,4"));
    child<QPlainTextEdit>(&dlg, "txtLost")->setPlainText(QStringLiteral("3\n4"));
    ModalCatcher catcher;
    QTest::mouseClick(child<QPushButton>(&dlg, "cmdSave"), Qt::LeftButton);
    CHECK_DIALOGS(catcher);
    QCOMPARE(dlg.result(), QDialog::Accepted);
    QCOMPARE(folder.read("winText.txt"), QByteArray("2,4"));
    QCOMPARE(folder.read("lostText.txt"), QByteArray("3\r\n4"));
}

void RuleEditorTest::failedSaveKeepsDialogTextAndFiles_data()
{
    QTest::addColumn<QString>("blocked");
    QTest::newRow("win file cannot be replaced") << "winText.txt";
    QTest::newRow("loss file cannot be replaced") << "lostText.txt";
}

void RuleEditorTest::failedSaveKeepsDialogTextAndFiles()
{
    QFETCH(QString, blocked);
    RuleFolder folder("1,1,2,3", "1,2");
    const RuleFiles files = filesIn(folder);
    frmSetting dlg(files);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QTest::keyClicks(child<QLineEdit>(&dlg, "txtWin"), QStringLiteral("5,"));
    QTest::keyClicks(child<QPlainTextEdit>(&dlg, "txtLost"), QStringLiteral("9"));
    folder.blockFile(qPrintable(blocked));
    const QString other = blocked == QLatin1String("winText.txt") ? "lostText.txt" : "winText.txt";
    const QByteArray otherBefore = other == QLatin1String("winText.txt") ? "1,1,2,3" : "1,2";

    ModalCatcher catcher;
    QString report;
    catcher.then(notice(&report));
    QTest::mouseClick(child<QPushButton>(&dlg, "cmdSave"), Qt::LeftButton);
    CHECK_DIALOGS(catcher);
    QVERIFY2(report.contains(blocked), qPrintable(report));
    QVERIFY(dlg.isVisible());
    QCOMPARE(dlg.winText(), QStringLiteral("5,1,1,2,3"));
    QCOMPARE(dlg.lostText(), QStringLiteral("91,2"));
    QCOMPARE(folder.read(qPrintable(other)), otherBefore);
}

void RuleEditorTest::unreadableFileIsNotSavedEmpty()
{
    RuleFolder folder("1,1,2,3", "1,2");
    folder.blockFile("winText.txt");
    const RuleFiles files = filesIn(folder);
    ModalCatcher catcher;
    QString report;
    catcher.then(notice(&report));
    frmSetting dlg(files);
    QVERIFY2(report.contains(QLatin1String("winText.txt")), qPrintable(report));
    child<QPlainTextEdit>(&dlg, "txtLost")->setPlainText(QStringLiteral("7,8"));
    QTest::mouseClick(child<QPushButton>(&dlg, "cmdSave"), Qt::LeftButton);
    CHECK_DIALOGS(catcher);
    QCOMPARE(dlg.result(), QDialog::Accepted);
    QCOMPARE(folder.read("lostText.txt"), QByteArray("7,8"));
    QVERIFY(QFileInfo(folder.file("winText.txt")).isDir());
}

void RuleEditorTest::reloadQuestionFollowsEveryClose_data()
{
    QTest::addColumn<bool>("save");
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<QString>("winFile");
    QTest::addColumn<int>("winColumns");
    QTest::addColumn<int>("lostRows");
    QTest::newRow("save, reload") << true << QMessageBox::Yes << "2,2" << 2 << 3;
    QTest::newRow("save, keep the rules in use") << true << QMessageBox::No << "2,2" << 4 << 2;
    QTest::newRow("close box, reload unchanged") << false << QMessageBox::Yes << "1,1,2,3" << 4 << 2;
}

void RuleEditorTest::reloadQuestionFollowsEveryClose()
{
    QFETCH(bool, save);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(QString, winFile);
    QFETCH(int, winColumns);
    QFETCH(int, lostRows);
    RuleFolder folder("1,1,2,3", "1,2\r\n5,6");
    zelmar::frmMain w(folder.path());
    w.show();
    QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("cmdWin")), Qt::LeftButton);

    ModalCatcher catcher;
    QString prompt, title;
    catcher
        .then([&](QWidget* d) {
            QCOMPARE(d->objectName(), QStringLiteral("frmSetting"));
            QCOMPARE(child<QLineEdit>(d, "txtWin")->text(), QStringLiteral("1,1,2,3"));
            QCOMPARE(child<QPlainTextEdit>(d, "txtLost")->toPlainText(), QStringLiteral("1,2\n5,6"));
            child<QLineEdit>(d, "txtWin")->clear();
            QTest::keyClicks(child<QLineEdit>(d, "txtWin"), QStringLiteral("2,2"));
            QTest::keyClick(child<QPlainTextEdit>(d, "txtLost"), Qt::Key_End, Qt::ControlModifier);
            QTest::keyClick(child<QPlainTextEdit>(d, "txtLost"), Qt::Key_Return);
            if (save)
                QTest::mouseClick(child<QPushButton>(d, "cmdSave"), Qt::LeftButton);
            else
                d->close();
        })
        .then(question(answer, &prompt, &title));
    QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("cmdSetting")), Qt::LeftButton);
    CHECK_DIALOGS(catcher);
    QCOMPARE(title, QStringLiteral("重新加载规则？"));
    QCOMPARE(prompt, QStringLiteral("规则已经重新设定，是否重新加载"));
    QCOMPARE(folder.read("winText.txt"), winFile.toLatin1());
    QCOMPARE(folder.read("lostText.txt"), save ? QByteArray("1,2\r\n5,6\r\n") : QByteArray("1,2\r\n5,6"));
    QCOMPARE(w.findChild<QTableView*>(QStringLiteral("grdWin"))->model()->columnCount(), winColumns);
    QCOMPARE(w.findChild<QTableView*>(QStringLiteral("grdLost"))->model()->rowCount(), lostRows);
    // The round goes on where it was.
    QCOMPARE(w.findChild<QLineEdit*>(QStringLiteral("txtScore"))->text(), QStringLiteral("1"));
}

QTEST_MAIN(RuleEditorTest)
#include "tst_RuleEditor.moc"
