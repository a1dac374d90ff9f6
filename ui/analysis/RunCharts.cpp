#include "ui/analysis/RunCharts.h"

#include "charts/ChartPage.h"

#include <QVBoxLayout>

namespace zelmar {

RunCharts::RunCharts(QWidget* parent)
    : QWidget(parent)
    , m_page(new ChartPage(this))
{
    m_page->setObjectName("chtPage");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_page);
}

void RunCharts::clear()
{
    show({});
}

void RunCharts::show(const ChartData& data)
{
    m_page->setFigures(data);
}

bool RunCharts::savePng(const QString& path)
{
    const auto error = m_page->savePng(path, m_page->width(), m_page->height());
    m_error = error.value_or(QString());
    return !error;
}

ChartData chartOf(const sim::RunResults& r, const sim::Settings& s)
{
    if (r.sessions)
        return ChartData::sessionsOf(*r.sessions, s);
    if (r.paired)
        return ChartData::compared(*r.rounds, *r.roundsB);
    if (r.rounds)
        return ChartData::rounds(*r.rounds);
    return {};
}

ChartData chartOf(const RunOutcome& o)
{
    ChartData chart = chartOf(o.results, o.plan.a);
    if (o.plan.a.sessions > 0)
        chart = ChartData::sessionsOf(o.results.sessions.value_or(sim::SessionFigures {}), o.plan.a);
    if (!o.exact)
        return chart;
    if (o.exact->round)
        chart.exactLoss
            = exactLossCurve(o.exact->round->money, static_cast<double>(o.exact->round->unit.scale));
    else if (o.exact->sessions && o.exact->sessions->figures)
        chart.exactLoss = exactLossCurve(
            o.exact->sessions->figures->net, static_cast<double>(o.exact->sessions->figures->unit.scale));
    return chart;
}

} // namespace zelmar
