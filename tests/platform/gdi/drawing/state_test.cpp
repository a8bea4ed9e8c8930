#include "drawingtest.h"

#include "platform/gdi/gdiobjects.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct RoundingCase
{
    std::string name;
    int windowExt;
    int viewportExt;
    int logical;
    int device;
};

class MappingRounding : public testing::TestWithParam<RoundingCase>
{
};

// Logical to device rounds to nearest with halves away from zero, both ways.
TEST_P(MappingRounding, LogicalToDeviceAndBack)
{
    const RoundingCase& c = GetParam();
    CDC dc;
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(c.windowExt, c.windowExt);
    dc.SetViewportExt(c.viewportExt, -c.viewportExt);
    POINT p {c.logical, c.logical};
    dc.LPtoDP(&p);
    EXPECT_EQ(p.x, c.device);
    EXPECT_EQ(p.y, -c.device);

    // The way back divides by the other extent.
    dc.SetWindowExt(c.viewportExt, c.viewportExt);
    dc.SetViewportExt(c.windowExt, c.windowExt);
    POINT q {c.logical, c.logical};
    dc.DPtoLP(&q);
    EXPECT_EQ(q.x, c.device);
}

INSTANTIATE_TEST_SUITE_P(Cases, MappingRounding,
    testing::Values(RoundingCase {"TwoThirdsUp", 3, 2, 1, 1},
        RoundingCase {"NegativeTwoThirds", 3, 2, -1, -1}, RoundingCase {"OneThirdDown", 3, 1, 1, 0},
        RoundingCase {"NegativeOneThird", 3, 1, -1, 0},
        RoundingCase {"HalfAwayFromZero", 2, 1, 1, 1},
        RoundingCase {"NegativeHalfAwayFromZero", 2, 1, -1, -1},
        RoundingCase {"OneAndHalf", 2, 1, 3, 2}, RoundingCase {"NegativeOneAndHalf", 2, 1, -3, -2},
        RoundingCase {"Large", 1000, 7, 123456, 864}),
    [](const testing::TestParamInfo<RoundingCase>& info) { return info.param.name; });

TEST(Mapping, AnisotropicYUpPlacesPointsAndLines)
{
    QImage image = whiteImage(20, 20);
    CDC dc(&image);
    EXPECT_EQ(dc.SetMapMode(MM_ANISOTROPIC), MM_TEXT);
    dc.SetWindowExt(100, 100);
    dc.SetViewportExt(20, -20);
    dc.SetViewportOrg(0, 19);
    dc.SetPixel(50, 50, c_red);
    EXPECT_EQ(pixelAt(image, 10, 9), c_red);
    dc.MoveTo(0, 0);
    dc.LineTo(0, 50);
    for (int y = 10; y <= 19; ++y)
        EXPECT_EQ(pixelAt(image, 0, y), c_black) << y;
    EXPECT_EQ(pixelAt(image, 0, 9), c_white);
    // A rectangle given bottom-up still frames its device pixels.
    dc.Rectangle(50, 25, 75, 5);
    EXPECT_EQ(pixelAt(image, 10, 14), c_black);
    EXPECT_EQ(pixelAt(image, 14, 17), c_black);
    EXPECT_EQ(pixelAt(image, 15, 17), c_white);

    CRect r(0, 100, 100, 0);
    dc.LPtoDP(&r);
    EXPECT_EQ(r, CRect(0, -1, 20, 19));
    EXPECT_EQ(dc.SetMapMode(MM_TEXT), MM_ANISOTROPIC);
    EXPECT_EQ(dc.GetWindowExt(), CSize(1, 1));
}

TEST(Mapping, ExtentsIgnoredInTextModeOriginsApply)
{
    CDC dc;
    dc.SetWindowExt(10, 10);
    EXPECT_EQ(dc.GetWindowExt(), CSize(1, 1));
    dc.SetWindowOrg(5, 5);
    dc.OffsetViewportOrg(2, 3);
    POINT p {5, 5};
    dc.LPtoDP(&p);
    EXPECT_EQ(p.x, 2);
    EXPECT_EQ(p.y, 3);
    dc.SetMapMode(MM_ANISOTROPIC);
    EXPECT_EQ(dc.SetWindowExt(0, 4), CSize(1, 1));
    EXPECT_EQ(dc.GetWindowExt(), CSize(1, 1));
}

