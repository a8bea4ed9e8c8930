#include "drawingtest.h"

#include "platform/gdi/gdiobjects.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct LineCase
{
    std::string name;
    POINT from;
    POINT to;
    PixelSet pixels;
};

class LinePixels : public testing::TestWithParam<LineCase>
{
};

// A line lights its start and not its end; on an exact tie the pixel with the smaller minor
// coordinate is lit, whichever way the line runs.
TEST_P(LinePixels, StartIncludedEndExcluded)
{
    const LineCase& c = GetParam();
    QImage image = whiteImage(12, 12);
    CDC dc(&image);
    dc.MoveTo(c.from.x, c.from.y);
    EXPECT_TRUE(dc.LineTo(c.to.x, c.to.y));
    EXPECT_EQ(drawnPixels(image), c.pixels);
    EXPECT_EQ(dc.GetCurrentPosition(), CPoint(c.to));
    for (const auto& [x, y] : c.pixels)
        EXPECT_EQ(pixelAt(image, x, y), c_black);
}

INSTANTIATE_TEST_SUITE_P(Directions, LinePixels,
    testing::Values(LineCase {"East", {2, 5}, {7, 5}, {{2, 5}, {3, 5}, {4, 5}, {5, 5}, {6, 5}}},
        LineCase {"West", {7, 5}, {2, 5}, {{7, 5}, {6, 5}, {5, 5}, {4, 5}, {3, 5}}},
        LineCase {"South", {5, 2}, {5, 6}, {{5, 2}, {5, 3}, {5, 4}, {5, 5}}},
        LineCase {"North", {5, 6}, {5, 2}, {{5, 6}, {5, 5}, {5, 4}, {5, 3}}},
        LineCase {"EastSouthEastTie", {1, 1}, {5, 2}, {{1, 1}, {2, 1}, {3, 1}, {4, 2}}},
        LineCase {"WestNorthWestTie", {5, 2}, {1, 1}, {{5, 2}, {4, 2}, {3, 1}, {2, 1}}},
        LineCase {"SouthSouthEastTie", {1, 1}, {2, 5}, {{1, 1}, {1, 2}, {1, 3}, {2, 4}}},
        LineCase {"SouthSouthWestTie", {5, 1}, {4, 5}, {{5, 1}, {5, 2}, {4, 3}, {4, 4}}},
        LineCase {"WestSouthWestTie", {5, 1}, {1, 2}, {{5, 1}, {4, 1}, {3, 1}, {2, 2}}},
        LineCase {"NorthNorthWestTie", {5, 5}, {4, 1}, {{5, 5}, {5, 4}, {4, 3}, {4, 2}}},
        LineCase {"NorthNorthEastTie", {4, 5}, {5, 1}, {{4, 5}, {4, 4}, {4, 3}, {5, 2}}},
        LineCase {"EastNorthEastTie", {1, 5}, {5, 4}, {{1, 5}, {2, 5}, {3, 4}, {4, 4}}},
        LineCase {"Diagonal", {1, 1}, {5, 5}, {{1, 1}, {2, 2}, {3, 3}, {4, 4}}},
        LineCase {"RoundedSlope", {0, 0}, {5, 2}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}},
        LineCase {"ZeroLength", {3, 3}, {3, 3}, {}}),
    [](const testing::TestParamInfo<LineCase>& info) { return info.param.name; });

// The bevel of a sunken box of depth 1 over (0, 0)-(10, 10), drawn step by step as the
// framework's box drawing does, gives the pixels the suite states.
void drawBevel(CDC& dc, bool raised)
{
    CPen frame(PS_SOLID, 0, c_black);
    CPen highlight(PS_SOLID, 0, c_white);
    CPen shadow(PS_SOLID, 0, c_blue);
    CBrush fill(c_green);
    dc.SaveDC();
    dc.SelectObject(&frame);
    dc.SelectObject(&fill);
    CRect r(0, 0, 10, 10);
    dc.Rectangle(&r);
    CRect w = r;
    if (raised)
        w.DeflateRect(1, 1);
    else
        w.DeflateRect(0, 0, 1, 1);
    w.DeflateRect(1, 1);
    dc.SelectObject(raised ? &highlight : &shadow);
    dc.MoveTo(w.left, w.bottom);
    dc.LineTo(w.left, w.top);
    dc.LineTo(w.right, w.top);
    dc.SelectObject(raised ? &shadow : &highlight);
    dc.LineTo(w.right, w.bottom);
    dc.LineTo(w.left, w.bottom);
    if (!raised)
        w.DeflateRect(1, 1, 0, 0);
    dc.FillRect(&w, &fill);
    dc.RestoreDC(-1);
}

