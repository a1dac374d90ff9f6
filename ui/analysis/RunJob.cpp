#include "ui/analysis/RunJob.h"

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
    sim::RunFigures take(const sim::Tally& tally)
    {
        const auto start = Clock::now();
        sim::RunFigures f = tally.figures();
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
    return s;
}

ChartData chartOf(const sim::RunFigures& f)
{
    return { f.rounds, f.lossCurve, f.moneyPath };
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

bool RunJob::startRun(const RunRequest& request, const SimRules& rules, const std::string& folder)
{
    if (busy())
        return false;
    m_stop.store(false);
    m_done = 0;
    m_total = request.rounds;
    m_chart = {};
    const sim::Settings settings = settingsOf(request, rules);
    m_worker = std::thread([this, settings, request, folder, control = controlFor(request.rounds)] {
        sim::Tally tally(settings.rounds, sim::moneyUnitOf(settings), settings.bankroll);
        Snapshots snapshots;
        sim::runRounds(
            settings,
            [&](const sim::Block& block) {
                tally.add(block);
                if (snapshots.due())
                    post([this, chart = chartOf(snapshots.take(tally))] {
                        m_chart = chart;
                        emit grew();
                    });
            },
            control);
        const sim::RunFigures figures = tally.figures();
        RunOutcome outcome { request, folder, figures.rounds, figures.rounds < settings.rounds, {} };
        outcome.json = jsonReport({ settings, folder, outcome.interrupted }, figures);
        post([this, settings, outcome = std::move(outcome), chart = chartOf(figures)] {
            joinWorker();
            m_chart = chart;
            m_done = outcome.rounds;
            m_outcome = outcome;
            m_lastSettings = settings;
            emit grew();
            emit runFinished();
        });
    });
    return true;
}

bool RunJob::startCsv(const std::string& path)
{
    if (busy() || !m_outcome)
        return false;
    m_stop.store(false);
    sim::Settings settings = m_lastSettings;
    settings.rounds = m_outcome->rounds;
    m_done = 0;
    m_total = settings.rounds;
    m_worker = std::thread([this, settings, path, control = controlFor(settings.rounds)] {
        std::string error;
        std::ofstream csv(path, std::ios::binary | std::ios::trunc);
        if (!csv) {
            error = "无法写入 CSV 文件 " + path;
        } else {
            csv << csvHeader();
            const sim::MoneyUnit unit = sim::moneyUnitOf(settings);
            const long played = sim::runRounds(
                settings,
                [&](const sim::Block& block) {
                    long round = block.index * sim::BlockRounds;
                    for (const sim::RoundResult& r : block.rounds)
                        csv << csvRow(++round, r, unit);
                },
                control);
            csv.close();
            if (!csv) {
                error = "写入 CSV 文件 " + path + " 时出错";
            } else if (played < settings.rounds) {
                std::error_code ec;
                std::filesystem::remove(path, ec);
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
