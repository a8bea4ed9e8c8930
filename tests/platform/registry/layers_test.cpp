// The two layers of the store: the user's read above the machine-wide one, every write in the
// user's, and the machine layer never changed through the merged view.

#include "platform/registry/machineregistryscope.h"
#include "platform/registry/registry.h"

#include "tests/support/scopedenvironment.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <sys/stat.h>

namespace {

using Bytes = std::vector<BYTE>;
using Names = std::vector<std::string>;

Bytes bytesOf(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

std::string fileContents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

LONG setValue(HKEY root, const std::string& path, const char* name, const Bytes& data)
{
    HKEY key = nullptr;
    LONG result = RegCreateKeyExA(
        root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key, nullptr);
    if (result != ERROR_SUCCESS)
        return result;
    result = RegSetValueExA(key, name, 0, REG_SZ, data.data(), static_cast<DWORD>(data.size()));
    RegCloseKey(key);
    return result;
}

LONG getValue(HKEY root, const std::string& path, const char* name, Bytes& data)
{
    HKEY key = nullptr;
    LONG result = RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key);
    if (result != ERROR_SUCCESS)
        return result;
    DWORD size = 0;
    result = RegQueryValueExA(key, name, nullptr, nullptr, nullptr, &size);
    if (result == ERROR_SUCCESS) {
        data.assign(size, 0);
        result = RegQueryValueExA(key, name, nullptr, nullptr, data.data(), &size);
        data.resize(size);
    }
    RegCloseKey(key);
    return result;
}

Names subkeyNames(HKEY root, const std::string& path)
{
    Names names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return {"<cannot open>"};
    char name[256];
    for (DWORD i = 0; RegEnumKeyA(key, i, name, sizeof name) == ERROR_SUCCESS; ++i)
        names.emplace_back(name);
    RegCloseKey(key);
    return names;
}

// Each value as "name=data".
Names valueTexts(HKEY root, const std::string& path)
{
    Names texts;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return {"<cannot open>"};
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameLength = sizeof name;
        BYTE data[256];
        DWORD size = sizeof data;
        if (RegEnumValueA(key, i, name, &nameLength, nullptr, nullptr, data, &size)
            != ERROR_SUCCESS)
            break;
        texts.push_back(
            std::string(name, nameLength) + "=" + std::string(reinterpret_cast<char*>(data), size));
    }
    RegCloseKey(key);
    return texts;
}

// A user's store in one temporary folder above a machine-wide store in another.
class CLayeredStore
{
public:
    CLayeredStore()
        : m_user("ZORVEX_REGISTRY", m_userFolder.path().c_str())
        , m_machine("ZORVEX_MACHINE_REGISTRY", m_machineFolder.path().c_str())
    { }

    const std::string& machineFolder() const { return m_machineFolder.path(); }
    const std::string& userFolder() const { return m_userFolder.path(); }

    // Writes into the machine layer as the administration tools do.
    void inMachine(const std::function<void()>& write) const
    {
        CMachineRegistryScope scope;
        std::string reason;
        ASSERT_TRUE(scope.prepareForWrites(reason)) << reason;
        write();
    }
    void machineValue(
        HKEY root, const std::string& path, const char* name, const std::string& data) const
    {
        inMachine([&] { ASSERT_EQ(setValue(root, path, name, bytesOf(data)), ERROR_SUCCESS); });
    }
    std::string machineFile(HKEY root) const
    {
        return machineFolder() + zorRegistryFile(root).substr(userFolder().size());
    }

private:
    TempFolder m_userFolder;
    TempFolder m_machineFolder;
    ScopedEnvironment m_user;
    ScopedEnvironment m_machine;
};

const std::string c_options = "Software\\Zorvex\\Corvane\\V2.01\\Options";

} // namespace

// --- Which folders make the layers ---

struct LayerFolderCase
{
    const char* label;
    const char* store; // ZORVEX_REGISTRY, null: unset
    const char* machine; // ZORVEX_MACHINE_REGISTRY, null: unset
    const char* layer; // expected zorMachineRegistryFolder(); null: the compiled-in folder
    const char* configured; // expected zorMachineRegistryStore(); null: the compiled-in folder
};

class RegistryLayerFolder : public testing::TestWithParam<LayerFolderCase>
{
};

