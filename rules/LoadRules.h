#pragma once
// Loading both rule files into the round: read, parse the non-empty texts,
// set rulesMissing, rebuild the grids. A text that cannot be read or parsed
// is handed to `report`; its table keeps what it held and rulesMissing
// becomes 1, while the other file still loads.

#include "engine/Round.h"
#include "rules/RuleFiles.h"

#include <functional>
#include <string>

namespace zelmar {

using ReportFailure = std::function<void(const std::string&)>;

void LoadRules(Round& round, const RuleFiles& files, const ReportFailure& report);

// The start of the program: load the rules, put the round at the origin and
// show stake 1 and score 0.
void StartUp(Round& round, const RuleFiles& files, const ReportFailure& report);

} // namespace zelmar
