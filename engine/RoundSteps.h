#pragma once
// The rules of play, step by step, on a round record. Each step shows what it
// does through an effects sink (see EffectsSink below). The calculator's
// buttons (Round) record the effects and show them once the whole click has
// succeeded; the simulator plays hands with a sink that shows nothing and
// keeps only how the round ended (QuietEffects). Both run this very code. A
// step throws EngineError on a 16-bit overflow or an index outside a table,
// leaving the record half-changed: the caller rolls back or resets.

#include "engine/CursorWalks.h"
#include "engine/RoundRecord.h"

#include <concepts>
#include <optional>
#include <string>

namespace zelmar {

enum class EndReason {
    WinPathRanOut, // no positive cell left on the win sequence
    LossPathRanOut, // the loss walk ran past either end, or met a negative cell
    LostOnWinSide,
    TurnedOnLossSide, // a win on the loss path lifted the score above 0
    StartedOver,
};

namespace notices {
inline constexpr const char* RulesNotSetWin = "规则未设置好";
inline constexpr const char* RulesNotSetLost = "规则未设定好";
inline constexpr const char* EndOfSequence = "数列已经到了尽头，本局已经结束,总的得分为";
inline constexpr const char* LostOnWinSide = "赢的方向上输了一局，本局已经结束,总的得分为";
inline constexpr const char* TurnedOnLossSide = "输的方向上反败为胜，本局已经结束,总的得分为";
inline constexpr const char* StartedOver = "重新开始了";
inline constexpr const char* AtOrigin = "已经在原点，不能后退";
} // namespace notices

// The notice that ends a round for `reason`, with the score where it has one.
std::string endNoticeText(EndReason reason, i16 score);

// What a step may show, and nothing else:
//   showTotals    the score and stake boxes
//   showCursor    the marks of the current and the last cell
//   clearMarks    all marks of one grid
//   notice        a notice with a fixed text
//   roundEnded    the notice that ends a round, with its score
template <class Fx>
concept EffectsSink
    = requires(Fx& fx, const RoundRecord& r, Direction d, const char* text, EndReason e, i16 s)
{
    fx.showTotals(r);
    fx.showCursor(r);
    fx.clearMarks(d);
    fx.notice(text);
    fx.roundEnded(e, s);
};

// Shows nothing; keeps how the last hand ended the round, if it did.
struct QuietEffects {
    std::optional<EndReason> ended;
    i16 endScore = 0;

