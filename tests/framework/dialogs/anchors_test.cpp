#include "framework/dialogs/anchors.h"

#include "tests/framework/dialogs/dialogtestsupport.h"

#include "platform/ui/controls.h"

#include <gtest/gtest.h>

namespace {

// --- the geometry of anchors, without windows ----------------------------------------------

TEST(AnchorGeometry, NamedAnchorsArePercentagesOfTheClientArea)
{
    const CSize client(400, 300);
    EXPECT_EQ(anchorPoint(client, anchorTopLeft), CPoint(0, 0));
    EXPECT_EQ(anchorPoint(client, anchorTopCenter), CPoint(200, 0));
    EXPECT_EQ(anchorPoint(client, anchorTopRight), CPoint(400, 0));
    EXPECT_EQ(anchorPoint(client, anchorMiddleLeft), CPoint(0, 150));
    EXPECT_EQ(anchorPoint(client, anchorMiddleCenter), CPoint(200, 150));
    EXPECT_EQ(anchorPoint(client, anchorMiddleRight), CPoint(400, 150));
    EXPECT_EQ(anchorPoint(client, anchorBottomLeft), CPoint(0, 300));
    EXPECT_EQ(anchorPoint(client, anchorBottomCenter), CPoint(200, 300));
    EXPECT_EQ(anchorPoint(client, anchorBottomRight), CPoint(400, 300));
    EXPECT_EQ(anchorNone, CSize(-1, -1));
}

TEST(AnchorGeometry, CornerInsideTheRightEdgeKeepsItsNegativeMargin)
{
    const CSize margin = anchorMargin(CSize(400, 300), anchorBottomRight, CPoint(390, 280));
    EXPECT_EQ(margin, CSize(-10, -20));
    EXPECT_EQ(anchoredCorner(CSize(600, 300), anchorBottomRight, margin), CPoint(590, 280));
}

TEST(AnchorGeometry, PercentagesOfOddSizesTruncate)
{
    // 301 * 50 / 100 is 150, so a corner at 160 is 10 from the middle.
    EXPECT_EQ(anchorMargin(CSize(301, 101), anchorTopCenter, CPoint(160, 5)), CSize(10, 5));
    // 101 * 50 / 100 is 50 and 401 * 50 / 100 is 200.
    EXPECT_EQ(anchorMargin(CSize(301, 101), anchorMiddleCenter, CPoint(160, 60)), CSize(10, 10));
    EXPECT_EQ(anchoredCorner(CSize(401, 201), anchorMiddleCenter, CSize(10, 10)), CPoint(210, 110));
}

// --- the layout of a real dialog ------------------------------------------------------------

class AnchorLayout : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dlg.Create(IDD_LAYOUT));
        m_dlg.ShowWindow(SW_SHOW);
        settle();
    }

    void place(int nID, int x, int y, int cx, int cy)
    {
        m_dlg.GetDlgItem(nID)->MoveWindow(x, y, cx, cy);
        settle();
    }

    const CResizableDialog::LayoutItem& itemOf(int nID) const
    {
        const HWND hWnd = m_dlg.GetDlgItem(nID)->GetSafeHwnd();
        for (const CResizableDialog::LayoutItem& item : m_dlg.layout()) {
            if (item.hWnd == hWnd)
                return item;
        }
        ADD_FAILURE() << "control " << nID << " is not anchored";
        return m_dlg.layout().front();
    }

    CTestResizableDialog m_dlg;
};

TEST_F(AnchorLayout, RightEdgeFollowsTheGrowingClientArea)
{
    resizeClient(&m_dlg, 400, 300);
    place(IDC_NAME, 300, 10, 90, 20);
    m_dlg.addAnchor(IDC_NAME, anchorTopLeft, anchorTopRight);
    EXPECT_EQ(itemOf(IDC_NAME).tlMargin, CSize(300, 10));
    EXPECT_EQ(itemOf(IDC_NAME).brMargin, CSize(-10, 30));

    resizeClient(&m_dlg, 600, 300);
    EXPECT_EQ(clientRect(&m_dlg).Width(), 600);
    EXPECT_EQ(childRect(&m_dlg, IDC_NAME), CRect(300, 10, 590, 30));
}

