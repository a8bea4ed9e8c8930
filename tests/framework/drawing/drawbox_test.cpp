#include "framework/drawing/drawbox.h"

#include "platform/gdi/dc.h"
#include "platform/gdi/gdiobjects.h"
#include "platform/gdi/syscolor.h"

#include <QtGui/QImage>

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace {

// Pixels are named by letters: F frame (window frame), H highlight, S shadow, x fill and
// . the background the image had before drawing.
constexpr COLORREF fillColor = RGB(0, 0, 255);
constexpr COLORREF backgroundColor = RGB(0, 255, 0);

QRgb toQRgb(COLORREF color)
{
    return qRgb(GetRValue(color), GetGValue(color), GetBValue(color));
}

std::vector<std::string> letters(const QImage& image, const std::map<QRgb, char>& names)
{
    std::vector<std::string> rows;
    for (int y = 0; y < image.height(); ++y) {
        std::string row;
        for (int x = 0; x < image.width(); ++x) {
            const auto it = names.find(image.pixel(x, y) | 0xFF000000u);
            row += it == names.end() ? '?' : it->second;
        }
        rows.push_back(row);
    }
    return rows;
}

class DrawBoxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        zorUseClassicSysColors(true);
        m_image.fill(toQRgb(backgroundColor));
        m_names = {{toQRgb(GetSysColor(COLOR_WINDOWFRAME)), 'F'},
            {toQRgb(GetSysColor(COLOR_3DHILIGHT)), 'H'}, {toQRgb(GetSysColor(COLOR_3DSHADOW)), 'S'},
            {toQRgb(fillColor), 'x'}, {toQRgb(backgroundColor), '.'}};
        // Every colour must have a letter of its own, or the pictures below prove nothing.
        ASSERT_EQ(m_names.size(), 5u);
    }
    void TearDown() override { zorUseClassicSysColors(false); }

    std::vector<std::string> pixels() const { return letters(m_image, m_names); }

    QImage m_image {12, 12, QImage::Format_RGB32};
    std::map<QRgb, char> m_names;
};

struct BoxCase
{
    const char* name;
    CRect rect;
    int depth;
    bool raised;
    std::vector<std::string> expected;
};

void PrintTo(const BoxCase& box, std::ostream* os)
{
    *os << box.name;
}

class DrawBoxPixels : public DrawBoxTest, public ::testing::WithParamInterface<BoxCase>
{
};

const std::vector<std::string> frameAndFill {"FFFFFFFFFF..", "FxxxxxxxxF..", "FxxxxxxxxF..",
    "FxxxxxxxxF..", "FxxxxxxxxF..", "FxxxxxxxxF..", "FxxxxxxxxF..", "FxxxxxxxxF..", "FxxxxxxxxF..",
    "FFFFFFFFFF..", "............", "............"};

} // namespace

TEST_P(DrawBoxPixels, LightsExactlyThesePixels)
{
    const BoxCase& box = GetParam();
    CDC dc(&m_image);
    drawBox(&dc, box.rect, box.depth, box.raised, fillColor);
    EXPECT_EQ(pixels(), box.expected);
}

