// Every step of reading and saving a rule file made to fail in turn, for
// each of the two files: the report names the file and the system's reason,
// no file loses its text, no new file stays behind, the other file is
// unaffected, and everything works again once the step succeeds.

#include "tests/robust/RobustSupport.h"

namespace zelmar::robust {
namespace {

const std::string NewWin = "5,0,7,9";
const std::string NewLost = "9,8\r\n\r\n7";

// The step that fails, and whether it fails for the win file or the loss file.
class FileFailure : public testing::TestWithParam<std::tuple<Step, bool>> {
protected:
    FileFailure() { memory.files = { { files.winPath(), OldWin }, { files.lostPath(), OldLost } }; }

    void arm()
    {
        memory.failStep = std::get<0>(GetParam());
        memory.failFile = failsWin() ? WinFileName : LostFileName;
    }
    bool failsWin() const { return std::get<1>(GetParam()); }
    std::string failingPath() const { return failsWin() ? files.winPath() : files.lostPath(); }
    // The two rule files hold these texts, and nothing else is there.
    void expectFiles(const std::string& win, const std::string& lost) const
    {
        EXPECT_EQ(
            memory.files, (decltype(memory.files) { { files.winPath(), win }, { files.lostPath(), lost } }));
    }

    MemoryFileService memory;
    RuleFiles files { "rules", memory };
};

std::string caseName(const testing::TestParamInfo<FileFailure::ParamType>& info)
{
    return testing::PrintToString(std::get<0>(info.param)) + (std::get<1>(info.param) ? "_win" : "_lost");
}

class SaveFailure : public FileFailure { };

TEST_P(SaveFailure, keepsEveryFileWholeAndTheOtherFileStillSaves)
{
    arm();
    const SaveError one = failsWin() ? files.SaveWinText(NewWin) : files.SaveLostText(NewLost);
    expectReport(one.value_or(""), failingPath(), EIO);
    expectFiles(OldWin, OldLost);

    expectReport(files.SaveRuleTexts(NewWin, NewLost).value_or(""), failingPath(), EIO);
    // Only a failed move of the second file comes after the first was moved in.
    const bool winMovedIn = std::get<0>(GetParam()) == Step::Move && !failsWin();
    expectFiles(winMovedIn ? NewWin : OldWin, OldLost);

    EXPECT_EQ(failsWin() ? files.SaveLostText(NewLost) : files.SaveWinText(NewWin), SaveError {});
    expectFiles(failsWin() ? OldWin : NewWin, failsWin() ? NewLost : OldLost);

    memory.failFile.clear();
    EXPECT_EQ(files.SaveRuleTexts(NewWin, NewLost), SaveError {});
    expectFiles(NewWin, NewLost);
}

INSTANTIATE_TEST_SUITE_P(EachStepOfEachFile, SaveFailure,
    testing::Combine(testing::Values(Step::Create, Step::Write, Step::Flush, Step::Move), testing::Bool()),
    caseName);

class ReadFailure : public FileFailure { };

TEST_P(ReadFailure, reloadKeepsTheOldTableLoadsTheOtherAndGoesOn)
{
    HeadlessView view;
    Calculator calc("rules", view, memory);
    calc.StartUp();
    const RoundRecord before = calc.Record();
    memory.files = { { files.winPath(), NewWin }, { files.lostPath(), NewLost } };
    arm();
    view.startStep();
    calc.LoadRules();

    const RoundRecord& r = calc.Record();
    ASSERT_EQ(view.failures.size(), 1u);
    expectReport(view.failures[0], failingPath(), EIO);
    EXPECT_EQ(r.rulesMissing, true);
    EXPECT_EQ(view.fills, 1);
    if (failsWin()) {
        EXPECT_EQ(r.winSeq, before.winSeq);
        EXPECT_EQ(r.lostTable->at(0, 0), 9);
    } else {
        EXPECT_EQ(r.lostTable, before.lostTable);
        EXPECT_EQ(r.winSeq->at(0), 5);
    }
    expectFiles(NewWin, NewLost);

    // Once the step works again, the next load brings the rules back.
    memory.failFile.clear();
    view.startStep();
    calc.LoadRules();
    EXPECT_TRUE(view.failures.empty());
    EXPECT_EQ(calc.Record().rulesMissing, false);
    calc.Play(Event::Reset);
    calc.Play(Event::Win);
    EXPECT_EQ(calc.Record().score, 1);
    EXPECT_EQ(calc.Record().stake, 7);
}

INSTANTIATE_TEST_SUITE_P(EachStepOfEachFile, ReadFailure,
    testing::Combine(testing::Values(Step::Open, Step::Read), testing::Bool()), caseName);

} // namespace
} // namespace zelmar::robust
