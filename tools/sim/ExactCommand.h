#pragma once
// zelmar-sim exact: the exact figures of a round, or of sessions, on
// independent hands. `args` are the words after the command's name. Returns
// the exit status: 0 done, 1 a write failed (the report or the CSV file),
// 2 bad input (and sessions too large to work out), 130 stopped by Ctrl-C.

#include <ostream>
#include <string>
#include <vector>

namespace zelmar {

int exactCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace zelmar
