// zelmar-sim run on real rule files, in-process; and the executable for
// what only a process shows: the choice of command and Ctrl-C.

#include "tests/support/RunCommand.h"
#include "tests/support/TempFolder.h"
#include "tools/sim/RunCommand.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace zelmar::test {
namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

class SimTool : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeFile(dir / "winText.txt", "1,1,2,3");
        writeFile(dir / "lostText.txt", "1,1,2,3\r\n2,2,4,6\r\n3,3,6,9");
    }

    // `command` with --rules of the test's folder, then `args`; with
    // `outFails` every write of the report fails, as on a full disk.
    ToolRun run(const std::string& args, decltype(&zelmar::runCommand) command = zelmar::runCommand,
        bool outFails = false)
    {
        std::vector<std::string> words { "--rules", dir.string() };
        std::istringstream split(args);
        for (std::string word; split >> word;)
            words.push_back(word);
        std::ostringstream text;
        std::ostream to(outFails ? nullptr : text.rdbuf());
        std::ostringstream err;
        const int status = command(words, to, err);
        return { status, text.str(), err.str() };
    }

    TempFolder folder;
    const fs::path& dir = folder.path;
};

TEST_F(SimTool, sameSeedGivesTheSameReportOnOneAndTwoThreads)
{
    const struct {
        const char* args;
        const char* said;
    } cases[] = {
        { "--rounds 30000", "局数：30000 局" },
        { "--win-chance 0.49 --rounds 30000", "局数：30000 局" },
        { "--bet player --decks 6 --rounds 30000", "局数：30000 局" },
        { "--game no-commission --rounds 30000", "免佣百家乐" },
        { "--sessions 1000 --session-rounds 50 --bankroll 40 --stop-win 20", "场数：1000 场" },
    };
    for (const auto& c : cases) {
        const ToolRun one = run(std::string(c.args) + " --seed 7 --threads 1");
        const ToolRun two = run(std::string(c.args) + " --seed 7 --threads 2");
        ASSERT_EQ(one.status, 0) << one.err;
        EXPECT_NE(one.out.find(c.said), std::string::npos) << one.out;
        EXPECT_EQ(one.out, two.out) << c.args;
    }
    const ToolRun json = run("--seed 7 --rounds 30000 --json");
    ASSERT_EQ(json.status, 0);
    EXPECT_EQ(json.out.front(), '{');
    EXPECT_NE(json.out.find("\"seed\":\"7\""), std::string::npos);
    EXPECT_EQ(json.err, "种子：7（用 --seed 7 可以重复这次运行）\n");
}

TEST_F(SimTool, csvHasOneRowPerRoundAndChartHasTheSizeAskedFor)
{
    const fs::path csv = dir / "rounds.csv";
    const fs::path png = dir / "chart.png";
    const ToolRun r = run(
        "--seed 3 --rounds 1500 --csv " + csv.string() + " --plot " + png.string() + " --plot-size 900x700");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string rows = readFile(csv);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), 1501);
    EXPECT_EQ(rows.substr(rows.rfind('\n', rows.size() - 2) + 1, 5), "1500,");

    const std::string image = readFile(png);
    ASSERT_GE(image.size(), 24u);
    EXPECT_EQ(image.substr(0, 8), "\x89PNG\r\n\x1a\n");
    const auto be32 = [&](std::size_t at) {
        return (unsigned char)image[at] << 24 | (unsigned char)image[at + 1] << 16
            | (unsigned char)image[at + 2] << 8 | (unsigned char)image[at + 3];
    };
    EXPECT_EQ(image.substr(12, 4), "IHDR");
    EXPECT_EQ(be32(16), 900);
    EXPECT_EQ(be32(20), 700);
}

TEST_F(SimTool, badInputIsNamedWithStatusTwo)
{
    struct Case {
        std::string args;
        std::string said;
    };
    const std::vector<Case> cases = {
        { "--win-chance 1.5", "--win-chance" },
        { "--win-chance -0.1", "--win-chance" },
        { "--win-chance x", "--win-chance" },
        { "--decks 0", "--decks" },
        { "--rounds -5", "--rounds" },
        { "--rounds 10x", "--rounds" },
        { "--max-hands 0", "--max-hands" },
        { "--table-max 0", "--table-max" },
        { "--threads 0", "--threads" },
        { "--cut 416", "--cut" },
        { "--bet tie", "--bet" },
        { "--game roulette", "--game" },
        { "--win-chance 0.5 --decks 6", "--win-chance" },
        { "--bankroll 0", "--bankroll" },
        { "--plot-size 900", "--plot-size" },
        { "--rounds", "--rounds 后面缺少取值" },
        { "--csv --json", "--csv 后面缺少取值" },
        { "--rounds 5 --rounds 6", "--rounds 只能给一次" },
        { "--rules /tmp", "--rules 只能给一次" },
        { "--stop-win 5", "--session-rounds、--stop-win 和 --stop-loss 要与 --sessions K 同用" },
        { "--sessions 10 --stop-loss -1", "--stop-loss" },
        { "--sessions 10 --rounds 5", "--rounds 不能与 --sessions 同用" },
        { "--commission 0.0500004", "--commission 最多 6 位小数" },
        { "--bankroll 0.5", "--bankroll 至少要 1 个单位" },
        { "--plot-size 200x100", "--plot-size 要与 --plot" },
        { "--csv -", "--csv 需要一个文件名" },
        { "--game no-commission --commission 0.04", "免佣百家乐不抽佣" },
        { "--fast", "无法识别的参数：--fast" },
        { "--plot /nonexistent-folder/chart.png", "无法写入图表文件" },
        { "--plot chart.jpg", "图表只能存为 PNG 图片，文件名要以 .png 结尾：chart.jpg" },
    };
    for (const Case& c : cases) {
        const ToolRun r = run(c.args);
        EXPECT_EQ(r.status, 2) << c.args << "\n" << r.err;
        EXPECT_EQ(r.err.rfind(c.said, 0), 0u) << c.args << "\n" << r.err;
        EXPECT_EQ(r.out, "") << c.args;
    }
}

