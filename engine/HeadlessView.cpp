#include "engine/HeadlessView.h"

namespace zelmar {

void HeadlessView::ShowTotals(i16 score, i16 stake)
{
    shownScore = decimal(score);
    shownStake = decimal(stake);
    ++totalsShown;
}

void HeadlessView::ShowCursor(const CursorMarks& cursor)
{
    grids.ShowCursor(cursor);
    ++cursorsShown;
}

void HeadlessView::ClearMarks(Direction direction)
{
    grids.ClearMarks(direction);
    ++marksCleared;
}

void HeadlessView::FillGrids(const WinSeqPtr& winSeq, const LostTablePtr& lostTable)
{
    grids.FillGrids(winSeq, lostTable);
    ++fills;
}

void HeadlessView::startStep()
{
    notices.clear();
    failures.clear();
    totalsShown = 0;
    cursorsShown = 0;
    marksCleared = 0;
    fills = 0;
}

} // namespace zelmar
