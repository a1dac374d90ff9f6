#include "sim/RuleCheck.h"

#include <algorithm>

namespace zelmar::sim {

namespace {

WinPathFigures checkWin(const WinSeq& winSeq)
{
    WinPathFigures f;
    const std::vector<i16>& v = winSeq.values();
    f.items = winSeq.size();
    f.largest = v.empty() ? 0 : *std::max_element(v.begin(), v.end());
    // The first win is staked 1; each later one the next positive item
    // from index 1 on. A loss after j wins costs the j-th stake.
    long score = 1;
    long wins = 1;
    long worst = 1;
    bool lossPossible = false;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (v[i] > 0)
            ++f.usable;
        if (i == 0) {
            if (v[i] != 0)
                f.unreachable.push_back({ 0, 0, v[i], Unreached::OriginStake });
        } else if (v[i] < 0) {
            f.unreachable.push_back({ 0, static_cast<int>(i), v[i], Unreached::PassedOver });
        } else if (v[i] > 0) {
            f.need = std::max(f.need, v[i] - score);
            const long lost = score - v[i];
            worst = lossPossible ? std::min(worst, lost) : lost;
            lossPossible = true;
            score += v[i];
            ++wins;
            f.largestStake = std::max(f.largestStake, long { v[i] });
        }
    }
    f.longestWinRun = wins;
    f.bestScore = score;
    f.worstScore = lossPossible ? worst : score;
    f.overflows = score > ScoreMax;
    return f;
}

// The highest score a round on the loss path ends with. `cells` are the
// usable cells a walk can stand on, in order (the first loss of a round
// leaves the score at -1 on cells[start]). A loss moves one cell on and
// runs out past the last; a win moves one cell back, runs out before the
// first and ends the round once the score is above 0. A hand that would
// leave the 16-bit scores is refused by the calculator and ends nothing.
// Every state (cell, score) is visited once.
std::optional<long> bestLossEnd(const std::vector<long>& cells, std::size_t start)
{
    if (start >= cells.size())
        return -1; // the first loss runs the path out
    const std::size_t scores = static_cast<std::size_t>(-ScoreMin) + 1; // ScoreMin .. 0
    if (static_cast<double>(cells.size()) * static_cast<double>(scores) > 8.0 * BestEndStatesAtMost)
        return std::nullopt;
    std::vector<std::vector<bool>> seen(cells.size());
    std::vector<std::pair<std::size_t, long>> todo { { start, -1 } };
    std::optional<long> best;
    long states = 0;
    const auto end = [&](long score) { best = best ? std::max(*best, score) : score; };
    const auto visit = [&](std::size_t cell, long score) {
        std::vector<bool>& at = seen[cell];
        if (at.empty())
            at.resize(scores);
        const auto index = static_cast<std::size_t>(score - ScoreMin);
        if (!at[index]) {
            at[index] = true;
            todo.emplace_back(cell, score);
        }
    };
    seen[start].resize(scores);
    seen[start][static_cast<std::size_t>(-1 - ScoreMin)] = true;
    while (!todo.empty()) {
        if (++states > BestEndStatesAtMost)
            return std::nullopt;
        const auto [cell, score] = todo.back();
        todo.pop_back();
        const long stake = cells[cell];
        if (const long lost = score - stake; lost >= ScoreMin) {
            if (cell + 1 == cells.size())
                end(lost);
            else
                visit(cell + 1, lost);
        }
        const long won = score + stake;
        if (won > 0 || cell == 0)
            end(won);
        else
            visit(cell - 1, won);
    }
    return best;
}

LossPathFigures checkLoss(const LostTable& t)
{
    LossPathFigures f;
    f.rows = t.rows();
    f.cols = t.cols();
    bool padded = false;
    bool anyCell = false;
    // The usable cells a forward walk from the origin stops on, in order;
    // the walk starts at the cell after (0, 0).
    std::vector<CellValue> path;
    for (int r = 0; r < t.rows(); ++r) {
        const int length = t.rowLength(r);
        f.items += length;
        padded = padded || length < t.cols();
        for (int c = 0; c < length; ++c) {
            const long v = t.cell(r, c);
            f.largest = anyCell ? std::max(f.largest, v) : v;
            anyCell = true;
            if (v > 0)
                ++f.usable;
            if (r == 0 && c == 0)
                continue;
            if (f.stop) {
                if (v != 0)
                    f.unreachable.push_back({ r, c, v, Unreached::AfterStop });
            } else if (v < 0) {
                f.stop = CellValue { r, c, v };
            } else if (v > 0) {
                path.push_back({ r, c, v });
            }
        }
    }
    if (padded) // the cells after a short line hold 0
        f.largest = anyCell ? std::max(f.largest, 0L) : 0;

    auto notePair = [&f](const CellValue& a, const CellValue& b) {
        if (a.value > b.value)
            f.lossCycles.push_back({ a, b });
        else if (a.value == b.value)
            f.evenLoops.push_back({ a, b });
    };
    for (std::size_t j = 0; j + 1 < path.size(); ++j)
        notePair(path[j], path[j + 1]);

    // Cell (0, 0) is reached only by a win on the first usable cell that
    // leaves the score at 0 or below. The first loss leaves -1 there, and
    // only a loss cycle further on can take the score lower (then wins
    // walk back with it), so the first usable cell must hold 1 or a loss
    // cycle must exist.
    const long origin = t.rows() > 0 && t.rowLength(0) > 0 ? t.cell(0, 0) : 0;
    const bool originReached = !path.empty() && (path.front().value == 1 || !f.lossCycles.empty());
    if (origin != 0 && !originReached)
        f.unreachable.insert(f.unreachable.begin(),
            { 0, 0, origin, path.empty() ? Unreached::FirstLossEnds : Unreached::StepBackTooLate });
    if (origin > 0 && originReached) {
        const CellValue first { 0, 0, origin };
        // Keep the lists in walk order.
        const std::size_t cycles = f.lossCycles.size();
        const std::size_t evens = f.evenLoops.size();
        notePair(first, path.front());
        std::rotate(
            f.lossCycles.begin(), f.lossCycles.begin() + static_cast<long>(cycles), f.lossCycles.end());
        std::rotate(f.evenLoops.begin(), f.evenLoops.begin() + static_cast<long>(evens), f.evenLoops.end());
        f.largestStake = std::max(f.largestStake, origin);
    }

    // Going back a cell with a win and forward again with a loss changes the
    // score by the later cell's value minus the earlier one's. Without a
    // loss cycle that is never negative, so nothing goes lower than losing
    // every hand: the first loss, staked 1, then every usable cell in turn.
    long lowest = -1;
    for (const CellValue& c : path) {
        f.need = std::max(f.need, c.value - lowest); // at its lowest on this cell: every hand before lost
        lowest -= c.value;
        f.largestStake = std::max(f.largestStake, c.value);
    }
    if (origin > 0 && originReached)
        f.need = std::max(f.need, origin); // a win steps back onto it at a score of 0 at most
    f.unbounded = !f.lossCycles.empty();
    f.worstScore = f.unbounded ? 0 : lowest;
    f.overflows = f.unbounded || lowest < ScoreMin;

    std::vector<long> cells;
    if (origin > 0)
        cells.push_back(origin);
    for (const CellValue& c : path)
        cells.push_back(c.value);
    f.bestScore = bestLossEnd(cells, origin > 0 ? 1 : 0);
    return f;
}

} // namespace

std::optional<long> RuleCheck::worstScore() const
{
    if (loss.unbounded)
        return std::nullopt;
    return std::min(win.worstScore, loss.worstScore);
}

std::optional<long> RuleCheck::worstNeed() const
{
    if (loss.unbounded)
        return std::nullopt;
    return std::max(win.need, loss.need);
}

RuleCheck CheckRules(const WinSeq& winSeq, const LostTable& lostTable)
{
    return { checkWin(winSeq), checkLoss(lostTable) };
}

} // namespace zelmar::sim
