#include "engine/RoundRecord.h"

namespace zelmar {

const char* directionText(Direction d)
{
    switch (d) {
    case Direction::Win:
        return "W";
    case Direction::Loss:
        return "L";
    case Direction::Origin:
        break;
    }
    return "Z";
}

i16 RoundRecord::win(long index) const
{
    if (!winSeq)
        throw IndexError("下标越界：赢的数列还没有设定");
    return winSeq->at(index);
}

i16 RoundRecord::lost(long row, long col) const
{
    if (!lostTable)
        throw IndexError("下标越界：输的表格还没有设定");
    return lostTable->at(row, col);
}

} // namespace zelmar
