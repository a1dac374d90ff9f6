// The rule editor: layout, what it shows of the two files and writes back,
// keys that must not close it, saves that fail, and the reload question the
// main window asks after every close.

#include "UiTestSupport.h"
#include "frmMain.h"
#include "frmSetting.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using zelmar::frmSetting;

namespace {
zelmar::RuleFiles filesIn(const RuleFolder& f)
{
    return zelmar::RuleFiles(QFile::encodeName(f.path()).toStdString());
}

template <typename T = QWidget> T* child(QWidget* w, const char* name)
{
    return w->findChild<T*>(name);
}

void save(QWidget* dialog)
{
    QTest::mouseClick(child<QPushButton>(dialog, "cmdSave"), Qt::LeftButton);
}
} // namespace

class RuleEditorTest : public QObject {
    Q_OBJECT
private slots:
    void controlsSitAtTheirTwipsPlaces();
    void fileTextRoundTripsUnchanged_data();
    void fileTextRoundTripsUnchanged();
    void enterAndEscapeKeepItOpen();
    void failedSaveKeepsDialogTextAndFiles_data();
    void failedSaveKeepsDialogTextAndFiles();
    void unreadableFileIsNotSavedEmpty();
    void reloadQuestionFollowsEveryClose_data();
    void reloadQuestionFollowsEveryClose();
};

