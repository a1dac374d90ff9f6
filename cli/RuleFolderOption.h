#pragma once
// The folder of the two rule files for a tool: the one given with --rules,
// or else the one the calculator itself would use (rules/RuleFolder.h),
// whose reports then go to `err`.

#include "cli/CommandLine.h"

#include <ostream>
#include <string>

namespace zelmar {

std::string ruleFolderOption(const CommandLine& line, std::ostream& err);

} // namespace zelmar
