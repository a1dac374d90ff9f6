#pragma once
// What a run of rounds comes to: the figures the report, its JSON form and
// the charts show. A Tally takes the blocks in order as they finish and keeps
// only counts, sums and the few per-round values its percentiles need.

#include "sim/Simulation.h"

#include <array>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace zelmar::sim {

struct Percentile {
    double percent = 0;
    double value = 0;
};

// Rounds whose value lies in [from, to).
struct Bin {
    double from = 0;
    double to = 0;
    long count = 0;
};

struct RunFigures {
    long rounds = 0;
    long handsDealt = 0; // recorded hands and ties
    long ties = 0;
    long bankerWins = 0; // coups won by each side, baccarat only
    long playerWins = 0;

    double handsMean = 0; // recorded hands per round
    long handsMedian = 0;
    long handsP99 = 0;
    long handsMax = 0;

    double scoreMean = 0; // round score in units
    double scoreSd = 0;
    std::vector<Percentile> scorePercentiles; // 1, 5, 25, 50, 75, 95, 99
    long scoreMin = 0;
    long scoreMax = 0;
    double shareAbove = 0; // of rounds ending above, at and below 0
    double shareAt = 0;
    double shareBelow = 0;

    std::int64_t staked = 0; // money, commission included
    double net = 0;
    double netPerUnitStaked = 0;
    double netPerRound = 0;

    std::array<long, RoundEndKinds> ends {};

    std::vector<Percentile> stakePercentiles; // of the largest stake of a round: 50, 90, 99, 99.9
    long stakeMax = 0;
    std::vector<Percentile> depthPercentiles; // of how deep a round's running result went (>= 0)
    double depthMax = 0;

    std::optional<double> bankroll;
    double brokenShare = 0; // rounds whose running result fell below -bankroll

    std::vector<Bin> scoreHistogram;
    std::vector<Bin> depthHistogram;
    // (x, share of rounds losing x or more), x > 0 in units, commission
    // included; at most LossCurvePoints points, the largest loss always.
    std::vector<std::pair<double, double>> lossCurve;
    std::vector<std::pair<long, double>> moneyPath; // (rounds played, net so far)
};

inline constexpr int LossCurvePoints = 600;

class Tally {
public:
    explicit Tally(long roundsPlanned, std::optional<double> bankroll = std::nullopt);

    void add(const Block& block);
    RunFigures figures() const;
    long rounds() const { return m_rounds; }

private:
    long m_rounds = 0;
    long m_handsRecorded = 0;
    long m_ties = 0;
    long m_coups[3] = {};
    std::vector<long> m_scores; // count per score, index score + 32768
    std::vector<long> m_largest; // count per largest stake
    std::map<long, long> m_hands; // rounds per number of hands
    std::vector<double> m_depths;
    std::vector<double> m_losses; // of the rounds that lost money, as positive amounts
    std::array<long, RoundEndKinds> m_ends {};
    std::int64_t m_staked = 0;
    double m_net = 0;
    long m_stride;
    std::vector<std::pair<long, double>> m_path;
    std::optional<double> m_bankroll;
    long m_broken = 0;
};

} // namespace zelmar::sim
