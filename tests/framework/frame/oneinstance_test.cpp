#include "framework/frame/oneinstance.h"

#include "platform/types/rect.h"
#include "platform/ui/window.h"
#include "tests/support/tempfolder.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QElapsedTimer>
#include <QtCore/QFileInfo>
#include <QtCore/QProcess>
#include <QtWidgets/QWidget>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>

namespace {

// A top-level window of the suite, as a program's main window.
void createMainWindow(CWnd& window, const char* title = "main")
{
    ASSERT_TRUE(window.CreateEx(0, nullptr, title,
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
        CRect(40, 40, 340, 240), nullptr, 0));
}

bool isActive(const CWnd& window)
{
    return window.widget() != nullptr && window.widget()->isActiveWindow();
}

bool exists(const std::string& path)
{
    return QFileInfo::exists(QString::fromStdString(path));
}

// Leaves a socket file at path with nothing listening on it, as a crashed instance does.
void makeStaleSocket(const std::string& path)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof address.sun_path);
    std::strcpy(address.sun_path, path.c_str());
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(fd);
    ASSERT_TRUE(exists(path));
}

// Every test gets a run-time folder of its own, so its guards meet no other program's.
class OneInstance : public testing::Test
{
protected:
    void SetUp() override
    {
        const char* previous = std::getenv("XDG_RUNTIME_DIR");
        m_hadPrevious = previous != nullptr;
        if (m_hadPrevious)
            m_previous = previous;
        setenv("XDG_RUNTIME_DIR", m_folder.path().c_str(), 1);
    }

    void TearDown() override
    {
        if (m_hadPrevious)
            setenv("XDG_RUNTIME_DIR", m_previous.c_str(), 1);
        else
            unsetenv("XDG_RUNTIME_DIR");
    }

    // Starts the helper as another instance while this process keeps serving its events, and
    // returns what it printed.
    static std::string runHelper(const char* mode, const std::string& className)
    {
        QProcess helper;
        helper.start(ZOR_GUARD_HELPER, {mode, QString::fromStdString(className)});
        EXPECT_TRUE(helper.waitForStarted(5000));
        QElapsedTimer elapsed;
        elapsed.start();
        while (helper.state() != QProcess::NotRunning && elapsed.elapsed() < 15000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            helper.waitForFinished(10);
        }
        EXPECT_EQ(helper.state(), QProcess::NotRunning);
        EXPECT_EQ(helper.exitStatus(), QProcess::NormalExit);
        // Let the window react to what the guard queued for it.
        QCoreApplication::processEvents();
        return helper.readAllStandardOutput().trimmed().toStdString();
    }

    TempFolder m_folder;
    std::string m_previous;
    bool m_hadPrevious {false};
};

TEST_F(OneInstance, FirstWhenNothingRuns)
{
    COneInstance guard;
    ASSERT_TRUE(guard.initOneInstance("Class:Corvane2.01", nullptr, nullptr));

    EXPECT_TRUE(guard.isFirstInstance());
    EXPECT_EQ(guard.getClassName(), "Class:Corvane2.01");
    EXPECT_EQ(runHelper("second", "Class:Corvane2.01"), "first");
}

TEST_F(OneInstance, EmptyClassNameIsNotRegistered)
{
    COneInstance guard;
    EXPECT_FALSE(guard.initOneInstance("", nullptr, nullptr));
    CWnd mainWindow;
    createMainWindow(mainWindow);
    EXPECT_FALSE(guard.createOneInstanceWindow(&mainWindow));
}

TEST_F(OneInstance, SocketIsPerUserAndInRuntimeFolder)
{
    COneInstance guard;
    ASSERT_TRUE(guard.initOneInstance("Class:Corvane2.01", nullptr, nullptr));
    const std::string expected
        = m_folder.path() + "/zorvex-" + std::to_string(getuid()) + "-Class_3ACorvane2.01";
    EXPECT_EQ(guard.getServerName(), expected);

    CWnd mainWindow;
    createMainWindow(mainWindow);
    ASSERT_TRUE(guard.createOneInstanceWindow(&mainWindow));
    EXPECT_TRUE(exists(expected));
}

