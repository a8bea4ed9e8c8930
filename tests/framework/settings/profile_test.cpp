#include "framework/settings/profile.h"

#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sys/stat.h>

namespace {

using Bytes = std::vector<BYTE>;

Bytes bytesOf(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

HKEY rootOf(eKEY r)
{
    return reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(r));
}

// The stored type and bytes of a value, read past the store under test.
bool rawValue(eKEY r, const std::string& path, const std::string& name, DWORD& type, Bytes& data)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(rootOf(r), path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    bool ok = RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
    if (ok) {
        data.assign(size, 0);
        ok = RegQueryValueExA(key, name.c_str(), nullptr, &type, data.data(), &size)
            == ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return ok;
}

void setRaw(eKEY r, const std::string& path, const std::string& name, DWORD type, const Bytes& data)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(
                  rootOf(r), path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    ASSERT_EQ(
        RegSetValueExA(key, name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size())),
        ERROR_SUCCESS);
    RegCloseKey(key);
}

class CCountingProfile : public CProfile
{
public:
    void initAppVars() override
    {
        ++m_calls;
        m_timeout = getInt(eKEY_LOCAL_MACHINE, "Options", "Timeout", 1000);
    }
    int m_calls {0};
    int m_timeout {0};
};

const char* const c_section = "Software\\Zorvex\\Corvane\\V2.01\\Options";

CProfile corvaneProfile()
{
    CProfile profile;
    profile.initProfile("Zorvex", "Corvane", "V2.01");
    return profile;
}

} // namespace

struct PathCase
{
    const char* label;
    const char* company;
    const char* application;
    const char* version;
    eKEY root;
    const char* section;
    const char* path;
};

class ProfilePath : public testing::TestWithParam<PathCase>
{
};

TEST_P(ProfilePath, ValuesLandInTheKeyOfTheRule)
{
    ScopedRegistry store;
    const PathCase& c = GetParam();
    CProfile profile;
    profile.initProfile(c.company, c.application, c.version);
    EXPECT_EQ(profile.setupKey(c.root, c.section), c.path);

    profile.putInt(c.root, c.section, "Marker", 42);
    DWORD type = 0;
    Bytes data;
    ASSERT_TRUE(rawValue(c.root, c.path, "Marker", type, data)) << c.path;
    EXPECT_EQ(data, (Bytes {42, 0, 0, 0}));
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfilePath,
    testing::Values(PathCase {"AllNames", "Zorvex", "Corvane", "V2.01", eKEY_CURRENT_USER,
                        "Options", "Software\\Zorvex\\Corvane\\V2.01\\Options"},
        PathCase {"LocalMachineSameLayout", "Zorvex", "Corvane", "V2.01", eKEY_LOCAL_MACHINE,
            "Options", "Software\\Zorvex\\Corvane\\V2.01\\Options"},
        PathCase {"EmptyCompanySkipsSeparator", "", "Corvane", "V2.01", eKEY_CURRENT_USER,
            "Options", "Software\\Corvane\\V2.01\\Options"},
        PathCase {"EmptyApplicationSkipsSeparator", "Zorvex", "", "V2.01", eKEY_CURRENT_USER,
            "Options", "Software\\Zorvex\\V2.01\\Options"},
        PathCase {
            "OnlyVersion", "", "", "2.00", eKEY_CURRENT_USER, "Options", "Software\\2.00\\Options"},
        PathCase {"AllNamesEmptySectionAlone", "", "", "", eKEY_CURRENT_USER, "Options", "Options"},
        PathCase {"ClassesRootSectionAlone", "Zorvex", "Corvane", "V2.01", eKEY_CLASSES_ROOT,
            "zorGraphControl.29", "zorGraphControl.29"},
        PathCase {"EmptySectionEndsWithSeparator", "Zorvex", "PathPick", "2.00", eKEY_CURRENT_USER,
            "", "Software\\Zorvex\\PathPick\\2.00\\"},
        PathCase {"NestedSection", "Zorvex", "Corvane", "V2.01", eKEY_CURRENT_USER, "Hosts\\1",
            "Software\\Zorvex\\Corvane\\V2.01\\Hosts\\1"}),
    [](const testing::TestParamInfo<PathCase>& info) { return info.param.label; });

