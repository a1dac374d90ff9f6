#include "cli/Console.h"

#include <unistd.h>

namespace zelmar {

void PrepareConsole(int&, char**&)
{
}

bool StderrIsConsole()
{
    return ::isatty(STDERR_FILENO) == 1;
}

} // namespace zelmar
