#include "framework/values/chars.h"

#include <gtest/gtest.h>
#include <string>

TEST(CharsGrowth, GrowsBySteps)
{
    CChars text;
    EXPECT_EQ(text.getCapacity(), 129);
    text << std::string(128, 'a').c_str();
    EXPECT_EQ(text.getCapacity(), 129) << "128 characters and the terminator fit";
    text << "b";
    EXPECT_EQ(text.getCapacity(), 258);

    CChars longer;
    longer << std::string(200, 'x').c_str();
    EXPECT_EQ(longer.getCapacity(), 258);
    EXPECT_EQ(longer.getLength(), 200);
    EXPECT_EQ(std::string(longer), std::string(200, 'x'));

    CChars many;
    many << std::string(1000, 'y').c_str();
    EXPECT_EQ(many.getCapacity(), 1032);
    EXPECT_EQ(many.getLength(), 1000);
}

TEST(CharsWidth, MarkerBringsTheWidthIntoForce)
{
    CChars text;
    text << text.numLen(4) << 7;
    EXPECT_STREQ(text, "0007");

    CChars later;
    later << later.numLen(3) << 5 << "," << 12 << "," << 1234;
    EXPECT_STREQ(later, "005,012,1234") << "the width holds for later numbers";
}

TEST(CharsWidth, WidthsComeOffTheStackLatestFirst)
{
    CChars text;
    text.numLen(2);
    text.numLen(5);
    text << CChars::c_szMarker << 1 << " " << CChars::c_szMarker << 1;
    EXPECT_STREQ(text, "00001 01");
}

TEST(CharsWidth, MarkerWithoutPendingWidthIsText)
{
    CChars text;
    text << "#@#@" << 7;
    EXPECT_STREQ(text, "#@#@7");
}

TEST(CharsWidth, AtMostNineWidthsPending)
{
    CChars text;
    for (int i = 1; i <= 10; ++i)
        text.numLen(i);
    // The tenth push was ignored: the top of the stack is 9.
    text << CChars::c_szMarker << 1;
    EXPECT_STREQ(text, "000000001");
}

struct NumberCase
{
    const char* name;
    int width;
    long value;
    const char* text;
};

class CharsNumber : public testing::TestWithParam<NumberCase>
{
};

TEST_P(CharsNumber, PaddedToTheWidth)
{
    CChars text;
    text << text.numLen(GetParam().width) << GetParam().value;
    EXPECT_STREQ(text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Numbers, CharsNumber,
    testing::Values(NumberCase {"Zero", 1, 0, "0"}, NumberCase {"ZeroWide", 3, 0, "000"},
        NumberCase {"WiderThanWidth", 2, 12345, "12345"},
        NumberCase {"NegativeSignBeforeZeros", 3, -7, "-007"},
        NumberCase {"Smallest", 1, -2147483648L, "-2147483648"}),
    [](const testing::TestParamInfo<NumberCase>& info) { return std::string(info.param.name); });

TEST(CharsNumber, EveryWholeType)
{
    CChars text;
    text << static_cast<short>(-3) << " " << 4 << " " << 5L << " " << 4000000000u << " " << 'c';
    EXPECT_STREQ(text, "-3 4 5 4000000000 c");
    EXPECT_STREQ(CChars(static_cast<short>(12)), "12");
    EXPECT_STREQ(CChars(3000000000u), "3000000000");
    EXPECT_STREQ(CChars('z'), "z");
}

struct DoubleCase
{
    const char* name;
    double value;
    const char* text;
};

class CharsDouble : public testing::TestWithParam<DoubleCase>
{
};

TEST_P(CharsDouble, TrailingZerosAndPointGo)
{
    EXPECT_STREQ(CChars(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Doubles, CharsDouble,
    testing::Values(DoubleCase {"Half", 2.5, "2.5"}, DoubleCase {"Whole", 3.0, "3"},
        DoubleCase {"ZerosBeforePoint", 100.0, "100"}, DoubleCase {"Zero", 0.0, "0"},
        DoubleCase {"Negative", -1.5, "-1.5"}, DoubleCase {"SixPlaces", 1.0 / 3.0, "0.333333"}),
    [](const testing::TestParamInfo<DoubleCase>& info) { return std::string(info.param.name); });

TEST(CharsDouble, WidthDoesNotPadDoubles)
{
    CChars text;
    text << text.numLen(5) << 2.5;
    EXPECT_STREQ(text, "2.5");
}

TEST(CharsRect, FourSidesWithTheNumberWidth)
{
    CChars text;
    text << CRect(1, 2, 30, 400);
    EXPECT_STREQ(text, "l:1 t:2 r:30 b:400");

    CChars wide;
    wide << wide.numLen(3) << CRect(-1, 2, 30, 400);
    EXPECT_STREQ(wide, "l:-001 t:002 r:030 b:400");
}

TEST(CharsCopy, OwnsItsBuffer)
{
    CChars original;
    original << original.numLen(3) << std::string(150, 'q').c_str();
    original.numLen(6);
    CChars copy(original);
    original << "changed";
    EXPECT_EQ(std::string(copy), std::string(150, 'q'));
    EXPECT_EQ(copy.getCapacity(), 258);
    copy << 1 << CChars::c_szMarker << 2;
    const std::string expected = std::string(150, 'q').append("001000002");
    EXPECT_EQ(std::string(copy), expected) << "the width in force and the pending one were copied";

    CChars assigned("short");
    assigned = original;
    EXPECT_EQ(std::string(assigned), std::string(original));
    assigned = assigned;
    EXPECT_EQ(std::string(assigned), std::string(original));
}

TEST(CharsText, NullAndEmptyAppendNothing)
{
    CChars text("abc");
    text << static_cast<const char*>(nullptr) << "" << std::string();
    EXPECT_STREQ(text, "abc");
    EXPECT_EQ(text.getLength(), 3);
    EXPECT_STREQ(CChars(), "");
}
