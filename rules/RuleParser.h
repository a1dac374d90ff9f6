#pragma once
// Parsing the two rule texts into tables. A parse builds a new table and
// hands it back only when every item converted; on failure the caller keeps
// the table it had, and the error says where and why.
//
// Win text: one list, items split at every comma; line ends are not special.
// Loss text: lines split at every CR LF (a lone CR or LF stays in its line),
// each line a list split at commas; an empty line is a row of zeros. The
// table is as wide as the widest line needs by the character-count rule.
//
// A UTF-8 byte-order mark at the start of a text is skipped; a text that
// starts with a UTF-16 one is refused as a whole.

#include "engine/Tables.h"

#include <string>
#include <string_view>
#include <variant>

namespace zelmar {

struct ParseError {
    int line = 0; // 1-based; 0 for the win text, which has no lines
    int item = 0; // 1-based item of the line; 0 for limits of the whole text
    std::string itemText;
    std::string why; // in Chinese
};

template <typename Table> struct ParseResult {
    std::variant<Table, ParseError> value;
    bool ok() const { return value.index() == 0; }
    const Table& table() const { return std::get<0>(value); }
    Table& table() { return std::get<0>(value); }
    const ParseError& error() const { return std::get<1>(value); }
};

// Limits that come from 16-bit indexes.
inline constexpr long MaxItems = 32768;
inline constexpr long MaxLines = 32768;
inline constexpr long MaxLineChars = 65535;

ParseResult<WinSeq> ParseWinRule(std::string_view text);
ParseResult<LostTable> ParseLostRule(std::string_view text);

// Whether a text holds no rule at all: it is empty, or a byte-order mark
// alone. Such a text is not parsed; its table keeps what it held.
bool IsEmptyRuleText(std::string_view text);

// Width (highest column index) that the width rule gives to one line's length.
// Returns -1 for an empty line, which widens nothing.
long widthOfLine(long chars);

// "lostText.txt 第2行第3项“x”：why" style description.
std::string describe(const std::string& file, const ParseError& e);

} // namespace zelmar
