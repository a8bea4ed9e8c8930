#include "tests/platform/ole/testcontrol.h"

#include "platform/ole/dispatchimpl.h"
#include "platform/ole/oleinit.h"
#include "platform/ui/winapp.h"

#include <gtest/gtest.h>

#include <QtGui/QImage>

namespace {

constexpr UINT c_hostDialog = 9200;
constexpr UINT c_arialDialog = 9201;
constexpr UINT c_corruptDialog = 9202;
constexpr int c_idHosted = 500;
constexpr int c_idSecond = 501;
constexpr int c_idMissing = 502;
constexpr DWORD c_style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

const std::string c_rowClass = c_testControlId;

} // namespace

ZOR_DIALOG_TABLE({
    {c_hostDialog, "Host", 200, 100, "MS Sans Serif", 8, c_style,
        {{eDLG_HOSTED, c_idHosted, "", 10, 10, 60, 30, WS_TABSTOP, 0, false, false,
             c_rowClass.c_str(), "Color=0x0000FF00\nCaption=From row\n"},
            {eDLG_HOSTED, c_idSecond, "", 80, 10, 40, 20, 0, 0, false, false, c_rowClass.c_str(),
                ""},
            {eDLG_HOSTED, c_idMissing, "", 130, 10, 20, 20, 0, 0, false, false,
                "{01540154-7E59-0000-0029-000000000004}", ""},
            {eDLG_BUTTON, IDOK, "OK", 140, 80, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP}}},
    {c_arialDialog, "Arial host", 100, 60, "Arial", 10, c_style,
        {{eDLG_HOSTED, c_idHosted, "", 5, 5, 40, 20, 0, 0, false, false, c_rowClass.c_str(), ""}}},
    {c_corruptDialog, "Corrupt", 100, 60, "MS Sans Serif", 8, c_style,
        {{eDLG_HOSTED, c_idHosted, "", 5, 5, 40, 20, 0, 0, true, false, c_rowClass.c_str(),
            "Color=0xZZ\nFlag=maybe\nFont=nonsense\n"}}},
});

namespace {

class HostDialog : public CDialog
{
public:
    explicit HostDialog(UINT id = c_hostDialog) : CDialog(id) { }
};

CTestCtrl* hostedOf(CDialog& dialog, int id = c_idHosted)
{
    return dynamic_cast<CTestCtrl*>(dialog.GetDlgItem(id));
}

} // namespace

TEST(HostedRow, ControlContainerInstallsTheFactory)
{
    uiTestApp();
    zorSetHostedControlFactory(nullptr);
    AfxEnableControlContainer();
    EXPECT_NE(zorHostedControlFactory(), nullptr);
    registerTestClasses();
}

TEST(HostedRow, CreatesControlFromClassIdAndInitState)
{
    registerTestClasses();
    HostDialog dialog;
    ASSERT_TRUE(dialog.Create());
    CTestCtrl* control = hostedOf(dialog);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->m_color, RGB(0, 255, 0));
    EXPECT_EQ(control->m_caption, "From row");
    EXPECT_FALSE(control->IsModified());
    ASSERT_NE(zorSiteOf(control), nullptr);
    EXPECT_EQ(zorSiteOf(control)->clsid(), c_testControlClsid);
    const CRect expected = zorItemRect(*dialog.dialogTemplate(), dialog.dialogTemplate()->items[0]);
    CRect placed;
    control->GetWindowRect(&placed);
    dialog.ScreenToClient(&placed);
    EXPECT_EQ(placed, expected);
    // An empty state gives the defaults.
    CTestCtrl* second = hostedOf(dialog, c_idSecond);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->m_color, c_defaultColor);
}

TEST(HostedRow, DrawsItsPixelsInTheDialog)
{
    registerTestClasses();
    HostDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.ShowWindow(SW_SHOW);
    CTestCtrl* control = hostedOf(dialog);
    ASSERT_NE(control, nullptr);
    const QImage image = dialog.grabClient();
    CRect placed;
    control->GetWindowRect(&placed);
    dialog.ScreenToClient(&placed);
    const QRgb inside = image.pixel(placed.left + 3, placed.top + 3);
    EXPECT_EQ(inside, qRgb(0, 255, 0));
    const QRgb corner = image.pixel(placed.right - 1, placed.bottom - 1);
    EXPECT_EQ(corner, qRgb(0, 255, 0));
    // The pixel left of the control belongs to the dialog.
    EXPECT_NE(image.pixel(placed.left - 1, placed.top + 3), qRgb(0, 255, 0));
}

