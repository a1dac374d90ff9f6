// `zelmar-sim exact` in-process: its report, JSON and CSV on the example
// rules, and bad input refused as `run` refuses it.

#include "tools/sim/ExactCommand.h"
#include "tests/support/TempFolder.h"
#include "tools/sim/RunCommand.h"

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

Outcome call(decltype(&exactCommand) command, const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int status = command(args, out, err);
    return { status, out.str(), err.str() };
}

std::string firstLine(const std::string& text)
{
    return text.substr(0, text.find('\n'));
}

TEST(ExactCommand, reportJsonAndCsvOfTheExamples)
{
    test::TempFolder folder;
    const std::string csv = Utf8FromPath(folder.path / "分布.csv");
    const Outcome text
        = call(exactCommand, { "--rules", ZELMAR_EXAMPLES, "--win-chance", "0.5", "--csv", csv });
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("6.25%  赢的方向数列到了尽头"), std::string::npos); // four wins: 0.5^4
    EXPECT_NE(text.out.find("未计入的概率不超过"), std::string::npos);
    // Said once that there is no error, and no "±" anywhere else.
    EXPECT_EQ(text.out.find("±"), text.out.rfind("±"));
    EXPECT_NE(text.out.find("没有“±”误差"), std::string::npos);
    const std::string table = test::readFile(folder.path / "分布.csv");
    EXPECT_EQ(firstLine(table), "分布,x,机会");
    EXPECT_NE(table.find("\n最大注码,9,"), std::string::npos);

    const Outcome json = call(
        exactCommand, { "--rules", ZELMAR_EXAMPLES, "--bet", "player", "--max-hands", "60", "--json" });
    ASSERT_EQ(json.status, 0) << json.err;
    const auto j = nlohmann::json::parse(json.out);
    double sum = j["leftOut"];
    for (const auto& [name, e] : j["ends"].items())
        sum += e["share"]["value"].get<double>();
    EXPECT_NEAR(sum, 1, 1e-12);
    EXPECT_EQ(j["moneyUnit"], 1);
    EXPECT_EQ(j["score"]["mean"]["se"], 0);
    EXPECT_LT(j["money"]["netPerUnitStaked"]["value"].get<double>(), 0);

    const Outcome sessions = call(exactCommand,
        { "--rules", ZELMAR_EXAMPLES, "--win-chance", "0.5", "--sessions", "--bankroll", "30", "--stop-win",
            "10", "--session-rounds", "20", "--json" });
    ASSERT_EQ(sessions.status, 0) << sessions.err;
    const auto s = nlohmann::json::parse(sessions.out);
    EXPECT_GT(s["ends"]["stopWin"]["share"]["value"].get<double>(), 0.5);
    EXPECT_GT(s["ends"]["broke"]["share"]["value"].get<double>(), 0);
}

TEST(ExactCommand, badInputAsRunRefusesIt)
{
    const struct {
        const char* win; // nullptr: no file
        const char* lost;
        std::vector<std::string> args;
        bool sameAsRun; // run says the same first line
        const char* said;
    } cases[] = {
        { nullptr, "1", {}, true, "找不到规则文件" },
        { "", "1", {}, true, "是空的" },
        { "1,x", "1", {}, true, "" },
        { "1", "1", { "--win-chance", "1.5" }, true, "--win-chance 需要 0 到 1 之间的数，收到“1.5”" },
        { "1", "1", { "--win-chance", "-0.1" }, true, "--win-chance 需要" },
        { "1", "1", { "--stop-win", "5" }, false, "要与 --sessions 同用" },
        { "1", "1",
            { "--sessions", "--bankroll", "1000000", "--stop-win", "1000000", "--session-rounds",
                "2000000000" },
            false, "zelmar-sim run --sessions" },
    };
    for (const auto& c : cases) {
        test::TempFolder folder;
        if (c.win)
            test::writeFile(folder.path / "winText.txt", c.win);
        test::writeFile(folder.path / "lostText.txt", c.lost);
        std::vector<std::string> args { "--rules", Utf8FromPath(folder.path) };
        args.insert(args.end(), c.args.begin(), c.args.end());
        const Outcome exact = call(exactCommand, args);
        SCOPED_TRACE(exact.err);
        EXPECT_EQ(exact.status, 2);
        EXPECT_EQ(exact.out, "");
        EXPECT_NE(exact.err.find(c.said), std::string::npos);
        if (c.sameAsRun) {
            const Outcome run = call(runCommand, args);
            EXPECT_EQ(run.status, 2);
            EXPECT_EQ(firstLine(exact.err), firstLine(run.err));
        }
    }
}

} // namespace
} // namespace zelmar