    void showTotals(const RoundRecord&) { }
    void showCursor(const RoundRecord&) { }
    void clearMarks(Direction) { }
    void notice(const char*) { }
    void roundEnded(EndReason reason, i16 score)
    {
        ended = reason;
        endScore = score;
    }
};

// Moves the cursor forward on the path `direction` names to the next usable
// cell and loads its stake; false when there is none (or, on the loss path,
// the walk met a negative cell). Running out shows the totals.
template <EffectsSink Fx> bool NextStake(RoundRecord& r, Fx& fx)
{
    using walks::Walk;
    if (r.direction == Direction::Win) {
        if (walks::nextWinCell(r))
            return true;
        fx.showTotals(r);
        return false;
    }
    if (r.direction != Direction::Loss)
        return false;
    r.stake = 0;
    const Walk walk = walks::walkLostForward(r);
    // Running past the last row shows the totals; a negative cell does not.
    if (walk == Walk::PastEnd)
        fx.showTotals(r);
    return walk == Walk::Found;
}

// Moves the cursor back on the loss path to the previous usable cell.
template <EffectsSink Fx> bool StepBackLost(RoundRecord& r, Fx& fx)
{
    using walks::Walk;
    r.stake = 0;
    const Walk walk = walks::walkLostBack(r);
    if (walk == Walk::PastEnd)
        fx.showTotals(r);
    return walk == Walk::Found;
}

template <EffectsSink Fx> void EndRound(RoundRecord& r, Fx& fx, EndReason reason)
{
    fx.roundEnded(reason, r.score);
    r.curRow = 0;
    r.curCol = 0;
    fx.clearMarks(r.direction); // still the direction of the round that ends
    r.direction = Direction::Origin;
    r.lastRow = 0;
    r.lastCol = 0;
    r.stake = 1;
    r.score = 0;
    r.history.clear();
    fx.showTotals(r);
}

// The last recorded hand, taken off the history; none when the history is
// empty.
std::optional<Hand> PopLastResult(RoundRecord& r);

namespace detail {

// What every recorded hand does first: note it, and stop with a notice
// while a rule is missing. False when the hand goes no further.
template <EffectsSink Fx> bool noteHand(RoundRecord& r, Fx& fx, Hand hand, const char* rulesNotSet)
{
    if (r.keepHistory)
        r.history.push_back(hand);
    if (r.rulesMissing) {
        fx.notice(rulesNotSet);
        return false;
    }
    return true;
}

} // namespace detail

// The win button.
template <EffectsSink Fx> void RecordWin(RoundRecord& r, Fx& fx)
{
    if (!detail::noteHand(r, fx, Hand::Win, notices::RulesNotSetWin))
        return;
    const Direction from = r.direction;
    r.score = add16(r.score, r.stake, "得分加上下注码数");
    switch (from) {
    case Direction::Origin:
        r.direction = Direction::Win;
        if (!NextStake(r, fx)) {
            EndRound(r, fx, EndReason::WinPathRanOut);
            return;
        }
        break;
    case Direction::Win:
        if (!NextStake(r, fx))
            EndRound(r, fx, EndReason::WinPathRanOut);
        break;
    case Direction::Loss:
        if (r.score > 0) {
            fx.showTotals(r);
            EndRound(r, fx, EndReason::TurnedOnLossSide);
            fx.showCursor(r);
            return;
        }
        if (!StepBackLost(r, fx))
            EndRound(r, fx, EndReason::LossPathRanOut);
        break;
    }
    fx.showTotals(r);
    fx.showCursor(r);
}

// The lose button.
template <EffectsSink Fx> void RecordLoss(RoundRecord& r, Fx& fx)
{
    if (!detail::noteHand(r, fx, Hand::Loss, notices::RulesNotSetLost))
        return;
    r.score = sub16(r.score, r.stake, "得分减去下注码数");
    if (r.direction == Direction::Win) {
        EndRound(r, fx, EndReason::LostOnWinSide);
        return;
    }
    r.direction = Direction::Loss;
    if (!NextStake(r, fx)) {
        EndRound(r, fx, EndReason::LossPathRanOut);
        return;
    }
    fx.showTotals(r);
    fx.showCursor(r);
}

// The step-back button: takes back the last hand of the round by local rules.
template <EffectsSink Fx> void StepBack(RoundRecord& r, Fx& fx)
{
    if (r.direction == Direction::Origin) {
        fx.notice(notices::AtOrigin);
        return;
    }
    const std::optional<Hand> hand = PopLastResult(r);
    r.lastCol = r.curCol;
    r.lastRow = r.curRow;
    if (hand == Hand::Win && r.direction == Direction::Win) {
        r.score = sub16(r.score, r.win(sub16(r.curCol, 1, "下标减一")), "得分减去上一项");
        r.curRow = 0;
        if (r.curCol >= 1) {
            r.curCol = static_cast<i16>(r.curCol - 1);
            if (r.curCol == 0)
                r.direction = Direction::Origin;
        }
        r.stake = r.win(r.curCol);
        fx.showTotals(r);
    } else if (hand == Hand::Win) {
        // The win had moved the cursor back; walk forward to the cell it left.
        if (walks::walkLostForward(r) == walks::Walk::PastEnd)
            throw walks::UndoStopped {};
        r.score = sub16(r.score, r.stake, "得分减去下注码数");
        fx.showTotals(r);
    } else if (hand == Hand::Loss && r.direction == Direction::Loss) {
        walks::stepBackOneLossCell(r);
        r.stake = r.lost(r.curRow, r.curCol);
        r.score = add16(r.score, r.stake, "得分加回下注码数");
        fx.showTotals(r);
    }
    fx.showCursor(r);
}

} // namespace zelmar