void RuleEditorTest::controlsSitAtTheirTwipsPlaces()
{
    RuleFolder folder("1,1,2,3", "1,2");
    const auto files = filesIn(folder);
    frmSetting dlg(files);
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    QCOMPARE(dlg.windowTitle() + ' ' + child<QLabel>(&dlg, "Label3")->text(),
        QStringLiteral("规则设定 数字必须以英文逗号分开，示例1,1,2,3"));
    QCOMPARE(child(&dlg, "Label3")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(dlg.size(), QSize(617, 387));
    const std::pair<const char*, QRect> places[] { { "Label3", { 96, 8, 481, 17 } },
        { "Label1", { 48, 40, 42, 21 } }, { "txtWin", { 88, 32, 497, 33 } }, { "Label2", { 48, 72, 42, 21 } },
        { "txtLost", { 88, 72, 497, 241 } }, { "cmdSave", { 216, 328, 169, 41 } } };
    dlg.resize(900, 600); // the controls keep their places
    for (const auto& [name, rect] : places)
        QCOMPARE(child(&dlg, name)->geometry(), rect);
    QStringList order { QApplication::focusWidget()->objectName() };
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(order.join(' '), QStringLiteral("txtWin txtLost cmdSave txtWin"));
}

void RuleEditorTest::fileTextRoundTripsUnchanged_data()
{
    // clang-format off
    QTest::addColumn<QByteArray>("winText");
    QTest::addColumn<QByteArray>("lostText");
    QTest::addColumn<QString>("lostBox");
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("two lines") << QByteArray("1,1,2,3") << QByteArray("1,2\r\n5,6") << "1,2\n5,6" << false;
    QTest::newRow("final line break") << QByteArray("5") << QByteArray("1,2\r\n") << "1,2\n" << false;
    QTest::newRow("empty lines") << QByteArray("1") << QByteArray("1\r\n\r\n2") << "1\n\n2" << false;
    QTest::newRow("empty files") << QByteArray() << QByteArray() << "" << false;
    QTest::newRow("win text longer than a line box holds by default")
        << QByteArray("1,").repeated(20000) + "1" << QByteArray("1") << "1" << false;
    QTest::newRow("read-only files") << QByteArray("2,4") << QByteArray("3\r\n4") << "3\n4" << true;
    // clang-format on
}

void RuleEditorTest::fileTextRoundTripsUnchanged()
{
    QFETCH(QByteArray, winText);
    QFETCH(QByteArray, lostText);
    QFETCH(QString, lostBox);
    QFETCH(bool, readOnly);
    RuleFolder folder("", "");
    const auto files = filesIn(folder);
    frmSetting dlg(files);
    child<QLineEdit>(&dlg, "txtWin")->setText(winText);
    child<QPlainTextEdit>(&dlg, "txtLost")->setPlainText(lostBox);
    save(&dlg);
    QCOMPARE(folder.read("winText.txt") + '|' + folder.read("lostText.txt"), winText + '|' + lostText);
    for (const char* name : { "winText.txt", "lostText.txt" })
        QFile::setPermissions(
            folder.file(name), readOnly ? QFile::ReadOwner : QFile::ReadOwner | QFile::WriteOwner);
    frmSetting again(files);
    QCOMPARE(child<QPlainTextEdit>(&again, "txtLost")->toPlainText(), lostBox);
    QCOMPARE(again.winText().toUtf8(), winText);
    ModalCatcher catcher;
    save(&again);
    CHECK_DIALOGS(catcher);
    QCOMPARE(again.result(), QDialog::Accepted);
    QCOMPARE(folder.read("winText.txt") + '|' + folder.read("lostText.txt"), winText + '|' + lostText);
}

void RuleEditorTest::enterAndEscapeKeepItOpen()
{
    RuleFolder folder("1,1,2,3", "1,2");
    const auto files = filesIn(folder);
    frmSetting dlg(files);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    for (const char* box : { "txtWin", "txtLost", "cmdSave" }) {
        for (Qt::Key key : { Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape })
            QTest::keyClick(child(&dlg, box), key);
    }
    QVERIFY(dlg.isVisible());
    QCOMPARE(folder.read("winText.txt"), QByteArray("1,1,2,3"));
    QCOMPARE(dlg.lostText(), QStringLiteral("\r\n\r\n1,2")); // Enter starts a line in the loss box
}

void RuleEditorTest::failedSaveKeepsDialogTextAndFiles_data()
{
    // clang-format off
    QTest::addColumn<QString>("blocked");
    QTest::addColumn<QString>("other");
    QTest::newRow("win file cannot be replaced") << "winText.txt" << "lostText.txt";
    QTest::newRow("loss file cannot be replaced") << "lostText.txt" << "winText.txt";
    // clang-format on
}

void RuleEditorTest::failedSaveKeepsDialogTextAndFiles()
{
    QFETCH(QString, blocked);
    QFETCH(QString, other);
    RuleFolder folder("1,2", "1,2");
    const auto files = filesIn(folder);
    frmSetting dlg(files);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QTest::keyClicks(child(&dlg, "txtWin"), "5,"); // typing does not wipe the loaded text
    QTest::keyClicks(child(&dlg, "txtLost"), "9");
    folder.blockFile(qPrintable(blocked));
    ModalCatcher catcher;
    QString report;
    catcher.then(notice(&report));
    save(&dlg);
    CHECK_DIALOGS(catcher);
    QVERIFY2(report.contains(blocked), qPrintable(report));
    QVERIFY(dlg.isVisible());
    QCOMPARE(dlg.winText() + '|' + dlg.lostText(), QStringLiteral("5,1,2|91,2"));
    QCOMPARE(folder.read(qPrintable(other)), QByteArray("1,2"));
}

void RuleEditorTest::unreadableFileIsNotSavedEmpty()
{
    RuleFolder folder("1,1,2,3", "1,2");
    folder.blockFile("winText.txt");
    const auto files = filesIn(folder);
    ModalCatcher catcher;
    QString report;
    catcher.then(notice(&report));
    frmSetting dlg(files);
    QVERIFY2(report.contains("winText.txt"), qPrintable(report));
    child<QPlainTextEdit>(&dlg, "txtLost")->setPlainText("7,8");
    save(&dlg);
    CHECK_DIALOGS(catcher);
    QCOMPARE(dlg.result(), QDialog::Accepted);
    QCOMPARE(folder.read("lostText.txt"), QByteArray("7,8"));
    QVERIFY(QFileInfo(folder.file("winText.txt")).isDir());
}

void RuleEditorTest::reloadQuestionFollowsEveryClose_data()
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

void RuleEditorTest::reloadQuestionFollowsEveryClose()
{
    QFETCH(bool, saved);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(QString, files);
    QFETCH(QString, gridShape);
    RuleFolder folder("1,1,2,3", "1,2\r\n5,6");
    zelmar::frmMain w(folder.path());
    w.show();
    QTest::mouseClick(w.findChild<QPushButton*>("cmdWin"), Qt::LeftButton);
    ModalCatcher catcher;
    QString prompt, title;
    catcher
        .then([&](QWidget* d) {
            QCOMPARE(d->objectName(), QStringLiteral("frmSetting"));
            QCOMPARE(child<QLineEdit>(d, "txtWin")->text(), QStringLiteral("1,1,2,3"));
            QCOMPARE(child<QPlainTextEdit>(d, "txtLost")->toPlainText(), QStringLiteral("1,2\n5,6"));
            child<QLineEdit>(d, "txtWin")->clear();
            QTest::keyClicks(child(d, "txtWin"), "2,2");
            QTest::keyClick(child(d, "txtLost"), Qt::Key_End, Qt::ControlModifier);
            QTest::keyClick(child(d, "txtLost"), Qt::Key_Return);
            saved ? save(d) : void(d->close());
        })
        .then(question(answer, &prompt, &title));
    QTest::mouseClick(w.findChild<QPushButton*>("cmdSetting"), Qt::LeftButton);
    CHECK_DIALOGS(catcher);
    QCOMPARE(title + ' ' + prompt, QStringLiteral("重新加载规则？ 规则已经重新设定，是否重新加载"));
    QCOMPARE(folder.read("winText.txt") + '|' + folder.read("lostText.txt"), files.toLatin1());
    const auto shape = [&](const char* grid, bool rows) {
        const auto* model = w.findChild<QTableView*>(grid)->model();
        return QString::number(rows ? model->rowCount() : model->columnCount());
    };
    QCOMPARE(shape("grdWin", false) + ' ' + shape("grdLost", true), gridShape);
    QCOMPARE(w.findChild<QLineEdit*>("txtScore")->text(), QStringLiteral("1")); // the round goes on
}

QTEST_MAIN(RuleEditorTest)
#include "tst_RuleEditor.moc"
