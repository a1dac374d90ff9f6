#pragma once
// The rules the analysis window shows: read from a folder as zelmar-sim
// reads them (nothing is created, every problem is reported at once, by
// file, line and item) and checked exactly, without chance. The risky cells
// are listed with the reason a user reads on them.

#include "sim/RuleCheck.h"
#include "sim/SimRules.h"

#include <optional>
#include <string>
#include <vector>

namespace zelmar {

enum class Risk {
    LossCycle, // losing here and winning on the next cell loses without end
    EvenLoop, // the same, at no cost: the round may never end
    Unreachable, // no round ever stakes this cell
};

struct RiskyCell {
    int row = 0; // 0 for the win sequence
    int col = 0;
    Risk risk = Risk::Unreachable;
    std::string why;
};

struct RuleReview {
    std::string folder;
    std::optional<SimRules> rules; // nullopt when a file could not be read
    std::string reports; // why not, one report a line
    std::optional<sim::RuleCheck> check;
    // The worst case in plain words and the largest stake; empty without rules.
    std::string summary;
    std::vector<RiskyCell> winCells;
    std::vector<RiskyCell> lostCells; // a cell may be listed once per loop it belongs to
};

RuleReview reviewRules(const std::string& folder);

} // namespace zelmar