TEST_P(RegistryLayerFolder, ChosenFromTheEnvironment)
{
    const LayerFolderCase& c = GetParam();
    ScopedEnvironment home("HOME", "/home/tester");
    ScopedEnvironment config("XDG_CONFIG_HOME", nullptr);
    ScopedEnvironment store("ZORVEX_REGISTRY", c.store);
    ScopedEnvironment machine("ZORVEX_MACHINE_REGISTRY", c.machine);
    EXPECT_EQ(zorMachineRegistryFolder(), c.layer ? c.layer : ZOR_TEST_MACHINE_REGISTRY_DIR);
    EXPECT_EQ(
        zorMachineRegistryStore(), c.configured ? c.configured : ZOR_TEST_MACHINE_REGISTRY_DIR);
}

INSTANTIATE_TEST_SUITE_P(Folders, RegistryLayerFolder,
    testing::Values(LayerFolderCase {"InstalledDefault", nullptr, nullptr, nullptr, nullptr},
        LayerFolderCase {"RelocatedStoreIsTheWholeStore", "/tmp/u", nullptr, "", nullptr},
        LayerFolderCase {"BothNamed", "/tmp/u", "/tmp/m", "/tmp/m", "/tmp/m"},
        LayerFolderCase {"EmptyMachineVariableIgnored", "/tmp/u", "", "", nullptr},
        LayerFolderCase {"MachineIsTheStoreItself", "/tmp/u", "/tmp/u/", "", "/tmp/u/"},
        LayerFolderCase {"MachineIsTheDefaultUserFolder", nullptr,
            "/home/tester/.config/zorvex/registry", "", "/home/tester/.config/zorvex/registry"},
        LayerFolderCase {"MachineNamedStoreDefault", nullptr, "/srv/m", "/srv/m", "/srv/m"}),
    [](const testing::TestParamInfo<LayerFolderCase>& info) { return info.param.label; });

// --- Reads through both layers ---

struct ReadCase
{
    const char* label;
    HKEY root;
    const char* machineName; // null: the machine layer has no value
    const char* userName; // null: the user's layer has no value
    const char* queried;
    LONG result;
    const char* data; // "machine" or "user" when found
};

class RegistryLayerRead : public testing::TestWithParam<ReadCase>
{
};

TEST_P(RegistryLayerRead, UserValueFirstThenMachine)
{
    const ReadCase& c = GetParam();
    CLayeredStore store;
    if (c.machineName) {
        store.machineValue(c.root, c_options, c.machineName, "machine");
    } else {
        store.inMachine([&] { ASSERT_EQ(setValue(c.root, c_options, "Other", {}), 0); });
    }
    if (c.userName) {
        ASSERT_EQ(setValue(c.root, c_options, c.userName, bytesOf("user")), ERROR_SUCCESS);
    }

    Bytes data;
    ASSERT_EQ(getValue(c.root, c_options, c.queried, data), c.result);
    if (c.result == ERROR_SUCCESS) {
        EXPECT_EQ(data, bytesOf(c.data));
    }
}

INSTANTIATE_TEST_SUITE_P(Values, RegistryLayerRead,
    testing::Values(ReadCase {"OnlyMachine", HKEY_LOCAL_MACHINE, "Timeout", nullptr, "Timeout",
                        ERROR_SUCCESS, "machine"},
        ReadCase {"BothUserWins", HKEY_LOCAL_MACHINE, "Timeout", "Timeout", "Timeout",
            ERROR_SUCCESS, "user"},
        ReadCase {"UserSpellingDiffersStillWins", HKEY_LOCAL_MACHINE, "Timeout", "TIMEOUT",
            "timeout", ERROR_SUCCESS, "user"},
        ReadCase {
            "OnlyUser", HKEY_LOCAL_MACHINE, nullptr, "Repeat", "Repeat", ERROR_SUCCESS, "user"},
        ReadCase {"NeitherHasIt", HKEY_LOCAL_MACHINE, "Timeout", "Repeat", "Missing",
            ERROR_FILE_NOT_FOUND, nullptr},
        ReadCase {"ClassesRootMerged", HKEY_CLASSES_ROOT, "ProgID", nullptr, "progid",
            ERROR_SUCCESS, "machine"},
        ReadCase {"CurrentUserIsTheUsersAlone", HKEY_CURRENT_USER, "Timeout", nullptr, "Timeout",
            ERROR_FILE_NOT_FOUND, nullptr}),
    [](const testing::TestParamInfo<ReadCase>& info) { return info.param.label; });

