// Real file failures that stop root as well as anyone (permission bits do
// not): a rule file that is a folder, a folder that is gone, a link to
// nowhere (a pipe and a full disk in RealFailurePosixTest.cpp). The program
// reports the file and the reason, keeps what it had, changes nothing on
// disk, and carries on.

#include "tests/robust/RobustSupport.h"

namespace zelmar::robust {
namespace {

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

void breakLossFile(const fs::path& folder, const std::string& lostText, const std::string& what)
{
    const fs::path lost = PathFromUtf8(lostText);
    fs::remove(lost);
    fs::create_directory(folder / "store");
    if (what == "gone") {
        fs::remove_all(folder);
    } else if (what == "folder") {
        fs::create_directory(lost);
        writeFile(lost / "keep.txt", "mine");
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
    const RoundRecord before = calc.Record();
    breakLossFile(folder.path, files.lostPath(), b.lostIs);
    const auto onDisk = snapshot(folder.path);
    const auto lostKind = fs::symlink_status(PathFromUtf8(files.lostPath())).type();

    view.startStep();
    calc.LoadRules();
    ASSERT_EQ(view.failures.size(), both ? 2u : 1u);
    expectReport(view.failures.back(), files.lostPath(), b.readError);
    if (both)
        expectReport(view.failures[0], files.winPath(), b.readError);
    EXPECT_EQ(calc.Record().rulesMissing, true);
    EXPECT_EQ(calc.Record().lostTable, before.lostTable);
    EXPECT_EQ(calc.Record().winSeq == before.winSeq, both);
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
    EXPECT_EQ(fs::symlink_status(PathFromUtf8(files.lostPath())).type(), lostKind);
    view.startStep();
    calc.LoadRules();
    EXPECT_TRUE(view.failures.empty());
    EXPECT_EQ(calc.Record().lostTable->at(0, 1), 5);
}

INSTANTIATE_TEST_SUITE_P(Each, BrokenRuleFile, testing::ValuesIn(Cases),
    [](const testing::TestParamInfo<Broken>& info) { return testing::PrintToString(info.param); });

} // namespace
} // namespace zelmar::robust
