#pragma once

// The built-in status-icon service: each icon is a QSystemTrayIcon, shown by the desktop's tray
// (its StatusNotifierItem host, or an XEmbed tray on plain X11).
//
// Mouse activity: a left click arrives as WM_LBUTTONDOWN and WM_LBUTTONUP, a double click as
// WM_LBUTTONDBLCLK and WM_LBUTTONUP (after the click of its first press), a right click as
// WM_RBUTTONDOWN and WM_RBUTTONUP, a middle click as WM_MBUTTONDOWN and WM_MBUTTONUP.
//
// The tray's host: Qt does not say when the host goes or comes, so the service looks whether a
// tray is there (QSystemTrayIcon::isSystemTrayAvailable) every c_pollMs milliseconds from its
// first request on. A host that went drops every icon; one that came back is announced with the
// "TaskbarCreated" message (CTrayHostWatch). A host that is restarted between two looks is not
// seen to go: Qt shows its icons in the new host by itself then, and no message is sent.

#include "platform/shell/statusicon.h"
#include "platform/shell/trayhostwatch.h"

#include <QtCore/QPointer>

#include <map>
#include <utility>

class QObject;
class QSystemTrayIcon;
class QTimer;

class CSystemTrayService : public CStatusIconService
{
public:
    static constexpr int c_pollMs = 500;

    CSystemTrayService() = default;
    ~CSystemTrayService() override;

    BOOL notify(DWORD dwMessage, const NOTIFYICONDATAA& data) override;

protected:
    bool showIcon(const ZorStatusIcon& icon) override;
    bool updateIcon(const ZorStatusIcon& icon) override;
    void removeIcon(const ZorStatusIcon& icon) override;

private:
    void startWatching();
    void poll();
    void apply(QSystemTrayIcon* trayIcon, const ZorStatusIcon& icon);

    // The tray icons and the poll timer are children of this object, which is a child of the
    // application: they go with the application, whichever ends first.
    QPointer<QObject> m_holder;
    std::map<std::pair<HWND, UINT>, QPointer<QSystemTrayIcon>> m_trayIcons;
    CTrayHostWatch m_watch;
};
