// Speed and memory of zelmar-sim exact, against simulating the same rules in
// the same run:
//  - every round figure of the example rules with hands cut at 10,000, on
//    independent hands at 1/2 and on baccarat, against 100,000 rounds
//    simulated on one thread (the figures a sample of that size gives to
//    about 3 places);
//  - a 10 x 10 loss table with a 20-item win sequence, its rounds cut at
//    100 and at 200 hands: its rounds last long and spread over many
//    scores, and the states grow with every hand followed;
//  - sessions of the example rules with a bankroll of 200 units and 100
//    rounds, or the work the limit refuses.
// Each reports the states of one hand at most and the memory they take.

#include "rules/RuleParser.h"
#include "sim/Exact.h"
#include "sim/Figures.h"
#include "sim/Simulation.h"

#include "RatioReporter.h"

#include "ExampleRules.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

using namespace zelmar;
using namespace zelmar::sim;

namespace {

// The example rules of the program.
Settings exampleSettings(Game game)
{
    Settings s = bench::exampleRules(game);
    s.maxHands = 10000;
    s.threads = 1;
    return s;
}

// Row r of the loss table is r + 1 times 1, 1, 2, 2, 3, ...; the win
// sequence 1, 1, 2, 2, ... 10, 10.
Settings largeSettings()
{
    std::string win;
    for (int i = 0; i < 20; ++i)
        win += (i ? "," : "") + std::to_string(i / 2 + 1);
    std::string lost;
    for (int r = 0; r < 10; ++r) {
        for (int c = 0; c < 10; ++c)
            lost += (c ? "," : "") + std::to_string((r + 1) * (c / 2 + 1));
        lost += "\r\n";
    }
    Settings s = exampleSettings(Game::WinChance);
    s.winSeq = std::make_shared<const WinSeq>(ParseWinRule(win).table());
    s.lostTable = std::make_shared<const LostTable>(ParseLostRule(lost).table());
    return s;
}

void report(benchmark::State& state, const ExactRound& r)
{
    state.counters["peakStates"] = static_cast<double>(r.peakStates);
    state.counters["peakMB"] = static_cast<double>(r.peakBytes) / 1048576.0;
    state.counters["leftOut"] = std::max({ r.leftOut, r.needLeftOut, r.cellsLeftOut });
}

void simulatedRounds(benchmark::State& state)
{
    Settings s = exampleSettings(Game::WinChance);
    s.rounds = 100'000;
    for (auto _ : state) {
        Tally tally(s.rounds, moneyUnitOf(s));
        runRounds(s, [&](const Block& b) { tally.add(b); });
        benchmark::DoNotOptimize(tally.figures());
        ++s.seed;
    }
}
BENCHMARK(simulatedRounds)->Unit(benchmark::kMillisecond)->Iterations(3);

void exactExamples(benchmark::State& state)
{
    const Settings s = exampleSettings(state.range(0) ? Game::Baccarat : Game::WinChance);
    ExactRound r;
    for (auto _ : state)
        r = exactRound(s);
    report(state, r);
}
BENCHMARK(exactExamples)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

void exactLarge(benchmark::State& state)
{
    Settings s = largeSettings();
    s.maxHands = state.range(0);
    ExactRound r;
    for (auto _ : state)
        r = exactRound(s);
    report(state, r);
}
BENCHMARK(exactLarge)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond)->Iterations(1);

void exactSessionsOfExamples(benchmark::State& state)
{
    Settings s = exampleSettings(state.range(0) ? Game::Baccarat : Game::WinChance);
    s.bankroll = 200;
    s.sessionRounds = 100;
    ExactSessionsResult r;
    for (auto _ : state)
        r = exactSessions(s);
    state.counters["done"] = r.figures ? 1 : 0;
    state.counters["kernels"] = static_cast<double>(r.tooLarge.kernelsNeeded);
    state.counters["workNeeded"] = r.tooLarge.workNeeded;
}
BENCHMARK(exactSessionsOfExamples)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char* what :
        { "exactExamples/0/iterations:1", "exactExamples/1/iterations:1", "exactLarge/100/iterations:1",
            "exactLarge/200/iterations:1", "exactSessionsOfExamples/0/iterations:1" })
        reporter.printRatio(what, "simulatedRounds/iterations:3");
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("largest resident memory: %.1f MB\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
}
