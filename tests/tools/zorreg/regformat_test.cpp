#include "tools/zorreg/regformat.h"

#include <gtest/gtest.h>

using zorreg::ExportKey;
using zorreg::ExportValue;

namespace {

using Bytes = std::vector<BYTE>;

Bytes bytesOf(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

} // namespace

struct DataCase
{
    const char* label;
    DWORD type;
    const char* text; // as add takes it
    Bytes stored;
    const char* shown; // as query shows it
};

class ZorregData : public testing::TestWithParam<DataCase>
{
};

TEST_P(ZorregData, AddStoresAndQueryShows)
{
    const DataCase& c = GetParam();
    Bytes data;
    std::string error;
    ASSERT_TRUE(zorreg::parseData(c.type, c.text, data, error)) << error;
    EXPECT_EQ(data, c.stored);
    EXPECT_EQ(zorreg::formatData(c.type, data), c.shown);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ZorregData,
    testing::Values(DataCase {"Text", REG_SZ, "Corvane", bytesOf("Corvane"), "Corvane"},
        DataCase {"EmptyText", REG_SZ, "", {}, ""},
        DataCase {"DecimalNumber", REG_DWORD, "1000", {0xE8, 0x03, 0, 0}, "0x3e8"},
        DataCase {"HexNumber", REG_DWORD, "0xFFFFFFFF", {0xFF, 0xFF, 0xFF, 0xFF}, "0xffffffff"},
        DataCase {"NoNumberIsZero", REG_DWORD, "", {0, 0, 0, 0}, "0x0"},
        DataCase {"Binary", REG_BINARY, "0aff00", {0x0A, 0xFF, 0x00}, "0AFF00"},
        DataCase {"List", REG_MULTI_SZ, "one\\0two", {'o', 'n', 'e', 0, 't', 'w', 'o', 0, 0},
            "one\\0two"},
        DataCase {"EmptyList", REG_MULTI_SZ, "", {0}, ""}),
    [](const testing::TestParamInfo<DataCase>& info) { return info.param.label; });

TEST(ZorregData, InvalidDataIsRefused)
{
    Bytes data;
    std::string error;
    EXPECT_FALSE(zorreg::parseData(REG_DWORD, "12a", data, error));
    EXPECT_FALSE(zorreg::parseData(REG_DWORD, "4294967296", data, error));
    EXPECT_FALSE(zorreg::parseData(REG_DWORD, "0x", data, error));
    EXPECT_FALSE(zorreg::parseData(REG_BINARY, "abc", data, error));
    EXPECT_FALSE(zorreg::parseData(REG_BINARY, "zz", data, error));
    EXPECT_FALSE(error.empty());
}

TEST(ZorregData, StoredTextEndsAtItsZeroWhenShown)
{
    EXPECT_EQ(zorreg::formatData(REG_SZ, {'a', 'b', 0}), "ab");
    EXPECT_EQ(zorreg::formatData(REG_DWORD, {1, 2}), "0102") << "a short number shows its bytes";
    EXPECT_EQ(zorreg::typeName(0x1234), "REG_0x1234");
}

TEST(ZorregKeyName, RootsShortAndLongWithoutCase)
{
    zorreg::KeyName key;
    ASSERT_TRUE(zorreg::parseKeyName("hkcu\\Software\\\\Zorvex\\", key));
    EXPECT_EQ(key.root, HKEY_CURRENT_USER);
    EXPECT_EQ(key.path, "Software\\Zorvex");
    EXPECT_EQ(zorreg::fullName(key), "HKEY_CURRENT_USER\\Software\\Zorvex");
    ASSERT_TRUE(zorreg::parseKeyName("HKEY_LOCAL_MACHINE", key));
    EXPECT_EQ(key.root, HKEY_LOCAL_MACHINE);
    EXPECT_EQ(zorreg::fullName(key), "HKEY_LOCAL_MACHINE");
    ASSERT_TRUE(zorreg::parseKeyName("HKCR\\CLSID", key));
    EXPECT_EQ(key.root, HKEY_CLASSES_ROOT);
    EXPECT_FALSE(zorreg::parseKeyName("HKU\\Software", key));
    EXPECT_FALSE(zorreg::parseKeyName("Software\\Zorvex", key));
}

TEST(ZorregExportText, EveryKindComesBackByteForByte)
{
    std::vector<ExportKey> keys(2);
    keys[0].name = "HKEY_CURRENT_USER\\Software\\Zorvex";
    keys[0].values = {
        {"", REG_SZ, bytesOf("default"), false},
        {"Quote \"and\" \\ slash", REG_SZ, bytesOf("line\nbreak \"q\" \\ tab\t\x7f end"), false},
        {"Zeros", REG_SZ, {'a', 0, 'b', 0}, false},
        {"Latin", REG_SZ, {0xE9, 0xFC}, false},
        {"Number", REG_DWORD, {0x78, 0x56, 0x34, 0x12}, false},
        {"ShortNumber", REG_DWORD, {0x01}, false},
        {"Binary", REG_BINARY, Bytes(100, 0xAB), false},
        {"EmptyBinary", REG_BINARY, {}, false},
        {"List", REG_MULTI_SZ, {'a', 0, 'b', 0, 0}, false},
        {"Other", 0x1234, {1, 2, 3}, false},
    };
    keys[1].name = "HKEY_CURRENT_USER\\Software\\Zorvex\\Sub Key";

    std::string text;
    std::string error;
    ASSERT_TRUE(zorreg::writeExport(keys, text, error)) << error;
    EXPECT_EQ(text.rfind(zorreg::c_exportHeader, 0), 0u);
    EXPECT_NE(text.find("\"Number\"=dword:12345678\n"), std::string::npos) << text;
    EXPECT_NE(text.find("@=\"default\"\n"), std::string::npos) << text;

    std::vector<ExportKey> back;
    ASSERT_TRUE(zorreg::readExport(text, back, error)) << error << "\n" << text;
    ASSERT_EQ(back.size(), keys.size());
    for (size_t k = 0; k < keys.size(); ++k) {
        EXPECT_EQ(back[k].name, keys[k].name);
        ASSERT_EQ(back[k].values.size(), keys[k].values.size());
        for (size_t v = 0; v < keys[k].values.size(); ++v) {
            EXPECT_EQ(back[k].values[v].name, keys[k].values[v].name);
            EXPECT_EQ(back[k].values[v].type, keys[k].values[v].type) << keys[k].values[v].name;
            EXPECT_EQ(back[k].values[v].data, keys[k].values[v].data) << keys[k].values[v].name;
        }
    }
}

TEST(ZorregExportText, DeletionsAndCommentsAreRead)
{
    const std::string text = "ZORVEX Registry Export 1\r\n"
                             "; a comment\r\n"
                             "[-HKCU\\Software\\Old]\r\n"
                             "[hkcu\\Software\\Zorvex]\r\n"
                             "\"Gone\"=-\r\n"
                             "\"Long\"=hex:01,02,\\\r\n"
                             "  03\r\n";
    std::vector<ExportKey> keys;
    std::string error;
    ASSERT_TRUE(zorreg::readExport(text, keys, error)) << error;
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_TRUE(keys[0].remove);
    EXPECT_EQ(keys[0].name, "HKEY_CURRENT_USER\\Software\\Old");
    ASSERT_EQ(keys[1].values.size(), 2u);
    EXPECT_TRUE(keys[1].values[0].remove);
    EXPECT_EQ(keys[1].values[1].data, (Bytes {1, 2, 3}));
}

struct BadFileCase
{
    const char* label;
    const char* text;
};

class ZorregBadExport : public testing::TestWithParam<BadFileCase>
{
};

TEST_P(ZorregBadExport, IsRefusedWithItsLine)
{
    std::vector<ExportKey> keys {ExportKey {"kept", false, {}}};
    std::string error;
    EXPECT_FALSE(zorreg::readExport(GetParam().text, keys, error));
    EXPECT_NE(error.find("line"), std::string::npos) << error;
    ASSERT_EQ(keys.size(), 1u) << "nothing is returned from a faulty file";
}

INSTANTIATE_TEST_SUITE_P(Files, ZorregBadExport,
    testing::Values(BadFileCase {"WrongHeader", "Windows Registry Editor Version 5.00\n"},
        BadFileCase {"ValueBeforeKey", "ZORVEX Registry Export 1\n\"a\"=\"b\"\n"},
        BadFileCase {"UnknownRoot", "ZORVEX Registry Export 1\n[HKU\\x]\n"},
        BadFileCase {"OpenQuote", "ZORVEX Registry Export 1\n[HKCU\\x]\n\"a\"=\"b\n"},
        BadFileCase {"BadHex", "ZORVEX Registry Export 1\n[HKCU\\x]\n\"a\"=hex:1,zz\n"},
        BadFileCase {"BadNumber", "ZORVEX Registry Export 1\n[HKCU\\x]\n\"a\"=dword:123456789\n"}),
    [](const testing::TestParamInfo<BadFileCase>& info) { return info.param.label; });
