#pragma once
// Stand-in for the engine's copy-free hand steps until they land on main:
// the same rules as the win and lose buttons, reporting how a round ended.
// Replaced whole by the engine's own RoundSteps.h at the merge.

#include "Round.h"

#include <optional>

namespace zelmar {

enum class EndReason { PathRanOut, LostOnWinSide, TurnedOnLossSide, StartedOver };

struct QuietEffects {
    std::optional<EndReason> ended;
    i16 endScore = 0;
};

namespace stand_in {
inline void end(RoundRecord& r, ViewEffects& v, QuietEffects& fx, EndReason why)
{
    fx.ended = why;
    fx.endScore = r.score;
    EndRound(r, v, static_cast<i16>(why));
}
} // namespace stand_in

template <class Fx> void RecordWin(RoundRecord& r, Fx& fx)
{
    ViewEffects v;
    r.history += '1';
    if (r.rulesMissing != 0)
        return;
    const char from = r.direction;
    r.score = add16(r.score, r.stake, "得分加上下注码数");
    if (from == 'Z') {
        r.direction = 'W';
        if (!NextStake(r, v))
            stand_in::end(r, v, fx, EndReason::PathRanOut);
    } else if (from == 'W') {
        if (!NextStake(r, v))
            stand_in::end(r, v, fx, EndReason::PathRanOut);
    } else if (r.score > 0) {
        stand_in::end(r, v, fx, EndReason::TurnedOnLossSide);
    } else if (!StepBackLost(r, v)) {
        stand_in::end(r, v, fx, EndReason::PathRanOut);
    }
}

template <class Fx> void RecordLoss(RoundRecord& r, Fx& fx)
{
    ViewEffects v;
    r.history += '0';
    if (r.rulesMissing != 0)
        return;
    r.score = sub16(r.score, r.stake, "得分减去下注码数");
    if (r.direction == 'W') {
        stand_in::end(r, v, fx, EndReason::LostOnWinSide);
        return;
    }
    r.direction = 'L';
    if (!NextStake(r, v))
        stand_in::end(r, v, fx, EndReason::PathRanOut);
}

} // namespace zelmar
