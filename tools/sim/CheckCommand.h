#pragma once
// `zelmar-sim check [--rules DIR] [--json]`: reads the two rule files as the
// calculator does and states exactly what they imply (report/CheckReport.h).

#include <ostream>
#include <string>
#include <vector>

namespace zelmar {

// `args` are the words after "check". Returns the exit status: 0 with the
// report on `out`; 1 when `out` could not take it; 2 with the reason on
// `err` when a rule file is missing, empty or malformed, or an option is not
// understood.
int checkCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace zelmar
