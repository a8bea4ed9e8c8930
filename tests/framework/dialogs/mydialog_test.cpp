#include "framework/dialogs/mydialog.h"

#include "tests/framework/dialogs/dialogtestsupport.h"

#include <gtest/gtest.h>

namespace {

CRect workArea()
{
    CRect rc;
    EXPECT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &rc, 0));
    return rc;
}

// Where a window of the size lies centred on the work area (divisions truncate).
CRect centredOnWorkArea(const CSize& size)
{
    const CRect work = workArea();
    const int x = work.left + (work.Width() - size.cx) / 2;
    const int y = work.top + (work.Height() - size.cy) / 2;
    return CRect(CPoint(x, y), size);
}

TEST(CentreDialog, MovesTheDialogToTheMiddleOfTheWorkArea)
{
    CDialog dlg(IDD_CENTRED);
    ASSERT_TRUE(dlg.Create(IDD_CENTRED));
    const CSize size = windowRect(&dlg).Size();
    dlg.MoveWindow(3, 7, size.cx, size.cy);
    settle();
    ASSERT_EQ(windowRect(&dlg).TopLeft(), CPoint(3, 7));

    CMyDialog::centerDialog(&dlg);
    settle();
    EXPECT_EQ(windowRect(&dlg), centredOnWorkArea(size));
}

TEST(CentreDialog, OddSizesAreCentredWithTruncation)
{
    CDialog dlg(IDD_CENTRED);
    ASSERT_TRUE(dlg.Create(IDD_CENTRED));
    const CRect work = workArea();
    // One pixel narrower and lower than the work area: the half pixel is dropped.
    dlg.MoveWindow(0, 0, work.Width() - 1, work.Height() - 1);
    settle();
    CMyDialog::centerDialog(&dlg);
    settle();
    EXPECT_EQ(windowRect(&dlg).TopLeft(), work.TopLeft());
    EXPECT_EQ(windowRect(&dlg).Size(), CSize(work.Width() - 1, work.Height() - 1));
}

TEST(CentreDialog, DialogOpensCentredOnTheWorkAreaEvenOverAnOwner)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(
        0, "ZorTestOwner", "Owner", WS_POPUP | WS_CAPTION, CRect(0, 0, 200, 150), nullptr, 0));
    owner.ShowWindow(SW_SHOW);
    settle();

    CMyDialog dlg(IDD_CENTRED, &owner);
    ASSERT_TRUE(dlg.Create(IDD_CENTRED, &owner));
    const CRect rc = windowRect(&dlg);
    const CRect ownerRect = windowRect(&owner);
    // Not where the dialog layer puts a dialog of an owner (centred over the owner)...
    EXPECT_NE(rc.CenterPoint(), ownerRect.CenterPoint());
    // ...but in the middle of the work area.
    EXPECT_EQ(rc, centredOnWorkArea(rc.Size()));
}

class CInitResultDialog : public CMyDialog
{
public:
    CInitResultDialog() : CMyDialog(IDD_CENTRED) { }
    BOOL OnInitDialog() override
    {
        m_bResult = CMyDialog::OnInitDialog();
        return m_bResult;
    }
    BOOL m_bResult {-1};
};

TEST(CentreDialog, InitialisationLetsTheDialogSetTheFocus)
{
    CInitResultDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_CENTRED));
    EXPECT_EQ(dlg.m_bResult, TRUE);
    EXPECT_EQ(windowRect(&dlg), centredOnWorkArea(windowRect(&dlg).Size()));
}

} // namespace
