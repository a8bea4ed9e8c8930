// The progress control: its text, bands and colour-depth rule as plain functions, and the
// control as a container drives it: members by name only, pixels of the bar, the property
// rules, persistence and the General page.

#include "tests/controls/widgetstestsupport.h"

#include "controls/progress/progressgeometry.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/syscolor.h"
#include "platform/ole/proppage.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* c_progressId = "{01540154-0001-0000-0029-000000000004}";

// The positions of the members in the control's dispatch implementation.
constexpr DISPID c_foreground = 1;
constexpr DISPID c_background = 2;
constexpr DISPID c_showPercent = 3;
constexpr DISPID c_range = 4;
constexpr DISPID c_position = 5;
constexpr DISPID c_textColor = 6;
constexpr DISPID c_foreground2 = 7;
constexpr DISPID c_showCount = 8;

struct TextRow
{
    const char* name;
    LONG showPercent;
    bool showCount;
    LONG position;
    LONG range;
    const char* text;
};

class ProgressText : public testing::TestWithParam<TextRow>
{
};

int lightness(COLORREF c)
{
    return GetRValue(c) + GetGValue(c) + GetBValue(c);
}

int countOf(const QImage& image, const CRect& r, COLORREF color)
{
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            count += pixel(image, x, y) == color ? 1 : 0;
    return count;
}

// A bar in red running to blue on white, without text.
void setUpBar(CHostedControl& bar, LONG position, LONG range)
{
    ASSERT_EQ(bar.putColor(c_foreground, 0x0000FF), S_OK);
    ASSERT_EQ(bar.putColor(c_foreground2, 0xFF0000), S_OK);
    ASSERT_EQ(bar.putColor(c_background, 0xFFFFFF), S_OK);
    ASSERT_EQ(bar.put(c_showPercent, COleVariant(0L)), S_OK);
    ASSERT_EQ(bar.put(c_range, COleVariant(range)), S_OK);
    ASSERT_EQ(bar.put(c_position, COleVariant(position)), S_OK);
}

} // namespace

TEST_P(ProgressText, ShowsWhatIsAskedFor)
{
    const TextRow& row = GetParam();
    EXPECT_EQ(zorProgressText(row.showPercent, row.showCount, row.position, row.range), row.text);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProgressText,
    testing::Values(TextRow {"WholePercent", 1, false, 33, 200, "16%"},
        TextRow {"TwoDecimals", 2, false, 33, 200, "16.50%"},
        TextRow {"WholePercentWithoutFloatingLoss", 1, false, 29, 100, "29%"},
        TextRow {"NegativeTruncatesTowardZero", 1, false, -5, 200, "-2%"},
        TextRow {"PercentWinsOverCount", 1, true, 50, 100, "50%"},
        TextRow {"CountShowsThePosition", 0, true, 33, 200, "33"},
        TextRow {"OtherPercentKindShowsThePosition", 3, false, 7, 10, "7"},
        TextRow {"NothingAskedNoText", 0, false, 33, 200, ""}),
    [](const testing::TestParamInfo<TextRow>& info) { return std::string(info.param.name); });

TEST(ProgressBands, LighterTowardsTheMiddleAndCutAtTheFill)
{
    const CRect bar(3, 2, 197, 38); // 194 x 36: twelve steps
    const std::vector<ZorProgressBand> bands = zorProgressBands(bar, 0.5, 0x000080, 0x804000);
    ASSERT_EQ(bands.size(), 13u);
    EXPECT_EQ(bands.front().rect, CRect(3, 2, 100, 38));
    // Each band 1.5 pixels further in (truncated), each channel (255 - c) / 12 lighter.
    EXPECT_EQ(bands[2].rect, CRect(3, 5, 100, 35));
    EXPECT_EQ(bands.back().rect, CRect(3, 20, 100, 20));
    EXPECT_EQ(bands.back().start, RGB(0x80 + 120, 252, 252));
    EXPECT_EQ(bands.back().end, RGB(21 * 12, 0x40 + 15 * 12, 0x80 + 10 * 12));

    // A position above the range fills the bar and no further; a bar lower than three pixels
    // still has its band.
    EXPECT_EQ(zorProgressBands(bar, 3.0, 0, 0).front().rect, bar);
    const std::vector<ZorProgressBand> flat = zorProgressBands(CRect(3, 2, 50, 4), 1.0, 0, 0);
    ASSERT_EQ(flat.size(), 2u);
    EXPECT_EQ(flat.front().rect, CRect(3, 2, 50, 4));

    // Gradients only with more than 256 colours.
    EXPECT_TRUE(zorProgressGradient(16, 1));
    EXPECT_FALSE(zorProgressGradient(8, 1));
    EXPECT_FALSE(zorProgressGradient(1, 4));
}

