#include "platform/registry/registry.h"

#include "platform/registry/registryroot.h"
#include "platform/registry/registryview.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

// An opened key: the store it was opened in, its key and the rights it was opened with. A key
// seen through the machine-wide layer as well has that layer's root too, and is known by its
// path from the root, since it may exist in either layer or both.
struct ZorRegKey
{
    std::shared_ptr<CRegistryRoot> root;
    std::int64_t id {0};
    REGSAM access {0};
    std::shared_ptr<CRegistryRoot> machine;
    ZorRegPath path;
};

namespace {

constexpr std::uintptr_t c_firstRoot = 0x80000000u;
constexpr size_t c_rootCount = 3;
// The current-user root is the user's alone; the other two also see the machine-wide layer.
constexpr size_t c_currentUserRoot = 1;
constexpr size_t c_maxKeyNameLength = 255;
constexpr const char* c_rootFiles[c_rootCount] = {
    "classes_root.db",
    "current_user.db",
    "local_machine.db",
};

int rootIndex(HKEY hKey)
{
    const auto value = reinterpret_cast<std::uintptr_t>(hKey);
    if (value >= c_firstRoot && value < c_firstRoot + c_rootCount)
        return static_cast<int>(value - c_firstRoot);
    return -1;
}

std::string currentFolder()
{
    if (const char* folder = std::getenv("ZORVEX_REGISTRY"); folder && *folder)
        return folder;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/')
        return std::string(config) + "/zorvex/registry";
    std::string home;
    if (const char* env = std::getenv("HOME"); env && *env) {
        home = env;
    } else if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) {
        home = pw->pw_dir;
    }
    return home + "/.config/zorvex/registry";
}

// The machine-wide store folder as configured, whether or not it is read as a layer.
std::string configuredMachineFolder()
{
    if (const char* folder = std::getenv("ZORVEX_MACHINE_REGISTRY"); folder && *folder)
        return folder;
    return ZOR_MACHINE_REGISTRY_DIR;
}

// The machine-wide layer's folder, empty when there is none: a store relocated by
// ZORVEX_REGISTRY is the whole store unless ZORVEX_MACHINE_REGISTRY names a layer too.
std::string machineFolder()
{
    const char* store = std::getenv("ZORVEX_REGISTRY");
    const char* machine = std::getenv("ZORVEX_MACHINE_REGISTRY");
    if (store && *store && !(machine && *machine))
        return std::string();
    return configuredMachineFolder();
}

