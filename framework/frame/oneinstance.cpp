#include "framework/frame/oneinstance.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtNetwork/QLocalServer>
#include <QtNetwork/QLocalSocket>
#include <QtWidgets/QWidget>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int c_connectTimeoutMs = 1000;
constexpr int c_answerTimeoutMs = 3000;
const QByteArray c_activate = "activate\n";
const QByteArray c_activated = "activated\n";

// The class name in the characters a socket name may safely hold; every other character
// (and '_' itself, so no two names meet) becomes '_' and two hexadecimal digits.
std::string sanitised(const std::string& className)
{
    std::string out;
    for (unsigned char c : className) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')
            || (c >= '0' && c <= '9') || c == '.' || c == '-';
        if (plain) {
            out += static_cast<char>(c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "_%02X", c);
            out += escaped;
        }
    }
    return out;
}

QString runtimeFolder()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && *runtime != '\0' && QDir(QString::fromLocal8Bit(runtime)).exists())
        return QString::fromLocal8Bit(runtime);
    return QDir::tempPath();
}

// True when the socket file exists and belongs to this user: only then may a start remove it.
bool ownedByUser(const QString& path)
{
    struct stat info = {};
    if (lstat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    return S_ISSOCK(info.st_mode) && info.st_uid == getuid();
}

// True when the process at the other end of the connected socket runs as this user.
bool peerIsUser(const QLocalSocket& socket)
{
    ucred peer {};
    socklen_t length = sizeof peer;
    if (getsockopt(
            static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &length)
        != 0)
        return false;
    return peer.uid == getuid();
}

enum class Probe {
    none, // nothing listens; any stale file of this user is gone
    running, // a running instance of this user answered the connection
    foreign, // something is there that this start must leave alone
};

// Connects to the guard's socket. A stale file of this user (the connection is refused) is
// removed. When connected, the socket is left connected for the caller.
Probe probe(const QString& path, QLocalSocket& socket)
{
    socket.connectToServer(path);
    if (socket.waitForConnected(c_connectTimeoutMs))
        return peerIsUser(socket) ? Probe::running : Probe::foreign;
    switch (socket.error()) {
    case QLocalSocket::ServerNotFoundError:
        return Probe::none;
    case QLocalSocket::ConnectionRefusedError:
        if (!ownedByUser(path))
            return Probe::foreign;
        QLocalServer::removeServer(path);
        return Probe::none;
    case QLocalSocket::SocketTimeoutError:
        // Something accepts connections under this name but does not complete them: a running
        // instance that is busy.
        return Probe::running;
    default:
        return Probe::foreign;
    }
}

// The window later starts bring to the front: the top-level window the main window is in,
// then its owner's, up to the first that has none (the running instance's main window).
CWnd* topmostOwner(CWnd* window)
{
    if (window == nullptr)
        return nullptr;
    CWnd* top = window->GetTopLevelParent();
    // Bounded, so an ownership cycle cannot hang the guard.
    for (int depth = 0; top != nullptr && depth < 64; ++depth) {
        CWnd* owner = top->GetOwner();
        if (owner == nullptr || owner == top)
            break;
        CWnd* next = owner->GetTopLevelParent();
        if (next == nullptr || next == top)
            break;
        top = next;
    }
    return top;
}

} // namespace

COneInstance::COneInstance() = default;

COneInstance::~COneInstance()
{
    // Closing removes the socket file, so the next start is the first again.
    if (m_server)
        m_server->close();
}

bool COneInstance::initOneInstance(const std::string& className, HICON icon, HCURSOR cursor)
{
    if (className.empty() || m_server)
        return false;
    m_wndClass.className = className;
    m_wndClass.icon = icon;
    m_wndClass.cursor = cursor;
    return true;
}

std::string COneInstance::getServerName() const
{
    if (m_wndClass.className.empty())
        return {};
    const std::string name
        = "zorvex-" + std::to_string(getuid()) + "-" + sanitised(m_wndClass.className);
    return QDir(runtimeFolder()).filePath(QString::fromStdString(name)).toStdString();
}

bool COneInstance::isFirstInstance()
{
    if (m_wndClass.className.empty())
        return true;
    // This instance is the running one: it brings its own window to the front.
    if (m_server && m_server->isListening()) {
        activateMainWindow();
        return false;
    }

    const QString path = QString::fromStdString(getServerName());
    QLocalSocket socket;
    switch (probe(path, socket)) {
    case Probe::none:
    case Probe::foreign:
        return true;
    case Probe::running:
        break;
    }
    if (socket.state() == QLocalSocket::ConnectedState) {
        socket.write(c_activate);
        socket.waitForBytesWritten(c_answerTimeoutMs);
        // The answer only tells that the running instance acted; this start ends either way.
        while (socket.state() == QLocalSocket::ConnectedState && !socket.canReadLine()
            && socket.waitForReadyRead(c_answerTimeoutMs)) { }
        socket.disconnectFromServer();
    }
    return false;
}

bool COneInstance::createOneInstanceWindow(CWnd* mainWindow)
{
    if (m_wndClass.className.empty() || m_server)
        return false;
    const QString path = QString::fromStdString(getServerName());
    // Listening puts the new socket in the place of any file of that name, so a file that is
    // there must first prove to be a stale socket of this user, which the probe removes.
    struct stat info = {};
    if (lstat(QFile::encodeName(path).constData(), &info) == 0) {
        QLocalSocket socket;
        if (probe(path, socket) != Probe::none)
            return false;
    }
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(path))
        return false;

    m_hMainWnd = mainWindow ? mainWindow->GetSafeHwnd() : nullptr;
    QLocalServer* raw = server.get();
    QObject::connect(raw, &QLocalServer::newConnection, raw, [this, raw] {
        while (QLocalSocket* client = raw->nextPendingConnection()) {
            QObject::connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            QObject::connect(client, &QLocalSocket::readyRead, client, [this, client] {
                if (!client->canReadLine())
                    return;
                const QByteArray request = client->readLine();
                if (request == c_activate) {
                    activateMainWindow();
                    client->write(c_activated);
                    client->flush();
                }
                client->disconnectFromServer();
            });
        }
    });
    m_server = std::move(server);
    return true;
}

void COneInstance::activateMainWindow()
{
    CWnd* window = topmostOwner(CWnd::FromHandle(m_hMainWnd));
    if (window == nullptr || window->widget() == nullptr)
        return;
    // Runs on the thread that owns the window, after the request that asked for it; the
    // handle is looked up again then, so a window destroyed in between is left alone. A
    // maximised window that was minimised comes back maximised.
    const HWND hWnd = window->GetSafeHwnd();
    QMetaObject::invokeMethod(
        window->widget(),
        [hWnd] {
            CWnd* target = CWnd::FromHandle(hWnd);
            if (target == nullptr)
                return;
            if (target->IsIconic())
                target->ShowWindow(SW_RESTORE);
            target->SetForegroundWindow();
            target->BringWindowToTop();
        },
        Qt::QueuedConnection);
}
