// The analysis window on the offscreen platform: a run shows the figures of
// zelmar-sim run --json for the same request, writes the same CSV, and stops
// on whole blocks; rule files that cannot be read are reported; the risky
// cells of the example rules are marked; the window at 1024x720 shows every
// control whole and reaches each by keyboard. Pictures for a reviewer go to
// the build folder's screenshots/.

#include "charts/ChartPage.h"
#include "report/CompareReport.h"
#include "report/RoundsReport.h"
#include "report/SessionsReport.h"
#include "tests/ui/UiTestSupport.h"
#include "tools/sim/ExactCommand.h"
#include "tools/sim/RunCommand.h"
#include "ui/analysis/AnalysisWindow.h"
#include "ui/analysis/ResultTable.h"
#include "ui/analysis/RiskGridModel.h"
#include "ui/analysis/RunJob.h"
#include "ui/analysis/SimulationPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>

#include <nlohmann/json.hpp>

#include <memory>
#include <sstream>

using zelmar::AnalysisWindow;
using Json = nlohmann::json;

namespace {

constexpr int Patience = 120000; // ms: a bound for a signal that must come, not a pace

std::string local(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

// zelmar-sim run (or compare) in-process with the window's own command line;
// `alone` leaves folder B out; `folder` takes the place of the window's A.
Json commandLineReport(const AnalysisWindow& w, const char* csv = nullptr, long rounds = 0,
    bool alone = false, const std::string& folder = {})
{
    const zelmar::RunOutcome& o = *w.job().outcome();
    zelmar::RunRequest request = o.request;
    if (rounds > 0)
        request.rounds = rounds;
    if (alone)
        request.folderB.clear();
    std::vector<std::string> args = zelmar::commandLineOf(request, folder.empty() ? o.folder : folder);
    const bool compare = args.front() == "compare";
    args.erase(args.begin());
    args.emplace_back("--json");
    if (csv)
        args.insert(args.end(), { "--csv", csv });
    std::ostringstream out;
    std::ostringstream err;
    const int status = (compare ? zelmar::compareCommand : zelmar::runCommand)(args, out, err);
    if (status != 0)
        qWarning("zelmar-sim run: %d %s", status, err.str().c_str());
    return Json::parse(out.str());
}

// The window's figures written as zelmar-sim writes them; of the pair
// when `compared`.
std::string jsonOf(const zelmar::RunOutcome& o, bool compared = false)
{
    const zelmar::sim::RunResults& r = o.results;
    const zelmar::RunDescription run { o.plan.a, o.folder, r.interrupted() };
    if (compared)
        return zelmar::compareJsonReport(
            { run, { *o.plan.b, o.request.folderB, r.interrupted() }, *r.rounds, *r.roundsB, *r.paired });
    return r.sessions ? zelmar::sessionJsonReport(run, *r.sessions) : zelmar::jsonReport(run, *r.rounds);
}

// The figures the table shows against the report of the command line:
// every row's number is the one at the row's place in that report.
QStringList tableDifferences(const QAbstractItemModel& table, const Json& report)
{
    QStringList differences;
    for (int row = 0; row < table.rowCount(); ++row) {
        const QModelIndex value = table.index(row, zelmar::ResultTableModel::Value);
        const QString pointer = value.data(zelmar::ResultTableModel::KeyRole).toString();
        const Json::json_pointer at(pointer.toStdString());
        Json expected = report.contains(at) ? report.at(at) : Json();
        if (expected.is_object())
            expected = expected.value("value", Json());
        if (!expected.is_number()
            || expected.get<double>() != value.data(zelmar::ResultTableModel::NumberRole).toDouble())
            differences << pointer + ": " + value.data().toString() + " vs "
                    + QString::fromStdString(expected.dump());
    }
    return differences;
}

// A letter per cell of a rule grid, rows split by "|": L a loss cycle, E a
// loop that costs nothing, U unreachable, . unmarked.
QString riskLooks(const QAbstractItemModel& grid)
{
    QStringList rows;
    for (int r = 0; r < grid.rowCount(); ++r) {
        QString row;
        for (int c = 0; c < grid.columnCount(); ++c) {
            const QVariant background = grid.index(r, c).data(Qt::BackgroundRole);
            const QColor color = background.value<QBrush>().color();
            row += !background.isValid()                                ? '.'
                : color == zelmar::riskColor(zelmar::Risk::LossCycle)   ? 'L'
                : color == zelmar::riskColor(zelmar::Risk::EvenLoop)    ? 'E'
                : color == zelmar::riskColor(zelmar::Risk::Unreachable) ? 'U'
                                                                        : '?';
        }
        rows << row;
    }
    return rows.join('|');
}

void save(QWidget* w, const char* name)
{
    QCoreApplication::processEvents(); // the charts lay out their new labels
    QDir().mkpath(QStringLiteral(ZELMAR_SCREENSHOT_DIR));
    const QString path = QStringLiteral(ZELMAR_SCREENSHOT_DIR "/%1.png").arg(QLatin1String(name));
    QVERIFY2(w->grab().save(path), qPrintable(path));
}

} // namespace

class AnalysisTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_settingsDir;
    std::unique_ptr<QSettings> m_settings; // destroyed first