std::string withoutTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// Whether two folder names name one folder: the same text, or the same existing folder.
bool sameFolder(const std::string& a, const std::string& b)
{
    if (withoutTrailingSlashes(a) == withoutTrailingSlashes(b))
        return true;
    struct stat first
    {
    };
    struct stat second
    {
    };
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0
        && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// A root of the user's store and, when there is a machine-wide layer for it, that layer's.
struct RootLayers
{
    std::shared_ptr<CRegistryRoot> user;
    std::shared_ptr<CRegistryRoot> machine;
};

// The three roots of the current store folder and the machine-wide layer's two. When a folder
// changes, new roots are made for it; keys opened before keep the roots they were opened in.
class CRegistryStores
{
public:
    RootLayers root(int index)
    {
        const std::string folder = currentFolder();
        const std::string machine = machineFolder();
        const auto slot = static_cast<size_t>(index);
        std::lock_guard lock(m_mutex);
        if (folder != m_folder || machine != m_machineFolder) {
            if (folder != m_folder) {
                for (auto& root : m_roots)
                    root.reset();
            }
            if (machine != m_machineFolder) {
                for (auto& root : m_machineRoots)
                    root.reset();
            }
            m_folder = folder;
            m_machineFolder = machine;
            m_layered = !machine.empty() && !sameFolder(folder, machine);
        }
        auto& root = m_roots[slot];
        if (!root)
            root = std::make_shared<CRegistryRoot>(folder, folder + "/" + c_rootFiles[slot]);
        if (!m_layered || slot == c_currentUserRoot)
            return RootLayers {root, nullptr};
        auto& machineRoot = m_machineRoots[slot];
        if (!machineRoot)
            machineRoot = std::make_shared<CRegistryRoot>(
                machine, machine + "/" + c_rootFiles[slot], CRegistryRoot::Layer::machine);
        return RootLayers {root, machineRoot};
    }

    // The machine-wide layer in effect for the current folders.
    std::string layerFolder()
    {
        const std::string folder = currentFolder();
        const std::string machine = machineFolder();
        return !machine.empty() && !sameFolder(folder, machine) ? machine : std::string();
    }

    void closeFiles()
    {
        std::lock_guard lock(m_mutex);
        for (const auto* roots : {&m_roots, &m_machineRoots}) {
            for (const auto& root : *roots) {
                if (root)
                    root->closeFile();
            }
        }
        for (const auto& [handle, key] : m_keys) {
            key->root->closeFile();
            if (key->machine)
                key->machine->closeFile();
        }
    }

    void add(ZorRegKey* key)
    {
        std::lock_guard lock(m_mutex);
        m_keys.emplace(key, std::unique_ptr<ZorRegKey>(key));
    }

    bool find(HKEY hKey, ZorRegKey& out)
    {
        std::lock_guard lock(m_mutex);
        const auto found = m_keys.find(hKey);
        if (found == m_keys.end())
            return false;
        out = *found->second;
        return true;
    }

    bool remove(HKEY hKey)
    {
        std::unique_ptr<ZorRegKey> released;
        std::lock_guard lock(m_mutex);
        const auto found = m_keys.find(hKey);
        if (found == m_keys.end())
            return false;
        released = std::move(found->second);
        m_keys.erase(found);
        return true;
    }

private:
    std::mutex m_mutex;
    std::string m_folder;
    std::string m_machineFolder;
    bool m_layered {false};
    std::array<std::shared_ptr<CRegistryRoot>, c_rootCount> m_roots;
    std::array<std::shared_ptr<CRegistryRoot>, c_rootCount> m_machineRoots;
    std::unordered_map<ZorRegKey*, std::unique_ptr<ZorRegKey>> m_keys;
};

CRegistryStores& stores()
{
    static CRegistryStores s_stores;
    return s_stores;
}

// The key a handle stands for: a root with every right, or an opened key.
bool resolve(HKEY hKey, ZorRegKey& out)
{
    if (const int index = rootIndex(hKey); index >= 0) {
        RootLayers layers = stores().root(index);
        out.root = std::move(layers.user);
        out.machine = std::move(layers.machine);
        out.id = 0;
        out.access = KEY_ALL_ACCESS;
        out.path.clear();
        return out.root != nullptr;
    }
    return hKey && stores().find(hKey, out);
}

// Splits a key path at "\", skipping empty components.
LONG splitPath(LPCSTR path, std::vector<std::string>& names)
{
    names.clear();
    if (!path)
        return ERROR_SUCCESS;
    const char* p = path;
    while (*p) {
        const char* end = std::strchr(p, '\\');
        const size_t length = end ? static_cast<size_t>(end - p) : std::strlen(p);
        if (length > c_maxKeyNameLength)
            return ERROR_INVALID_PARAMETER;
        if (length > 0)
            names.emplace_back(p, length);
        p += length;
        if (*p == '\\')
            ++p;
    }
    return ERROR_SUCCESS;
}

std::string valueName(LPCSTR name)
{
    return name ? std::string(name) : std::string();
}

HKEY newHandle(const ZorRegKey& parent, std::int64_t id, REGSAM access, ZorRegPath path = {})
{
    auto* key = new ZorRegKey {parent.root, id, access, parent.machine, std::move(path)};
    stores().add(key);
    return key;
}

ZorRegPath joined(const ZorRegPath& parent, const std::vector<std::string>& names)
{
    ZorRegPath path = parent;
    path.insert(path.end(), names.begin(), names.end());
    return path;
}

void setFileTime(PFILETIME time, std::int64_t ticks)
{
    if (!time)
        return;
    time->dwLowDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(ticks) & 0xFFFFFFFFu);
    time->dwHighDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(ticks) >> 32);
}

// Copies bytes to a caller's buffer by the registry's size rules: a null buffer asks the
// size, a short buffer gets nothing and learns the size needed.
LONG copyOut(const std::vector<BYTE>& data, LPBYTE lpData, LPDWORD lpcbData)
{
    const auto size = static_cast<DWORD>(data.size());
    if (!lpData) {
        if (lpcbData)
            *lpcbData = size;
        return ERROR_SUCCESS;
    }
    if (!lpcbData)
        return ERROR_INVALID_PARAMETER;
    if (*lpcbData < size) {
        *lpcbData = size;
        return ERROR_MORE_DATA;
    }
    if (size > 0)
        std::memcpy(lpData, data.data(), size);
    *lpcbData = size;
    return ERROR_SUCCESS;
}

} // namespace

LONG RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, REGSAM samDesired, PHKEY phkResult)
{
    if (!phkResult)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    ZorRegKey parent;
    if (!resolve(hKey, parent))
        return ERROR_INVALID_HANDLE;
    std::vector<std::string> names;
    if (const LONG result = splitPath(lpSubKey, names); result != ERROR_SUCCESS)
        return result;
    if (parent.machine) {
        ZorRegPath path = joined(parent.path, names);
        if (!names.empty()) {
            CRegistryView view(*parent.root, *parent.machine);
            if (const LONG result = view.openKey(path); result != ERROR_SUCCESS)
                return result;
        }
        *phkResult = newHandle(parent, 0, samDesired, std::move(path));
        return ERROR_SUCCESS;
    }
    std::int64_t id = 0;
    if (const LONG result = parent.root->openKey(parent.id, names, id); result != ERROR_SUCCESS)
        return result;
    *phkResult = newHandle(parent, id, samDesired);
    return ERROR_SUCCESS;
}

