#pragma once
// The events a user makes, one character each: W win, L lose, B step back,
// R start over, S reload the rules. The replay tool, the tests and the fuzz
// targets name their clicks this way.

#include <optional>

namespace zelmar {

enum class Event : char { Win = 'W', Loss = 'L', Back = 'B', Reset = 'R', Reload = 'S' };

// The event a character names, in either case; nothing for any other.
std::optional<Event> eventOf(char c);

} // namespace zelmar