TEST(ProfileInit, StoresNamesThenLoadsSettingsOnce)
{
    ScopedRegistry store;
    CCountingProfile profile;
    EXPECT_FALSE(profile.isInitialised());
    EXPECT_EQ(profile.setupKey(eKEY_CURRENT_USER, "Options"), "Options");

    CProfile writer = corvaneProfile();
    writer.putInt(eKEY_LOCAL_MACHINE, "Options", "Timeout", 2500);

    profile.initProfile("Zorvex", "Corvane", "V2.01");
    EXPECT_TRUE(profile.isInitialised());
    EXPECT_EQ(profile.m_calls, 1);
    EXPECT_EQ(profile.m_timeout, 2500) << "the names are set before the settings are loaded";

    const CProfile copy = profile;
    EXPECT_TRUE(copy.isInitialised());
    EXPECT_EQ(copy.setupKey(eKEY_CURRENT_USER, "Options"), c_section);
}

TEST(ProfileNumbers, BoolDefaultAndStoredZero)
{
    ScopedRegistry store;
    const CProfile profile = corvaneProfile();
    EXPECT_TRUE(profile.getBool(eKEY_CURRENT_USER, "Options", "Readme", true));
    profile.putBool(eKEY_CURRENT_USER, "Options", "Readme", false);
    EXPECT_FALSE(profile.getBool(eKEY_CURRENT_USER, "Options", "Readme", true));
    profile.putBool(eKEY_CURRENT_USER, "Options", "Readme", true);
    DWORD type = 0;
    Bytes data;
    ASSERT_TRUE(rawValue(eKEY_CURRENT_USER, c_section, "Readme", type, data));
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(data, (Bytes {1, 0, 0, 0}));
}

TEST(ProfileNumbers, FourBytesWhateverTheStoredType)
{
    ScopedRegistry store;
    const CProfile profile = corvaneProfile();
    setRaw(eKEY_CURRENT_USER, c_section, "Binary", REG_BINARY, {0x01, 0x02, 0x03, 0x04});
    EXPECT_EQ(profile.getInt(eKEY_CURRENT_USER, "Options", "Binary", -7), 0x04030201);
    setRaw(eKEY_CURRENT_USER, c_section, "Short", REG_BINARY, {0x05});
    EXPECT_EQ(profile.getInt(eKEY_CURRENT_USER, "Options", "Short", -7), 5);
    setRaw(eKEY_CURRENT_USER, c_section, "TooLong", REG_SZ, bytesOf("12345"));
    EXPECT_EQ(profile.getInt(eKEY_CURRENT_USER, "Options", "TooLong", -7), -7);
    EXPECT_EQ(profile.getInt(eKEY_CURRENT_USER, "Missing", "Binary", -7), -7);
    EXPECT_EQ(profile.getInt(eKEY_CURRENT_USER, "Options", "Missing", -7), -7);

    profile.putInt(eKEY_CURRENT_USER, "Options", "Negative", -2);
    EXPECT_EQ(profile.getInt(eKEY_CURRENT_USER, "Options", "Negative", 0), -2);
    profile.putColor(eKEY_CURRENT_USER, "GraphColor", "1", 0x0F000000);
    EXPECT_EQ(profile.getColor(eKEY_CURRENT_USER, "GraphColor", "1", 0x0000FF), 0x0F000000u);
    EXPECT_EQ(profile.getColor(eKEY_CURRENT_USER, "GraphColor", "2", 0x00FF00), 0x00FF00u);
}

TEST(ProfileText, StoredWithoutZeroAndReadBackUnchanged)
{
    ScopedRegistry store;
    const CProfile profile = corvaneProfile();
    const std::string host = "gateway.example \"one\" \\ two";
    profile.putChars(eKEY_CURRENT_USER, "Hosts", "1", host);
    EXPECT_EQ(profile.getString(eKEY_CURRENT_USER, "Hosts", "1", "default"), host);
    DWORD type = 0;
    Bytes data;
    ASSERT_TRUE(
        rawValue(eKEY_CURRENT_USER, "Software\\Zorvex\\Corvane\\V2.01\\Hosts", "1", type, data));
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(data.size(), host.size());

    profile.putChars(eKEY_CURRENT_USER, "Hosts", "2", nullptr);
    ASSERT_TRUE(
        rawValue(eKEY_CURRENT_USER, "Software\\Zorvex\\Corvane\\V2.01\\Hosts", "2", type, data));
    EXPECT_TRUE(data.empty());
    EXPECT_EQ(profile.getString(eKEY_CURRENT_USER, "Hosts", "2", "default"), "")
        << "an empty value is a value";
    EXPECT_EQ(profile.getString(eKEY_CURRENT_USER, "Hosts", "3", "default"), "default");
}

