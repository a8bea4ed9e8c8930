#include "platform/registry/registry.h"

#include "tests/platform/registry/writerpayload.h"
#include "tests/support/scopedenvironment.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {

using Bytes = std::vector<BYTE>;

Bytes bytesOf(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

HKEY createKey(HKEY root, const char* path, REGSAM access = KEY_ALL_ACCESS)
{
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExA(
                  root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr),
        ERROR_SUCCESS)
        << path;
    return key;
}

LONG setValue(HKEY root, const char* path, const char* name, DWORD type, const Bytes& data)
{
    HKEY key = nullptr;
    LONG result = RegCreateKeyExA(
        root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key, nullptr);
    if (result != ERROR_SUCCESS)
        return result;
    result = RegSetValueExA(key, name, 0, type, data.data(), static_cast<DWORD>(data.size()));
    RegCloseKey(key);
    return result;
}

// The stored type and bytes of a value, or the error of opening or querying it.
LONG getValue(HKEY root, const char* path, const char* name, DWORD& type, Bytes& data)
{
    HKEY key = nullptr;
    LONG result = RegOpenKeyExA(root, path, 0, KEY_READ, &key);
    if (result != ERROR_SUCCESS)
        return result;
    DWORD size = 0;
    result = RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
    if (result == ERROR_SUCCESS) {
        data.assign(size, 0xCC);
        result = RegQueryValueExA(key, name, nullptr, &type, data.data(), &size);
        data.resize(size);
    }
    RegCloseKey(key);
    return result;
}

std::string fileContents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool fileExists(const std::string& path)
{
    struct stat st
    {
    };
    return stat(path.c_str(), &st) == 0;
}

std::vector<std::string> subkeyNames(HKEY key)
{
    std::vector<std::string> names;
    char name[256];
    for (DWORD i = 0; RegEnumKeyA(key, i, name, sizeof name) == ERROR_SUCCESS; ++i)
        names.emplace_back(name);
    return names;
}

} // namespace

TEST(RegistryNames, KeysCompareWithoutCaseAndKeepFirstSpelling)
{
    ScopedRegistry store;
    HKEY first = createKey(HKEY_CURRENT_USER, "Software\\Zorvex\\Corvane");
    RegCloseKey(first);

    DWORD disposition = 0;
    HKEY again = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\zorvex\\CORVANE", 0, nullptr, 0,
                  KEY_ALL_ACCESS, nullptr, &again, &disposition),
        ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    RegCloseKey(again);

    HKEY parent = nullptr;
    ASSERT_EQ(
        RegOpenKeyExA(HKEY_CURRENT_USER, "software\\ZORVEX", 0, KEY_READ, &parent), ERROR_SUCCESS);
    EXPECT_EQ(subkeyNames(parent), std::vector<std::string> {"Corvane"});
    RegCloseKey(parent);
}

TEST(RegistryNames, ValuesCompareWithoutCaseAndKeepFirstSpelling)
{
    ScopedRegistry store;
    ASSERT_EQ(
        setValue(HKEY_CURRENT_USER, "Options", "Timeout", REG_DWORD, {1, 0, 0, 0}), ERROR_SUCCESS);
    ASSERT_EQ(
        setValue(HKEY_CURRENT_USER, "options", "TIMEOUT", REG_DWORD, {2, 0, 0, 0}), ERROR_SUCCESS);

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Options", 0, KEY_READ, &key), ERROR_SUCCESS);
    char name[64];
    DWORD nameLength = sizeof name;
    DWORD type = 0;
    BYTE data[8];
    DWORD size = sizeof data;
    ASSERT_EQ(RegEnumValueA(key, 0, name, &nameLength, nullptr, &type, data, &size), ERROR_SUCCESS);
    EXPECT_STREQ(name, "Timeout");
    EXPECT_EQ(nameLength, 7u);
    EXPECT_EQ(data[0], 2);
    nameLength = sizeof name;
    EXPECT_EQ(RegEnumValueA(key, 1, name, &nameLength, nullptr, nullptr, nullptr, nullptr),
        ERROR_NO_MORE_ITEMS);
    RegCloseKey(key);
}

