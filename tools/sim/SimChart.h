#pragma once
// The charts of a run in one PNG file: the histogram of round scores, the
// distribution of how deep rounds went, and the net result over the rounds.
// Drawn with Qt Charts without a display (the offscreen platform is used
// when no other is set).

#include "sim/Figures.h"

#include <optional>
#include <string>

namespace zelmar {

// Writes the chart; an error text in Chinese when the file cannot be written.
std::optional<std::string> saveRunChart(
    const sim::RunFigures& figures, const std::string& title, const std::string& path, int width, int height);

} // namespace zelmar
