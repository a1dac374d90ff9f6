#pragma once
// Everything the calculator knows about the round in progress and the rules
// it follows. The tables are shared, immutable values, so copying a record
// (as every click does, to roll back on failure) never copies a table.

#include "engine/Int16.h"
#include "engine/Tables.h"

#include <vector>

namespace zelmar {

enum class Direction : char {
    Origin, // no hand recorded in the round; the cursor is at (0, 0)
    Win, // the cursor is in the win sequence
    Loss, // the cursor is in the loss table
};

// "Z", "W" or "L": how a direction is shown and written.
const char* directionText(Direction d);

// A hand recorded in a round: the win button or the lose button.
enum class Hand : char { Win, Loss };

// Where the round stands and the cell it came from: what the grids mark.
struct Cursor {
    Direction direction = Direction::Origin;
    i16 curRow = 0;
    i16 curCol = 0;
    i16 lastRow = 0;
    i16 lastCol = 0;

    bool operator==(const Cursor&) const = default;
};

struct RoundRecord : Cursor {
    i16 stake = 1;
    i16 score = 0;
    WinSeqPtr winSeq; // null while never filled
    LostTablePtr lostTable; // null while never filled
    bool rulesMissing = false; // a rule file was empty or did not load
    std::vector<Hand> history; // the hands recorded in the round, oldest first
    // Only stepping back reads the history: a player that never steps back
    // (the simulator) turns this off and the history stays empty.
    bool keepHistory = true;

    const Cursor& cursor() const { return *this; }

    // The rules in use; a table never filled raises IndexError.
    const WinSeq& winRule() const;
    const LostTable& lostRule() const;
    // Checked reads of one cell.
    i16 win(long index) const { return winRule().at(index); }
    i16 lost(long row, long col) const { return lostRule().at(row, col); }

    // Tables compare by identity: a reload makes new ones.
    bool operator==(const RoundRecord&) const = default;
};

} // namespace zelmar
