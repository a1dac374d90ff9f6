#include "engine/RoundSteps.h"

namespace zelmar {

std::string endNoticeText(EndReason reason, i16 score)
{
    switch (reason) {
    case EndReason::WinPathRanOut:
    case EndReason::LossPathRanOut:
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

std::optional<Hand> PopLastResult(RoundRecord& r)
{
    if (r.history.empty())
        return std::nullopt;
    const Hand last = r.history.back();
    r.history.pop_back();
    return last;
}

} // namespace zelmar
