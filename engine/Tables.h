#pragma once
// The two rules in memory. Both are immutable once built: a reload builds new
// tables and swaps them in whole, so the round record can share them cheaply.
//
// The loss table is stored sparsely: each row keeps only the items its line
// had; every cell to the right of them (up to the table's width) is 0. A file
// of one very long line and many empty lines therefore costs its size, not
// rows x columns.

#include "engine/Int16.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace zelmar {

class WinSeq {
public:
    WinSeq() = default;
    explicit WinSeq(std::vector<i16> values)
        : m_values(std::move(values))
    {
    }

    int size() const { return static_cast<int>(m_values.size()); }
    // Checked access: an index outside the sequence raises IndexError.
    i16 at(long index) const;
    const std::vector<i16>& values() const { return m_values; }

private:
    std::vector<i16> m_values;
};

class LostTable {
public:
    LostTable() = default;

    int rows() const { return static_cast<int>(m_rowStart.size()) - 1; }
    int cols() const { return m_cols; }
    // Checked access: a cell outside rows() x cols() raises IndexError.
    i16 at(long row, long col) const;
    // Number of items stored for the row; cells from there to cols() hold 0.
    int rowLength(int row) const { return static_cast<int>(m_rowStart[row + 1] - m_rowStart[row]); }
    // The items stored for the row, rowLength(row) of them.
    const i16* rowItems(int row) const { return m_values.data() + m_rowStart[row]; }
    // Unchecked read of a cell known to lie inside the table.
    i16 cell(int row, int col) const
    {
        return col < rowLength(row) ? m_values[m_rowStart[row] + col] : i16 { 0 };
    }

    // Building, used by the parser: set the width, then add rows in order.
    void setCols(int cols) { m_cols = cols; }
    void pushItem(i16 value) { m_values.push_back(value); }
    void endRow() { m_rowStart.push_back(static_cast<std::uint32_t>(m_values.size())); }

private:
    std::vector<i16> m_values;
    std::vector<std::uint32_t> m_rowStart { 0 };
    int m_cols = 0;
};

using WinSeqPtr = std::shared_ptr<const WinSeq>;
using LostTablePtr = std::shared_ptr<const LostTable>;

} // namespace zelmar
