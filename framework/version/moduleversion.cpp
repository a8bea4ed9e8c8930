#include "framework/version/moduleversion.h"

#include "framework/diagnostics/diagnostics.h"
#include "framework/values/path.h"
#include "platform/module/fileversioninfo.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

// The buffer sizes of the platform's own path calls.
constexpr DWORD MODULE_PATH_SIZE = 520;
constexpr DWORD VERSION_PATH_SIZE = 519;
constexpr DWORD VERSION_BUFFER_SIZE = 4096;

std::string moduleFileName(HMODULE hModule, DWORD size)
{
    std::string path(size, '\0');
    const DWORD length = GetModuleFileNameA(hModule, path.data(), size);
    path.resize(length);
    return path;
}

std::string directoryOf(const std::string& path)
{
    if (path.empty())
        return {};
    const CPath split(path);
    return split.getDrive() + split.getDir();
}

bool fileExists(const std::string& path)
{
    return !path.empty() && access(path.c_str(), F_OK) == 0;
}

DWORD readDword(const BYTE* p)
{
    return static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8)
        | (static_cast<DWORD>(p[2]) << 16) | (static_cast<DWORD>(p[3]) << 24);
}

void reportRegistration(const char* message, const char* fileName)
{
    boxOut(__FILE__, __LINE__, MB_OK | MB_ICONEXCLAMATION, "%s: %s", message,
        fileName ? fileName : "");
}

bool runRegistration(const char* fileName)
{
    const HMODULE module = LoadLibraryA(fileName);
    if (!module) {
        reportRegistration("Couldn't find control", fileName);
        return false;
    }
    const FARPROC entry = GetProcAddress(module, "DllRegisterServer");
    if (!entry) {
        reportRegistration("Missing server registration function", fileName);
        FreeLibrary(module);
        return false;
    }
    // Only exactly 0 is success: a positive success code such as S_FALSE is not.
    const HRESULT result = reinterpret_cast<HRESULT (*)()>(entry)();
    const bool registered = result == S_OK;
    if (!registered)
        reportRegistration("Couldn't register control", fileName);
    FreeLibrary(module);
    return registered;
}

} // namespace

std::string getModuleVersion(HINSTANCE hInstance)
{
    const std::string path = moduleFileName(hInstance, VERSION_PATH_SIZE);
    if (path.empty())
        return {};
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0 || size >= VERSION_BUFFER_SIZE)
        return {};
    BYTE buffer[VERSION_BUFFER_SIZE] {};
    if (!GetFileVersionInfoA(path.c_str(), handle, sizeof buffer, buffer))
        return {};

    // The block header (three words), the key up to its terminator, padding to 4 from the
    // start: there begins the fixed information, with the file version at bytes 8 and 12.
    std::size_t p = 6;
    while (p + 2 <= size && zorReadWord(buffer + p) != 0)
        p += 2;
    p += 2;
    p = (p + 3) & ~static_cast<std::size_t>(3);
    if (p + 16 > size)
        return {};
    const DWORD high = readDword(buffer + p + 8);
    const DWORD low = readDword(buffer + p + 12);

    char text[64];
    std::snprintf(text, sizeof text, "Version %d.%.2d.%.4d.%d", HIWORD(high), LOWORD(high),
        HIWORD(low), LOWORD(low));
    return text;
}

std::string getModulePath()
{
    return moduleFileName(AfxGetInstanceHandle(), MODULE_PATH_SIZE);
}

std::string getModulePath(const char* moduleName)
{
    const HMODULE module = GetModuleHandleA(moduleName);
    return module ? moduleFileName(module, MODULE_PATH_SIZE) : std::string();
}

std::string getModulePath(HINSTANCE hInstance)
{
    return moduleFileName(hInstance, MODULE_PATH_SIZE);
}

std::string getModuleDirectory()
{
    return directoryOf(getModulePath());
}

std::string getModuleDirectory(const char* moduleName)
{
    return directoryOf(getModulePath(moduleName));
}

std::string getModuleDirectory2()
{
    std::string directory = getModuleDirectory();
    if (directory.empty())
        return {};
    directory.pop_back();
    for (char& c : directory) {
        if (c == '\\')
            c = '/';
    }
    return directory;
}

std::string getSharedModuleDirectory()
{
    // By default the folder this library was loaded from: the suite's own folder, where its
    // installation puts the modules, so that a program installed elsewhere finds them too.
    const char* folder = std::getenv("ZORVEX_COMMON_DIR");
    std::string directory
        = folder && *folder ? std::string(folder) : directoryOf(getModulePath(ZOR_THIS_MODULE()));
    if (directory.empty())
        return {};
    if (directory.back() != '/' && directory.back() != '\\')
        directory.push_back('/');
    return directory;
}

std::string findModule(const std::string& fileName)
{
    const std::string name = zorModuleFileName(fileName);
    if (name.empty())
        return {};

    // Without a directory of its own the first candidate would name a file of the working
    // directory, which is not beside the module.
    const std::string beside = getModuleDirectory();
    if (!beside.empty()) {
        const std::string candidate = CPath(beside + name).getPath();
        if (fileExists(candidate))
            return candidate;
    }
    const std::string shared = CPath(getSharedModuleDirectory() + name).getPath();
    if (fileExists(shared))
        return shared;
    return {};
}

bool registerControl(const char* fileName)
{
    return runRegistration(fileName);
}

bool registerMyCommonControl(const std::string& fileName)
{
    const std::string path = findModule(fileName);
    if (path.empty())
        return false;
    return runRegistration(path.c_str());
}
