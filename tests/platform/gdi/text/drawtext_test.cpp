#include "platform/gdi/dc.h"
#include "tests/platform/gdi/text/textsupport.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr QRgb c_white = 0xFFFFFFFF;
constexpr QRgb c_black = 0xFF000000;

// A 200 x 100 white image with the dialog font selected, black text, transparent background.
class DrawTextTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ensureGuiApplication();
        m_font = makeFont("MS Sans Serif", -11);
        m_dc.SelectObject(m_font.get());
        m_dc.SetBkMode(TRANSPARENT);
    }

    // The pixels of `text` drawn alone at (0, 0) with the given format, for comparison.
    QImage drawnAlone(const std::string& text, UINT format)
    {
        QImage image = whiteImage(m_image.width(), m_image.height());
        CDC dc(&image);
        dc.SelectObject(m_font.get());
        dc.SetBkMode(TRANSPARENT);
        CRect rect(0, 0, image.width(), image.height());
        dc.DrawText(text, &rect, format);
        return image;
    }

    QImage m_image {whiteImage(200, 100)};
    CDC m_dc {&m_image};
    std::unique_ptr<CFont> m_font;
};

TEST_F(DrawTextTest, CalcRectOfCentredLinesIsWidestLineByLineCount)
{
    const std::string text = "Short\nA much longer line\r\nMid";
    CRect rect(10, 5, 190, 95);
    const int height = m_dc.DrawText(text, &rect, DT_CENTER | DT_CALCRECT);
    EXPECT_EQ(height, 3 * 13);
    EXPECT_EQ(rect, CRect(10, 5, 10 + m_dc.GetTextExtent("A much longer line").cx, 5 + 39));
    EXPECT_EQ(inkBox(m_image, m_image.rect()), QRect()) << "measuring drew";
}

TEST_F(DrawTextTest, CentredLinesAreEachCentred)
{
    const std::vector<std::string> lines = {"Short", "A much longer line", "Mid"};
    const std::string text = lines[0] + "\n" + lines[1] + "\r\n" + lines[2];
    CRect rect(10, 5, 190, 95);
    EXPECT_EQ(m_dc.DrawText(text, &rect, DT_CENTER), 39);
    const int centre2 = 10 + 190; // twice the rectangle's centre
    for (int i = 0; i < 3; ++i) {
        const QRect band(0, 5 + 13 * i, 200, 13);
        const QRect ink = inkBox(m_image, band);
        ASSERT_FALSE(ink.isNull()) << lines[i];
        const int inkCentre2 = ink.left() + ink.right() + 1;
        EXPECT_LE(std::abs(inkCentre2 - centre2), 2) << lines[i];
        // The line's cell starts where centring puts it; the ink lies inside the cell.
        const int width = m_dc.GetTextExtent(lines[i]).cx;
        const int x = 10 + (180 - width) / 2;
        EXPECT_GE(ink.left(), x) << lines[i];
        EXPECT_LT(ink.right(), x + width) << lines[i];
    }
    EXPECT_EQ(inkBox(m_image, QRect(0, 5 + 39, 200, 50)), QRect()) << "a fourth line";
}

TEST_F(DrawTextTest, VerticallyCentredSingleLine)
{
    CRect rect(0, 0, 100, 40);
    // (40 - 13) / 2 = 13: the cell spans rows 13 to 25; the result is the offset of its bottom.
    EXPECT_EQ(m_dc.DrawText("H", &rect, DT_SINGLELINE | DT_VCENTER), 26);
    // The raster "H" stands on the baseline (row 13 + 11) and is 9 rows high.
    EXPECT_EQ(inkBox(m_image, m_image.rect()), QRect(1, 15, 6, 9));
}

TEST_F(DrawTextTest, VerticalFlagsNeedSingleLine)
{
    CRect rect(0, 0, 100, 40);
    EXPECT_EQ(m_dc.DrawText("H", &rect, DT_VCENTER | DT_BOTTOM), 13);
    EXPECT_EQ(inkBox(m_image, m_image.rect()).top(), 2);
}

