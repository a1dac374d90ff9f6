// zelmar-replay on real rule files: its command run in-process, its JSON
// lines read back (the executable fed line by line in ReplayPipeTest.cpp).

#include "report/JsonWriter.h"
#include "tests/support/TempFolder.h"
#include "tools/replay/ReplayCommand.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

namespace zelmar::test {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

struct ToolRun {
    int status;
    std::string out;
    std::string err;
    // The lines of --json output. Read through a non-const value, a missing
    // key is null and fails the comparison.
    std::vector<Json> steps;
};

class ReplayTool : public ::testing::Test {
protected:
    void rules(const std::string& win, const std::string& lost)
    {
        writeFile(dir / "winText.txt", win);
        writeFile(dir / "lostText.txt", lost);
    }

    // The command with `args` after `--rules` and the test's folder.
    ToolRun run(std::vector<std::string> args, const std::string& input = {})
    {
        args.insert(args.begin(), { "--rules", dir.string() });
        std::istringstream in(input);
        std::ostringstream out;
        std::ostringstream err;
        ToolRun r { replayCommand(args, in, out, err), out.str(), err.str(), {} };
        std::istringstream lines(r.out);
        for (std::string line; r.out.starts_with('{') && std::getline(lines, line);)
            r.steps.push_back(Json::parse(line));
        return r;
    }

    TempFolder folder;
    const fs::path& dir = folder.path;
};

TEST_F(ReplayTool, jsonLinesHaveExactlyTheFields)
{
    rules("1,1,2,3", "1,2\r\n5");
    ToolRun r = run({ "--json", "WL" });
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(r.steps.size(), 3u);
    const std::vector<std::string> fields
        = { "step", "event", "notices", "errors", "direction", "curRow", "curCol", "lastRow", "lastCol",
              "stake", "score", "history", "rulesMissing", "winSeq", "lostTable", "shown", "grids" };
    const auto keys = [](const Json& object) {
        std::vector<std::string> names;
        for (const auto& [name, value] : object.items())
            names.push_back(name);
        return names;
    };
    for (const Json& s : r.steps)
        EXPECT_EQ(keys(s), fields);
    EXPECT_EQ(r.steps[0]["event"], "start");
    EXPECT_EQ(r.steps[1]["event"], "W");
    Json& win = r.steps[1]["grids"]["win"];
    EXPECT_EQ(keys(win), (std::vector<std::string> { "rows", "cols", "cells", "plain", "marks" }));
    EXPECT_EQ(win["cells"][0][3], "3");
    EXPECT_EQ(win["plain"], "default");
    ASSERT_EQ(win["marks"].size(), 2u);
    EXPECT_EQ(win["marks"][0]["c"], 0); // set plain and black
    EXPECT_EQ(win["marks"][0]["color"], 0);
    EXPECT_EQ(win["marks"][1]["bold"], true);
    EXPECT_EQ(win["marks"][1]["color"], 255);
    EXPECT_EQ(r.steps[0]["lostTable"][1][1], 0);
    EXPECT_EQ(r.steps[2]["notices"][0], "赢的方向上输了一局，本局已经结束,总的得分为0");
    EXPECT_EQ(r.steps[2]["grids"]["win"]["plain"], "black");
    EXPECT_EQ(r.steps[2]["shown"]["stake"], "1");
}

TEST_F(ReplayTool, workedRoundsComeOutAsPlayed)
{
    rules("1,1,2,3", "1,1,2,3\r\n2,2,4,6");
    ToolRun r = run({ "--json", "WWWW LLLWW WWBBB" });
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(r.steps.size(), 15u);
    const std::vector<std::pair<long, long>> scoreStake
        = { { 0, 1 }, { 1, 1 }, { 2, 2 }, { 4, 3 }, { 0, 1 }, { -1, 1 }, { -2, 2 }, { -4, 3 }, { -1, 2 },
              { 0, 1 }, { 1, 1 }, { 2, 2 }, { 1, 1 }, { 0, 1 }, { 0, 1 } };
    for (std::size_t i = 0; i < scoreStake.size(); ++i) {
        EXPECT_EQ(r.steps[i]["score"], scoreStake[i].first) << "step " << i;
        EXPECT_EQ(r.steps[i]["stake"], scoreStake[i].second) << "step " << i;
    }
    EXPECT_EQ(r.steps[4]["notices"][0], "数列已经到了尽头，本局已经结束,总的得分为7");
    EXPECT_EQ(r.steps[9]["notices"][0], "输的方向上反败为胜，本局已经结束,总的得分为1");
    EXPECT_EQ(r.steps[13]["direction"], "Z");
    EXPECT_EQ(r.steps[14]["notices"][0], "已经在原点，不能后退");
}

TEST_F(ReplayTool, firstStartWithoutFilesCreatesThemAndRefusesClicks)
{
    ToolRun r = run({ "--json", "w" });
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::exists(dir / "winText.txt"));
    EXPECT_EQ(r.steps[0]["rulesMissing"], 1);
    EXPECT_TRUE(r.steps[0]["winSeq"].empty());
    EXPECT_EQ(r.steps[1]["notices"][0], "规则未设置好");
    EXPECT_EQ(r.steps[1]["history"], "1");
}

