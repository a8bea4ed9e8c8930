// Type information: member lookup, type names and the printed interface text.

#include "framework/identity/suiteguid.h"
#include "platform/ole/typeinfo.h"

#include <gtest/gtest.h>

namespace {

ZorTypeInfo lightType()
{
    ZorTypeInfo info;
    info.name = "Light";
    info.clsid = zorSuiteGuid(5, 4);
    info.doc = "zorLightControl.29";
    info.dispatch.name = "_DLight";
    info.dispatch.iid = zorSuiteGuid(5, 2);
    info.dispatch.doc = "Dispatch interface for zorLightControl.29";
    info.dispatch.members = {
        {1, "State", ZorMemberInfo::eKIND_PROPERTY, VT_I4, {}, false},
        {2, "OnColor", ZorMemberInfo::eKIND_PROPERTY, VT_UI4, {}, false},
        {DISPID_FONT, "Font", ZorMemberInfo::eKIND_PROPERTY, VT_DISPATCH, {}, false},
        {3, "Version", ZorMemberInfo::eKIND_PROPERTY, VT_BSTR, {}, true},
        {4, "Blink", ZorMemberInfo::eKIND_METHOD, VT_BOOL,
            {{"a_lTimes", VT_I4}, {"a_strText", VT_BSTR}}, false},
        {5, "Reset", ZorMemberInfo::eKIND_METHOD, VT_EMPTY, {}, false},
    };
    info.events.name = "_DLightEvents";
    info.events.iid = zorSuiteGuid(5, 3);
    info.events.doc = "Event interface for zorLightControl.29";
    info.events.members
        = {{DISPID_CLICK, "Click", ZorMemberInfo::eKIND_METHOD, VT_EMPTY, {}, false}};
    return info;
}

} // namespace

TEST(TypeInfoLookup, ByDispidAndByNameWithoutCase)
{
    const ZorTypeInfo info = lightType();
    ASSERT_NE(info.dispatch.find(DISPID_FONT), nullptr);
    EXPECT_EQ(info.dispatch.find(DISPID_FONT)->name, "Font");
    EXPECT_EQ(info.dispatch.find(77), nullptr);
    ASSERT_NE(info.dispatch.find("oncolor"), nullptr);
    EXPECT_EQ(info.dispatch.find("ONCOLOR")->dispid, 2);
    EXPECT_EQ(info.dispatch.find("OnColo"), nullptr);
    EXPECT_EQ(info.dispatch.find(static_cast<const char*>(nullptr)), nullptr);
}

TEST(TypeInfoText, TypeNames)
{
    EXPECT_EQ(zorTypeName(VT_I4), "long");
    EXPECT_EQ(zorTypeName(VT_BSTR), "BSTR");
    EXPECT_EQ(zorTypeName(VT_UI4), "OLE_COLOR");
    EXPECT_EQ(zorTypeName(VT_DISPATCH), "IFontDisp*");
    EXPECT_EQ(zorTypeName(VT_BOOL), "VARIANT_BOOL");
    EXPECT_EQ(zorTypeName(VT_EMPTY), "void");
    EXPECT_EQ(zorTypeName(VT_I2), "short");
}

TEST(TypeInfoText, LibraryInterfacesAndCoclass)
{
    const ZorTypeInfo info = lightType();
    ZorTypeLibrary library;
    library.libid = zorSuiteGuid(0, 1);
    library.major = 2;
    library.minor = 1;
    library.name = "ZorWidgets29Lib";
    library.helpString = "zor ActiveX module";
    library.classes = {&info};
    const std::string expected = R"([
  uuid(01540154-0000-0000-0029-000000000001),
  version(2.1),
  helpstring("zor ActiveX module")
]
library ZorWidgets29Lib
{
    [
      uuid(01540154-0005-0000-0029-000000000002),
      helpstring("Dispatch interface for zorLightControl.29")
    ]
    dispinterface _DLight
    {
        properties:
            [id(1)] long State;
            [id(2)] OLE_COLOR OnColor;
            [id(-512)] IFontDisp* Font;
            [id(3), readonly] BSTR Version;
        methods:
            [id(4)] VARIANT_BOOL Blink(long a_lTimes, BSTR a_strText);
            [id(5)] void Reset();
    };

    [
      uuid(01540154-0005-0000-0029-000000000003),
      helpstring("Event interface for zorLightControl.29")
    ]
    dispinterface _DLightEvents
    {
        properties:
        methods:
            [id(-600)] void Click();
    };

    [
      uuid(01540154-0005-0000-0029-000000000004),
      helpstring("zorLightControl.29"),
      control
    ]
    coclass Light
    {
        [default] dispinterface _DLight;
        [default, source] dispinterface _DLightEvents;
    };

};
)";
    EXPECT_EQ(zorTypeLibraryText(library), expected);
}

TEST(TypeInfoText, EmptyLibraryAndQuotesInHelp)
{
    ZorTypeLibrary library;
    library.name = "Empty";
    library.major = 1;
    library.helpString = "a \"quoted\" help";
    const std::string text = zorTypeLibraryText(library);
    EXPECT_NE(text.find("version(1.0)"), std::string::npos);
    EXPECT_NE(text.find(R"(helpstring("a \"quoted\" help"))"), std::string::npos);
    EXPECT_NE(text.find("library Empty\n{\n};\n"), std::string::npos);
    EXPECT_EQ(text.find("coclass"), std::string::npos);
}
