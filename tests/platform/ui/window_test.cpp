#include "platform/gdi/syscolor.h"
#include "platform/ui/winapp.h"
#include "platform/ui/window.h"
#include "tests/platform/ui/uitestapp.h"

#include <gtest/gtest.h>

#include <QtGui/QScreen>

#include <memory>
#include <vector>

namespace {

QRgb rgbOf(COLORREF color)
{
    return qRgb(GetRValue(color), GetGValue(color), GetBValue(color));
}

// A plain window that records the messages it handles.
class RecordingWnd : public CWnd
{
public:
    std::vector<UINT> messages;
    std::vector<CPoint> points;
    std::vector<UINT_PTR> timers;
    std::vector<std::pair<UINT, LPARAM>> sysCommands;
    bool eatLeftDown {false};
    int preTranslated {0};
    UINT lastPreTranslated {0};
    HWND lastPreTranslatedHwnd {nullptr};
    bool eatPreTranslate {false};
    CRect fillRect {2, 2, 5, 5};
    COLORREF fillColor {RGB(255, 0, 0)};
    MINMAXINFO lastMinMax {};
    POINT minTrack {0, 0};
    POINT maxSize {0, 0};
    POINT maxPosition {0, 0};
    LRESULT gripHit {HTCLIENT};
    CRect gripRect;
    bool reflect {false};
    int reflected {0};
    bool destroyed {false};

    void OnLButtonDown(UINT, CPoint point) override
    {
        messages.push_back(WM_LBUTTONDOWN);
        points.push_back(point);
    }
    void OnMouseMove(UINT flags, CPoint point) override
    {
        messages.push_back(WM_MOUSEMOVE);
        points.push_back(point);
        CWnd::OnMouseMove(flags, point);
    }
    void OnTimer(UINT_PTR id) override { timers.push_back(id); }
    void OnSysCommand(UINT id, LPARAM lParam) override
    {
        sysCommands.emplace_back(id, lParam);
        CWnd::OnSysCommand(id, lParam);
    }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST
            && msg->message != WM_MOUSEMOVE) {
            ++preTranslated;
            lastPreTranslated = msg->message;
            lastPreTranslatedHwnd = msg->hwnd;
            return eatPreTranslate;
        }
        return FALSE;
    }
    void OnPaint() override
    {
        CPaintDC dc(this);
        CBrush brush(fillColor);
        dc.FillRect(&fillRect, &brush);
    }
    void OnGetMinMaxInfo(MINMAXINFO* info) override
    {
        lastMinMax = *info;
        if (minTrack.x)
            info->ptMinTrackSize = minTrack;
        if (maxSize.x) {
            info->ptMaxSize = maxSize;
            info->ptMaxPosition = maxPosition;
        }
    }
    LRESULT OnNcHitTest(CPoint point) override
    {
        CPoint client = point;
        ScreenToClient(&client);
        if (gripRect.PtInRect(client))
            return gripHit;
        return CWnd::OnNcHitTest(point);
    }
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        if (reflect) {
            ++reflected;
            return TRUE;
        }
        return CWnd::OnChildNotify(message, wParam, lParam, result);
    }
    void OnDestroy() override { destroyed = true; }
};

constexpr DWORD c_topStyle
    = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

std::unique_ptr<RecordingWnd> makeTop(
    const CRect& rect = CRect(100, 100, 300, 250), DWORD style = c_topStyle)
{
    uiTestApp();
    auto wnd = std::make_unique<RecordingWnd>();
    EXPECT_TRUE(wnd->CreateEx(0, "ZorTest", "Test", style, rect, nullptr, 0));
    return wnd;
}

std::unique_ptr<RecordingWnd> makeChild(CWnd* parent, UINT id, const CRect& rect)
{
    auto wnd = std::make_unique<RecordingWnd>();
    EXPECT_TRUE(wnd->CreateEx(0, "ZorChild", "", WS_CHILD | WS_VISIBLE, rect, parent, id));
    return wnd;
}

