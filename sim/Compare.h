#pragma once
// Two rule sets on the very same hands. Block by block, both are played
// from the same generator: the same independent outcomes, or the same shoes
// in the same order, each rule set taking as many hands from them as its
// rounds use. The difference of a figure is then estimated with the blocks
// as pairs, so that what the hands had in common cancels out of its error.

#include "sim/Figures.h"

#include <array>
#include <vector>

namespace zelmar::sim {

struct PairedBlock {
    Block a;
    Block b;
};

// Block `index` of both rule sets; they differ in their rules only.
PairedBlock playPairedBlock(const Settings& a, const Settings& b, long index);

// A difference A - B with its standard error.
struct Difference {
    Estimate a;
    Estimate b;
    Estimate difference;
};

struct ComparisonFigures {
    long rounds = 0;
    long blocks = 0;
    Difference netPerRound;
    Difference netPerHand; // hands dealt, ties included
    Difference netPerUnitStaked; // ties counted
    Difference brokeShare; // rounds the bankroll could not cover
    Difference needMean; // money a round needs
};

class PairedTally {
public:
    PairedTally(const MoneyUnit& unitA, const MoneyUnit& unitB);
    void add(const PairedBlock& block);
    ComparisonFigures figures() const;

private:
    // Sums of one block for each rule set: money, hands dealt, staked, broke
    // rounds and need (money in units).
    struct Sums {
        double money = 0;
        double hands = 0;
        double staked = 0;
        double broke = 0;
        double need = 0;
    };
    struct Pair {
        double rounds = 0;
        Sums a;
        Sums b;
    };
    MoneyUnit m_unitA;
    MoneyUnit m_unitB;
    std::vector<Pair> m_blocks;
};

} // namespace zelmar::sim
