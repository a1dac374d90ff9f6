#pragma once
// The view calls a click makes, kept in order until the click has finished.
// A click that fails is rolled back and its effects are dropped, so the user
// never sees a notice or a mark of a hand that was not recorded.

#include "RoundRecord.h"
#include "RoundView.h"

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
    void clearMarks(const RoundRecord& r) { m_items.emplace_back(Clear { r.direction }); }
    void notice(std::string text) { m_items.emplace_back(Text { std::move(text) }); }

    void replay(RoundView& view) const;
    bool empty() const { return m_items.empty(); }

private:
    struct Totals {
        i16 score;
        i16 stake;
    };
    struct Clear {
        char direction;
    };
    struct Text {
        std::string text;
    };
    std::vector<std::variant<Totals, CursorMarks, Clear, Text>> m_items;
};

} // namespace zelmar
