#pragma once
// A punto banco shoe: a number of 52-card decks shuffled together, dealt from
// the front, with the cut card a given number of cards before the end. When
// the cut card comes out the hand is finished and the whole shoe is
// shuffled before the next one. Only a card's point value matters at
// baccarat, so the shoe holds points 0..9 (tens and faces count 0).

#include "sim/Random.h"

#include <cstdint>
#include <vector>

namespace zelmar::sim {

class Shoe {
public:
    Shoe(int decks, int cut, Random& random);
    // A shoe whose cards come out in the given order; after the last one it
    // is shuffled like any other.
    static Shoe stacked(std::vector<std::uint8_t> points, Random& random);

    // Called before each hand: shuffles when the cut card came out.
    void startHand()
    {
        if (m_next >= m_cutAt)
            shuffle();
    }
    std::uint8_t draw()
    {
        if (m_next == m_cards.size())
            shuffle(); // only with a cut card too close to the end for a whole hand
        return m_cards[m_next++];
    }

    int size() const { return static_cast<int>(m_cards.size()); }
    int left() const { return static_cast<int>(m_cards.size() - m_next); }
    long shuffles() const { return m_shuffles; }

private:
    Shoe(std::vector<std::uint8_t> cards, std::size_t cutAt, Random& random);
    void shuffle();

    std::vector<std::uint8_t> m_cards;
    std::size_t m_next = 0;
    std::size_t m_cutAt = 0;
    Random* m_random;
    long m_shuffles = 0;
};

} // namespace zelmar::sim
