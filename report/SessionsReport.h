#pragma once
// The report of a run of sessions (evenings at the table): in Chinese for the
// terminal, and the same figures as one JSON object.

#include "report/ReportText.h"
#include "sim/Figures.h"

#include <string>

namespace zelmar {

std::string sessionTextReport(const RunDescription& run, const sim::SessionFigures& f);
std::string sessionJsonReport(const RunDescription& run, const sim::SessionFigures& f);

} // namespace zelmar
