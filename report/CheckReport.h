#pragma once
// What the exact check of two rules (sim/RuleCheck.h) says, in Chinese or as
// one JSON object, for zelmar-sim check and the analysis window. Positions in
// both count from 1, as a user counts the items and lines of the rule files.

#include "sim/RuleCheck.h"

#include <string>

namespace zelmar {

std::string CheckReportText(const sim::RuleCheck& check);
// The report's first lines: the worst case of a round, in plain words.
std::string CheckHeadline(const sim::RuleCheck& check);
// Why an unreachable cell never takes part in a round, as the report says it.
std::string UnreachedReason(const sim::DeadCell& cell, const sim::RuleCheck& check);
std::string CheckReportJson(const sim::RuleCheck& check);

} // namespace zelmar
