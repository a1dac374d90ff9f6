#include "tools/sim/SimRules.h"

#include "rules/RuleFiles.h"
#include "rules/RuleFolder.h"
#include "rules/RuleParser.h"
#include "rules/Utf8Path.h"

#include "tools/common/ExecutableDir.h"

#include <cstdio>
#include <filesystem>

namespace zelmar {

namespace {

template <typename Table, typename Parse>
std::variant<std::shared_ptr<const Table>, std::string> readRule(const RuleFiles& files,
    ReadResult (RuleFiles::*readText)() const, const std::string& path, const char* name, Parse parse)
{
    std::error_code ec;
    if (!std::filesystem::exists(PathFromUtf8(path), ec))
        return "找不到规则文件 " + path;
    const ReadResult read = (files.*readText)();
    if (read.error)
        return *read.error;
    if (read.text.empty())
        return std::string("规则未设置好：") + path + " 是空的";
    auto parsed = parse(read.text);
    if (!parsed.ok())
        return describe(name, parsed.error());
    return std::make_shared<const Table>(std::move(parsed.table()));
}

} // namespace

std::variant<SimRules, std::string> loadSimRules(const std::string& folder)
{
    const RuleFiles files(folder);
    auto win = readRule<WinSeq>(files, &RuleFiles::ReadWinText, files.winPath(), WinFileName, ParseWinRule);
    auto lost
        = readRule<LostTable>(files, &RuleFiles::ReadLostText, files.lostPath(), LostFileName, ParseLostRule);
    std::string reports;
    for (const std::string* report : { std::get_if<std::string>(&win), std::get_if<std::string>(&lost) }) {
        if (report)
            reports += (reports.empty() ? "" : "\n") + *report;
    }
    if (!reports.empty())
        return reports;
    return SimRules { std::get<0>(std::move(win)), std::get<0>(std::move(lost)) };
}

std::string defaultRuleFolder(const char* argv0)
{
    const RuleFolderChoice choice = ChooseRuleFolder(executableDir(argv0));
    for (const std::string& report : choice.reports)
        std::fprintf(stderr, "%s\n", report.c_str());
    return choice.folder;
}

} // namespace zelmar
