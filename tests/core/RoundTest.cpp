#include "tests/support/TestView.h"

#include <tuple>

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
        EXPECT_EQ(g.rec().score, s.score)
            << "after " << s.click << ", history " << ::testing::PrintToString(g.rec().history);
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
    EXPECT_TRUE(g.rec().history.empty());
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
    EXPECT_TRUE(g.rec().history.empty());
    EXPECT_EQ(g.rec().score, 0);
}

TEST(RecordResults, emptyRulesOnlyGrowHistory)
{
    Game g;
    g.reload("", "");
    g.play("WWL");
    EXPECT_EQ(g.view.notices, (std::vector<std::string> { "规则未设置好", "规则未设置好", "规则未设定好" }));
    EXPECT_EQ(g.rec().history, (std::vector { Hand::Win, Hand::Win, Hand::Loss }));
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
    EXPECT_TRUE(g.rec().history.empty());
}

// Where the clicks leave the round. One undo steps exactly one cell or
// index back, gaps included.
TEST(Clicks, leaveCursorStakeAndScore)
{
    struct Case {
        const char* win;
        const char* lost;
        const char* clicks;
        Direction direction;
        int row, col, stake, score;
    };
    const char* rows = "1,2,3\r\n5,6\r\n7";
    const std::vector<Case> cases = {
        { "1,1", rows, "LLLB", Direction::Loss, 0, 2, 3, -3 }, // column 0 to the end of the row above
        { "1,1", rows, "LLLLLB", Direction::Loss, 1, 2, 0, -17 }, // ... which may be padding
        { "1,1", rows, "LLLLB", Direction::Loss, 1, 0, 5, -6 }, // only (0, 1) goes back to the origin
        { "1,1", "1,0,2", "LB", Direction::Loss, 0, 1, 0, -1 }, // onto a gap
        { "1,1", "1,1,2,3", "LLB", Direction::Loss, 0, 1, 1, -1 },
        { "1,1", "1,1,2,3", "LLBB", Direction::Origin, 0, 0, 1, 0 },
        { "1,1", "3,1,1", "LB", Direction::Origin, 0, 0, 3, 2 }, // from (0, 1): cell (0, 0) restored
        { "1,2,3", "1,1", "WWB", Direction::Win, 0, 1, 2, 1 },
        { "4,2,3", "1,1", "WB", Direction::Origin, 0, 0, 4, -3 }, // index 0 restored
        // Scores at both ends of 16 bits are no overflow.
        { "1,32766,1", "1,1", "WW", Direction::Win, 0, 2, 1, 32767 },
        { "1,1", "1,32767,1", "LL", Direction::Loss, 0, 2, 1, -32768 },
    };
    for (const Case& c : cases) {
        Game g(c.win, c.lost);
        g.play(c.clicks);
        const RoundRecord& r = g.rec();
        const auto got = std::tuple(r.direction, r.curRow, r.curCol, r.stake, r.score);
        EXPECT_EQ(got, std::tuple(c.direction, c.row, c.col, c.stake, c.score)) << c.lost << " " << c.clicks;
        EXPECT_TRUE(g.view.failures.empty()) << c.clicks;
    }
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
    EXPECT_EQ(g.rec().history, (std::vector { Hand::Loss, Hand::Loss, Hand::Win }));
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
    EXPECT_TRUE(g.rec().history.empty());
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
    g.reload(std::nullopt, "1,0,0");
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
    EXPECT_EQ(wide.rec().history, std::vector { Hand::Loss });
    EXPECT_EQ(wide.rec().curCol, 1);
}

// A reload can leave the cursor outside the new tables: the next click
// that reads there is reported and changes nothing.
TEST(FailingClick, indexOutsideReloadedTable)
{
    struct Case {
        const char* before;
        const char* newWin; // nullptr: keep
        const char* newLost;
        char click;
    };
    const std::vector<Case> cases = {
        { "WWW", "1,1", nullptr, 'B' }, // needs winSeq(2) and winSeq(3)
        { "LLLL", nullptr, "1,2,3", 'L' }, // forward walk from row 2 of a one-row table
        { "LLLLW", nullptr, "1,2,3", 'B' }, // undo's forward walk from row 1
        { "LLLL", nullptr, "1,2,3", 'W' }, // backward walk, from column 0
        { "LLLLL", nullptr, "1,2,3", 'W' }, // backward walk, from column 1
        { "LLLL", nullptr, "1,2,3", 'B' }, // undo of a loss
    };
    for (const Case& c : cases) {
        Game g("1,1,2,3", "1,2\r\n5,6\r\n7,8");
        g.play(c.before);
        g.reload(c.newWin ? std::optional<std::string_view>(c.newWin) : std::nullopt,
            c.newLost ? std::optional<std::string_view>(c.newLost) : std::nullopt);
        const RoundRecord before = g.rec();
        g.view.startStep();
        g.play(std::string(1, c.click));
        ASSERT_EQ(g.view.failures.size(), 1u) << c.before << c.click;
        EXPECT_NE(g.view.failures[0].find("下标越界"), std::string::npos);
        EXPECT_EQ(g.rec(), before);
        EXPECT_EQ(g.view.cellUpdates, 0);
        EXPECT_TRUE(g.view.notices.empty());
    }
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
