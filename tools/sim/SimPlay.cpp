#include "tools/sim/SimPlay.h"

#include "charts/PlotFile.h"
#include "rules/Utf8Path.h"
#include "sim/Compare.h"
#include "tools/sim/SimReport.h"

#include <fstream>

namespace zelmar {

namespace {

// A CSV file, opened before the run so that a file that cannot be written
// is known before a long run.
class CsvFile {
public:
    explicit CsvFile(const std::string& path)
        : m_path(path)
    {
        if (!path.empty())
            m_file.open(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
    }
    bool wanted() const { return !m_path.empty(); }
    bool opened() const { return m_file.is_open(); }
    std::ostream& stream() { return m_file; }
    // False, with the reason on `err`, when a write failed.
    bool close(std::ostream& err)
    {
        if (!wanted())
            return true;
        m_file.close();
        if (m_file)
            return true;
        err << "写入 CSV 文件 " << m_path << " 时出错\n";
        return false;
    }

private:
    std::string m_path;
    std::ofstream m_file;
};

// Checks the files before the run; 0 when they can be written.
int openFiles(const PlayRequest& r, CsvFile& csv, std::ostream& err)
{
    if (csv.wanted() && !csv.opened()) {
        err << "无法写入 CSV 文件 " << r.csv << "\n";
        return 2;
    }
    if (!r.plot.empty()) {
        if (const auto why = plotNameProblem(r.plot)) {
            err << *why << "\n";
            return 2;
        }
    }
    if (!r.plot.empty() && !std::ofstream(PathFromUtf8(r.plot), std::ios::binary | std::ios::app)) {
        err << "无法写入图表文件 " << r.plot << "\n";
        return 2;
    }
    return 0;
}

bool writeSeed(const PlayRequest& r, std::ostream& out, std::ostream& err)
{
    std::ostream& to = r.json ? err : out;
    to << "种子：" << r.settings.seed << "（用 --seed " << r.settings.seed << " 可以重复这次运行）\n";
    to.flush();
    return static_cast<bool>(to);
}

// Writes the report; false, with the reason on `err`, when it could not.
bool writeReport(const std::string& report, std::ostream& out, std::ostream& err)
{
    out << report;
    out.flush();
    if (out)
        return true;
    err << "写入标准输出时出错：报告没有完整写出\n";
    return false;
}

// The chart's heading: the game, the count, the seed and the main figure
// with its standard error.
std::string chartTitle(const sim::Settings& s, long count, const char* what, const std::string& figure)
{
    return "zelmar-sim：" + describeGame(s) + "；" + std::to_string(count) + " " + what + "，种子 "
        + std::to_string(s.seed) + "；" + figure;
}

int finish(
    int status, bool wrote, CsvFile& csv, const std::optional<std::string>& chartError, std::ostream& err)
{
    if (!wrote)
        status = 1;
    if (!csv.close(err))
        status = 1;
    if (chartError) {
        err << *chartError << "\n";
        status = 1;
    }
    return status;
}

void progress(const PlayHooks& hooks, long done, long total)
{
    if (hooks.progress)
        hooks.progress(done, total);
}

int playRounds(
    const PlayRequest& r, std::ostream& out, std::ostream& err, const PlayHooks& hooks, CsvFile& csv)
{
    const sim::Settings& s = r.settings;
    const sim::MoneyUnit unit = sim::moneyUnitOf(s);
    if (csv.wanted())
        csv.stream() << csvHeader();
    sim::Tally tally(s.rounds, unit, s.bankroll);
    sim::RunControl control;
    control.stop = hooks.stop;
    control.progress = [&](long done) { progress(hooks, done, s.rounds); };
    sim::runRounds(
        s,
        [&](const sim::Block& b) {
            tally.add(b);
            if (csv.wanted()) {
                long round = b.index * sim::BlockRounds;
                for (const sim::RoundResult& one : b.rounds)
                    csv.stream() << csvRow(++round, one, unit);
            }
        },
        control);
    const RunDescription run { s, r.rulesFolder, tally.rounds() < s.rounds };
    const sim::RunFigures figures = tally.figures();
    const bool wrote = writeReport(r.json ? jsonReport(run, figures) : textReport(run, figures), out, err);
    std::optional<std::string> chartError;
    if (!r.plot.empty())
        chartError = saveRoundsChart(figures, s,
            chartTitle(s, figures.rounds, "局", "每局净输赢 " + withError(figures.money.mean)), r.plot,
            r.plotWidth, r.plotHeight);
    return finish(run.interrupted ? 130 : 0, wrote, csv, chartError, err);
}

int playSessions(
    const PlayRequest& r, std::ostream& out, std::ostream& err, const PlayHooks& hooks, CsvFile& csv)
{
    const sim::Settings& s = r.settings;
    const sim::MoneyUnit unit = sim::moneyUnitOf(s);
    if (csv.wanted())
        csv.stream() << sessionCsvHeader();
    sim::SessionTally tally(unit);
    sim::RunControl control;
    control.stop = hooks.stop;
    control.progress = [&](long done) { progress(hooks, done, s.sessions); };
    sim::runSessions(
        s,
        [&](const sim::SessionBlock& b) {
            tally.add(b);
            if (csv.wanted()) {
                long session = b.index * sim::BlockSessions;
                for (const sim::SessionResult& one : b.sessions)
                    csv.stream() << sessionCsvRow(++session, one, unit);
            }
        },
        control);
    const RunDescription run { s, r.rulesFolder, tally.sessions() < s.sessions };
    const sim::SessionFigures figures = tally.figures();
    const bool wrote
        = writeReport(r.json ? sessionJsonReport(run, figures) : sessionTextReport(run, figures), out, err);
    std::optional<std::string> chartError;
    if (!r.plot.empty())
        chartError = saveSessionsChart(figures, s,
            chartTitle(s, figures.sessions, "场",
                "每场净输赢 " + withError(figures.net.mean) + "，输光 "
                    + withError(sim::shareOf(
                                    figures.ends[static_cast<int>(sim::SessionEnd::Broke)], figures.sessions),
                        100, "%")),
            r.plot, r.plotWidth, r.plotHeight);
    return finish(run.interrupted ? 130 : 0, wrote, csv, chartError, err);
}

} // namespace

int playAndReport(const PlayRequest& request, std::ostream& out, std::ostream& err, const PlayHooks& hooks)
{
    CsvFile csv(request.csv);
    if (const int status = openFiles(request, csv, err))
        return status;
    if (!writeSeed(request, out, err)) {
        err << "写入标准输出时出错\n";
        return 1;
    }
    if (request.settings.sessions > 0)
        return playSessions(request, out, err, hooks, csv);
    return playRounds(request, out, err, hooks, csv);
}

int compareAndReport(const PlayRequest& request, const sim::Settings& rulesB, const std::string& folderB,
    std::ostream& out, std::ostream& err, const PlayHooks& hooks)
{
    PlayRequest r = request;
    r.csv.clear();
    CsvFile noCsv({});
    if (const int status = openFiles(r, noCsv, err))
        return status;
    if (!writeSeed(r, out, err)) {
        err << "写入标准输出时出错\n";
        return 1;
    }
    const sim::Settings& a = r.settings;
    sim::Settings b = a;
    b.winSeq = rulesB.winSeq;
    b.lostTable = rulesB.lostTable;
    const sim::MoneyUnit unit = sim::moneyUnitOf(a);
    sim::Tally tallyA(a.rounds, unit, a.bankroll);
    sim::Tally tallyB(a.rounds, unit, a.bankroll);
    sim::PairedTally paired(unit, unit);
    sim::RunControl control;
    control.stop = hooks.stop;
    control.progress = [&](long done) { progress(hooks, done, a.rounds); };
    const long done = sim::runPaired(
        a, b,
        [&](const sim::PairedBlock& p) {
            tallyA.add(p.a);
            tallyB.add(p.b);
            paired.add(p);
        },
        control);
    const bool interrupted = done < a.rounds;
    ComparedRun c { { a, r.rulesFolder, interrupted }, { b, folderB, interrupted }, tallyA.figures(),
        tallyB.figures(), paired.figures() };
    const bool wrote = writeReport(r.json ? compareJsonReport(c) : compareTextReport(c), out, err);
    std::optional<std::string> chartError;
    if (!r.plot.empty())
        chartError = saveCompareChart(c.figuresA, c.figuresB, a,
            chartTitle(
                a, c.paired.rounds, "局", "每局净输赢 A − B " + withError(c.paired.netPerRound.difference)),
            r.plot, r.plotWidth, r.plotHeight);
    return finish(interrupted ? 130 : 0, wrote, noCsv, chartError, err);
}

} // namespace zelmar
