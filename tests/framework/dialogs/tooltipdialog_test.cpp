#include "framework/dialogs/resizabledialog.h"
#include "framework/dialogs/tooltipdialog.h"
#include "framework/dialogs/tooltippage.h"

#include "tests/framework/dialogs/dialogtestsupport.h"

#include <QtGui/QMouseEvent>
#include <QtWidgets/QWidget>

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<CWnd*> childrenOf(const CWnd* pWnd)
{
    std::vector<CWnd*> result;
    for (CWnd* pChild = pWnd->GetWindow(GW_CHILD); pChild; pChild = pChild->GetWindow(GW_HWNDNEXT))
        result.push_back(pChild);
    return result;
}

CWnd* editOfCombo(const CWnd* pCombo)
{
    for (CWnd* pChild : childrenOf(pCombo)) {
        if (pChild->GetClassName() == "Edit")
            return pChild;
    }
    return nullptr;
}

MSG messageFor(const CWnd* pWnd, UINT message)
{
    MSG msg;
    msg.hwnd = pWnd->GetSafeHwnd();
    msg.message = message;
    msg.lParam = MAKELPARAM(3, 3);
    return msg;
}

// Both switches are shared by the whole program: each test starts and ends with them on.
class ToolTips : public testing::Test
{
protected:
    void SetUp() override
    {
        CToolTipDialog::enableToolTips(1);
        CToolTipPage::enableToolTips(1);
    }
    void TearDown() override
    {
        CToolTipDialog::enableToolTips(1);
        CToolTipPage::enableToolTips(1);
    }
};

class CTestToolTipDialog : public CToolTipDialog
{
public:
    CTestToolTipDialog() : CToolTipDialog(IDD_TOOLTIPS) { }
};

// --- texts ----------------------------------------------------------------------------------

TEST_F(ToolTips, EveryControlShowsTheStringResourceOfItsIdentifier)
{
    CTestToolTipDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TOOLTIPS));
    CToolTipCtrl& tip = dlg.toolTip();
    EXPECT_NE(tip.GetSafeHwnd(), nullptr);
    EXPECT_EQ(tip.GetText(dlg.GetDlgItem(IDC_NAME)), kNameTip);
    EXPECT_EQ(tip.GetText(dlg.GetDlgItem(IDC_REMARK)), kRemarkTip);
    EXPECT_EQ(tip.GetText(dlg.GetDlgItem(IDC_INTERVAL)), kIntervalTip);
    EXPECT_EQ(tip.GetText(dlg.GetDlgItem(IDC_UNIT)), kUnitTip);
}

TEST_F(ToolTips, ControlWithoutAStringResourceHasNoTooltip)
{
    CTestToolTipDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TOOLTIPS));
    EXPECT_EQ(dlg.toolTip().GetText(dlg.GetDlgItem(IDC_LEFT_TEXT)), "");
    EXPECT_EQ(dlg.toolTip().GetText(dlg.GetDlgItem(IDOK)), "");
}

TEST_F(ToolTips, EditFieldOfAComboBoxShowsTheComboBoxTooltip)
{
    CTestToolTipDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TOOLTIPS));
    const CWnd* pCombo = dlg.GetDlgItem(IDC_INTERVAL);
    ASSERT_EQ(pCombo->GetClassName(), "ComboBox");
    CWnd* pEdit = editOfCombo(pCombo);
    ASSERT_NE(pEdit, nullptr);
    EXPECT_NE(pEdit->GetDlgCtrlID(), IDC_INTERVAL);
    EXPECT_EQ(dlg.toolTip().GetText(pEdit), kIntervalTip);
}

TEST_F(ToolTips, AllChildrenOfAComboBoxShareItsTooltip)
{
    CTestToolTipDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TOOLTIPS));
    for (int nID : {IDC_INTERVAL, IDC_UNIT}) {
        const CWnd* pCombo = dlg.GetDlgItem(nID);
        const std::string expected = dlg.toolTip().GetText(pCombo);
        ASSERT_FALSE(expected.empty());
        for (CWnd* pChild : childrenOf(pCombo))
            EXPECT_EQ(dlg.toolTip().GetText(pChild), expected) << pChild->GetClassName();
    }
}

// Loads its tooltips while a module without a string table (a handle no module has) is the
// resource module.
class COtherModuleDialog : public CToolTipDialog
{
public:
    COtherModuleDialog() : CToolTipDialog(IDD_TOOLTIPS) { }
    BOOL OnInitDialog() override
    {
        static const char otherModule {0};
        const HMODULE hPrevious = AfxGetResourceHandle();
        AfxSetResourceHandle(reinterpret_cast<HMODULE>(const_cast<char*>(&otherModule)));
        const BOOL bResult = CToolTipDialog::OnInitDialog();
        AfxSetResourceHandle(hPrevious);
        return bResult;
    }
};

