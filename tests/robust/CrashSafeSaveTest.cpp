// A save of both rule files cut off by the death of the program at each of
// its steps in turn: creating each new file, each piece written, the flush,
// the close and each move. A child process saves through a file service that
// kills its own process (SIGKILL; TerminateProcess on Windows; no clean-up
// of any kind) at step k; the parent then finds each rule file holding its
// whole old or its whole new text, and the next start leaving nothing else
// in the folder.

#include "tests/robust/RobustSupport.h"

#include <array>
#include <csignal>
#include <cstdlib>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace zelmar::robust {
namespace {

#ifdef _WIN32
constexpr UINT KilledCode = 137;
[[noreturn]] void dieNow()
{
    ::TerminateProcess(::GetCurrentProcess(), KilledCode);
    std::abort();
}
#else
[[noreturn]] void dieNow()
{
    ::raise(SIGKILL);
    std::abort();
}
#endif

class DyingFileService : public SystemFileService {
public:
    explicit DyingFileService(int dieAt)
        : m_dieAt(dieAt)
    {
    }

    int createTemp(const std::string& path, int& fd, std::string& tempPath) override
    {
        step();
        return SystemFileService::createTemp(path, fd, tempPath);
    }
    // In pieces, so that the program can die with a file half-written.
    static constexpr std::size_t Piece = 4096;
    int write(int fd, std::string_view data) override
    {
        for (std::size_t at = 0; at < data.size(); at += Piece) {
            step();
            if (int e = SystemFileService::write(fd, data.substr(at, Piece)))
                return e;
        }
        return 0;
    }
    int flush(int fd) override
    {
        step();
        return SystemFileService::flush(fd);
    }
    int close(int fd) override
    {
        step();
        return SystemFileService::close(fd);
    }
    int move(const std::string& from, const std::string& to) override
    {
        step();
        return SystemFileService::move(from, to);
    }

private:
    void step()
    {
        if (m_steps++ == m_dieAt)
            dieNow();
    }

    int m_dieAt;
    int m_steps = 0;
};

std::string ruleText(const std::string& item, const std::string& separator, int count)
{
    std::string text = item;
    for (int i = 1; i < count; ++i)
        text += separator + item;
    return text;
}

// Old and new text of each file, several pieces long: [file][new].
using Texts = std::array<std::array<std::string, 2>, 2>;
const Texts& texts()
{
    static const Texts all { { { ruleText("1", ",", 6000), ruleText("22", ",", 5000) },
        { ruleText("1,2,3", "\r\n", 3000), ruleText("4,5", "\r\n", 4000) } } };
    return all;
}

// The child's whole work: save both new texts, dying at `step`.
[[noreturn]] void saveAndExit(const std::string& folder, int step)
{
    DyingFileService dying(step);
    const RuleFiles saving(folder, dying);
    std::_Exit(saving.SaveRuleTexts(texts()[0][1], texts()[1][1]) ? 1 : 0);
}

struct ChildEnd {
    bool killed = false;
    int exitCode = -1;
};

#ifdef _WIN32
// The test program itself is the child: started with these variables set,
// it saves and ends before any test runs.
const wchar_t* const FolderVariable = L"ZELMAR_CRASH_SAVE_FOLDER";
const wchar_t* const StepVariable = L"ZELMAR_CRASH_SAVE_STEP";
const bool childSaves = [] {
    const wchar_t* folder = ::_wgetenv(FolderVariable);
    const wchar_t* step = ::_wgetenv(StepVariable);
    if (folder && step && *step)
        saveAndExit(fs::path(folder).string(), std::stoi(step));
    return false;
}();

ChildEnd saveInChild(const fs::path& folder, int step)
{
    wchar_t self[32768];
    const DWORD n = ::GetModuleFileNameW(nullptr, self, 32768);
    if (n == 0 || n == 32768)
        throw std::runtime_error("GetModuleFileNameW failed");
    std::wstring command = L"\"" + std::wstring(self) + L"\"";
    ::_wputenv_s(FolderVariable, folder.c_str());
    ::_wputenv_s(StepVariable, std::to_wstring(step).c_str());
    STARTUPINFOW startup {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process {};
    const BOOL started = ::CreateProcessW(
        self, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    ::_wputenv_s(StepVariable, L"");
    if (!started)
        throw std::runtime_error("CreateProcessW failed");
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return { code == KilledCode, static_cast<int>(code) };
}
#else
ChildEnd saveInChild(const fs::path& folder, int step)
{
    const pid_t child = ::fork();
    if (child < 0)
        throw std::runtime_error("fork failed");
    if (child == 0)
        saveAndExit(folder.string(), step);
    int status = 0;
    if (::waitpid(child, &status, 0) != child)
        throw std::runtime_error("waitpid failed");
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
        return { true, -1 };
    return { false, WIFEXITED(status) ? WEXITSTATUS(status) : -1 };
}
#endif

std::vector<std::string> entries(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(CrashSafeSave, deathAtEveryStepLeavesEachFileWholeOldOrWholeNew)
{
    TempFolder folder;
    const RuleFiles files(folder.path.string());
    const std::string paths[2] = { files.winPath(), files.lostPath() };
    const Texts& text = texts();

    bool seen[2][2] = {}; // [file][new]
    int step = 0;
    for (;; ++step) {
        ASSERT_LT(step, 200) << "a save of both files never completed";
        writeFile(paths[0], text[0][0]);
        writeFile(paths[1], text[1][0]);
        const ChildEnd end = saveInChild(folder.path, step);
        const bool completed = !end.killed;
        if (completed) {
            ASSERT_EQ(end.exitCode, 0) << "the save failed";
        }

        for (int f = 0; f < 2; ++f) {
            const std::string now = readFile(paths[f]);
            ASSERT_TRUE(now == text[f][0] || now == text[f][1])
                << "death at step " << step << ": " << paths[f] << " holds " << now.size() << " bytes";
            seen[f][now == text[f][1]] = true;
            if (completed) {
                EXPECT_EQ(now, text[f][1]);
            }
        }
        files.RemoveLeftoverSaves(); // as the next start does
        ASSERT_EQ(entries(folder.path), (std::vector<std::string> { "lostText.txt", "winText.txt" }))
            << "after death at step " << step;
        if (completed)
            break;
    }
    // Per file: create, each piece, flush and close; then the two moves.
    const auto pieces = [](const std::string& text) {
        return static_cast<int>((text.size() + DyingFileService::Piece - 1) / DyingFileService::Piece);
    };
    EXPECT_EQ(step, 3 + pieces(text[0][1]) + 3 + pieces(text[1][1]) + 2);
    for (int f = 0; f < 2; ++f)
        EXPECT_TRUE(seen[f][0] && seen[f][1]) << paths[f];
}

} // namespace
} // namespace zelmar::robust
