#pragma once
// The replay tool's view: it keeps the grid state, the texts the totals
// boxes would show, and the notices and failures of the current step.

#include "engine/RoundView.h"
#include "engine/SequenceGrid.h"

#include <string>
#include <vector>

namespace zelmar {

class ReplayView : public RoundView {
public:
    void ShowTotals(i16 score, i16 stake) override;
    void ShowCursor(const CursorMarks& cursor) override { grids.ShowCursor(cursor); }
    void ClearMarks(char direction) override { grids.ClearMarks(direction); }
    void FillGrids(const WinSeqPtr& winSeq, const LostTablePtr& lostTable) override
    {
        grids.FillGrids(winSeq, lostTable);
    }
    void Notice(const std::string& text) override { notices.push_back(text); }
    // A reload event stands for the user's Yes.
    bool Question(const std::string&, const std::string&) override { return true; }
    void ReportFailure(const std::string& text) override { errors.push_back(text); }

    void startStep()
    {
        notices.clear();
        errors.clear();
    }

    SequenceGrids grids;
    std::string shownScore;
    std::string shownStake;
    std::vector<std::string> notices;
    std::vector<std::string> errors;
};

} // namespace zelmar
