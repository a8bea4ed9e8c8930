// The outage panel, the settings the window saves, the graph's plots and the Database command
// of the main window.

#include "tests/monitor/window/windowtest.h"

#include "monitor/igraph.h"
#include "monitor/maintenancedlg.h"
#include "monitor/resource.h"
#include "platform/ole/site.h"
#include "platform/ui/controls.h"

#include <QtWidgets/QComboBox>
#include <QtWidgets/QDateTimeEdit>

#include <sys/stat.h>

namespace {

// The selector's entries, the selected one marked with ">".
std::vector<std::string> entries(CCorvaneDlg& window)
{
    auto* selector = dynamic_cast<CComboBox*>(window.GetDlgItem(IDC_HOST_SELECTOR));
    std::vector<std::string> texts(selector->GetCount());
    for (int i = 0; i < selector->GetCount(); ++i) {
        selector->GetLBText(i, texts[i]);
        if (i == selector->GetCurSel())
            texts[i] = ">" + texts[i];
    }
    return texts;
}

// Selects as the user does: the selector reports the change.
void select(CCorvaneDlg& window, const std::string& text)
{
    auto* combo = qobject_cast<QComboBox*>(window.GetDlgItem(IDC_HOST_SELECTOR)->widget());
    combo->setCurrentIndex(combo->findText(QString::fromStdString(text)));
}

std::vector<std::string> outageLines(CCorvaneDlg& window)
{
    auto* list = dynamic_cast<CListBox*>(window.GetDlgItem(IDC_OUTAGES));
    std::vector<std::string> lines;
    for (int i = 0; i < list->GetCount(); ++i) {
        std::string line;
        list->GetText(i, line);
        lines.push_back(line);
    }
    return lines;
}

bool deleteEnabled(CCorvaneDlg& window)
{
    return window.GetDlgItem(IDC_DELETE)->IsWindowEnabled();
}

void typeHost(CCorvaneDlg& window, int slot, const char* host)
{
    const int id = slotControlIds(slot).hostEdit;
    window.SetDlgItemText(id, host);
    window.SendMessage(WM_COMMAND, MAKEWPARAM(id, EN_KILLFOCUS),
        reinterpret_cast<LPARAM>(window.GetDlgItem(id)->GetSafeHwnd()));
}

} // namespace

TEST_F(MainWindowTest, HostSelectorAndDelete)
{
    setOption("IP1", "127.0.0.1");
    setOption("IP2", "127.0.0.2");
    setOption(CCorvaneApp::c_szStartStop, 1);
    CCorvaneDlg& window = open();
    EXPECT_EQ(entries(window), (std::vector<std::string> {"><all>", "127.0.0.1", "127.0.0.2"}));
    EXPECT_FALSE(deleteEnabled(window));

    select(window, "127.0.0.2");
    EXPECT_TRUE(deleteEnabled(window));
    const std::vector<std::string> lines = outageLines(window);
    ASSERT_EQ(lines.size(), 3U);
    EXPECT_EQ(lines[1], "127.0.0.2");

    // A refill keeps the selection, although a new host sorts before it.
    typeHost(window, 2, "10.0.0.1");
    EXPECT_EQ(entries(window),
        (std::vector<std::string> {"<all>", "10.0.0.1", "127.0.0.1", ">127.0.0.2"}));

    // No leaves everything as it was.
    m_boxes.answers = {IDNO};
    window.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_DELETE, BN_CLICKED), 0);
    ASSERT_EQ(m_boxes.boxes.size(), 1U);
    EXPECT_EQ(m_boxes.boxes[0].text, "Delete 127.0.0.2");
    EXPECT_EQ(m_boxes.boxes[0].type, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    EXPECT_EQ(entries(window).back(), ">127.0.0.2");
    EXPECT_EQ(outageLines(window), lines);
    EXPECT_EQ(history("127.0.0.2"), (std::vector<std::string> {"start"}));

    m_boxes.answers = {IDYES};
    window.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_DELETE, BN_CLICKED), 0);
    EXPECT_EQ(entries(window), (std::vector<std::string> {"><all>", "10.0.0.1", "127.0.0.1"}));
    EXPECT_FALSE(deleteEnabled(window));
    EXPECT_TRUE(history("127.0.0.2").empty());

    // With "<all>" selected there is nothing to delete.
    window.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_DELETE, BN_CLICKED), 0);
    EXPECT_EQ(m_boxes.boxes.size(), 2U);
}

namespace {

struct SettingCase
{
    const char* name;
    void (*change)(CCorvaneDlg& window);
    const char* section;
    const char* value;
    // What the store holds once the window is open, and after the change.
    int opened;
    int expected;
};

class SettingSaved : public MainWindowTest, public ::testing::WithParamInterface<SettingCase>
{
};

CSpinButtonCtrl* spin(CCorvaneDlg& window, int id)
{
    return dynamic_cast<CSpinButtonCtrl*>(window.GetDlgItem(id));
}

} // namespace

TEST_P(SettingSaved, TheMomentItChanges)
{
    const SettingCase& c = GetParam();
    setOption("IP1", "127.0.0.1");
    CCorvaneDlg& window = open();
    // Opening the window saves no option; the plots' settings it saves as it sets them up.
    EXPECT_EQ(storedInt(c.section, c.value), c.opened);
    c.change(window);
    EXPECT_EQ(storedInt(c.section, c.value), c.expected);
}

