#include "sim/Figures.h"

#include <algorithm>
#include <cmath>

namespace zelmar::sim {

namespace {

constexpr long ScoreOffset = 32768;
constexpr int PathPoints = 2000;
constexpr int HistogramBins = 30;
constexpr int MostWholeBins = 30; // one bin per score up to this many scores

// The smallest of 1, 2, 5, 10, 20, 50, ... that is at least `width`.
double niceWidth(double width)
{
    double step = 1;
    while (step < width)
        for (double m : { 2.0, 2.5, 2.0 }) {
            step *= m;
            if (step >= width)
                break;
        }
    return step;
}

// Nearest-rank percentile: the smallest value with at least p% of the
// rounds at or below it.
long rankOf(double percent, long n)
{
    const auto rank = static_cast<long>(std::ceil(percent / 100.0 * static_cast<double>(n)));
    return std::clamp(rank, 1L, n);
}

// Percentile over counts per value, values in increasing order.
template <class Counts> double percentileOf(double percent, long n, const Counts& counts)
{
    const long rank = rankOf(percent, n);
    long seen = 0;
    for (const auto& [value, count] : counts) {
        seen += count;
        if (seen >= rank)
            return static_cast<double>(value);
    }
    return 0;
}

// (value, count) pairs of a dense count vector whose index is value + offset.
std::vector<std::pair<long, long>> pairsOf(const std::vector<long>& dense, long offset)
{
    std::vector<std::pair<long, long>> out;
    for (std::size_t i = 0; i < dense.size(); ++i)
        if (dense[i] != 0)
            out.emplace_back(static_cast<long>(i) - offset, dense[i]);
    return out;
}

// Bins over [lo, hi] of width `width`, with a bin for the values below and
// one for those above when there are any.
template <class CountIn>
std::vector<Bin> binsOf(double min, double lo, double hi, double max, double width, CountIn countIn)
{
    std::vector<Bin> bins;
    if (min < lo)
        bins.push_back({ min, lo, countIn(min, lo) });
    double from = lo;
    for (int k = 0; from <= hi && k < 10 * HistogramBins; ++k, from += width)
        bins.push_back({ from, from + width, countIn(from, from + width) });
    if (from <= max)
        bins.push_back({ from, max + width, countIn(from, max + width) });
    return bins;
}

// The chance of losing x or more at each distinct loss x, thinned to at most
// LossCurvePoints points evenly over the distinct losses; the largest loss,
// the rarest, is always kept.
std::vector<std::pair<double, double>> lossCurveOf(std::vector<double> losses, long rounds)
{
    std::sort(losses.begin(), losses.end());
    std::vector<std::size_t> firsts; // index of the first round of each distinct loss
    for (std::size_t i = 0; i < losses.size(); ++i)
        if (i == 0 || losses[i] != losses[i - 1])
            firsts.push_back(i);
    const std::size_t step = (firsts.size() + LossCurvePoints - 2) / (LossCurvePoints - 1);
    std::vector<std::pair<double, double>> curve;
    for (std::size_t k = 0; k < firsts.size(); ++k) {
        if (k % step != 0 && k + 1 != firsts.size())
            continue;
        const std::size_t i = firsts[k];
        curve.emplace_back(losses[i], static_cast<double>(losses.size() - i) / static_cast<double>(rounds));
    }
    return curve;
}

} // namespace

Tally::Tally(long roundsPlanned, std::optional<double> bankroll)
    : m_scores(65536)
    , m_largest(32768)
    , m_stride(std::max(1L, roundsPlanned / PathPoints))
    , m_bankroll(bankroll)
{
}

void Tally::add(const Block& block)
{
    m_coups[0] += block.bankerWins;
    m_coups[1] += block.playerWins;
    m_coups[2] += block.ties;
    for (const RoundResult& r : block.rounds) {
        ++m_rounds;
        m_handsRecorded += r.hands;
        m_ties += r.ties;
        ++m_scores[static_cast<std::size_t>(r.score + ScoreOffset)];
        ++m_largest[static_cast<std::size_t>(std::max<i16>(r.largestStake, 0))];
        ++m_hands[r.hands];
        m_depths.push_back(0.0 - r.deepest);
        if (r.money < 0)
            m_losses.push_back(-r.money);
        ++m_ends[static_cast<std::size_t>(r.end)];
        m_staked += r.staked;
        m_net += r.money;
        if (m_bankroll && -r.deepest > *m_bankroll)
            ++m_broken;
        if (m_rounds % m_stride == 0)
            m_path.emplace_back(m_rounds, m_net);
    }
}

RunFigures Tally::figures() const
{
    RunFigures f;
    const long n = m_rounds;
    f.rounds = n;
    f.ties = m_ties;
    f.handsDealt = m_handsRecorded + m_ties;
    f.bankerWins = m_coups[0];
    f.playerWins = m_coups[1];
    f.ends = m_ends;
    f.staked = m_staked;
    f.net = m_net;
    f.bankroll = m_bankroll;
    f.moneyPath = m_path;
    if (n == 0)
        return f;
    const auto rounds = static_cast<double>(n);

    f.handsMean = static_cast<double>(m_handsRecorded) / rounds;
    f.handsMedian = static_cast<long>(percentileOf(50, n, m_hands));
    f.handsP99 = static_cast<long>(percentileOf(99, n, m_hands));
    f.handsMax = m_hands.rbegin()->first;

    const auto scores = pairsOf(m_scores, ScoreOffset);
    double sum = 0;
    for (const auto& [value, count] : scores) {
        sum += static_cast<double>(value) * static_cast<double>(count);
        if (value > 0)
            f.shareAbove += static_cast<double>(count);
        else if (value == 0)
            f.shareAt += static_cast<double>(count);
        else
            f.shareBelow += static_cast<double>(count);
    }
    f.scoreMean = sum / rounds;
    double squares = 0;
    for (const auto& [value, count] : scores)
        squares += (static_cast<double>(value) - f.scoreMean) * (static_cast<double>(value) - f.scoreMean)
            * static_cast<double>(count);
    f.scoreSd = n > 1 ? std::sqrt(squares / (rounds - 1)) : 0;
    f.shareAbove /= rounds;
    f.shareAt /= rounds;
    f.shareBelow /= rounds;
    for (double p : { 1.0, 5.0, 25.0, 50.0, 75.0, 95.0, 99.0 })
        f.scorePercentiles.push_back({ p, percentileOf(p, n, scores) });
    f.scoreMin = scores.front().first;
    f.scoreMax = scores.back().first;

    f.netPerUnitStaked = m_staked > 0 ? m_net / static_cast<double>(m_staked) : 0;
    f.netPerRound = m_net / rounds;

    const auto largest = pairsOf(m_largest, 0);
    for (double p : { 50.0, 90.0, 99.0, 99.9 })
        f.stakePercentiles.push_back({ p, percentileOf(p, n, largest) });
    f.stakeMax = largest.back().first;

    std::vector<double> depths = m_depths;
    std::sort(depths.begin(), depths.end());
    for (double p : { 50.0, 90.0, 99.0, 99.9 })
        f.depthPercentiles.push_back({ p, depths[static_cast<std::size_t>(rankOf(p, n) - 1)] });
    f.depthMax = depths.back();
    if (m_bankroll)
        f.brokenShare = static_cast<double>(m_broken) / rounds;

    // Histograms: even bins between the 1st and 99th percentile, the tails
    // in one bin each.
    const auto scoreCount = [&](double from, double to) {
        long c = 0;
        for (const auto& [value, count] : scores)
            if (value >= from && value < to)
                c += count;
        return c;
    };
    const double hi = f.scorePercentiles.back().value;
    double lo = f.scorePercentiles.front().value;
    const double width = hi - lo + 1 <= MostWholeBins ? 1.0 : niceWidth((hi - lo + 1) / HistogramBins);
    lo = std::floor(lo / width) * width; // 0 starts a bin
    f.scoreHistogram = binsOf(f.scoreMin, lo, hi, f.scoreMax, width, scoreCount);

    const auto depthCount = [&](double from, double to) {
        const auto a = std::lower_bound(depths.begin(), depths.end(), from);
        const auto b = std::lower_bound(depths.begin(), depths.end(), to);
        return static_cast<long>(b - a);
    };
    const double depthHi = std::max(depths[static_cast<std::size_t>(rankOf(99, n) - 1)], 1.0);
    const double depthWidth = niceWidth(depthHi / HistogramBins);
    f.depthHistogram = binsOf(0, 0, depthHi, f.depthMax, depthWidth, depthCount);

    f.lossCurve = lossCurveOf(m_losses, n);

    if (f.moneyPath.empty() || f.moneyPath.back().first != n)
        f.moneyPath.emplace_back(n, m_net);
    return f;
}

} // namespace zelmar::sim
