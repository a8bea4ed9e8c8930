#include "platform/registry/registryview.h"

#include "platform/registry/registry.h"

#include <algorithm>

namespace {

// Compares as the store's NOCASE collation does: ASCII letters folded to lower case, then
// byte by byte, a name before every longer name it begins.
int compareNames(const std::string& a, const std::string& b)
{
    const auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const int difference
            = fold(static_cast<unsigned char>(a[i])) - fold(static_cast<unsigned char>(b[i]));
        if (difference != 0)
            return difference;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

const ZorRegEntry* findEntry(const std::vector<ZorRegEntry>& entries, const std::string& name)
{
    for (const ZorRegEntry& entry : entries) {
        if (compareNames(entry.name, name) == 0)
            return &entry;
    }
    return nullptr;
}

ZorRegPath joined(const ZorRegPath& parent, const ZorRegPath& names)
{
    ZorRegPath path = parent;
    path.insert(path.end(), names.begin(), names.end());
    return path;
}

} // namespace

std::vector<ZorRegEntry> CRegistryView::mergeSubkeys(
    const std::vector<ZorRegEntry>& user, const std::vector<ZorRegEntry>& machine)
{
    std::vector<ZorRegEntry> merged;
    merged.reserve(user.size() + machine.size());
    auto u = user.begin();
    auto m = machine.begin();
    while (u != user.end() || m != machine.end()) {
        const int order
            = u == user.end() ? 1 : (m == machine.end() ? -1 : compareNames(u->name, m->name));
        if (order <= 0) {
            merged.push_back(*u++);
            if (order == 0)
                ++m;
        } else {
            merged.push_back(*m++);
        }
    }
    return merged;
}

std::vector<ZorRegEntry> CRegistryView::mergeValues(
    const std::vector<ZorRegEntry>& user, const std::vector<ZorRegEntry>& machine)
{
    std::vector<ZorRegEntry> merged = user;
    for (const ZorRegEntry& entry : machine) {
        if (!findEntry(user, entry.name))
            merged.push_back(entry);
    }
    return merged;
}

bool CRegistryView::find(CRegistryRoot& layer, const ZorRegPath& path, std::int64_t& id)
{
    return layer.openKey(0, path, id) == ERROR_SUCCESS;
}

LONG CRegistryView::userKey(const ZorRegPath& path, std::int64_t& id)
{
    if (find(m_user, path, id))
        return ERROR_SUCCESS;
    std::int64_t machineId = 0;
    if (!find(m_machine, path, machineId))
        return ERROR_KEY_DELETED;
    ZorRegPath spelled = path;
    m_machine.storedSpelling(spelled);
    bool created = false;
    return m_user.createKey(0, spelled, true, id, created);
}

LONG CRegistryView::openKey(const ZorRegPath& path)
{
    std::int64_t id = 0;
    return find(m_user, path, id) || find(m_machine, path, id) ? ERROR_SUCCESS
                                                               : ERROR_FILE_NOT_FOUND;
}

LONG CRegistryView::createKey(
    const ZorRegPath& parent, const ZorRegPath& names, bool forWrite, bool& created)
{
    created = false;
    const ZorRegPath path = joined(parent, names);
    std::int64_t id = 0;
    const bool inUser = find(m_user, path, id);
    const bool inMachine = find(m_machine, path, id);
    if (!forWrite && (inUser || inMachine))
        return ERROR_SUCCESS;
    if (!inUser && !inMachine && openKey(parent) != ERROR_SUCCESS)
        return ERROR_KEY_DELETED;
    ZorRegPath spelled = path;
    m_machine.storedSpelling(spelled);
    bool createdInUser = false;
    const LONG result = m_user.createKey(0, spelled, true, id, createdInUser);
    created = createdInUser && !inMachine;
    return result;
}

LONG CRegistryView::queryValue(
    const ZorRegPath& path, const std::string& name, DWORD& type, std::vector<BYTE>& data)
{
    std::int64_t id = 0;
    bool found = false;
    if (find(m_user, path, id)) {
        found = true;
        const LONG result = m_user.queryValue(id, name, type, data);
        if (result != ERROR_FILE_NOT_FOUND && result != ERROR_KEY_DELETED)
            return result;
    }
    if (find(m_machine, path, id)) {
        found = true;
        const LONG result = m_machine.queryValue(id, name, type, data);
        if (result != ERROR_KEY_DELETED)
            return result;
    }
    return found ? ERROR_FILE_NOT_FOUND : ERROR_KEY_DELETED;
}

LONG CRegistryView::setValue(
    const ZorRegPath& path, const std::string& name, DWORD type, const BYTE* data, DWORD size)
{
    std::int64_t id = 0;
    if (const LONG result = userKey(path, id); result != ERROR_SUCCESS)
        return result;
    // A value new to the user's layer takes the spelling the machine layer has for it.
    std::string spelled = name;
    std::int64_t machineId = 0;
    std::vector<ZorRegEntry> machineValues;
    if (find(m_machine, path, machineId)
        && m_machine.valueEntries(machineId, machineValues) == ERROR_SUCCESS) {
        std::vector<ZorRegEntry> userValues;
        m_user.valueEntries(id, userValues);
        const ZorRegEntry* machineValue = findEntry(machineValues, name);
        if (machineValue && !findEntry(userValues, name))
            spelled = machineValue->name;
    }
    return m_user.setValue(id, spelled, type, data, size);
}

LONG CRegistryView::deleteValue(const ZorRegPath& path, const std::string& name)
{
    std::int64_t id = 0;
    LONG result = ERROR_KEY_DELETED;
    if (find(m_user, path, id)) {
        result = m_user.deleteValue(id, name);
        if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND
            && result != ERROR_KEY_DELETED)
            return result;
    }
    if (find(m_machine, path, id)) {
        DWORD type = REG_NONE;
        std::vector<BYTE> data;
        if (m_machine.queryValue(id, name, type, data) == ERROR_SUCCESS)
            return ERROR_ACCESS_DENIED;
        if (result == ERROR_KEY_DELETED)
            result = ERROR_FILE_NOT_FOUND;
    }
    return result;
}

