#pragma once
// The staking engine: the round record and the operations the five buttons
// run on it. Each click works on a copy of the record; only when the whole
// click succeeds is the copy kept and its view effects shown. A click that
// overflows or reads outside a table leaves the record as it was and reports
// the failure instead.

#include "RoundRecord.h"
#include "RoundView.h"
#include "ViewEffects.h"

#include <string>

namespace zelmar {

// Notice texts.
namespace notices {
inline constexpr const char* RulesNotSetWin = "规则未设置好";
inline constexpr const char* RulesNotSetLost = "规则未设定好";
inline constexpr const char* EndOfSequence = "数列已经到了尽头，本局已经结束,总的得分为";
inline constexpr const char* LostOnWinSide = "赢的方向上输了一局，本局已经结束,总的得分为";
inline constexpr const char* TurnedOnLossSide = "输的方向上反败为胜，本局已经结束,总的得分为";
inline constexpr const char* StartedOver = "重新开始了";
inline constexpr const char* AtOrigin = "已经在原点，不能后退";
} // namespace notices

// The cursor walks and round steps, on a record, with their view effects.
// They throw EngineError on overflow or an index outside a table.
bool NextStake(RoundRecord& r, ViewEffects& fx);
bool StepBackLost(RoundRecord& r, ViewEffects& fx);
void EndRound(RoundRecord& r, ViewEffects& fx, i16 reason);
std::string PopLastResult(RoundRecord& r);

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

    RoundView& view() { return m_view; }

private:
    template <typename Step> void click(Step step);

    RoundView& m_view;
    RoundRecord m_record;
};

} // namespace zelmar
