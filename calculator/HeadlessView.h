#pragma once
// The view of a calculator without a window (the replay tool, the tests): it
// keeps the texts the two totals boxes would show, and what the current step
// showed and reported. The grids are the calculator's own.

#include "calculator/CalculatorView.h"

#include <string>
#include <vector>

namespace zelmar {

class HeadlessView : public CalculatorView {
public:
    void showTotals(i16 score, i16 stake) override;
    void cellsChanged(const std::vector<SequenceGrids::Changed>&) override { ++cellUpdates; }
    void beginFill() override { }
    void endFill(const WinSeqPtr&, const LostTablePtr&) override { ++fills; }
    void notice(const std::string& text) override { notices.push_back(text); }
    void reportFailure(const std::string& text) override { failures.push_back(text); }

    // Forgets what the previous step showed; the boxes keep their texts.
    void startStep();
    // Totals and cell updates of the current step.
    int calls() const { return totalsShown + cellUpdates; }

    std::string shownScore;
    std::string shownStake;
    std::vector<std::string> notices;
    std::vector<std::string> failures;
    int totalsShown = 0;
    int cellUpdates = 0; // cursor moves and cleared grids
    int fills = 0;
};

} // namespace zelmar
