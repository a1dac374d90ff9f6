// Any bytes as the win text and as the loss text.
//
// Each text is parsed by the program and by a plain re-reading below that
// splits into strings and converts each item on its own, and the two must
// agree: on success the table has the shape the width rule gives and each
// cell holds its item's value (or 0 past the end of its line); on failure
// both stop at the same line and item. Then the text is loaded into a round
// that already holds other rules: a text that does not parse must leave the
// old table exactly as it was, raise rulesMissing and be reported once, by
// its file's name, while the other file still loads.
//
// An input starting with two NUL bytes is stretched: the two bytes after them
// give a length between 64000 and 68000, and the rest is repeated up to it, so
// that the limits (65535 characters in a line, 32768 lines or items) are
// crossed as well.

#include "FuzzSupport.h"

#include "rules/LoadRules.h"
#include "rules/RuleParser.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using namespace zelmar;

namespace {

struct RefError {
    long line;
    long item;
};

// The re-reading is left out of the coverage that steers the fuzzer: only
// the program's own branches should count as new ground.
#define NOT_STEERING __attribute__((no_sanitize("coverage")))

NOT_STEERING std::vector<std::string> splitAt(std::string_view text, std::string_view sep)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(sep, start)) != std::string_view::npos; start = at + sep.size())
        parts.emplace_back(text.substr(start, at - start));
    parts.emplace_back(text.substr(start));
    return parts;
}

// An item read by its parts as strings: sign, whole digits, fraction digits.
NOT_STEERING std::optional<long> refConvert(std::string item)
{
    const std::string blanks = " \t\r\n";
    const auto first = item.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::nullopt;
    item = item.substr(first, item.find_last_not_of(blanks) - first + 1);

    bool negative = false;
    if (item[0] == '+' || item[0] == '-') {
        negative = item[0] == '-';
        item.erase(0, 1);
    }
    const auto dot = item.find('.');
    std::string whole = item.substr(0, dot);
    std::string fraction = dot == std::string::npos ? "" : item.substr(dot + 1);
    if (whole.empty() && fraction.empty())
        return std::nullopt;
    for (const std::string* s : { &whole, &fraction })
        for (char c : *s)
            if (c < '0' || c > '9')
                return std::nullopt;

    whole.erase(
        0, whole.find_first_not_of('0') == std::string::npos ? whole.size() : whole.find_first_not_of('0'));
    if (whole.size() > 5)
        return std::nullopt;
    long value = whole.empty() ? 0 : std::stol(whole);
    // Compare the fraction with one half as digit strings.
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    if (fraction > "5" || (fraction == "5" && value % 2 == 1))
        ++value;
    if (negative)
        value = -value;
    if (value < -32768 || value > 32767)
        return std::nullopt;
    return value;
}

struct RefWin {
    std::optional<RefError> error;
    std::vector<long> values;
};

NOT_STEERING RefWin refParseWin(std::string_view text)
{
    RefWin out;
    const auto items = splitAt(text, ",");
    if (items.size() > 32768) {
        out.error = RefError { 0, 0 };
        return out;
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto v = refConvert(items[i]);
        if (!v) {
            out.error = RefError { 0, static_cast<long>(i) + 1 };
            return out;
        }
        out.values.push_back(*v);
    }
    return out;
}

struct RefLost {
    std::optional<RefError> error;
    long width = 0; // highest column index
    std::vector<std::vector<long>> rows;
};

NOT_STEERING RefLost refParseLost(std::string_view text)
{
    RefLost out;
    const auto lines = splitAt(text, "\r\n");
    double width = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i + 1 > 32768) {
            out.error = RefError { 0, 0 };
            return out;
        }
        const double half = (static_cast<double>(lines[i].size()) - 1) / 2;
        if (width < half)
            width = std::nearbyint(half); // the default rounding goes to even
        if (width > 32767) {
            out.error = RefError { static_cast<long>(i) + 1, 0 };
            return out;
        }
    }
    out.width = static_cast<long>(width);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::vector<long> row;
        if (!lines[i].empty()) {
            const auto items = splitAt(lines[i], ",");
            for (std::size_t j = 0; j < items.size(); ++j) {
                const long line = static_cast<long>(i) + 1;
                const long item = static_cast<long>(j) + 1;
                if (static_cast<long>(j) > out.width) {
                    out.error = RefError { line, item };
                    return out;
                }
                const auto v = refConvert(items[j]);
                if (!v) {
                    out.error = RefError { line, item };
                    return out;
                }
                row.push_back(*v);
            }
        }
        out.rows.push_back(std::move(row));
    }
    return out;
}

bool throwsIndexError(const LostTable& t, long row, long col)
{
    try {
        t.at(row, col);
    } catch (const IndexError&) {
        return true;
    }
    return false;
}

void checkWin(std::string_view text)
{
    const auto parsed = ParseWinRule(text);
    const RefWin ref = refParseWin(text);
    FUZZ_CHECK(parsed.ok() == !ref.error);
    if (ref.error) {
        FUZZ_CHECK(parsed.error().line == ref.error->line);
        FUZZ_CHECK(parsed.error().item == ref.error->item);
        FUZZ_CHECK(!parsed.error().why.empty());
        return;
    }
    const WinSeq& seq = parsed.table();
    FUZZ_CHECK(seq.size() == static_cast<int>(ref.values.size()));
    for (int i = 0; i < seq.size(); ++i)
        FUZZ_CHECK(seq.at(i) == ref.values[static_cast<std::size_t>(i)]);
}

