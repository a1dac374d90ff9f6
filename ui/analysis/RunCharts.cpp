#include "ui/analysis/RunCharts.h"

#include "ui/UiFont.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QPainter>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace zelmar {

bool RunCharts::drawn()
{
    return true;
}

namespace {

constexpr qreal TitlePoints = 11;
constexpr qreal LabelPoints = 9;

QChartView* chartView(QWidget* parent, const QString& title)
{
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setTitleFont(songFont(TitlePoints, true));
    chart->legend()->hide();
    chart->setMargins(QMargins(4, 4, 8, 4));
    auto* view = new QChartView(chart, parent);
    view->setRenderHint(QPainter::Antialiasing);
    view->setFocusPolicy(Qt::NoFocus); // a picture, not a control
    view->setMinimumHeight(160);
    return view;
}

template <class Axis>
Axis* addAxis(QChart* chart, QLineSeries* series, const QString& title, Qt::Alignment side)
{
    auto* axis = new Axis;
    axis->setTitleText(title);
    axis->setTitleFont(songFont(LabelPoints));
    axis->setLabelsFont(songFont(LabelPoints));
    chart->addAxis(axis, side);
    series->attachAxis(axis);
    return axis;
}

// A range that shows [lo, hi] with a little room, never empty.
std::pair<double, double> roomy(double lo, double hi)
{
    if (hi <= lo)
        return { lo - 10, hi + 10 };
    const double pad = (hi - lo) * 0.05;
    return { lo - pad, hi + pad };
}

// Nice ticks for the range, labelled with as many decimals as their step needs.
void niceTicks(QValueAxis* axis, double from, double to)
{
    axis->setRange(from, to);
    axis->applyNiceNumbers();
    const double step = (axis->max() - axis->min()) / std::max(1, axis->tickCount() - 1);
    const int decimals = std::clamp(static_cast<int>(std::ceil(-std::log10(step))), 0, 6);
    axis->setLabelFormat(QStringLiteral("%.%1f").arg(decimals));
}

// The label of a chance of 10^power: "1", "1/10", "1/100", ...
QString chanceLabel(int power)
{
    return power == 0 ? QStringLiteral("1")
                      : QStringLiteral("1/") + QString::number(std::pow(10.0, -power), 'f', 0);
}

} // namespace

RunCharts::RunCharts(QWidget* parent)
    : QWidget(parent)
{
    m_lossView = chartView(this, QStringLiteral("一局输掉 x 单位或更多的机会（对数坐标）"));
    m_lossView->setObjectName("chtLoss");
    m_loss = new QLineSeries;
    m_lossView->chart()->addSeries(m_loss);
    m_lossX = addAxis<QValueAxis>(
        m_lossView->chart(), m_loss, QStringLiteral("一局输掉的钱 x（单位，含佣金）"), Qt::AlignBottom);
    // The chance is drawn as its power of ten on a linear axis, whose labels
    // say the chance as a player reads it: 1/1000 rather than 1e-03.
    m_lossY = addAxis<QCategoryAxis>(m_lossView->chart(), m_loss, QStringLiteral("机会"), Qt::AlignLeft);
    m_lossY->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);

    m_netView = chartView(this, QStringLiteral("累计净输赢"));
    m_netView->setObjectName("chtNet");
    m_net = new QLineSeries;
    m_netView->chart()->addSeries(m_net);
    m_netX = addAxis<QValueAxis>(m_netView->chart(), m_net, QStringLiteral("已玩的局数"), Qt::AlignBottom);
    m_netY = addAxis<QValueAxis>(m_netView->chart(), m_net, QStringLiteral("单位"), Qt::AlignLeft);

    m_sessionView = chartView(this, QStringLiteral("每场的净输赢"));
    m_sessionView->setObjectName("chtSessions");
    m_sessionNets = new QLineSeries;
    m_sessionView->chart()->addSeries(m_sessionNets);
    m_sessionX = addAxis<QValueAxis>(m_sessionView->chart(), m_sessionNets,
        QStringLiteral("一场的净输赢（单位，含佣金）"), Qt::AlignBottom);
    m_sessionY
        = addAxis<QValueAxis>(m_sessionView->chart(), m_sessionNets, QStringLiteral("场数"), Qt::AlignLeft);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_lossView, 1);
    layout->addWidget(m_netView, 1);
    layout->addWidget(m_sessionView, 1);
    clear();
}

void RunCharts::clear()
{
    show({});
}

void RunCharts::show(const ChartData& data)
{
    m_lossView->chart()->setTitle(data.sessions ? QStringLiteral("一场输掉 x 单位或更多的机会（对数坐标）")
                                                : QStringLiteral("一局输掉 x 单位或更多的机会（对数坐标）"));
    m_lossX->setTitleText(data.sessions ? QStringLiteral("一场输掉的钱 x（单位，含佣金）")
                                        : QStringLiteral("一局输掉的钱 x（单位，含佣金）"));
    m_netView->setVisible(!data.sessions);
    m_sessionView->setVisible(data.sessions);

    QList<QPointF> loss;
    loss.reserve(static_cast<qsizetype>(data.lossCurve.size()));
    for (const auto& [x, share] : data.lossCurve)
        loss.append({ x, std::log10(share) });
    m_loss->replace(loss);
    double rarest = 0;
    double largest = 1;
    for (const QPointF& p : loss) {
        rarest = std::min(rarest, p.y());
        largest = std::max(largest, p.x());
    }
    // Whole powers of ten from below the rarest share up to 1.
    const int lowest = std::min(-1, static_cast<int>(std::floor(rarest - 1e-9)));
    for (const QString& label : m_lossY->categoriesLabels())
        m_lossY->remove(label);
    m_lossY->setStartValue(lowest);
    for (int power = lowest; power <= 0; ++power)
        m_lossY->append(chanceLabel(power), power);
    m_lossY->setRange(lowest, 0);
    niceTicks(m_lossX, 0, largest);

    QList<QPointF> net { { 0, 0 } };
    net.reserve(static_cast<qsizetype>(data.moneyPath.size()) + 1);
    double low = 0;
    double high = 0;
    for (const auto& [rounds, money] : data.moneyPath) {
        net.append({ static_cast<double>(rounds), money });
        low = std::min(low, money);
        high = std::max(high, money);
    }
    m_net->replace(net);
    niceTicks(m_netX, 0, std::max<double>(1000, static_cast<double>(data.rounds)));
    const auto [from, to] = roomy(low, high);
    niceTicks(m_netY, from, to);

    // The bins as steps: each bin's count over its width.
    QList<QPointF> steps;
    long most = 1;
    for (const sim::Bin& b : data.sessionNets) {
        steps.append({ b.from, static_cast<double>(b.count) });
        steps.append({ b.to, static_cast<double>(b.count) });
        most = std::max(most, b.count);
    }
    m_sessionNets->replace(steps);
    const auto [left, right]
        = steps.isEmpty() ? std::pair { -10.0, 10.0 } : roomy(steps.front().x(), steps.back().x());
    niceTicks(m_sessionX, left, right);
    niceTicks(m_sessionY, 0, static_cast<double>(most) * 1.05);
}

bool RunCharts::savePng(const QString& path)
{
    return grab().save(path, "PNG");
}

} // namespace zelmar
