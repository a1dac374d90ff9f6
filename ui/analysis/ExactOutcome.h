#pragma once
// The exact figures of a run's rules (of A when compared): of a round, or of
// sessions, which may be past the limit of what is worked out.

#include "sim/Exact.h"

#include <atomic>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace zelmar {

struct ExactOutcome {
    std::optional<sim::ExactRound> round;
    std::optional<sim::ExactSessionsResult> sessions;
    bool stopped() const
    {
        return (round && round->stopped) || (sessions && sessions->figures && sessions->figures->stopped);
    }
};

// The exact figures of `s`: of sessions when it plays sessions, else of a
// round; their progress (0 to 1000) on `progress`, stopped by `stop`.
ExactOutcome workOut(
    const sim::Settings& s, const std::function<void(long)>& progress, const std::atomic<bool>& stop);

// The chance of losing x or more, from the chances of the money (in parts
// of 1/scale): (x in units, chance), x > 0 increasing.
std::vector<std::pair<double, double>> exactLossCurve(const sim::Chances& money, double scale);

} // namespace zelmar