TEST_F(DrawTextTest, BottomAndRightAlignedSingleLine)
{
    CRect rect(0, 0, 100, 40);
    EXPECT_EQ(m_dc.DrawText("H", &rect, DT_SINGLELINE | DT_BOTTOM | DT_RIGHT), 40);
    const int width = m_dc.GetTextExtent("H").cx;
    const QRect ink = inkBox(m_image, m_image.rect());
    EXPECT_EQ(ink.bottom(), 40 - 13 + 10);
    EXPECT_GE(ink.left(), 100 - width);
    EXPECT_LT(ink.right(), 100);
}

TEST_F(DrawTextTest, EndEllipsisShortensToFit)
{
    const std::string text = "abcdefghijklmnopqrstuvwxyz";
    CRect rect(0, 0, 60, 13);
    CRect measured = rect;
    m_dc.DrawText(text, &measured, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
    EXPECT_LE(measured.Width(), 60);
    EXPECT_GT(measured.Width(), 40);

    // The longest start of the text that fits with "..." after it.
    std::string expected;
    for (std::size_t n = text.size(); n > 0; --n) {
        const std::string candidate = text.substr(0, n) + "...";
        if (m_dc.GetTextExtent(candidate).cx <= 60) {
            expected = candidate;
            break;
        }
    }
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(measured.Width(), m_dc.GetTextExtent(expected).cx);
    m_dc.DrawText(text, &rect, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
    EXPECT_EQ(m_image, drawnAlone(expected, DT_SINGLELINE | DT_NOPREFIX));
}

TEST_F(DrawTextTest, TextThatFitsKeepsNoEllipsis)
{
    CRect rect(0, 0, 200, 13);
    m_dc.DrawText("abc", &rect, DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_EQ(m_image, drawnAlone("abc", DT_SINGLELINE));
}

TEST_F(DrawTextTest, PrefixUnderlinesTheNextCharacter)
{
    CRect rect(0, 0, 200, 20);
    m_dc.DrawText("&File", &rect, DT_SINGLELINE);
    const int f = m_dc.GetTextExtent("F").cx;
    const int width = m_dc.GetTextExtent("File").cx;
    // The underline: one row below the baseline row (top + ascent + 1), as wide as the "F".
    EXPECT_EQ(countPixels(m_image, QRect(0, 12, f, 1), c_black), f);
    EXPECT_EQ(countPixels(m_image, QRect(f, 12, width - f, 1), c_black), 0);
    // Above the underline, the same pixels as the plain text.
    const QImage plain = drawnAlone("File", DT_SINGLELINE);
    EXPECT_EQ(m_image.copy(0, 0, 200, 12), plain.copy(0, 0, 200, 12));
}

TEST_F(DrawTextTest, DoubleAmpersandDrawsOne)
{
    CRect rect(0, 0, 200, 20);
    m_dc.DrawText("a&&b", &rect, DT_SINGLELINE);
    EXPECT_EQ(m_image, drawnAlone("a&b", DT_SINGLELINE | DT_NOPREFIX));
    CRect measured(0, 0, 200, 20);
    m_dc.DrawText("a&&b", &measured, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(measured.Width(), m_dc.GetTextExtent("a&b").cx);
}

TEST_F(DrawTextTest, NoPrefixDrawsTheAmpersand)
{
    CRect measured(0, 0, 200, 20);
    m_dc.DrawText("&File", &measured, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    EXPECT_EQ(measured.Width(), m_dc.GetTextExtent("&File").cx);
    CRect rect(0, 0, 200, 20);
    m_dc.DrawText("&File", &rect, DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(countPixels(m_image, QRect(0, 12, 200, 1), c_black), 0) << "an underline";
}

TEST_F(DrawTextTest, WordBreakWrapsBetweenWords)
{
    const int fits = m_dc.GetTextExtent("one two").cx;
    CRect rect(0, 0, fits + 2, 100);
    EXPECT_EQ(m_dc.DrawText("one two three", &rect, DT_WORDBREAK | DT_CALCRECT), 26);
    EXPECT_EQ(rect.Width(), fits);
    CRect drawn(0, 0, fits + 2, 100);
    m_dc.DrawText("one two three", &drawn, DT_WORDBREAK);
    QImage expected = whiteImage(200, 100);
    {
        CDC dc(&expected);
        dc.SelectObject(m_font.get());
        dc.SetBkMode(TRANSPARENT);
        dc.TextOut(0, 0, "one two");
        dc.TextOut(0, 13, "three");
    }
    EXPECT_EQ(m_image, expected);
}

TEST_F(DrawTextTest, WordLongerThanTheLineStandsAlone)
{
    CRect rect(0, 0, 20, 100);
    EXPECT_EQ(m_dc.DrawText("a enormousword b", &rect, DT_WORDBREAK | DT_CALCRECT), 39);
    EXPECT_EQ(rect.Width(), m_dc.GetTextExtent("enormousword").cx);
}

TEST_F(DrawTextTest, SingleLineIgnoresLineBreaksForLayout)
{
    CRect rect(0, 0, 200, 100);
    EXPECT_EQ(m_dc.DrawText("ab\ncd", &rect, DT_SINGLELINE | DT_CALCRECT), 13);
    EXPECT_GT(rect.Width(), m_dc.GetTextExtent("abcd").cx);
}

TEST_F(DrawTextTest, ExpandTabsEveryEightAverageCharacters)
{
    CRect rect(0, 0, 200, 20);
    m_dc.DrawText("a\tb", &rect, DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT);
    EXPECT_EQ(rect.Width(), 40 + m_dc.GetTextExtent("b").cx);
    CRect drawn(0, 0, 200, 20);
    m_dc.DrawText("a\tb", &drawn, DT_SINGLELINE | DT_EXPANDTABS);
    QImage expected = whiteImage(200, 100);
    {
        CDC dc(&expected);
        dc.SelectObject(m_font.get());
        dc.SetBkMode(TRANSPARENT);
        dc.TextOut(0, 0, "a");
        dc.TextOut(40, 0, "b");
    }
    EXPECT_EQ(m_image, expected);
}

TEST_F(DrawTextTest, ClippedToTheRectangleUnlessNoClip)
{
    CRect rect(0, 0, 10, 13);
    m_dc.DrawText("WWWWWW", &rect, DT_SINGLELINE);
    EXPECT_FALSE(inkBox(m_image, QRect(0, 0, 10, 13)).isNull());
    EXPECT_EQ(inkBox(m_image, QRect(10, 0, 190, 100)), QRect());

    QImage other = whiteImage(200, 100);
    CDC dc(&other);
    dc.SelectObject(m_font.get());
    CRect rect2(0, 0, 10, 13);
    dc.DrawText("WWWWWW", &rect2, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_FALSE(inkBox(other, QRect(10, 0, 190, 100)).isNull());
}

TEST_F(DrawTextTest, EmptyTextMeasuresNothing)
{
    CRect rect(5, 5, 100, 100);
    EXPECT_EQ(m_dc.DrawText("", &rect, DT_CALCRECT), 0);
    EXPECT_EQ(rect, CRect(5, 5, 5, 5));
    CRect single(5, 5, 100, 100);
    m_dc.DrawText("", &single, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(single, CRect(5, 5, 5, 18));
}

TEST_F(DrawTextTest, OpaqueBackgroundFillsEachLineCell)
{
    m_image.fill(0xFFFF0000);
    m_dc.SetBkMode(OPAQUE);
    m_dc.SetBkColor(RGB(0, 255, 0));
    CRect rect(0, 0, 200, 100);
    m_dc.DrawText("ab\nabcd", &rect, 0);
    const int w1 = m_dc.GetTextExtent("ab").cx;
    const int w2 = m_dc.GetTextExtent("abcd").cx;
    const QRect cell1(0, 0, w1, 13);
    const QRect cell2(0, 13, w2, 13);
    EXPECT_EQ(
        countPixels(m_image, cell1, 0xFF00FF00) + countPixels(m_image, cell1, c_black), w1 * 13);
    EXPECT_GT(countPixels(m_image, cell1, c_black), 0);
    EXPECT_EQ(
        countPixels(m_image, cell2, 0xFF00FF00) + countPixels(m_image, cell2, c_black), w2 * 13);
    EXPECT_EQ(countPixels(m_image, QRect(w1, 0, 200 - w1, 13), 0xFFFF0000), (200 - w1) * 13);
}

} // namespace
