#pragma once
// The exact figures of a progression on independent hands, without playing a
// single random hand. While the hands are independent, the rounds are a
// Markov chain over what decides the rest of a round: the cursor (direction,
// row, column), the stake and the score, with the money so far where a
// figure asks for it. Every move of the chain is the engine's own: the
// state is put into a round record and the hand recorded with RecordWin or
// RecordLoss, exactly as `runRounds` plays it. The chain is followed hand by
// hand, up to the settings' hand limit, as a simulated round is cut there.
//
// A state less likely than a threshold (or, when the states of one hand
// pass a limit, the least likely of them) is left out; the chance left out
// is added up and reported as a bound, never dropped silently. Every
// chance of the figures is exact up to that bound and to rounding.

#include "sim/Simulation.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zelmar::sim {

// One hand at the table. Ties give the stake back and are dealt again.
struct HandChances {
    double win = 0.5; // paid MoneyUnit::winPays per unit
    double winOnSix = 0; // a banker win on 6 paying MoneyUnit::winOnSixPays
    double loss = 0.5;
    double tie = 0;
};

// The hands of the settings' game: `winChance`, or the chances off the top of
// a shoe of `decks` decks for the side bet on.
HandChances handChancesOf(const Settings& s);

// (value, chance) in increasing order of value, values with a chance only.
using Chances = std::vector<std::pair<std::int64_t, double>>;

struct ExactLimits {
    double leaveOutBelow = 1e-16; // a state less likely than this is left out
    std::size_t statesAtMost = 4'000'000; // of one hand; the least likely beyond are left out
    // What a round needs goes with the money and its lowest point: where a
    // commission spreads the money, far more states, so fewer are kept.
    std::size_t needStatesAtMost = 250'000;
    // Worked out backwards instead (with a commission): states times covers.
    std::size_t needCellsAtMost = 40'000'000;
    // Sessions: the kernel of a round is worked out once for each bankroll
    // a session can stand at. Work past this many states of the chain (the
    // kernels' hands summed) is not started.
    double sessionWorkAtMost = 3e8;
};

struct ExactControl {
    const std::atomic<bool>* stop = nullptr; // checked between hands
    std::function<void(double done)> progress; // 0..1, on the calling thread
};

// A cell of a rule and the chance that a round's cursor stands on it.
struct CellReach {
    int row = 0; // 0 for the win sequence
    int col = 0;
    long value = 0;
    double chance = 0;
};

struct ExactRound {
    MoneyUnit unit;
    HandChances hand;
    std::array<double, RoundEndKinds> ends {};
    // Chance left out, at most: of the ends, scores, money and hands; of the
    // need; of the largest stake and the cells reached.
    double leftOut = 0;
    double needLeftOut = 0;
    double cellsLeftOut = 0;
    bool stopped = false; // the stop flag was set: the figures are incomplete

    Chances score; // the round's score, in units
    Chances money; // net money, in the money unit
    Chances need; // money the round needs (RoundResult::need), in the money unit
    Chances largestStake;
    Chances hands; // recorded hands per round

    double meanHands = 0; // recorded, ties not counted
    double meanTies = 0;
    double meanStaked = 0; // stakes placed, ties included
    double meanStakedNoTies = 0;
    double meanMoney = 0; // in units

    double netPerUnitStaked() const { return meanStaked > 0 ? meanMoney / meanStaked : 0; }
    double netPerUnitStakedNoTies() const { return meanStakedNoTies > 0 ? meanMoney / meanStakedNoTies : 0; }
    double netPerHand() const { return meanHands + meanTies > 0 ? meanMoney / (meanHands + meanTies) : 0; }

    std::vector<CellReach> winCells; // positive items of the win sequence
    std::vector<CellReach> lossCells; // positive cells of the loss table

    // The chain as worked out.
    long handsFollowed = 0;
    std::size_t engineStates = 0; // distinct (cursor, stake, score)
    std::size_t peakStates = 0; // of one hand, money and the rest included
    std::size_t peakBytes = 0;
};

// Every figure of a round for `s` (its game, rules, limits and bankroll).
ExactRound exactRound(const Settings& s, const ExactLimits& limits = {}, const ExactControl& control = {});

struct ExactSessions {
    MoneyUnit unit;
    std::array<double, SessionEndKinds> ends {};
    double leftOut = 0;
    bool stopped = false;
    Chances net; // the session's net, in the money unit
    double meanRounds = 0;
    std::size_t kernels = 0; // rounds worked out, one per bankroll left
    double work = 0; // states of the chain followed
};

// Why sessions were not worked out: the work they would need.
struct SessionsTooLarge {
    double workNeeded = 0; // states of the chain
    double workAtMost = 0;
    std::size_t kernelsNeeded = 0;
};

// Sessions of `s` (sessionRounds, stopWin, stopLoss, bankroll), or how large
// they would be when that is past the limit.
struct ExactSessionsResult {
    std::optional<ExactSessions> figures;
    SessionsTooLarge tooLarge;
};
ExactSessionsResult exactSessions(
    const Settings& s, const ExactLimits& limits = {}, const ExactControl& control = {});

// Figures of a distribution of chances, in parts of 1/scale, over what was
// counted (its chances need not add to 1).
struct ExactSummary {
    double mass = 0;
    double mean = 0;
    double sd = 0;
    double min = 0;
    double max = 0;
    double above = 0; // chance of a value above, at and below 0
    double at = 0;
    double below = 0;
    std::vector<std::pair<double, double>> percentiles; // (percent, value)
};
ExactSummary summarize(const Chances& c, double scale, const std::vector<double>& percents);

// The chance that the value is x or more, for each value x that comes up:
// (x, chance), x increasing.
Chances atLeast(const Chances& c);

// For a bankroll of b money units: the chance a round needs more than b.
double failChance(const Chances& need, std::int64_t b);
// The least bankroll (money units, a multiple of `step`) that fails at most
// `share` of rounds.
std::int64_t leastBankroll(const Chances& need, double share, std::int64_t step);

} // namespace zelmar::sim
