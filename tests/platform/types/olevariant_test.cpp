#include "platform/types/olevariant.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>
#include <string>

// Readable failure messages: the type code and the value it holds.
void PrintTo(const COleVariant& v, std::ostream* os)
{
    *os << "vt " << v.vt << ": ";
    switch (v.vt) {
    case VT_BSTR:
        *os << '"' << v.bstrVal << '"';
        break;
    case VT_R4:
        *os << v.fltVal;
        break;
    case VT_R8:
    case VT_DATE:
        *os << v.dblVal;
        break;
    case VT_UI1:
        *os << static_cast<int>(v.bVal);
        break;
    case VT_I2:
    case VT_BOOL:
        *os << v.iVal;
        break;
    case VT_I4:
    case VT_ERROR:
        *os << v.lVal;
        break;
    default:
        *os << v.llVal;
        break;
    }
}

namespace {

COleVariant currency(LONGLONG tenThousandths)
{
    return COleVariant(COleCurrency(CY {tenThousandths}));
}

COleVariant date(double value)
{
    COleVariant v;
    v.vt = VT_DATE;
    v.date = value;
    return v;
}

COleVariant error(long code)
{
    return COleVariant(code, VT_ERROR);
}

// --- construction and equality ---

TEST(VariantValue, ConstructorsSetTheTypeCode)
{
    EXPECT_EQ(COleVariant().vt, VT_EMPTY);
    EXPECT_EQ(COleVariant("text").vt, VT_BSTR);
    EXPECT_EQ(COleVariant(std::string("text")).bstrVal, "text");
    EXPECT_EQ(COleVariant(static_cast<const char*>(nullptr)).bstrVal, "");
    EXPECT_EQ(COleVariant(static_cast<BYTE>(7)).vt, VT_UI1);
    EXPECT_EQ(COleVariant(static_cast<short>(7)).vt, VT_I2);
    EXPECT_EQ(COleVariant(7L).vt, VT_I4);
    EXPECT_EQ(COleVariant(7).vt, VT_I4);
    EXPECT_EQ(COleVariant(1.5f).vt, VT_R4);
    EXPECT_EQ(COleVariant(1.5).vt, VT_R8);
    EXPECT_EQ(COleVariant(COleCurrency(1, 0)).cyVal.int64, 10000);
    EXPECT_EQ(COleVariant(COleDateTime(2.0)).vt, VT_DATE);
    EXPECT_EQ(COleVariant::makeNull().vt, VT_NULL);
    EXPECT_EQ(error(5).scode, 5);
}

TEST(VariantValue, BoolIsMinusOne)
{
    EXPECT_EQ(COleVariant::makeBool(true).boolVal, VARIANT_TRUE);
    EXPECT_EQ(COleVariant::makeBool(false).boolVal, VARIANT_FALSE);
    EXPECT_EQ(COleVariant(static_cast<short>(5), VT_BOOL).boolVal, VARIANT_TRUE);
    EXPECT_EQ(COleVariant(5L, VT_BOOL).boolVal, VARIANT_TRUE);
    EXPECT_EQ(COleVariant(0L, VT_BOOL).vt, VT_BOOL);
}

TEST(VariantValue, EqualityNeedsTypeAndValue)
{
    EXPECT_EQ(COleVariant("a"), COleVariant(std::string("a")));
    EXPECT_NE(COleVariant("a"), COleVariant("b"));
    EXPECT_NE(COleVariant(static_cast<short>(1)), COleVariant(1L));
    EXPECT_EQ(COleVariant(2.5), COleVariant(2.5));
    EXPECT_NE(COleVariant(2.5), date(2.5));
    EXPECT_EQ(COleVariant::makeNull(), COleVariant::makeNull());
    EXPECT_NE(COleVariant::makeNull(), COleVariant());
    EXPECT_EQ(currency(5), currency(5));
    EXPECT_NE(currency(5), currency(6));
}

TEST(VariantValue, ClearEmpties)
{
    COleVariant v("text");
    v.Clear();
    EXPECT_EQ(v.vt, VT_EMPTY);
    EXPECT_TRUE(v.bstrVal.empty());
    EXPECT_EQ(v, COleVariant());
}

// --- coercion ---

struct Coercion
{
    const char* name;
    COleVariant from;
    VARTYPE to;
    bool ok;
    COleVariant expected; // when ok
};

void PrintTo(const Coercion& c, std::ostream* os)
{
    *os << c.name;
}

class VariantChangeType : public ::testing::TestWithParam<Coercion>
{
};

TEST_P(VariantChangeType, Converts)
{
    const Coercion& c = GetParam();
    COleVariant v = c.from;
    ASSERT_EQ(v.ChangeType(c.to), c.ok);
    if (c.ok) {
        EXPECT_EQ(v.vt, c.to);
        EXPECT_EQ(v, c.expected);
    } else {
        EXPECT_EQ(v, c.from) << "a failed conversion leaves the value as it was";
    }
}

const COleVariant c_none;
const COleVariant c_true = COleVariant::makeBool(true);
const COleVariant c_false = COleVariant::makeBool(false);
const double c_june = 37412.0 + 50829.0 / 86400.0; // 5 June 2002 14:07:09

short i2(int v)
{
    return static_cast<short>(v);
}

INSTANTIATE_TEST_SUITE_P(VariantChangeType, VariantChangeType,
    ::testing::Values(
        // floating point to integers: half to even, overflow fails
        Coercion {"HalfDown", COleVariant(2.5), VT_I4, true, COleVariant(2L)},
        Coercion {"HalfUp", COleVariant(3.5), VT_I4, true, COleVariant(4L)},
        Coercion {"NegativeHalf", COleVariant(-2.5), VT_I4, true, COleVariant(-2L)},
        Coercion {"NegativeHalfUp", COleVariant(-3.5), VT_I4, true, COleVariant(-4L)},
        Coercion {"BelowHalf", COleVariant(2.4999), VT_I4, true, COleVariant(2L)},
        Coercion {"SingleHalf", COleVariant(0.5f), VT_I2, true, COleVariant(i2(0))},
        Coercion {"RoundsIntoOverflow", COleVariant(32767.5), VT_I2, false, c_none},
        Coercion {"RoundsToLimit", COleVariant(32766.5), VT_I2, true, COleVariant(i2(32766))},
        Coercion {"I4Overflow", COleVariant(2147483648.0), VT_I4, false, c_none},
        Coercion {"I4Lowest", COleVariant(-2147483648.0), VT_I4, true,
            COleVariant(static_cast<long>(INT32_MIN))},
        Coercion {"DateToInteger", date(37412.5), VT_I4, true, COleVariant(37412L)},
        // integers between themselves
        Coercion {"I4ToI2Overflow", COleVariant(40000L), VT_I2, false, c_none},
        Coercion {"I4ToI2", COleVariant(-32768L), VT_I2, true, COleVariant(i2(-32768))},
        Coercion {"NegativeToByte", COleVariant(-1L), VT_UI1, false, c_none},
        Coercion {
            "ByteLimit", COleVariant(255L), VT_UI1, true, COleVariant(static_cast<BYTE>(255))},
        Coercion {"ByteOverflow", COleVariant(256L), VT_UI1, false, c_none},
        Coercion {
            "ByteToI2", COleVariant(static_cast<BYTE>(200)), VT_I2, true, COleVariant(i2(200))},
        Coercion {"I2ToR8", COleVariant(i2(-7)), VT_R8, true, COleVariant(-7.0)},
        // bool
        Coercion {"TrueToI4", c_true, VT_I4, true, COleVariant(-1L)},
        Coercion {"TrueToByte", c_true, VT_UI1, true, COleVariant(static_cast<BYTE>(255))},
        Coercion {"TrueToR8", c_true, VT_R8, true, COleVariant(-1.0)},
        Coercion {"FiveToBool", COleVariant(5L), VT_BOOL, true, c_true},
        Coercion {"ZeroToBool", COleVariant(0.0), VT_BOOL, true, c_false},
        Coercion {"TrueToText", c_true, VT_BSTR, true, COleVariant("-1")},
        Coercion {"FalseToText", c_false, VT_BSTR, true, COleVariant("0")},
        Coercion {"TextTrue", COleVariant(" True "), VT_BOOL, true, c_true},
        Coercion {"TextFalse", COleVariant("FALSE"), VT_BOOL, true, c_false},
        Coercion {"TextNumberToBool", COleVariant("-1"), VT_BOOL, true, c_true},
        Coercion {"TextZeroToBool", COleVariant("0"), VT_BOOL, true, c_false},
        Coercion {"TextYesToBool", COleVariant("yes"), VT_BOOL, false, c_none},
        // text to numbers: the whole text or nothing
        Coercion {"Text", COleVariant("12"), VT_I4, true, COleVariant(12L)},
        Coercion {"TextBlanks", COleVariant(" -12\t"), VT_I4, true, COleVariant(-12L)},
        Coercion {"TextPlus", COleVariant("+12"), VT_I2, true, COleVariant(i2(12))},
        Coercion {"TextGarbage", COleVariant("12abc"), VT_I4, false, c_none},
        Coercion {"TextEmpty", COleVariant(""), VT_I4, false, c_none},
        Coercion {"TextGrouping", COleVariant("1,234"), VT_I4, false, c_none},
        Coercion {"TextHalf", COleVariant("2.5"), VT_I4, true, COleVariant(2L)},
        Coercion {"TextExponent", COleVariant("1e3"), VT_I2, true, COleVariant(i2(1000))},
        Coercion {"TextOverflow", COleVariant("70000"), VT_I2, false, c_none},
        Coercion {"TextReal", COleVariant("-0.125"), VT_R8, true, COleVariant(-0.125)},
        Coercion {"TextFraction", COleVariant(".5"), VT_R8, true, COleVariant(0.5)},
        Coercion {"TextHugeReal", COleVariant("1e400"), VT_R8, false, c_none},
        Coercion {"TextInfinity", COleVariant("inf"), VT_R8, false, c_none},
        Coercion {"TextLoneDot", COleVariant("."), VT_R8, false, c_none},
        Coercion {"TextSingle", COleVariant("0.1"), VT_R4, true, COleVariant(0.1f)},
        // numbers to text in the C locale
        Coercion {"I4ToText", COleVariant(-7L), VT_BSTR, true, COleVariant("-7")},
        Coercion {
            "ByteToText", COleVariant(static_cast<BYTE>(200)), VT_BSTR, true, COleVariant("200")},
        Coercion {"R8ToText", COleVariant(1.5), VT_BSTR, true, COleVariant("1.5")},
        Coercion {"TenthToText", COleVariant(0.1), VT_BSTR, true, COleVariant("0.1")},
        Coercion {"FifteenDigits", COleVariant(2.0 / 3.0), VT_BSTR, true,
            COleVariant("0.666666666666667")},
        Coercion {"LargeToText", COleVariant(1e20), VT_BSTR, true, COleVariant("1E+20")},
        Coercion {"SingleToText", COleVariant(0.1f), VT_BSTR, true, COleVariant("0.1")},
        // single precision range
        Coercion {"SingleOverflow", COleVariant(1e300), VT_R4, false, c_none},
        Coercion {"SingleFromDouble", COleVariant(0.25), VT_R4, true, COleVariant(0.25f)},
        // dates
        Coercion {"DateToText", date(c_june), VT_BSTR, true, COleVariant("06/05/2002 14:07:09")},
        Coercion {"DayToText", date(37412.0), VT_BSTR, true, COleVariant("06/05/2002")},
        Coercion {"TimeToText", date(0.75), VT_BSTR, true, COleVariant("18:00:00")},
        Coercion {"OldDateToText", date(-657434.0), VT_BSTR, true, COleVariant("01/01/100")},
        Coercion {"TextToDate", COleVariant("06/05/2002 14:07:09"), VT_DATE, true, date(c_june)},
        Coercion {"ImpossibleTextToDate", COleVariant("2/30/2002"), VT_DATE, false, c_none},
        Coercion {"NumberToDate", COleVariant(37412.5), VT_DATE, true, date(37412.5)},
        Coercion {"NumberBeyondDates", COleVariant(1e7), VT_DATE, false, c_none},
        Coercion {"BadDateToText", date(1e7), VT_BSTR, false, c_none},
        // currency: exact to a ten-thousandth
        Coercion {"CurrencyRounds", currency(12345678), VT_I4, true, COleVariant(1235L)},
        Coercion {"CurrencyHalfDown", currency(25000), VT_I4, true, COleVariant(2L)},
        Coercion {"CurrencyHalfUp", currency(35000), VT_I4, true, COleVariant(4L)},
        Coercion {"CurrencyNegativeHalf", currency(-25000), VT_I4, true, COleVariant(-2L)},
        Coercion {"CurrencyToText", currency(12345000), VT_BSTR, true, COleVariant("1234.5")},
        Coercion {"CurrencySmallToText", currency(-5), VT_BSTR, true, COleVariant("-0.0005")},
        Coercion {"CurrencyToR8", currency(12345), VT_R8, true, COleVariant(1.2345)},
        Coercion {"TextToCurrency", COleVariant("1234.5678"), VT_CY, true, currency(12345678)},
        Coercion {
            "TextToCurrencyHalfEven", COleVariant("1234.56785"), VT_CY, true, currency(12345678)},
        Coercion {
            "TextToCurrencyHalfOdd", COleVariant("1234.56775"), VT_CY, true, currency(12345678)},
        Coercion {"TextToCurrencyAboveHalf", COleVariant("0.000050001"), VT_CY, true, currency(1)},
        Coercion {"TextToCurrencyTiny", COleVariant("0.00004"), VT_CY, true, currency(0)},
        Coercion {"TextToCurrencyExponent", COleVariant("1.5e3"), VT_CY, true, currency(15000000)},
        Coercion {"TextToCurrencyLowest", COleVariant("-922337203685477.5808"), VT_CY, true,
            currency(INT64_MIN)},
        Coercion {
            "TextToCurrencyOverflow", COleVariant("922337203685477.5808"), VT_CY, false, c_none},
        Coercion {"TextToCurrencyGarbage", COleVariant("$12"), VT_CY, false, c_none},
        Coercion {"RealToCurrency", COleVariant(1.23456), VT_CY, true, currency(12346)},
        Coercion {"NegativeRealToCurrency", COleVariant(-1.23454), VT_CY, true, currency(-12345)},
        Coercion {"RealToCurrencyOverflow", COleVariant(1e300), VT_CY, false, c_none},
        Coercion {"I4ToCurrency", COleVariant(-3L), VT_CY, true, currency(-30000)},
        Coercion {"TrueToCurrency", c_true, VT_CY, true, currency(-10000)},
        // empty, null and the rest
        Coercion {"EmptyToI4", c_none, VT_I4, true, COleVariant(0L)},
        Coercion {"EmptyToText", c_none, VT_BSTR, true, COleVariant("")},
        Coercion {"EmptyToBool", c_none, VT_BOOL, true, c_false},
        Coercion {"EmptyToDate", c_none, VT_DATE, true, date(0.0)},
        Coercion {"NullToI4", COleVariant::makeNull(), VT_I4, false, c_none},
        Coercion {"NullToText", COleVariant::makeNull(), VT_BSTR, false, c_none},
        Coercion {"AnythingToEmpty", COleVariant("x"), VT_EMPTY, true, c_none},
        Coercion {"ToNull", COleVariant(1L), VT_NULL, false, c_none},
        Coercion {"ErrorToI4", error(5), VT_I4, false, c_none},
        Coercion {"ToUnsupported", COleVariant(1L), VT_DISPATCH, false, c_none},
        Coercion {"SameType", COleVariant(7L), VT_I4, true, COleVariant(7L)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VariantChangeTypeNaN, FailsAndKeepsTheValue)
{
    COleVariant v(std::numeric_limits<double>::quiet_NaN());
    EXPECT_FALSE(v.ChangeType(VT_I4));
    EXPECT_FALSE(v.ChangeType(VT_CY));
    EXPECT_EQ(v.vt, VT_R8);
    EXPECT_TRUE(std::isnan(v.dblVal));
}

// Numbers written as text read back as the same number to the precision written.
TEST(VariantChangeTypeRoundTrip, IntegersThroughText)
{
    for (long v = -2147483647L - 1; v < 2147483647L - 99991L; v += 99991L) {
        COleVariant variant(v);
        ASSERT_TRUE(variant.ChangeType(VT_BSTR));
        ASSERT_TRUE(variant.ChangeType(VT_I4)) << variant.bstrVal;
        ASSERT_EQ(variant.lVal, v);
    }
}

TEST(VariantChangeTypeRoundTrip, CurrencyThroughText)
{
    for (LONGLONG v = INT64_MIN; v < INT64_MAX - 92233720368547759LL; v += 92233720368547759LL) {
        COleVariant variant = currency(v + 1234);
        ASSERT_TRUE(variant.ChangeType(VT_BSTR));
        ASSERT_TRUE(variant.ChangeType(VT_CY)) << variant.bstrVal;
        ASSERT_EQ(variant.cyVal.int64, v + 1234) << variant.bstrVal;
    }
}

// --- currency text ---

struct CurrencyText
{
    const char* name;
    LONGLONG value;
    const char* text;
};

class CurrencyFormat : public ::testing::TestWithParam<CurrencyText>
{
};

TEST_P(CurrencyFormat, Writes)
{
    EXPECT_EQ(COleCurrency(CY {GetParam().value}).Format(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(CurrencyFormat, CurrencyFormat,
    ::testing::Values(CurrencyText {"Grouped", 12345000, "1,234.50"},
        CurrencyText {"Zero", 0, "0.00"}, CurrencyText {"Negative", -12345000, "-1,234.50"},
        CurrencyText {"NegativeCents", -100, "-0.01"},
        CurrencyText {"FourPlaces", 12345678912LL, "1,234,567.8912"},
        CurrencyText {"ThreePlaces", 12345678910LL, "1,234,567.891"},
        CurrencyText {"Smallest", 1, "0.0001"},
        CurrencyText {"Millions", 10000000000LL, "1,000,000.00"},
        CurrencyText {"ThreeDigits", 9990000, "999.00"},
        CurrencyText {"FourDigits", 10000000, "1,000.00"},
        CurrencyText {"Lowest", INT64_MIN, "-922,337,203,685,477.5808"},
        CurrencyText {"Highest", INT64_MAX, "922,337,203,685,477.5807"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CurrencyFormat, UnitsAndFraction)
{
    EXPECT_EQ(COleCurrency(12, 3400).Format(), "12.34");
    EXPECT_EQ(COleCurrency(-12, -3400).Format(), "-12.34");
}

} // namespace