class RegistryPathForms : public testing::TestWithParam<const char*>
{
};

TEST_P(RegistryPathForms, EmptyComponentsAreIgnored)
{
    ScopedRegistry store;
    ASSERT_EQ(
        setValue(HKEY_CURRENT_USER, "Alpha\\Beta", "Name", REG_SZ, bytesOf("x")), ERROR_SUCCESS);
    DWORD type = 0;
    Bytes data;
    EXPECT_EQ(getValue(HKEY_CURRENT_USER, GetParam(), "Name", type, data), ERROR_SUCCESS);
    EXPECT_EQ(data, bytesOf("x"));
}

INSTANTIATE_TEST_SUITE_P(Paths, RegistryPathForms,
    testing::Values(
        "Alpha\\Beta", "\\Alpha\\Beta", "Alpha\\\\Beta", "Alpha\\Beta\\", "\\\\alpha\\\\BETA\\\\"));

TEST(RegistryNames, OverlongKeyNameRejected)
{
    ScopedRegistry store;
    const std::string name(256, 'k');
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                  nullptr, &key, nullptr),
        ERROR_INVALID_PARAMETER);
    EXPECT_EQ(key, nullptr);
}

struct RawValueCase
{
    const char* label;
    DWORD type;
    Bytes data;
};

class RegistryRawValues : public testing::TestWithParam<RawValueCase>
{
};

TEST_P(RegistryRawValues, ComeBackByteForByteWithTheirType)
{
    ScopedRegistry store;
    const RawValueCase& c = GetParam();
    ASSERT_EQ(setValue(HKEY_CURRENT_USER, "Kinds", c.label, c.type, c.data), ERROR_SUCCESS);
    DWORD type = 0;
    Bytes data;
    ASSERT_EQ(getValue(HKEY_CURRENT_USER, "Kinds", c.label, type, data), ERROR_SUCCESS);
    EXPECT_EQ(type, c.type);
    EXPECT_EQ(data, c.data);
}

INSTANTIATE_TEST_SUITE_P(Kinds, RegistryRawValues,
    testing::Values(RawValueCase {"TextWithoutZero", REG_SZ, bytesOf("Corvane")},
        RawValueCase {"EmptyText", REG_SZ, {}},
        RawValueCase {"TextWithZeros", REG_SZ, {'a', 0, 'b', 0}},
        RawValueCase {"Number", REG_DWORD, {0x78, 0x56, 0x34, 0x12}},
        RawValueCase {"Binary", REG_BINARY, {0x00, 0xFF, 0x80, 0x00, 0x7F}},
        RawValueCase {"EmptyBinary", REG_BINARY, {}},
        RawValueCase {"List", REG_MULTI_SZ, {'o', 'n', 'e', 0, 't', 'w', 'o', 0, 0}},
        RawValueCase {"OtherType", 0x1234, {1, 2, 3}}),
    [](const testing::TestParamInfo<RawValueCase>& info) { return info.param.label; });

TEST(RegistryValues, ShortBufferGetsSizeNeededAndNoData)
{
    ScopedRegistry store;
    ASSERT_EQ(
        setValue(HKEY_CURRENT_USER, "Sizes", "Text", REG_SZ, bytesOf("0123456789")), ERROR_SUCCESS);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Sizes", 0, KEY_READ, &key), ERROR_SUCCESS);

    BYTE buffer[16];
    std::memset(buffer, 0xEE, sizeof buffer);
    DWORD size = 9;
    DWORD type = 0;
    EXPECT_EQ(RegQueryValueExA(key, "Text", nullptr, &type, buffer, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 10u);
    EXPECT_EQ(buffer[0], 0xEE);

    size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "text", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 10u);
    EXPECT_EQ(type, REG_SZ);

    size = 10;
    EXPECT_EQ(RegQueryValueExA(key, "Text", nullptr, nullptr, buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), size), "0123456789");
    EXPECT_EQ(buffer[10], 0xEE) << "a text stored without zero is returned without one";

    EXPECT_EQ(
        RegQueryValueExA(key, "Text", nullptr, nullptr, buffer, nullptr), ERROR_INVALID_PARAMETER);
    RegCloseKey(key);
}