// A report, a CSV or a chart that could not be written fails the run.
TEST_F(SimTool, failedWritesAreNamedWithStatusOne)
{
    // A chart's name must end in .png: a full disk under that name.
    const std::string fullPng = (dir / "full.png").string();
    fs::create_symlink("/dev/full", fullPng);
    const struct {
        std::string args;
        bool outFails;
        std::string said; // on the error stream
    } cases[] = {
        { "--rounds 2000 --json", true, "写入标准输出时出错" },
        { "--rounds 2000", true, "写入标准输出时出错" },
        { "--sessions 100", true, "写入标准输出时出错" },
        { "--help", true, "写入标准输出时出错" },
        { "--version", true, "写入标准输出时出错" },
        { "--rounds 2000 --csv /dev/full", false, "写入 CSV 文件 /dev/full 时出错" },
        { "--rounds 2000 --plot " + fullPng + " --plot-size 200x100", false, "无法写入图表文件 " + fullPng },
    };
    for (const auto& c : cases) {
        const ToolRun r = run("--seed 1 " + c.args, zelmar::runCommand, c.outFails);
        EXPECT_EQ(r.status, 1) << c.args << "\n" << r.err;
        EXPECT_NE(r.err.find(c.said), std::string::npos) << c.args << "\n" << r.err;
    }
}

// Both rule sets on the same hands: the same folder twice differs by nothing.
TEST_F(SimTool, compareShowsBothAndTheirDifference)
{
    const std::string args
        = "--rules " + dir.string() + " --win-chance 0.5 --rounds 20000 --seed 4 --bankroll 30";
    const ToolRun text = run(args, zelmar::compareCommand);
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("每局净输赢（单位）\n  A "), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("  A − B 0 ± 0\n"), std::string::npos) << text.out;
    const ToolRun json = run(args + " --json", zelmar::compareCommand);
    ASSERT_EQ(json.status, 0);
    EXPECT_NE(json.out.find("\"brokeShare\":{\"a\":{"), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"hands\":{\"a\":"), std::string::npos) << json.out; // as the text has them

    for (const auto& [more, said] : std::vector<std::pair<std::string, std::string>> {
             { "", "compare 需要两个 --rules 目录" }, { "--rules /tmp --rules /tmp", "--rules 最多给 2 次" },
             { args + " --csv x.csv", "compare 不能与 --csv" },
             { "--rules /tmp --sessions 5", "compare 不能与" } }) {
        const ToolRun r = run(more, zelmar::compareCommand);
        EXPECT_EQ(r.status, 2) << more;
        EXPECT_EQ(r.err.rfind(said, 0), 0u) << more << "\n" << r.err;
    }
}

TEST_F(SimTool, missingOrMalformedRulesAreReportedWithStatusTwo)
{
    fs::remove(dir / "lostText.txt");
    ToolRun r = run("--rounds 10");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("找不到规则文件"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir / "lostText.txt")) << "a simulation does not create rule files";

    writeFile(dir / "lostText.txt", "1,x");
    r = run("--rounds 10");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("lostText.txt 第1行 第2项“x”"), std::string::npos) << r.err;

    writeFile(dir / "lostText.txt", "");
    r = run("--rounds 10");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("规则未设置好"), std::string::npos) << r.err;
}

TEST(SimExecutable, firstWordChoosesTheCommand)
{
    const std::string sim = ZELMAR_SIM;
    EXPECT_EQ(runCommand(sim + " --version").out, "zelmar-sim " ZELMAR_VERSION "\n");
    EXPECT_EQ(runCommand(sim + " check --rules " ZELMAR_EXAMPLES).out.rfind("最坏情况：", 0), 0u);
    EXPECT_EQ(runCommand(sim + " compare --help").out.rfind("用法：zelmar-sim compare", 0), 0u);
    const CommandRun walk = runCommand(sim + " walk 2>&1");
    EXPECT_EQ(walk.status, 2);
    EXPECT_EQ(walk.out.rfind("无法识别的命令：walk\n用法：zelmar-sim 命令", 0), 0u) << walk.out;
    EXPECT_EQ(runCommand(sim + " 2>&1").out.rfind("缺少命令。\n", 0), 0u);
}

// Ctrl-C once the run has begun (its first line, the seed, is out): the
// figures of the finished rounds are printed, marked as such.
TEST_F(SimTool, interruptPrintsTheFinishedRoundsAndSaysSo)
{
    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    const std::string rules = dir.string();
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        ::execl(ZELMAR_SIM, ZELMAR_SIM, "run", "--rules", rules.c_str(), "--rounds", "200000000", "--seed",
            "5", "--threads", "2", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    std::string text;
    char buf[4096];
    bool signalled = false;
    for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) > 0;) {
        text.append(buf, static_cast<std::size_t>(n));
        if (!signalled && text.find('\n') != std::string::npos) {
            ::kill(pid, SIGINT);
            signalled = true;
        }
    }
    ::close(out[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status)) << text;
    EXPECT_EQ(WEXITSTATUS(status), 130) << text;
    EXPECT_EQ(text.rfind("种子：5", 0), 0u) << text;
    EXPECT_NE(text.find("已中断：以下只统计已经玩完的"), std::string::npos) << text;
    EXPECT_EQ(text.find("局数：200000000 局"), std::string::npos) << text;
}

} // namespace
} // namespace zelmar::test
