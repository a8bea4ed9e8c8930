#pragma once

// The built-in notice service: each notice is a call of Notify on the desktop's notification
// server (the freedesktop notification service, org.freedesktop.Notifications on the session
// bus), with no actions and no hints, replacing no earlier notice.
//
// The call is sent without waiting for its answer, so a server that is slow or hangs never
// holds up the caller's window; an answer that does not come within c_replyTimeoutMs counts as
// failed. Where there is no session bus, no server on it, or the server answers with an error,
// nothing is shown and the caller is not troubled: the first such failure of the process is
// told in one line on standard error, later ones not at all.
//
// The session bus is the one DBUS_SESSION_BUS_ADDRESS names, else the user's bus at
// $XDG_RUNTIME_DIR/bus when that is there; no bus is ever started for a notice. The connection
// is made on the first notice and made again after the bus went away.

#include "platform/shell/desktopnotice.h"

#include <QtCore/QPointer>
#include <QtCore/QString>

class QObject;

class CDBusDesktopNoticeService : public CDesktopNoticeService
{
public:
    static constexpr int c_replyTimeoutMs = 10000;

    CDBusDesktopNoticeService();
    ~CDBusDesktopNoticeService() override;
    CDBusDesktopNoticeService(const CDBusDesktopNoticeService&) = delete;
    CDBusDesktopNoticeService& operator=(const CDBusDesktopNoticeService&) = delete;

    bool send(const ZorDesktopNotice& notice) override;

    // Notices sent whose answer has not come yet.
    int pendingCalls() const { return m_nPending; }

private:
    // The connection to the bus, made when there is none; false when there is no bus to reach.
    bool ensureConnected();
    void dropConnection();
    void failed(const QString& reason);

    QString m_connectionName;
    bool m_bConnected {false};
    // The watchers of the calls in flight are its children; it is a child of the application,
    // so it goes with the application, whichever ends first.
    QPointer<QObject> m_holder;
    int m_nPending {0};
};
