#pragma once
// The view of a program without a window (the replay tool, the tests): it
// keeps the grid state as the window draws it, the texts the two totals boxes
// would show, and what the current step showed and reported.

#include "RoundView.h"
#include "SequenceGrid.h"

#include <string>
#include <vector>

namespace zelmar {

class HeadlessView : public RoundView {
public:
    void ShowTotals(i16 score, i16 stake) override;
    void ShowCursor(const CursorMarks& cursor) override;
    void ClearMarks(char direction) override;
    void FillGrids(const WinSeqPtr& winSeq, const LostTablePtr& lostTable) override;
    void Notice(const std::string& text) override { notices.push_back(text); }
    // A question is answered as `answer` says; a reload event stands for Yes.
    bool Question(const std::string&, const std::string&) override { return answer; }
    void ReportFailure(const std::string& text) override { failures.push_back(text); }

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
    bool answer = true;
};

} // namespace zelmar
