#include "sim/BaccaratOdds.h"

#include "sim/Baccarat.h"

#include <array>
#include <vector>

namespace zelmar::sim {

namespace {

// Deals the cards of a fixed beginning, then nothing: a coup that asks for a
// card past it is not finished yet and is dealt again with each card added.
struct PrefixCards {
    const std::vector<int>& cards;
    std::size_t next = 0;
    bool ranOut = false;
    int draw()
    {
        if (next < cards.size())
            return cards[next++];
        ranOut = true;
        return 0;
    }
};

struct Enumeration {
    std::array<long, 10> left {}; // cards of each point still in the shoe
    long total = 0;
    CoupChances chances;

    // Every coup that begins with `cards`, dealt with chance `p`.
    void walk(std::vector<int>& cards, double p)
    {
        PrefixCards source { cards };
        const Coup c = dealCoup(source);
        if (!source.ranOut) {
            if (c.winner == Winner::Tie)
                chances.tie += p;
            else if (c.winner == Winner::Player)
                chances.player += p;
            else {
                chances.banker += p;
                if (c.bankerTotal == 6)
                    chances.bankerOnSix += p;
            }
            return;
        }
        for (int point = 0; point < 10; ++point) {
            if (left[point] == 0)
                continue;
            const double q = p * static_cast<double>(left[point]) / static_cast<double>(total);
            --left[point];
            --total;
            cards.push_back(point);
            walk(cards, q);
            cards.pop_back();
            ++total;
            ++left[point];
        }
    }
};

} // namespace

CoupChances coupChancesOffTheTop(int decks)
{
    Enumeration e;
    for (int point = 0; point < 10; ++point)
        e.left[point] = (point == 0 ? 16L : 4L) * decks;
    e.total = 52L * decks;
    std::vector<int> cards;
    e.walk(cards, 1.0);
    return e.chances;
}

} // namespace zelmar::sim
