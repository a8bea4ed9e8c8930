#pragma once

// A fake desktop notification server: it owns org.freedesktop.Notifications on the session bus
// and keeps every Notify call as one line of text, "signature|app|replaces|icon|summary|body|
// actions|hints|timeout". It answers with a notice id, with an error, or never (a hung server).
// It lives on the test's thread, so calls are served while the test pumps events.
//
// runOnPrivateSessionBus runs the test program again under a session bus of its own
// (dbus-run-session with notificationbus.conf, which activates no services), so no test talks
// to the machine's bus or starts a real notification server.

#include <QtDBus/QDBusVirtualObject>

#include <string>
#include <vector>

class CFakeNotificationServer : public QDBusVirtualObject
{
public:
    enum eANSWER { eANSWER_ID, eANSWER_ERROR, eANSWER_NEVER };

    explicit CFakeNotificationServer(eANSWER answer) : m_answer(answer) { }
    ~CFakeNotificationServer() override;

    // Connects to the session bus and takes the service's name; false when either fails.
    bool start();

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;
    QString introspect(const QString&) const override { return {}; }

    std::vector<std::string> calls;

private:
    eANSWER m_answer;
};

// Runs the program again under a private session bus and returns its exit status; -1 when this
// run already is under it.
int runOnPrivateSessionBus(int argc, char** argv);
