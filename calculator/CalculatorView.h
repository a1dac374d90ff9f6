#pragma once
// What a running calculator tells the one who shows it (the main window, or
// HeadlessView for the tools and tests). Each call reports a change already
// made in the calculator's state, in the order the user is to see them.

#include "engine/Int16.h"
#include "engine/SequenceGrid.h"
#include "engine/Tables.h"

#include <string>
#include <vector>

namespace zelmar {

class CalculatorView {
public:
    virtual ~CalculatorView() = default;

    // The score and stake boxes.
    virtual void showTotals(i16 score, i16 stake) = 0;
    // The marks of these cells of the grids changed.
    virtual void cellsChanged(const std::vector<SequenceGrids::Changed>& cells) = 0;
    // Both grids are rebuilt for new rules: the grids change shape between
    // the two calls. The tables are those now in use; a null one was never
    // filled.
    virtual void beginFill() = 0;
    virtual void endFill(const WinSeqPtr& winSeq, const LostTablePtr& lostTable) = 0;
    // A modal notice with an OK button and the application's title.
    virtual void notice(const std::string& text) = 0;
    // Something that failed and changed nothing: a click that overflowed, a
    // rule file that could not be read or parsed.
    virtual void reportFailure(const std::string& text) = 0;
};

} // namespace zelmar
