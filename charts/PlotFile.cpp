#include "charts/PlotFile.h"

#include "charts/ChartPage.h"

#include <QApplication>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace zelmar {

namespace {

// Qt's notes about the missing desktop session are of no use to a
// command-line program; real failures are reported by the caller.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

// Qt needs an application object to draw; a command-line program has none
// until it draws, and then keeps it only while it draws.
std::unique_ptr<QApplication> applicationForCharts()
{
    if (QCoreApplication::instance())
        return nullptr;
#ifndef _WIN32
    // No display is needed. (On Windows the desktop's own platform draws
    // with the system's fonts, where the offscreen one would find none.)
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    qInstallMessageHandler(quietMessages);
    static int argc = 1;
    static char name[] = "zelmar-sim";
    static char* argv[] = { name, nullptr };
    return std::make_unique<QApplication>(argc, argv);
}

std::optional<std::string> save(
    const ChartFigures& figures, const std::string& title, const std::string& path, int width, int height)
{
    const auto app = applicationForCharts();
    ChartPage page;
    page.resize(width, height);
    page.setFigures(figures, QString::fromStdString(title));
    if (const auto error = page.savePng(QString::fromStdString(path), width, height))
        return error->toStdString();
    return std::nullopt;
}

} // namespace

std::optional<std::string> plotNameProblem(const std::string& path)
{
    const auto dot = path.rfind('.');
    std::string suffix = dot == std::string::npos ? std::string() : path.substr(dot);
    for (char& c : suffix)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (suffix == ".png")
        return std::nullopt;
    return "图表只能存为 PNG 图片，文件名要以 .png 结尾：" + path;
}

std::optional<std::string> saveRoundsChart(const sim::RunFigures& f, const sim::Settings& /*s*/,
    const std::string& title, const std::string& path, int width, int height)
{
    return save(ChartFigures::rounds(f), title, path, width, height);
}

std::optional<std::string> saveSessionsChart(const sim::SessionFigures& f, const sim::Settings& s,
    const std::string& title, const std::string& path, int width, int height)
{
    return save(ChartFigures::sessionsOf(f, s), title, path, width, height);
}

std::optional<std::string> saveCompareChart(const sim::RunFigures& a, const sim::RunFigures& b,
    const sim::Settings& /*s*/, const std::string& title, const std::string& path, int width, int height)
{
    return save(ChartFigures::compared(a, b), title, path, width, height);
}

} // namespace zelmar
