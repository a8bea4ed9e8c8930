// The main window's controls where its template puts them, the layout when the window grows
// and the system menu's commands.

#include "tests/monitor/window/windowtest.h"

#include "monitor/resource.h"
#include "platform/shell/recordingshelllauncher.h"
#include "platform/ui/dialogtemplate.h"

#include <fstream>
#include <map>

namespace {

// A control as the window's design places it: by id, or by its text for the rows without one.
struct Placement
{
    int id;
    const char* text;
    int x, y, cx, cy;
};

const Placement c_placements[] = {
    {1010, nullptr, 11, 8, 99, 14}, // slot 0: host edit
    {1026, nullptr, 116, 11, 56, 8}, // address label (an empty slot shows 0.0.0.0)
    {1013, "9999 ms", 175, 11, 33, 8}, // latency label
    {1009, nullptr, 210, 8, 23, 14}, // light
    {1063, "Graph", 239, 10, 35, 10}, // graph check box
    {1068, nullptr, 278, 9, 18, 12}, // colour
    {1024, nullptr, 11, 89, 99, 14}, // slot 4, the last row
    {1030, nullptr, 116, 92, 56, 8},
    {1025, nullptr, 175, 92, 33, 8},
    {1023, nullptr, 210, 89, 23, 14},
    {1067, nullptr, 239, 91, 35, 10},
    {1072, nullptr, 278, 90, 18, 12},
    {-1, "Sample Interval (sec.):", 9, 113, 71, 8},
    {1004, nullptr, 81, 110, 36, 14},
    {1005, nullptr, 110, 110, 11, 14},
    {1008, "Status", 133, 112, 162, 11},
    {-1, "Outages:", 309, 7, 202, 145},
    {1031, nullptr, 318, 23, 135, -1}, // the closed drop-down list is as high as the font
    {1032, "&Delete", 458, 23, 40, 13},
    {-1, "Display outages longer than:", 318, 43, 90, 8},
    {1034, nullptr, 412, 39, 62, 15},
    {-1, "mm:ss", 478, 43, 20, 8},
    {1033, "Display Start and Stop messages", 319, 58, 119, 10},
    {1002, nullptr, 317, 72, 183, 75},
    {-1, "Days:", 2, 142, 19, 8},
    {1073, nullptr, 23, 139, 29, 14},
    {1074, nullptr, 54, 139, 11, 14},
    {1039, nullptr, 2, 159, 509, 152},
};

CWnd* findControl(CDialog& dialog, const Placement& placement)
{
    if (placement.id != -1)
        return dialog.GetDlgItem(placement.id);
    for (CWnd* child : dialog.children()) {
        if (child->GetWindowText() == placement.text)
            return child;
    }
    return nullptr;
}

CRect clientRectOf(CDialog& dialog, CWnd* control)
{
    CRect rect;
    control->GetWindowRect(&rect);
    dialog.ScreenToClient(&rect);
    return rect;
}

} // namespace

TEST_F(MainWindowTest, EveryControlWhereTheTemplatePutsIt)
{
    CCorvaneDlg& window = open();
    const DialogTemplate* tmpl = window.dialogTemplate();
    ASSERT_NE(tmpl, nullptr);
    EXPECT_STREQ(tmpl->caption, "Corvane");
    const CRect size = zorDialogUnitsToPixels(*tmpl, 0, 0, 515, 318);
    CRect client;
    window.GetClientRect(&client);
    EXPECT_EQ(client.Size(), size.Size());

    for (const Placement& placement : c_placements) {
        SCOPED_TRACE(placement.id != -1 ? std::to_string(placement.id) : placement.text);
        CWnd* control = findControl(window, placement);
        ASSERT_NE(control, nullptr);
        if (placement.id != -1 && placement.text) {
            EXPECT_EQ(control->GetWindowText(), placement.text);
        }
        const CRect expected
            = zorDialogUnitsToPixels(*tmpl, placement.x, placement.y, placement.cx, placement.cy);
        const CRect rect = clientRectOf(window, control);
        EXPECT_EQ(rect.TopLeft(), expected.TopLeft());
        EXPECT_EQ(rect.Width(), expected.Width());
        if (placement.cy >= 0) {
            EXPECT_EQ(rect.Height(), expected.Height());
        }
    }
}

TEST_F(MainWindowTest, GrowingTheWindowGrowsTheGraphAndMovesNothingElse)
{
    CCorvaneDlg& window = open();
    std::map<CWnd*, CRect> before;
    for (CWnd* child : window.children())
        before[child] = clientRectOf(window, child);

    CRect frame;
    window.GetWindowRect(&frame);
    window.MoveWindow(frame.left, frame.top, frame.Width() + 100, frame.Height() + 100);
    pumpEvents();

    CWnd* graph = window.GetDlgItem(IDC_GRAPH);
    for (const auto& [child, rect] : before) {
        const CRect now = clientRectOf(window, child);
        if (child == graph) {
            EXPECT_EQ(now.TopLeft(), rect.TopLeft());
            EXPECT_EQ(now.Width(), rect.Width() + 100);
            EXPECT_EQ(now.Height(), rect.Height() + 100);
        } else {
            EXPECT_EQ(now, rect) << child->GetDlgCtrlID() << " " << child->GetWindowText();
        }
    }
}

TEST_F(MainWindowTest, SystemMenuCommands)
{
    CCorvaneDlg& window = open();
    const std::vector<std::pair<UINT, std::string>> expected = {{0, ""}, {IDM_HELP, "&Help..."},
        {IDM_WEBSITE, "&Web Site..."}, {0, ""}, {IDM_ABOUTBOX, "&About..."},
        {IDM_DATABASE, "&Database..."}, {IDM_OPTIONS, "&Options..."},
        {IDM_NOTIFY_OUTAGES, "&Notify on Outages"}};
    const std::vector<CMenu::Item>& items = window.GetSystemMenu(FALSE)->items();
    ASSERT_GE(items.size(), expected.size());
    const std::size_t first = items.size() - expected.size();
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(items[first + i].id, expected[i].first);
        EXPECT_EQ(items[first + i].text, expected[i].second);
    }

    CRecordingShellLauncher launcher;
    // Help with no help file: the user is told, nothing starts.
    window.SendMessage(WM_SYSCOMMAND, IDM_HELP, 0);
    ASSERT_EQ(m_boxes.boxes.size(), 1U);
    EXPECT_EQ(m_boxes.boxes[0].text, "Can't find help file " + m_directory + "Corvane.chm");
    std::ofstream(m_directory + "Corvane.chm") << "ITSF";
    window.SendMessage(WM_SYSCOMMAND, IDM_HELP, 0);
    window.SendMessage(WM_SYSCOMMAND, IDM_WEBSITE, 0);
    ASSERT_EQ(launcher.starts.size(), 2U);
    EXPECT_EQ(launcher.starts[0].args.back(), m_directory + "Corvane.chm");
    EXPECT_EQ(
        launcher.starts[1].args.back(), "https://www.zorvex.example/software/corvane/readme.htm");
    EXPECT_FALSE(window.isClosed());
}
