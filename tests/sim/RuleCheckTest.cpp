// The exact figures of CheckRules against the calculator itself: every
// sequence of wins and losses is played through the engine's buttons, one
// distinct round state at a time, up to a number of hands that ends every
// round (or a bound, where a loss cycle makes rounds endless).

#include "sim/RuleCheck.h"
#include "engine/HeadlessView.h"
#include "engine/Round.h"
#include "rules/RuleParser.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <set>
#include <sstream>
#include <tuple>

namespace zelmar::sim {
namespace {

WinSeq winOf(const std::string& text)
{
    auto r = ParseWinRule(text);
    if (!r.ok())
        throw std::runtime_error("bad win text " + text);
    return r.table();
}

LostTable lostOf(const std::string& text)
{
    auto r = ParseLostRule(text);
    if (!r.ok())
        throw std::runtime_error("bad loss text " + text);
    return r.table();
}

using Loop = std::tuple<int, int, int, int, long>; // from row, col, to row, col, loss per two hands

// What the engine shows when every way of playing a round is tried.
struct Seen {
    long longestWinRun = 0;
    std::set<long> winEnds; // scores that rounds on the win path end with
    bool winOverflow = false;
    long largestLossStake = 1;
    long lowestLossScore = 0;
    bool lossOverflow = false;
    std::set<std::pair<int, int>> winCells, lossCells; // where the cursor stood
    std::set<Loop> cycles, evens;
    bool exhausted = true; // no round state was left unexplored at the bound
};

struct Outcome {
    Round round;
    bool failed = false;
    std::optional<long> endScore;
};

Outcome play(const Round& from, char hand, HeadlessView& view)
{
    Outcome o { from, false, std::nullopt };
    view.startStep();
    if (hand == 'W')
        o.round.cmdWin_Click();
    else
        o.round.cmdLost_Click();
    o.failed = !view.failures.empty();
    for (const std::string& n : view.notices)
        for (const std::string prefix :
            { notices::EndOfSequence, notices::LostOnWinSide, notices::TurnedOnLossSide })
            if (n.rfind(prefix, 0) == 0)
                o.endScore = std::stol(n.substr(prefix.size()));
    return o;
}

Seen playEverything(const WinSeq& win, const LostTable& lost, int maxHands)
{
    HeadlessView view;
    Round start(view);
    start.setRules(std::make_shared<const WinSeq>(win), std::make_shared<const LostTable>(lost), 0);
    start.ResetState();

    struct Node {
        Round round;
        char path; // 'Z' before the first hand, then the path the round is on
        int hands;
    };
    Seen s;
    std::deque<Node> queue;
    queue.push_back({ start, 'Z', 0 });
    std::set<std::tuple<char, int, int, int, int, int, int>> visited;
    while (!queue.empty()) {
        const Node node = queue.front();
        queue.pop_front();
        if (node.hands == maxHands) {
            s.exhausted = false;
            continue;
        }
        for (char hand : { 'W', 'L' }) {
            const char path = node.path == 'Z' ? hand : node.path;
            const Outcome o = play(node.round, hand, view);
            if (o.failed) {
                (path == 'W' ? s.winOverflow : s.lossOverflow) = true;
                continue;
            }
            if (o.endScore) {
                if (path == 'W') {
                    s.winEnds.insert(*o.endScore);
                    if (hand == 'W')
                        s.longestWinRun = std::max(s.longestWinRun, long { node.hands } + 1);
                } else {
                    s.lowestLossScore = std::min(s.lowestLossScore, *o.endScore);
                }
                continue;
            }
            const RoundRecord& r = o.round.record();
            if (path == 'W') {
                s.winCells.insert({ r.curRow, r.curCol });
            } else {
                s.lossCells.insert({ r.curRow, r.curCol });
                s.largestLossStake = std::max(s.largestLossStake, long { r.stake });
                s.lowestLossScore = std::min(s.lowestLossScore, long { r.score });
            }
            if (visited.insert({ r.direction, r.curRow, r.curCol, r.lastRow, r.lastCol, r.stake, r.score })
                    .second)
                queue.push_back({ o.round, path, node.hands + 1 });
        }
        // From a cell of the loss path: does losing here and winning on the
        // next cell come back here, and at what cost?
        const RoundRecord& a = node.round.record();
        if (a.direction != 'L')
            continue;
        const Outcome lost1 = play(node.round, 'L', view);
        if (lost1.failed || lost1.endScore)
            continue;
        const Outcome back = play(lost1.round, 'W', view);
        const RoundRecord& z = back.round.record();
        if (back.failed || back.endScore || z.curRow != a.curRow || z.curCol != a.curCol)
            continue;
        const RoundRecord& b = lost1.round.record();
        const Loop loop { a.curRow, a.curCol, b.curRow, b.curCol, long { a.score } - z.score };
        if (std::get<4>(loop) > 0)
            s.cycles.insert(loop);
        else if (std::get<4>(loop) == 0)
            s.evens.insert(loop);
    }
    return s;
}

std::set<Loop> loopsOf(const std::vector<LossLoop>& loops)
{
    std::set<Loop> out;
    for (const LossLoop& l : loops)
        out.insert({ l.from.row, l.from.col, l.to.row, l.to.col, l.lossPerTwoHands() });
    return out;
}

// The positive cells the cursor never stood on, as the check lists them and
// as the engine showed them.
std::set<std::pair<int, int>> deadUsable(const std::vector<DeadCell>& cells)
{
    std::set<std::pair<int, int>> out;
    for (const DeadCell& d : cells)
        if (d.value > 0)
            out.insert({ d.row, d.col });
    return out;
}

std::set<std::pair<int, int>> neverStoodOn(
    const WinSeq& win, const LostTable& lost, const Seen& s, bool winRule)
{
    std::set<std::pair<int, int>> out;
    if (winRule) {
        for (int i = 0; i < win.size(); ++i)
            if (win.at(i) > 0 && !s.winCells.count({ 0, i }))
                out.insert({ 0, i });
        return out;
    }
    for (int r = 0; r < lost.rows(); ++r)
        for (int c = 0; c < lost.rowLength(r); ++c)
            if (lost.cell(r, c) > 0 && !s.lossCells.count({ r, c }))
                out.insert({ r, c });
    return out;
}

void expectEngineAgrees(const std::string& winText, const std::string& lostText, int maxHands)
{
    SCOPED_TRACE("win \"" + winText + "\" loss \"" + lostText + "\"");
    const WinSeq win = winOf(winText);
    const LostTable lost = lostOf(lostText);
    const RuleCheck c = CheckRules(win, lost);
    const Seen s = playEverything(win, lost, maxHands);

    EXPECT_EQ(c.win.overflows, s.winOverflow);
    if (!c.win.overflows) {
        EXPECT_EQ(c.win.longestWinRun, s.longestWinRun);
        ASSERT_FALSE(s.winEnds.empty());
        EXPECT_EQ(c.win.bestScore, *s.winEnds.rbegin());
        EXPECT_EQ(c.win.worstScore, *s.winEnds.begin());
        EXPECT_EQ(deadUsable(c.win.unreachable), neverStoodOn(win, lost, s, true));
    }
    // A loss cycle makes the round states endless; without one they are
    // all seen, and the lowest score with them.
    EXPECT_EQ(c.loss.unbounded, !s.exhausted);
    EXPECT_EQ(loopsOf(c.loss.lossCycles), s.cycles);
    EXPECT_EQ(loopsOf(c.loss.evenLoops), s.evens);
    if (!c.loss.overflows) {
        EXPECT_FALSE(s.lossOverflow);
        EXPECT_EQ(c.loss.worstScore, s.lowestLossScore);
    } else if (!c.loss.unbounded) {
        EXPECT_TRUE(s.lossOverflow);
        EXPECT_LT(c.loss.worstScore, ScoreMin);
        return; // cells behind the overflowing hand are out of the engine's reach
    }
    EXPECT_EQ(c.loss.largestStake, s.largestLossStake);
    EXPECT_EQ(deadUsable(c.loss.unreachable), neverStoodOn(win, lost, s, false));
}

std::string randomList(std::mt19937& gen, int minItems, int maxItems)
{
    static const char* const values[] = { "-1", "0", "0", "1", "1", "1", "2", "2", "3", "3", "4", "5", "1",
        "2", "3", "4", "-2", "2", "1", "3" };
    const int n = std::uniform_int_distribution<int>(minItems, maxItems)(gen);
    std::string text;
    for (int i = 0; i < n; ++i)
        text += std::string(i ? "," : "") + values[std::uniform_int_distribution<int>(0, 19)(gen)];
    return text;
}

TEST(RuleCheckAgainstEngine, randomSmallRules)
{
    std::mt19937 gen(20261207);
    int unbounded = 0;
    for (int round = 0; round < 1000; ++round) {
        const std::string win = randomList(gen, 1, 6);
        const int lines = std::uniform_int_distribution<int>(1, 3)(gen);
        std::string lost;
        for (int i = 0; i < lines; ++i)
            lost += (i ? "\r\n" : "") + randomList(gen, lines == 1 ? 1 : 0, 5);
        expectEngineAgrees(win, lost, 80);
        unbounded += CheckRules(winOf(win), lostOf(lost)).loss.unbounded;
        if (HasFailure())
            return;
    }
    // Both kinds of rules were tried.
    EXPECT_GT(unbounded, 100);
    EXPECT_LT(unbounded, 900);
}

// A compact account of the figures, for the hand-made cases below.
std::string summary(const RuleCheck& c)
{
    static const char* const why[] = { "origin", "passed-over", "after-stop", "step-back" };
    std::ostringstream o;
    o << "run " << c.win.longestWinRun << " best " << c.win.bestScore << (c.win.overflows ? "!" : "")
      << " worst " << c.win.worstScore;
    for (const DeadCell& d : c.win.unreachable)
        o << " [" << d.col << "]=" << d.value << ' ' << why[static_cast<int>(d.why)];
    o << "; stake " << c.loss.largestStake << " lowest ";
    if (c.loss.unbounded)
        o << "none";
    else
        o << c.loss.worstScore << (c.loss.overflows ? "!" : "");
    for (const DeadCell& d : c.loss.unreachable)
        o << " (" << d.row << ',' << d.col << ")=" << d.value << ' ' << why[static_cast<int>(d.why)];
    if (c.loss.stop)
        o << " stop (" << c.loss.stop->row << ',' << c.loss.stop->col << ')';
    for (const LossLoop& l : c.loss.lossCycles)
        o << " cycle (" << l.from.row << ',' << l.from.col << ")>(" << l.to.row << ',' << l.to.col << ") -"
          << l.lossPerTwoHands();
    for (const LossLoop& l : c.loss.evenLoops)
        o << " even (" << l.from.row << ',' << l.from.col << ")=(" << l.to.row << ',' << l.to.col << ')';
    return o.str();
}

struct HandMade {
    const char* win;
    const char* lost;
    const char* figures;
};

class RuleCheckHandMade : public testing::TestWithParam<HandMade> { };

TEST_P(RuleCheckHandMade, figuresAndEngineAgree)
{
    const HandMade& h = GetParam();
    EXPECT_EQ(summary(CheckRules(winOf(h.win), lostOf(h.lost))), h.figures);
    expectEngineAgrees(h.win, h.lost, 200);
}

INSTANTIATE_TEST_SUITE_P(Cases, RuleCheckHandMade,
    testing::Values(
        // (0, 0) is out of reach: the first usable cell holds 2, so a win there ends the round.
        HandMade { "1,1,2,3", "1,2\r\n5,6",
            "run 4 best 7 worst 0 [0]=1 origin; stake 6 lowest -14 (0,0)=1 step-back" },
        // A negative loss cell ends every walk; a negative win item is passed over.
        HandMade { "5,-2,0,4", "1,-1,5",
            "run 2 best 5 worst -3 [0]=5 origin [1]=-2 passed-over; stake 1 lowest -1 (0,0)=1 step-back "
            "(0,2)=5 after-stop stop (0,1)" },
        // A first usable cell of 1 lets a win step back onto (0, 0), which holds more.
        HandMade { "7", "3,1,2,1",
            "run 1 best 1 worst 1 [0]=7 origin; stake 3 lowest none cycle (0,0)>(0,1) -2 cycle (0,2)>(0,3) "
            "-1" },
        // A cycle across a row end, over a short row and an empty one.
        HandMade { "0,0,3,-1,2", "1,2,9\r\n4\r\n\r\n6",
            "run 3 best 6 worst -2 [3]=-1 passed-over; stake 9 lowest none cycle (0,2)>(1,0) -5" },
        // Equal neighbours: a round that never ends and never costs; (0, 0) negative is reached and ends it.
        HandMade { "1", "-1,1,1", "run 1 best 1 worst 1 [0]=1 origin; stake 1 lowest -3 even (0,1)=(0,2)" },
        // Beyond 16 bits on both paths: the calculator refuses the overflowing hand.
        HandMade { "1,30000,30000", "1,30000,30000",
            "run 3 best 60001! worst -29999 [0]=1 origin; stake 30000 lowest -60001! (0,0)=1 step-back even "
            "(0,1)=(0,2)" }));

} // namespace
} // namespace zelmar::sim
