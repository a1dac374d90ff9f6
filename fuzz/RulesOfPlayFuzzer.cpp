// Clicks in any order on any rules.
//
// An input reads like a replay script: the win text, a NUL byte, the loss
// text, a NUL byte, then one byte per event: W (win), L (loss), B (step
// back), R (start over) and S (reload; the two new texts follow it, each
// ended by a NUL byte). Any other byte stands for one of these events too, so
// that every mutation plays. The committed corpus starts from real rule files.
//
// After every event the round must be sound:
//  - a click that reports a failure leaves the record exactly as it was and
//    shows nothing else: no notice, no totals, no mark changed;
//  - the score moves by exactly the stake of the hand (computed here without
//    a 16-bit limit, so a wrapped sum cannot pass), and step back takes back
//    exactly the stake it restores;
//  - at the origin the cursor is at (0, 0); every mark lies inside its grid,
//    and the grids have the shape of the tables in use;
//  - a reload never moves the round, and keeps a table whose text is empty
//    or does not parse.

#include "fuzz/FuzzSupport.h"

#include "engine/RoundEvents.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

using namespace zelmar;

namespace {

// Reads a text up to the next NUL byte (or the end of the input).
std::string takeText(const std::uint8_t*& p, const std::uint8_t* end)
{
    const std::uint8_t* nul = std::find(p, end, 0);
    std::string text(p, nul);
    p = nul == end ? end : nul + 1;
    return text;
}

Event eventOfByte(std::uint8_t b)
{
    if (const auto named = eventOf(static_cast<char>(b)))
        return *named;
    return eventOf("WLBRWLBRWS"[b % 10]).value(); // any other byte is an event too
}

bool atOrigin(const RoundRecord& r)
{
    return r.direction == Direction::Origin && r.curRow == 0 && r.curCol == 0 && r.lastRow == 0
        && r.lastCol == 0 && r.stake == 1 && r.score == 0 && r.history.empty();
}

// Every mark of both grids, and whether each is plain black.
std::string marksOf(const SequenceGrids& grids)
{
    std::string all;
    for (const SequenceGrid* g : { &grids.win(), &grids.lost() }) {
        all += g->plainBlack() ? "black:" : "default:";
        for (const CellMark& m : g->marks())
            all += std::to_string(m.row) + "," + std::to_string(m.col) + (m.style.bold ? ",bold," : ",plain,")
                + std::to_string(static_cast<int>(m.style.color)) + ";";
    }
    return all;
}

// The score stated by an end-of-round notice, if the text is one.
std::optional<long> endScore(const std::string& text)
{
    for (const char* prefix : { notices::EndOfSequence, notices::LostOnWinSide, notices::TurnedOnLossSide }) {
        const std::string p(prefix);
        if (text.compare(0, p.size(), p) == 0)
            return std::stol(text.substr(p.size()));
    }
    return std::nullopt;
}

void checkSound(const RoundRecord& r, const SequenceGrids& grids)
{
    FUZZ_CHECK(
        r.direction == Direction::Origin || r.direction == Direction::Win || r.direction == Direction::Loss);
    if (r.direction == Direction::Origin)
        FUZZ_CHECK(r.curRow == 0 && r.curCol == 0);
    for (Hand h : r.history)
        FUZZ_CHECK(h == Hand::Win || h == Hand::Loss);

    const SequenceGrid& win = grids.win();
    const SequenceGrid& lost = grids.lost();
    if (r.winSeq)
        FUZZ_CHECK(win.rows() == 1 && win.cols() == r.winSeq->size());
    if (r.lostTable)
        FUZZ_CHECK(lost.rows() == r.lostTable->rows() && lost.cols() == r.lostTable->cols());
    for (const SequenceGrid* g : { &win, &lost })
        for (const CellMark& m : g->marks())
            FUZZ_CHECK(m.row >= 0 && m.col >= 0 && m.row < g->rows() && m.col < g->cols());
}

// A win or a loss that went through.
void checkHand(Event event, const RoundRecord& before, const RoundRecord& r, const HeadlessView& view,
    const SequenceGrids& grids)
{
    const Hand hand = event == Event::Win ? Hand::Win : Hand::Loss;
    std::vector<Hand> grown = before.history;
    grown.push_back(hand);
    if (before.rulesMissing) {
        RoundRecord expected = before;
        expected.history = grown;
        FUZZ_CHECK(r == expected);
        FUZZ_CHECK(view.notices.size() == 1 && view.calls() == 0);
        return;
    }
    const long score
        = event == Event::Win ? long { before.score } + before.stake : long { before.score } - before.stake;
    std::optional<long> ended;
    for (const auto& text : view.notices) {
        FUZZ_CHECK(!ended); // one round ends at most once per click
        ended = endScore(text);
        FUZZ_CHECK(ended.has_value());
    }
    if (ended) {
        FUZZ_CHECK(*ended == score);
        FUZZ_CHECK(atOrigin(r));
    } else {
        FUZZ_CHECK(r.score == score);
        FUZZ_CHECK(r.history == grown);
        FUZZ_CHECK(r.direction != Direction::Origin);
        // The cursor's cell is marked in the grid of the path.
        const SequenceGrid& g = grids.grid(r.direction);
        const int row = r.direction == Direction::Win ? 0 : r.curRow;
        FUZZ_CHECK(g.style(row, r.curCol).bold);
    }
    FUZZ_CHECK(view.shownScore == decimal(r.score) && view.shownStake == decimal(r.stake));
}

void checkStepBack(const RoundRecord& before, const RoundRecord& r, const HeadlessView& view)
{
    if (before.direction == Direction::Origin) {
        FUZZ_CHECK(view.notices.size() == 1 && view.notices[0] == notices::AtOrigin);
        FUZZ_CHECK(r == before);
        return;
    }
    FUZZ_CHECK(view.notices.empty());
    if (r.history == before.history) {
        // Nothing to take back, or a walk that found no cell: only the
        // cursor may have been redrawn.
        FUZZ_CHECK(r.score == before.score && r.stake == before.stake && r.direction == before.direction);
        FUZZ_CHECK(r.curRow == before.curRow && r.curCol == before.curCol);
        return;
    }
    FUZZ_CHECK(!before.history.empty());
    const Hand undone = before.history.back();
    FUZZ_CHECK(r.history == std::vector<Hand>(before.history.begin(), before.history.end() - 1));
    if (undone == Hand::Win)
        FUZZ_CHECK(long { r.score } == long { before.score } - r.stake);
    else if (before.direction == Direction::Loss)
        FUZZ_CHECK(long { r.score } == long { before.score } + r.stake);
    else
        FUZZ_CHECK(r.score == before.score);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::uint8_t* p = data;
    const std::uint8_t* const end = data + size;
    MemoryFileService memory;
    HeadlessView view;
    Calculator calc("rules", view, memory);
    const RuleFiles files("rules", memory);
    const auto putTexts = [&](const std::string& win, const std::string& lost) {
        memory.files = { { files.winPath(), win }, { files.lostPath(), lost } };
    };

    std::string winText = takeText(p, end);
    std::string lostText = takeText(p, end);
    putTexts(winText, lostText);
    calc.StartUp();
    FUZZ_CHECK(atOrigin(calc.Record()));
    checkSound(calc.Record(), calc.Grids());

    while (p != end) {
        const Event event = eventOfByte(*p++);
        const RoundRecord before = calc.Record();
        const std::string marksBefore = marksOf(calc.Grids());
        if (event == Event::Reload) {
            winText = takeText(p, end);
            lostText = takeText(p, end);
            putTexts(winText, lostText);
        }
        view.startStep();
        calc.Play(event);

        const RoundRecord& r = calc.Record();
        checkSound(r, calc.Grids());
        if (event == Event::Reload) {
            fuzz::checkLoaded(winText, lostText, before, r, view);
        } else if (!view.failures.empty()) {
            FUZZ_CHECK(view.failures.size() == 1 && r == before && marksOf(calc.Grids()) == marksBefore);
            FUZZ_CHECK(view.notices.empty() && view.calls() == 0 && view.fills == 0);
        } else if (event == Event::Back) {
            checkStepBack(before, r, view);
        } else if (event == Event::Reset) {
            FUZZ_CHECK(view.notices == std::vector<std::string> { notices::StartedOver } && atOrigin(r));
        } else {
            checkHand(event, before, r, view, calc.Grids());
        }
    }
    return 0;
}
