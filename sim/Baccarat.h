#pragma once
// One coup of punto banco dealt from a shoe, by the fixed third-card rules:
// a natural 8 or 9 on either side stops the coup; otherwise the player draws
// on 0-5 and stands on 6-7; a banker facing a player who stood draws on 0-5,
// and facing a player's third card t draws on 0-2, on 3 unless t is 8, on 4
// when t is 2-7, on 5 when t is 4-7, on 6 when t is 6-7, and stands on 7.

#include "sim/Shoe.h"

namespace zelmar::sim {

enum class Winner : std::uint8_t { Banker, Player, Tie };

struct Coup {
    int playerTotal = 0;
    int bankerTotal = 0;
    int playerCards = 0;
    int bankerCards = 0;
    Winner winner = Winner::Tie;
};

// Whether a banker holding `total` draws when the player drew `third`.
inline bool bankerDraws(int total, int third)
{
    switch (total) {
    case 0:
    case 1:
    case 2:
        return true;
    case 3:
        return third != 8;
    case 4:
        return third >= 2 && third <= 7;
    case 5:
        return third >= 4 && third <= 7;
    case 6:
        return third == 6 || third == 7;
    default:
        return false;
    }
}

// Deals one coup; the caller has called shoe.startHand(). Any source of
// card points with draw() deals alike (the exact chances enumerate one).
template <class Cards> Coup dealCoup(Cards& shoe)
{
    Coup c;
    const int p1 = shoe.draw();
    const int b1 = shoe.draw();
    const int p2 = shoe.draw();
    const int b2 = shoe.draw();
    c.playerTotal = (p1 + p2) % 10;
    c.bankerTotal = (b1 + b2) % 10;
    c.playerCards = 2;
    c.bankerCards = 2;
    if (c.playerTotal < 8 && c.bankerTotal < 8) {
        if (c.playerTotal <= 5) {
            const int third = shoe.draw();
            c.playerTotal = (c.playerTotal + third) % 10;
            c.playerCards = 3;
            if (bankerDraws(c.bankerTotal, third)) {
                c.bankerTotal = (c.bankerTotal + shoe.draw()) % 10;
                c.bankerCards = 3;
            }
        } else if (c.bankerTotal <= 5) {
            c.bankerTotal = (c.bankerTotal + shoe.draw()) % 10;
            c.bankerCards = 3;
        }
    }
    c.winner = c.bankerTotal > c.playerTotal ? Winner::Banker
        : c.playerTotal > c.bankerTotal      ? Winner::Player
                                             : Winner::Tie;
    return c;
}

} // namespace zelmar::sim
