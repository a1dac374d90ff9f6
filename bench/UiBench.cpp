// Filling the loss grid of the window, against today's fill without column
// widths, both measured in the same run:
//  - a table of 32768 rows and 1000 columns of stakes from one to six
//    characters, so that most columns grow (every item is looked at once);
//  - a table 32767 columns wide whose first line holds four-digit stakes
//    and whose other lines are short, so that 32767 columns grow.
// A fill is what a reload does last: the model is reset to the new table, the
// view takes its shape, and (with widths) each column is sized; then the
// pending events are handled, the painting of the view among them. Before the
// fill a reload parses the rule text; parsing the dense table's text is
// measured too, to weigh the cost of the widths against the whole reload.

#include "engine/ColumnChars.h"
#include "engine/SequenceGrid.h"
#include "rules/RuleParser.h"
#include "ui/RuleGridView.h"
#include "ui/SequenceGridModel.h"
#include "ui/UiFont.h"

#include "bench/RatioReporter.h"

#include <QApplication>
#include <QHeaderView>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

using namespace zelmar;

namespace {

LostTablePtr denseTable()
{
    static const LostTablePtr table = [] {
        auto t = std::make_shared<LostTable>();
        t->setCols(1000);
        unsigned seed = 12345;
        for (int row = 0; row < 32768; ++row) {
            for (int col = 0; col < 1000; ++col) {
                seed = seed * 1103515245u + 12345u;
                const int digits = 1 + static_cast<int>((seed >> 16) % 5);
                int value = static_cast<int>((seed >> 8) % 9 + 1);
                for (int d = 1; d < digits && value < 3276; ++d)
                    value = value * 10 + static_cast<int>((seed >> (d * 3)) % 10);
                t->pushItem(static_cast<i16>((seed & 1) ? -value : value));
            }
            t->endRow();
        }
        return t;
    }();
    return table;
}

LostTablePtr wideSparseTable()
{
    static const LostTablePtr table = [] {
        auto t = std::make_shared<LostTable>();
        t->setCols(32767);
        for (int col = 0; col < 32767; ++col)
            t->pushItem(static_cast<i16>(1000 + col % 9000));
        t->endRow();
        for (int row = 1; row < 100; ++row) {
            t->pushItem(1);
            t->endRow();
        }
        return t;
    }();
    return table;
}

void parseDenseText(benchmark::State& state)
{
    std::string text;
    const LostTable& table = *denseTable();
    for (int row = 0; row < table.rows(); ++row) {
        if (row)
            text += "\r\n";
        for (int col = 0; col < table.rowLength(row); ++col) {
            if (col)
                text += ',';
            text += decimal(table.rowItems(row)[col]);
        }
    }
    for (auto _ : state) {
        auto parsed = ParseLostRule(text);
        benchmark::DoNotOptimize(parsed.ok());
    }
}
BENCHMARK(parseDenseText)->Unit(benchmark::kMillisecond);

// The loss grid as the window has it, shown on the offscreen platform.
struct Grid {
    SequenceGrids grids;
    SequenceGridModel model { grids.lost(), songFont(15) };
    std::unique_ptr<QTableView> view { makeRuleGridView(nullptr, &model) };
    Grid()
    {
        view->resize(649, 265);
        view->show();
        QCoreApplication::processEvents();
    }
};

void fill(benchmark::State& state, const LostTablePtr& table, bool widths)
{
    Grid grid;
    const auto win = std::make_shared<const WinSeq>(std::vector<i16> { 1, 1, 2, 3 });
    for (auto _ : state) {
        grid.model.beginFill();
        grid.grids.FillGrids(win, table);
        grid.model.endFill();
        if (widths)
            fitColumns(*grid.view, widestChars(*table));
        QCoreApplication::processEvents();
    }
    if (grid.view->horizontalHeader()->count() != table->cols())
        state.SkipWithError("the grid did not take the table's shape");
}

void fillDenseToday(benchmark::State& state)
{
    fill(state, denseTable(), false);
}
BENCHMARK(fillDenseToday)->Unit(benchmark::kMillisecond);

void fillDenseWithWidths(benchmark::State& state)
{
    fill(state, denseTable(), true);
}
BENCHMARK(fillDenseWithWidths)->Unit(benchmark::kMillisecond);

void fillWideSparseToday(benchmark::State& state)
{
    fill(state, wideSparseTable(), false);
}
BENCHMARK(fillWideSparseToday)->Unit(benchmark::kMillisecond);

void fillWideSparseWithWidths(benchmark::State& state)
{
    fill(state, wideSparseTable(), true);
}
BENCHMARK(fillWideSparseWithWidths)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio("fillDenseWithWidths", "fillDenseToday");
    reporter.printRatio("fillWideSparseWithWidths", "fillWideSparseToday");
    reporter.printRatio("fillDenseWithWidths", "parseDenseText");
    reporter.printRatio("fillDenseToday", "parseDenseText");
    benchmark::Shutdown();
    return 0;
}