    std::unique_ptr<AnalysisWindow> open(const QString& folder)
    {
        auto w = std::make_unique<AnalysisWindow>(local(folder), std::vector<std::string> {}, *m_settings);
        w->show();
        rulesRead(*w);
        return w;
    }

    // The rules are read on a worker thread: the window says so and waits
    // for them without blocking its own.
    static void rulesRead(AnalysisWindow& w)
    {
        QCOMPARE(child<QLabel>(&w, "lblCheck")->text(), QStringLiteral("正在读取规则文件……"));
        QVERIFY(!child<QPushButton>(&w, "cmdStart")->isEnabled());
        QSignalSpy shown(&w, &AnalysisWindow::rulesShown);
        QVERIFY(shown.wait(Patience));
    }

    static void play(AnalysisWindow& w, int game, int rounds, const char* seed)
    {
        child<QComboBox>(&w, "cboGame")->setCurrentIndex(game);
        child<QSpinBox>(&w, "spnRounds")->setValue(rounds);
        child<QLineEdit>(&w, "txtSeed")->setText(QString::fromLatin1(seed));
        click(&w, "cmdStart");
    }

    // The exported charts and zelmar-sim's --plot picture of the same run at
    // the same size: one drawing, so their axes say the same.
    void plotMatchesExport(AnalysisWindow& w)
    {
        const auto* page = child<zelmar::ChartPage>(&w, "chtPage");
        const QString exported = m_settingsDir->filePath("导出.png");
        const QString plotted = m_settingsDir->filePath("plot.png");
        QVERIFY(w.exportCharts(exported));
        std::vector<std::string> args
            = zelmar::commandLineOf(w.job().outcome()->request, w.job().outcome()->folder);
        const bool compare = args.front() == "compare";
        args.erase(args.begin());
        args.insert(args.end(),
            { "--json", "--plot", local(plotted), "--plot-size",
                std::to_string(page->width()) + "x" + std::to_string(page->height()) });
        std::ostringstream out;
        std::ostringstream err;
        QCOMPARE((compare ? zelmar::compareCommand : zelmar::runCommand)(args, out, err), 0);
        const QImage shown(exported);
        const QImage plot(plotted);
        QCOMPARE(shown.size(), page->size());
        QCOMPARE(plot.size(), shown.size());
        const QString axes = shown.text(QStringLiteral("Axes"));
        QVERIFY2(axes.contains(QStringLiteral("机会（对数刻度）: ")), qPrintable(axes));
        QCOMPARE(plot.text(QStringLiteral("Axes")), axes);
    }

