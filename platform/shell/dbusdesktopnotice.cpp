#include "platform/shell/dbusdesktopnotice.h"

#include "platform/gdi/fonts.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QFileInfo>
#include <QtCore/QStringList>
#include <QtCore/QVariantMap>
#include <QtDBus/QDBusConnection>
#include <QtDBus/QDBusError>
#include <QtDBus/QDBusMessage>
#include <QtDBus/QDBusPendingCall>
#include <QtDBus/QDBusPendingCallWatcher>

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr const char* c_service = "org.freedesktop.Notifications";
constexpr const char* c_path = "/org/freedesktop/Notifications";
constexpr const char* c_interface = "org.freedesktop.Notifications";
constexpr const char* c_method = "Notify";

// Every service of the process has a connection of its own under a name of its own.
std::atomic<int> g_connections {0};
// The one line on standard error is written once per process, whichever service fails.
std::atomic<bool> g_told {false};

// The session bus's address: the environment's, else the user's bus in the runtime folder;
// empty when there is none. libdbus would otherwise start a bus of its own for the caller.
QString sessionBusAddress()
{
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (address && *address)
        return QString::fromLocal8Bit(address);
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime || !*runtime)
        return {};
    const QString socket = QString::fromLocal8Bit(runtime) + QStringLiteral("/bus");
    if (!QFileInfo::exists(socket))
        return {};
    return QStringLiteral("unix:path=") + socket;
}

} // namespace

CDBusDesktopNoticeService::CDBusDesktopNoticeService()
    : m_connectionName(QStringLiteral("desktop-notice-%1").arg(++g_connections))
{ }

CDBusDesktopNoticeService::~CDBusDesktopNoticeService()
{
    // Calls still in flight are dropped with their watchers.
    delete m_holder.data();
    dropConnection();
}

bool CDBusDesktopNoticeService::send(const ZorDesktopNotice& notice)
{
    // The bus's replies arrive through the application's event loop; without one nothing is
    // sent.
    if (!QCoreApplication::instance() || !ensureConnected())
        return false;

    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(c_service),
        QString::fromLatin1(c_path), QString::fromLatin1(c_interface),
        QString::fromLatin1(c_method));
    call << zorFromCodePage(notice.appName) << 0U << zorFromCodePage(notice.icon)
         << zorFromCodePage(notice.summary) << zorFromCodePage(notice.body) << QStringList()
         << QVariantMap() << static_cast<qint32>(notice.expireTimeout);

    const QDBusPendingCall pending
        = QDBusConnection(m_connectionName).asyncCall(call, c_replyTimeoutMs);
    if (!m_holder)
        m_holder = new QObject(QCoreApplication::instance());
    auto* watcher = new QDBusPendingCallWatcher(pending, m_holder);
    ++m_nPending;
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
        [this](QDBusPendingCallWatcher* finished) {
            --m_nPending;
            if (finished->isError()) {
                const QDBusError error = finished->error();
                // The bus went away: the next notice connects again.
                if (error.type() == QDBusError::Disconnected)
                    dropConnection();
                failed(error.message());
            }
            finished->deleteLater();
        });
    return true;
}

bool CDBusDesktopNoticeService::ensureConnected()
{
    if (m_bConnected) {
        if (QDBusConnection(m_connectionName).isConnected())
            return true;
        dropConnection();
    }
    const QString address = sessionBusAddress();
    if (address.isEmpty()) {
        failed(QStringLiteral("there is no session bus"));
        return false;
    }
    // FIXME: connecting waits for the bus's greeting; a bus daemon that accepts the connection
    // and then never answers holds the caller until libdbus gives up.
    const QDBusConnection connection = QDBusConnection::connectToBus(address, m_connectionName);
    if (!connection.isConnected()) {
        const QString reason = connection.lastError().message();
        QDBusConnection::disconnectFromBus(m_connectionName);
        failed(reason.isEmpty() ? QStringLiteral("the session bus cannot be reached") : reason);
        return false;
    }
    m_bConnected = true;
    return true;
}

void CDBusDesktopNoticeService::dropConnection()
{
    if (!m_bConnected)
        return;
    m_bConnected = false;
    if (QCoreApplication::instance())
        QDBusConnection::disconnectFromBus(m_connectionName);
}

void CDBusDesktopNoticeService::failed(const QString& reason)
{
    if (g_told.exchange(true))
        return;
    std::fprintf(stderr, "Desktop notifications are not shown: %s\n", qPrintable(reason));
}
