#pragma once
// Loading both rule files into the round: read, parse the non-empty texts,
// set rulesMissing, rebuild the grids. A text that cannot be read or parsed
// is reported through the view; its table keeps what it held and
// rulesMissing becomes 1, while the other file still loads.

#include "RuleFiles.h"
#include "engine/Round.h"

namespace zelmar {

void LoadRules(Round& round, const RuleFiles& files);

// The start of the program: load the rules, put the round at the origin and
// show stake 1 and score 0.
void StartUp(Round& round, const RuleFiles& files);

} // namespace zelmar