    // Hovering over a point of a curve says it in words.
    static void hoverSaysThePoint(AnalysisWindow& w)
    {
        auto* page = child<zelmar::ChartPage>(&w, "chtPage");
        QCPGraph* loss = page->graph(0);
        QVERIFY(loss->dataCount() > 10);
        const auto point = loss->data()->at(loss->dataCount() / 2);
        const QPointF at(
            loss->keyAxis()->coordToPixel(point->key), loss->valueAxis()->coordToPixel(point->value));
        const QString said = page->pointText(at);
        QVERIFY2(
            said.startsWith(QStringLiteral("一局输掉 ")) && said.endsWith(zelmar::chanceWords(point->value)),
            qPrintable(said));
        QCPGraph* net = page->graph(2);
        const auto middle = net->data()->at(net->dataCount() / 2);
        const QString netSaid = page->pointText(QPointF(
            net->keyAxis()->coordToPixel(middle->key), net->valueAxis()->coordToPixel(middle->value)));
        QVERIFY2(netSaid.startsWith(QStringLiteral("第 %1 局时累计输赢 ").arg(qint64(middle->key))),
            qPrintable(netSaid));
    }

private slots:
    void chancesReadAsAPlayerReadsThem()
    {
        const struct {
            double chance;
            const char* words;
        } cases[] = { { 1, "100%" }, { 0.5, "50%（约 1/2）" }, { 0.012, "1.2%（约 1/83）" },
            { 0.00025, "0.025%（约 1/4000）" }, { 0.00001, "约 1/10万" }, { 3e-9, "约 1/3.3亿" } };
        for (const auto& c : cases)
            QCOMPARE(zelmar::chanceWords(c.chance), QString::fromUtf8(c.words));
        QStringList ticks;
        for (int power = 0; power >= -8; --power)
            ticks << zelmar::chanceTick(power);
        QCOMPARE(ticks.join(' '), QStringLiteral("100% 10% 1% 1/1000 1/1万 1/10万 1/100万 1/1000万 1/1亿"));
    }

    void init()
    {
        m_settings.reset(); // writes its file before the folder goes
        m_settingsDir = std::make_unique<QTemporaryDir>();
        m_settings
            = std::make_unique<QSettings>(m_settingsDir->filePath("analysis.ini"), QSettings::IniFormat);
    }

    void runShowsTheFiguresOfTheCommandLine_data()
    {
        QTest::addColumn<int>("game");
        QTest::addColumn<bool>("baccarat");
        QTest::addColumn<int>("sessions"); // 0: single rounds
        QTest::newRow("baccarat on the banker") << 0 << true << 0;
        QTest::newRow("baccarat on the player") << 1 << true << 0;
        QTest::newRow("independent hands") << 2 << false << 0;
        QTest::newRow("sessions of baccarat on the banker") << 0 << true << 1500;
    }

