#pragma once
// zelmar-sim run and compare once their options are read and the rules are
// loaded: play the rounds or the sessions, write the report, the CSV and the
// chart, and say how it went as an exit status: 0 done, 1 a write failed
// (named on `err`), 2 a file could not be opened before the run, 130 stopped
// early (the figures of what was finished are written all the same).

#include "sim/Simulation.h"

#include <atomic>
#include <functional>
#include <ostream>
#include <string>

namespace zelmar {

struct PlayRequest {
    sim::Settings settings; // with its rules; sessions > 0 plays sessions
    std::string rulesFolder;
    bool json = false;
    std::string csv; // empty: none
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
int playAndReport(
    const PlayRequest& request, std::ostream& out, std::ostream& err, const PlayHooks& hooks = {});

// `request` with the rules of A, and the rules of B from `rulesB`: both on
// the same hands, each one's figures and their difference.
int compareAndReport(const PlayRequest& request, const sim::Settings& rulesB, const std::string& folderB,
    std::ostream& out, std::ostream& err, const PlayHooks& hooks = {});

} // namespace zelmar
