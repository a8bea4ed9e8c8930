#include "framework/diagnostics/crack.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

COleVariant ofType(VARTYPE vt)
{
    COleVariant v;
    v.vt = vt;
    return v;
}

struct VariantCase
{
    std::string name;
    COleVariant value;
    std::string text;
};

std::vector<VariantCase> variantCases()
{
    std::vector<VariantCase> cases {
        {"Empty", COleVariant(), ""},
        {"Null", COleVariant::makeNull(), ""},
        {"Short", COleVariant(static_cast<short>(-12)), "-12"},
        {"Long", COleVariant(123456L), "123456"},
        {"Single", COleVariant(1.5f), "1.500000e+00"},
        {"Double", COleVariant(-0.00125), "-1.250000e-03"},
        {"Date", COleVariant(COleDateTime(2002, 6, 5, 14, 7, 9)), "06/05/02"},
        {"Text", COleVariant("Corvane"), "Corvane"},
        {"Dispatch", ofType(VT_DISPATCH), "VT_DISPATCH"},
        {"Error", COleVariant(5L, VT_ERROR), "VT_ERROR"},
        {"BoolFalse", COleVariant::makeBool(false), "FALSE"},
        {"BoolTrue", COleVariant::makeBool(true), "TRUE"},
        {"Variant", ofType(VT_VARIANT), "VT_VARIANT"},
        {"Unknown", ofType(VT_UNKNOWN), "VT_UNKNOWN"},
        {"Char", ofType(VT_I1), "VT_I1"},
        {"ByteTen", COleVariant(static_cast<BYTE>(10)), "0x0A"},
        {"Decimal14", ofType(14), ""},
        {"Code32", ofType(32), ""},
        {"Code73", ofType(73), ""},
        {"ByReference", ofType(0x4000 | VT_I4), ""},
    };
    const char* const low[]
        = {"VT_UI2", "VT_UI4", "VT_I8", "VT_UI8", "VT_INT", "VT_UINT", "VT_VOID", "VT_HRESULT",
            "VT_PTR", "VT_SAFEARRAY", "VT_CARRAY", "VT_USERDEFINED", "VT_LPSTR", "VT_LPWSTR"};
    for (VARTYPE vt = 18; vt <= 31; ++vt)
        cases.push_back({"Code" + std::to_string(vt), ofType(vt), low[vt - 18]});
    const char* const high[] = {"VT_FILETIME", "VT_BLOB", "VT_STREAM", "VT_STORAGE",
        "VT_STREAMED_OBJECT", "VT_STORED_OBJECT", "VT_BLOB_OBJECT", "VT_CF", "VT_CLSID"};
    for (VARTYPE vt = 64; vt <= 72; ++vt)
        cases.push_back({"Code" + std::to_string(vt), ofType(vt), high[vt - 64]});
    return cases;
}

} // namespace

class StrVariant : public testing::TestWithParam<VariantCase>
{
};

TEST_P(StrVariant, TextByTypeCode)
{
    EXPECT_EQ(CCrack::strVARIANT(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Table, StrVariant, testing::ValuesIn(variantCases()),
    [](const testing::TestParamInfo<VariantCase>& info) { return info.param.name; });

TEST(StrVariant, CurrencyUsesTheCurrencyFormatting)
{
    const COleCurrency money(1234, 5000);
    const std::string text = CCrack::strVARIANT(COleVariant(money));
    EXPECT_EQ(text, money.Format());
    EXPECT_NE(text.find("234.50"), std::string::npos) << text;
}

TEST(StrFieldType, NamesTheTypeOrUnknown)
{
    EXPECT_STREQ(CCrack::strFieldType(1), "Bool");
    EXPECT_STREQ(CCrack::strFieldType(4), "Long");
    EXPECT_STREQ(CCrack::strFieldType(11), "Long Binary");
    EXPECT_STREQ(CCrack::strFieldType(15), "GUID");
    EXPECT_STREQ(CCrack::strFieldType(9), "Unknown");
    EXPECT_STREQ(CCrack::strFieldType(0), "Unknown");
}

TEST(StrQueryDefType, NamesTheTypeOrUnknown)
{
    EXPECT_STREQ(CCrack::strQueryDefType(0), "Select");
    EXPECT_STREQ(CCrack::strQueryDefType(128), "Set Operation");
    EXPECT_STREQ(CCrack::strQueryDefType(240), "Action");
    EXPECT_STREQ(CCrack::strQueryDefType(1), "Unknown");
    EXPECT_STREQ(CCrack::strQueryDefType(160), "Unknown");
}

TEST(StrBool, NonZeroIsTrue)
{
    EXPECT_STREQ(CCrack::strBOOL(0), "FALSE");
    EXPECT_STREQ(CCrack::strBOOL(-1), "TRUE");
}
