// The chance that a round loses x or more, as the figures give it for the
// analysis window's chart: worked out by hand for a few rounds, and thinned
// without losing the rarest loss for many.

#include "sim/Figures.h"

#include <gtest/gtest.h>

namespace zelmar::sim {
namespace {

Block blockOf(const std::vector<double>& money)
{
    Block b;
    for (double m : money) {
        RoundResult r;
        r.money = m;
        b.rounds.push_back(r);
    }
    return b;
}

std::vector<std::pair<double, double>> curveOf(const std::vector<double>& money)
{
    Tally tally(static_cast<long>(money.size()));
    tally.add(blockOf(money));
    return tally.figures().lossCurve;
}

using Curve = std::vector<std::pair<double, double>>;

TEST(LossCurve, sharesOfRoundsLosingAtLeastEachLoss)
{
    // Wins and pushes count in the share's base but give no point.
    EXPECT_EQ(curveOf({ -1, 2, -3, -1, 0, -0.95, 1, -3 }),
        (Curve { { 0.95, 5 / 8.0 }, { 1, 4 / 8.0 }, { 3, 2 / 8.0 } }));
    EXPECT_EQ(curveOf({ 1, 0, 3 }), Curve {});
}

TEST(LossCurve, manyLossesAreThinnedKeepingTheLargest)
{
    std::vector<double> money;
    for (int i = 1; i <= 10000; ++i)
        money.push_back(-i);
    const Curve curve = curveOf(money);
    ASSERT_LE(curve.size(), static_cast<std::size_t>(LossCurvePoints));
    ASSERT_GE(curve.size(), static_cast<std::size_t>(LossCurvePoints / 2));
    EXPECT_EQ(curve.front(), (std::pair { 1.0, 1.0 }));
    EXPECT_EQ(curve.back(), (std::pair { 10000.0, 1 / 10000.0 }));
    for (std::size_t k = 1; k < curve.size(); ++k) {
        EXPECT_GT(curve[k].first, curve[k - 1].first);
        EXPECT_DOUBLE_EQ(curve[k].second, (10001 - curve[k].first) / 10000);
    }
}

} // namespace
} // namespace zelmar::sim
