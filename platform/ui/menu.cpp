#include "platform/ui/menu.h"

#include "platform/gdi/fonts.h"
#include "platform/ui/menutable.h"
#include "platform/ui/window.h"

#include <QtGui/QAction>
#include <QtGui/QKeySequence>
#include <QtWidgets/QMenu>

#include <algorithm>

namespace {

ZorMenuChooser& menuChooser()
{
    static ZorMenuChooser chooser;
    return chooser;
}

// Builds the Qt menu of the items, with a Qt submenu for each MF_POPUP item.
void fillQMenu(QMenu& menu, const CMenu& items)
{
    for (const CMenu::Item& item : items.items()) {
        if (item.flags & MF_SEPARATOR) {
            menu.addSeparator();
            continue;
        }
        // The platform's "\t" separates the shortcut text.
        QString text = zorFromCodePage(item.text);
        const qsizetype tab = text.indexOf(u'\t');
        if ((item.flags & MF_POPUP) && item.popup) {
            QMenu* submenu = menu.addMenu(tab < 0 ? text : text.left(tab));
            submenu->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
            fillQMenu(*submenu, *item.popup);
            continue;
        }
        QAction* action = menu.addAction(tab < 0 ? text : text.left(tab));
        if (tab >= 0)
            action->setShortcut(QKeySequence(text.mid(tab + 1)));
        action->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
        if (item.flags & MF_CHECKED) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        action->setData(item.id);
    }
}

} // namespace

// --- CMenu ------------------------------------------------------------------------------

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const char* lpszNewItem)
{
    Item item;
    item.flags = nFlags;
    item.id = static_cast<UINT>(nIDNewItem);
    item.text = lpszNewItem ? lpszNewItem : "";
    m_items.push_back(item);
    return TRUE;
}

BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags)
{
    if (nFlags & MF_BYPOSITION) {
        if (nPosition >= m_items.size())
            return FALSE;
        m_items.erase(m_items.begin() + nPosition);
        return TRUE;
    }
    const auto it = std::find_if(
        m_items.begin(), m_items.end(), [&](const Item& i) { return i.id == nPosition; });
    if (it == m_items.end())
        return FALSE;
    m_items.erase(it);
    return TRUE;
}

CMenu::Item* CMenu::find(UINT id)
{
    for (Item& item : m_items) {
        if (item.id == id && !(item.flags & MF_SEPARATOR))
            return &item;
    }
    return nullptr;
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable)
{
    Item* item = find(nIDEnableItem);
    if (!item)
        return static_cast<UINT>(-1);
    const UINT previous = item->flags & (MF_GRAYED | MF_DISABLED);
    item->flags
        = (item->flags & ~(MF_GRAYED | MF_DISABLED)) | (nEnable & (MF_GRAYED | MF_DISABLED));
    return previous;
}

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck)
{
    Item* item = find(nIDCheckItem);
    if (!item)
        return static_cast<UINT>(-1);
    const UINT previous = item->flags & MF_CHECKED;
    item->flags = (item->flags & ~MF_CHECKED) | (nCheck & MF_CHECKED);
    return previous;
}

UINT CMenu::GetMenuItemID(int nPos) const
{
    if (nPos < 0 || nPos >= GetMenuItemCount())
        return static_cast<UINT>(-1);
    const Item& item = m_items[static_cast<std::size_t>(nPos)];
    return (item.flags & MF_SEPARATOR) ? 0 : item.id;
}

CMenu* CMenu::GetSubMenu(int nPos) const
{
    if (nPos < 0 || nPos >= GetMenuItemCount())
        return nullptr;
    return m_items[static_cast<std::size_t>(nPos)].popup.get();
}

BOOL CMenu::LoadMenu(UINT nIDResource)
{
    m_items.clear();
    const ZorMenuTemplate* menu = zorFindMenuTemplate(nIDResource);
    if (!menu)
        return FALSE;
    // The menus being filled, innermost last: MF_POPUP opens one, MF_END closes it. An MF_END
    // at the top level is ignored, and submenus still open at the end are closed there.
    std::vector<CMenu*> open {this};
    for (const ZorMenuRow& row : menu->rows) {
        if (row.flags & MF_END) {
            if (open.size() > 1)
                open.pop_back();
            continue;
        }
        Item item;
        item.flags = row.flags;
        item.id = row.id;
        item.text = row.text ? row.text : "";
        if (row.flags & MF_POPUP)
            item.popup = std::make_shared<CMenu>();
        open.back()->m_items.push_back(item);
        if (item.popup)
            open.push_back(item.popup.get());
    }
    return TRUE;
}

BOOL CMenu::DestroyMenu()
{
    m_items.clear();
    return TRUE;
}

UINT CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd)
{
    UINT chosen = 0;
    if (menuChooser()) {
        chosen = menuChooser()(*this, POINT {x, y});
    } else {
        QMenu menu(pWnd ? pWnd->widget() : nullptr);
        fillQMenu(menu, *this);
        if (QAction* action = menu.exec(QPoint(x, y)))
            chosen = action->data().toUInt();
    }
    if (chosen && !(nFlags & TPM_RETURNCMD) && pWnd)
        pWnd->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<int>(chosen), 0), 0);
    return chosen;
}

ZorMenuChooser zorSetMenuChooser(ZorMenuChooser chooser)
{
    ZorMenuChooser previous = std::move(menuChooser());
    menuChooser() = std::move(chooser);
    return previous;
}
