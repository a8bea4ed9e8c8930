#include "tests/monitor/notify/fakenotificationserver.h"

#include <QtDBus/QDBusArgument>
#include <QtDBus/QDBusConnection>
#include <QtDBus/QDBusConnectionInterface>
#include <QtDBus/QDBusMessage>
#include <QtDBus/QDBusReply>

#include <cstdio>
#include <cstdlib>

#include <unistd.h>

namespace {

const QString c_service = QStringLiteral("org.freedesktop.Notifications");
const QString c_connection = QStringLiteral("fake-notification-server");

} // namespace

CFakeNotificationServer::~CFakeNotificationServer()
{
    QDBusConnection::disconnectFromBus(c_connection);
}

bool CFakeNotificationServer::start()
{
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, c_connection);
    if (!bus.registerVirtualObject(QStringLiteral("/org/freedesktop/Notifications"), this))
        return false;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply
        = bus.interface()->registerService(c_service);
    return reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
}

bool CFakeNotificationServer::handleMessage(
    const QDBusMessage& message, const QDBusConnection& connection)
{
    if (message.interface() != c_service || message.member() != QStringLiteral("Notify"))
        return false;
    QStringList fields {message.signature()};
    const QVariantList args = message.arguments();
    for (const QVariant& arg : args) {
        if (arg.canConvert<QDBusArgument>())
            fields << QString::number(qdbus_cast<QVariantMap>(arg).size())
                    + QStringLiteral(" hints");
        else if (arg.userType() == QMetaType::QStringList)
            fields << QString::number(arg.toStringList().size()) + QStringLiteral(" actions");
        else
            fields << arg.toString();
    }
    calls.push_back(fields.join(u'|').toStdString());
    if (m_answer == eANSWER_ID)
        connection.send(message.createReply(static_cast<uint>(calls.size())));
    else if (m_answer == eANSWER_ERROR)
        connection.send(message.createErrorReply(QDBusError::Failed, QStringLiteral("refused")));
    return true;
}

int runOnPrivateSessionBus(int argc, char** argv)
{
    if (std::getenv("ZOR_TEST_PRIVATE_SESSION_BUS"))
        return -1;
    setenv("ZOR_TEST_PRIVATE_SESSION_BUS", "1", 1);
    static char config[] = "--config-file=" ZOR_TEST_BUS_CONFIG;
    static char self[4096] = {};
    if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0)
        return 1;
    std::vector<char*> command
        = {const_cast<char*>("dbus-run-session"), config, const_cast<char*>("--"), self};
    command.insert(command.end(), argv + 1, argv + argc);
    command.push_back(nullptr);
    execvp(command[0], command.data());
    // Never on the machine's own bus.
    std::perror("dbus-run-session");
    return 1;
}
