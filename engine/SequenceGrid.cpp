#include "engine/SequenceGrid.h"

#include <algorithm>

namespace zelmar {

namespace {
bool sameStyle(const CellStyle& a, const CellStyle& b)
{
    return a.bold == b.bold && a.color == b.color;
}
} // namespace

std::string SequenceGrid::text(int row, int col) const
{
    if (!inside(row, col))
        return {};
    if (m_win)
        return col < m_win->size() ? decimal(m_win->values()[static_cast<std::size_t>(col)]) : std::string {};
    if (m_lost && row < m_lost->rows() && col < m_lost->cols())
        return decimal(m_lost->cell(row, col));
    return {};
}

CellStyle SequenceGrid::style(int row, int col) const
{
    const auto it = m_styled.find(key(row, col));
    return it == m_styled.end() ? plain() : it->second;
}

std::vector<CellMark> SequenceGrid::marks() const
{
    std::vector<CellMark> out;
    out.reserve(m_styled.size());
    for (const auto& [k, style] : m_styled) {
        if (!sameStyle(style, plain()))
            out.push_back({ static_cast<int>(k >> 32), static_cast<int>(k & 0xffffffffu), style });
    }
    std::sort(out.begin(), out.end(),
        [](const CellMark& a, const CellMark& b) { return a.row != b.row ? a.row < b.row : a.col < b.col; });
    return out;
}

void SequenceGrid::store(int row, int col, const CellStyle& style)
{
    if (sameStyle(style, plain()))
        m_styled.erase(key(row, col));
    else
        m_styled[key(row, col)] = style;
}

bool SequenceGrid::mark(int row, int col, bool red)
{
    if (!inside(row, col))
        return false;
    CellStyle s = style(row, col);
    s.bold = true;
    if (red)
        s.color = ColorRed;
    store(row, col, s);
    return true;
}

bool SequenceGrid::unmark(int row, int col)
{
    if (!inside(row, col))
        return false;
    store(row, col, CellStyle { false, ColorBlack });
    return true;
}

bool SequenceGrid::clearMarks(std::vector<std::pair<int, int>>& styled)
{
    for (const auto& entry : m_styled)
        styled.emplace_back(static_cast<int>(entry.first >> 32), static_cast<int>(entry.first & 0xffffffffu));
    m_styled.clear();
    const bool wasDefault = !m_plainBlack;
    m_plainBlack = true;
    return wasDefault && m_rows > 0 && m_cols > 0;
}

// A grid whose table was never filled keeps the shape it had, as far as the
// table does not give one: the win grid still gets its single row.
void SequenceGrid::fillWin(WinSeqPtr seq)
{
    m_styled.clear();
    m_plainBlack = false;
    m_lost.reset();
    m_rows = 1;
    if (seq)
        m_cols = seq->size();
    m_win = std::move(seq);
}

void SequenceGrid::fillLost(LostTablePtr table)
{
    m_styled.clear();
    m_plainBlack = false;
    m_win.reset();
    if (table) {
        m_rows = table->rows();
        m_cols = table->cols();
    }
    m_lost = std::move(table);
}

void SequenceGrids::FillGrids(WinSeqPtr winSeq, LostTablePtr lostTable)
{
    m_win.fillWin(std::move(winSeq));
    m_lost.fillLost(std::move(lostTable));
}

std::vector<SequenceGrids::Changed> SequenceGrids::ShowCursor(const CursorMarks& c)
{
    std::vector<Changed> changed;
    auto markOn = [&](Which which, SequenceGrid& grid, int row, int col, bool red) {
        if (grid.mark(row, col, red))
            changed.push_back({ which, row, col });
    };
    auto unmarkOn = [&](Which which, SequenceGrid& grid, int row, int col) {
        if (grid.unmark(row, col))
            changed.push_back({ which, row, col });
    };
    // The origin cell is marked bold but never red.
    const bool away = c.curCol > 0 || c.curRow > 0;
    switch (c.direction) {
    case Direction::Win:
        markOn(Win, m_win, 0, c.curCol, c.curCol > 0);
        unmarkOn(Win, m_win, 0, c.lastCol);
        break;
    case Direction::Loss:
        markOn(Lost, m_lost, c.curRow, c.curCol, away);
        unmarkOn(Lost, m_lost, c.lastRow, c.lastCol);
        break;
    case Direction::Origin:
        markOn(Win, m_win, c.curRow, c.curCol, away);
        unmarkOn(Win, m_win, c.lastRow, c.lastCol);
        markOn(Lost, m_lost, c.curRow, c.curCol, away);
        unmarkOn(Lost, m_lost, c.lastRow, c.lastCol);
        break;
    }
    return changed;
}

std::vector<SequenceGrids::Changed> SequenceGrids::ClearMarks(Direction direction)
{
    std::vector<Changed> changed;
    if (direction == Direction::Origin)
        return changed;
    const Which which = direction == Direction::Win ? Win : Lost;
    std::vector<std::pair<int, int>> styled;
    if ((which == Win ? m_win : m_lost).clearMarks(styled))
        changed.push_back({ which, AllCells, AllCells });
    for (const auto& [row, col] : styled)
        changed.push_back({ which, row, col });
    return changed;
}

} // namespace zelmar
