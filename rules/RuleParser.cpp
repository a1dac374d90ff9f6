#include "rules/RuleParser.h"

#include "rules/Convert16.h"

#include <algorithm>
#include <optional>

namespace zelmar {

namespace {

constexpr std::string_view CrLf = "\r\n";
constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";

// Notepad starts a file saved as "UTF-8 with BOM" with a byte-order mark,
// which is read as if it were not there. A file saved as "Unicode" (UTF-16,
// either byte order) holds no text the rules can be read from.
std::optional<ParseError> markedText(std::string_view& text)
{
    if (text.substr(0, Utf8Mark.size()) == Utf8Mark) {
        text.remove_prefix(Utf8Mark.size());
        return std::nullopt;
    }
    const std::string_view start = text.substr(0, 2);
    if (start == "\xFF\xFE" || start == "\xFE\xFF")
        return ParseError { 0, 0, {},
            "文件是 UTF-16 编码（记事本的“Unicode”）的，读不了。请用记事本打开它，“另存为”时把编码选为 ANSI "
            "或 "
            "UTF-8，再保存" };
    return std::nullopt;
}

// An item is quoted in a report; a very long one is cut.
std::string shortened(std::string_view text)
{
    constexpr std::size_t Keep = 40;
    if (text.size() <= Keep)
        return std::string(text);
    return std::string(text.substr(0, Keep)) + "…";
}

ParseError itemError(int line, int item, std::string_view text, ConvertStatus status)
{
    std::string why;
    switch (status) {
    case ConvertStatus::Empty:
        why = "是空的（两个逗号之间或行首行尾的逗号旁没有数字）";
        break;
    case ConvertStatus::NotNumber:
        why = "不是数字（类型不匹配）";
        break;
    default:
        why = "超出了 -32768 到 32767 的范围（溢出）";
        break;
    }
    return { line, item, shortened(text), why };
}

ParseError limitError(int line, std::string why)
{
    return { line, 0, {}, std::move(why) };
}

// Calls onItem(index, text) for each comma-separated item of `list`; stops
// and returns false as soon as onItem does.
template <typename F> bool forEachItem(std::string_view list, F&& onItem)
{
    long index = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = list.find(',', start);
        const std::string_view item
            = list.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        if (!onItem(index, item))
            return false;
        if (comma == std::string_view::npos)
            return true;
        start = comma + 1;
        ++index;
    }
}

} // namespace

bool IsEmptyRuleText(std::string_view text)
{
    return text.empty() || text == Utf8Mark;
}

long widthOfLine(long chars)
{
    if (chars == 0)
        return -1;
    // h = (chars - 1) / 2, rounded half to even.
    const long twiceH = chars - 1;
    const long floorH = twiceH / 2;
    if (twiceH % 2 == 0)
        return floorH;
    return floorH % 2 == 0 ? floorH : floorH + 1;
}

ParseResult<WinSeq> ParseWinRule(std::string_view text)
{
    if (auto e = markedText(text))
        return { *e };
    std::vector<i16> values;
    std::optional<ParseError> failure;
    long parts = 0;
    forEachItem(text, [&](long index, std::string_view item) {
        parts = index + 1;
        if (parts > MaxItems)
            return false;
        const Converted c = convert16(item);
        if (c.status != ConvertStatus::Ok) {
            failure = itemError(0, static_cast<int>(index + 1), item, c.status);
            return false;
        }
        values.push_back(c.value);
        return true;
    });
    // Too many items is the failure even where an earlier item did not convert.
    if (failure || parts > MaxItems) {
        parts = 1 + static_cast<long>(std::count(text.begin(), text.end(), ','));
        if (parts > MaxItems)
            return { limitError(0, "共有 " + decimal(parts) + " 项，超过了 32768 项的上限（溢出）") };
        return { *failure };
    }
    return { WinSeq(std::move(values)) };
}

