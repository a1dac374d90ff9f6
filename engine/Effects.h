#pragma once
// What a click shows, kept in order until the click has finished. A click
// that fails is rolled back and its effects are dropped, so the user never
// sees a notice or a mark of a hand that was not recorded.
//
// The order is part of what the user sees and is kept as the click made it:
// an end-of-round notice, for instance, comes up over the totals of the hand
// before, and the totals of the new round follow once it is closed.

#include "engine/RoundSteps.h"

#include <string>
#include <vector>

namespace zelmar {

struct Effect {
    enum class Kind : char {
        ShowTotals, // score and stake
        ShowCursor, // cursor: mark its current cell, unmark the one it left
        ClearMarks, // direction: every mark of that grid goes
        Notice, // text
        Failure, // text: a click that failed (overflow, index) and changed nothing
    };
    Kind kind = Kind::Notice;
    i16 score = 0;
    i16 stake = 0;
    Cursor cursor = {};
    Direction direction = Direction::Origin;
    std::string text = {};
};
using Effects = std::vector<Effect>;

// The effects sink of a button: records each effect as it is made.
class RecordedEffects {
public:
    void showTotals(const RoundRecord& r)
    {
        m_items.push_back({ Effect::Kind::ShowTotals, r.score, r.stake });
    }
    void showCursor(const RoundRecord& r)
    {
        m_items.push_back({ .kind = Effect::Kind::ShowCursor, .cursor = r.cursor() });
    }
    void clearMarks(Direction direction)
    {
        m_items.push_back({ .kind = Effect::Kind::ClearMarks, .direction = direction });
    }
    void notice(const char* text) { m_items.push_back({ .kind = Effect::Kind::Notice, .text = text }); }
    void roundEnded(EndReason reason, i16 score)
    {
        m_items.push_back({ .kind = Effect::Kind::Notice, .text = endNoticeText(reason, score) });
    }

    Effects take() { return std::move(m_items); }

private:
    Effects m_items;
};
static_assert(EffectsSink<RecordedEffects>);
static_assert(EffectsSink<QuietEffects>);

} // namespace zelmar