TEST(ProfileText, LongestTextFitsOneMoreGivesDefault)
{
    ScopedRegistry store;
    const CProfile profile = corvaneProfile();
    const std::string longest(8191, 'x');
    profile.putChars(eKEY_CURRENT_USER, "Options", "Longest", longest);
    EXPECT_EQ(profile.getString(eKEY_CURRENT_USER, "Options", "Longest", "d"), longest);
    profile.putChars(eKEY_CURRENT_USER, "Options", "TooLong", longest + "y");
    EXPECT_EQ(profile.getString(eKEY_CURRENT_USER, "Options", "TooLong", "d"), "d");
}

TEST(ProfileText, TextWrittenWithZeroEndsThere)
{
    ScopedRegistry store;
    const CProfile profile = corvaneProfile();
    setRaw(eKEY_CURRENT_USER, c_section, "Terminated", REG_SZ, {'a', 'b', 0});
    EXPECT_EQ(profile.getString(eKEY_CURRENT_USER, "Options", "Terminated", "d"), "ab");
}

TEST(ProfileText, GlobalStringUsesThePathAsGiven)
{
    ScopedRegistry store;
    const CProfile profile = corvaneProfile();
    setRaw(eKEY_CLASSES_ROOT, "CLSID\\{01540154-0000-0000-0029-000000000004}\\InprocServer32", "",
        REG_SZ, bytesOf("/opt/zorvex/zorwidgets29.so"));
    EXPECT_EQ(profile.getGlobalString(HKEY_CLASSES_ROOT,
                  "CLSID\\{01540154-0000-0000-0029-000000000004}\\InprocServer32", "", "none"),
        "/opt/zorvex/zorwidgets29.so");
    EXPECT_EQ(profile.getGlobalString(HKEY_CURRENT_USER, "CLSID", "", "none"), "none");
}

TEST(ProfileDate, StoredAsTextAndParsedBack)
{
    ScopedRegistry store;
    const CProfile profile = corvaneProfile();
    const COleDateTime when(2002, 6, 5, 14, 7, 9);
    profile.putDate(eKEY_CURRENT_USER, "Options", "LastRun", when);
    DWORD type = 0;
    Bytes data;
    ASSERT_TRUE(rawValue(eKEY_CURRENT_USER, c_section, "LastRun", type, data));
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(std::string(data.begin(), data.end()), "06/05/2002 14:07:09");

    const COleDateTime fallback(1999, 12, 31, 0, 0, 0);
    const COleDateTime read = profile.getDate(eKEY_CURRENT_USER, "Options", "LastRun", fallback);
    EXPECT_EQ(read.GetStatus(), COleDateTime::valid);
    EXPECT_EQ(read.GetYear(), 2002);
    EXPECT_EQ(read.GetMonth(), 6);
    EXPECT_EQ(read.GetDay(), 5);
    EXPECT_EQ(read.GetHour(), 14);
    EXPECT_EQ(read.GetMinute(), 7);
    EXPECT_EQ(read.GetSecond(), 9);

    profile.putChars(eKEY_CURRENT_USER, "Options", "Garbled", "not a date");
    EXPECT_EQ(profile.getDate(eKEY_CURRENT_USER, "Options", "Garbled", fallback), fallback);
    EXPECT_EQ(profile.getDate(eKEY_CURRENT_USER, "Options", "Missing", fallback), fallback);
}

