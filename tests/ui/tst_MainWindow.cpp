// The main window through its real buttons and menus: layout, tab order,
// the wiring of played hands to totals, notices and grid marks, rule files
// that fail at start-up, a very long loss table, and the menus.

#include "tests/ui/UiTestSupport.h"
#include "ui/frmMain.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>

using zelmar::frmMain;

namespace {
const QByteArray WinRule = "1,1,2,3";
const QByteArray LostRule = "1,1,2,3\r\n5,6";

// The totals, then the marks of each grid (see gridLooks).
QString shows(const frmMain& w)
{
    const auto marks = [&](const char* grid) { return gridLooks(*child<QTableView>(&w, grid)->model()); };
    return child<QLineEdit>(&w, "txtStake")->text() + '/' + child<QLineEdit>(&w, "txtScore")->text() + " win["
        + marks("grdWin") + "] lost[" + marks("grdLost") + ']';
}

// One button per letter: W win, L lose, B step back, R start over.
void play(const frmMain& w, const QString& hands)
{
    for (QChar hand : hands)
        click(&w, hand == 'W' ? "cmdWin" : hand == 'L' ? "cmdLost" : hand == 'B' ? "cmdBack" : "cmdReset");
}
} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void layoutAsSeen()
    {
        const QStringList controls { "cmdWin", "cmdLost", "cmdBack", "cmdReset", "cmdSetting", "Label1",
            "txtStake", "Label2", "txtScore", "Label3", "grdWin", "Label4", "grdLost" };
        RuleFolder rules(WinRule, LostRule);
        frmMain w(rules.path());
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(w.windowTitle(), QStringLiteral("Zelmar V1.0版"));
        QCOMPARE(w.centralWidget()->size(), QSize(903, 528));
        QVERIFY((w.geometry().center() - w.screen()->availableGeometry().center()).manhattanLength() < 40);
        QCOMPARE(w.windowIcon().pixmap(32, 32).size(), QSize(32, 32));
        QCOMPARE(w.centralWidget()->grab().toImage().pixelColor(2, 2), QColor(193, 234, 253));
        QCOMPARE(child(&w, "txtStake")->palette().color(QPalette::Text), QColor(255, 0, 0));
        QStringList menus;
        for (QAction* menu : w.menuBar()->actions()) {
            menus << menu->text();
            for (QAction* item : menu->menu()->actions())
                menus << item->text() + (item->shortcut().isEmpty() ? "" : "+key");
        }
        QCOMPARE(menus.join(' '), QStringLiteral("关于 版权说明 帮助 软件操作说明 获取最新版本"));
        QCOMPARE(tabCycle(9),
            QStringLiteral(
                "cmdWin cmdLost cmdSetting txtStake txtScore cmdReset grdLost grdWin cmdBack cmdWin"));
        QCOMPARE(layoutFaults(*w.centralWidget(), controls, { "Shape2", "Shape1" }).join("; "), QString());
        // The band lies on the panel; the totals lie on the band.
        QCOMPARE(layoutFaults(*w.centralWidget(), { "Shape1" }, { "Shape2" }).join("; "), QString());
        QCOMPARE(
            layoutFaults(*w.centralWidget(), { "Label1", "txtStake", "Label2", "txtScore" }, { "Shape1" }),
            QStringList());
        // Nothing is laid out again when the window grows or shrinks.
        const QStringList placed = geometries(w, controls);
        for (QSize size : { QSize(1400, 900), QSize(400, 300) }) {
            w.resize(size);
            QTRY_COMPARE(w.size(), size);
            QCOMPARE(geometries(w, controls), placed);
        }
    }

    void handsShowTotalsNoticesAndMarks_data()
    {
        // Where a hand leads is the engine's business, tested there; this shows
        // the window passing totals, notices and marks on (see gridLooks), and
        // that a click repaints the cells it changes only (W or L grid, a whole
        // grid is "+").
        // clang-format off
        QTest::addColumn<QByteArray>("lostRule");
        QTest::addColumn<QString>("hands");
        QTest::addColumn<QString>("notices");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("repainted");
        QTest::newRow("fresh window") << LostRule << "" << "" << "1/0 win[nnnn] lost[nnnn|nnnn]" << "";
        QTest::newRow("first win marks red") << LostRule << "W" << "" << "1/1 win[kRnn] lost[nnnn|nnnn]" << "W0,1 W0,0";
        QTest::newRow("end of round clears the marks")
            << LostRule << "WL" << "赢的方向上输了一局，本局已经结束,总的得分为0" << "1/0 win[kkkk] lost[nnnn|nnnn]"
            << "W0,1 W0,0 W0,0+ W0,0 W0,1";
        QTest::newRow("negative score")
            << LostRule << "LL" << "" << "2/-2 win[nnnn] lost[kkRn|nnnn]" << "L0,1 L0,0 L0,2 L0,1";
        QTest::newRow("undo to the origin marks both origins bold")
            << LostRule << "WB" << "" << "1/0 win[Kknn] lost[Nknn|nnnn]" << "W0,1 W0,0 W0,0 W0,1 L0,0 L0,1";
        QTest::newRow("start over")
            << LostRule << "LR" << "重新开始了" << "1/0 win[nnnn] lost[kkkk|kkkk]" << "L0,1 L0,0 L0,0+ L0,0 L0,1";
        QTest::newRow("bad rule reported at start-up, hands refused")
            << QByteArray("1,2\r\n5,x") << "WL"
            << "规则文件有错，没有加载：lostText.txt 第2行 第2项“x”：不是数字（类型不匹配）|规则未设置好|规则未设定好"
            << "1/0 win[nnnn] lost[]" << "";
        // clang-format on
    }

    void handsShowTotalsNoticesAndMarks()
    {
        QFETCH(QByteArray, lostRule);
        QFETCH(QString, hands);
        QFETCH(QString, notices);
        QFETCH(QString, window);
        QFETCH(QString, repainted);
        RuleFolder rules(WinRule, lostRule);
        ModalCatcher catcher;
        QStringList shown(notices.isEmpty() ? 0 : notices.count('|') + 1);
        for (QString& text : shown)
            catcher.then(notice(&text));
        frmMain w(rules.path());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QStringList cells;
        for (const char* name : { "grdWin", "grdLost" }) {
            const QAbstractItemModel* model = child<QTableView>(&w, name)->model();
            connect(model, &QAbstractItemModel::dataChanged, [&, name](QModelIndex from, QModelIndex to) {
                cells << QStringLiteral("%1%2,%3").arg(name[3]).arg(from.row()).arg(from.column())
                        + (from == to ? "" : "+");
            });
            connect(model, &QAbstractItemModel::modelReset, [&] { cells << "reset"; });
        }
        play(w, hands);
        CHECK_DIALOGS(catcher);
        QCOMPARE(shown.join('|'), notices);
        QCOMPARE(shows(w), window);
        QCOMPARE(cells.join(' '), repainted);
    }

    // After every click, and after a reload when the user had scrolled away,
    // the cell the round stands on lies whole inside its grid's viewport.
    void currentCellStaysInView_data()
    {
        QTest::addColumn<QByteArray>("winRule");
        QTest::addColumn<QByteArray>("lostRule");
        QTest::addColumn<QString>("hands");
        QTest::addColumn<QString>("grid");
        const QByteArray ones = QByteArrayList(40, "1").join(',');
        QTest::newRow("wide loss table") << WinRule << ones << QString(30, 'L') << "grdLost";
        QTest::newRow("tall loss table")
            << WinRule << QByteArrayList(40, "1,1").join("\r\n") << QString(60, 'L') << "grdLost";
        QTest::newRow("wide win sequence") << ones << LostRule << QString(30, 'W') << "grdWin";
    }

    void currentCellStaysInView()
    {
        QFETCH(QByteArray, winRule);
        QFETCH(QByteArray, lostRule);
        QFETCH(QString, hands);
        QFETCH(QString, grid);
        RuleFolder rules(winRule, lostRule);
        frmMain w(rules.path());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* view = child<QTableView>(&w, qPrintable(grid));
        const QRect viewport = view->viewport()->rect();
        // The one bold cell of the grid.
        const auto current = [&] {
            QModelIndex found;
            for (int r = 0; r < view->model()->rowCount(); ++r) {
                for (int c = 0; c < view->model()->columnCount(); ++c) {
                    const QModelIndex cell = view->model()->index(r, c);
                    if (cell.data(Qt::FontRole).value<QFont>().bold())
                        found = cell;
                }
            }
            return found;
        };
        QModelIndex cell;
        for (QChar hand : hands) {
            const QPoint scrolled(view->horizontalScrollBar()->value(), view->verticalScrollBar()->value());
            play(w, hand);
            cell = current();
            QVERIFY(cell.isValid());
            const QRect rect = view->visualRect(cell);
            QVERIFY2(viewport.contains(rect),
                qPrintable(QStringLiteral("%1 at %2,%3").arg(hands).arg(cell.row()).arg(cell.column())));
            // The least scroll: the cell it brought into view stands at the edge.
            if (scrolled.x() != view->horizontalScrollBar()->value())
                QVERIFY(rect.right() + rect.width() > viewport.right());
            if (scrolled.y() != view->verticalScrollBar()->value())
                QVERIFY(rect.bottom() + rect.height() > viewport.bottom());
        }
        QVERIFY(view->horizontalScrollBar()->value() > 0 || view->verticalScrollBar()->value() > 0);
        const QPoint cellAt(cell.row(), cell.column());
        view->scrollToTop();
        view->horizontalScrollBar()->setValue(0);
        ModalCatcher catcher;
        QString asked;
        catcher.then([](QWidget* d) { d->close(); }).then(question(QMessageBox::Yes, &asked));
        click(&w, "cmdSetting");
        CHECK_DIALOGS(catcher);
        QVERIFY(viewport.contains(view->visualRect(view->model()->index(cellAt.x(), cellAt.y()))));
    }

    // Enter (or the keypad's) on the focused button does what its click does.
    void enterPressesTheFocusedButton()
    {
        RuleFolder rules(WinRule, LostRule);
        ModalCatcher catcher;
        QString said;
        catcher.then(notice(&said)).then(notice(&said));
        frmMain clicked(rules.path());
        frmMain pressed(rules.path());
        for (frmMain* w : { &clicked, &pressed })
            w->show();
        QVERIFY(QTest::qWaitForWindowExposed(&pressed));
        for (const char* button : { "cmdLost", "cmdLost", "cmdWin", "cmdBack", "cmdReset" }) {
            click(&clicked, button);
            // Keys go to the focused widget: straight to the button here.
            QTest::keyClick(child(&pressed, button), button[3] == 'W' ? Qt::Key_Enter : Qt::Key_Return);
            QCOMPARE(shows(pressed), shows(clicked));
        }
        QString asked;
        catcher.then([](QWidget* d) { d->close(); }).then(question(QMessageBox::No, &asked));
        QTest::keyClick(child(&pressed, "cmdSetting"), Qt::Key_Return);
        CHECK_DIALOGS(catcher);
        QCOMPARE(said, QStringLiteral("重新开始了"));
    }

    void lossTableOf30000RowsLoadsAndScrollsToEnd()
    {
        QByteArrayList lines(30000, "1,2,3");
        lines.last() = "7,8,9";
        RuleFolder rules(WinRule, lines.join("\r\n"));
        ModalCatcher catcher; // none expected
        frmMain w(rules.path());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* view = child<QTableView>(&w, "grdLost");
        QCOMPARE(view->model()->rowCount(), 30000);
        view->scrollToBottom();
        const QModelIndex last = view->model()->index(29999, 2);
        QTRY_VERIFY(view->viewport()->rect().contains(view->visualRect(last)));
        QCOMPARE(last.data().toString(), QStringLiteral("9"));
        QCOMPARE(view->columnWidth(2), 40);
        CHECK_DIALOGS(catcher);
    }

    // Every cell shows its whole text, also in bold (a marked cell): the text
    // and the margins the style leaves around it fit the cell as the view
    // lays it out. Columns of short values keep 40 px; a widened column has
    // no room for another character. A reload with short values narrows the
    // columns again.
    void extremeValuesShowWhole()
    {
        RuleFolder rules("-32768,32767,-1,1000,5", "-32768,32767,-1,1000,5\r\n1000,-1\r\n7");
        ModalCatcher catcher;
        frmMain w(rules.path());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        click(&w, "cmdWin"); // marks 32767
        QStringList cut;
        const auto widths = [&](const char* name) {
            auto* view = child<QTableView>(&w, name);
            const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
            QStringList shown;
            for (int c = 0; c < view->model()->columnCount(); ++c) {
                int need = 0;
                int widestChar = 0;
                for (int r = 0; r < view->model()->rowCount(); ++r) {
                    const QModelIndex cell = view->model()->index(r, c);
                    const QRect room = view->visualRect(cell).adjusted(margin, 0, -margin, 0);
                    QFont bold = cell.data(Qt::FontRole).value<QFont>();
                    bold.setBold(true);
                    for (const QFont& font : { cell.data(Qt::FontRole).value<QFont>(), bold }) {
                        const QFontMetrics face(font);
                        const QString text = cell.data().toString();
                        const QString where
                            = QStringLiteral("%1 (%2, %3) '%4'").arg(name).arg(r).arg(c).arg(text);
                        if (face.horizontalAdvance(text) > room.width())
                            cut << where + " cut short";
                        if (face.height() > room.height())
                            cut << where + " clipped";
                        need = std::max(need, face.horizontalAdvance(text) + 2 * margin + 1);
                        for (QChar ch : QStringLiteral("-0123456789"))
                            widestChar = std::max(widestChar, face.horizontalAdvance(ch));
                    }
                }
                const int width = view->columnWidth(c);
                if (width != 40 && width >= need + widestChar)
                    cut << QStringLiteral("%1 column %2 too wide").arg(name).arg(c);
                shown << (width == 40 ? "40" : "wide");
            }
            return shown.join(' ');
        };
        QCOMPARE(widths("grdWin"), QStringLiteral("wide wide 40 wide 40"));
        // The loss table is wider than its longest line; the rest is padding.
        QCOMPARE(widths("grdLost").left(20), QStringLiteral("wide wide 40 wide 40"));
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join("; ")));
        CHECK_DIALOGS(catcher);

        rules.write("winText.txt", "1,2,3");
        rules.write("lostText.txt", "1,2,3,4,5,6\r\n-1");
        QString asked;
        catcher.then([](QWidget* editor) { editor->close(); }).then(question(QMessageBox::Yes, &asked));
        click(&w, "cmdSetting");
        CHECK_DIALOGS(catcher);
        QCOMPARE(widths("grdWin"), QStringLiteral("40 40 40"));
        QVERIFY(!widths("grdLost").contains("wide"));
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join("; ")));
    }

    void menuItemsOpenDialogsAndWebSite_data()
    {
        // clang-format off
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("dialog"); // name:title:link label
        QTest::newRow("about") << "mnuAbout" << "mnuVersion" << "frmAbout:关于:Label7";
        QTest::newRow("help") << "mnuHelp" << "mnuOper" << "frmHelp:帮助:Label9";
        QTest::newRow("newest version, no dialog on the way") << "mnuHelp" << "mnuGetNew" << "";
        // clang-format on
    }

    void menuItemsOpenDialogsAndWebSite()
    {
        QFETCH(QString, menu);
        QFETCH(QString, item);
        QFETCH(QString, dialog);
        RuleFolder rules(WinRule, LostRule);
        UrlRecorder browser;
        ModalCatcher catcher;
        frmMain w(rules.path());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        if (!dialog.isEmpty()) {
            catcher.then([&](QWidget* d) {
                QCOMPARE(d->objectName() + ':' + d->windowTitle(), dialog.section(':', 0, 1));
                auto* label = child<QLabel>(d, qPrintable(dialog.section(':', 2)));
                QCOMPARE(d->minimumSize(), d->maximumSize());
                QVERIFY(!(d->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
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
        clickMenuItem(&w, qPrintable(menu), qPrintable(item));
        CHECK_DIALOGS(catcher);
        QCOMPARE(browser.urls.value(0), QUrl(QStringLiteral("https://quorin.example/")));
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_MainWindow.moc"
