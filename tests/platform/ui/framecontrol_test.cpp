// Frame controls, pixel by pixel, in the classic colours.

#include "platform/gdi/dc.h"
#include "platform/gdi/syscolor.h"
#include "platform/ui/resources.h"

#include <gtest/gtest.h>
#include <string>

namespace {

constexpr COLORREF c_paper = RGB(255, 0, 255);

enum eKIND { eFACE, eHIGHLIGHT, eSHADOW, eDKSHADOW, eLIGHT, eBLACK, eWINDOW, ePAPER };

COLORREF colorOf(eKIND kind)
{
    switch (kind) {
    case eFACE:
        return GetSysColor(COLOR_3DFACE);
    case eHIGHLIGHT:
        return GetSysColor(COLOR_3DHIGHLIGHT);
    case eSHADOW:
        return GetSysColor(COLOR_3DSHADOW);
    case eDKSHADOW:
        return GetSysColor(COLOR_3DDKSHADOW);
    case eLIGHT:
        return GetSysColor(COLOR_3DLIGHT);
    case eBLACK:
        return RGB(0, 0, 0);
    case eWINDOW:
        return GetSysColor(COLOR_WINDOW);
    case ePAPER:
        return c_paper;
    }
    return CLR_INVALID;
}

const char* nameOf(eKIND kind)
{
    static const char* const names[]
        = {"face", "highlight", "shadow", "dark shadow", "light", "black", "window", "paper"};
    return names[kind];
}

struct NamedPixel
{
    int x;
    int y;
    eKIND kind;
};

class FrameControl : public ::testing::Test
{
protected:
    void SetUp() override
    {
        zorUseClassicSysColors(true);
        ASSERT_NE(GetSysColor(COLOR_3DHIGHLIGHT), GetSysColor(COLOR_3DSHADOW));
        ASSERT_NE(GetSysColor(COLOR_3DFACE), GetSysColor(COLOR_3DSHADOW));
        ASSERT_NE(GetSysColor(COLOR_3DFACE), GetSysColor(COLOR_3DHIGHLIGHT));
    }
    void TearDown() override { zorUseClassicSysColors(false); }

    void paint(int width, int height)
    {
        m_image = QImage(width, height, QImage::Format_RGB32);
        m_dc.attachImage(&m_image);
        m_dc.FillSolidRect(0, 0, width, height, c_paper);
    }

    void expectPixels(std::initializer_list<NamedPixel> pixels)
    {
        for (const NamedPixel& p : pixels) {
            EXPECT_EQ(m_dc.GetPixel(p.x, p.y), colorOf(p.kind))
                << "(" << p.x << ", " << p.y << ") should be " << nameOf(p.kind);
        }
    }

    int count(eKIND kind, const CRect& area)
    {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x)
                n += m_dc.GetPixel(x, y) == colorOf(kind);
        }
        return n;
    }

    QImage m_image;
    CDC m_dc;
};

} // namespace

// --- the size grip ---------------------------------------------------------------------------

TEST_F(FrameControl, SizeGripAt16)
{
    paint(16, 16);
    CRect rect(0, 0, 16, 16);
    ASSERT_TRUE(DrawFrameControl(&m_dc, &rect, DFC_SCROLL, DFCS_SCROLLSIZEGRIP));
    // The corner pixel and the gaps between the ridges keep the face colour, then the ridges
    // from the corner outwards, then what lies beyond the grip.
    expectPixels({{15, 15, eFACE}, {11, 15, eFACE}, {15, 11, eFACE}, {13, 13, eFACE},
        {7, 15, eFACE}, {11, 11, eFACE},
        // Innermost ridge: shadow two lines wide, then the highlight.
        {14, 15, eSHADOW}, {15, 14, eSHADOW}, {13, 15, eSHADOW}, {14, 14, eSHADOW},
        {15, 13, eSHADOW}, {12, 15, eHIGHLIGHT}, {13, 14, eHIGHLIGHT}, {15, 12, eHIGHLIGHT},
        // Middle ridge.
        {10, 15, eSHADOW}, {9, 15, eSHADOW}, {12, 13, eSHADOW}, {15, 9, eSHADOW},
        {8, 15, eHIGHLIGHT}, {12, 11, eHIGHLIGHT}, {15, 8, eHIGHLIGHT},
        // Outer ridge, from (4, 15) to (15, 4).
        {6, 15, eSHADOW}, {5, 15, eSHADOW}, {15, 5, eSHADOW}, {4, 15, eHIGHLIGHT},
        {9, 10, eHIGHLIGHT}, {15, 4, eHIGHLIGHT},
        // Beyond the grip: face.
        {3, 15, eFACE}, {15, 3, eFACE}, {8, 8, eFACE}, {0, 0, eFACE}, {0, 15, eFACE},
        {15, 0, eFACE}});
    // Three highlight lines of 4, 8 and 12 pixels; three shadow bands of 2 + 3, 6 + 7, 10 + 11.
    EXPECT_EQ(count(eHIGHLIGHT, rect), 24);
    EXPECT_EQ(count(eSHADOW, rect), 39);
    EXPECT_EQ(count(eFACE, rect), 256 - 24 - 39) << "everything else is face";
}

