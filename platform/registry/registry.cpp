#include "platform/registry/registry.h"

#include "platform/registry/registryroot.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <pwd.h>
#include <unistd.h>
#include <unordered_map>

// An opened key: the store it was opened in, its key and the rights it was opened with.
struct ZorRegKey
{
    std::shared_ptr<CRegistryRoot> root;
    std::int64_t id {0};
    REGSAM access {0};
};

namespace {

constexpr std::uintptr_t c_firstRoot = 0x80000000u;
constexpr size_t c_rootCount = 3;
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

// The three roots of the current store folder. When the folder changes, new roots are made
// for it; keys opened before keep the roots they were opened in.
class CRegistryStores
{
public:
    std::shared_ptr<CRegistryRoot> root(int index)
    {
        const std::string folder = currentFolder();
        std::lock_guard lock(m_mutex);
        if (folder != m_folder) {
            m_folder = folder;
            for (auto& root : m_roots)
                root.reset();
        }
        auto& root = m_roots[static_cast<size_t>(index)];
        if (!root)
            root = std::make_shared<CRegistryRoot>(
                folder, folder + "/" + c_rootFiles[static_cast<size_t>(index)]);
        return root;
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
    std::array<std::shared_ptr<CRegistryRoot>, c_rootCount> m_roots;
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
        out.root = stores().root(index);
        out.id = 0;
        out.access = KEY_ALL_ACCESS;
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

HKEY newHandle(const std::shared_ptr<CRegistryRoot>& root, std::int64_t id, REGSAM access)
{
    auto* key = new ZorRegKey {root, id, access};
    stores().add(key);
    return key;
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
    std::int64_t id = 0;
    if (const LONG result = parent.root->openKey(parent.id, names, id); result != ERROR_SUCCESS)
        return result;
    *phkResult = newHandle(parent.root, id, samDesired);
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
    if (const LONG result = parent.root->createKey(parent.id, names, forWrite, id, created);
        result != ERROR_SUCCESS)
        return result;
    *phkResult = newHandle(parent.root, id, samDesired);
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
    if (const LONG result = key.root->queryValue(key.id, valueName(lpValueName), type, data);
        result != ERROR_SUCCESS)
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
    return key.root->setValue(key.id, valueName(lpValueName), dwType, lpData, cbData);
}

LONG RegDeleteValueA(HKEY hKey, LPCSTR lpValueName)
{
    ZorRegKey key;
    if (!resolve(hKey, key))
        return ERROR_INVALID_HANDLE;
    if (!(key.access & KEY_SET_VALUE))
        return ERROR_ACCESS_DENIED;
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
    if (const LONG result = key.root->enumKey(key.id, dwIndex, name, written);
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
    if (const LONG result = key.root->enumValue(key.id, dwIndex, name, type, data);
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
    if (const LONG result = key.root->queryInfo(key.id, info); result != ERROR_SUCCESS)
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
