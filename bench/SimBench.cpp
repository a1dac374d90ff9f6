// Speed of zelmar-sim run, each figure against a baseline in the same run:
//  - hands a second through the engine, with independent hands and with
//    baccarat from a shoe, on one core;
//  - the same rounds played by a minimal loop that applies the rules of
//    play to plain integers (no checks, no history, no views) and keeps the
//    same figures per round, to show what the engine's part costs; the loop
//    must give the very same rounds;
//  - the engine's steps alone with and without the round's history;
//  - the tally of a block of rounds against playing it;
//  - the generator alone, so that the engine's part can be told apart;
//  - a whole run with its tally on one thread and on two, in real time and
//    per second of processor time (the first needs two idle cores to mean
//    anything).

#include "engine/RoundSteps.h"
#include "rules/RuleParser.h"
#include "sim/Figures.h"
#include "sim/Random.h"
#include "sim/Simulation.h"

#include "ExampleRules.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <sys/resource.h>

using namespace zelmar;
using namespace zelmar::sim;

namespace {

// The example rules of the program.
Settings exampleSettings(Game game)
{
    Settings s = bench::exampleRules(game);
    s.seed = 2026;
    s.rounds = 1L << 40;
    return s;
}

long handsOf(const Block& b)
{
    long hands = 0;
    for (const RoundResult& r : b.rounds)
        hands += r.hands + r.ties;
    return hands;
}

void engineHands(benchmark::State& state, Game game)
{
    const Settings s = exampleSettings(game);
    long hands = 0;
    long block = 0;
    for (auto _ : state) {
        const Block b = playBlock(s, block++);
        hands += handsOf(b);
        benchmark::DoNotOptimize(b.rounds.data());
    }
    state.SetItemsProcessed(hands);
}

void chanceHandsEngine(benchmark::State& state)
{
    engineHands(state, Game::WinChance);
}
BENCHMARK(chanceHandsEngine);

void baccaratHandsEngine(benchmark::State& state)
{
    engineHands(state, Game::Baccarat);
}
BENCHMARK(baccaratHandsEngine);

// The rules of play on plain integers, for rules whose cells are all
// positive: the usable cells of each path in walking order.
struct PlainRules {
    std::vector<int> win; // usable cells after index 0
    std::vector<int> loss; // usable cells of the loss table, row by row
    int firstLoss = 0; // where the first loss of a round goes
};

PlainRules plainRulesOf(const Settings& s)
{
    PlainRules p;
    for (int i = 1; i < s.winSeq->size(); ++i)
        if (s.winSeq->at(i) > 0)
            p.win.push_back(s.winSeq->at(i));
    const LostTable& t = *s.lostTable;
    for (int r = 0; r < t.rows(); ++r)
        for (int c = 0; c < t.cols(); ++c)
            if (t.at(r, c) > 0)
                p.loss.push_back(t.at(r, c));
    p.firstLoss = t.at(0, 0) > 0 ? 1 : 0;
    return p;
}

// One block of rounds as playBlock plays it, with the same bookkeeping,
// the engine replaced by the plain rules.
Block plainBlock(const Settings& s, const PlainRules& p, long index)
{
    Block b;
    b.index = index;
    Random random(s.seed, static_cast<std::uint64_t>(index));
    const auto threshold = static_cast<std::uint64_t>(s.winChance * 9007199254740992.0);
    const int winCells = static_cast<int>(p.win.size());
    const int lossCells = static_cast<int>(p.loss.size());
    b.rounds.reserve(BlockRounds);
    for (long n = 0; n < BlockRounds; ++n) {
        RoundResult out;
        char direction = 'Z';
        int at = 0;
        int stake = 1;
        int score = 0;
        bool ended = false;
        while (!ended) {
            out.need = std::max<Money>(out.need, stake - out.money);
            const bool win = (random.next() >> 11) < threshold;
            out.staked += stake;
            ++out.hands;
            out.largestStake = std::max(out.largestStake, static_cast<i16>(stake));
            if (win) {
                out.money += stake;
                score += stake;
                if (direction == 'Z') {
                    direction = 'W';
                    at = 0;
                    ended = at >= winCells;
                    out.end = RoundEnd::WinPathRanOut;
                } else if (direction == 'W') {
                    ended = ++at >= winCells;
                    out.end = RoundEnd::WinPathRanOut;
                } else if (score > 0) {
                    ended = true;
                    out.end = RoundEnd::TurnedOnLossSide;
                } else {
                    ended = --at < 0;
                    out.end = RoundEnd::LossPathRanOut;
                }
                if (!ended)
                    stake = direction == 'W' ? p.win[at] : p.loss[at];
            } else {
                out.money -= stake;
                score -= stake;
                if (direction == 'W') {
                    ended = true;
                    out.end = RoundEnd::LostOnWinSide;
                } else {
                    at = direction == 'Z' ? p.firstLoss : at + 1;
                    direction = 'L';
                    ended = at >= lossCells;
                    out.end = RoundEnd::LossPathRanOut;
                    if (!ended)
                        stake = p.loss[at];
                }
            }
        }
        out.score = static_cast<i16>(score);
        b.rounds.push_back(out);
    }
    for (const RoundResult& one : b.rounds) {
        const auto money = static_cast<double>(one.money);
        b.perStake.add(money, static_cast<double>(one.staked));
        b.perStakeNoTies.add(money, static_cast<double>(one.staked - one.tieStaked));
        b.perHand.add(money, static_cast<double>(one.hands + one.ties));
    }
    return b;
}

void chanceHandsPlainLoop(benchmark::State& state)
{
    const Settings s = exampleSettings(Game::WinChance);
    const PlainRules p = plainRulesOf(s);
    // The loop must play the very rounds the engine plays.
    for (long block = 0; block < 20; ++block) {
        const Block a = playBlock(s, block);
        const Block b = plainBlock(s, p, block);
        for (std::size_t i = 0; i < a.rounds.size(); ++i) {
            const RoundResult& x = a.rounds[i];
            const RoundResult& y = b.rounds[i];
            if (x.score != y.score || x.hands != y.hands || x.end != y.end || x.need != y.need
                || x.money != y.money || x.largestStake != y.largestStake || x.staked != y.staked) {
                state.SkipWithError("the plain loop does not play the engine's rounds");
                return;
            }
        }
    }
    long hands = 0;
    long block = 0;
    for (auto _ : state) {
        const Block b = plainBlock(s, p, block++);
        hands += handsOf(b);
        benchmark::DoNotOptimize(b.rounds.data());
    }
    state.SetItemsProcessed(hands);
}
BENCHMARK(chanceHandsPlainLoop);

// The engine's steps alone on the example rules, a round started afresh
// when one ends: with the round's history, as the calculator keeps it, and
// without, as the simulator plays.
void engineSteps(benchmark::State& state, bool history)
{
    const Settings s = exampleSettings(Game::WinChance);
    RoundRecord fresh;
    fresh.winSeq = s.winSeq;
    fresh.lostTable = s.lostTable;
    fresh.keepHistory = history;
    RoundRecord r = fresh;
    Random random(2026, 0);
    const auto threshold = static_cast<std::uint64_t>(0.5 * 9007199254740992.0);
    for (auto _ : state) {
        for (int i = 0; i < 6000; ++i) {
            QuietEffects fx;
            if ((random.next() >> 11) < threshold)
                RecordWin(r, fx);
            else
                RecordLoss(r, fx);
            if (fx.ended)
                r = fresh; // a fresh record, as the simulator starts each round
        }
        benchmark::DoNotOptimize(r.score);
    }
    state.SetItemsProcessed(static_cast<long>(state.iterations()) * 6000);
}
void engineStepsWithHistory(benchmark::State& state)
{
    engineSteps(state, true);
}
BENCHMARK(engineStepsWithHistory);
void engineStepsWithoutHistory(benchmark::State& state)
{
    engineSteps(state, false);
}
BENCHMARK(engineStepsWithoutHistory);

// Tallying a block of rounds, counted in hands of the block; set against
// playing the block (chanceHandsEngine).
void tallyBlock(benchmark::State& state)
{
    const Settings s = exampleSettings(Game::WinChance);
    std::vector<Block> blocks;
    for (long i = 0; i < 16; ++i)
        blocks.push_back(playBlock(s, i));
    Tally tally(1L << 40, moneyUnitOf(s));
    long hands = 0;
    std::size_t k = 0;
    for (auto _ : state) {
        const Block& b = blocks[k++ % blocks.size()];
        tally.add(b);
        hands += handsOf(b);
    }
    benchmark::DoNotOptimize(tally.rounds());
    state.SetItemsProcessed(hands);
}
BENCHMARK(tallyBlock);

// The hands alone: as many draws and comparisons as the rounds above use.
void chanceHandsOnly(benchmark::State& state)
{
    Random random(2026, 0);
    const auto threshold = static_cast<std::uint64_t>(0.5 * 9007199254740992.0);
    long wins = 0;
    for (auto _ : state) {
        for (int i = 0; i < 6000; ++i)
            wins += (random.next() >> 11) < threshold;
        benchmark::DoNotOptimize(wins);
    }
    state.SetItemsProcessed(static_cast<long>(state.iterations()) * 6000);
}
BENCHMARK(chanceHandsOnly);

void wholeRun(benchmark::State& state)
{
    Settings s = exampleSettings(Game::WinChance);
    s.rounds = 400 * BlockRounds;
    s.threads = static_cast<int>(state.range(0));
    long hands = 0;
    for (auto _ : state) {
        Tally tally(s.rounds, moneyUnitOf(s));
        runRounds(s, [&](const Block& b) {
            tally.add(b);
            hands += handsOf(b);
        });
        benchmark::DoNotOptimize(tally.rounds());
        s.seed += 1;
    }
    state.SetItemsProcessed(hands);
}
BENCHMARK(wholeRun)->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);
// The same, per second of processor time over all threads: what a second
// thread costs in work, whatever else the machine is running.
BENCHMARK(wholeRun)
    ->Name("wholeRunCpu")
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

class RateReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            const auto items = run.counters.find("items_per_second");
            if (items != run.counters.end())
                rates[run.benchmark_name()] = items->second;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> rates; // items (hands) a second
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RateReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    // With --benchmark_repetitions the medians are used.
    const auto rate = [&](const std::string& name) {
        auto it = reporter.rates.find(name + "_median");
        if (it == reporter.rates.end())
            it = reporter.rates.find(name);
        return it == reporter.rates.end() ? 0.0 : it->second;
    };
    const double chance = rate("chanceHandsEngine");
    const double baccarat = rate("baccaratHandsEngine");
    const double plain = rate("chanceHandsPlainLoop");
    const double only = rate("chanceHandsOnly");
    const double one = rate("wholeRun/1/real_time");
    const double two = rate("wholeRun/2/real_time");
    std::printf("independent hands through the engine, one core: %.1f M hands/s\n", chance / 1e6);
    std::printf("baccarat hands through the engine, one core:    %.1f M hands/s\n", baccarat / 1e6);
    if (plain > 0 && chance > 0) {
        std::printf("ratio time a hand, engine / plain loop = %.2f\n", plain / chance);
        if (only > 0)
            std::printf("ratio time a hand less the draw, engine / plain loop = %.2f\n",
                (1 / chance - 1 / only) / (1 / plain - 1 / only));
    }
    const double withHistory = rate("engineStepsWithHistory");
    const double withoutHistory = rate("engineStepsWithoutHistory");
    if (withHistory > 0)
        std::printf("ratio time a step, with history / without = %.2f\n", withoutHistory / withHistory);
    const double tallied = rate("tallyBlock");
    if (tallied > 0 && chance > 0)
        std::printf("ratio time to tally a block / to play it = %.3f\n", chance / tallied);
    if (one > 0)
        std::printf("ratio hands a second, two threads / one = %.2f\n", two / one);
    const double cpuOne = rate("wholeRunCpu/1/process_time");
    const double cpuTwo = rate("wholeRunCpu/2/process_time");
    if (cpuOne > 0)
        std::printf("ratio hands a processor second, two threads / one = %.2f"
                    " (1.0: the second thread costs no extra work)\n",
            cpuTwo / cpuOne);
    // Memory: the peak resident size after a run of 1 million rounds with
    // its tally, and after one of 20 times as many; the same peak means the
    // run's memory does not grow with its rounds.
    const auto peakAfter = [](long rounds) {
        Settings s = exampleSettings(Game::WinChance);
        s.rounds = rounds;
        s.threads = 2;
        Tally tally(s.rounds, moneyUnitOf(s));
        runRounds(s, [&](const Block& b) { tally.add(b); });
        const RunFigures f = tally.figures();
        benchmark::DoNotOptimize(f.need.max);
        rusage usage {};
        getrusage(RUSAGE_SELF, &usage);
        return static_cast<double>(usage.ru_maxrss) / 1024.0; // MiB
    };
    const double small = peakAfter(1'000'000);
    const double large = peakAfter(20'000'000);
    std::printf("peak memory after 1 million rounds: %.1f MiB; after 20 million more: %.1f MiB; ratio %.3f\n",
        small, large, large / small);
    benchmark::Shutdown();
    return 0;
}
