#pragma once
// Rule files held in memory, for the robustness tests and the fuzz targets.
// Any one step of reading or saving can be made to fail with EIO for one
// file (its new copy beside it counts as the file); what a save leaves
// behind shows in `files`.

#include "rules/FileService.h"

#include <cerrno>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace zelmar {

// `Open` is the read side's open (which creates a missing file), `Create`
// the save side's new file beside it.
enum class Step { Open, Read, Create, Write, Flush, Move };

inline void PrintTo(Step step, std::ostream* out)
{
    static const char* const names[] = { "open", "read", "create", "write", "flush", "move" };
    *out << names[static_cast<int>(step)];
}

class MemoryFileService : public FileService {
public:
    std::map<std::string, std::string> files;
    // While `failFile` is not empty, `failStep` fails for paths holding it.
    Step failStep = Step::Open;
    std::string failFile;

    int openRead(const std::string& path, int& fd) override
    {
        if (hits(Step::Open, path))
            return EIO;
        files.try_emplace(path);
        return open(path, fd);
    }
    int readAll(int fd, std::string& out) override
    {
        if (hits(Step::Read, pathOf(fd)))
            return EIO;
        out = files.at(pathOf(fd));
        return 0;
    }
    int createTemp(const std::string& path, int& fd, std::string& tempPath) override
    {
        if (hits(Step::Create, path))
            return EIO;
        tempPath = path + SavingSuffix + std::to_string(m_open.size());
        files[tempPath].clear();
        return open(tempPath, fd);
    }
    int write(int fd, std::string_view data) override
    {
        // A failing write gets half the text in first, as on a disk filling up.
        const bool fails = hits(Step::Write, pathOf(fd));
        files.at(pathOf(fd)) += data.substr(0, fails ? data.size() / 2 : data.size());
        return fails ? EIO : 0;
    }
    int flush(int fd) override { return hits(Step::Flush, pathOf(fd)) ? EIO : 0; }
    int close(int) override { return 0; }
    int move(const std::string& from, const std::string& to) override
    {
        if (hits(Step::Move, to))
            return EIO;
        files[to] = files.at(from);
        files.erase(from);
        return 0;
    }
    void removeQuietly(const std::string& path) override { files.erase(path); }
    std::string saveTarget(const std::string& path) override { return path; }
    int checkLink(const std::string&) override { return 0; }

private:
    bool hits(Step step, const std::string& path)
    {
        return !failFile.empty() && step == failStep && path.find(failFile) != std::string::npos;
    }
    int open(const std::string& path, int& fd)
    {
        fd = static_cast<int>(m_open.size());
        m_open.push_back(path);
        return 0;
    }
    const std::string& pathOf(int fd) const { return m_open.at(static_cast<std::size_t>(fd)); }

    std::vector<std::string> m_open; // the path of each descriptor handed out
};

} // namespace zelmar
