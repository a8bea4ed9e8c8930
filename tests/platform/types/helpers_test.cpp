#include "platform/types/muldiv.h"
#include "platform/types/textchars.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

struct MulDivCase
{
    int number, numerator, denominator;
    int expected;
};

class MulDivRounding : public testing::TestWithParam<MulDivCase>
{
};

TEST_P(MulDivRounding, NearestWithHalvesAwayFromZero)
{
    const MulDivCase& c = GetParam();
    EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, MulDivRounding,
    testing::Values(MulDivCase {8, 96, 72, 11}, // 10.67 up
        MulDivCase {5, 1, 2, 3}, // a half goes away from zero, not to even
        MulDivCase {-5, 1, 2, -3}, // and so below zero
        MulDivCase {5, 1, -2, -3}, // the divisor's sign counts too
        MulDivCase {-5, -1, -2, -3}, // two signs cancel
        MulDivCase {7, 1, 3, 2}, // 2.33 down
        MulDivCase {-7, 1, 3, -2}, // and -2.33 up
        MulDivCase {1, 1, 0, -1}, // no divisor
        MulDivCase {INT_MAX, INT_MAX, INT_MAX, INT_MAX}, // the product does not overflow
        MulDivCase {INT_MIN, 2, 4, INT_MIN / 2}));

TEST(TextChars, HexDigitsCaseAndEqualsNoCase)
{
    struct HexCase
    {
        char c;
        int value;
    };
    for (const HexCase& h : {HexCase {'0', 0}, HexCase {'9', 9}, HexCase {'a', 10},
             HexCase {'F', 15}, HexCase {'g', -1}, HexCase {'G', -1}, HexCase {'/', -1},
             HexCase {':', -1}, HexCase {'@', -1}, HexCase {'\0', -1}})
        EXPECT_EQ(zorHexDigit(h.c), h.value) << h.c;

    struct EqualsCase
    {
        const char* a;
        const char* b;
        bool equal;
    };
    for (const EqualsCase& e : {EqualsCase {"DESC", "desc", true},
             EqualsCase {"Integer", "INTEGER", true}, EqualsCase {"", "", true},
             EqualsCase {"asc", "ascending", false}, // a prefix is not equal
             EqualsCase {"true", "tru", false}, EqualsCase {"[a]", "[A]", true},
             EqualsCase {"@", "`", false}, // neighbours of the letters are no letters
             EqualsCase {"[", "{", false}})
        EXPECT_EQ(zorEqualsNoCase(e.a, e.b), e.equal) << e.a << " / " << e.b;
}

} // namespace