TEST_F(ToolTips, TextsComeFromTheCurrentResourceModule)
{
    COtherModuleDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TOOLTIPS));
    EXPECT_NE(dlg.toolTip().GetSafeHwnd(), nullptr);
    EXPECT_EQ(dlg.toolTip().GetToolCount(), 0);
    EXPECT_EQ(dlg.toolTip().GetText(dlg.GetDlgItem(IDC_NAME)), "");
}

// --- the switch and mouse messages ----------------------------------------------------------

TEST_F(ToolTips, ActiveWhileTooltipsAreOn)
{
    CTestToolTipDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TOOLTIPS));
    EXPECT_TRUE(dlg.toolTip().isActive());
}

TEST_F(ToolTips, SwitchedOffTheTooltipIsMadeButInactive)
{
    CToolTipDialog::enableToolTips(0);
    EXPECT_EQ(CToolTipDialog::c_bShowToolTips, 0);
    CTestToolTipDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TOOLTIPS));
    EXPECT_NE(dlg.toolTip().GetSafeHwnd(), nullptr);
    EXPECT_FALSE(dlg.toolTip().isActive());
    EXPECT_EQ(dlg.toolTip().GetText(dlg.GetDlgItem(IDC_NAME)), kNameTip);

    MSG msg = messageFor(dlg.GetDlgItem(IDC_NAME), WM_MOUSEMOVE);
    dlg.PreTranslateMessage(&msg);
    msg.message = WM_LBUTTONDOWN;
    dlg.PreTranslateMessage(&msg);
    EXPECT_EQ(dlg.toolTip().relayedCount(), 0);
}

TEST_F(ToolTips, ClientMouseMessagesAreRelayed)
{
    CTestToolTipDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TOOLTIPS));
    for (UINT message = WM_MOUSEFIRST; message <= WM_MOUSELAST; ++message) {
        MSG msg = messageFor(dlg.GetDlgItem(IDC_NAME), message);
        dlg.PreTranslateMessage(&msg);
    }
    EXPECT_EQ(dlg.toolTip().relayedCount(), 10);
}

TEST_F(ToolTips, OtherMessagesAreNotRelayed)
{
    CTestToolTipDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TOOLTIPS));
    for (UINT message : {WM_MOUSEFIRST - 1, WM_MOUSELAST + 1, WM_KEYUP, WM_NCHITTEST, WM_TIMER}) {
        MSG msg = messageFor(dlg.GetDlgItem(IDC_NAME), message);
        dlg.PreTranslateMessage(&msg);
    }
    EXPECT_EQ(dlg.toolTip().relayedCount(), 0);
}

TEST_F(ToolTips, SwitchingOffStopsRelayingAtOnceButKeepsOpenTooltipsActive)
{
    CTestToolTipDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TOOLTIPS));
    CToolTipDialog::enableToolTips(0);
    EXPECT_TRUE(dlg.toolTip().isActive());
    MSG msg = messageFor(dlg.GetDlgItem(IDC_NAME), WM_MOUSEMOVE);
    dlg.PreTranslateMessage(&msg);
    EXPECT_EQ(dlg.toolTip().relayedCount(), 0);
    CToolTipDialog::enableToolTips(1);
    dlg.PreTranslateMessage(&msg);
    EXPECT_EQ(dlg.toolTip().relayedCount(), 1);
}

TEST_F(ToolTips, MouseOverAControlReachesTheTooltipThroughTheMessagePump)
{
    CTestToolTipDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TOOLTIPS));
    dlg.ShowWindow(SW_SHOW);
    settle();
    QWidget* edit = dlg.GetDlgItem(IDC_NAME)->widget();
    const QPoint local(4, 4);
    QMouseEvent move(QEvent::MouseMove, QPointF(local), QPointF(edit->mapToGlobal(local)),
        Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(edit, &move);
    EXPECT_EQ(dlg.toolTip().relayedCount(), 1);

    CToolTipDialog::enableToolTips(0);
    QCoreApplication::sendEvent(edit, &move);
    EXPECT_EQ(dlg.toolTip().relayedCount(), 1);
}

TEST_F(ToolTips, DestroyingTheDialogDestroysTheTooltip)
{
    CTestToolTipDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TOOLTIPS));
    ASSERT_NE(dlg.toolTip().GetSafeHwnd(), nullptr);
    dlg.DestroyWindow();
    EXPECT_EQ(dlg.toolTip().GetSafeHwnd(), nullptr);

    // Mouse messages that still arrive are not relayed to a tooltip that is gone.
    MSG msg;
    msg.message = WM_MOUSEMOVE;
    dlg.PreTranslateMessage(&msg);
    EXPECT_EQ(dlg.toolTip().relayedCount(), 0);
}

