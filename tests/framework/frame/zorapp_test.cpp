#include "framework/frame/zorapp.h"

#include "framework/settings/profile.h"
#include "platform/module/module.h"
#include "platform/ole/factory.h"
#include "platform/ole/oleinit.h"
#include "platform/shell/recordingshelllauncher.h"
#include "platform/ui/dialogtemplate.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/resources.h"
#include "tests/framework/frame/frametestsupport.h"
#include "tests/support/tempfolder.h"

#include <QtCore/QProcess>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// The program's icon 129, a 16 x 16 PNG of one colour.
namespace {
const unsigned char c_icon129[] = {0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00,
    0x0d, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x10, 0x08, 0x06, 0x00,
    0x00, 0x00, 0x1f, 0xf3, 0xff, 0x61, 0x00, 0x00, 0x00, 0x19, 0x49, 0x44, 0x41, 0x54, 0x78, 0xda,
    0x63, 0x50, 0x48, 0x38, 0xf0, 0x9f, 0x12, 0xcc, 0x30, 0x6a, 0xc0, 0xa8, 0x01, 0xa3, 0x06, 0x0c,
    0x17, 0x03, 0x00, 0xc1, 0xe2, 0x3f, 0x1f, 0xd6, 0x0f, 0xdf, 0xba, 0x00, 0x00, 0x00, 0x00, 0x49,
    0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};
} // namespace
ZOR_ICON_TABLE({{129, c_icon129, sizeof c_icon129}});

namespace {

using frametest::ScopedEnv;
using frametest::waitUntil;

constexpr const char* c_readme = "https://www.zorvex.example/software/corvane/readme.htm";
constexpr const char* c_minimum = "2002.06.11.00";
// Test modules of known versions, in the folder the fixture makes the shared module folder.
constexpr const char* c_older = "zortestframe_older.dll"; // 2002.06.10.00
constexpr const char* c_equal = "zortestframe_equal.dll"; // 2002.06.11.00
constexpr const char* c_newer = "zortestframe_newer.ocx"; // 2002.06.24.29
constexpr const char* c_missing = "zortestframe_missing.dll";

class CTestApp : public CzorApp
{
public:
    explicit CTestApp(int osMask = 63, const char* readme = c_readme, UINT iconId = 129)
        : CzorApp("Zorvex", "Corvane", "V2.01", osMask, iconId, readme)
    { }

    void initAppVars() override { events.push_back("initAppVars key=" + registryKey()); }
    void initContainer() override
    {
        events.push_back("initContainer key=" + registryKey());
        CzorApp::initContainer();
    }
    bool checkVersions(const char* minimumVersion) override
    {
        events.push_back("checkVersions");
        return CzorApp::checkVersions(minimumVersion);
    }
    UINT getIconId() override { return 129; }
    const char* const* getModuleList() override { return modules.data(); }
    std::string getBuildTime() override { return "Jun 24 2002 11:03:26"; }

    std::vector<const char*> modules {c_equal, c_newer, ""};
    std::vector<std::string> events;
};

// The "Readme" flag as a later run reads it; the default tells a missing value apart.
int readmeFlag()
{
    CProfile profile;
    profile.initProfile("Zorvex", "Corvane", "V2.01");
    return profile.getInt(eKEY_CURRENT_USER, "Options", "Readme", -1);
}

// Every test gets a settings store, a run-time folder for the guard and a shared module folder
// of its own; boxes and shell starts are recorded.
class ZorApp : public testing::Test
{
protected:
    std::vector<std::string> boxTexts() const
    {
        std::vector<std::string> texts;
        for (const CRecordingPresenter::Box& box : m_boxes.boxes)
            texts.push_back(box.text);
        return texts;
    }

