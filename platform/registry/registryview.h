#pragma once

// A root seen through two layers: the user's store above the machine-wide one. A key is named
// by its path from the root and stands for the key of that path in both layers.
//
// Reads see both layers, the user's first: a value the user has hides the machine's value of
// the same name (without regard to case); the subkeys are the union of both, in alphabetical
// order without regard to case, each name once; the values are the user's in their order,
// then the machine's the user does not have. Writes go to the user's layer alone, which gets
// the key's path first when the key exists only in the machine layer (spelled as there).
// Deletions remove the user's part; what then still exists in the machine layer is refused
// with ERROR_ACCESS_DENIED, since the machine layer is never changed through this view.

#include "platform/registry/registryroot.h"

#include <string>
#include <vector>

using ZorRegPath = std::vector<std::string>;

class CRegistryView
{
public:
    CRegistryView(CRegistryRoot& user, CRegistryRoot& machine)
        : m_user(user), m_machine(machine) { }

    // ERROR_SUCCESS when the key exists in either layer, else ERROR_FILE_NOT_FOUND.
    LONG openKey(const ZorRegPath& path);
    // Opens or creates the key parent + names. With forWrite false a key that exists in either
    // layer is found without writing. created tells whether the key is new to both layers.
    LONG createKey(const ZorRegPath& parent, const ZorRegPath& names, bool forWrite, bool& created);
    LONG queryValue(
        const ZorRegPath& path, const std::string& name, DWORD& type, std::vector<BYTE>& data);
    LONG setValue(
        const ZorRegPath& path, const std::string& name, DWORD type, const BYTE* data, DWORD size);
    LONG deleteValue(const ZorRegPath& path, const std::string& name);
    LONG enumKey(const ZorRegPath& path, DWORD index, std::string& name, std::int64_t& written);
    LONG enumValue(const ZorRegPath& path, DWORD index, std::string& name, DWORD& type,
        std::vector<BYTE>& data);
    LONG queryInfo(const ZorRegPath& path, ZorRegKeyInfo& info);
    LONG deleteTree(const ZorRegPath& path);

    // The union of two subkey listings, each in alphabetical order without regard to case: one
    // entry per name, the first listing's where both have it.
    static std::vector<ZorRegEntry> mergeSubkeys(
        const std::vector<ZorRegEntry>& user, const std::vector<ZorRegEntry>& machine);
    // The first listing, then the entries of the second whose names it does not have.
    static std::vector<ZorRegEntry> mergeValues(
        const std::vector<ZorRegEntry>& user, const std::vector<ZorRegEntry>& machine);

private:
    // The key's id in a layer; false when the layer does not have it.
    static bool find(CRegistryRoot& layer, const ZorRegPath& path, std::int64_t& id);
    // The key's id in the user's layer, its path made there first when only the machine has it.
    LONG userKey(const ZorRegPath& path, std::int64_t& id);

    CRegistryRoot& m_user;
    CRegistryRoot& m_machine;
};
