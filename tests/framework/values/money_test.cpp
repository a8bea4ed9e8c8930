#include "framework/values/money.h"

#include <gtest/gtest.h>
#include <string>

namespace {

std::string textOf(const CMoney& money)
{
    return static_cast<const char*>(money);
}

} // namespace

TEST(MoneyText, GroupsThousands)
{
    EXPECT_EQ(textOf(CMoney(1234, 50)), "$1,234.50");
    EXPECT_EQ(textOf(CMoney(123, 5)), "$123.05");
    EXPECT_EQ(textOf(CMoney(1234567L, 0)), "$1,234,567.00");
    EXPECT_EQ(textOf(CMoney()), "$0.00");
    EXPECT_EQ(textOf(CMoney(-1234, 50)), "$-1,234.50");
    EXPECT_EQ(textOf(CMoney(0, -25)), "$-0.25");
    EXPECT_EQ(textOf(CMoney(2147483647L, 99)), "$2,147,483,647.99");
}

struct CentsCase
{
    const char* name;
    long cents;
    LONG dollars;
    LONG rest;
    const char* text;
};

class MoneyFromCents : public testing::TestWithParam<CentsCase>
{
};

TEST_P(MoneyFromCents, SplitsAndComesBack)
{
    const CMoney money(GetParam().cents);
    EXPECT_EQ(money.getDollars(), GetParam().dollars);
    EXPECT_EQ(money.getCents(), GetParam().rest);
    EXPECT_EQ(textOf(money), GetParam().text);
    EXPECT_EQ(static_cast<long>(money), GetParam().cents);
}

INSTANTIATE_TEST_SUITE_P(Cents, MoneyFromCents,
    testing::Values(CentsCase {"Positive", 123456, 1234, 56, "$1,234.56"},
        CentsCase {"Negative", -150, -1, 50, "$-1.50"},
        CentsCase {"BelowOneDollar", 99, 0, 99, "$0.99"},
        CentsCase {"NegativeBelowOneDollar", -25, 0, -25, "$-0.25"}),
    [](const testing::TestParamInfo<CentsCase>& info) { return std::string(info.param.name); });

struct DoubleCase
{
    const char* name;
    double value;
    long cents;
};

class MoneyFromDouble : public testing::TestWithParam<DoubleCase>
{
};

TEST_P(MoneyFromDouble, TakesTheCents)
{
    EXPECT_EQ(static_cast<long>(CMoney(GetParam().value)), GetParam().cents);
}

INSTANTIATE_TEST_SUITE_P(Doubles, MoneyFromDouble,
    testing::Values(DoubleCase {"Whole", 3.0, 300}, DoubleCase {"Cents", 12.34, 1234},
        DoubleCase {"BinaryError", 0.29, 29}, DoubleCase {"Negative", -12.34, -1234},
        DoubleCase {"NegativeBelowOneDollar", -0.25, -25},
        DoubleCase {"JustBelowAWholeDollar", 2.9995, 300},
        DoubleCase {"NegativeJustBelowAWholeDollar", -2.9995, -300},
        DoubleCase {"BeyondTheRange", 1e12, 214748364799L},
        DoubleCase {"BelowTheRange", -1e12, -214748364899L}),
    [](const testing::TestParamInfo<DoubleCase>& info) { return std::string(info.param.name); });

TEST(MoneyArithmetic, SumAbsorbsBinaryError)
{
    const CMoney sum = CMoney(0.1) + CMoney(0.2);
    EXPECT_EQ(static_cast<long>(sum), 30);
    EXPECT_EQ(textOf(sum), "$0.30");
    CMoney total(0.1);
    total += CMoney(0.2);
    EXPECT_EQ(static_cast<long>(total), 30);
    EXPECT_EQ(static_cast<long>(CMoney(1.0) - CMoney(0.9)), 10);
    EXPECT_EQ(textOf(CMoney(0.25) - CMoney(0.5)), "$-0.25");
}

struct ProductCase
{
    const char* name;
    long cents;
    int factor;
    long product;
};

class MoneyProduct : public testing::TestWithParam<ProductCase>
{
};

TEST_P(MoneyProduct, WholeAmountTimesN)
{
    EXPECT_EQ(static_cast<long>(CMoney(GetParam().cents) * GetParam().factor), GetParam().product);
}

INSTANTIATE_TEST_SUITE_P(Products, MoneyProduct,
    testing::Values(ProductCase {"CentsCarry", 150, 3, 450},
        ProductCase {"NegativeFactor", 150, -2, -300},
        ProductCase {"NegativeAmount", -150, 3, -450}, ProductCase {"BelowOneDollar", -25, 2, -50},
        ProductCase {"BeyondTheRange", 100000000000L, 1000, 214748364799L}),
    [](const testing::TestParamInfo<ProductCase>& info) { return std::string(info.param.name); });

TEST(MoneyArithmetic, ComparesByValue)
{
    EXPECT_TRUE(CMoney(-0.25) < CMoney(0.1));
    EXPECT_TRUE(CMoney(-1.5) < CMoney(-0.25));
    EXPECT_TRUE(CMoney(2.0) > CMoney(1.99));
    EXPECT_FALSE(CMoney(2.0) > CMoney(2.0));
    EXPECT_DOUBLE_EQ(static_cast<double>(CMoney(-1, 50)), -1.5);
    EXPECT_DOUBLE_EQ(static_cast<double>(CMoney(0, -25)), -0.25);
}

struct TextCase
{
    const char* name;
    const char* text;
    bool allowMinus;
    long cents;
};

class MoneyFromText : public testing::TestWithParam<TextCase>
{
};

TEST_P(MoneyFromText, Reads)
{
    EXPECT_EQ(static_cast<long>(CMoney(GetParam().text, GetParam().allowMinus)), GetParam().cents);
}

INSTANTIATE_TEST_SUITE_P(Texts, MoneyFromText,
    testing::Values(TextCase {"DollarSignAndCommas", "$1,234.5", false, 123450},
        TextCase {"MinusAllowed", "-12.34", true, -1234},
        TextCase {"MinusNotAllowed", "-12.34", false, 1234},
        TextCase {"LeadingPoint", ".75", false, 75},
        TextCase {"LeadingBlanks", "   $5.05", false, 505},
        TextCase {"OnlyTwoPlacesCount", "1.239", false, 123},
        TextCase {"EmptyCents", "42.", false, 4200},
        TextCase {"MinusBelowOneDollar", "-0.25", true, -25},
        TextCase {"MinusBeforeDollarSign", "-$12.34", true, -1234},
        TextCase {"DollarSignBeforeMinus", "$-12.34", true, -1234},
        TextCase {"ThirtyOneCharacters", "0000000000000000000000000001.00", false, 100},
        TextCase {"ThirtyTwoCharacters", "00000000000000000000000000001.00", false, 0},
        TextCase {"NotANumber", "abc", false, 0},
        TextCase {"HugeDollars", "99999999999999999999", false, 214748364700L}),
    [](const testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

TEST(MoneyFromText, PrintsAsRead)
{
    EXPECT_EQ(textOf(CMoney("$1,234.5")), "$1,234.50");
    EXPECT_EQ(static_cast<long>(CMoney(nullptr, true)), 0);
}
