#pragma once
// The exact chances of one coup dealt from the top of a full shoe, found by
// going through every way the cards can come out, with the drawing rules of
// Baccarat.h. Hands from a real shoe are not independent (cards leave it),
// so these chances describe independent hands, not a shoe played down.

namespace zelmar::sim {

struct CoupChances {
    double banker = 0; // every banker win
    double bankerOnSix = 0; // the part of it won on a total of 6
    double player = 0;
    double tie = 0;
};

// For a shoe of `decks` 52-card decks (1 or more).
CoupChances coupChancesOffTheTop(int decks);

} // namespace zelmar::sim