// --- Enumeration of the union ---

struct EnumCase
{
    const char* label;
    Names machine;
    Names user;
    Names subkeys; // expected, in order
    Names values; // expected "name=data", in order
};

class RegistryLayerEnumeration : public testing::TestWithParam<EnumCase>
{
};

TEST_P(RegistryLayerEnumeration, UnionInOrderEachNameOnce)
{
    const EnumCase& c = GetParam();
    CLayeredStore store;
    // Each name is both a subkey and a value of the key, its data saying whose it is. The
    // user's are written first, so that they keep their own spelling.
    for (const std::string& name : c.user) {
        ASSERT_EQ(setValue(HKEY_LOCAL_MACHINE, c_options + "\\" + name, "", {}), 0);
        ASSERT_EQ(setValue(HKEY_LOCAL_MACHINE, c_options, name.c_str(), bytesOf("u")), 0);
    }
    store.inMachine([&] {
        for (const std::string& name : c.machine) {
            ASSERT_EQ(setValue(HKEY_LOCAL_MACHINE, c_options + "\\" + name, "", {}), 0);
            ASSERT_EQ(setValue(HKEY_LOCAL_MACHINE, c_options, name.c_str(), bytesOf("m")), 0);
        }
    });

    EXPECT_EQ(subkeyNames(HKEY_LOCAL_MACHINE, c_options), c.subkeys);
    EXPECT_EQ(valueTexts(HKEY_LOCAL_MACHINE, c_options), c.values);

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, c_options.c_str(), 0, KEY_READ, &key), 0);
    DWORD subkeys = 0;
    DWORD longestSubkey = 0;
    DWORD values = 0;
    DWORD longestValueName = 0;
    ASSERT_EQ(RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, &longestSubkey, nullptr,
                  &values, &longestValueName, nullptr, nullptr, nullptr),
        ERROR_SUCCESS);
    RegCloseKey(key);
    size_t longest = 0;
    for (const std::string& name : c.subkeys)
        longest = std::max(longest, name.size());
    EXPECT_EQ(subkeys, c.subkeys.size());
    EXPECT_EQ(values, c.values.size());
    EXPECT_EQ(longestSubkey, longest);
    EXPECT_EQ(longestValueName, longest);
}

INSTANTIATE_TEST_SUITE_P(Keys, RegistryLayerEnumeration,
    testing::Values(EnumCase {"Interleaved", {"Alpha", "Delta"}, {"charlie", "Bravo", "echo"},
                        {"Alpha", "Bravo", "charlie", "Delta", "echo"},
                        {"charlie=u", "Bravo=u", "echo=u", "Alpha=m", "Delta=m"}},
        EnumCase {"SameNamesOnceInTheUsersSpelling", {"Timeout", "Repeat", "Size"},
            {"REPEAT", "timeout"}, {"REPEAT", "Size", "timeout"},
            {"REPEAT=u", "timeout=u", "Size=m"}},
        // '_' lies between the capitals and the small letters: folded, "a_" comes first.
        EnumCase {"OrderFoldsCaseBeforeComparing", {"aB", "Ab_long"}, {"a_"},
            {"a_", "aB", "Ab_long"}, {"a_=u", "aB=m", "Ab_long=m"}},
        EnumCase {"OnlyMachine", {"One", "Two"}, {}, {"One", "Two"}, {"One=m", "Two=m"}},
        EnumCase {"OnlyUser", {}, {"One", "Two"}, {"One", "Two"}, {"One=u", "Two=u"}}),
    [](const testing::TestParamInfo<EnumCase>& info) { return info.param.label; });

// --- Writes and deletions through the merged view ---

struct ChangeCase
{
    const char* label;
    std::function<LONG()> change;
    LONG result;
    Names subkeys; // of c_options afterwards
    Names values; // of c_options afterwards
};

class RegistryLayerChange : public testing::TestWithParam<ChangeCase>
{
};

