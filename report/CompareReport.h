#pragma once
// The report of two rule sets on the same hands: each one's figures and
// their difference, in Chinese or as one JSON object.

#include "report/ReportText.h"
#include "sim/Compare.h"

#include <string>

namespace zelmar {

struct ComparedRun {
    RunDescription a;
    RunDescription b;
    sim::RunFigures figuresA;
    sim::RunFigures figuresB;
    sim::ComparisonFigures paired;
};
std::string compareTextReport(const ComparedRun& c);
std::string compareJsonReport(const ComparedRun& c);

} // namespace zelmar
