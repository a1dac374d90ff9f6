// A saving process killed at random moments. A child saves the two rule
// files over and over, switching between two pairs of texts; the test kills
// it with SIGKILL a few hundred times, each time after a random delay drawn
// from the time one save takes, and then finds each file holding one whole
// text of the two, never a mix, a cut-off text or nothing.

#include "RobustSupport.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace zelmar::robust {
namespace {

// What SIGKILL can break is the order of the steps, not their way to the
// disk: the kernel keeps what a killed process wrote. So the saves here skip
// the syncs, which only guard against a power cut and would make each save
// take the disk's time.
class NoSyncFileService : public PosixFileService {
public:
    int flush(int) override { return 0; }
    int move(const std::string& from, const std::string& to) override
    {
        return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
    }
};

// Large enough that a file is written in many pieces.
std::string ruleText(const std::string& item, const std::string& separator, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += (i ? separator : "") + item;
    return text;
}

TEST(CrashSafeSave, killedSaveLeavesEachFileWholeOldOrWholeNew)
{
    const std::string winA = ruleText("1", ",", 8000);
    const std::string winB = ruleText("22", ",", 6000);
    const std::string lostA = ruleText("1,2,3", "\r\n", 4000);
    const std::string lostB = ruleText("4,5", "\r\n", 6000);

    TempFolder folder;
    NoSyncFileService service;
    const RuleFiles files(folder.path().string(), service);
    ASSERT_FALSE(files.SaveRuleTexts(winA, lostA).has_value());

    // How long one save takes here, to spread the kills over a save.
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 3; ++i)
        ASSERT_FALSE(files.SaveRuleTexts(i % 2 ? winA : winB, i % 2 ? lostA : lostB).has_value());
    const auto oneSave = std::max<long>(1,
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start)
                .count()
            / 3);

    std::mt19937 random(20240607);
    std::uniform_int_distribution<long> delay(0, 2 * oneSave);
    int winChanged = 0;
    int lostChanged = 0;
    constexpr int Kills = 300;
    for (int kill = 0; kill < Kills; ++kill) {
        // The child first saves the pair the files do not hold now.
        const std::string winBefore = readFile(files.winPath());
        const std::string lostBefore = readFile(files.lostPath());
        const int first = winBefore == winA ? 0 : 1;
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = first;; ++i) {
                if (files.SaveRuleTexts(i % 2 ? winA : winB, i % 2 ? lostA : lostB))
                    ::_exit(1); // a failed save shows as a child that was not killed
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));

        const std::string win = readFile(files.winPath());
        const std::string lost = readFile(files.lostPath());
        ASSERT_TRUE(win == winA || win == winB)
            << "kill " << kill << ": win file holds " << win.size() << " bytes";
        ASSERT_TRUE(lost == lostA || lost == lostB)
            << "kill " << kill << ": loss file holds " << lost.size() << " bytes";
        winChanged += win != winBefore;
        lostChanged += lost != lostBefore;
        // A killed save may leave its new file beside the old one; clear it
        // so that the folder does not fill up.
        for (const auto& name : folder.entries())
            if (name != WinFileName && name != LostFileName)
                fs::remove(folder.path() / name);
    }
    // Both outcomes must have happened, or the kills missed the saves.
    EXPECT_GT(winChanged, 0) << "one save takes " << oneSave << " us";
    EXPECT_LT(winChanged, Kills);
    EXPECT_GT(lostChanged, 0);
    EXPECT_LT(lostChanged, Kills);
}

} // namespace
} // namespace zelmar::robust
