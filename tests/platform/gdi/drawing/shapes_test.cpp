#include "drawingtest.h"

#include "platform/gdi/gdiobjects.h"

#include <gtest/gtest.h>

#include <QtGui/QRegion>

#include <random>
#include <vector>

namespace {

TEST(RectangleEdges, PenFramesOutermostPixelsAndBrushFillsInside)
{
    QImage image = whiteImage(12, 10);
    CDC dc(&image);
    CBrush red(c_red);
    dc.SelectObject(&red);
    EXPECT_TRUE(dc.Rectangle(2, 2, 8, 6));
    EXPECT_EQ(pixelAt(image, 2, 2), c_black);
    EXPECT_EQ(pixelAt(image, 7, 5), c_black);
    EXPECT_EQ(pixelAt(image, 7, 3), c_black);
    EXPECT_EQ(pixelAt(image, 4, 5), c_black);
    EXPECT_EQ(pixelAt(image, 3, 3), c_red);
    EXPECT_EQ(pixelAt(image, 6, 4), c_red);
    EXPECT_EQ(pixelAt(image, 8, 5), c_white);
    EXPECT_EQ(pixelAt(image, 7, 6), c_white);
    EXPECT_EQ(drawnPixels(image).size(), 24u);
}

TEST(RectangleEdges, FillRectCoversRightAndBottomExclusive)
{
    QImage image = whiteImage(12, 10);
    CDC dc(&image);
    CBrush red(c_red);
    dc.SetROP2(R2_XORPEN); // not used by FillRect
    const CRect r(2, 2, 8, 6);
    dc.FillRect(&r, &red);
    EXPECT_EQ(pixelAt(image, 2, 2), c_red);
    EXPECT_EQ(pixelAt(image, 7, 5), c_red);
    EXPECT_EQ(pixelAt(image, 8, 5), c_white);
    EXPECT_EQ(pixelAt(image, 7, 6), c_white);
    EXPECT_EQ(drawnPixels(image).size(), 24u);
}

TEST(RectangleEdges, NullPenFillsOnePixelSmaller)
{
    QImage image = whiteImage(12, 10);
    CDC dc(&image);
    CBrush red(c_red);
    dc.SelectObject(&red);
    dc.SelectStockObject(NULL_PEN);
    dc.Rectangle(2, 2, 8, 6);
    EXPECT_EQ(pixelAt(image, 2, 2), c_red);
    EXPECT_EQ(pixelAt(image, 6, 4), c_red);
    EXPECT_EQ(pixelAt(image, 7, 4), c_white);
    EXPECT_EQ(pixelAt(image, 6, 5), c_white);
    EXPECT_EQ(drawnPixels(image).size(), 15u);
}

TEST(RectangleEdges, NullBrushLeavesInside)
{
    QImage image = whiteImage(12, 10);
    CDC dc(&image);
    dc.SelectStockObject(NULL_BRUSH);
    dc.Rectangle(2, 2, 8, 6);
    EXPECT_EQ(pixelAt(image, 2, 2), c_black);
    EXPECT_EQ(pixelAt(image, 7, 5), c_black);
    EXPECT_EQ(pixelAt(image, 4, 3), c_white);
    EXPECT_EQ(drawnPixels(image).size(), 16u);
    dc.SelectStockObject(NULL_PEN);
    dc.Rectangle(0, 0, 12, 10);
    EXPECT_EQ(drawnPixels(image).size(), 16u);
}

TEST(RectangleEdges, CornersAreNormalised)
{
    QImage image = whiteImage(12, 10);
    CDC dc(&image);
    dc.Rectangle(8, 6, 2, 2);
    EXPECT_EQ(pixelAt(image, 2, 2), c_black);
    EXPECT_EQ(pixelAt(image, 7, 5), c_black);
    EXPECT_EQ(pixelAt(image, 8, 6), c_white);
}

TEST(RectangleEdges, Draw3dRectAndFrameRect)
{
    QImage image = whiteImage(12, 10);
    CDC dc(&image);
    const CRect r(1, 1, 6, 5);
    dc.Draw3dRect(&r, c_red, c_blue);
    EXPECT_EQ(pixelAt(image, 1, 1), c_red);
    EXPECT_EQ(pixelAt(image, 4, 1), c_red);
    EXPECT_EQ(pixelAt(image, 5, 1), c_blue);
    EXPECT_EQ(pixelAt(image, 1, 3), c_red);
    EXPECT_EQ(pixelAt(image, 1, 4), c_blue);
    EXPECT_EQ(pixelAt(image, 5, 4), c_blue);
    EXPECT_EQ(pixelAt(image, 6, 4), c_white);
    EXPECT_EQ(pixelAt(image, 3, 3), c_white);
    EXPECT_EQ(dc.GetBkColor(), c_blue);

    CBrush green(c_green);
    const CRect f(7, 5, 11, 9);
    dc.FrameRect(&f, &green);
    EXPECT_EQ(pixelAt(image, 7, 5), c_green);
    EXPECT_EQ(pixelAt(image, 10, 8), c_green);
    EXPECT_EQ(pixelAt(image, 8, 6), c_white);
}

TEST(MixModes, ExclusiveOrTwiceRestoresEveryPixel)
{
    QImage image(24, 24, QImage::Format_RGB32);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x)
            image.setPixel(x, y, qRgb(x * 10, y * 10, (x * y) % 256));
    const QImage original = image.copy();
    CDC dc(&image);
    CPen pen(PS_SOLID, 0, RGB(0x5A, 0xC3, 0x0F));
    CBrush brush(RGB(0x33, 0x66, 0x99));
    dc.SelectObject(&pen);
    dc.SelectObject(&brush);
    dc.SetROP2(R2_XORPEN);
    const POINT triangle[] = {{3, 20}, {12, 2}, {21, 17}};
    auto draw = [&] {
        for (int i = 0; i < 8; ++i) {
            dc.MoveTo(12, 12);
            dc.LineTo(12 + ((i & 1) ? 11 : 5) * ((i & 2) ? 1 : -1),
                12 + ((i & 1) ? 5 : 11) * ((i & 4) ? 1 : -1));
        }
        dc.Rectangle(2, 2, 10, 9);
        dc.Ellipse(13, 13, 23, 21);
        dc.Polygon(triangle, 3);
    };
    draw();
    EXPECT_NE(image, original);
    const QRgb before = original.pixel(6, 2);
    EXPECT_EQ(image.pixel(6, 2), 0xFF000000u | ((before ^ 0x5AC30Fu) & 0xFFFFFFu));
    draw();
    EXPECT_EQ(image, original);
}

