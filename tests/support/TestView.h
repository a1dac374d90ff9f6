#pragma once
// Helpers of the engine tests: rules from text and a round played by letters.

#include "engine/HeadlessView.h"
#include "engine/Round.h"
#include "engine/RoundEvents.h"
#include "engine/ViewEffects.h"
#include "rules/RuleParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zelmar {

// How a failing comparison of two records shows them.
inline void PrintTo(const RoundRecord& r, std::ostream* out)
{
    *out << directionText(r.direction) << " cur (" << r.curRow << ", " << r.curCol << ") last (" << r.lastRow
         << ", " << r.lastCol << ") stake " << r.stake << " score " << r.score << " history \"" << r.history
         << "\" rulesMissing " << r.rulesMissing;
}

} // namespace zelmar

namespace zelmar::test {

inline WinSeqPtr winOf(std::string_view text)
{
    auto r = ParseWinRule(text);
    EXPECT_TRUE(r.ok()) << text;
    return std::make_shared<const WinSeq>(r.table());
}

inline LostTablePtr lostOf(std::string_view text)
{
    auto r = ParseLostRule(text);
    EXPECT_TRUE(r.ok()) << text;
    return std::make_shared<const LostTable>(r.table());
}

// A round at the origin with the given rules, as after start-up.
struct Game {
    HeadlessView view;
    Round round { view };

    Game(std::string_view win, std::string_view lost)
    {
        round.setRules(winOf(win), lostOf(lost), 0);
        round.ResetState();
        round.ShowTotals();
        view.startStep();
    }

    // Runs a string of clicks: W, L, B, R.
    void play(std::string_view clicks)
    {
        for (char c : clicks) {
            const auto event = eventOf(c);
            ASSERT_TRUE(event && *event != Event::Reload) << "unknown click " << c;
            PlayEvent(round, *event, nullptr);
        }
    }
    const RoundRecord& rec() const { return round.record(); }
};

} // namespace zelmar::test
