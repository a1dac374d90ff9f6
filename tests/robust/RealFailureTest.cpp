// Real file failures that stop root as well as anyone (permission bits do
// not): a rule file that is a folder, a folder that is gone, a link to
// nowhere, a pipe, a full disk. The program reports the file and the
// reason, keeps what it had, changes nothing on disk, and carries on.

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

struct Broken {
    const char* name;
    const char* lostIs; // "folder", "gone" (the whole folder), or a link's target
    int readError; // the reason a read reports
    int saveError; // 0 when a save through it works
};

void PrintTo(const Broken& b, std::ostream* out)
{
    *out << b.name;
}

const Broken Cases[] = {
    { "FileIsAFolder", "folder", EISDIR, EISDIR },
    { "FolderIsMissing", "gone", ENOENT, ENOENT },
    { "DanglingLink", "store/lost-rules.txt", ENOENT, 0 },
    { "LinkIntoMissingFolder", "nowhere/lost-rules.txt", ENOENT, ENOENT },
};

void breakLossFile(const fs::path& folder, const std::string& lost, const std::string& what)
{
    fs::remove(lost);
    fs::create_directory(folder / "store");
    if (what == "gone") {
        fs::remove_all(folder);
    } else if (what == "folder") {
        fs::create_directory(lost);
        writeFile(lost + "/keep.txt", "mine");
    } else {
        fs::create_symlink(what, lost);
    }
}

class BrokenRuleFile : public testing::TestWithParam<Broken> { };

TEST_P(BrokenRuleFile, isReportedAndKeepsEverythingAndTheProgramGoesOn)
{
    const Broken& b = GetParam();
    const bool both = b.lostIs == std::string("gone");
    TempFolder folder;
    const RuleFiles files(folder.path.string());
    writeFile(files.winPath(), OldWin);
    writeFile(files.lostPath(), OldLost);
    HeadlessView view;
    Calculator calc(files.folder(), view);
    calc.StartUp();
    const RoundRecord before = calc.record();
    breakLossFile(folder.path, files.lostPath(), b.lostIs);
    const auto onDisk = snapshot(folder.path);
    const auto lostKind = fs::symlink_status(files.lostPath()).type();

    view.startStep();
    calc.LoadRules();
    ASSERT_EQ(view.failures.size(), both ? 2u : 1u);
    expectReport(view.failures.back(), files.lostPath(), b.readError);
    if (both)
        expectReport(view.failures[0], files.winPath(), b.readError);
    EXPECT_EQ(calc.record().rulesMissing, true);
    EXPECT_EQ(calc.record().lostTable, before.lostTable);
    EXPECT_EQ(calc.record().winSeq == before.winSeq, both);
    EXPECT_EQ(snapshot(folder.path), onDisk) << "reading must change nothing";
    calc.Play(Event::Loss);
    EXPECT_EQ(view.notices, std::vector<std::string> { notices::RulesNotSetLost });

    const SaveError saved = files.SaveLostText("4,5");
    if (b.saveError != 0) {
        expectReport(saved.value_or(""), files.lostPath(), b.saveError);
        EXPECT_EQ(snapshot(folder.path), onDisk);
        return;
    }
    ASSERT_EQ(saved, SaveError {});
    EXPECT_EQ(fs::symlink_status(files.lostPath()).type(), lostKind);
    view.startStep();
    calc.LoadRules();
    EXPECT_TRUE(view.failures.empty());
    EXPECT_EQ(calc.record().lostTable->at(0, 1), 5);
}

INSTANTIATE_TEST_SUITE_P(Each, BrokenRuleFile, testing::ValuesIn(Cases),
    [](const testing::TestParamInfo<Broken>& info) { return testing::PrintToString(info.param); });

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
    EXPECT_EQ(calc.record().rulesMissing, true);
    EXPECT_EQ(calc.record().winSeq->size(), 4);

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
