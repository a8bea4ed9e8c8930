// Identifiers: text form, parsing, ordering and the suite's identity scheme.

#include "framework/identity/suiteguid.h"
#include "platform/ole/com.h"

#include <gtest/gtest.h>

TEST(GuidText, SuiteIdentifierInUpperCaseBraces)
{
    EXPECT_EQ(zorGuidToString(zorSuiteGuid(0x0005, 4)), "{01540154-0005-0000-0029-000000000004}");
    EXPECT_EQ(zorGuidToString(zorSuiteGuid(0x0123, 7)), "{01540154-0123-0000-0029-000000000007}");
    EXPECT_EQ(zorGuidToString(GUID_NULL), "{00000000-0000-0000-0000-000000000000}");
}

TEST(GuidText, HexDigitsAreUpperCase)
{
    GUID g;
    ASSERT_TRUE(zorGuidFromString("{7dd95801-9882-11cf-9fa9-00aa006c42c4}", &g));
    EXPECT_EQ(zorGuidToString(g), "{7DD95801-9882-11CF-9FA9-00AA006C42C4}");
    EXPECT_EQ(g.Data1, 0x7DD95801u);
    EXPECT_EQ(g.Data2, 0x9882);
    EXPECT_EQ(g.Data3, 0x11CF);
    EXPECT_EQ(g.Data4[0], 0x9F);
    EXPECT_EQ(g.Data4[7], 0xC4);
}

TEST(GuidText, RoundTripOfSuiteIdentifiers)
{
    for (WORD number : {0x0000, 0x0006, 0x0050, 0xFFFF}) {
        for (BYTE role = 1; role <= 7; ++role) {
            const GUID g = zorSuiteGuid(number, role);
            GUID back;
            ASSERT_TRUE(zorGuidFromString(zorGuidToString(g).c_str(), &back));
            EXPECT_EQ(back, g);
        }
    }
}

TEST(GuidText, MalformedTextIsRejectedAndLeavesTheTarget)
{
    const GUID original = zorSuiteGuid(1, 4);
    for (const char* text : {"", "01540154-0005-0000-0029-000000000004",
             "{01540154-0005-0000-0029-00000000000}", "{01540154-0005-0000-0029-0000000000044}",
             "{01540154-0005-0000-0029-00000000000G}", "{01540154+0005-0000-0029-000000000004}",
             "{015401540005-0000-0029-000000000004-}", "(01540154-0005-0000-0029-000000000004)"}) {
        GUID g = original;
        EXPECT_FALSE(zorGuidFromString(text, &g)) << text;
        EXPECT_EQ(g, original) << text;
    }
    GUID g;
    EXPECT_FALSE(zorGuidFromString(nullptr, &g));
}

TEST(GuidCompare, EqualityAndOrderLookAtEveryPart)
{
    const GUID a = zorSuiteGuid(5, 4);
    GUID b = a;
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a < b);
    b.Data4[7] = 5;
    EXPECT_TRUE(a != b);
    EXPECT_TRUE(a < b);
    EXPECT_FALSE(b < a);
    GUID c = a;
    c.Data1 = 0x01540153;
    EXPECT_TRUE(c < a);
    GUID d = a;
    d.Data3 = 1;
    EXPECT_TRUE(a < d);
}

TEST(InterfaceIds, StandardIdentifiers)
{
    EXPECT_EQ(zorGuidToString(IID_IUnknown), "{00000000-0000-0000-C000-000000000046}");
    EXPECT_EQ(zorGuidToString(IID_IDispatch), "{00020400-0000-0000-C000-000000000046}");
    EXPECT_EQ(zorGuidToString(IID_IClassFactory), "{00000001-0000-0000-C000-000000000046}");
}

TEST(VariantDispatch, ComparesByPointerAndConvertsOnlyToEmpty)
{
    int anchorA = 0;
    int anchorB = 0;
    auto* a = reinterpret_cast<IDispatch*>(&anchorA);
    auto* b = reinterpret_cast<IDispatch*>(&anchorB);
    COleVariant va = COleVariant::makeDispatch(a);
    EXPECT_EQ(va.vt, VT_DISPATCH);
    EXPECT_EQ(va.pdispVal, a);
    EXPECT_EQ(va, COleVariant::makeDispatch(a));
    EXPECT_NE(va, COleVariant::makeDispatch(b));
    COleVariant copy = va;
    EXPECT_FALSE(copy.ChangeType(VT_I4));
    EXPECT_FALSE(copy.ChangeType(VT_BSTR));
    EXPECT_EQ(copy, va);
    EXPECT_TRUE(copy.ChangeType(VT_DISPATCH));
    EXPECT_TRUE(copy.ChangeType(VT_EMPTY));
    EXPECT_EQ(copy.vt, VT_EMPTY);
    COleVariant number(5L);
    EXPECT_FALSE(number.ChangeType(VT_DISPATCH));
    EXPECT_EQ(number, COleVariant(5L));
}