LONG RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, LPSTR, DWORD, REGSAM samDesired,
    LPSECURITY_ATTRIBUTES, PHKEY phkResult, LPDWORD lpdwDisposition)
{
    if (!phkResult)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    ZorRegKey parent;
    if (!resolve(hKey, parent))
        return ERROR_INVALID_HANDLE;
    std::vector<std::string> names;
    if (const LONG result = splitPath(lpSubKey, names); result != ERROR_SUCCESS)
        return result;
    // A key opened with rights to change it needs a store that takes writes, even when the
    // key exists already.
    const bool forWrite = (samDesired & (KEY_SET_VALUE | KEY_CREATE_SUB_KEY)) != 0;
    std::int64_t id = 0;
    bool created = false;
    if (parent.machine) {
        CRegistryView view(*parent.root, *parent.machine);
        if (const LONG result = view.createKey(parent.path, names, forWrite, created);
            result != ERROR_SUCCESS)
            return result;
        *phkResult = newHandle(parent, 0, samDesired, joined(parent.path, names));
    } else {
        if (const LONG result = parent.root->createKey(parent.id, names, forWrite, id, created);
            result != ERROR_SUCCESS)
            return result;
        *phkResult = newHandle(parent, id, samDesired);
    }
    if (lpdwDisposition)
        *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return ERROR_SUCCESS;
}

LONG RegQueryValueExA(
    HKEY hKey, LPCSTR lpValueName, LPDWORD, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData)
{
    ZorRegKey key;
    if (!resolve(hKey, key))
        return ERROR_INVALID_HANDLE;
    if (!(key.access & KEY_QUERY_VALUE))
        return ERROR_ACCESS_DENIED;
    if (lpData && !lpcbData)
        return ERROR_INVALID_PARAMETER;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    const LONG result = key.machine
        ? CRegistryView(*key.root, *key.machine)
              .queryValue(key.path, valueName(lpValueName), type, data)
        : key.root->queryValue(key.id, valueName(lpValueName), type, data);
    if (result != ERROR_SUCCESS)
        return result;
    if (lpType)
        *lpType = type;
    return copyOut(data, lpData, lpcbData);
}

LONG RegSetValueExA(
    HKEY hKey, LPCSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData, DWORD cbData)
{
    ZorRegKey key;
    if (!resolve(hKey, key))
        return ERROR_INVALID_HANDLE;
    if (!(key.access & KEY_SET_VALUE))
        return ERROR_ACCESS_DENIED;
    if (!lpData && cbData > 0)
        return ERROR_INVALID_PARAMETER;
    if (key.machine)
        return CRegistryView(*key.root, *key.machine)
            .setValue(key.path, valueName(lpValueName), dwType, lpData, cbData);
    return key.root->setValue(key.id, valueName(lpValueName), dwType, lpData, cbData);
}

LONG RegDeleteValueA(HKEY hKey, LPCSTR lpValueName)
{
    ZorRegKey key;
    if (!resolve(hKey, key))
        return ERROR_INVALID_HANDLE;
    if (!(key.access & KEY_SET_VALUE))
        return ERROR_ACCESS_DENIED;
    if (key.machine)
        return CRegistryView(*key.root, *key.machine).deleteValue(key.path, valueName(lpValueName));
    return key.root->deleteValue(key.id, valueName(lpValueName));
}

LONG RegEnumKeyA(HKEY hKey, DWORD dwIndex, LPSTR lpName, DWORD cchName)
{
    DWORD length = cchName;
    return RegEnumKeyExA(hKey, dwIndex, lpName, &length, nullptr, nullptr, nullptr, nullptr);
}

