#include "rules/Convert16.h"

namespace zelmar {

namespace {
bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
} // namespace

Converted convert16(std::string_view item)
{
    std::size_t b = 0;
    std::size_t e = item.size();
    while (b < e && isBlank(item[b]))
        ++b;
    while (e > b && isBlank(item[e - 1]))
        --e;
    if (b == e)
        return { ConvertStatus::Empty, 0 };

    const bool negative = item[b] == '-';
    if (item[b] == '-' || item[b] == '+')
        ++b;

    // Integer part, kept only while it can still be in range.
    long magnitude = 0;
    bool anyDigit = false;
    bool tooLarge = false;
    std::size_t i = b;
    for (; i < e && isDigit(item[i]); ++i) {
        anyDigit = true;
        if (!tooLarge) {
            magnitude = magnitude * 10 + (item[i] - '0');
            if (magnitude > 100000)
                tooLarge = true;
        }
    }
    // Fraction: its first digit decides the rounding, the rest only whether
    // a 5 is exactly half.
    int firstFraction = -1;
    bool restNonZero = false;
    if (i < e && item[i] == '.') {
        ++i;
        for (; i < e && isDigit(item[i]); ++i) {
            anyDigit = true;
            if (firstFraction < 0)
                firstFraction = item[i] - '0';
            else if (item[i] != '0')
                restNonZero = true;
        }
    }
    if (i != e || !anyDigit)
        return { ConvertStatus::NotNumber, 0 };
    if (tooLarge)
        return { ConvertStatus::OutOfRange, 0 };

    // Round half to even, exactly.
    if (firstFraction > 5 || (firstFraction == 5 && (restNonZero || magnitude % 2 == 1)))
        ++magnitude;
    const long value = negative ? -magnitude : magnitude;
    if (value < -32768 || value > 32767)
        return { ConvertStatus::OutOfRange, 0 };
    return { ConvertStatus::Ok, static_cast<std::int16_t>(value) };
}

} // namespace zelmar
