#include "charts/ChartPage.h"

#include "charts/PlotFile.h"

#include "rules/Utf8Path.h"
#include "ui/UiFont.h"

#include <QBuffer>
#include <QImageWriter>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <fstream>

namespace zelmar {

namespace {

// Font sizes in points for a page of the given size: readable at 800x500,
// not lost at 1600x1000.
struct Sizes {
    qreal label;
    qreal title;
    qreal head;
    Sizes(int width, int height)
    {
        const qreal k = std::min(width / 1600.0, height / 1000.0);
        label = std::max<qreal>(8, 11 * k);
        title = label + 1;
        head = label + 3;
    }
};

// Whole units as they are, parts of a unit to two places at most.
QString unitsText(double x)
{
    QString text = QString::number(x, 'f', 2);
    while (text.endsWith('0'))
        text.chop(1);
    if (text.endsWith('.'))
        text.chop(1);
    return text == QStringLiteral("-0") ? QStringLiteral("0") : text;
}

// "12", "3.4万", "1.2亿": a large count as a Chinese reader says it.
QString countText(double n)
{
    const auto shortly = [](double v, const char* unit) {
        return QString::number(v, 'g', v < 10 ? 2 : 3) + QString::fromUtf8(unit);
    };
    if (n >= 1e8)
        return shortly(n / 1e8, "亿");
    if (n >= 1e5)
        return shortly(n / 1e4, "万");
    return QString::number(std::llround(n));
}

// Linear ticks labelled with as many decimals as their step needs, never
// with an exponent.
class UnitTicker : public QCPAxisTicker {
protected:
    double getTickStep(const QCPRange& range) override
    {
        m_step = QCPAxisTicker::getTickStep(range);
        return m_step;
    }
    QString getTickLabel(double tick, const QLocale&, QChar, int) override
    {
        const int decimals = std::clamp(static_cast<int>(std::ceil(-std::log10(m_step) - 1e-9)), 0, 4);
        return QString::number(std::abs(tick) < m_step * 1e-6 ? 0.0 : tick, 'f', decimals);
    }

private:
    double m_step = 1;
};

// Ticks at every power of ten of a chance, in the words of chanceTick.
class ChanceTicker : public QCPAxisTickerLog {
public:
    ChanceTicker()
    {
        setLogBase(10);
        setSubTickCount(8);
        setTickCount(10);
    }

protected:
    QString getTickLabel(double tick, const QLocale&, QChar, int) override
    {
        return chanceTick(static_cast<int>(std::lround(std::log10(tick))));
    }
};

// The title in lines that fit `width`, broken after its "；" where it must.
QString wrapped(const QString& title, const QFont& font, int width)
{
    const QFontMetrics metrics(font);
    QStringList parts = title.split(QStringLiteral("；"));
    for (int i = 0; i + 1 < parts.size(); ++i)
        parts[i] += QStringLiteral("；");
    QStringList lines;
    for (const QString& part : parts) {
        if (!lines.isEmpty() && metrics.horizontalAdvance(lines.back() + part) <= width)
            lines.back() += part;
        else
            lines << part;
    }
    return lines.join('\n');
}

QPen pen(const QColor& color, qreal width, Qt::PenStyle style = Qt::SolidLine)
{
    QPen p(color);
    p.setWidthF(width);
    p.setStyle(style);
    return p;
}

void setRange(QCPAxis* axis, double lo, double hi)
{
    if (!(hi > lo))
        hi = lo + 1;
    axis->setRange(lo, hi);
}

// [lo, hi] with a little room either side.
std::pair<double, double> roomy(double lo, double hi)
{
    if (hi <= lo)
        return { lo - 10, hi + 10 };
    const double pad = (hi - lo) * 0.04;
    return { lo - pad, hi + pad };
}

} // namespace

QString chanceTick(int power)
{
    if (power >= -2)
        return QString::number(std::pow(10.0, power + 2), 'f', 0) + '%';
    if (power == -3)
        return QStringLiteral("1/1000");
    static const char* const tenThousands[] = { "1/1万", "1/10万", "1/100万", "1/1000万", "1/1亿", "1/10亿" };
    return QString::fromUtf8(tenThousands[std::min(-power - 4, 5)]);
}

QString chanceWords(double chance)
{
    if (chance >= 1)
        return QStringLiteral("100%");
    if (chance <= 0)
        return QStringLiteral("0");
    const double percent = chance * 100;
    const QString oneIn = QStringLiteral("约 1/") + countText(std::round(1 / chance));
    if (percent < 0.01)
        return oneIn;
    return QString::number(percent, 'g', percent < 10 ? 2 : 3) + QStringLiteral("%（") + oneIn
        + QStringLiteral("）");
}

ChartPage::ChartPage(QWidget* parent)
    : QCustomPlot(parent)
{
    setMouseTracking(true);
    setAutoAddPlottableToLegend(false);
    setFocusPolicy(Qt::NoFocus); // a picture, not a control
    setMinimumHeight(200);
    setNoAntialiasingOnDrag(true);
    setAntialiasedElements(QCP::aeAll);
    setNotAntialiasedElements(QCP::aeNone);
    build();
}

void ChartPage::setFigures(const ChartFigures& figures, const QString& title)
{
    m_figures = figures;
    m_title = title;
    build();
    replot(QCustomPlot::rpQueuedReplot);
}

QCPAxisRect* ChartPage::addChart(
    QCPLayoutGrid* grid, int row, int column, const QString& title, bool legend, Qt::Alignment legendCorner)
{
    auto* cell = new QCPLayoutGrid;
    grid->addElement(row, column, cell);
    cell->setRowSpacing(0);
    auto* heading = new QCPTextElement(this, title, songFont(9, true));
    cell->addElement(0, 0, heading);
    m_titles.append(heading);
    auto* rect = new QCPAxisRect(this);
    cell->addElement(1, 0, rect);
    cell->setRowStretchFactor(0, 0.001);
    rect->setMinimumMargins(QMargins(0, 8, 24, 0)); // room for the outer ticks' labels
    for (QCPAxis* axis : rect->axes()) {
        axis->setTicker(QSharedPointer<QCPAxisTicker>(new UnitTicker));
        axis->grid()->setPen(pen(QColor(225, 225, 225), 1));
        axis->grid()->setSubGridVisible(false);
    }
    if (legend) {
        // The key in a corner of its chart, over a light ground.
        auto* key = new QCPLegend;
        rect->insetLayout()->addElement(key, legendCorner);
        key->setLayer(QStringLiteral("legend"));
        key->setBorderPen(pen(QColor(200, 200, 200), 1));
        key->setBrush(QColor(255, 255, 255, 225));
        m_legends.append(key);
    }
    return rect;
}

void ChartPage::addSurvival(QCPAxisRect* rect, const QString& what,
    const std::vector<std::pair<double, double>>& points, const QColor& color, Qt::PenStyle style,
    const QString& name)
{
    QCPGraph* graph = addGraph(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
    graph->setName(name);
    graph->setPen(pen(color, 2, style));
    // The chance of x or more holds from the value before up to x.
    graph->setLineStyle(QCPGraph::lsStepRight);
    QVector<double> xs;
    QVector<double> ps;
    for (const auto& [x, p] : points)
        if (p > 0) {
            xs.append(x);
            ps.append(p);
        }
    graph->setData(xs, ps, true);
    m_words.insert(graph, [xs, ps, what](int i) {
        return what.arg(unitsText(xs.value(i))) + QStringLiteral("：") + chanceWords(ps.value(i));
    });
    QCPLegend* key = m_legends.isEmpty() ? nullptr : m_legends.back();
    if (key && !name.isEmpty())
        graph->addToLegend(key);
}

void ChartPage::addExactLoss(QCPAxisRect* rect, const QString& what)
{
    // Worked out, not sampled: drawn over the simulated curve, in a dark
    // dashed line, so that both show where they agree.
    if (!m_figures.exactLoss.empty())
        addSurvival(rect, what, m_figures.exactLoss, QColor(30, 30, 30), Qt::DashLine,
            QStringLiteral("精确：输掉 x 或更多"));
}

void ChartPage::addNetPath(QCPAxisRect* rect, const std::vector<std::pair<long, double>>& path,
    const QColor& color, const QString& name)
{
    QCPGraph* graph = addGraph(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
    graph->setName(name);
    graph->setPen(pen(color, 2));
    QVector<double> rounds { 0 };
    QVector<double> nets { 0 };
    for (const auto& [round, net] : path) {
        rounds.append(static_cast<double>(round));
        nets.append(net);
    }
    graph->setData(rounds, nets, true);
    const QString who = name.isEmpty() ? QString() : name + QStringLiteral("：");
    m_words.insert(graph, [rounds, nets, who](int i) {
        return who + QStringLiteral("第 ") + QString::number(std::llround(rounds.value(i)))
            + QStringLiteral(" 局时累计输赢 ") + unitsText(nets.value(i)) + QStringLiteral(" 单位");
    });
    QCPLegend* key = m_legends.isEmpty() ? nullptr : m_legends.back();
    if (key && !name.isEmpty())
        graph->addToLegend(key);
}

namespace {

// The survival chart's axes: x from 0 to the largest value, the chance on a
// logarithmic axis from the power of ten below the rarest down to 1.
void survivalAxes(QCPAxisRect* rect, const std::vector<const std::vector<std::pair<double, double>>*>& curves,
    const QString& xTitle)
{
    double rarest = 1;
    double largest = 1;
    for (const auto* points : curves)
        for (const auto& [x, p] : *points) {
            if (p > 0)
                rarest = std::min(rarest, p);
            largest = std::max(largest, x);
        }
    const int bottom = std::clamp(static_cast<int>(std::floor(std::log10(rarest) - 1e-9)), -9, -1);
    QCPAxis* x = rect->axis(QCPAxis::atBottom);
    x->setLabel(xTitle);
    setRange(x, 0, largest * 1.03);
    QCPAxis* y = rect->axis(QCPAxis::atLeft);
    y->setLabel(QStringLiteral("机会（对数刻度）"));
    y->setScaleType(QCPAxis::stLogarithmic);
    y->setTicker(QSharedPointer<QCPAxisTicker>(new ChanceTicker));
    // A little room above 100%, so that its tick is inside the range whatever
    // the rounding of the powers of ten.
    y->setRange(std::pow(10.0, bottom), 1.06);
    y->grid()->setSubGridVisible(false);
}

void netAxes(QCPAxisRect* rect, const std::vector<const std::vector<std::pair<long, double>>*>& paths,
    const QString& xTitle)
{
    double lo = 0;
    double hi = 0;
    double last = 1;
    for (const auto* path : paths)
        for (const auto& [round, net] : *path) {
            lo = std::min(lo, net);
            hi = std::max(hi, net);
            last = std::max(last, static_cast<double>(round));
        }
    QCPAxis* x = rect->axis(QCPAxis::atBottom);
    x->setLabel(xTitle);
    setRange(x, 0, last);
    QCPAxis* y = rect->axis(QCPAxis::atLeft);
    y->setLabel(QStringLiteral("累计输赢（单位，含佣金）"));
    const auto [from, to] = roomy(lo, hi);
    setRange(y, from, to);
}

} // namespace

void ChartPage::build()
{
    clearPlottables();
    clearItems();
    m_words.clear();
    m_titles.clear();
    m_legends.clear();
    plotLayout()->clear();
    plotLayout()->setRowSpacing(0);
    if (!m_title.isEmpty()) {
        auto* head = new QCPTextElement(this, m_title, songFont(12, true));
        plotLayout()->addElement(0, 0, head);
        plotLayout()->setRowStretchFactor(0, 0.001);
        m_titles.append(head);
    }
    m_charts = new QCPLayoutGrid;
    plotLayout()->addElement(m_title.isEmpty() ? 0 : 1, 0, m_charts);
    switch (m_figures.kind) {
    case ChartFigures::Kind::Rounds:
        buildRounds();
        break;
    case ChartFigures::Kind::Sessions:
        buildSessions();
        break;
    case ChartFigures::Kind::Compare:
        buildCompare();
        break;
    }
    fitFonts(width(), height());
}

void ChartPage::buildRounds()
{
    const sim::RunFigures& f = m_figures.a;
    QCPAxisRect* tail = addChart(m_charts, 0, 0, QStringLiteral("一局输掉、要备 x 或更多的机会"), true);
    survivalAxes(
        tail, { &f.lossCurve, &f.needCurve, &m_figures.exactLoss }, QStringLiteral("x（单位，含佣金）"));
    addSurvival(tail, QStringLiteral("一局输掉 %1 单位或更多"), f.lossCurve, ChartColors::loss(),
        Qt::SolidLine, QStringLiteral("输掉 x 或更多"));
    addExactLoss(tail, QStringLiteral("一局输掉 %1 单位或更多（精确）"));
    addSurvival(tail, QStringLiteral("一局要备 %1 单位或更多本钱"), f.needCurve, ChartColors::need(),
        Qt::SolidLine, QStringLiteral("要备 x 或更多本钱"));
    QCPAxisRect* path
        = addChart(m_charts, m_stacked ? 1 : 0, m_stacked ? 0 : 1, QStringLiteral("累计输赢"), false);
    netAxes(path, { &f.moneyPath }, QStringLiteral("已玩局数"));
    addNetPath(path, f.moneyPath, ChartColors::net(), {});
}

void ChartPage::buildCompare()
{
    const sim::RunFigures& a = m_figures.a;
    const sim::RunFigures& b = m_figures.b;
    QCPAxisRect* tail
        = addChart(m_charts, 0, 0, QStringLiteral("一局输掉（实线）、要备（虚线）x 或更多的机会"), true);
    survivalAxes(tail, { &a.lossCurve, &a.needCurve, &b.lossCurve, &b.needCurve },
        QStringLiteral("x（单位，含佣金）"));
    addSurvival(tail, QStringLiteral("A：一局输掉 %1 单位或更多"), a.lossCurve, ChartColors::a(),
        Qt::SolidLine, QStringLiteral("A 输掉"));
    addSurvival(tail, QStringLiteral("B：一局输掉 %1 单位或更多"), b.lossCurve, ChartColors::b(),
        Qt::SolidLine, QStringLiteral("B 输掉"));
    addSurvival(tail, QStringLiteral("A：一局要备 %1 单位或更多本钱"), a.needCurve, ChartColors::a(),
        Qt::DashLine, QStringLiteral("A 要备"));
    addSurvival(tail, QStringLiteral("B：一局要备 %1 单位或更多本钱"), b.needCurve, ChartColors::b(),
        Qt::DashLine, QStringLiteral("B 要备"));
    QCPAxisRect* path
        = addChart(m_charts, m_stacked ? 1 : 0, m_stacked ? 0 : 1, QStringLiteral("累计输赢"), true);
    netAxes(path, { &a.moneyPath, &b.moneyPath }, QStringLiteral("已玩局数"));
    addNetPath(path, a.moneyPath, ChartColors::a(), QStringLiteral("A"));
    addNetPath(path, b.moneyPath, ChartColors::b(), QStringLiteral("B"));
}

void ChartPage::buildSessions()
{
    const sim::SessionFigures& f = m_figures.sessions;
    // Two charts side by side above the running nets; on a narrow page all
    // three one above the other.
    QCPLayoutGrid* upper = m_charts;
    if (!m_stacked) {
        upper = new QCPLayoutGrid;
        m_charts->addElement(0, 0, upper);
    }
    QCPAxisRect* tail = addChart(upper, 0, 0, QStringLiteral("一场输掉 x 或更多的机会"), false);
    survivalAxes(tail, { &f.lossCurve, &m_figures.exactLoss }, QStringLiteral("x（单位，含佣金）"));
    addSurvival(
        tail, QStringLiteral("一场输掉 %1 单位或更多"), f.lossCurve, ChartColors::loss(), Qt::SolidLine, {});
    addExactLoss(tail, QStringLiteral("一场输掉 %1 单位或更多（精确）"));

    // How the sessions came out: the share of each range of nets.
    QCPAxisRect* results
        = addChart(upper, m_stacked ? 1 : 0, m_stacked ? 0 : 1, QStringLiteral("每场的净输赢"), false);
    auto* bars = new QCPBars(results->axis(QCPAxis::atBottom), results->axis(QCPAxis::atLeft));
    bars->setPen(pen(QColor(40, 70, 130), 1));
    bars->setBrush(QColor(70, 110, 170));
    QVector<double> centres;
    QVector<double> shares;
    QVector<double> froms;
    QVector<double> tos;
    QVector<double> counts;
    const double n = static_cast<double>(std::max(1L, f.sessions));
    double top = 0;
    for (const sim::Bin& bin : f.netHistogram) {
        centres.append((bin.from + bin.to) / 2);
        shares.append(100.0 * static_cast<double>(bin.count) / n);
        froms.append(bin.from);
        tos.append(bin.to);
        counts.append(static_cast<double>(bin.count));
        top = std::max(top, shares.back());
    }
    if (!f.netHistogram.empty())
        bars->setWidth(f.netHistogram.front().to - f.netHistogram.front().from);
    bars->setData(centres, shares, true);
    m_words.insert(bars, [froms, tos, shares, counts](int i) {
        return QStringLiteral("净输赢 ") + unitsText(froms.value(i)) + QStringLiteral(" 到 ")
            + unitsText(tos.value(i)) + QStringLiteral(" 单位：") + QString::number(shares.value(i), 'g', 3)
            + QStringLiteral("% 的场（") + QString::number(std::llround(counts.value(i)))
            + QStringLiteral(" 场）");
    });
    QCPAxis* x = results->axis(QCPAxis::atBottom);
    x->setLabel(QStringLiteral("净输赢（单位，含佣金）"));
    const double lo = froms.isEmpty() ? -10 : froms.front();
    const double hi = tos.isEmpty() ? 10 : tos.back();
    const auto [left, right] = roomy(lo, hi);
    setRange(x, left, right);
    QCPAxis* y = results->axis(QCPAxis::atLeft);
    y->setLabel(QStringLiteral("占场数的 %"));
    setRange(y, 0, std::max(1.0, top * 1.05));

    // The running net of the first sessions, with the lines where they stop.
    const bool lines = m_figures.stopWin || m_figures.stopLoss || m_figures.bankroll;
    QCPAxisRect* traces = addChart(m_charts, m_stacked ? 2 : 1, 0,
        QStringLiteral("前 ") + QString::number(f.traces.size())
            + QStringLiteral(" 场的累计输赢（每局打完时）"),
        lines, Qt::AlignBottom | Qt::AlignRight);
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
    if (m_figures.stopWin)
        high = std::max(high, *m_figures.stopWin);
    if (m_figures.stopLoss)
        low = std::min(low, -*m_figures.stopLoss);
    if (m_figures.bankroll)
        low = std::min(low, -*m_figures.bankroll);
    int k = 0;
    for (const auto& t : f.traces) {
        QCPGraph* graph = addGraph(traces->axis(QCPAxis::atBottom), traces->axis(QCPAxis::atLeft));
        graph->setPen(pen(QColor::fromHsv((k * 47) % 360, 140, 150), 1.2));
        QVector<double> rounds { 0 };
        QVector<double> nets { 0 };
        for (std::size_t i = 0; i < t.size(); ++i) {
            rounds.append(static_cast<double>(i + 1));
            nets.append(t[i]);
        }
        graph->setData(rounds, nets, true);
        graph->removeFromLegend();
        m_words.insert(graph, [nets, session = k + 1](int i) {
            return QStringLiteral("第 ") + QString::number(session) + QStringLiteral(" 场第 ")
                + QString::number(i) + QStringLiteral(" 局后累计输赢 ") + unitsText(nets.value(i))
                + QStringLiteral(" 单位");
        });
        ++k;
    }
    const auto flat = [&](double y, const QString& name, const QColor& color) {
        QCPGraph* graph = addGraph(traces->axis(QCPAxis::atBottom), traces->axis(QCPAxis::atLeft));
        graph->setName(name);
        graph->setPen(pen(color, 2, Qt::DashLine));
        graph->setData({ 0, longest }, { y, y }, true);
        graph->addToLegend(m_legends.back());
        m_words.insert(graph,
            [name, y](int) { return name + QStringLiteral("：") + unitsText(y) + QStringLiteral(" 单位"); });
    };
    if (m_figures.stopWin)
        flat(*m_figures.stopWin, QStringLiteral("赢到目标"), QColor(30, 140, 60));
    if (m_figures.stopLoss)
        flat(-*m_figures.stopLoss, QStringLiteral("止损"), QColor(200, 40, 40));
    if (m_figures.bankroll)
        flat(-*m_figures.bankroll, QStringLiteral("本钱输光"), QColor(20, 20, 20));
    QCPAxis* tx = traces->axis(QCPAxis::atBottom);
    tx->setLabel(QStringLiteral("局数"));
    setRange(tx, 0, longest);
    QCPAxis* ty = traces->axis(QCPAxis::atLeft);
    ty->setLabel(QStringLiteral("累计输赢（单位，含佣金）"));
    const auto [from, to] = roomy(low, high);
    setRange(ty, from, to);
}

void ChartPage::arrange(int width, int height)
{
    if (width <= 0 || height <= 0)
        return;
    // Charts side by side on a wide page, one above the other on a narrow one.
    const bool stacked = width * 4 < height * 5;
    if (stacked != m_stacked) {
        m_stacked = stacked;
        build();
    }
    fitFonts(width, height);
}

void ChartPage::fitFonts(int width, int height)
{
    if (width <= 0 || height <= 0)
        return;
    const Sizes sizes(width, height);
    const QFont label = songFont(sizes.label);
    for (QCPAxisRect* rect : axisRects())
        for (QCPAxis* axis : rect->axes()) {
            axis->setLabelFont(label);
            axis->setTickLabelFont(label);
        }
    for (QCPTextElement* t : m_titles)
        t->setFont(songFont(sizes.title, true));
    if (!m_title.isEmpty()) {
        const QFont head = songFont(sizes.head, true);
        m_titles.front()->setFont(head);
        m_titles.front()->setText(wrapped(m_title, head, width - 16));
    }
    for (QCPLegend* key : m_legends) {
        key->setFont(label);
        // Rows as high as a line of text and a little more: the key's own
        // measure leaves a Chinese face's lower strokes outside its frame.
        key->setIconSize(24, QFontMetrics(label).height() * 5 / 4);
    }
}

QImage ChartPage::picture(int width, int height)
{
    arrange(width, height);
    QImage image = toPixmap(width, height).toImage();
    // The labels of the picture just drawn, before the page gets its own
    // size back.
    image.setText(QStringLiteral("Axes"), axisTexts().join('\n'));
    if (!m_title.isEmpty())
        image.setText(QStringLiteral("Title"), m_title);
    arrange(this->width(), this->height());
    if (isVisible())
        replot(QCustomPlot::rpQueuedReplot);
    return image;
}

std::optional<QString> ChartPage::savePng(const QString& path, int width, int height)
{
    if (const auto problem = plotNameProblem(path.toStdString()))
        return QString::fromStdString(*problem);
    if (width < 1 || height < 1)
        return QStringLiteral("无法生成图表：大小不对");
    const QImage image = picture(width, height);
    // Encoded in memory and written as a whole, so that a write that fails
    // (a full disk) is known, not only a file that cannot be opened.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image))
        return QStringLiteral("无法生成图表：") + writer.errorString();
    std::ofstream file(PathFromUtf8(path.toStdString()), std::ios::binary | std::ios::trunc);
    file.write(png.constData(), png.size());
    file.close();
    if (!file)
        return QStringLiteral("无法写入图表文件 ") + QDir::toNativeSeparators(path);
    return std::nullopt;
}

QStringList ChartPage::axisTexts() const
{
    QStringList lines;
    for (QCPAxisRect* rect : const_cast<ChartPage*>(this)->axisRects())
        for (QCPAxis* axis : rect->axes())
            if (axis->visible())
                lines << axis->label() + QStringLiteral(": ")
                        + QStringList(axis->tickVectorLabels().toList()).join(' ');
    return lines;
}

QString ChartPage::pointText(const QPointF& pos) const
{
    QString text;
    double nearest = selectionTolerance();
    for (int i = 0; i < plottableCount(); ++i) {
        QCPAbstractPlottable* p = const_cast<ChartPage*>(this)->plottable(i);
        const auto words = m_words.constFind(p);
        if (words == m_words.constEnd())
            continue;
        QVariant details;
        const double distance = p->selectTest(pos, false, &details);
        if (distance < 0 || distance > nearest)
            continue;
        const auto selection = details.value<QCPDataSelection>();
        if (selection.isEmpty())
            continue;
        nearest = distance;
        text = (*words)(selection.dataRange().begin());
    }
    return text;
}

void ChartPage::mouseMoveEvent(QMouseEvent* event)
{
    QCustomPlot::mouseMoveEvent(event);
    const QString text = pointText(event->position());
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPosition().toPoint(), text, this);
}

void ChartPage::resizeEvent(QResizeEvent* event)
{
    arrange(event->size().width(), event->size().height());
    QCustomPlot::resizeEvent(event);
}

} // namespace zelmar
