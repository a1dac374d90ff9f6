// Every step of reading and saving a rule file made to fail in turn, for
// each of the two files: the report names the file and the system's reason,
// no file loses its text, no temporary file stays behind, the other file is
// unaffected, and everything works again once the step succeeds.

#include "RobustSupport.h"

#include "rules/LoadRules.h"

#include <cstring>

namespace zelmar::robust {
namespace {

const std::string OldWin = "1,1,2,3";
const std::string OldLost = "1,2,3\r\n2,4,6,8";
const std::string NewWin = "5,0,7,9";
const std::string NewLost = "9,8\r\n\r\n7";

struct Case {
    Step step;
    const char* file;
};

void PrintTo(const Case& c, std::ostream* out)
{
    *out << stepName(c.step) << " of " << c.file;
}

std::string caseName(const testing::TestParamInfo<Case>& info)
{
    return std::string(stepName(info.param.step)) + "_"
        + (std::strcmp(info.param.file, WinFileName) == 0 ? "win" : "lost");
}

class SaveFailure : public testing::TestWithParam<Case> {
protected:
    SaveFailure()
        : service(GetParam().step, GetParam().file)
        , files(folder.path().string(), service)
    {
        writeFile(folder / WinFileName, OldWin);
        writeFile(folder / LostFileName, OldLost);
    }

    bool failsWin() const { return std::strcmp(GetParam().file, WinFileName) == 0; }
    std::string failingPath() const { return failsWin() ? files.winPath() : files.lostPath(); }

    void expectReportNamesFile(const SaveError& error) const
    {
        ASSERT_TRUE(error.has_value());
        EXPECT_NE(error->find(failingPath()), std::string::npos) << *error;
        EXPECT_NE(error->find(std::strerror(EIO)), std::string::npos) << *error;
        EXPECT_EQ(service.failures, 1);
    }
    void expectOnlyTheRuleFiles() const
    {
        EXPECT_EQ(folder.entries(), (std::set<std::string> { WinFileName, LostFileName }));
    }

    TempFolder folder;
    FailingFileService service;
    RuleFiles files;
};

TEST_P(SaveFailure, savingOneFileKeepsItsOldTextAndLeavesTheOtherAlone)
{
    const SaveError error = failsWin() ? files.SaveWinText(NewWin) : files.SaveLostText(NewLost);
    expectReportNamesFile(error);
    EXPECT_EQ(readFile(folder / WinFileName), OldWin);
    EXPECT_EQ(readFile(folder / LostFileName), OldLost);
    expectOnlyTheRuleFiles();

    // The other file still saves while this one keeps failing.
    const SaveError other = failsWin() ? files.SaveLostText(NewLost) : files.SaveWinText(NewWin);
    EXPECT_FALSE(other.has_value()) << *other;
    EXPECT_EQ(readFile(folder / WinFileName), failsWin() ? OldWin : NewWin);
    EXPECT_EQ(readFile(folder / LostFileName), failsWin() ? NewLost : OldLost);
}

TEST_P(SaveFailure, savingBothFilesNeverMixesHalfTexts)
{
    expectReportNamesFile(files.SaveRuleTexts(NewWin, NewLost));
    // Only a failure to move the second file in can come after the first
    // was replaced; every other failure leaves both as they were.
    const bool winReplaced = GetParam().step == Step::Move && !failsWin();
    EXPECT_EQ(readFile(folder / WinFileName), winReplaced ? NewWin : OldWin);
    EXPECT_EQ(readFile(folder / LostFileName), OldLost);
    expectOnlyTheRuleFiles();

    service.armed = false;
    const SaveError again = files.SaveRuleTexts(NewWin, NewLost);
    EXPECT_FALSE(again.has_value()) << *again;
    EXPECT_EQ(readFile(folder / WinFileName), NewWin);
    EXPECT_EQ(readFile(folder / LostFileName), NewLost);
    expectOnlyTheRuleFiles();
}

INSTANTIATE_TEST_SUITE_P(EachStepOfEachFile, SaveFailure,
    testing::Values(Case { Step::Create, WinFileName }, Case { Step::Write, WinFileName },
        Case { Step::Flush, WinFileName }, Case { Step::Move, WinFileName },
        Case { Step::Create, LostFileName }, Case { Step::Write, LostFileName },
        Case { Step::Flush, LostFileName }, Case { Step::Move, LostFileName }),
    caseName);

class ReadFailure : public testing::TestWithParam<Case> {
protected:
    ReadFailure()
        : service(GetParam().step, GetParam().file)
        , files(folder.path().string(), service)
    {
        service.armed = false;
        writeFile(folder / WinFileName, OldWin);
        writeFile(folder / LostFileName, OldLost);
        StartUp(round, files);
        EXPECT_TRUE(view.failures.empty());
        // New rules on disk; the next load is the one that fails.
        writeFile(folder / WinFileName, NewWin);
        writeFile(folder / LostFileName, NewLost);
        service.armed = true;
    }

