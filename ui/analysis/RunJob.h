#pragma once
// The one place where the analysis window reaches the simulator. A job works
// out the exact figures of a plan (as zelmar-sim exact does) and plays it
// through sim::runSimulation, the very run of zelmar-sim run and compare,
// each as the request asks, on a worker thread, and hands what it has to
// the window's thread
// through queued calls: the progress, the figures of the charts while the
// run goes on, and at the end the typed figures of the run. The job also
// writes the CSV of the last run's rounds or sessions, played once more
// from its seed (the same seed gives the same rounds), so that memory does
// not grow with the rounds. Stopping a job keeps whole blocks of rounds;
// the window never waits for a job except when it closes.

#include "charts/ChartFigures.h"
#include "ui/analysis/RunRequest.h"

#include "sim/Run.h"
#include "ui/analysis/ExactOutcome.h"

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
    sim::RunPlan plan;
    sim::RunResults results; // empty when nothing was simulated
    std::optional<ExactOutcome> exact; // when asked for
    bool simulated() const { return results.rounds || results.sessions; }
};

class RunJob : public QObject {
    Q_OBJECT
public:
    explicit RunJob(QObject* parent = nullptr);
    ~RunJob() override; // stops the job and waits for it

    bool busy() const { return m_worker.joinable(); }
    // Each returns false, and starts nothing, while a job is busy; a CSV
    // also needs a finished run.
    bool startRun(const RunRequest& request, const std::string& folder, const sim::RunPlan& plan);
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
    // Called on the worker: tells the window of each tenth of a percent once.
    std::function<void(long)> progressTo(long total);
    void joinWorker();

    std::thread m_worker;
    std::atomic<bool> m_stop { false };
    long m_done = 0;
    long m_total = 0;
    ChartData m_chart;
    std::optional<RunOutcome> m_outcome;
    std::string m_csvError;
};

} // namespace zelmar
