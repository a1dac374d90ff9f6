#include "tools/replay/ReplayCommand.h"

#include <iostream>

int main(int argc, char** argv)
{
    return zelmar::replayCommand({ argv + 1, argv + argc }, std::cin, std::cout, std::cerr);
}