TEST(MixModes, Inversions)
{
    QImage image = whiteImage(10, 6);
    image.setPixel(1, 1, qRgb(0x12, 0x34, 0x56));
    CDC dc(&image);
    dc.SetROP2(R2_NOT);
    dc.MoveTo(0, 1);
    dc.LineTo(4, 1);
    EXPECT_EQ(pixelAt(image, 0, 1), c_black);
    EXPECT_EQ(pixelAt(image, 1, 1), RGB(0xED, 0xCB, 0xA9));
    EXPECT_EQ(pixelAt(image, 4, 1), c_white);

    CPen red(PS_SOLID, 1, c_red);
    dc.SelectObject(&red);
    dc.SetROP2(R2_NOTCOPYPEN);
    dc.MoveTo(0, 3);
    dc.LineTo(2, 3);
    EXPECT_EQ(pixelAt(image, 0, 3), RGB(0, 255, 255));

    const CRect r(5, 0, 10, 6);
    dc.InvertRect(&r);
    EXPECT_EQ(pixelAt(image, 7, 2), c_black);
    dc.PatBlt(5, 0, 5, 6, DSTINVERT);
    EXPECT_EQ(pixelAt(image, 7, 2), c_white);
    dc.PatBlt(5, 0, 2, 2, BLACKNESS);
    EXPECT_EQ(pixelAt(image, 6, 1), c_black);
    dc.PatBlt(5, 0, 2, 2, WHITENESS);
    EXPECT_EQ(pixelAt(image, 6, 1), c_white);
}

