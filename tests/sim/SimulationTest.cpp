// Rounds played through the engine: how each kind of round end is reached,
// and, for rules small enough to work out by hand, how often.

#include "rules/RuleParser.h"
#include "sim/Figures.h"

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
    Tally tally(s.rounds);
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
    EXPECT_EQ(f.handsMax, c.hands);
    EXPECT_EQ(f.handsMedian, c.hands);
    EXPECT_EQ(f.scoreMin, c.score);
    EXPECT_EQ(f.scoreMax, c.score);
    EXPECT_EQ(f.stakeMax, c.largestStake);
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
    EXPECT_NEAR(f.scoreMean, 0.0, 4 * f.scoreSd / std::sqrt(n));
    EXPECT_NEAR(f.handsMean, 2.5, 0.02);
    EXPECT_EQ(f.scoreMin, -2);
    EXPECT_EQ(f.scoreMax, 2);
}

} // namespace
} // namespace zelmar::sim
