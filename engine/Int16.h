#pragma once
// Checked signed 16-bit arithmetic. Every stake, score, rule value and cursor
// position of the calculator is a 16-bit value; a result outside
// -32768..32767 is an error, never a wrapped number.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace zelmar {

using i16 = std::int16_t;

// Base of the failures a click can run into. The message is shown to the user.
class EngineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class OverflowError : public EngineError {
public:
    using EngineError::EngineError;
};

class IndexError : public EngineError {
public:
    using EngineError::EngineError;
};

[[noreturn]] void throwOverflow(const char* what, long value);

inline i16 checked16(long value, const char* what)
{
    if (value < INT16_MIN || value > INT16_MAX)
        throwOverflow(what, value);
    return static_cast<i16>(value);
}

inline i16 add16(i16 a, i16 b, const char* what)
{
    return checked16(long { a } + b, what);
}
inline i16 sub16(i16 a, i16 b, const char* what)
{
    return checked16(long { a } - b, what);
}

// Decimal text of a value: "-" before negatives, no blanks, no grouping.
std::string decimal(long value);

} // namespace zelmar
