#pragma once
// Reading the two rule files for zelmar-sim: from the given folder or the
// program's own, with the program's reports for a file it cannot read or a
// text it cannot parse. Unlike the calculator, zelmar-sim does not create
// missing files or work on empty rules: either is a report too. Both files
// are read, so that every problem is reported at once.

#include "engine/Tables.h"

#include <string>
#include <variant>

namespace zelmar {

struct SimRules {
    WinSeqPtr winSeq;
    LostTablePtr lostTable;
};

// The rules, or the reports, one line each.
std::variant<SimRules, std::string> loadSimRules(const std::string& folder);

} // namespace zelmar
