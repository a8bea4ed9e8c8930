#pragma once

// A menu of items kept as data (the system menu of a window, or a pop-up menu), and how an
// opened menu's item is chosen.

#include "platform/types/rect.h"
#include "platform/types/wintypes.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CWnd;

// Menu item flags.
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_END = 0x0080;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_BYPOSITION = 0x0400;

// A menu: the system menu of a window, or a pop-up menu. Items are kept as data; the window
// layer builds the Qt menu when it opens. An item may open a submenu (MF_POPUP); menus of the
// resources (platform/ui/menutable.h) are loaded with LoadMenu.
class CMenu
{
public:
    struct Item
    {
        UINT flags {MF_STRING};
        UINT id {0};
        std::string text;
        // The submenu of an MF_POPUP item.
        std::shared_ptr<CMenu> popup;
    };

    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, const char* lpszNewItem = nullptr);
    BOOL DeleteMenu(UINT nPosition, UINT nFlags);
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);
    int GetMenuItemCount() const { return static_cast<int>(m_items.size()); }
    UINT GetMenuItemID(int nPos) const;
    const std::vector<Item>& items() const { return m_items; }
    // The submenu of the item at the position; null when that item opens none.
    CMenu* GetSubMenu(int nPos) const;

    // Replaces the items with the menu resource of the identifier; false (and no items) when no
    // loaded module has it.
    BOOL LoadMenu(UINT nIDResource);
    // Removes every item.
    BOOL DestroyMenu();

    // Opens the menu at the screen point and returns the chosen item's identifier, 0 when
    // nothing was chosen. With TPM_RETURNCMD not given, the choice is also sent to the owner
    // as WM_COMMAND.
    UINT TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd);

private:
    Item* find(UINT id);
    std::vector<Item> m_items;
};

constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_RETURNCMD = 0x0100;

// Chooses an item of an opened menu: the Qt menu at the screen point by default; tests install
// one that answers without showing anything. Returns the chosen identifier, 0 for none.
using ZorMenuChooser = std::function<UINT(const CMenu& menu, const POINT& screenPoint)>;
// Installs a chooser and returns the previous one; an empty function restores the Qt menu.
ZorMenuChooser zorSetMenuChooser(ZorMenuChooser chooser);