TEST(BevelPixels, SunkenDepthOne)
{
    QImage image = whiteImage(12, 12);
    image.fill(Qt::red);
    CDC dc(&image);
    drawBevel(dc, false);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            COLORREF want = c_green;
            if (x == 0 || y == 0 || x == 9 || y == 9)
                want = c_black;
            else if (x == 1 || (y == 1 && x <= 7))
                want = c_blue;
            else if (x == 8 || y == 8)
                want = c_white;
            EXPECT_EQ(pixelAt(image, x, y), want) << x << "," << y;
        }
    }
    EXPECT_EQ(pixelAt(image, 10, 10), c_red);
}

TEST(BevelPixels, RaisedDepthOne)
{
    QImage image = whiteImage(12, 12);
    image.fill(Qt::red);
    CDC dc(&image);
    drawBevel(dc, true);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            COLORREF want = c_green;
            if (x == 0 || y == 0 || x == 9 || y == 9)
                want = c_black;
            else if ((x == 8 && y >= 2) || (y == 8 && x >= 3))
                want = c_blue;
            else if (x == 2 && y == 8)
                want = c_white;
            EXPECT_EQ(pixelAt(image, x, y), want) << x << "," << y;
        }
    }
}

// A line clipped by the image or the clip rectangle lights exactly the pixels the whole line
// lights there.
TEST(LineClipping, ClippedLineMatchesWholeLine)
{
    const std::vector<std::pair<POINT, POINT>> lines = {{{-900, -310}, {37, 25}},
        {{45, 8}, {-700, 34}}, {{3, -1000}, {17, 1000}}, {{2000, 39}, {-2000, 1}}};
    for (const auto& [from, to] : lines) {
        QImage big = whiteImage(4000, 2100);
        CDC whole(&big);
        whole.SetViewportOrg(2000, 1030);
        whole.MoveTo(from.x, from.y);
        whole.LineTo(to.x, to.y);

        QImage small = whiteImage(40, 40);
        CDC clipped(&small);
        clipped.IntersectClipRect(5, 5, 35, 35);
        clipped.MoveTo(from.x, from.y);
        clipped.LineTo(to.x, to.y);

        int lit = 0;
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 40; ++x) {
                const bool inClip = x >= 5 && x < 35 && y >= 5 && y < 35;
                const COLORREF want = inClip ? pixelAt(big, x + 2000, y + 1030) : c_white;
                EXPECT_EQ(pixelAt(small, x, y), want) << x << "," << y;
                lit += want == c_black;
            }
        }
        EXPECT_GT(lit, 10);
    }
}

TEST(LinePens, NullPenDrawsNothingButMoves)
{
    QImage image = whiteImage(10, 10);
    CDC dc(&image);
    dc.SelectStockObject(NULL_PEN);
    dc.MoveTo(1, 1);
    dc.LineTo(8, 8);
    EXPECT_TRUE(drawnPixels(image).empty());
    EXPECT_EQ(dc.GetCurrentPosition(), CPoint(8, 8));
}

TEST(LinePens, WidePenIsASquareAlongTheLine)
{
    QImage image = whiteImage(12, 12);
    CDC dc(&image);
    CPen pen(PS_SOLID, 3, c_red);
    dc.SelectObject(&pen);
    dc.MoveTo(2, 5);
    dc.LineTo(8, 5);
    PixelSet want;
    for (int y = 4; y <= 6; ++y)
        for (int x = 1; x <= 8; ++x)
            want.insert({x, y});
    EXPECT_EQ(drawnPixels(image), want);
}

TEST(LinePens, DottedPenGapsFollowBackgroundMode)
{
    QImage image = whiteImage(14, 3);
    CDC dc(&image);
    CPen pen(PS_DOT, 0, c_red);
    dc.SelectObject(&pen);
    dc.SetBkColor(c_blue);
    dc.MoveTo(0, 0);
    dc.LineTo(12, 0);
    dc.SetBkMode(TRANSPARENT);
    dc.MoveTo(0, 1);
    dc.LineTo(12, 1);
    for (int x = 0; x < 12; ++x) {
        const bool on = x % 6 < 3;
        EXPECT_EQ(pixelAt(image, x, 0), on ? c_red : c_blue) << x;
        EXPECT_EQ(pixelAt(image, x, 1), on ? c_red : c_white) << x;
    }
    EXPECT_EQ(pixelAt(image, 12, 0), c_white);
}

TEST(LinePens, PolylineDrawsEverySegmentButTheLastPoint)
{
    QImage image = whiteImage(10, 10);
    CDC dc(&image);
    const POINT points[] = {{1, 1}, {5, 1}, {5, 5}};
    dc.MoveTo(7, 7);
    EXPECT_TRUE(dc.Polyline(points, 3));
    EXPECT_EQ(drawnPixels(image),
        (PixelSet {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {5, 2}, {5, 3}, {5, 4}}));
    EXPECT_EQ(dc.GetCurrentPosition(), CPoint(7, 7));
    EXPECT_FALSE(dc.Polyline(points, 1));
}

} // namespace
