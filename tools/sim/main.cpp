// zelmar-sim: what a progression does over many rounds, played through the
// calculator's own engine, and what its rules imply exactly. The first
// argument names the command.

#include "tools/common/Console.h"
#include "tools/sim/CheckCommand.h"
#include "tools/sim/RunCommand.h"
#include "tools/sim/SimRules.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace {

const char* const Usage = "用法：zelmar-sim 命令 [选项]\n"
                          "  run     一局一局地模拟，统计输赢、手数、注码和最深的亏损\n"
                          "  check   不靠运气，算出两条规则本身意味着什么\n"
                          "用 zelmar-sim 命令 --help 查看每个命令的选项。\n";

} // namespace

int main(int argc, char** argv)
{
    zelmar::PrepareConsole(argc, argv);
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "run")
        return zelmar::runCommand(argc - 2, argv + 2, argv[0]);
    if (command == "check") {
        const std::vector<std::string> args(argv + 2, argv + argc);
        const bool folderGiven = std::find(args.begin(), args.end(), "--rules") != args.end();
        return zelmar::CheckCommand(
            args, std::cout, std::cerr, folderGiven ? std::string() : zelmar::defaultRuleFolder(argv[0]));
    }
    if (command == "--help" || command == "-h") {
        std::fputs(Usage, stdout);
        return 0;
    }
    if (command.empty())
        std::fputs("缺少命令。\n", stderr);
    else
        std::fprintf(stderr, "无法识别的命令：%s\n", command.c_str());
    std::fputs(Usage, stderr);
    return 2;
}
