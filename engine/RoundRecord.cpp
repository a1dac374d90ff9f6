#include "RoundRecord.h"

namespace zelmar {

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

bool RoundRecord::sameRoundAs(const RoundRecord& o) const
{
    return direction == o.direction && curRow == o.curRow && curCol == o.curCol && lastRow == o.lastRow
        && lastCol == o.lastCol && stake == o.stake && score == o.score && winSeq == o.winSeq
        && lostTable == o.lostTable && rulesMissing == o.rulesMissing && history == o.history;
}

} // namespace zelmar