TEST(EllipseBounds, PenAndNullPen)
{
    QImage image = whiteImage(12, 12);
    CDC dc(&image);
    CBrush red(c_red);
    dc.SelectObject(&red);
    dc.Ellipse(0, 0, 9, 9);
    const PixelSet drawn = drawnPixels(image);
    for (const auto& [x, y] : drawn) {
        EXPECT_LT(x, 9);
        EXPECT_LT(y, 9);
    }
    EXPECT_EQ(pixelAt(image, 4, 0), c_black);
    EXPECT_EQ(pixelAt(image, 4, 8), c_black);
    EXPECT_EQ(pixelAt(image, 0, 4), c_black);
    EXPECT_EQ(pixelAt(image, 8, 4), c_black);
    EXPECT_EQ(pixelAt(image, 4, 4), c_red);
    EXPECT_EQ(pixelAt(image, 0, 0), c_white);

    QImage second = whiteImage(12, 12);
    CDC nullPen(&second);
    nullPen.SelectObject(&red);
    nullPen.SelectStockObject(NULL_PEN);
    nullPen.Ellipse(0, 0, 9, 9);
    for (const auto& [x, y] : drawnPixels(second)) {
        EXPECT_LT(x, 8);
        EXPECT_LT(y, 8);
    }
    EXPECT_EQ(pixelAt(second, 4, 4), c_red);
}

TEST(PolygonFill, AlternateAndWinding)
{
    // A five-pointed star: its centre is outside with the alternate rule, inside with winding.
    const POINT star[] = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
    QImage image = whiteImage(21, 21);
    CDC dc(&image);
    CBrush red(c_red);
    dc.SelectObject(&red);
    dc.SelectStockObject(NULL_PEN);
    EXPECT_TRUE(dc.Polygon(star, 5));
    EXPECT_EQ(pixelAt(image, 10, 10), c_white);
    EXPECT_EQ(pixelAt(image, 10, 3), c_red);
    EXPECT_EQ(dc.SetPolyFillMode(WINDING), ALTERNATE);
    dc.Polygon(star, 5);
    EXPECT_EQ(pixelAt(image, 10, 10), c_red);
    EXPECT_FALSE(dc.Polygon(star, 1));
}

TEST(PolygonFill, TopLeftRuleAndOutline)
{
    const POINT square[] = {{2, 2}, {6, 2}, {6, 6}, {2, 6}};
    QImage image = whiteImage(10, 10);
    CDC dc(&image);
    CBrush red(c_red);
    dc.SelectObject(&red);
    dc.SelectStockObject(NULL_PEN);
    dc.Polygon(square, 4);
    EXPECT_EQ(drawnPixels(image).size(), 16u);
    EXPECT_EQ(pixelAt(image, 5, 5), c_red);
    EXPECT_EQ(pixelAt(image, 6, 5), c_white);
    dc.SelectStockObject(BLACK_PEN);
    dc.Polygon(square, 4);
    EXPECT_EQ(pixelAt(image, 6, 6), c_black);
    EXPECT_EQ(pixelAt(image, 3, 3), c_red);
}

// The fill walks only the rows it can show and computes each edge's crossing exactly: it must
// light the pixels Qt's region scan conversion does, for random polygons with both rules, under
// a clip of several rectangles, and for a polygon whose corners lie far outside the image.
TEST(PolygonFill, SameAsRegionScanConversion)
{
    std::mt19937 random(29);
    std::uniform_int_distribution<int> coordinate(-20, 60);
    const QRegion clip = QRegion(3, 2, 30, 20) + QRegion(10, 25, 25, 10);
    for (int round = 0; round < 200; ++round) {
        const int n = 3 + round % 9;
        std::vector<POINT> points;
        QPolygon polygon;
        for (int i = 0; i < n; ++i) {
            points.push_back(POINT {coordinate(random), coordinate(random)});
            polygon << QPoint(points.back().x, points.back().y);
        }
        const bool winding = round % 2;
        const bool clipped = round % 3 == 0;
        QImage drawn = whiteImage(40, 40);
        CDC dc(&drawn);
        CBrush red(c_red);
        dc.SelectObject(&red);
        dc.SelectStockObject(NULL_PEN);
        dc.SetPolyFillMode(winding ? WINDING : ALTERNATE);
        CRgn clipRegion;
        if (clipped) {
            clipRegion.CreateRectRgn(3, 2, 33, 22);
            CRgn lower;
            lower.CreateRectRgn(10, 25, 35, 35);
            clipRegion.CombineRgn(&clipRegion, &lower, RGN_OR);
            dc.SelectClipRgn(&clipRegion);
        }
        dc.Polygon(points.data(), n);
        QRegion expected(polygon, winding ? Qt::WindingFill : Qt::OddEvenFill);
        if (clipped)
            expected &= clip;
        PixelSet wanted;
        for (const QRect& r : expected& QRegion(drawn.rect()))
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x)
                    wanted.insert({x, y});
        ASSERT_EQ(drawnPixels(drawn), wanted) << "round " << round;
    }

    // A wedge from far above-left to far below-right: the rows shown are filled from the left
    // edge to the wedge's exact diagonal, at once.
    const POINT far[] = {{-100000000, -100000000}, {100000000, 100000000}, {-100000000, 100000000}};
    QImage image = whiteImage(20, 20);
    CDC dc(&image);
    CBrush red(c_red);
    dc.SelectObject(&red);
    dc.SelectStockObject(NULL_PEN);
    dc.Polygon(far, 3);
    PixelSet below;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < y; ++x)
            below.insert({x, y});
    EXPECT_EQ(drawnPixels(image), below);
}

