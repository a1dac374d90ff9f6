#include "ReplayView.h"

namespace zelmar {

void ReplayView::ShowTotals(i16 score, i16 stake)
{
    shownScore = decimal(score);
    shownStake = decimal(stake);
}

} // namespace zelmar