    void runShowsTheFiguresOfTheCommandLine()
    {
        QFETCH(int, game);
        QFETCH(bool, baccarat);
        QFETCH(int, sessions);
        RuleFolder rules("1,1,2,3", "1,2,4\r\n3,6,12\r\n-1");
        auto w = open(rules.path());
        child<QDoubleSpinBox>(w.get(), "spnWinChance")->setValue(47.5);
        child<QSpinBox>(w.get(), "spnBankroll")->setValue(30);
        if (sessions > 0) {
            child<QRadioButton>(w.get(), "optSessions")->setChecked(true);
            child<QSpinBox>(w.get(), "spnSessions")->setValue(sessions);
            child<QSpinBox>(w.get(), "spnSessionRounds")->setValue(40);
            child<QSpinBox>(w.get(), "spnStopWin")->setValue(12);
            child<QSpinBox>(w.get(), "spnStopLoss")->setValue(25);
        }
        const long count = sessions > 0 ? sessions : 20500;
        QSignalSpy finished(w.get(), &AnalysisWindow::runFinished);
        play(*w, game, 20500, "20261207");
        QVERIFY(finished.wait(Patience));

        const QString csv = rules.file("rounds.csv");
        const Json report = commandLineReport(*w, local(csv).c_str());
        const Json shown = Json::parse(jsonOf(*w->job().outcome()));
        QVERIFY2(shown == report, (shown.dump() + "\n" + report.dump()).c_str());
        const auto* table = child<QTableView>(w.get(), "tblResults")->model();
        const QStringList differences = tableDifferences(*table, report);
        QVERIFY2(differences.isEmpty(), qPrintable(differences.join('\n')));
        QCOMPARE(table->index(0, 1).data(zelmar::ResultTableModel::NumberRole).toDouble(),
            double(count)); // rounds or sessions
        // With a shoe and a bankroll (and stops) every row has its figure.
        if (baccarat)
            QCOMPARE(table->rowCount(),
                static_cast<int>((sessions > 0 ? zelmar::sessionRows() : zelmar::roundRows()).size()));
        QVERIFY(child<zelmar::ChartPage>(w.get(), "chtPage")->figures().kind
            == (sessions > 0 ? zelmar::ChartFigures::Kind::Sessions : zelmar::ChartFigures::Kind::Rounds));
        // Rows without a figure in the report are left out: no shoe, no coups.
        QCOMPARE(
            table->match(table->index(0, 1), zelmar::ResultTableModel::KeyRole, "/hands/bankerShare").size(),
            baccarat ? 1 : 0);
        const QModelIndexList broke = table->match(table->index(0, 1), zelmar::ResultTableModel::KeyRole,
            sessions > 0 ? "/ends/broke/share" : "/bankroll/brokeShare");
        QCOMPARE(broke.size(), 1);
        // A share carries its standard error, in the report and in the table.
        QVERIFY(broke[0].siblingAtColumn(zelmar::ResultTableModel::Error).data().toString().startsWith("± "));

        QSignalSpy written(w.get(), &AnalysisWindow::csvExported);
        const QString exported = rules.file("exported.csv");
        QVERIFY(w->exportCsv(exported));
        QVERIFY(written.wait(Patience));
        QCOMPARE(QString::fromStdString(w->job().csvError()), QString());
        QFile a(csv), b(exported);
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        QVERIFY(a.size() > count * 10);
        QVERIFY(a.readAll() == b.readAll());
    }

    // Worked out and simulated at once: the exact column holds the figures of
    // zelmar-sim exact for the same rules; the simulated ones lie within a
    // few standard errors of them; the grids show how often a round reaches
    // each cell.
    void exactAndSimulatedSideBySide()
    {
        RuleFolder rules("1,1,2,3", "1,2,4\r\n3,6,12");
        auto w = open(rules.path());
        child<QComboBox>(w.get(), "cboMethod")->setCurrentIndex(2); // both
        child<QSpinBox>(w.get(), "spnBankroll")->setValue(30);
        QSignalSpy finished(w.get(), &AnalysisWindow::runFinished);
        play(*w, 2, 40000, "20261208");
        QVERIFY(finished.wait(Patience));

        const zelmar::RunOutcome& o = *w->job().outcome();
        QVERIFY(o.exact && o.exact->round && o.simulated());
        std::vector<std::string> args = zelmar::exactCommandLineOf(o.request, o.folder);
        args.erase(args.begin());
        args.emplace_back("--json");
        std::ostringstream out, err;
        QCOMPARE(zelmar::exactCommand(args, out, err), 0);
        const Json exact = Json::parse(out.str());

        const auto* table = child<QTableView>(w.get(), "tblResults")->model();
        int compared = 0;
        for (int row = 0; row < table->rowCount(); ++row) {
            const QModelIndex cell = table->index(row, zelmar::ResultTableModel::Exact);
            if (!cell.data(zelmar::ResultTableModel::NumberRole).isValid())
                continue;
            const std::string key = table->index(row, zelmar::ResultTableModel::Value)
                                        .data(zelmar::ResultTableModel::KeyRole)
                                        .toString()
                                        .toStdString();
            const Json::json_pointer at(key);
            if (!exact.contains(at))
                continue; // a figure of the window alone
            Json expected = exact.at(at);
            if (expected.is_object())
                expected = expected.value("value", Json());
            QVERIFY2(expected.is_number(), key.c_str());
            QCOMPARE(cell.data(zelmar::ResultTableModel::NumberRole).toDouble(), expected.get<double>());
            ++compared;
            const QString apart = table->index(row, zelmar::ResultTableModel::Apart).data().toString();
            if (!apart.isEmpty())
                QVERIFY2(
                    std::abs(apart.toDouble()) < 5, qPrintable(QString::fromStdString(key) + " " + apart));
        }
        QVERIFY(compared > 20);
        // The chart draws the exact chance of losing x or more, which falls as x grows.
        const auto& curve = child<zelmar::ChartPage>(w.get(), "chtPage")->figures().exactLoss;
        QVERIFY(curve.size() > 5);
        for (std::size_t i = 1; i < curve.size(); ++i)
            QVERIFY(curve[i].first > curve[i - 1].first && curve[i].second <= curve[i - 1].second);
        const auto* lost = child<QTableView>(w.get(), "grdLost")->model();
        QVERIFY(lost->index(1, 2)
                    .data(Qt::ToolTipRole)
                    .toString()
                    .contains(QStringLiteral("一局走到这一格的机会")));
        save(w.get(), "analysis-exact");
        child<QTabWidget>(w.get(), "tabResults")->setCurrentIndex(1);
        save(w.get(), "analysis-exact-table");
    }

