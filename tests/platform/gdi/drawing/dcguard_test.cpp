#include "drawingtest.h"

#include "platform/gdi/dcguard.h"
#include "platform/gdi/gdiobjects.h"

#include <gtest/gtest.h>

namespace {

// Each kind returns to what was selected before the guard's first selection of it, however
// often it was selected through the guard; a refused object is not put back.
TEST(DCGuard, SelectionsReturnToTheObjectsBeforeIt)
{
    QImage image = whiteImage(10, 10);
    CDC dc(&image);
    CPen outerPen(PS_SOLID, 0, c_red);
    dc.SelectObject(&outerPen);
    CFont* const stockFont = dc.GetCurrentFont();
    CBrush* const stockBrush = dc.GetCurrentBrush();
    CPen green(PS_SOLID, 0, c_green);
    CPen blue(PS_SOLID, 0, c_blue);
    CBrush fill(c_blue);
    CFont font;
    font.CreatePointFont(100, "Sans");
    CPen unmade;
    {
        CDCGuard guard(&dc);
        EXPECT_EQ(guard.select(&green), &outerPen);
        EXPECT_EQ(guard.select(&blue), &green);
        EXPECT_EQ(guard.select(&unmade), nullptr);
        guard.select(&fill);
        guard.select(&font);
        EXPECT_EQ(dc.GetCurrentPen(), &blue);
        dc.SetTextColor(c_green);
    }
    EXPECT_EQ(dc.GetCurrentPen(), &outerPen);
    EXPECT_EQ(dc.GetCurrentBrush(), stockBrush);
    EXPECT_EQ(dc.GetCurrentFont(), stockFont);
    EXPECT_EQ(dc.GetTextColor(), c_green); // objects only: the colours stay

    {
        CDCGuard whole(&dc, CDCGuard::wholeState);
        whole.select(&green);
        dc.SetTextColor(c_black);
        dc.IntersectClipRect(0, 0, 1, 1);
    }
    EXPECT_EQ(dc.GetCurrentPen(), &outerPen);
    EXPECT_EQ(dc.GetTextColor(), c_green);
    CBrush red(c_red);
    const CRect all(0, 0, 10, 10);
    dc.FillRect(&all, &red);
    EXPECT_EQ(pixelAt(image, 5, 5), c_red); // the clip came back too
    EXPECT_FALSE(dc.RestoreDC(-1)); // and the saved level is gone
}

} // namespace
