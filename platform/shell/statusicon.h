#pragma once

// Notification-area icons: a program's small icon with a tooltip in the desktop's tray, and the
// mouse activity on it.
//
// Shell_NotifyIconA adds, modifies or deletes the icon named by its owner window and its
// identifier; the record says which of its fields count (NIF_MESSAGE, NIF_ICON, NIF_TIP). Mouse
// activity on an icon arrives at the owner window as the icon's callback message, with the
// icon's identifier as wParam and the mouse message (WM_LBUTTONDOWN, WM_LBUTTONUP,
// WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, ...) as lParam.
//
// When the tray's host (the desktop's panel) comes back after it was gone, every icon it held
// is lost, and every top-level window hears the message registered as "TaskbarCreated", so that
// its program can add its icon again.
//
// Requests go to the status-icon service in use. The built-in one (CSystemTrayService) shows
// the icons with the desktop's tray; tests install a CRecordingStatusIconService, which keeps
// the icons without showing anything. Both keep the icons the same way, as the platform's
// shell does: adding an icon that is there, or modifying or deleting one that is not, fails.

#include "platform/types/wintypes.h"
#include "platform/ui/window.h"

#include <string>
#include <vector>

// Requests.
constexpr DWORD NIM_ADD = 0x00000000;
constexpr DWORD NIM_MODIFY = 0x00000001;
constexpr DWORD NIM_DELETE = 0x00000002;

// Which fields of the record count.
constexpr UINT NIF_MESSAGE = 0x00000001;
constexpr UINT NIF_ICON = 0x00000002;
constexpr UINT NIF_TIP = 0x00000004;

// The record sizes the shell knows: the first version (64-character tooltip) and the second
// (128-character tooltip and balloon fields). Their layout is the 32-bit platform's, so cbSize
// names the version, not this structure's size here.
constexpr DWORD NOTIFYICONDATAA_V1_SIZE = 88;
constexpr DWORD NOTIFYICONDATAA_V2_SIZE = 488;

// The notification record (second version).
struct NOTIFYICONDATAA
{
    DWORD cbSize {0};
    HWND hWnd {nullptr};
    UINT uID {0};
    UINT uFlags {0};
    UINT uCallbackMessage {0};
    HICON hIcon {nullptr};
    char szTip[128] {};
    DWORD dwState {0};
    DWORD dwStateMask {0};
    char szInfo[256] {};
    UINT uTimeout {0};
    char szInfoTitle[64] {};
    DWORD dwInfoFlags {0};
};

// Carries out the request; TRUE when the shell did. Fails for a record of an unknown size, an
// owner that is not a window (add and modify), or as the icon table says (see above). The
// tooltip is read up to its terminating zero or the end of its field, whichever comes first,
// and cut to 127 characters (63 for a record of the first version).
BOOL Shell_NotifyIconA(DWORD dwMessage, NOTIFYICONDATAA* lpData);

// The name of the message broadcast when the tray's host comes back.
constexpr const char* ZOR_TASKBAR_CREATED = "TaskbarCreated";

// What the service keeps of one icon.
struct ZorStatusIcon
{
    HWND owner {nullptr};
    UINT id {0};
    // 0 when the icon reports no mouse activity.
    UINT callbackMessage {0};
    HICON icon {nullptr};
    std::string tip;
};

// The status-icon service: the icon table and the requests on it; a derived service is the
// host that shows the icons.
class CStatusIconService
{
public:
    virtual ~CStatusIconService() = default;

    // A request of Shell_NotifyIconA, its record already checked.
    virtual BOOL notify(DWORD dwMessage, const NOTIFYICONDATAA& data);

    const std::vector<ZorStatusIcon>& icons() const { return m_icons; }
    // The icon of an owner and identifier, or null.
    const ZorStatusIcon* find(HWND owner, UINT id) const;

    // Mouse activity on an icon: posts the owner the icon's callback message. False when there
    // is no such icon or it has no callback message; an icon whose owner window is gone is
    // taken away.
    bool deliverMouse(HWND owner, UINT id, UINT mouseMessage);
    // The host went away: every icon is lost.
    void hostLost();
    // The host is there again: posts the "TaskbarCreated" message to every top-level window.
    void hostCame();

protected:
    // The host's side of the requests; true when the host took the icon.
    virtual bool showIcon(const ZorStatusIcon& icon) = 0;
    virtual bool updateIcon(const ZorStatusIcon& icon) = 0;
    virtual void removeIcon(const ZorStatusIcon& icon) = 0;

private:
    std::vector<ZorStatusIcon>::iterator findIcon(HWND owner, UINT id);
    std::vector<ZorStatusIcon> m_icons;
};

// Installs a service for all later requests and returns the previous one; null restores the
// built-in one. The caller keeps ownership.
CStatusIconService* zorSetStatusIconService(CStatusIconService* service);
// The service in use: the installed one, else the built-in one.
CStatusIconService& zorStatusIconService();
