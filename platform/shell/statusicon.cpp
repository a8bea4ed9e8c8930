#include "platform/shell/statusicon.h"

#include "platform/shell/serviceslot.h"
#include "platform/shell/systemtrayservice.h"
#include "platform/ui/registeredmessage.h"
#include "platform/ui/window_p.h"

#include <QtWidgets/QApplication>

#include <algorithm>
#include <cstring>

namespace {

CServiceSlot<CStatusIconService, CSystemTrayService> g_service;

// The tooltip of the record: up to its zero or the end of its field, cut to the version's
// length. A record whose caller forgot the zero never reads past the field.
std::string tipOf(const NOTIFYICONDATAA& data)
{
    const std::size_t limit = data.cbSize == NOTIFYICONDATAA_V1_SIZE ? 63 : 127;
    const std::size_t length = strnlen(data.szTip, sizeof data.szTip);
    return std::string(data.szTip, std::min(length, limit));
}

// Fills the icon from the fields the record says count.
void applyFields(ZorStatusIcon& icon, const NOTIFYICONDATAA& data)
{
    if (data.uFlags & NIF_MESSAGE)
        icon.callbackMessage = data.uCallbackMessage;
    if (data.uFlags & NIF_ICON)
        icon.icon = data.hIcon;
    if (data.uFlags & NIF_TIP)
        icon.tip = tipOf(data);
}

} // namespace

BOOL Shell_NotifyIconA(DWORD dwMessage, NOTIFYICONDATAA* lpData)
{
    if (!lpData)
        return FALSE;
    if (lpData->cbSize != NOTIFYICONDATAA_V1_SIZE && lpData->cbSize != NOTIFYICONDATAA_V2_SIZE)
        return FALSE;
    if ((dwMessage == NIM_ADD || dwMessage == NIM_MODIFY) && !IsWindow(lpData->hWnd))
        return FALSE;
    return zorStatusIconService().notify(dwMessage, *lpData);
}

std::vector<ZorStatusIcon>::iterator CStatusIconService::findIcon(HWND owner, UINT id)
{
    return std::find_if(m_icons.begin(), m_icons.end(),
        [&](const ZorStatusIcon& icon) { return icon.owner == owner && icon.id == id; });
}

const ZorStatusIcon* CStatusIconService::find(HWND owner, UINT id) const
{
    const auto it = std::find_if(m_icons.begin(), m_icons.end(),
        [&](const ZorStatusIcon& icon) { return icon.owner == owner && icon.id == id; });
    return it == m_icons.end() ? nullptr : &*it;
}

BOOL CStatusIconService::notify(DWORD dwMessage, const NOTIFYICONDATAA& data)
{
    const auto it = findIcon(data.hWnd, data.uID);
    switch (dwMessage) {
    case NIM_ADD: {
        if (it != m_icons.end())
            return FALSE;
        ZorStatusIcon icon;
        icon.owner = data.hWnd;
        icon.id = data.uID;
        applyFields(icon, data);
        if (!showIcon(icon))
            return FALSE;
        m_icons.push_back(icon);
        return TRUE;
    }
    case NIM_MODIFY: {
        if (it == m_icons.end())
            return FALSE;
        ZorStatusIcon changed = *it;
        applyFields(changed, data);
        if (!updateIcon(changed))
            return FALSE;
        *it = changed;
        return TRUE;
    }
    case NIM_DELETE: {
        if (it == m_icons.end())
            return FALSE;
        const ZorStatusIcon gone = *it;
        m_icons.erase(it);
        removeIcon(gone);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

bool CStatusIconService::deliverMouse(HWND owner, UINT id, UINT mouseMessage)
{
    const auto it = findIcon(owner, id);
    if (it == m_icons.end())
        return false;
    if (!IsWindow(owner)) {
        // The program ended without deleting its icon: the icon goes at the first touch.
        const ZorStatusIcon gone = *it;
        m_icons.erase(it);
        removeIcon(gone);
        return false;
    }
    if (it->callbackMessage == 0)
        return false;
    return PostMessage(owner, it->callbackMessage, id, mouseMessage);
}

void CStatusIconService::hostLost()
{
    const std::vector<ZorStatusIcon> lost = std::move(m_icons);
    m_icons.clear();
    for (const ZorStatusIcon& icon : lost)
        removeIcon(icon);
}

void CStatusIconService::hostCame()
{
    static const UINT taskbarCreated = RegisterWindowMessageA(ZOR_TASKBAR_CREATED);
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    // Hidden windows hear it too: a program in the tray has hidden its window.
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (ZorWindow* handle = zorHandleOf(widget))
            PostMessage(handle, taskbarCreated, 0, 0);
    }
}

CStatusIconService* zorSetStatusIconService(CStatusIconService* service)
{
    return g_service.install(service);
}

CStatusIconService& zorStatusIconService()
{
    return g_service.current();
}