TEST_F(FrameControl, SizeGripAt17KeepsItsPlaceAtTheCorner)
{
    paint(24, 24);
    CRect rect(3, 2, 20, 19); // 17 x 17
    ASSERT_TRUE(DrawFrameControl(&m_dc, &rect, DFC_SCROLL, DFCS_SCROLLSIZEGRIP));
    expectPixels({{19, 18, eFACE}, {18, 18, eSHADOW}, {19, 17, eSHADOW}, {17, 18, eSHADOW},
        {16, 18, eHIGHLIGHT}, {19, 15, eHIGHLIGHT}, {15, 18, eFACE}, {8, 18, eHIGHLIGHT},
        {19, 7, eHIGHLIGHT}, {7, 18, eFACE}, {3, 2, eFACE}, {3, 18, eFACE},
        // Outside the rectangle nothing changes.
        {2, 18, ePAPER}, {20, 18, ePAPER}, {19, 19, ePAPER}, {19, 1, ePAPER}});
    EXPECT_EQ(count(eHIGHLIGHT, rect), 24) << "the same grip as at 16";
    EXPECT_EQ(count(eSHADOW, rect), 39);
}

TEST_F(FrameControl, SizeGripIsClippedToASmallRectangle)
{
    paint(24, 24);
    CRect rect(10, 10, 18, 18);
    ASSERT_TRUE(DrawFrameControl(&m_dc, &rect, DFC_SCROLL, DFCS_SCROLLSIZEGRIP));
    expectPixels({{17, 17, eFACE}, {16, 17, eSHADOW}, {14, 17, eHIGHLIGHT}, {10, 17, eHIGHLIGHT},
        {17, 10, eHIGHLIGHT}, {9, 17, ePAPER}, {17, 9, ePAPER}, {7, 17, ePAPER}, {18, 17, ePAPER}});
    EXPECT_EQ(count(ePAPER, CRect(0, 0, 24, 24)), 24 * 24 - 64);
}

TEST_F(FrameControl, DrawingLeavesTheContextAsItWas)
{
    paint(16, 16);
    CPen pen(PS_SOLID, 1, RGB(1, 2, 3));
    m_dc.SelectObject(&pen);
    m_dc.SetBkColor(RGB(9, 8, 7));
    CRect clipBefore;
    m_dc.GetClipBox(&clipBefore);
    CRect rect(0, 0, 8, 8);
    ASSERT_TRUE(DrawFrameControl(&m_dc, &rect, DFC_SCROLL, DFCS_SCROLLSIZEGRIP));
    EXPECT_EQ(m_dc.GetCurrentPen(), &pen);
    EXPECT_EQ(m_dc.GetBkColor(), RGB(9, 8, 7));
    CRect clipAfter;
    m_dc.GetClipBox(&clipAfter);
    EXPECT_EQ(clipAfter, clipBefore) << "the grip's clip is gone";
}

TEST_F(FrameControl, SizeGripWithMappedCoordinates)
{
    paint(24, 24);
    m_dc.SetViewportOrg(8, 8);
    CRect rect(0, 0, 16, 16);
    ASSERT_TRUE(DrawFrameControl(&m_dc, &rect, DFC_SCROLL, DFCS_SCROLLSIZEGRIP));
    m_dc.SetViewportOrg(0, 0);
    expectPixels({{23, 23, eFACE}, {22, 23, eSHADOW}, {20, 23, eHIGHLIGHT}, {7, 7, ePAPER}});
}

// --- scroll arrows ---------------------------------------------------------------------------

