#pragma once
// zelmar-sim run: reads its options, plays the rounds and prints what
// happened. `args` are the words after "run". Returns the exit status: 0
// done, 2 bad input, 130 stopped by Ctrl-C (the figures of the finished
// rounds are printed all the same), 1 when the CSV file or the chart could
// not be written at the end.

#include <ostream>
#include <string>
#include <vector>

namespace zelmar {

int runCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace zelmar
