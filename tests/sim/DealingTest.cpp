// The shoe and the third-card rules: stacked shoes give the known coups, the
// cut card brings a shuffle before the next coup, and over many shoes the
// shares of banker, player and tie match the exact shares of an 8-deck shoe;
// each game and bet pays what its exact edge says.

#include "rules/RuleParser.h"
#include "sim/Baccarat.h"
#include "sim/Figures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>

namespace zelmar::sim {
namespace {

struct StackedCoup {
    const char* branch;
    std::vector<std::uint8_t> cards; // in dealing order: P, B, P, B, then the third cards
    int player;
    int banker;
    int playerCards;
    int bankerCards;
    Winner winner;
};

void PrintTo(const StackedCoup& c, std::ostream* out)
{
    *out << c.branch;
}

class ThirdCardRules : public ::testing::TestWithParam<StackedCoup> { };

TEST_P(ThirdCardRules, stackedShoeGivesTheKnownCoup)
{
    const StackedCoup& c = GetParam();
    Random random(1, 0);
    std::vector<std::uint8_t> cards = c.cards;
    cards.resize(8, 0); // cards the coup must not use
    Shoe shoe = Shoe::stacked(cards, random);
    shoe.startHand();
    const Coup coup = dealCoup(shoe);
    EXPECT_EQ(coup.playerTotal, c.player);
    EXPECT_EQ(coup.bankerTotal, c.banker);
    EXPECT_EQ(coup.playerCards, c.playerCards);
    EXPECT_EQ(coup.bankerCards, c.bankerCards);
    EXPECT_EQ(coup.winner, c.winner);
    EXPECT_EQ(shoe.left(), 8 - c.playerCards - c.bankerCards);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(EveryBranch, ThirdCardRules, ::testing::Values(
    StackedCoup { "player natural 8, banker 5 does not draw", { 4, 3, 4, 2 }, 8, 5, 2, 2, Winner::Player },
    StackedCoup { "banker natural 9, player 0 does not draw", { 0, 4, 0, 5 }, 0, 9, 2, 2, Winner::Banker },
    StackedCoup { "naturals 8 and 8 tie", { 4, 4, 4, 4 }, 8, 8, 2, 2, Winner::Tie },
    StackedCoup { "player stands on 6, banker draws on 5", { 3, 2, 3, 3, 1 }, 6, 6, 2, 3, Winner::Tie },
    StackedCoup { "player stands on 7, banker stands on 6", { 3, 3, 4, 3, 9 }, 7, 6, 2, 2, Winner::Player },
    StackedCoup { "player stands on 6, banker stands on 7", { 3, 3, 3, 4 }, 6, 7, 2, 2, Winner::Banker },
    StackedCoup { "player draws on 5, banker 2 draws on any card", { 2, 1, 3, 1, 9, 5 }, 4, 7, 3, 3, Winner::Banker },
    StackedCoup { "banker 3 draws on a third card of 9", { 0, 1, 0, 2, 9, 4 }, 9, 7, 3, 3, Winner::Player },
    StackedCoup { "banker 3 stands on a third card of 8", { 0, 1, 0, 2, 8, 4 }, 8, 3, 3, 2, Winner::Player },
    StackedCoup { "banker 4 draws on a third card of 2", { 0, 2, 0, 2, 2, 5 }, 2, 9, 3, 3, Winner::Banker },
    StackedCoup { "banker 4 stands on a third card of 1", { 0, 2, 0, 2, 1, 5 }, 1, 4, 3, 2, Winner::Banker },
    StackedCoup { "banker 4 stands on a third card of 8", { 0, 2, 0, 2, 8, 5 }, 8, 4, 3, 2, Winner::Player },
    StackedCoup { "banker 5 draws on a third card of 4", { 1, 2, 1, 3, 4, 1 }, 6, 6, 3, 3, Winner::Tie },
    StackedCoup { "banker 5 stands on a third card of 3", { 1, 2, 1, 3, 3, 1 }, 5, 5, 3, 2, Winner::Tie },
    StackedCoup { "banker 6 draws on a third card of 7", { 1, 3, 0, 3, 7, 2 }, 8, 8, 3, 3, Winner::Tie },
    StackedCoup { "banker 6 stands on a third card of 5", { 1, 3, 0, 3, 5, 2 }, 6, 6, 3, 2, Winner::Tie },
    StackedCoup { "banker 7 stands on a third card of 6", { 0, 3, 0, 4, 6, 2 }, 6, 7, 3, 2, Winner::Banker }));
// clang-format on

TEST(Shoe, cutCardBringsAShuffleBeforeTheNextCoupOnly)
{
    Random random(7, 0);
    Shoe shoe(1, 14, random);
    ASSERT_EQ(shoe.size(), 52);
    long coups = 0;
    while (shoe.left() > 14) {
        shoe.startHand();
        dealCoup(shoe);
        ++coups;
    }
    EXPECT_EQ(shoe.shuffles(), 0) << "the coup that brings out the cut card is finished from the same shoe";
    EXPECT_GE(coups, 38 / 6);
    shoe.startHand();
    EXPECT_EQ(shoe.shuffles(), 1);
    EXPECT_EQ(shoe.left(), 52);
}

// Exact chances of banker, player and tie for the first coup of a full
// shoe, and of a banker win on a total of 6: every sequence of the six
// cards a coup can use, weighted by its chance of being dealt without
// replacement.
std::array<double, 4> exactShares(int decks)
{
    std::array<double, 10> left {};
    left[0] = 16.0 * decks;
    for (int p = 1; p <= 9; ++p)
        left[static_cast<std::size_t>(p)] = 4.0 * decks;
    double cards = 52.0 * decks;
    std::array<double, 4> shares {};
    std::vector<std::uint8_t> dealt;
    Random unused(0, 0);
    std::function<void(double)> deal = [&](double chance) {
        if (dealt.size() == 6) {
            Shoe shoe = Shoe::stacked(dealt, unused);
            const Coup coup = dealCoup(shoe);
            shares[static_cast<std::size_t>(coup.winner)] += chance;
            if (coup.winner == Winner::Banker && coup.bankerTotal == 6)
                shares[3] += chance;
            return;
        }
        for (std::uint8_t p = 0; p < 10; ++p) {
            const double n = left[p];
            dealt.push_back(p);
            left[p] -= 1;
            cards -= 1;
            deal(chance * n / (cards + 1));
            cards += 1;
            left[p] += 1;
            dealt.pop_back();
        }
    };
    deal(1.0);
    return shares;
}

TEST(Shoe, manyShoesMatchTheExactSharesOfAnEightDeckShoe)
{
    const std::array<double, 4> exact = exactShares(8);
    EXPECT_NEAR(exact[0] + exact[1] + exact[2], 1.0, 1e-9);
    std::printf("exact shares: banker %.6f, player %.6f, tie %.6f\n", exact[0], exact[1], exact[2]);

    constexpr long Coups = 10'000'000;
    Random random(20260101, 0);
    Shoe shoe(8, 14, random);
    std::array<long, 3> seen {};
    for (long i = 0; i < Coups; ++i) {
        shoe.startHand();
        ++seen[static_cast<std::size_t>(dealCoup(shoe).winner)];
    }
    for (std::size_t k = 0; k < 3; ++k) {
        const double share = static_cast<double>(seen[k]) / Coups;
        const double standardError = std::sqrt(exact[k] * (1 - exact[k]) / Coups);
        std::printf("%.6f (%+.1f standard errors)\n", share, (share - exact[k]) / standardError);
        EXPECT_NEAR(share, exact[k], 4 * standardError) << "banker, player, tie: " << k;
    }
}

// Rounds of one hand (win 1, loss 1) on each game and bet: the net per hand
// dealt is the bet's exact edge, ties counted as hands that pay nothing.
TEST(Games, eachBetPaysItsExactEdge)
{
    const std::array<double, 4> x = exactShares(8);
    const double banker = x[0];
    const double player = x[1];
    const double bankerOnSix = x[3];
    const struct {
        const char* name;
        Game game;
        Bet bet;
        double edge;
    } cases[] = {
        { "banker, 5% commission", Game::Baccarat, Bet::Banker, 0.95 * banker - player },
        { "banker without commission, half on 6", Game::NoCommission, Bet::Banker,
            banker - 0.5 * bankerOnSix - player },
        { "player", Game::NoCommission, Bet::Player, player - banker },
    };
    for (const auto& c : cases) {
        Settings s;
        s.winSeq = std::make_shared<const WinSeq>(ParseWinRule("1").table());
        s.lostTable = std::make_shared<const LostTable>(ParseLostRule("1").table());
        s.game = c.game;
        s.bet = c.bet;
        s.rounds = 3'000'000;
        s.threads = 2;
        s.seed = 11;
        Tally tally(s.rounds, moneyUnitOf(s));
        runRounds(s, [&](const Block& b) { tally.add(b); });
        const RunFigures f = tally.figures();
        std::printf("%s: exact edge %.5f%%, played %.5f%% ± %.5f%%\n", c.name, 100 * c.edge,
            100 * f.netPerHand.value, 100 * f.netPerHand.se);
        EXPECT_NEAR(f.netPerHand.value, c.edge, 4 * f.netPerHand.se) << c.name;
    }
    // The no-commission banker gives up more than the 5% one.
    EXPECT_LT(banker - 0.5 * bankerOnSix - player, 0.95 * banker - player);
}

} // namespace
} // namespace zelmar::sim
