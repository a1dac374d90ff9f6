#pragma once
// zelmar-sim run and compare: read their options, play the rounds (or the
// sessions) and print what happened. `args` are the words after the
// command's name. Each returns the exit status: 0 done, 1 a write failed
// (the report, the CSV file or the chart), 2 bad input, 130 stopped by
// Ctrl-C (the figures of what was finished are printed all the same).

#include <ostream>
#include <string>
#include <vector>

namespace zelmar {

int runCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Two rule folders, given as --rules A --rules B, on the same hands.
int compareCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace zelmar
