// The sampling cycle of the main window: the countdown, a host typed into a slot, the ways out
// of the program and what they write, and a system that allows no echo requests.

#include "tests/monitor/window/windowtest.h"

#include "monitor/resource.h"
#include "platform/ui/controls.h"
#include "platform/ui/winapp.h"

#include <csignal>

namespace {

struct CountdownCase
{
    const char* name;
    int interval;
    const char* afterPass;
};

class Countdown : public MainWindowTest, public ::testing::WithParamInterface<CountdownCase>
{
};

} // namespace

TEST_P(Countdown, ShowsTheTimeToTheNextPass)
{
    setOption(CCorvaneApp::c_szSampleInterval, GetParam().interval);
    open();
    tick(9);
    EXPECT_EQ(text(IDC_STATUS), "1 seconds until next ping");
    // The tenth second after the window opened is the first pass.
    tick();
    EXPECT_EQ(dialog().tickCounter(), 0);
    EXPECT_EQ(text(IDC_STATUS), GetParam().afterPass);
}

INSTANTIATE_TEST_SUITE_P(MainWindow, Countdown,
    ::testing::Values(CountdownCase {"Ten", 10, "10 seconds until next ping"},
        CountdownCase {"FiftyNine", 59, "59 seconds until next ping"},
        CountdownCase {"Sixty", 60, "1:00 until next ping"},
        CountdownCase {"Ninety", 90, "1:30 until next ping"}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {

// Hexadecimal dotted forms are read as addresses, never looked up, in either letter case.
constexpr const char* c_host = "0x7f.0.0.1";

struct RetypeCase
{
    const char* name;
    const char* typed;
    std::vector<std::string> oldHistory;
    // Pending samples filed under the old host before the change.
    int oldAverages;
    // The typed host's own history, when it is another host.
    std::vector<std::string> newHistory;
};

class HostRetyped : public MainWindowTest, public ::testing::WithParamInterface<RetypeCase>
{
};

} // namespace

TEST_P(HostRetyped, WritesRecordsOnlyForAChange)
{
    const RetypeCase& c = GetParam();
    setOption("IP1", c_host);
    CCorvaneDlg& window = open();
    tickToFirstPass();
    ASSERT_EQ(history(c_host), (std::vector<std::string> {"start", "up"}));

    window.SetDlgItemText(1010, c.typed);
    window.SendMessage(WM_COMMAND, MAKEWPARAM(1010, EN_KILLFOCUS),
        reinterpret_cast<LPARAM>(window.GetDlgItem(1010)->GetSafeHwnd()));

    EXPECT_EQ(storedText(CCorvaneApp::c_szOptions, "IP1"), c.typed);
    EXPECT_EQ(window.hostSlots()[0].m_hostText, c.typed);
    CDirectConnection connection(databaseFile());
    // Texts differing in case name one host.
    const std::string oldAverages = connection.scalar(
        "SELECT COUNT(*) FROM GraphData g JOIN Hosts h ON h.HostID = g.HostID WHERE h.Host = '"
        + std::string(c_host) + "' COLLATE NOCASE");
    EXPECT_EQ(history(c_host), c.oldHistory);
    if (!c.newHistory.empty()) {
        EXPECT_EQ(history(c.typed), c.newHistory);
    }
    EXPECT_EQ(oldAverages, std::to_string(c.oldAverages));
    EXPECT_TRUE(m_boxes.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(MainWindow, HostRetyped,
    ::testing::Values(RetypeCase {"SameText", c_host, {"start", "up"}, 0},
        RetypeCase {"LetterCase", "0X7F.0.0.1", {"start", "up", "stop", "start", "up"}, 1},
        RetypeCase {"OtherHost", "127.0.0.2", {"start", "up", "stop"}, 1, {"start", "up"}},
        RetypeCase {"Cleared", "", {"start", "up", "stop"}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {

struct ExitCase
{
    const char* name;
    // Asks the window to close.
    void (*close)(CCorvaneDlg& window);
};

void sendCommand(CCorvaneDlg& window, int id)
{
    window.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

void sendSignal(CCorvaneDlg& window, int signalNumber)
{
    testApp().m_pMainWnd = &window;
    ASSERT_TRUE(zorWatchSessionEnd());
    raise(signalNumber);
    pumpEvents(50);
    zorUnwatchSessionEnd();
}

class Exit : public MainWindowTest, public ::testing::WithParamInterface<ExitCase>
{
};

} // namespace

TEST_P(Exit, WritesOneStopPerHostThenTheAverages)
{
    setOption("IP1", "127.0.0.1");
    setOption("IP3", "127.0.0.3");
    CDirectConnection log(databaseFile());
    ASSERT_EQ(log.exec("CREATE TABLE WriteLog (Seq INTEGER PRIMARY KEY, What TEXT);"
                       "CREATE TRIGGER LogStatus AFTER INSERT ON Status BEGIN"
                       " INSERT INTO WriteLog (What) VALUES (CASE WHEN NEW.SessionStartStop"
                       " THEN (CASE WHEN NEW.Up THEN 'start' ELSE 'stop' END) ELSE 'state' END);"
                       " END;"
                       "CREATE TRIGGER LogAverage AFTER INSERT ON GraphData BEGIN"
                       " INSERT INTO WriteLog (What) VALUES ('average'); END;"),
        0);
    CCorvaneDlg& window = open();
    tickToFirstPass();

    GetParam().close(window);

    EXPECT_TRUE(window.isClosed());
    EXPECT_EQ(history("127.0.0.1"), (std::vector<std::string> {"start", "up", "stop"}));
    EXPECT_EQ(history("127.0.0.3"), (std::vector<std::string> {"start", "up", "stop"}));
    EXPECT_EQ(log.rows("SELECT What FROM WriteLog ORDER BY Seq"),
        (std::vector<std::string> {
            "start", "start", "state", "state", "stop", "stop", "average", "average"}));
    // Closed is closed: the timer writes nothing more.
    tick(20);
    EXPECT_EQ(log.scalar("SELECT COUNT(*) FROM WriteLog"), "8");
    EXPECT_TRUE(m_boxes.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(MainWindow, Exit,
    ::testing::Values(ExitCase {"Enter", [](CCorvaneDlg& w) { sendCommand(w, IDOK); }},
        ExitCase {"Escape", [](CCorvaneDlg& w) { sendCommand(w, IDCANCEL); }},
        ExitCase {
            "SystemMenuClose", [](CCorvaneDlg& w) { w.SendMessage(WM_SYSCOMMAND, SC_CLOSE); }},
        ExitCase {"SigTerm", [](CCorvaneDlg& w) { sendSignal(w, SIGTERM); }},
        ExitCase {"SigInt", [](CCorvaneDlg& w) { sendSignal(w, SIGINT); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, SessionEndDuringAPassClosesWhenThePassHasEnded)
{
    setOption("IP1", "127.0.0.1");
    setOption("IP2", "127.0.0.2");
    CCorvaneDlg& window = open();
    bool asked = false;
    window.setEchoFunction([&](std::uint32_t, int) {
        if (!asked) {
            asked = true;
            window.SendMessage(WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
        }
        return 5;
    });
    tickToFirstPass();

    EXPECT_TRUE(asked);
    EXPECT_TRUE(window.isClosed());
    // The pass probed both hosts before the window closed.
    EXPECT_EQ(history("127.0.0.1"), (std::vector<std::string> {"start", "up", "stop"}));
    EXPECT_EQ(history("127.0.0.2"), (std::vector<std::string> {"start", "up", "stop"}));
    EXPECT_TRUE(m_boxes.boxes.empty());
}

TEST_F(MainWindowTest, WithoutEchoTheUserIsToldOnceAndNothingIsRecorded)
{
    setOption("IP1", "127.0.0.1");
    CCorvaneDlg& window = open();
    bool permitted = false;
    window.setEchoPermission([&] { return permitted; });

    tickToFirstPass();
    ASSERT_EQ(m_boxes.boxes.size(), 1U);
    EXPECT_NE(
        m_boxes.boxes[0].text.find("sudo sysctl -w net.ipv4.ping_group_range=\"0 2147483647\""),
        std::string::npos);
    EXPECT_EQ(m_boxes.boxes[0].type & MB_ICONMASK, MB_ICONEXCLAMATION);
    EXPECT_EQ(text(IDC_STATUS), "Echo requests not permitted");
    tick(10);
    EXPECT_EQ(m_boxes.boxes.size(), 1U);
    EXPECT_EQ(history("127.0.0.1"), (std::vector<std::string> {"start"}));

    // Allowed again: the next pass probes, without a restart.
    permitted = true;
    tick(10);
    EXPECT_EQ(history("127.0.0.1"), (std::vector<std::string> {"start", "up"}));
    EXPECT_EQ(text(IDC_STATUS), "10 seconds until next ping");
    EXPECT_EQ(m_boxes.boxes.size(), 1U);
}
