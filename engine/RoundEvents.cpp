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

} // namespace zelmar
