#pragma once
// What a win sequence and a loss table imply, worked out exactly from the
// rules of play, without playing a single random hand.
//
// The win path is a straight line: every win moves to the next positive
// item after index 0, the first loss ends the round. The loss path walks the
// cells of the loss table in row order (across row ends, gaps skipped, a
// negative cell ends the walk); a loss moves one usable cell forward, a win
// one usable cell back unless it lifts the score above 0. Wherever a usable
// cell holds more than the next usable one, losing on the first and winning
// on the second loses the difference every two hands while the score stays
// at or below 0, so the round never ends and its loss has no limit.
//
// The figures are those of hands played with the win and lose buttons, in
// whole numbers without a limit. Where one leaves -32768..32767 the figure
// is flagged: the calculator stops at that hand with an overflow report.
// Positions count from 0, as in the round record.

#include "engine/Tables.h"

#include <optional>
#include <vector>

namespace zelmar::sim {

inline constexpr long ScoreMin = -32768;
inline constexpr long ScoreMax = 32767;
inline constexpr long BestEndStatesAtMost = 50'000'000;

// Why a cell that holds a number never takes part in a round.
enum class Unreached {
    OriginStake, // the first cell: every round's first hand is staked 1
    PassedOver, // a negative item of the win sequence: wins pass over it
    AfterStop, // after the negative loss cell that ends every walk
    StepBackTooLate, // loss cell (0, 0): a win that would step back to it always ends the round first
    FirstLossEnds, // loss cell (0, 0): the first loss of the loss path already ends the round
};

struct DeadCell {
    int row = 0; // 0 for the win sequence
    int col = 0;
    long value = 0;
    Unreached why = Unreached::OriginStake;
};

struct WinPathFigures {
    int items = 0;
    int usable = 0; // positive items
    long largest = 0;
    std::vector<DeadCell> unreachable;
    long largestStake = 1;
    long longestWinRun = 0; // wins in a round that never loses
    long bestScore = 0; // the score of that round
    long worstScore = 0; // the lowest score a round on the win path ends with
    long need = 1; // the most money a round on the win path needs (see RuleCheck::worstNeed)
    bool overflows = false; // bestScore leaves the 16-bit range
};

struct CellValue {
    int row = 0;
    int col = 0;
    long value = 0;
};

// Two neighbouring usable cells of the loss walk: losing on `from` and
// winning on `to` brings the cursor back to `from`, `from - to` lower.
struct LossLoop {
    CellValue from;
    CellValue to;
    long lossPerTwoHands() const { return from.value - to.value; }
};

struct LossPathFigures {
    int rows = 0;
    int cols = 0;
    long items = 0; // numbers in the text; the other cells of a row are 0
    long usable = 0; // positive cells
    long largest = 0; // of all cells
    std::vector<DeadCell> unreachable;
    std::optional<CellValue> stop; // the negative cell that ends every forward walk
    long largestStake = 1;
    bool unbounded = false; // a reachable loss cycle exists
    long worstScore = 0; // lowest score a round on the loss path ends with, when not unbounded
    // The highest score a round on the loss path ends with, within the
    // 16-bit scores the calculator keeps; nullopt where the loss table is
    // too large to work it out (BestEndStatesAtMost states).
    std::optional<long> bestScore;
    long need = 1; // the most money a round on the loss path needs, when not unbounded
    bool overflows = false; // unbounded, or worstScore below -32768
    std::vector<LossLoop> lossCycles; // from.value > to.value
    std::vector<LossLoop> evenLoops; // from.value == to.value: endless, but costs nothing
};

struct RuleCheck {
    WinPathFigures win;
    LossPathFigures loss;

    // The lowest score any round can reach (nullopt: no limit).
    std::optional<long> worstScore() const;
    // The most money any round needs, in units at even money: before each
    // hand, the score so far less the stake about to be placed, at its
    // lowest, as a positive amount (nullopt: no limit). A bankroll this
    // large plays every round to its end.
    std::optional<long> worstNeed() const;
    bool endlessRoundsPossible() const { return !loss.lossCycles.empty() || !loss.evenLoops.empty(); }
};

RuleCheck CheckRules(const WinSeq& winSeq, const LostTable& lostTable);

} // namespace zelmar::sim
