// The chart file of zelmar-sim in a test program built without Qt: it runs
// the commands, and refuses --plot before a run.
#include "charts/PlotFile.h"

namespace zelmar {

std::optional<std::string> plotNameProblem(const std::string& path)
{
    return "这个测试程序不画图表，没有写入 " + path;
}

std::optional<std::string> saveRoundsChart(
    const sim::RunFigures&, const sim::Settings&, const std::string&, const std::string& path, int, int)
{
    return plotNameProblem(path);
}

std::optional<std::string> saveSessionsChart(
    const sim::SessionFigures&, const sim::Settings&, const std::string&, const std::string& path, int, int)
{
    return plotNameProblem(path);
}

std::optional<std::string> saveCompareChart(const sim::RunFigures&, const sim::RunFigures&,
    const sim::Settings&, const std::string&, const std::string& path, int, int)
{
    return plotNameProblem(path);
}

} // namespace zelmar