// Notes what the initialisation of its base answered.
template<class Base> class CInitResultDialog : public Base
{
public:
    using Base::Base;
    BOOL OnInitDialog() override
    {
        m_bResult = Base::OnInitDialog();
        return m_bResult;
    }
    BOOL m_bResult {-1};
};

TEST_F(ToolTips, InitialisationLeavesTheFocusAlone)
{
    CInitResultDialog<CToolTipDialog> dlg(IDD_TOOLTIPS);
    ASSERT_TRUE(dlg.Create(IDD_TOOLTIPS));
    EXPECT_EQ(dlg.m_bResult, FALSE);

    CInitResultDialog<CToolTipPage> page(IDD_PAGE);
    CWnd sheet;
    ASSERT_TRUE(sheet.CreateEx(
        0, "ZorTestSheet", "Sheet", WS_POPUP | WS_CAPTION, CRect(0, 0, 400, 300), nullptr, 0));
    ASSERT_TRUE(page.createPage(&sheet));
    EXPECT_EQ(page.m_bResult, FALSE);
}

TEST_F(ToolTips, ResizableInitialisationLetsTheDialogSetTheFocus)
{
    CInitResultDialog<CResizableDialog> dlg(IDD_TOOLTIPS);
    ASSERT_TRUE(dlg.Create(IDD_TOOLTIPS));
    EXPECT_EQ(dlg.m_bResult, TRUE);
}

TEST_F(ToolTips, ResizableDialogsHaveTooltipsToo)
{
    CResizableDialog dlg(IDD_TOOLTIPS);
    ASSERT_TRUE(dlg.Create(IDD_TOOLTIPS));
    EXPECT_EQ(dlg.toolTip().GetText(dlg.GetDlgItem(IDC_NAME)), kNameTip);
    EXPECT_EQ(dlg.toolTip().GetText(editOfCombo(dlg.GetDlgItem(IDC_INTERVAL))), kIntervalTip);
}

// --- property pages -------------------------------------------------------------------------

class ToolTipPages : public ToolTips
{
protected:
    void SetUp() override
    {
        ToolTips::SetUp();
        ASSERT_TRUE(m_sheet.CreateEx(
            0, "ZorTestSheet", "Sheet", WS_POPUP | WS_CAPTION, CRect(0, 0, 400, 300), nullptr, 0));
    }

    CWnd m_sheet;
};

TEST_F(ToolTipPages, PageControlsShowTheirTooltips)
{
    CToolTipPage page(IDD_PAGE);
    ASSERT_TRUE(page.createPage(&m_sheet));
    EXPECT_EQ(page.toolTip().GetText(page.GetDlgItem(IDC_NAME)), kNameTip);
    EXPECT_EQ(page.toolTip().GetText(editOfCombo(page.GetDlgItem(IDC_INTERVAL))), kIntervalTip);
    EXPECT_TRUE(page.toolTip().isActive());
}

TEST_F(ToolTipPages, LongTextsWrapAtTwoHundredPixels)
{
    CToolTipPage page(IDD_PAGE);
    ASSERT_TRUE(page.createPage(&m_sheet));
    EXPECT_EQ(page.toolTip().GetMaxTipWidth(), 200);
    const std::string shown = page.toolTip().shownText(page.GetDlgItem(IDC_REMARK));
    EXPECT_NE(shown.find('\n'), std::string::npos) << shown;
}

TEST_F(ToolTipPages, PagesHaveASwitchOfTheirOwn)
{
    CToolTipPage::enableToolTips(0);
    EXPECT_EQ(CToolTipDialog::c_bShowToolTips, 1);
    CToolTipPage page(IDD_PAGE);
    ASSERT_TRUE(page.createPage(&m_sheet));
    CTestToolTipDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TOOLTIPS));
    EXPECT_FALSE(page.toolTip().isActive());
    EXPECT_TRUE(dlg.toolTip().isActive());

    MSG msg = messageFor(page.GetDlgItem(IDC_NAME), WM_MOUSEMOVE);
    page.PreTranslateMessage(&msg);
    EXPECT_EQ(page.toolTip().relayedCount(), 0);
    CToolTipPage::enableToolTips(1);
    page.PreTranslateMessage(&msg);
    EXPECT_EQ(page.toolTip().relayedCount(), 1);
}

TEST_F(ToolTipPages, DestroyingThePageDestroysTheTooltip)
{
    CToolTipPage page(IDD_PAGE);
    ASSERT_TRUE(page.createPage(&m_sheet));
    page.DestroyWindow();
    EXPECT_EQ(page.toolTip().GetSafeHwnd(), nullptr);
}

} // namespace