    // Two folders on the same hands: the comparison table shows the figures
    // of zelmar-sim compare, the results table those of A alone.
    void compareShowsTheFiguresOfTheCommandLine()
    {
        RuleFolder a("1,1,2,3", "1,2,4\r\n3,6,12\r\n-1");
        RuleFolder b("1,2", "2,4\r\n8,16");
        auto w = open(a.path());
        child<QSpinBox>(w.get(), "spnBankroll")->setValue(30);
        child<QCheckBox>(w.get(), "chkCompare")->setChecked(true);
        w->findChild<zelmar::SimulationPanel*>()->setFolderB(b.path());
        QSignalSpy finished(w.get(), &AnalysisWindow::runFinished);
        play(*w, 0, 20500, "20261207");
        QVERIFY(finished.wait(Patience));

        const zelmar::RunOutcome& o = *w->job().outcome();
        const Json report = commandLineReport(*w);
        QVERIFY2(Json::parse(jsonOf(o, true)) == report, (jsonOf(o, true) + "\n" + report.dump()).c_str());
        const auto* compare = child<QTableView>(w.get(), "tblCompare")->model();
        QCOMPARE(compare->rowCount(), static_cast<int>(zelmar::compareRows().size()));
        const QStringList differences = tableDifferences(*compare, report);
        QVERIFY2(differences.isEmpty(), qPrintable(differences.join('\n')));
        QVERIFY(compare->index(3, zelmar::ResultTableModel::Error).data().toString().startsWith("± "));

        const Json alone = commandLineReport(*w, nullptr, 0, true);
        QVERIFY(Json::parse(jsonOf(o)) == alone);
        const QStringList differencesA
            = tableDifferences(*child<QTableView>(w.get(), "tblResults")->model(), alone);
        QVERIFY2(differencesA.isEmpty(), qPrintable(differencesA.join('\n')));

        // The CSV: A's rounds, then B's, as zelmar-sim run --csv writes each.
        QSignalSpy written(w.get(), &AnalysisWindow::csvExported);
        QVERIFY(w->exportCsv(a.file("both.csv")));
        QVERIFY(written.wait(Patience));
        QCOMPARE(QString::fromStdString(w->job().csvError()), QString());
        commandLineReport(*w, local(a.file("a.csv")).c_str(), 0, true);
        commandLineReport(*w, local(a.file("b.csv")).c_str(), 0, true, local(b.path()));
        QByteArray expected;
        for (const char* side : { "A", "B" }) {
            QFile file(a.file(side[0] == 'A' ? "a.csv" : "b.csv"));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QList<QByteArray> lines = file.readAll().split('\n');
            lines.removeLast(); // after the last line's end
            if (expected.isEmpty())
                expected = "规则," + lines.front() + '\n';
            for (qsizetype i = 1; i < lines.size(); ++i)
                expected += side + (',' + lines[i]) + '\n';
        }
        QFile both(a.file("both.csv"));
        QVERIFY(both.open(QIODevice::ReadOnly));
        QVERIFY(expected.count('\n') == 2 * 20500 + 1);
        QVERIFY(both.readAll() == expected);
    }

