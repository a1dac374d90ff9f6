// zelmar-replay: runs a recorded sequence of hands through the rules and
// shows, step by step, what the calculator would have staked and scored.

#include "rules/RuleFolder.h"
#include "tools/common/Console.h"
#include "tools/common/ExecutableDir.h"
#include "tools/replay/EventScript.h"

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

namespace {

const char* const Usage
    = "用法：zelmar-replay [--json] [--rules 目录] 事件\n"
      "      zelmar-replay [--json] [--rules 目录] -      （从标准输入逐行读取事件）\n"
      "事件：W 赢，L 输，B 后退，R 重来，S 重新加载规则；大小写均可，空格、逗号和换行被忽略。\n"
      "目录：放 winText.txt 和 lostText.txt 的文件夹，缺省与桌面程序相同：本程序所在的文件夹，\n"
      "      安装后为 $XDG_DATA_HOME/zelmar（通常是 ~/.local/share/zelmar）。\n";

void emit(const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    zelmar::PrepareConsole(argc, argv);
    bool json = false;
    std::string rules;
    std::string events;
    bool haveEvents = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--json") {
            json = true;
        } else if (arg == "--rules" && i + 1 < argc) {
            rules = argv[++i];
        } else if (arg == "--help" || arg == "-h") {
            std::fputs(Usage, stdout);
            return 0;
        } else if (!haveEvents && (arg == "-" || arg.rfind("--", 0) != 0)) {
            events = arg;
            haveEvents = true;
        } else {
            std::fprintf(stderr, "无法识别的参数：%s\n%s", arg.c_str(), Usage);
            return 2;
        }
    }
    if (!haveEvents) {
        std::fputs(Usage, stderr);
        return 2;
    }
    if (rules.empty()) {
        const zelmar::RuleFolderChoice choice = zelmar::ChooseRuleFolder(zelmar::executableDir(argv[0]));
        for (const std::string& report : choice.reports)
            std::fprintf(stderr, "%s\n", report.c_str());
        rules = choice.folder;
    }

    std::vector<zelmar::Event> parsed;
    const bool fromInput = events == "-";
    if (!fromInput) {
        if (auto bad = zelmar::parseEvents(events, parsed)) {
            std::fprintf(stderr, "%s\n", zelmar::describeBadEvent(*bad, "事件参数").c_str());
            return 2;
        }
    }

    zelmar::Replayer replayer(rules, json);
    if (!json)
        emit(zelmar::replayTableHeader());
    emit(replayer.start());
    if (!fromInput) {
        for (zelmar::Event e : parsed)
            emit(replayer.run(e));
        return 0;
    }
    std::string line;
    for (long lineNo = 1; std::getline(std::cin, line); ++lineNo) {
        if (auto bad = zelmar::parseEvents(line, parsed)) {
            std::fprintf(stderr, "%s\n",
                zelmar::describeBadEvent(*bad, "标准输入第 " + std::to_string(lineNo) + " 行").c_str());
            return 2;
        }
        for (zelmar::Event e : parsed)
            emit(replayer.run(e));
    }
    return 0;
}
