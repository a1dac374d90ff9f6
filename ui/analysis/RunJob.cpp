#include "ui/analysis/RunJob.h"

#include "rules/Utf8Path.h"
#include "sim/Compare.h"
#include "sim/Figures.h"
#include "tools/sim/SimReport.h"

#include <QMetaObject>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

namespace zelmar {

namespace {

using Clock = std::chrono::steady_clock;

// The figures for the charts while a run goes on, at most every 150 ms and
// never taking more than a fifth of the run's time: working them out sorts
// what the tally keeps of every round.
class Snapshots {
public:
    bool due() const
    {
        return Clock::now() - m_last >= std::max<Clock::duration>(std::chrono::milliseconds(150), 4 * m_cost);
    }
    template <class Tally> auto take(const Tally& tally)
    {
        const auto start = Clock::now();
        auto f = tally.figures();
        m_last = Clock::now();
        m_cost = m_last - start;
        return f;
    }

private:
    Clock::time_point m_last = Clock::now();
    Clock::duration m_cost {};
};

sim::Settings settingsOf(const RunRequest& r, const SimRules& rules)
{
    sim::Settings s;
    s.winSeq = rules.winSeq;
    s.lostTable = rules.lostTable;
    switch (r.game) {
    case GameChoice::BankerBaccarat:
        s.bet = sim::Bet::Banker;
        break;
    case GameChoice::PlayerBaccarat:
        s.bet = sim::Bet::Player;
        break;
    case GameChoice::WinChance:
        s.game = sim::Game::WinChance;
        s.winChance = r.winChance;
        break;
    }
    s.rounds = r.rounds;
    s.seed = r.seed;
    s.threads = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    if (r.bankroll > 0)
        s.bankroll = static_cast<double>(r.bankroll);
    if (r.sessions > 0) {
        s.sessions = r.sessions;
        s.sessionRounds = r.sessionRounds;
        if (r.stopWin > 0)
            s.stopWin = static_cast<double>(r.stopWin);
        if (r.stopLoss > 0)
            s.stopLoss = static_cast<double>(r.stopLoss);
    }
    return s;
}

} // namespace

RunJob::RunJob(QObject* parent)
    : QObject(parent)
{
}

RunJob::~RunJob()
{
    end();
}

void RunJob::end()
{
    stop();
    joinWorker();
}

void RunJob::joinWorker()
{
    if (m_worker.joinable())
        m_worker.join();
}

void RunJob::post(std::function<void()> call)
{
    // Queued to this object: dropped if the object is destroyed first.
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

sim::RunControl RunJob::controlFor(long total)
{
    sim::RunControl control;
    control.stop = &m_stop;
    // Called on the worker: the window hears of each tenth of a percent once.
    control.progress = [this, total, shown = -1L](long done) mutable {
        const long permille = total > 0 ? 1000 * done / total : 1000;
        if (permille == shown)
            return;
        shown = permille;
        post([this, done] {
            m_done = done;
            emit progressed();
        });
    };
    return control;
}

bool RunJob::startRun(
    const RunRequest& request, const SimRules& rules, const std::string& folder, const SimRules* rulesB)
{
    if (busy())
        return false;
    m_stop.store(false);
    m_done = 0;
    m_chart = {};
    const sim::Settings settings = settingsOf(request, rules);
    if (settings.sessions > 0) {
        m_total = settings.sessions;
        m_worker = std::thread([this, settings, request, folder, control = controlFor(settings.sessions)] {
            sim::SessionTally tally(sim::moneyUnitOf(settings));
            Snapshots snapshots;
            sim::runSessions(
                settings,
                [&](const sim::SessionBlock& block) {
                    tally.add(block);
                    if (snapshots.due())
                        showGrowth(ChartData::sessionsOf(snapshots.take(tally), settings));
                },
                control);
            const sim::SessionFigures figures = tally.figures();
            RunOutcome outcome { request, folder, figures.sessions, figures.sessions < settings.sessions, {},
                {} };
            outcome.json = sessionJsonReport({ settings, folder, outcome.interrupted }, figures);
            finishRun(std::move(outcome), settings, ChartData::sessionsOf(figures, settings));
        });
        return true;
    }
    m_total = request.rounds;
    if (rulesB) {
        sim::Settings b = settings;
        b.winSeq = rulesB->winSeq;
        b.lostTable = rulesB->lostTable;
        // As zelmar-sim compare: both rule sets block by block on the same
        // hands.
        m_worker = std::thread([this, settings, b, request, folder, control = controlFor(request.rounds)] {
            const sim::MoneyUnit unit = sim::moneyUnitOf(settings);
            sim::Tally tallyA(settings.rounds, unit, settings.bankroll);
            sim::Tally tallyB(settings.rounds, unit, settings.bankroll);
            sim::PairedTally paired(unit, unit);
            Snapshots snapshots;
            const long done = sim::runPaired(
                settings, b,
                [&](const sim::PairedBlock& p) {
                    tallyA.add(p.a);
                    tallyB.add(p.b);
                    paired.add(p);
                    if (snapshots.due())
                        showGrowth(ChartData::compared(snapshots.take(tallyA), tallyB.figures()));
                },
                control);
            const bool interrupted = done < settings.rounds;
            const ComparedRun c { { settings, folder, interrupted }, { b, request.folderB, interrupted },
                tallyA.figures(), tallyB.figures(), paired.figures() };
            RunOutcome outcome { request, folder, done, interrupted, {}, {} };
            outcome.json = jsonReport(c.a, c.figuresA);
            outcome.compareJson = compareJsonReport(c);
            finishRun(std::move(outcome), settings, ChartData::compared(c.figuresA, c.figuresB), b);
        });
        return true;
    }
    m_worker = std::thread([this, settings, request, folder, control = controlFor(request.rounds)] {
        sim::Tally tally(settings.rounds, sim::moneyUnitOf(settings), settings.bankroll);
        Snapshots snapshots;
        sim::runRounds(
            settings,
            [&](const sim::Block& block) {
                tally.add(block);
                if (snapshots.due())
                    showGrowth(ChartData::rounds(snapshots.take(tally)));
            },
            control);
        const sim::RunFigures figures = tally.figures();
        RunOutcome outcome { request, folder, figures.rounds, figures.rounds < settings.rounds, {}, {} };
        outcome.json = jsonReport({ settings, folder, outcome.interrupted }, figures);
        finishRun(std::move(outcome), settings, ChartData::rounds(figures));
    });
    return true;
}

void RunJob::showGrowth(ChartData chart)
{
    post([this, chart = std::move(chart)] {
        m_chart = chart;
        emit grew();
    });
}

void RunJob::finishRun(RunOutcome outcome, const sim::Settings& settings, ChartData chart,
    std::optional<sim::Settings> settingsB)
{
    post([this, settings, settingsB = std::move(settingsB), outcome = std::move(outcome),
             chart = std::move(chart)] {
        joinWorker();
        m_chart = chart;
        m_done = outcome.rounds;
        m_outcome = outcome;
        m_lastSettings = settings;
        m_lastSettingsB = settingsB;
        emit grew();
        emit runFinished();
    });
}

bool RunJob::startCsv(const std::string& path)
{
    if (busy() || !m_outcome)
        return false;
    m_stop.store(false);
    // Each rule set with the first column's word: none for a run alone.
    std::vector<std::pair<std::string, sim::Settings>> sets { { "", m_lastSettings } };
    if (m_lastSettingsB)
        sets = { { "A,", m_lastSettings }, { "B,", *m_lastSettingsB } };
    for (auto& [column, settings] : sets)
        (settings.sessions > 0 ? settings.sessions : settings.rounds) = m_outcome->rounds;
    m_done = 0;
    m_total = m_outcome->rounds * static_cast<long>(sets.size());
    m_worker = std::thread([this, sets, path, control = controlFor(m_total)] {
        std::string error;
        std::ofstream csv(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
        if (!csv) {
            error = "无法写入 CSV 文件 " + path;
        } else {
            const bool sessions = sets.front().second.sessions > 0;
            csv << (sets.size() > 1 ? "规则," : "") << (sessions ? sessionCsvHeader() : csvHeader());
            long played = 0;
            for (const auto& [column, settings] : sets) {
                const sim::MoneyUnit unit = sim::moneyUnitOf(settings);
                sim::RunControl part = control;
                if (control.progress)
                    part.progress
                        = [&control, before = played](long done) { control.progress(before + done); };
                if (sessions) {
                    played += sim::runSessions(
                        settings,
                        [&](const sim::SessionBlock& block) {
                            long session = block.index * sim::BlockSessions;
                            for (const sim::SessionResult& s : block.sessions)
                                csv << column << sessionCsvRow(++session, s, unit);
                        },
                        part);
                } else {
                    played += sim::runRounds(
                        settings,
                        [&](const sim::Block& block) {
                            long round = block.index * sim::BlockRounds;
                            for (const sim::RoundResult& r : block.rounds)
                                csv << column << csvRow(++round, r, unit);
                        },
                        part);
                }
            }
            csv.close();
            const sim::Settings& first = sets.front().second;
            if (!csv) {
                error = "写入 CSV 文件 " + path + " 时出错";
            } else if (played < (sessions ? first.sessions : first.rounds) * static_cast<long>(sets.size())) {
                std::error_code ec;
                std::filesystem::remove(PathFromUtf8(path), ec);
                error = "导出已停止：没有留下不完整的 CSV 文件";
            }
        }
        post([this, error] {
            joinWorker();
            m_csvError = error;
            emit csvFinished();
        });
    });
    return true;
}

} // namespace zelmar
