#include "engine/Round.h"

#include "engine/ViewEffects.h"

namespace zelmar {

namespace {

i16 winUpper(const RoundRecord& r)
{
    if (!r.winSeq)
        throw IndexError("下标越界：赢的数列还没有设定");
    return static_cast<i16>(r.winSeq->size() - 1);
}

const LostTable& lostOf(const RoundRecord& r)
{
    if (!r.lostTable)
        throw IndexError("下标越界：输的表格还没有设定");
    return *r.lostTable;
}

} // namespace

std::string endNoticeText(EndReason reason, i16 score)
{
    switch (reason) {
    case EndReason::PathRanOut:
        return notices::EndOfSequence + decimal(score);
    case EndReason::LostOnWinSide:
        return notices::LostOnWinSide + decimal(score);
    case EndReason::TurnedOnLossSide:
        return notices::TurnedOnLossSide + decimal(score);
    case EndReason::StartedOver:
        break;
    }
    return notices::StartedOver;
}

namespace detail {

// Positive cells only; zero and negative cells of the win sequence are
// passed over.
bool nextWinCell(RoundRecord& r)
{
    const i16 upper = winUpper(r);
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

// Row by row, left to right, until a cell that is not 0. The record ends
// exactly as a cell-by-cell walk leaves it; the zeros that pad a short row
// are stepped over in one move.
Walk walkLostForward(RoundRecord& r)
{
    const LostTable& t = lostOf(r);
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

// Right to left, then from the last column of the row above, until a cell
// that is not 0; the padding of a short row is stepped over in one move.
Walk walkLostBack(RoundRecord& r)
{
    const LostTable& t = lostOf(r);
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

// Undo of a loss: exactly one cell back, gaps included; from (0, 1) the
// round is back at the origin.
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
        r.curCol = static_cast<i16>(lostOf(r).cols() - 1);
        r.curRow = static_cast<i16>(r.curRow - 1);
    }
}

} // namespace detail

std::string PopLastResult(RoundRecord& r)
{
    if (r.history.empty())
        return {};
    std::string last(1, r.history.back());
    r.history.pop_back();
    return last;
}

template <typename Step> void Round::click(Step step)
{
    RoundRecord work = m_record;
    ViewEffects fx;
    try {
        step(work, fx);
    } catch (const detail::UndoStopped&) {
        m_view.ShowCursor(CursorMarks {
            m_record.direction, m_record.curRow, m_record.curCol, m_record.lastRow, m_record.lastCol });
        return;
    } catch (const EngineError& e) {
        m_view.ReportFailure(e.what());
        return;
    }
    m_record = std::move(work);
    fx.replay(m_view);
}

void Round::ResetState()
{
    m_record.direction = Direction::Origin;
    m_record.stake = 1;
    m_record.curRow = 0;
    m_record.curCol = 0;
    m_record.lastRow = 0;
    m_record.lastCol = 0;
    m_record.score = 0;
}

void Round::ShowTotals()
{
    m_view.ShowTotals(m_record.score, m_record.stake);
}

void Round::cmdWin_Click()
{
    click([](RoundRecord& r, ViewEffects& fx) { RecordWin(r, fx); });
}
void Round::cmdLost_Click()
{
    click([](RoundRecord& r, ViewEffects& fx) { RecordLoss(r, fx); });
}
void Round::cmdBack_Click()
{
    click([](RoundRecord& r, ViewEffects& fx) { StepBack(r, fx); });
}
void Round::cmdReset_Click()
{
    click([](RoundRecord& r, ViewEffects& fx) { EndRound(r, fx, EndReason::StartedOver); });
}

void Round::setRules(WinSeqPtr winSeq, LostTablePtr lostTable, i16 rulesMissing)
{
    if (winSeq)
        m_record.winSeq = std::move(winSeq);
    if (lostTable)
        m_record.lostTable = std::move(lostTable);
    m_record.rulesMissing = rulesMissing;
    m_view.FillGrids(m_record.winSeq, m_record.lostTable);
}

} // namespace zelmar
