// End-to-end runs of zelmar-replay: real rule files, the real executable,
// its JSON lines read back.

#include "tests/support/MiniJson.h"
#include "tests/support/RunCommand.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace zelmar::test {
namespace {

namespace fs = std::filesystem;

struct ToolRun : CommandRun {
    std::vector<Json> steps;
};

class ReplayTool : public ::testing::Test {
protected:
    void rules(const std::string& win, const std::string& lost)
    {
        writeFile(dir / "winText.txt", win);
        writeFile(dir / "lostText.txt", lost);
    }

    ToolRun run(const std::string& args, const std::string& input = {})
    {
        const fs::path inputFile = dir / "input.txt";
        writeFile(inputFile, input);
        const std::string cmd = std::string(ZELMAR_REPLAY) + " --rules '" + dir.string() + "' " + args
            + " < '" + inputFile.string() + "' 2>&1";
        ToolRun r { runCommand(cmd), {} };
        if (args.find("--json") != std::string::npos && r.status == 0) {
            std::size_t start = 0;
            for (std::size_t end; (end = r.out.find('\n', start)) != std::string::npos; start = end + 1)
                r.steps.push_back(JsonReader(r.out.substr(start, end - start)).parse());
        }
        return r;
    }

    TempFolder folder;
    const fs::path& dir = folder.path;
};

TEST_F(ReplayTool, jsonLinesHaveExactlyTheFields)
{
    rules("1,1,2,3", "1,2\r\n5");
    const ToolRun r = run("--json WL");
    ASSERT_EQ(r.status, 0) << r.out;
    ASSERT_EQ(r.steps.size(), 3u);
    const std::vector<std::string> fields
        = { "step", "event", "notices", "errors", "direction", "curRow", "curCol", "lastRow", "lastCol",
              "stake", "score", "history", "rulesMissing", "winSeq", "lostTable", "shown", "grids" };
    for (const Json& s : r.steps)
        EXPECT_EQ(s.keys(), fields);
    EXPECT_EQ(r.steps[0]["event"].text, "start");
    EXPECT_EQ(r.steps[1]["event"].text, "W");
    const Json& win = r.steps[1]["grids"]["win"];
    EXPECT_EQ(win.keys(), (std::vector<std::string> { "rows", "cols", "cells", "plain", "marks" }));
    EXPECT_EQ(win["cells"][0][3].text, "3");
    EXPECT_EQ(win["plain"].text, "default");
    ASSERT_EQ(win["marks"].items.size(), 2u);
    EXPECT_EQ(win["marks"][0]["c"].number, 0); // set plain and black
    EXPECT_EQ(win["marks"][0]["color"].number, 0);
    EXPECT_TRUE(win["marks"][1]["bold"].flag);
    EXPECT_EQ(win["marks"][1]["color"].number, 255);
    EXPECT_EQ(r.steps[0]["lostTable"][1][1].number, 0);
    EXPECT_EQ(r.steps[2]["notices"][0].text, "赢的方向上输了一局，本局已经结束,总的得分为0");
    EXPECT_EQ(r.steps[2]["grids"]["win"]["plain"].text, "black");
    EXPECT_EQ(r.steps[2]["shown"]["stake"].text, "1");
}

TEST_F(ReplayTool, workedRoundsComeOutAsPlayed)
{
    rules("1,1,2,3", "1,1,2,3\r\n2,2,4,6");
    const ToolRun r = run("--json 'WWWW LLLWW WWBBB'");
    ASSERT_EQ(r.status, 0) << r.out;
    ASSERT_EQ(r.steps.size(), 15u);
    const std::vector<std::pair<long, long>> scoreStake
        = { { 0, 1 }, { 1, 1 }, { 2, 2 }, { 4, 3 }, { 0, 1 }, { -1, 1 }, { -2, 2 }, { -4, 3 }, { -1, 2 },
              { 0, 1 }, { 1, 1 }, { 2, 2 }, { 1, 1 }, { 0, 1 }, { 0, 1 } };
    for (std::size_t i = 0; i < scoreStake.size(); ++i) {
        EXPECT_EQ(r.steps[i]["score"].number, scoreStake[i].first) << "step " << i;
        EXPECT_EQ(r.steps[i]["stake"].number, scoreStake[i].second) << "step " << i;
    }
    EXPECT_EQ(r.steps[4]["notices"][0].text, "数列已经到了尽头，本局已经结束,总的得分为7");
    EXPECT_EQ(r.steps[9]["notices"][0].text, "输的方向上反败为胜，本局已经结束,总的得分为1");
    EXPECT_EQ(r.steps[13]["direction"].text, "Z");
    EXPECT_EQ(r.steps[14]["notices"][0].text, "已经在原点，不能后退");
}

TEST_F(ReplayTool, firstStartWithoutFilesCreatesThemAndRefusesClicks)
{
    const ToolRun r = run("--json w");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(fs::exists(dir / "winText.txt"));
    EXPECT_EQ(r.steps[0]["rulesMissing"].number, 1);
    EXPECT_TRUE(r.steps[0]["winSeq"].items.empty());
    EXPECT_EQ(r.steps[1]["notices"][0].text, "规则未设置好");
    EXPECT_EQ(r.steps[1]["history"].text, "1");
}

TEST_F(ReplayTool, badEventIsNamedAndNothingRuns)
{
    rules("1,1", "1,1");
    const ToolRun r = run("'WLx'");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.out.find("“x”"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("第 3 个字符"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("start"), std::string::npos) << r.out;
}

TEST_F(ReplayTool, malformedRuleFileIsAnErrorNotACrash)
{
    rules("1,1,,3", "1,2");
    const ToolRun r = run("--json W");
    ASSERT_EQ(r.status, 0) << r.out;
    ASSERT_EQ(r.steps[0]["errors"].items.size(), 1u);
    EXPECT_NE(r.steps[0]["errors"][0].text.find("winText.txt"), std::string::npos);
    EXPECT_EQ(r.steps[0]["rulesMissing"].number, 1);
    EXPECT_EQ(r.steps[0]["lostTable"][0][1].number, 2);
}

// Events from standard input are handled line by line, so the rules can be
// changed between two of them. The files change only once the tool has
// answered the first event, whatever the speed of the machine.
TEST_F(ReplayTool, standardInputReloadsChangedRules)
{
    rules("1,1", "1,1");
    int toTool[2];
    int fromTool[2];
    ASSERT_EQ(::pipe(toTool), 0);
    ASSERT_EQ(::pipe(fromTool), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::dup2(toTool[0], 0);
        ::dup2(fromTool[1], 1);
        for (int fd : { toTool[0], toTool[1], fromTool[0], fromTool[1] })
            ::close(fd);
        ::execl(ZELMAR_REPLAY, ZELMAR_REPLAY, "--json", "--rules", dir.c_str(), "-", nullptr);
        ::_exit(127);
    }
    ::close(toTool[0]);
    ::close(fromTool[1]);
    FILE* out = ::fdopen(fromTool[0], "r");
    std::vector<Json> steps;
    auto readStep = [&] {
        char* line = nullptr;
        std::size_t size = 0;
        const bool got = ::getline(&line, &size, out) > 0;
        if (got)
            steps.push_back(JsonReader(line).parse());
        std::free(line);
        return got;
    };
    auto send = [&](const std::string& text) {
        return ::write(toTool[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
    };

    ASSERT_TRUE(send("W\n"));
    ASSERT_TRUE(readStep() && readStep()); // start-up, then the win
    writeFile(dir / "winText.txt", "1,4,4");
    ASSERT_TRUE(send("S\nW\n"));
    ::close(toTool[1]);
    while (readStep()) { }
    std::fclose(out);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[0]["winSeq"].items.size(), 2u); // read before the change
    EXPECT_EQ(steps[2]["event"].text, "S");
    EXPECT_EQ(steps[2]["winSeq"].items.size(), 3u);
    EXPECT_EQ(steps[2]["curCol"].number, 1); // the round goes on
    EXPECT_EQ(steps[3]["stake"].number, 4);
    EXPECT_EQ(steps[3]["score"].number, 2);
}

TEST_F(ReplayTool, tableOutputShowsOneRowPerStep)
{
    rules("1,1,2,3", "1,1");
    const ToolRun r = run("WB");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 4); // header, start, W, B
    EXPECT_NE(r.out.find("win 1"), std::string::npos) << r.out;
}

} // namespace
} // namespace zelmar::test
