#include "tests/support/TestView.h"

#include <random>

namespace zelmar {
namespace {

using test::lostOf;
using test::winOf;

// One move of the cursor from a given cell, and where it must end.
struct Move {
    const char* rule;
    Direction direction;
    bool back; // StepBackLost instead of NextStake
    int row, col;
    bool found;
    int endRow, endCol, stake, lastRow, lastCol;
    bool totalsShown; // a walk that runs out shows the totals
};

class CursorMove : public ::testing::TestWithParam<Move> { };

TEST_P(CursorMove, endsOnExpectedCell)
{
    const Move& m = GetParam();
    RoundRecord r;
    r.direction = m.direction;
    if (m.direction == Direction::Win)
        r.winSeq = winOf(m.rule);
    else
        r.lostTable = lostOf(m.rule);
    r.curRow = static_cast<i16>(m.row);
    r.curCol = static_cast<i16>(m.col);
    RecordedEffects fx;
    const bool found = m.back ? StepBackLost(r, fx) : NextStake(r, fx);
    EXPECT_EQ(found, m.found);
    EXPECT_EQ(r.curRow, m.endRow);
    EXPECT_EQ(r.curCol, m.endCol);
    EXPECT_EQ(r.stake, m.stake);
    EXPECT_EQ(r.lastRow, m.lastRow);
    EXPECT_EQ(r.lastCol, m.lastCol);
    EXPECT_EQ(!fx.take().empty(), m.totalsShown);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(WinSequence, CursorMove, ::testing::Values(
    Move{"1,1,2,3", Direction::Win, false, 0, 0, true, 0, 1, 1, 0, 0, false},
    Move{"1,1,2,3", Direction::Win, false, 0, 2, true, 0, 3, 3, 0, 2, false},
    Move{"1,1,2,3", Direction::Win, false, 0, 3, false, 0, 3, 1, 0, 0, true},  // runs out: nothing moves
    Move{"1,0,-2,4", Direction::Win, false, 0, 0, true, 0, 3, 4, 0, 0, false})); // zero and negative passed over

INSTANTIATE_TEST_SUITE_P(LossTableForward, CursorMove, ::testing::Values(
    Move{"1,2\r\n5,6", Direction::Loss, false, 0, 0, true, 0, 1, 2, 0, 0, false},
    Move{"1,2\r\n5,6", Direction::Loss, false, 0, 1, true, 1, 0, 5, 0, 1, false},
    Move{"1,2\r\n5,6", Direction::Loss, false, 1, 1, false, 1, 0, 0, 0, 1, true}, // stays on the last row, column 0
    Move{"1,2\r\n5,6,7,8", Direction::Loss, false, 0, 1, true, 1, 0, 5, 0, 3, false}, // last cell examined: padding
    Move{"1,0,-4,5", Direction::Loss, false, 0, 0, false, 0, 2, -4, 0, 1, false})); // a negative cell ends the walk

INSTANTIATE_TEST_SUITE_P(LossTableBack, CursorMove, ::testing::Values(
    Move{"1,2\r\n5,6", Direction::Loss, true, 1, 0, true, 0, 1, 2, 1, 0, false},
    Move{"1,2\r\n5,6", Direction::Loss, true, 0, 1, true, 0, 0, 1, 0, 1, false},
    Move{"1,2\r\n5,6", Direction::Loss, true, 0, 0, false, 0, 1, 0, 0, 0, true},
    Move{"1,2\r\n5,6,7,8", Direction::Loss, true, 1, 0, true, 0, 1, 2, 0, 2, false}, // padding passed over
    Move{"1,-3,0,2", Direction::Loss, true, 0, 3, false, 0, 1, -3, 0, 2, false}));
// clang-format on

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
            fast.direction = Direction::Loss;
            fast.curRow = static_cast<i16>(rng() % table->rows());
            fast.curCol = static_cast<i16>(rng() % table->cols());
            RoundRecord slow = fast;
            QuietEffects fx;
            const bool forward = rng() % 2 == 0;
            const int expected = forward ? naiveForward(slow) : naiveBackward(slow);
            const bool got = forward ? NextStake(fast, fx) : StepBackLost(fast, fx);
            ASSERT_EQ(got, expected == 1) << text;
            ASSERT_EQ(fast, slow) << (forward ? "forward on " : "backward on ") << text;
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
    r.direction = Direction::Loss;
    QuietEffects fx;
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
