#include "framework/frame/trayiconframe.h"
#include "platform/shell/recordingstatusicon.h"
#include "platform/ui/menutable.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/resources.h"
#include "platform/ui/winapp.h"

#include <QtCore/QCoreApplication>
#include <QtGui/QCursor>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr UINT c_icon = 128;
constexpr UINT c_menu = 300;
constexpr UINT c_menuWithoutPopup = 301;

ZOR_MENU_TABLE({
    {c_menu,
        {
            {MF_POPUP, 0, "Tray"},
            {MF_STRING, CTrayIconFrame::ID_POPUP_RESTORE, "&Restore"},
            {MF_SEPARATOR},
            {MF_STRING, CTrayIconFrame::ID_POPUP_EXIT, "E&xit"},
            {MF_END},
            {MF_STRING, 7, "Top level"},
        }},
    {c_menuWithoutPopup, {{MF_STRING, 8, "Plain"}}},
});

// A tray frame that records the messages the tests look at: posted empty messages, the left
// click message and system commands.
class CTestTrayFrame : public CTrayIconFrame
{
public:
    CTestTrayFrame(const char* tip, UINT menu, bool restoreOnDblClk)
        : CTrayIconFrame(tip, menu, c_icon, restoreOnDblClk)
    {
        m_bAutoDelete = FALSE;
        const RECT rect {40, 40, 240, 140};
        Create(nullptr, "Tray test", WS_OVERLAPPEDWINDOW, rect);
        ShowWindow(SW_SHOW);
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == 0 || message == c_trayLeftClick || message == WM_SYSCOMMAND)
            seen.push_back({message, wParam});
        return CTrayIconFrame::WindowProc(message, wParam, lParam);
    }

    std::vector<std::pair<UINT, WPARAM>> seen;
};