TEST(ProgressControl, MembersAreReachedByNameOnly)
{
    CHostedControl bar(c_progressId, "", 200, 24);
    ASSERT_TRUE(bar.ok());
    ASSERT_NE(bar.dispatch()->GetTypeInfo(), nullptr);
    EXPECT_TRUE(bar.dispatch()->GetTypeInfo()->dispatch.members.empty());
    const char* names[] = {"ForegroundColor", "BackgroundColor", "ShowPercent", "Range", "Position",
        "TextColor", "ForegroundColor2", "ShowCount"};
    for (DISPID expected = 1; expected <= 8; ++expected) {
        DISPID dispid = DISPID_UNKNOWN;
        ASSERT_EQ(bar.dispatch()->GetIDsOfNames(names[expected - 1], &dispid), S_OK);
        EXPECT_EQ(dispid, expected) << names[expected - 1];
    }
    // As a container sets it: by name, the value as text.
    DISPID position = DISPID_UNKNOWN;
    ASSERT_EQ(bar.dispatch()->GetIDsOfNames("position", &position), S_OK);
    ASSERT_EQ(zorPutProperty(bar.dispatch(), position, COleVariant("40")), S_OK);
    EXPECT_EQ(bar.getLong(c_position), 40);
}

TEST(ProgressControl, PropertyRules)
{
    CHostedControl bar(c_progressId, "", 200, 24);
    ASSERT_TRUE(bar.ok());
    // ForegroundColor sets ForegroundColor2 too; not the other way round.
    ASSERT_EQ(bar.putColor(c_foreground2, 0x00AA00), S_OK);
    ASSERT_EQ(bar.putColor(c_foreground, 0x0000BB), S_OK);
    EXPECT_EQ(bar.getColor(c_foreground2), 0x0000BBu);
    ASSERT_EQ(bar.putColor(c_foreground2, 0xCC0000), S_OK);
    EXPECT_EQ(bar.getColor(c_foreground), 0x0000BBu);

    // ShowCount keeps whether it is set and marks the control modified without repainting.
    bar.grab();
    bar.control()->SetModifiedFlag(FALSE);
    const int paints = bar.control()->paintCount();
    ASSERT_EQ(bar.put(c_showCount, COleVariant(5L)), S_OK);
    pumpEvents();
    EXPECT_EQ(bar.getLong(c_showCount), 1);
    EXPECT_TRUE(bar.control()->IsModified());
    EXPECT_EQ(bar.control()->paintCount(), paints);
}

TEST(ProgressDrawing, GradientRunsAlongTheBarLighterInTheMiddleWithTextOnTop)
{
    CHostedControl bar(c_progressId, "", 200, 40);
    ASSERT_TRUE(bar.ok());
    setUpBar(bar, 100, 100);
    const QImage image = bar.grab();
    // The frame in the context's pen, the background between it and the bar.
    EXPECT_EQ(pixel(image, 0, 20), 0x000000u);
    EXPECT_EQ(pixel(image, 2, 20), 0xFFFFFFu);
    EXPECT_EQ(pixel(image, 100, 1), 0xFFFFFFu);
    // The outer band starts in the start colour and runs towards the end colour.
    EXPECT_EQ(pixel(image, 3, 2), 0x0000FFu);
    const COLORREF left = pixel(image, 10, 3);
    const COLORREF right = pixel(image, 190, 3);
    EXPECT_GT(GetRValue(left), GetRValue(right));
    EXPECT_LT(GetBValue(left), GetBValue(right));
    // Towards the middle line the same column is lighter.
    EXPECT_GT(lightness(pixel(image, 10, 12)), lightness(left));
    EXPECT_GT(lightness(pixel(image, 10, 19)), lightness(pixel(image, 10, 12)));

    // The text: in the start colour over the empty part, in TextColor over the bar.
    const CRect middle(70, 5, 130, 35);
    ASSERT_EQ(bar.putColor(c_textColor, 0x00FF00), S_OK);
    ASSERT_EQ(bar.put(c_showPercent, COleVariant(1L)), S_OK);
    EXPECT_GT(countOf(bar.grab(), middle, 0x00FF00), 0);
    ASSERT_EQ(bar.put(c_position, COleVariant(0L)), S_OK);
    EXPECT_GT(countOf(bar.grab(), middle, 0x0000FF), 0);
    EXPECT_EQ(countOf(bar.grab(), middle, 0x00FF00), 0);
}

TEST(ProgressDrawing, FillFollowsPositionAndRange)
{
    CHostedControl bar(c_progressId, "", 200, 40);
    ASSERT_TRUE(bar.ok());
    // Position 0: only the background.
    setUpBar(bar, 0, 100);
    EXPECT_EQ(countOf(bar.grab(), CRect(1, 1, 199, 39), 0xFFFFFF), 198 * 38);

    // Half: the bar ends at the middle of its width (3 + 194 / 2).
    setUpBar(bar, 50, 100);
    QImage image = bar.grab();
    EXPECT_NE(pixel(image, 99, 20), 0xFFFFFFu);
    EXPECT_EQ(pixel(image, 100, 20), 0xFFFFFFu);

    // Range 0 draws like range 1 and reads back as 1.
    setUpBar(bar, 1, 1);
    const QImage full = bar.grab();
    setUpBar(bar, 1, 0);
    EXPECT_EQ(bar.grab(), full);
    EXPECT_EQ(bar.getLong(c_range), 1);

    // Above the range: the full bar, nothing outside it.
    setUpBar(bar, 300, 100);
    EXPECT_EQ(bar.grab(), full);
}

