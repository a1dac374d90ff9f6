#include "tests/support/TestView.h"

namespace zelmar {
namespace {

using test::Game;

const std::string EndOfSeq = notices::EndOfSequence;
const std::string LostOnWin = notices::LostOnWinSide;
const std::string Turned = notices::TurnedOnLossSide;

struct Step {
    char click;
    int score;
    int stake;
};

void expectSteps(Game& g, const std::vector<Step>& steps)
{
    for (const Step& s : steps) {
        g.play(std::string(1, s.click));
        EXPECT_EQ(g.rec().score, s.score) << "after " << s.click << ", history " << g.rec().history;
        EXPECT_EQ(g.rec().stake, s.stake) << "after " << s.click;
        EXPECT_EQ(g.view.shownScore, std::to_string(s.score));
        EXPECT_EQ(g.view.shownStake, std::to_string(s.stake));
    }
}

TEST(RecordResults, winPathRunsOutAndEndsRound)
{
    Game g("1,1,2,3", "1,1,2,3");
    expectSteps(g, { { 'W', 1, 1 }, { 'W', 2, 2 }, { 'W', 4, 3 } });
    EXPECT_EQ(g.rec().curCol, 3);
    g.play("W");
    EXPECT_EQ(g.view.notices, std::vector<std::string> { EndOfSeq + "7" });
    EXPECT_EQ(g.rec().direction, Direction::Origin);
    EXPECT_EQ(g.rec().score, 0);
    EXPECT_EQ(g.rec().stake, 1);
    EXPECT_EQ(g.rec().history, "");
}

TEST(RecordResults, lossPathTurnsPositiveAndEndsRound)
{
    Game g("1,1,2,3", "1,1,2,3");
    expectSteps(g, { { 'L', -1, 1 }, { 'L', -2, 2 }, { 'L', -4, 3 }, { 'W', -1, 2 } });
    EXPECT_EQ(g.rec().curCol, 2);
    EXPECT_TRUE(g.view.notices.empty());
    g.play("W");
    EXPECT_EQ(g.view.notices, std::vector<std::string> { Turned + "1" });
    EXPECT_EQ(g.rec().direction, Direction::Origin);
    EXPECT_EQ(g.view.shownScore, "0");
    EXPECT_EQ(g.view.shownStake, "1");
}

TEST(RecordResults, lossAfterWinEndsRoundWithScoreMinusStake)
{
    Game g("1,5,2", "1,1");
    g.play("WL");
    EXPECT_EQ(g.view.notices, std::vector<std::string> { LostOnWin + "-4" });
    EXPECT_EQ(g.rec().direction, Direction::Origin);
}

TEST(RecordResults, winBringingScoreToZeroMovesBack)
{
    Game g("1,1", "1,1,2");
    g.play("LW"); // -1, then +1 = 0: not above 0
    EXPECT_TRUE(g.view.notices.empty());
    EXPECT_EQ(g.rec().direction, Direction::Loss);
    EXPECT_EQ(g.rec().curCol, 0);
    EXPECT_EQ(g.rec().score, 0);
}

TEST(RecordResults, restartAnywhereEvenAtOrigin)
{
    Game g("1,1,2,3", "1,1,2,3");
    g.play("R");
    EXPECT_EQ(g.view.notices, std::vector<std::string> { "重新开始了" });
    g.view.startStep();
    g.play("WWR");
    EXPECT_EQ(g.view.notices, std::vector<std::string> { "重新开始了" });
    EXPECT_EQ(g.rec().history, "");
    EXPECT_EQ(g.rec().score, 0);
}

TEST(RecordResults, emptyRulesOnlyGrowHistory)
{
    Game g;
    g.calc.setRules(nullptr, nullptr, true);
    g.play("WWL");
    EXPECT_EQ(g.view.notices, (std::vector<std::string> { "规则未设置好", "规则未设置好", "规则未设定好" }));
    EXPECT_EQ(g.rec().history, "110");
    EXPECT_EQ(g.rec().stake, 1);
    EXPECT_EQ(g.rec().score, 0);
    EXPECT_TRUE(g.view.failures.empty());
}

TEST(Undo, winPathBackToOriginThenRefuses)
{
    Game g("1,1,2,3", "1,1,2,3");
    g.play("WW");
    expectSteps(g, { { 'B', 1, 1 } });
    EXPECT_EQ(g.rec().curCol, 1);
    expectSteps(g, { { 'B', 0, 1 } });
    EXPECT_EQ(g.rec().direction, Direction::Origin);
    g.play("B");
    EXPECT_EQ(g.view.notices, std::vector<std::string> { "已经在原点，不能后退" });
    EXPECT_EQ(g.rec().history, "");
}

TEST(Undo, lossPathBackToOrigin)
{
    Game g("1,1,2,3", "1,1,2,3");
    expectSteps(g, { { 'L', -1, 1 }, { 'L', -2, 2 }, { 'B', -1, 1 }, { 'B', 0, 1 } });
    EXPECT_EQ(g.rec().direction, Direction::Origin);
    EXPECT_EQ(g.rec().curCol, 0);
}

TEST(Undo, winOnLossPathWalksForwardAgain)
{
    Game g("1,1", "3,1,1");
    g.play("LLWW"); // -1, -2, then back to (0,1) at -1 and to (0,0) at 0
    EXPECT_EQ(g.rec().curCol, 0);
    EXPECT_EQ(g.rec().stake, 3);
    EXPECT_EQ(g.rec().score, 0);
    g.play("B");
    EXPECT_EQ(g.rec().direction, Direction::Loss);
    EXPECT_EQ(g.rec().curCol, 1);
    EXPECT_EQ(g.rec().stake, 1);
    EXPECT_EQ(g.rec().score, -1);
    EXPECT_EQ(g.rec().history, "001");
}

TEST(Undo, afterEndOfRoundReportsOrigin)
{
    Game g("1,1", "1,1");
    g.play("WW");
    g.view.startStep();
    g.play("B");
    EXPECT_EQ(g.view.notices, std::vector<std::string> { "已经在原点，不能后退" });
}

// With gaps, undo can stop short of the origin with nothing left to take back.
TEST(Undo, emptyHistoryAwayFromOriginOnlyShowsCursor)
{
    Game g("1,0,0,4", "1,1");
    g.play("W");
    EXPECT_EQ(g.rec().curCol, 3);
    g.play("B");
    EXPECT_EQ(g.rec().curCol, 2);
    EXPECT_EQ(g.rec().stake, 0);
    EXPECT_EQ(g.rec().history, "");
    EXPECT_EQ(g.rec().direction, Direction::Win);
    const RoundRecord before = g.rec();
    g.view.startStep();
    g.play("B");
    EXPECT_TRUE(g.view.failures.empty());
    EXPECT_TRUE(g.view.notices.empty());
    EXPECT_EQ(g.view.totalsShown, 0);
    EXPECT_EQ(g.view.cellUpdates, 1);
    EXPECT_EQ(g.rec().curCol, before.curCol);
    EXPECT_EQ(g.rec().score, before.score);
}

// Reloaded rules can leave no cell ahead for undo's forward walk.
TEST(Undo, forwardWalkPastLastRowStopsUnchanged)
{
    Game g("1,1", "3,1,1");
    g.play("LLWW"); // back at (0,0)
    g.calc.setRules(nullptr, test::lostOf("1,0,0"), false);
    const RoundRecord before = g.rec();
    g.view.startStep();
    g.play("B");
    EXPECT_EQ(g.rec(), before);
    EXPECT_EQ(g.view.cellUpdates, 1);
    EXPECT_EQ(g.view.totalsShown, 0);
    EXPECT_TRUE(g.view.notices.empty());
}

// A failing click changes nothing, shows none of its notices or marks, and
// is reported; the next click works.
TEST(FailingClick, overflowLeavesRecordUnchanged)
{
    struct Case {
        const char* win;
        const char* lost;
        const char* before;
        char click;
    };
    const std::vector<Case> cases = {
        { "1,30000,30000", "1,1", "WW", 'W' }, // 30001 + 30000
        { "1,1", "1,30000,30000,1", "LL", 'L' }, // -30001 - 30000
    };
    for (const Case& c : cases) {
        Game g(c.win, c.lost);
        g.play(c.before);
        const RoundRecord before = g.rec();
        const auto winMarks = g.grids().win().marks().size();
        const auto lostMarks = g.grids().lost().marks().size();
        g.view.startStep();
        g.play(std::string(1, c.click));
        ASSERT_EQ(g.view.failures.size(), 1u) << c.before << c.click;
        EXPECT_NE(g.view.failures[0].find("溢出"), std::string::npos);
        EXPECT_EQ(g.rec(), before) << c.before << c.click;
        EXPECT_TRUE(g.view.notices.empty());
        EXPECT_EQ(g.view.totalsShown, 0);
        EXPECT_EQ(g.view.cellUpdates, 0);
        EXPECT_EQ(g.grids().win().marks().size(), winMarks);
        EXPECT_EQ(g.grids().lost().marks().size(), lostMarks);
        // The program goes on.
        g.view.startStep();
        g.play("R");
        EXPECT_EQ(g.view.notices, std::vector<std::string> { "重新开始了" });
    }
}

TEST(FailingClick, cursorPastColumn32767IsReported)
{
    // The cursor cannot step past column 32767 of a table that wide.
    Game wide("1,1", "1,2" + std::string(65532, ' ') + "\r\n4");
    ASSERT_EQ(wide.rec().lostTable->cols(), 32768);
    wide.play("LL");
    ASSERT_EQ(wide.view.failures.size(), 1u);
    EXPECT_EQ(wide.rec().history, "0");
    EXPECT_EQ(wide.rec().curCol, 1);
}

TEST(FailingClick, indexOutsideReloadedTable)
{
    Game g("1,1,2,3", "1,1");
    g.play("WWW"); // win index 3
    g.calc.setRules(test::winOf("1,1"), nullptr, false);
    const RoundRecord before = g.rec();
    g.view.startStep();
    g.play("B"); // needs winSeq(2) and winSeq(3)
    ASSERT_EQ(g.view.failures.size(), 1u);
    EXPECT_NE(g.view.failures[0].find("下标越界"), std::string::npos);
    EXPECT_EQ(g.rec(), before);
    EXPECT_EQ(g.view.cellUpdates, 0);
}

} // namespace
} // namespace zelmar