    // Stopped, the figures are those of whole blocks, the same as a run of
    // that many rounds from the same seed; closing the window mid-run ends
    // the run.
    void stopKeepsTheFiguresOfWholeBlocks()
    {
        auto w = open(QStringLiteral(ZELMAR_EXAMPLES));
        QSignalSpy progressed(&w->job(), &zelmar::RunJob::progressed);
        QSignalSpy finished(w.get(), &AnalysisWindow::runFinished);
        play(*w, 2, 200'000'000, "5");
        QVERIFY(progressed.wait(Patience));
        click(w.get(), "cmdStop");
        QVERIFY(finished.wait(Patience));

        const zelmar::RunOutcome& o = *w->job().outcome();
        const long rounds = o.results.done;
        QVERIFY(o.results.interrupted());
        QVERIFY(rounds > 0 && rounds < 200'000'000);
        QCOMPARE(rounds % 1000, 0);
        const auto* table = child<QTableView>(w.get(), "tblResults")->model();
        QCOMPARE(table->index(0, 1).data(zelmar::ResultTableModel::NumberRole).toDouble(), double(rounds));
        Json shown = Json::parse(jsonOf(o));
        QVERIFY(shown["roundsAsked"] == 200'000'000);
        Json whole = commandLineReport(*w, nullptr, rounds);
        for (Json* report : { &shown, &whole }) {
            report->erase("roundsAsked");
            report->erase("interrupted");
        }
        QVERIFY2(shown == whole, (shown.dump() + "\n" + whole.dump()).c_str());
        QVERIFY(child<QLabel>(w.get(), "lblStatus")->text().startsWith(QStringLiteral("已停止")));

        progressed.clear();
        click(w.get(), "cmdStart");
        QVERIFY(progressed.wait(Patience));
        QVERIFY(w->job().busy());
        w->close();
        QVERIFY(!w->job().busy());
    }

    void ruleFileProblemsAreReported_data()
    {
        QTest::addColumn<QByteArray>("win");
        QTest::addColumn<QByteArray>("lost");
        QTest::addColumn<QStringList>("reported");
        QTest::newRow("an item that is no number")
            << QByteArray("1,x,2") << QByteArray("1,2") << QStringList { "winText.txt 第2项“x”：不是数字" };
        QTest::newRow("an empty item on the second line, both files at once")
            << QByteArray("1,,2") << QByteArray("1,2\r\n3,,4")
            << QStringList { "winText.txt 第2项“”", "lostText.txt 第2行 第2项“”" };
        QTest::newRow("a missing file")
            << QByteArray("1,2") << QByteArray() << QStringList { "找不到规则文件" };
    }

    void ruleFileProblemsAreReported()
    {
        QFETCH(QByteArray, win);
        QFETCH(QByteArray, lost);
        QFETCH(QStringList, reported);
        RuleFolder rules(win, lost);
        if (lost.isEmpty())
            QFile::remove(rules.file("lostText.txt"));
        auto w = open(rules.path());
        const QString shown = child<QLabel>(w.get(), "lblCheck")->text();
        for (const QString& report : reported)
            QVERIFY2(shown.contains(report), qPrintable(shown));
        QVERIFY(!child<QPushButton>(w.get(), "cmdStart")->isEnabled());
        QCOMPARE(child<QTableView>(w.get(), "grdLost")->model()->columnCount(), 0);
        QVERIFY(!QFile::exists(rules.file("lostText.txt")) || !lost.isEmpty()); // nothing is created

        // Mended, the same window shows the rules and can play them.
        rules.write("winText.txt", "1,2");
        rules.write("lostText.txt", "1,2");
        click(w.get(), "cmdCalculatorFolder");
        rulesRead(*w);
        QVERIFY(child<QPushButton>(w.get(), "cmdStart")->isEnabled());
        QCOMPARE(child<QTableView>(w.get(), "grdLost")->model()->columnCount(), 2);
    }

