// The platform's application object as the frame stands on it: the one object, the pump that
// lives as long as the main window, the quit code.

#include "platform/ui/winapp.h"

#include "platform/ole/oleinit.h"
#include "platform/types/rect.h"
#include "platform/ui/dialogtemplate.h"
#include "platform/ui/resources.h"
#include "tests/framework/frame/frametestsupport.h"

#include <QtCore/QElapsedTimer>
#include <QtCore/QTimer>
#include <QtWidgets/QWidget>

#include <gtest/gtest.h>

#include <string>

namespace {

using frametest::waitUntil;

// The exit code a pump ends with when a test's guard timer had to end it.
constexpr int c_hung = 99;

// Ends any pump still running after the time, so a fault shows as a wrong exit code, not a
// hang.
void guardAgainstHang(QObject* context, int ms = 5000)
{
    QTimer::singleShot(ms, context, [] { PostQuitMessage(c_hung); });
}

void createMainWindow(CWnd& window, const char* title = "main")
{
    ASSERT_TRUE(window.CreateEx(0, nullptr, title, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
        CRect(40, 40, 340, 240), nullptr, 0));
    window.ShowWindow(SW_SHOW);
}

class CPlainApp : public CWinApp
{
public:
    CPlainApp() : CWinApp("Plain") { }
};

TEST(WinApp, OneApplicationObjectWithItsMainWindow)
{
    EXPECT_EQ(AfxGetApp(), nullptr);
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
    {
        CPlainApp app;
        EXPECT_EQ(AfxGetApp(), &app);
        EXPECT_EQ(app.m_pszAppName, "Plain");
        CWnd main;
        app.m_pMainWnd = &main;
        EXPECT_EQ(AfxGetMainWnd(), &main);
        app.m_pMainWnd = nullptr;
    }
    EXPECT_EQ(AfxGetApp(), nullptr);
}

TEST(WinApp, BaseTranslatesNothing)
{
    CPlainApp app;
    MSG msg;
    msg.message = WM_KEYDOWN;
    EXPECT_FALSE(app.PreTranslateMessage(&msg));
}

TEST(WinApp, RegistryKeyIsKept)
{
    CPlainApp app;
    EXPECT_EQ(app.registryKey(), "");
    app.SetRegistryKey("Zorvex");
    EXPECT_EQ(app.registryKey(), "Zorvex");
}

TEST(WinApp, StandardCursorIsTheResourceServicesOne)
{
    CPlainApp app;
    const HCURSOR arrow = app.LoadStandardCursor(IDC_ARROW);
    EXPECT_NE(arrow, nullptr);
    EXPECT_EQ(arrow, LoadCursorA(nullptr, IDC_ARROW));
}

TEST(WinApp, ControlContainerAndComponentLayer)
{
    zorSetHostedControlFactory(nullptr);
    EXPECT_TRUE(AfxOleInit());
    AfxEnableControlContainer();
    EXPECT_NE(zorHostedControlFactory(), nullptr);
}

TEST(WinApp, PumpWithoutMainWindowEndsAtOnce)
{
    CPlainApp app;
    QObject context;
    guardAgainstHang(&context);
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_EQ(app.Run(), 0);
    EXPECT_LT(elapsed.elapsed(), 1000);
}

TEST(WinApp, PumpEndsWhenTheMainWindowIsDestroyed)
{
    CPlainApp app;
    CWnd main;
    createMainWindow(main);
    app.m_pMainWnd = &main;
    QObject context;
    guardAgainstHang(&context);
    bool destroyed = false;
    QTimer::singleShot(50, &context, [&] { destroyed = main.DestroyWindow(); });

    EXPECT_EQ(app.Run(), 0);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

TEST(WinApp, PumpEndsWithTheQuitCode)
{
    CPlainApp app;
    CWnd main;
    createMainWindow(main);
    app.m_pMainWnd = &main;
    QObject context;
    guardAgainstHang(&context);
    QTimer::singleShot(50, &context, [] { PostQuitMessage(7); });

    EXPECT_EQ(app.Run(), 7);
    EXPECT_EQ(app.ExitInstance(), 7);
    // The main window is still there; the pump ended because it was told to.
    EXPECT_TRUE(IsWindow(main.GetSafeHwnd()));
    EXPECT_EQ(app.m_pMainWnd, &main);
    app.m_pMainWnd = nullptr;
}

TEST(WinApp, QuitBeforeThePumpSkipsIt)
{
    CPlainApp app;
    CWnd main;
    createMainWindow(main);
    app.m_pMainWnd = &main;
    QObject context;
    guardAgainstHang(&context);

    PostQuitMessage(3);
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_EQ(app.Run(), 3);
    EXPECT_LT(elapsed.elapsed(), 1000);

    // The quit was consumed: event loops run on, and so does a later pump.
    bool fired = false;
    QTimer::singleShot(20, &context, [&] { fired = true; });
    waitUntil([&] { return fired; }, 2000);
    EXPECT_TRUE(fired);
    QTimer::singleShot(50, &context, [&] { main.DestroyWindow(); });
    EXPECT_EQ(app.Run(), 0);
}

TEST(WinApp, HiddenMainWindowAndClosedLastWindowKeepThePump)
{
    CPlainApp app;
    CWnd main;
    createMainWindow(main);
    // A window of Qt's own, closed as Qt closes windows.
    QWidget other;
    other.show();
    app.m_pMainWnd = &main;
    QObject context;
    guardAgainstHang(&context);

    bool stillRunning = false;
    QTimer::singleShot(30, &context, [&] { main.ShowWindow(SW_HIDE); });
    // The last visible window closes: the main window still lives, so the pump goes on.
    QTimer::singleShot(60, &context, [&] { other.close(); });
    QTimer::singleShot(300, &context, [&] {
        stillRunning = true;
        main.DestroyWindow();
    });

    EXPECT_EQ(app.Run(), 0);
    EXPECT_TRUE(stillRunning);
}

TEST(WinApp, MainWindowReplacedWhileRunning)
{
    CPlainApp app;
    CWnd first;
    createMainWindow(first, "first");
    CWnd second;
    createMainWindow(second, "second");
    app.m_pMainWnd = &first;
    QObject context;
    guardAgainstHang(&context);

    bool secondDestroyed = false;
    QTimer::singleShot(30, &context, [&] { app.m_pMainWnd = &second; });
    QTimer::singleShot(60, &context, [&] { first.DestroyWindow(); });
    QTimer::singleShot(200, &context, [&] {
        secondDestroyed = true;
        second.DestroyWindow();
    });

    EXPECT_EQ(app.Run(), 0);
    EXPECT_TRUE(secondDestroyed);
}

// An application whose start makes its main window and ends it a moment later.
class CStartingApp : public CWinApp
{
public:
    BOOL InitInstance() override
    {
        initialised = true;
        if (!startPump)
            return FALSE;
        EXPECT_TRUE(m_main.CreateEx(
            0, nullptr, "main", WS_OVERLAPPED | WS_CAPTION, CRect(40, 40, 340, 240), nullptr, 0));
        m_main.ShowWindow(SW_SHOW);
        m_pMainWnd = &m_main;
        QTimer::singleShot(50, &m_context, [this] { m_main.DestroyWindow(); });
        return TRUE;
    }
    int ExitInstance() override
    {
        exited = true;
        return startPump ? CWinApp::ExitInstance() : 5;
    }

    bool startPump {true};
    bool initialised {false};
    bool exited {false};

private:
    CWnd m_main;
    QObject m_context;
};

TEST(WinApp, RunApplicationStartsAndPumps)
{
    CStartingApp app;
    QObject context;
    guardAgainstHang(&context);
    char program[] = "/opt/zorvex/bin/corvane.bin";
    char first[] = "-x";
    char second[] = "two words";
    char* argv[] = {program, first, second, nullptr};

    EXPECT_EQ(zorRunApplication(3, argv), 0);
    EXPECT_TRUE(app.initialised);
    EXPECT_TRUE(app.exited);
    EXPECT_EQ(app.m_pszExeName, "corvane");
    EXPECT_EQ(app.m_pszAppName, "corvane");
    EXPECT_EQ(app.m_lpCmdLine, "-x two words");
    EXPECT_EQ(app.m_hInstance, GetModuleHandleA(nullptr));
}

TEST(WinApp, FailedStartSkipsThePump)
{
    CStartingApp app;
    app.startPump = false;
    char program[] = "corvane";
    char* argv[] = {program, nullptr};

    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_EQ(zorRunApplication(1, argv), 5);
    EXPECT_TRUE(app.initialised);
    EXPECT_TRUE(app.exited);
    EXPECT_LT(elapsed.elapsed(), 1000);
}

TEST(WinApp, RunApplicationWithoutApplicationObject)
{
    char program[] = "corvane";
    char* argv[] = {program, nullptr};
    EXPECT_EQ(zorRunApplication(1, argv), -1);
}

} // namespace