    bool failsWin() const { return std::strcmp(GetParam().file, WinFileName) == 0; }

    TempFolder folder;
    FailingFileService service;
    RuleFiles files;
    HeadlessView view;
    Round round { view };
};

TEST_P(ReadFailure, reloadKeepsTheOldTableAndLoadsTheOtherFile)
{
    const WinSeqPtr winBefore = round.record().winSeq;
    const LostTablePtr lostBefore = round.record().lostTable;
    LoadRules(round, files);
    const RoundRecord& r = round.record();

    ASSERT_EQ(view.failures.size(), 1u);
    const std::string& report = view.failures[0];
    EXPECT_NE(report.find(failsWin() ? files.winPath() : files.lostPath()), std::string::npos) << report;
    EXPECT_NE(report.find(std::strerror(EIO)), std::string::npos) << report;
    EXPECT_EQ(r.rulesMissing, 1);
    EXPECT_EQ(view.fills, 2);
    if (failsWin()) {
        EXPECT_EQ(r.winSeq, winBefore);
        EXPECT_EQ(valuesOf(r.winSeq), (std::vector<i16> { 1, 1, 2, 3 }));
        EXPECT_EQ(rowsOf(r.lostTable), (std::vector<std::vector<i16>> { { 9, 8 }, { 0, 0 }, { 7, 0 } }));
    } else {
        EXPECT_EQ(r.lostTable, lostBefore);
        EXPECT_EQ(rowsOf(r.lostTable), (std::vector<std::vector<i16>> { { 1, 2, 3, 0 }, { 2, 4, 6, 8 } }));
        EXPECT_EQ(valuesOf(r.winSeq), (std::vector<i16> { 5, 0, 7, 9 }));
    }
    // The files themselves are untouched by a failed read.
    EXPECT_EQ(readFile(folder / WinFileName), NewWin);
    EXPECT_EQ(readFile(folder / LostFileName), NewLost);
}

TEST_P(ReadFailure, programGoesOnAndRecoversOnTheNextLoad)
{
    LoadRules(round, files);
    round.cmdWin_Click();
    EXPECT_EQ(round.record().history, "1");
    EXPECT_EQ(round.record().score, 0) << "no hand is played on rules that did not load";

    service.armed = false;
    view.failures.clear();
    LoadRules(round, files);
    EXPECT_TRUE(view.failures.empty());
    EXPECT_EQ(round.record().rulesMissing, 0);
    EXPECT_EQ(valuesOf(round.record().winSeq), (std::vector<i16> { 5, 0, 7, 9 }));
    round.cmdReset_Click();
    round.cmdWin_Click();
    EXPECT_EQ(round.record().score, 1);
    EXPECT_EQ(round.record().stake, 7);
}

TEST_P(ReadFailure, editorReadReportsTheFileAndGivesNoText)
{
    const ReadResult read = failsWin() ? files.ReadWinText() : files.ReadLostText();
    ASSERT_TRUE(read.error.has_value());
    EXPECT_NE(read.error->find(failsWin() ? files.winPath() : files.lostPath()), std::string::npos);
    EXPECT_TRUE(read.text.empty());
    const ReadResult other = failsWin() ? files.ReadLostText() : files.ReadWinText();
    EXPECT_FALSE(other.error.has_value());
    EXPECT_EQ(other.text, failsWin() ? NewLost : NewWin);
}

INSTANTIATE_TEST_SUITE_P(EachStepOfEachFile, ReadFailure,
    testing::Values(Case { Step::Open, WinFileName }, Case { Step::Read, WinFileName },
        Case { Step::Open, LostFileName }, Case { Step::Read, LostFileName }),
    caseName);

} // namespace
} // namespace zelmar::robust
