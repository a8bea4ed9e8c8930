// The analog face on images: the stored direction table, the layout's arithmetic, marks, hands
// and texts in pixels, the second hand's exclusive-or moves and a module without its table.

#include "tests/clock/clocktestsupport.h"

#include "clock/analogclock.h"
#include "platform/gdi/dc.h"
#include "platform/ui/messagebox.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace {

constexpr COLORREF c_foreground = 0x800000;
constexpr COLORREF c_background = 0xC0C0C0;
// What lies under the face before it draws: no colour the face uses.
constexpr COLORREF c_under = 0x00FF00;
// Square pixels, 4 a millimetre.
constexpr ZorClockDevice c_device {1000, 800, 250, 200};

COleDateTime at(int hour, int minute, int second, int day = 5)
{
    return COleDateTime(2002, 6, day, hour, minute, second);
}

QImage render(CAnalogClock& face, int width, int height, bool border = true)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(qRgb(0x00, 0xFF, 0x00)));
    CDC dc(&image);
    face.draw(&dc, border);
    return image;
}

// A face laid out over a whole image, showing a time.
struct Face
{
    Face(int width, int height, const ZorClockDevice& device, const COleDateTime& time)
        : owner(width, height, device), face(owner, clockModule())
    {
        face.layout(0, 0, width, height);
        face.update(time);
    }
    POINT along(int percent, int position) const
    {
        return zorClockPoint(
            face.geometry(), table, zorClockLength(face.geometry(), percent), position);
    }
    CImageClockOwner owner;
    CAnalogClock face;
    ZorClockTable table = clockTable();
};

template<class Row> std::string rowName(const testing::TestParamInfo<Row>& info)
{
    return info.param.name;
}

// Rows print as their names.
template<class Row> auto operator<<(std::ostream& os, const Row& row) -> decltype(os << row.name)
{
    return os << row.name;
}

} // namespace

TEST(ClockTable, HoldsTheRuleWithTheSevenShortenedEntriesAsStored)
{
    registerClock();
    const ZorClockTable table = clockTable();
    // x = 8000 sin, y = -8000 cos, truncated toward zero, exact values exact, but for the seven
    // entries stored one unit short.
    const std::map<int, int> shortened {{0 * 2 + 1, -7999}, {5 * 2, 3999}, {25 * 2, 3999},
        {30 * 2 + 1, 7999}, {40 * 2 + 1, 3999}, {45 * 2, -7999}, {55 * 2, -3999}};
    for (int i = 0; i < 120; ++i) {
        const long double angle = 3 * (i / 2) * 3.14159265358979323846L / 90;
        const long double value = i % 2 ? -8000 * std::cos(angle) : 8000 * std::sin(angle);
        const long double exact = std::round(value);
        const int rule
            = static_cast<int>(std::fabs(value - exact) < 1e-6L ? exact : std::trunc(value));
        const auto it = shortened.find(i);
        EXPECT_EQ(
            i % 2 ? table[i / 2].y : table[i / 2].x, it != shortened.end() ? it->second : rule)
            << "entry " << i / 2;
    }
}

namespace {

struct LayoutRow
{
    const char* name;
    CRect bounds;
    int fontHeight;
    ZorClockDevice device;
    int markWidth;
    int markHeight;
    int radius;
    POINT centre;
    CRect ampmBox;
    bool minuteMarks;
};

class ClockLayout : public testing::TestWithParam<LayoutRow>
{
};

} // namespace

TEST_P(ClockLayout, FollowsTheIntegerStepsInOrderAndDrawsWithTheResult)
{
    const LayoutRow& row = GetParam();
    const ZorClockLayout layout = zorClockLayout(row.bounds, row.fontHeight, row.device);
    EXPECT_EQ(layout.markWidth, row.markWidth);
    EXPECT_EQ(layout.markHeight, row.markHeight);
    EXPECT_EQ(layout.radius, row.radius);
    EXPECT_EQ(CPoint(layout.centreX, layout.centreY), CPoint(row.centre));
    EXPECT_EQ(layout.ampmBox, row.ampmBox);

    // Drawing and moving the second hand go on with whatever the layout gave; the marks between
    // the five-minute marks only above a width of 2 and a height of 1.
    registerClock();
    Face clock(row.bounds.right, row.bounds.bottom, row.device, at(6, 30, 45));
    clock.face.setTitle("Title");
    const QImage image = render(clock.face, row.bounds.right, row.bounds.bottom);
    EXPECT_NE(pixel(image, {0, 0}), c_under);
    EXPECT_EQ(pixel(image, clock.along(100, 1)) == c_foreground, row.minuteMarks);
    EXPECT_EQ(pixel(image, clock.along(100, 59)) == c_foreground, row.minuteMarks);
    clock.face.update(at(6, 30, 46));
    EXPECT_EQ(clock.owner.clientDraws, 1);
}

