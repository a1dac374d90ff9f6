#pragma once
// The cursor's moves over the two rules, without anything shown: each moves
// the record and says where it stopped. The steps of play (RoundSteps.h)
// decide what a stop means for the round.

#include "engine/RoundRecord.h"

namespace zelmar::walks {

enum class Walk { Found, Negative, PastEnd };

// To the next positive cell of the win sequence, loading its stake; false
// when there is none. Zero and negative cells are passed over.
bool nextWinCell(RoundRecord& r);

// Forward through the loss table, row by row, left to right, to the next
// cell that is not 0, loading it as the stake.
Walk walkLostForward(RoundRecord& r);

// Backward through the loss table, right to left and then from the last
// column of the row above, to the previous cell that is not 0.
Walk walkLostBack(RoundRecord& r);

// Undo of a loss: exactly one cell back, gaps included.
void stepBackOneLossCell(RoundRecord& r);

// Thrown by undo when its forward walk on the loss path runs past the last
// row: there is no hand to take back there, so the click is abandoned.
struct UndoStopped { };

} // namespace zelmar::walks