namespace zelmar {
namespace {

// What a click shows, in order.
std::vector<std::string> shown(const Effects& effects)
{
    std::vector<std::string> log;
    for (const Effect& e : effects) {
        switch (e.kind) {
        case Effect::Kind::ShowTotals:
            log.push_back("totals " + decimal(e.score) + " " + decimal(e.stake));
            break;
        case Effect::Kind::ShowCursor:
            log.push_back(std::string("cursor ") + directionText(e.cursor.direction));
            break;
        case Effect::Kind::ClearMarks:
            log.push_back(std::string("clear ") + directionText(e.direction));
            break;
        case Effect::Kind::Notice:
        case Effect::Kind::Failure:
            log.push_back("notice " + e.text);
            break;
        }
    }
    return log;
}

// An end-of-round notice comes up over the totals the ending hand left (on
// the loss side, the score it states), and the marks go and the totals
// return to the origin only once it is closed.
TEST(EffectOrder, endNoticeComesBeforeTheRoundIsReset)
{
    struct Case {
        const char* win;
        const char* lost;
        const char* before;
        char last;
        std::vector<std::string> shown;
    };
    const std::vector<Case> cases = {
        { "1,1,2", "1,1", "W", 'L', { "notice " + LostOnWin + "0", "clear W", "totals 0 1" } },
        { "1,1", "1,2,3", "L", 'W',
            { "totals 1 2", "notice " + Turned + "1", "clear L", "totals 0 1", "cursor Z" } },
        { "1,1", "1,1", "W", 'W',
            { "totals 2 1", "notice " + EndOfSeq + "2", "clear W", "totals 0 1", "totals 0 1", "cursor Z" } },
        { "1,1", "1,1", "L", 'L', { "totals -2 0", "notice " + EndOfSeq + "-2", "clear L", "totals 0 1" } },
    };
    for (const Case& c : cases) {
        Round round;
        round.setRules(test::winOf(c.win), test::lostOf(c.lost), false);
        for (const char* p = c.before; *p; ++p)
            (void)(*p == 'W' ? round.cmdWin_Click() : round.cmdLost_Click());
        EXPECT_EQ(shown(c.last == 'W' ? round.cmdWin_Click() : round.cmdLost_Click()), c.shown)
            << c.before << c.last;
    }
}

} // namespace
} // namespace zelmar
