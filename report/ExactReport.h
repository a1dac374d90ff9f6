#pragma once
// How zelmar-sim exact shows its figures: a Chinese report, the same figures
// as one JSON object (named as run names the same figures), and the
// distributions as CSV rows (figure, x, chance). The figures are worked
// out, not sampled: no "±" anywhere, as the report says once.

#include "sim/Exact.h"

#include <string>

namespace zelmar {

struct ExactDescription {
    sim::Settings settings;
    std::string rulesFolder;
    bool stopped = false;
};

std::string exactTextReport(const ExactDescription& d, const sim::ExactRound& r);
std::string exactJsonReport(const ExactDescription& d, const sim::ExactRound& r);
std::string exactCsv(const sim::ExactRound& r);

std::string exactSessionTextReport(const ExactDescription& d, const sim::ExactSessions& f);
std::string exactSessionJsonReport(const ExactDescription& d, const sim::ExactSessions& f);
std::string exactSessionCsv(const sim::ExactSessions& f);

// Why sessions were not worked out, with what they would need.
std::string sessionsTooLargeText(const sim::SessionsTooLarge& t);

} // namespace zelmar
