#include "Round.h"

namespace zelmar {

namespace {

// Thrown by undo when its forward walk on the loss path runs past the last
// row: there is no hand to take back there, so the click is abandoned.
struct UndoStopped { };

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

enum class Walk { Found, Negative, PastEnd };

// One forward walk on the loss path, row by row, left to right, until a cell
// that is not 0. The record ends exactly as a cell-by-cell walk leaves it;
// the zeros that pad a short row are stepped over in one move.
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
                r.lastCol = static_cast<i16>(lastColIndex - 1);
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

bool NextStakeWin(RoundRecord& r, ViewEffects& fx)
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
    fx.showTotals(r);
    return false;
}

} // namespace

bool NextStake(RoundRecord& r, ViewEffects& fx)
{
    if (r.direction == 'W')
        return NextStakeWin(r, fx);
    if (r.direction != 'L')
        return false;
    r.stake = 0;
    const Walk walk = walkLostForward(r);
    // Running past the last row shows the totals; a negative cell does not.
    if (walk == Walk::PastEnd)
        fx.showTotals(r);
    return walk == Walk::Found;
}

bool StepBackLost(RoundRecord& r, ViewEffects& fx)
{
    const LostTable& t = lostOf(r);
    const i16 lastRowIndex = static_cast<i16>(t.rows() - 1);
    const i16 lastColIndex = static_cast<i16>(t.cols() - 1);
    r.stake = 0;
    while (r.stake == 0) {
        const i16 prev = sub16(r.curCol, 1, "列号减一");
        if (prev >= 0) {
            const bool rowInside = r.curRow >= 0 && r.curRow <= lastRowIndex;
            const int length = rowInside ? t.rowLength(r.curRow) : 0;
            // Padding zeros between the row's last item and the cursor.
            if (rowInside && prev <= lastColIndex && prev > length) {
                r.lastRow = r.curRow;
                r.lastCol = static_cast<i16>(length + 1);
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
            if (prevRow < 0) {
                fx.showTotals(r);
                return false;
            }
            r.lastRow = r.curRow;
            r.curRow = prevRow;
            r.stake = r.lost(r.curRow, lastColIndex);
        }
        if (r.stake > 0)
            return true;
    }
    return false;
}

void EndRound(RoundRecord& r, ViewEffects& fx, i16 reason)
{
    switch (reason) {
    case 0:
        fx.notice(notices::EndOfSequence + decimal(r.score));
        break;
    case 1:
        fx.notice(notices::LostOnWinSide + decimal(r.score));
        break;
    case 2:
        fx.notice(notices::TurnedOnLossSide + decimal(r.score));
        break;
    case 3:
        fx.notice(notices::StartedOver);
        break;
    default:
        break;
    }
    r.curRow = 0;
    r.curCol = 0;
    fx.clearMarks(r); // still the direction of the round that ends
    r.direction = 'Z';
    r.lastRow = 0;
    r.lastCol = 0;
    r.stake = 1;
    r.score = 0;
    r.history.clear();
    fx.showTotals(r);
}

std::string PopLastResult(RoundRecord& r)
{
    if (r.history.empty())
        return {};
    std::string last(1, r.history.back());
    r.history.pop_back();
    return last;
}

namespace {

// What every recorded hand does first: note it, and stop with a notice
// while a rule is missing. False when the hand goes no further.
bool noteHand(RoundRecord& r, ViewEffects& fx, char result, const char* rulesNotSet)
{
    r.history += result;
    if (r.rulesMissing != 0) {
        fx.notice(rulesNotSet);
        return false;
    }
    return r.direction == 'Z' || r.direction == 'W' || r.direction == 'L';
}

void recordWin(RoundRecord& r, ViewEffects& fx)
{
    if (!noteHand(r, fx, '1', notices::RulesNotSetWin))
        return;
    const char from = r.direction;
    r.score = add16(r.score, r.stake, "得分加上下注码数");
    if (from == 'Z') {
        r.direction = 'W';
        if (!NextStake(r, fx)) {
            EndRound(r, fx, 0);
            return;
        }
    } else if (from == 'W') {
        if (!NextStake(r, fx))
            EndRound(r, fx, 0);
    } else if (r.score > 0) {
        fx.showTotals(r);
        EndRound(r, fx, 2);
        fx.showCursor(r);
        return;
    } else if (!StepBackLost(r, fx)) {
        EndRound(r, fx, 0);
    }
    fx.showTotals(r);
    fx.showCursor(r);
}

void recordLoss(RoundRecord& r, ViewEffects& fx)
{
    if (!noteHand(r, fx, '0', notices::RulesNotSetLost))
        return;
    r.score = sub16(r.score, r.stake, "得分减去下注码数");
    if (r.direction == 'W') {
        EndRound(r, fx, 1);
        return;
    }
    r.direction = 'L';
    if (!NextStake(r, fx)) {
        EndRound(r, fx, 0);
        return;
    }
    fx.showTotals(r);
    fx.showCursor(r);
}

void stepBack(RoundRecord& r, ViewEffects& fx)
{
    if (r.direction == 'Z') {
        fx.notice(notices::AtOrigin);
        return;
    }
    const std::string result = PopLastResult(r);
    r.lastCol = r.curCol;
    r.lastRow = r.curRow;
    if (result == "1") {
        if (r.direction == 'W') {
            r.score = sub16(r.score, r.win(sub16(r.curCol, 1, "下标减一")), "得分减去上一项");
            r.curRow = 0;
            if (r.curCol >= 1) {
                r.curCol = static_cast<i16>(r.curCol - 1);
                if (r.curCol == 0)
                    r.direction = 'Z';
            }
            r.stake = r.win(r.curCol);
            fx.showTotals(r);
        } else if (r.direction == 'L') {
            // The win had moved the cursor back; walk forward to the cell it left.
            if (walkLostForward(r) == Walk::PastEnd)
                throw UndoStopped {};
            r.score = sub16(r.score, r.stake, "得分减去下注码数");
            fx.showTotals(r);
        }
    } else if (result == "0" && r.direction == 'L') {
        if (r.curRow == 0 && r.curCol == 1) {
            r.direction = 'Z';
            r.curRow = 0;
            r.curCol = 0;
        }
        if (r.curCol > 0) {
            r.curCol = static_cast<i16>(r.curCol - 1);
        } else if (r.curCol == 0 && r.curRow > 0) {
            r.curCol = static_cast<i16>(lostOf(r).cols() - 1);
            r.curRow = static_cast<i16>(r.curRow - 1);
        }
        r.stake = r.lost(r.curRow, r.curCol);
        r.score = add16(r.score, r.stake, "得分加回下注码数");
        fx.showTotals(r);
    }
    fx.showCursor(r);
}

} // namespace

template <typename Step> void Round::click(Step step)
{
    RoundRecord work = m_record;
    ViewEffects fx;
    try {
        step(work, fx);
    } catch (const UndoStopped&) {
        ViewEffects cursorOnly;
        cursorOnly.showCursor(m_record);
        cursorOnly.replay(m_view);
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
    m_record.direction = 'Z';
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
    click(recordWin);
}
void Round::cmdLost_Click()
{
    click(recordLoss);
}
void Round::cmdBack_Click()
{
    click(stepBack);
}
void Round::cmdReset_Click()
{
    click([](RoundRecord& r, ViewEffects& fx) { EndRound(r, fx, 3); });
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
