#include "sim/SimRules.h"

#include "rules/LoadRule.h"
#include "rules/RuleFiles.h"
#include "rules/Utf8Path.h"

#include <filesystem>

namespace zelmar {

namespace {

// The calculator's own reading of one rule file, where a missing or empty
// file is a report too. A missing file is not read: reading creates it.
template <typename Table, typename Load>
std::shared_ptr<const Table> readRule(const std::string& path, Load load, std::string& reports)
{
    std::error_code ec;
    std::string report;
    LoadedRule<Table> rule;
    if (!std::filesystem::exists(PathFromUtf8(path), ec)) {
        report = "找不到规则文件 " + path;
    } else {
        rule = load();
        if (rule.report)
            report = *rule.report;
        else if (rule.empty())
            report = "规则未设置好：" + path + " 是空的";
    }
    if (report.empty())
        return rule.table;
    reports += (reports.empty() ? "" : "\n") + report;
    return nullptr;
}

} // namespace

std::variant<SimRules, std::string> loadSimRules(const std::string& folder)
{
    const RuleFiles files(folder);
    std::string reports;
    SimRules rules;
    rules.winSeq = readRule<WinSeq>(
        files.winPath(), [&] { return LoadWinRule(files.ReadWinText()); }, reports);
    rules.lostTable = readRule<LostTable>(
        files.lostPath(), [&] { return LoadLostRule(files.ReadLostText()); }, reports);
    if (!reports.empty())
        return reports;
    return rules;
}

} // namespace zelmar
