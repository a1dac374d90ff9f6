#pragma once
// What a page of charts shows: the figures of a run of rounds, of a run of
// sessions (with the lines where a session stops), or of two rule sets
// played on the same hands (A and B).

#include "sim/Figures.h"
#include "sim/Simulation.h"

#include <optional>
#include <utility>
#include <vector>

namespace zelmar {

struct ChartFigures {
    enum class Kind { Rounds, Sessions, Compare };
    Kind kind = Kind::Rounds;
    sim::RunFigures a; // the rounds; A's when compared
    sim::RunFigures b; // B's rounds when compared
    sim::SessionFigures sessions;
    // The lines a session stops at, in units (sessions only).
    std::optional<double> stopWin;
    std::optional<double> stopLoss;
    std::optional<double> bankroll;
    // Worked out exactly: (x, chance of losing x or more), x > 0 in units,
    // of a round or of a session; empty when not worked out.
    std::vector<std::pair<double, double>> exactLoss;

    static ChartFigures rounds(const sim::RunFigures& f)
    {
        ChartFigures c;
        c.a = f;
        return c;
    }
    static ChartFigures sessionsOf(const sim::SessionFigures& f, const sim::Settings& s)
    {
        ChartFigures c;
        c.kind = Kind::Sessions;
        c.sessions = f;
        c.stopWin = s.stopWin;
        c.stopLoss = s.stopLoss;
        c.bankroll = s.bankroll;
        return c;
    }
    static ChartFigures compared(const sim::RunFigures& a, const sim::RunFigures& b)
    {
        ChartFigures c;
        c.kind = Kind::Compare;
        c.a = a;
        c.b = b;
        return c;
    }
};

} // namespace zelmar
