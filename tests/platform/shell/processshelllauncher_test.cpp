#include "platform/shell/processshelllauncher.h"
#include "platform/shell/shellexecute.h"
#include "platform/shell/shelllauncher.h"

#include "tests/support/tempfolder.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <thread>

namespace {

// Sets PATH for one test and puts the old value back afterwards.
class ScopedPath
{
public:
    explicit ScopedPath(const std::string& value)
    {
        const char* old = std::getenv("PATH");
        m_had = old != nullptr;
        if (m_had)
            m_old = old;
        setenv("PATH", value.c_str(), 1);
    }
    ~ScopedPath()
    {
        if (m_had)
            setenv("PATH", m_old.c_str(), 1);
        else
            unsetenv("PATH");
    }

private:
    std::string m_old;
    bool m_had {false};
};

// Waits for the stand-in handler to finish writing its report, which ends with "end".
std::string waitForReport(const std::string& path)
{
    for (int i = 0; i < 500; ++i) {
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        if (text.str().size() >= 4 && text.str().compare(text.str().size() - 4, 4, "end\n") == 0)
            return text.str();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::string();
}

} // namespace

TEST(DesktopHandler, NoHandlerOnPathGivesNoAssociation)
{
    TempFolder bin;
    TempFolder folder;
    const std::string path = folder.file("a.txt");
    std::ofstream(path) << "x";
    ScopedPath scoped(bin.path());
    CProcessShellLauncher launcher;
    IShellLauncher* previous = zorSetShellLauncher(&launcher);
    EXPECT_EQ(ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL),
        SE_ERR_NOASSOC);
    EXPECT_EQ(ShellExecuteA(nullptr, "open", "http://127.0.0.1/", nullptr, nullptr, SW_SHOW),
        SE_ERR_NOASSOC);
    zorSetShellLauncher(previous);
    // The built-in launcher, with nothing installed, answers the same way.
    EXPECT_NE(&zorShellLauncher(), &launcher);
    EXPECT_EQ(ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL),
        SE_ERR_NOASSOC);
}

// A stand-in handler on a PATH of the test's own receives a hostile name as one argument,
// started by the real launcher (no browser is involved).
TEST(DesktopHandler, RealLauncherPassesHostileNameAsOneArgument)
{
    TempFolder bin;
    TempFolder folder;
    const std::string report = folder.file("report");
    const std::string handler = bin.file("xdg-open");
    {
        std::ofstream script(handler);
        // Only shell built-ins: PATH holds nothing but this handler while it runs.
        script << "#!/bin/sh\n"
               << "{ echo \"$#\"; printf '%s\\n' \"$1\"; echo end; } > '" << report << "'\n";
    }
    ASSERT_EQ(chmod(handler.c_str(), 0755), 0);
    const std::string name = folder.file("a; touch pwned $(touch pwned2) \"q\" 'q'.txt");
    std::ofstream(name) << "x";

    ScopedPath scoped(bin.path());
    CProcessShellLauncher launcher;
    IShellLauncher* previous = zorSetShellLauncher(&launcher);
    const std::intptr_t result
        = ShellExecuteA(nullptr, "open", name.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    zorSetShellLauncher(previous);
    EXPECT_GT(result, 32);
    EXPECT_EQ(waitForReport(report), "1\n" + name + "\nend\n");
    struct stat info
    {
    };
    EXPECT_NE(stat(folder.file("pwned").c_str(), &info), 0);
    EXPECT_NE(stat(bin.file("pwned2").c_str(), &info), 0);
}
