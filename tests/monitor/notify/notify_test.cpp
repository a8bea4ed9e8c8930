// Desktop notices of outages: the main window's notices on desktops with and without a working
// notification server, and the "&Notify on Outages" item with its saved setting. The notices go
// through the real notice service to a fake server on a private session bus.

#include "monitor/resource.h"
#include "platform/shell/dbusdesktopnotice.h"
#include "platform/shell/recordingdesktopnotice.h"
#include "platform/types/clock.h"
#include "tests/monitor/notify/fakenotificationserver.h"
#include "tests/monitor/window/windowtest.h"
#include "tests/support/scopedenvironment.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QElapsedTimer>

#include <optional>

namespace {

constexpr const char* c_host = "127.0.0.7";

void setClock(std::time_t now)
{
    zorSetClock([now] { return now; });
}

enum eDESKTOP { eSERVER, eNO_SERVER, eERROR_ANSWER, eNO_ANSWER, eNO_BUS };

struct WindowCase
{
    const char* name;
    bool notify;
    eDESKTOP desktop;
    // The Notify calls the server sees.
    std::vector<std::string> calls;
};

const std::vector<std::string> c_downAndBack
    = {"susssasa{sv}i|Corvane|0|example.zorvex.Corvane|127.0.0.7 is unavailable|"
       "Since 05/14/24 14:38:00|0 actions|0 hints|-1",
        "susssasa{sv}i|Corvane|0|example.zorvex.Corvane|127.0.0.7 is available again|"
        "At 05/14/24 14:41:30 after 00:03:30 down|0 actions|0 hints|-1"};

class WindowNotices : public MainWindowTest, public ::testing::WithParamInterface<WindowCase>
{
};

} // namespace

TEST_P(WindowNotices, HostDownAndBack)
{
    const WindowCase& c = GetParam();
    std::optional<ScopedEnvironment> noBus, noUserBus;
    if (c.desktop == eNO_BUS) {
        noBus.emplace("DBUS_SESSION_BUS_ADDRESS", nullptr);
        noUserBus.emplace("XDG_RUNTIME_DIR", m_folder.path());
    }
    CFakeNotificationServer server(c.desktop == eERROR_ANSWER
            ? CFakeNotificationServer::eANSWER_ERROR
            : c.desktop == eNO_ANSWER ? CFakeNotificationServer::eANSWER_NEVER
                                      : CFakeNotificationServer::eANSWER_ID);
    if (c.desktop != eNO_SERVER && c.desktop != eNO_BUS) {
        ASSERT_TRUE(server.start());
    }
    CDBusDesktopNoticeService service;
    CDesktopNoticeService* previous = zorSetDesktopNoticeService(&service);
    setOption("IP1", c_host);
    testApp().putBool(
        eKEY_CURRENT_USER, CCorvaneApp::c_szOptions, CCorvaneApp::c_szNotifyOnOutages, c.notify);
    open();
    testing::internal::CaptureStderr();

    // Up at the first pass (not told), down a minute later, back three and a half minutes on.
    QElapsedTimer passes;
    passes.start();
    tickToFirstPass();
    setClock(c_testNow.GetAsTimeT() + 60);
    m_echoMs = 0;
    tick(10);
    setClock(c_testNow.GetAsTimeT() + 270);
    m_echoMs = 5;
    tick(10);
    EXPECT_LT(passes.elapsed(), 1000);
    // Every answer that comes; a server that never answers is given a moment.
    QElapsedTimer settle;
    settle.start();
    do
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    while ((c.desktop == eNO_ANSWER || service.pendingCalls() > 0)
        && settle.elapsed() < (c.desktop == eNO_ANSWER ? 200 : 3000));
    const std::string errors = testing::internal::GetCapturedStderr();
    zorSetDesktopNoticeService(previous);

    EXPECT_EQ(server.calls, c.calls);
    // Whatever the desktop does, the records are the same, nobody is asked anything and the
    // failure is told once at most.
    EXPECT_EQ(history(c_host), (std::vector<std::string> {"start", "up", "down", "up"}));
    EXPECT_TRUE(m_boxes.boxes.empty());
    EXPECT_EQ(errors.find("Desktop notifications"), errors.rfind("Desktop notifications"));
}

INSTANTIATE_TEST_SUITE_P(MainWindow, WindowNotices,
    ::testing::Values(WindowCase {"On", true, eSERVER, c_downAndBack},
        WindowCase {"Off", false, eSERVER, {}},
        WindowCase {"NoServerOnTheBus", true, eNO_SERVER, {}},
        WindowCase {"ServerAnswersWithAnError", true, eERROR_ANSWER, c_downAndBack},
        WindowCase {"ServerNeverAnswers", true, eNO_ANSWER, c_downAndBack},
        WindowCase {"NoSessionBus", true, eNO_BUS, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, NotifyOnOutagesIsSavedAtOnceAndReadAtStart)
{
    CRecordingDesktopNoticeService notices;
    setOption("IP1", c_host);
    const auto checked = [this] {
        const CMenu::Item item = dialog().GetSystemMenu(FALSE)->items().back();
        EXPECT_EQ(item.id, IDM_NOTIFY_OUTAGES);
        EXPECT_EQ(item.text, "&Notify on Outages");
        return (item.flags & MF_CHECKED) != 0;
    };
    const auto stored = [] {
        return testApp().getInt(
            eKEY_CURRENT_USER, CCorvaneApp::c_szOptions, CCorvaneApp::c_szNotifyOnOutages, -1);
    };
    open();
    EXPECT_FALSE(checked());
    tickToFirstPass();
    m_echoMs = 0;
    tick(10);

    // Switched on during the outage: its end is told with the outage's whole length.
    setClock(c_testNow.GetAsTimeT() + 90);
    dialog().SendMessage(WM_SYSCOMMAND, IDM_NOTIFY_OUTAGES, 0);
    EXPECT_TRUE(checked());
    EXPECT_EQ(stored(), 1);
    m_echoMs = 5;
    tick(10);
    ASSERT_EQ(notices.notices.size(), 1U);
    EXPECT_EQ(notices.notices[0].body, "At 05/14/24 14:38:30 after 00:01:30 down");

    // Off: the next outage is not told.
    dialog().SendMessage(WM_SYSCOMMAND, IDM_NOTIFY_OUTAGES, 0);
    EXPECT_FALSE(checked());
    EXPECT_EQ(stored(), 0);
    m_echoMs = 0;
    tick(10);
    EXPECT_EQ(notices.notices.size(), 1U);

    dialog().SendMessage(WM_SYSCOMMAND, IDM_NOTIFY_OUTAGES, 0);
    m_dialog.reset();
    open();
    EXPECT_TRUE(checked());
}

int main(int argc, char** argv)
{
    if (const int status = runOnPrivateSessionBus(argc, argv); status >= 0)
        return status;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
