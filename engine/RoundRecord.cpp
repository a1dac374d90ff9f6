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

const WinSeq& RoundRecord::winRule() const
{
    if (!winSeq)
        throw IndexError("下标越界：赢的数列还没有设定");
    return *winSeq;
}

const LostTable& RoundRecord::lostRule() const
{
    if (!lostTable)
        throw IndexError("下标越界：输的表格还没有设定");
    return *lostTable;
}

} // namespace zelmar
