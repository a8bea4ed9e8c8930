#include "framework/frame/pumpmessages.h"

#include "platform/ui/message.h"
#include "platform/ui/window.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr UINT WM_FIRST = WM_USER + 1;
constexpr UINT WM_SECOND = WM_USER + 2;

// A window that records the messages it handles; the first one pumps from inside its handler.
class CPumpingWnd : public CWnd
{
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_FIRST || message == WM_SECOND) {
            handled.push_back(message);
            if (message == WM_FIRST && pumpInside) {
                pumpMessages();
                // What the nested call dispatched.
                handledByNested = handled.size() - 1;
            }
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }

    bool pumpInside {false};
    std::vector<UINT> handled;
    std::size_t handledByNested {0};
};

struct PumpCase
{
    const char* name;
    bool pumpInside;
};

class PumpMessages : public testing::TestWithParam<PumpCase>
{
};

TEST_P(PumpMessages, DispatchesWhatWaitsAndNeverNests)
{
    CPumpingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, "Pump", "", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    wnd.pumpInside = GetParam().pumpInside;
    wnd.PostMessage(WM_FIRST);
    wnd.PostMessage(WM_SECOND);
    EXPECT_TRUE(wnd.handled.empty());

    pumpMessages();

    EXPECT_EQ(wnd.handled, (std::vector<UINT> {WM_FIRST, WM_SECOND}));
    // The pump inside the handler returned at once: the second message waited for the first
    // pump.
    EXPECT_EQ(wnd.handledByNested, 0u);
}

INSTANTIATE_TEST_SUITE_P(Cases, PumpMessages,
    testing::Values(PumpCase {"FromTheProgram", false}, PumpCase {"AgainFromAHandler", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PumpMessagesAgain, RunsAgainOnceTheFirstPumpEnded)
{
    CPumpingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, "Pump", "", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    wnd.pumpInside = true;
    wnd.PostMessage(WM_FIRST);
    pumpMessages();
    wnd.PostMessage(WM_SECOND);
    pumpMessages();
    EXPECT_EQ(wnd.handled, (std::vector<UINT> {WM_FIRST, WM_SECOND}));
}

} // namespace
