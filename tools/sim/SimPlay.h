#pragma once
// zelmar-sim run and compare once their options are read and the rules are
// loaded: play the rounds, the sessions or the pair, write the report, the
// CSV and the chart, and say how it went as an exit status: 0 done, 1 a
// write failed (named on `err`), 2 a file could not be opened before the
// run, 130 stopped early (the figures of what was finished are written all
// the same).

#include "sim/Run.h"

#include <atomic>
#include <functional>
#include <ostream>
#include <string>

namespace zelmar {

struct PlayRequest {
    sim::RunPlan plan; // with the rules; a plan with B compares
    std::string rulesFolder;
    std::string rulesFolderB;
    bool json = false;
    std::string csv; // empty: none (never with B)
    std::string plot; // empty: none
    int plotWidth = 1600;
    int plotHeight = 1000;
};

struct PlayHooks {
    const std::atomic<bool>* stop = nullptr; // no new block starts once set
    std::function<void(long done, long total)> progress; // rounds or sessions
};

// Plays what `request` asks for and writes its report to `out`. The first
// line, the seed, goes to `out`, or to `err` when the report is JSON.
int play(const PlayRequest& request, std::ostream& out, std::ostream& err, const PlayHooks& hooks = {});

} // namespace zelmar
