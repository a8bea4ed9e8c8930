#include "platform/shell/recordingstatusicon.h"
#include "platform/shell/statusicon.h"
#include "platform/shell/trayhostwatch.h"
#include "platform/ui/registeredmessage.h"

#include <QtCore/QCoreApplication>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A top-level window that records the messages it receives.
class CMessageLog : public CWnd
{
public:
    struct Entry
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    CMessageLog()
    {
        const RECT rect {0, 0, 120, 80};
        CreateEx(0, "Log", "log", WS_OVERLAPPED, rect, nullptr, 0);
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= WM_USER)
            log.push_back({message, wParam, lParam});
        return CWnd::WindowProc(message, wParam, lParam);
    }

    std::vector<Entry> log;
};

NOTIFYICONDATAA recordFor(HWND owner, UINT flags, const std::string& tip = "tip")
{
    NOTIFYICONDATAA data;
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = owner;
    data.uID = 1;
    data.uFlags = flags;
    data.uCallbackMessage = WM_USER + 12;
    tip.copy(data.szTip, sizeof data.szTip - 1);
    return data;
}

constexpr UINT c_all = NIF_MESSAGE | NIF_ICON | NIF_TIP;

} // namespace

// --- the icon table -------------------------------------------------------------------------

struct TableCase
{
    const char* name;
    bool hostAccepts;
    std::vector<DWORD> requests;
    std::vector<BOOL> results;
    std::size_t iconsAfter;
};

class StatusIconTable : public testing::TestWithParam<TableCase>
{
};

TEST_P(StatusIconTable, AnswersAsTheShellKeepsIcons)
{
    const TableCase& c = GetParam();
    CRecordingStatusIconService service;
    service.hostAccepts = c.hostAccepts;
    CMessageLog owner;
    std::vector<BOOL> results;
    for (DWORD request : c.requests) {
        NOTIFYICONDATAA data = recordFor(owner.GetSafeHwnd(), c_all);
        results.push_back(Shell_NotifyIconA(request, &data));
    }
    EXPECT_EQ(results, c.results);
    EXPECT_EQ(service.icons().size(), c.iconsAfter);
}

INSTANTIATE_TEST_SUITE_P(Requests, StatusIconTable,
    testing::Values(TableCase {"AddThenModify", true, {NIM_ADD, NIM_MODIFY}, {TRUE, TRUE}, 1},
        TableCase {"AddTwiceFailsTheSecond", true, {NIM_ADD, NIM_ADD}, {TRUE, FALSE}, 1},
        TableCase {"ModifyWithoutAddFails", true, {NIM_MODIFY}, {FALSE}, 0},
        TableCase {"DeleteTakesItAway", true, {NIM_ADD, NIM_DELETE, NIM_MODIFY, NIM_DELETE},
            {TRUE, TRUE, FALSE, FALSE}, 0},
        TableCase {"RefusedAddKeepsNothing", false, {NIM_ADD, NIM_MODIFY}, {FALSE, FALSE}, 0},
        TableCase {"UnknownRequestFails", true, {7}, {FALSE}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StatusIconRecord, UnsoundRecordsAreRefused)
{
    CRecordingStatusIconService service;
    CMessageLog owner;
    NOTIFYICONDATAA wrongSize = recordFor(owner.GetSafeHwnd(), c_all);
    wrongSize.cbSize = sizeof(NOTIFYICONDATAA) + 1;
    EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, &wrongSize));
    NOTIFYICONDATAA noWindow = recordFor(nullptr, c_all);
    EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, &noWindow));
    EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, nullptr));
    EXPECT_TRUE(service.requests.empty());
    EXPECT_TRUE(service.icons().empty());
}

// --- tooltips -------------------------------------------------------------------------------

struct TipCase
{
    const char* name;
    DWORD cbSize;
    std::string tip;
    // The whole field filled, with no terminating zero.
    bool unterminated;
    std::size_t keptLength;
};

class StatusIconTip : public testing::TestWithParam<TipCase>
{
};

TEST_P(StatusIconTip, IsReadWithinItsFieldAndCut)
{
    const TipCase& c = GetParam();
    CRecordingStatusIconService service;
    CMessageLog owner;
    NOTIFYICONDATAA data = recordFor(owner.GetSafeHwnd(), c_all, c.tip);
    data.cbSize = c.cbSize;
    if (c.unterminated)
        std::fill(std::begin(data.szTip), std::end(data.szTip), 'u');
    ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
    const ZorStatusIcon* icon = service.find(owner.GetSafeHwnd(), 1);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->tip.size(), c.keptLength);
    const std::string source = c.unterminated ? std::string(128, 'u') : c.tip;
    EXPECT_EQ(icon->tip, source.substr(0, c.keptLength));
}