TEST_F(OneInstance, SecondStartRestoresAndActivatesFirstWindow)
{
    COneInstance guard;
    ASSERT_TRUE(guard.initOneInstance("Class:Corvane2.01", nullptr, nullptr));
    ASSERT_TRUE(guard.isFirstInstance());
    CWnd mainWindow;
    createMainWindow(mainWindow);
    mainWindow.ShowWindow(SW_SHOWMINIMIZED);
    CWnd other;
    createMainWindow(other, "other");
    other.ShowWindow(SW_SHOW);
    other.SetForegroundWindow();
    QCoreApplication::processEvents();
    CRect before;
    mainWindow.GetWindowRect(&before);
    ASSERT_TRUE(guard.createOneInstanceWindow(&mainWindow));
    ASSERT_TRUE(mainWindow.IsIconic());
    ASSERT_FALSE(isActive(mainWindow));

    EXPECT_EQ(runHelper("second", "Class:Corvane2.01"), "not first");
    EXPECT_FALSE(mainWindow.IsIconic());
    EXPECT_TRUE(mainWindow.IsWindowVisible());
    EXPECT_TRUE(isActive(mainWindow));
    EXPECT_FALSE(isActive(other));
    // Brought to the front without being moved or sized.
    CRect after;
    mainWindow.GetWindowRect(&after);
    EXPECT_EQ(after, before);
}

TEST_F(OneInstance, MaximisedWindowComesBackMaximised)
{
    COneInstance guard;
    ASSERT_TRUE(guard.initOneInstance("Class:Corvane2.01", nullptr, nullptr));
    CWnd mainWindow;
    createMainWindow(mainWindow);
    mainWindow.ShowWindow(SW_SHOWMAXIMIZED);
    mainWindow.ShowWindow(SW_MINIMIZE);
    ASSERT_TRUE(mainWindow.IsIconic());
    ASSERT_TRUE(guard.createOneInstanceWindow(&mainWindow));

    EXPECT_EQ(runHelper("second", "Class:Corvane2.01"), "not first");
    EXPECT_FALSE(mainWindow.IsIconic());
    EXPECT_TRUE(mainWindow.IsZoomed());
}

TEST_F(OneInstance, GuardOfChildWindowActivatesItsTopWindow)
{
    COneInstance guard;
    ASSERT_TRUE(guard.initOneInstance("Class:Corvane2.01", nullptr, nullptr));
    CWnd mainWindow;
    createMainWindow(mainWindow);
    CWnd child;
    ASSERT_TRUE(child.CreateEx(
        0, nullptr, "", WS_CHILD | WS_VISIBLE, CRect(10, 10, 60, 30), &mainWindow, 1001));
    mainWindow.ShowWindow(SW_SHOWMINIMIZED);
    ASSERT_TRUE(guard.createOneInstanceWindow(&child));

    EXPECT_EQ(runHelper("second", "Class:Corvane2.01"), "not first");
    EXPECT_FALSE(mainWindow.IsIconic());
    EXPECT_TRUE(isActive(mainWindow));
}

TEST_F(OneInstance, GuardOfOwnedWindowActivatesItsTopmostOwner)
{
    COneInstance guard;
    ASSERT_TRUE(guard.initOneInstance("Class:Corvane2.01", nullptr, nullptr));
    CWnd mainWindow;
    createMainWindow(mainWindow);
    CWnd owned;
    createMainWindow(owned, "owned");
    owned.SetOwner(&mainWindow);
    ASSERT_EQ(owned.GetOwner(), &mainWindow);
    mainWindow.ShowWindow(SW_SHOWMINIMIZED);
    ASSERT_TRUE(guard.createOneInstanceWindow(&owned));

    EXPECT_EQ(runHelper("second", "Class:Corvane2.01"), "not first");
    EXPECT_FALSE(mainWindow.IsIconic());
    EXPECT_TRUE(isActive(mainWindow));
}

TEST_F(OneInstance, DestroyedMainWindowIsLeftAlone)
{
    COneInstance guard;
    ASSERT_TRUE(guard.initOneInstance("Class:Corvane2.01", nullptr, nullptr));
    {
        CWnd mainWindow;
        createMainWindow(mainWindow);
        mainWindow.ShowWindow(SW_SHOWMINIMIZED);
        ASSERT_TRUE(guard.createOneInstanceWindow(&mainWindow));
        ASSERT_TRUE(mainWindow.DestroyWindow());
    }

    // The instance is still findable; there is no window left to bring to the front.
    EXPECT_EQ(runHelper("second", "Class:Corvane2.01"), "not first");
}