LONG CRegistryView::enumKey(
    const ZorRegPath& path, DWORD index, std::string& name, std::int64_t& written)
{
    std::int64_t userId = 0;
    std::int64_t machineId = 0;
    const bool inUser = find(m_user, path, userId);
    const bool inMachine = find(m_machine, path, machineId);
    if (!inUser && !inMachine)
        return ERROR_KEY_DELETED;
    if (!inMachine)
        return m_user.enumKey(userId, index, name, written);
    if (!inUser)
        return m_machine.enumKey(machineId, index, name, written);
    std::vector<ZorRegEntry> user;
    std::vector<ZorRegEntry> machine;
    if (const LONG result = m_user.subkeyEntries(userId, user); result != ERROR_SUCCESS)
        return result;
    if (const LONG result = m_machine.subkeyEntries(machineId, machine); result != ERROR_SUCCESS)
        return result;
    const std::vector<ZorRegEntry> merged = mergeSubkeys(user, machine);
    if (index >= merged.size())
        return ERROR_NO_MORE_ITEMS;
    name = merged[index].name;
    written = merged[index].written;
    return ERROR_SUCCESS;
}

LONG CRegistryView::enumValue(
    const ZorRegPath& path, DWORD index, std::string& name, DWORD& type, std::vector<BYTE>& data)
{
    std::int64_t userId = 0;
    std::int64_t machineId = 0;
    const bool inUser = find(m_user, path, userId);
    const bool inMachine = find(m_machine, path, machineId);
    if (!inUser && !inMachine)
        return ERROR_KEY_DELETED;
    if (!inMachine)
        return m_user.enumValue(userId, index, name, type, data);
    if (!inUser)
        return m_machine.enumValue(machineId, index, name, type, data);
    std::vector<ZorRegEntry> user;
    std::vector<ZorRegEntry> machine;
    if (const LONG result = m_user.valueEntries(userId, user); result != ERROR_SUCCESS)
        return result;
    // The user's values come first, in their own order.
    if (index < user.size())
        return m_user.enumValue(userId, index, name, type, data);
    if (const LONG result = m_machine.valueEntries(machineId, machine); result != ERROR_SUCCESS)
        return result;
    const std::vector<ZorRegEntry> merged = mergeValues(user, machine);
    if (index >= merged.size())
        return ERROR_NO_MORE_ITEMS;
    name = merged[index].name;
    return m_machine.queryValue(machineId, name, type, data);
}

LONG CRegistryView::queryInfo(const ZorRegPath& path, ZorRegKeyInfo& info)
{
    std::int64_t userId = 0;
    std::int64_t machineId = 0;
    const bool inUser = find(m_user, path, userId);
    const bool inMachine = find(m_machine, path, machineId);
    if (!inUser && !inMachine)
        return ERROR_KEY_DELETED;
    if (!inMachine)
        return m_user.queryInfo(userId, info);
    if (!inUser)
        return m_machine.queryInfo(machineId, info);

    ZorRegKeyInfo userInfo;
    ZorRegKeyInfo machineInfo;
    std::vector<ZorRegEntry> userKeys;
    std::vector<ZorRegEntry> machineKeys;
    std::vector<ZorRegEntry> userValues;
    std::vector<ZorRegEntry> machineValues;
    for (const LONG result :
        {m_user.queryInfo(userId, userInfo), m_machine.queryInfo(machineId, machineInfo),
            m_user.subkeyEntries(userId, userKeys), m_machine.subkeyEntries(machineId, machineKeys),
            m_user.valueEntries(userId, userValues),
            m_machine.valueEntries(machineId, machineValues)}) {
        if (result != ERROR_SUCCESS)
            return result;
    }
    info = ZorRegKeyInfo();
    info.written = std::max(userInfo.written, machineInfo.written);
    const std::vector<ZorRegEntry> keys = mergeSubkeys(userKeys, machineKeys);
    info.subKeys = static_cast<DWORD>(keys.size());
    for (const ZorRegEntry& key : keys)
        info.maxSubKeyLen = std::max(info.maxSubKeyLen, static_cast<DWORD>(key.name.size()));
    const std::vector<ZorRegEntry> values = mergeValues(userValues, machineValues);
    info.values = static_cast<DWORD>(values.size());
    for (const ZorRegEntry& value : values) {
        info.maxValueNameLen
            = std::max(info.maxValueNameLen, static_cast<DWORD>(value.name.size()));
        info.maxValueLen = std::max(info.maxValueLen, value.size);
    }
    return ERROR_SUCCESS;
}

LONG CRegistryView::deleteTree(const ZorRegPath& path)
{
    if (path.empty())
        return ERROR_ACCESS_DENIED;
    std::int64_t id = 0;
    LONG result = ERROR_FILE_NOT_FOUND;
    if (find(m_user, path, id)) {
        result = m_user.deleteTree(0, path);
        if (result != ERROR_SUCCESS)
            return result;
    }
    if (find(m_machine, path, id))
        return ERROR_ACCESS_DENIED;
    return result;
}
