#include "RuleParser.h"

#include "Convert16.h"

#include <optional>

namespace zelmar {

namespace {

constexpr std::string_view CrLf = "\r\n";

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
            = list.substr(start, comma == std::string_view::npos ? list.npos : comma - start);
        if (!onItem(index, item))
            return false;
        if (comma == std::string_view::npos)
            return true;
        start = comma + 1;
        ++index;
    }
}

} // namespace

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
    long parts = 1;
    for (char c : text)
        parts += c == ',';
    if (parts > MaxItems)
        return { limitError(0, "共有 " + decimal(parts) + " 项，超过了 32768 项的上限（溢出）") };

    std::vector<i16> values;
    values.reserve(static_cast<std::size_t>(parts));
    std::optional<ParseError> failure;
    forEachItem(text, [&](long index, std::string_view item) {
        const Converted c = convert16(item);
        if (c.status != ConvertStatus::Ok) {
            failure = itemError(0, static_cast<int>(index + 1), item, c.status);
            return false;
        }
        values.push_back(c.value);
        return true;
    });
    if (failure)
        return { *failure };
    return { WinSeq(std::move(values)) };
}

ParseResult<LostTable> ParseLostRule(std::string_view text)
{
    // First pass: the number of lines and the width, before anything is stored.
    long lines = 0;
    long width = 0;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(CrLf, start);
        const long chars = static_cast<long>((end == text.npos ? text.size() : end) - start);
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
        if (end == text.npos)
            break;
        start = end + CrLf.size();
    }

    LostTable table;
    table.setCols(static_cast<int>(width + 1));
    std::optional<ParseError> failure;
    long lineNo = 0;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(CrLf, start);
        const std::string_view line = text.substr(start, end == text.npos ? text.npos : end - start);
        ++lineNo;
        if (!line.empty()) {
            forEachItem(line, [&](long index, std::string_view item) {
                // The column is tested before the item is converted.
                if (index > width) {
                    failure = ParseError { static_cast<int>(lineNo), static_cast<int>(index + 1),
                        shortened(item), "超出了表格的宽度（共 " + decimal(width + 1) + " 列，下标越界）" };
                    return false;
                }
                const Converted c = convert16(item);
                if (c.status != ConvertStatus::Ok) {
                    failure
                        = itemError(static_cast<int>(lineNo), static_cast<int>(index + 1), item, c.status);
                    return false;
                }
                table.pushItem(c.value);
                return true;
            });
            if (failure)
                return { *failure };
        }
        table.endRow();
        if (end == text.npos)
            break;
        start = end + CrLf.size();
    }
    return { std::move(table) };
}

std::string describe(const std::string& file, const ParseError& e)
{
    std::string where = file;
    if (e.line > 0)
        where += " 第" + decimal(e.line) + "行";
    if (e.item > 0)
        where += " 第" + decimal(e.item) + "项“" + e.itemText + "”";
    return "规则文件有错，没有加载：" + where + "：" + e.why;
}

} // namespace zelmar
