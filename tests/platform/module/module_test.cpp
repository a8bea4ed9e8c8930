#include "platform/module/module.h"

#include "tests/support/tempfolder.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

const char* const LOADEE = ZOR_TEST_LOADEE;

std::string realPathOf(const std::string& path)
{
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) ? std::string(resolved) : std::string();
}

std::string programPath()
{
    char path[PATH_MAX] {};
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string();
}

std::string fileNameOf(HMODULE module)
{
    char path[1024];
    const DWORD n = GetModuleFileNameA(module, path, sizeof path);
    return std::string(path, n);
}

template<typename F> F procOf(HMODULE module, const char* name)
{
    return reinterpret_cast<F>(GetProcAddress(module, name));
}

int programAnchor = 0;

// Loads the test module for one test and releases it at the end.
class LoadedModule
{
public:
    explicit LoadedModule(const char* path) : m_handle(LoadLibraryA(path)) { }
    ~LoadedModule()
    {
        if (m_handle)
            FreeLibrary(m_handle);
    }
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;
    HMODULE handle() const { return m_handle; }

private:
    HMODULE m_handle {nullptr};
};

} // namespace

struct NameCase
{
    const char* name;
    const char* windowsName;
    const char* linuxName;
};

class ModuleFileName : public testing::TestWithParam<NameCase>
{
};

TEST_P(ModuleFileName, WindowsSuffixBecomesSo)
{
    EXPECT_EQ(zorModuleFileName(GetParam().windowsName), GetParam().linuxName);
}

INSTANTIATE_TEST_SUITE_P(Names, ModuleFileName,
    testing::Values(NameCase {"Ocx", "zorwidgets29.ocx", "zorwidgets29.so"},
        NameCase {"UpperCase", "ZORBASE29.DLL", "ZORBASE29.so"},
        NameCase {"WithDirectory", "/opt/zorvex/zorbase29.dll", "/opt/zorvex/zorbase29.so"},
        NameCase {"AlreadyLinux", "zorbase29.so", "zorbase29.so"},
        NameCase {"SuffixInside", "zorbase29.dll.bak", "zorbase29.dll.bak"},
        NameCase {"OnlySuffixLetters", "dll", "dll"}),
    [](const testing::TestParamInfo<NameCase>& info) { return std::string(info.param.name); });

TEST(ModuleLoading, LoadsLooksUpAndFrees)
{
    const HMODULE module = LoadLibraryA(LOADEE);
    ASSERT_NE(module, nullptr) << zorModuleLoadError();
    EXPECT_EQ(zorModuleLoadError(), "");

    const auto answer = procOf<int (*)()>(module, "zorLoadeeAnswer");
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
    EXPECT_EQ(GetProcAddress(module, "zorNoSuchExport"), nullptr);

    EXPECT_EQ(GetModuleHandleA("zortestloadee.so"), module);
    EXPECT_EQ(GetModuleHandleA("zortestloadee.dll"), module) << "a Windows name maps";
    EXPECT_EQ(GetModuleHandleA(LOADEE), module) << "by full path";
    EXPECT_EQ(fileNameOf(module), realPathOf(LOADEE));

    EXPECT_EQ(LoadLibraryA(LOADEE), module) << "a second load counts a reference";
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_EQ(GetModuleHandleA("zortestloadee.so"), module);
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_EQ(GetModuleHandleA("zortestloadee.so"), nullptr) << "the last reference is gone";
    EXPECT_EQ(fileNameOf(module), "") << "a handle of an unloaded module names nothing";
}

TEST(ModuleLoading, ExportsOfDependenciesAreNotTheModules)
{
    // The test module links the C library; the loader would find malloc through it.
    const LoadedModule module(LOADEE);
    ASSERT_NE(module.handle(), nullptr);
    EXPECT_EQ(GetProcAddress(module.handle(), "malloc"), nullptr);
    const HMODULE library = GetModuleHandleA("libc.so.6");
    ASSERT_NE(library, nullptr);
    EXPECT_NE(GetProcAddress(library, "malloc"), nullptr) << "a module loaded at start";
}

TEST(ModuleLoading, FailuresGiveNull)
{
    TempFolder folder;
    const std::string text = folder.file("notes.so");
    std::ofstream(text) << "not a shared object\n";

    EXPECT_EQ(LoadLibraryA(folder.file("missing.so").c_str()), nullptr);
    EXPECT_NE(zorModuleLoadError(), "");
    EXPECT_EQ(LoadLibraryA(text.c_str()), nullptr);
    EXPECT_EQ(LoadLibraryA(""), nullptr);
    EXPECT_EQ(LoadLibraryA(nullptr), nullptr);
    EXPECT_EQ(GetModuleHandleA("zornotloaded.so"), nullptr);
    EXPECT_EQ(GetModuleHandleA(folder.file("missing.so").c_str()), nullptr);
}

TEST(ModuleLoading, ForeignHandlesAreRefused)
{
    int notAModule = 0;
    const HMODULE bogus = reinterpret_cast<HMODULE>(&notAModule);
    EXPECT_FALSE(FreeLibrary(nullptr));
    EXPECT_FALSE(FreeLibrary(bogus));
    EXPECT_EQ(GetProcAddress(bogus, "zorLoadeeAnswer"), nullptr);
    EXPECT_EQ(GetProcAddress(nullptr, "zorLoadeeAnswer"), nullptr);
    char path[64] = "unchanged";
    EXPECT_EQ(GetModuleFileNameA(bogus, path, sizeof path), 0u);
    EXPECT_STREQ(path, "");
}

