// The main window driven through its real buttons and menus: layout, tab
// order, totals and notices of played hands, grid marks, failures reported
// at start-up and during a hand, a very long loss table, and the web link.

#include "UiTestSupport.h"
#include "frmMain.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using zelmar::frmMain;

namespace {
const QByteArray WinRule = "1,1,2,3";
const QByteArray LostRule = "1,1,2,3\r\n5,6";

QString totals(const frmMain& w)
{
    return w.findChild<QLineEdit*>(QStringLiteral("txtStake"))->text() + QLatin1Char('/')
        + w.findChild<QLineEdit*>(QStringLiteral("txtScore"))->text();
}

QAbstractItemModel& gridModel(const frmMain& w, const char* name)
{
    return *w.findChild<QTableView*>(QLatin1String(name))->model();
}

void click(const frmMain& w, const char* button)
{
    QTest::mouseClick(w.findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
}

// One button per letter: W win, L lose, B step back, R start over.
void play(const frmMain& w, const QString& hands)
{
    for (QChar hand : hands)
        click(w, hand == u'W' ? "cmdWin" : hand == u'L' ? "cmdLost" : hand == u'B' ? "cmdBack" : "cmdReset");
}
} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void controlsSitAtTheirTwipsPlaces_data();
    void controlsSitAtTheirTwipsPlaces();
    void windowFrameAndResize();
    void tabOrderFollowsTabIndex();
    void handsShowTotalsNoticesAndMarks_data();
    void handsShowTotalsNoticesAndMarks();
    void clickRepaintsOnlyChangedCells();
    void emptyRuleRefusesHandsWithItsNotice_data();
    void emptyRuleRefusesHandsWithItsNotice();
    void badRuleFileAtStartUpIsReportedAndWindowWorks_data();
    void badRuleFileAtStartUpIsReportedAndWindowWorks();
    void overflowIsReportedAndHandNotRecorded();
    void lossTableOf30000RowsLoadsAndScrollsToEnd();
    void menuItemsOpenDialogsAndWebSite_data();
    void menuItemsOpenDialogsAndWebSite();
};

void MainWindowTest::controlsSitAtTheirTwipsPlaces_data()
{
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
}

void MainWindowTest::controlsSitAtTheirTwipsPlaces()
{
    QFETCH(QRect, pixels);
    QFETCH(QString, text);
    QFETCH(qreal, points);
    QFETCH(bool, bold);
    RuleFolder rules(WinRule, LostRule);
    frmMain w(rules.path());
    const QWidget* control = w.findChild<QWidget*>(QLatin1String(QTest::currentDataTag()));
    QVERIFY(control);
    QCOMPARE(control->geometry(), pixels);
    if (auto* button = qobject_cast<const QPushButton*>(control))
        QCOMPARE(button->text(), text);
    else if (auto* label = qobject_cast<const QLabel*>(control))
        QCOMPARE(label->text(), text);
    else if (auto* box = qobject_cast<const QLineEdit*>(control))
        QCOMPARE(box->text(), text);
    if (points > 0) {
        QCOMPARE(control->font().pointSizeF(), points);
        QCOMPARE(control->font().bold(), bold);
        const QString face = QFontInfo(control->font()).family();
        QVERIFY2(QFontDatabase::writingSystems(face).contains(QFontDatabase::SimplifiedChinese), qPrintable(face));
    }
}

void MainWindowTest::windowFrameAndResize()
{
    RuleFolder rules(WinRule, LostRule);
    frmMain w(rules.path());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.windowTitle(), QStringLiteral("Zelmar V1.0版"));
    QCOMPARE(w.centralWidget()->size(), QSize(903, 528));
    QCOMPARE(w.windowIcon().pixmap(32, 32).size(), QSize(32, 32));
    QCOMPARE(w.centralWidget()->grab().toImage().pixelColor(2, 2), QColor(193, 234, 253));
    const auto* stake = w.findChild<QLineEdit*>(QStringLiteral("txtStake"));
    QCOMPARE(stake->palette().color(QPalette::Text), QColor(255, 0, 0));

    QStringList menus;
    for (QAction* menu : w.menuBar()->actions()) {
        QStringList items;
        for (QAction* item : menu->menu()->actions()) {
            QVERIFY(item->shortcut().isEmpty());
            items << item->text();
        }
        menus << menu->text() + QLatin1Char(':') + items.join(QLatin1Char(','));
    }
    QCOMPARE(menus, QStringList({ QStringLiteral("关于:版权说明"), QStringLiteral("帮助:软件操作说明,获取最新版本") }));

    // The window does not lay its controls out again when it grows or shrinks.
    const QRect grid = w.findChild<QTableView*>(QStringLiteral("grdLost"))->geometry();
    for (QSize size : { QSize(1400, 900), QSize(400, 300) }) {
        w.resize(size);
        QTRY_COMPARE(w.size(), size);
        QCOMPARE(w.findChild<QTableView*>(QStringLiteral("grdLost"))->geometry(), grid);
        QCOMPARE(w.findChild<QPushButton*>(QStringLiteral("cmdSetting"))->geometry(), QRect(48, 400, 97, 65));
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
    QCOMPARE(order.join(QLatin1Char(' ')),
        QStringLiteral("cmdWin cmdLost cmdSetting txtStake txtScore cmdReset grdLost grdWin cmdBack cmdWin"));
}

