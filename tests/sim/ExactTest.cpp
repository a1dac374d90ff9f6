// The exact figures against closed forms, against rounds played by the
// simulator, and against what the rule check states.

#include "sim/Exact.h"
#include "engine/RoundSteps.h"
#include "sim/Figures.h"
#include "sim/RuleCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <tuple>

namespace zelmar::sim {
namespace {

Settings rules(std::vector<i16> win, const std::vector<std::vector<i16>>& rows)
{
    Settings s;
    s.winSeq = std::make_shared<WinSeq>(std::move(win));
    auto lost = std::make_shared<LostTable>();
    std::size_t cols = 0;
    for (const auto& row : rows)
        cols = std::max(cols, row.size());
    lost->setCols(static_cast<int>(cols));
    for (const auto& row : rows) {
        for (i16 v : row)
            lost->pushItem(v);
        lost->endRow();
    }
    s.lostTable = lost;
    s.game = Game::WinChance;
    return s;
}

double total(const std::array<double, RoundEndKinds>& ends)
{
    return std::accumulate(ends.begin(), ends.end(), 0.0);
}

double end(const ExactRound& r, RoundEnd e)
{
    return r.ends[static_cast<std::size_t>(e)];
}

TEST(Exact, doublingLossTableBustsWithQToTheKAndItsClosedFormExpectation)
{
    for (double p : { 0.5, 0.47, 0.3 })
        for (int k = 1; k <= 6; ++k) {
            std::vector<i16> row;
            for (int i = 0; i < k; ++i)
                row.push_back(static_cast<i16>(1 << i));
            Settings s = rules({ 1 }, { row });
            s.winChance = p;
            const ExactRound r = exactRound(s);
            const double q = 1 - p;
            const double bust = std::pow(q, k);
            SCOPED_TRACE(testing::Message() << "p " << p << " k " << k);
            EXPECT_NEAR(end(r, RoundEnd::LossPathRanOut), bust, 1e-12);
            EXPECT_NEAR(r.meanMoney, (1 - bust) - bust * (std::pow(2.0, k) - 1), 1e-12);
            EXPECT_NEAR(total(r.ends) + r.leftOut, 1, 1e-12);
            // The deepest cell is the one busting rounds pass through.
            EXPECT_NEAR(r.lossCells.back().chance, k == 1 ? 0 : std::pow(q, k - 1), 1e-12);
            EXPECT_NEAR(failChance(r.need, (1L << k) - 2), std::pow(q, k - 1), 1e-12);
        }
}

// Flat stakes: each round is one hand of +1 or -1, so sessions are the
// gambler's ruin between the stop-loss and the stop-win.
TEST(Exact, flatStakeSessionsAreTheGamblersRuin)
{
    const struct {
        double p;
        long win;
        long loss;
        long rounds; // a cap far beyond reach stands for none
    } cases[] = {
        { 0.5, 5, 5, 1'000'000 },
        { 0.5, 3, 7, 1'000'000 },
        { 0.47, 10, 10, 1'000'000 },
        { 0.47, 4, 9, 1'000'000 },
        { 0.5, 5, 5, 12 },
        { 0.47, 6, 3, 20 },
        { 0.47, 10, 10, 1 },
    };
    for (const auto& c : cases) {
        Settings s = rules({ 1 }, { { 1 } });
        s.winChance = c.p;
        s.stopWin = static_cast<double>(c.win);
        s.stopLoss = static_cast<double>(c.loss);
        s.sessionRounds = c.rounds;
        const ExactSessionsResult result = exactSessions(s);
        ASSERT_TRUE(result.figures);
        const ExactSessions& f = *result.figures;
        // The walk by itself, round by round, as a check on a capped session.
        std::vector<double> at(static_cast<std::size_t>(c.win + c.loss + 1));
        at[static_cast<std::size_t>(c.loss)] = 1;
        double won = 0;
        double lost = 0;
        for (long n = 0; n < std::min(c.rounds, 20'000L); ++n) {
            std::vector<double> next(at.size());
            for (std::size_t i = 1; i + 1 < at.size(); ++i) {
                next[i + 1] += at[i] * c.p;
                next[i - 1] += at[i] * (1 - c.p);
            }
            won += next.back();
            lost += next.front();
            next.front() = next.back() = 0;
            at = next;
        }
        SCOPED_TRACE(
            testing::Message() << "p " << c.p << " W " << c.win << " L " << c.loss << " N " << c.rounds);
        const double stopWin = f.ends[static_cast<int>(SessionEnd::StopWin)];
        const double stopLoss = f.ends[static_cast<int>(SessionEnd::StopLoss)];
        if (c.rounds > 20'000) {
            const double r = (1 - c.p) / c.p;
            const auto l = static_cast<double>(c.loss);
            const auto n = static_cast<double>(c.win + c.loss);
            const double ruinWin = c.p == 0.5 ? l / n : (1 - std::pow(r, l)) / (1 - std::pow(r, n));
            EXPECT_NEAR(stopWin, ruinWin, 1e-12);
            EXPECT_NEAR(stopLoss, 1 - ruinWin, 1e-12);
        }
        EXPECT_NEAR(stopWin, won, 1e-12);
        EXPECT_NEAR(stopLoss, lost, 1e-12);
        EXPECT_NEAR(f.ends[static_cast<int>(SessionEnd::RoundsPlayed)], 1 - won - lost, 1e-12);
        EXPECT_EQ(f.ends[static_cast<int>(SessionEnd::Broke)], 0);
    }
}

// Worked by hand. Win 1, loss 1,1: a loss goes to cell (0, 1), score -1;
// from there a win steps back to (0, 0) at score 0 and a second win ends
// the round at +1, a loss goes past the end at -2, and a win then a loss is
// back where it was. With P the chance of a win, from (0, 1):
// turned p^2 / (1 - pq), ran out q / (1 - pq), hands (q + 2p^2 + 2pq) / (1 - pq).
TEST(Exact, handWorkedEvenLoop)
{
    for (double p : { 0.5, 0.47, 0.8 }) {
        const double q = 1 - p;
        Settings s = rules({ 1 }, { { 1, 1 } });
        s.winChance = p;
        const ExactRound r = exactRound(s);
        const double loop = 1 - p * q;
        EXPECT_NEAR(end(r, RoundEnd::WinPathRanOut), p, 1e-12);
        EXPECT_NEAR(end(r, RoundEnd::TurnedOnLossSide), q * p * p / loop, 1e-12);
        EXPECT_NEAR(end(r, RoundEnd::LossPathRanOut), q * q / loop, 1e-12);
        EXPECT_NEAR(r.meanHands, p + q * (1 + (q + 2 * p * p + 2 * p * q) / loop), 1e-12);
        EXPECT_NEAR(r.meanMoney, p + q * (p * p / loop - 2 * q / loop), 1e-12);
        EXPECT_NEAR(r.lossCells.front().chance, q * p, 1e-12); // (0, 0): a loss then a win

        // Cut after 3 hands: only loss, win, loss is still going.
        s.maxHands = 3;
        const ExactRound cut = exactRound(s);
        EXPECT_NEAR(end(cut, RoundEnd::HandLimit), q * p * q, 1e-12);
        EXPECT_NEAR(end(cut, RoundEnd::LossPathRanOut), q * q, 1e-12);
        EXPECT_EQ(cut.leftOut, 0);
        const Chances expectHands { { 1, p }, { 2, q * q }, { 3, q * p * p + q * p * q } };
        ASSERT_EQ(cut.hands.size(), expectHands.size());
        for (std::size_t i = 0; i < expectHands.size(); ++i) {
            EXPECT_EQ(cut.hands[i].first, expectHands[i].first);
            EXPECT_NEAR(cut.hands[i].second, expectHands[i].second, 1e-12);
        }
    }
}

// Random small rules: ragged rows, zeros, a negative cell now and then, loss
// cycles (unbounded) or none.
Settings randomRules(std::mt19937& g)
{
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(g); };
    std::vector<i16> win;
    for (int i = pick(1, 4); i > 0; --i)
        win.push_back(static_cast<i16>(pick(-1, 4)));
    std::vector<std::vector<i16>> rows(static_cast<std::size_t>(pick(1, 3)));
    for (auto& row : rows)
        for (int i = pick(0, 4); i > 0; --i)
            row.push_back(static_cast<i16>(pick(0, 9) == 0 ? -1 : pick(0, 6)));
    if (rows.front().empty())
        rows.front().push_back(1);
    return rules(win, rows);
}

// The chain keys a round on its cursor, stake and score: the cell the
// cursor came from and the history never change where a hand takes it.
TEST(Exact, cellCameFromAndHistoryDoNotDecideTheFuture)
{
    std::mt19937 g(7);
    for (int i = 0; i < 200; ++i) {
        const Settings s = randomRules(g);
        RoundRecord a;
        a.winSeq = s.winSeq;
        a.lostTable = s.lostTable;
        for (int hand = 0; hand < 12; ++hand) {
            RoundRecord b = a;
            b.lastRow = static_cast<i16>(g() % 3);
            b.lastCol = static_cast<i16>(g() % 5);
            b.history = {};
            b.keepHistory = false;
            const bool won = g() % 2 == 0;
            QuietEffects fa;
            QuietEffects fb;
            bool failedA = false;
            bool failedB = false;
            try {
                won ? RecordWin(a, fa) : RecordLoss(a, fa);
            } catch (const EngineError&) {
                failedA = true;
            }
            try {
                won ? RecordWin(b, fb) : RecordLoss(b, fb);
            } catch (const EngineError&) {
                failedB = true;
            }
            ASSERT_EQ(failedA, failedB);
            if (failedA)
                break;
            EXPECT_EQ(fa.ended, fb.ended);
            EXPECT_EQ(fa.endScore, fb.endScore);
            EXPECT_EQ(std::tuple(a.direction, a.curRow, a.curCol, a.stake, a.score),
                std::tuple(b.direction, b.curRow, b.curCol, b.stake, b.score));
        }
    }
}

// The exact figures of a round against rounds the simulator plays, within
// 4 standard errors.
TEST(Exact, roundFiguresAgreeWithTheSimulator)
{
    std::mt19937 g(20261209);
    const struct {
        Game game;
        double p;
        Bet bet;
    } games[] = {
        { Game::WinChance, 0.5, Bet::Banker },
        { Game::WinChance, 0.3, Bet::Banker },
        { Game::WinChance, 0.62, Bet::Banker },
        { Game::Baccarat, 0, Bet::Banker },
        { Game::Baccarat, 0, Bet::Player },
        { Game::NoCommission, 0, Bet::Banker },
    };
    int unbounded = 0;
    for (int i = 0; i < 18; ++i) {
        Settings s = randomRules(g);
        const auto& game = games[i % std::size(games)];
        s.game = game.game;
        s.winChance = game.p;
        s.bet = game.bet;
        s.maxHands = 40;
        if (i % 4 == 3)
            s.bankroll = 6;
        s.rounds = 20000;
        s.seed = static_cast<std::uint64_t>(i);
        unbounded += CheckRules(*s.winSeq, *s.lostTable).endlessRoundsPossible();
        const ExactRound r = exactRound(s);
        Tally tally(s.rounds, moneyUnitOf(s), s.bankroll);
        runRounds(s, [&](const Block& b) { tally.add(b); });
        const RunFigures f = tally.figures();
        const auto n = static_cast<double>(f.rounds);
        SCOPED_TRACE(testing::Message()
            << "case " << i << " win " << s.winSeq->values().size() << " rows " << s.lostTable->rows());

        EXPECT_NEAR(total(r.ends) + r.leftOut, 1, 1e-12);
        for (int k = 0; k < RoundEndKinds; ++k) {
            const double p = r.ends[static_cast<std::size_t>(k)];
            const double share = static_cast<double>(f.ends[static_cast<std::size_t>(k)]) / n;
            EXPECT_NEAR(share, p, 4 * std::sqrt(p * (1 - p) / n) + 1e-12) << "end " << k;
        }
        const double scale = static_cast<double>(r.unit.scale);
        const struct {
            const char* name;
            double exact;
            Estimate sampled;
        } means[] = {
            { "score", summarize(r.score, 1, {}).mean, f.score.mean },
            { "money", r.meanMoney, f.money.mean },
            { "hands", r.meanHands, f.hands.mean },
            { "need", summarize(r.need, scale, {}).mean, f.need.mean },
            { "largest stake", summarize(r.largestStake, 1, {}).mean, f.largestStake.mean },
            { "net per unit staked", r.netPerUnitStaked(), f.netPerUnitStaked },
        };
        for (const auto& m : means)
            EXPECT_NEAR(m.exact, m.sampled.value, 4 * m.sampled.se + 1e-9) << m.name;
    }
    EXPECT_GT(unbounded, 2); // the cases do include loss cycles
}

// With a commission what a round needs is worked out backwards over the
// covers; it must equal following every state forward, hand by hand.
TEST(Exact, needWorkedOutBackwardsEqualsFollowingItForward)
{
    std::mt19937 g(20261209);
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(g); };
    for (int i = 0; i < 24; ++i) {
        std::vector<i16> win(static_cast<std::size_t>(pick(1, 3)));
        for (auto& v : win)
            v = static_cast<i16>(pick(1, 4));
        // Stakes rising through the table, zeros between them: every round
        // ends within a few hands, so no round is cut.
        std::vector<std::vector<i16>> rows(static_cast<std::size_t>(pick(1, 3)));
        i16 stake = 0;
        for (auto& row : rows)
            for (int c = pick(1, 4); c > 0; --c)
                row.push_back(pick(0, 4) == 0 ? i16 { 0 } : (stake = static_cast<i16>(stake + pick(1, 3))));
        rows.front().front() = 1;
        Settings s = rules(win, rows);
        s.game = Game::Baccarat;
        if (i % 3 == 2)
            s.bankroll = pick(2, 12);
        SCOPED_TRACE(testing::Message() << "case " << i);
        ExactLimits backwards;
        backwards.needStatesAtMost = 0; // forward, nothing would be kept
        ExactLimits forward;
        forward.needCellsAtMost = 0;
        forward.needStatesAtMost = 50'000'000;
        const ExactRound b = exactRound(s, backwards);
        const ExactRound f = exactRound(s, forward);
        EXPECT_LT(b.needLeftOut, 1e-12);
        EXPECT_LT(f.needLeftOut, 1e-12);
        const Chances bt = atLeast(b.need);
        for (const auto& [x, p] : atLeast(f.need)) {
            const auto at = std::lower_bound(bt.begin(), bt.end(), std::pair { x, 0.0 });
            EXPECT_NEAR(at == bt.end() ? 0.0 : at->second, p, 1e-12) << "needs " << x << " or more";
        }
    }
}

// On the no-commission game a banker win on 6 pays half: the money differs
// from the game with a commission, but not where the cursor goes, so every
// end and the hands come out the same, and nothing more is left out.
TEST(Exact, noCommissionRoundsGoWhereCommissionRoundsGo)
{
    Settings s = rules({ 1, 1, 2, 3 }, { { 1, 1, 2, 3 }, { 2, 2, 4, 6 }, { 3, 3, 6, 9 } });
    s.game = Game::Baccarat;
    s.maxHands = 100;
    ExactLimits limits;
    limits.needStatesAtMost = 5'000; // what a round needs is not compared here
    const ExactRound commission = exactRound(s, limits);
    s.game = Game::NoCommission;
    const ExactRound noCommission = exactRound(s, limits);
    EXPECT_LT(noCommission.leftOut, 1e-9);
    for (int k = 0; k < RoundEndKinds; ++k)
        EXPECT_NEAR(end(noCommission, RoundEnd(k)), end(commission, RoundEnd(k)), 1e-9) << "end " << k;
    EXPECT_NEAR(noCommission.meanHands, commission.meanHands, 1e-9);
    EXPECT_LT(noCommission.meanMoney, 0); // the house keeps its edge
}

// A bankroll of the money the rule check states always carries a round; one
// unit less does not, on bounded rules.
TEST(Exact, bankrollOfTheCheckedNeedNeverFails)
{
    const std::vector<std::pair<std::vector<i16>, std::vector<std::vector<i16>>>> cases {
        { { 1, 1, 2, 3 }, { { 1, 2, 4, 8 } } },
        { { 1, 2 }, { { 1, 2, 3 }, { 5, 8 } } },
        { { 1, 0, 3 }, { { 0, 2, 0, 5 }, { 6 }, { 9, 12 } } },
        { { 2 }, { { 1, 3, -1, 7 } } },
    };
    for (const auto& [win, rows] : cases) {
        Settings s = rules(win, rows);
        const RuleCheck check = CheckRules(*s.winSeq, *s.lostTable);
        ASSERT_TRUE(check.worstNeed().has_value());
        const auto need = static_cast<double>(*check.worstNeed());
        for (double p : { 0.5, 0.2 }) {
            s.winChance = p;
            s.bankroll = need;
            EXPECT_EQ(end(exactRound(s), RoundEnd::Broke), 0) << need;
            s.bankroll = need - 1;
            EXPECT_GT(end(exactRound(s), RoundEnd::Broke), 0) << need;
        }
    }
}

// The sessions' chances add up, and a state space past the limit is said.
TEST(Exact, sessionsAddUpOrSayHowLargeTheyWouldBe)
{
    Settings s = rules({ 1, 1, 2, 3 }, { { 1, 1, 2, 3 }, { 2, 2, 4, 6 }, { 3, 3, 6, 9 } });
    s.bankroll = 40;
    s.stopWin = 10;
    s.sessionRounds = 30;
    const ExactSessionsResult result = exactSessions(s);
    ASSERT_TRUE(result.figures);
    double sum = 0;
    for (double e : result.figures->ends)
        sum += e;
    EXPECT_NEAR(sum + result.figures->leftOut, 1, 1e-12);
    EXPECT_GT(result.figures->ends[static_cast<int>(SessionEnd::Broke)], 0);

    ExactLimits tight;
    tight.sessionWorkAtMost = 1000;
    const ExactSessionsResult tooLarge = exactSessions(s, tight);
    EXPECT_FALSE(tooLarge.figures);
    EXPECT_GT(tooLarge.tooLarge.workNeeded, 1000);
}

TEST(Exact, baccaratChancesOffTheTop)
{
    Settings s;
    s.decks = 8;
    const HandChances banker = handChancesOf(s);
    // The chances of an 8-deck shoe to 6 places, as every table of them gives.
    EXPECT_NEAR(banker.win, 0.458597, 5e-7);
    EXPECT_NEAR(banker.loss, 0.446247, 5e-7);
    EXPECT_NEAR(banker.tie, 0.095156, 5e-7);
    EXPECT_NEAR(banker.win + banker.loss + banker.tie, 1, 1e-12);
    s.game = Game::NoCommission;
    const HandChances six = handChancesOf(s);
    EXPECT_NEAR(six.win + six.winOnSix, banker.win, 1e-15);
    EXPECT_GT(six.winOnSix, 0.05);
}

} // namespace
} // namespace zelmar::sim