// Chooses items of opened menus as a person would, recording what was offered.
struct MenuRecorder
{
    std::vector<CMenu> opened;
    UINT answer {0};
    MenuRecorder()
    {
        zorSetMenuChooser([this](const CMenu& menu, const POINT&) {
            opened.push_back(menu);
            return answer;
        });
    }
    ~MenuRecorder() { zorSetMenuChooser({}); }
};

bool itemEnabled(const CMenu& menu, UINT id)
{
    for (const CMenu::Item& item : menu.items()) {
        if (item.id == id)
            return !(item.flags & (MF_GRAYED | MF_DISABLED));
    }
    ADD_FAILURE() << "no item " << id;
    return false;
}

} // namespace

TEST(WindowHandles, ChildrenHaveIdsAndHandlesDieWithTheirWindow)
{
    auto top = makeTop();
    auto child = makeChild(top.get(), 1001, CRect(10, 20, 60, 40));
    const HWND handle = child->m_hWnd;
    ASSERT_TRUE(IsWindow(handle));
    EXPECT_EQ(CWnd::FromHandle(handle), child.get());
    EXPECT_EQ(top->GetDlgItem(1001), child.get());
    EXPECT_EQ(child->GetParent(), top.get());
    EXPECT_EQ(top->GetWindow(GW_CHILD), child.get());
    EXPECT_EQ(child->GetWindow(GW_HWNDNEXT), nullptr);
    CRect rect;
    child->GetWindowRect(&rect);
    top->ScreenToClient(&rect);
    EXPECT_EQ(rect, CRect(10, 20, 60, 40));

    top->DestroyWindow();
    EXPECT_TRUE(child->destroyed) << "children hear of the end of their parent";
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(CWnd::FromHandle(handle), nullptr);
    EXPECT_EQ(child->m_hWnd, nullptr);
}

TEST(WindowHandles, SiblingsInCreationOrder)
{
    auto top = makeTop();
    auto a = makeChild(top.get(), 1, CRect(0, 0, 10, 10));
    auto b = makeChild(top.get(), 2, CRect(10, 0, 20, 10));
    auto c = makeChild(top.get(), 3, CRect(20, 0, 30, 10));
    EXPECT_EQ(a->GetWindow(GW_HWNDNEXT), b.get());
    EXPECT_EQ(b->GetWindow(GW_HWNDNEXT), c.get());
    EXPECT_EQ(c->GetWindow(GW_HWNDPREV), b.get());
    EXPECT_EQ(a->GetWindow(GW_HWNDPREV), nullptr);
}

TEST(WindowText, TopLevelTitleAndChildText)
{
    auto top = makeTop();
    top->SetWindowText("Caf\xe9 \x80");
    EXPECT_EQ(top->widget()->windowTitle(), QString::fromUtf8("Café €"));
    EXPECT_EQ(top->GetWindowText(), "Caf\xe9 \x80");
    auto child = makeChild(top.get(), 5, CRect(0, 0, 10, 10));
    child->SetWindowText("abc");
    EXPECT_EQ(child->GetWindowText(), "abc");
    EXPECT_EQ(child->GetWindowTextLength(), 3);
}

TEST(WindowStyle, VisibleAndDisabledFollowTheWidget)
{
    auto top = makeTop();
    auto child = makeChild(top.get(), 5, CRect(0, 0, 10, 10));
    EXPECT_TRUE(child->GetStyle() & WS_VISIBLE);
    child->ShowWindow(SW_HIDE);
    EXPECT_FALSE(child->GetStyle() & WS_VISIBLE);
    child->EnableWindow(FALSE);
    EXPECT_TRUE(child->GetStyle() & WS_DISABLED);
    child->ModifyStyle(WS_DISABLED, WS_VISIBLE);
    EXPECT_TRUE(child->IsWindowEnabled());
    EXPECT_FALSE(child->widget()->isHidden());
}

