#include "tests/support/TestView.h"

#include "engine/ColumnChars.h"

#include <algorithm>

namespace zelmar {
namespace {

using test::Game;

std::vector<std::string> rowTexts(const SequenceGrid& g, int row)
{
    std::vector<std::string> out;
    for (int c = 0; c < g.cols(); ++c)
        out.push_back(g.text(row, c));
    return out;
}

bool isMarked(const SequenceGrid& g, int r, int c, bool red)
{
    const CellStyle s = g.style(r, c);
    return s.bold && (red ? s.color == CellColor::Red : s.color != CellColor::Red);
}

bool isPlainBlack(const SequenceGrid& g, int r, int c)
{
    const CellStyle s = g.style(r, c);
    return !s.bold && s.color == CellColor::Black;
}

TEST(FillGrids, shapesAndTexts)
{
    Game g("1,1,2,3", "1,2\r\n5\r\n-3");
    const SequenceGrid& win = g.grids().win();
    const SequenceGrid& lost = g.grids().lost();
    EXPECT_EQ(win.rows(), 1);
    EXPECT_EQ(rowTexts(win, 0), (std::vector<std::string> { "1", "1", "2", "3" }));
    EXPECT_EQ(lost.rows(), 3);
    EXPECT_EQ(lost.cols(), 2);
    EXPECT_EQ(lost.text(1, 1), "0");
    EXPECT_EQ(lost.text(2, 0), "-3");
    EXPECT_TRUE(win.marks().empty());
    EXPECT_TRUE(lost.marks().empty());
    EXPECT_EQ(win.style(0, 0).color, CellColor::Default);
}

TEST(FillGrids, neverFilledTablesShowNoValues)
{
    Game g;
    g.reload("", "4,5");
    EXPECT_EQ(g.grids().win().rows(), 1);
    EXPECT_EQ(g.grids().win().cols(), 0);
    EXPECT_EQ(g.grids().lost().cols(), 2);
    EXPECT_EQ(g.grids().win().text(0, 0), "");
}

TEST(ShowCursor, firstWinAndFirstLossMarkRed)
{
    Game w("1,1,2,3", "1,1,2,3");
    w.play("W");
    EXPECT_TRUE(isMarked(w.grids().win(), 0, 1, true));
    EXPECT_TRUE(isPlainBlack(w.grids().win(), 0, 0));
    EXPECT_TRUE(w.grids().lost().marks().empty());

    Game l("1,1,2,3", "1,1,2,3");
    l.play("L");
    EXPECT_TRUE(isMarked(l.grids().lost(), 0, 1, true));
    EXPECT_TRUE(isPlainBlack(l.grids().lost(), 0, 0));
    EXPECT_TRUE(l.grids().win().marks().empty());
}

// Where the mark lands and whether it is red: only the origin cell (0, 0)
// stays black, on either grid; a cell in column 0 of a lower loss row is red.
struct MarkCase {
    Direction direction;
    int curRow, curCol;
    bool onWin, onLost; // which grids get the mark
    bool red;
};

class MarkColour : public ::testing::TestWithParam<MarkCase> { };

TEST_P(MarkColour, onlyTheOriginStaysBlack)
{
    const MarkCase& m = GetParam();
    SequenceGrids grids;
    grids.FillGrids(test::winOf("1,1,2"), test::lostOf("1,1,2\r\n3,4,5"));
    grids.ShowCursor(
        { m.direction, static_cast<i16>(m.curRow), static_cast<i16>(m.curCol), 0, 5 }); // nothing to unmark
    const int winRow = m.direction == Direction::Win ? 0 : m.curRow;
    for (const auto& [grid, row, expected] :
        { std::tuple { &grids.win(), winRow, m.onWin }, std::tuple { &grids.lost(), m.curRow, m.onLost } }) {
        const CellStyle s = grid->style(row, m.curCol);
        EXPECT_EQ(s.bold, expected);
        if (expected) {
            EXPECT_EQ(s.color == CellColor::Red, m.red);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, MarkColour,
    ::testing::Values(MarkCase { Direction::Win, 0, 1, true, false, true },
        MarkCase { Direction::Win, 0, 0, true, false, false },
        MarkCase { Direction::Win, 1, 2, true, false, true }, // the row of a win mark is always 0
        MarkCase { Direction::Loss, 0, 1, false, true, true },
        MarkCase { Direction::Loss, 1, 0, false, true, true },
        MarkCase { Direction::Loss, 0, 0, false, true, false },
        MarkCase { Direction::Origin, 0, 0, true, true, false }));

TEST(ShowCursor, backToOriginCellIsBoldNotRed)
{
    Game g("1,1", "3,1,1");
    g.play("LLWW");
    EXPECT_EQ(g.rec().curCol, 0);
    EXPECT_TRUE(isMarked(g.grids().lost(), 0, 0, false));
    EXPECT_TRUE(isPlainBlack(g.grids().lost(), 0, 1));
}

TEST(ShowCursor, gapsLeaveTwoMarkedCells)
{
    Game g("1,1", "1,2,0,4");
    g.play("LL"); // (0,1), then over the gap at (0,2) to (0,3)
    EXPECT_EQ(g.rec().lastCol, 2);
    EXPECT_TRUE(isMarked(g.grids().lost(), 0, 1, true));
    EXPECT_TRUE(isMarked(g.grids().lost(), 0, 3, true));
    // plus the two cells set plain and black: the origin and the gap
    EXPECT_EQ(g.grids().lost().marks().size(), 4u);
}

TEST(ShowCursor, undoOfFirstWinMarksBothOrigins)
{
    Game g("1,1,2,3", "1,1,2");
    g.play("WB");
    EXPECT_EQ(g.rec().direction, Direction::Origin);
    for (const SequenceGrid* grid : { &g.grids().win(), &g.grids().lost() }) {
        EXPECT_TRUE(isMarked(*grid, 0, 0, false));
        EXPECT_TRUE(isPlainBlack(*grid, 0, 1));
    }
    g.play("W"); // the loss grid's origin stays bold during a round on the win path
    EXPECT_TRUE(isMarked(g.grids().lost(), 0, 0, false));
}

TEST(ShowCursor, cellOutsideGridIsSkipped)
{
    Game g("1,1,2,3", "5");
    g.play("WB"); // back to the origin: the unmark of (0,1) falls outside the 1x1 loss grid
    EXPECT_TRUE(g.view.failures.empty());
    EXPECT_TRUE(isMarked(g.grids().lost(), 0, 0, false));
    EXPECT_EQ(g.grids().lost().marks().size(), 1u);
}

// The calculator tells its view every cell whose look a click changed, so
// that a window repaints it: each cell that looks different afterwards is
// among the cells reported, or its whole grid is.
TEST(ShowCursor, clickReportsEveryCellWhoseLookChanged)
{
    struct Case {
        const char* win;
        const char* lost;
        const char* clicks;
    };
    const Case cases[] = {
        { "1,1,2,3", "1,1,2\r\n3,4", "WWBBLLLLWBR" }, { "1,0,0,4", "1,0,2\r\n5", "WBBLLWBLL" }, // gaps
        { "1,1", "1,1", "WWLLLWL" }, // rounds that end
    };
    using Looks = std::vector<CellStyle>;
    const auto looks = [](const SequenceGrid& g) {
        Looks all;
        for (int r = 0; r < g.rows(); ++r)
            for (int c = 0; c < g.cols(); ++c)
                all.push_back(g.style(r, c));
        return all;
    };
    for (const Case& c : cases) {
        Game g(c.win, c.lost);
        for (const char* click = c.clicks; *click; ++click) {
            const Looks before[] = { looks(g.grids().win()), looks(g.grids().lost()) };
            g.view.changed.clear();
            g.play(std::string(1, *click));
            for (const Direction which : { Direction::Win, Direction::Loss }) {
                const SequenceGrid& grid = g.grids().grid(which);
                const Looks after = looks(grid);
                const Looks& was = before[which == Direction::Win ? 0 : 1];
                for (int i = 0; i < static_cast<int>(after.size()); ++i) {
                    const int row = i / grid.cols();
                    const int col = i % grid.cols();
                    const bool reported
                        = std::ranges::any_of(g.view.changed, [&](const SequenceGrids::Changed& ch) {
                              return ch.grid == which
                                  && ((ch.row == row && ch.col == col) || ch.row == SequenceGrids::AllCells);
                          });
                    EXPECT_TRUE(after[i] == was[i] || reported)
                        << c.clicks << ": click " << click - c.clicks + 1 << " changed "
                        << directionText(which) << " (" << row << ", " << col << ") unreported";
                }
            }
        }
    }
}

TEST(ClearMarks, endOfRoundClearsOnlyItsGrid)
{
    Game g("1,1", "1,1,2");
    g.play("WW"); // the win path runs out
    EXPECT_TRUE(g.grids().win().marks().empty());
    EXPECT_TRUE(g.grids().win().plainBlack());
    EXPECT_TRUE(isPlainBlack(g.grids().win(), 0, 1));
    EXPECT_FALSE(g.grids().lost().plainBlack()); // never cleared

    // The cursor shown at the origin after the end marks and at once unmarks (0,0).
    g.play("WB");
    g.play("WW");
    EXPECT_TRUE(g.grids().win().marks().empty());
    EXPECT_TRUE(isPlainBlack(g.grids().lost(), 0, 0));

    g.play("LL");
    g.play("L"); // the loss path runs out
    EXPECT_TRUE(g.grids().lost().marks().empty());
    EXPECT_TRUE(g.grids().lost().plainBlack());
}

TEST(ClearMarks, reportsMarkedCellsAndWholeGridOnce)
{
    SequenceGrids grids;
    grids.FillGrids(test::winOf("1,1,2"), test::lostOf("1"));
    grids.ShowCursor({ Direction::Win, 0, 2, 0, 1 });
    auto changed = grids.ClearMarks(Direction::Win);
    ASSERT_EQ(changed.size(), 3u); // whole grid turns black, plus the two styled cells
    EXPECT_EQ(changed[0].row, SequenceGrids::AllCells);
    changed = grids.ClearMarks(Direction::Win);
    EXPECT_TRUE(changed.empty()); // already plain and black: nothing to repaint
    EXPECT_TRUE(grids.ClearMarks(Direction::Origin).empty());
}

TEST(FillGrids, reloadRemovesMarksButKeepsRound)
{
    Game g("1,1,2,3", "1,1");
    g.play("WW");
    g.reload("1,1,2,3,5", std::nullopt);
    EXPECT_TRUE(g.grids().win().marks().empty());
    EXPECT_EQ(g.rec().curCol, 2);
    g.play("W");
    EXPECT_TRUE(isMarked(g.grids().win(), 0, 3, true));
}

// The widest text of a column decides its width; every 16-bit value counts
// its characters as its decimal text has them.
TEST(ColumnChars, everyValueCountsItsDecimalText)
{
    for (int v = INT16_MIN; v <= INT16_MAX; ++v)
        ASSERT_EQ(decimalChars(static_cast<i16>(v)), static_cast<int>(decimal(v).size())) << v;
}

// Against the texts of every cell, padding zeros included: short rows,
// negative values, an empty row, a row of zeros.
TEST(ColumnChars, widestTextOfEachColumnAsItsCellsShowIt)
{
    EXPECT_EQ(
        widestChars(ParseWinRule("-32768,32767,-1,1000,0").table()), (std::vector<int> { 6, 5, 2, 4, 1 }));
    for (const char* text :
        { "-100,10,5\r\n99,-9\r\n\r\n1,1,1,0", "-32768,32767,-1,1000\r\n1000,-1\r\n5", "0,0" }) {
        const LostTable table = ParseLostRule(text).table();
        std::vector<int> expected(static_cast<std::size_t>(table.cols()), 0);
        for (int r = 0; r < table.rows(); ++r) {
            for (int c = 0; c < table.cols(); ++c)
                expected[c] = std::max(expected[c], static_cast<int>(decimal(table.at(r, c)).size()));
        }
        EXPECT_EQ(widestChars(table), expected) << text;
    }
    EXPECT_TRUE(widestChars(LostTable {}).empty());
}

} // namespace
} // namespace zelmar
