// Costs of the core, each against a baseline measured in the same run, so
// that the ratios printed at the end hold on any machine:
//  - parsing a large loss text, against merely scanning its bytes once;
//  - a click on the loss path of a table 32767 columns wide but sparse,
//    against the same clicks on a small table (gaps are stepped over in one
//    move, so the width should not show).

#include "calculator/Calculator.h"
#include "engine/SequenceGrid.h"
#include "rules/RuleParser.h"

#include "bench/RatioReporter.h"
#include "tests/support/MemoryFileService.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace zelmar;

namespace {

// 20000 lines of 1 to 12 items of 1 to 4 digits, about 600 KB.
const std::string& largeLossText()
{
    static const std::string text = [] {
        std::string t;
        unsigned seed = 12345;
        for (int line = 0; line < 20000; ++line) {
            if (line)
                t += "\r\n";
            const int items = 1 + line % 12;
            for (int i = 0; i < items; ++i) {
                seed = seed * 1103515245u + 12345u;
                if (i)
                    t += ',';
                t += std::to_string(seed % 5000);
            }
        }
        return t;
    }();
    return text;
}

void scanBytes(benchmark::State& state)
{
    const std::string& text = largeLossText();
    for (auto _ : state) {
        long separators = 0;
        for (char c : text)
            separators += c == ',' || c == '\r';
        benchmark::DoNotOptimize(separators);
    }
    state.SetBytesProcessed(static_cast<long>(state.iterations()) * static_cast<long>(text.size()));
}
BENCHMARK(scanBytes);

void parseLossText(benchmark::State& state)
{
    const std::string& text = largeLossText();
    for (auto _ : state) {
        auto parsed = ParseLostRule(text);
        benchmark::DoNotOptimize(parsed.ok());
    }
    state.SetBytesProcessed(static_cast<long>(state.iterations()) * static_cast<long>(text.size()));
}
BENCHMARK(parseLossText);

// Draws nothing; the calculator's grids still take every mark.
class NoView : public CalculatorView {
public:
    void showTotals(i16, i16) override { }
    void cellsChanged(const std::vector<SequenceGrids::Changed>& cells) override
    {
        benchmark::DoNotOptimize(cells.data());
    }
    void beginFill() override { }
    void endFill(const WinSeqPtr&, const LostTablePtr&) override { }
    void notice(const std::string&) override { }
    void reportFailure(const std::string&) override { }
};

// Start over, then two losses: the second walks past the rest of row 0 to
// the first cell of row 1.
void lossClicks(benchmark::State& state, const std::string& lossText)
{
    MemoryFileService memory;
    const RuleFiles files("rules", memory);
    memory.files = { { files.winPath(), "1,1,2,3" }, { files.lostPath(), lossText } };
    NoView view;
    Calculator calc("rules", view, memory);
    calc.LoadRules();
    for (auto _ : state) {
        calc.Play(Event::Reset);
        calc.Play(Event::Loss);
        calc.Play(Event::Loss);
    }
    if (calc.Record().curRow != 1 || calc.Record().curCol != 0)
        state.SkipWithError("the walk did not reach row 1");
}

void lossClicksSmallTable(benchmark::State& state)
{
    lossClicks(state, "1,2\r\n3,4");
}
BENCHMARK(lossClicksSmallTable);

void lossClicksWideSparseTable(benchmark::State& state)
{
    // One line of 65533 characters makes the table 32767 columns wide (one
    // wider and the step past the last column would overflow); the first two
    // rows hold only two items each.
    std::string text = "1,2\r\n3,4\r\n";
    text.append(65532, '0');
    text += '1';
    lossClicks(state, text);
}
BENCHMARK(lossClicksWideSparseTable);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio("parseLossText", "scanBytes");
    reporter.printRatio("lossClicksWideSparseTable", "lossClicksSmallTable");
    benchmark::Shutdown();
    return 0;
}
