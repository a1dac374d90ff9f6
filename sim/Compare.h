#pragma once
// Two rule sets on the very same hands. Block by block, both are played
// from the same generator: the same independent outcomes, or the same shoes
// in the same order, each rule set taking as many hands from them as its
// rounds use. The difference of a figure is then estimated with the blocks
// as pairs, so that what the hands had in common cancels out of its error.

#include "sim/Figures.h"

namespace zelmar::sim {

struct PairedBlock {
    Block a;
    Block b;
};

// Block `index` of both rule sets; they differ in their rules only.
PairedBlock playPairedBlock(const Settings& a, const Settings& b, long index);

// Plays a.rounds rounds of both rule sets on a.threads threads, as runRounds
// plays one, and hands every pair of blocks to `take`, in order, on the
// calling thread. Returns the rounds played by each.
long runPaired(const Settings& a, const Settings& b, const std::function<void(const PairedBlock&)>& take,
    const RunControl& control = {});

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

// Keeps, for each figure, the sums over blocks that the estimates and their
// standard errors need: its size does not grow with the number of blocks.
class PairedTally {
public:
    PairedTally(const MoneyUnit& unitA, const MoneyUnit& unitB);
    void add(const PairedBlock& block);
    ComparisonFigures figures() const;

    // Sums over blocks of a ratio num / den for A and B, with the squares
    // and products its error needs.
    struct PairedSums {
        long double numA = 0, denA = 0, numB = 0, denB = 0;
        long double numA2 = 0, denA2 = 0, numAdenA = 0;
        long double numB2 = 0, denB2 = 0, numBdenB = 0;
        long double numAnumB = 0, numAdenB = 0, denAnumB = 0, denAdenB = 0;
        void add(double na, double da, double nb, double db);
        Difference estimate(long blocks) const;
    };

private:
    MoneyUnit m_unitA;
    MoneyUnit m_unitB;
    long m_blocks = 0;
    long m_rounds = 0;
    PairedSums m_perRound;
    PairedSums m_perHand;
    PairedSums m_perStake;
    PairedSums m_broke;
    PairedSums m_need;
};

} // namespace zelmar::sim
