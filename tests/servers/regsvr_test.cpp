// zorregsvr: registration and unregistration of a module in the store, its messages and exit
// codes.

#include "framework/identity/suiteguid.h"
#include "platform/ole/factory.h"
#include "tests/servers/servertestsupport.h"

#include <gtest/gtest.h>

using namespace servertest;

namespace {

const std::string c_waitClass = "{01540154-0100-0000-0029-000000000004}";

} // namespace

TEST(RegSvrTool, RegistersTheWaitServerUnderTheClassesRoot)
{
    ScopedRegistry registry;
    const ToolResult result = runTool(ZOR_TEST_REGSVR, {ZOR_TEST_WAIT_MODULE});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, joined({"DllRegisterServer in ", ZOR_TEST_WAIT_MODULE, " succeeded.\n"}));
    EXPECT_TRUE(result.err.empty());

    EXPECT_EQ(classesRootText("zorWaitServer.29\\CLSID"), c_waitClass);
    EXPECT_EQ(classesRootText(joined({"CLSID\\", c_waitClass, "\\InprocServer32"})),
        std::string(ZOR_TEST_WAIT_MODULE));
    CLSID clsid;
    ASSERT_EQ(CLSIDFromProgID("zorWaitServer.29", &clsid), S_OK);
    EXPECT_EQ(clsid, zorSuiteGuid(0x0100, 4));
}

TEST(RegSvrTool, UnregisterRemovesTheClass)
{
    ScopedRegistry registry;
    ASSERT_TRUE(registerModule(ZOR_TEST_ABOUT_MODULE));
    CLSID clsid;
    ASSERT_EQ(CLSIDFromProgID("zorAboutServer.29", &clsid), S_OK);

    const ToolResult result = runTool(ZOR_TEST_REGSVR, {"/u", ZOR_TEST_ABOUT_MODULE});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(
        result.out, joined({"DllUnregisterServer in ", ZOR_TEST_ABOUT_MODULE, " succeeded.\n"}));
    EXPECT_TRUE(FAILED(CLSIDFromProgID("zorAboutServer.29", &clsid)));
    EXPECT_TRUE(
        classesRootText("CLSID\\{01540154-0101-0000-0029-000000000004}\\InprocServer32").empty());
}

TEST(RegSvrTool, SilentPrintsNothing)
{
    ScopedRegistry registry;
    const ToolResult result = runTool(ZOR_TEST_REGSVR, {"/s", ZOR_TEST_WAIT_MODULE});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.out.empty());
    EXPECT_TRUE(result.err.empty());
    EXPECT_FALSE(classesRootText("zorWaitServer.29\\CLSID").empty());
}

TEST(RegSvrTool, MissingModuleFailsWithExitCodeOne)
{
    ScopedRegistry registry;
    TempFolder folder;
    const std::string missing = folder.file("nosuchmodule.so");
    const ToolResult result = runTool(ZOR_TEST_REGSVR, {missing});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.out.empty());
    EXPECT_EQ(result.err.rfind(joined({"LoadLibrary(\"", missing, "\") failed"}), 0), 0u)
        << result.err;
}

TEST(RegSvrTool, ModuleWithoutEntryPointsFails)
{
    ScopedRegistry registry;
    ToolResult result = runTool(ZOR_TEST_REGSVR, {ZOR_TEST_PLAIN_MODULE});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.out.empty());
    EXPECT_EQ(result.err,
        joined({ZOR_TEST_PLAIN_MODULE,
            " was loaded, but the DllRegisterServer entry point was not found.\n"}));

    result = runTool(ZOR_TEST_REGSVR, {"-U", ZOR_TEST_PLAIN_MODULE});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("DllUnregisterServer entry point was not found"), std::string::npos);
}

TEST(RegSvrTool, WrongCommandLineShowsUsage)
{
    ToolResult result = runTool(ZOR_TEST_REGSVR, {});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err, "usage: zorregsvr [/u] [/s] [--machine] module\n");
    result = runTool(ZOR_TEST_REGSVR, {"/x", ZOR_TEST_WAIT_MODULE});
    EXPECT_EQ(result.exitCode, 2);
    result = runTool(ZOR_TEST_REGSVR, {ZOR_TEST_WAIT_MODULE, ZOR_TEST_ABOUT_MODULE});
    EXPECT_EQ(result.exitCode, 2);
}
