#pragma once
// The report of a run of single rounds: in Chinese for the terminal, and the
// same figures as one JSON object. Every mean and share is followed by its
// standard error, "± x", as the report says once at its top.

#include "report/ReportText.h"
#include "sim/Figures.h"

#include <string>

namespace zelmar {

std::string textReport(const RunDescription& run, const sim::RunFigures& f);
std::string jsonReport(const RunDescription& run, const sim::RunFigures& f);

} // namespace zelmar
