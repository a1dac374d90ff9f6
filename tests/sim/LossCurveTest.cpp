// The chance that a round loses x or more, as the figures give it for the
// analysis window's chart: its share is of all rounds, wins and pushes
// included, worked out by hand for a few rounds, and thinned without losing
// the rarest loss for many.

#include "sim/Figures.h"

#include <gtest/gtest.h>

namespace zelmar::sim {
namespace {

using Curve = std::vector<std::pair<double, double>>;

// Rounds with the given net money, in twentieths of a unit.
Curve curveOf(const std::vector<Money>& money)
{
    Block b;
    for (Money m : money) {
        RoundResult r;
        r.money = m;
        b.rounds.push_back(r);
    }
    Tally tally(static_cast<long>(money.size()), MoneyUnit { 20, 19, 20 });
    tally.add(b);
    return tally.figures().lossCurve;
}

TEST(LossCurve, sharesOfAllRoundsLosingAtLeastEachLoss)
{
    EXPECT_EQ(curveOf({ -20, 40, -60, -20, 0, -19, 20, -60 }),
        (Curve { { 0.95, 5 / 8.0 }, { 1, 4 / 8.0 }, { 3, 2 / 8.0 } }));
    EXPECT_EQ(curveOf({ 20, 0, 60 }), Curve {});

    std::vector<Money> many;
    for (int i = 1; i <= 10000; ++i)
        many.push_back(-20 * i);
    const Curve curve = curveOf(many);
    ASSERT_LE(curve.size(), 600U);
    EXPECT_EQ(curve.front(), (std::pair { 1.0, 1.0 }));
    EXPECT_EQ(curve.back(), (std::pair { 10000.0, 1 / 10000.0 }));
}

} // namespace
} // namespace zelmar::sim