    ScopedRegistry m_registry;
    TempFolder m_runtime;
    ScopedEnv m_runtimeEnv {"XDG_RUNTIME_DIR", m_runtime.path()};
    ScopedEnv m_commonEnv {"ZORVEX_COMMON_DIR", ZOR_FRAME_TEST_MODULES};
    CRecordingPresenter m_boxes;
    CRecordingShellLauncher m_shell;
};

// --- the application object ----------------------------------------------------------------

TEST_F(ZorApp, ConstructionMakesTheApplicationObject)
{
    EXPECT_EQ(CzorApp::m_pzorApp, nullptr);
    {
        CTestApp app;
        EXPECT_EQ(CzorApp::m_pzorApp, &app);
        EXPECT_EQ(AfxGetApp(), &app);
        EXPECT_EQ(app.m_pszAppName, "Corvane");
    }
    EXPECT_EQ(CzorApp::m_pzorApp, nullptr);
    EXPECT_EQ(AfxGetApp(), nullptr);
}

TEST_F(ZorApp, ExitInstanceIsThePlatformDefault)
{
    CTestApp app;
    EXPECT_EQ(app.ExitInstance(), 0);
}

// --- module versions -----------------------------------------------------------------------

TEST_F(ZorApp, EqualVersionPasses)
{
    EXPECT_TRUE(CzorApp::checkModuleVersion(c_equal, c_minimum));
    EXPECT_TRUE(m_boxes.boxes.empty());
}

TEST_F(ZorApp, NewerVersionPasses)
{
    EXPECT_TRUE(CzorApp::checkModuleVersion(c_newer, c_minimum));
    EXPECT_TRUE(m_boxes.boxes.empty());
}

TEST_F(ZorApp, OlderVersionFailsWithMessage)
{
    EXPECT_FALSE(CzorApp::checkModuleVersion(c_older, c_minimum));
    ASSERT_EQ(m_boxes.boxes.size(), 1u);
    EXPECT_EQ(m_boxes.boxes[0].text,
        "Version mismatch on zortestframe_older.dll, found 2002.06.10.00, should be at least "
        "2002.06.11.00");
    EXPECT_EQ(m_boxes.boxes[0].type & MB_ICONMASK, MB_ICONSTOP);
}

TEST_F(ZorApp, MissingModuleIsReported)
{
    EXPECT_FALSE(CzorApp::checkModuleVersion(c_missing, c_minimum));
    ASSERT_EQ(m_boxes.boxes.size(), 1u);
    EXPECT_EQ(m_boxes.boxes[0].text, "Can't find zortestframe_missing.dll");
    EXPECT_EQ(m_boxes.boxes[0].type & MB_ICONMASK, MB_ICONSTOP);
}

TEST_F(ZorApp, CheckVersionsStopsAtFirstFailure)
{
    CTestApp app;
    app.modules = {c_equal, c_older, c_missing, ""};
    EXPECT_FALSE(app.checkVersions(c_minimum));
    ASSERT_EQ(m_boxes.boxes.size(), 1u);
    EXPECT_EQ(m_boxes.boxes[0].text.rfind("Version mismatch on zortestframe_older.dll", 0), 0u);
}

TEST_F(ZorApp, CheckVersionsEndsAtTheEmptyEntry)
{
    CTestApp app;
    app.modules = {c_equal, c_newer, "", c_missing};
    EXPECT_TRUE(app.checkVersions(c_minimum));
    app.modules = {""};
    EXPECT_TRUE(app.checkVersions(c_minimum));
    EXPECT_TRUE(m_boxes.boxes.empty());
}

// --- readme and web site -------------------------------------------------------------------

TEST_F(ZorApp, ReadmeOpensOnFirstRunOnly)
{
    CTestApp app;
    app.initProfile("Zorvex", "Corvane", "V2.01");
    ASSERT_EQ(readmeFlag(), -1);

    app.showReadme(true);
    ASSERT_EQ(m_shell.starts.size(), 1u);
    EXPECT_EQ(m_shell.starts[0].program, "xdg-open");
    EXPECT_EQ(m_shell.starts[0].args, std::vector<std::string> {c_readme});
    EXPECT_EQ(readmeFlag(), 0);

    // A later run: the first-run step opens nothing, the Web Site command still does.
    app.showReadme(true);
    EXPECT_EQ(m_shell.starts.size(), 1u);
    app.showReadme(false);
    EXPECT_EQ(m_shell.starts.size(), 2u);
    EXPECT_EQ(readmeFlag(), 0);
}

TEST_F(ZorApp, ReadmeFromWebSiteCommandLeavesFlag)
{
    CTestApp app;
    app.initProfile("Zorvex", "Corvane", "V2.01");
    app.showReadme(false);
    EXPECT_EQ(m_shell.starts.size(), 1u);
    EXPECT_EQ(readmeFlag(), -1);
}

TEST_F(ZorApp, EmptyReadmeAddressStillClearsFlag)
{
    CTestApp app(63, "");
    app.initProfile("Zorvex", "Corvane", "V2.01");
    app.showReadme(true);
    EXPECT_TRUE(m_shell.starts.empty());
    EXPECT_EQ(readmeFlag(), 0);
}

TEST_F(ZorApp, WebSiteOpensTheAddress)
{
    CTestApp app;
    app.initProfile("Zorvex", "Corvane", "V2.01");
    app.onPopupWebsite();
    ASSERT_EQ(m_shell.starts.size(), 1u);
    EXPECT_EQ(m_shell.starts[0].program, "xdg-open");
    EXPECT_EQ(m_shell.starts[0].args, std::vector<std::string> {c_readme});
    EXPECT_EQ(readmeFlag(), -1);
    EXPECT_TRUE(m_boxes.boxes.empty());
}

TEST_F(ZorApp, WebSiteWithoutAddressOpensNothing)
{
    CTestApp app(63, "");
    app.onPopupWebsite();
    EXPECT_TRUE(m_shell.starts.empty());
    EXPECT_TRUE(m_boxes.boxes.empty());
}

// --- help ----------------------------------------------------------------------------------

// Makes a module loaded from a folder of the test's own the current module, so that folder
// is the program's directory the frame looks in.
class ZorAppHelp : public ZorApp
{
protected:
    void SetUp() override
    {
        const std::string copy = m_programFolder.file("zortestframe_program.so");
        std::filesystem::copy_file(ZOR_FRAME_TEST_MODULE_EQUAL, copy);
        m_module = LoadLibraryA(copy.c_str());
        ASSERT_NE(m_module, nullptr) << zorModuleLoadError();
        m_state = std::make_unique<ZorModuleState>(m_module);
    }
    void TearDown() override
    {
        m_state.reset();
        if (m_module != nullptr)
            FreeLibrary(m_module);
    }

