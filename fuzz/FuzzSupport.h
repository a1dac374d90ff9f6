#pragma once
// What the fuzz targets share: rule files held in memory and a check that
// aborts with a message, so that libFuzzer saves the input that broke a
// property.

#include "engine/HeadlessView.h"
#include "engine/Round.h"
#include "rules/FileService.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace zelmar::fuzz {

[[noreturn]] inline void fail(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, what);
    std::abort();
}

#define FUZZ_CHECK(cond)                                                                                     \
    do {                                                                                                     \
        if (!(cond))                                                                                         \
            ::zelmar::fuzz::fail(#cond, __FILE__, __LINE__);                                                 \
    } while (0)

// Rule files that live in memory: reads see whatever text was put in; the
// save steps are not needed by the targets and refuse.
class MemoryFileService : public FileService {
public:
    void put(const std::string& path, std::string text) { m_files[path] = std::move(text); }

    int openRead(const std::string& path, int& fd) override
    {
        m_open.push_back(m_files[path]); // created empty when missing
        fd = static_cast<int>(m_open.size()) - 1;
        return 0;
    }
    int readAll(int fd, std::string& out) override
    {
        out = m_open.at(static_cast<std::size_t>(fd));
        return 0;
    }
    int createTemp(const std::string&, int&, std::string&) override { return EROFS; }
    int write(int, std::string_view) override { return EROFS; }
    int flush(int) override { return EROFS; }
    int close(int) override { return 0; }
    int move(const std::string&, const std::string&) override { return EROFS; }
    void removeQuietly(const std::string&) override { }
    std::string saveTarget(const std::string& path) override { return path; }
    int checkLink(const std::string&) override { return 0; }

private:
    std::map<std::string, std::string> m_files;
    std::vector<std::string> m_open;
};

} // namespace zelmar::fuzz
