#pragma once
// What the engine shows. The main window and the program without a window
// (HeadlessView) implement it; the engine calls nothing else to make its
// effects visible.

#include "engine/Int16.h"
#include "engine/RoundRecord.h"
#include "engine/Tables.h"

#include <string>

namespace zelmar {

// The cursor fields ShowCursor reads, captured when it was called.
struct CursorMarks {
    Direction direction = Direction::Origin;
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
    virtual void ClearMarks(Direction direction) = 0;
    // Rebuild both grids; a null table has never been filled.
    virtual void FillGrids(const WinSeqPtr& winSeq, const LostTablePtr& lostTable) = 0;
    // Modal notice with an OK button and the application's title.
    virtual void Notice(const std::string& text) = 0;
    // A click that failed (overflow, index) and changed nothing.
    virtual void ReportFailure(const std::string& text) = 0;
};

} // namespace zelmar
