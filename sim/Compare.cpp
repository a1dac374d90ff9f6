#include "sim/Compare.h"

#include "sim/Ordered.h"

#include <cmath>
#include <limits>

namespace zelmar::sim {

PairedBlock playPairedBlock(const Settings& a, const Settings& b, long index)
{
    return { playBlock(a, index), playBlock(b, index) };
}

long runPaired(const Settings& a, const Settings& b, const std::function<void(const PairedBlock&)>& take,
    const RunControl& control)
{
    const long blocks = (a.rounds + BlockRounds - 1) / BlockRounds;
    long rounds = 0;
    runOrdered(
        blocks, a.threads, control.stop, [&](long index) { return playPairedBlock(a, b, index); },
        [&](const PairedBlock& p) {
            take(p);
            rounds += static_cast<long>(p.a.rounds.size());
            if (control.progress)
                control.progress(rounds);
        });
    return rounds;
}

void PairedTally::PairedSums::add(double na, double da, double nb, double db)
{
    numA += na;
    denA += da;
    numB += nb;
    denB += db;
    numA2 += static_cast<long double>(na) * na;
    denA2 += static_cast<long double>(da) * da;
    numAdenA += static_cast<long double>(na) * da;
    numB2 += static_cast<long double>(nb) * nb;
    denB2 += static_cast<long double>(db) * db;
    numBdenB += static_cast<long double>(nb) * db;
    numAnumB += static_cast<long double>(na) * nb;
    numAdenB += static_cast<long double>(na) * db;
    denAnumB += static_cast<long double>(da) * nb;
    denAdenB += static_cast<long double>(da) * db;
}

// The ratios sum(num) / sum(den) of A and B and their difference. Each
// block's part in an estimate (its influence) is e = (num - r den) / sum(den);
// the standard error is that of a sum of independent blocks' parts, from
// the sums of squares and products of num and den, expanded.
Difference PairedTally::PairedSums::estimate(long blocks) const
{
    Difference d;
    if (blocks == 0 || denA == 0 || denB == 0)
        return d;
    const long double ra = numA / denA;
    const long double rb = numB / denB;
    const long double aa = (numA2 - 2 * ra * numAdenA + ra * ra * denA2) / (denA * denA);
    const long double bb = (numB2 - 2 * rb * numBdenB + rb * rb * denB2) / (denB * denB);
    const long double ab = (numAnumB - rb * numAdenB - ra * denAnumB + ra * rb * denAdenB) / (denA * denB);
    const auto se = [&](long double v) {
        if (blocks < 2)
            return std::numeric_limits<double>::quiet_NaN(); // one block says nothing of the spread
        const long double k = blocks;
        return static_cast<double>(std::sqrt(std::max<long double>(0, v) * k / (k - 1)));
    };
    d.a = { static_cast<double>(ra), se(aa) };
    d.b = { static_cast<double>(rb), se(bb) };
    d.difference = { static_cast<double>(ra - rb), se(aa + bb - 2 * ab) };
    return d;
}

PairedTally::PairedTally(const MoneyUnit& unitA, const MoneyUnit& unitB)
    : m_unitA(unitA)
    , m_unitB(unitB)
{
}

void PairedTally::add(const PairedBlock& block)
{
    struct Sums {
        double money = 0;
        double hands = 0;
        double staked = 0;
        double broke = 0;
        double need = 0;
    };
    const auto sums = [](const Block& b, const MoneyUnit& unit) {
        Sums s;
        Money money = 0;
        Money need = 0;
        for (const RoundResult& r : b.rounds) {
            money += r.money;
            need += r.need;
            s.hands += r.hands + r.ties;
            s.staked += static_cast<double>(r.staked);
            s.broke += r.end == RoundEnd::Broke;
        }
        s.money = unitsOf(money, unit);
        s.need = unitsOf(need, unit);
        return s;
    };
    const Sums a = sums(block.a, m_unitA);
    const Sums b = sums(block.b, m_unitB);
    const auto rounds = static_cast<double>(block.a.rounds.size());
    ++m_blocks;
    m_rounds += static_cast<long>(block.a.rounds.size());
    m_perRound.add(a.money, rounds, b.money, rounds);
    m_perHand.add(a.money, a.hands, b.money, b.hands);
    m_perStake.add(a.money, a.staked, b.money, b.staked);
    m_broke.add(a.broke, rounds, b.broke, rounds);
    m_need.add(a.need, rounds, b.need, rounds);
}

ComparisonFigures PairedTally::figures() const
{
    ComparisonFigures f;
    f.blocks = m_blocks;
    f.rounds = m_rounds;
    f.netPerRound = m_perRound.estimate(m_blocks);
    f.netPerHand = m_perHand.estimate(m_blocks);
    f.netPerUnitStaked = m_perStake.estimate(m_blocks);
    f.brokeShare = m_broke.estimate(m_blocks);
    f.needMean = m_need.estimate(m_blocks);
    return f;
}

} // namespace zelmar::sim