INSTANTIATE_TEST_SUITE_P(Tips, StatusIconTip,
    testing::Values(TipCase {"Short", NOTIFYICONDATAA_V2_SIZE, "Corvane", false, 7},
        TipCase {"FullLength", NOTIFYICONDATAA_V2_SIZE, std::string(127, 'a'), false, 127},
        TipCase {"UnterminatedField", NOTIFYICONDATAA_V2_SIZE, "", true, 127},
        TipCase {"FirstVersionRecord", NOTIFYICONDATAA_V1_SIZE, std::string(100, 'b'), false, 63}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StatusIconTip, ModifyChangesOnlyTheFieldsItNames)
{
    CRecordingStatusIconService service;
    CMessageLog owner;
    NOTIFYICONDATAA add = recordFor(owner.GetSafeHwnd(), c_all, "first");
    ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &add));
    NOTIFYICONDATAA iconOnly = recordFor(owner.GetSafeHwnd(), NIF_ICON, "second");
    ASSERT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &iconOnly));
    EXPECT_EQ(service.find(owner.GetSafeHwnd(), 1)->tip, "first");
    NOTIFYICONDATAA tip = recordFor(owner.GetSafeHwnd(), NIF_TIP, "third");
    ASSERT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &tip));
    EXPECT_EQ(service.find(owner.GetSafeHwnd(), 1)->tip, "third");
}

// --- mouse activity and the tray's host -----------------------------------------------------

TEST(StatusIconMouse, ArrivesAsTheCallbackMessageWithTheMouseMessage)
{
    CRecordingStatusIconService service;
    CMessageLog owner;
    NOTIFYICONDATAA data = recordFor(owner.GetSafeHwnd(), c_all);
    ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
    EXPECT_TRUE(service.click(owner.GetSafeHwnd(), 1, WM_RBUTTONDOWN));
    EXPECT_FALSE(service.click(owner.GetSafeHwnd(), 2, WM_RBUTTONDOWN));
    QCoreApplication::processEvents();
    ASSERT_EQ(owner.log.size(), 1u);
    EXPECT_EQ(owner.log[0].message, WM_USER + 12);
    EXPECT_EQ(owner.log[0].wParam, 1u);
    EXPECT_EQ(owner.log[0].lParam, static_cast<LPARAM>(WM_RBUTTONDOWN));
}

TEST(StatusIconMouse, IconWithoutCallbackOrOwnerReportsNothing)
{
    CRecordingStatusIconService service;
    auto owner = std::make_unique<CMessageLog>();
    const HWND hwnd = owner->GetSafeHwnd();
    NOTIFYICONDATAA quiet = recordFor(hwnd, NIF_ICON | NIF_TIP);
    ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &quiet));
    EXPECT_FALSE(service.click(hwnd, 1, WM_LBUTTONDOWN));
    QCoreApplication::processEvents();
    EXPECT_TRUE(owner->log.empty());
    // The owner ends without deleting its icon: the icon goes at the first touch.
    owner.reset();
    EXPECT_FALSE(service.click(hwnd, 1, WM_LBUTTONDOWN));
    EXPECT_TRUE(service.icons().empty());
}

TEST(StatusIconHost, RestartLosesIconsAndTellsEveryTopLevelWindow)
{
    CRecordingStatusIconService service;
    CMessageLog shown;
    CMessageLog hidden;
    hidden.ShowWindow(SW_HIDE);
    CWnd child;
    const RECT rect {0, 0, 10, 10};
    ASSERT_TRUE(child.CreateEx(0, "Child", "", WS_CHILD, rect, &shown, 5));
    NOTIFYICONDATAA data = recordFor(shown.GetSafeHwnd(), c_all);
    ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));

    service.restartHost();
    QCoreApplication::processEvents();

    const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    EXPECT_TRUE(service.icons().empty());
    for (const CMessageLog* window : {&shown, &hidden}) {
        ASSERT_EQ(window->log.size(), 1u);
        EXPECT_EQ(window->log[0].message, taskbarCreated);
    }
    // The icon was lost with the host: it is added again, not modified.
    EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &data));
    EXPECT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
}

struct WatchCase
{
    const char* name;
    std::vector<bool> looks;
    std::vector<CTrayHostWatch::eCHANGE> changes;
};

class TrayHostWatch : public testing::TestWithParam<WatchCase>
{
};

TEST_P(TrayHostWatch, ReportsComingAndGoingAfterTheFirstLook)
{
    CTrayHostWatch watch;
    std::vector<CTrayHostWatch::eCHANGE> changes;
    for (bool available : GetParam().looks)
        changes.push_back(watch.update(available));
    EXPECT_EQ(changes, GetParam().changes);
}

INSTANTIATE_TEST_SUITE_P(Looks, TrayHostWatch,
    testing::Values(WatchCase {"ThereFromTheStart", {true, true},
                        {CTrayHostWatch::eNONE, CTrayHostWatch::eNONE}},
        WatchCase {"ComesAfterStart", {false, false, true},
            {CTrayHostWatch::eNONE, CTrayHostWatch::eNONE, CTrayHostWatch::eCAME}},
        WatchCase {"Restarted", {true, false, true},
            {CTrayHostWatch::eNONE, CTrayHostWatch::eLOST, CTrayHostWatch::eCAME}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RegisteredMessage, OneNumberPerNameWithoutRegardToCase)
{
    const UINT first = RegisterWindowMessageA("TaskbarCreated");
    EXPECT_GE(first, ZOR_FIRST_REGISTERED_MESSAGE);
    EXPECT_EQ(RegisterWindowMessageA("TASKBARCREATED"), first);
    const UINT other = RegisterWindowMessageA("ZorvexStatusIconTestMessage");
    EXPECT_GE(other, ZOR_FIRST_REGISTERED_MESSAGE);
    EXPECT_NE(other, first);
    EXPECT_EQ(RegisterWindowMessageA(""), 0u);
    EXPECT_EQ(RegisterWindowMessageA(nullptr), 0u);
}
