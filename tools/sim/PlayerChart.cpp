#include "tools/sim/PlayerChart.h"

#include "rules/Utf8Path.h"
#include "ui/UiFont.h"

#include <QApplication>
#include <QAreaSeries>
#include <QBuffer>
#include <QCategoryAxis>
#include <QChart>
#include <QGraphicsScene>
#include <QImage>
#include <QImageWriter>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QPen>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>

namespace zelmar {

namespace {

using Points = std::vector<std::pair<double, double>>;

// Font sizes in points for a picture of the given size: readable at
// 800x500, not lost at 1600x1000.
struct Sizes {
    qreal label;
    qreal title;
    qreal head;
    explicit Sizes(int width, int height)
    {
        const qreal k = std::min(width / 1600.0, height / 1000.0);
        label = std::max<qreal>(8, 11 * k);
        title = label + 2;
        head = label + 4;
    }
};

const QColor Loss(190, 40, 40);
const QColor Need(40, 80, 170);

QChart* newChart(const QString& title, const Sizes& sizes)
{
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setTitleFont(songFont(sizes.title, true));
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundRoundness(0);
    chart->legend()->setFont(songFont(sizes.label));
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));
    return chart;
}

void styleAxis(QAbstractAxis* axis, const QString& title, const Sizes& sizes)
{
    axis->setTitleText(title);
    axis->setTitleFont(songFont(sizes.label));
    axis->setLabelsFont(songFont(sizes.label));
}

void attach(QChart* chart, QAbstractSeries* series, QAbstractAxis* x, QAbstractAxis* y)
{
    chart->addSeries(series);
    if (!chart->axes(Qt::Horizontal).contains(x))
        chart->addAxis(x, Qt::AlignBottom);
    if (!chart->axes(Qt::Vertical).contains(y))
        chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
}

QValueAxis* valueAxis(double lo, double hi, const QString& title, const Sizes& sizes, int ticks)
{
    auto* axis = new QValueAxis;
    axis->setRange(lo, hi > lo ? hi : lo + 1);
    axis->setTickCount(ticks);
    axis->applyNiceNumbers();
    // Whole numbers in full: "%g" would write a million as 1e+06.
    axis->setLabelFormat(std::max(std::abs(lo), std::abs(hi)) >= 1000 ? "%.0f" : "%g");
    styleAxis(axis, title, sizes);
    return axis;
}

// A chance of 10^k in the words players use.
QString chanceText(int k)
{
    switch (k) {
    case 0:
        return QStringLiteral("100%");
    case -1:
        return QStringLiteral("10%");
    case -2:
        return QStringLiteral("1%");
    case -3:
        return QStringLiteral("千分之一");
    case -4:
        return QStringLiteral("万分之一");
    case -5:
        return QStringLiteral("十万分之一");
    case -6:
        return QStringLiteral("百万分之一");
    case -7:
        return QStringLiteral("千万分之一");
    default:
        return QStringLiteral("亿分之一");
    }
}

struct Curve {
    QString name;
    QColor color;
    const Points* points; // (x, chance of x or more), x increasing
    Qt::PenStyle style = Qt::SolidLine;
};

// Chances of x or more on a logarithmic axis: each curve steps down at
// every value that came up.
QChart* survivalChart(
    const QString& title, const QString& xTitle, const std::vector<Curve>& curves, const Sizes& sizes)
{
    QChart* chart = newChart(title, sizes);
    double lowest = 1;
    double most = 1;
    for (const Curve& c : curves)
        for (const auto& [x, p] : *c.points) {
            if (p > 0)
                lowest = std::min(lowest, p);
            most = std::max(most, x);
        }
    const int bottom = std::max(-8, std::min(-1, static_cast<int>(std::floor(std::log10(lowest)))));
    auto* x = valueAxis(0, most, xTitle, sizes, 6);
    auto* y = new QCategoryAxis;
    y->setRange(bottom, 0);
    y->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    for (int k = bottom; k <= 0; ++k)
        y->append(chanceText(k), k);
    y->setStartValue(bottom);
    styleAxis(y, QStringLiteral("机会（对数刻度）"), sizes);
    for (const Curve& c : curves) {
        auto* series = new QLineSeries;
        series->setName(c.name);
        QPen pen(c.color);
        pen.setWidthF(2);
        pen.setStyle(c.style);
        series->setPen(pen);
        double from = 0;
        for (const auto& [value, p] : *c.points) {
            if (p <= 0)
                continue;
            const double level = std::log10(p);
            series->append(from, level);
            series->append(value, level);
            from = value;
        }
        attach(chart, series, x, y);
    }
    return chart;
}

QLineSeries* flatLine(QChart* chart, double y, double from, double to, const QString& name,
    const QColor& color, QAbstractAxis* xAxis, QAbstractAxis* yAxis)
{
    auto* line = new QLineSeries;
    line->setName(name);
    QPen pen(color);
    pen.setWidthF(2);
    pen.setStyle(Qt::DashLine);
    line->setPen(pen);
    line->append(from, y);
    line->append(to, y);
    attach(chart, line, xAxis, yAxis);
    return line;
}

