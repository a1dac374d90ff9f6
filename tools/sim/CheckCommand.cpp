#include "tools/sim/CheckCommand.h"

#include "cli/CommandLine.h"
#include "cli/RuleFolderOption.h"
#include "report/CheckReport.h"
#include "sim/SimRules.h"

namespace zelmar {

namespace {

const CommandSyntax Syntax { "zelmar-sim",
    "用法：zelmar-sim check [--rules 目录] [--json]\n"
    "读取 winText.txt 和 lostText.txt，不靠运气，准确地算出这两条规则意味着什么：\n"
    "要多少本钱才能打完任何一局，赢的方向最多连赢几手，两个方向上最大的注码、\n"
    "结束的一局最好和最坏的得分，以及让一局输个没完的循环。\n"
    "  --rules 目录  放两个规则文件的文件夹，缺省为本程序所在的文件夹\n"
    "  --json        以一个 JSON 对象输出同样的数字（位置从 1 数起）\n"
    "  --help        显示本说明\n"
    "  --version     显示版本号\n",
    { { "--json" }, { "--rules", true } } };

} // namespace

int checkCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const auto read = readCommandLine(Syntax, args, out, err);
    if (const int* status = std::get_if<int>(&read))
        return *status;
    const CommandLine& line = std::get<CommandLine>(read);
    const bool json = line.has("--json");
    const std::string folder = ruleFolderOption(line, err);

    const auto rules = loadSimRules(folder);
    if (const auto* reports = std::get_if<std::string>(&rules)) {
        err << *reports << "\n";
        return 2;
    }
    const SimRules& loaded = std::get<SimRules>(rules);
    const sim::RuleCheck check = sim::CheckRules(*loaded.winSeq, *loaded.lostTable);
    out << (json ? CheckReportJson(check) : CheckReportText(check));
    out.flush();
    if (!out) {
        err << "写入标准输出时出错：报告没有完整写出\n";
        return 1;
    }
    return 0;
}

} // namespace zelmar
