#include "engine/ColumnChars.h"

#include <algorithm>

namespace zelmar {

int decimalChars(i16 value)
{
    int chars = value < 0 ? 2 : 1;
    for (int rest = value < 0 ? -(value / 10) : value / 10; rest > 0; rest /= 10)
        ++chars;
    return chars;
}

std::vector<int> widestChars(const WinSeq& seq)
{
    std::vector<int> chars;
    chars.reserve(seq.values().size());
    for (i16 value : seq.values())
        chars.push_back(decimalChars(value));
    return chars;
}

std::vector<int> widestChars(const LostTable& table)
{
    const auto cols = static_cast<std::size_t>(table.cols());
    // 0 is where every column starts: the padding shows it, and it is as
    // narrow as a value gets.
    std::vector<i16> lowest(cols, 0);
    std::vector<i16> highest(cols, 0);
    i16* const low = lowest.data();
    i16* const high = highest.data();
    for (int row = 0; row < table.rows(); ++row) {
        const i16* const items = table.rowItems(row);
        const int length = table.rowLength(row);
        for (int col = 0; col < length; ++col) {
            low[col] = std::min(low[col], items[col]);
            high[col] = std::max(high[col], items[col]);
        }
    }
    std::vector<int> chars(cols);
    for (std::size_t col = 0; col < cols; ++col)
        chars[col] = std::max(decimalChars(lowest[col]), decimalChars(highest[col]));
    return chars;
}

} // namespace zelmar