QChart* pathChart(const std::vector<std::pair<const std::vector<std::pair<long, double>>*, QString>>& paths,
    const Sizes& sizes)
{
    QChart* chart = newChart(QStringLiteral("累计输赢（含佣金）"), sizes);
    double lo = 0;
    double hi = 0;
    double last = 1;
    for (const auto& [path, name] : paths)
        for (const auto& [round, net] : *path) {
            lo = std::min(lo, net);
            hi = std::max(hi, net);
            last = std::max(last, static_cast<double>(round));
        }
    auto* x = valueAxis(0, last, QStringLiteral("已玩局数"), sizes, 5);
    auto* y = valueAxis(lo, hi, QStringLiteral("累计输赢（单位）"), sizes, 6);
    const QColor colors[] = { Loss, Need };
    int k = 0;
    for (const auto& [path, name] : paths) {
        auto* series = new QLineSeries;
        series->setName(name);
        QPen pen(colors[k++ % 2]);
        pen.setWidthF(2);
        series->setPen(pen);
        series->append(0, 0);
        for (const auto& [round, net] : *path)
            series->append(static_cast<double>(round), net);
        attach(chart, series, x, y);
    }
    if (paths.size() < 2)
        chart->legend()->hide();
    return chart;
}

// Qt's notes about the missing desktop session are of no use to a
// command-line program; real failures are reported by the caller.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

// Qt needs an application object for its charts; a command-line program
// has none until it draws, and then keeps it only while it draws.
std::unique_ptr<QApplication> applicationForCharts()
{
    if (QCoreApplication::instance())
        return nullptr;
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    static int argc = 1;
    static char name[] = "zelmar-sim";
    static char* argv[] = { name, nullptr };
    return std::make_unique<QApplication>(argc, argv);
}

// Charts placed in rows under a title line, rendered to a PNG file.
class Picture {
public:
    Picture(const std::string& title, int width, int height)
        : m_app(applicationForCharts())
        , m_sizes(width, height)
        , m_scene(0, 0, width, height)
        , m_width(width)
        , m_height(height)
    {
        auto* head = m_scene.addText(QString::fromStdString(title), songFont(m_sizes.head, true));
        head->setTextWidth(width - 16);
        head->setPos(8, 2);
        m_top = head->boundingRect().height() + 4;
    }
    const Sizes& sizes() const { return m_sizes; }
    // `rows` of charts, each row sharing the width evenly.
    void place(const std::vector<std::vector<QChart*>>& rows)
    {
        const qreal rowHeight = (m_height - m_top) / static_cast<qreal>(rows.size());
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const qreal w = m_width / static_cast<qreal>(rows[r].size());
            for (std::size_t c = 0; c < rows[r].size(); ++c) {
                m_scene.addItem(rows[r][c]);
                rows[r][c]->setGeometry(
                    w * static_cast<qreal>(c), m_top + rowHeight * static_cast<qreal>(r), w, rowHeight);
            }
        }
    }
    std::optional<std::string> save(const std::string& path)
    {
        QImage image(m_width, m_height, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            m_scene.render(&painter, QRectF(0, 0, m_width, m_height), QRectF(0, 0, m_width, m_height));
        }
        // Encoded in memory and written as a whole, so that a write that
        // fails (a full disk) is known, not only a file that cannot be opened.
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        if (!writer.write(image))
            return "无法生成图表：" + writer.errorString().toStdString();
        std::ofstream file(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
        file.write(png.constData(), png.size());
        file.close();
        if (!file)
            return "无法写入图表文件 " + path;
        return std::nullopt;
    }

private:
    std::unique_ptr<QApplication> m_app;
    Sizes m_sizes;
    QGraphicsScene m_scene;
    int m_width;
    int m_height;
    qreal m_top = 0;
};

} // namespace

std::optional<std::string> chartUnavailable(const std::string&)
{
    return std::nullopt;
}

std::optional<std::string> saveRoundsChart(const sim::RunFigures& f, const sim::Settings& /*s*/,
    const std::string& title, const std::string& path, int width, int height)
{
    Picture picture(title, width, height);
    const Sizes& sizes = picture.sizes();
    QChart* tail = survivalChart(QStringLiteral("一局输掉 x 或更多、要备 x 或更多本钱的机会"),
        QStringLiteral("x（单位，含佣金）"),
        { { QStringLiteral("输掉 x 或更多"), Loss, &f.lossCurve },
            { QStringLiteral("要备 x 或更多本钱"), Need, &f.needCurve } },
        sizes);
    QChart* path2 = pathChart({ { &f.moneyPath, QStringLiteral("累计输赢") } }, sizes);
    picture.place({ { tail, path2 } });
    return picture.save(path);
}

