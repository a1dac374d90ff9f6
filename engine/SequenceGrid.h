#pragma once
// The state of one rule grid without any toolkit: its shape, the numbers it
// shows and the bold / colour of each cell. Only cells whose bold or colour
// was set are kept, so a grid of a large table costs the table and the marks,
// and clearing the marks costs what was marked. A window draws this state; it
// asks for a cell's text only when the cell is painted.

#include "engine/Int16.h"
#include "engine/RoundRecord.h"
#include "engine/Tables.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace zelmar {

enum class CellColor : char {
    Default, // the widget's own text colour
    Black,
    Red,
};

// What marking a cell does to its colour.
enum class Mark : char {
    Bold, // bold, colour kept
    BoldRed,
};

struct CellStyle {
    bool bold = false;
    CellColor color = CellColor::Default;

    bool operator==(const CellStyle&) const = default;
};

struct CellMark {
    int row;
    int col;
    CellStyle style;
};

class SequenceGrid {
public:
    int rows() const { return m_rows; }
    int cols() const { return m_cols; }
    std::string text(int row, int col) const;
    CellStyle style(int row, int col) const;
    // True once every cell has been set plain and black since the last fill.
    bool plainBlack() const { return m_plainBlack; }
    // Cells whose style differs from the plain one, row by row, left to right.
    std::vector<CellMark> marks() const;

    // Both return whether the cell lay inside the grid (and was set).
    bool mark(int row, int col, Mark how);
    bool unmark(int row, int col);
    // Every cell plain and black. Returns whether cells without a style of
    // their own changed too (they showed the default colour until now), and
    // adds the cells that had one to `styled`.
    bool clearMarks(std::vector<std::pair<int, int>>& styled);

    void fillWin(WinSeqPtr seq);
    void fillLost(LostTablePtr table);

private:
    CellStyle plain() const { return m_plainBlack ? CellStyle { false, CellColor::Black } : CellStyle {}; }
    void store(int row, int col, const CellStyle& style);
    bool inside(int row, int col) const { return row >= 0 && col >= 0 && row < m_rows && col < m_cols; }
    static std::uint64_t key(int row, int col)
    {
        return (std::uint64_t(std::uint32_t(row)) << 32) | std::uint32_t(col);
    }

    int m_rows = 0;
    int m_cols = 0;
    WinSeqPtr m_win; // the grid shows one of these two
    LostTablePtr m_lost;
    bool m_plainBlack = false;
    std::unordered_map<std::uint64_t, CellStyle> m_styled;
};

// The two grids, the win grid and the loss grid, and the three grid
// operations a round's effects make.
class SequenceGrids {
public:
    // A changed cell; row and col are AllCells when the whole grid changed.
    static constexpr int AllCells = -1;
    struct Changed {
        Direction grid; // Win or Loss
        int row;
        int col;
    };

    SequenceGrid& win() { return m_win; }
    SequenceGrid& lost() { return m_lost; }
    const SequenceGrid& win() const { return m_win; }
    const SequenceGrid& lost() const { return m_lost; }
    // The win grid for Direction::Win, the loss grid otherwise.
    const SequenceGrid& grid(Direction which) const { return which == Direction::Win ? m_win : m_lost; }

    // Each returns the cells whose look it changed (a fill changes all).
    void FillGrids(WinSeqPtr winSeq, LostTablePtr lostTable);
    std::vector<Changed> ShowCursor(const Cursor& c);
    std::vector<Changed> ClearMarks(Direction direction);

private:
    SequenceGrid& gridOf(Direction which) { return which == Direction::Win ? m_win : m_lost; }

    SequenceGrid m_win;
    SequenceGrid m_lost;
};

} // namespace zelmar
