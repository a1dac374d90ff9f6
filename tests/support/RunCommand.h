#pragma once
// Runs a shell command line to its end and keeps what it printed and its
// exit status, for the tests that drive the real command-line tools.

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace zelmar::test {

struct CommandRun {
    int status = -1;
    std::string out;
};

inline CommandRun runCommand(const std::string& command)
{
    CommandRun r;
    FILE* p = ::popen(command.c_str(), "r");
    if (p == nullptr)
        return r;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        r.out.append(buf, n);
    const int status = ::pclose(p);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

} // namespace zelmar::test
