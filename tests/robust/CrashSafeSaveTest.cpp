// A save of both rule files cut off by the death of the program at each of
// its steps in turn: creating each new file, each piece written, the flush,
// the close and each move. A child process saves through a file service that
// kills its own process (SIGKILL, no clean-up of any kind) at step k; the
// parent then finds each rule file holding its whole old or its whole new
// text, and the next start leaving nothing else in the folder.

#include "tests/robust/RobustSupport.h"

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace zelmar::robust {
namespace {

class DyingFileService : public PosixFileService {
public:
    explicit DyingFileService(int dieAt)
        : m_dieAt(dieAt)
    {
    }

    int createTemp(const std::string& path, int& fd, std::string& tempPath) override
    {
        step();
        return PosixFileService::createTemp(path, fd, tempPath);
    }
    // In pieces, so that the program can die with a file half-written.
    static constexpr std::size_t Piece = 4096;
    int write(int fd, std::string_view data) override
    {
        for (std::size_t at = 0; at < data.size(); at += Piece) {
            step();
            if (int e = PosixFileService::write(fd, data.substr(at, Piece)))
                return e;
        }
        return 0;
    }
    int flush(int fd) override
    {
        step();
        return PosixFileService::flush(fd);
    }
    int close(int fd) override
    {
        step();
        return PosixFileService::close(fd);
    }
    int move(const std::string& from, const std::string& to) override
    {
        step();
        return PosixFileService::move(from, to);
    }

private:
    void step()
    {
        if (m_steps++ == m_dieAt)
            ::raise(SIGKILL);
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
    // Old and new text of each file, several pieces long.
    const std::string texts[2][2] = { { ruleText("1", ",", 6000), ruleText("22", ",", 5000) },
        { ruleText("1,2,3", "\r\n", 3000), ruleText("4,5", "\r\n", 4000) } };

    bool seen[2][2] = {}; // [file][new]
    int step = 0;
    for (;; ++step) {
        ASSERT_LT(step, 200) << "a save of both files never completed";
        writeFile(paths[0], texts[0][0]);
        writeFile(paths[1], texts[1][0]);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            DyingFileService dying(step);
            const RuleFiles saving(folder.path.string(), dying);
            ::_exit(saving.SaveRuleTexts(texts[0][1], texts[1][1]) ? 1 : 0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        const bool completed = WIFEXITED(status);
        if (completed) {
            ASSERT_EQ(WEXITSTATUS(status), 0) << "the save failed";
        } else {
            ASSERT_EQ(WTERMSIG(status), SIGKILL);
        }

        for (int f = 0; f < 2; ++f) {
            const std::string now = readFile(paths[f]);
            ASSERT_TRUE(now == texts[f][0] || now == texts[f][1])
                << "death at step " << step << ": " << paths[f] << " holds " << now.size() << " bytes";
            seen[f][now == texts[f][1]] = true;
            if (completed) {
                EXPECT_EQ(now, texts[f][1]);
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
    EXPECT_EQ(step, 3 + pieces(texts[0][1]) + 3 + pieces(texts[1][1]) + 2);
    for (int f = 0; f < 2; ++f)
        EXPECT_TRUE(seen[f][0] && seen[f][1]) << paths[f];
}

} // namespace
} // namespace zelmar::robust
