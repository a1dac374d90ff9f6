#include "ui/analysis/RunCharts.h"

#include "ui/UiFont.h"

#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPainter>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace zelmar {

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
        return { lo - 1, hi + 1 };
    const double pad = (hi - lo) * 0.05;
    return { lo - pad, hi + pad };
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
    m_lossX->setLabelFormat("%g");
    m_lossY = addAxis<QLogValueAxis>(m_lossView->chart(), m_loss, QStringLiteral("机会"), Qt::AlignLeft);
    m_lossY->setBase(10);
    m_lossY->setLabelFormat("%g");

    m_netView = chartView(this, QStringLiteral("累计净输赢"));
    m_netView->setObjectName("chtNet");
    m_net = new QLineSeries;
    m_netView->chart()->addSeries(m_net);
    m_netX = addAxis<QValueAxis>(m_netView->chart(), m_net, QStringLiteral("已玩的局数"), Qt::AlignBottom);
    m_netX->setLabelFormat("%.0f");
    m_netY = addAxis<QValueAxis>(m_netView->chart(), m_net, QStringLiteral("单位"), Qt::AlignLeft);
    m_netY->setLabelFormat("%g");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_lossView, 1);
    layout->addWidget(m_netView, 1);
    clear();
}

void RunCharts::clear()
{
    show({});
}

void RunCharts::show(const ChartData& data)
{
    QList<QPointF> loss;
    loss.reserve(static_cast<qsizetype>(data.lossCurve.size()));
    for (const auto& [x, share] : data.lossCurve)
        loss.append({ x, share });
    m_loss->replace(loss);
    double smallest = 1;
    double largest = 1;
    for (const QPointF& p : loss) {
        smallest = std::min(smallest, p.y());
        largest = std::max(largest, p.x());
    }
    // Whole powers of ten from below the rarest share up to 1.
    m_lossY->setRange(std::pow(10.0, std::floor(std::log10(smallest * 0.999))), 1);
    m_lossX->setRange(0, largest);
    m_lossX->applyNiceNumbers();

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
    m_netX->setRange(0, std::max<double>(1000, static_cast<double>(data.rounds)));
    m_netX->applyNiceNumbers();
    const auto [from, to] = roomy(low, high);
    m_netY->setRange(from, to);
    m_netY->applyNiceNumbers();
}

bool RunCharts::savePng(const QString& path)
{
    return grab().save(path, "PNG");
}

} // namespace zelmar
