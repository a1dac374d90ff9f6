#pragma once
// The state of one rule grid without any toolkit: its shape, the numbers it
// shows and the bold / colour of each cell. Only cells whose bold or colour
// was set are kept, so a grid of a large table costs the table and the marks,
// and clearing the marks costs what was marked. A window draws this state; it
// asks for a cell's text only when the cell is painted.

#include "engine/Int16.h"
#include "engine/RoundView.h"
#include "engine/Tables.h"

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace zelmar {

inline constexpr int ColorRed = 255;
inline constexpr int ColorBlack = 0;

struct CellStyle {
    bool bold = false;
    std::optional<int> color; // unset: the widget's default text colour
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
    bool mark(int row, int col, bool red);
    bool unmark(int row, int col);
    // Every cell plain and black. Returns whether cells without a style of
    // their own changed too (they showed the default colour until now), and
    // adds the cells that had one to `styled`.
    bool clearMarks(std::vector<std::pair<int, int>>& styled);

    void fillWin(WinSeqPtr seq);
    void fillLost(LostTablePtr table);

private:
    CellStyle plain() const { return m_plainBlack ? CellStyle { false, ColorBlack } : CellStyle {}; }
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

// The two grids and the three grid operations the engine calls.
class SequenceGrids {
public:
    enum Which { Win, Lost };
    // A changed cell; row and col are AllCells when the whole grid changed.
    static constexpr int AllCells = -1;
    struct Changed {
        Which grid;
        int row;
        int col;
    };

    SequenceGrid& win() { return m_win; }
    SequenceGrid& lost() { return m_lost; }
    const SequenceGrid& win() const { return m_win; }
    const SequenceGrid& lost() const { return m_lost; }

    // Each returns the cells whose look it changed (a fill changes all).
    void FillGrids(WinSeqPtr winSeq, LostTablePtr lostTable);
    std::vector<Changed> ShowCursor(const CursorMarks& c);
    std::vector<Changed> ClearMarks(Direction direction);

private:
    SequenceGrid m_win;
    SequenceGrid m_lost;
};

} // namespace zelmar