TEST(ProgressDrawing, AtMostTwoHundredFiftySixColoursFillsSolid)
{
    CHostedControl bar(c_progressId, "", 100, 20);
    ASSERT_TRUE(bar.ok());
    setUpBar(bar, 50, 100);
    ASSERT_EQ(bar.putColor(c_foreground, 0x000000), S_OK);
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CBitmap mono;
    ASSERT_TRUE(mono.CreateBitmap(100, 20, 1, 1, nullptr));
    dc.SelectObject(&mono);
    const CRect bounds(0, 0, 100, 20);
    bar.control()->OnDraw(&dc, bounds, bounds);
    // The solid fill covers the bounds up to half the width, frame rows included.
    EXPECT_EQ(dc.GetPixel(1, 1), 0x000000u);
    EXPECT_EQ(dc.GetPixel(49, 10), 0x000000u);
    EXPECT_EQ(dc.GetPixel(50, 10), 0xFFFFFFu);
}

TEST(ProgressPersistence, OrderDefaultsAndRoundTrip)
{
    CHostedControl bar(c_progressId, "", 200, 24);
    ASSERT_TRUE(bar.ok());
    // Defaults: the system colours of now, as plain RGB values.
    EXPECT_EQ(bar.getColor(c_background), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(bar.getColor(c_foreground), GetSysColor(COLOR_ACTIVECAPTION));
    EXPECT_EQ(bar.getColor(c_textColor), GetSysColor(COLOR_WINDOWTEXT));

    ASSERT_EQ(bar.putColor(c_foreground, 0x00040506), S_OK);
    ASSERT_EQ(bar.put(c_showPercent, COleVariant(2L)), S_OK);
    ASSERT_EQ(bar.putColor(c_foreground2, 0x000A0B0C), S_OK);
    ASSERT_EQ(bar.put(c_showCount, COleVariant(1L)), S_OK);
    std::string bag;
    ASSERT_EQ(bar.control()->saveToBag(&bag), S_OK);
    std::size_t at = 0;
    for (const char* name : {"BackgroundColor=", "ForegroundColor=0x00040506", "ShowPercent=2",
             "Range=100", "Position=0", "Font=", "TextColor=", "ForegroundColor2=0x000A0B0C",
             "Font=", "_ExtentX="}) {
        const std::size_t found = bag.find(name, at);
        ASSERT_NE(found, std::string::npos) << name << " in order in\n" << bag;
        at = found + 1;
    }
    EXPECT_EQ(bag.find("ShowCount"), std::string::npos);

    // What was saved comes back as it was; ShowCount is not among it.
    CHostedControl other(c_progressId, "", 200, 24);
    ASSERT_TRUE(other.ok());
    ASSERT_EQ(other.control()->loadFromBag(bag), S_OK);
    std::string again;
    ASSERT_EQ(other.control()->saveToBag(&again), S_OK);
    EXPECT_EQ(again, bag);
    EXPECT_EQ(other.getLong(c_showCount), 0);
}

TEST(ProgressPages, GeneralPageKeepsTheKindOfPercentage)
{
    CHostedControl bar(c_progressId, "Range=250\nPosition=75\nShowPercent=2\n", 200, 24);
    ASSERT_TRUE(bar.ok());
    CPropertyFrame frame("Progress", {bar.dispatch()}, bar.control()->GetPropPageIDs());
    ASSERT_TRUE(frame.createFrame(nullptr));
    ASSERT_EQ(frame.pageCount(), 3);
    EXPECT_EQ(frame.pageCaption(0), "General");
    EXPECT_EQ(frame.pageCaption(1), "Font");
    EXPECT_EQ(frame.pageCaption(2), "About");
    COlePropertyPage* general = frame.page(0);
    ASSERT_NE(general, nullptr);
    EXPECT_EQ(general->GetDlgItemText(3074), "250");
    EXPECT_EQ(general->GetDlgItemText(3076), "75");
    EXPECT_EQ(general->IsDlgButtonChecked(3077), 1u);

    // Another change applied with the box still checked keeps the two decimals.
    general->SetDlgItemText(3076, "80");
    general->SetModified(TRUE);
    ASSERT_TRUE(frame.apply());
    EXPECT_EQ(bar.getLong(c_position), 80);
    EXPECT_EQ(bar.getLong(c_showPercent), 2);

    general->CheckDlgButton(3077, 0);
    general->SetModified(TRUE);
    ASSERT_TRUE(frame.apply());
    EXPECT_EQ(bar.getLong(c_showPercent), 0);
    frame.DestroyWindow();
}
