// A saving process killed at random moments. A child saves the two rule
// files over and over, switching between two pairs of texts; the test kills
// it with SIGKILL a few hundred times, each time after a random delay drawn
// from the time one save takes, and then finds each file holding one whole
// text of the two, never a mix, a cut-off text or nothing.

#include "RobustSupport.h"

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
    std::string text = item;
    for (int i = 1; i < count; ++i)
        text += separator + item;
    return text;
}

TEST(CrashSafeSave, killedSaveLeavesEachFileWholeOldOrWholeNew)
{
    TempFolder folder;
    NoSyncFileService service;
    const RuleFiles files(folder.path.string(), service);
    const std::string paths[2] = { files.winPath(), files.lostPath() };
    // The two texts of each file; save `k` writes the texts k % 2.
    const std::string texts[2][2] = { { ruleText("1", ",", 8000), ruleText("22", ",", 6000) },
        { ruleText("1,2,3", "\r\n", 4000), ruleText("4,5", "\r\n", 6000) } };
    auto save = [&](int k) { return files.SaveRuleTexts(texts[0][k % 2], texts[1][k % 2]); };

    // How long one save takes here, to spread the kills over a save.
    const auto start = std::chrono::steady_clock::now();
    for (int k = 0; k < 4; ++k)
        ASSERT_EQ(save(k), SaveError {});
    const auto oneSave = std::chrono::duration_cast<std::chrono::microseconds>(
        (std::chrono::steady_clock::now() - start) / 4);

    std::mt19937 random(20240607);
    std::uniform_int_distribution<long> delay(0, 2 * oneSave.count() + 1);
    int changed[2] = { 0, 0 };
    constexpr int Kills = 300;
    for (int kill = 0; kill < Kills; ++kill) {
        const std::string before[2] = { readFile(paths[0]), readFile(paths[1]) };
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // First the texts the files do not hold now; a failed save shows
            // as a child that was not killed.
            for (int k = before[0] == texts[0][0];; ++k)
                if (save(k))
                    ::_exit(1);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));

        for (int f = 0; f < 2; ++f) {
            const std::string now = readFile(paths[f]);
            ASSERT_TRUE(now == texts[f][0] || now == texts[f][1])
                << "kill " << kill << ": " << paths[f] << " holds " << now.size() << " bytes";
            changed[f] += now != before[f];
        }
        files.RemoveLeftoverSaves(); // a killed save may leave its new file
    }
    // Both outcomes must have happened to each file, or the kills missed the saves.
    for (int f = 0; f < 2; ++f) {
        EXPECT_GT(changed[f], 0) << "one save takes " << oneSave.count() << " us";
        EXPECT_LT(changed[f], Kills);
    }
}

} // namespace
} // namespace zelmar::robust
