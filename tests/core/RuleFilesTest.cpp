#include "tests/support/TempFolder.h"
#include "tests/support/TestView.h"

#include <filesystem>
#include <fstream>

namespace zelmar {
namespace {

namespace fs = std::filesystem;

class RuleFolder : public ::testing::Test {
protected:
    void put(const char* name, const std::string& bytes) { test::writeFile(dir / name, bytes); }
    std::string get(const char* name) { return test::readFile(dir / name); }
    std::vector<std::string> folderEntries()
    {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    test::TempFolder folder;
    const fs::path& dir = folder.path;
    HeadlessView view;
    Calculator calc { dir.string(), view };
    const RoundRecord& rec() const { return calc.Record(); }
};

TEST_F(RuleFolder, firstStartCreatesEmptyFiles)
{
    calc.StartUp();
    EXPECT_TRUE(fs::exists(dir / "winText.txt"));
    EXPECT_EQ(fs::file_size(dir / "lostText.txt"), 0u);
    EXPECT_EQ(rec().rulesMissing, true);
    EXPECT_EQ(rec().winSeq, nullptr);
    EXPECT_EQ(view.shownStake, "1");
    EXPECT_EQ(view.shownScore, "0");
    EXPECT_TRUE(view.failures.empty());
}

TEST_F(RuleFolder, loadsBothRulesAndStartsAtStakeOne)
{
    put("winText.txt", "5,1,2,3\r\n");
    put("lostText.txt", "1,2,3\r\n2,4,6,8");
    calc.StartUp();
    EXPECT_EQ(rec().rulesMissing, false);
    EXPECT_EQ(rec().winSeq->values(), (std::vector<i16> { 5, 1, 2, 3 }));
    EXPECT_EQ(rec().lostTable->cols(), 4);
    EXPECT_EQ(view.shownStake, "1");
}

TEST_F(RuleFolder, malformedTextKeepsOldTableAndLoadsTheOther)
{
    put("winText.txt", "1,1,2,3");
    put("lostText.txt", "1,2");
    calc.StartUp();
    calc.Play(Event::Win);
    const auto oldWin = rec().winSeq;

    put("winText.txt", "1,1,zwei,3");
    put("lostText.txt", "4,5,6");
    view.startStep();
    calc.LoadRules();
    ASSERT_EQ(view.failures.size(), 1u);
    const std::string& report = view.failures[0];
    EXPECT_NE(report.find("winText.txt"), std::string::npos) << report;
    EXPECT_NE(report.find("第3项"), std::string::npos) << report;
    EXPECT_NE(report.find("zwei"), std::string::npos) << report;
    EXPECT_EQ(rec().winSeq, oldWin);
    EXPECT_EQ(rec().lostTable->at(0, 2), 6);
    EXPECT_EQ(rec().rulesMissing, true);
    EXPECT_EQ(calc.Grids().lost().cols(), 3); // the grids were rebuilt
    // The round stays where it was.
    EXPECT_EQ(rec().curCol, 1);
    EXPECT_EQ(rec().history, std::vector { Hand::Win });

    put("winText.txt", "1,1,2,3");
    view.startStep();
    calc.LoadRules();
    EXPECT_TRUE(view.failures.empty());
    EXPECT_EQ(rec().rulesMissing, false);
}

TEST_F(RuleFolder, emptiedFileKeepsTableButRaisesFlag)
{
    put("winText.txt", "1,1,2,3");
    put("lostText.txt", "1,2");
    calc.StartUp();
    put("winText.txt", "");
    calc.LoadRules();
    EXPECT_EQ(rec().rulesMissing, true);
    EXPECT_EQ(rec().winSeq->size(), 4);
    EXPECT_TRUE(view.failures.empty());
}

// Notepad's "UTF-8 with BOM" reads as plain text, a mark alone as an empty
// file; its "Unicode" is reported and keeps the table in use.
TEST_F(RuleFolder, byteOrderMarksAsNotepadWritesThem)
{
    put("winText.txt",
        "\xEF\xBB\xBF"
        "5,1,2");
    put("lostText.txt", "\xEF\xBB\xBF");
    calc.StartUp();
    EXPECT_TRUE(view.failures.empty());
    EXPECT_EQ(rec().winSeq->values(), (std::vector<i16> { 5, 1, 2 }));
    EXPECT_EQ(rec().lostTable, nullptr);
    EXPECT_EQ(rec().rulesMissing, true);
    put("lostText.txt",
        "\xEF\xBB\xBF"
        "1,2\r\n3");
    put("winText.txt", std::string("\xFF\xFE\x31\0", 4));
    calc.LoadRules();
    ASSERT_EQ(view.failures.size(), 1u);
    EXPECT_NE(view.failures[0].find("winText.txt：文件是 UTF-16"), std::string::npos) << view.failures[0];
    EXPECT_EQ(rec().winSeq->size(), 3);
    EXPECT_EQ(rec().lostTable->cols(), 2);
    EXPECT_EQ(rec().rulesMissing, true);
}

TEST_F(RuleFolder, unreadableFileIsReportedWithReason)
{
    fs::create_directory(dir / "lostText.txt");
    put("winText.txt", "1,2");
    calc.StartUp();
    ASSERT_EQ(view.failures.size(), 1u);
    EXPECT_NE(view.failures[0].find("lostText.txt"), std::string::npos);
    EXPECT_NE(view.failures[0].find("directory"), std::string::npos) << view.failures[0];
    EXPECT_EQ(rec().rulesMissing, true);
    EXPECT_EQ(rec().winSeq->size(), 2);
}

TEST_F(RuleFolder, saveWritesExactBytesAndLeavesNoTemporaryFile)
{
    RuleFiles files(dir.string());
    ASSERT_FALSE(files.SaveRuleTexts("1,1,2,3", "1,2\r\n3,4\r\n"));
    EXPECT_EQ(get("winText.txt"), "1,1,2,3");
    EXPECT_EQ(get("lostText.txt"), "1,2\r\n3,4\r\n");
    EXPECT_EQ(folderEntries(), (std::vector<std::string> { "lostText.txt", "winText.txt" }));
    ASSERT_FALSE(files.SaveWinText(""));
    EXPECT_EQ(fs::file_size(dir / "winText.txt"), 0u);
}

TEST_F(RuleFolder, startUpRemovesLeftoversOfCutOffSaves)
{
    put("winText.txt", "1,2");
    put("lostText.txt", "3");
    put("winText.txt.saving-Ab12Cd", "1,2,3,4");
    put("lostText.txt.saving-xyz789", "");
    put("winText.txt.saving-notes", "mine"); // not a name a save makes
    put("notes.txt", "mine");
    calc.StartUp();
    EXPECT_EQ(folderEntries(),
        (std::vector<std::string> {
            "lostText.txt", "notes.txt", "winText.txt", "winText.txt.saving-notes" }));
    EXPECT_EQ(rec().winSeq->size(), 2);
}

TEST_F(RuleFolder, readOnlyFileIsStillReplaced)
{
    put("winText.txt", "1");
    // On Windows this sets the file's read-only mark.
    fs::permissions(
        dir / "winText.txt", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    RuleFiles files(dir.string());
    ASSERT_FALSE(files.SaveWinText("2,3"));
    EXPECT_EQ(get("winText.txt"), "2,3");
}

TEST_F(RuleFolder, saveThroughLinkKeepsTheLink)
{
    put("real.txt", "1");
    fs::create_symlink("real.txt", dir / "winText.txt");
    RuleFiles files(dir.string());
    ASSERT_FALSE(files.SaveWinText("7,8"));
    EXPECT_TRUE(fs::is_symlink(dir / "winText.txt"));
    EXPECT_EQ(get("real.txt"), "7,8");
}

TEST_F(RuleFolder, failedSecondSaveLeavesBothFilesAsTheyWere)
{
    put("winText.txt", "1,1");
    fs::create_directory(dir / "lostText.txt"); // cannot be replaced by a file
    RuleFiles files(dir.string());
    const SaveError e = files.SaveRuleTexts("9,9", "1,2");
    ASSERT_TRUE(e);
    EXPECT_NE(e->find("lostText.txt"), std::string::npos) << *e;
    // The win file was written first but not moved in: still the old text.
    EXPECT_EQ(get("winText.txt"), "1,1");
    EXPECT_EQ(folderEntries(), (std::vector<std::string> { "lostText.txt", "winText.txt" }));
}

} // namespace
} // namespace zelmar
