#include "platform/gdi/dc.h"
#include "platform/gdi/fonts.h"
#include "tests/platform/gdi/text/textsupport.h"

#include <QtGui/QFontInfo>

#include <gtest/gtest.h>
#include <string>

namespace {

class FontTest : public ::testing::Test
{
protected:
    void SetUp() override { ensureGuiApplication(); }

    TEXTMETRIC metricsOf(CFont* font)
    {
        CDC dc(&m_image);
        dc.SelectObject(font);
        TEXTMETRIC tm;
        EXPECT_TRUE(dc.GetTextMetrics(&tm));
        return tm;
    }

    QImage m_image {whiteImage(50, 50)};
};

TEST_F(FontTest, DialogFontHasTheClassicMetrics)
{
    auto font = makeFont("MS Sans Serif", -11);
    const TEXTMETRIC tm = metricsOf(font.get());
    EXPECT_EQ(tm.tmHeight, 13);
    EXPECT_EQ(tm.tmAscent, 11);
    EXPECT_EQ(tm.tmDescent, 2);
    EXPECT_EQ(tm.tmInternalLeading, 2);
    EXPECT_EQ(tm.tmExternalLeading, 0);
    EXPECT_EQ(tm.tmAveCharWidth, 5);
    EXPECT_EQ(tm.tmWeight, 400);
    EXPECT_GT(tm.tmMaxCharWidth, tm.tmAveCharWidth);
    // A variable-pitch swiss raster face.
    EXPECT_EQ(tm.tmPitchAndFamily, FF_SWISS | TMPF_FIXED_PITCH);
}

TEST_F(FontTest, DialogBaseUnitsAreSixByThirteen)
{
    EXPECT_EQ(zorDialogBaseUnits("MS Sans Serif", 8), CSize(6, 13));
    // Twice the resolution picks the 16-point size: a different, larger measure.
    const CSize larger = zorDialogBaseUnits("MS Sans Serif", 8, 144);
    EXPECT_GT(larger.cx, 6);
    EXPECT_EQ(larger.cy, 20);
}

TEST_F(FontTest, PointFontOfEightPointsIsElevenPixelsHigh)
{
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(80, "MS Sans Serif"));
    LOGFONT logFont;
    EXPECT_EQ(font.GetLogFont(&logFont), static_cast<int>(sizeof(LOGFONT)));
    EXPECT_EQ(logFont.lfHeight, -11);
    EXPECT_STREQ(logFont.lfFaceName, "MS Sans Serif");
    EXPECT_EQ(metricsOf(&font).tmHeight, 13);
}

TEST_F(FontTest, FaceNameLongerThanTheFieldIsCutAndTerminated)
{
    CFont font;
    const std::string longName(40, 'x');
    ASSERT_TRUE(font.CreateFont(-11, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, longName.c_str()));
    EXPECT_EQ(std::string(font.logFont().lfFaceName), std::string(LF_FACESIZE - 1, 'x'));
}

TEST_F(FontTest, KnownTextHasItsExtent)
{
    auto font = makeFont("MS Sans Serif", -11);
    CDC dc(&m_image);
    dc.SelectObject(font.get());
    EXPECT_EQ(dc.GetTextExtent("Hello"), CSize(24, 13));
    EXPECT_EQ(dc.GetTextExtent(std::string()), CSize(0, 13));
    // An extent is the sum of the characters' advances.
    EXPECT_EQ(dc.GetTextExtent("He").cx + dc.GetTextExtent("llo").cx, 24);
    EXPECT_EQ(dc.GetTextExtent("Hello world", 5), CSize(24, 13));
}

TEST_F(FontTest, BoldRasterFaceWidensEachCharacterByOnePixel)
{
    auto normal = makeFont("MS Sans Serif", -11);
    auto bold = makeFont("MS Sans Serif", -11, FW_BOLD);
    CDC dc(&m_image);
    dc.SelectObject(normal.get());
    const CSize plain = dc.GetTextExtent("abc");
    dc.SelectObject(bold.get());
    EXPECT_EQ(dc.GetTextExtent("abc"), CSize(plain.cx + 3, 13));
    TEXTMETRIC tm;
    dc.GetTextMetrics(&tm);
    EXPECT_EQ(tm.tmWeight, 700);
}

