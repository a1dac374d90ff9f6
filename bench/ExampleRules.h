#pragma once
// The example rules of the program (examples/), as the benchmarks play them.

#include "rules/RuleParser.h"
#include "sim/Simulation.h"

#include <memory>

namespace zelmar::bench {

inline sim::Settings exampleRules(sim::Game game)
{
    sim::Settings s;
    s.winSeq = std::make_shared<const WinSeq>(ParseWinRule("1,1,2,3").table());
    s.lostTable = std::make_shared<const LostTable>(ParseLostRule("1,1,2,3\r\n2,2,4,6\r\n3,3,6,9").table());
    s.game = game;
    s.winChance = 0.5;
    return s;
}

} // namespace zelmar::bench
