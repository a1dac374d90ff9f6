#pragma once
// What the engine shows. The main window, the replay tool and the tests each
// implement it; the engine calls nothing else to make its effects visible.

#include "Int16.h"
#include "Tables.h"

#include <string>

namespace zelmar {

// The cursor fields ShowCursor reads, captured when it was called.
struct CursorMarks {
    char direction = 'Z';
    i16 curRow = 0;
    i16 curCol = 0;
    i16 lastRow = 0;
    i16 lastCol = 0;
};

class RoundView {
public:
    virtual ~RoundView() = default;

    virtual void ShowTotals(i16 score, i16 stake) = 0;
    virtual void ShowCursor(const CursorMarks& cursor) = 0;
    virtual void ClearMarks(char direction) = 0;
    // Rebuild both grids; a null table has never been filled.
    virtual void FillGrids(const WinSeqPtr& winSeq, const LostTablePtr& lostTable) = 0;
    // Modal notice with an OK button and the application's title.
    virtual void Notice(const std::string& text) = 0;
    // Modal Yes/No question, Yes preselected; true for Yes.
    virtual bool Question(const std::string& prompt, const std::string& title) = 0;
    // A failure the program recovered from (overflow, index, rule file).
    virtual void ReportFailure(const std::string& text) = 0;
};

} // namespace zelmar
