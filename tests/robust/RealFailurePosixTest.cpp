// Real failures only POSIX systems can stage: a rule file that is a named
// pipe or a link to a device that never ends, and a full disk (/dev/full).

#include "tests/robust/RobustSupport.h"

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelmar::robust {
namespace {

// Ends the test program with a message if it is still running after
// `seconds`, so that a hang fails instead of stalling the run.
struct HangGuard {
    explicit HangGuard(unsigned seconds)
    {
        ::signal(SIGALRM, [](int) {
            static const char text[] = "a file step hung\n";
            (void)!::write(2, text, sizeof text - 1);
            ::_exit(1);
        });
        ::alarm(seconds);
    }
    ~HangGuard() { ::alarm(0); }
};

// Reading a rule file that is a named pipe (or a link to a device that never
// ends) used to wait for a writer or read forever.
TEST(RealFailure, startUpHangOnRuleFileThatIsNotARegularFile)
{
    TempFolder folder;
    const RuleFiles files(folder.path.string());
    writeFile(files.winPath(), OldWin);
    ASSERT_EQ(::mkfifo(files.lostPath().c_str(), 0644), 0);
    const HangGuard guard(3);

    HeadlessView view;
    Calculator calc(files.folder(), view);
    calc.StartUp();
    ASSERT_EQ(view.failures.size(), 1u);
    EXPECT_NE(view.failures[0].find(files.lostPath()), std::string::npos) << view.failures[0];
    EXPECT_EQ(calc.Record().rulesMissing, true);
    EXPECT_EQ(calc.Record().winSeq->size(), 4);

    fs::remove(files.lostPath());
    fs::create_symlink("/dev/zero", files.lostPath());
    EXPECT_TRUE(files.ReadLostText().error.has_value()) << "reading a link to /dev/zero must be refused";
}

// Every write goes to /dev/full and fails there with ENOSPC, as on a full disk.
class FullDiskFileService : public PosixFileService {
public:
    int write(int, std::string_view data) override
    {
        const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
        const int e = full < 0 ? errno : PosixFileService::write(full, data);
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
    const RuleFiles files(folder.path.string(), full);
    writeFile(files.winPath(), OldWin);
    writeFile(files.lostPath(), OldLost);
    const auto onDisk = snapshot(folder.path);

    expectReport(files.SaveRuleTexts("5,6", "7").value_or(""), files.winPath(), ENOSPC);
    expectReport(files.SaveLostText("7").value_or(""), files.lostPath(), ENOSPC);
    EXPECT_EQ(snapshot(folder.path), onDisk);
}

} // namespace
} // namespace zelmar::robust
