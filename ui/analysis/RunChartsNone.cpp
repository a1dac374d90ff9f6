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
    , m_lossView(nullptr)
    , m_loss(nullptr)
    , m_lossX(nullptr)
    , m_lossY(nullptr)
    , m_netView(nullptr)
    , m_net(nullptr)
    , m_netX(nullptr)
    , m_netY(nullptr)
    , m_sessionView(nullptr)
    , m_sessionNets(nullptr)
    , m_sessionX(nullptr)
    , m_sessionY(nullptr)
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