TEST(WindowPaint, OnPaintDrawsWithGdiRulesOverTheErasedBackground)
{
    auto top = makeTop(CRect(100, 100, 120, 110));
    top->ShowWindow(SW_SHOW);
    const QImage image = top->grabClient();
    ASSERT_EQ(image.size(), QSize(20, 10));
    // FillRect covers [2,5) x [2,5): right and bottom edges excluded.
    EXPECT_EQ(image.pixel(2, 2), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(4, 4), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(5, 4), rgbOf(GetSysColor(COLOR_3DFACE)));
    EXPECT_EQ(image.pixel(4, 5), rgbOf(GetSysColor(COLOR_3DFACE)));
    EXPECT_EQ(image.pixel(0, 0), rgbOf(GetSysColor(COLOR_3DFACE)));
    EXPECT_GE(top->paintCount(), 1);
}

TEST(WindowPaint, InvalidateAndUpdateRepaintOnce)
{
    auto top = makeTop(CRect(100, 100, 140, 130));
    top->ShowWindow(SW_SHOW);
    processEventsFor(50);
    const int before = top->paintCount();
    top->Invalidate();
    top->UpdateWindow();
    EXPECT_EQ(top->paintCount(), before + 1);
    top->UpdateWindow();
    EXPECT_EQ(top->paintCount(), before + 1) << "nothing was invalid";
}

TEST(WindowMessages, MouseInClientCoordinatesAndThroughThePump)
{
    auto top = makeTop();
    auto child = makeChild(top.get(), 7, CRect(10, 10, 110, 60));
    top->ShowWindow(SW_SHOW);
    sendMouse(child->widget(), QEvent::MouseButtonPress, QPoint(5, 6));
    ASSERT_EQ(child->messages.size(), 1u);
    EXPECT_EQ(child->messages[0], WM_LBUTTONDOWN);
    EXPECT_EQ(child->points[0], CPoint(5, 6));
    // The parent's PreTranslateMessage saw the child's message first.
    EXPECT_EQ(child->preTranslated, 1);
    EXPECT_EQ(top->preTranslated, 1);
    EXPECT_EQ(top->lastPreTranslated, WM_LBUTTONDOWN);
    EXPECT_EQ(top->lastPreTranslatedHwnd, child->m_hWnd);

    // A window that takes the message in PreTranslateMessage keeps it from the target.
    top->eatPreTranslate = true;
    sendMouse(child->widget(), QEvent::MouseButtonPress, QPoint(7, 8));
    EXPECT_EQ(child->messages.size(), 1u);
}

TEST(WindowMessages, CommandsReachHandlersUnlessTheChildTakesThemBack)
{
    auto top = makeTop();
    auto child = makeChild(top.get(), 1010, CRect(0, 0, 10, 10));
    int clicked = 0;
    std::vector<UINT> ranged;
    top->onCommand(1010, 0, [&] { ++clicked; });
    top->onCommandRange(2000, 2004, 0, [&](UINT id) { ranged.push_back(id); });
    child->notifyParent(0u);
    EXPECT_EQ(clicked, 1);
    // Another notification code of the same control has no handler.
    child->notifyParent(0x300u);
    EXPECT_EQ(clicked, 1);
    top->SendMessage(WM_COMMAND, MAKEWPARAM(2003, 0), 0);
    EXPECT_EQ(ranged, std::vector<UINT>({2003}));

    child->reflect = true;
    child->notifyParent(0u);
    EXPECT_EQ(child->reflected, 1);
    EXPECT_EQ(clicked, 1) << "a reflected notification the child handled stops there";
}

TEST(WindowMessages, NotificationsCarryTheSenderAndAResult)
{
    auto top = makeTop();
    auto child = makeChild(top.get(), 1011, CRect(0, 0, 10, 10));
    NMHDR seen {};
    top->onNotify(1011, static_cast<UINT>(-722), [&](NMHDR* header, LRESULT* result) {
        seen = *header;
        *result = 1;
    });
    NMHDR header {};
    header.code = static_cast<UINT>(-722);
    EXPECT_EQ(child->notifyParent(&header), 1);
    EXPECT_EQ(seen.hwndFrom, child->m_hWnd);
    EXPECT_EQ(seen.idFrom, 1011u);
}