TEST_F(ReplayTool, malformedRuleFileIsAnErrorNotACrash)
{
    rules("1,1,,3", "1,2");
    ToolRun r = run({ "--json", "W" });
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(r.steps[0]["errors"].size(), 1u);
    EXPECT_NE(r.steps[0]["errors"][0].get<std::string>().find("winText.txt"), std::string::npos);
    EXPECT_EQ(r.steps[0]["rulesMissing"], 1);
    EXPECT_EQ(r.steps[0]["lostTable"][0][1], 2);
}

// A bad event on the command line runs nothing; one on a line of standard
// input stops after the lines before it, as a refused command line does.
TEST_F(ReplayTool, commandLineAndEventsAreCheckedFirst)
{
    rules("1,1", "1,1");
    const struct {
        std::vector<std::string> args;
        const char* input;
        int status;
        const char* said; // on standard error
        const char* lastLine; // of the output
    } cases[] = {
        { { "-" }, "W\nLW L\nWB?\n", 2, "无法识别的事件字符 “?”（标准输入第 3 行第 3 个字符）",
            "    4 L          1      0  origin         赢的方向上输了一局，本局已经结束,总的得分为0\n" },
        { { "WLx" }, "", 2, "“x”（事件参数第 3 个字符）", "" },
        { { "W\x01" }, "", 2, "无法识别的事件字符 0x01", "" },
        { {}, "", 2, "缺少事件。\n用法：zelmar-replay", "" },
        { { "W", "L" }, "", 2, "多余的参数：L\n", "" },
        { { "-W" }, "", 2, "无法识别的参数：-W\n", "" },
        { { "--json", "--json", "W" }, "", 2, "--json 只能给一次\n", "" },
        { { "--rules", "/elsewhere", "W" }, "", 2, "--rules 只能给一次\n", "" },
        { { "-h", "--fast" }, "", 0, "", "--help 显示本说明，--version 显示版本号。\n" },
        { { "W", "--version" }, "", 0, "", "zelmar-replay " ZELMAR_VERSION "\n" },
    };
    for (const auto& c : cases) {
        const ToolRun r = run(c.args, c.input);
        EXPECT_EQ(r.status, c.status) << c.said;
        EXPECT_EQ(r.err.empty(), c.status == 0) << r.err;
        EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
        EXPECT_EQ(r.out.substr(r.out.rfind('\n', r.out.size() - 2) + 1), c.lastLine) << r.out;
    }
}

// Rule files are 8-bit text: a byte that starts no valid UTF-8 sequence, or
// one of a sequence cut short, overlong, a surrogate or past U+10FFFF, comes
// out as U+FFFD, one per byte, and the line stays JSON that a strict reader
// accepts. Valid sequences pass whole.
TEST(JsonStrings, bytesThatAreNotUtf8BecomeReplacementCharacters)
{
    const std::string R = "\xEF\xBF\xBD";
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        { "1,\xB2"
          "0",
            "1," + R + "0" }, // a Latin-1 superscript two
        { "\x80", R }, // a continuation byte alone
        { "\xC3", R }, // cut short at the end
        { "\xE4\xB8"
          ",",
            R + R + "," }, // cut short before a comma
        { "\xC0\xAF", R + R }, // overlong, two bytes
        { "\xE0\x80\xAF", R + R + R }, // overlong, three bytes
        { "\xF0\x8F\xBF\xBF", R + R + R + R }, // overlong, four bytes
        { "\xED\xA0\x80", R + R + R }, // a surrogate
        { "\xF4\x90\x80\x80", R + R + R + R }, // past U+10FFFF
        { "\xF5\x80", R + R },
        { "\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF",
            "\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF" },
        { "\xEF\xBB\xBF"
          "1\t\x01",
            "\xEF\xBB\xBF"
            "1\\t\\u0001" },
    };
    for (const auto& c : cases) {
        JsonWriter w;
        w.value(c.in);
        EXPECT_EQ(w.str(), '"' + c.out + '"') << ::testing::PrintToString(c.in);
        EXPECT_TRUE(Json::accept(w.str())) << w.str();
    }
}

} // namespace
} // namespace zelmar::test
