#include "engine/Round.h"

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

std::string PopLastResult(RoundRecord& r)
{
    if (r.history.empty())
        return {};
    std::string last(1, r.history.back());
    r.history.pop_back();
    return last;
}

template <typename Step> Effects Round::click(Step step)
{
    RoundRecord work = m_record;
    RecordedEffects fx;
    Effects shown;
    try {
        step(work, fx);
    } catch (const walks::UndoStopped&) {
        shown.push_back({ .kind = Effect::Kind::ShowCursor, .cursor = m_record.cursor() });
        return shown;
    } catch (const EngineError& e) {
        shown.push_back({ .kind = Effect::Kind::Failure, .text = e.what() });
        return shown;
    }
    m_record = std::move(work);
    return fx.take();
}

void Round::ResetState()
{
    static_cast<Cursor&>(m_record) = Cursor {};
    m_record.stake = 1;
    m_record.score = 0;
}

Effects Round::cmdWin_Click()
{
    return click([](RoundRecord& r, RecordedEffects& fx) { RecordWin(r, fx); });
}
Effects Round::cmdLost_Click()
{
    return click([](RoundRecord& r, RecordedEffects& fx) { RecordLoss(r, fx); });
}
Effects Round::cmdBack_Click()
{
    return click([](RoundRecord& r, RecordedEffects& fx) { StepBack(r, fx); });
}
Effects Round::cmdReset_Click()
{
    return click([](RoundRecord& r, RecordedEffects& fx) { EndRound(r, fx, EndReason::StartedOver); });
}

void Round::setRules(WinSeqPtr winSeq, LostTablePtr lostTable, bool rulesMissing)
{
    if (winSeq)
        m_record.winSeq = std::move(winSeq);
    if (lostTable)
        m_record.lostTable = std::move(lostTable);
    m_record.rulesMissing = rulesMissing;
}

} // namespace zelmar