INSTANTIATE_TEST_SUITE_P(Boxes, DrawBoxPixels,
    ::testing::Values(
        // The shadow runs on column 1 from row 8 up and on row 1 to column 7, the highlight on
        // column 8 down to row 7 and on row 8 back to column 2, the fill covers 2 to 7.
        BoxCase {"SunkenDepthOne", CRect(0, 0, 10, 10), 1, false,
            {"FFFFFFFFFF..", "FSSSSSSSHF..", "FSxxxxxxHF..", "FSxxxxxxHF..", "FSxxxxxxHF..",
                "FSxxxxxxHF..", "FSxxxxxxHF..", "FSxxxxxxHF..", "FSHHHHHHHF..", "FFFFFFFFFF..",
                "............", "............"}},
        // Column 1 and row 1 keep the rectangle's fill; the shadow lies on column 8 (rows 2 to
        // 7) and row 8 (columns 3 to 8); the last fill leaves of the highlight only (2, 8).
        BoxCase {"RaisedDepthOne", CRect(0, 0, 10, 10), 1, true,
            {"FFFFFFFFFF..", "FxxxxxxxxF..", "FxxxxxxxSF..", "FxxxxxxxSF..", "FxxxxxxxSF..",
                "FxxxxxxxSF..", "FxxxxxxxSF..", "FxxxxxxxSF..", "FxHSSSSSSF..", "FFFFFFFFFF..",
                "............", "............"}},
        BoxCase {"SunkenDepthTwo", CRect(0, 0, 10, 10), 2, false,
            {"FFFFFFFFFF..", "FSSSSSSSHF..", "FSSSSSSHHF..", "FSSxxxxHHF..", "FSSxxxxHHF..",
                "FSSxxxxHHF..", "FSSxxxxHHF..", "FSSHHHHHHF..", "FSHHHHHHHF..", "FFFFFFFFFF..",
                "............", "............"}},
        BoxCase {"RaisedDepthTwo", CRect(0, 0, 10, 10), 2, true,
            {"FFFFFFFFFF..", "FxxxxxxxxF..", "FxHHHHHHSF..", "FxHxxxxSSF..", "FxHxxxxSSF..",
                "FxHxxxxSSF..", "FxHxxxxSSF..", "FxHHSSSSSF..", "FxHSSSSSSF..", "FFFFFFFFFF..",
                "............", "............"}},
        BoxCase {"SunkenDepthOneAwayFromTheOrigin", CRect(2, 1, 12, 11), 1, false,
            {"............", "..FFFFFFFFFF", "..FSSSSSSSHF", "..FSxxxxxxHF", "..FSxxxxxxHF",
                "..FSxxxxxxHF", "..FSxxxxxxHF", "..FSxxxxxxHF", "..FSxxxxxxHF", "..FSHHHHHHHF",
                "..FFFFFFFFFF", "............"}},
        BoxCase {"SunkenDepthZero", CRect(0, 0, 10, 10), 0, false, frameAndFill},
        BoxCase {"RaisedDepthZero", CRect(0, 0, 10, 10), 0, true, frameAndFill},
        BoxCase {"SunkenNegativeDepth", CRect(0, 0, 10, 10), -1, false, frameAndFill},
        BoxCase {"RaisedNegativeDepth", CRect(0, 0, 10, 10), -7, true, frameAndFill}),
    [](const ::testing::TestParamInfo<BoxCase>& info) { return info.param.name; });

TEST_F(DrawBoxTest, ShortFormFillsWithTheWindowBackground)
{
    CDC dc(&m_image);
    drawBox(&dc, CRect(0, 0, 10, 10), 1, false);
    EXPECT_EQ(QColor(m_image.pixel(5, 5)), QColor(toQRgb(GetSysColor(COLOR_WINDOW))));
    EXPECT_EQ(QColor(m_image.pixel(2, 2)), QColor(toQRgb(GetSysColor(COLOR_WINDOW))));
    EXPECT_EQ(QColor(m_image.pixel(7, 7)), QColor(toQRgb(GetSysColor(COLOR_WINDOW))));
    EXPECT_EQ(QColor(m_image.pixel(1, 1)), QColor(toQRgb(GetSysColor(COLOR_3DSHADOW))));
    EXPECT_EQ(QColor(m_image.pixel(0, 0)), QColor(toQRgb(GetSysColor(COLOR_WINDOWFRAME))));
}

TEST_F(DrawBoxTest, GivesTheContextBackAsItWas)
{
    CDC dc(&m_image);
    CPen pen(PS_SOLID, 0, RGB(1, 2, 3));
    CBrush brush(RGB(4, 5, 6));
    dc.SelectObject(&pen);
    dc.SelectObject(&brush);
    dc.MoveTo(11, 11);

    drawBox(&dc, CRect(0, 0, 10, 10), 3, false, fillColor);

    EXPECT_EQ(dc.GetCurrentPen(), &pen);
    EXPECT_EQ(dc.GetCurrentBrush(), &brush);
    EXPECT_EQ(dc.GetCurrentPosition(), CPoint(11, 11));
    // No saved level is left behind.
    EXPECT_EQ(dc.SaveDC(), 1);
}

TEST_F(DrawBoxTest, DrawsInLogicalCoordinates)
{
    CDC dc(&m_image);
    dc.SetWindowOrg(-2, -1);
    drawBox(&dc, CRect(0, 0, 10, 10), 1, false, fillColor);
    dc.SetWindowOrg(0, 0);
    const std::vector<std::string> expected {"............", "..FFFFFFFFFF", "..FSSSSSSSHF",
        "..FSxxxxxxHF", "..FSxxxxxxHF", "..FSxxxxxxHF", "..FSxxxxxxHF", "..FSxxxxxxHF",
        "..FSxxxxxxHF", "..FSHHHHHHHF", "..FFFFFFFFFF", "............"};
    EXPECT_EQ(pixels(), expected);
}
