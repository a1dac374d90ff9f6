#include "sim/Compare.h"

#include <cmath>
#include <functional>

namespace zelmar::sim {

namespace {

// The ratio of two sums over blocks, sum(num) / sum(den), for both rule
// sets and their difference. Each block's part in the estimate (its
// influence) is worked out for A, for B and for A - B; the standard error is
// that of the mean of independent blocks.
template <class Num, class Den> Difference pairedRatio(const auto& blocks, Num num, Den den)
{
    Difference d;
    const auto k = static_cast<double>(blocks.size());
    if (blocks.empty())
        return d;
    double numA = 0, denA = 0, numB = 0, denB = 0;
    for (const auto& p : blocks) {
        numA += num(p.a);
        denA += den(p, p.a);
        numB += num(p.b);
        denB += den(p, p.b);
    }
    if (denA == 0 || denB == 0)
        return d;
    const double ra = numA / denA;
    const double rb = numB / denB;
    double va = 0, vb = 0, vd = 0;
    for (const auto& p : blocks) {
        const double ea = (num(p.a) - ra * den(p, p.a)) / denA;
        const double eb = (num(p.b) - rb * den(p, p.b)) / denB;
        va += ea * ea;
        vb += eb * eb;
        vd += (ea - eb) * (ea - eb);
    }
    const double f = k > 1 ? k / (k - 1) : 0;
    d.a = { ra, std::sqrt(va * f) };
    d.b = { rb, std::sqrt(vb * f) };
    d.difference = { ra - rb, std::sqrt(vd * f) };
    return d;
}

} // namespace

PairedBlock playPairedBlock(const Settings& a, const Settings& b, long index)
{
    return { playBlock(a, index), playBlock(b, index) };
}

PairedTally::PairedTally(const MoneyUnit& unitA, const MoneyUnit& unitB)
    : m_unitA(unitA)
    , m_unitB(unitB)
{
}

void PairedTally::add(const PairedBlock& block)
{
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
    m_blocks.push_back(
        { static_cast<double>(block.a.rounds.size()), sums(block.a, m_unitA), sums(block.b, m_unitB) });
}

ComparisonFigures PairedTally::figures() const
{
    ComparisonFigures f;
    f.blocks = static_cast<long>(m_blocks.size());
    for (const Pair& p : m_blocks)
        f.rounds += static_cast<long>(p.rounds);
    const auto rounds = [](const Pair& p, const Sums&) { return p.rounds; };
    f.netPerRound = pairedRatio(
        m_blocks, [](const Sums& s) { return s.money; }, rounds);
    f.netPerHand = pairedRatio(
        m_blocks, [](const Sums& s) { return s.money; }, [](const Pair&, const Sums& s) { return s.hands; });
    f.netPerUnitStaked = pairedRatio(
        m_blocks, [](const Sums& s) { return s.money; }, [](const Pair&, const Sums& s) { return s.staked; });
    f.brokeShare = pairedRatio(
        m_blocks, [](const Sums& s) { return s.broke; }, rounds);
    f.needMean = pairedRatio(
        m_blocks, [](const Sums& s) { return s.need; }, rounds);
    return f;
}

} // namespace zelmar::sim