// The machine layer has Options with Timeout and Repeat and the subkey Hosts; the user has
// Repeat and the subkey Mine.
TEST_P(RegistryLayerChange, LandsInTheUsersStoreMachineFileUnchanged)
{
    const ChangeCase& c = GetParam();
    CLayeredStore store;
    store.inMachine([&] {
        ASSERT_EQ(setValue(HKEY_LOCAL_MACHINE, c_options, "Timeout", bytesOf("m1")), 0);
        ASSERT_EQ(setValue(HKEY_LOCAL_MACHINE, c_options, "Repeat", bytesOf("m2")), 0);
        ASSERT_EQ(setValue(HKEY_LOCAL_MACHINE, c_options + "\\Hosts", "Gateway", bytesOf("m3")), 0);
    });
    ASSERT_EQ(setValue(HKEY_LOCAL_MACHINE, c_options, "Repeat", bytesOf("u2")), 0);
    ASSERT_EQ(setValue(HKEY_LOCAL_MACHINE, c_options + "\\Mine", "V", bytesOf("u3")), 0);
    const std::string machineFile = store.machineFile(HKEY_LOCAL_MACHINE);
    const std::string before = fileContents(machineFile);
    ASSERT_FALSE(before.empty());

    EXPECT_EQ(c.change(), c.result);
    EXPECT_EQ(subkeyNames(HKEY_LOCAL_MACHINE, c_options), c.subkeys);
    EXPECT_EQ(valueTexts(HKEY_LOCAL_MACHINE, c_options), c.values);
    EXPECT_EQ(fileContents(machineFile), before) << "the machine layer is never written";
}

namespace {

LONG deleteValue(const char* name)
{
    HKEY key = nullptr;
    LONG result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, c_options.c_str(), 0, KEY_ALL_ACCESS, &key);
    if (result == ERROR_SUCCESS)
        result = RegDeleteValueA(key, name);
    RegCloseKey(key);
    return result;
}

// Sets a value through a handle that was opened while the key existed in the machine layer
// only, and reads it back through that handle.
LONG setInMachineOnlyKey()
{
    HKEY key = nullptr;
    LONG result = RegOpenKeyExA(
        HKEY_LOCAL_MACHINE, (c_options + "\\hosts").c_str(), 0, KEY_ALL_ACCESS, &key);
    if (result != ERROR_SUCCESS)
        return result;
    const Bytes data = bytesOf("u4");
    result = RegSetValueExA(key, "gateway", 0, REG_SZ, data.data(), 2);
    BYTE back[8];
    DWORD size = sizeof back;
    if (result == ERROR_SUCCESS)
        result = RegQueryValueExA(key, "Gateway", nullptr, nullptr, back, &size);
    RegCloseKey(key);
    if (result == ERROR_SUCCESS) {
        EXPECT_EQ(Bytes(back, back + size), data);
    }
    return result;
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Changes, RegistryLayerChange,
    testing::Values(
        ChangeCase {"OverrideMachineValue",
            [] { return setValue(HKEY_LOCAL_MACHINE, c_options, "TIMEOUT", bytesOf("u1")); },
            ERROR_SUCCESS, {"Hosts", "Mine"}, {"Repeat=u2", "Timeout=u1"}},
        ChangeCase {"ValueInKeyOnlyInMachine", setInMachineOnlyKey, ERROR_SUCCESS,
            {"Hosts", "Mine"}, {"Repeat=u2", "Timeout=m1"}},
        ChangeCase {"NewSubkeyBelowMachineKey",
            [] { return setValue(HKEY_LOCAL_MACHINE, c_options + "\\Hosts\\New", "V", {}); },
            ERROR_SUCCESS, {"Hosts", "Mine"}, {"Repeat=u2", "Timeout=m1"}},
        ChangeCase {"DeleteMachineOnlyValueRefused", [] { return deleteValue("Timeout"); },
            ERROR_ACCESS_DENIED, {"Hosts", "Mine"}, {"Repeat=u2", "Timeout=m1"}},
        ChangeCase {"DeleteOverriddenValueRemovesUsersPart", [] { return deleteValue("repeat"); },
            ERROR_ACCESS_DENIED, {"Hosts", "Mine"}, {"Timeout=m1", "Repeat=m2"}},
        ChangeCase {"DeleteMissingValue", [] { return deleteValue("Nothing"); },
            ERROR_FILE_NOT_FOUND, {"Hosts", "Mine"}, {"Repeat=u2", "Timeout=m1"}},
        ChangeCase {"DeleteMachineOnlyKeyRefused",
            [] { return SHDeleteKeyA(HKEY_LOCAL_MACHINE, (c_options + "\\Hosts").c_str()); },
            ERROR_ACCESS_DENIED, {"Hosts", "Mine"}, {"Repeat=u2", "Timeout=m1"}},
        ChangeCase {"DeleteUsersOwnKey",
            [] { return SHDeleteKeyA(HKEY_LOCAL_MACHINE, (c_options + "\\Mine").c_str()); },
            ERROR_SUCCESS, {"Hosts"}, {"Repeat=u2", "Timeout=m1"}},
        ChangeCase {"DeleteKeyInBothRemovesUsersPart",
            [] { return SHDeleteKeyA(HKEY_LOCAL_MACHINE, c_options.c_str()); }, ERROR_ACCESS_DENIED,
            {"Hosts"}, {"Timeout=m1", "Repeat=m2"}}),
    [](const testing::TestParamInfo<ChangeCase>& info) { return info.param.label; });