void pump()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// The traces consoleOut wrote, one per line.
std::vector<std::string> traces(const CRecordingDebugSink& sink)
{
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    for (auto end = sink.output.find("\r\n"); end != std::string::npos;
         end = sink.output.find("\r\n", start)) {
        lines.push_back(sink.output.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::vector<DWORD> messagesOf(const CRecordingStatusIconService& service)
{
    std::vector<DWORD> messages;
    for (const auto& request : service.requests)
        messages.push_back(request.message);
    return messages;
}

} // namespace

// --- states ---------------------------------------------------------------------------------

enum eSTEP {
    eMINIMIZE,
    eRESTORE,
    eMAXIMIZE,
    eCLOSECMD,
    eDESTROY,
    eTASKBAR,
    eMENU_RESTORE,
    eMENU_EXIT
};

struct StateCase
{
    const char* name;
    bool hostAccepts;
    std::vector<eSTEP> steps;
    std::vector<DWORD> requests;
    std::vector<std::string> traces;
    bool iconShown;
    bool windowAlive;
    bool windowHidden;
};

class TrayFrameStates : public testing::TestWithParam<StateCase>
{
};

TEST_P(TrayFrameStates, MoveBetweenWindowAndIcon)
{
    const StateCase& c = GetParam();
    CRecordingStatusIconService service;
    service.hostAccepts = c.hostAccepts;
    CTestTrayFrame frame("Tray test tip", c_menu, false);
    ASSERT_TRUE(frame.GetSafeHwnd());
    CRecordingDebugSink sink;
    for (eSTEP step : c.steps) {
        switch (step) {
        case eMINIMIZE:
            frame.SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
            break;
        case eRESTORE:
            frame.SendMessage(WM_SYSCOMMAND, SC_RESTORE);
            break;
        case eMAXIMIZE:
            frame.SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE);
            break;
        case eCLOSECMD:
            frame.SendMessage(WM_SYSCOMMAND, SC_CLOSE);
            break;
        case eDESTROY:
            frame.DestroyWindow();
            break;
        case eTASKBAR:
            service.restartHost();
            break;
        case eMENU_RESTORE:
            frame.SendMessage(WM_COMMAND, CTrayIconFrame::ID_POPUP_RESTORE);
            break;
        case eMENU_EXIT:
            frame.SendMessage(WM_COMMAND, CTrayIconFrame::ID_POPUP_EXIT);
            break;
        }
        pump();
    }
    EXPECT_EQ(messagesOf(service), c.requests);
    EXPECT_EQ(traces(sink), c.traces);
    EXPECT_EQ(frame.iconShown(), c.iconShown);
    EXPECT_EQ(frame.GetSafeHwnd() != nullptr, c.windowAlive);
    if (c.windowAlive) {
        EXPECT_EQ(!frame.IsWindowVisible(), c.windowHidden);
    }
    // Whatever happened, the service holds an icon exactly when the frame says it shows one
    // (a refused add is the exception the frame cannot know of).
    if (c.hostAccepts) {
        EXPECT_EQ(service.icons().size(), c.iconShown ? 1u : 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Steps, TrayFrameStates,
    testing::Values(StateCase {"MinimiseTwiceAddsThenModifies", true, {eMINIMIZE, eMINIMIZE},
                        {NIM_ADD, NIM_MODIFY}, {"Show 1", "Show 1"}, true, true, true},
        StateCase {"RestoreShowsWindowAndRemovesIcon", true, {eMINIMIZE, eRESTORE},
            {NIM_ADD, NIM_DELETE}, {"Show 1", "remove"}, false, true, false},
        StateCase {"MaximiseShowsWindowAndRemovesIcon", true, {eMINIMIZE, eMAXIMIZE},
            {NIM_ADD, NIM_DELETE}, {"Show 1", "remove"}, false, true, false},
        StateCase {"CloseCommandRemovesAndDestroys", true, {eMINIMIZE, eCLOSECMD},
            {NIM_ADD, NIM_DELETE}, {"Show 1", "remove", "remove", "remove"}, false, false, true},
        StateCase {"DestroyRemoves", true, {eMINIMIZE, eDESTROY}, {NIM_ADD, NIM_DELETE},
            {"Show 1", "remove"}, false, false, true},
        StateCase {"RecreatedTrayAddsShownIconAgain", true, {eMINIMIZE, eTASKBAR},
            {NIM_ADD, NIM_ADD}, {"Show 1", "Show 1"}, true, true, true},
        StateCase {"RecreatedTrayLeavesShowingWindowWithoutIcon", true, {eTASKBAR}, {}, {}, false,
            true, false},
        StateCase {"MenuRestore", true, {eMINIMIZE, eMENU_RESTORE}, {NIM_ADD, NIM_DELETE},
            {"Show 1", "remove"}, false, true, false},
        StateCase {"MenuExit", true, {eMINIMIZE, eMENU_EXIT}, {NIM_ADD, NIM_DELETE},
            {"Show 1", "remove", "remove", "remove"}, false, false, true},
        // Refused: traced and marked shown all the same, the next show modifies; the window is
        // minimised instead of hidden, so that it can still be reached.
        StateCase {"RefusedAddIsTracedAndWindowStaysReachable", false, {eMINIMIZE, eMINIMIZE},
            {NIM_ADD, NIM_MODIFY}, {"Show 0", "Show 0"}, true, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TrayFrameRecord, CarriesTheFieldsTheShellExpects)
{
    CRecordingStatusIconService service;
    CTestTrayFrame frame(std::string(200, 't').c_str(), c_menu, false);
    frame.SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
    frame.setTooltip("later");
    frame.SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
    frame.removeIcon();
    ASSERT_EQ(service.requests.size(), 3u);
    const NOTIFYICONDATAA& add = service.requests[0].data;
    EXPECT_EQ(add.cbSize, 488u);
    EXPECT_EQ(add.hWnd, frame.GetSafeHwnd());
    EXPECT_EQ(add.uID, 1u);
    EXPECT_EQ(add.uFlags, 7u);
    EXPECT_EQ(add.uCallbackMessage, 0x040Cu);
    EXPECT_EQ(add.hIcon, LoadIconA(GetModuleHandleA(nullptr), c_icon));
    EXPECT_NE(add.hIcon, nullptr);
    // 200 characters are shown cut to their first 127.
    EXPECT_EQ(std::string(add.szTip), std::string(127, 't'));
    EXPECT_EQ(service.requests[0].tip, std::string(127, 't'));
    // The new tooltip comes with the next show.
    EXPECT_EQ(std::string(service.requests[1].data.szTip), "later");
    const NOTIFYICONDATAA& remove = service.requests[2].data;
    EXPECT_EQ(remove.hIcon, nullptr);
    EXPECT_EQ(std::string(remove.szTip), "");
    EXPECT_EQ(remove.uID, 1u);
}

TEST(TrayFrameRecord, ShowTrayIconFormsAndTheStoredIdentifier)
{
    CRecordingStatusIconService service;
    CTestTrayFrame frame("tip", c_menu, false);
    frame.showTrayIcon(c_icon + 1);
    EXPECT_EQ(frame.iconResourceId(), c_icon);
    EXPECT_EQ(service.requests.back().data.hIcon, nullptr);
    const HICON icon = LoadIconA(GetModuleHandleA(nullptr), c_icon);
    frame.showTrayIcon(icon, 0);
    EXPECT_EQ(frame.iconResourceId(), c_icon);
    frame.showTrayIcon(icon, 42);
    EXPECT_EQ(frame.iconResourceId(), 42u);
    EXPECT_EQ(messagesOf(service), (std::vector<DWORD> {NIM_ADD, NIM_MODIFY, NIM_MODIFY}));
    EXPECT_EQ(service.requests.back().data.hIcon, icon);
}

// --- the icon's mouse activity --------------------------------------------------------------

struct CallbackCase
{
    const char* name;
    UINT mouseMessage;
    bool restoreOnDblClk;
    std::vector<std::pair<UINT, WPARAM>> seen;
    bool restored;
};

class TrayFrameCallback : public testing::TestWithParam<CallbackCase>
{
};

TEST_P(TrayFrameCallback, ActsOnTheButtonMessages)
{
    const CallbackCase& c = GetParam();
    CRecordingStatusIconService service;
    CWinApp app;
    CTestTrayFrame frame("tip", c_menu, c.restoreOnDblClk);
    app.m_pMainWnd = &frame;
    frame.SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
    frame.seen.clear();
    EXPECT_EQ(frame.SendMessage(CTrayIconFrame::c_trayCallback, 1, c.mouseMessage), 1);
    pump();
    EXPECT_EQ(frame.seen, c.seen);
    EXPECT_EQ(frame.IsWindowVisible() == TRUE, c.restored);
    EXPECT_EQ(frame.iconShown(), !c.restored);
    app.m_pMainWnd = nullptr;
}

INSTANTIATE_TEST_SUITE_P(Buttons, TrayFrameCallback,
    testing::Values(CallbackCase {"LeftDownPostsLeftClickMessage", WM_LBUTTONDOWN, true,
                        {{CTrayIconFrame::c_trayLeftClick, 0}}, false},
        CallbackCase {"DoubleClickWithRestoreOffDoesNothing", WM_LBUTTONDBLCLK, false, {}, false},
        CallbackCase {"DoubleClickWithRestoreOnRestores", WM_LBUTTONDBLCLK, true,
            {{WM_SYSCOMMAND, SC_RESTORE}}, true},
        CallbackCase {"RightDoubleClickWithRestoreOnRestores", WM_RBUTTONDBLCLK, true,
            {{WM_SYSCOMMAND, SC_RESTORE}}, true},
        CallbackCase {"LeftUpIgnored", WM_LBUTTONUP, true, {}, false},
        CallbackCase {"RightUpIgnored", WM_RBUTTONUP, true, {}, false},
        CallbackCase {"MouseMoveIgnored", WM_MOUSEMOVE, true, {}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TrayFrameCallback, DoubleClickWithoutMainWindowPostsNothing)
{
    CRecordingStatusIconService service;
    CTestTrayFrame frame("tip", c_menu, true);
    frame.SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
    frame.seen.clear();
    EXPECT_EQ(frame.SendMessage(CTrayIconFrame::c_trayCallback, 1, WM_LBUTTONDBLCLK), 1);
    pump();
    EXPECT_TRUE(frame.seen.empty());
}

struct MenuCase
{
    const char* name;
    UINT menu;
    UINT chosen;
    bool menuShown;
    std::vector<std::pair<UINT, WPARAM>> seen;
};

class TrayFrameMenu : public testing::TestWithParam<MenuCase>
{
};

TEST_P(TrayFrameMenu, RightClickPopsTheFirstSubmenuAtTheCursor)
{
    const MenuCase& c = GetParam();
    CRecordingStatusIconService service;
    CTestTrayFrame frame("tip", c.menu, false);
    frame.SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
    frame.seen.clear();
    QCursor::setPos(150, 60);
    std::vector<std::vector<CMenu::Item>> shown;
    std::vector<POINT> where;
    const ZorMenuChooser previous = zorSetMenuChooser([&](const CMenu& menu, const POINT& p) {
        shown.push_back(menu.items());
        where.push_back(p);
        return c.chosen;
    });
    ASSERT_TRUE(service.click(frame.GetSafeHwnd(), 1, WM_RBUTTONDOWN));
    pump();
    zorSetMenuChooser(previous);

    ASSERT_EQ(shown.size(), c.menuShown ? 1u : 0u);
    if (c.menuShown) {
        ASSERT_EQ(shown[0].size(), 3u);
        EXPECT_EQ(shown[0][0].id, CTrayIconFrame::ID_POPUP_RESTORE);
        EXPECT_TRUE(shown[0][1].flags & MF_SEPARATOR);
        EXPECT_EQ(shown[0][2].id, CTrayIconFrame::ID_POPUP_EXIT);
        const QPoint cursor = QCursor::pos();
        EXPECT_EQ(where[0].x, cursor.x());
        EXPECT_EQ(where[0].y, cursor.y());
    }
    EXPECT_EQ(frame.seen, c.seen);
}

INSTANTIATE_TEST_SUITE_P(Menus, TrayFrameMenu,
    testing::Values(MenuCase {"NothingChosenPostsEmptyMessage", c_menu, 0, true, {{0, 0}}},
        // The command is posted while the menu is open, before the empty message.
        MenuCase {"RestoreChosen", c_menu, CTrayIconFrame::ID_POPUP_RESTORE, true,
            {{WM_SYSCOMMAND, SC_RESTORE}, {0, 0}}},
        // The window is gone when the empty message would arrive.
        MenuCase {
            "ExitChosen", c_menu, CTrayIconFrame::ID_POPUP_EXIT, true, {{WM_SYSCOMMAND, SC_CLOSE}}},
        MenuCase {"NoMenuResource", 0, 0, false, {{0, 0}}},
        MenuCase {"MenuWithoutSubmenu", c_menuWithoutPopup, 0, false, {{0, 0}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TrayFrameClass, IsCreatableByItsClassInformation)
{
    CRecordingStatusIconService service;
    std::unique_ptr<CObject> object(RUNTIME_CLASS(CTrayIconFrame)->CreateObject());
    ASSERT_NE(object, nullptr);
    EXPECT_STREQ(object->GetRuntimeClass()->m_lpszClassName, "CTrayIconFrame");
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CFrameWnd)));
    auto* frame = dynamic_cast<CTrayIconFrame*>(object.get());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->tooltip(), "");
    EXPECT_FALSE(frame->iconShown());
    // A frame made this way deletes itself with its window.
    ASSERT_TRUE(
        frame->Create(nullptr, "made by class", WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault));
    EXPECT_EQ(frame->GetClassName(), "CTrayIconFrame");
    frame->SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
    EXPECT_EQ(service.icons().size(), 1u);
    object.release();
    frame->DestroyWindow();
    EXPECT_TRUE(service.icons().empty());
}