void checkLost(std::string_view text)
{
    const auto parsed = ParseLostRule(text);
    const RefLost ref = refParseLost(text);
    FUZZ_CHECK(parsed.ok() == !ref.error);
    if (ref.error) {
        FUZZ_CHECK(parsed.error().line == ref.error->line);
        FUZZ_CHECK(parsed.error().item == ref.error->item);
        FUZZ_CHECK(!parsed.error().why.empty());
        return;
    }
    const LostTable& t = parsed.table();
    FUZZ_CHECK(t.rows() == static_cast<int>(ref.rows.size()));
    FUZZ_CHECK(t.cols() == ref.width + 1);
    FUZZ_CHECK(throwsIndexError(t, t.rows(), 0) && throwsIndexError(t, 0, t.cols()));
    FUZZ_CHECK(throwsIndexError(t, -1, 0) && throwsIndexError(t, 0, -1));
    for (int r = 0; r < t.rows(); ++r) {
        const auto& row = ref.rows[static_cast<std::size_t>(r)];
        const int items = static_cast<int>(row.size());
        for (int c = 0; c < items; ++c)
            FUZZ_CHECK(t.at(r, c) == row[static_cast<std::size_t>(c)]);
        // Past the line's items every cell is 0; look at the first few and
        // the last rather than at every cell of a huge, mostly empty table.
        for (int c = items; c < t.cols() && c < items + 3; ++c)
            FUZZ_CHECK(t.at(r, c) == 0);
        if (items < t.cols())
            FUZZ_CHECK(t.at(r, t.cols() - 1) == 0);
    }
}

// Loads `text` as one rule file into a round that holds good rules already,
// the other file holding good rules of its own.
void checkLoad(std::string_view text, bool asWin)
{
    const std::string oldWin = "1,1,2,3";
    const std::string oldLost = "1,2,3\r\n2,4,6,8";
    const std::string otherWin = "5,0,7";
    const std::string otherLost = "9,8\r\n\r\n7";

    fuzz::MemoryFileService fs;
    RuleFiles files("rules", fs);
    HeadlessView view;
    Round round(view);
    fs.put(files.winPath(), oldWin);
    fs.put(files.lostPath(), oldLost);
    StartUp(round, files);
    FUZZ_CHECK(view.failures.empty() && round.record().rulesMissing == 0);
    const WinSeqPtr winBefore = round.record().winSeq;
    const LostTablePtr lostBefore = round.record().lostTable;
    const std::vector<i16> winValuesBefore = winBefore->values();

    fs.put(files.winPath(), asWin ? std::string(text) : otherWin);
    fs.put(files.lostPath(), asWin ? otherLost : std::string(text));
    view.startStep();
    LoadRules(round, files);
    const RoundRecord& r = round.record();
    FUZZ_CHECK(view.fills == 1);

    const bool parses = asWin ? ParseWinRule(text).ok() : ParseLostRule(text).ok();
    const bool kept = asWin ? r.winSeq == winBefore : r.lostTable == lostBefore;
    const bool otherLoaded = asWin ? r.lostTable != lostBefore : r.winSeq != winBefore;
    FUZZ_CHECK(otherLoaded);
    if (text.empty()) {
        FUZZ_CHECK(kept && r.rulesMissing == 1 && view.failures.empty());
    } else if (!parses) {
        FUZZ_CHECK(kept && r.rulesMissing == 1);
        FUZZ_CHECK(view.failures.size() == 1);
        FUZZ_CHECK(view.failures[0].find(asWin ? WinFileName : LostFileName) != std::string::npos);
    } else {
        FUZZ_CHECK(!kept && r.rulesMissing == 0 && view.failures.empty());
    }
    // The old table itself is never touched, kept or not.
    FUZZ_CHECK(winBefore->values() == winValuesBefore);
    FUZZ_CHECK(lostBefore->rows() == 2 && lostBefore->cols() == 4 && lostBefore->at(0, 3) == 0
        && lostBefore->at(1, 3) == 8);
    // The grids show the tables now in use.
    FUZZ_CHECK(view.grids.win().rows() == 1 && view.grids.win().cols() == r.winSeq->size());
    FUZZ_CHECK(
        view.grids.lost().rows() == r.lostTable->rows() && view.grids.lost().cols() == r.lostTable->cols());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    const bool stretched = size >= 5 && data[0] == 0 && data[1] == 0;
    if (stretched) {
        const std::size_t length = 64000 + ((std::size_t { data[2] } << 8 | data[3]) % 4000);
        const std::string unit = text.substr(4);
        text.clear();
        while (text.size() < length)
            text += unit;
    }
    checkWin(text);
    checkLost(text);
    if (stretched)
        return 0; // loading goes through the same parse; small inputs cover it
    checkLoad(text, true);
    checkLoad(text, false);
    return 0;
}
