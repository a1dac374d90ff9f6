// RunCharts in a build without Qt Charts: an empty widget that the window
// leaves out (see RunCharts::drawn), and no picture to save.

#include "ui/analysis/RunCharts.h"

namespace zelmar {

bool RunCharts::drawn()
{
    return false;
}

RunCharts::RunCharts(QWidget* parent)
    : QWidget(parent)
{
}

void RunCharts::show(const ChartData&)
{
}

void RunCharts::clear()
{
}

bool RunCharts::savePng(const QString&)
{
    return false;
}

} // namespace zelmar
