#pragma once
// The options of zelmar-sim run and compare, and how they become the
// simulator's settings: the one translation from a command line, used by
// the command and by the analysis window, which states its request as the
// command line that gives the same figures.

#include "cli/CommandLine.h"
#include "sim/Simulation.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace zelmar {

extern const CommandSyntax RunSyntax;
extern const CommandSyntax CompareSyntax; // takes --rules twice

struct SimOptions {
    sim::Settings settings; // without rules
    bool json = false;
    std::string csv; // empty: none
    std::string plot; // empty: none
    int plotWidth = 1600;
    int plotHeight = 1000;
};

// The options of a command line read with RunSyntax or CompareSyntax, or why
// they are refused.
std::variant<SimOptions, std::string> simOptionsOf(const CommandLine& line);
// The same for the words after "zelmar-sim": "run" or "compare" and their
// options, as a window states them.
std::variant<SimOptions, std::string> simOptionsOfWords(const std::vector<std::string>& words);

// The options of zelmar-sim exact read into `s`, as run reads the same
// ones (its --sessions takes no count); the reason when one is refused.
std::optional<std::string> readExactOptions(const CommandLine& line, sim::Settings& s);

// Why the bankroll of settings with their rules cannot be played: it cannot
// place the first stake of a round.
std::optional<std::string> bankrollProblem(const sim::Settings& s);

} // namespace zelmar
