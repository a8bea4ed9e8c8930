// The about server created by ProgID: its module list in both forms, the versions it finds,
// the box opened without blocking (ZORVEX_SERVER_NOSHOW), and the frame's About command.

#include "framework/frame/zorapp.h"
#include "framework/version/fileversion.h"
#include "platform/ole/dispatchimpl.h"
#include "platform/ole/factory.h"
#include "tests/servers/servertestsupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

using namespace servertest;

namespace {

constexpr DISPID c_show = 1;
constexpr DISPID c_modules = 2;
constexpr DISPID c_moduleLines = 3;
constexpr DISPID c_showCount = 4;

// A program's module list: a static array, as the suite's programs keep it.
const char* const c_staticList[] = {"zorabout29.so", "nosuchmodule29.so", ""};

std::string fileVersionOf(const std::string& path)
{
    CFileVersion version;
    if (!version.open(path.c_str()))
        return {};
    return version.getFixedFileVersion4();
}

COleVariant addressOf(const void* list)
{
    COleVariant value;
    value.vt = VT_I8;
    value.llVal = static_cast<LONGLONG>(reinterpret_cast<std::intptr_t>(list));
    return value;
}

class AboutServer : public testing::Test
{
protected:
    void SetUp() override
    {
        setenv("ZORVEX_SERVER_NOSHOW", "1", 1);
        ASSERT_TRUE(registerModule(ZOR_TEST_ABOUT_MODULE));
        ASSERT_EQ(zorCreateDispatch("zorAboutServer.29", &m_server), S_OK);
        ASSERT_NE(m_server, nullptr);
    }
    void TearDown() override
    {
        zorRelease(m_server);
        unsetenv("ZORVEX_SERVER_NOSHOW");
    }
    std::string moduleLines()
    {
        COleVariant value;
        EXPECT_EQ(zorGetProperty(m_server, c_moduleLines, &value), S_OK);
        return value.bstrVal;
    }
    long showCount()
    {
        COleVariant value;
        EXPECT_EQ(zorGetProperty(m_server, c_showCount, &value), S_OK);
        return value.lVal;
    }

    ScopedRegistry m_registry;
    IDispatch* m_server {nullptr};
};

} // namespace

TEST_F(AboutServer, ListsModulesGivenAsTextWithTheirVersions)
{
    const std::string version = fileVersionOf(ZOR_TEST_ABOUT_MODULE);
    ASSERT_FALSE(version.empty());
    EXPECT_EQ(zorInvoke(m_server, c_modules, DISPATCH_METHOD,
                  {COleVariant("zorabout29.so\nnosuchmodule29.so\n")}),
        S_OK);
    EXPECT_EQ(moduleLines(), "zorabout29.so\t" + version + "\nnosuchmodule29.so\tnot found");
}

TEST_F(AboutServer, ReadsAProgramsStaticListByAddress)
{
    EXPECT_EQ(zorInvoke(m_server, c_modules, DISPATCH_METHOD, {addressOf(c_staticList)}), S_OK);
    EXPECT_EQ(moduleLines(),
        "zorabout29.so\t" + fileVersionOf(ZOR_TEST_ABOUT_MODULE)
            + "\nnosuchmodule29.so\tnot found");
}

TEST_F(AboutServer, RefusesAddressesOutsideEveryModule)
{
    ASSERT_EQ(
        zorInvoke(m_server, c_modules, DISPATCH_METHOD, {COleVariant("zorabout29.so")}), S_OK);
    auto heapList = std::make_unique<const char*[]>(2);
    heapList[0] = "zorabout29.so";
    heapList[1] = "";
    EXPECT_EQ(
        zorInvoke(m_server, c_modules, DISPATCH_METHOD, {addressOf(heapList.get())}), E_INVALIDARG);
    EXPECT_EQ(zorInvoke(m_server, c_modules, DISPATCH_METHOD, {COleVariant(0)}), E_INVALIDARG);
    EXPECT_EQ(zorInvoke(m_server, c_modules, DISPATCH_METHOD, {COleVariant(2.5)}), E_INVALIDARG);
    // A refused list leaves the previous one.
    EXPECT_EQ(moduleLines().rfind("zorabout29.so\t", 0), 0u);
}

TEST_F(AboutServer, ShowOpensTheBoxWithoutBlocking)
{
    EXPECT_EQ(showCount(), 0);
    ASSERT_EQ(
        zorInvoke(m_server, c_modules, DISPATCH_METHOD, {COleVariant("zorabout29.so")}), S_OK);
    EXPECT_EQ(zorInvoke(m_server, c_show, DISPATCH_METHOD,
                  {COleVariant("/opt/zorvex/bin/corvane"), COleVariant("Jun 24 2002 11:03:26"),
                      COleVariant(129)}),
        S_OK);
    EXPECT_EQ(showCount(), 1);
    EXPECT_EQ(zorInvoke(m_server, c_show, DISPATCH_METHOD,
                  {COleVariant("/p"), COleVariant("t"), COleVariant(0)}),
        S_OK);
    EXPECT_EQ(showCount(), 2);
    EXPECT_EQ(
        zorInvoke(m_server, c_show, DISPATCH_METHOD, {COleVariant("/p")}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(showCount(), 2);
}

namespace {

// An application whose About command the test runs; it counts what the frame asked of it.
class CAboutTestApp : public CzorApp
{
public:
    CAboutTestApp() : CzorApp("Zorvex", "AboutTest", "V1.00", 63, 129, "") { }
    UINT getIconId() override
    {
        ++iconRequests;
        return 129;
    }
    const char* const* getModuleList() override
    {
        ++listRequests;
        return c_staticList;
    }
    std::string getBuildTime() override
    {
        ++buildTimeRequests;
        return "Jun 24 2002 11:03:26";
    }
    int iconRequests {0};
    int listRequests {0};
    int buildTimeRequests {0};
};

} // namespace

TEST_F(AboutServer, FrameAboutCommandDrivesTheRegisteredServer)
{
    CAboutTestApp app;
    app.onAppAbout();
    EXPECT_EQ(app.listRequests, 1);
    EXPECT_EQ(app.buildTimeRequests, 1);
    EXPECT_EQ(app.iconRequests, 1);
}

TEST(AboutServerMissing, FrameAboutCommandDoesNothing)
{
    ScopedRegistry registry;
    CAboutTestApp app;
    app.onAppAbout();
    // The server could not be created, so nothing was asked of the application.
    EXPECT_EQ(app.listRequests, 0);
    EXPECT_EQ(app.buildTimeRequests, 0);
}
