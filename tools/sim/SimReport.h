#pragma once
// How zelmar-sim shows its figures: a Chinese report for the terminal, the
// same figures as one JSON object, and one CSV row per round or session.
// Every mean and share is followed by its standard error, "± x", as the
// report says once at its top.

#include "sim/Compare.h"
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
// A number with up to `decimals` places, no trailing zeros, never "-0".
std::string fixed(double v, int decimals = 2);
// "value ± error", both to the places the error calls for.
std::string withError(const sim::Estimate& e, double factor = 1, const char* suffix = "");

std::string textReport(const RunDescription& run, const sim::RunFigures& f);
std::string jsonReport(const RunDescription& run, const sim::RunFigures& f);
std::string sessionTextReport(const RunDescription& run, const sim::SessionFigures& f);
std::string sessionJsonReport(const RunDescription& run, const sim::SessionFigures& f);

// Two rule sets on the same hands: each one's figures and their difference.
struct ComparedRun {
    RunDescription a;
    RunDescription b;
    sim::RunFigures figuresA;
    sim::RunFigures figuresB;
    sim::ComparisonFigures paired;
};
std::string compareTextReport(const ComparedRun& c);
std::string compareJsonReport(const ComparedRun& c);

std::string csvHeader();
std::string csvRow(long round, const sim::RoundResult& r, const sim::MoneyUnit& unit);
std::string sessionCsvHeader();
std::string sessionCsvRow(long session, const sim::SessionResult& s, const sim::MoneyUnit& unit);

} // namespace zelmar
