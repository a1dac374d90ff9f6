#include "sim/Figures.h"

#include <algorithm>
#include <cmath>

namespace zelmar::sim {

namespace {

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

using Sorted = std::vector<std::pair<std::int64_t, long>>;

// Nearest-rank percentile: the smallest value with at least p% of the
// counted values at or below it.
std::int64_t percentileOf(double percent, long n, const Sorted& sorted)
{
    const auto rank
        = std::clamp(static_cast<long>(std::ceil(percent / 100.0 * static_cast<double>(n))), 1L, n);
    long seen = 0;
    for (const auto& [value, count] : sorted) {
        seen += count;
        if (seen >= rank)
            return value;
    }
    return 0;
}

// Even bins between the 1st and 99th percentile, the tails in one bin each;
// a bin per value where there are few. Values are in parts of 1/scale,
// bins in units.
std::vector<Bin> histogramOf(const Sorted& sorted, const Distribution& d, double scale = 1)
{
    const auto countIn = [&](double from, double to) {
        long c = 0;
        for (const auto& [value, count] : sorted) {
            const double v = static_cast<double>(value) / scale;
            if (v >= from && v < to)
                c += count;
        }
        return c;
    };
    const double hi = d.percentiles.back().value;
    double lo = d.percentiles.front().value;
    const double width = hi - lo + 1 <= MostWholeBins ? 1.0 : niceWidth((hi - lo + 1) / HistogramBins);
    lo = std::floor(lo / width) * width; // 0 starts a bin
    std::vector<Bin> bins;
    if (d.min < lo)
        bins.push_back({ d.min, lo, countIn(d.min, lo) });
    double from = lo;
    for (int k = 0; from <= hi && k < 10 * HistogramBins; ++k, from += width)
        bins.push_back({ from, from + width, countIn(from, from + width) });
    if (from <= d.max)
        bins.push_back({ from, d.max + 1, countIn(from, d.max + 1) });
    return bins;
}

} // namespace

Estimate shareOf(long k, long n)
{
    if (n <= 0)
        return {};
    const double p = static_cast<double>(k) / static_cast<double>(n);
    return { p, std::sqrt(p * (1 - p) / static_cast<double>(n)) };
}

Estimate RatioSums::ratio(long n) const
{
    if (base == 0 || n == 0)
        return {};
    const long double r = money / base;
    if (n < 2)
        return { static_cast<double>(r), 0 };
    const long double residuals
        = std::max<long double>(0, moneySquared - 2 * r * product + r * r * baseSquared);
    const long double nn = n;
    return { static_cast<double>(r), static_cast<double>(std::sqrt(residuals * nn / (nn - 1)) / base) };
}

Distribution distributionOf(const Counts& counts, double scale, const std::vector<double>& percents)
{
    Distribution d;
    const Sorted sorted = counts.sorted();
    const long n = counts.total();
    d.count = n;
    if (n == 0)
        return d;
    long double sum = 0;
    for (const auto& [value, count] : sorted)
        sum += static_cast<long double>(value) * count;
    const long double mean = sum / n;
    long double squares = 0;
    for (const auto& [value, count] : sorted)
        squares += (value - mean) * (value - mean) * count;
    const double sd = n > 1 ? static_cast<double>(std::sqrt(squares / (n - 1))) : 0.0;
    d.mean = { static_cast<double>(mean) / scale, sd / std::sqrt(static_cast<double>(n)) / scale };
    d.sd = sd / scale;
    d.min = static_cast<double>(sorted.front().first) / scale;
    d.max = static_cast<double>(sorted.back().first) / scale;
    for (double p : percents)
        d.percentiles.push_back({ p, static_cast<double>(percentileOf(p, n, sorted)) / scale });
    return d;
}

std::vector<std::pair<double, double>> atLeastCurve(const Counts& counts, double scale, int points)
{
    const Sorted sorted = counts.sorted();
    const long n = counts.total();
    std::vector<std::pair<double, double>> all;
    long below = 0; // values smaller than the current one
    for (const auto& [value, count] : sorted) {
        all.emplace_back(
            static_cast<double>(value) / scale, static_cast<double>(n - below) / static_cast<double>(n));
        below += count;
    }
    if (static_cast<int>(all.size()) <= points)
        return all;
    std::vector<std::pair<double, double>> some;
    const double step = static_cast<double>(all.size() - 1) / (points - 1);
    for (int k = 0; k < points; ++k)
        some.push_back(all[static_cast<std::size_t>(std::lround(k * step))]);
    return some;
}

std::vector<std::pair<double, double>> lossCurveOf(const Counts& money, double scale)
{
    // Losses as positive amounts: the share of all that lost x or more.
    Counts losses;
    for (const auto& [value, count] : money.sorted())
        if (value < 0)
            losses.add(-value, count);
    std::vector<std::pair<double, double>> curve;
    for (const auto& [x, share] : atLeastCurve(losses, scale))
        curve.emplace_back(
            x, share * static_cast<double>(losses.total()) / static_cast<double>(money.total()));
    return curve;
}

Tally::Tally(long roundsPlanned, const MoneyUnit& unit, std::optional<double> bankroll)
    : m_unit(unit)
    , m_bankroll(bankroll)
    , m_stride(std::max(1L, roundsPlanned / PathPoints))
    , m_untilPoint(m_stride)
{
}

void Tally::add(const Block& block)
{
    m_coups += block.coups;
    m_perStake.add(block.perStake);
    m_perStakeNoTies.add(block.perStakeNoTies);
    m_perHand.add(block.perHand);
    for (const RoundResult& r : block.rounds) {
        ++m_rounds;
        m_handsRecorded += r.hands;
        m_ties += r.ties;
        m_scores.add(r.score);
        m_largest.add(r.largestStake);
        m_hands.add(r.hands);
        m_money.add(r.money);
        m_need.add(r.need);
        ++m_ends[static_cast<std::size_t>(r.end)];
        m_staked += r.staked;
        m_tieStaked += r.tieStaked;
        m_net += r.money;
        if (--m_untilPoint == 0) {
            m_path.emplace_back(m_rounds, unitsOf(m_net, m_unit));
            m_untilPoint = m_stride;
        }
    }
}

RunFigures Tally::figures() const
{
    RunFigures f;
    const long n = m_rounds;
    const auto scale = static_cast<double>(m_unit.scale);
    f.unit = m_unit;
    f.bankroll = m_bankroll;
    f.rounds = n;
    f.ties = m_ties;
    f.handsDealt = m_handsRecorded + m_ties;
    f.coups = m_coups;
    f.ends = m_ends;
    f.staked = m_staked;
    f.tieStaked = m_tieStaked;
    f.net = unitsOf(m_net, m_unit);
    f.moneyPath = m_path;
    if (n == 0)
        return f;

    f.hands = distributionOf(m_hands, 1, { 50, 99 });
    f.score = distributionOf(m_scores, 1, { 1, 5, 25, 50, 75, 95, 99 });
    long above = 0;
    long at = 0;
    for (const auto& [value, count] : m_scores.sorted()) {
        if (value > 0)
            above += count;
        else if (value == 0)
            at += count;
    }
    f.shareAbove = shareOf(above, n);
    f.shareAt = shareOf(at, n);
    f.shareBelow = shareOf(n - above - at, n);
    f.scoreHistogram = histogramOf(m_scores.sorted(), f.score);

    f.money = distributionOf(m_money, scale, { 1, 5, 25, 50, 75, 95, 99 });
    f.netPerHand = m_perHand.ratio(n);
    f.netPerUnitStaked = m_perStake.ratio(n);
    f.netPerUnitStakedNoTies = m_perStakeNoTies.ratio(n);

    f.largestStake = distributionOf(m_largest, 1, { 50, 90, 99, 99.9 });
    f.need = distributionOf(m_need, scale, { 50, 90, 99, 99.9 });
    f.needCurve = atLeastCurve(m_need, scale);
    f.lossCurve = lossCurveOf(m_money, scale);

    if (f.moneyPath.empty() || f.moneyPath.back().first != n)
        f.moneyPath.emplace_back(n, f.net);
    return f;
}

SessionTally::SessionTally(const MoneyUnit& unit)
    : m_unit(unit)
{
}

void SessionTally::add(const SessionBlock& block)
{
    m_coups += block.coups;
    for (std::size_t k = 0; k < m_roundEnds.size(); ++k)
        m_roundEnds[k] += block.roundEnds[k];
    const auto scale = static_cast<long double>(m_unit.scale);
    for (const SessionResult& s : block.sessions) {
        ++m_sessions;
        ++m_ends[static_cast<std::size_t>(s.end)];
        m_net.add(s.net);
        m_rounds.add(s.rounds);
        m_hands.add(s.hands + s.ties);
        m_lowest.add(-s.lowest);
        m_roundsPlayed += s.rounds;
        m_handsDealt += s.hands + s.ties;
        const long double money = static_cast<long double>(s.net) / scale;
        m_perStake.add(money, static_cast<long double>(s.staked));
        m_perStakeNoTies.add(money, static_cast<long double>(s.staked - s.tieStaked));
    }
    for (const std::vector<Money>& trace : block.traces) {
        std::vector<double> units;
        units.reserve(trace.size());
        for (Money m : trace)
            units.push_back(unitsOf(m, m_unit));
        m_traces.push_back(std::move(units));
    }
}

SessionFigures SessionTally::figures() const
{
    SessionFigures f;
    const auto scale = static_cast<double>(m_unit.scale);
    f.unit = m_unit;
    f.sessions = m_sessions;
    f.ends = m_ends;
    f.roundsPlayed = m_roundsPlayed;
    f.handsDealt = m_handsDealt;
    f.roundEnds = m_roundEnds;
    f.coups = m_coups;
    f.traces = m_traces;
    if (m_sessions == 0)
        return f;
    f.net = distributionOf(m_net, scale, { 1, 5, 10, 25, 50, 75, 90, 95, 99 });
    f.rounds = distributionOf(m_rounds, 1, { 50, 90, 99 });
    f.hands = distributionOf(m_hands, 1, { 50, 90, 99 });
    f.lowest = distributionOf(m_lowest, scale, { 50, 90, 99 });
    f.netHistogram = histogramOf(m_net.sorted(), f.net, scale);
    f.netPerUnitStaked = m_perStake.ratio(m_sessions);
    f.netPerUnitStakedNoTies = m_perStakeNoTies.ratio(m_sessions);
    f.lossCurve = lossCurveOf(m_net, scale);
    return f;
}

} // namespace zelmar::sim
