#pragma once
// A view for the engine tests: it keeps the grid state like the window does
// and records the texts and totals it was shown.

#include "engine/Round.h"
#include "engine/SequenceGrid.h"
#include "rules/RuleParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zelmar::test {

class TestView : public RoundView {
public:
    void ShowTotals(i16 score, i16 stake) override
    {
        shownScore = decimal(score);
        shownStake = decimal(stake);
        ++totalsCalls;
    }
    void ShowCursor(const CursorMarks& c) override
    {
        grids.ShowCursor(c);
        ++cursorCalls;
    }
    void ClearMarks(char d) override { grids.ClearMarks(d); }
    void FillGrids(const WinSeqPtr& w, const LostTablePtr& l) override { grids.FillGrids(w, l); }
    void Notice(const std::string& t) override { notices.push_back(t); }
    bool Question(const std::string&, const std::string&) override { return true; }
    void ReportFailure(const std::string& t) override { failures.push_back(t); }

    void forget()
    {
        notices.clear();
        failures.clear();
        totalsCalls = 0;
        cursorCalls = 0;
    }

    SequenceGrids grids;
    std::string shownScore;
    std::string shownStake;
    std::vector<std::string> notices;
    std::vector<std::string> failures;
    int totalsCalls = 0;
    int cursorCalls = 0;
};

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
    TestView view;
    Round round { view };

    Game(std::string_view win, std::string_view lost)
    {
        round.setRules(winOf(win), lostOf(lost), 0);
        round.ResetState();
        round.ShowTotals();
        view.forget();
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