TEST_F(AnchorLayout, CentredAnchorOnAnOddWidthTruncates)
{
    resizeClient(&m_dlg, 301, 200);
    place(IDC_NAME, 160, 10, 50, 20);
    m_dlg.addAnchor(IDC_NAME, anchorTopCenter, anchorTopRight);
    EXPECT_EQ(itemOf(IDC_NAME).tlMargin, CSize(10, 10));
    EXPECT_EQ(itemOf(IDC_NAME).brMargin, CSize(210 - 301, 30));

    resizeClient(&m_dlg, 401, 200);
    // Left: 401 * 50 / 100 + 10; right: 401 - 91.
    EXPECT_EQ(childRect(&m_dlg, IDC_NAME), CRect(210, 10, 310, 30));
}

TEST_F(AnchorLayout, WithoutBottomRightAnchorTheControlMovesAndKeepsItsSize)
{
    resizeClient(&m_dlg, 400, 300);
    place(IDOK, 320, 260, 70, 24);
    m_dlg.addAnchor(IDOK, anchorBottomRight);
    EXPECT_EQ(itemOf(IDOK).brAnchor, anchorBottomRight);

    resizeClient(&m_dlg, 500, 350);
    EXPECT_EQ(childRect(&m_dlg, IDOK), CRect(420, 310, 490, 334));
}

TEST_F(AnchorLayout, ControlsAnchoredTopLeftStayWhereTheyAre)
{
    resizeClient(&m_dlg, 400, 300);
    place(IDC_NAME, 15, 12, 90, 20);
    const HWND hWnd = m_dlg.GetDlgItem(IDC_NAME)->GetSafeHwnd();
    m_dlg.addAnchor(hWnd, anchorTopLeft, anchorTopLeft);

    resizeClient(&m_dlg, 520, 410);
    EXPECT_EQ(childRect(&m_dlg, IDC_NAME), CRect(15, 12, 105, 32));
}

TEST_F(AnchorLayout, EveryControlFollowsItsOwnAnchorsInOneArrangement)
{
    resizeClient(&m_dlg, 400, 300);
    place(IDC_NAME, 10, 10, 180, 20);
    place(IDC_HOSTS, 10, 40, 380, 200);
    place(IDOK, 320, 260, 70, 24);
    m_dlg.addAnchor(IDC_NAME, anchorTopLeft, anchorTopCenter);
    m_dlg.addAnchor(IDC_HOSTS, anchorTopLeft, anchorBottomRight);
    m_dlg.addAnchor(IDOK, anchorBottomRight);
    ASSERT_EQ(m_dlg.layout().size(), 3u);

    resizeClient(&m_dlg, 600, 500);
    EXPECT_EQ(childRect(&m_dlg, IDC_NAME), CRect(10, 10, 290, 30));
    EXPECT_EQ(childRect(&m_dlg, IDC_HOSTS), CRect(10, 40, 590, 440));
    EXPECT_EQ(childRect(&m_dlg, IDOK), CRect(520, 460, 590, 484));
}

TEST_F(AnchorLayout, ButtonsOtherThanPlainPushButtonsClipTheirSiblings)
{
    m_dlg.addAnchor(IDC_APPLY, anchorBottomLeft);
    m_dlg.addAnchor(IDOK, anchorBottomRight);
    m_dlg.addAnchor(IDC_GROUP, anchorTopLeft, anchorBottomLeft);
    m_dlg.addAnchor(IDC_LOG, anchorBottomLeft);

    EXPECT_FALSE(m_dlg.GetDlgItem(IDC_APPLY)->GetStyle() & WS_CLIPSIBLINGS);
    EXPECT_TRUE(m_dlg.GetDlgItem(IDOK)->GetStyle() & WS_CLIPSIBLINGS);
    EXPECT_TRUE(m_dlg.GetDlgItem(IDC_GROUP)->GetStyle() & WS_CLIPSIBLINGS);
    EXPECT_TRUE(m_dlg.GetDlgItem(IDC_LOG)->GetStyle() & WS_CLIPSIBLINGS);
    EXPECT_FALSE(itemOf(IDOK).bRepaint);
    EXPECT_FALSE(itemOf(IDOK).bAdjustHScroll);
}

