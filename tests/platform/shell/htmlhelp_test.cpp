#include "platform/shell/htmlhelp.h"
#include "platform/shell/recordingshelllauncher.h"

#include "tests/support/tempfolder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

TEST(HelpViewer, MissingFileReturnsNullAndStartsNothing)
{
    TempFolder folder;
    CRecordingShellLauncher launcher;
    const std::string path = folder.file("Corvane.chm");
    EXPECT_EQ(HtmlHelpA(nullptr, path.c_str(), HH_DISPLAY_TOPIC, 0), nullptr);
    EXPECT_EQ(HtmlHelpA(nullptr, folder.path().c_str(), HH_DISPLAY_TOPIC, 0), nullptr);
    EXPECT_EQ(HtmlHelpA(nullptr, nullptr, HH_DISPLAY_TOPIC, 0), nullptr);
    EXPECT_TRUE(launcher.starts.empty());
}

TEST(HelpViewer, ExistingFileStartsHandlerWithPath)
{
    TempFolder folder;
    const std::string path = folder.file("Corvane.chm");
    std::ofstream(path) << "ITSF";
    CRecordingShellLauncher launcher;
    EXPECT_EQ(HtmlHelpA(nullptr, path.c_str(), HH_DISPLAY_TOPIC, 0), zorHelpViewerToken());
    EXPECT_NE(zorHelpViewerToken(), nullptr);
    ASSERT_EQ(launcher.starts.size(), 1u);
    EXPECT_EQ(launcher.starts[0].program, "xdg-open");
    EXPECT_EQ(launcher.starts[0].args, std::vector<std::string> {path});
}

TEST(HelpViewer, TopicAfterFileNameIsDropped)
{
    TempFolder folder;
    const std::string path = folder.file("Corvane.chm");
    std::ofstream(path) << "ITSF";
    CRecordingShellLauncher launcher;
    const std::string withTopic = path + "::/intro.htm";
    EXPECT_NE(HtmlHelpA(nullptr, withTopic.c_str(), HH_DISPLAY_TOPIC, 0), nullptr);
    ASSERT_EQ(launcher.starts.size(), 1u);
    EXPECT_EQ(launcher.starts[0].args, std::vector<std::string> {path});
}

TEST(HelpViewer, NothingStartedGivesNull)
{
    TempFolder folder;
    const std::string path = folder.file("Corvane.chm");
    std::ofstream(path) << "ITSF";
    CRecordingShellLauncher launcher;
    launcher.result = false;
    EXPECT_EQ(HtmlHelpA(nullptr, path.c_str(), HH_DISPLAY_TOPIC, 0), nullptr);
    EXPECT_EQ(HtmlHelpA(nullptr, path.c_str(), 0x1234, 0), nullptr);
    EXPECT_EQ(launcher.starts.size(), 1u);
}