TEST(GradientFill, EndColoursAndSteps)
{
    QImage image = whiteImage(12, 12);
    CDC dc(&image);
    TRIVERTEX v[2];
    v[0].x = 0, v[0].y = 0, v[0].Red = 0xFF00;
    v[1].x = 10, v[1].y = 2, v[1].Blue = 0xFF00;
    GRADIENT_RECT mesh {0, 1};
    EXPECT_TRUE(dc.GradientFill(v, 2, &mesh, 1, GRADIENT_FILL_RECT_H));
    EXPECT_EQ(pixelAt(image, 0, 0), c_red);
    EXPECT_EQ(pixelAt(image, 0, 1), c_red);
    EXPECT_EQ(pixelAt(image, 5, 1), RGB(127, 0, 127));
    EXPECT_EQ(pixelAt(image, 9, 0), RGB(25, 0, 229));
    EXPECT_EQ(pixelAt(image, 10, 0), c_white);
    EXPECT_EQ(pixelAt(image, 0, 2), c_white);

    v[0].y = 4, v[1].y = 12, v[1].x = 2;
    EXPECT_TRUE(dc.GradientFill(v, 2, &mesh, 1, GRADIENT_FILL_RECT_V));
    EXPECT_EQ(pixelAt(image, 1, 4), c_red);
    EXPECT_EQ(pixelAt(image, 1, 11), RGB(31, 0, 223));
    GRADIENT_RECT bad {0, 2};
    EXPECT_FALSE(dc.GradientFill(v, 2, &bad, 1, GRADIENT_FILL_RECT_H));
}

TEST(GradientFill, ClippedPartKeepsItsColours)
{
    QImage image = whiteImage(12, 2);
    CDC dc(&image);
    dc.IntersectClipRect(5, 0, 12, 2);
    TRIVERTEX v[2];
    v[0].x = -10, v[0].Red = 0xFF00;
    v[1].x = 10, v[1].y = 2, v[1].Blue = 0xFF00;
    GRADIENT_RECT mesh {0, 1};
    ASSERT_TRUE(dc.GradientFill(v, 2, &mesh, 1, GRADIENT_FILL_RECT_H));
    EXPECT_EQ(pixelAt(image, 4, 0), c_white);
    EXPECT_EQ(pixelAt(image, 5, 0), RGB(63, 0, 191)); // position 15 of 20
    EXPECT_EQ(pixelAt(image, 9, 1), RGB(12, 0, 242));
    EXPECT_EQ(pixelAt(image, 10, 0), c_white);
}

TEST(Pixels, SetAndGet)
{
    QImage image = whiteImage(4, 4);
    CDC dc(&image);
    EXPECT_EQ(dc.SetPixel(1, 2, RGB(1, 2, 3)), RGB(1, 2, 3));
    EXPECT_EQ(dc.GetPixel(1, 2), RGB(1, 2, 3));
    EXPECT_EQ(pixelAt(image, 1, 2), RGB(1, 2, 3));
    EXPECT_EQ(dc.SetPixel(4, 0, c_red), CLR_INVALID);
    EXPECT_EQ(dc.GetPixel(-1, 0), CLR_INVALID);
    dc.IntersectClipRect(0, 0, 1, 1);
    EXPECT_EQ(dc.GetPixel(1, 2), CLR_INVALID);
    EXPECT_FALSE(dc.SetPixelV(2, 2, c_red));
}

} // namespace
