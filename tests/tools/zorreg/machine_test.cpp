// The tools' --machine option: zorregsvr registering a real module for every user, and zorreg
// editing the machine-wide store, each run as a program under a umask that would hide the
// files from other users.

#include "platform/registry/registry.h"

#include "tests/support/scopedenvironment.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <QtCore/QDir>
#include <QtCore/QProcess>
#include <QtCore/QStringList>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <sys/stat.h>

namespace {

struct ProgramRun
{
    int exitCode {-1};
    std::string out;
    std::string err;
};

ProgramRun runProgram(const std::string& program, const std::vector<std::string>& args)
{
    QStringList arguments;
    for (const std::string& arg : args)
        arguments << QString::fromStdString(arg);
    QProcess process;
    process.start(QString::fromStdString(program), arguments);
    ProgramRun run;
    if (!process.waitForStarted(10000)) {
        ADD_FAILURE() << "did not start: " << program;
        return run;
    }
    process.closeWriteChannel();
    if (!process.waitForFinished(30000)) {
        ADD_FAILURE() << program << " did not finish";
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

ProgramRun zorregsvr(const std::vector<std::string>& args)
{
    return runProgram(ZOR_ZORREGSVR_PROGRAM, args);
}

ProgramRun zorreg(const std::vector<std::string>& args)
{
    return runProgram(ZOR_ZORREG_PROGRAM, args);
}

// A umask for the scope.
class CScopedUmask
{
public:
    explicit CScopedUmask(mode_t mask) : m_old(umask(mask)) { }
    ~CScopedUmask() { umask(m_old); }
    CScopedUmask(const CScopedUmask&) = delete;
    CScopedUmask& operator=(const CScopedUmask&) = delete;

private:
    mode_t m_old;
};

// The permission bits of a file, or -1 when it does not exist.
int modeOf(const std::string& path)
{
    struct stat st
    {
    };
    return stat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
}

// A text value as this process's registry calls see it, or "<error N>".
std::string textValue(HKEY root, const std::string& path, const char* name)
{
    HKEY key = nullptr;
    LONG result = RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key);
    if (result != ERROR_SUCCESS)
        return "<error " + std::to_string(result) + ">";
    char data[512];
    DWORD size = sizeof data;
    result = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        return "<error " + std::to_string(result) + ">";
    return std::string(data, size > 0 && data[size - 1] == '\0' ? size - 1 : size);
}

// A user's empty store above a machine-wide store in a folder not made yet, several levels
// below a temporary folder.
class CMachineTest
{
public:
    CMachineTest()
        : m_machineFolder(m_folder.path() + "/var/lib/zorvex/registry")
        , m_store("ZORVEX_REGISTRY", m_folder.file("user"))
        , m_machine("ZORVEX_MACHINE_REGISTRY", m_machineFolder)
    { }

    const std::string& machineFolder() const { return m_machineFolder; }
    std::string userFolder() const { return m_folder.file("user"); }
    std::string top() const { return m_folder.path(); }

private:
    TempFolder m_folder;
    std::string m_machineFolder;
    ScopedEnvironment m_store;
    ScopedEnvironment m_machine;
};

const std::string c_waitClass = "{01540154-0100-0000-0029-000000000004}";

} // namespace

TEST(ZorregsvrMachine, RegistersForEveryUserAndUnregisters)
{
    CMachineTest test;
    CScopedUmask mask(077);
    const ProgramRun registered = zorregsvr({"--machine", ZOR_TEST_WAIT_MODULE});
    ASSERT_EQ(registered.exitCode, 0) << registered.err;
    EXPECT_EQ(registered.out,
        std::string("DllRegisterServer in ") + ZOR_TEST_WAIT_MODULE + " succeeded.\n");

    for (const char* folder : {"/var", "/var/lib", "/var/lib/zorvex", "/var/lib/zorvex/registry"})
        EXPECT_EQ(modeOf(test.top() + folder), 0755) << folder;
    const std::string classes = test.machineFolder() + "/classes_root.db";
    EXPECT_EQ(modeOf(classes), 0644);
    EXPECT_EQ(modeOf(classes + "-wal"), -1) << "everything written is in the root file";
    EXPECT_EQ(modeOf(test.userFolder()), -1) << "the user's store is not touched";
    // The user sees the registration through the machine layer.
    EXPECT_EQ(textValue(HKEY_CLASSES_ROOT, "zorWaitServer.29\\CLSID", ""), c_waitClass);
    EXPECT_EQ(textValue(HKEY_CLASSES_ROOT, "CLSID\\" + c_waitClass + "\\InprocServer32", ""),
        ZOR_TEST_WAIT_MODULE);

    // Unregistering from the user's store cannot take away the machine's registration.
    const ProgramRun userOnly = zorregsvr({"/u", ZOR_TEST_WAIT_MODULE});
    EXPECT_EQ(userOnly.exitCode, 1);
    EXPECT_EQ(textValue(HKEY_CLASSES_ROOT, "zorWaitServer.29\\CLSID", ""), c_waitClass);

    const ProgramRun unregistered = zorregsvr({"--machine", "/u", "/s", ZOR_TEST_WAIT_MODULE});
    EXPECT_EQ(unregistered.exitCode, 0) << unregistered.err;
    EXPECT_EQ(unregistered.out, "");
    EXPECT_EQ(textValue(HKEY_CLASSES_ROOT, "zorWaitServer.29\\CLSID", ""),
        "<error " + std::to_string(ERROR_FILE_NOT_FOUND) + ">");
    EXPECT_EQ(modeOf(classes), 0644);
}

struct RefusalCase
{
    const char* label;
    // Spoils the machine folder's place; returns the reason expected at the end of the line.
    std::function<std::string(const CMachineTest&)> spoil;
};

class ZorregsvrMachineRefused : public testing::TestWithParam<RefusalCase>
{
};

TEST_P(ZorregsvrMachineRefused, OneLineAndNothingWritten)
{
    CMachineTest test;
    const std::string reason = GetParam().spoil(test);
    const ProgramRun run = zorregsvr({"--machine", "/s", ZOR_TEST_WAIT_MODULE});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
        "zorregsvr: cannot write the machine-wide registry \"" + test.machineFolder()
            + "\": " + reason + "\n");
    EXPECT_EQ(modeOf(test.machineFolder() + "/classes_root.db"), -1);
    chmod(test.machineFolder().c_str(), 0755);
}

