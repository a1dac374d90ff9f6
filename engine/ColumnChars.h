#pragma once
// How many characters the widest decimal text of each column of a rule has,
// so that a window can make each grid column wide enough to show every value
// whole. One pass over the stored items: decimal text grows with the
// distance from 0 on either side, so a column's widest text is that of its
// smallest or its largest value. Padding cells of the loss table show "0",
// which is never wider than any other value.

#include "engine/Tables.h"

#include <vector>

namespace zelmar {

// Characters of the decimal text of a value, "-" included.
int decimalChars(i16 value);

std::vector<int> widestChars(const WinSeq& seq);
std::vector<int> widestChars(const LostTable& table);

} // namespace zelmar
