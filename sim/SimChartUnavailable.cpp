// zelmar-sim built without Qt Charts (the Windows tool build): the figures
// are all there, only the chart cannot be drawn, and --plot says so.
#include "sim/SimChart.h"

namespace zelmar::sim {

std::optional<std::string> saveRunChart(
    const RunFigures&, const std::string&, const std::string& path, int, int)
{
    return "这个版本的 zelmar-sim 不能画图表（构建时没有 Qt Charts），没有写入 " + path;
}

} // namespace zelmar::sim
