#include "engine/Tables.h"

namespace zelmar {

i16 WinSeq::at(long index) const
{
    if (index < 0 || index >= size())
        throw IndexError(
            "下标越界：赢的数列没有第 " + decimal(index) + " 项（共 " + decimal(size()) + " 项）");
    return m_values[static_cast<std::size_t>(index)];
}

i16 LostTable::at(long row, long col) const
{
    if (row < 0 || row >= rows() || col < 0 || col >= cols())
        throw IndexError("下标越界：输的表格没有 (" + decimal(row) + ", " + decimal(col) + ") 这一格（共 "
            + decimal(rows()) + " 行 " + decimal(cols()) + " 列）");
    return cell(static_cast<int>(row), static_cast<int>(col));
}

} // namespace zelmar
