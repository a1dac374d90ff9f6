#pragma once
// Keeps every run's time so that a benchmark program can print, at its end,
// the ratio of each measured cost to its baseline from the same run.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            m_times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }

    void printRatio(const char* what, const char* baseline) const
    {
        const auto a = m_times.find(what);
        const auto b = m_times.find(baseline);
        if (a != m_times.end() && b != m_times.end() && b->second > 0)
            std::printf("ratio %s / %s = %.3g\n", what, baseline, a->second / b->second);
    }

private:
    std::map<std::string, double> m_times;
};
