// The main window through its real buttons and menus: layout, tab order,
// totals, notices and grid marks of played hands, rule files that fail at
// start-up, a very long loss table, and the dialogs and link of the menus.

#include "UiTestSupport.h"
#include "frmMain.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using zelmar::frmMain;

namespace {
const QByteArray WinRule = "1,1,2,3";
const QByteArray LostRule = "1,1,2,3\r\n5,6";

template <typename T = QWidget> T* child(const QWidget& w, const QString& name)
{
    return w.findChild<T*>(name);
}

QString totals(const frmMain& w)
{
    return child<QLineEdit>(w, "txtStake")->text() + '/' + child<QLineEdit>(w, "txtScore")->text();
}

QAbstractItemModel& grid(const frmMain& w, const char* name)
{
    return *child<QTableView>(w, name)->model();
}

// One button per letter: W win, L lose, B step back, R start over.
void play(const frmMain& w, const QString& hands)
{
    for (QChar hand : hands) {
        const char* name = hand == 'W' ? "cmdWin"
            : hand == 'L'              ? "cmdLost"
            : hand == 'B'              ? "cmdBack"
                                       : "cmdReset";
        QTest::mouseClick(child<QPushButton>(w, name), Qt::LeftButton);
    }
}
} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void controlsSitAtTheirTwipsPlaces_data();
    void controlsSitAtTheirTwipsPlaces();
    void windowFrameMenusAndResize();
    void tabOrderFollowsTabIndex();
    void handsShowTotalsNoticesAndMarks_data();
    void handsShowTotalsNoticesAndMarks();
    void clickRepaintsOnlyChangedCells();
    void badRuleFileIsReportedAndHandsRefused_data();
    void badRuleFileIsReportedAndHandsRefused();
    void lossTableOf30000RowsLoadsAndScrollsToEnd();
    void menuItemsOpenDialogsAndWebSite_data();
    void menuItemsOpenDialogsAndWebSite();
};

void MainWindowTest::controlsSitAtTheirTwipsPlaces_data()
{
    // clang-format off
    QTest::addColumn<QRect>("pixels");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qreal>("points");
    QTest::addColumn<bool>("bold");
    auto row = [](const char* name, QRect r, const char* text, qreal points, bool bold) {
        QTest::newRow(name) << r << QString::fromUtf8(text) << points << bold;
    };
    row("cmdWin", { 48, 64, 97, 65 }, "赢", 15.75, false);
    row("cmdLost", { 48, 148, 97, 65 }, "输", 15.75, false);
    row("cmdBack", { 48, 232, 97, 65 }, "后退", 15.75, false);
    row("cmdReset", { 48, 316, 97, 65 }, "重来", 15.75, false);
    row("cmdSetting", { 48, 400, 97, 65 }, "规则设定", 15.75, false);
    row("Shape2", { 200, 0, 705, 529 }, "", 0, false);
    row("Shape1", { 240, 32, 649, 65 }, "", 0, false);
    row("Label1", { 272, 56, 105, 20 }, "下注码数：", 15, true);
    row("txtStake", { 376, 48, 145, 29 }, "1", 15.75, false);
    row("Label2", { 544, 56, 105, 20 }, "当前战果：", 15, true);
    row("txtScore", { 648, 48, 153, 29 }, "0", 15.75, false);
    row("Label3", { 248, 128, 40, 19 }, "赢：", 14.25, true);
    row("grdWin", { 240, 152, 649, 49 }, "", 15, false);
    row("Label4", { 248, 224, 40, 19 }, "输：", 14.25, true);
    row("grdLost", { 240, 248, 649, 265 }, "", 15, false);
    // clang-format on
}

void MainWindowTest::controlsSitAtTheirTwipsPlaces()
{
    QFETCH(QRect, pixels);
    QFETCH(QString, text);
    QFETCH(qreal, points);
    QFETCH(bool, bold);
    RuleFolder rules(WinRule, LostRule);
    frmMain w(rules.path());
    const QWidget* control = child(w, QTest::currentDataTag());
    QCOMPARE(control->geometry(), pixels);
    const QVariant shown = control->property("text");
    QCOMPARE(shown.isValid() ? shown.toString() : QString(), text);
    if (points > 0) {
        QCOMPARE(control->font().pointSizeF(), points);
        QCOMPARE(control->font().bold(), bold);
        const QString face = QFontInfo(control->font()).family();
        QVERIFY2(
            QFontDatabase::writingSystems(face).contains(QFontDatabase::SimplifiedChinese), qPrintable(face));
    }
}

