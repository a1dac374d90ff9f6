// `zelmar-sim check` on rule files: what the report says first, its JSON
// figures, and the refusals with exit status 2.

#include "tools/sim/CheckCommand.h"
#include "tests/support/TempFolder.h"

#include <filesystem>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

namespace zelmar {
namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

// The command on the rules in `folder`, unless `args` name a folder too.
Outcome check(std::vector<std::string> args, const std::string& folder)
{
    args.insert(args.begin(), { "--rules", folder });
    std::ostringstream out;
    std::ostringstream err;
    const int status = checkCommand(args, out, err);
    return { status, out.str(), err.str() };
}

TEST(CheckCommand, exampleRulesLoseWithoutLimitAtTwoPlaces)
{
    const Outcome text = check({}, ZELMAR_EXAMPLES);
    EXPECT_EQ(text.status, 0);
    EXPECT_EQ(text.err, "");
    EXPECT_EQ(text.out.substr(0, text.out.find("\n赢的")),
        "最坏情况：没有下限。输的方向上有 2 处输的循环，一局可以一直输下去而不结束，直到 16 "
        "位的得分溢出（低于 -32768）。\n没有多少本钱可以保证打完每一局。");
    EXPECT_NE(text.out.find("输的方向：最大注码 9；在这个方向上结束的一局，得分最好 6，最坏没有下限。"),
        std::string::npos);
    EXPECT_NE(text.out.find("第 1 行第 4 列（3） → 第 2 行第 1 列（2）：每两手输 1\n"), std::string::npos);
    EXPECT_NE(text.out.find("第 2 行第 4 列（6） → 第 3 行第 1 列（3）：每两手输 3\n"), std::string::npos);

    const Outcome json = check({ "--json" }, ZELMAR_EXAMPLES);
    ASSERT_EQ(json.status, 0);
    ASSERT_EQ(json.out.back(), '\n');
    nlohmann::json j = nlohmann::json::parse(json.out);
    EXPECT_TRUE(j["worstScore"].is_null());
    EXPECT_TRUE(j["worstNeed"].is_null());
    EXPECT_EQ(j["loss"]["bestScore"], 6);
    EXPECT_EQ(j["win"]["bestScore"], 7);
    EXPECT_EQ(j["loss"]["lossCycles"][1]["nextRow"], 3);
    EXPECT_EQ(j["loss"]["lossCycles"][1]["lossPerTwoHands"], 3);
}

TEST(CheckCommand, reportThatCannotBeWrittenFailsWithStatusOne)
{
    std::ostream broken(nullptr); // every write fails, as on a full disk
    std::ostringstream err;
    EXPECT_EQ(checkCommand({ "--rules", ZELMAR_EXAMPLES }, broken, err), 1);
    EXPECT_NE(err.str().find("写入标准输出时出错"), std::string::npos);
}

TEST(CheckCommand, firstLineOrRefusal)
{
    const struct {
        const char* win; // nullptr: no file
        const char* lost;
        std::vector<std::string> args;
        int status;
        const char* said; // the first line of the report, or part of the refusal
        long need = 0; // the bankroll the second line names
    } cases[] = {
        { "1,1,2,3", "1,2\r\n5,6", {}, 0, "最坏情况：一局结束时的得分最低为 -14。", 14 },
        // Five losses leave 31 down with 32 to place.
        { "1,1,2,3", "1,2,4,8\r\n16,32", {}, 0, "最坏情况：一局结束时的得分最低为 -63。", 63 },
        // The win path goes lower than the loss path; equal neighbours make endless rounds.
        { "1,1,9", "1,1,2", {}, 0,
            "最坏情况：一局结束时的得分最低为 -7。一局可能永远不结束，但不会因此多输。", 7 },
        { "1", "1,3000,30000", {}, 0,
            "最坏情况：一局结束时的得分最低为 -33001，超出了 16 位的范围，计算器会在那一手报告溢出。",
            33001 },
        { "1,,2", "1,2", {}, 2, "规则文件有错，没有加载：winText.txt 第2项“”" },
        { "1,2", "1,2\r\n3,x", {}, 2, "规则文件有错，没有加载：lostText.txt 第2行 第2项“x”" },
        { "1,2", "", {}, 2, "lostText.txt 是空的" },
        { nullptr, "1", {}, 2, "找不到规则文件" },
        { "1", "1", { "--plot" }, 2, "无法识别的参数：--plot" },
        { "1", "1", { "--json", "--json" }, 2, "--json 只能给一次" },
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
            EXPECT_EQ(run.out.find("本钱 " + std::to_string(c.need) + " 单位可以打完任何一局："),
                run.out.find('\n') + 1);
        } else {
            EXPECT_EQ(run.out, "");
            EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
        }
    }
}

} // namespace
} // namespace zelmar
