// `zelmar-sim check` on rule files: the report's first line, its JSON
// figures, and the refusals with exit status 2.

#include "sim/CheckCommand.h"
#include "replay/MiniJson.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zelmar {
namespace {

using test::TempFolder;
using test::writeFile;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome check(const std::vector<std::string>& args, const std::string& folder = "/nonexistent-default")
{
    std::ostringstream out;
    std::ostringstream err;
    const int status = CheckCommand(args, out, err, folder);
    return { status, out.str(), err.str() };
}

std::string firstLine(const std::string& text)
{
    return text.substr(0, text.find('\n'));
}

TEST(CheckCommand, exampleRulesLoseWithoutLimitAtTwoPlaces)
{
    const Outcome text = check({ "--rules", ZELMAR_EXAMPLES });
    EXPECT_EQ(text.status, 0);
    EXPECT_EQ(text.err, "");
    EXPECT_EQ(firstLine(text.out),
        "最坏情况：没有下限。输的方向上有 2 处输的循环，一局可以一直输下去而不结束，直到 16 "
        "位的得分溢出（低于 -32768）。");
    EXPECT_NE(text.out.find("第 1 行第 4 列（3） → 第 2 行第 1 列（2）：每两手输 1\n"), std::string::npos);
    EXPECT_NE(text.out.find("第 2 行第 4 列（6） → 第 3 行第 1 列（3）：每两手输 3\n"), std::string::npos);

    const Outcome json = check({ "--json", "--rules", ZELMAR_EXAMPLES });
    ASSERT_EQ(json.status, 0);
    const test::Json j = test::JsonReader(json.out.substr(0, json.out.size() - 1)).parse();
    EXPECT_EQ(j["worstScore"].kind, test::Json::Null);
    EXPECT_EQ(j["win"]["longestWinRun"].number, 4);
    EXPECT_EQ(j["win"]["bestScore"].number, 7);
    EXPECT_EQ(j["loss"]["largestStake"].number, 9);
    const test::Json& cycles = j["loss"]["lossCycles"];
    ASSERT_EQ(cycles.items.size(), 2U);
    EXPECT_EQ(cycles[1]["row"].number, 2);
    EXPECT_EQ(cycles[1]["column"].number, 4);
    EXPECT_EQ(cycles[1]["nextRow"].number, 3);
    EXPECT_EQ(cycles[1]["lossPerTwoHands"].number, 3);
}

TEST(CheckCommand, firstLineStatesTheWorstCase)
{
    const struct {
        const char* win;
        const char* lost;
        const char* line;
    } cases[] = {
        { "1,1,2,3", "1,2\r\n5,6", "最坏情况：一局的得分最低到 -14。" },
        { "1,1,9", "1,1,2", "最坏情况：一局的得分最低到 -7。一局可能永远不结束，但不会因此多输。" },
        { "1", "1,30000,30000",
            "最坏情况：一局的得分最低到 -60001，超出了 16 位的范围，计算器会在那一手报告溢出。一局可能永远不"
            "结束，但不会因此多输。" },
    };
    for (const auto& c : cases) {
        TempFolder dir;
        writeFile(dir.path / "winText.txt", c.win);
        writeFile(dir.path / "lostText.txt", c.lost);
        const Outcome run = check({}, dir.path.string());
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(firstLine(run.out), c.line) << c.win << " / " << c.lost;
    }
}

TEST(CheckCommand, refusesWithStatusTwo)
{
    const struct {
        const char* win; // nullptr: leave the file out
        const char* lost;
        std::vector<std::string> args;
        const char* report;
    } cases[] = {
        { "1,,2", "1,2", {}, "规则文件有错，没有加载：winText.txt 第2项“”" },
        { "1,2", "1,2\r\n3,x", {}, "规则文件有错，没有加载：lostText.txt 第2行 第2项“x”" },
        { "1,2", "", {}, "lostText.txt 是空的" },
        { nullptr, "1", {}, "winText.txt 是空的" },
        { "1", "1", { "--plot" }, "无法识别的参数：--plot" },
        { "1", "1", { "--rules" }, "--rules 后面缺少文件夹" },
    };
    for (const auto& c : cases) {
        TempFolder dir;
        if (c.win)
            writeFile(dir.path / "winText.txt", c.win);
        writeFile(dir.path / "lostText.txt", c.lost);
        const Outcome run = check(c.args, dir.path.string());
        EXPECT_EQ(run.status, 2) << c.report;
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(c.report), std::string::npos) << run.err;
    }
    const Outcome missing = check({ "--rules", "/nonexistent-zelmar-rules" });
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("/nonexistent-zelmar-rules/winText.txt"), std::string::npos) << missing.err;
}

} // namespace
} // namespace zelmar
