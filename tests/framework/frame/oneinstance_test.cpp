#include "framework/frame/oneinstance.h"

#include "tests/support/tempfolder.h"

#include <QtCore/QElapsedTimer>
#include <QtCore/QFileInfo>
#include <QtCore/QProcess>
#include <QtWidgets/QApplication>
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

// One application object for the whole test program, made before the first test and
// destroyed before the program's static objects go.
class ApplicationEnvironment : public testing::Environment
{
public:
    void SetUp() override { m_app = std::make_unique<QApplication>(m_argc, m_argv); }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc {1};
    char m_name[24] = "framework_frame_tests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};

testing::Environment* const s_application
    = testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

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
    QWidget mainWindow;
    EXPECT_FALSE(guard.createOneInstanceWindow(&mainWindow));
}

TEST_F(OneInstance, SocketIsPerUserAndInRuntimeFolder)
{
    COneInstance guard;
    ASSERT_TRUE(guard.initOneInstance("Class:Corvane2.01", nullptr, nullptr));
    const std::string expected
        = m_folder.path() + "/zorvex-" + std::to_string(getuid()) + "-Class_3ACorvane2.01";
    EXPECT_EQ(guard.getServerName(), expected);

    QWidget mainWindow;
    ASSERT_TRUE(guard.createOneInstanceWindow(&mainWindow));
    EXPECT_TRUE(exists(expected));
}

TEST_F(OneInstance, SecondStartRestoresAndActivatesFirstWindow)
{
    COneInstance guard;
    ASSERT_TRUE(guard.initOneInstance("Class:Corvane2.01", nullptr, nullptr));
    ASSERT_TRUE(guard.isFirstInstance());
    QWidget mainWindow;
    mainWindow.showMinimized();
    QWidget other;
    other.show();
    other.activateWindow();
    QCoreApplication::processEvents();
    ASSERT_TRUE(guard.createOneInstanceWindow(&mainWindow));
    ASSERT_TRUE(mainWindow.isMinimized());
    ASSERT_FALSE(mainWindow.isActiveWindow());

    EXPECT_EQ(runHelper("second", "Class:Corvane2.01"), "not first");
    EXPECT_FALSE(mainWindow.isMinimized());
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_TRUE(mainWindow.isActiveWindow());
}

TEST_F(OneInstance, MaximisedWindowComesBackMaximised)
{
    COneInstance guard;
    ASSERT_TRUE(guard.initOneInstance("Class:Corvane2.01", nullptr, nullptr));
    QWidget mainWindow;
    mainWindow.setWindowState(Qt::WindowMaximized | Qt::WindowMinimized);
    mainWindow.show();
    ASSERT_TRUE(guard.createOneInstanceWindow(&mainWindow));

    EXPECT_EQ(runHelper("second", "Class:Corvane2.01"), "not first");
    EXPECT_EQ(mainWindow.windowState() & (Qt::WindowMaximized | Qt::WindowMinimized),
        Qt::WindowMaximized);
}

TEST_F(OneInstance, GuardOfChildWindowActivatesItsTopWindow)
{
    COneInstance guard;
    ASSERT_TRUE(guard.initOneInstance("Class:Corvane2.01", nullptr, nullptr));
    QWidget mainWindow;
    auto* child = new QWidget(&mainWindow);
    mainWindow.showMinimized();
    ASSERT_TRUE(guard.createOneInstanceWindow(child));

    EXPECT_EQ(runHelper("second", "Class:Corvane2.01"), "not first");
    EXPECT_FALSE(mainWindow.isMinimized());
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
    QWidget mainWindow;
    mainWindow.showMinimized();
    ASSERT_TRUE(running.createOneInstanceWindow(&mainWindow));

    // Another version, and a name that only differs where the first has a character that is
    // not allowed in socket names.
    EXPECT_EQ(runHelper("second", "Class:Corvane2.02"), "first");
    EXPECT_EQ(runHelper("second", "Class_3ACorvane2.01"), "first");
    EXPECT_TRUE(mainWindow.isMinimized());
}

TEST_F(OneInstance, StaleSocketDoesNotBlockNextStart)
{
    COneInstance guard;
    ASSERT_TRUE(guard.initOneInstance("Class:Corvane2.01", nullptr, nullptr));
    makeStaleSocket(guard.getServerName());

    EXPECT_TRUE(guard.isFirstInstance());
    EXPECT_FALSE(exists(guard.getServerName()));
    QWidget mainWindow;
    EXPECT_TRUE(guard.createOneInstanceWindow(&mainWindow));
    EXPECT_EQ(runHelper("second", "Class:Corvane2.01"), "not first");
}

TEST_F(OneInstance, StaleSocketIsReplacedWhenListening)
{
    COneInstance guard;
    ASSERT_TRUE(guard.initOneInstance("Class:Corvane2.01", nullptr, nullptr));
    makeStaleSocket(guard.getServerName());

    QWidget mainWindow;
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
    QWidget mainWindow;
    EXPECT_FALSE(guard.createOneInstanceWindow(&mainWindow));
    EXPECT_TRUE(exists(guard.getServerName()));
}

TEST_F(OneInstance, EndOfRunningInstanceFreesTheName)
{
    std::string path;
    {
        COneInstance guard;
        ASSERT_TRUE(guard.initOneInstance("Class:Corvane2.01", nullptr, nullptr));
        QWidget mainWindow;
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
    QWidget mainWindow;
    mainWindow.showMinimized();
    ASSERT_TRUE(guard.createOneInstanceWindow(&mainWindow));

    EXPECT_FALSE(guard.isFirstInstance());
    QCoreApplication::processEvents();
    EXPECT_FALSE(mainWindow.isMinimized());
    // Its name is fixed once it listens.
    EXPECT_FALSE(guard.initOneInstance("Class:Other", nullptr, nullptr));
    EXPECT_EQ(guard.getClassName(), "Class:Corvane2.01");
}

} // namespace
