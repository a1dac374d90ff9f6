#include "calculator/HeadlessView.h"

namespace zelmar {

void HeadlessView::showTotals(i16 score, i16 stake)
{
    shownScore = decimal(score);
    shownStake = decimal(stake);
    ++totalsShown;
}

void HeadlessView::startStep()
{
    notices.clear();
    failures.clear();
    totalsShown = 0;
    cellUpdates = 0;
    fills = 0;
}

} // namespace zelmar
