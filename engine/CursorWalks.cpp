#include "engine/CursorWalks.h"

namespace zelmar::walks {

bool nextWinCell(RoundRecord& r)
{
    const i16 upper = static_cast<i16>(r.winRule().size() - 1);
    for (long i = add16(r.curCol, 1, "下标加一"); i <= upper; ++i) {
        const i16 value = r.win(i);
        if (value > 0) {
            r.stake = value;
            r.lastCol = r.curCol;
            r.curCol = static_cast<i16>(i);
            return true;
        }
    }
    return false;
}

// The record ends exactly as a cell-by-cell walk leaves it; the zeros that
// pad a short row are stepped over in one move.
Walk walkLostForward(RoundRecord& r)
{
    const LostTable& t = r.lostRule();
    const i16 lastRowIndex = static_cast<i16>(t.rows() - 1);
    const i16 lastColIndex = static_cast<i16>(t.cols() - 1);
    do {
        const i16 next = add16(r.curCol, 1, "列号加一");
        if (next <= lastColIndex) {
            const bool rowInside = r.curRow >= 0 && r.curRow <= lastRowIndex;
            if (rowInside && next >= t.rowLength(r.curRow) && next < lastColIndex) {
                r.lastRow = r.curRow;
                r.curCol = lastColIndex;
                r.stake = 0;
                continue;
            }
            r.lastCol = r.curCol;
            r.lastRow = r.curRow;
            r.curCol = next;
            r.stake = r.lost(r.curRow, r.curCol);
        } else {
            r.lastCol = r.curCol;
            r.curCol = 0;
            const i16 nextRow = add16(r.curRow, 1, "行号加一");
            if (nextRow > lastRowIndex)
                return Walk::PastEnd;
            r.lastRow = r.curRow;
            r.curRow = nextRow;
            r.stake = r.lost(r.curRow, 0);
        }
    } while (r.stake == 0);
    return r.stake > 0 ? Walk::Found : Walk::Negative;
}

// The padding of a short row is stepped over in one move.
Walk walkLostBack(RoundRecord& r)
{
    const LostTable& t = r.lostRule();
    const i16 lastRowIndex = static_cast<i16>(t.rows() - 1);
    const i16 lastColIndex = static_cast<i16>(t.cols() - 1);
    do {
        const i16 prev = sub16(r.curCol, 1, "列号减一");
        if (prev >= 0) {
            const bool rowInside = r.curRow >= 0 && r.curRow <= lastRowIndex;
            const int length = rowInside ? t.rowLength(r.curRow) : 0;
            if (rowInside && prev <= lastColIndex && prev > length) {
                r.lastRow = r.curRow;
                r.curCol = static_cast<i16>(length);
                continue;
            }
            r.lastCol = r.curCol;
            r.lastRow = r.curRow;
            r.curCol = prev;
            r.stake = r.lost(r.curRow, r.curCol);
        } else {
            r.lastCol = r.curCol;
            r.curCol = lastColIndex;
            const i16 prevRow = sub16(r.curRow, 1, "行号减一");
            if (prevRow < 0)
                return Walk::PastEnd;
            r.lastRow = r.curRow;
            r.curRow = prevRow;
            r.stake = r.lost(r.curRow, lastColIndex);
        }
    } while (r.stake == 0);
    return r.stake > 0 ? Walk::Found : Walk::Negative;
}

// From (0, 1) the round is back at the origin.
void stepBackOneLossCell(RoundRecord& r)
{
    if (r.curRow == 0 && r.curCol == 1) {
        r.direction = Direction::Origin;
        r.curRow = 0;
        r.curCol = 0;
    }
    if (r.curCol > 0) {
        r.curCol = static_cast<i16>(r.curCol - 1);
    } else if (r.curCol == 0 && r.curRow > 0) {
        r.curCol = static_cast<i16>(r.lostRule().cols() - 1);
        r.curRow = static_cast<i16>(r.curRow - 1);
    }
}

} // namespace zelmar::walks