TEST_F(AnchorLayout, AlignedTextsAndCentredImagesAreRepaintedAfterMoving)
{
    m_dlg.addAnchor(IDC_LEFT_TEXT, anchorTopRight);
    m_dlg.addAnchor(IDC_SIMPLE_TEXT, anchorTopRight);
    m_dlg.addAnchor(IDC_ICON, anchorTopRight);
    m_dlg.addAnchor(IDC_CENTRED_ICON, anchorTopRight);
    m_dlg.addAnchor(IDC_FRAME, anchorTopLeft, anchorBottomRight);
    m_dlg.addAnchor(IDC_SIMPLE_CENTRED, anchorTopRight);

    EXPECT_TRUE(itemOf(IDC_LEFT_TEXT).bRepaint);
    EXPECT_FALSE(itemOf(IDC_SIMPLE_TEXT).bRepaint);
    EXPECT_FALSE(itemOf(IDC_ICON).bRepaint);
    EXPECT_TRUE(itemOf(IDC_CENTRED_ICON).bRepaint);
    EXPECT_FALSE(itemOf(IDC_FRAME).bRepaint);
    // Simple text is never drawn again, even with the centre-image bit.
    EXPECT_FALSE(itemOf(IDC_SIMPLE_CENTRED).bRepaint);
    EXPECT_FALSE(itemOf(IDC_LEFT_TEXT).bAdjustHScroll);
}

TEST_F(AnchorLayout, AlignedTextsAreDrawnAgainAfterEachArrangement)
{
    m_dlg.addAnchor(IDC_LEFT_TEXT, anchorTopLeft);
    m_dlg.addAnchor(IDC_SIMPLE_TEXT, anchorTopLeft);
    settle();
    const CPaintCounter leftText(m_dlg.GetDlgItem(IDC_LEFT_TEXT));
    const CPaintCounter simpleText(m_dlg.GetDlgItem(IDC_SIMPLE_TEXT));

    // Nothing moves, yet the aligned text is drawn again at once.
    m_dlg.arrangeLayout();
    EXPECT_EQ(leftText.count(), 1);
    EXPECT_EQ(simpleText.count(), 0);
}

// A list box that is 120 pixels wide and can scroll 280 pixels further.
class ListBoxLayout : public AnchorLayout
{
protected:
    void SetUp() override
    {
        AnchorLayout::SetUp();
        resizeClient(&m_dlg, 400, 300);
        place(IDC_HOSTS, 10, 40, 120, 100);
        m_list = dynamic_cast<CListBox*>(m_dlg.GetDlgItem(IDC_HOSTS));
        ASSERT_NE(m_list, nullptr);
        m_list->AddString("a host name much longer than the list is wide");
        m_list->SetHorizontalExtent(400);
        settle();
    }

    void scrollTo(int nPos)
    {
        m_list->SetScrollPos(SB_HORZ, nPos);
        settle();
        ASSERT_EQ(m_list->GetScrollPos(SB_HORZ), nPos);
    }

    CListBox* m_list {nullptr};
};

TEST_F(ListBoxLayout, ListBoxesAdjustTheirHorizontalScroll)
{
    m_dlg.addAnchor(IDC_HOSTS, anchorTopLeft, anchorTopRight);
    EXPECT_TRUE(itemOf(IDC_HOSTS).bAdjustHScroll);
    EXPECT_FALSE(itemOf(IDC_HOSTS).bRepaint);
}

TEST_F(ListBoxLayout, GrowingPastWhatIsLeftToScrollRepaints)
{
    scrollTo(250);
    m_dlg.addAnchor(IDC_HOSTS, anchorTopLeft, anchorTopRight);
    // 280 - 100 is below the position 250.
    resizeClient(&m_dlg, 500, 300);
    EXPECT_EQ(childRect(&m_dlg, IDC_HOSTS).Width(), 220);
    EXPECT_TRUE(itemOf(IDC_HOSTS).bRepaint);
}

