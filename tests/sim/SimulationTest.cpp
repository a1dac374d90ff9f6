// Rounds played through the engine: how each kind of round end is reached,
// and, for rules small enough to work out by hand, how often; the money a
// round needs and a bankroll that cannot cover it; sessions against the
// chances of gambler's ruin; two rule sets on the same hands.

#include "rules/RuleParser.h"
#include "sim/Compare.h"
#include "sim/Figures.h"
#include "sim/Run.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zelmar::sim {
namespace {

Settings settingsFor(const char* win, const char* lost, double winChance)
{
    Settings s;
    s.winSeq = std::make_shared<const WinSeq>(ParseWinRule(win).table());
    s.lostTable = std::make_shared<const LostTable>(ParseLostRule(lost).table());
    s.game = Game::WinChance;
    s.winChance = winChance;
    s.seed = 99;
    return s;
}

RunFigures run(const Settings& s)
{
    Tally tally(s.rounds, moneyUnitOf(s), s.bankroll);
    EXPECT_EQ(runRounds(s, [&](const Block& b) { tally.add(b); }), s.rounds);
    return tally.figures();
}

struct CertainRound {
    const char* name;
    const char* win;
    const char* lost;
    double winChance; // 0 or 1: every round is the same
    long tableMax;
    long maxHands;
    RoundEnd end;
    long hands;
    long score;
    long largestStake;
};

// Names the case in test lists (the raw bytes would include padding).
void PrintTo(const CertainRound& c, std::ostream* out)
{
    *out << c.name;
}

class CertainRounds : public ::testing::TestWithParam<CertainRound> { };

// Every round ends the same way; the run goes on past limits and failures.
TEST_P(CertainRounds, everyRoundEndsAsWorkedOut)
{
    const CertainRound& c = GetParam();
    Settings s = settingsFor(c.win, c.lost, c.winChance);
    s.tableMax = c.tableMax;
    s.maxHands = c.maxHands;
    s.rounds = 2500;
    s.threads = 2;
    const RunFigures f = run(s);
    EXPECT_EQ(f.rounds, 2500);
    EXPECT_EQ(f.ends[static_cast<std::size_t>(c.end)], 2500);
    EXPECT_EQ(f.hands.max, c.hands);
    EXPECT_EQ(f.hands.percentiles[0].value, c.hands);
    EXPECT_EQ(f.score.min, c.score);
    EXPECT_EQ(f.score.max, c.score);
    EXPECT_EQ(f.largestStake.max, c.largestStake);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Ends, CertainRounds, ::testing::Values(
    // Wins: score 1, then 1+2, 3+3; the fourth win finds no cell left.
    CertainRound { "win path runs out", "1,2,3", "1", 1.0, 32767, 10000, RoundEnd::WinPathRanOut, 3, 6, 3 },
    // Losses: -1, -3, -7, -15; the walk leaves the last cell.
    CertainRound { "loss path runs out", "1", "1,2,4,8", 0.0, 32767, 10000, RoundEnd::LossPathRanOut, 4, -15, 8 },
    CertainRound { "stake above the table", "1", "1,2,4,8,16", 0.0, 4, 10000, RoundEnd::TableLimit, 3, -7, 4 },
    CertainRound { "cut after H hands", "1,1,1,1,1,1,1,1", "1", 1.0, 32767, 5, RoundEnd::HandLimit, 5, 5, 1 },
    // Wins: score 1, then 30001; the third win overflows and is not recorded.
    CertainRound { "overflow", "1,30000,30000", "1", 1.0, 32767, 10000, RoundEnd::EngineFailure, 3, 30001, 30000 }));
// clang-format on

// Win text 1,1 and loss table 1,1 at even chances. A first win ends the round
// on the next hand: the win path runs out (score 2) or a loss ends it on the
// win side (score 0), 1/4 each. A first loss leaves the score at -1 on cell
// (0, 1) with stake 1: a loss there runs the loss path out (-2); a win goes
// back to (0, 0) at score 0, from where a win turns the round (1) and a loss
// returns to (0, 1) at -1. So from (0, 1) the loss path runs out with chance
// a = 1/2 + a/4 = 2/3 and turns with chance 1/3.
TEST(TinyRules, endsComeAsOftenAsWorkedOutByHand)
{
    Settings s = settingsFor("1,1", "1,1", 0.5);
    s.rounds = 400'000;
    s.threads = 2;
    const RunFigures f = run(s);
    const std::array<std::pair<RoundEnd, double>, 4> exact { { { RoundEnd::WinPathRanOut, 1.0 / 4 },
        { RoundEnd::LostOnWinSide, 1.0 / 4 }, { RoundEnd::LossPathRanOut, 1.0 / 3 },
        { RoundEnd::TurnedOnLossSide, 1.0 / 6 } } };
    const double n = static_cast<double>(f.rounds);
    for (const auto& [end, chance] : exact) {
        const double share = static_cast<double>(f.ends[static_cast<std::size_t>(end)]) / n;
        EXPECT_NEAR(share, chance, 4 * std::sqrt(chance * (1 - chance) / n)) << static_cast<int>(end);
    }
    // The game is fair and rounds are short: the mean score is 0, and the
    // mean number of hands is 1 + 1/2 + 1/2 * 2 = 2.5 (2 from cell (0, 1)).
    EXPECT_NEAR(f.score.mean.value, 0.0, 4 * f.score.mean.se);
    EXPECT_NEAR(f.hands.mean.value, 2.5, 4 * f.hands.mean.se);
    EXPECT_EQ(f.score.min, -2);
    EXPECT_EQ(f.score.max, 2);
}

// Win 1,1,2,3 and loss 1,2,4,8 / 16,32 at even chances. A round that wins
// its first hand never needs more than 1. One that loses k hands in a row
// (k = 1..5, chance 1/2^k) then stands 2^(k+1) - 1 down with 2^k to place,
// needing 2^(k+1) - 1; the 32 after five losses makes 63. So the need is
// 1, 3, 7, 15, 31 with chances 1/2, 1/4, 1/8, 1/16, 1/32, and 63 with 1/32:
// a mean of exactly 6. A bankroll of 62 cannot place the 32: 1/32 of the
// rounds stop there, whether or not that hand would have been won.
TEST(Money, aRoundNeedsItsLossesAndTheStakeAboutToBePlaced)
{
    const struct {
        std::optional<double> bankroll;
        double broke;
    } cases[] = { { std::nullopt, 0 }, { 62, 1.0 / 32 }, { 63, 0 }, { 62.9, 1.0 / 32 } };
    for (const auto& c : cases) {
        Settings s = settingsFor("1,1,2,3", "1,2,4,8\r\n16,32", 0.5);
        s.rounds = 200'000;
        s.threads = 2;
        s.bankroll = c.bankroll;
        const RunFigures f = run(s);
        const double n = static_cast<double>(f.rounds);
        EXPECT_EQ(f.need.max, 63);
        EXPECT_EQ(f.need.min, 1);
        EXPECT_NEAR(f.need.mean.value, 6.0, 4 * f.need.mean.se);
        const long broke = f.ends[static_cast<std::size_t>(RoundEnd::Broke)];
        EXPECT_NEAR(
            static_cast<double>(broke) / n, c.broke, 4 * std::sqrt(1.0 / 32 * (31.0 / 32) / n) + 1e-12)
            << c.bankroll.value_or(0);
        if (c.broke == 0) {
            EXPECT_EQ(broke, 0);
        }
        // The chance of needing 63 or more is the chance of five losses in a row.
        EXPECT_NEAR(f.needCurve.back().second, 1.0 / 32, 4 * std::sqrt(1.0 / 32 * (31.0 / 32) / n));
    }
}

// Sittings of rounds of one hand each (win 1, loss 1): the running net is a
// simple random walk, and how a session ends is gambler's ruin. From a
// bankroll b with a target w, the walk is ruined with chance
// (r^b - r^(b+w)) / (1 - r^(b+w)), r = q / p, or w / (b + w) when p = 1/2,
// after b w hands on average in the fair game.
TEST(Sessions, oneHandRoundsEndAsGamblersRuin)
{
    const auto ruin = [](double p, double b, double w) {
        if (p == 0.5)
            return w / (b + w);
        const double r = (1 - p) / p;
        return (std::pow(r, b) - std::pow(r, b + w)) / (1 - std::pow(r, b + w));
    };
    const struct {
        double p;
        std::optional<double> bankroll;
        std::optional<double> stopWin;
        std::optional<double> stopLoss;
        long sessionRounds;
        SessionEnd ruinedBy;
        double ruined; // chance of ending by ruinedBy
        double rounds; // mean rounds a session, 0: not worked out
    } cases[] = {
        { 0.5, 3, 7, std::nullopt, 1'000'000'000, SessionEnd::Broke, ruin(0.5, 3, 7), 21 },
        { 0.6, 5, 5, std::nullopt, 1'000'000'000, SessionEnd::Broke, ruin(0.6, 5, 5), 0 },
        // The limit comes before the bankroll runs out.
        { 0.5, 100, 6, 4, 1'000'000'000, SessionEnd::StopLoss, ruin(0.5, 4, 6), 24 },
        // Ten rounds, no stops: every session plays them all.
        { 0.5, std::nullopt, std::nullopt, std::nullopt, 10, SessionEnd::RoundsPlayed, 1, 10 },
    };
    for (const auto& c : cases) {
        Settings s = settingsFor("1", "1", c.p);
        s.sessions = 40'000;
        s.sessionRounds = c.sessionRounds;
        s.bankroll = c.bankroll;
        s.stopWin = c.stopWin;
        s.stopLoss = c.stopLoss;
        s.threads = 2;
        SessionTally tally(moneyUnitOf(s));
        EXPECT_EQ(runSessions(s, [&](const SessionBlock& b) { tally.add(b); }), s.sessions);
        const SessionFigures f = tally.figures();
        const Estimate share = shareOf(f.ends[static_cast<std::size_t>(c.ruinedBy)], f.sessions);
        const double n = static_cast<double>(f.sessions);
        EXPECT_NEAR(share.value, c.ruined, 4 * std::sqrt(c.ruined * (1 - c.ruined) / n) + 1e-12) << c.p;
        if (c.rounds > 0) {
            EXPECT_NEAR(f.rounds.mean.value, c.rounds, 4 * f.rounds.mean.se + 1e-12) << c.p;
        }
        // Every session ends by the walk reaching one of its bounds, or by its ten rounds.
        if (c.stopWin) {
            EXPECT_EQ(f.net.max, *c.stopWin);
        }
        EXPECT_EQ(f.net.min, -(c.stopLoss ? *c.stopLoss : c.bankroll ? *c.bankroll : 10.0));
        // The fair game stays fair whenever a session stops.
        if (c.p == 0.5) {
            EXPECT_NEAR(f.net.mean.value, 0, 4 * f.net.mean.se);
        }
    }
}

// A rule set against itself: the very same rounds, so the difference is 0
// with no error at all. Against another, the difference of what a round
// needs is worked out above: 1 for a one-hand round, 6 for the other.
TEST(Compare, bothRuleSetsPlayTheSameHands)
{
    Settings a = settingsFor("1", "1", 0.5);
    Settings b = settingsFor("1,1,2,3", "1,2,4,8\r\n16,32", 0.5);
    for (Settings* s : { &a, &b }) {
        s->rounds = 100'000;
        s->bankroll = 62;
    }
    const auto compare = [](const Settings& x, const Settings& y) {
        PairedTally tally(moneyUnitOf(x), moneyUnitOf(y));
        for (long i = 0; i < x.rounds / BlockRounds; ++i)
            tally.add(playPairedBlock(x, y, i));
        return tally.figures();
    };
    const ComparisonFigures same = compare(b, b);
    EXPECT_EQ(same.netPerRound.difference.value, 0);
    EXPECT_EQ(same.netPerRound.difference.se, 0);
    EXPECT_GT(same.netPerRound.a.se, 0);

    const ComparisonFigures other = compare(a, b);
    EXPECT_EQ(other.rounds, 100'000);
    EXPECT_NEAR(other.needMean.difference.value, 1 - 6.0, 4 * other.needMean.difference.se);
    EXPECT_NEAR(other.brokeShare.difference.value, -1.0 / 32, 4 * other.brokeShare.difference.se);
    EXPECT_NEAR(other.netPerRound.difference.value, 0, 4 * other.netPerRound.difference.se);
}

// One run plays what its plan asks: rounds, or a pair of rule sets. The
// banker's wins on 6 are counted whichever side is bet: the cards dealt do
// not depend on it (about 5.39 % of coups at 8 decks).
TEST(OneRun, playsThePlanAndCountsTheCoupsOfEitherBet)
{
    Settings s = settingsFor("1,1,2,3", "1,2,4\r\n3,6,12", 0.5);
    s.game = Game::NoCommission;
    s.bet = Bet::Player;
    s.rounds = 20'000;
    const RunResults alone = runSimulation({ s, std::nullopt });
    ASSERT_TRUE(alone.rounds && !alone.roundsB && !alone.interrupted());
    const CoupCounts& c = alone.rounds->coups;
    const Estimate six = shareOf(c.bankerWinsOnSix, alone.rounds->handsDealt);
    EXPECT_NEAR(six.value, 0.0539, 4 * six.se);

    Settings b = s;
    b.winSeq = settingsFor("1", "1", 0.5).winSeq;
    const RunResults pair = runSimulation({ s, b });
    ASSERT_TRUE(pair.rounds && pair.roundsB && pair.paired);
    EXPECT_EQ(pair.rounds->money.mean.value, alone.rounds->money.mean.value);
    EXPECT_EQ(pair.paired->rounds, 20'000);
}

} // namespace
} // namespace zelmar::sim
