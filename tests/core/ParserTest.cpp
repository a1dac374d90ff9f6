#include "rules/RuleParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zelmar {
namespace {

std::vector<std::vector<int>> dense(const LostTable& t)
{
    std::vector<std::vector<int>> rows;
    for (int r = 0; r < t.rows(); ++r) {
        rows.emplace_back();
        for (int c = 0; c < t.cols(); ++c)
            rows.back().push_back(t.at(r, c));
    }
    return rows;
}

using Rows = std::vector<std::vector<int>>;

// The width a line gives counts characters, not items.
TEST(WidthRule, lineContributions)
{
    const std::vector<std::pair<std::string, long>> table = {
        { "1,2,3", 2 },
        { "2,4,6,8", 3 },
        { "10,20", 2 },
        { "12,3", 2 },
        { "12,3,4", 2 },
        { "12,3,4,5", 4 },
        { "7", 0 },
        { "", -1 },
    };
    for (const auto& [line, width] : table)
        EXPECT_EQ(widthOfLine(static_cast<long>(line.size())), width) << line;
}

TEST(WidthRule, widestLineDecidesColumns)
{
    EXPECT_EQ(ParseLostRule("12,3,4,5").table().cols(), 5);
    EXPECT_EQ(ParseLostRule("12,3,4").table().cols(), 3);
    // An earlier rounded width does not stop a later line whose unrounded half is larger.
    EXPECT_EQ(ParseLostRule("12,3\r\n1,2,3").table().cols(), 3);
}

TEST(ParseLossRule, workedExamples)
{
    struct Case {
        const char* text;
        Rows rows;
    };
    const std::vector<Case> cases = {
        { "1,2,3\r\n2,4,6,8", { { 1, 2, 3, 0 }, { 2, 4, 6, 8 } } },
        { "10,20\r\n5", { { 10, 20, 0 }, { 5, 0, 0 } } },
        { "1,2\r\n", { { 1, 2 }, { 0, 0 } } },
        { "\r\n", { { 0 }, { 0 } } },
        { "7", { { 7 } } },
        { "1,2\r\n5", { { 1, 2 }, { 5, 0 } } },
        { "-3,4", { { -3, 4, 0 } } },
        // A lone CR or LF is no line end: it stays inside its item.
        { "1,2\r\n3\r", { { 1, 2 }, { 3, 0 } } },
        // A UTF-8 byte-order mark is skipped before the width is counted.
        { "\xEF\xBB\xBF"
          "12,3,4",
            { { 12, 3, 4 } } },
        { "\xEF\xBB\xBF\r\n1", { { 0 }, { 1 } } },
    };
    for (const Case& c : cases) {
        const auto parsed = ParseLostRule(c.text);
        ASSERT_TRUE(parsed.ok()) << c.text;
        const LostTable& t = parsed.table();
        EXPECT_EQ(dense(t), c.rows) << c.text;
        // A read just outside the table, on any side, is refused there, also
        // beside a short row's padding.
        const long rows = t.rows();
        const long cols = t.cols();
        for (const auto& [row, col] : { std::pair { 0L, cols }, { rows - 1, cols }, { rows, 0L }, { -1L, 0L },
                 { 0L, -1L }, { rows - 1, -1L } })
            EXPECT_THROW(t.at(row, col), IndexError) << c.text << " (" << row << ", " << col << ")";
    }
}

TEST(ParseLossRule, lfOnlyTextIsOneLine)
{
    const auto parsed = ParseLostRule("1\n,2\n");
    ASSERT_TRUE(parsed.ok());
    EXPECT_EQ(dense(parsed.table()), (Rows { { 1, 2, 0 } }));
}

TEST(ParseWinRule, workedExamples)
{
    EXPECT_EQ(ParseWinRule("1,1,2,3").table().values(), (std::vector<i16> { 1, 1, 2, 3 }));
    EXPECT_EQ(ParseWinRule("5").table().values(), (std::vector<i16> { 5 }));
    EXPECT_EQ(ParseWinRule("1,2.5,3.5\r\n").table().values(), (std::vector<i16> { 1, 2, 4 }));
    EXPECT_EQ(ParseWinRule("1\r\n,2").table().values(), (std::vector<i16> { 1, 2 }));
    EXPECT_EQ(ParseWinRule("\xEF\xBB\xBF"
                           "1,2")
                  .table()
                  .values(),
        (std::vector<i16> { 1, 2 }));
}

struct FailCase {
    const char* text;
    bool loss;
    int line;
    int item;
    const char* itemText;
    const char* whyPart;
};

class ParseFailure : public ::testing::TestWithParam<FailCase> { };

TEST_P(ParseFailure, namesLineItemAndReason)
{
    const FailCase& c = GetParam();
    const ParseError e = c.loss ? ParseLostRule(c.text).error() : ParseWinRule(c.text).error();
    EXPECT_EQ(e.line, c.line);
    EXPECT_EQ(e.item, c.item);
    EXPECT_EQ(e.itemText, c.itemText);
    EXPECT_NE(e.why.find(c.whyPart), std::string::npos) << e.why;
    const std::string report = describe(c.loss ? "lostText.txt" : "winText.txt", e);
    EXPECT_NE(report.find(c.loss ? "lostText.txt" : "winText.txt"), std::string::npos);
    // The win text has no lines: its report names none.
    EXPECT_EQ(report.find("第" + std::to_string(c.line) + "行") != std::string::npos, c.line > 0) << report;
    EXPECT_NE(report.find("第" + std::to_string(c.item) + "项“" + c.itemText + "”"), std::string::npos)
        << report;
}

INSTANTIATE_TEST_SUITE_P(BadItems, ParseFailure,
    ::testing::Values(FailCase { "1,x,3", false, 0, 2, "x", "不是数字" },
        FailCase { "1,,3", false, 0, 2, "", "空" }, FailCase { "1,2,", false, 0, 3, "", "空" },
        FailCase { ",1", false, 0, 1, "", "空" }, FailCase { "1,40000", false, 0, 2, "40000", "溢出" },
        FailCase { "1,2\r\n3,a,5", true, 2, 2, "a", "不是数字" },
        FailCase { "1,2\r\n3,,5", true, 2, 2, "", "空" },
        FailCase { "1\r\n2,-40000", true, 2, 2, "-40000", "溢出" },
        // The column is tested before the item is converted.
        FailCase { "7,", true, 1, 2, "", "宽度" }, FailCase { "5\r\n7,", true, 2, 2, "", "宽度" },
        // The quoted item comes from the failing line, not the one after it.
        FailCase { "5\r\n7,\r\n,8", true, 2, 2, "", "宽度" },
        FailCase { "5\r\n6\r\n7,\r\n,9", true, 3, 2, "", "宽度" },
        FailCase { "1\r\n2\r\nx,3", true, 3, 1, "x", "不是数字" },
        // Items are counted after a skipped byte-order mark.
        FailCase { "\xEF\xBB\xBF"
                   "1,x",
            false, 0, 2, "x", "不是数字" },
        FailCase { "\xEF\xBB\xBF"
                   "5\r\n7,",
            true, 2, 2, "", "宽度" },
        // A long item is quoted cut to 40 characters.
        FailCase { "1,xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx", false, 0, 2,
            "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx", "不是数字" },
        FailCase { "1,xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxy", false, 0, 2,
            "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx…", "不是数字" }));

// A byte-order mark or a lone carriage return cannot be seen: the report names it.
TEST(ParseFailure, invisibleCharactersAreNamedInTheReport)
{
    const struct {
        const char* text;
        const char* shown;
    } cases[] = {
        { "1,\xEF\xBB\xBF"
          "2",
            "第2项“<U+FEFF>2”" },
        { "1\r2,3", "第1项“1<U+000D>2”" },
        { "1,\r", "第2项“<U+000D>”" },
    };
    for (const auto& c : cases) {
        const std::string report = describe("winText.txt", ParseWinRule(c.text).error());
        EXPECT_NE(report.find(c.shown), std::string::npos) << report;
    }
}

// Notepad's "Unicode" is UTF-16: refused as a whole, saying how to save it instead.
TEST(ParseFailure, utf16TextIsRefusedWithHowToSaveIt)
{
    using namespace std::string_literals;
    for (const std::string& text : { "\xFF\xFE\x31\0,\0\x32\0"s, "\xFE\xFF\0\x31"s }) {
        for (const bool loss : { false, true }) {
            const ParseError e = loss ? ParseLostRule(text).error() : ParseWinRule(text).error();
            EXPECT_EQ(e.line, 0);
            EXPECT_EQ(e.item, 0);
            const std::string report = describe(loss ? "lostText.txt" : "winText.txt", e);
            for (const char* part : { "UTF-16", "ANSI", "UTF-8", loss ? "lostText.txt：" : "winText.txt：" })
                EXPECT_NE(report.find(part), std::string::npos) << report;
        }
    }
    EXPECT_TRUE(IsEmptyRuleText("\xEF\xBB\xBF"));
    EXPECT_FALSE(IsEmptyRuleText("\xEF\xBB\xBF "));
}

TEST(ParseLimits, itemAndLineCountsAndLineLength)
{
    std::string items = "1";
    for (int i = 1; i < 32768; ++i)
        items += ",1";
    EXPECT_TRUE(ParseWinRule(items).ok());
    EXPECT_EQ(ParseWinRule(items).table().size(), 32768);
    EXPECT_FALSE(ParseWinRule(items + ",1").ok());
    EXPECT_NE(ParseWinRule(items + ",1").error().why.find("32768"), std::string::npos);

    std::string lines = "1";
    for (int i = 1; i < 32768; ++i)
        lines += "\r\n";
    EXPECT_TRUE(ParseLostRule(lines).ok());
    EXPECT_EQ(ParseLostRule(lines).table().rows(), 32768);
    EXPECT_FALSE(ParseLostRule(lines + "\r\n").ok());

    EXPECT_TRUE(ParseLostRule(std::string(65535, '1')).ok() == false); // a 65535-digit number overflows
    const std::string longest = "1" + std::string(65534, ' ');
    ASSERT_TRUE(ParseLostRule(longest).ok());
    EXPECT_EQ(ParseLostRule(longest).table().cols(), 32768);
    const auto tooLong = ParseLostRule("1" + std::string(65535, ' '));
    ASSERT_FALSE(tooLong.ok());
    EXPECT_EQ(tooLong.error().line, 1);
    EXPECT_NE(tooLong.error().why.find("65535"), std::string::npos);
    EXPECT_EQ(describe("lostText.txt", tooLong.error()).find("项"), std::string::npos); // no item to name
}

TEST(ParseLimits, wideSparseTableCostsItsText)
{
    // One long line and 32767 empty lines: 32768 x 32768 cells, few stored.
    std::string text = "1" + std::string(65534, ' ');
    for (int i = 1; i < 32768; ++i)
        text += "\r\n";
    const auto parsed = ParseLostRule(text);
    ASSERT_TRUE(parsed.ok());
    EXPECT_EQ(parsed.table().rows(), 32768);
    EXPECT_EQ(parsed.table().cols(), 32768);
    EXPECT_EQ(parsed.table().at(32767, 32767), 0);
    EXPECT_EQ(parsed.table().at(0, 0), 1);
    EXPECT_THROW(parsed.table().at(32768, 0), IndexError);
}

} // namespace
} // namespace zelmar