TEST(WindowMessages, PostedMessagesArriveLaterAndNotAfterDestruction)
{
    auto top = makeTop();
    int got = 0;
    top->onCommand(3000, 0, [&] { ++got; });
    top->PostMessage(WM_COMMAND, MAKEWPARAM(3000, 0), 0);
    EXPECT_EQ(got, 0);
    processUntil([&] { return got == 1; }, 1000);
    EXPECT_EQ(got, 1);

    top->PostMessage(WM_COMMAND, MAKEWPARAM(3000, 0), 0);
    top->DestroyWindow();
    processEventsFor(50);
    EXPECT_EQ(got, 1);
}

TEST(WindowTimers, WindowTimersAndThreadTimers)
{
    auto top = makeTop();
    top->SetTimer(7, 10);
    ASSERT_TRUE(processUntil([&] { return top->timers.size() >= 2; }));
    EXPECT_EQ(top->timers[0], 7u);
    top->KillTimer(7);
    const std::size_t count = top->timers.size();
    processEventsFor(60);
    EXPECT_EQ(top->timers.size(), count);

    static int threadTicks = 0;
    static UINT_PTR threadId = 0;
    threadTicks = 0;
    threadId = SetTimer(nullptr, 0, 20, [](HWND hwnd, UINT message, UINT_PTR id, DWORD) {
        EXPECT_EQ(hwnd, nullptr);
        EXPECT_EQ(message, WM_TIMER);
        EXPECT_EQ(id, threadId);
        ++threadTicks;
        KillTimer(nullptr, id);
    });
    ASSERT_NE(threadId, 0u);
    ASSERT_TRUE(processUntil([] { return threadTicks == 1; }));
    processEventsFor(80);
    EXPECT_EQ(threadTicks, 1) << "a timer killed in its own procedure stops";
}