TEST(HostedRow, UnknownClassLeavesPlaceholder)
{
    registerTestClasses();
    HostDialog dialog;
    ASSERT_TRUE(dialog.Create());
    CWnd* placeholder = dialog.GetDlgItem(c_idMissing);
    ASSERT_NE(placeholder, nullptr);
    EXPECT_EQ(dynamic_cast<COleControl*>(placeholder), nullptr);
    EXPECT_EQ(zorSiteOf(placeholder), nullptr);
}

TEST(HostedRow, AmbientFontOfDialogIsFontDefault)
{
    registerTestClasses();
    HostDialog dialog(c_arialDialog);
    ASSERT_TRUE(dialog.Create());
    CTestCtrl* control = hostedOf(dialog);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->AmbientFont().lpstrName, "Arial");
    EXPECT_EQ(control->InternalGetFont().desc().lpstrName, "Arial");
    EXPECT_EQ(control->InternalGetFont().desc().cySize, 100000);
}

TEST(HostedRow, CorruptInitStateGivesDefaultsAndKeepsRowStyles)
{
    registerTestClasses();
    HostDialog dialog(c_corruptDialog);
    ASSERT_TRUE(dialog.Create());
    CTestCtrl* control = hostedOf(dialog);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->m_color, c_defaultColor);
    EXPECT_EQ(control->m_flag, FALSE);
    EXPECT_EQ(control->InternalGetFont().desc().lpstrName, "MS Sans Serif");
    // The row is hidden.
    dialog.ShowWindow(SW_SHOW);
    EXPECT_FALSE(control->IsWindowVisible());
}

TEST(HostedRow, DialogDestroysControlAndSite)
{
    registerTestClasses();
    const int before = CTestCtrl::s_live;
    {
        HostDialog dialog;
        ASSERT_TRUE(dialog.Create());
        EXPECT_EQ(CTestCtrl::s_live, before + 2);
        dialog.DestroyWindow();
        EXPECT_EQ(CTestCtrl::s_live, before);
    }
    {
        // And without an explicit DestroyWindow.
        HostDialog dialog;
        ASSERT_TRUE(dialog.Create());
    }
    EXPECT_EQ(CTestCtrl::s_live, before);
}

TEST(HostedRowEvents, ReachTheDialogHandlerOfTheirId)
{
    registerTestClasses();
    HostDialog dialog;
    ASSERT_TRUE(dialog.Create());
    int clicks = 0;
    std::vector<LONG> values;
    onControlEvent(&dialog, c_idHosted, DISPID_CLICK, [&](const DISPPARAMS&) { ++clicks; });
    onControlEvent(&dialog, c_idHosted, c_eventValue, [&](const DISPPARAMS& params) {
        ASSERT_EQ(params.args.size(), 1u);
        values.push_back(params.args[0].lVal);
    });
    CTestCtrl* control = hostedOf(dialog);
    CTestCtrl* second = hostedOf(dialog, c_idSecond);
    ASSERT_NE(control, nullptr);
    ASSERT_NE(second, nullptr);
    dialog.ShowWindow(SW_SHOW);
    sendMouse(control->widget(), QEvent::MouseButtonPress, QPoint(2, 2));
    sendMouse(control->widget(), QEvent::MouseButtonRelease, QPoint(2, 2));
    EXPECT_EQ(clicks, 1);
    ASSERT_EQ(zorInvoke(control, c_dispFire, DISPATCH_METHOD, {COleVariant(7L)}), S_OK);
    EXPECT_EQ(values, std::vector<LONG>({7}));
    // The other row's events go to its own id: nobody listens there.
    second->FireClick();
    ASSERT_EQ(zorInvoke(second, c_dispFire, DISPATCH_METHOD, {COleVariant(8L)}), S_OK);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(values, std::vector<LONG>({7}));
}