std::optional<std::string> saveSessionsChart(const sim::SessionFigures& f, const sim::Settings& s,
    const std::string& title, const std::string& path, int width, int height)
{
    Picture picture(title, width, height);
    const Sizes& sizes = picture.sizes();
    QChart* tail
        = survivalChart(QStringLiteral("一场输掉 x 或更多的机会"), QStringLiteral("x（单位，含佣金）"),
            { { QStringLiteral("输掉 x 或更多"), Loss, &f.lossCurve } }, sizes);
    tail->legend()->hide();

    // How the sessions came out: the share of each range of net results.
    QChart* results = newChart(QStringLiteral("每场的净输赢"), sizes);
    results->legend()->hide();
    double top = 0;
    auto* upper = new QLineSeries;
    const double n = static_cast<double>(std::max(1L, f.sessions));
    for (const sim::Bin& b : f.netHistogram) {
        const double share = 100.0 * static_cast<double>(b.count) / n;
        upper->append(b.from, share);
        upper->append(b.to, share);
        top = std::max(top, share);
    }
    auto* area = new QAreaSeries(upper);
    area->setColor(QColor(70, 110, 170));
    area->setBorderColor(QColor(40, 70, 130));
    const double lo = f.netHistogram.empty() ? 0 : f.netHistogram.front().from;
    const double hi = f.netHistogram.empty() ? 1 : f.netHistogram.back().to;
    auto* x = valueAxis(lo, hi, QStringLiteral("净输赢（单位，含佣金）"), sizes, 6);
    auto* y = valueAxis(0, top, QStringLiteral("占场数的 %"), sizes, 5);
    attach(results, area, x, y);

    // The running net of the first sessions, with the lines where they stop.
    QChart* traces = newChart(QStringLiteral("前 ") + QString::number(f.traces.size())
            + QStringLiteral(" 场的累计输赢（每局打完时）"),
        sizes);
    double low = 0;
    double high = 0;
    double longest = 1;
    for (const auto& t : f.traces) {
        longest = std::max(longest, static_cast<double>(t.size()));
        for (double v : t) {
            low = std::min(low, v);
            high = std::max(high, v);
        }
    }
    if (s.stopWin)
        high = std::max(high, *s.stopWin);
    if (s.stopLoss)
        low = std::min(low, -*s.stopLoss);
    if (s.bankroll)
        low = std::min(low, -*s.bankroll);
    auto* tx = valueAxis(0, longest, QStringLiteral("局数"), sizes, 6);
    auto* ty = valueAxis(low, high, QStringLiteral("累计输赢（单位）"), sizes, 6);
    int k = 0;
    for (const auto& t : f.traces) {
        auto* series = new QLineSeries;
        QPen pen(QColor::fromHsv((k++ * 47) % 360, 140, 150));
        pen.setWidthF(1.2);
        series->setPen(pen);
        series->append(0, 0);
        for (std::size_t i = 0; i < t.size(); ++i)
            series->append(static_cast<double>(i + 1), t[i]);
        attach(traces, series, tx, ty);
        for (QLegendMarker* m : traces->legend()->markers(series))
            m->setVisible(false);
    }
    if (s.stopWin)
        flatLine(traces, *s.stopWin, 0, longest, QStringLiteral("赢到目标"), QColor(30, 140, 60), tx, ty);
    if (s.stopLoss)
        flatLine(traces, -*s.stopLoss, 0, longest, QStringLiteral("止损"), QColor(200, 40, 40), tx, ty);
    if (s.bankroll)
        flatLine(traces, -*s.bankroll, 0, longest, QStringLiteral("本钱输光"), QColor(20, 20, 20), tx, ty);
    if (!s.stopWin && !s.stopLoss && !s.bankroll)
        traces->legend()->hide();
    picture.place({ { tail, results }, { traces } });
    return picture.save(path);
}

std::optional<std::string> saveCompareChart(const sim::RunFigures& a, const sim::RunFigures& b,
    const sim::Settings& /*s*/, const std::string& title, const std::string& path, int width, int height)
{
    Picture picture(title, width, height);
    const Sizes& sizes = picture.sizes();
    QChart* tail = survivalChart(QStringLiteral("一局输掉 x 或更多、要备 x 或更多本钱的机会"),
        QStringLiteral("x（单位，含佣金）"),
        { { QStringLiteral("A 输掉"), Loss, &a.lossCurve }, { QStringLiteral("B 输掉"), Need, &b.lossCurve },
            { QStringLiteral("A 要备"), Loss, &a.needCurve, Qt::DashLine },
            { QStringLiteral("B 要备"), Need, &b.needCurve, Qt::DashLine } },
        sizes);
    QChart* paths
        = pathChart({ { &a.moneyPath, QStringLiteral("A") }, { &b.moneyPath, QStringLiteral("B") } }, sizes);
    picture.place({ { tail, paths } });
    return picture.save(path);
}

} // namespace zelmar
