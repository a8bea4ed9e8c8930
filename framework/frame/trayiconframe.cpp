#include "framework/frame/trayiconframe.h"

#include "framework/diagnostics/diagnostics.h"
#include "platform/module/module.h"
#include "platform/ui/menu.h"
#include "platform/ui/registeredmessage.h"
#include "platform/ui/resources.h"
#include "platform/ui/winapp.h"

#include <algorithm>
#include <cstring>

namespace {

// Registered when the library is loaded; the same number for every frame of the process.
const UINT s_taskbarCreated = RegisterWindowMessageA(ZOR_TASKBAR_CREATED);

} // namespace

UINT CTrayIconFrame::taskbarCreatedMessage()
{
    return s_taskbarCreated;
}

CTrayIconFrame::CTrayIconFrame()
{
    bindCommands();
}

CTrayIconFrame::CTrayIconFrame(
    const char* tooltip, UINT nMenuResourceId, UINT nIconResourceId, bool restoreOnDblClk)
    : m_tooltip(tooltip ? tooltip : "")
    , m_menuResourceId(nMenuResourceId)
    , m_iconResourceId(nIconResourceId)
    , m_restoreOnDblClk(restoreOnDblClk)
{
    bindCommands();
}

CTrayIconFrame::~CTrayIconFrame()
{
    removeIcon();
}

void CTrayIconFrame::bindCommands()
{
    onCommand(ID_POPUP_RESTORE, 0, [this] { onPopupRestore(); });
    onCommand(ID_POPUP_EXIT, 0, [this] { onPopupExit(); });
}

HICON CTrayIconFrame::loadIconResource(UINT nIconResourceId)
{
    const HMODULE modules[] = {AfxGetResourceHandle(), AfxGetInstanceHandle(),
        GetModuleHandleA(nullptr), ZOR_THIS_MODULE()};
    for (HMODULE module : modules) {
        if (!module)
            continue;
        if (HICON icon = LoadIconA(module, nIconResourceId))
            return icon;
    }
    return nullptr;
}

void CTrayIconFrame::setTooltip(const char* tooltip)
{
    m_tooltip = tooltip ? tooltip : "";
}

NOTIFYICONDATAA CTrayIconFrame::record(HICON hIcon, const std::string& tip) const
{
    NOTIFYICONDATAA data;
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = GetSafeHwnd();
    data.uID = c_iconId;
    data.uFlags = c_recordFlags;
    data.uCallbackMessage = c_trayCallback;
    data.hIcon = hIcon;
    // The field holds 127 characters and the terminating zero; a longer tooltip is cut.
    const std::size_t length = std::min(tip.size(), sizeof data.szTip - 1);
    std::memcpy(data.szTip, tip.data(), length);
    data.szTip[length] = '\0';
    return data;
}

BOOL CTrayIconFrame::show(HICON hIcon)
{
    NOTIFYICONDATAA data = record(hIcon, m_tooltip);
    const BOOL result = Shell_NotifyIconA(m_iconShown ? NIM_MODIFY : NIM_ADD, &data);
    consoleOut("Show %d", result);
    // Marked as shown even when the shell failed: the next show modifies, and the tray's
    // return ("TaskbarCreated") adds it again.
    m_iconShown = true;
    return result;
}

void CTrayIconFrame::showTrayIcon(HICON hIcon, UINT nIconResourceId)
{
    if (nIconResourceId != 0)
        m_iconResourceId = nIconResourceId;
    show(hIcon);
}

void CTrayIconFrame::showTrayIcon(UINT nIconResourceId)
{
    show(loadIconResource(nIconResourceId));
}

void CTrayIconFrame::removeIcon()
{
    consoleOut("remove");
    if (!m_iconShown)
        return;
    NOTIFYICONDATAA data = record(nullptr, std::string());
    Shell_NotifyIconA(NIM_DELETE, &data);
    m_iconShown = false;
}

LRESULT CTrayIconFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == c_trayCallback)
        return onTrayCallback(wParam, lParam);
    if (message == s_taskbarCreated && s_taskbarCreated != 0)
        return onTaskBarCreated(wParam, lParam);
    return CFrameWnd::WindowProc(message, wParam, lParam);
}

void CTrayIconFrame::OnSysCommand(UINT nID, LPARAM lParam)
{
    switch (nID & 0xFFF0) {
    case SC_MINIMIZE:
        ShowWindow(SW_HIDE);
        // Without a tray to take the icon the hidden window could not be reached again: it is
        // minimised the standard way instead, and its icon comes when the tray does.
        if (!show(loadIconResource(m_iconResourceId)))
            CFrameWnd::OnSysCommand(nID, lParam);
        break;
    case SC_RESTORE:
    case SC_MAXIMIZE:
        ShowWindow(SW_SHOW);
        removeIcon();
        CFrameWnd::OnSysCommand(nID, lParam);
        break;
    case SC_CLOSE:
        removeIcon();
        CFrameWnd::OnSysCommand(nID, lParam);
        break;
    default:
        CFrameWnd::OnSysCommand(nID, lParam);
        break;
    }
}

void CTrayIconFrame::OnClose()
{
    removeIcon();
    CFrameWnd::OnClose();
}

void CTrayIconFrame::OnDestroy()
{
    removeIcon();
    CFrameWnd::OnDestroy();
}

LRESULT CTrayIconFrame::onTrayCallback(WPARAM /*wParam*/, LPARAM lParam)
{
    switch (static_cast<UINT>(lParam)) {
    case WM_LBUTTONDOWN:
        SetFocus();
        PostMessage(c_trayLeftClick, 0, 0);
        break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
        if (m_restoreOnDblClk) {
            if (CWnd* mainWnd = AfxGetMainWnd())
                mainWnd->PostMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
        }
        break;
    case WM_RBUTTONDOWN: {
        POINT cursor {};
        GetCursorPos(&cursor);
        SetForegroundWindow();
        CMenu menu;
        if (menu.LoadMenu(m_menuResourceId)) {
            if (CMenu* popup = menu.GetSubMenu(0))
                popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, this);
        }
        // An empty message after the menu, so that it closes properly when the user clicks
        // elsewhere.
        PostMessage(0, 0, 0);
        menu.DestroyMenu();
        break;
    }
    default:
        break;
    }
    return 1;
}

LRESULT CTrayIconFrame::onTaskBarCreated(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    // Only an icon that was in the tray comes back: a frame whose window is showing has none.
    if (!m_iconShown)
        return 0;
    m_iconShown = false;
    show(loadIconResource(m_iconResourceId));
    return 0;
}

void CTrayIconFrame::onPopupRestore()
{
    PostMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
}

void CTrayIconFrame::onPopupExit()
{
    PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
}
