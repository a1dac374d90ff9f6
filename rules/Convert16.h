#pragma once
// The 16-bit conversion of a rule item: an optional sign, digits with an
// optional decimal point and fraction, and blanks, tabs, CR or LF around it.
// A fraction is rounded exactly in decimal, a half going to the even
// neighbour. Nothing else is a number: no exponent, grouping or hex.

#include <cstdint>
#include <string_view>

namespace zelmar {

enum class ConvertStatus { Ok, Empty, NotNumber, OutOfRange };

struct Converted {
    ConvertStatus status;
    std::int16_t value;
};

Converted convert16(std::string_view item);

} // namespace zelmar