TEST(ProfileDouble, EightLittleEndianBytes)
{
    ScopedRegistry store;
    const CProfile profile = corvaneProfile();
    profile.putDouble(eKEY_CURRENT_USER, "Options", "Ratio", 1.5);
    DWORD type = 0;
    Bytes data;
    ASSERT_TRUE(rawValue(eKEY_CURRENT_USER, c_section, "Ratio", type, data));
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(data, (Bytes {0, 0, 0, 0, 0, 0, 0xF8, 0x3F}));
    EXPECT_EQ(profile.getDouble(eKEY_CURRENT_USER, "Options", "Ratio", 0.0), 1.5);
    EXPECT_EQ(profile.getDouble(eKEY_CURRENT_USER, "Options", "Missing", -0.25), -0.25);

    // A value of another length is not a double: it must not be mixed into the default.
    setRaw(eKEY_CURRENT_USER, c_section, "Half", REG_BINARY, {1, 2, 3, 4});
    EXPECT_EQ(profile.getDouble(eKEY_CURRENT_USER, "Options", "Half", -0.25), -0.25);
}

TEST(ProfileBytes, CountReadAndTooLargeLeavesBuffer)
{
    ScopedRegistry store;
    const CProfile profile = corvaneProfile();
    const BYTE blob[5] = {9, 8, 7, 6, 5};
    profile.putBytes(eKEY_CURRENT_USER, "Options", "Blob", blob, sizeof blob);
    BYTE buffer[8];
    std::memset(buffer, 0xAA, sizeof buffer);
    EXPECT_EQ(profile.getBytes(eKEY_CURRENT_USER, "Options", "Blob", buffer, sizeof buffer), 5u);
    EXPECT_EQ(std::memcmp(buffer, blob, 5), 0);
    EXPECT_EQ(buffer[5], 0xAA);

    std::memset(buffer, 0xAA, sizeof buffer);
    EXPECT_EQ(profile.getBytes(eKEY_CURRENT_USER, "Options", "Blob", buffer, 4), 0u);
    EXPECT_EQ(buffer[0], 0xAA);
    EXPECT_EQ(profile.getBytes(eKEY_CURRENT_USER, "Options", "Missing", buffer, 8), 0u);

    // A buffer of no bytes holds nothing of a value that has some.
    EXPECT_EQ(profile.getBytes(eKEY_CURRENT_USER, "Options", "Blob", buffer, 0), 0u);
    EXPECT_EQ(buffer[0], 0xAA);
}

struct ListCase
{
    const char* label;
    Bytes stored;
    int count;
    std::vector<std::string> texts;
};

class ProfileStringArray : public testing::TestWithParam<ListCase>
{
};

TEST_P(ProfileStringArray, CountRuleAndNonEmptyTextsAppended)
{
    ScopedRegistry store;
    const CProfile profile = corvaneProfile();
    const ListCase& c = GetParam();
    setRaw(eKEY_CURRENT_USER, c_section, "List", REG_MULTI_SZ, c.stored);
    std::vector<std::string> array {"kept"};
    EXPECT_EQ(profile.getStringArray(eKEY_CURRENT_USER, "Options", "List", array), c.count);
    std::vector<std::string> expected {"kept"};
    expected.insert(expected.end(), c.texts.begin(), c.texts.end());
    EXPECT_EQ(array, expected);
}

INSTANTIATE_TEST_SUITE_P(Lists, ProfileStringArray,
    testing::Values(
        ListCase {"TwoTexts", {'o', 'n', 'e', 0, 't', 'w', 'o', 0, 0}, 2, {"one", "two"}},
        ListCase {"OneText", {'x', 0, 0}, 1, {"x"}}, ListCase {"EmptyValue", {}, -1, {}},
        ListCase {"OnlyTheClosingZero", {0}, 0, {}},
        ListCase {"InnerEmptyTextCountedNotAppended", {'a', 0, 0, 'b', 0, 0}, 3, {"a", "b"}}),
    [](const testing::TestParamInfo<ListCase>& info) { return info.param.label; });