void MainWindowTest::windowFrameMenusAndResize()
{
    RuleFolder rules(WinRule, LostRule);
    frmMain w(rules.path());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.windowTitle(), QStringLiteral("Zelmar V1.0版"));
    QCOMPARE(w.centralWidget()->size(), QSize(903, 528));
    QVERIFY((w.geometry().center() - w.screen()->availableGeometry().center()).manhattanLength() < 40);
    QCOMPARE(w.windowIcon().pixmap(32, 32).size(), QSize(32, 32));
    QCOMPARE(w.centralWidget()->grab().toImage().pixelColor(2, 2), QColor(193, 234, 253));
    QCOMPARE(child(w, "txtStake")->palette().color(QPalette::Text), QColor(255, 0, 0));
    QStringList menus;
    for (QAction* menu : w.menuBar()->actions()) {
        menus << menu->text();
        for (QAction* item : menu->menu()->actions()) {
            QVERIFY(item->shortcut().isEmpty());
            menus << item->text();
        }
    }
    QCOMPARE(menus.join(' '), QStringLiteral("关于 版权说明 帮助 软件操作说明 获取最新版本"));
    // Nothing is laid out again when the window grows or shrinks.
    for (QSize size : { QSize(1400, 900), QSize(400, 300) }) {
        w.resize(size);
        QTRY_COMPARE(w.size(), size);
        QCOMPARE(child(w, "grdLost")->geometry(), QRect(240, 248, 649, 265));
        QCOMPARE(child(w, "cmdSetting")->geometry(), QRect(48, 400, 97, 65));
    }
}