TEST(Mapping, IsotropicKeepsUnitsSquare)
{
    CDC dc;
    dc.SetMapMode(MM_ISOTROPIC);
    dc.SetWindowExt(100, 100);
    dc.SetViewportExt(200, -50);
    EXPECT_EQ(dc.GetViewportExt(), CSize(50, -50));
}

TEST(Clipping, PolygonRegion)
{
    QImage image = whiteImage(12, 12);
    CDC dc(&image);
    CRgn triangle;
    const POINT corners[] = {{0, 0}, {10, 0}, {0, 10}};
    ASSERT_TRUE(triangle.CreatePolygonRgn(corners, 3, ALTERNATE));
    EXPECT_EQ(dc.SelectClipRgn(&triangle), COMPLEXREGION);
    CBrush red(c_red);
    const CRect all(0, 0, 12, 12);
    dc.FillRect(&all, &red);
    EXPECT_EQ(pixelAt(image, 0, 0), c_red);
    EXPECT_EQ(pixelAt(image, 4, 4), c_red);
    // Pixel centres lie on the integer coordinates: x + y < 10 is inside, the slanted edge
    // itself is not.
    EXPECT_EQ(pixelAt(image, 9, 0), c_red);
    EXPECT_EQ(pixelAt(image, 5, 4), c_red);
    EXPECT_EQ(pixelAt(image, 0, 10), c_white);
    EXPECT_EQ(pixelAt(image, 5, 5), c_white);
    EXPECT_EQ(pixelAt(image, 11, 0), c_white);
    // Lines obey the region too.
    dc.MoveTo(0, 6);
    dc.LineTo(12, 6);
    EXPECT_EQ(pixelAt(image, 2, 6), c_black);
    EXPECT_EQ(pixelAt(image, 6, 6), c_white);
    CRect box;
    EXPECT_EQ(dc.GetClipBox(&box), COMPLEXREGION);
    EXPECT_EQ(box, CRect(0, 0, 10, 10));

    EXPECT_EQ(dc.SelectClipRgn(nullptr), SIMPLEREGION);
    dc.FillRect(&all, &red);
    EXPECT_EQ(pixelAt(image, 11, 11), c_red);
}

TEST(Clipping, IntersectAndExclude)
{
    QImage image = whiteImage(10, 10);
    CDC dc(&image);
    EXPECT_EQ(dc.IntersectClipRect(2, 2, 8, 8), SIMPLEREGION);
    EXPECT_EQ(dc.ExcludeClipRect(4, 4, 6, 6), COMPLEXREGION);
    EXPECT_TRUE(dc.PtVisible(2, 2));
    EXPECT_FALSE(dc.PtVisible(4, 4));
    EXPECT_FALSE(dc.PtVisible(8, 8));
    CBrush red(c_red);
    const CRect all(0, 0, 10, 10);
    dc.FillRect(&all, &red);
    EXPECT_EQ(drawnPixels(image).size(), 32u);
    EXPECT_EQ(dc.IntersectClipRect(4, 4, 6, 6), NULLREGION);
    CRect box;
    EXPECT_EQ(dc.GetClipBox(&box), NULLREGION);
}

TEST(SavedState, RestoreBringsBackObjectsColoursMappingAndClip)
{
    QImage image = whiteImage(10, 10);
    CDC dc(&image);
    CPen red(PS_SOLID, 0, c_red);
    CBrush blue(c_blue);
    dc.SelectObject(&red);
    dc.SelectObject(&blue);
    dc.SetTextColor(c_green);
    dc.SetBkMode(TRANSPARENT);
    dc.SetROP2(R2_XORPEN);
    dc.IntersectClipRect(0, 0, 5, 5);
    dc.SetViewportOrg(1, 1);
    const int level = dc.SaveDC();
    EXPECT_EQ(level, 1);

    CPen green(PS_SOLID, 0, c_green);
    dc.SelectObject(&green);
    dc.SelectStockObject(BLACK_BRUSH);
    dc.SetTextColor(c_black);
    dc.SetBkMode(OPAQUE);
    dc.SetROP2(R2_COPYPEN);
    dc.SelectClipRgn(nullptr);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetViewportExt(2, 2);
    EXPECT_EQ(dc.SaveDC(), 2);

    EXPECT_TRUE(dc.RestoreDC(level));
    EXPECT_FALSE(dc.RestoreDC(-1));
    EXPECT_EQ(dc.GetCurrentPen(), &red);
    EXPECT_EQ(dc.GetCurrentBrush(), &blue);
    EXPECT_EQ(dc.GetTextColor(), c_green);
    EXPECT_EQ(dc.GetBkMode(), TRANSPARENT);
    EXPECT_EQ(dc.GetROP2(), R2_XORPEN);
    EXPECT_EQ(dc.GetMapMode(), MM_TEXT);
    EXPECT_EQ(dc.GetViewportOrg(), CPoint(1, 1));
    dc.SetROP2(R2_COPYPEN);
    CBrush fill(c_red);
    const CRect all(-1, -1, 9, 9);
    dc.FillRect(&all, &fill);
    EXPECT_EQ(pixelAt(image, 4, 4), c_red);
    EXPECT_EQ(pixelAt(image, 5, 5), c_white);
    EXPECT_FALSE(dc.RestoreDC(3));
}

