#pragma once
// The one place where the analysis window reaches the simulator. A job runs
// on a worker thread through the very steps of zelmar-sim run (the rounds of
// sim::runRounds in a sim::Tally, or the sessions of sim::runSessions in a
// sim::SessionTally, then the run report) and hands what it has
// to the window's thread through queued calls: the progress, the figures of
// the charts while the run goes on, and at the end the JSON object that
// `zelmar-sim run --json` prints for the same request and seed. The job also
// writes the CSV of the last run's rounds or sessions, played once more from its seed
// (the same seed gives the same rounds), so that memory does not grow with
// the rounds. Stopping a job keeps whole blocks of rounds; the window never
// waits for a job except when it closes.

#include "charts/ChartFigures.h"
#include "tools/sim/SimRules.h"
#include "ui/analysis/RunRequest.h"

#include "sim/Figures.h"
#include "sim/Simulation.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace zelmar {

// What the charts show of a run so far.
using ChartData = ChartFigures;

struct RunOutcome {
    RunRequest request;
    std::string folder;
    long rounds = 0; // rounds or sessions played; whole blocks when stopped
    bool interrupted = false;
    std::string json; // the report as `zelmar-sim run --json` prints it (of A's rules when compared)
    std::string compareJson; // with a folder B: as `zelmar-sim compare --json` prints it
    long asked() const { return request.sessions > 0 ? request.sessions : request.rounds; }
};

class RunJob : public QObject {
    Q_OBJECT
public:
    explicit RunJob(QObject* parent = nullptr);
    ~RunJob() override; // stops the job and waits for it

    bool busy() const { return m_worker.joinable(); }
    // Each returns false, and starts nothing, while a job is busy; a CSV
    // also needs a finished run.
    // `rulesB` are those of request.folderB, played on the same hands.
    bool startRun(const RunRequest& request, const SimRules& rules, const std::string& folder,
        const SimRules* rulesB = nullptr);
    // The rounds or sessions of the last run, as `zelmar-sim run --csv`
    // writes them; after a comparison, A's rounds and then B's, each row
    // after a first column that says which.
    bool startCsv(const std::string& path);
    // No new block starts; the job then finishes with what it has.
    void stop() { m_stop.store(true); }
    // Stops the job and waits for its thread (the window is closing).
    void end();

    // Rounds (or sessions) done and asked of the job under way, or of the last one.
    long done() const { return m_done; }
    long total() const { return m_total; }
    const ChartData& chart() const { return m_chart; }
    const std::optional<RunOutcome>& outcome() const { return m_outcome; }
    // Why the last CSV was not written whole; empty when it was.
    const std::string& csvError() const { return m_csvError; }

signals:
    void progressed();
    void grew(); // chart() has new figures
    void runFinished(); // outcome() holds the run
    void csvFinished();

private:
    // Runs `call` on the window's thread, unless this job is gone by then.
    void post(std::function<void()> call);
    sim::RunControl controlFor(long total);
    // Called on the worker: the charts of the blocks finished so far.
    void showGrowth(ChartData chart);
    void finishRun(RunOutcome outcome, const sim::Settings& settings, ChartData chart,
        std::optional<sim::Settings> settingsB = {});
    void joinWorker();

    std::thread m_worker;
    std::atomic<bool> m_stop { false };
    long m_done = 0;
    long m_total = 0;
    ChartData m_chart;
    std::optional<RunOutcome> m_outcome;
    sim::Settings m_lastSettings; // of m_outcome, to play its rounds again
    std::optional<sim::Settings> m_lastSettingsB; // and of folder B, when it was compared
    std::string m_csvError;
};

} // namespace zelmar
