// zelmar-sim built without Qt Charts (the Windows tool build): the figures
// are all there, only the charts cannot be drawn, and --plot says so before
// the run starts.
#include "tools/sim/PlayerChart.h"

namespace zelmar {

std::optional<std::string> chartUnavailable(const std::string& path)
{
    return "这个版本的 zelmar-sim 不能画图表（构建时没有 Qt Charts），没有写入 " + path;
}

std::optional<std::string> saveRoundsChart(
    const sim::RunFigures&, const sim::Settings&, const std::string&, const std::string& path, int, int)
{
    return chartUnavailable(path);
}

std::optional<std::string> saveSessionsChart(
    const sim::SessionFigures&, const sim::Settings&, const std::string&, const std::string& path, int, int)
{
    return chartUnavailable(path);
}

std::optional<std::string> saveCompareChart(const sim::RunFigures&, const sim::RunFigures&,
    const sim::Settings&, const std::string&, const std::string& path, int, int)
{
    return chartUnavailable(path);
}

} // namespace zelmar