TEST(SavedState, DefaultObjectsAndRejectedSelections)
{
    CDC dc;
    EXPECT_EQ(dc.GetCurrentPen(), GetStockObject(BLACK_PEN));
    EXPECT_EQ(dc.GetCurrentBrush(), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(dc.GetCurrentFont(), GetStockObject(SYSTEM_FONT));
    CPen unmade;
    EXPECT_EQ(dc.SelectObject(&unmade), nullptr);
    EXPECT_EQ(dc.GetCurrentPen(), GetStockObject(BLACK_PEN));
    EXPECT_EQ(dc.SelectStockObject(NULL_BRUSH), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(dc.SetROP2(0), 0);
    EXPECT_EQ(dc.SetBkMode(3), 0);
}

TEST(Regions, CombineAndQuery)
{
    CRgn a, b, c;
    a.CreateRectRgn(0, 0, 10, 10);
    b.CreateRectRgn(5, 5, 15, 15);
    EXPECT_EQ(c.CombineRgn(&a, &b, RGN_AND), SIMPLEREGION);
    CRect box;
    EXPECT_EQ(c.GetRgnBox(&box), SIMPLEREGION);
    EXPECT_EQ(box, CRect(5, 5, 10, 10));
    EXPECT_EQ(c.CombineRgn(&a, &b, RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(c.PtInRegion(14, 14));
    EXPECT_FALSE(c.PtInRegion(14, 2));
    EXPECT_EQ(c.CombineRgn(&a, &a, RGN_DIFF), NULLREGION);
    CRgn unmade;
    EXPECT_EQ(c.CombineRgn(&a, &unmade, RGN_XOR), ERROR);
    a.OffsetRgn(3, 0);
    EXPECT_FALSE(a.PtInRegion(2, 2));
    EXPECT_TRUE(a.PtInRegion(12, 2));
}

TEST(DeviceCaps, SizesColoursAndRaster)
{
    QImage image = whiteImage(40, 30);
    CDC dc(&image);
    EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 40);
    EXPECT_EQ(dc.GetDeviceCaps(VERTRES), 30);
    EXPECT_EQ(dc.GetDeviceCaps(HORZSIZE), 11);
    EXPECT_EQ(dc.GetDeviceCaps(VERTSIZE), 8);
    EXPECT_EQ(dc.GetDeviceCaps(BITSPIXEL), 32);
    EXPECT_EQ(dc.GetDeviceCaps(PLANES), 1);
    EXPECT_EQ(dc.GetDeviceCaps(NUMCOLORS), -1);
    EXPECT_EQ(dc.GetDeviceCaps(RASTERCAPS) & RC_PALETTE, 0);
    EXPECT_NE(dc.GetDeviceCaps(RASTERCAPS) & RC_STRETCHBLT, 0);
    EXPECT_EQ(dc.GetDeviceCaps(SIZEPALETTE), 0);
    dc.setDeviceResolution(192, 144);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 192);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 144);
    EXPECT_EQ(dc.GetDeviceCaps(HORZSIZE), 5);

    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(&dc));
    EXPECT_EQ(memory.GetDeviceCaps(BITSPIXEL), 1);
    EXPECT_EQ(memory.GetDeviceCaps(HORZRES), 1);
    EXPECT_EQ(memory.GetDeviceCaps(LOGPIXELSX), 192);
}

} // namespace
