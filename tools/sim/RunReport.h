#pragma once
// How zelmar-sim run shows its figures: a Chinese report for the terminal,
// the same figures as one JSON object, and one CSV row per round.

#include "sim/Figures.h"

#include <string>

namespace zelmar {

// What the run was asked to do, as the report states it.
struct RunDescription {
    sim::Settings settings;
    std::string rulesFolder;
    bool interrupted = false;
};

std::string describeGame(const sim::Settings& s);
std::string textReport(const RunDescription& run, const sim::RunFigures& f);
std::string jsonReport(const RunDescription& run, const sim::RunFigures& f);

std::string csvHeader();
std::string csvRow(long round, const sim::RoundResult& r);

} // namespace zelmar
