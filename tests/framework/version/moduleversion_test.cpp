#include "framework/version/moduleversion.h"

#include "framework/version/fileversion.h"
#include "tests/framework/version/versiontestsupport.h"
#include "tests/support/tempfolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

using namespace versiontest;

TEST(ModuleVersion, BuiltLibraries)
{
    EXPECT_EQ(getModuleVersion(GetModuleHandleA("zorbase29.dll")), "Version 2002.06.0024.29");
    EXPECT_EQ(getModuleVersion(GetModuleHandleA("zorplatform.so")), "Version 2002.06.0024.29");
}

TEST(ModuleVersion, TestModules)
{
    const LoadedModule ok(REG_OK);
    const LoadedModule refuses(REG_REFUSES);
    ASSERT_NE(ok.handle(), nullptr);
    ASSERT_NE(refuses.handle(), nullptr);
    EXPECT_EQ(getModuleVersion(ok.handle()), "Version 3.12.0007.1");
    EXPECT_EQ(getModuleVersion(refuses.handle()), "Version 2.01.0000.29");
}

TEST(ModuleVersion, NothingWithoutABlock)
{
    EXPECT_EQ(getModuleVersion(nullptr), "") << "the test program carries no version block";
    int notAModule = 0;
    EXPECT_EQ(getModuleVersion(reinterpret_cast<HINSTANCE>(&notAModule)), "");
}

TEST(ModuleVersion, NothingForALargeBlock)
{
    DWORD handle = 0;
    ASSERT_GE(GetFileVersionInfoSizeA(REG_LARGE, &handle), 4096u);
    const LoadedModule large(REG_LARGE);
    ASSERT_NE(large.handle(), nullptr);
    EXPECT_EQ(getModuleVersion(large.handle()), "");
    CFileVersion version;
    EXPECT_EQ(version.open(REG_LARGE), 1) << "the reader of the whole resource has no such limit";
}

TEST(ModulePath, ThreeForms)
{
    const LoadedModule ok(REG_OK);
    ASSERT_NE(ok.handle(), nullptr);
    EXPECT_EQ(getModulePath(), programPath());
    EXPECT_EQ(getModulePath(ok.handle()), realPathOf(REG_OK));
    EXPECT_EQ(getModulePath(static_cast<HINSTANCE>(nullptr)), programPath());
    EXPECT_EQ(getModulePath("zortestreg_ok.ocx"), realPathOf(REG_OK));
    EXPECT_EQ(getModulePath("zorbase29.dll"), realPathOf(binFile("zorbase29.so")));
    EXPECT_EQ(getModulePath("zornotloaded29.dll"), "");
}

TEST(ModulePath, CurrentModuleFollowsTheState)
{
    const LoadedModule ok(REG_OK);
    ASSERT_NE(ok.handle(), nullptr);
    const ZorModuleState state(ok.handle());
    EXPECT_EQ(getModulePath(), realPathOf(REG_OK));
    const std::string directory = realPathOf(REG_OK).substr(0, realPathOf(REG_OK).rfind('/') + 1);
    EXPECT_EQ(getModuleDirectory(), directory);
    EXPECT_EQ(getModuleDirectory2(), directory.substr(0, directory.size() - 1));
}

TEST(ModuleDirectory, EndsWithTheSeparator)
{
    const std::string program = programPath();
    const std::string directory = program.substr(0, program.rfind('/') + 1);
    EXPECT_EQ(getModuleDirectory(), directory);
    EXPECT_EQ(getModuleDirectory("zorbase29.so"), realPathOf(binFile("")) + "/");
    EXPECT_EQ(getModuleDirectory("zornotloaded29.so"), "");
    EXPECT_EQ(getModuleDirectory2(), directory.substr(0, directory.size() - 1));
}

