// Pictures of the windows for a reviewer, in the build folder's screenshots/:
// the main window fresh, in the middle of a round and far along a wide loss
// table, a grid of extreme
// stakes, and each dialog, notice and question over the main window where
// it opens (the offscreen platform draws no frames: the dialog's outline is
// drawn around it).

#include "tests/ui/UiTestSupport.h"
#include "ui/frmAbout.h"
#include "ui/frmHelp.h"
#include "ui/frmMain.h"

#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QTableView>

namespace {
void save(const QPixmap& picture, const char* name)
{
    QDir().mkpath(QStringLiteral(ZELMAR_SCREENSHOT_DIR));
    const QString path = QStringLiteral(ZELMAR_SCREENSHOT_DIR "/%1.png").arg(QLatin1String(name));
    QVERIFY2(picture.save(path), qPrintable(path));
}

void save(QWidget* w, const char* name)
{
    save(w->grab(), name);
}

// The main window with the dialog where it stands on the screen.
void saveOver(QWidget* main, QWidget* dialog, const char* name)
{
    QPixmap picture = main->grab();
    QPainter painter(&picture);
    const QRect placed(dialog->geometry().topLeft() - main->geometry().topLeft(), dialog->size());
    painter.drawPixmap(placed.topLeft(), dialog->grab());
    painter.setPen(Qt::darkGray);
    painter.drawRect(placed.adjusted(-1, -1, 0, 0));
    painter.end();
    save(picture, name);
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
        const auto photographed = [&](const char* name, ModalCatcher::Handler answer) {
            return [&w, name, answer](QWidget* dialog) {
                saveOver(&w, dialog, name);
                if (answer)
                    answer(dialog);
                else
                    dialog->close();
            };
        };
        catcher.then(photographed("rule-editor", {}))
            .then(photographed("question", question(QMessageBox::No, &asked)))
            .then(photographed("notice", notice(&asked)));
        click(&w, "cmdSetting");
        click(&w, "cmdReset");
        CHECK_DIALOGS(catcher);

        zelmar::frmHelp help(&w);
        zelmar::frmAbout about(&w);
        for (auto [dialog, name] : { std::pair<QWidget*, const char*>(&help, "help"), { &about, "about" } }) {
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            saveOver(&w, dialog, name);
            dialog->close();
        }
    }

    // A loss table wider than its grid, 22 losses into the round: the grid
    // has scrolled to show the marked cell (0, 22).
    void wideTableIsPhotographedWithItsCurrentCell()
    {
        QByteArrayList row;
        for (int n = 1; n <= 30; ++n)
            row << QByteArray::number(n);
        RuleFolder rules("1,1,2,3", row.join(',') + "\r\n" + row.join(','));
        zelmar::frmMain w(rules.path());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        for (int n = 0; n < 22; ++n)
            click(&w, "cmdLost");
        auto* grid = child<QTableView>(&w, "grdLost");
        const QModelIndex marked = grid->model()->index(0, 22);
        QVERIFY(marked.data(Qt::FontRole).value<QFont>().bold());
        QVERIFY(grid->viewport()->rect().contains(grid->visualRect(marked)));
        save(&w, "main-wide-table");
    }

    // The stakes at both ends of the range and a marked (bold, red) one: the
    // stake box and the marked cell show the largest stake whole.
    void extremeStakesArePhotographed()
    {
        RuleFolder rules("-32768,32767,-1,1000,5", "-32768,32767,-1,1000,5\r\n1000,-1\r\n7,-100,32767");
        zelmar::frmMain w(rules.path());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        click(&w, "cmdWin");
        save(&w, "grid-extremes");

        QCOMPARE(child<QLineEdit>(&w, "txtStake")->text(), QStringLiteral("32767"));
        const QStringList faults = layoutFaults(w, { "txtStake" });
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
        auto* grid = child<QTableView>(&w, "grdWin");
        QCOMPARE(gridLooks(*grid->model()), QStringLiteral("kRnnn"));
        const QModelIndex marked = grid->model()->index(0, 1);
        QCOMPARE(marked.data().toString(), QStringLiteral("32767"));
        const int margin = grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;
        const QRect room = grid->visualRect(marked).adjusted(margin, 0, -margin, 0);
        const QFontMetrics face(marked.data(Qt::FontRole).value<QFont>());
        QVERIFY2(face.horizontalAdvance(marked.data().toString()) <= room.width()
                && face.height() <= room.height(),
            qPrintable(QStringLiteral("%1 px of text in %2 px")
                           .arg(face.horizontalAdvance("32767"))
                           .arg(room.width())));
    }
};

QTEST_MAIN(ScreenshotTest)
#include "tst_Screenshots.moc"
