#include "cli/RuleFolderOption.h"

#include "cli/ExecutableDir.h"
#include "rules/RuleFolder.h"

namespace zelmar {

std::string ruleFolderOption(const CommandLine& line, std::ostream& err)
{
    if (const std::string* given = line.value("--rules"))
        return *given;
    const RuleFolderChoice choice = ChooseRuleFolder(executableDir());
    for (const std::string& report : choice.reports)
        err << report << "\n";
    return choice.folder;
}

} // namespace zelmar
