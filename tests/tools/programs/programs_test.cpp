// Every program of the suite on its command line, run as a user runs it: --help and --version
// without any display, a wrong line turned away in one line with status 2, and a window
// program that finds no display (or a dead one) saying so in one line instead of aborting.

#include "platform/module/fileversioninfo.h"

#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

struct ProgramRun
{
    bool started {false};
    bool exited {false}; // false: ended by a signal (or never started)
    int status {-1}; // the exit status, or the signal's number
    std::string out;
    std::string err;
};

std::string binDirectory()
{
    const char* dir = std::getenv("ZORVEX_BIN_DIR");
    return dir != nullptr ? dir : "";
}

// The environment of a child: this one without any display, Qt platform or settings store,
// then the row's own settings.
std::vector<std::string> childEnvironment(
    const std::string& registry, const std::map<std::string, std::string>& extra)
{
    static const char* const c_removed[]
        = {"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM=", "ZORVEX_REGISTRY="};
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        bool removed = false;
        for (const char* prefix : c_removed)
            removed = removed || std::strncmp(*entry, prefix, std::strlen(prefix)) == 0;
        if (!removed)
            entries.emplace_back(*entry);
    }
    entries.push_back("ZORVEX_REGISTRY=" + registry);
    for (const auto& [name, value] : extra)
        entries.push_back(name + "=" + value);
    return entries;
}

// Runs the program with the words, reading both its streams until it ends (20 s at most).
ProgramRun runProgram(const std::string& program, const std::vector<std::string>& words,
    const std::map<std::string, std::string>& extra = {})
{
    ProgramRun run;
    const TempFolder registry;
    const std::string path = binDirectory() + "/" + program;
    std::vector<std::string> environment = childEnvironment(registry.path(), extra);
    std::vector<char*> envp;
    for (std::string& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::vector<std::string> arguments = words;
    arguments.insert(arguments.begin(), path);
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    int outPipe[2];
    int errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0)
        return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    pid_t pid = 0;
    run.started = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), envp.data()) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    std::string* into[2] = {&run.out, &run.err};
    int open = run.started ? 2 : 0;
    while (open > 0 && std::chrono::steady_clock::now() < deadline) {
        if (poll(fds, 2, 200) <= 0)
            continue;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            char buffer[4096];
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                into[i]->append(buffer, static_cast<std::size_t>(n));
            } else {
                fds[i].fd = -1;
                --open;
            }
        }
    }
    close(outPipe[0]);
    close(errPipe[0]);
    if (!run.started)
        return run;
    if (open > 0)
        kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    run.exited = WIFEXITED(status);
    run.status = run.exited ? WEXITSTATUS(status) : WTERMSIG(status);
    return run;
}

int lineCount(const std::string& text)
{
    int lines = 0;
    for (char c : text)
        lines += c == '\n' ? 1 : 0;
    return lines + (!text.empty() && text.back() != '\n' ? 1 : 0);
}

// A text of the program file's version block, read as the version calls read it.
std::string blockText(const std::string& file, const char* valueName)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &handle);
    std::vector<unsigned char> data(size);
    if (size == 0 || !GetFileVersionInfoA(file.c_str(), handle, size, data.data()))
        return {};
    void* value = nullptr;
    UINT length = 0;
    // The suite's blocks hold one string table, in the translation the build gives them.
    const std::string subBlock = std::string("\\StringFileInfo\\040904e4\\") + valueName;
    if (!zorVerQueryValue(data.data(), data.size(), subBlock.c_str(), &value, &length)
        || length == 0)
        return {};
    return std::string(static_cast<const char*>(value), length - 1);
}

// --- --help and --version, answered with no display at all --------------------------------

struct ProgramCase
{
    const char* name;
    const char* program;
    // A word in the help that only this program's own table can have put there.
    const char* helpWord;
};

class ProgramAnswers : public testing::TestWithParam<ProgramCase>
{
};

