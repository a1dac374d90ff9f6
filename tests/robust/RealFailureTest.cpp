// Real file failures that stop root as well as anyone (permission bits do
// not): a rule file that is a folder, a folder that is gone, a link to
// nowhere, a full disk. The program reports the file and the reason, keeps
// what it had, and carries on.

#include "RobustSupport.h"

#include "rules/LoadRules.h"

#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace zelmar::robust {
namespace {

const std::string OldWin = "1,1,2,3";
const std::string OldLost = "1,2,3\r\n2,4,6,8";

// A round that loaded good rules from `folder` at start-up.
struct LoadedRound {
    explicit LoadedRound(const std::string& folder)
    {
        writeFile(folder + "/" + WinFileName, OldWin);
        writeFile(folder + "/" + LostFileName, OldLost);
        StartUp(round, RuleFiles(folder));
        EXPECT_TRUE(view.failures.empty());
    }
    HeadlessView view;
    Round round { view };
};

bool mentions(const std::string& report, const std::string& what)
{
    return report.find(what) != std::string::npos;
}

TEST(RealFailure, ruleFileThatIsAFolderIsNeverReplaced)
{
    TempFolder folder;
    const RuleFiles files(folder.path().string());
    writeFile(files.lostPath(), OldLost);
    fs::create_directory(files.winPath());
    writeFile(files.winPath() + "/keep.txt", "mine");

    for (const SaveError& error : { files.SaveWinText("5"), files.SaveRuleTexts("5", "6") }) {
        ASSERT_TRUE(error.has_value());
        EXPECT_TRUE(mentions(*error, files.winPath())) << *error;
        EXPECT_TRUE(mentions(*error, std::strerror(EISDIR))) << *error;
    }
    EXPECT_TRUE(fs::is_directory(files.winPath()));
    EXPECT_EQ(readFile(files.winPath() + "/keep.txt"), "mine");
    EXPECT_EQ(readFile(files.lostPath()), OldLost);
    EXPECT_EQ(folder.entries(), (std::set<std::string> { WinFileName, LostFileName }));
}

TEST(RealFailure, missingFolderIsReportedForBothFilesAndNothingIsCreated)
{
    TempFolder folder;
    LoadedRound game(folder.path().string());
    const std::string gone = folder / "gone";
    const RuleFiles files(gone);

    LoadRules(game.round, files);
    ASSERT_EQ(game.view.failures.size(), 2u);
    EXPECT_TRUE(mentions(game.view.failures[0], files.winPath()));
    EXPECT_TRUE(mentions(game.view.failures[1], files.lostPath()));
    EXPECT_TRUE(mentions(game.view.failures[0], std::strerror(ENOENT)));
    EXPECT_EQ(game.round.record().rulesMissing, 1);
    EXPECT_EQ(valuesOf(game.round.record().winSeq), (std::vector<i16> { 1, 1, 2, 3 }));
    EXPECT_EQ(rowsOf(game.round.record().lostTable).size(), 2u);

    const SaveError error = files.SaveRuleTexts("5", "6");
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(mentions(*error, files.winPath())) << *error;
    EXPECT_FALSE(fs::exists(gone));

    // Clicks still answer.
    game.round.cmdLost_Click();
    EXPECT_EQ(game.view.notices.back(), notices::RulesNotSetLost);
}

TEST(RealFailure, linkToNowhereIsReportedOnReadAndSavedThrough)
{
    TempFolder folder;
    LoadedRound game(folder.path().string());
    const RuleFiles files(folder.path().string());
    fs::create_directory(folder / "store");
    fs::remove(files.lostPath());
    fs::create_symlink("store/lost-rules.txt", files.lostPath());

    LoadRules(game.round, files);
    ASSERT_EQ(game.view.failures.size(), 1u);
    EXPECT_TRUE(mentions(game.view.failures[0], files.lostPath())) << game.view.failures[0];
    EXPECT_EQ(game.round.record().rulesMissing, 1);
    EXPECT_EQ(rowsOf(game.round.record().lostTable).size(), 2u);
    EXPECT_FALSE(fs::exists(folder / "store/lost-rules.txt")) << "reading must not create the target";

    // Saving writes the target and keeps the link.
    const SaveError error = files.SaveLostText("4,5");
    ASSERT_FALSE(error.has_value()) << *error;
    EXPECT_TRUE(fs::is_symlink(files.lostPath()));
    EXPECT_EQ(readFile(folder / "store/lost-rules.txt"), "4,5");
    game.view.failures.clear();
    LoadRules(game.round, files);
    EXPECT_TRUE(game.view.failures.empty());
    EXPECT_EQ(rowsOf(game.round.record().lostTable), (std::vector<std::vector<i16>> { { 4, 5 } }));
}

TEST(RealFailure, linkIntoMissingFolderFailsToSaveAndStaysALink)
{
    TempFolder folder;
    const RuleFiles files(folder.path().string());
    fs::create_symlink("nowhere/win.txt", files.winPath());
    const SaveError error = files.SaveWinText("1,2");
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(mentions(*error, files.winPath())) << *error;
    EXPECT_TRUE(fs::is_symlink(files.winPath()));
    EXPECT_EQ(folder.entries(), (std::set<std::string> { WinFileName }));
}

// Runs `work` in a child process; false when it has not finished in time.
template <typename Work> bool finishesWithin(std::chrono::milliseconds limit, Work work)
{
    const pid_t child = ::fork();
    if (child == 0) {
        work();
        ::_exit(0);
    }
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Reading a rule file that is a named pipe (or a link to a device that never
// ends) used to wait for a writer or read forever.
TEST(RealFailure, startUpHangOnRuleFileThatIsNotARegularFile)
{
    TempFolder folder;
    const RuleFiles files(folder.path().string());
    writeFile(files.winPath(), OldWin);
    ASSERT_EQ(::mkfifo(files.lostPath().c_str(), 0644), 0);

    const bool finished = finishesWithin(std::chrono::seconds(5), [&] {
        HeadlessView view;
        Round round(view);
        StartUp(round, files);
        const bool reported = view.failures.size() == 1 && mentions(view.failures[0], files.lostPath());
        ::_exit(reported && round.record().rulesMissing == 1 && round.record().winSeq ? 0 : 1);
    });
    EXPECT_TRUE(finished) << "start-up must report the pipe, not wait on it";

    fs::remove(files.lostPath());
    fs::create_symlink("/dev/zero", files.lostPath());
    EXPECT_TRUE(finishesWithin(std::chrono::seconds(5), [&] { ::_exit(files.ReadLostText().error ? 0 : 1); }))
        << "reading a link to /dev/zero must be refused";
}

// Every write goes to /dev/full and fails there with ENOSPC, as on a full disk.
class FullDiskFileService : public PosixFileService {
public:
    int write(int, std::string_view data) override
    {
        const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
        if (full < 0)
            return errno;
        const int e = PosixFileService::write(full, data);
        ::close(full);
        return e;
    }
};

TEST(RealFailure, fullDiskKeepsBothOldFilesWhole)
{
    if (::access("/dev/full", W_OK) != 0)
        GTEST_SKIP() << "no /dev/full here";
    TempFolder folder;
    FullDiskFileService full;
    const RuleFiles files(folder.path().string(), full);
    writeFile(files.winPath(), OldWin);
    writeFile(files.lostPath(), OldLost);

    for (const SaveError& error : { files.SaveWinText("5,6"), files.SaveRuleTexts("5,6", "7") }) {
        ASSERT_TRUE(error.has_value());
        EXPECT_TRUE(mentions(*error, files.winPath())) << *error;
        EXPECT_TRUE(mentions(*error, std::strerror(ENOSPC))) << *error;
    }
    const SaveError lost = files.SaveLostText("7");
    ASSERT_TRUE(lost.has_value());
    EXPECT_TRUE(mentions(*lost, files.lostPath())) << *lost;
    EXPECT_EQ(readFile(files.winPath()), OldWin);
    EXPECT_EQ(readFile(files.lostPath()), OldLost);
    EXPECT_EQ(folder.entries(), (std::set<std::string> { WinFileName, LostFileName }));
}

} // namespace
} // namespace zelmar::robust
