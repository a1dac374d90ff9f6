#include "rules/Convert16.h"

#include <gtest/gtest.h>

namespace zelmar {
namespace {

struct ConvertCase {
    const char* item;
    ConvertStatus status;
    int value;
};

class Convert16Test : public ::testing::TestWithParam<ConvertCase> { };

TEST_P(Convert16Test, convertsItem)
{
    const ConvertCase& c = GetParam();
    const Converted got = convert16(c.item);
    EXPECT_EQ(got.status, c.status) << '"' << c.item << '"';
    if (c.status == ConvertStatus::Ok) {
        EXPECT_EQ(got.value, c.value) << '"' << c.item << '"';
    }
}

constexpr auto Ok = ConvertStatus::Ok;
constexpr auto Empty = ConvertStatus::Empty;
constexpr auto NaN = ConvertStatus::NotNumber;
constexpr auto Range = ConvertStatus::OutOfRange;

INSTANTIATE_TEST_SUITE_P(PlainNumbers, Convert16Test,
    ::testing::Values(ConvertCase { "0", Ok, 0 }, ConvertCase { "7", Ok, 7 }, ConvertCase { "-3", Ok, -3 },
        ConvertCase { "+12", Ok, 12 }, ConvertCase { "0007", Ok, 7 }, ConvertCase { "32767", Ok, 32767 },
        ConvertCase { "-32768", Ok, -32768 }, ConvertCase { "000000000000000000012", Ok, 12 }));

// Exact decimal rounding, a half to the even neighbour.
INSTANTIATE_TEST_SUITE_P(HalfToEven, Convert16Test,
    ::testing::Values(ConvertCase { "2.5", Ok, 2 }, ConvertCase { "3.5", Ok, 4 },
        ConvertCase { "-0.5", Ok, 0 }, ConvertCase { "-1.5", Ok, -2 }, ConvertCase { "2.5000001", Ok, 3 },
        ConvertCase { "2.4999999", Ok, 2 }, ConvertCase { "2.50000", Ok, 2 }, ConvertCase { "0.6", Ok, 1 },
        ConvertCase { "5.", Ok, 5 }, ConvertCase { ".5", Ok, 0 }, ConvertCase { "32767.4", Ok, 32767 },
        ConvertCase { "-32768.5", Ok, -32768 }, ConvertCase { "32766.5", Ok, 32766 },
        ConvertCase { "-32767.5", Ok, -32768 },
        // A first fraction digit of 0 rounds down whatever follows it.
        ConvertCase { "1.05", Ok, 1 }, ConvertCase { "3.0500", Ok, 3 }, ConvertCase { "2.06", Ok, 2 },
        ConvertCase { "-0.09", Ok, 0 }, ConvertCase { "0.45", Ok, 0 }));

// Blanks, tabs and line ends around an item, so a win file ending in a line break works.
INSTANTIATE_TEST_SUITE_P(Surroundings, Convert16Test,
    ::testing::Values(ConvertCase { " 4 ", Ok, 4 }, ConvertCase { "\t4\r\n", Ok, 4 },
        ConvertCase { "3\n", Ok, 3 }, ConvertCase { "", Empty, 0 }, ConvertCase { "  ", Empty, 0 },
        ConvertCase { "\r\n", Empty, 0 }));

INSTANTIATE_TEST_SUITE_P(Rejected, Convert16Test,
    ::testing::Values(ConvertCase { "1e3", NaN, 0 }, ConvertCase { "1,000", NaN, 0 },
        ConvertCase { "0x10", NaN, 0 }, ConvertCase { "abc", NaN, 0 }, ConvertCase { "-", NaN, 0 },
        ConvertCase { ".", NaN, 0 }, ConvertCase { "1 2", NaN, 0 }, ConvertCase { "- 5", NaN, 0 },
        ConvertCase { "1.2.3", NaN, 0 }, ConvertCase { "--1", NaN, 0 }, ConvertCase { "١", NaN, 0 }));

INSTANTIATE_TEST_SUITE_P(OutsideSixteenBits, Convert16Test,
    ::testing::Values(ConvertCase { "32768", Range, 0 }, ConvertCase { "-32769", Range, 0 },
        ConvertCase { "32767.5", Range, 0 }, ConvertCase { "-32768.6", Range, 0 },
        ConvertCase { "99999999999999999999", Range, 0 },
        // 2^64 + 5 and -(2^64 + 1): out of range, not wrapped to 5 and -1.
        ConvertCase { "18446744073709551621", Range, 0 }, ConvertCase { "-18446744073709551617", Range, 0 }));

} // namespace
} // namespace zelmar