TEST(RegistryValues, DefaultValueHasTheEmptyName)
{
    ScopedRegistry store;
    ASSERT_EQ(setValue(HKEY_CLASSES_ROOT, "zorGraphControl.29", nullptr, REG_SZ,
                  bytesOf("Graph Control")),
        ERROR_SUCCESS);
    DWORD type = 0;
    Bytes data;
    EXPECT_EQ(getValue(HKEY_CLASSES_ROOT, "zorGraphControl.29", "", type, data), ERROR_SUCCESS);
    EXPECT_EQ(data, bytesOf("Graph Control"));
    EXPECT_EQ(getValue(HKEY_CLASSES_ROOT, "zorGraphControl.29", "Other", type, data),
        ERROR_FILE_NOT_FOUND);
}

TEST(RegistryValues, MissingKeyAndValueAreNotFound)
{
    ScopedRegistry store;
    DWORD type = 0;
    Bytes data;
    EXPECT_EQ(getValue(HKEY_CURRENT_USER, "Nowhere", "Name", type, data), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(
        setValue(HKEY_CURRENT_USER, "Somewhere", "Name", REG_SZ, bytesOf("v")), ERROR_SUCCESS);
    EXPECT_EQ(getValue(HKEY_CURRENT_USER, "Somewhere", "Other", type, data), ERROR_FILE_NOT_FOUND);

    HKEY key = createKey(HKEY_CURRENT_USER, "Somewhere");
    EXPECT_EQ(RegDeleteValueA(key, "Name"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueA(key, "Name"), ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
    EXPECT_EQ(getValue(HKEY_CURRENT_USER, "Somewhere", "Name", type, data), ERROR_FILE_NOT_FOUND);
}

TEST(RegistryValues, ReadHandleCannotWrite)
{
    ScopedRegistry store;
    RegCloseKey(createKey(HKEY_CURRENT_USER, "ReadOnly"));
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "ReadOnly", 0, KEY_READ, &key), ERROR_SUCCESS);
    const BYTE one[4] = {1, 0, 0, 0};
    EXPECT_EQ(RegSetValueExA(key, "Value", 0, REG_DWORD, one, 4), ERROR_ACCESS_DENIED);
    RegCloseKey(key);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
}

TEST(RegistryEnumeration, SubkeysAlphabeticalWithoutRegardToCase)
{
    ScopedRegistry store;
    for (const char* name : {"beta", "Alpha", "GAMMA", "delta"}) {
        const std::string path = std::string("Root\\") + name;
        RegCloseKey(createKey(HKEY_CURRENT_USER, path.c_str()));
    }
    RegCloseKey(createKey(HKEY_CURRENT_USER, "Root\\beta\\Nested"));
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Root", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(subkeyNames(key), (std::vector<std::string> {"Alpha", "beta", "delta", "GAMMA"}));

    char small[5];
    DWORD length = sizeof small;
    EXPECT_EQ(
        RegEnumKeyExA(key, 0, small, &length, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
    char name[6];
    length = sizeof name;
    FILETIME written;
    EXPECT_EQ(
        RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, &written), ERROR_SUCCESS);
    EXPECT_STREQ(name, "Alpha");
    EXPECT_EQ(length, 5u);
    EXPECT_NE(written.dwHighDateTime, 0u) << "the key's last write time is filled in";
    EXPECT_EQ(RegEnumKeyA(key, 4, name, sizeof name), ERROR_NO_MORE_ITEMS);
    RegCloseKey(key);
}

TEST(RegistryEnumeration, ValuesInOrderFirstWrittenWithTypeAndData)
{
    ScopedRegistry store;
    ASSERT_EQ(setValue(HKEY_CURRENT_USER, "Order", "Zeta", REG_SZ, bytesOf("z")), ERROR_SUCCESS);
    ASSERT_EQ(
        setValue(HKEY_CURRENT_USER, "Order", "Alpha", REG_DWORD, {5, 0, 0, 0}), ERROR_SUCCESS);
    ASSERT_EQ(setValue(HKEY_CURRENT_USER, "Order", "Zeta", REG_BINARY, {9}), ERROR_SUCCESS);

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Order", 0, KEY_READ, &key), ERROR_SUCCESS);
    char name[16];
    DWORD nameLength = sizeof name;
    DWORD type = 0;
    BYTE data[4] = {};
    DWORD size = sizeof data;
    ASSERT_EQ(RegEnumValueA(key, 0, name, &nameLength, nullptr, &type, data, &size), ERROR_SUCCESS);
    EXPECT_STREQ(name, "Zeta");
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(size, 1u);
    EXPECT_EQ(data[0], 9);

    nameLength = 3;
    size = sizeof data;
    EXPECT_EQ(
        RegEnumValueA(key, 1, name, &nameLength, nullptr, &type, data, &size), ERROR_MORE_DATA);
    nameLength = sizeof name;
    size = 2;
    EXPECT_EQ(
        RegEnumValueA(key, 1, name, &nameLength, nullptr, &type, data, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 4u);
    RegCloseKey(key);
}

TEST(RegistryEnumeration, QueryInfoCountsAndLongestLengths)
{
    ScopedRegistry store;
    RegCloseKey(createKey(HKEY_CURRENT_USER, "Info\\Short"));
    RegCloseKey(createKey(HKEY_CURRENT_USER, "Info\\Longest\\Deeper"));
    ASSERT_EQ(setValue(HKEY_CURRENT_USER, "Info", "A", REG_SZ, bytesOf("123456")), ERROR_SUCCESS);
    ASSERT_EQ(
        setValue(HKEY_CURRENT_USER, "Info", "LongName", REG_DWORD, {1, 0, 0, 0}), ERROR_SUCCESS);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Info", 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD subKeys = 0, maxSubKey = 0, values = 0, maxValueName = 0, maxValue = 0;
    ASSERT_EQ(RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr,
                  &values, &maxValueName, &maxValue, nullptr, nullptr),
        ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 2u);
    EXPECT_EQ(maxSubKey, 7u);
    EXPECT_EQ(values, 2u);
    EXPECT_EQ(maxValueName, 8u);
    EXPECT_EQ(maxValue, 6u);
    RegCloseKey(key);
}

TEST(RegistryDelete, RemovesTheSubtreeOnly)
{
    ScopedRegistry store;
    ASSERT_EQ(setValue(HKEY_CURRENT_USER, "App", "Keep", REG_SZ, bytesOf("parent")), ERROR_SUCCESS);
    ASSERT_EQ(setValue(HKEY_CURRENT_USER, "App\\Gone", "V", REG_SZ, bytesOf("1")), ERROR_SUCCESS);
    ASSERT_EQ(setValue(HKEY_CURRENT_USER, "App\\Gone\\Deep\\Deeper", "V", REG_SZ, bytesOf("2")),
        ERROR_SUCCESS);
    ASSERT_EQ(
        setValue(HKEY_CURRENT_USER, "App\\Goners", "V", REG_SZ, bytesOf("sibling")), ERROR_SUCCESS);

    EXPECT_EQ(SHDeleteKeyA(HKEY_CURRENT_USER, "APP\\gone"), ERROR_SUCCESS);

    DWORD type = 0;
    Bytes data;
    EXPECT_EQ(getValue(HKEY_CURRENT_USER, "App\\Gone", "V", type, data), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(getValue(HKEY_CURRENT_USER, "App\\Gone\\Deep\\Deeper", "V", type, data),
        ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(getValue(HKEY_CURRENT_USER, "App", "Keep", type, data), ERROR_SUCCESS);
    EXPECT_EQ(getValue(HKEY_CURRENT_USER, "App\\Goners", "V", type, data), ERROR_SUCCESS);
    EXPECT_EQ(data, bytesOf("sibling"));

    // A key made again under the old name starts empty.
    RegCloseKey(createKey(HKEY_CURRENT_USER, "App\\Gone"));
    EXPECT_EQ(getValue(HKEY_CURRENT_USER, "App\\Gone", "V", type, data), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(SHDeleteKeyA(HKEY_CURRENT_USER, "App\\Missing"), ERROR_FILE_NOT_FOUND);
}

TEST(RegistryDelete, RootIsNeverDeleted)
{
    ScopedRegistry store;
    ASSERT_EQ(setValue(HKEY_CURRENT_USER, "Software", "V", REG_SZ, bytesOf("1")), ERROR_SUCCESS);
    EXPECT_EQ(SHDeleteKeyA(HKEY_CURRENT_USER, ""), ERROR_ACCESS_DENIED);
    EXPECT_EQ(SHDeleteKeyA(HKEY_CURRENT_USER, "\\"), ERROR_ACCESS_DENIED);
    DWORD type = 0;
    Bytes data;
    EXPECT_EQ(getValue(HKEY_CURRENT_USER, "Software", "V", type, data), ERROR_SUCCESS);
}

TEST(RegistryDelete, HandleOfDeletedKeyReportsIt)
{
    ScopedRegistry store;
    HKEY key = createKey(HKEY_CURRENT_USER, "Doomed");
    ASSERT_EQ(SHDeleteKeyA(HKEY_CURRENT_USER, "Doomed"), ERROR_SUCCESS);
    const BYTE one[4] = {1, 0, 0, 0};
    EXPECT_EQ(RegSetValueExA(key, "V", 0, REG_DWORD, one, 4), ERROR_KEY_DELETED);
    HKEY child = nullptr;
    EXPECT_EQ(
        RegCreateKeyExA(key, "Child", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr),
        ERROR_KEY_DELETED);
    RegCloseKey(key);
    HKEY reopened = nullptr;
    EXPECT_EQ(
        RegOpenKeyExA(HKEY_CURRENT_USER, "Doomed", 0, KEY_READ, &reopened), ERROR_FILE_NOT_FOUND);
}

TEST(RegistryStore, RootsAreSeparateFilesCreatedOnFirstWrite)
{
    ScopedRegistry store;
    DWORD type = 0;
    Bytes data;
    EXPECT_EQ(getValue(HKEY_LOCAL_MACHINE, "Software", "V", type, data), ERROR_FILE_NOT_FOUND);
    HKEY key = nullptr;
    EXPECT_EQ(
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(fileExists(zorRegistryFile(HKEY_LOCAL_MACHINE))) << "reads create nothing";

    ASSERT_EQ(
        setValue(HKEY_LOCAL_MACHINE, "Software", "V", REG_SZ, bytesOf("machine")), ERROR_SUCCESS);
    EXPECT_TRUE(fileExists(zorRegistryFile(HKEY_LOCAL_MACHINE)));
    EXPECT_EQ(zorRegistryFile(HKEY_LOCAL_MACHINE).rfind(store.path() + "/", 0), 0u);
    EXPECT_FALSE(fileExists(zorRegistryFile(HKEY_CURRENT_USER)));
    EXPECT_EQ(getValue(HKEY_CURRENT_USER, "Software", "V", type, data), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(getValue(HKEY_CLASSES_ROOT, "Software", "V", type, data), ERROR_FILE_NOT_FOUND);
}

TEST(RegistryStore, FolderFollowsTheEnvironmentBetweenCalls)
{
    ScopedRegistry first;
    ASSERT_EQ(
        setValue(HKEY_CURRENT_USER, "Moved", "Where", REG_SZ, bytesOf("first")), ERROR_SUCCESS);
    HKEY openedInFirst = createKey(HKEY_CURRENT_USER, "Moved");
    DWORD type = 0;
    Bytes data;
    {
        ScopedRegistry second;
        EXPECT_EQ(zorRegistryFolder(), second.path());
        EXPECT_EQ(getValue(HKEY_CURRENT_USER, "Moved", "Where", type, data), ERROR_FILE_NOT_FOUND);
        ASSERT_EQ(setValue(HKEY_CURRENT_USER, "Moved", "Where", REG_SZ, bytesOf("second")),
            ERROR_SUCCESS);
        // A key opened before the move stays in the store it was opened in.
        BYTE buffer[16];
        DWORD size = sizeof buffer;
        ASSERT_EQ(RegQueryValueExA(openedInFirst, "Where", nullptr, nullptr, buffer, &size),
            ERROR_SUCCESS);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), size), "first");
    }
    RegCloseKey(openedInFirst);
    ASSERT_EQ(getValue(HKEY_CURRENT_USER, "Moved", "Where", type, data), ERROR_SUCCESS);
    EXPECT_EQ(data, bytesOf("first"));
}

struct FolderCase
{
    const char* label;
    const char* zorvexRegistry; // null: unset
    const char* configHome; // null: unset
    const char* expected;
};

class RegistryFolder : public testing::TestWithParam<FolderCase>
{
};

TEST_P(RegistryFolder, ChosenFromTheEnvironment)
{
    const FolderCase& c = GetParam();
    ScopedEnvironment home("HOME", "/home/tester");
    ScopedEnvironment config("XDG_CONFIG_HOME", c.configHome);
    ScopedEnvironment store("ZORVEX_REGISTRY", c.zorvexRegistry);
    EXPECT_EQ(zorRegistryFolder(), c.expected);
    EXPECT_EQ(zorRegistryFile(HKEY_CURRENT_USER), std::string(c.expected) + "/current_user.db");
}

INSTANTIATE_TEST_SUITE_P(Folders, RegistryFolder,
    testing::Values(FolderCase {"StoreVariableWins", "/tmp/store", "/cfg", "/tmp/store"},
        FolderCase {"ConfigHome", nullptr, "/cfg", "/cfg/zorvex/registry"},
        FolderCase {"EmptyStoreVariableIgnored", "", "/cfg", "/cfg/zorvex/registry"},
        FolderCase {"HomeConfigWhenConfigHomeUnset", nullptr, nullptr,
            "/home/tester/.config/zorvex/registry"},
        FolderCase {"RelativeConfigHomeIgnored", nullptr, "relative",
            "/home/tester/.config/zorvex/registry"}),
    [](const testing::TestParamInfo<FolderCase>& info) { return info.param.label; });

struct DamageCase
{
    const char* label;
    bool wholeFile; // garbage for the whole file, else one page of a real store overwritten
};

class RegistryDamagedFile : public testing::TestWithParam<DamageCase>
{
};

TEST_P(RegistryDamagedFile, ReadsEmptyWritesFailReportedOnceFileUnchanged)
{
    ScopedRegistry outer;
    TempFolder folder;
    setenv("ZORVEX_REGISTRY", folder.path().c_str(), 1);
    const std::string file = zorRegistryFile(HKEY_CURRENT_USER);
    if (GetParam().wholeFile) {
        std::ofstream(file, std::ios::binary) << std::string(9000, 'G');
    } else {
        for (int i = 0; i < 200; ++i) {
            const std::string name = "Value" + std::to_string(i);
            ASSERT_EQ(setValue(HKEY_CURRENT_USER, "Software\\Many", name.c_str(), REG_SZ,
                          bytesOf(std::string(100, 'v'))),
                ERROR_SUCCESS);
        }
        // Leave the folder so the store is closed and its log folded into the file, then
        // overwrite the second page.
        setenv("ZORVEX_REGISTRY", outer.path().c_str(), 1);
        DWORD type = 0;
        Bytes data;
        getValue(HKEY_CURRENT_USER, "x", "y", type, data);
        ASSERT_FALSE(fileExists(file + "-wal"));
        std::fstream out(file, std::ios::binary | std::ios::in | std::ios::out);
        out.seekp(4096);
        out << std::string(4096, '\x5A');
        out.close();
        setenv("ZORVEX_REGISTRY", folder.path().c_str(), 1);
    }
    const std::string before = fileContents(file);

    testing::internal::CaptureStderr();
    HKEY key = nullptr;
    EXPECT_EQ(
        RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    char name[64];
    EXPECT_EQ(RegEnumKeyA(HKEY_CURRENT_USER, 0, name, sizeof name), ERROR_NO_MORE_ITEMS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(HKEY_CURRENT_USER, "V", nullptr, nullptr, nullptr, &size),
        ERROR_FILE_NOT_FOUND);
    const BYTE one[4] = {1, 0, 0, 0};
    EXPECT_EQ(RegSetValueExA(HKEY_CURRENT_USER, "V", 0, REG_DWORD, one, 4), ERROR_BADDB);
    EXPECT_EQ(RegCreateKeyExA(
                  HKEY_CURRENT_USER, "New", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
        ERROR_BADDB);
    EXPECT_EQ(SHDeleteKeyA(HKEY_CURRENT_USER, "Software"), ERROR_BADDB);
    // Leaving the folder and coming back opens the file afresh; it is not reported again.
    setenv("ZORVEX_REGISTRY", outer.path().c_str(), 1);
    EXPECT_EQ(RegEnumKeyA(HKEY_CURRENT_USER, 0, name, sizeof name), ERROR_NO_MORE_ITEMS);
    setenv("ZORVEX_REGISTRY", folder.path().c_str(), 1);
    EXPECT_EQ(RegSetValueExA(HKEY_CURRENT_USER, "V", 0, REG_DWORD, one, 4), ERROR_BADDB);
    const std::string report = testing::internal::GetCapturedStderr();

    size_t count = 0;
    for (size_t at = report.find(file); at != std::string::npos; at = report.find(file, at + 1))
        ++count;
    EXPECT_EQ(count, 1u) << report;
    EXPECT_EQ(fileContents(file), before) << "the damaged file is never written";

    // The other roots are not affected.
    EXPECT_EQ(
        setValue(HKEY_LOCAL_MACHINE, "Software", "V", REG_DWORD, {1, 0, 0, 0}), ERROR_SUCCESS);
    setenv("ZORVEX_REGISTRY", outer.path().c_str(), 1);
}

INSTANTIATE_TEST_SUITE_P(Damage, RegistryDamagedFile,
    testing::Values(DamageCase {"NotADatabase", true}, DamageCase {"DamagedPage", false}),
    [](const testing::TestParamInfo<DamageCase>& info) { return info.param.label; });

// A read-only store is recognised by its mode bits, so these tests hold for the superuser too.
TEST(RegistryReadOnly, LocalMachineFileNotWritableRefusesWritesKeepsReads)
{
    ScopedRegistry store;
    ASSERT_EQ(
        setValue(HKEY_LOCAL_MACHINE, "Software\\Options", "Timeout", REG_DWORD, {0xE8, 0x03, 0, 0}),
        ERROR_SUCCESS);
    const std::string file = zorRegistryFile(HKEY_LOCAL_MACHINE);
    ASSERT_EQ(chmod(file.c_str(), 0444), 0);

    EXPECT_EQ(setValue(HKEY_LOCAL_MACHINE, "Software\\Options", "Timeout", REG_DWORD, {1, 0, 0, 0}),
        ERROR_ACCESS_DENIED);
    EXPECT_EQ(SHDeleteKeyA(HKEY_LOCAL_MACHINE, "Software"), ERROR_ACCESS_DENIED);
    DWORD type = 0;
    Bytes data;
    ASSERT_EQ(
        getValue(HKEY_LOCAL_MACHINE, "Software\\Options", "Timeout", type, data), ERROR_SUCCESS);
    EXPECT_EQ(data, (Bytes {0xE8, 0x03, 0, 0}));
    // Opening an existing key only to read works through the create call too.
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Options", 0, nullptr, 0, KEY_READ,
                  nullptr, &key, nullptr),
        ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(setValue(HKEY_CURRENT_USER, "Software", "V", REG_DWORD, {1, 0, 0, 0}), ERROR_SUCCESS);

    ASSERT_EQ(chmod(file.c_str(), 0644), 0);
    EXPECT_EQ(setValue(HKEY_LOCAL_MACHINE, "Software\\Options", "Timeout", REG_DWORD, {1, 0, 0, 0}),
        ERROR_SUCCESS);
}

TEST(RegistryReadOnly, FolderNotWritableCreatesNothing)
{
    ScopedRegistry store;
    ASSERT_EQ(chmod(store.path().c_str(), 0555), 0);
    EXPECT_EQ(setValue(HKEY_LOCAL_MACHINE, "Software", "V", REG_DWORD, {1, 0, 0, 0}),
        ERROR_ACCESS_DENIED);
    EXPECT_FALSE(fileExists(zorRegistryFile(HKEY_LOCAL_MACHINE)));
    chmod(store.path().c_str(), 0755);
}

TEST(RegistryConcurrency, ThreadsOfOneProcessLoseNothing)
{
    ScopedRegistry store;
    constexpr DWORD c_threads = 4;
    constexpr DWORD c_each = 150;
    std::atomic<int> failures {0};
    std::vector<std::thread> threads;
    for (DWORD t = 0; t < c_threads; ++t) {
        threads.emplace_back([t, &failures] {
            for (DWORD i = 0; i < c_each; ++i) {
                const Bytes payload = writerPayload(t, i);
                if (setValue(HKEY_CURRENT_USER, c_writerKey, writerValueName(t, i).c_str(),
                        REG_BINARY, payload)
                    != ERROR_SUCCESS)
                    ++failures;
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(failures, 0);
    for (DWORD t = 0; t < c_threads; ++t) {
        for (DWORD i = 0; i < c_each; ++i) {
            DWORD type = 0;
            Bytes data;
            ASSERT_EQ(
                getValue(HKEY_CURRENT_USER, c_writerKey, writerValueName(t, i).c_str(), type, data),
                ERROR_SUCCESS);
            EXPECT_EQ(data, writerPayload(t, i));
        }
    }
}

TEST(RegistryConcurrency, TwoWriterProcessesLoseNothingAndTearNothing)
{
    ScopedRegistry store;
    constexpr DWORD c_count = 2000;
    const std::string count = std::to_string(c_count);
    pid_t children[2] = {};
    for (int w = 0; w < 2; ++w) {
        const std::string writer = std::to_string(w + 1);
        char* argv[] = {const_cast<char*>(ZOR_REGISTRY_WRITER), const_cast<char*>(writer.c_str()),
            const_cast<char*>(count.c_str()), nullptr};
        ASSERT_EQ(
            posix_spawn(&children[w], ZOR_REGISTRY_WRITER, nullptr, nullptr, argv, environ), 0);
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "writer status " << status;
    }

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, c_writerKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD values = 0;
    ASSERT_EQ(RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                  nullptr, nullptr, nullptr, nullptr),
        ERROR_SUCCESS);
    EXPECT_EQ(values, 2 * c_count + 1);
    int missing = 0;
    int wrong = 0;
    for (DWORD w = 1; w <= 2; ++w) {
        for (DWORD i = 0; i < c_count; ++i) {
            Bytes data(c_payloadSize);
            DWORD size = c_payloadSize;
            const LONG result = RegQueryValueExA(
                key, writerValueName(w, i).c_str(), nullptr, nullptr, data.data(), &size);
            if (result != ERROR_SUCCESS)
                ++missing;
            else if (data != writerPayload(w, i))
                ++wrong;
        }
    }
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(wrong, 0);
    Bytes shared(c_payloadSize);
    DWORD size = c_payloadSize;
    ASSERT_EQ(RegQueryValueExA(key, c_sharedValue, nullptr, nullptr, shared.data(), &size),
        ERROR_SUCCESS);
    EXPECT_TRUE(isWholePayload(shared));
    RegCloseKey(key);
}
