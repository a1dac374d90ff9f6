#pragma once
// zelmar-replay: runs a recorded sequence of hands through the rules and
// shows, step by step, what the calculator would have staked and scored.

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace zelmar {

// `args` are the words after the program's name; with the event text "-"
// the events are read from `in`, line by line, each step written as soon as
// its line is read. Returns the exit status: 0 when the events were run
// (failures inside the round are part of the output), 2 for a bad command
// line or a bad event.
int replayCommand(
    const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

} // namespace zelmar
