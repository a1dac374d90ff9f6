#pragma once
// Shared by the robustness tests: a private folder of rule files, a file
// service that fails one chosen step for one chosen file, and a view that
// keeps what the round reported.

#include "engine/HeadlessView.h"
#include "engine/Round.h"
#include "engine/SequenceGrid.h"
#include "rules/FileService.h"
#include "rules/RuleFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace zelmar::robust {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed afterwards.
class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "zelmar-robust-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        m_path = pattern;
    }
    ~TempFolder()
    {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const fs::path& path() const { return m_path; }
    std::string operator/(const char* name) const { return (m_path / name).string(); }

    // Names of everything in the folder, sorted.
    std::set<std::string> entries() const
    {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(m_path))
            names.insert(e.path().filename().string());
        return names;
    }

private:
    fs::path m_path;
};

inline void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The steps a rule file goes through; `Open` is the read side's open (which
// creates a missing file), `Create` the save side's new file beside it.
enum class Step { Open, Read, Create, Write, Flush, Move };

inline const char* stepName(Step s)
{
    switch (s) {
    case Step::Open:
        return "open";
    case Step::Read:
        return "read";
    case Step::Create:
        return "create";
    case Step::Write:
        return "write";
    case Step::Flush:
        return "flush";
    case Step::Move:
        return "move";
    }
    return "?";
}

// The real file service, except that one step fails with `error` for paths
// that contain `fileName` (a file's temporary copy counts as the file).
class FailingFileService : public PosixFileService {
public:
    FailingFileService(Step step, std::string fileName, int error = EIO)
        : m_step(step)
        , m_fileName(std::move(fileName))
        , m_error(error)
    {
    }

    bool armed = true;
    int failures = 0;

    int openRead(const std::string& path, int& fd) override
    {
        if (hits(Step::Open, path))
            return m_error;
        const int e = PosixFileService::openRead(path, fd);
        if (e == 0)
            remember(fd, path);
        return e;
    }
    int readAll(int fd, std::string& out) override
    {
        return hits(Step::Read, pathOf(fd)) ? m_error : PosixFileService::readAll(fd, out);
    }
    int createTemp(const std::string& path, int& fd, std::string& tempPath) override
    {
        if (hits(Step::Create, path))
            return m_error;
        const int e = PosixFileService::createTemp(path, fd, tempPath);
        if (e == 0)
            remember(fd, path);
        return e;
    }
    int write(int fd, std::string_view data) override
    {
        if (hits(Step::Write, pathOf(fd))) {
            // Half the text reaches the file first, as when a disk fills up.
            PosixFileService::write(fd, data.substr(0, data.size() / 2));
            return m_error;
        }
        return PosixFileService::write(fd, data);
    }
    int flush(int fd) override
    {
        return hits(Step::Flush, pathOf(fd)) ? m_error : PosixFileService::flush(fd);
    }
    int close(int fd) override
    {
        m_open.erase(
            std::remove_if(m_open.begin(), m_open.end(), [fd](const auto& e) { return e.first == fd; }),
            m_open.end());
        return PosixFileService::close(fd);
    }
    int move(const std::string& from, const std::string& to) override
    {
        return hits(Step::Move, to) ? m_error : PosixFileService::move(from, to);
    }

private:
    bool hits(Step step, const std::string& path)
    {
        if (!armed || step != m_step || path.find(m_fileName) == std::string::npos)
            return false;
        ++failures;
        return true;
    }
    void remember(int fd, const std::string& path) { m_open.emplace_back(fd, path); }
    std::string pathOf(int fd) const
    {
        for (const auto& [open, path] : m_open)
            if (open == fd)
                return path;
        return {};
    }

    Step m_step;
    std::string m_fileName;
    int m_error;
    std::vector<std::pair<int, std::string>> m_open;
};

inline std::vector<i16> valuesOf(const WinSeqPtr& seq)
{
    return seq ? seq->values() : std::vector<i16> {};
}

inline std::vector<std::vector<i16>> rowsOf(const LostTablePtr& t)
{
    std::vector<std::vector<i16>> rows;
    for (int r = 0; t && r < t->rows(); ++r) {
        rows.emplace_back();
        for (int c = 0; c < t->cols(); ++c)
            rows.back().push_back(t->cell(r, c));
    }
    return rows;
}

} // namespace zelmar::robust
