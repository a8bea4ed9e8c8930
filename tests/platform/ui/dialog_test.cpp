#include "platform/ui/dialog.h"
#include "platform/ui/messagebox.h"
#include "tests/platform/ui/uitestapp.h"

#include <gtest/gtest.h>

#include <QtCore/QTimer>

namespace {

constexpr UINT c_emptyDialog = 9100;
constexpr UINT c_largeDialog = 9101;
constexpr UINT c_resizable = 9102;

constexpr DWORD c_dialogStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

} // namespace

ZOR_DIALOG_TABLE({
    {c_emptyDialog, "Empty", 100, 50, "MS Sans Serif", 8, c_dialogStyle, {}},
    {c_largeDialog, "Corvane", 515, 318, "MS Sans Serif", 8,
        c_dialogStyle | WS_THICKFRAME | WS_MINIMIZEBOX, {}},
    {c_resizable, "Sizable", 200, 100, "MS Sans Serif", 8, c_dialogStyle | WS_THICKFRAME, {}},
});

namespace {

class TestDialog : public CDialog
{
public:
    explicit TestDialog(UINT id = c_emptyDialog) : CDialog(id) { }
    int initCount {0};
    bool visibleAtInit {true};
    int endInInit {0};
    bool failExchange {false};
    int exchanges {0};
    BOOL lastDirection {-1};
    int cancels {0};

    BOOL OnInitDialog() override
    {
        ++initCount;
        visibleAtInit = IsWindowVisible();
        CDialog::OnInitDialog();
        if (endInInit)
            EndDialog(endInInit);
        return TRUE;
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        ++exchanges;
        lastDirection = pDX->m_bSaveAndValidate;
        if (failExchange && pDX->m_bSaveAndValidate)
            pDX->Fail();
    }
    void OnCancel() override
    {
        ++cancels;
        CDialog::OnCancel();
    }
};

// Runs a modal dialog, acting on it once it is shown.
INT_PTR runModal(CDialog& dialog, const std::function<void()>& act)
{
    QTimer::singleShot(0, [&] {
        processUntil([&] { return dialog.m_hWnd && dialog.IsWindowVisible(); }, 2000);
        act();
    });
    return dialog.DoModal();
}

} // namespace

TEST(DialogTemplate, DialogUnitsBecomePixelsWithTheFontsBaseUnits)
{
    uiTestApp();
    const DialogTemplate* tmpl = zorFindDialogTemplate(c_largeDialog);
    ASSERT_NE(tmpl, nullptr);
    // "MS Sans Serif" 8 has base units 6 x 13: x * 6 / 4 and y * 13 / 8, rounded to nearest.
    EXPECT_EQ(zorDialogUnitsToPixels(*tmpl, 11, 8, 99, 14), CRect(17, 13, 17 + 149, 13 + 23));
    EXPECT_EQ(zorDialogUnitsToPixels(*tmpl, 1, 1, 1, 1), CRect(2, 2, 4, 4));
    TestDialog dialog(c_largeDialog);
    ASSERT_TRUE(dialog.Create(c_largeDialog));
    CRect client;
    dialog.GetClientRect(&client);
    EXPECT_EQ(client.Width(), 773); // 515 * 6 / 4 = 772.5
    EXPECT_EQ(client.Height(), 517); // 318 * 13 / 8 = 516.75
    EXPECT_EQ(dialog.MapDialogRect(CRect(0, 0, 4, 8)), CRect(0, 0, 6, 13));
    EXPECT_EQ(dialog.GetClassName(), "#32770");
    EXPECT_EQ(dialog.GetWindowText(), "Corvane");
}

TEST(DialogTemplate, LookedUpInTheResourceModuleThenTheProgram)
{
    uiTestApp();
    EXPECT_NE(zorFindDialogTemplate(c_emptyDialog), nullptr);
    EXPECT_EQ(zorFindDialogTemplate(4242), nullptr);
    TestDialog missing(4242);
    EXPECT_EQ(missing.DoModal(), -1);
    EXPECT_EQ(missing.initCount, 0);
}

