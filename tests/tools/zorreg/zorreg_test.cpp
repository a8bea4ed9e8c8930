// The zorreg program itself, run as a user runs it, on the same store CProfile uses.

#include "framework/settings/profile.h"
#include "tools/zorreg/regformat.h"

#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <QtCore/QProcess>
#include <QtCore/QStringList>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace {

using Bytes = std::vector<BYTE>;

struct ZorregRun
{
    int exitCode {-1};
    std::string out;
    std::string err;
};

std::string zorregPath()
{
    if (const char* bin = std::getenv("ZORVEX_BIN_DIR"); bin && *bin)
        return std::string(bin) + "/zorreg";
    return ZOR_ZORREG_PROGRAM;
}

// Runs zorreg with the arguments, giving it the input on standard input.
ZorregRun runZorreg(const std::vector<std::string>& args, const std::string& input = std::string())
{
    QStringList arguments;
    for (const std::string& arg : args)
        arguments << QString::fromStdString(arg);
    QProcess process;
    process.start(QString::fromStdString(zorregPath()), arguments);
    ZorregRun run;
    if (!process.waitForStarted(10000)) {
        ADD_FAILURE() << "zorreg did not start: " << zorregPath();
        return run;
    }
    process.write(input.data(), static_cast<qint64>(input.size()));
    process.closeWriteChannel();
    if (!process.waitForFinished(30000)) {
        ADD_FAILURE() << "zorreg did not finish";
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

CProfile corvaneProfile()
{
    CProfile profile;
    profile.initProfile("Zorvex", "Corvane", "V2.01");
    return profile;
}

const char* const c_optionsKey = "HKCU\\Software\\Zorvex\\Corvane\\V2.01\\Options";
const char* const c_notFound
    = "ERROR: The system was unable to find the specified registry key or value.\n";

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// Every value below a key, with the key's path, read past both programs.
std::vector<std::pair<std::string, zorreg::ExportValue>> snapshot(
    HKEY root, const std::string& path)
{
    std::vector<std::pair<std::string, zorreg::ExportValue>> all;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return all;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameLength = sizeof name;
        zorreg::ExportValue value;
        DWORD size = 0;
        if (RegEnumValueA(key, i, name, &nameLength, nullptr, &value.type, nullptr, &size)
            != ERROR_SUCCESS)
            break;
        value.data.resize(size + 1);
        nameLength = sizeof name;
        size = static_cast<DWORD>(value.data.size());
        RegEnumValueA(key, i, name, &nameLength, nullptr, &value.type, value.data.data(), &size);
        value.data.resize(size);
        value.name = name;
        all.emplace_back(path, value);
    }
    for (DWORD i = 0;; ++i) {
        char name[256];
        if (RegEnumKeyA(key, i, name, sizeof name) != ERROR_SUCCESS)
            break;
        for (auto& entry : snapshot(root, path + "\\" + name))
            all.push_back(entry);
    }
    RegCloseKey(key);
    return all;
}

} // namespace

