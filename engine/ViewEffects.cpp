#include "engine/ViewEffects.h"

namespace zelmar {

void ViewEffects::replay(RoundView& view) const
{
    for (const auto& item : m_items) {
        if (const auto* t = std::get_if<Totals>(&item))
            view.ShowTotals(t->score, t->stake);
        else if (const auto* c = std::get_if<CursorMarks>(&item))
            view.ShowCursor(*c);
        else if (const auto* k = std::get_if<Clear>(&item))
            view.ClearMarks(k->direction);
        else
            view.Notice(std::get<Text>(item).text);
    }
}

} // namespace zelmar
