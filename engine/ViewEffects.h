#pragma once
// The view calls a click makes, kept in order until the click has finished.
// A click that fails is rolled back and its effects are dropped, so the user
// never sees a notice or a mark of a hand that was not recorded.
//
// The order is part of what the user sees and is kept as the click made it:
// an end-of-round notice, for instance, comes up over the totals of the hand
// before, and the totals of the new round follow once it is closed.

#include "engine/RoundRecord.h"
#include "engine/RoundSteps.h"
#include "engine/RoundView.h"

#include <string>
#include <variant>
#include <vector>

namespace zelmar {

class ViewEffects {
public:
    void showTotals(const RoundRecord& r) { m_items.emplace_back(Totals { r.score, r.stake }); }
    void showCursor(const RoundRecord& r)
    {
        m_items.emplace_back(CursorMarks { r.direction, r.curRow, r.curCol, r.lastRow, r.lastCol });
    }
    void clearMarks(Direction direction) { m_items.emplace_back(Clear { direction }); }
    void notice(const char* text) { m_items.emplace_back(Text { text }); }
    void roundEnded(EndReason reason, i16 score)
    {
        m_items.emplace_back(Text { endNoticeText(reason, score) });
    }

    void replay(RoundView& view) const;
    bool empty() const { return m_items.empty(); }

private:
    struct Totals {
        i16 score;
        i16 stake;
    };
    struct Clear {
        Direction direction;
    };
    struct Text {
        std::string text;
    };
    std::vector<std::variant<Totals, CursorMarks, Clear, Text>> m_items;
};

} // namespace zelmar