TEST(HostedRowEvents, HandlersOfAnotherDialogDoNotHear)
{
    registerTestClasses();
    HostDialog first;
    HostDialog second;
    ASSERT_TRUE(first.Create());
    ASSERT_TRUE(second.Create());
    int firstClicks = 0;
    int secondClicks = 0;
    onControlEvent(&first, c_idHosted, DISPID_CLICK, [&](const DISPPARAMS&) { ++firstClicks; });
    onControlEvent(&second, c_idHosted, DISPID_CLICK, [&](const DISPPARAMS&) { ++secondClicks; });
    hostedOf(second)->FireClick();
    EXPECT_EQ(firstClicks, 0);
    EXPECT_EQ(secondClicks, 1);
}

TEST(HostedRowCommands, ReflectedCommandReachesOnOcmCommandAndDialog)
{
    registerTestClasses();
    HostDialog dialog;
    ASSERT_TRUE(dialog.Create());
    CTestCtrl* control = hostedOf(dialog);
    ASSERT_NE(control, nullptr);
    int dialogHeard = 0;
    dialog.onCommand(c_idHosted, 0, [&] { ++dialogHeard; });
    // The control reports a change to its container, which reflects it back.
    control->notifyParent(0u);
    EXPECT_EQ(control->m_ocmCommands, 1);
    EXPECT_EQ(LOWORD(static_cast<DWORD>(control->m_lastOcmWParam)), c_idHosted);
    EXPECT_EQ(control->m_lastOcmLParam, reinterpret_cast<LPARAM>(control->GetSafeHwnd()));
    EXPECT_EQ(dialogHeard, 1);
    // A command of another sender is not the control's.
    CTestCtrl* second = hostedOf(dialog, c_idSecond);
    second->notifyParent(0u);
    EXPECT_EQ(control->m_ocmCommands, 1);
    EXPECT_EQ(second->m_ocmCommands, 1);
}

TEST(ControlWrapper, DrivesHostedControlByDispid)
{
    registerTestClasses();
    HostDialog dialog;
    ASSERT_TRUE(dialog.Create());
    CZorControlWrapper wrapper;
    EXPECT_FALSE(wrapper.attachTo(&dialog, IDOK));
    EXPECT_EQ(wrapper.dispatch(), nullptr);
    ASSERT_TRUE(wrapper.attachTo(&dialog, c_idHosted));
    EXPECT_EQ(wrapper.GetProperty(c_dispColor).lVal, static_cast<LONG>(RGB(0, 255, 0)));
    ASSERT_EQ(wrapper.SetProperty(c_dispCaption, COleVariant("Wrapped")), S_OK);
    EXPECT_EQ(hostedOf(dialog)->m_caption, "Wrapped");
    std::vector<LONG> values;
    onControlEvent(&dialog, c_idHosted, c_eventValue,
        [&](const DISPPARAMS& params) { values.push_back(params.args.at(0).lVal); });
    EXPECT_EQ(wrapper.InvokeHelper(c_dispFire, {COleVariant(5L)}), S_OK);
    EXPECT_EQ(values, std::vector<LONG>({5}));
    dialog.DestroyWindow();
    // The control went with its dialog; the wrapper finds nothing any longer.
    EXPECT_EQ(wrapper.dispatch(), nullptr);
    EXPECT_EQ(wrapper.SetProperty(c_dispCaption, COleVariant("x")), E_UNEXPECTED);
}

TEST(ControlWrapper, CreatesItsOwnControl)
{
    registerTestClasses();
    const int before = CTestCtrl::s_live;
    CWnd parent;
    parent.CreateEx(0, "ZorTestParent", "", WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0);
    {
        CZorControlWrapper wrapper;
        ASSERT_TRUE(wrapper.CreateControl(
            c_testControlId.c_str(), "Caption=Own\n", &parent, CRect(0, 0, 30, 30), 42));
        EXPECT_EQ(wrapper.GetProperty(c_dispCaption).bstrVal, "Own");
        EXPECT_NE(parent.GetDlgItem(42), nullptr);
        EXPECT_EQ(CTestCtrl::s_live, before + 1);
    }
    EXPECT_EQ(CTestCtrl::s_live, before);
    EXPECT_EQ(parent.GetDlgItem(42), nullptr);
}