TEST_F(FontTest, LogicalHeightGoesThroughTheMapping)
{
    auto font = makeFont("MS Sans Serif", -8);
    CDC dc(&m_image);
    dc.SelectObject(font.get());
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(1, 1);
    dc.SetViewportExt(2, 2);
    // -8 logical is a 16-pixel character height: the 12-point strike, 20 pixels high, reported
    // back in logical units.
    TEXTMETRIC tm;
    ASSERT_TRUE(dc.GetTextMetrics(&tm));
    EXPECT_EQ(tm.tmHeight, 10);
    EXPECT_EQ(tm.tmAscent, 8);
}

struct HeightCase
{
    const char* name;
    const char* face;
    int lfHeight;
    int tmHeight;
    int tmInternalLeading;
};

class FontHeight : public ::testing::TestWithParam<HeightCase>
{
protected:
    void SetUp() override { ensureGuiApplication(); }
};

TEST_P(FontHeight, ChoosesTheRasterSize)
{
    const HeightCase& c = GetParam();
    QImage image = whiteImage(10, 10);
    CDC dc(&image);
    auto font = makeFont(c.face, c.lfHeight);
    dc.SelectObject(font.get());
    TEXTMETRIC tm;
    ASSERT_TRUE(dc.GetTextMetrics(&tm));
    EXPECT_EQ(tm.tmHeight, c.tmHeight);
    EXPECT_EQ(tm.tmInternalLeading, c.tmInternalLeading);
}

INSTANTIATE_TEST_SUITE_P(Cases, FontHeight,
    ::testing::Values(HeightCase {"EightPoint", "MS Sans Serif", -11, 13, 2},
        HeightCase {"TenPoint", "MS Sans Serif", -13, 16, 3},
        HeightCase {"TwelvePoint", "MS Sans Serif", -16, 20, 4},
        HeightCase {"BetweenSizesTakesTheSmaller", "MS Sans Serif", -12, 13, 2},
        HeightCase {"BelowTheSmallestTakesIt", "MS Sans Serif", -6, 13, 2},
        HeightCase {"CellOfThirteen", "MS Sans Serif", 13, 13, 2},
        HeightCase {"CellOfFifteen", "MS Sans Serif", 15, 13, 2},
        HeightCase {"CellOfSixteen", "MS Sans Serif", 16, 16, 3},
        HeightCase {"ZeroIsTheDefault", "MS Sans Serif", 0, 13, 2},
        HeightCase {"SystemIsTheRasterFace", "System", -11, 13, 2},
        HeightCase {"EmptyFaceIsTheRasterFace", "", 16, 16, 3},
        HeightCase {"FaceComparedWithoutCase", "ms sans serif", -13, 16, 3}),
    [](const ::testing::TestParamInfo<HeightCase>& info) { return info.param.name; });

TEST_F(FontTest, LargeRasterRequestUsesTheOutlineSans)
{
    auto font = makeFont("MS Sans Serif", -24);
    const TEXTMETRIC tm = metricsOf(font.get());
    // Character height 24: cell above the largest strike, internal leading = cell - 24.
    EXPECT_GT(tm.tmHeight, 24);
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 24);
    EXPECT_NE(tm.tmPitchAndFamily & TMPF_TRUETYPE, 0);
}

TEST_F(FontTest, PositiveHeightOfOutlineFaceIsTheCell)
{
    for (int cell : {12, 17, 20, 31}) {
        auto font = makeFont("Arial", cell);
        const TEXTMETRIC tm = metricsOf(font.get());
        EXPECT_LE(tm.tmHeight, cell) << cell;
        // The next pixel size would be too tall.
        auto bigger = makeFont("Arial", -(tm.tmHeight - tm.tmInternalLeading + 1));
        EXPECT_GT(metricsOf(bigger.get()).tmHeight, cell) << cell;
    }
}

struct FaceCase
{
    const char* name;
    const char* face;
    const char* family; // what draws it
    const char* reported; // what GetTextFace says
};