// The running instance in another process; this process is the later start.
TEST_F(OneInstance, LaterStartInThisProcessEndsAndFirstIsRestored)
{
    QProcess first;
    first.start(ZOR_GUARD_HELPER, {"first", "Class:Corvane2.01"});
    ASSERT_TRUE(first.waitForStarted(5000));
    ASSERT_TRUE(first.waitForReadyRead(10000));
    ASSERT_EQ(first.readLine().trimmed().toStdString(), "listening");

    COneInstance guard;
    ASSERT_TRUE(guard.initOneInstance("Class:Corvane2.01", nullptr, nullptr));
    EXPECT_FALSE(guard.isFirstInstance());

    ASSERT_TRUE(first.waitForFinished(15000));
    EXPECT_EQ(first.readAllStandardOutput().trimmed().toStdString(), "restored");
    EXPECT_EQ(first.exitCode(), 0);
}

TEST_F(OneInstance, OtherClassNameIsNotDisturbed)
{
    COneInstance running;
    ASSERT_TRUE(running.initOneInstance("Class:Corvane2.01", nullptr, nullptr));
    CWnd mainWindow;
    createMainWindow(mainWindow);
    mainWindow.ShowWindow(SW_SHOWMINIMIZED);
    ASSERT_TRUE(running.createOneInstanceWindow(&mainWindow));

    // Another version, and a name that only differs where the first has a character that is
    // not allowed in socket names.
    EXPECT_EQ(runHelper("second", "Class:Corvane2.02"), "first");
    EXPECT_EQ(runHelper("second", "Class_3ACorvane2.01"), "first");
    EXPECT_TRUE(mainWindow.IsIconic());
}

TEST_F(OneInstance, StaleSocketDoesNotBlockNextStart)
{
    COneInstance guard;
    ASSERT_TRUE(guard.initOneInstance("Class:Corvane2.01", nullptr, nullptr));
    makeStaleSocket(guard.getServerName());

    EXPECT_TRUE(guard.isFirstInstance());
    EXPECT_FALSE(exists(guard.getServerName()));
    CWnd mainWindow;
    createMainWindow(mainWindow);
    EXPECT_TRUE(guard.createOneInstanceWindow(&mainWindow));
    EXPECT_EQ(runHelper("second", "Class:Corvane2.01"), "not first");
}

TEST_F(OneInstance, StaleSocketIsReplacedWhenListening)
{
    COneInstance guard;
    ASSERT_TRUE(guard.initOneInstance("Class:Corvane2.01", nullptr, nullptr));
    makeStaleSocket(guard.getServerName());

    CWnd mainWindow;
    createMainWindow(mainWindow);
    EXPECT_TRUE(guard.createOneInstanceWindow(&mainWindow));
    EXPECT_EQ(runHelper("second", "Class:Corvane2.01"), "not first");
}

TEST_F(OneInstance, FileThatIsNoSocketIsLeftAlone)
{
    COneInstance guard;
    ASSERT_TRUE(guard.initOneInstance("Class:Corvane2.01", nullptr, nullptr));
    std::ofstream(guard.getServerName()) << "not a socket";

    EXPECT_TRUE(guard.isFirstInstance());
    EXPECT_TRUE(exists(guard.getServerName()));
    CWnd mainWindow;
    createMainWindow(mainWindow);
    EXPECT_FALSE(guard.createOneInstanceWindow(&mainWindow));
    EXPECT_TRUE(exists(guard.getServerName()));
}

TEST_F(OneInstance, EndOfRunningInstanceFreesTheName)
{
    std::string path;
    {
        COneInstance guard;
        ASSERT_TRUE(guard.initOneInstance("Class:Corvane2.01", nullptr, nullptr));
        CWnd mainWindow;
        createMainWindow(mainWindow);
        ASSERT_TRUE(guard.createOneInstanceWindow(&mainWindow));
        path = guard.getServerName();
        ASSERT_TRUE(exists(path));
    }
    EXPECT_FALSE(exists(path));
    EXPECT_EQ(runHelper("second", "Class:Corvane2.01"), "first");
}

TEST_F(OneInstance, RunningInstanceAskedAgainActivatesItself)
{
    COneInstance guard;
    ASSERT_TRUE(guard.initOneInstance("Class:Corvane2.01", nullptr, nullptr));
    CWnd mainWindow;
    createMainWindow(mainWindow);
    mainWindow.ShowWindow(SW_SHOWMINIMIZED);
    ASSERT_TRUE(guard.createOneInstanceWindow(&mainWindow));

    EXPECT_FALSE(guard.isFirstInstance());
    QCoreApplication::processEvents();
    EXPECT_FALSE(mainWindow.IsIconic());
    // Its name is fixed once it listens.
    EXPECT_FALSE(guard.initOneInstance("Class:Other", nullptr, nullptr));
    EXPECT_EQ(guard.getClassName(), "Class:Corvane2.01");
}

} // namespace
