#pragma once
// The staking engine: the round record and the operations the five buttons
// run on it. Each click works on a copy of the record; only when the whole
// click succeeds is the copy kept and its view effects shown. A click that
// overflows or reads outside a table leaves the record as it was and reports
// the failure instead.

#include "engine/RoundRecord.h"
#include "engine/RoundSteps.h"
#include "engine/RoundView.h"

namespace zelmar {

class Round {
public:
    explicit Round(RoundView& view)
        : m_view(view)
    {
    }

    const RoundRecord& record() const { return m_record; }

    void ResetState();
    // Shows the record's score and stake.
    void ShowTotals();
    void cmdWin_Click();
    void cmdLost_Click();
    void cmdBack_Click();
    void cmdReset_Click();

    // Installs freshly loaded rules and rebuilds the grids. A null table
    // keeps the one in use. The round's position, stake, score and history
    // are left alone.
    void setRules(WinSeqPtr winSeq, LostTablePtr lostTable, i16 rulesMissing);

private:
    template <typename Step> void click(Step step);

    RoundView& m_view;
    RoundRecord m_record;
};

} // namespace zelmar
