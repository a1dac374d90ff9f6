#include "engine/RoundEvents.h"

namespace zelmar {

std::optional<Event> eventOf(char c)
{
    switch (c) {
    case 'W':
    case 'w':
        return Event::Win;
    case 'L':
    case 'l':
        return Event::Loss;
    case 'B':
    case 'b':
        return Event::Back;
    case 'R':
    case 'r':
        return Event::Reset;
    case 'S':
    case 's':
        return Event::Reload;
    default:
        return std::nullopt;
    }
}

void PlayEvent(Round& round, Event event, const std::function<void()>& reload)
{
    switch (event) {
    case Event::Win:
        round.cmdWin_Click();
        break;
    case Event::Loss:
        round.cmdLost_Click();
        break;
    case Event::Back:
        round.cmdBack_Click();
        break;
    case Event::Reset:
        round.cmdReset_Click();
        break;
    case Event::Reload:
        if (reload)
            reload();
        break;
    }
}

} // namespace zelmar
