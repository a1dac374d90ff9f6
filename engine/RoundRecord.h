#pragma once
// Everything the calculator knows about the round in progress and the rules
// it follows. The tables are shared, immutable values, so copying a record
// (as every click does, to roll back on failure) never copies a table.

#include "engine/Int16.h"
#include "engine/Tables.h"

#include <string>

namespace zelmar {

enum class Direction : char {
    Origin, // no hand recorded in the round; the cursor is at (0, 0)
    Win, // the cursor is in the win sequence
    Loss, // the cursor is in the loss table
};

// "Z", "W" or "L": how a direction is shown and written.
const char* directionText(Direction d);

struct RoundRecord {
    Direction direction = Direction::Origin;
    i16 curRow = 0;
    i16 curCol = 0;
    i16 lastRow = 0;
    i16 lastCol = 0;
    i16 stake = 1;
    i16 score = 0;
    WinSeqPtr winSeq; // null while never filled
    LostTablePtr lostTable; // null while never filled
    i16 rulesMissing = 0;
    std::string history; // '1' per recorded win, '0' per recorded loss

    // Checked reads; a table never filled has no cells.
    i16 win(long index) const;
    i16 lost(long row, long col) const;

    // Tables compare by identity: a reload makes new ones.
    bool operator==(const RoundRecord&) const = default;
};

} // namespace zelmar
