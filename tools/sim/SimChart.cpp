#include "tools/sim/SimChart.h"

#include "ui/UiFont.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QGraphicsScene>
#include <QImage>
#include <QImageWriter>
#include <QLineSeries>
#include <QPainter>
#include <QValueAxis>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace zelmar {

using sim::Bin;
using sim::RunFigures;

namespace {

QString number(double v)
{
    return QString::number(v, 'g', 6);
}

void styleAxis(QAbstractAxis* axis, const QString& title)
{
    axis->setTitleText(title);
    axis->setTitleFont(songFont(10));
    axis->setLabelsFont(songFont(8));
}

// The value axis on the left gets round numbers once the series is on it.
void addAxes(QChart* chart, QAbstractSeries* series, QAbstractAxis* x, const QString& xTitle, QValueAxis* y,
    const QString& yTitle)
{
    styleAxis(x, xTitle);
    styleAxis(y, yTitle);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
    y->applyNiceNumbers();
}

QChart* newChart(const QString& title)
{
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setTitleFont(songFont(12, true));
    chart->legend()->hide();
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundRoundness(0);
    return chart;
}

QChart* histogramChart(const std::vector<Bin>& bins, const QString& title, const QString& xTitle, bool whole)
{
    QChart* chart = newChart(title);
    auto* set = new QBarSet(QStringLiteral("局数"));
    set->setColor(QColor(70, 110, 170));
    set->setBorderColor(QColor(70, 110, 170));
    QStringList labels;
    for (const Bin& b : bins) {
        *set << static_cast<double>(b.count);
        const double to = whole ? b.to - 1 : b.to;
        labels << (whole && to <= b.from ? number(b.from) : number(b.from) + "~" + number(to));
    }
    auto* series = new QBarSeries;
    series->setBarWidth(0.9);
    series->append(set);
    chart->addSeries(series);
    auto* x = new QBarCategoryAxis;
    x->append(labels);
    x->setLabelsAngle(-90);
    auto* y = new QValueAxis;
    y->setLabelFormat("%.0f");
    addAxes(chart, series, x, xTitle, y, QStringLiteral("局数"));
    return chart;
}

QChart* pathChart(const std::vector<std::pair<long, double>>& path)
{
    QChart* chart = newChart(QStringLiteral("累计输赢（含佣金）"));
    auto* series = new QLineSeries;
    series->append(0, 0);
    double lo = 0;
    double hi = 0;
    for (const auto& [round, net] : path) {
        series->append(static_cast<double>(round), net);
        lo = std::min(lo, net);
        hi = std::max(hi, net);
    }
    series->setColor(QColor(170, 40, 40));
    chart->addSeries(series);
    auto* x = new QValueAxis;
    x->setRange(0, path.empty() ? 1.0 : static_cast<double>(path.back().first));
    x->setLabelFormat("%.0f");
    auto* y = new QValueAxis;
    y->setRange(lo, hi > lo ? hi : lo + 1);
    y->setLabelFormat("%.0f");
    addAxes(chart, series, x, QStringLiteral("已玩局数"), y, QStringLiteral("累计输赢（单位）"));
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

} // namespace

std::optional<std::string> saveRunChart(
    const RunFigures& f, const std::string& title, const std::string& path, int width, int height)
{
    const auto app = applicationForCharts();
    QGraphicsScene scene(0, 0, width, height);
    const qreal headHeight = 40;
    const qreal half = (height - headHeight) / 2;
    auto* head = scene.addText(QString::fromStdString(title), songFont(13, true));
    head->setPos(12, 6);

    QChart* scores = histogramChart(
        f.scoreHistogram, QStringLiteral("每局得分分布"), QStringLiteral("一局的得分（单位）"), true);
    QChart* depths = histogramChart(f.depthHistogram, QStringLiteral("局内最深亏损分布"),
        QStringLiteral("一局中累计输赢的最低点（单位，含佣金）"), false);
    QChart* money = pathChart(f.moneyPath);
    for (QChart* c : { scores, depths, money })
        scene.addItem(c);
    scores->setGeometry(0, headHeight, width / 2.0, half);
    depths->setGeometry(width / 2.0, headHeight, width / 2.0, half);
    money->setGeometry(0, headHeight + half, width, half);

    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        scene.render(&painter, QRectF(0, 0, width, height), QRectF(0, 0, width, height));
    }
    QImageWriter writer(QString::fromStdString(path), "png");
    if (!writer.write(image))
        return "无法写入图表文件 " + path + "：" + writer.errorString().toStdString();
    return std::nullopt;
}

} // namespace zelmar
