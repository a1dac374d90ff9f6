#include "engine/SequenceGrid.h"

#include <algorithm>

namespace zelmar {

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
        if (style != plain())
            out.push_back({ static_cast<int>(k >> 32), static_cast<int>(k & 0xffffffffu), style });
    }
    std::sort(out.begin(), out.end(),
        [](const CellMark& a, const CellMark& b) { return a.row != b.row ? a.row < b.row : a.col < b.col; });
    return out;
}

void SequenceGrid::store(int row, int col, const CellStyle& style)
{
    if (style == plain())
        m_styled.erase(key(row, col));
    else
        m_styled[key(row, col)] = style;
}

bool SequenceGrid::mark(int row, int col, Mark how)
{
    if (!inside(row, col))
        return false;
    CellStyle s = style(row, col);
    s.bold = true;
    if (how == Mark::BoldRed)
        s.color = CellColor::Red;
    store(row, col, s);
    return true;
}

bool SequenceGrid::unmark(int row, int col)
{
    if (!inside(row, col))
        return false;
    store(row, col, CellStyle { false, CellColor::Black });
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

std::vector<SequenceGrids::Changed> SequenceGrids::ShowCursor(const Cursor& c)
{
    std::vector<Changed> changed;
    auto markOn = [&](Direction which, int row, int col, bool away) {
        // The origin cell is marked bold but never red.
        if (gridOf(which).mark(row, col, away ? Mark::BoldRed : Mark::Bold))
            changed.push_back({ which, row, col });
    };
    auto unmarkOn = [&](Direction which, int row, int col) {
        if (gridOf(which).unmark(row, col))
            changed.push_back({ which, row, col });
    };
    const bool away = c.curCol > 0 || c.curRow > 0;
    switch (c.direction) {
    case Direction::Win:
        markOn(Direction::Win, 0, c.curCol, c.curCol > 0);
        unmarkOn(Direction::Win, 0, c.lastCol);
        break;
    case Direction::Loss:
        markOn(Direction::Loss, c.curRow, c.curCol, away);
        unmarkOn(Direction::Loss, c.lastRow, c.lastCol);
        break;
    case Direction::Origin:
        for (const Direction which : { Direction::Win, Direction::Loss }) {
            markOn(which, c.curRow, c.curCol, away);
            unmarkOn(which, c.lastRow, c.lastCol);
        }
        break;
    }
    return changed;
}

std::vector<SequenceGrids::Changed> SequenceGrids::ClearMarks(Direction direction)
{
    std::vector<Changed> changed;
    if (direction == Direction::Origin)
        return changed;
    std::vector<std::pair<int, int>> styled;
    if (gridOf(direction).clearMarks(styled))
        changed.push_back({ direction, AllCells, AllCells });
    for (const auto& [row, col] : styled)
        changed.push_back({ direction, row, col });
    return changed;
}

} // namespace zelmar