TEST_F(FrameControl, ScrollUpIsARaisedButtonWithABlackTriangle)
{
    paint(16, 16);
    CRect rect(0, 0, 16, 16);
    ASSERT_TRUE(DrawFrameControl(&m_dc, &rect, DFC_SCROLL, DFCS_SCROLLUP));
    // Raised edge: light and dark shadow outside, highlight and shadow inside; then the
    // triangle: four rows, tip on top, base 7 pixels wide.
    expectPixels({{0, 0, eLIGHT}, {14, 0, eLIGHT}, {0, 14, eLIGHT}, {15, 0, eDKSHADOW},
        {15, 15, eDKSHADOW}, {0, 15, eDKSHADOW}, {1, 1, eHIGHLIGHT}, {13, 1, eHIGHLIGHT},
        {14, 14, eSHADOW}, {14, 1, eSHADOW}, {2, 2, eFACE}, {7, 6, eBLACK}, {6, 6, eFACE},
        {8, 6, eFACE}, {7, 5, eFACE}, {6, 7, eBLACK}, {8, 7, eBLACK}, {4, 9, eBLACK},
        {10, 9, eBLACK}, {3, 9, eFACE}, {11, 9, eFACE}, {7, 10, eFACE}});
    EXPECT_EQ(count(eBLACK, rect), 1 + 3 + 5 + 7);
}

TEST_F(FrameControl, ScrollArrowsPointTheirWay)
{
    paint(16, 16);
    CRect rect(0, 0, 16, 16);
    ASSERT_TRUE(DrawFrameControl(&m_dc, &rect, DFC_SCROLL, DFCS_SCROLLDOWN));
    expectPixels({{4, 6, eBLACK}, {10, 6, eBLACK}, {7, 9, eBLACK}, {6, 9, eFACE}, {7, 5, eFACE}});
    ASSERT_TRUE(DrawFrameControl(&m_dc, &rect, DFC_SCROLL, DFCS_SCROLLLEFT));
    expectPixels({{6, 7, eBLACK}, {6, 6, eFACE}, {9, 4, eBLACK}, {9, 10, eBLACK}, {10, 7, eFACE}});
    ASSERT_TRUE(DrawFrameControl(&m_dc, &rect, DFC_SCROLL, DFCS_SCROLLRIGHT));
    expectPixels({{9, 7, eBLACK}, {9, 6, eFACE}, {6, 4, eBLACK}, {6, 10, eBLACK}, {5, 7, eFACE}});
}

TEST_F(FrameControl, PushedScrollArrowIsSunkenAndMovesItsTriangle)
{
    paint(16, 16);
    CRect rect(0, 0, 16, 16);
    ASSERT_TRUE(DrawFrameControl(&m_dc, &rect, DFC_SCROLL, DFCS_SCROLLUP | DFCS_PUSHED));
    expectPixels({{0, 0, eSHADOW}, {15, 15, eHIGHLIGHT}, {1, 1, eDKSHADOW}, {14, 14, eLIGHT},
        {8, 7, eBLACK}, {7, 6, eFACE}, {5, 10, eBLACK}, {11, 10, eBLACK}});
}

TEST_F(FrameControl, FlatPushedScrollArrowHasAShadowFrame)
{
    paint(16, 16);
    CRect rect(0, 0, 16, 16);
    ASSERT_TRUE(
        DrawFrameControl(&m_dc, &rect, DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_PUSHED | DFCS_FLAT));
    expectPixels({{0, 0, eSHADOW}, {15, 15, eSHADOW}, {15, 0, eSHADOW}, {1, 1, eFACE},
        {14, 14, eFACE}, {8, 10, eBLACK}});
}

TEST_F(FrameControl, InactiveScrollArrowIsEmbossed)
{
    paint(16, 16);
    CRect rect(0, 0, 16, 16);
    ASSERT_TRUE(DrawFrameControl(&m_dc, &rect, DFC_SCROLL, DFCS_SCROLLUP | DFCS_INACTIVE));
    expectPixels({
        {7, 6, eSHADOW}, {4, 9, eSHADOW}, {10, 9, eSHADOW}, {11, 10, eHIGHLIGHT},
        {5, 10, eHIGHLIGHT}, {8, 10, eHIGHLIGHT}, {11, 9, eFACE},
        {8, 7, eSHADOW}, // the shadow triangle lies on the copy

    });
    EXPECT_EQ(count(eBLACK, rect), 0);
}