TEST(ProfileStringArrayStore, WrittenAsListAndMissingGivesZero)
{
    ScopedRegistry store;
    const CProfile profile = corvaneProfile();
    std::vector<std::string> array;
    EXPECT_EQ(profile.getStringArray(eKEY_CURRENT_USER, "Nowhere", "List", array), 0);
    EXPECT_EQ(profile.getStringArray(eKEY_CURRENT_USER, "Options", "List", array), 0);

    profile.putStringArray(eKEY_CURRENT_USER, "Options", "List", {"alpha", "beta"});
    DWORD type = 0;
    Bytes data;
    ASSERT_TRUE(rawValue(eKEY_CURRENT_USER, c_section, "List", type, data));
    EXPECT_EQ(type, REG_MULTI_SZ);
    EXPECT_EQ(data, (Bytes {'a', 'l', 'p', 'h', 'a', 0, 'b', 'e', 't', 'a', 0, 0}));
    EXPECT_EQ(profile.getStringArray(eKEY_CURRENT_USER, "Options", "List", array), 2);
    EXPECT_EQ(array, (std::vector<std::string> {"alpha", "beta"}));

    // A list longer than the read buffer is not read at all.
    profile.putStringArray(
        eKEY_CURRENT_USER, "Options", "Long", {std::string(5000, 'a'), std::string(5000, 'b')});
    array.clear();
    EXPECT_EQ(profile.getStringArray(eKEY_CURRENT_USER, "Options", "Long", array), 0);
    EXPECT_TRUE(array.empty());
}

TEST(ProfileFont, MissingFaceGivesDefaultsAndFalse)
{
    ScopedRegistry store;
    const CProfile profile = corvaneProfile();
    LOGFONT font;
    font.lfWeight = 700;
    font.lfItalic = 1;
    COLORREF color = 0x123456;
    EXPECT_FALSE(profile.getLogFont(eKEY_CURRENT_USER, "Font", font, color, "MS Sans Serif", -11));
    EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
    EXPECT_EQ(font.lfHeight, -11);
    EXPECT_EQ(font.lfWeight, 0) << "the font is cleared first";
    EXPECT_EQ(font.lfItalic, 0);
    EXPECT_EQ(color, 0xFFFFFFFFu);

    profile.putColor(eKEY_CURRENT_USER, "Font", "lfColor", 0x00FF00);
    EXPECT_FALSE(profile.getLogFont(eKEY_CURRENT_USER, "Font", font, color, "MS Sans Serif", -11));
    EXPECT_EQ(color, 0x00FF00u);
}

TEST(ProfileFont, FaceAloneGivesFieldDefaults)
{
    ScopedRegistry store;
    const CProfile profile = corvaneProfile();
    profile.putChars(eKEY_CURRENT_USER, "Font", "lfFaceName", "Arial");
    LOGFONT font;
    COLORREF color = 0;
    EXPECT_TRUE(profile.getLogFont(eKEY_CURRENT_USER, "Font", font, color, "MS Sans Serif", -11));
    EXPECT_STREQ(font.lfFaceName, "Arial");
    EXPECT_EQ(font.lfHeight, -1);
    EXPECT_EQ(font.lfWeight, 400);
    EXPECT_EQ(font.lfPitchAndFamily, 16);
    EXPECT_EQ(font.lfItalic, 0);
    EXPECT_EQ(color, 0xFFFFFFFFu);
}

