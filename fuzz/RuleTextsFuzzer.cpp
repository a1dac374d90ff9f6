// Any bytes as the win text and as the loss text.
//
// Each text is parsed by the program and by a plain re-reading below (split
// into strings, each item converted on its own), and the two must agree: on
// success the table has the shape of the width rule and each cell holds its
// item's value, or 0 past the end of its line; on failure both stop at the
// same line and item. Then the text is loaded beside a good other file into a
// round that holds good rules (see fuzz::checkLoaded).
//
// An input starting with two NUL bytes is stretched: the two bytes after them
// give a length between 64000 and 68000, and the rest is repeated up to it, so
// that the limits (65535 characters in a line, 32768 lines or items) are
// crossed as well.

#include "fuzz/FuzzSupport.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using namespace zelmar;

namespace {

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

// What the re-reading finds: where it failed (line and item), or the rows
// of values (one row for the win text) and the loss text's highest column.
struct Ref {
    std::optional<std::pair<long, long>> error;
    long width = 0;
    std::vector<std::vector<long>> rows;
};

// Adds the items of line `line` as a row, or the place of the first that fails.
NOT_STEERING void refRow(const std::vector<std::string>& items, long line, long width, Ref& out)
{
    auto& row = out.rows.emplace_back();
    for (std::size_t j = 0; j < items.size(); ++j) {
        const auto v = refConvert(items[j]);
        if (static_cast<long>(j) > width || !v) {
            out.error = { { line, static_cast<long>(j) + 1 } };
            return;
        }
        row.push_back(*v);
    }
}

// Notepad's marks at the start of a file: a UTF-8 one is read as if it were
// not there; a UTF-16 one refuses the whole text. False when refused.
NOT_STEERING bool refUnmark(std::string_view& text, Ref& out)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
        return true;
    }
    if (text.substr(0, 2) == "\xFF\xFE" || text.substr(0, 2) == "\xFE\xFF") {
        out.error = { { 0, 0 } };
        return false;
    }
    return true;
}

NOT_STEERING Ref refParseWin(std::string_view text)
{
    Ref out;
    if (!refUnmark(text, out))
        return out;
    const auto items = splitAt(text, ",");
    if (items.size() > 32768)
        out.error = { { 0, 0 } };
    else
        refRow(items, 0, 32767, out);
    return out;
}

NOT_STEERING Ref refParseLost(std::string_view text)
{
    Ref out;
    if (!refUnmark(text, out))
        return out;
    const auto lines = splitAt(text, "\r\n");
    double width = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const double half = (static_cast<double>(lines[i].size()) - 1) / 2;
        if (width < half)
            width = std::nearbyint(half); // the default rounding goes to even
        if (i == 32768 || width > 32767) {
            out.error = { { i == 32768 ? 0 : static_cast<long>(i) + 1, 0 } };
            return out;
        }
    }
    out.width = static_cast<long>(width);
    for (std::size_t i = 0; i < lines.size() && !out.error; ++i)
        refRow(lines[i].empty() ? std::vector<std::string> {} : splitAt(lines[i], ","),
            static_cast<long>(i) + 1, out.width, out);
    return out;
}

// Both fail at the same place, or both succeed; true when they succeeded.
template <typename Parsed> bool sameOutcome(const Parsed& parsed, const Ref& ref)
{
    FUZZ_CHECK(parsed.ok() == !ref.error);
    if (ref.error)
        FUZZ_CHECK(parsed.error().line == ref.error->first && parsed.error().item == ref.error->second
            && !parsed.error().why.empty());
    return parsed.ok();
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
    const Ref ref = refParseWin(text);
    if (!sameOutcome(parsed, ref))
        return;
    const WinSeq& seq = parsed.table();
    FUZZ_CHECK(seq.size() == static_cast<int>(ref.rows[0].size()));
    for (int i = 0; i < seq.size(); ++i)
        FUZZ_CHECK(seq.at(i) == ref.rows[0][static_cast<std::size_t>(i)]);
}

void checkLost(std::string_view text)
{
    const auto parsed = ParseLostRule(text);
    const Ref ref = refParseLost(text);
    if (!sameOutcome(parsed, ref))
        return;
    const LostTable& t = parsed.table();
    FUZZ_CHECK(t.rows() == static_cast<int>(ref.rows.size()) && t.cols() == ref.width + 1);
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
        FUZZ_CHECK(items == t.cols() || t.at(r, t.cols() - 1) == 0);
    }
}

// Loads `text` as one rule file, the other holding good rules, into a round
// that holds other good rules already.
void checkLoad(const std::string& text, bool asWin)
{
    MemoryFileService memory;
    HeadlessView view;
    Calculator calc("rules", view, memory);
    const RuleFiles files("rules", memory);
    memory.files = { { files.winPath(), "1,1,2,3" }, { files.lostPath(), "1,2,3\r\n2,4,6,8" } };
    calc.StartUp();
    const RoundRecord before = calc.Record();
    const std::string win = asWin ? text : "5,0,7";
    const std::string lost = asWin ? "9,8\r\n\r\n7" : text;
    memory.files = { { files.winPath(), win }, { files.lostPath(), lost } };
    view.startStep();
    calc.LoadRules();
    fuzz::checkLoaded(win, lost, before, calc.Record(), view);
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
