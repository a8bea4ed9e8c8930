#include "platform/gdi/dc.h"
#include "tests/platform/gdi/text/textsupport.h"

#include <gtest/gtest.h>
#include <string>

namespace {

constexpr QRgb c_red = 0xFFFF0000;
constexpr QRgb c_green = 0xFF00FF00;
constexpr QRgb c_blue = 0xFF0000FF;

// A red 120 x 60 image with the dialog font, blue text on a green background.
class TextOutTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ensureGuiApplication();
        m_image.fill(c_red);
        m_font = makeFont("MS Sans Serif", -11);
        m_dc.SelectObject(m_font.get());
        m_dc.SetTextColor(RGB(0, 0, 255));
        m_dc.SetBkColor(RGB(0, 255, 0));
    }

    QImage m_image {whiteImage(120, 60)};
    CDC m_dc {&m_image};
    std::unique_ptr<CFont> m_font;
};

TEST_F(TextOutTest, OpaqueFillsTheCellWithTheBackground)
{
    m_dc.SetBkMode(OPAQUE);
    EXPECT_TRUE(m_dc.TextOut(5, 5, "Hi"));
    const int width = m_dc.GetTextExtent("Hi").cx;
    const QRect cell(5, 5, width, 13);
    const int text = countPixels(m_image, cell, c_blue);
    EXPECT_GT(text, 0);
    EXPECT_EQ(countPixels(m_image, cell, c_green) + text, width * 13);
    // Nothing outside the cell changed.
    EXPECT_EQ(countPixels(m_image, m_image.rect(), c_red), 120 * 60 - width * 13);
}

TEST_F(TextOutTest, TransparentLeavesTheBackground)
{
    m_dc.SetBkMode(TRANSPARENT);
    m_dc.TextOut(5, 5, "Hi");
    const int width = m_dc.GetTextExtent("Hi").cx;
    const QRect cell(5, 5, width, 13);
    const int text = countPixels(m_image, cell, c_blue);
    EXPECT_GT(text, 0);
    EXPECT_EQ(countPixels(m_image, cell, c_red) + text, width * 13);
    EXPECT_EQ(countPixels(m_image, m_image.rect(), c_green), 0);
}

TEST_F(TextOutTest, RasterGlyphsHaveNoGreyEdges)
{
    m_dc.SetBkMode(TRANSPARENT);
    m_dc.TextOut(0, 0, "Sample text");
    const QRect all = m_image.rect();
    EXPECT_EQ(countPixels(m_image, all, c_red) + countPixels(m_image, all, c_blue), 120 * 60);
}

struct AlignCase
{
    const char* name;
    UINT align;
    // The cell's expected left and top for TextOut(60, 30, "H"), from the width w and the
    // font's ascent 11 and height 13.
    int (*left)(int w);
    int top;
};

class TextAlign : public TextOutTest, public ::testing::WithParamInterface<AlignCase>
{
};