void MainWindowTest::tabOrderFollowsTabIndex()
{
    RuleFolder rules(WinRule, LostRule);
    frmMain w(rules.path());
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QStringList order { QApplication::focusWidget()->objectName() };
    for (int i = 0; i < 9; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(order.join(' '),
        QStringLiteral("cmdWin cmdLost cmdSetting txtStake txtScore cmdReset grdLost grdWin cmdBack cmdWin"));
}

void MainWindowTest::handsShowTotalsNoticesAndMarks_data()
{
    // clang-format off
    QTest::addColumn<QString>("hands");
    QTest::addColumn<QString>("notice");
    QTest::addColumn<QString>("stakeAndScore");
    QTest::addColumn<QString>("winMarks");
    QTest::addColumn<QString>("lostMarks");
    const QString ended = "，本局已经结束,总的得分为";
    QTest::newRow("fresh window") << "" << "" << "1/0" << "" << "";
    QTest::newRow("first win marks red") << "W" << "" << "1/1" << "0,0:black 0,1:bold red" << "";
    QTest::newRow("win path runs out") << "WWWW" << "数列已经到了尽头" + ended + "7" << "1/0" << "all:black"
                                       << "0,0:black";
    QTest::newRow("loss after a win") << "WL" << "赢的方向上输了一局" + ended + "0" << "1/0" << "all:black" << "";
    QTest::newRow("negative score") << "LL" << "" << "2/-2" << "" << "0,0:black 0,1:black 0,2:bold red";
    QTest::newRow("wins on the loss side lift the score")
        << "LLLWW" << "输的方向上反败为胜" + ended + "1" << "1/0" << "0,0:black" << "all:black";
    QTest::newRow("undo to the origin marks both origins bold")
        << "WB" << "" << "1/0" << "0,0:bold black 0,1:black" << "0,0:bold 0,1:black";
    QTest::newRow("undo at the origin") << "B" << "已经在原点，不能后退" << "1/0" << "" << "";
    QTest::newRow("start over") << "LR" << "重新开始了" << "1/0" << "" << "all:black";
    // clang-format on
}

void MainWindowTest::handsShowTotalsNoticesAndMarks()
{
    QFETCH(QString, hands);
    QFETCH(QString, notice);
    QFETCH(QString, stakeAndScore);
    QFETCH(QString, winMarks);
    QFETCH(QString, lostMarks);
    RuleFolder rules(WinRule, LostRule);
    ModalCatcher catcher;
    QString shown;
    if (!notice.isEmpty())
        catcher.then(::notice(&shown));
    frmMain w(rules.path());
    play(w, hands);
    CHECK_DIALOGS(catcher);
    QCOMPARE(shown, notice);
    QCOMPARE(totals(w), stakeAndScore);
    QCOMPARE(gridLooks(grid(w, "grdWin")), winMarks);
    QCOMPARE(gridLooks(grid(w, "grdLost")), lostMarks);
}

void MainWindowTest::clickRepaintsOnlyChangedCells()
{
    RuleFolder rules(WinRule, LostRule);
    frmMain w(rules.path());
    QSignalSpy changed(&grid(w, "grdWin"), &QAbstractItemModel::dataChanged);
    QSignalSpy reset(&grid(w, "grdWin"), &QAbstractItemModel::modelReset);
    QSignalSpy lostChanged(&grid(w, "grdLost"), &QAbstractItemModel::dataChanged);
    play(w, "WW");
    QStringList cells;
    for (const QList<QVariant>& signal : changed) {
        QCOMPARE(signal[0], signal[1]);
        cells << QStringLiteral("%1,%2")
                     .arg(signal[0].toModelIndex().row())
                     .arg(signal[0].toModelIndex().column());
    }
    QCOMPARE(cells.join(' '), QStringLiteral("0,1 0,0 0,2 0,1"));
    QCOMPARE(reset.size() + lostChanged.size(), 0);
}

void MainWindowTest::badRuleFileIsReportedAndHandsRefused_data()
{
    // clang-format off
    QTest::addColumn<QByteArray>("winText");
    QTest::addColumn<QByteArray>("lostText");
    QTest::addColumn<QString>("blocked");
    QTest::addColumn<QString>("reportNames");
    QTest::newRow("empty win file is no failure") << QByteArray() << LostRule << "" << "";
    QTest::newRow("empty loss file is no failure") << WinRule << QByteArray() << "" << "";
    QTest::newRow("malformed win item") << QByteArray("1,,2") << LostRule << "" << "winText.txt";
    QTest::newRow("malformed loss item") << WinRule << QByteArray("1,2\r\n5,x") << "" << "lostText.txt";
    QTest::newRow("loss item out of range") << WinRule << QByteArray("1,40000") << "" << "lostText.txt";
    QTest::newRow("unreadable win file") << WinRule << LostRule << "winText.txt" << "winText.txt";
    // clang-format on
}

void MainWindowTest::badRuleFileIsReportedAndHandsRefused()
{
    QFETCH(QByteArray, winText);
    QFETCH(QByteArray, lostText);
    QFETCH(QString, blocked);
    QFETCH(QString, reportNames);
    RuleFolder rules(winText, lostText);
    if (!blocked.isEmpty())
        rules.blockFile(qPrintable(blocked));
    ModalCatcher catcher;
    QString report, onWin, onLoss;
    if (!reportNames.isEmpty())
        catcher.then(notice(&report));
    catcher.then(notice(&onWin)).then(notice(&onLoss));
    frmMain w(rules.path());
    QVERIFY2(report.contains(reportNames), qPrintable(report));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    play(w, "WL");
    CHECK_DIALOGS(catcher);
    QCOMPARE(onWin, QStringLiteral("规则未设置好"));
    QCOMPARE(onLoss, QStringLiteral("规则未设定好"));
    QCOMPARE(totals(w), QStringLiteral("1/0"));
}

void MainWindowTest::lossTableOf30000RowsLoadsAndScrollsToEnd()
{
    QByteArrayList lines(30000, "1,2,3");
    lines.last() = "7,8,9";
    RuleFolder rules(WinRule, lines.join("\r\n"));
    frmMain w(rules.path());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* view = child<QTableView>(w, "grdLost");
    QCOMPARE(view->model()->rowCount(), 30000);
    view->scrollToBottom();
    const QModelIndex last = view->model()->index(29999, 2);
    QTRY_VERIFY(view->viewport()->rect().contains(view->visualRect(last)));
    QCOMPARE(last.data().toString(), QStringLiteral("9"));
    QCOMPARE(view->columnWidth(2), 40);
}

void MainWindowTest::menuItemsOpenDialogsAndWebSite_data()
{
    // clang-format off
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("link");
    QTest::newRow("about") << "关于" << "版权说明" << "frmAbout:关于" << "Label7";
    QTest::newRow("help") << "帮助" << "软件操作说明" << "frmHelp:帮助" << "Label9";
    QTest::newRow("newest version, no dialog on the way") << "帮助" << "获取最新版本" << "" << "";
    // clang-format on
}

void MainWindowTest::menuItemsOpenDialogsAndWebSite()
{
    QFETCH(QString, menu);
    QFETCH(QString, item);
    QFETCH(QString, dialog);
    QFETCH(QString, link);
    RuleFolder rules(WinRule, LostRule);
    UrlRecorder browser;
    ModalCatcher catcher;
    frmMain w(rules.path());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    if (!dialog.isEmpty()) {
        catcher.then([&](QWidget* d) {
            QCOMPARE(d->objectName() + ':' + d->windowTitle(), dialog);
            QCOMPARE(d->minimumSize(), d->maximumSize());
            QVERIFY(!(d->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
            auto* label = child<QLabel>(*d, link);
            QCOMPARE(label->text(), QStringLiteral("quorin.example"));
            QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));
            QVERIFY(!label->font().underline());
            QTest::mouseClick(label, Qt::LeftButton);
            QTest::mouseClick(label, Qt::LeftButton);
            QCOMPARE(browser.urls.size(), 2); // one request per click, the dialog stays
            QVERIFY(d->isVisible());
            d->close();
        });
    }
    clickMenuItem(&w, menu, item);
    CHECK_DIALOGS(catcher);
    QCOMPARE(browser.urls.value(0), QUrl(QStringLiteral("https://quorin.example/")));
}

QTEST_MAIN(MainWindowTest)
#include "tst_MainWindow.moc"
