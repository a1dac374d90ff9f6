#include "tools/replay/ReplayCommand.h"

#include "cli/CommandLine.h"
#include "cli/RuleFolderOption.h"
#include "replay/EventScript.h"

namespace zelmar {

namespace {

const CommandSyntax Syntax { "zelmar-replay",
    "用法：zelmar-replay [--json] [--rules 目录] 事件\n"
    "      zelmar-replay [--json] [--rules 目录] -      （从标准输入逐行读取事件）\n"
    "事件：W 赢，L 输，B 后退，R 重来，S 重新加载规则；大小写均可，空格、逗号和换行被忽略。\n"
    "目录：放 winText.txt 和 lostText.txt 的文件夹，缺省与桌面程序相同：本程序所在的文件夹，\n"
    "      安装后为 $XDG_DATA_HOME/zelmar（通常是 ~/.local/share/zelmar）。\n"
    "--help 显示本说明，--version 显示版本号。\n",
    { { "--json" }, { "--rules", true } }, 1 };

} // namespace

int replayCommand(
    const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err)
{
    const auto read = readCommandLine(Syntax, args, out, err);
    if (const int* status = std::get_if<int>(&read))
        return *status;
    const CommandLine& line = std::get<CommandLine>(read);
    if (line.words().empty())
        return refuse(Syntax, err, "缺少事件。");
    const std::string& events = line.words().front();
    const bool json = line.has("--json");
    const std::string rules = ruleFolderOption(line, err);

    std::vector<Event> parsed;
    const bool fromInput = events == "-";
    if (!fromInput) {
        if (auto bad = parseEvents(events, parsed)) {
            err << describeBadEvent(*bad, "事件参数") << "\n";
            return 2;
        }
    }

    // Each step is out as soon as it is known: whoever feeds the events
    // line by line waits for it.
    Replayer replayer(rules, json);
    if (!json)
        out << replayTableHeader();
    out << replayer.start() << std::flush;
    const auto play = [&] {
        for (Event e : parsed)
            out << replayer.run(e) << std::flush;
    };
    if (!fromInput) {
        play();
        return 0;
    }
    std::string text;
    for (long lineNo = 1; std::getline(in, text); ++lineNo) {
        if (auto bad = parseEvents(text, parsed)) {
            err << describeBadEvent(*bad, "标准输入第 " + std::to_string(lineNo) + " 行") << "\n";
            return 2;
        }
        play();
    }
    return 0;
}

} // namespace zelmar