INSTANTIATE_TEST_SUITE_P(Clock, ClockLayout,
    testing::Values(LayoutRow {"SquarePixels", {0, 0, 300, 300}, 8, c_device, 6, 6, 131, {150, 150},
                        {84, 84, 216, 150}, true},
        // Pixels twice as dense vertically: marks twice as many pixels high.
        LayoutRow {"TallPixels", {0, 0, 300, 300}, 8, {1000, 800, 250, 100}, 6, 12, 131, {150, 150},
            {84, 84, 216, 150}, true},
        LayoutRow {
            "Wide", {0, 0, 400, 200}, 8, c_device, 4, 4, 82, {200, 100}, {159, 59, 241, 100}, true},
        // Mark width 268 * 25 / 3000 = 2: no minute marks.
        LayoutRow {"MarksTwoWide", {0, 0, 300, 300}, 8, {3000, 2400, 750, 600}, 2, 2, 133,
            {150, 150}, {83, 83, 217, 150}, false},
        // Mark height 6 * 100 / 400 = 1: no minute marks.
        LayoutRow {"MarksOneHigh", {0, 0, 300, 300}, 8, {1000, 100, 250, 100}, 6, 1, 131,
            {150, 150}, {84, 84, 216, 150}, false},
        // The magnitude of a negative (character) height counts.
        LayoutRow {"NegativeFontHeight", {0, 0, 300, 300}, -12, c_device, 6, 6, 123, {150, 150},
            {88, 88, 212, 150}, true},
        // Too small for a dial: an inverted face, a negative radius, marks at their least.
        LayoutRow {
            "TenByTen", {0, 0, 10, 10}, 8, c_device, 2, 1, -12, {5, 5}, {11, 11, -1, 5}, false}),
    rowName<LayoutRow>);

namespace {

struct HandRow
{
    const char* name;
    int hour;
    int minute;
    int hourPosition;
    bool pm;
};

class ClockHands : public testing::TestWithParam<HandRow>
{
};

} // namespace

TEST_P(ClockHands, HourHandStepsEveryTwelveMinutesAndTheMarkerFollowsNoon)
{
    const HandRow& row = GetParam();
    registerClock();
    // Radius 199: at 45 % of it the hour hand is about 5 pixels wide and the next position's
    // axis 9 pixels away. The second hand points at six, away from every row's hour hand.
    Face clock(440, 440, c_device, at(row.hour, row.minute, 30));
    const QImage image = render(clock.face, 440, 440);
    EXPECT_EQ(pixel(image, clock.along(45, row.hourPosition)), c_foreground);
    EXPECT_NE(pixel(image, clock.along(45, row.hourPosition + 1)), c_foreground);
    EXPECT_NE(pixel(image, clock.along(45, row.hourPosition - 1)), c_foreground);

    // "AM" keeps to the left of its box, "PM" to the right.
    const CRect box = clock.face.geometry().ampmBox;
    const CRect left(box.left, box.top, box.left + 25, box.top + 12);
    const CRect right(box.right - 25, box.top, box.right, box.top + 12);
    EXPECT_EQ(countColor(image, left, c_foreground) > 0, !row.pm);
    EXPECT_EQ(countColor(image, right, c_foreground) > 0, row.pm);
}

INSTANTIATE_TEST_SUITE_P(Clock, ClockHands,
    testing::Values(HandRow {"ThreeOClock", 3, 0, 15, false},
        HandRow {"ThreeFiftyNine", 3, 59, 19, false}, HandRow {"FifteenHundred", 15, 0, 15, true},
        HandRow {"ElevenPastMidnight", 0, 11, 0, false}),
    rowName<HandRow>);

