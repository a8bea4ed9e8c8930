#include "platform/ui/menutable.h"

#include <algorithm>
#include <mutex>

namespace {

// The tables of all loaded modules, guarded because modules load and unload on any thread.
// Never destroyed, as the other resource tables: tables of modules unloaded at exit may still
// remove themselves after every other static of this library is gone.
struct MenuTables
{
    std::mutex lock;
    std::vector<const CMenuTableRegistrar*> tables;
};

MenuTables& menuTables()
{
    static auto* tables = new MenuTables;
    return *tables;
}

} // namespace

CMenuTableRegistrar::CMenuTableRegistrar(
    HMODULE module, std::initializer_list<ZorMenuTemplate> menus)
    : m_module(module), m_menus(menus)
{
    MenuTables& all = menuTables();
    const std::lock_guard<std::mutex> guard(all.lock);
    all.tables.push_back(this);
}

CMenuTableRegistrar::~CMenuTableRegistrar()
{
    MenuTables& all = menuTables();
    const std::lock_guard<std::mutex> guard(all.lock);
    std::erase(all.tables, this);
}

const ZorMenuTemplate* CMenuTableRegistrar::find(UINT id) const
{
    const auto it = std::find_if(
        m_menus.begin(), m_menus.end(), [id](const ZorMenuTemplate& m) { return m.id == id; });
    return it == m_menus.end() ? nullptr : &*it;
}

const ZorMenuTemplate* zorFindMenuTemplate(UINT id)
{
    const HMODULE current = AfxGetResourceHandle();
    MenuTables& all = menuTables();
    const std::lock_guard<std::mutex> guard(all.lock);
    const ZorMenuTemplate* first = nullptr;
    for (const CMenuTableRegistrar* table : all.tables) {
        const ZorMenuTemplate* menu = table->find(id);
        if (!menu)
            continue;
        if (table->module() == current)
            return menu;
        if (!first)
            first = menu;
    }
    return first;
}