TEST_F(FrameControl, SmallScrollArrowHasASmallerTriangle)
{
    paint(16, 11);
    CRect rect(0, 0, 16, 11);
    ASSERT_TRUE(DrawFrameControl(&m_dc, &rect, DFC_SCROLL, DFCS_SCROLLUP));
    // Three rows for a side of 11: tip at (7, 4), base from 5 to 9 on row 6.
    expectPixels({{7, 4, eBLACK}, {5, 6, eBLACK}, {9, 6, eBLACK}, {4, 6, eFACE}, {7, 7, eFACE}});
    EXPECT_EQ(count(eBLACK, rect), 1 + 3 + 5);
}

// --- buttons ---------------------------------------------------------------------------------

TEST_F(FrameControl, PushButtonRaisedAndPushed)
{
    paint(20, 12);
    CRect rect(0, 0, 20, 12);
    ASSERT_TRUE(DrawFrameControl(&m_dc, &rect, DFC_BUTTON, DFCS_BUTTONPUSH));
    expectPixels({{0, 0, eHIGHLIGHT}, {1, 1, eLIGHT}, {19, 11, eDKSHADOW}, {18, 10, eSHADOW},
        {10, 6, eFACE}});
    ASSERT_TRUE(DrawFrameControl(&m_dc, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED));
    expectPixels({{0, 0, eSHADOW}, {1, 1, eDKSHADOW}, {19, 11, eHIGHLIGHT}, {18, 10, eLIGHT},
        {10, 6, eFACE}});
}

TEST_F(FrameControl, CheckBoxWithAndWithoutItsMark)
{
    paint(13, 13);
    CRect rect(0, 0, 13, 13);
    ASSERT_TRUE(DrawFrameControl(&m_dc, &rect, DFC_BUTTON, DFCS_BUTTONCHECK));
    expectPixels({{0, 0, eSHADOW}, {1, 1, eDKSHADOW}, {12, 12, eHIGHLIGHT}, {11, 11, eLIGHT},
        {6, 6, eWINDOW}, {3, 5, eWINDOW}});
    ASSERT_TRUE(DrawFrameControl(&m_dc, &rect, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED));
    // The mark: seven columns of three pixels from (3, 5) down to (5, 7) and up to (9, 3).
    expectPixels({{3, 5, eBLACK}, {3, 7, eBLACK}, {3, 4, eWINDOW}, {3, 8, eWINDOW}, {5, 7, eBLACK},
        {5, 9, eBLACK}, {9, 3, eBLACK}, {9, 5, eBLACK}, {9, 6, eWINDOW}, {6, 6, eBLACK}});
    EXPECT_EQ(count(eBLACK, rect), 21);
}

TEST_F(FrameControl, InactiveCheckBoxIsGreyedOnTheFace)
{
    paint(13, 13);
    CRect rect(0, 0, 13, 13);
    ASSERT_TRUE(DrawFrameControl(
        &m_dc, &rect, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE));
    EXPECT_EQ(m_dc.GetPixel(6, 3), GetSysColor(COLOR_3DFACE));
    EXPECT_EQ(m_dc.GetPixel(3, 5), GetSysColor(COLOR_GRAYTEXT));
    EXPECT_EQ(count(eBLACK, rect), 0);
}

TEST_F(FrameControl, UnknownKindsAndEmptyRectanglesDrawNothing)
{
    paint(16, 16);
    CRect rect(0, 0, 16, 16);
    EXPECT_FALSE(DrawFrameControl(&m_dc, &rect, DFC_CAPTION, 0));
    EXPECT_FALSE(DrawFrameControl(&m_dc, &rect, DFC_SCROLL, 0x0007));
    CRect empty(4, 4, 4, 10);
    EXPECT_FALSE(DrawFrameControl(&m_dc, &empty, DFC_SCROLL, DFCS_SCROLLSIZEGRIP));
    EXPECT_FALSE(DrawFrameControl(nullptr, &rect, DFC_SCROLL, DFCS_SCROLLSIZEGRIP));
    EXPECT_FALSE(DrawFrameControl(&m_dc, nullptr, DFC_SCROLL, DFCS_SCROLLSIZEGRIP));
    EXPECT_EQ(count(ePAPER, rect), 256);
}