TEST(ModuleFilePath, ProgramIsTheNullHandle)
{
    const std::string program = programPath();
    ASSERT_FALSE(program.empty());
    EXPECT_EQ(fileNameOf(nullptr), program);
    EXPECT_EQ(fileNameOf(GetModuleHandleA(nullptr)), program);
    EXPECT_EQ(GetModuleHandleA(program.c_str()), GetModuleHandleA(nullptr));
    const std::string base = program.substr(program.rfind('/') + 1);
    EXPECT_EQ(GetModuleHandleA(base.c_str()), GetModuleHandleA(nullptr));
}

TEST(ModuleFilePath, LinkedLibraryHasItsRealPath)
{
    const char* bin = std::getenv("ZORVEX_BIN_DIR");
    ASSERT_NE(bin, nullptr);
    const HMODULE platform = GetModuleHandleA("zorplatform.dll");
    ASSERT_NE(platform, nullptr);
    EXPECT_EQ(fileNameOf(platform), realPathOf(std::string(bin) + "/zorplatform.so"));
}

TEST(ModuleFilePath, CutToTheBuffer)
{
    const std::string program = programPath();
    char path[6];
    std::memset(path, 'x', sizeof path);
    EXPECT_EQ(GetModuleFileNameA(nullptr, path, sizeof path), 5u);
    EXPECT_EQ(std::string(path), program.substr(0, 5));
    EXPECT_EQ(GetModuleFileNameA(nullptr, path, 0), 0u);
    EXPECT_EQ(GetModuleFileNameA(nullptr, nullptr, 10), 0u);
}

TEST(ModuleOfAddress, NamesTheModuleThatHoldsIt)
{
    EXPECT_EQ(zorModuleOfAddress(&programAnchor), GetModuleHandleA(nullptr));
    EXPECT_EQ(ZOR_THIS_MODULE(), GetModuleHandleA(nullptr));
    EXPECT_EQ(zorModuleOfAddress(reinterpret_cast<const void*>(&LoadLibraryA)),
        GetModuleHandleA("zorplatform.so"));
    const int* heap = new int(1);
    EXPECT_EQ(zorModuleOfAddress(heap), nullptr);
    delete heap;
    EXPECT_EQ(zorModuleOfAddress(nullptr), nullptr);

    const LoadedModule module(LOADEE);
    ASSERT_NE(module.handle(), nullptr);
    const auto thisModule = procOf<HMODULE (*)()>(module.handle(), "zorLoadeeThisModule");
    ASSERT_NE(thisModule, nullptr);
    EXPECT_EQ(thisModule(), module.handle()) << "each module has its own anchor";
}

TEST(ModuleState, ScopeMakesAModuleCurrentAndRestores)
{
    const LoadedModule module(LOADEE);
    ASSERT_NE(module.handle(), nullptr);
    const HMODULE program = GetModuleHandleA(nullptr);
    const HMODULE platform = GetModuleHandleA("zorplatform.so");
    EXPECT_EQ(AfxGetInstanceHandle(), program) << "the program is current at start";
    EXPECT_EQ(AfxGetResourceHandle(), program);
    {
        const ZorModuleState outer(module.handle());
        EXPECT_EQ(AfxGetInstanceHandle(), module.handle());
        EXPECT_EQ(AfxGetResourceHandle(), module.handle());
        {
            const ZorModuleState inner(platform);
            EXPECT_EQ(AfxGetInstanceHandle(), platform);
        }
        EXPECT_EQ(AfxGetInstanceHandle(), module.handle());
    }
    EXPECT_EQ(AfxGetInstanceHandle(), program);

    const auto during = procOf<HMODULE (*)()>(module.handle(), "zorLoadeeCurrentDuringCall");
    ASSERT_NE(during, nullptr);
    EXPECT_EQ(during(), module.handle());
    EXPECT_EQ(AfxGetInstanceHandle(), program) << "the call's state ended with it";
}

TEST(ModuleState, ResourceHandleIsKeptAcrossAModuleScope)
{
    const LoadedModule module(LOADEE);
    ASSERT_NE(module.handle(), nullptr);
    const HMODULE platform = GetModuleHandleA("zorplatform.so");
    AfxSetResourceHandle(platform);
    EXPECT_EQ(AfxGetResourceHandle(), platform);
    EXPECT_EQ(AfxGetInstanceHandle(), GetModuleHandleA(nullptr));
    {
        const ZorModuleState state(module.handle());
        EXPECT_EQ(AfxGetResourceHandle(), module.handle()) << "resources follow the module";
    }
    EXPECT_EQ(AfxGetResourceHandle(), platform);
    AfxSetResourceHandle(nullptr);
    EXPECT_EQ(AfxGetResourceHandle(), GetModuleHandleA(nullptr));
}

TEST(ModuleState, OtherThreadsKeepTheProgram)
{
    const LoadedModule module(LOADEE);
    ASSERT_NE(module.handle(), nullptr);
    const ZorModuleState state(module.handle());
    HMODULE seen = module.handle();
    std::thread worker([&seen] { seen = AfxGetInstanceHandle(); });
    worker.join();
    EXPECT_EQ(seen, GetModuleHandleA(nullptr));
    EXPECT_EQ(AfxGetInstanceHandle(), module.handle());
}