namespace {

// The text of item `index` (0-based) of line `lineNo` (1-based).
std::string_view itemAt(std::string_view text, long lineNo, long index)
{
    std::size_t start = 0;
    for (long n = 1; n < lineNo; ++n)
        start = text.find(CrLf, start) + CrLf.size();
    const std::string_view line = text.substr(start, text.find(CrLf, start) - start);
    std::string_view found;
    forEachItem(line, [&](long i, std::string_view item) {
        found = item;
        return i < index;
    });
    return found;
}

ParseError beyondWidth(std::string_view text, long lineNo, long cols)
{
    return { static_cast<int>(lineNo), static_cast<int>(cols + 1), shortened(itemAt(text, lineNo, cols)),
        "超出了表格的宽度（共 " + decimal(cols) + " 列，下标越界）" };
}

} // namespace

// One pass over the text: each line widens the table by the width rule and
// its items are stored as they are read. The width is known only at the end,
// so whether every item fell inside it is checked then; a failure is the one
// the line-by-line reading would meet first, the column being tested before
// the item is converted, and the limits coming before any item.
ParseResult<LostTable> ParseLostRule(std::string_view text)
{
    if (auto e = markedText(text))
        return { *e };
    LostTable table;
    std::optional<ParseError> itemFailure;
    long lines = 0;
    long width = 0;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(CrLf, start);
        const std::string_view line
            = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        const long chars = static_cast<long>(line.size());
        ++lines;
        if (lines > MaxLines)
            return { limitError(0, "行数超过了 32768 行的上限（溢出）") };
        // A line is compared with its unrounded half-length; the stored width
        // is the rounded one.
        if (2 * width < chars - 1) {
            width = widthOfLine(chars);
            if (width > 32767)
                return { limitError(static_cast<int>(lines),
                    "这一行有 " + decimal(chars) + " 个字符，超过了 65535 个字符的上限（溢出）") };
        }
        if (!itemFailure) {
            if (!line.empty()) {
                forEachItem(line, [&](long index, std::string_view item) {
                    const Converted c = convert16(item);
                    if (c.status != ConvertStatus::Ok) {
                        itemFailure
                            = itemError(static_cast<int>(lines), static_cast<int>(index + 1), item, c.status);
                        return false;
                    }
                    table.pushItem(c.value);
                    return true;
                });
            }
            if (!itemFailure)
                table.endRow();
        }
        if (end == std::string_view::npos)
            break;
        start = end + CrLf.size();
    }

    const long cols = width + 1;
    for (int row = 0; row < table.rows(); ++row) {
        if (table.rowLength(row) > cols)
            return { beyondWidth(text, row + 1, cols) };
    }
    if (itemFailure) {
        // Items of the failing line before the failing one were read already.
        if (itemFailure->item - 1 >= cols)
            return { beyondWidth(text, itemFailure->line, cols) };
        return { *itemFailure };
    }
    table.setCols(static_cast<int>(cols));
    return { std::move(table) };
}

namespace {

// An item as a report shows it: a byte-order mark and control characters,
// which a reader cannot see, named by their code instead.
std::string visible(const std::string& text)
{
    static const char* const hex = "0123456789ABCDEF";
    constexpr std::string_view Bom = "\xEF\xBB\xBF";
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (text.compare(i, Bom.size(), Bom) == 0) {
            out += "<U+FEFF>";
            i += Bom.size() - 1;
        } else if (c < 0x20 || c == 0x7F) {
            out += std::string("<U+00") + hex[c >> 4] + hex[c & 15] + ">";
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

std::string describe(const std::string& file, const ParseError& e)
{
    std::string where = file;
    if (e.line > 0)
        where += " 第" + decimal(e.line) + "行";
    if (e.item > 0)
        where += " 第" + decimal(e.item) + "项“" + visible(e.itemText) + "”";
    return "规则文件有错，没有加载：" + where + "：" + e.why;
}

} // namespace zelmar
