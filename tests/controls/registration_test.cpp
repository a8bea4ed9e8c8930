// Registration of the module's classes and its type library, creation by class id.

#include "tests/controls/widgetstestsupport.h"

#include "platform/ole/factory.h"
#include "platform/registry/registry.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string_view>

namespace {

// The parts joined; built by appending to a reserved buffer.
std::string join(std::initializer_list<std::string_view> parts)
{
    std::string text;
    text.reserve(256);
    for (std::string_view part : parts)
        text.append(part);
    return text;
}

bool keyExists(const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

const std::string c_scripting = "{7DD95801-9882-11CF-9FA9-00AA006C42C4}";
const std::string c_initializing = "{7DD95802-9882-11CF-9FA9-00AA006C42C4}";

} // namespace

TEST(WidgetsRegistration, RegisteringTwiceSucceedsBothTimes)
{
    registerWidgets();
    EXPECT_EQ(callEntryPoint("DllRegisterServer"), S_OK);
    EXPECT_EQ(callEntryPoint("DllRegisterServer"), S_OK);
    for (const char* id : {c_lightId, c_colorId, c_urlId})
        EXPECT_TRUE(keyExists(join({"CLSID\\", id, "\\InprocServer32"}))) << id;
    EXPECT_TRUE(keyExists("zorColorControl.29"));
    EXPECT_TRUE(keyExists("zorLightControl.29"));
    EXPECT_TRUE(keyExists("zorURLControl.29"));
    // Pages: the light's two, the colour control's two, the link's three.
    for (const char* page : {"{01540154-0005-0000-0029-000000000005}",
             "{01540154-0005-0000-0029-000000000006}", "{01540154-0006-0000-0029-000000000005}",
             "{01540154-0006-0000-0029-000000000006}", "{01540154-0004-0000-0029-000000000005}",
             "{01540154-0004-0000-0029-000000000006}", "{01540154-0004-0000-0029-000000000007}"})
        EXPECT_TRUE(keyExists(join({"CLSID\\", page}))) << page;
}

TEST(WidgetsRegistration, OnlyTheColourControlIsMarkedSafe)
{
    registerWidgets();
    const std::string color = join({"CLSID\\", c_colorId, "\\Implemented Categories\\"});
    EXPECT_TRUE(keyExists(join({color, c_scripting})));
    EXPECT_TRUE(keyExists(join({color, c_initializing})));
    const std::string light = join({"CLSID\\", c_lightId, "\\Implemented Categories\\"});
    EXPECT_FALSE(keyExists(join({light, c_scripting})));
    EXPECT_TRUE(keyExists(join({"Component Categories\\", c_scripting})));
}

TEST(WidgetsRegistration, UnregisteringKeepsTheCategoryMarks)
{
    registerWidgets();
    ASSERT_EQ(callEntryPoint("DllUnregisterServer"), S_OK);
    EXPECT_FALSE(keyExists(join({"CLSID\\", c_lightId, "\\InprocServer32"})));
    EXPECT_FALSE(keyExists(join({"CLSID\\", c_colorId, "\\InprocServer32"})));
    EXPECT_TRUE(keyExists(join({"Component Categories\\", c_scripting})));
    EXPECT_TRUE(keyExists(join({"Component Categories\\", c_initializing})));
    // Registered again for the other tests.
    ASSERT_EQ(callEntryPoint("DllRegisterServer"), S_OK);
}

TEST(WidgetsRegistration, CreatesEachControlByClassIdAndProgId)
{
    registerWidgets();
    for (const char* id : {c_lightId, c_colorId, c_urlId, "zorColorControl.29"}) {
        IDispatch* object = nullptr;
        ASSERT_EQ(zorCreateDispatch(id, &object), S_OK) << id;
        ASSERT_NE(object, nullptr);
        EXPECT_NE(object->GetTypeInfo(), nullptr);
        object->Release();
    }
    EXPECT_EQ(callEntryPoint("DllCanUnloadNow"), S_OK);
}

TEST(WidgetsTypeLibrary, DeclaresTheEightControls)
{
    auto of
        = reinterpret_cast<ZorTypeLibraryOf>(GetProcAddress(widgetsModule(), "zorTypeLibraryOf"));
    ASSERT_NE(of, nullptr);
    const ZorTypeLibrary* library = of();
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(zorGuidToString(library->libid), "{01540154-0000-0000-0029-000000000001}");
    EXPECT_EQ(library->major, 2);
    EXPECT_EQ(library->minor, 1);
    EXPECT_EQ(library->helpString, "zor ActiveX module");
    ASSERT_EQ(library->classes.size(), 8u);
    const ZorTypeInfo* color = nullptr;
    const ZorTypeInfo* url = nullptr;
    const ZorTypeInfo* upTime = nullptr;
    const ZorTypeInfo* progress = nullptr;
    for (const ZorTypeInfo* info : library->classes) {
        if (info->name == "ColorControl")
            color = info;
        if (info->name == "URL")
            url = info;
        if (info->name == "UPTime")
            upTime = info;
        if (info->name == "zorProgress")
            progress = info;
    }
    ASSERT_NE(upTime, nullptr);
    ASSERT_NE(progress, nullptr);
    // The up-time control's documentation strings spell its name apart from its ProgID.
    EXPECT_EQ(upTime->dispatch.doc, "Dispatch interface for zorUPTimeControl");
    // The progress control's interfaces are declared without members.
    EXPECT_EQ(progress->dispatch.name, "_DzorProgress");
    EXPECT_TRUE(progress->dispatch.members.empty());
    EXPECT_TRUE(progress->events.members.empty());
    ASSERT_NE(color, nullptr);
    ASSERT_NE(url, nullptr);
    EXPECT_EQ(color->dispatch.name, "_DColor");
    EXPECT_EQ(color->events.name, "_DColorEvents");
    EXPECT_EQ(color->dispatch.doc, "Dispatch interface for zorColorControl.29");
    EXPECT_EQ(color->events.doc, "Event interface for zorColorControl.29");
    EXPECT_EQ(color->doc, "zorColorControl.29");
    ASSERT_NE(color->dispatch.find(DISPID_VALUE), nullptr);
    EXPECT_EQ(color->dispatch.find(DISPID_VALUE)->name, "_RGBColor");
    ASSERT_NE(color->events.find(DISPID_CLICK), nullptr);
    EXPECT_EQ(url->doc, "zorUrlControl.29");
    EXPECT_TRUE(url->events.members.empty());
}
