#pragma once
// The staking engine: the round record and the operations the four buttons
// of play run on it. Each click works on a copy of the record; only when the
// whole click succeeds is the copy kept. A click hands back what it shows, in
// order: its effects, or the one failure of a click that overflowed or read
// outside a table and so left the record as it was.

#include "engine/Effects.h"
#include "engine/RoundRecord.h"

namespace zelmar {

class Round {
public:
    const RoundRecord& record() const { return m_record; }

    // Back to the origin with stake 1 and score 0; the history stays.
    void ResetState();
    [[nodiscard]] Effects cmdWin_Click();
    [[nodiscard]] Effects cmdLost_Click();
    [[nodiscard]] Effects cmdBack_Click();
    [[nodiscard]] Effects cmdReset_Click();

    // Installs freshly loaded rules. A null table keeps the one in use. The
    // round's position, stake, score and history are left alone.
    void setRules(WinSeqPtr winSeq, LostTablePtr lostTable, bool rulesMissing);

private:
    template <typename Step> Effects click(Step step);

    RoundRecord m_record;
};

} // namespace zelmar