    TempFolder m_programFolder;
    HMODULE m_module {nullptr};
    std::unique_ptr<ZorModuleState> m_state;
};

TEST_F(ZorAppHelp, MissingHelpFileIsReported)
{
    CTestApp app;
    app.onPopupHelp();
    ASSERT_EQ(m_boxes.boxes.size(), 1u);
    EXPECT_EQ(m_boxes.boxes[0].text, "Can't find help file " + m_programFolder.file("Corvane.chm"));
    EXPECT_EQ(m_boxes.boxes[0].type & MB_ICONMASK, MB_ICONSTOP);
    EXPECT_TRUE(m_shell.starts.empty());
}

TEST_F(ZorAppHelp, FolderOfTheHelpFileNameIsNoHelpFile)
{
    std::filesystem::create_directory(m_programFolder.file("Corvane.chm"));
    CTestApp app;
    app.onPopupHelp();
    EXPECT_EQ(m_boxes.boxes.size(), 1u);
    EXPECT_TRUE(m_shell.starts.empty());
}

TEST_F(ZorAppHelp, PresentHelpFileOpensInTheViewer)
{
    const std::string help = m_programFolder.file("Corvane.chm");
    std::ofstream(help) << "ITSF";
    CTestApp app;
    app.onPopupHelp();
    EXPECT_TRUE(m_boxes.boxes.empty());
    ASSERT_EQ(m_shell.starts.size(), 1u);
    EXPECT_EQ(m_shell.starts[0].program, "xdg-open");
    EXPECT_EQ(m_shell.starts[0].args, std::vector<std::string> {help});
}

// --- about and command routing -------------------------------------------------------------

TEST_F(ZorApp, AboutDoesNothingWithoutTheServer)
{
    // The test's own store has no about server registered.
    IDispatch* server = nullptr;
    ASSERT_TRUE(FAILED(zorCreateDispatch("zorAboutServer.29", &server)));
    EXPECT_EQ(server, nullptr);
    CTestApp app;
    app.onAppAbout();
    EXPECT_TRUE(m_boxes.boxes.empty());
    EXPECT_TRUE(m_shell.starts.empty());
}

TEST_F(ZorApp, CommandsReachTheirHandlers)
{
    CTestApp app;
    EXPECT_TRUE(app.onAppCommand(ID_POPUP_WEBSITE));
    EXPECT_EQ(m_shell.starts.size(), 1u);
    EXPECT_TRUE(app.onAppCommand(ID_APP_ABOUT));
    EXPECT_EQ(m_shell.starts.size(), 1u);
    EXPECT_TRUE(m_boxes.boxes.empty());
    // The test program's folder holds no help file.
    EXPECT_TRUE(app.onAppCommand(ID_POPUP_HELP));
    ASSERT_EQ(m_boxes.boxes.size(), 1u);
    EXPECT_EQ(m_boxes.boxes[0].text.rfind("Can't find help file ", 0), 0u);

    EXPECT_FALSE(app.onAppCommand(IDOK));
    EXPECT_FALSE(app.onAppCommand(34003));
    EXPECT_EQ(m_shell.starts.size(), 1u);
    EXPECT_EQ(m_boxes.boxes.size(), 1u);
}

TEST(ZorAppCommandIds, AreTheFramesNumbers)
{
    EXPECT_EQ(ID_POPUP_HELP, 34001u);
    EXPECT_EQ(ID_POPUP_WEBSITE, 34002u);
    EXPECT_EQ(ID_APP_ABOUT, 57664u);
}

// --- start-up ------------------------------------------------------------------------------

TEST_F(ZorApp, StartRunsItsStepsInOrder)
{
    CTestApp app;
    EXPECT_EQ(app.initInstance(c_minimum), 1);
    EXPECT_TRUE(m_boxes.boxes.empty()) << testing::PrintToString(boxTexts());

    // The settings are loaded before the registry key is set, which comes before the control
    // containment; the version test comes last.
    EXPECT_EQ(app.events,
        (std::vector<std::string> {
            "initAppVars key=", "initContainer key=Zorvex", "checkVersions"}));
    EXPECT_TRUE(app.isInitialised());
    EXPECT_EQ(app.getCompany(), "Zorvex");
    EXPECT_EQ(app.getApplication(), "Corvane");
    EXPECT_EQ(app.getVersion(), "V2.01");
    EXPECT_EQ(app.registryKey(), "Zorvex");
    EXPECT_NE(zorHostedControlFactory(), nullptr);
    EXPECT_EQ(app.getClassName(), "Class:CorvaneV2.01");
    EXPECT_TRUE(app.isWindowsXP());
}

TEST_F(ZorApp, GuardGetsTheIconOfTheLowSixteenBits)
{
    CTestApp app(63, c_readme, 0x50081);
    ASSERT_EQ(app.initInstance(c_minimum), 1);
    const HICON icon = LoadIconA(nullptr, 129u);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(app.getWndClass().icon, icon);
    EXPECT_EQ(app.getWndClass().cursor, nullptr);
}

TEST_F(ZorApp, SecondInstanceEndsAndActivatesTheFirst)
{
    QProcess first;
    first.start(ZOR_GUARD_HELPER, {"first", "Class:CorvaneV2.01"});
    ASSERT_TRUE(first.waitForStarted(5000));
    ASSERT_TRUE(first.waitForReadyRead(10000));
    ASSERT_EQ(first.readLine().trimmed().toStdString(), "listening");

    // A mask and a module list that would both fail: neither test may run.
    CTestApp app(31);
    app.modules = {c_missing, ""};
    EXPECT_EQ(app.initInstance(c_minimum), 0);
    EXPECT_TRUE(m_boxes.boxes.empty()) << testing::PrintToString(boxTexts());
    EXPECT_EQ(
        app.events, (std::vector<std::string> {"initAppVars key=", "initContainer key=Zorvex"}));

    ASSERT_TRUE(first.waitForFinished(15000));
    EXPECT_EQ(first.readAllStandardOutput().trimmed().toStdString(), "restored");
    EXPECT_EQ(first.exitCode(), 0);

    // No readme step was started.
    waitUntil([&] { return !m_shell.starts.empty(); }, 1300);
    EXPECT_TRUE(m_shell.starts.empty());
}

TEST_F(ZorApp, SystemOutsideTheMaskEndsTheStart)
{
    // Bit 32 is the one this system answers to.
    CTestApp app(31);
    app.modules = {c_missing, ""};
    EXPECT_EQ(app.initInstance(c_minimum), 0);
    ASSERT_EQ(m_boxes.boxes.size(), 1u);
    const std::string expected
        = "This application is not compatible with this version of the operating system.\r\n"
          "This application requires Windows 95 or Windows 98 or Windows ME or Windows NT or "
          "Windows 2000, you are trying to run it on "
        + app.getOSName() + ".";
    EXPECT_EQ(m_boxes.boxes[0].text, expected);
    EXPECT_EQ(m_boxes.boxes[0].type & MB_ICONMASK, MB_ICONSTOP);
    EXPECT_EQ(
        app.events, (std::vector<std::string> {"initAppVars key=", "initContainer key=Zorvex"}));
}

TEST_F(ZorApp, VersionFailureEndsTheStartWithoutReadme)
{
    CTestApp app;
    app.modules = {c_equal, c_older, ""};
    EXPECT_EQ(app.initInstance(c_minimum), 0);
    ASSERT_EQ(m_boxes.boxes.size(), 1u);
    EXPECT_EQ(m_boxes.boxes[0].text,
        "Version mismatch on zortestframe_older.dll, found 2002.06.10.00, should be at least "
        "2002.06.11.00");

    waitUntil([&] { return !m_shell.starts.empty(); }, 1300);
    EXPECT_TRUE(m_shell.starts.empty());
    EXPECT_EQ(readmeFlag(), -1);
}

TEST_F(ZorApp, ReadmeTimerFiresOnceAfterASecond)
{
    CTestApp app;
    ASSERT_EQ(app.initInstance(c_minimum), 1);
    EXPECT_TRUE(m_shell.starts.empty());

    const qint64 elapsed = waitUntil([&] { return !m_shell.starts.empty(); }, 5000);
    ASSERT_EQ(m_shell.starts.size(), 1u);
    EXPECT_GE(elapsed, 900);
    EXPECT_LT(elapsed, 2500);
    EXPECT_EQ(m_shell.starts[0].args, std::vector<std::string> {c_readme});
    EXPECT_EQ(readmeFlag(), 0);

    // One-shot: nothing more comes.
    waitUntil([&] { return m_shell.starts.size() > 1; }, 1300);
    EXPECT_EQ(m_shell.starts.size(), 1u);
}

TEST_F(ZorApp, ReadmeTimerOnLaterRunOpensNothing)
{
    {
        CProfile profile;
        profile.initProfile("Zorvex", "Corvane", "V2.01");
        profile.putBool(eKEY_CURRENT_USER, "Options", "Readme", false);
    }
    CTestApp app;
    ASSERT_EQ(app.initInstance(c_minimum), 1);
    waitUntil([&] { return !m_shell.starts.empty(); }, 1600);
    EXPECT_TRUE(m_shell.starts.empty());
    EXPECT_EQ(readmeFlag(), 0);
}

TEST_F(ZorApp, ApplicationGoneBeforeTheTimerOpensNothing)
{
    {
        CTestApp app;
        ASSERT_EQ(app.initInstance(c_minimum), 1);
    }
    // A later application object must not get the first one's readme step.
    CTestApp later;
    later.initProfile("Zorvex", "Corvane", "V2.01");
    waitUntil([&] { return !m_shell.starts.empty(); }, 1600);
    EXPECT_TRUE(m_shell.starts.empty());
    EXPECT_EQ(readmeFlag(), -1);
}

} // namespace
