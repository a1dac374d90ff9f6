#pragma once
// Helpers of the engine tests: rules from text and a round played by letters.

#include "engine/HeadlessView.h"
#include "engine/Round.h"
#include "rules/RuleParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
            switch (c) {
            case 'W':
                round.cmdWin_Click();
                break;
            case 'L':
                round.cmdLost_Click();
                break;
            case 'B':
                round.cmdBack_Click();
                break;
            case 'R':
                round.cmdReset_Click();
                break;
            default:
                FAIL() << "unknown click " << c;
            }
        }
    }
    const RoundRecord& rec() const { return round.record(); }
};

} // namespace zelmar::test