TEST_F(ListBoxLayout, EveryMoveDecidesAgain)
{
    scrollTo(250);
    m_dlg.addAnchor(IDC_HOSTS, anchorTopLeft, anchorTopRight);
    resizeClient(&m_dlg, 500, 300);
    ASSERT_TRUE(itemOf(IDC_HOSTS).bRepaint);
    scrollTo(0);
    resizeClient(&m_dlg, 520, 300);
    EXPECT_FALSE(itemOf(IDC_HOSTS).bRepaint);
}

TEST_F(ListBoxLayout, GrowingLessThanWhatIsLeftToScrollDoesNotRepaint)
{
    scrollTo(250);
    m_dlg.addAnchor(IDC_HOSTS, anchorTopLeft, anchorTopRight);
    // 280 - 20 is not below the position 250.
    resizeClient(&m_dlg, 420, 300);
    EXPECT_EQ(childRect(&m_dlg, IDC_HOSTS).Width(), 140);
    EXPECT_FALSE(itemOf(IDC_HOSTS).bRepaint);
}

TEST_F(ListBoxLayout, UnscrolledListIsNotRepainted)
{
    m_dlg.addAnchor(IDC_HOSTS, anchorTopLeft, anchorTopRight);
    resizeClient(&m_dlg, 500, 300);
    EXPECT_FALSE(itemOf(IDC_HOSTS).bRepaint);
}

TEST_F(ListBoxLayout, UnchangedListKeepsItsRepaintDecision)
{
    scrollTo(250);
    m_dlg.addAnchor(IDC_HOSTS, anchorTopLeft, anchorTopRight);
    resizeClient(&m_dlg, 500, 300);
    ASSERT_TRUE(itemOf(IDC_HOSTS).bRepaint);
    const CRect rcBefore = childRect(&m_dlg, IDC_HOSTS);

    // Only the height changes: the list, anchored to the top edge, stays where it is.
    resizeClient(&m_dlg, 500, 380);
    EXPECT_EQ(childRect(&m_dlg, IDC_HOSTS), rcBefore);
    EXPECT_TRUE(itemOf(IDC_HOSTS).bRepaint);

    // And so it is drawn again, though it did not move.
    const CPaintCounter paints(m_list);
    m_dlg.arrangeLayout();
    EXPECT_GE(paints.count(), 1);
}

TEST_F(ListBoxLayout, UnchangedUnscrolledListStaysUnrepainted)
{
    m_dlg.addAnchor(IDC_HOSTS, anchorTopLeft, anchorTopRight);
    resizeClient(&m_dlg, 500, 300);
    ASSERT_FALSE(itemOf(IDC_HOSTS).bRepaint);
    // Scrolled to its end now (220 wide, 180 to scroll), but not moved by the next
    // arrangement: the decision is not taken again.
    scrollTo(180);
    resizeClient(&m_dlg, 500, 380);
    EXPECT_FALSE(itemOf(IDC_HOSTS).bRepaint);

    const CPaintCounter paints(m_list);
    m_dlg.arrangeLayout();
    EXPECT_EQ(paints.count(), 0);
}

TEST_F(AnchorLayout, DestroyingTheDialogForgetsItsControls)
{
    m_dlg.addAnchor(IDC_NAME, anchorTopLeft, anchorTopRight);
    ASSERT_EQ(m_dlg.layout().size(), 1u);
    m_dlg.DestroyWindow();
    EXPECT_TRUE(m_dlg.layout().empty());
    EXPECT_FALSE(m_dlg.isLayoutReady());

    // Created again, the dialog lays out its new controls only.
    ASSERT_TRUE(m_dlg.Create(IDD_LAYOUT));
    m_dlg.ShowWindow(SW_SHOW);
    settle();
    EXPECT_TRUE(m_dlg.isLayoutReady());
    resizeClient(&m_dlg, 400, 300);
    place(IDC_NAME, 300, 10, 90, 20);
    m_dlg.addAnchor(IDC_NAME, anchorTopLeft, anchorTopRight);
    resizeClient(&m_dlg, 600, 300);
    EXPECT_EQ(m_dlg.layout().size(), 1u);
    EXPECT_EQ(childRect(&m_dlg, IDC_NAME), CRect(300, 10, 590, 30));
}

} // namespace
