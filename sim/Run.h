#pragma once
// One run of the simulator, as zelmar-sim run and compare and the analysis
// window ask for it: single rounds, sessions, or two rule sets on the same
// hands. The run is played on the settings' threads; the hooks are called on
// the calling thread, in order, and the figures come back typed.

#include "sim/Compare.h"
#include "sim/Figures.h"

#include <atomic>
#include <functional>
#include <optional>

namespace zelmar::sim {

// What to play: A's settings (sessions > 0 plays sessions), and the rules of
// B when two rule sets are compared (single rounds only).
struct RunPlan {
    Settings a;
    std::optional<Settings> b;
    long asked() const { return a.sessions > 0 ? a.sessions : a.rounds; }
};

// The figures of a run, or of its finished part while it goes on. Exactly
// one of `rounds` and `sessions` is set; a comparison also has B's rounds
// and the paired differences.
struct RunResults {
    long asked = 0; // rounds or sessions
    long done = 0; // whole blocks of them
    std::optional<RunFigures> rounds; // A's, when compared
    std::optional<SessionFigures> sessions;
    std::optional<RunFigures> roundsB;
    std::optional<ComparisonFigures> paired;
    bool interrupted() const { return done < asked; }
};

struct RunHooks {
    const std::atomic<bool>* stop = nullptr; // no new block starts once set
    std::function<void(long done)> progress; // rounds or sessions
    // The figures so far, now and then while the run goes on: at most every
    // 150 ms, and never taking more than a fifth of the run's time.
    std::function<void(const RunResults&)> grew;
    // Every finished block of a run of one rule set, for its CSV rows.
    std::function<void(const Block&)> rounds;
    std::function<void(const SessionBlock&)> sessions;
};

RunResults runSimulation(const RunPlan& plan, const RunHooks& hooks = {});

} // namespace zelmar::sim