TEST(ModuleDirectory, SecondFormTurnsBackslashesIntoSlashes)
{
    // A folder whose name holds a backslash: a directory separator in the suite's paths.
    TempFolder folder;
    const std::string odd = folder.file("A\\B");
    std::filesystem::create_directory(odd);
    copyFile(REG_NONE, odd + "/anchor.so");
    const LoadedModule anchor(odd + "/anchor.so");
    ASSERT_NE(anchor.handle(), nullptr);
    const ZorModuleState state(anchor.handle());
    EXPECT_EQ(getModuleDirectory(), realPathOf(folder.path()) + "/A\\B/");
    EXPECT_EQ(getModuleDirectory2(), realPathOf(folder.path()) + "/A/B");
}

class FindModule : public testing::Test
{
protected:
    void SetUp() override
    {
        copyFile(REG_NONE, m_beside.file("anchor.so"));
        m_anchor = LoadLibraryA(m_beside.file("anchor.so").c_str());
        ASSERT_NE(m_anchor, nullptr);
        m_state = new ZorModuleState(m_anchor);
        m_besideDir = realPathOf(m_beside.path()) + "/";
    }
    void TearDown() override
    {
        delete m_state;
        if (m_anchor)
            FreeLibrary(m_anchor);
    }
    static void touch(const std::string& path) { std::ofstream(path) << "module\n"; }

    TempFolder m_beside;
    TempFolder m_shared;
    ScopedEnvironment m_common {"ZORVEX_COMMON_DIR", m_shared.path().c_str()};
    HMODULE m_anchor {nullptr};
    ZorModuleState* m_state {nullptr};
    std::string m_besideDir;
};

TEST_F(FindModule, BesideTheCurrentModuleComesFirst)
{
    touch(m_beside.file("zorwidgets29.so"));
    touch(m_shared.file("zorwidgets29.so"));
    EXPECT_EQ(findModule("zorwidgets29.ocx"), m_besideDir + "zorwidgets29.so");
}

TEST_F(FindModule, SharedFolderComesSecond)
{
    touch(m_shared.file("zorwidgets29.so"));
    EXPECT_EQ(findModule("zorwidgets29.ocx"), m_shared.path() + "/zorwidgets29.so");
    EXPECT_EQ(findModule("zorwidgets29.so"), m_shared.path() + "/zorwidgets29.so");
}

TEST_F(FindModule, NeitherGivesNothing)
{
    EXPECT_EQ(findModule("zorwidgets29.ocx"), "");
    EXPECT_EQ(findModule(""), "");
}

TEST_F(FindModule, SharedFolderWithoutTrailingSeparator)
{
    touch(m_shared.file("zordial29.so"));
    const ScopedEnvironment common("ZORVEX_COMMON_DIR", (m_shared.path() + "/").c_str());
    EXPECT_EQ(findModule("zordial29.ocx"), m_shared.path() + "/zordial29.so");
    EXPECT_EQ(getSharedModuleDirectory(), m_shared.path() + "/");
}

TEST(SharedModuleFolder, DefaultAndOverride)
{
    // By default the folder of the framework library: the build's bin folder here.
    const std::string suiteFolder = std::string(std::getenv("ZORVEX_BIN_DIR")) + "/";
    {
        const ScopedEnvironment unset("ZORVEX_COMMON_DIR", nullptr);
        EXPECT_EQ(getSharedModuleDirectory(), suiteFolder);
    }
    {
        const ScopedEnvironment empty("ZORVEX_COMMON_DIR", "");
        EXPECT_EQ(getSharedModuleDirectory(), suiteFolder);
    }
    const ScopedEnvironment set("ZORVEX_COMMON_DIR", "/opt/zorvex/common");
    EXPECT_EQ(getSharedModuleDirectory(), "/opt/zorvex/common/");
}

TEST(FindModuleProgram, FindsTheProgramBesideItself)
{
    const std::string program = programPath();
    EXPECT_EQ(findModule(program.substr(program.rfind('/') + 1)), program);
}
