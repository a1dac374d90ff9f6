#pragma once
// What the fuzz targets share: rule files held in memory, a view that keeps
// the grid state and remembers what one event showed, and a check that
// aborts with a message, so that libFuzzer saves the input that broke a
// property.

#include "engine/Round.h"
#include "engine/SequenceGrid.h"
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

// Keeps the grids as the window would and counts what the current event
// showed; forget() starts a new event.
class RecordingView : public RoundView {
public:
    void ShowTotals(i16 score, i16 stake) override
    {
        shownScore = score;
        shownStake = stake;
        ++calls;
    }
    void ShowCursor(const CursorMarks& c) override
    {
        grids.ShowCursor(c);
        ++calls;
    }
    void ClearMarks(char direction) override
    {
        grids.ClearMarks(direction);
        ++calls;
    }
    void FillGrids(const WinSeqPtr& w, const LostTablePtr& l) override
    {
        grids.FillGrids(w, l);
        ++fills;
    }
    void Notice(const std::string& text) override { notices.push_back(text); }
    bool Question(const std::string&, const std::string&) override { return true; }
    void ReportFailure(const std::string& text) override { failures.push_back(text); }

    void forget()
    {
        calls = 0;
        fills = 0;
        notices.clear();
        failures.clear();
    }

    SequenceGrids grids;
    long shownScore = 0;
    long shownStake = 0;
    int calls = 0;
    int fills = 0;
    std::vector<std::string> notices;
    std::vector<std::string> failures;
};

} // namespace zelmar::fuzz
