#include "framework/utilities/utilities.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>

TEST(ToString, Decimal)
{
    EXPECT_EQ(toString(0), "0");
    EXPECT_EQ(toString(-42), "-42");
    EXPECT_EQ(toString(INT_MIN), "-2147483648");
}

struct CommaCase
{
    const char* name;
    int value;
    const char* text;
};

class ToComma : public testing::TestWithParam<CommaCase>
{
};

TEST_P(ToComma, GroupsOfThreeRightAlignedInTwelve)
{
    EXPECT_EQ(toComma(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Table, ToComma,
    testing::Values(CommaCase {"Zero", 0, "           0"},
        CommaCase {"ThreeDigits", 999, "         999"},
        CommaCase {"FourDigits", 1000, "       1,000"},
        CommaCase {"SevenDigits", 1234567, "   1,234,567"},
        CommaCase {"NineDigits", 123456789, " 123,456,789"},
        CommaCase {"TenDigitsKeepTheirFirst", 1000000000, "1,000,000,000"},
        CommaCase {"Largest", INT_MAX, "2,147,483,647"},
        CommaCase {"MinusThreeDigits", -123, "        -123"},
        CommaCase {"MinusFourDigits", -1234, "      -1,234"},
        CommaCase {"MinusNineDigits", -123456789, "-123,456,789"},
        CommaCase {"Smallest", INT_MIN, "-2,147,483,648"}),
    [](const testing::TestParamInfo<CommaCase>& info) { return std::string(info.param.name); });

TEST(ToHexString, PrefixAndAtLeastTheDigitsAsked)
{
    EXPECT_EQ(toHexString(255, 4), "0x00FF");
    EXPECT_EQ(toHexString(255, 0), "0xFF");
    EXPECT_EQ(toHexString(0x1234, 2), "0x1234");
    EXPECT_EQ(toHexString(-1, 0), "0xFFFFFFFF");
}

TEST(ToHexString, ByteIsTwoDigitsWithoutPrefix)
{
    EXPECT_EQ(toHexString(static_cast<unsigned char>(10)), "0A");
    EXPECT_EQ(toHexString(static_cast<unsigned char>(0)), "00");
    EXPECT_EQ(toHexString(static_cast<unsigned char>(255)), "FF");
}

struct HexCase
{
    const char* name;
    const char* text;
    int value;
};

class FromHex : public testing::TestWithParam<HexCase>
{
};

TEST_P(FromHex, LeadingHexadecimalNumber)
{
    EXPECT_EQ(fromHex(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Table, FromHex,
    testing::Values(HexCase {"Lower", "1f", 31}, HexCase {"Empty", "", 0},
        HexCase {"Null", nullptr, 0}, HexCase {"NotHex", "zz", 0},
        HexCase {"TrailingText", "1fzz", 31}, HexCase {"LeadingBlank", " 1f", 0},
        HexCase {"Prefix", "0x1f", 31}, HexCase {"AllBits", "ffffffff", -1},
        HexCase {"Largest", "7fffffff", INT_MAX}, HexCase {"BeyondThirtyTwoBits", "123456789", -1}),
    [](const testing::TestParamInfo<HexCase>& info) { return std::string(info.param.name); });

struct AddressCase
{
    const char* name;
    const char* text;
    unsigned value;
};

class CvtIPText : public testing::TestWithParam<AddressCase>
{
};

TEST_P(CvtIPText, PartsJoinedWithoutMasking)
{
    EXPECT_EQ(static_cast<unsigned>(cvtIP(GetParam().text)), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Table, CvtIPText,
    testing::Values(AddressCase {"Private", "192.168.0.1", 0xC0A80001},
        AddressCase {"LastByte", "10.0.0.255", 0x0A0000FF},
        AddressCase {"MissingPartIsZero", "1.2.3", 0x01020300},
        AddressCase {"FifthPartIgnored", "1.2.3.4.5", 0x01020304},
        AddressCase {"PartsTrimmed", " 10 . 0 .0\t. 1 ", 0x0A000001},
        AddressCase {"HighByteTrimmed",
            "\xE9"
            "10.0.0.1",
            0x0A000001},
        AddressCase {"SpillsIntoTheNextByte", "0.0.1.511", 0x000001FF},
        AddressCase {"SpillsBeyondTheTop", "0.256.0.0", 0x01000000},
        AddressCase {"Words", "a.b.c.d", 0}, AddressCase {"Empty", "", 0},
        AddressCase {"Null", nullptr, 0}),
    [](const testing::TestParamInfo<AddressCase>& info) { return std::string(info.param.name); });

TEST(CvtIPNumber, FourBytesTopFirst)
{
    EXPECT_EQ(cvtIP(static_cast<int>(0xC0A80001)), "192.168.0.1");
    EXPECT_EQ(cvtIP(0), "0.0.0.0");
    EXPECT_EQ(cvtIP(-1), "255.255.255.255");
}

struct PlausibleCase
{
    const char* name;
    const char* text;
    bool plausible;
};

class IsIP : public testing::TestWithParam<PlausibleCase>
{
};

TEST_P(IsIP, LoosePlausibility)
{
    EXPECT_EQ(isIP(GetParam().text), GetParam().plausible);
}

INSTANTIATE_TEST_SUITE_P(Table, IsIP,
    testing::Values(PlausibleCase {"Private", "192.168.0.1", true},
        PlausibleCase {"AllZero", "0.0.0.0", false}, PlausibleCase {"ThreeParts", "1.2.3", false},
        PlausibleCase {"PartAbove255", "300.1.1.1", true},
        PlausibleCase {"FiveParts", "1.2.3.4.5", true},
        PlausibleCase {"SixteenCharacters", "123.123.123.1234", false},
        PlausibleCase {"EmptyPartsSkipped", "1..2.3.4", true},
        PlausibleCase {"EmptyPartMakesThree", "1..2.3", false},
        PlausibleCase {"Words", "a.b.c.d", false}, PlausibleCase {"NegativeSum", "-5.1.1.1", false},
        PlausibleCase {"Empty", "", false}, PlausibleCase {"Null", nullptr, false}),
    [](const testing::TestParamInfo<PlausibleCase>& info) { return std::string(info.param.name); });