TEST(WindowSystemMenu, AppendedItemsAndStandardStates)
{
    MenuRecorder menus;
    auto top
        = makeTop(CRect(100, 100, 300, 250), WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    top->ShowWindow(SW_SHOW);
    CMenu* menu = top->GetSystemMenu(FALSE);
    menu->AppendMenu(MF_SEPARATOR);
    menu->AppendMenu(MF_STRING, 0x0010, "&Options...");
    menus.answer = 0x0010;
    top->openSystemMenu(POINT {100, 100});
    ASSERT_EQ(menus.opened.size(), 1u);
    const CMenu& shown = menus.opened[0];
    EXPECT_EQ(shown.items().back().text, "&Options...");
    EXPECT_FALSE(itemEnabled(shown, SC_RESTORE));
    EXPECT_FALSE(itemEnabled(shown, SC_SIZE)) << "no sizing border";
    EXPECT_FALSE(itemEnabled(shown, SC_MAXIMIZE)) << "no maximise box";
    EXPECT_TRUE(itemEnabled(shown, SC_MINIMIZE));
    EXPECT_TRUE(itemEnabled(shown, SC_CLOSE));
    ASSERT_EQ(top->sysCommands.size(), 1u);
    EXPECT_EQ(top->sysCommands[0].first, 0x0010u);
}

TEST(WindowSystemMenu, AltSpaceAndRightClickOnTheBackgroundOpenIt)
{
    MenuRecorder menus;
    auto top = makeTop();
    auto child = makeChild(top.get(), 9, CRect(0, 0, 20, 20));
    top->ShowWindow(SW_SHOW);
    sendKey(child->widget(), Qt::Key_Space, Qt::AltModifier, " ");
    EXPECT_EQ(menus.opened.size(), 1u);
    sendMouse(top->widget(), QEvent::MouseButtonPress, QPoint(100, 100), Qt::RightButton);
    sendMouse(top->widget(), QEvent::MouseButtonRelease, QPoint(100, 100), Qt::RightButton);
    EXPECT_EQ(menus.opened.size(), 2u);
    // A right click on a control is the control's.
    sendMouse(child->widget(), QEvent::MouseButtonRelease, QPoint(5, 5), Qt::RightButton);
    EXPECT_EQ(menus.opened.size(), 2u);
}

TEST(WindowSystemMenu, CloseAndMinimiseCommands)
{
    MenuRecorder menus;
    auto top = makeTop();
    top->ShowWindow(SW_SHOW);
    menus.answer = SC_CLOSE;
    top->openSystemMenu(POINT {0, 0});
    EXPECT_TRUE(top->destroyed) << "Close ends a plain window";
}

TEST(WindowPlacement, NormalRectangleStateAndFlags)
{
    auto top = makeTop(CRect(100, 80, 740, 560));
    top->ShowWindow(SW_SHOW);
    WINDOWPLACEMENT placement;
    ASSERT_TRUE(top->GetWindowPlacement(&placement));
    EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
    EXPECT_EQ(CRect(placement.rcNormalPosition), CRect(100, 80, 740, 560));

    placement.rcNormalPosition = CRect(50, 60, 450, 360);
    ASSERT_TRUE(top->SetWindowPlacement(&placement));
    CRect rect;
    top->GetWindowRect(&rect);
    EXPECT_EQ(rect, CRect(50, 60, 450, 360));

    top->ShowWindow(SW_SHOWMAXIMIZED);
    processEventsFor(30);
    ASSERT_TRUE(top->GetWindowPlacement(&placement));
    EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
    EXPECT_EQ(CRect(placement.rcNormalPosition), CRect(50, 60, 450, 360));
}

TEST(WindowPlacement, OwnMaximisedRectangleAndRestore)
{
    auto top = makeTop(CRect(100, 100, 300, 250));
    top->maxSize = POINT {300, 200};
    top->maxPosition = POINT {10, 20};
    top->ShowWindow(SW_SHOW);
    top->ShowWindow(SW_SHOWMAXIMIZED);
    CRect rect;
    top->GetWindowRect(&rect);
    EXPECT_EQ(rect, CRect(10, 20, 310, 220));
    EXPECT_TRUE(top->IsZoomed());
    top->ShowWindow(SW_RESTORE);
    top->GetWindowRect(&rect);
    EXPECT_EQ(rect, CRect(100, 100, 300, 250));
    EXPECT_FALSE(top->IsZoomed());
}

TEST(WindowSizing, MinimumTrackSizeLimitsTheWindow)
{
    auto top = makeTop(CRect(100, 100, 400, 300));
    top->minTrack = POINT {250, 150};
    top->ShowWindow(SW_SHOW);
    top->updateTrackSizes();
    top->MoveWindow(100, 100, 100, 100);
    CRect rect;
    top->GetClientRect(&rect);
    EXPECT_EQ(rect.Width(), 250);
    EXPECT_EQ(rect.Height(), 150);
}

TEST(WindowSizing, DraggingASizingBorderResizesTheWindow)
{
    auto top = makeTop(CRect(100, 100, 300, 250));
    top->gripRect = CRect(184, 134, 200, 150);
    top->gripHit = HTBOTTOMRIGHT;
    top->ShowWindow(SW_SHOW);
    QWidget* w = top->widget();
    sendMouse(w, QEvent::MouseButtonPress, QPoint(190, 140));
    EXPECT_TRUE(top->messages.empty()) << "a press on the border is not a client click";
    sendMouse(w, QEvent::MouseMove, QPoint(240, 170), Qt::NoButton, Qt::LeftButton);
    sendMouse(w, QEvent::MouseButtonRelease, QPoint(240, 170));
    CRect rect;
    top->GetClientRect(&rect);
    EXPECT_EQ(rect.Width(), 250);
    EXPECT_EQ(rect.Height(), 180);
}

TEST(WindowSizing, DeferredMovesLandTogether)
{
    auto top = makeTop();
    auto a = makeChild(top.get(), 1, CRect(0, 0, 10, 10));
    auto b = makeChild(top.get(), 2, CRect(10, 0, 20, 10));
    HDWP moves = BeginDeferWindowPos(2);
    moves = DeferWindowPos(moves, a->m_hWnd, nullptr, 5, 6, 30, 20, SWP_NOZORDER);
    moves = DeferWindowPos(moves, b->m_hWnd, nullptr, 40, 6, 30, 20, SWP_NOZORDER);
    ASSERT_TRUE(EndDeferWindowPos(moves));
    CRect rect;
    a->GetWindowRect(&rect);
    top->ScreenToClient(&rect);
    EXPECT_EQ(rect, CRect(5, 6, 35, 26));
    b->GetWindowRect(&rect);
    top->ScreenToClient(&rect);
    EXPECT_EQ(rect, CRect(40, 6, 70, 26));
    // A dead window gives up the whole set.
    HDWP bad = BeginDeferWindowPos(1);
    EXPECT_EQ(DeferWindowPos(bad, reinterpret_cast<HWND>(0x1234), nullptr, 0, 0, 1, 1, 0), nullptr);
}

TEST(WindowDesktop, WorkAreaAndMetrics)
{
    uiTestApp();
    CRect area;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(area,
        CRect(available.x(), available.y(), available.x() + available.width(),
            available.y() + available.height()));
    EXPECT_GT(GetSystemMetrics(SM_CXVSCROLL), 0);
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), 32);
    EXPECT_FALSE(SystemParametersInfoA(0x1234, 0, &area, 0));
}

