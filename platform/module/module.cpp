#include "platform/module/module.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

// A module handle is the dynamic linker's handle of the object, which is its link map; the
// program's handle is the one the loader gives for the program itself. Handles are checked
// against the loaded objects before use, so a stale or foreign handle fails instead of crashing.

namespace {

thread_local HMODULE t_instance {nullptr}; // null: the program
thread_local HMODULE t_resource {nullptr}; // null: the current instance
thread_local std::string t_loadError;

link_map* programMap()
{
    static link_map* const map = static_cast<link_map*>(dlopen(nullptr, RTLD_LAZY));
    return map;
}

HMODULE programHandle()
{
    return reinterpret_cast<HMODULE>(programMap());
}

// The link map of a handle of a loaded object, or null.
// FIXME: the walk is not guarded against a module being unloaded on another thread meanwhile;
// the suite loads and frees modules on its user-interface thread only.
link_map* loadedMap(HMODULE hModule)
{
    if (!hModule)
        return nullptr;
    for (link_map* map = programMap(); map; map = map->l_next) {
        if (reinterpret_cast<HMODULE>(map) == hModule)
            return map;
    }
    return nullptr;
}

std::string programPath()
{
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return {};
    return std::string(path, static_cast<std::size_t>(length));
}

std::string directoryOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string baseName(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string realPath(const char* path)
{
    char resolved[PATH_MAX];
    if (realpath(path, resolved))
        return resolved;
    return path;
}

bool endsWithNoCase(const std::string& text, const char* suffix)
{
    const std::size_t n = std::strlen(suffix);
    return text.size() >= n && strncasecmp(text.c_str() + text.size() - n, suffix, n) == 0;
}

} // namespace

std::string zorModuleFileName(const std::string& windowsName)
{
    if (endsWithNoCase(windowsName, ".dll") || endsWithNoCase(windowsName, ".ocx"))
        return windowsName.substr(0, windowsName.size() - 4) + ".so";
    return windowsName;
}

HMODULE LoadLibraryA(const char* lpLibFileName)
{
    if (!lpLibFileName || !*lpLibFileName) {
        t_loadError = "no module name";
        return nullptr;
    }
    std::string path = zorModuleFileName(lpLibFileName);
    if (path.find('/') == std::string::npos) {
        const std::string beside = directoryOf(programPath()) + path;
        if (access(beside.c_str(), F_OK) == 0)
            path = beside;
    }
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* reason = dlerror();
        t_loadError = reason ? reason : "cannot load " + path;
        return nullptr;
    }
    t_loadError.clear();
    return static_cast<HMODULE>(handle);
}

std::string zorModuleLoadError()
{
    return t_loadError;
}

BOOL FreeLibrary(HMODULE hModule)
{
    if (!loadedMap(hModule))
        return FALSE;
    if (hModule == programHandle())
        return TRUE;
    return dlclose(hModule) == 0 ? TRUE : FALSE;
}

FARPROC GetProcAddress(HMODULE hModule, const char* lpProcName)
{
    const link_map* map = loadedMap(hModule);
    if (!lpProcName || !map)
        return nullptr;
    // An object the program loaded at start has no search list of its own until it is opened;
    // opening it again by name (it is already loaded) gives a handle the lookup can use.
    const bool program = hModule == programHandle() || !map->l_name || !*map->l_name;
    void* handle
        = program ? static_cast<void*>(programMap()) : dlopen(map->l_name, RTLD_LAZY | RTLD_NOLOAD);
    if (!handle)
        return nullptr;
    dlerror();
    void* symbol = dlsym(handle, lpProcName);
    if (!program)
        dlclose(handle);
    if (!symbol)
        return nullptr;
    // The loader also searches the module's dependencies; only the module's own exports count.
    Dl_info info;
    link_map* owner = nullptr;
    if (!dladdr1(symbol, &info, reinterpret_cast<void**>(&owner), RTLD_DL_LINKMAP)
        || reinterpret_cast<HMODULE>(owner) != hModule)
        return nullptr;
    return reinterpret_cast<FARPROC>(symbol);
}

HMODULE GetModuleHandleA(const char* lpModuleName)
{
    if (!lpModuleName)
        return programHandle();
    const std::string name = zorModuleFileName(lpModuleName);
    if (name.empty())
        return nullptr;

    if (name.find('/') != std::string::npos) {
        if (realPath(name.c_str()) == realPath(programPath().c_str()))
            return programHandle();
        void* handle = dlopen(name.c_str(), RTLD_LAZY | RTLD_NOLOAD);
        if (!handle)
            return nullptr;
        dlclose(handle); // RTLD_NOLOAD counted a reference
        return static_cast<HMODULE>(handle);
    }

    if (baseName(programPath()) == name)
        return programHandle();
    for (link_map* map = programMap(); map; map = map->l_next) {
        if (map->l_name && *map->l_name && baseName(map->l_name) == name)
            return reinterpret_cast<HMODULE>(map);
    }
    return nullptr;
}

DWORD GetModuleFileNameA(HMODULE hModule, char* lpFilename, DWORD nSize)
{
    if (!lpFilename || nSize == 0)
        return 0;
    lpFilename[0] = '\0';
    std::string path;
    if (!hModule || hModule == programHandle()) {
        path = programPath();
    } else {
        const link_map* map = loadedMap(hModule);
        if (!map)
            return 0;
        path = map->l_name && *map->l_name ? realPath(map->l_name) : programPath();
    }
    if (path.empty())
        return 0;
    const std::size_t count = path.size() < nSize - 1 ? path.size() : nSize - 1;
    std::memcpy(lpFilename, path.data(), count);
    lpFilename[count] = '\0';
    return static_cast<DWORD>(count);
}

HMODULE zorModuleOfAddress(const void* address)
{
    Dl_info info;
    link_map* map = nullptr;
    if (!address || !dladdr1(address, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP))
        return nullptr;
    return reinterpret_cast<HMODULE>(map);
}

HMODULE AfxGetInstanceHandle()
{
    return t_instance ? t_instance : programHandle();
}

HMODULE AfxGetResourceHandle()
{
    return t_resource ? t_resource : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HMODULE hModule)
{
    t_resource = hModule;
}

ZorModuleState::ZorModuleState(HMODULE hModule)
    : m_previousInstance(t_instance), m_previousResource(t_resource)
{
    t_instance = hModule;
    t_resource = nullptr;
}

ZorModuleState::~ZorModuleState()
{
    t_instance = m_previousInstance;
    t_resource = m_previousResource;
}
