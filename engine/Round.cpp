#include "engine/Round.h"

namespace zelmar {

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
