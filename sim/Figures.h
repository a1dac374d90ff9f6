#pragma once
// What a run comes to: the figures the report, its JSON form and the charts
// show. A tally takes the blocks in order as they finish and keeps exact
// counts of every whole value (scores, stakes, hands, money in the money
// unit) and sums, never a value per round: its size does not grow with the
// number of rounds. Every mean and share comes with its standard error.

#include "sim/Counts.h"
#include "sim/Simulation.h"

#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace zelmar::sim {

// A mean or a share with its standard error.
struct Estimate {
    double value = 0;
    double se = 0;
};

// The share k of n with its standard error, sqrt(p (1 - p) / n).
Estimate shareOf(long k, long n);

// Sums of money per unit over rounds or sessions, and the ratio with the
// standard error of a ratio over independent rounds or sessions.
struct RatioSums : RatioSumsOf<long double> {
    Estimate ratio(long n) const;
};

struct Percentile {
    double percent = 0;
    double value = 0;
};

// The exact distribution of a figure over rounds or sessions, in units.
struct Distribution {
    long count = 0;
    Estimate mean;
    double sd = 0;
    double min = 0;
    double max = 0;
    std::vector<Percentile> percentiles; // nearest rank
};

// `counts` of values in parts of 1/scale, with the given percentiles.
Distribution distributionOf(const Counts& counts, double scale, const std::vector<double>& percents);

// Points of the chance that a value is at least x: (x, share), for x from
// the smallest value up, at most `points` of them, the largest always.
std::vector<std::pair<double, double>> atLeastCurve(const Counts& counts, double scale, int points = 600);

// Points of the chance of losing x or more, x > 0, of all the `money`
// values counted (rounds or sessions): (x, share).
std::vector<std::pair<double, double>> lossCurveOf(const Counts& money, double scale);

// Rounds whose value lies in [from, to).
struct Bin {
    double from = 0;
    double to = 0;
    long count = 0;
};

struct RunFigures {
    MoneyUnit unit;
    std::optional<double> bankroll;
    long rounds = 0;
    long handsDealt = 0; // recorded hands and ties
    long ties = 0;
    CoupCounts coups;

    Distribution hands; // recorded hands per round
    Distribution score; // the round's score in units
    Estimate shareAbove; // of rounds ending above, at and below 0
    Estimate shareAt;
    Estimate shareBelow;
    std::vector<Bin> scoreHistogram;

    std::int64_t staked = 0; // in stake units
    std::int64_t tieStaked = 0;
    double net = 0; // money, commission included
    Distribution money; // net per round
    Estimate netPerHand; // per hand dealt, ties included
    Estimate netPerUnitStaked; // stakes on ties counted
    Estimate netPerUnitStakedNoTies; // stakes on ties left out

    std::array<long, RoundEndKinds> ends {};
    Distribution largestStake;
    Distribution need; // money a round needs to be played to its end
    std::vector<std::pair<double, double>> lossCurve; // (x, share of rounds losing x or more), x > 0
    std::vector<std::pair<double, double>> needCurve; // (x, share of rounds needing x or more)
    std::vector<std::pair<long, double>> moneyPath; // (rounds played, net so far)
};

class Tally {
public:
    Tally(long roundsPlanned, const MoneyUnit& unit, std::optional<double> bankroll = std::nullopt);

    void add(const Block& block);
    RunFigures figures() const;
    long rounds() const { return m_rounds; }

private:
    MoneyUnit m_unit;
    std::optional<double> m_bankroll;
    long m_rounds = 0;
    long m_handsRecorded = 0;
    long m_ties = 0;
    CoupCounts m_coups;
    Counts m_scores;
    Counts m_largest;
    Counts m_hands;
    Counts m_money;
    Counts m_need;
    std::array<long, RoundEndKinds> m_ends {};
    std::int64_t m_staked = 0;
    std::int64_t m_tieStaked = 0;
    Money m_net = 0;
    RatioSums m_perStake;
    RatioSums m_perStakeNoTies;
    RatioSums m_perHand;
    long m_stride;
    long m_untilPoint; // rounds until the next point of the path
    std::vector<std::pair<long, double>> m_path;
};

struct SessionFigures {
    MoneyUnit unit;
    long sessions = 0;
    std::array<long, SessionEndKinds> ends {};
    Distribution net; // the session's net, commission included
    Distribution rounds; // rounds per session
    Distribution hands; // hands dealt per session, ties included
    Distribution lowest; // how far the running net fell, as a positive amount
    Estimate netPerUnitStaked;
    Estimate netPerUnitStakedNoTies;
    long roundsPlayed = 0;
    long handsDealt = 0;
    std::array<long, RoundEndKinds> roundEnds {};
    CoupCounts coups;
    std::vector<Bin> netHistogram; // of the session's net, in units
    std::vector<std::pair<double, double>> lossCurve; // (x, share of sessions losing x or more)
    std::vector<std::vector<double>> traces; // running net after each round, a few sessions
};

class SessionTally {
public:
    explicit SessionTally(const MoneyUnit& unit);
    void add(const SessionBlock& block);
    SessionFigures figures() const;
    long sessions() const { return m_sessions; }

private:
    MoneyUnit m_unit;
    long m_sessions = 0;
    std::array<long, SessionEndKinds> m_ends {};
    Counts m_net;
    Counts m_rounds;
    Counts m_hands;
    Counts m_lowest;
    RatioSums m_perStake;
    RatioSums m_perStakeNoTies;
    long m_roundsPlayed = 0;
    long m_handsDealt = 0;
    std::array<long, RoundEndKinds> m_roundEnds {};
    CoupCounts m_coups;
    std::vector<std::vector<double>> m_traces;
};

} // namespace zelmar::sim
