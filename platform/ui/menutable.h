#pragma once

// Menu resources: each module carries a table of numbered menus, registered when the module is
// loaded and removed when it is unloaded. A module declares its table once, at namespace scope
// in one of its sources. A menu is a list of rows: an MF_POPUP row opens a submenu with its
// text, the rows after it are that submenu's items, and an MF_END row closes it; the other
// rows are items (MF_STRING with an identifier and a text, or MF_SEPARATOR):
//
//     ZOR_MENU_TABLE({
//         {IDR_TRAY, {
//             {MF_POPUP, 0, "Tray"},
//                 {MF_STRING, 34004, "&Restore"},
//                 {MF_SEPARATOR},
//                 {MF_STRING, 34003, "E&xit"},
//             {MF_END},
//         }},
//     });
//
// CMenu::LoadMenu builds the menu of an identifier from the table of the current resource
// module, else of the first loaded module (in the order their tables were registered) that
// has one.

#include "platform/module/module.h"
#include "platform/types/wintypes.h"
#include "platform/ui/menu.h"

#include <initializer_list>
#include <vector>

struct ZorMenuRow
{
    UINT flags {MF_STRING};
    UINT id {0};
    const char* text {nullptr};
};

struct ZorMenuTemplate
{
    UINT id {0};
    std::vector<ZorMenuRow> rows;
};

// One module's menus, registered for as long as the object lives.
class CMenuTableRegistrar
{
public:
    CMenuTableRegistrar(HMODULE module, std::initializer_list<ZorMenuTemplate> menus);
    ~CMenuTableRegistrar();
    CMenuTableRegistrar(const CMenuTableRegistrar&) = delete;
    CMenuTableRegistrar& operator=(const CMenuTableRegistrar&) = delete;

    HMODULE module() const { return m_module; }
    const ZorMenuTemplate* find(UINT id) const;

private:
    HMODULE m_module {nullptr};
    std::vector<ZorMenuTemplate> m_menus;
};

#define ZOR_MENU_TABLE(...)                                                                        \
    namespace {                                                                                    \
    const CMenuTableRegistrar zorModuleMenuTable(ZOR_THIS_MODULE(), __VA_ARGS__);                  \
    }                                                                                              \
    static_assert(true, "")

// The menu rows of an identifier as LoadMenu finds them (see above); null when no loaded module
// has that menu.
const ZorMenuTemplate* zorFindMenuTemplate(UINT id);
