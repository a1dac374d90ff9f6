#pragma once
// The exact figures of a run's rules (of A when compared): of a round, or of
// sessions, which may be past the limit of what is worked out.

#include "sim/Exact.h"

#include <optional>

namespace zelmar {

struct ExactOutcome {
    std::optional<sim::ExactRound> round;
    std::optional<sim::ExactSessionsResult> sessions;
    bool stopped() const
    {
        return (round && round->stopped) || (sessions && sessions->figures && sessions->figures->stopped);
    }
};

} // namespace zelmar