void MainWindowTest::handsShowTotalsNoticesAndMarks_data()
{
    QTest::addColumn<QString>("hands");
    QTest::addColumn<QStringList>("notices");
    QTest::addColumn<QString>("stakeAndScore");
    QTest::addColumn<QString>("winMarks");
    QTest::addColumn<QString>("lostMarks");
    const QString end = QStringLiteral("数列已经到了尽头，本局已经结束,总的得分为");
    QTest::newRow("fresh window") << "" << QStringList() << "1/0" << "" << "";
    QTest::newRow("first win marks red") << "W" << QStringList() << "1/1" << "0,0:black 0,1:bold red" << "";
    QTest::newRow("win path runs out") << "WWWW" << QStringList { end + "7" } << "1/0" << "all:black"
                                       << "0,0:black";
    QTest::newRow("loss after win") << "WL" << QStringList { QStringLiteral("赢的方向上输了一局，本局已经结束,总的得分为0") }
                                    << "1/0" << "all:black" << "";
    QTest::newRow("losses leave a negative score") << "LL" << QStringList() << "2/-2" << ""
                                                   << "0,0:black 0,1:black 0,2:bold red";
    QTest::newRow("wins on the loss side turn it round")
        << "LLLWW" << QStringList { QStringLiteral("输的方向上反败为胜，本局已经结束,总的得分为1") } << "1/0"
        << "0,0:black" << "all:black";
    QTest::newRow("undo to the origin marks both origins bold")
        << "WB" << QStringList() << "1/0" << "0,0:bold black 0,1:black" << "0,0:bold 0,1:black";
    QTest::newRow("undo at the origin") << "B" << QStringList { QStringLiteral("已经在原点，不能后退") } << "1/0" << ""
                                        << "";
    QTest::newRow("start over") << "LR" << QStringList { QStringLiteral("重新开始了") } << "1/0" << ""
                                << "all:black";
}

void MainWindowTest::handsShowTotalsNoticesAndMarks()
{
    QFETCH(QString, hands);
    QFETCH(QStringList, notices);
    QFETCH(QString, stakeAndScore);
    QFETCH(QString, winMarks);
    QFETCH(QString, lostMarks);
    RuleFolder rules(WinRule, LostRule);
    ModalCatcher catcher;
    QStringList shown(notices.size());
    for (QString& text : shown)
        catcher.then(notice(&text));
    frmMain w(rules.path());
    w.show();
    play(w, hands);
    CHECK_DIALOGS(catcher);
    QCOMPARE(shown, notices);
    QCOMPARE(totals(w), stakeAndScore);
    QCOMPARE(gridLooks(gridModel(w, "grdWin")), winMarks);
    QCOMPARE(gridLooks(gridModel(w, "grdLost")), lostMarks);
}

void MainWindowTest::clickRepaintsOnlyChangedCells()
{
    RuleFolder rules(WinRule, LostRule);
    frmMain w(rules.path());
    QSignalSpy winChanged(&gridModel(w, "grdWin"), &QAbstractItemModel::dataChanged);
    QSignalSpy winReset(&gridModel(w, "grdWin"), &QAbstractItemModel::modelReset);
    QSignalSpy lostChanged(&gridModel(w, "grdLost"), &QAbstractItemModel::dataChanged);
    play(w, QStringLiteral("WW"));
    QStringList cells;
    for (const QList<QVariant>& signal : winChanged) {
        const auto from = signal[0].toModelIndex();
        const auto to = signal[1].toModelIndex();
        QCOMPARE(from, to);
        cells << QStringLiteral("%1,%2").arg(from.row()).arg(from.column());
    }
    QCOMPARE(cells, QStringList({ "0,1", "0,0", "0,2", "0,1" }));
    QCOMPARE(winReset.size(), 0);
    QCOMPARE(lostChanged.size(), 0);
}

void MainWindowTest::emptyRuleRefusesHandsWithItsNotice_data()
{
    QTest::addColumn<QByteArray>("winText");
    QTest::addColumn<QByteArray>("lostText");
    QTest::newRow("empty win file") << QByteArray() << LostRule;
    QTest::newRow("empty loss file") << WinRule << QByteArray();
}

void MainWindowTest::emptyRuleRefusesHandsWithItsNotice()
{
    QFETCH(QByteArray, winText);
    QFETCH(QByteArray, lostText);
    RuleFolder rules(winText, lostText);
    ModalCatcher catcher;
    QString onWin, onLoss;
    catcher.then(notice(&onWin)).then(notice(&onLoss));
    frmMain w(rules.path());
    play(w, QStringLiteral("WL"));
    CHECK_DIALOGS(catcher);
    QCOMPARE(onWin, QStringLiteral("规则未设置好"));
    QCOMPARE(onLoss, QStringLiteral("规则未设定好"));
    QCOMPARE(totals(w), QStringLiteral("1/0"));
}

