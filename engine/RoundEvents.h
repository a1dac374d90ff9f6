#pragma once
// Driving a round from a text of events, one character per click: W win,
// L lose, B step back, R start over, S reload the rules. The replay tool,
// the tests and the fuzz targets all go through here.

#include "engine/Round.h"

#include <functional>
#include <optional>

namespace zelmar {

enum class Event : char { Win = 'W', Loss = 'L', Back = 'B', Reset = 'R', Reload = 'S' };

// The event a character names, in either case; nothing for any other.
std::optional<Event> eventOf(char c);

// Runs one event as the main window would. A reload is the caller's: it
// knows where the rules come from.
void PlayEvent(Round& round, Event event, const std::function<void()>& reload);

} // namespace zelmar
