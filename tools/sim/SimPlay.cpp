#include "tools/sim/SimPlay.h"

#include "charts/PlotFile.h"
#include "report/CompareReport.h"
#include "report/CsvRows.h"
#include "report/RoundsReport.h"
#include "report/SessionsReport.h"
#include "rules/Utf8Path.h"

#include <fstream>
#include <optional>

namespace zelmar {

namespace {

// Checks the files before the run, so that a file that cannot be written is
// known before a long run; 0 when they can be written.
int openFiles(const PlayRequest& r, std::ofstream& csv, std::ostream& err)
{
    if (!r.csv.empty()) {
        csv.open(PathFromUtf8(r.csv), std::ios::binary | std::ios::trunc);
        if (!csv.is_open()) {
            err << "无法写入 CSV 文件 " << r.csv << "\n";
            return 2;
        }
    }
    if (!r.plot.empty()) {
        if (const auto why = plotNameProblem(r.plot)) {
            err << *why << "\n";
            return 2;
        }
        if (!std::ofstream(PathFromUtf8(r.plot), std::ios::binary | std::ios::app)) {
            err << "无法写入图表文件 " << r.plot << "\n";
            return 2;
        }
    }
    return 0;
}

// The report of the results, as text or JSON.
std::string reportOf(const PlayRequest& r, const sim::RunResults& res)
{
    const RunDescription run { r.plan.a, r.rulesFolder, res.interrupted() };
    if (res.paired) {
        sim::Settings b = *r.plan.b;
        const ComparedRun c { run, { b, r.rulesFolderB, res.interrupted() }, *res.rounds, *res.roundsB,
            *res.paired };
        return r.json ? compareJsonReport(c) : compareTextReport(c);
    }
    if (res.sessions)
        return r.json ? sessionJsonReport(run, *res.sessions) : sessionTextReport(run, *res.sessions);
    return r.json ? jsonReport(run, *res.rounds) : textReport(run, *res.rounds);
}

// The chart's heading: the game, the count, the seed and the main figure
// with its standard error.
std::string chartTitle(const sim::Settings& s, long count, const char* what, const std::string& figure)
{
    return "zelmar-sim：" + describeGame(s) + "；" + std::to_string(count) + " " + what + "，种子 "
        + std::to_string(s.seed) + "；" + figure;
}

std::optional<std::string> saveChart(const PlayRequest& r, const sim::RunResults& res)
{
    const sim::Settings& s = r.plan.a;
    if (res.paired)
        return saveCompareChart(*res.rounds, *res.roundsB, s,
            chartTitle(s, res.paired->rounds, "局",
                "每局净输赢 A − B " + withError(res.paired->netPerRound.difference)),
            r.plot, r.plotWidth, r.plotHeight);
    if (res.sessions) {
        const sim::SessionFigures& f = *res.sessions;
        const long broke = f.ends[static_cast<int>(sim::SessionEnd::Broke)];
        return saveSessionsChart(f, s,
            chartTitle(s, f.sessions, "场",
                "每场净输赢 " + withError(f.net.mean) + "，输光 "
                    + withError(sim::shareOf(broke, f.sessions), 100, "%")),
            r.plot, r.plotWidth, r.plotHeight);
    }
    const sim::RunFigures& f = *res.rounds;
    return saveRoundsChart(f, s, chartTitle(s, f.rounds, "局", "每局净输赢 " + withError(f.money.mean)),
        r.plot, r.plotWidth, r.plotHeight);
}

} // namespace

int play(const PlayRequest& r, std::ostream& out, std::ostream& err, const PlayHooks& hooks)
{
    std::ofstream csvFile;
    if (const int status = openFiles(r, csvFile, err))
        return status;
    std::ostream& seedTo = r.json ? err : out;
    seedTo << "种子：" << r.plan.a.seed << "（用 --seed " << r.plan.a.seed << " 可以重复这次运行）\n";
    if (!seedTo.flush()) {
        err << "写入标准输出时出错\n";
        return 1;
    }

    const sim::MoneyUnit unit = sim::moneyUnitOf(r.plan.a);
    std::optional<CsvRows> csv;
    sim::RunHooks run;
    run.stop = hooks.stop;
    if (hooks.progress)
        run.progress = [&](long done) { hooks.progress(done, r.plan.asked()); };
    if (!r.csv.empty()) {
        csv.emplace(csvFile, r.plan.a.sessions > 0);
        csv->header();
        run.rounds = [&](const sim::Block& b) { csv->add(b, unit); };
        run.sessions = [&](const sim::SessionBlock& b) { csv->add(b, unit); };
    }
    const sim::RunResults results = sim::runSimulation(r.plan, run);

    int status = results.interrupted() ? 130 : 0;
    out << reportOf(r, results);
    if (!out.flush()) {
        err << "写入标准输出时出错：报告没有完整写出\n";
        status = 1;
    }
    if (csv) {
        csvFile.close();
        if (!csvFile) {
            err << "写入 CSV 文件 " << r.csv << " 时出错\n";
            status = 1;
        }
    }
    if (!r.plot.empty()) {
        if (const auto chartError = saveChart(r, results)) {
            err << *chartError << "\n";
            status = 1;
        }
    }
    return status;
}

} // namespace zelmar