namespace {

// A window that records the key messages the pump offers it and those it receives.
class KeyWnd : public CWnd
{
public:
    std::vector<MSG> pumped;
    std::vector<MSG> received;

    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (isKey(msg->message))
            pumped.push_back(*msg);
        return FALSE;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (isKey(message))
            received.push_back(MSG {m_hWnd, message, wParam, lParam, 0, {}});
        return CWnd::WindowProc(message, wParam, lParam);
    }

private:
    static bool isKey(UINT message)
    {
        return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN
            || message == WM_SYSKEYUP;
    }
};

} // namespace

TEST(WindowMessages, PumpAndWindowTranslateKeysAlike)
{
    struct Row
    {
        const char* name;
        QEvent::Type type;
        int key;
        Qt::KeyboardModifiers modifiers;
        UINT message;
        WPARAM virtualKey;
    };
    const Row rows[] = {
        {"Alt+letter down", QEvent::KeyPress, Qt::Key_A, Qt::AltModifier, WM_SYSKEYDOWN, 'A'},
        {"Alt+letter up", QEvent::KeyRelease, Qt::Key_A, Qt::AltModifier, WM_SYSKEYUP, 'A'},
        {"plain letter up", QEvent::KeyRelease, Qt::Key_Q, Qt::NoModifier, WM_KEYUP, 'Q'},
        {"function key down", QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier, WM_KEYDOWN, 0x74},
    };
    uiTestApp();
    KeyWnd wnd;
    ASSERT_TRUE(
        wnd.CreateEx(0, "ZorTest", "Keys", c_topStyle, CRect(100, 100, 300, 250), nullptr, 0));
    wnd.ShowWindow(SW_SHOW);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        wnd.pumped.clear();
        wnd.received.clear();
        QKeyEvent event(row.type, row.key, row.modifiers);
        QCoreApplication::sendEvent(wnd.widget(), &event);
        ASSERT_EQ(wnd.pumped.size(), 1u);
        ASSERT_EQ(wnd.received.size(), 1u);
        EXPECT_EQ(wnd.pumped[0].message, row.message);
        EXPECT_EQ(wnd.pumped[0].wParam, row.virtualKey);
        EXPECT_EQ(wnd.received[0].message, wnd.pumped[0].message);
        EXPECT_EQ(wnd.received[0].wParam, wnd.pumped[0].wParam);
        EXPECT_EQ(wnd.received[0].lParam, wnd.pumped[0].lParam);
        // The context bit says Alt was held; a key-up has the transition bit.
        EXPECT_EQ((wnd.pumped[0].lParam & 0x20000000) != 0, row.modifiers == Qt::AltModifier);
        EXPECT_EQ((wnd.pumped[0].lParam & 0x80000000) != 0, row.type == QEvent::KeyRelease);
    }
    wnd.DestroyWindow();
}
