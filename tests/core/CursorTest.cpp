#include "TestView.h"

#include <random>

namespace zelmar {
namespace {

using test::lostOf;
using test::winOf;

RoundRecord onWin(std::string_view win, int col = 0)
{
    RoundRecord r;
    r.winSeq = winOf(win);
    r.direction = 'W';
    r.curCol = static_cast<i16>(col);
    return r;
}

RoundRecord onLoss(std::string_view lost, int row, int col)
{
    RoundRecord r;
    r.lostTable = lostOf(lost);
    r.direction = 'L';
    r.curRow = static_cast<i16>(row);
    r.curCol = static_cast<i16>(col);
    return r;
}

TEST(NextStakeWin, walksPositiveCellsThenRunsOut)
{
    RoundRecord r = onWin("1,1,2,3");
    ViewEffects fx;
    for (int expected : { 1, 2, 3 }) {
        ASSERT_TRUE(NextStake(r, fx));
        EXPECT_EQ(r.stake, expected);
    }
    EXPECT_EQ(r.curCol, 3);
    EXPECT_TRUE(fx.empty());
    EXPECT_FALSE(NextStake(r, fx));
    EXPECT_EQ(r.curCol, 3);
    EXPECT_EQ(r.stake, 3);
    EXPECT_FALSE(fx.empty()); // the totals are shown when the sequence runs out
}

TEST(NextStakeWin, passesZeroAndNegativeCells)
{
    RoundRecord r = onWin("1,0,-2,4");
    ViewEffects fx;
    ASSERT_TRUE(NextStake(r, fx));
    EXPECT_EQ(r.curCol, 3);
    EXPECT_EQ(r.stake, 4);
    EXPECT_EQ(r.lastCol, 0);
}

TEST(NextStakeLoss, walksRowByRow)
{
    RoundRecord r = onLoss("1,2\r\n5,6", 0, 0);
    ViewEffects fx;
    const std::vector<std::tuple<int, int, int>> expected = { { 0, 1, 2 }, { 1, 0, 5 }, { 1, 1, 6 } };
    for (const auto& [row, col, stake] : expected) {
        ASSERT_TRUE(NextStake(r, fx));
        EXPECT_EQ(r.curRow, row);
        EXPECT_EQ(r.curCol, col);
        EXPECT_EQ(r.stake, stake);
    }
    EXPECT_FALSE(NextStake(r, fx));
    EXPECT_EQ(r.stake, 0);
    EXPECT_EQ(r.curRow, 1); // stays on the old row at column 0
    EXPECT_EQ(r.curCol, 0);
}

TEST(NextStakeLoss, negativeCellEndsTheWalk)
{
    RoundRecord r = onLoss("1,0,-4,5", 0, 0);
    ViewEffects fx;
    EXPECT_FALSE(NextStake(r, fx));
    EXPECT_EQ(r.stake, -4);
    EXPECT_TRUE(fx.empty());
}

TEST(StepBackLost, walksBackToOriginThenRunsOut)
{
    RoundRecord r = onLoss("1,2\r\n5,6", 1, 0);
    ViewEffects fx;
    ASSERT_TRUE(StepBackLost(r, fx));
    EXPECT_EQ(std::make_pair(r.curRow, r.curCol), std::make_pair(i16 { 0 }, i16 { 1 }));
    EXPECT_EQ(r.stake, 2);
    ASSERT_TRUE(StepBackLost(r, fx));
    EXPECT_EQ(std::make_pair(r.curRow, r.curCol), std::make_pair(i16 { 0 }, i16 { 0 }));
    EXPECT_EQ(r.stake, 1);
    EXPECT_FALSE(StepBackLost(r, fx));
}

TEST(StepBackLost, passesPaddingOfShortRow)
{
    RoundRecord r = onLoss("1,2\r\n5,6,7,8", 1, 0);
    ViewEffects fx;
    ASSERT_TRUE(StepBackLost(r, fx));
    EXPECT_EQ(r.curRow, 0);
    EXPECT_EQ(r.curCol, 1);
    EXPECT_EQ(r.stake, 2);
    EXPECT_EQ(r.lastCol, 2); // the last padding cell examined
}

// Reference walks, one cell at a time, to check the engine's skipping of
// padded cells against.
int naiveForward(RoundRecord& r)
{
    const LostTable& t = *r.lostTable;
    r.stake = 0;
    while (r.stake == 0) {
        if (r.curCol + 1 <= t.cols() - 1) {
            r.lastCol = r.curCol;
            r.lastRow = r.curRow;
            ++r.curCol;
            r.stake = t.at(r.curRow, r.curCol);
        } else {
            r.lastCol = r.curCol;
            r.curCol = 0;
            if (r.curRow + 1 > t.rows() - 1)
                return 0;
            r.lastRow = r.curRow;
            ++r.curRow;
            r.stake = t.at(r.curRow, 0);
        }
        if (r.stake > 0)
            return 1;
    }
    return 0;
}

int naiveBackward(RoundRecord& r)
{
    const LostTable& t = *r.lostTable;
    r.stake = 0;
    while (r.stake == 0) {
        if (r.curCol - 1 >= 0) {
            r.lastCol = r.curCol;
            r.lastRow = r.curRow;
            --r.curCol;
            r.stake = t.at(r.curRow, r.curCol);
        } else {
            r.lastCol = r.curCol;
            r.curCol = static_cast<i16>(t.cols() - 1);
            if (r.curRow - 1 < 0)
                return 0;
            r.lastRow = r.curRow;
            --r.curRow;
            r.stake = t.at(r.curRow, r.curCol);
        }
        if (r.stake > 0)
            return 1;
    }
    return 0;
}

TEST(LossWalks, matchCellByCellWalkOnRandomSparseTables)
{
    std::mt19937 rng(20261207);
    for (int round = 0; round < 300; ++round) {
        // Short rows of mostly zeros, a few negatives, padded to a wide table.
        std::string text;
        const int rows = 1 + static_cast<int>(rng() % 6);
        for (int row = 0; row < rows; ++row) {
            if (row)
                text += "\r\n";
            const int items = static_cast<int>(rng() % 4);
            for (int i = 0; i < items; ++i) {
                if (i)
                    text += ',';
                const int pick = static_cast<int>(rng() % 10);
                text += pick < 6 ? "0" : pick < 9 ? std::to_string(1 + rng() % 9) : "-1";
            }
            if (items > 0 && rng() % 3 == 0)
                text += std::string(rng() % 12, ' '); // widens the table
        }
        const auto table = lostOf(text);
        for (int start = 0; start < 5; ++start) {
            RoundRecord fast;
            fast.lostTable = table;
            fast.direction = 'L';
            fast.curRow = static_cast<i16>(rng() % table->rows());
            fast.curCol = static_cast<i16>(rng() % table->cols());
            RoundRecord slow = fast;
            ViewEffects fx;
            const bool forward = rng() % 2 == 0;
            const int expected = forward ? naiveForward(slow) : naiveBackward(slow);
            const bool got = forward ? NextStake(fast, fx) : StepBackLost(fast, fx);
            ASSERT_EQ(got, expected == 1) << text;
            ASSERT_TRUE(fast.sameRoundAs(slow)) << (forward ? "forward on " : "backward on ") << text;
        }
    }
}

TEST(LossWalks, sparseTableWalkEndsQuickly)
{
    // 32768 x 32767 cells, only the first and last rows hold a stake.
    std::string text = "1" + std::string(65532, ' ');
    for (int i = 1; i < 32768; ++i)
        text += "\r\n";
    text += "9";
    RoundRecord r;
    r.lostTable = lostOf(text);
    r.direction = 'L';
    ViewEffects fx;
    ASSERT_TRUE(NextStake(r, fx));
    EXPECT_EQ(r.curRow, 32767);
    EXPECT_EQ(r.curCol, 0);
    EXPECT_EQ(r.stake, 9);
    ASSERT_TRUE(StepBackLost(r, fx));
    EXPECT_EQ(r.curRow, 0);
    EXPECT_EQ(r.curCol, 0);
}

} // namespace
} // namespace zelmar
