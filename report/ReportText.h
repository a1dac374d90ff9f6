#pragma once
// The words and numbers every report of the simulator shares: the game in a
// sentence, numbers with their standard errors, and the names of the ways a
// round or a session ends, as the text, the JSON, the CSV and the analysis
// window all name them.

#include "sim/Simulation.h"

#include <string>

namespace zelmar {

namespace sim {
struct Estimate;
}

// What the run was asked to do, as the report states it.
struct RunDescription {
    sim::Settings settings;
    std::string rulesFolder;
    bool interrupted = false;
};

// The game in a sentence; `withCut` for a shoe that is dealt (the simulator's).
std::string describeGame(const sim::Settings& s, bool withCut = true);
// A number with up to `decimals` places, no trailing zeros, never "-0".
std::string fixed(double v, int decimals = 2);
// "value ± error", both to the places the error calls for.
std::string withError(const sim::Estimate& e, double factor = 1, const char* suffix = "");

struct EndName {
    const char* text; // in the report, the CSV and the window
    const char* key; // in JSON
};
EndName endName(sim::RoundEnd e);
EndName sessionEndName(sim::SessionEnd e);

} // namespace zelmar
