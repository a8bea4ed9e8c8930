// zortypes: the interface text of a module's type library.

#include "tests/servers/servertestsupport.h"

#include <gtest/gtest.h>

using namespace servertest;

TEST(TypesTool, PrintsTheAboutServersInterface)
{
    const ToolResult result = runTool(ZOR_TEST_TYPES, {ZOR_TEST_ABOUT_MODULE});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    for (const char* text : {"ZORABOUTLib", "uuid(01540154-0101-0000-0029-000000000001)",
             "_DAboutServer", "Dispatch interface for zorAboutServer.29", "show", "modules",
             "ModuleLines", "ShowCount", "AboutServer"})
        EXPECT_NE(result.out.find(text), std::string::npos) << text << " in\n" << result.out;
    // The wait server's members are not the about server's.
    EXPECT_EQ(result.out.find("ProgressValue"), std::string::npos);
}

TEST(TypesTool, PrintsTheWaitServersInterface)
{
    const ToolResult result = runTool(ZOR_TEST_TYPES, {ZOR_TEST_WAIT_MODULE});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    for (const char* text : {"ZORWAITLib", "_DWaitServer", "progress", "ProgressValue",
             "CurrentText", "IsShown", "a_strText"})
        EXPECT_NE(result.out.find(text), std::string::npos) << text << " in\n" << result.out;
}

TEST(TypesTool, RefusesModulesWithoutTypeInformation)
{
    ToolResult result = runTool(ZOR_TEST_TYPES, {ZOR_TEST_PLAIN_MODULE});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.out.empty());
    EXPECT_NE(result.err.find("zorTypeLibraryOf entry point was not found"), std::string::npos);

    result = runTool(ZOR_TEST_TYPES, {"/nonexistent/zorvex/module.so"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("failed"), std::string::npos);

    result = runTool(ZOR_TEST_TYPES, {});
    EXPECT_EQ(result.exitCode, 2);
}
