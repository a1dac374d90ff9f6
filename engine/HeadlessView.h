#pragma once
// The view of a program without a window (the replay tool, the tests): it
// keeps the grid state as the window draws it, the texts the two totals boxes
// would show, and what the current step showed and reported.

#include "engine/RoundView.h"
#include "engine/SequenceGrid.h"

#include <functional>
#include <string>
#include <vector>

namespace zelmar {

class HeadlessView : public RoundView {
public:
    void ShowTotals(i16 score, i16 stake) override;
    void ShowCursor(const CursorMarks& cursor) override;
    void ClearMarks(Direction direction) override;
    void FillGrids(const WinSeqPtr& winSeq, const LostTablePtr& lostTable) override;
    void Notice(const std::string& text) override { notices.push_back(text); }
    void ReportFailure(const std::string& text) override { failures.push_back(text); }
    // Where loading the rules reports a file it could not read or parse.
    std::function<void(const std::string&)> reporter()
    {
        return [this](const std::string& text) { failures.push_back(text); };
    }

    // Forgets what the previous step showed; the grids and boxes stay.
    void startStep();
    // Totals, cursor and clear calls of the current step.
    int calls() const { return totalsShown + cursorsShown + marksCleared; }

    SequenceGrids grids;
    std::string shownScore;
    std::string shownStake;
    std::vector<std::string> notices;
    std::vector<std::string> failures;
    int totalsShown = 0;
    int cursorsShown = 0;
    int marksCleared = 0;
    int fills = 0;
};

} // namespace zelmar
