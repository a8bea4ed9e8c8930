// The wait server created by ProgID from its registered module: its four calls, the state they
// leave (read back through its read-only properties) and its window.

#include "platform/ole/dispatchimpl.h"
#include "platform/ole/factory.h"
#include "platform/ui/window.h"
#include "tests/servers/servertestsupport.h"

#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>

#include <gtest/gtest.h>

using namespace servertest;

namespace {

constexpr DISPID c_show = 1;
constexpr DISPID c_text = 2;
constexpr DISPID c_close = 3;
constexpr DISPID c_progress = 4;
constexpr DISPID c_progressValue = 5;
constexpr DISPID c_currentText = 6;
constexpr DISPID c_isShown = 7;

class WaitServer : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(registerModule(ZOR_TEST_WAIT_MODULE));
        ASSERT_EQ(zorCreateDispatch("zorWaitServer.29", &m_server), S_OK);
        ASSERT_NE(m_server, nullptr);
    }
    void TearDown() override { zorRelease(m_server); }

    long longProperty(DISPID dispid)
    {
        COleVariant value;
        EXPECT_EQ(zorGetProperty(m_server, dispid, &value), S_OK);
        EXPECT_EQ(value.vt, VT_I4);
        return value.lVal;
    }
    bool isShown()
    {
        COleVariant value;
        EXPECT_EQ(zorGetProperty(m_server, c_isShown, &value), S_OK);
        EXPECT_EQ(value.vt, VT_BOOL);
        return value.boolVal != 0;
    }
    std::string currentText()
    {
        COleVariant value;
        EXPECT_EQ(zorGetProperty(m_server, c_currentText, &value), S_OK);
        return value.bstrVal;
    }
    HRESULT show(COleVariant owner = COleVariant(0))
    {
        return zorInvoke(m_server, c_show, DISPATCH_METHOD,
            {COleVariant(129), COleVariant(1), owner, COleVariant(1)});
    }
    // The visible top-level windows titled as the wait window.
    static int visibleWaitWindows()
    {
        int count = 0;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->isVisible() && widget->windowTitle() == "Please Wait")
                ++count;
        return count;
    }

    ScopedRegistry m_registry;
    IDispatch* m_server {nullptr};
};

} // namespace

TEST_F(WaitServer, ProgressIsClampedAndReadBack)
{
    EXPECT_EQ(longProperty(c_progressValue), 0);
    EXPECT_EQ(zorInvoke(m_server, c_progress, DISPATCH_METHOD, {COleVariant(40)}), S_OK);
    EXPECT_EQ(longProperty(c_progressValue), 40);
    EXPECT_EQ(zorInvoke(m_server, c_progress, DISPATCH_METHOD, {COleVariant(150)}), S_OK);
    EXPECT_EQ(longProperty(c_progressValue), 100);
    EXPECT_EQ(zorInvoke(m_server, c_progress, DISPATCH_METHOD, {COleVariant(-5)}), S_OK);
    EXPECT_EQ(longProperty(c_progressValue), 0);
    // Text that reads as a number converts, as automation callers expect.
    EXPECT_EQ(zorInvoke(m_server, c_progress, DISPATCH_METHOD, {COleVariant("60")}), S_OK);
    EXPECT_EQ(longProperty(c_progressValue), 60);
}

TEST_F(WaitServer, ShowTextProgressCloseAsTheMonitorCallsThem)
{
    EXPECT_FALSE(isShown());
    ASSERT_EQ(show(), S_OK);
    EXPECT_TRUE(isShown());
    EXPECT_EQ(visibleWaitWindows(), 1);
    EXPECT_EQ(zorInvoke(m_server, c_text, DISPATCH_METHOD, {COleVariant("Loading...")}), S_OK);
    EXPECT_EQ(currentText(), "Loading...");
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(
            zorInvoke(m_server, c_progress, DISPATCH_METHOD, {COleVariant(20 * k + 20)}), S_OK);
    EXPECT_EQ(longProperty(c_progressValue), 100);
    EXPECT_EQ(zorInvoke(m_server, c_close, DISPATCH_METHOD), S_OK);
    EXPECT_FALSE(isShown());
    EXPECT_EQ(visibleWaitWindows(), 0);
    // A second close does nothing.
    EXPECT_EQ(zorInvoke(m_server, c_close, DISPATCH_METHOD), S_OK);
}

TEST_F(WaitServer, TextGivenBeforeShowIsKept)
{
    EXPECT_EQ(zorInvoke(m_server, c_text, DISPATCH_METHOD, {COleVariant("Starting")}), S_OK);
    EXPECT_EQ(zorInvoke(m_server, c_progress, DISPATCH_METHOD, {COleVariant(30)}), S_OK);
    ASSERT_EQ(show(), S_OK);
    EXPECT_EQ(currentText(), "Starting");
    EXPECT_EQ(longProperty(c_progressValue), 30);
    // Showing again replaces the window instead of adding one.
    ASSERT_EQ(show(), S_OK);
    EXPECT_EQ(visibleWaitWindows(), 1);
}

TEST_F(WaitServer, OwnerMayBeARealHandleOrNothing)
{
    CWnd owner;
    ASSERT_TRUE(
        owner.CreateEx(0, "zorTestOwner", "Owner", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    COleVariant handle;
    handle.vt = VT_I8;
    handle.llVal = static_cast<LONGLONG>(reinterpret_cast<std::intptr_t>(owner.GetSafeHwnd()));
    EXPECT_EQ(show(handle), S_OK);
    EXPECT_TRUE(isShown());
    // A number that names no window is no owner, never a crash.
    EXPECT_EQ(show(COleVariant(12345)), S_OK);
    EXPECT_TRUE(isShown());
    owner.DestroyWindow();
}

TEST_F(WaitServer, NoShowModeKeepsTheWindowHidden)
{
    setenv("ZORVEX_SERVER_NOSHOW", "1", 1);
    const HRESULT hr = show();
    unsetenv("ZORVEX_SERVER_NOSHOW");
    ASSERT_EQ(hr, S_OK);
    EXPECT_TRUE(isShown());
    EXPECT_EQ(visibleWaitWindows(), 0);
}

TEST_F(WaitServer, WrongCallsAreRefused)
{
    EXPECT_EQ(zorInvoke(m_server, c_show, DISPATCH_METHOD, {COleVariant(0)}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(zorInvoke(m_server, c_show, DISPATCH_METHOD,
                  {COleVariant("icon"), COleVariant(1), COleVariant(0), COleVariant(1)}),
        DISP_E_TYPEMISMATCH);
    EXPECT_EQ(zorInvoke(m_server, c_progress, DISPATCH_METHOD, {}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(zorInvoke(m_server, 99, DISPATCH_METHOD, {}), DISP_E_MEMBERNOTFOUND);
    EXPECT_FALSE(isShown());
    // The state properties are read-only.
    EXPECT_TRUE(FAILED(zorPutProperty(m_server, c_progressValue, COleVariant(5))));
    EXPECT_EQ(longProperty(c_progressValue), 0);
}

TEST_F(WaitServer, MembersAreFoundByName)
{
    DISPID dispid = 0;
    EXPECT_EQ(m_server->GetIDsOfNames("PROGRESS", &dispid), S_OK);
    EXPECT_EQ(dispid, c_progress);
    EXPECT_EQ(m_server->GetIDsOfNames("isshown", &dispid), S_OK);
    EXPECT_EQ(dispid, c_isShown);
    ASSERT_NE(m_server->GetTypeInfo(), nullptr);
    EXPECT_EQ(m_server->GetTypeInfo()->doc, "zorWaitServer.29");
}