TEST(ZorregQuery, ShowsWhatTheProfileWroteWithTypes)
{
    ScopedRegistry store;
    const CProfile profile = corvaneProfile();
    profile.putInt(eKEY_CURRENT_USER, "Options", "Interval", 10);
    profile.putChars(eKEY_CURRENT_USER, "Options", "Host", "gateway.local");
    const BYTE blob[3] = {0x0A, 0xFF, 0x00};
    profile.putBytes(eKEY_CURRENT_USER, "Options", "Blob", blob, sizeof blob);
    profile.putStringArray(eKEY_CURRENT_USER, "Options", "Hosts", {"alpha", "beta"});
    profile.putInt(eKEY_CURRENT_USER, "Options\\Sub", "Deep", 1);

    const ZorregRun run = runZorreg({"query", c_optionsKey});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
        "\nHKEY_CURRENT_USER\\Software\\Zorvex\\Corvane\\V2.01\\Options\n"
        "    Interval    REG_DWORD    0xa\n"
        "    Host    REG_SZ    gateway.local\n"
        "    Blob    REG_BINARY    0AFF00\n"
        "    Hosts    REG_MULTI_SZ    alpha\\0beta\n"
        "\n"
        "HKEY_CURRENT_USER\\Software\\Zorvex\\Corvane\\V2.01\\Options\\Sub\n");

    const ZorregRun one = runZorreg({"query", c_optionsKey, "/v", "HOST"});
    EXPECT_EQ(one.exitCode, 0);
    EXPECT_TRUE(contains(one.out, "    Host    REG_SZ    gateway.local\n")) << one.out;
    EXPECT_FALSE(contains(one.out, "Interval"));

    const ZorregRun tree = runZorreg({"query", "HKEY_CURRENT_USER\\Software\\Zorvex", "/s"});
    EXPECT_EQ(tree.exitCode, 0);
    EXPECT_TRUE(contains(tree.out,
        "\nHKEY_CURRENT_USER\\Software\\Zorvex\\Corvane\\V2.01\\Options\\Sub\n"
        "    Deep    REG_DWORD    0x1\n"))
        << tree.out;
}

