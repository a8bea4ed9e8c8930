#include "platform/ui/winapp.h"

#include "platform/ui/programline.h"

#include <QtCore/QAbstractEventDispatcher>
#include <QtCore/QCoreApplication>
#include <QtCore/QFileInfo>
#include <QtCore/QSocketNotifier>
#include <QtCore/QThread>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>

#include <cerrno>
#include <csignal>
#include <memory>
#include <optional>

#include <fcntl.h>
#include <unistd.h>

namespace {

// The one application object of the process, as the platform keeps it for AfxGetApp.
CWinApp* s_app = nullptr;

// A quit asked for with PostQuitMessage: the pump ends with its code, and ExitInstance
// answers it. Process-wide, as the platform's quit message is.
struct QuitRequest
{
    bool posted {false};
    int exitCode {0};
};
QuitRequest s_quit;

// The file name of the program without folder and extension, as the platform gives the
// executable's name.
std::string exeNameOf(const char* argv0)
{
    if (argv0 == nullptr || *argv0 == '\0')
        return {};
    return QFileInfo(QString::fromLocal8Bit(argv0)).completeBaseName().toStdString();
}

// The watch over the session's end: the signal handler writes the signal's number into a pipe
// (all it may do there), and a notifier on the pipe's other end delivers the end of the session
// on the thread of the windows.
using SignalAction = struct sigaction;

struct SessionWatch
{
    int pipe[2] {-1, -1};
    QSocketNotifier* notifier {nullptr};
    SignalAction previousTerm {};
    SignalAction previousInt {};
    bool installed {false};
};
SessionWatch s_session;
// Set by the handler when a signal arrived, cleared when it has been delivered. A signal that
// finds it set ends the program at once.
volatile std::sig_atomic_t s_sessionPending = 0;

extern "C" void onSessionSignal(int signalNumber)
{
    if (s_sessionPending) {
        SignalAction fallback {};
        fallback.sa_handler = SIG_DFL;
        sigemptyset(&fallback.sa_mask);
        sigaction(signalNumber, &fallback, nullptr);
        raise(signalNumber);
        return;
    }
    s_sessionPending = 1;
    const int savedErrno = errno;
    const unsigned char number = static_cast<unsigned char>(signalNumber);
    // A full pipe already holds a request.
    [[maybe_unused]] const ssize_t written = write(s_session.pipe[1], &number, 1);
    errno = savedErrno;
}

void releaseSessionWatch()
{
    if (!s_session.installed)
        return;
    s_session.installed = false;
    sigaction(SIGTERM, &s_session.previousTerm, nullptr);
    sigaction(SIGINT, &s_session.previousInt, nullptr);
    // Possibly called from the notifier's own signal: it goes once that has returned.
    if (s_session.notifier) {
        s_session.notifier->setEnabled(false);
        s_session.notifier->deleteLater();
    }
    s_session.notifier = nullptr;
    for (int& fd : s_session.pipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
    s_sessionPending = 0;
}

void onSessionPipe()
{
    unsigned char numbers[16];
    int signalNumber = SIGTERM;
    for (ssize_t n; (n = read(s_session.pipe[0], numbers, sizeof numbers)) > 0;)
        signalNumber = numbers[n - 1];
    const CWinApp* app = AfxGetApp();
    if (app == nullptr || app->m_pMainWnd == nullptr || !IsWindow(app->m_pMainWnd->GetSafeHwnd())) {
        // No window to close in order (the program is still starting or already ending): the
        // signal does what it does without the watch.
        releaseSessionWatch();
        raise(signalNumber);
        return;
    }
    zorEndSession();
}

} // namespace

CWinApp::CWinApp(const char* lpszAppName)
{
    Q_ASSERT_X(s_app == nullptr, "CWinApp", "only one application object per process");
    s_app = this;
    if (lpszAppName != nullptr)
        m_pszAppName = lpszAppName;
}

CWinApp::~CWinApp()
{
    if (s_app == this)
        s_app = nullptr;
}

int CWinApp::Run()
{
    auto* application = qobject_cast<QApplication*>(QCoreApplication::instance());
    CWnd* watched = m_pMainWnd;
    HWND mainWindow = watched ? watched->GetSafeHwnd() : nullptr;

    // Without a living main window there is nothing to pump for: the application quits at once,
    // as one started without a window does on the platform.
    if (!s_quit.posted && application != nullptr && IsWindow(mainWindow)) {
        s_quit.exitCode = 0;
        // The pump ends when the main window is destroyed, not when the last visible window
        // closes: a main window may hide itself and go on running.
        const bool quitOnLastClosed = application->quitOnLastWindowClosed();
        application->setQuitOnLastWindowClosed(false);

        // The window layer destroys windows through DestroyWindow; the pump looks at the main
        // window's handle whenever it is about to wait for more events and when the main
        // widget goes, and then quits as the platform does after the main window's last
        // message. The handle is only looked up, never used, so a main window object that was
        // deleted with its window is never touched.
        QObject context;
        auto checkMainWindow = [this, &watched, &mainWindow] {
            if (s_quit.posted)
                return;
            if (m_pMainWnd != watched && m_pMainWnd != nullptr) {
                // The application made another window its main window.
                watched = m_pMainWnd;
                mainWindow = watched->GetSafeHwnd();
            }
            if (m_pMainWnd == nullptr || !IsWindow(mainWindow)) {
                if (m_pMainWnd == watched)
                    m_pMainWnd = nullptr;
                quit(0);
            }
        };
        if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) {
            QObject::connect(
                dispatcher, &QAbstractEventDispatcher::aboutToBlock, &context, checkMainWindow);
        }
        if (QWidget* widget = watched->widget()) {
            QObject::connect(
                widget, &QObject::destroyed, &context, checkMainWindow, Qt::QueuedConnection);
        }

        QCoreApplication::exec();
        application->setQuitOnLastWindowClosed(quitOnLastClosed);
    }
    const int exitCode = ExitInstance();
    // The quit is consumed: a later pump runs again.
    s_quit.posted = false;
    return exitCode;
}