TEST(RegistryLayerChange, NewPathTakesTheMachinesSpellingAndDisposition)
{
    CLayeredStore store;
    store.machineValue(HKEY_CLASSES_ROOT, "CLSID\\{AB}", "", "machine");
    DWORD disposition = 0;
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, "clsid\\{ab}", 0, nullptr, 0, KEY_ALL_ACCESS,
                  nullptr, &key, &disposition),
        ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY) << "the key existed in the machine layer";
    HKEY child = nullptr;
    ASSERT_EQ(RegCreateKeyExA(key, "InprocServer32", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child,
                  &disposition),
        ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    RegCloseKey(child);
    RegCloseKey(key);

    // The user's store alone shows the spelling its new keys got.
    ScopedEnvironment noLayer("ZORVEX_MACHINE_REGISTRY", store.userFolder());
    EXPECT_EQ(subkeyNames(HKEY_CLASSES_ROOT, ""), Names {"CLSID"});
    EXPECT_EQ(subkeyNames(HKEY_CLASSES_ROOT, "CLSID"), Names {"{AB}"});
}

// --- The machine layer's files as an ordinary user finds them ---

struct MachineFileCase
{
    const char* label;
    std::function<void(const std::string& folder, const std::string& file)> spoil;
    LONG result; // of reading the machine's value
    bool reported; // once on standard error
};

class RegistryLayerMachineFile : public testing::TestWithParam<MachineFileCase>
{
};

TEST_P(RegistryLayerMachineFile, ReadOnlyReadDamagedReadEmpty)
{
    const MachineFileCase& c = GetParam();
    CLayeredStore store;
    store.machineValue(HKEY_LOCAL_MACHINE, c_options, "Timeout", "m1");
    const std::string file = store.machineFile(HKEY_LOCAL_MACHINE);
    c.spoil(store.machineFolder(), file);
    const std::string before = fileContents(file);

    testing::internal::CaptureStderr();
    Bytes data;
    EXPECT_EQ(getValue(HKEY_LOCAL_MACHINE, c_options, "Timeout", data), c.result);
    EXPECT_EQ(getValue(HKEY_LOCAL_MACHINE, c_options, "Timeout", data), c.result);
    // Writes still go to the user's store.
    EXPECT_EQ(setValue(HKEY_LOCAL_MACHINE, c_options, "Repeat", bytesOf("u")), ERROR_SUCCESS);
    EXPECT_EQ(getValue(HKEY_LOCAL_MACHINE, c_options, "Repeat", data), ERROR_SUCCESS);
    const std::string report = testing::internal::GetCapturedStderr();

    size_t count = 0;
    for (size_t at = report.find(file); at != std::string::npos; at = report.find(file, at + 1))
        ++count;
    EXPECT_EQ(count, c.reported ? 1u : 0u) << report;
    EXPECT_EQ(fileContents(file), before);
    chmod(store.machineFolder().c_str(), 0755);
}

INSTANTIATE_TEST_SUITE_P(Files, RegistryLayerMachineFile,
    testing::Values(MachineFileCase {"Plain", [](const std::string&, const std::string&) {},
                        ERROR_SUCCESS, false},
        MachineFileCase {"FolderAndFileReadOnly",
            [](const std::string& folder, const std::string& file) {
                ASSERT_EQ(chmod(file.c_str(), 0444), 0);
                ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
            },
            ERROR_SUCCESS, false},
        MachineFileCase {"NotADatabase",
            [](const std::string&, const std::string& file) {
                std::ofstream(file, std::ios::binary | std::ios::trunc) << std::string(5000, 'G');
            },
            ERROR_FILE_NOT_FOUND, true}),
    [](const testing::TestParamInfo<MachineFileCase>& info) { return info.param.label; });