INSTANTIATE_TEST_SUITE_P(Places, ZorregsvrMachineRefused,
    testing::Values(
        // Mode bits decide, so this holds for the superuser too.
        RefusalCase {"FolderNotWritable",
            [](const CMachineTest& test) {
                EXPECT_TRUE(QDir().mkpath(QString::fromStdString(test.machineFolder())));
                EXPECT_EQ(chmod(test.machineFolder().c_str(), 0555), 0);
                return std::string("Permission denied");
            }},
        RefusalCase {"FolderBelowAFile",
            [](const CMachineTest& test) {
                EXPECT_TRUE(QDir().mkpath(QString::fromStdString(test.top() + "/var/lib")));
                std::ofstream(test.top() + "/var/lib/zorvex") << "a file";
                return std::string("Not a directory");
            }}),
    [](const testing::TestParamInfo<RefusalCase>& info) { return info.param.label; });

struct ZorregStep
{
    const char* label;
    std::vector<std::string> args;
    int exitCode;
    const char* err; // the whole error output
    const char* machineValue; // Timeout as the machine store alone has it afterwards
    const char* userValue; // Timeout as the user's store alone has it afterwards
};

// One scenario, step by step: what each command does to which store.
TEST(ZorregMachine, EditsTheMachineStoreOnlyWhenAsked)
{
    const std::string key = "HKLM\\Software\\Zorvex\\Options";
    const std::string missing = "<error " + std::to_string(ERROR_FILE_NOT_FOUND) + ">";
    const std::vector<ZorregStep> steps = {
        {"MachineAdd", {"--machine", "add", key, "/v", "Timeout", "/d", "1000", "/f"}, 0, "",
            "1000", nullptr},
        {"UserOverrides", {"add", key, "/v", "TIMEOUT", "/d", "5", "/f"}, 0, "", "1000", "5"},
        {"UserDeletesOwnPartMachineRemains", {"delete", key, "/v", "Timeout", "/f"}, 1,
            "ERROR: Access is denied.\n", "1000", nullptr},
        {"MachineDeleteAnywhereOnTheLine", {"delete", key, "/v", "Timeout", "/f", "--machine"}, 0,
            "", nullptr, nullptr},
    };
    CMachineTest test;
    CScopedUmask mask(077);
    for (const ZorregStep& step : steps) {
        SCOPED_TRACE(step.label);
        const ProgramRun run = zorreg(step.args);
        EXPECT_EQ(run.exitCode, step.exitCode);
        EXPECT_EQ(run.err, step.err);
        {
            ScopedEnvironment alone("ZORVEX_REGISTRY", test.machineFolder());
            EXPECT_EQ(textValue(HKEY_LOCAL_MACHINE, "Software\\Zorvex\\Options", "Timeout"),
                step.machineValue ? step.machineValue : missing);
        }
        {
            ScopedEnvironment alone("ZORVEX_MACHINE_REGISTRY", test.userFolder());
            const std::string value
                = textValue(HKEY_LOCAL_MACHINE, "Software\\Zorvex\\Options", "Timeout");
            if (step.userValue) {
                EXPECT_EQ(value, step.userValue);
            } else {
                EXPECT_NE(value.rfind("<error", 0), std::string::npos) << value;
            }
        }
        EXPECT_EQ(modeOf(test.machineFolder()), 0755);
        EXPECT_EQ(modeOf(test.machineFolder() + "/local_machine.db"), 0644);
    }
    // A query with --machine reads the machine store alone and never makes it.
    CMachineTest fresh;
    const ProgramRun query = zorreg({"--machine", "query", key});
    EXPECT_EQ(query.exitCode, 1);
    EXPECT_EQ(modeOf(fresh.machineFolder()), -1);
}