void MainWindowTest::badRuleFileAtStartUpIsReportedAndWindowWorks_data()
{
    QTest::addColumn<QByteArray>("winText");
    QTest::addColumn<QByteArray>("lostText");
    QTest::addColumn<QString>("blocked");
    QTest::addColumn<QString>("named");
    QTest::newRow("malformed win item") << QByteArray("1,,2") << LostRule << "" << "winText.txt";
    QTest::newRow("malformed loss item") << WinRule << QByteArray("1,2\r\n5,x") << "" << "lostText.txt";
    QTest::newRow("loss item out of range") << WinRule << QByteArray("1,40000") << "" << "lostText.txt";
    QTest::newRow("unreadable win file") << WinRule << LostRule << "winText.txt" << "winText.txt";
}

void MainWindowTest::badRuleFileAtStartUpIsReportedAndWindowWorks()
{
    QFETCH(QByteArray, winText);
    QFETCH(QByteArray, lostText);
    QFETCH(QString, blocked);
    QFETCH(QString, named);
    RuleFolder rules(winText, lostText);
    if (!blocked.isEmpty())
        rules.blockFile(qPrintable(blocked));
    ModalCatcher catcher;
    QString report, refusal;
    catcher.then(notice(&report)).then(notice(&refusal));
    frmMain w(rules.path());
    QVERIFY2(report.contains(named), qPrintable(report));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(totals(w), QStringLiteral("1/0"));
    // The program goes on, refusing hands until the rule is mended.
    play(w, QStringLiteral("W"));
    CHECK_DIALOGS(catcher);
    QCOMPARE(refusal, QStringLiteral("规则未设置好"));
}

void MainWindowTest::overflowIsReportedAndHandNotRecorded()
{
    RuleFolder rules("1,30000,30000", LostRule);
    ModalCatcher catcher;
    QString report;
    catcher.then(notice(&report));
    frmMain w(rules.path());
    play(w, QStringLiteral("WW"));
    QCOMPARE(totals(w), QStringLiteral("30000/30001"));
    play(w, QStringLiteral("W"));
    CHECK_DIALOGS(catcher);
    QVERIFY(!report.isEmpty());
    QCOMPARE(totals(w), QStringLiteral("30000/30001"));
    QCOMPARE(gridLooks(gridModel(w, "grdWin")), QStringLiteral("0,0:black 0,1:black 0,2:bold red"));
}

void MainWindowTest::lossTableOf30000RowsLoadsAndScrollsToEnd()
{
    QByteArrayList lines(30000, QByteArray("1,2,3"));
    lines.last() = "7,8,9";
    RuleFolder rules(WinRule, lines.join("\r\n"));
    frmMain w(rules.path());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* grid = w.findChild<QTableView*>(QStringLiteral("grdLost"));
    QCOMPARE(grid->model()->rowCount(), 30000);
    QCOMPARE(grid->model()->columnCount(), 3);
    grid->scrollToBottom();
    const QModelIndex last = grid->model()->index(29999, 2);
    QTRY_VERIFY(grid->viewport()->rect().contains(grid->visualRect(last)));
    QCOMPARE(last.data().toString(), QStringLiteral("9"));
    QCOMPARE(grid->columnWidth(2), 40);
}

void MainWindowTest::menuItemsOpenDialogsAndWebSite_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("link");
    QTest::newRow("about") << "关于" << "版权说明" << "frmAbout" << "关于" << "Label7";
    QTest::newRow("help") << "帮助" << "软件操作说明" << "frmHelp" << "帮助" << "Label9";
    QTest::newRow("newest version") << "帮助" << "获取最新版本" << "" << "" << "";
}

void MainWindowTest::menuItemsOpenDialogsAndWebSite()
{
    QFETCH(QString, menu);
    QFETCH(QString, item);
    QFETCH(QString, dialog);
    QFETCH(QString, title);
    QFETCH(QString, link);
    RuleFolder rules(WinRule, LostRule);
    UrlRecorder browser;
    ModalCatcher catcher;
    frmMain w(rules.path());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    if (!dialog.isEmpty()) {
        catcher.then([&](QWidget* d) {
            QCOMPARE(d->objectName(), dialog);
            QCOMPARE(d->windowTitle(), title);
            QCOMPARE(d->minimumSize(), d->maximumSize());
            QVERIFY(!(d->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
            auto* label = d->findChild<QLabel*>(link);
            QCOMPARE(label->text(), QStringLiteral("quorin.example"));
            QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));
            QVERIFY(!label->font().underline());
            QTest::mouseClick(label, Qt::LeftButton);
            QTest::mouseClick(label, Qt::LeftButton);
            QCOMPARE(browser.urls.size(), 2); // one request per click
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