    void riskyCellsOfTheExampleRulesAreMarked()
    {
        auto w = open(QStringLiteral(ZELMAR_EXAMPLES));
        const auto* win = child<QTableView>(w.get(), "grdWin")->model();
        const auto* lost = child<QTableView>(w.get(), "grdLost")->model();
        // 1,1,2,3 and 1,1,2,3 / 2,2,4,6 / 3,3,6,9: the first stake is always
        // 1; a loss on a row's last cell and a win on the next row's first
        // cell loses every two hands; equal neighbours loop at no cost.
        QCOMPARE(riskLooks(*win), QStringLiteral("U..."));
        QCOMPARE(riskLooks(*lost), QStringLiteral("EE.L|LE.L|LE.."));
        QVERIFY(win->index(0, 0).data(Qt::ToolTipRole).toString().startsWith(QStringLiteral("走不到")));
        const QString cycle = lost->index(1, 3).data(Qt::ToolTipRole).toString();
        QVERIFY2(cycle.contains(QStringLiteral("在第 2 行第 4 列（6）输、在第 3 行第 1 列（3）赢")),
            qPrintable(cycle));
        QVERIFY2(cycle.contains(QStringLiteral("每两手输 3")), qPrintable(cycle));
        // (2, 1) ends one loss cycle and starts a loop at no cost: both said.
        QCOMPARE(lost->index(1, 0).data(Qt::ToolTipRole).toString().split('\n').size(), 2);
        QVERIFY(!lost->index(0, 2).data(Qt::ToolTipRole).isValid());
        const QString check = child<QLabel>(w.get(), "lblCheck")->text();
        QVERIFY2(check.contains(QStringLiteral("没有下限"))
                && check.contains(QStringLiteral("最大的注码：9 单位")),
            qPrintable(check));
    }

    void choicesAndSizeAreKeptBetweenSessions()
    {
        auto w = open(QStringLiteral(ZELMAR_EXAMPLES));
        child<QComboBox>(w.get(), "cboGame")->setCurrentIndex(2);
        child<QDoubleSpinBox>(w.get(), "spnWinChance")->setValue(40);
        child<QSpinBox>(w.get(), "spnRounds")->setValue(4321);
        child<QSpinBox>(w.get(), "spnBankroll")->setValue(25);
        child<QLineEdit>(w.get(), "txtSeed")->setText("987654321");
        w->resize(1100, 760);
        w->close();
        w = open(QStringLiteral(ZELMAR_EXAMPLES));
        QCOMPARE(child<QComboBox>(w.get(), "cboGame")->currentIndex(), 2);
        QCOMPARE(child<QDoubleSpinBox>(w.get(), "spnWinChance")->value(), 40.0);
        QCOMPARE(child<QSpinBox>(w.get(), "spnRounds")->value(), 4321);
        QCOMPARE(child<QSpinBox>(w.get(), "spnBankroll")->value(), 25);
        QCOMPARE(child<QLineEdit>(w.get(), "txtSeed")->text(), QStringLiteral("987654321"));
        QCOMPARE(w->size(), QSize(1100, 760));
    }

