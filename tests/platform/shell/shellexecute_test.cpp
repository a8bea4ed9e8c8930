#include "platform/shell/recordingshelllauncher.h"
#include "platform/shell/shellexecute.h"

#include "tests/support/tempfolder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::string touch(const TempFolder& folder, const std::string& name)
{
    const std::string path = folder.file(name);
    std::ofstream(path) << "x";
    return path;
}

} // namespace

TEST(ShellOpen, ExistingFileStartsHandlerWithPathAsOnlyArgument)
{
    TempFolder folder;
    const std::string path = touch(folder, "notes.txt");
    CRecordingShellLauncher launcher;
    EXPECT_GT(ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL), 32);
    ASSERT_EQ(launcher.starts.size(), 1u);
    EXPECT_EQ(launcher.starts[0].program, "xdg-open");
    EXPECT_EQ(launcher.starts[0].args, std::vector<std::string> {path});
}

TEST(ShellOpen, NullVerbOpensAsOpenDoes)
{
    TempFolder folder;
    const std::string path = touch(folder, "a.txt");
    CRecordingShellLauncher launcher;
    EXPECT_GT(ShellExecuteA(nullptr, nullptr, path.c_str(), nullptr, nullptr, SW_SHOWNORMAL), 32);
    EXPECT_EQ(launcher.starts.size(), 1u);
}

TEST(ShellOpen, OtherVerbHasNoHandlerAndStartsNothing)
{
    TempFolder folder;
    const std::string path = touch(folder, "a.txt");
    CRecordingShellLauncher launcher;
    EXPECT_EQ(ShellExecuteA(nullptr, "print", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL),
        SE_ERR_NOASSOC);
    EXPECT_EQ(ShellExecuteA(nullptr, "opener", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL),
        SE_ERR_NOASSOC);
    EXPECT_TRUE(launcher.starts.empty());
}

TEST(ShellOpen, MissingLocalFileGivesFileNotFoundAndStartsNothing)
{
    TempFolder folder;
    CRecordingShellLauncher launcher;
    const std::string path = folder.file("absent.txt");
    EXPECT_EQ(
        ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL), SE_ERR_FNF);
    EXPECT_EQ(ShellExecuteA(nullptr, "open", "", nullptr, nullptr, SW_SHOWNORMAL), SE_ERR_FNF);
    EXPECT_EQ(ShellExecuteA(nullptr, "open", nullptr, nullptr, nullptr, SW_SHOWNORMAL), SE_ERR_FNF);
    EXPECT_TRUE(launcher.starts.empty());
}

TEST(ShellOpen, RelativeNameIsTakenFromDirectoryAndPassedAbsolute)
{
    TempFolder folder;
    const std::string path = touch(folder, "-rf");
    CRecordingShellLauncher launcher;
    EXPECT_GT(
        ShellExecuteA(nullptr, "open", "-rf", nullptr, folder.path().c_str(), SW_SHOWNORMAL), 32);
    ASSERT_EQ(launcher.starts.size(), 1u);
    // An option-like name reaches the handler as a path, never as "-rf".
    EXPECT_EQ(launcher.starts[0].args, std::vector<std::string> {path});
    EXPECT_EQ(ShellExecuteA(nullptr, "open", "other", nullptr, folder.path().c_str(), SW_SHOW),
        SE_ERR_FNF);
}

TEST(ShellOpen, FailedStartReportsNoHandler)
{
    CRecordingShellLauncher launcher;
    launcher.result = false;
    EXPECT_EQ(ShellExecuteA(nullptr, "open", "https://127.0.0.1/", nullptr, nullptr, SW_SHOW),
        SE_ERR_NOASSOC);
    EXPECT_EQ(launcher.starts.size(), 1u);
}

TEST(ShellOpen, RecordingLauncherPutsPreviousBack)
{
    CRecordingShellLauncher outer;
    {
        CRecordingShellLauncher inner;
        ShellExecuteA(nullptr, "open", "http://127.0.0.1/a", nullptr, nullptr, SW_SHOW);
        EXPECT_EQ(inner.starts.size(), 1u);
    }
    ShellExecuteA(nullptr, "open", "http://127.0.0.1/b", nullptr, nullptr, SW_SHOW);
    ASSERT_EQ(outer.starts.size(), 1u);
    EXPECT_EQ(outer.starts[0].args[0], "http://127.0.0.1/b");
}

// Addresses go to the handler exactly as given, and are never checked as files.
class ShellOpenAddress : public ::testing::TestWithParam<const char*>
{
};

TEST_P(ShellOpenAddress, PassedUnchanged)
{
    CRecordingShellLauncher launcher;
    EXPECT_GT(ShellExecuteA(nullptr, "open", GetParam(), nullptr, nullptr, SW_SHOWNORMAL), 32);
    ASSERT_EQ(launcher.starts.size(), 1u);
    EXPECT_EQ(launcher.starts[0].program, "xdg-open");
    EXPECT_EQ(launcher.starts[0].args, std::vector<std::string> {GetParam()});
}

INSTANTIATE_TEST_SUITE_P(Schemes, ShellOpenAddress,
    ::testing::Values("http://127.0.0.1/software/readme.htm", "https://127.0.0.1:8443/a?b=c&d=e",
        "mailto:someone@localhost", "HTTP://127.0.0.1/$(id);x", "file:///nowhere/at/all.txt"));

// File names a shell would split or run: each stays one argument.
class ShellOpenHostileName : public ::testing::TestWithParam<const char*>
{
};

TEST_P(ShellOpenHostileName, ReachesHandlerAsOneArgument)
{
    TempFolder folder;
    const std::string path = touch(folder, GetParam());
    CRecordingShellLauncher launcher;
    EXPECT_GT(ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL), 32);
    ASSERT_EQ(launcher.starts.size(), 1u);
    EXPECT_EQ(launcher.starts[0].args, std::vector<std::string> {path});
}

INSTANTIATE_TEST_SUITE_P(Names, ShellOpenHostileName,
    ::testing::Values("a;touch pwned", "$(touch pwned).txt", "two words.txt",
        "quote\"d 'and' single.txt", "`id`|&<>.txt", "new\nline.txt"));