TEST(ZorregQuery, MissingKeyOrValueFails)
{
    ScopedRegistry store;
    corvaneProfile().putInt(eKEY_CURRENT_USER, "Options", "Interval", 10);
    ZorregRun run = runZorreg({"query", "HKCU\\Software\\Nowhere"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, c_notFound);
    run = runZorreg({"query", c_optionsKey, "/v", "Missing"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, c_notFound);
    run = runZorreg({"query", c_optionsKey, "/ve"});
    EXPECT_EQ(run.exitCode, 1);
    run = runZorreg({"delete", c_optionsKey, "/v", "Missing", "/f"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, c_notFound);
    run = runZorreg({"query", "HKXX\\Software"});
    EXPECT_EQ(run.exitCode, 1);
    run = runZorreg({"query"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(contains(run.err, "Invalid syntax")) << run.err;
}

TEST(ZorregAdd, ProfileReadsWhatZorregWrote)
{
    ScopedRegistry store;
    EXPECT_EQ(runZorreg({"add", c_optionsKey, "/v", "Timeout", "/t", "REG_DWORD", "/d", "0x7d0"})
                  .exitCode,
        0);
    EXPECT_EQ(runZorreg({"add", c_optionsKey, "/v", "Host", "/d", "router"}).exitCode, 0);
    EXPECT_EQ(
        runZorreg({"add", c_optionsKey, "/v", "Hosts", "/t", "reg_multi_sz", "/d", "one\\0two"})
            .exitCode,
        0);
    EXPECT_EQ(
        runZorreg({"add", c_optionsKey, "/v", "Blob", "/t", "REG_BINARY", "/d", "c0ffee"}).exitCode,
        0);
    EXPECT_EQ(runZorreg({"add", c_optionsKey, "/ve", "/d", "default text"}).exitCode, 0);

    const CProfile profile = corvaneProfile();
    EXPECT_EQ(profile.getInt(eKEY_CURRENT_USER, "Options", "Timeout", 0), 2000);
    EXPECT_EQ(profile.getString(eKEY_CURRENT_USER, "Options", "Host", ""), "router");
    EXPECT_EQ(profile.getString(eKEY_CURRENT_USER, "Options", "", ""), "default text");
    std::vector<std::string> hosts;
    EXPECT_EQ(profile.getStringArray(eKEY_CURRENT_USER, "Options", "Hosts", hosts), 2);
    EXPECT_EQ(hosts, (std::vector<std::string> {"one", "two"}));
    BYTE blob[8] = {};
    ASSERT_EQ(profile.getBytes(eKEY_CURRENT_USER, "Options", "Blob", blob, sizeof blob), 3u);
    EXPECT_EQ(blob[0], 0xC0);
    EXPECT_EQ(blob[2], 0xEE);
}

TEST(ZorregAdd, ExistingValueIsReplacedOnlyWhenConfirmed)
{
    ScopedRegistry store;
    const CProfile profile = corvaneProfile();
    profile.putInt(eKEY_CURRENT_USER, "Options", "Timeout", 1000);
    const std::vector<std::string> args {
        "add", c_optionsKey, "/v", "Timeout", "/t", "REG_DWORD", "/d", "5"};
    ZorregRun run = runZorreg(args, "no\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(contains(run.out, "Value Timeout exists, overwrite(Yes/No)?")) << run.out;
    EXPECT_EQ(profile.getInt(eKEY_CURRENT_USER, "Options", "Timeout", 0), 1000);
    run = runZorreg(args, "yes\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(profile.getInt(eKEY_CURRENT_USER, "Options", "Timeout", 0), 5);

    std::vector<std::string> forced = args;
    forced.back() = "6";
    forced.push_back("/f");
    run = runZorreg(forced);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_FALSE(contains(run.out, "(Yes/No)"));
    EXPECT_EQ(profile.getInt(eKEY_CURRENT_USER, "Options", "Timeout", 0), 6);
    EXPECT_EQ(
        runZorreg({"add", c_optionsKey, "/v", "T", "/t", "REG_DWORD", "/d", "x1", "/f"}).exitCode,
        1);
}

TEST(ZorregDelete, KeyGoesOnlyAfterYes)
{
    ScopedRegistry store;
    const CProfile profile = corvaneProfile();
    profile.putInt(eKEY_CURRENT_USER, "Options", "Interval", 10);
    profile.putInt(eKEY_CURRENT_USER, "Options\\Sub", "Deep", 1);
    profile.putInt(eKEY_CURRENT_USER, "Kept", "Value", 1);

    ZorregRun run = runZorreg({"delete", c_optionsKey}, "n\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(
        contains(run.out, std::string("Delete the registry key ") + c_optionsKey + " (Yes/No)?"))
        << run.out;
    EXPECT_EQ(profile.getInt(eKEY_CURRENT_USER, "Options", "Interval", -1), 10);

    run = runZorreg({"delete", c_optionsKey}, "maybe\nY\n");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(profile.getInt(eKEY_CURRENT_USER, "Options", "Interval", -1), -1);
    EXPECT_EQ(profile.getInt(eKEY_CURRENT_USER, "Options\\Sub", "Deep", -1), -1);
    EXPECT_EQ(profile.getInt(eKEY_CURRENT_USER, "Kept", "Value", -1), 1);

    // No answer at all is no.
    run = runZorreg({"delete", "HKCU\\Software\\Zorvex\\Corvane\\V2.01\\Kept"}, "");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(profile.getInt(eKEY_CURRENT_USER, "Kept", "Value", -1), 1);
}

TEST(ZorregDelete, ValuesWithForce)
{
    ScopedRegistry store;
    const CProfile profile = corvaneProfile();
    profile.putInt(eKEY_CURRENT_USER, "Options", "A", 1);
    profile.putInt(eKEY_CURRENT_USER, "Options", "B", 2);
    profile.putInt(eKEY_CURRENT_USER, "Options", "C", 3);
    profile.putInt(eKEY_CURRENT_USER, "Options\\Sub", "D", 4);

    ZorregRun run = runZorreg({"delete", c_optionsKey, "/v", "a", "/f"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(profile.getInt(eKEY_CURRENT_USER, "Options", "A", -1), -1);
    EXPECT_EQ(profile.getInt(eKEY_CURRENT_USER, "Options", "B", -1), 2);
    run = runZorreg({"delete", c_optionsKey, "/va", "/f"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(profile.getInt(eKEY_CURRENT_USER, "Options", "B", -1), -1);
    EXPECT_EQ(profile.getInt(eKEY_CURRENT_USER, "Options", "C", -1), -1);
    EXPECT_EQ(profile.getInt(eKEY_CURRENT_USER, "Options\\Sub", "D", -1), 4)
        << "/va leaves the subkeys alone";
}

TEST(ZorregExport, ImportBringsEveryValueBackExactly)
{
    ScopedRegistry store;
    const CProfile profile = corvaneProfile();
    profile.putInt(eKEY_CURRENT_USER, "Options", "Interval", -10);
    profile.putChars(eKEY_CURRENT_USER, "Options", "Odd Name \"q\"", "text \\ \"quoted\"\nnext");
    profile.putChars(eKEY_CURRENT_USER, "Options", "Empty", "");
    const BYTE blob[4] = {0x00, 0x01, 0xFE, 0xFF};
    profile.putBytes(eKEY_CURRENT_USER, "Options", "Blob", blob, sizeof blob);
    profile.putDouble(eKEY_CURRENT_USER, "Options", "Ratio", 0.1);
    profile.putStringArray(eKEY_CURRENT_USER, "Options", "Hosts", {"a", "b c"});
    profile.putInt(eKEY_CURRENT_USER, "Options\\Nested\\Deeper", "Depth", 2);
    profile.putChars(eKEY_CURRENT_USER, "Options\\Nested", "", "default");
    const std::string base = "Software\\Zorvex\\Corvane\\V2.01\\Options";
    const auto before = snapshot(HKEY_CURRENT_USER, base);
    ASSERT_EQ(before.size(), 8u);

    TempFolder folder;
    const std::string file = folder.file("options.txt");
    ZorregRun run = runZorreg({"export", c_optionsKey, file});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::ifstream in(file, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.rfind("ZORVEX Registry Export 1\n", 0), 0u) << text;

    // Exporting again asks before the file is replaced.
    run = runZorreg({"export", c_optionsKey, file}, "no\n");
    EXPECT_EQ(run.exitCode, 1);

    ASSERT_EQ(SHDeleteKeyA(HKEY_CURRENT_USER, base.c_str()), ERROR_SUCCESS);
    ASSERT_TRUE(snapshot(HKEY_CURRENT_USER, base).empty());
    run = runZorreg({"import", file});
    ASSERT_EQ(run.exitCode, 0) << run.err;

    const auto after = snapshot(HKEY_CURRENT_USER, base);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(after[i].first, before[i].first);
        EXPECT_EQ(after[i].second.name, before[i].second.name);
        EXPECT_EQ(after[i].second.type, before[i].second.type) << before[i].second.name;
        EXPECT_EQ(after[i].second.data, before[i].second.data) << before[i].second.name;
    }
    EXPECT_EQ(profile.getDouble(eKEY_CURRENT_USER, "Options", "Ratio", 0), 0.1);
}

TEST(ZorregImport, FaultyFileChangesNothing)
{
    ScopedRegistry store;
    TempFolder folder;
    const std::string file = folder.file("bad.txt");
    std::ofstream(file) << "ZORVEX Registry Export 1\n[HKCU\\Software\\A]\n\"x\"=dword:1\n"
                           "[HKCU\\Software\\B]\n\"y\"=nonsense\n";
    const ZorregRun run = runZorreg({"import", file});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(contains(run.err, "line 5")) << run.err;
    HKEY key = nullptr;
    EXPECT_EQ(
        RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\A", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(runZorreg({"import", folder.file("missing.txt")}).exitCode, 1);
}

TEST(ZorregAdd, ReadOnlyLocalMachineIsDenied)
{
    ScopedRegistry store;
    ASSERT_EQ(runZorreg({"add", "HKLM\\Software\\Zorvex\\Corvane\\V2.01\\Options", "/v", "Timeout",
                            "/t", "REG_DWORD", "/d", "1000"})
                  .exitCode,
        0);
    ASSERT_EQ(chmod(zorRegistryFile(HKEY_LOCAL_MACHINE).c_str(), 0444), 0);
    const ZorregRun run = runZorreg({"add", "HKLM\\Software\\Zorvex\\Corvane\\V2.01\\Options", "/v",
        "Timeout", "/t", "REG_DWORD", "/d", "5", "/f"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "ERROR: Access is denied.\n");
    EXPECT_EQ(corvaneProfile().getInt(eKEY_LOCAL_MACHINE, "Options", "Timeout", 0), 1000);
}