TEST(ProfileFont, RoundTripOfEveryStoredField)
{
    ScopedRegistry store;
    const CProfile profile = corvaneProfile();
    LOGFONT font;
    font.lfHeight = -13;
    font.lfWidth = 7;
    font.lfEscapement = 900;
    font.lfOrientation = 450;
    font.lfWeight = 700;
    font.lfItalic = 255;
    font.lfUnderline = 1;
    font.lfStrikeOut = 1;
    font.lfCharSet = 204;
    font.lfOutPrecision = 3;
    font.lfClipPrecision = 2;
    font.lfQuality = 5;
    font.lfPitchAndFamily = 34;
    std::strcpy(font.lfFaceName, "Courier New");
    profile.putLogFont(eKEY_CURRENT_USER, "Font", font, 0x0F000000);

    DWORD type = 0;
    Bytes data;
    ASSERT_TRUE(rawValue(
        eKEY_CURRENT_USER, "Software\\Zorvex\\Corvane\\V2.01\\Font", "lfItalic", type, data));
    EXPECT_EQ(data, (Bytes {1, 0, 0, 0})) << "italic is stored as 0 or 1";
    EXPECT_FALSE(rawValue(
        eKEY_CURRENT_USER, "Software\\Zorvex\\Corvane\\V2.01\\Font", "lfWidth", type, data));

    LOGFONT back;
    COLORREF color = 0;
    ASSERT_TRUE(profile.getLogFont(eKEY_CURRENT_USER, "Font", back, color, "MS Sans Serif", -11));
    EXPECT_STREQ(back.lfFaceName, "Courier New");
    EXPECT_EQ(back.lfHeight, -13);
    EXPECT_EQ(back.lfWidth, 0);
    EXPECT_EQ(back.lfEscapement, 900);
    EXPECT_EQ(back.lfOrientation, 450);
    EXPECT_EQ(back.lfWeight, 700);
    EXPECT_EQ(back.lfItalic, 1);
    EXPECT_EQ(back.lfUnderline, 1);
    EXPECT_EQ(back.lfStrikeOut, 1);
    EXPECT_EQ(back.lfCharSet, 204);
    EXPECT_EQ(back.lfOutPrecision, 3);
    EXPECT_EQ(back.lfClipPrecision, 2);
    EXPECT_EQ(back.lfQuality, 5);
    EXPECT_EQ(back.lfPitchAndFamily, 34);
    EXPECT_EQ(color, 0x0F000000u);
}

TEST(ProfileFont, OverlongStoredFaceIsCutToTheField)
{
    ScopedRegistry store;
    const CProfile profile = corvaneProfile();
    profile.putChars(eKEY_CURRENT_USER, "Font", "lfFaceName", std::string(100, 'F'));
    LOGFONT font;
    COLORREF color = 0;
    ASSERT_TRUE(profile.getLogFont(eKEY_CURRENT_USER, "Font", font, color, "", 0));
    EXPECT_EQ(std::string(font.lfFaceName), std::string(LF_FACESIZE - 1, 'F'));
}

TEST(ProfileWindowPlacement, MissingSectionGivesDefaults)
{
    ScopedRegistry store;
    const CProfile profile = corvaneProfile();
    WINDOWPLACEMENT wp;
    wp.showCmd = 3;
    wp.rcNormalPosition = RECT {10, 10, 20, 20};
    profile.getWindowPlacement(eKEY_CURRENT_USER, "Main", wp);
    EXPECT_EQ(wp.length, sizeof(WINDOWPLACEMENT));
    EXPECT_EQ(wp.flags, 0u);
    EXPECT_EQ(wp.showCmd, 5u);
    EXPECT_EQ(wp.ptMinPosition.x, 0);
    EXPECT_EQ(wp.ptMinPosition.y, 0);
    EXPECT_EQ(wp.ptMaxPosition.x, -zorSizingFrameWidth());
    EXPECT_EQ(wp.ptMaxPosition.y, -zorSizingFrameHeight());
    EXPECT_EQ(wp.rcNormalPosition.left, 0);
    EXPECT_EQ(wp.rcNormalPosition.top, 0);
    EXPECT_EQ(wp.rcNormalPosition.right, 640);
    EXPECT_EQ(wp.rcNormalPosition.bottom, 480);
}

TEST(ProfileWindowPlacement, RoundTripOneNumberPerField)
{
    ScopedRegistry store;
    const CProfile profile = corvaneProfile();
    WINDOWPLACEMENT wp;
    wp.flags = 2;
    wp.showCmd = 3;
    wp.ptMinPosition = POINT {-32000, -32000};
    wp.ptMaxPosition = POINT {-8, -8};
    wp.rcNormalPosition = RECT {100, 50, 900, 650};
    profile.putWindowPlacement(eKEY_CURRENT_USER, "Main", wp);

    DWORD type = 0;
    Bytes data;
    ASSERT_TRUE(rawValue(
        eKEY_CURRENT_USER, "Software\\Zorvex\\Corvane\\V2.01\\Main", "NormalCx", type, data));
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(data, (Bytes {0x84, 0x03, 0, 0})) << "NormalCx holds the right edge";

    WINDOWPLACEMENT back;
    profile.getWindowPlacement(eKEY_CURRENT_USER, "Main", back);
    EXPECT_EQ(back.flags, 2u);
    EXPECT_EQ(back.showCmd, 3u);
    EXPECT_EQ(back.ptMinPosition.x, -32000);
    EXPECT_EQ(back.ptMinPosition.y, -32000);
    EXPECT_EQ(back.ptMaxPosition.x, -8);
    EXPECT_EQ(back.ptMaxPosition.y, -8);
    EXPECT_EQ(back.rcNormalPosition.left, 100);
    EXPECT_EQ(back.rcNormalPosition.top, 50);
    EXPECT_EQ(back.rcNormalPosition.right, 900);
    EXPECT_EQ(back.rcNormalPosition.bottom, 650);
}

