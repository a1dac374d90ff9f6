#pragma once
// The charts of zelmar-sim in one PNG file, what a player should look at
// first: the chance that a round (or a session) loses x or more, on a
// logarithmic axis so that one round in a thousand still shows; how the
// sessions came out; and the running net, with the lines where a session
// stops. Drawn with Qt Charts without a display (the offscreen platform is
// used when no other is set). Each returns an error text in Chinese when
// the file cannot be written.

#include "sim/Figures.h"

#include <optional>
#include <string>

namespace zelmar {

// Why this build cannot draw a chart into `path` (built without Qt Charts),
// or nothing when it can.
std::optional<std::string> chartUnavailable(const std::string& path);

std::optional<std::string> saveRoundsChart(const sim::RunFigures& f, const sim::Settings& s,
    const std::string& title, const std::string& path, int width, int height);
std::optional<std::string> saveSessionsChart(const sim::SessionFigures& f, const sim::Settings& s,
    const std::string& title, const std::string& path, int width, int height);
std::optional<std::string> saveCompareChart(const sim::RunFigures& a, const sim::RunFigures& b,
    const sim::Settings& s, const std::string& title, const std::string& path, int width, int height);

} // namespace zelmar
