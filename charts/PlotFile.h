#pragma once
// zelmar-sim's --plot: the charts of a run in one PNG file, drawn by the
// chart page the analysis window shows (charts/ChartPage.h), without a
// display on Linux (Qt's offscreen platform is used when no other is set),
// with the desktop's fonts on Windows. Each
// returns the reason in Chinese when the file cannot be written.
//
// This header is free of Qt: the commands that call these functions are
// built without a toolkit, and a program gets its charts by linking the
// zelmar_charts library.

#include "sim/Figures.h"
#include "sim/Simulation.h"

#include <optional>
#include <string>

namespace zelmar {

// Why a chart cannot be written to `path` whatever the run: the name must
// end in .png. Nothing when it can.
std::optional<std::string> plotNameProblem(const std::string& path);

std::optional<std::string> saveRoundsChart(const sim::RunFigures& f, const sim::Settings& s,
    const std::string& title, const std::string& path, int width, int height);
std::optional<std::string> saveSessionsChart(const sim::SessionFigures& f, const sim::Settings& s,
    const std::string& title, const std::string& path, int width, int height);
std::optional<std::string> saveCompareChart(const sim::RunFigures& a, const sim::RunFigures& b,
    const sim::Settings& s, const std::string& title, const std::string& path, int width, int height);

} // namespace zelmar
