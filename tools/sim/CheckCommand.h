#pragma once
// `zelmar-sim check [--rules DIR] [--json]`: reads the two rule files as the
// calculator does and states exactly what they imply (sim/RuleCheck.h), in
// Chinese or as one JSON object. Positions in both count from 1, as a user
// counts the items and lines of the rule files.

#include "sim/RuleCheck.h"

#include <ostream>
#include <string>
#include <vector>

namespace zelmar {

// `args` are the words after "check". Returns the exit status: 0 with the
// report on `out`; 1 when `out` could not take it; 2 with the reason on
// `err` when a rule file is missing, empty or malformed, or an option is not
// understood.
int checkCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

std::string CheckReportText(const sim::RuleCheck& check);
// The report's first lines: the worst case of a round, in plain words.
std::string CheckHeadline(const sim::RuleCheck& check);
// Why an unreachable cell never takes part in a round, as the report says it.
std::string UnreachedReason(const sim::DeadCell& cell, const sim::RuleCheck& check);
std::string CheckReportJson(const sim::RuleCheck& check);

} // namespace zelmar
