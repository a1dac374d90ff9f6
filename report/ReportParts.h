#pragma once
// Pieces the text and JSON reports of rounds, sessions and comparisons are
// built from; for the report files themselves.

#include "report/JsonWriter.h"
#include "report/ReportText.h"
#include "sim/Figures.h"

#include <array>
#include <string>
#include <vector>

namespace zelmar::report {

extern const char* const ErrorNote;

std::string number(long v);
std::string percent(double share, int decimals = 2);
std::string share(const sim::Estimate& e);
std::string percentileList(const std::vector<sim::Percentile>& ps);
std::string histogram(const std::vector<sim::Bin>& bins, long rounds);
// The shares of banker, player and tie coups, in brackets; empty without a shoe.
std::string coupLine(const sim::Settings& s, const sim::CoupCounts& c, long dealt);
std::string limitsLine(const sim::Settings& s);
// A session's terms: its rounds, where it stops and its bankroll.
std::string sessionTermsLine(const sim::Settings& s);
// Whether the run was stopped, the rule folder and the game.
std::string headOf(const RunDescription& run, long done, long asked, const char* what);

// Opens the report's object with the seed, the rule folder, the game and
// what its errors are.
void writeJsonHead(JsonWriter& j, const RunDescription& run);
void writeEstimate(JsonWriter& j, const char* key, const sim::Estimate& e);
void writeDistribution(JsonWriter& j, const char* key, const sim::Distribution& d);
// The game; `withCut` for a shoe that is dealt (the simulator's).
void writeGame(JsonWriter& j, const sim::Settings& s, bool withCut = true);
void writeBankroll(JsonWriter& j, const sim::Settings& s);
// Where a session stops: stopWin and stopLoss, null when not set.
void writeStops(JsonWriter& j, const sim::Settings& s);
void writeCoups(JsonWriter& j, const sim::Settings& s, const sim::CoupCounts& c, long dealt);

// How the rounds or sessions ended: under "ends", each way by its name with
// its count (under `counted`) and share of `total`.
template <class End, std::size_t Kinds>
void writeEnds(
    JsonWriter& j, const std::array<long, Kinds>& ends, long total, EndName (*name)(End), const char* counted)
{
    j.key("ends").beginObject();
    for (std::size_t k = 0; k < Kinds; ++k) {
        j.key(name(static_cast<End>(k)).key).beginObject().key(counted).value(ends[k]);
        writeEstimate(j, "share", sim::shareOf(ends[k], total));
        j.endObject();
    }
    j.endObject();
}

} // namespace zelmar::report
