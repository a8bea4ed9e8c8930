#pragma once

// What the version tests share: the test modules, the built libraries, a loaded module for the
// length of a test, and an environment variable changed for the length of a test.

#include "platform/module/module.h"
#include "tests/support/scopedenvironment.h"

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace versiontest {

inline const char* const REG_OK = ZOR_TEST_REG_OK;
inline const char* const REG_REFUSES = ZOR_TEST_REG_REFUSES;
inline const char* const REG_NONE = ZOR_TEST_REG_NONE;
inline const char* const REG_LARGE = ZOR_TEST_REG_LARGE;
inline constexpr bool DEBUG_BUILD = ZOR_TEST_DEBUG_BUILD;

inline std::string binFile(const char* name)
{
    const char* bin = std::getenv("ZORVEX_BIN_DIR");
    return std::string(bin ? bin : "") + "/" + name;
}

inline std::string realPathOf(const std::string& path)
{
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) ? std::string(resolved) : std::string();
}

inline std::string programPath()
{
    char path[PATH_MAX] {};
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string();
}

inline void copyFile(const std::string& from, const std::string& to)
{
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
}

class LoadedModule
{
public:
    explicit LoadedModule(const std::string& path) : m_handle(LoadLibraryA(path.c_str())) { }
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

using ::ScopedEnvironment;

} // namespace versiontest