TEST(ClockFace, BorderShowTextsAndTheFirstTimeDecideWhatIsDrawn)
{
    registerClock();
    const struct
    {
        bool border;
        bool showTexts;
        bool timeSet;
        COLORREF corner;
    } rows[] = {{true, true, true, c_background}, {false, true, true, c_under},
        {true, false, true, c_background}, {true, true, false, c_background}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.border << row.showTexts << row.timeSet);
        CImageClockOwner owner(300, 300, c_device);
        CAnalogClock face(owner, clockModule());
        face.layout(0, 0, 300, 300);
        face.setTitle("Zorvex");
        face.setShowTexts(row.showTexts);
        if (row.timeSet)
            face.update(at(3, 0, 30));
        const QImage image = render(face, 300, 300, row.border);
        const ZorClockLayout& layout = face.geometry();
        // Inside the box, outside the dial: the background only with the border.
        EXPECT_EQ(pixel(image, {7, 7}), row.corner);
        const POINT twelve = zorClockPoint(layout, clockTable(), layout.radius, 0);
        EXPECT_EQ(pixel(image, twelve) == c_foreground, row.timeSet) << "dial";
        // Title and date line clear of the twelve and six o'clock marks, and "AM".
        const CRect& in = layout.inner;
        const int mark = layout.halfMarkHeight + 2;
        const CRect title(in.left, in.top, in.right, layout.face.top - mark);
        const CRect date(in.left, layout.face.bottom + mark, in.right, in.bottom);
        const CRect am(layout.ampmBox.left, layout.ampmBox.top, layout.ampmBox.left + 25,
            layout.ampmBox.top + 12);
        const bool shown = row.showTexts && row.timeSet;
        EXPECT_EQ(countColor(image, title, c_foreground) > 0, shown) << "title";
        EXPECT_EQ(countColor(image, date, c_foreground) > 0, shown) << "date line";
        EXPECT_EQ(countColor(image, am, c_foreground) > 0, shown) << "AM";
    }
}

TEST(ClockSecondHand, SameMinuteMovesOnlyTheHandOnTheClientContext)
{
    registerClock();
    Face clock(300, 300, c_device, at(10, 20, 5));
    clock.owner.picture = render(clock.face, 300, 300);
    const QImage before = clock.owner.picture;

    clock.face.update(at(10, 20, 6));
    EXPECT_EQ(clock.owner.invalidations, 1) << "only the first time repainted";
    EXPECT_EQ(clock.owner.clientDraws, 1);
    const QImage moved = clock.owner.picture;
    // The hand is the complement of the foreground over the background...
    EXPECT_EQ(pixel(moved, clock.along(50, 6)), c_background ^ (~c_foreground & 0xFFFFFF));
    // ...the picture what a full repaint at the new second draws...
    Face fresh(300, 300, c_device, at(10, 20, 6));
    EXPECT_EQ(moved, render(fresh.face, 300, 300));
    // ...and nothing changed outside the two hands' rectangles.
    const auto handArea = [&](int second) {
        const POINT tip = clock.along(90, second);
        const CPoint c(clock.face.geometry().centreX, clock.face.geometry().centreY);
        return CRect(std::min<int>(tip.x, c.x), std::min<int>(tip.y, c.y),
            std::max<int>(tip.x, c.x) + 1, std::max<int>(tip.y, c.y) + 1);
    };
    int changed = 0;
    for (int y = 0; y < 300; ++y) {
        for (int x = 0; x < 300; ++x) {
            if (before.pixel(x, y) != moved.pixel(x, y)) {
                ++changed;
                EXPECT_TRUE(handArea(5).PtInRect({x, y}) || handArea(6).PtInRect({x, y}));
            }
        }
    }
    EXPECT_GT(changed, 0);

    // The same second again draws the hand twice in one place: every pixel comes back.
    clock.face.update(at(10, 20, 6));
    EXPECT_EQ(clock.owner.clientDraws, 2);
    EXPECT_EQ(clock.owner.picture, moved);
}

TEST(ClockSecondHand, AnotherMinuteOrDayOrAFreshLayoutRepaintsInFull)
{
    registerClock();
    const std::pair<COleDateTime, COleDateTime> rows[] = {{at(23, 59, 59), at(0, 0, 0, 6)},
        {at(14, 7, 9), at(14, 7, 10, 6)}, {at(14, 7, 59), at(14, 8, 0)}};
    for (const auto& [first, next] : rows) {
        Face clock(200, 200, c_device, first);
        clock.face.update(next);
        EXPECT_EQ(clock.owner.clientDraws, 0) << next.Format();
    }
    // In the minute after midnight too.
    Face clock(200, 200, c_device, at(0, 0, 10));
    clock.face.layout(0, 0, 200, 200);
    clock.face.update(at(0, 0, 11));
    EXPECT_EQ(clock.owner.invalidations, 2);
    EXPECT_EQ(clock.owner.clientDraws, 0);
}

TEST(ClockFace, WithoutItsTableReportsOnceAndStaysBlank)
{
    CRecordingPresenter presenter;
    CImageClockOwner owner(100, 100, c_device);
    // The test program holds no direction table.
    CAnalogClock face(owner, GetModuleHandleA(nullptr));
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes[0].text, "Can't load cosine table");
    EXPECT_EQ(presenter.boxes[0].type & MB_ICONMASK, MB_ICONSTOP);
    face.layout(0, 0, 100, 100);
    face.update(at(3, 0, 0));
    face.update(at(3, 0, 1));
    EXPECT_EQ(owner.clientDraws, 0);
    EXPECT_EQ(countColor(render(face, 100, 100), CRect(5, 5, 95, 95), c_background), 90 * 90)
        << "only the border box";
}
