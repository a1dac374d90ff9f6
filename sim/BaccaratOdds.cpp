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
    long double banker = 0;
    long double bankerOnSix = 0;
    long double player = 0;
    long double tie = 0;

    // Every coup that begins with `cards`, dealt with chance `p`.
    void walk(std::vector<int>& cards, long double p)
    {
        PrefixCards source { cards };
        const Coup c = dealCoup(source);
        if (!source.ranOut) {
            if (c.winner == Winner::Tie)
                tie += p;
            else if (c.winner == Winner::Player)
                player += p;
            else {
                banker += p;
                if (c.bankerTotal == 6)
                    bankerOnSix += p;
            }
            return;
        }
        for (int point = 0; point < 10; ++point) {
            if (left[point] == 0)
                continue;
            const long double q = p * static_cast<long double>(left[point]) / static_cast<long double>(total);
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
    e.walk(cards, 1.0L);
    // The chances add up to 1 but for rounding; made to add up exactly.
    const long double sum = e.banker + e.player + e.tie;
    return { static_cast<double>(e.banker / sum), static_cast<double>(e.bankerOnSix / sum),
        static_cast<double>(e.player / sum), static_cast<double>(e.tie / sum) };
}

} // namespace zelmar::sim