class FaceSubstitution : public ::testing::TestWithParam<FaceCase>
{
protected:
    void SetUp() override { ensureGuiApplication(); }
};

TEST_P(FaceSubstitution, DrawsWithTheTableFamily)
{
    const FaceCase& c = GetParam();
    EXPECT_EQ(zorSubstituteFace(c.face), c.family);
    auto font = makeFont(c.face, -12);
    QImage image = whiteImage(10, 10);
    CDC dc(&image);
    dc.SelectObject(font.get());
    char name[LF_FACESIZE] {};
    const int n = dc.GetTextFace(LF_FACESIZE, name);
    EXPECT_STREQ(name, c.reported);
    EXPECT_EQ(n, static_cast<int>(std::strlen(c.reported)) + 1);
    EXPECT_EQ(QFontInfo(font->qtFont(-12)).family().toStdString(), c.family);
}

INSTANTIATE_TEST_SUITE_P(Cases, FaceSubstitution,
    ::testing::Values(FaceCase {"Arial", "Arial", "Liberation Sans", "Arial"},
        FaceCase {"Helvetica", "Helvetica", "Liberation Sans", "Arial"},
        FaceCase {"TimesNewRoman", "Times New Roman", "Liberation Serif", "Times New Roman"},
        FaceCase {"CourierNew", "courier new", "Liberation Mono", "Courier New"},
        FaceCase {"Courier", "Courier", "Liberation Mono", "Courier New"},
        FaceCase {"MsSansSerif", "MS Sans Serif", "MS Sans Serif", "MS Sans Serif"}),
    [](const ::testing::TestParamInfo<FaceCase>& info) { return info.param.name; });

TEST_F(FontTest, FixedPitchFaceReportsItsPitch)
{
    auto font = makeFont("Courier New", -13);
    const TEXTMETRIC tm = metricsOf(font.get());
    EXPECT_EQ(tm.tmPitchAndFamily & TMPF_FIXED_PITCH, 0);
    EXPECT_EQ(tm.tmPitchAndFamily & 0xF0, FF_MODERN);
    EXPECT_EQ(tm.tmAveCharWidth, tm.tmMaxCharWidth);
    CDC dc(&m_image);
    dc.SelectObject(font.get());
    EXPECT_EQ(dc.GetTextExtent("iiii").cx, dc.GetTextExtent("WWWW").cx);
}

TEST_F(FontTest, UnknownFaceIsLeftToFontconfig)
{
    EXPECT_EQ(zorSubstituteFace("No Such Face"), "");
    auto font = makeFont("No Such Face", -12);
    CDC dc(&m_image);
    dc.SelectObject(font.get());
    TEXTMETRIC tm;
    ASSERT_TRUE(dc.GetTextMetrics(&tm));
    EXPECT_GT(tm.tmHeight, 12);
    EXPECT_GT(dc.GetTextExtent("abc").cx, 0);
}

TEST_F(FontTest, TextFaceBufferTooSmallIsCut)
{
    auto font = makeFont("MS Sans Serif", -11);
    CDC dc(&m_image);
    dc.SelectObject(font.get());
    EXPECT_EQ(dc.GetTextFace(0, nullptr), 14);
    char name[4] = {'?', '?', '?', '?'};
    EXPECT_EQ(dc.GetTextFace(4, name), 4);
    EXPECT_STREQ(name, "MS ");
}

TEST_F(FontTest, TabbedExtentUsesTheStops)
{
    auto font = makeFont("MS Sans Serif", -11);
    CDC dc(&m_image);
    dc.SelectObject(font.get());
    const int b = dc.GetTextExtent("b").cx;
    // Default stops every 8 average characters (40 pixels).
    EXPECT_EQ(dc.GetTabbedTextExtent("a\tb", 0, nullptr), CSize(40 + b, 13));
    const int every = 25;
    EXPECT_EQ(dc.GetTabbedTextExtent("a\tb\tb", 1, &every).cx, 50 + b);
    const int stops[] = {10, 30};
    EXPECT_EQ(dc.GetTabbedTextExtent("a\tb\tb\tb", 2, stops).cx, 40 + b);
}

} // namespace