TEST(ProfileChildren, BothFormsListTheSubkeys)
{
    ScopedRegistry store;
    const CProfile profile = corvaneProfile();
    profile.putInt(eKEY_CURRENT_USER, "Hosts\\beta", "Slot", 2);
    profile.putInt(eKEY_CURRENT_USER, "Hosts\\Alpha", "Slot", 1);
    profile.putInt(eKEY_CURRENT_USER, "Hosts\\Alpha\\Nested", "Slot", 3);
    EXPECT_EQ(profile.enumChildren(eKEY_CURRENT_USER, "Hosts"), "Alpha~beta~");
    std::vector<std::string> names {"kept"};
    EXPECT_EQ(profile.enumChildren(eKEY_CURRENT_USER, "Hosts", names), 2);
    EXPECT_EQ(names, (std::vector<std::string> {"kept", "Alpha", "beta"}));
    EXPECT_EQ(profile.enumChildren(eKEY_CURRENT_USER, "Missing", names), 0);
    EXPECT_EQ(profile.enumChildren(eKEY_CURRENT_USER, "Missing"), "");
}

TEST(ProfileDeleteKey, RemovesTheNamedSectionWithItsSubtree)
{
    ScopedRegistry store;
    const CProfile profile = corvaneProfile();
    profile.putInt(eKEY_CURRENT_USER, "Hosts", "Count", 2);
    profile.putInt(eKEY_CURRENT_USER, "Hosts\\1", "Slot", 1);
    profile.putInt(eKEY_CURRENT_USER, "Options", "Interval", 10);

    EXPECT_TRUE(profile.deleteKey(eKEY_CURRENT_USER, "Hosts"));
    EXPECT_EQ(profile.getInt(eKEY_CURRENT_USER, "Hosts", "Count", -1), -1);
    EXPECT_EQ(profile.getInt(eKEY_CURRENT_USER, "Hosts\\1", "Slot", -1), -1);
    EXPECT_EQ(profile.getInt(eKEY_CURRENT_USER, "Options", "Interval", -1), 10);
    EXPECT_FALSE(profile.deleteKey(eKEY_CURRENT_USER, "Hosts"));
}

TEST(ProfileDeleteKey, EmptyNameNeverDeletesARoot)
{
    ScopedRegistry store;
    const CProfile profile = corvaneProfile();
    profile.putInt(eKEY_CLASSES_ROOT, "zorGraphControl.29", "Kept", 1);
    EXPECT_FALSE(profile.deleteKey(eKEY_CLASSES_ROOT, ""));
    EXPECT_EQ(profile.getInt(eKEY_CLASSES_ROOT, "zorGraphControl.29", "Kept", 0), 1);
    const CProfile unnamed;
    unnamed.putInt(eKEY_CURRENT_USER, "Options", "Kept", 1);
    EXPECT_FALSE(unnamed.deleteKey(eKEY_CURRENT_USER, ""));
    EXPECT_EQ(unnamed.getInt(eKEY_CURRENT_USER, "Options", "Kept", 0), 1);
}

TEST(ProfileReadOnlyRoot, WritesIgnoredReadsGiveDefaults)
{
    ScopedRegistry store;
    const CProfile profile = corvaneProfile();
    ASSERT_EQ(chmod(store.path().c_str(), 0555), 0);
    profile.putInt(eKEY_LOCAL_MACHINE, "Options", "Timeout", 3000);
    EXPECT_EQ(profile.getInt(eKEY_LOCAL_MACHINE, "Options", "Timeout", 1000), 1000);
    chmod(store.path().c_str(), 0755);
}