LONG RegEnumKeyExA(HKEY hKey, DWORD dwIndex, LPSTR lpName, LPDWORD lpcchName, LPDWORD,
    LPSTR lpClass, LPDWORD lpcchClass, PFILETIME lpftLastWriteTime)
{
    ZorRegKey key;
    if (!resolve(hKey, key))
        return ERROR_INVALID_HANDLE;
    if (!(key.access & KEY_ENUMERATE_SUB_KEYS))
        return ERROR_ACCESS_DENIED;
    if (!lpName || !lpcchName)
        return ERROR_INVALID_PARAMETER;
    std::string name;
    std::int64_t written = 0;
    if (const LONG result = key.machine
            ? CRegistryView(*key.root, *key.machine).enumKey(key.path, dwIndex, name, written)
            : key.root->enumKey(key.id, dwIndex, name, written);
        result != ERROR_SUCCESS)
        return result;
    if (*lpcchName <= name.size())
        return ERROR_MORE_DATA;
    std::memcpy(lpName, name.c_str(), name.size() + 1);
    *lpcchName = static_cast<DWORD>(name.size());
    if (lpClass && lpcchClass && *lpcchClass > 0)
        lpClass[0] = '\0';
    if (lpcchClass)
        *lpcchClass = 0;
    setFileTime(lpftLastWriteTime, written);
    return ERROR_SUCCESS;
}

LONG RegEnumValueA(HKEY hKey, DWORD dwIndex, LPSTR lpValueName, LPDWORD lpcchValueName, LPDWORD,
    LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData)
{
    ZorRegKey key;
    if (!resolve(hKey, key))
        return ERROR_INVALID_HANDLE;
    if (!(key.access & KEY_QUERY_VALUE))
        return ERROR_ACCESS_DENIED;
    if (!lpValueName || !lpcchValueName || (lpData && !lpcbData))
        return ERROR_INVALID_PARAMETER;
    std::string name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    if (const LONG result = key.machine
            ? CRegistryView(*key.root, *key.machine).enumValue(key.path, dwIndex, name, type, data)
            : key.root->enumValue(key.id, dwIndex, name, type, data);
        result != ERROR_SUCCESS)
        return result;
    if (*lpcchValueName <= name.size()) {
        if (lpcbData)
            *lpcbData = static_cast<DWORD>(data.size());
        return ERROR_MORE_DATA;
    }
    std::memcpy(lpValueName, name.c_str(), name.size() + 1);
    *lpcchValueName = static_cast<DWORD>(name.size());
    if (lpType)
        *lpType = type;
    return copyOut(data, lpData, lpcbData);
}

LONG RegQueryInfoKeyA(HKEY hKey, LPSTR lpClass, LPDWORD lpcchClass, LPDWORD, LPDWORD lpcSubKeys,
    LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues,
    LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
    PFILETIME lpftLastWriteTime)
{
    ZorRegKey key;
    if (!resolve(hKey, key))
        return ERROR_INVALID_HANDLE;
    if (!(key.access & KEY_QUERY_VALUE))
        return ERROR_ACCESS_DENIED;
    ZorRegKeyInfo info;
    if (const LONG result = key.machine
            ? CRegistryView(*key.root, *key.machine).queryInfo(key.path, info)
            : key.root->queryInfo(key.id, info);
        result != ERROR_SUCCESS)
        return result;
    if (lpClass && lpcchClass && *lpcchClass > 0)
        lpClass[0] = '\0';
    if (lpcchClass)
        *lpcchClass = 0;
    if (lpcSubKeys)
        *lpcSubKeys = info.subKeys;
    if (lpcbMaxSubKeyLen)
        *lpcbMaxSubKeyLen = info.maxSubKeyLen;
    if (lpcbMaxClassLen)
        *lpcbMaxClassLen = 0;
    if (lpcValues)
        *lpcValues = info.values;
    if (lpcbMaxValueNameLen)
        *lpcbMaxValueNameLen = info.maxValueNameLen;
    if (lpcbMaxValueLen)
        *lpcbMaxValueLen = info.maxValueLen;
    if (lpcbSecurityDescriptor)
        *lpcbSecurityDescriptor = 0;
    setFileTime(lpftLastWriteTime, info.written);
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY hKey)
{
    if (rootIndex(hKey) >= 0)
        return ERROR_SUCCESS;
    return hKey && stores().remove(hKey) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG SHDeleteKeyA(HKEY hKey, LPCSTR pszSubKey)
{
    ZorRegKey key;
    if (!resolve(hKey, key))
        return ERROR_INVALID_HANDLE;
    std::vector<std::string> names;
    if (const LONG result = splitPath(pszSubKey, names); result != ERROR_SUCCESS)
        return result;
    if (key.machine)
        return CRegistryView(*key.root, *key.machine).deleteTree(joined(key.path, names));
    return key.root->deleteTree(key.id, names);
}

std::string zorRegistryFile(HKEY hRoot)
{
    const int index = rootIndex(hRoot);
    if (index < 0)
        return std::string();
    return currentFolder() + "/" + c_rootFiles[static_cast<size_t>(index)];
}

std::string zorRegistryFolder()
{
    return currentFolder();
}

std::string zorMachineRegistryFolder()
{
    return stores().layerFolder();
}

std::string zorMachineRegistryStore()
{
    return configuredMachineFolder();
}

void zorRegistryCloseFiles()
{
    stores().closeFiles();
}