TEST_P(ProgramAnswers, HelpAndVersionOnStandardOutput)
{
    const ProgramCase& row = GetParam();
    ASSERT_FALSE(binDirectory().empty()) << "ZORVEX_BIN_DIR is not set";

    const ProgramRun help = runProgram(row.program, {"--help"});
    ASSERT_TRUE(help.started) << row.program << " is not in " << binDirectory();
    EXPECT_TRUE(help.exited);
    EXPECT_EQ(help.status, 0) << help.err;
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(help.out.rfind(std::string("Usage: ") + row.program + " ", 0), 0U) << help.out;
    EXPECT_NE(help.out.find("--version"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find(row.helpWord), std::string::npos) << help.out;

    const std::string file = binDirectory() + "/" + row.program;
    const std::string version = blockText(file, "ProductVersion");
    const std::string copyright = blockText(file, "LegalCopyright");
    ASSERT_FALSE(version.empty()) << file << " has no version block";
    // Last on the line, and after --help: the first of them decides.
    const ProgramRun answer = runProgram(row.program, {"--version", "--help"});
    EXPECT_TRUE(answer.exited);
    EXPECT_EQ(answer.status, 0) << answer.err;
    EXPECT_EQ(answer.err, "");
    EXPECT_EQ(answer.out,
        std::string(row.program) + " (" + blockText(file, "CompanyName") + ") " + version + "\n"
            + copyright + "\n");
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramAnswers,
    testing::Values(ProgramCase {"corvane", "corvane", "QT-OPTION"},
        ProgramCase {"zorreg", "zorreg", "/ve, -ve"},
        ProgramCase {"zorregsvr", "zorregsvr", "--machine"},
        ProgramCase {"zorcontainer", "zorcontainer", "--screenshot FILE"},
        ProgramCase {"zorping", "zorping", "-W TIMEOUT"},
        ProgramCase {"corvane_report", "corvane-report", "--by PART"},
        ProgramCase {"zortypes", "zortypes", "MODULE"},
        ProgramCase {"zorsample", "zorsample", "QT-OPTION"},
        ProgramCase {"drawsheet", "drawsheet", "FILE"},
        ProgramCase {"zortray", "zortray", "--tray"},
        ProgramCase {"zorlists", "zorlists", "--sorted"}),
    [](const testing::TestParamInfo<ProgramCase>& info) { return std::string(info.param.name); });

// --- a wrong command line: one line on standard error, status 2 --------------------------

struct WrongCase
{
    const char* name;
    const char* program;
    std::vector<std::string> words;
    // What the one line must name.
    const char* named;
};

class WrongLine : public testing::TestWithParam<WrongCase>
{
};

TEST_P(WrongLine, OneLineAndStatusTwo)
{
    const WrongCase& row = GetParam();
    // Window programs meet their own options only once Qt has started its platform.
    const ProgramRun run = runProgram(row.program, row.words, {{"QT_QPA_PLATFORM", "offscreen"}});
    ASSERT_TRUE(run.started) << row.program << " is not in " << binDirectory();
    EXPECT_TRUE(run.exited);
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(lineCount(run.err), 1) << run.err;
    EXPECT_EQ(run.err.rfind(std::string(row.program) + ": ", 0), 0U) << run.err;
    EXPECT_NE(run.err.find(row.named), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(std::string("; try '") + row.program + " --help'\n"), std::string::npos)
        << run.err;
}

INSTANTIATE_TEST_SUITE_P(Programs, WrongLine,
    testing::Values(WrongCase {"CorvaneOption", "corvane", {"-x"}, "'-x'"},
        WrongCase {"CorvaneOperand", "corvane", {"hosts.txt"}, "'hosts.txt'"},
        // Qt takes its own options out; what is left is judged.
        WrongCase {
            "CorvaneAfterQtOptions", "corvane", {"-platform", "minimal", "--bogus"}, "'--bogus'"},
        WrongCase {"ZorregOption", "zorreg", {"query", "HKCU\\Software", "-x"}, "'-x'"},
        WrongCase {"ZorregValueMissing", "zorreg", {"query", "HKCU\\Software", "/v"}, "'/v'"},
        WrongCase {
            "ZorregsvrOption", "zorregsvr", {"--unregister", "zorwait29.so"}, "'--unregister'"},
        WrongCase {"ZorcontainerOption", "zorcontainer", {"--bogus"}, "'--bogus'"},
        // The container's own check of a value it was given.
        WrongCase {"ZorcontainerValue", "zorcontainer", {"--size", "big"}, "WIDTHxHEIGHT"},
        WrongCase {"ZorpingOption", "zorping", {"-x", "127.0.0.1"}, "'-x'"},
        WrongCase {"ZorpingValue", "zorping", {"-c", "0", "127.0.0.1"}, "'0'"},
        WrongCase {"ZorpingNoHost", "zorping", {"-c", "2"}, "HOST"},
        WrongCase {"ZortypesTwoModules", "zortypes", {"a.so", "b.so"}, "'b.so'"},
        WrongCase {"ZorsampleOption", "zorsample", {"-x"}, "'-x'"},
        WrongCase {"DrawsheetNoFile", "drawsheet", {}, "FILE"},
        WrongCase {"ZortrayOption", "zortray", {"--tray=yes"}, "'--tray=yes'"},
        WrongCase {"ZorlistsOption", "zorlists", {"-x"}, "'-x'"}),
    [](const testing::TestParamInfo<WrongCase>& info) { return std::string(info.param.name); });

// --- what is not wrong passes to the program -----------------------------------------------

struct PassCase
{
    const char* name;
    const char* program;
    std::vector<std::string> words;
    int status;
};

class PassedLine : public testing::TestWithParam<PassCase>
{
};

TEST_P(PassedLine, ReachesTheProgram)
{
    const PassCase& row = GetParam();
    const ProgramRun run = runProgram(row.program, row.words, {{"QT_QPA_PLATFORM", "offscreen"}});
    ASSERT_TRUE(run.started) << row.program << " is not in " << binDirectory();
    EXPECT_TRUE(run.exited);
    EXPECT_EQ(run.status, row.status) << run.out << run.err;
}

INSTANTIATE_TEST_SUITE_P(Programs, PassedLine,
    testing::Values(
        // A value that begins with "-" is the option's value, not an option.
        PassCase {"ZorregValueLikeAnOption", "zorreg",
            {"add", "HKCU\\Software\\Test", "/v", "-x", "/d", "--help", "/F"}, 0},
        // Windows-style switches in any case; a path beginning with "/" is no option.
        PassCase {"ZorregsvrSwitchAnyCase", "zorregsvr", {"-S", "/nowhere/missing.so"}, 1},
        PassCase {"ZortypesAfterDoubleDash", "zortypes", {"--", "-missing.so"}, 1},
        PassCase {"ZorcontainerList", "zorcontainer", {"--list"}, 0}),
    [](const testing::TestParamInfo<PassCase>& info) { return std::string(info.param.name); });

// --- no window can be opened ---------------------------------------------------------------

struct DisplayCase
{
    const char* name;
    const char* program;
    std::map<std::string, std::string> environment;
    const char* said;
};

class NoDisplay : public testing::TestWithParam<DisplayCase>
{
};

TEST_P(NoDisplay, OneLineAndStatusOne)
{
    const DisplayCase& row = GetParam();
    const ProgramRun run = runProgram(row.program, {}, row.environment);
    ASSERT_TRUE(run.started) << row.program << " is not in " << binDirectory();
    EXPECT_TRUE(run.exited) << "ended by signal " << run.status << ": " << run.err;
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(lineCount(run.err), 1) << run.err;
    EXPECT_EQ(run.err, std::string(row.program) + ": cannot open a window: " + row.said + "\n");
}

INSTANTIATE_TEST_SUITE_P(Programs, NoDisplay,
    testing::Values(DisplayCase {"CorvaneNone", "corvane", {},
                        "no display (neither DISPLAY nor WAYLAND_DISPLAY is set)"},
        DisplayCase {
            "CorvaneDead", "corvane", {{"DISPLAY", ":97"}}, "the display ':97' cannot be opened"},
        DisplayCase {"CorvaneXcbWithoutDisplay", "corvane", {{"QT_QPA_PLATFORM", "xcb"}},
            "no display (DISPLAY is not set)"},
        DisplayCase {"ZorcontainerNone", "zorcontainer", {},
            "no display (neither DISPLAY nor WAYLAND_DISPLAY is set)"},
        DisplayCase {"ZorcontainerDead", "zorcontainer", {{"DISPLAY", ":97"}},
            "the display ':97' cannot be opened"},
        DisplayCase {"DrawsheetDead", "drawsheet", {{"DISPLAY", ":97"}},
            "the display ':97' cannot be opened"}),
    [](const testing::TestParamInfo<DisplayCase>& info) { return std::string(info.param.name); });

} // namespace
