// CheckRules against the calculator itself: every sequence of wins and
// losses is played through the engine's own steps, one distinct round state at
// a time, until every round has ended (or to a bound, where a loss cycle
// makes the states endless).

#include "sim/RuleCheck.h"
#include "tests/support/TestView.h"

#include <deque>
#include <random>
#include <set>
#include <sstream>
#include <tuple>

namespace zelmar::sim {
namespace {

using Loop = std::tuple<int, int, int, int, long>; // from row, col, to row, col, loss per two hands
using Cell = std::tuple<char, int, int>; // 'W' or 'L', row, col

// What the engine shows when every way of playing a round is tried.
struct Seen {
    long longestWinRun = 0;
    long largestWinStake = 1;
    std::set<long> winEnds; // scores that rounds on the win path end with
    long largestLossStake = 1;
    long lowestLossScore = 0;
    std::optional<long> bestLossEnd;
    long mostNeed = 0; // before a hand: the stake less the score, at its highest
    bool winOverflow = false;
    bool lossOverflow = false;
    std::set<Cell> stoodOn;
    std::set<Loop> cycles, evens;
    bool exhausted = true; // no round state was left unexplored at the bound
};

struct Hand {
    RoundRecord round;
    bool failed;
    std::optional<long> endScore; // the score a round that ended states
};

Hand play(RoundRecord r, char hand)
{
    QuietEffects fx;
    try {
        hand == 'W' ? RecordWin(r, fx) : RecordLoss(r, fx);
    } catch (const EngineError&) {
        return { std::move(r), true, std::nullopt };
    }
    return { std::move(r), false, fx.ended ? std::optional<long>(fx.endScore) : std::nullopt };
}

Seen playEverything(const WinSeqPtr& win, const LostTablePtr& lost, int maxHands)
{
    RoundRecord start;
    start.winSeq = win;
    start.lostTable = lost;
    struct Node {
        RoundRecord round;
        char path; // 'Z' before the first hand, then the path the round is on
        int hands;
    };
    Seen s;
    std::deque<Node> queue { { start, 'Z', 0 } };
    std::set<std::tuple<char, int, int, int, int, int, int>> visited;
    for (; !queue.empty(); queue.pop_front()) {
        const Node& node = queue.front();
        s.mostNeed = std::max(s.mostNeed, long { node.round.stake } - node.round.score);
        if (node.hands == maxHands) {
            s.exhausted = false;
            continue;
        }
        for (char hand : { 'W', 'L' }) {
            const char path = node.path == 'Z' ? hand : node.path;
            Hand h = play(node.round, hand);
            const RoundRecord& r = h.round;
            if (h.failed) {
                (path == 'W' ? s.winOverflow : s.lossOverflow) = true;
            } else if (h.endScore && path == 'W') {
                s.winEnds.insert(*h.endScore);
                if (hand == 'W')
                    s.longestWinRun = std::max(s.longestWinRun, node.hands + 1L);
            } else if (h.endScore) {
                s.lowestLossScore = std::min(s.lowestLossScore, *h.endScore);
                s.bestLossEnd = std::max(s.bestLossEnd.value_or(*h.endScore), *h.endScore);
            } else {
                s.stoodOn.insert({ path, r.curRow, r.curCol });
                if (path == 'W')
                    s.largestWinStake = std::max(s.largestWinStake, long { r.stake });
                if (path == 'L') {
                    s.largestLossStake = std::max(s.largestLossStake, long { r.stake });
                    s.lowestLossScore = std::min(s.lowestLossScore, long { r.score });
                }
                if (visited
                        .insert({ static_cast<char>(r.direction), r.curRow, r.curCol, r.lastRow, r.lastCol,
                            r.stake, r.score })
                        .second)
                    queue.push_back({ std::move(h.round), path, node.hands + 1 });
            }
        }
        // From a cell of the loss path: does losing here and winning on the
        // next cell come back here, and at what cost?
        const RoundRecord& a = node.round;
        if (a.direction != Direction::Loss)
            continue;
        const Hand ahead = play(node.round, 'L');
        const Hand back = play(ahead.round, 'W');
        const RoundRecord& b = ahead.round;
        const RoundRecord& z = back.round;
        if (ahead.failed || ahead.endScore || back.failed || back.endScore || z.curRow != a.curRow
            || z.curCol != a.curCol)
            continue;
        const long cost = long { a.score } - z.score;
        if (cost >= 0)
            (cost > 0 ? s.cycles : s.evens).insert({ a.curRow, a.curCol, b.curRow, b.curCol, cost });
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

// Positive cells never stood on: as the check lists them, and as the engine showed.
std::set<Cell> deadUsable(const RuleCheck& c)
{
    std::set<Cell> out;
    for (char path : { 'W', 'L' })
        for (const DeadCell& d : path == 'W' ? c.win.unreachable : c.loss.unreachable)
            if (d.value > 0)
                out.insert({ path, d.row, d.col });
    return out;
}

std::set<Cell> neverStoodOn(const WinSeq& win, const LostTable& lost, const Seen& s)
{
    std::set<Cell> out;
    for (int i = 0; i < win.size(); ++i)
        if (win.at(i) > 0 && !s.stoodOn.count({ 'W', 0, i }))
            out.insert({ 'W', 0, i });
    for (int r = 0; r < lost.rows(); ++r)
        for (int c = 0; c < lost.rowLength(r); ++c)
            if (lost.cell(r, c) > 0 && !s.stoodOn.count({ 'L', r, c }))
                out.insert({ 'L', r, c });
    return out;
}

void expectEngineAgrees(const std::string& winText, const std::string& lostText, int maxHands)
{
    SCOPED_TRACE("win \"" + winText + "\" loss \"" + lostText + "\"");
    const WinSeqPtr win = test::winOf(winText);
    const LostTablePtr lost = test::lostOf(lostText);
    const RuleCheck c = CheckRules(*win, *lost);
    const Seen s = playEverything(win, lost, maxHands);

    EXPECT_EQ(c.win.overflows, s.winOverflow);
    if (!c.win.overflows) {
        EXPECT_EQ(c.win.longestWinRun, s.longestWinRun);
        EXPECT_EQ(c.win.largestStake, s.largestWinStake);
        ASSERT_FALSE(s.winEnds.empty());
        EXPECT_EQ(c.win.bestScore, *s.winEnds.rbegin());
        EXPECT_EQ(c.win.worstScore, *s.winEnds.begin());
    }
    // A loss cycle makes the round states endless; without one they are
    // all seen, and the lowest score with them.
    EXPECT_EQ(c.loss.unbounded, !s.exhausted);
    EXPECT_EQ(loopsOf(c.loss.lossCycles), s.cycles);
    EXPECT_EQ(loopsOf(c.loss.evenLoops), s.evens);
    if (c.loss.overflows && !c.loss.unbounded) {
        EXPECT_TRUE(s.lossOverflow);
        return; // cells behind the overflowing hand are out of the engine's reach
    }
    EXPECT_FALSE(s.lossOverflow);
    if (!c.loss.unbounded) {
        EXPECT_EQ(c.loss.worstScore, s.lowestLossScore);
        ASSERT_TRUE(c.worstNeed());
        if (!c.win.overflows) {
            EXPECT_EQ(*c.worstNeed(), s.mostNeed);
        }
        EXPECT_EQ(c.loss.bestScore, s.bestLossEnd);
    } else {
        EXPECT_FALSE(c.worstNeed());
        // Played to a bound only: the check may know of a better end further on.
        ASSERT_TRUE(c.loss.bestScore && s.bestLossEnd);
        EXPECT_GE(*c.loss.bestScore, *s.bestLossEnd);
    }
    EXPECT_EQ(c.loss.largestStake, s.largestLossStake);
    if (!c.win.overflows) {
        EXPECT_EQ(deadUsable(c), neverStoodOn(*win, *lost, s));
    }
}

std::string randomList(std::mt19937& gen, int minItems, int maxItems)
{
    static const char* const values[] = { "-1", "-2", "0", "0", "1", "1", "1", "1", "2", "2", "2", "2", "3",
        "3", "3", "3", "4", "4", "5", "1" };
    std::string text;
    for (int i = std::uniform_int_distribution<int>(minItems, maxItems)(gen); i > 0; --i)
        text += values[std::uniform_int_distribution<int>(0, 19)(gen)] + std::string(i > 1 ? "," : "");
    return text;
}

TEST(RuleCheckAgainstEngine, randomSmallRules)
{
    std::mt19937 gen(20261207);
    int unbounded = 0;
    for (int set = 0; set < 1000 && !HasFailure(); ++set) {
        const std::string win = randomList(gen, 1, 6);
        const int lines = std::uniform_int_distribution<int>(1, 3)(gen);
        std::string lost;
        for (int i = 0; i < lines; ++i)
            lost += (i ? "\r\n" : "") + randomList(gen, lines == 1 ? 1 : 0, 5);
        expectEngineAgrees(win, lost, 80);
        unbounded += CheckRules(*test::winOf(win), *test::lostOf(lost)).loss.unbounded;
    }
    // Both kinds of rules were tried.
    EXPECT_GT(unbounded, 100);
    EXPECT_LT(unbounded, 900);
}

// A compact account of the figures, for the hand-made cases.
std::string summary(const RuleCheck& c)
{
    static const char* const why[]
        = { "origin", "passed-over", "after-stop", "step-back", "first-loss-ends" };
    const auto at
        = [](int row, int col) { return "(" + std::to_string(row) + "," + std::to_string(col) + ")"; };
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
        o << ' ' << at(d.row, d.col) << '=' << d.value << ' ' << why[static_cast<int>(d.why)];
    if (c.loss.stop)
        o << " stop " << at(c.loss.stop->row, c.loss.stop->col);
    for (const LossLoop& l : c.loss.lossCycles)
        o << " cycle " << at(l.from.row, l.from.col) << '>' << at(l.to.row, l.to.col) << " -"
          << l.lossPerTwoHands();
    for (const LossLoop& l : c.loss.evenLoops)
        o << " even " << at(l.from.row, l.from.col) << '=' << at(l.to.row, l.to.col);
    return o.str();
}

TEST(RuleCheckAgainstEngine, handMadeRules)
{
    const struct {
        const char* win;
        const char* lost;
        const char* figures;
    } cases[] = {
        // (0, 0) is out of reach: the first usable cell holds 2, so a win there ends the round.
        { "1,1,2,3", "1,2\r\n5,6",
            "run 4 best 7 worst 0 [0]=1 origin; stake 6 lowest -14 (0,0)=1 step-back" },
        // A negative loss cell ends every walk; a negative win item is passed over.
        { "5,-2,0,4", "1,-1,5",
            "run 2 best 5 worst -3 [0]=5 origin [1]=-2 passed-over; stake 1 lowest -1 (0,0)=1 "
            "first-loss-ends "
            "(0,2)=5 after-stop stop (0,1)" },
        // A first usable cell of 1 lets a win step back onto (0, 0), which holds more.
        { "7", "3,1,2,1",
            "run 1 best 1 worst 1 [0]=7 origin; stake 3 lowest none cycle (0,0)>(0,1) -2 cycle (0,2)>(0,3) "
            "-1" },
        // A cycle across a row end, over a short row and an empty one; it opens (0, 0) too.
        { "0,0,3,-1,2", "1,2,9\r\n4\r\n\r\n6",
            "run 3 best 6 worst -2 [3]=-1 passed-over; stake 9 lowest none cycle (0,2)>(1,0) -5" },
        // Equal neighbours: endless but costless; a negative (0, 0) is reached and ends the round.
        { "1", "-1,1,1", "run 1 best 1 worst 1 [0]=1 origin; stake 1 lowest -3 even (0,1)=(0,2)" },
        // Beyond 16 bits on both paths: the calculator refuses the overflowing hand.
        { "1,30000,30000", "1,30000,30000",
            "run 3 best 60001! worst -29999 [0]=1 origin; stake 30000 lowest -60001! (0,0)=1 step-back even "
            "(0,1)=(0,2)" },
    };
    for (const auto& h : cases) {
        EXPECT_EQ(summary(CheckRules(*test::winOf(h.win), *test::lostOf(h.lost))), h.figures);
        expectEngineAgrees(h.win, h.lost, 200);
    }
}

} // namespace
} // namespace zelmar::sim
