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
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>

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
            checkCloseBoxOnly(dialog);
            QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
            QTest::keyClick(dialog, Qt::Key_Escape);
            QVERIFY(dialog->isVisible());
            QVERIFY(dialog->close());
        }
    }

    // A notice is at most 60 % of the screen wide and the usual report takes a
    // line or two (three on the offscreen platform's 800 px screen). A line
    // ends after a punctuation mark or a blank, never inside a quoted item
    // or a file name; a path too long for a line is cut.
    void noticesWrapWhereAReaderWould_data()
    {
        QTest::addColumn<QString>("report");
        QTest::addColumn<int>("mostLines");
        const QString item40(40, QLatin1Char('7'));
        QTest::newRow("long item") << "规则文件有错，没有加载：winText.txt 第1项“" + item40
                + "…”：不是数字（类型不匹配）"
                                   << 3;
        QTest::newRow("empty item") << "规则文件有错，没有加载：lostText.txt 第2行 "
                                       "第3项“”：是空的（两个逗号之间或行首行尾的逗号旁没有数字）"
                                    << 2;
        QTest::newRow("quoted item at the end of a line")
            << "规则文件有错，没有加载：lostText.txt 第12行 第2项“" + item40.left(24)
                + "”：不是数字（类型不匹配）"
            << 2;
        QTest::newRow("unreadable file")
            << "无法读取规则文件 "
               "/home/someone/.local/share/zelmar/lostText.txt（打开或创建时出错）：没有权限（Permission "
               "denied）"
            << 3;
        QTest::newRow("path longer than a line") << "规则文件在 /" + QString(30, 'a') + "/" + QString(30, 'b')
                + "/" + QString(30, 'c')
                + "，是空的。" << 4;
    }

    void noticesWrapWhereAReaderWould()
    {
        QFETCH(QString, report);
        QFETCH(int, mostLines);
        QWidget owner;
        owner.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, QSize(500, 300),
            QApplication::primaryScreen()->availableGeometry()));
        ModalCatcher catcher;
        QStringList lines;
        QString text;
        const ModalCatcher::Handler answer = notice(&text);
        catcher.then([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            QVERIFY(box->width() <= box->screen()->availableGeometry().width() * 0.6);
            const QLabel* label = child<QLabel>(box, "qt_msgbox_label");
            lines = shownLines(box);
            for (const QString& line : std::as_const(lines)) {
                QVERIFY2(QFontMetrics(label->font()).horizontalAdvance(line) <= label->contentsRect().width(),
                    qPrintable(line));
            }
            answer(box);
        });
        zelmar::showNotice(&owner, report);
        CHECK_DIALOGS(catcher);
        QCOMPARE(text, report);
        QVERIFY2(lines.size() <= mostLines, qPrintable(lines.join('|')));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            QCOMPARE(lines[i].count(QChar(0x201C)), lines[i].count(QChar(0x201D)));
            const bool cutPath = lines[i].endsWith('/') || lines[i].contains(QLatin1String("aaaa"));
            if (i + 1 < lines.size() && !cutPath)
                QVERIFY2(
                    QStringLiteral("，。：）) ").contains(lines[i].back()) || lines[i + 1].startsWith("（"),
                    qPrintable(lines.join('|')));
        }
    }

    // As a desktop theme that puts icons on standard buttons would show them:
    // the buttons keep their text alone, the lines of a notice that wraps
    // stand apart, and a notice from the load step of a window not yet shown
    // is centred over where that window will appear.
    void messageBoxesUnderAThemeWithButtonIcons()
    {
        const QString styleBefore = QApplication::style()->name();
        QApplication::setStyle(new ThemeWithButtonIcons);
        QString shown;
        QString asked;
        QWidget owner;
        owner.setGeometry(120, 90, 500, 300);
        // Blanks, line breaks and markup characters are shown as they stand.
        const QString report
            = QStringLiteral("无法把示例规则复制到 /tmp/a&b <c>  d。\n"
                             "规则文件有错，没有加载：lostText.txt 第2行 第2项“x”：不是数字（类型不匹配）");
        const ModalCatcher::Handler answer = notice(&shown);
        ModalCatcher catcher;
        catcher
            .then([&](QWidget* box) {
                QCOMPARE(box->geometry().center(), owner.geometry().center());
                QCOMPARE(lineGaps(*child<QLabel>(box, "qt_msgbox_label")), QString());
                answer(box);
            })
            .then(question(QMessageBox::Yes, &asked));
        zelmar::showNotice(&owner, report);
        QVERIFY(zelmar::askYesNo(&owner, QStringLiteral("是否"), QStringLiteral("问")));
        QApplication::setStyle(styleBefore);
        CHECK_DIALOGS(catcher);
        QCOMPARE(shown, report);
    }

private:
    // Says that standard buttons have icons, as some desktop themes do.
    class ThemeWithButtonIcons : public QProxyStyle {
    public:
        int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
            QStyleHintReturn* data) const override
        {
            if (hint == SH_DialogButtonBox_ButtonsHaveIcons)
                return 1;
            return QProxyStyle::styleHint(hint, option, widget, data);
        }
    };

    // What is wrong with the lines of a label's text as drawn: fewer than
    // two lines, or two lines less than a quarter of a line apart.
    static QString lineGaps(QLabel& label)
    {
        const QImage drawn = label.grab().toImage();
        QList<std::pair<int, int>> lines; // first and last row with ink
        for (int y = 0; y < drawn.height(); ++y) {
            bool ink = false;
            for (int x = 0; x < drawn.width() && !ink; ++x)
                ink = drawn.pixelColor(x, y).lightness() < 128;
            if (ink && (lines.isEmpty() || lines.last().second != y - 1))
                lines.append({ y, y });
            else if (ink)
                lines.last().second = y;
        }
        if (lines.size() < 2)
            return QStringLiteral("%1 line(s) of ink").arg(lines.size());
        const int least = QFontMetrics(label.font()).height() / 4;
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const int gap = lines[i].first - lines[i - 1].second - 1;
            if (gap < least)
                return QStringLiteral("lines %1 and %2 are %3 px apart").arg(i).arg(i + 1).arg(gap);
        }
        return {};
    }

    bool m_translated = false;
};

QTEST_MAIN(DialogsTest)
#include "tst_Dialogs.moc"
