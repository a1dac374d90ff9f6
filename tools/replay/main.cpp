#include "cli/Console.h"
#include "tools/replay/ReplayCommand.h"

#include <iostream>

int main(int argc, char** argv)
{
    zelmar::PrepareConsole(argc, argv);
    return zelmar::replayCommand({ argv + 1, argv + argc }, std::cin, std::cout, std::cerr);
}
