#pragma once
// Helpers of the engine tests: rules from text and a round played by letters.

#include "calculator/Calculator.h"
#include "calculator/HeadlessView.h"
#include "rules/RuleParser.h"
#include "tests/support/MemoryFileService.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace zelmar {

// How a failing comparison shows a hand and a record: a hand by the letter
// of its click.
inline void PrintTo(Hand h, std::ostream* out)
{
    *out << (h == Hand::Win ? 'W' : 'L');
}

inline void PrintTo(const RoundRecord& r, std::ostream* out)
{
    *out << directionText(r.direction) << " cur (" << r.curRow << ", " << r.curCol << ") last (" << r.lastRow
         << ", " << r.lastCol << ") stake " << r.stake << " score " << r.score << " history ";
    for (Hand h : r.history)
        PrintTo(h, out);
    *out << " rulesMissing " << r.rulesMissing;
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

// A view without a window that also keeps the cells reported as changed,
// in order, until the test clears them.
struct RecordingView : HeadlessView {
    void cellsChanged(const std::vector<SequenceGrids::Changed>& cells) override
    {
        HeadlessView::cellsChanged(cells);
        changed.insert(changed.end(), cells.begin(), cells.end());
    }
    std::vector<SequenceGrids::Changed> changed;
};

// A calculator whose rule files are held in memory; the round at the
// origin, as after start-up.
struct Game {
    MemoryFileService memory;
    RecordingView view;
    Calculator calc { "rules", view, memory };

    Game() = default;
    Game(std::string_view win, std::string_view lost)
    {
        reload(win, lost);
        view.startStep();
    }

    // Puts the texts given into the rule files (nullopt keeps a file as it
    // is) and reloads the rules, as after the rule editor. The texts parse.
    void reload(std::optional<std::string_view> win, std::optional<std::string_view> lost)
    {
        const RuleFiles files("rules", memory);
        if (win)
            memory.files[files.winPath()] = *win;
        if (lost)
            memory.files[files.lostPath()] = *lost;
        const std::size_t failures = view.failures.size();
        calc.LoadRules();
        EXPECT_EQ(view.failures.size(), failures) << view.failures.back();
    }

    // Runs a string of clicks: W, L, B, R.
    void play(std::string_view clicks)
    {
        for (char c : clicks) {
            const auto event = eventOf(c);
            ASSERT_TRUE(event && *event != Event::Reload) << "unknown click " << c;
            calc.Play(*event);
        }
    }
    const RoundRecord& rec() const { return calc.Record(); }
    const SequenceGrids& grids() const { return calc.Grids(); }
};

} // namespace zelmar::test