INSTANTIATE_TEST_SUITE_P(MainWindow, SettingSaved,
    ::testing::Values(SettingCase {"SampleInterval", [](CCorvaneDlg& w) { spin(w, 1005)->step(1); },
                          "Options", "SampleInterval", -1, 11},
        SettingCase {
            "Days", [](CCorvaneDlg& w) { spin(w, 1074)->step(1); }, "Options", "Days", -1, 2},
        SettingCase {"StartStop",
            [](CCorvaneDlg& w) { dynamic_cast<CButton*>(w.GetDlgItem(1033))->click(); }, "Options",
            "StartStop", -1, 1},
        SettingCase {"DownInterval",
            [](CCorvaneDlg& w) {
                qobject_cast<QDateTimeEdit*>(w.GetDlgItem(1034)->widget())
                    ->setTime(QTime(0, 2, 30));
            },
            "Options", "DownInterval", -1, 150},
        SettingCase {"Graph",
            [](CCorvaneDlg& w) { dynamic_cast<CButton*>(w.GetDlgItem(1063))->click(); }, "Graph",
            "1", 0, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, DaysAreAppliedAtStartAndMoveTheGraph)
{
    setOption(CCorvaneApp::c_szDays, 3);
    CCorvaneDlg& window = open();
    EXPECT_EQ(window.graphSpan(), 3);
    EXPECT_EQ(text(IDC_DAYS), "3");
    spin(window, IDC_DAYS_SPIN)->step(-1);
    EXPECT_EQ(window.graphSpan(), 2);
}

TEST_F(MainWindowTest, PlotFollowsCheckBoxAndColour)
{
    setOption("IP1", "127.0.0.1");
    testApp().putBool(eKEY_CURRENT_USER, CCorvaneApp::c_szGraph, "1", true);
    CCorvaneDlg& window = open();
    // An average of the host within the window, as a replot puts it on the graph.
    const COleDateTime start = CGraphFeed::windowStartFor(c_testNow, 1);
    const COleDateTime at = start + COleDateTimeSpan(0, 2, 0, 0);
    CDirectConnection connection(databaseFile());
    ASSERT_EQ(connection.exec("INSERT INTO GraphData (HostID, Time, AvgDelay, SampleCount) SELECT"
                              " HostID, "
                  + std::to_string(at.m_dt) + ", 12, 4 FROM Hosts WHERE Host = '127.0.0.1'"),
        0);
    IGraph graph;
    ASSERT_TRUE(graph.attachTo(&window, IDC_GRAPH));
    CWnd* color = window.GetDlgItem(1068);
    auto* check = dynamic_cast<CButton*>(window.GetDlgItem(1063));

    check->click(); // off: the plot is cleared
    EXPECT_FALSE(color->IsWindowVisible());
    check->click(); // on: replotted from the database
    EXPECT_TRUE(color->IsWindowVisible());
    // The point is there already: the graph refuses the same value.
    EXPECT_FALSE(graph.setDataPoint(0, CGraphFeed::pointIndex(at, start), 1200));

    // A click on the colour control stores its colour.
    IColor colorControl;
    ASSERT_TRUE(colorControl.attachTo(&window, 1068));
    colorControl.SetValue(0x00FF00FF);
    zorSiteOf(color)->Invoke(DISPID_CLICK, DISPATCH_METHOD, DISPPARAMS {}, nullptr);
    EXPECT_EQ(static_cast<DWORD>(storedInt(CCorvaneApp::c_szGraphColor, "1")), 0x00FF00FFU);
}

namespace {

struct CommandCase
{
    const char* name;
    INT_PTR answer;
};

class DatabaseCommand : public MainWindowTest, public ::testing::WithParamInterface<CommandCase>
{
};

ino_t inodeOf(const std::string& path)
{
    struct stat info = {};
    stat(path.c_str(), &info);
    return info.st_ino;
}

} // namespace

TEST_P(DatabaseCommand, CompactsAfterOkAndRestartsTheTimer)
{
    setOption("IP1", "127.0.0.1");
    CCorvaneDlg& window = open();
    tick(3);
    const ino_t before = inodeOf(databaseFile());
    bool maintenance = false;
    window.setModalRunner([&](CDialog& d) {
        maintenance = dynamic_cast<CMaintenanceDlg*>(&d) != nullptr;
        return GetParam().answer;
    });
    window.SendMessage(WM_SYSCOMMAND, IDM_DATABASE, 0);
    EXPECT_TRUE(maintenance);
    EXPECT_EQ(inodeOf(databaseFile()) != before, GetParam().answer == IDOK);
    EXPECT_EQ(window.tickCounter(), 3);
    // The monitor goes on: the timer ticks again and the next pass records.
    for (int i = 0; i < 150 && window.tickCounter() == 3; ++i)
        pumpEvents(10);
    EXPECT_EQ(window.tickCounter(), 4);
    window.KillTimer(CCorvaneDlg::c_nTimerId);
    tick(6);
    EXPECT_EQ(history("127.0.0.1"), (std::vector<std::string> {"start", "up"}));
    EXPECT_EQ(entries(window), (std::vector<std::string> {"><all>", "127.0.0.1"}));
    EXPECT_TRUE(m_boxes.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(MainWindow, DatabaseCommand,
    ::testing::Values(CommandCase {"Ok", IDOK}, CommandCase {"Cancel", IDCANCEL}),
    [](const auto& info) { return std::string(info.param.name); });