TEST(DialogModal, EndDialogGivesTheResult)
{
    uiTestApp();
    TestDialog dialog;
    const INT_PTR result = runModal(dialog, [&] { dialog.EndDialog(42); });
    EXPECT_EQ(result, 42);
    EXPECT_EQ(dialog.initCount, 1);
    EXPECT_FALSE(dialog.visibleAtInit) << "the dialog shows after it has initialised";
    EXPECT_EQ(dialog.m_hWnd, nullptr) << "the window is gone when DoModal returns";
}

TEST(DialogModal, EndingDuringInitialisationNeverShows)
{
    uiTestApp();
    TestDialog dialog;
    dialog.endInInit = 7;
    EXPECT_EQ(dialog.DoModal(), 7);
}

TEST(DialogModal, EnterIsOkAndValidatesEscapeIsCancel)
{
    uiTestApp();
    TestDialog dialog;
    EXPECT_EQ(runModal(dialog, [&] { sendKey(dialog.widget(), Qt::Key_Return); }), IDOK);
    EXPECT_EQ(dialog.lastDirection, TRUE) << "OK saves and validates";

    TestDialog other;
    EXPECT_EQ(runModal(other, [&] { sendKey(other.widget(), Qt::Key_Escape); }), IDCANCEL);
    EXPECT_EQ(other.cancels, 1);
}

TEST(DialogModal, FailedValidationKeepsTheDialogOpen)
{
    uiTestApp();
    TestDialog dialog;
    dialog.failExchange = true;
    bool stillOpen = false;
    const INT_PTR result = runModal(dialog, [&] {
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
        stillOpen = dialog.IsWindowVisible();
        dialog.EndDialog(IDCANCEL);
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(dialog.UpdateData(TRUE));
}

TEST(DialogModal, ClosingTheWindowIsCancel)
{
    uiTestApp();
    TestDialog dialog;
    const INT_PTR result = runModal(dialog, [&] { dialog.widget()->close(); });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dialog.cancels, 1);
}

TEST(DialogModeless, CreateInitialisesAndDestroyEnds)
{
    uiTestApp();
    TestDialog dialog;
    ASSERT_TRUE(dialog.Create(c_emptyDialog));
    EXPECT_EQ(dialog.initCount, 1);
    EXPECT_EQ(dialog.exchanges, 1) << "the base initialisation fills the controls";
    EXPECT_EQ(dialog.lastDirection, FALSE);
    EXPECT_FALSE(dialog.isModal());
    const HWND handle = dialog.m_hWnd;
    dialog.DestroyWindow();
    EXPECT_FALSE(IsWindow(handle));
}

TEST(DialogModeless, PlacedOnTheWorkAreaCentre)
{
    uiTestApp();
    TestDialog dialog;
    ASSERT_TRUE(dialog.Create(c_emptyDialog));
    CRect area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    CRect rect;
    dialog.GetWindowRect(&rect);
    EXPECT_EQ(rect.left, area.left + (area.Width() - rect.Width()) / 2);
    EXPECT_EQ(rect.top, area.top + (area.Height() - rect.Height()) / 2);
}

TEST(DialogModeless, OnlySizableDialogsCanBeSized)
{
    uiTestApp();
    TestDialog fixed;
    ASSERT_TRUE(fixed.Create(c_emptyDialog));
    fixed.ShowWindow(SW_SHOW);
    CRect before;
    fixed.GetClientRect(&before);
    fixed.MoveWindow(0, 0, before.Width() + 50, before.Height() + 50);
    CRect after;
    fixed.GetClientRect(&after);
    EXPECT_EQ(after, before);

    TestDialog sizable(c_resizable);
    ASSERT_TRUE(sizable.Create(c_resizable));
    sizable.ShowWindow(SW_SHOW);
    sizable.GetClientRect(&before);
    sizable.MoveWindow(0, 0, before.Width() + 50, before.Height() + 50);
    sizable.GetClientRect(&after);
    EXPECT_EQ(after.Width(), before.Width() + 50);
}