    // A finished run and rule files that cannot be read, at the size of a
    // 1024x768 screen less its title bar: nothing cut off or on top of
    // another, every control reached with Tab.
    void windowIsPhotographedAtTheSmallestSize()
    {
        const QStringList controls { "cmdOpenFolder", "cmdCalculatorFolder", "grdWin", "grdLost", "cboGame",
            "spnWinChance", "spnBankroll", "optRounds", "spnRounds", "optSessions", "spnSessions",
            "spnSessionRounds", "spnStopWin", "spnStopLoss", "txtSeed", "cmdNewSeed", "chkCompare",
            "cmdChooseB", "cmdStart", "cmdStop", "tabResults", "prgRun", "cmdExportCsv", "cmdExportCharts" };
        // The README's picture is made with the rules in a player's folder.
        auto w = open(qEnvironmentVariable("ZELMAR_PICTURE_RULES", QStringLiteral(ZELMAR_EXAMPLES)));
        w->resize(1024, 720);
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QSignalSpy finished(w.get(), &AnalysisWindow::runFinished);
        play(*w, 0, 100000, "20261207");
        QVERIFY(finished.wait(Patience));
        const QStringList faults = layoutFaults(*w, controls);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
        save(w.get(), "analysis-run");
        plotMatchesExport(*w);
        hoverSaysThePoint(*w);

        child<QPushButton>(w.get(), "cmdOpenFolder")->setFocus();
        const QString reached = tabCycle(40);
        for (const QString& name : controls) {
            auto* control = child<QWidget>(w.get(), qPrintable(name));
            if (auto* tabs = qobject_cast<QTabWidget*>(control))
                control = tabs->tabBar(); // the tabs take the focus
            if (control->isEnabled() && control->focusPolicy() & Qt::TabFocus)
                QVERIFY2(reached.contains(control->objectName()), qPrintable(name + " not in " + reached));
        }
        auto* tabs = child<QTabWidget>(w.get(), "tabResults");
        tabs->setCurrentIndex(1);
        save(w.get(), "analysis-results");

        tabs->setCurrentIndex(0);
        child<QRadioButton>(w.get(), "optSessions")->setChecked(true);
        child<QSpinBox>(w.get(), "spnSessions")->setValue(20000);
        child<QSpinBox>(w.get(), "spnSessionRounds")->setValue(100);
        child<QSpinBox>(w.get(), "spnStopWin")->setValue(20);
        child<QSpinBox>(w.get(), "spnStopLoss")->setValue(60);
        click(w.get(), "cmdStart");
        QVERIFY(finished.wait(Patience));
        const QStringList sessionFaults = layoutFaults(*w, controls);
        QVERIFY2(sessionFaults.isEmpty(), qPrintable(sessionFaults.join('\n')));
        plotMatchesExport(*w);
        save(w.get(), "analysis-sessions");

        RuleFolder other("1,2", "2,4\r\n8,16");
        child<QRadioButton>(w.get(), "optRounds")->setChecked(true);
        child<QCheckBox>(w.get(), "chkCompare")->setChecked(true);
        w->findChild<zelmar::SimulationPanel*>()->setFolderB(other.path());
        click(w.get(), "cmdStart");
        QVERIFY(finished.wait(Patience));
        plotMatchesExport(*w);
        tabs->setCurrentIndex(2);
        save(w.get(), "analysis-compare");

        RuleFolder broken("1,2,x", "1,2\r\n3,,4");
        w->openFolder(local(broken.path()));
        rulesRead(*w);
        tabs->setCurrentIndex(0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QVERIFY(child<QLabel>(w.get(), "lblCheck")->text().contains("lostText.txt"));
        save(w.get(), "analysis-malformed");

        // A name that is not a PNG's is refused, and nothing is written.
        const QString jpeg = m_settingsDir->filePath("charts.jpg");
        QString said;
        ModalCatcher catcher;
        catcher.then([&](QWidget* box) {
            said = shownText(qobject_cast<QMessageBox*>(box));
            qobject_cast<QMessageBox*>(box)->accept();
        });
        QVERIFY(!w->exportCharts(jpeg));
        CHECK_DIALOGS(catcher);
        QVERIFY2(said.contains(QStringLiteral(".png")), qPrintable(said));
        QVERIFY(!QFile::exists(jpeg));
    }
};

QTEST_MAIN(AnalysisTest)
#include "tst_Analysis.moc"