int CWinApp::ExitInstance()
{
    return s_quit.exitCode;
}

BOOL CWinApp::PreTranslateMessage(MSG* /*pMsg*/)
{
    return FALSE;
}

HICON CWinApp::LoadIcon(UINT nIDResource) const
{
    return LoadIconA(m_hInstance, nIDResource);
}

HCURSOR CWinApp::LoadStandardCursor(const char* lpszCursorName) const
{
    return LoadCursorA(nullptr, lpszCursorName);
}

HCURSOR CWinApp::LoadCursor(UINT nIDResource) const
{
    return LoadCursorA(m_hInstance, nIDResource);
}

void CWinApp::SetRegistryKey(const char* lpszRegistryKey)
{
    m_registryKey = lpszRegistryKey ? lpszRegistryKey : "";
}

void CWinApp::quit(int nExitCode)
{
    s_quit.posted = true;
    s_quit.exitCode = nExitCode;
    // A running pump (and any modal loop inside it) ends once the current message is done;
    // before the pump runs, Run sees the request and does not start.
    if (QCoreApplication::instance() != nullptr && QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(nExitCode);
}

CWinApp* AfxGetApp()
{
    return s_app;
}

CWnd* AfxGetMainWnd()
{
    return s_app ? s_app->m_pMainWnd : nullptr;
}

void PostQuitMessage(int nExitCode)
{
    CWinApp::quit(nExitCode);
}

namespace {

// InitInstance, the pump and ExitInstance of the application object, once a QApplication
// exists.
int runApplicationObject(int argc, char** argv)
{
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return -1;
    s_quit = {};

    app->m_hInstance = GetModuleHandleA(nullptr);
    app->m_pszExeName = exeNameOf(argc > 0 ? argv[0] : nullptr);
    if (app->m_pszAppName.empty())
        app->m_pszAppName = app->m_pszExeName;
    app->m_lpCmdLine.clear();
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            app->m_lpCmdLine += ' ';
        app->m_lpCmdLine += argv[i];
    }

    // From here on a stop from the desktop or the terminal ends the session, so the program
    // closes its windows in order.
    zorWatchSessionEnd();
    const int exitCode = app->InitInstance() ? app->Run() : app->ExitInstance();
    zorUnwatchSessionEnd();
    s_quit = {};
    return exitCode;
}

} // namespace

int zorRunApplication(int argc, char** argv)
{
    std::unique_ptr<QApplication> ownApplication;
    if (QCoreApplication::instance() == nullptr)
        ownApplication = std::make_unique<QApplication>(argc, argv);
    return runApplicationObject(argc, argv);
}

int zorRunApplication(int argc, char** argv, const CProgramLine& line)
{
    std::unique_ptr<QApplication> ownApplication;
    std::optional<int> status;
    if (QCoreApplication::instance() == nullptr) {
        status = line.startWindowProgram(
            argc, argv, [&] { ownApplication = std::make_unique<QApplication>(argc, argv); });
    } else {
        status = line.answer(argc, argv);
    }
    if (status)
        return *status;
    return runApplicationObject(argc, argv);
}

bool zorWatchSessionEnd()
{
    if (s_session.installed)
        return true;
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr)
        return false;
    if (pipe2(s_session.pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        s_session.pipe[0] = s_session.pipe[1] = -1;
        return false;
    }
    s_session.notifier = new QSocketNotifier(s_session.pipe[0], QSocketNotifier::Read, application);
    QObject::connect(
        s_session.notifier, &QSocketNotifier::activated, application, [] { onSessionPipe(); });
    s_sessionPending = 0;

    SignalAction action {};
    action.sa_handler = onSessionSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, &s_session.previousTerm);
    sigaction(SIGINT, &action, &s_session.previousInt);
    s_session.installed = true;
    // The application going first takes the notifier with it: the signals are left alone then.
    // (A notifier of an earlier watch that goes later leaves this one alone.)
    QSocketNotifier* notifier = s_session.notifier;
    QObject::connect(notifier, &QObject::destroyed, [notifier] {
        if (s_session.notifier == notifier) {
            s_session.notifier = nullptr;
            releaseSessionWatch();
        }
    });
    return true;
}

void zorUnwatchSessionEnd()
{
    releaseSessionWatch();
}

bool zorEndSession()
{
    bool ends = true;
    if (CWinApp* app = AfxGetApp(); app != nullptr && app->m_pMainWnd != nullptr) {
        const HWND mainWindow = app->m_pMainWnd->GetSafeHwnd();
        if (IsWindow(mainWindow)) {
            ends = SendMessage(mainWindow, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP) != 0;
            if (IsWindow(mainWindow))
                SendMessage(mainWindow, WM_ENDSESSION, ends ? TRUE : FALSE, ENDSESSION_CLOSEAPP);
        }
    }
    s_sessionPending = 0;
    if (ends)
        CWinApp::quit(0);
    return ends;
}
