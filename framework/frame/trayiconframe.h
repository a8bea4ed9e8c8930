#pragma once

// CTrayIconFrame: a frame window that lets a program live in the notification area.
//
// Two states: the window visible without an icon, and the window hidden with its icon (and
// tooltip) in the tray. Minimising moves to the second; restoring or maximising, the icon
// menu's Restore command and (when enabled) a double click on the icon move back to the first.
// Closing and destroying leave the icon removed. When the tray's host comes back after a
// restart ("TaskbarCreated"), a frame whose icon was shown adds it again.
//
// The icon reports its mouse activity with the callback message c_trayCallback; a left click
// gives the frame the focus and posts it c_trayLeftClick for a derived frame to act on; a
// right click opens the first submenu of the menu resource at the cursor, whose commands
// ID_POPUP_RESTORE and ID_POPUP_EXIT restore and close the frame.
//
// Every show writes "Show %d" with the shell's result, every removal "remove", through
// consoleOut.

#include "platform/shell/statusicon.h"
#include "platform/ui/framewnd.h"

#include <string>

class CTrayIconFrame : public CFrameWnd
{
    ZOR_DECLARE_DYNCREATE(CTrayIconFrame, RUNTIME_CLASS(CFrameWnd))

public:
    // The icon's record: its identifier, its fields (message, icon and tip) and its callback.
    static constexpr UINT c_iconId = 1;
    static constexpr UINT c_recordFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    static constexpr UINT c_trayCallback = WM_USER + 12;
    // Posted to the frame on a left click on the icon.
    static constexpr UINT c_trayLeftClick = WM_USER + 13;
    // The icon menu's commands.
    static constexpr UINT ID_POPUP_EXIT = 34003;
    static constexpr UINT ID_POPUP_RESTORE = 34004;

    CTrayIconFrame();
    CTrayIconFrame(
        const char* tooltip, UINT nMenuResourceId, UINT nIconResourceId, bool restoreOnDblClk);
    ~CTrayIconFrame() override;

    // Replaces the tooltip; it takes effect at the next show.
    void setTooltip(const char* tooltip);
    // Shows the icon; a non-zero identifier becomes the icon resource identifier first.
    void showTrayIcon(HICON hIcon, UINT nIconResourceId);
    // Shows the icon of the resource identifier (the stored identifier stays as it is).
    void showTrayIcon(UINT nIconResourceId);
    // Removes the icon when it is shown.
    void removeIcon();

    bool iconShown() const { return m_iconShown; }
    const std::string& tooltip() const { return m_tooltip; }
    UINT iconResourceId() const { return m_iconResourceId; }

    // The message number registered as "TaskbarCreated", obtained once for the process.
    static UINT taskbarCreatedMessage();
    // The icon resource of the identifier, from whichever loaded module holds it: the current
    // resource module, the current module, the program, then this library.
    static HICON loadIconResource(UINT nIconResourceId);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void OnSysCommand(UINT nID, LPARAM lParam) override;
    void OnClose() override;
    void OnDestroy() override;

    // The icon's mouse activity (lParam: the mouse message); always 1.
    virtual LRESULT onTrayCallback(WPARAM wParam, LPARAM lParam);
    // The tray's host came back; 0.
    virtual LRESULT onTaskBarCreated(WPARAM wParam, LPARAM lParam);
    void onPopupRestore();
    void onPopupExit();

private:
    void bindCommands();
    // Adds or modifies the icon with the tooltip; the shell's result.
    BOOL show(HICON hIcon);
    NOTIFYICONDATAA record(HICON hIcon, const std::string& tip) const;

    std::string m_tooltip;
    bool m_iconShown {false};
    UINT m_menuResourceId {0};
    UINT m_iconResourceId {0};
    bool m_restoreOnDblClk {false};
};
