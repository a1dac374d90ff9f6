// `zelmar-sim check` on rule files: what the report says first, its JSON
// figures, and the refusals with exit status 2.

#include "tools/sim/CheckCommand.h"
#include "tests/support/MiniJson.h"
#include "tests/support/TempFolder.h"

#include <filesystem>

#include <gtest/gtest.h>

#include <sstream>

namespace zelmar {
namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome check(const std::vector<std::string>& args, const std::string& folder)
{
    std::ostringstream out;
    std::ostringstream err;
    const int status = CheckCommand(args, out, err, folder);
    return { status, out.str(), err.str() };
}

TEST(CheckCommand, exampleRulesLoseWithoutLimitAtTwoPlaces)
{
    const Outcome text = check({ "--rules", ZELMAR_EXAMPLES }, "/nonexistent");
    EXPECT_EQ(text.status, 0);
    EXPECT_EQ(text.err, "");
    EXPECT_EQ(text.out.substr(0, text.out.find('\n')),
        "最坏情况：没有下限。输的方向上有 2 处输的循环，一局可以一直输下去而不结束，直到 16 "
        "位的得分溢出（低于 -32768）。");
    EXPECT_NE(text.out.find("第 1 行第 4 列（3） → 第 2 行第 1 列（2）：每两手输 1\n"), std::string::npos);
    EXPECT_NE(text.out.find("第 2 行第 4 列（6） → 第 3 行第 1 列（3）：每两手输 3\n"), std::string::npos);

    const Outcome json = check({ "--json", "--rules", ZELMAR_EXAMPLES }, "/nonexistent");
    ASSERT_EQ(json.status, 0);
    const test::Json j = test::JsonReader(json.out.substr(0, json.out.size() - 1)).parse();
    EXPECT_EQ(j["worstScore"].kind, test::Json::Null);
    EXPECT_EQ(j["win"]["bestScore"].number, 7);
    EXPECT_EQ(j["loss"]["lossCycles"][1]["nextRow"].number, 3);
    EXPECT_EQ(j["loss"]["lossCycles"][1]["lossPerTwoHands"].number, 3);
}

TEST(CheckCommand, firstLineOrRefusal)
{
    const struct {
        const char* win; // nullptr: no file
        const char* lost;
        std::vector<std::string> args;
        int status;
        const char* said; // the first line of the report, or part of the refusal
    } cases[] = {
        { "1,1,2,3", "1,2\r\n5,6", {}, 0, "最坏情况：一局的得分最低到 -14。" },
        // The win path goes lower than the loss path; equal neighbours make endless rounds.
        { "1,1,9", "1,1,2", {}, 0, "最坏情况：一局的得分最低到 -7。一局可能永远不结束，但不会因此多输。" },
        { "1", "1,3000,30000", {}, 0,
            "最坏情况：一局的得分最低到 -33001，超出了 16 位的范围，计算器会在那一手报告溢出。" },
        { "1,,2", "1,2", {}, 2, "规则文件有错，没有加载：winText.txt 第2项“”" },
        { "1,2", "1,2\r\n3,x", {}, 2, "规则文件有错，没有加载：lostText.txt 第2行 第2项“x”" },
        { "1,2", "", {}, 2, "lostText.txt 是空的" },
        { nullptr, "1", {}, 2, "找不到规则文件" },
        { "1", "1", { "--plot" }, 2, "无法识别的参数：--plot" },
        { "1", "1", { "--rules" }, 2, "--rules 后面缺少文件夹" },
        { "1", "1", { "--rules", "/nonexistent-zelmar" }, 2, "找不到规则文件 /nonexistent-zelmar" },
    };
    for (const auto& c : cases) {
        test::TempFolder dir;
        if (c.win)
            test::writeFile(dir.path / "winText.txt", c.win);
        test::writeFile(dir.path / "lostText.txt", c.lost);
        const Outcome run = check(c.args, dir.path.string());
        EXPECT_EQ(run.status, c.status) << c.said;
        EXPECT_EQ(std::filesystem::exists(dir.path / "winText.txt"), c.win != nullptr); // nothing is created
        if (c.status == 0) {
            EXPECT_EQ(run.out.substr(0, run.out.find('\n')), c.said);
        } else {
            EXPECT_EQ(run.out, "");
            EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
        }
    }
}

} // namespace
} // namespace zelmar