TEST_P(TextAlign, PlacesTheCell)
{
    const AlignCase& c = GetParam();
    m_dc.SetBkMode(OPAQUE);
    m_dc.SetTextAlign(c.align);
    m_dc.TextOut(60, 30, "H");
    const int width = m_dc.GetTextExtent("H").cx;
    QRect expected(c.left(width), c.top, width, 13);
    EXPECT_EQ(inkBox(m_image, m_image.rect(), c_red), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, TextAlign,
    ::testing::Values(AlignCase {"LeftTop", TA_LEFT | TA_TOP, [](int) { return 60; }, 30},
        AlignCase {"RightTop", TA_RIGHT | TA_TOP, [](int w) { return 60 - w; }, 30},
        AlignCase {"CenterTop", TA_CENTER | TA_TOP, [](int w) { return 60 - w / 2; }, 30},
        AlignCase {"LeftBaseline", TA_LEFT | TA_BASELINE, [](int) { return 60; }, 30 - 11},
        AlignCase {"LeftBottom", TA_LEFT | TA_BOTTOM, [](int) { return 60; }, 30 - 13},
        AlignCase {"RightBaseline", TA_RIGHT | TA_BASELINE, [](int w) { return 60 - w; }, 30 - 11}),
    [](const ::testing::TestParamInfo<AlignCase>& info) { return info.param.name; });

TEST_F(TextOutTest, UpdateCurrentPositionMovesOnByTheWidth)
{
    m_dc.SetBkMode(TRANSPARENT);
    m_dc.SetTextAlign(TA_UPDATECP);
    m_dc.MoveTo(10, 20);
    m_dc.TextOut(0, 0, "ab");
    const int width = m_dc.GetTextExtent("ab").cx;
    EXPECT_EQ(m_dc.GetCurrentPosition(), CPoint(10 + width, 20));
    // The arguments were ignored: the text went to the old current position.
    EXPECT_EQ(inkBox(m_image, QRect(0, 0, 120, 20), c_red), QRect());
    EXPECT_FALSE(inkBox(m_image, QRect(10, 20, width, 13), c_red).isNull());

    m_dc.SetTextAlign(TA_UPDATECP | TA_RIGHT);
    m_dc.TextOut(0, 0, "ab");
    EXPECT_EQ(m_dc.GetCurrentPosition(), CPoint(10, 20));
}

TEST_F(TextOutTest, ClipRegionLimitsTheText)
{
    m_dc.SetBkMode(OPAQUE);
    CRgn clip;
    clip.CreateRectRgn(0, 0, 10, 60);
    m_dc.SelectClipRgn(&clip);
    m_dc.TextOut(0, 0, "WWWWWW");
    EXPECT_EQ(inkBox(m_image, m_image.rect(), c_red), QRect(0, 0, 10, 13));
}

TEST_F(TextOutTest, PolygonClipRegionLimitsTheText)
{
    m_dc.SetBkMode(OPAQUE);
    // A triangle: only its inside may change.
    const POINT corners[] = {{0, 0}, {60, 0}, {0, 60}};
    CRgn clip;
    clip.CreatePolygonRgn(corners, 3, ALTERNATE);
    m_dc.SelectClipRgn(&clip);
    m_dc.TextOut(0, 0, "WWWWWWWWWWWWWWWWWWWWWWW");
    int changedOutside = 0;
    int changedInside = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 120; ++x) {
            if (m_image.pixel(x, y) == c_red)
                continue;
            (clip.PtInRegion(x, y) ? changedInside : changedOutside) += 1;
        }
    }
    EXPECT_EQ(changedOutside, 0);
    EXPECT_GT(changedInside, 0);
}

TEST_F(TextOutTest, ExtTextOutOpaqueRectangleAndClipping)
{
    m_dc.SetBkMode(TRANSPARENT);
    const CRect box(2, 2, 30, 20);
    m_dc.ExtTextOut(4, 4, ETO_OPAQUE | ETO_CLIPPED, &box, "WWWWWWWW");
    // The rectangle is filled with the background colour, the text clipped to it.
    EXPECT_EQ(inkBox(m_image, m_image.rect(), c_red), QRect(2, 2, 28, 18));
    EXPECT_GT(countPixels(m_image, QRect(2, 2, 28, 18), c_blue), 0);
}

TEST_F(TextOutTest, TextExtentFollowsTheMapping)
{
    const CSize device = m_dc.GetTextExtent("Hello");
    m_dc.SetMapMode(MM_ANISOTROPIC);
    m_dc.SetWindowExt(2, 2);
    m_dc.SetViewportExt(1, 1);
    // The font's -11 logical units are 6 pixels: the smallest strike, reported doubled.
    const CSize logical = m_dc.GetTextExtent("Hello");
    EXPECT_EQ(logical, CSize(device.cx * 2, device.cy * 2));
}

} // namespace
