#include "platform/ui/strings.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

// The tables of all loaded modules. Modules load and unload on any thread, so the list is
// guarded. It is never destroyed: tables of modules unloaded at exit may still remove
// themselves after every other static of this library is gone.
struct StringTables
{
    std::mutex lock;
    std::vector<const CStringTableRegistrar*> tables;
};

StringTables& stringTables()
{
    static StringTables* tables = new StringTables;
    return *tables;
}

} // namespace

CStringTableRegistrar::CStringTableRegistrar(
    HMODULE module, std::initializer_list<ZorStringEntry> entries)
    : m_module(module)
{
    for (const ZorStringEntry& entry : entries) {
        if (entry.text)
            m_texts.emplace(entry.id, entry.text);
    }
    StringTables& all = stringTables();
    const std::lock_guard<std::mutex> guard(all.lock);
    all.tables.push_back(this);
}

CStringTableRegistrar::~CStringTableRegistrar()
{
    StringTables& all = stringTables();
    const std::lock_guard<std::mutex> guard(all.lock);
    std::erase(all.tables, this);
}

const std::string* CStringTableRegistrar::find(UINT id) const
{
    const auto it = m_texts.find(id);
    return it == m_texts.end() ? nullptr : &it->second;
}

int LoadStringA(HMODULE hInstance, UINT uID, char* lpBuffer, int cchBufferMax)
{
    if (!lpBuffer || cchBufferMax <= 0)
        return 0;
    lpBuffer[0] = '\0';
    const HMODULE module = hInstance ? hInstance : GetModuleHandleA(nullptr);
    if (!module)
        return 0;

    StringTables& all = stringTables();
    const std::lock_guard<std::mutex> guard(all.lock);
    for (const CStringTableRegistrar* table : all.tables) {
        if (table->module() != module)
            continue;
        if (const std::string* text = table->find(uID)) {
            const int count = static_cast<int>(
                std::min<std::size_t>(text->size(), static_cast<std::size_t>(cchBufferMax - 1)));
            std::memcpy(lpBuffer, text->data(), static_cast<std::size_t>(count));
            lpBuffer[count] = '\0';
            return count;
        }
    }
    return 0;
}
