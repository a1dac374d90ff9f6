#include "ui/analysis/ExactOutcome.h"

#include <algorithm>

namespace zelmar {

ExactOutcome workOut(
    const sim::Settings& s, const std::function<void(long)>& progress, const std::atomic<bool>& stop)
{
    sim::ExactControl control;
    control.stop = &stop;
    control.progress = [&](double done) { progress(static_cast<long>(done * 1000)); };
    ExactOutcome exact;
    if (s.sessions > 0)
        exact.sessions = sim::exactSessions(s, {}, control);
    else
        exact.round = sim::exactRound(s, {}, control);
    return exact;
}

std::vector<std::pair<double, double>> exactLossCurve(const sim::Chances& money, double scale)
{
    // Losing x or more is ending at -x or below: the chances from the lowest
    // money up, added as they come, then turned to increasing x.
    std::vector<std::pair<double, double>> curve;
    double atOrBelow = 0;
    for (auto it = money.begin(); it != money.end() && it->first < 0; ++it) {
        atOrBelow += it->second;
        curve.emplace_back(static_cast<double>(-it->first) / scale, atOrBelow);
    }
    std::reverse(curve.begin(), curve.end());
    return curve;
}

} // namespace zelmar
