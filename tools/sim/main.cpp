// zelmar-sim: what a progression does over many rounds, played through the
// calculator's own engine, and what its rules imply exactly. The first
// argument names the command.

#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "tools/sim/CheckCommand.h"
#include "tools/sim/ExactCommand.h"
#include "tools/sim/RunCommand.h"

#include <iostream>

namespace {

const zelmar::CommandSyntax Syntax { "zelmar-sim",
    "用法：zelmar-sim 命令 [选项]\n"
    "  run     一局一局地模拟，统计输赢、手数、注码和最深的亏损\n"
    "  check   不靠运气，算出两条规则本身意味着什么\n"
    "  compare 两套规则在同样的手上比一比\n"
    "  exact   不抽样，精确算出一局（或一场）的各种机会\n"
    "用 zelmar-sim 命令 --help 查看每个命令的选项，zelmar-sim --version 显示版本号。\n",
    {}, 1 };

} // namespace

int main(int argc, char** argv)
{
    zelmar::PrepareConsole(argc, argv);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const std::vector<std::string> commandArgs(args.begin() + (args.empty() ? 0 : 1), args.end());
    const std::string command = args.empty() ? "" : args.front();
    if (command == "run")
        return zelmar::runCommand(commandArgs, std::cout, std::cerr);
    if (command == "compare")
        return zelmar::compareCommand(commandArgs, std::cout, std::cerr);
    if (command == "exact")
        return zelmar::exactCommand(commandArgs, std::cout, std::cerr);
    if (command == "check")
        return zelmar::checkCommand(commandArgs, std::cout, std::cerr);
    const auto read = zelmar::readCommandLine(Syntax, args, std::cout, std::cerr);
    if (const int* status = std::get_if<int>(&read))
        return *status;
    return zelmar::refuse(Syntax, std::cerr, command.empty() ? "缺少命令。" : "无法识别的命令：" + command);
}
